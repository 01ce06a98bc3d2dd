#include "NumberForms.h"
#include "UnitIdentifiers.h"
#include "Units.h"
#include "uConv.h"

#include <QProcess>
#include <QtTest>

#include <optional>
#include <random>
#include <utility>

using namespace tarvane;

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

Outcome Run(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(QStringLiteral(TARVANE_CONVERT), arguments);
    process.write(input);
    process.closeWriteChannel();
    Outcome outcome;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        outcome.exitCode = process.exitCode();
    outcome.output = process.readAllStandardOutput();
    outcome.errors = process.readAllStandardError();
    return outcome;
}

// What the window shows for a typed text: "-.--" when it does not read or does not convert.
QByteArray Expected(const QByteArray& text, int fromUnit, int toUnit, int precision, bool& failed)
{
    const std::optional<double> value = ReadNumber(std::string_view(text.constData(), text.size()));
    const std::optional<double> result =
        value ? TryConvertValue(*value, fromUnit, toUnit) : std::nullopt;
    if (!result) {
        failed = true;
        return "-.--";
    }
    return QByteArray::fromStdString(NumberToString(*result, precision));
}

// Ordinary levels, the zeros and negatives that fail in some units, the edges of the
// double range and texts that are no numbers.
const QList<QByteArray> Values = {"1",      "-10",   "0",      "12",     "75",
                                  "0.001",  "-0,5",  "1e-300", "4E-320", "1.7976931348623157E308",
                                  "-1E308", " 2.5 ", "abc",    "",       "1.2.3",
                                  "-"};

QStringList Arguments(int fromUnit, int toUnit, int precision)
{
    return {QString::number(fromUnit), QString::number(toUnit),
            QStringLiteral("-p%1").arg(precision)};
}

} // namespace

class TestConvertCommand : public QObject {
    Q_OBJECT

private slots:
    void everyPairAsTheEngine();
    void singleValue_data();
    void singleValue();
    void usageErrors_data();
    void usageErrors();
    void streaming_data();
    void streaming();
    void manyLines();
    void answersEachLineAtOnce();
    void everyUnit_data();
    void everyUnit();
    void unitList();
};

// Every pair, streamed and one value at a time, at every precision in turn.
void TestConvertCommand::everyPairAsTheEngine()
{
    for (int fromUnit = 0; fromUnit < UnitCount; ++fromUnit) {
        for (int toUnit = 0; toUnit < UnitCount; ++toUnit) {
            const int pair = fromUnit * UnitCount + toUnit;
            const int precision = pair % 11;
            QByteArray input, expected;
            bool anyFailed = false;
            for (const QByteArray& value : Values) {
                input += value + '\n';
                expected += Expected(value, fromUnit, toUnit, precision, anyFailed) + '\n';
            }
            const Outcome streamed = Run(Arguments(fromUnit, toUnit, precision), input);
            QCOMPARE(streamed.output, expected);
            QCOMPARE(streamed.exitCode, anyFailed ? 1 : 0);

            // The same lines, each carrying its unit, with the unit converted from omitted.
            const QByteArray identifier(UnitIdentifiers[fromUnit].data(),
                                        UnitIdentifiers[fromUnit].size());
            QByteArray withUnits;
            for (const QByteArray& value : Values)
                withUnits += value + ' ' + identifier + '\n';
            const Outcome levels = Run(Arguments(fromUnit, toUnit, precision).mid(1), withUnits);
            QCOMPARE(levels.output, expected);
            QCOMPARE(levels.exitCode, anyFailed ? 1 : 0);

            const QByteArray value = Values[pair % Values.size()].trimmed();
            bool failed = false;
            const QByteArray result = Expected(value, fromUnit, toUnit, precision, failed);
            const Outcome single = Run(QStringList{QString::fromLatin1(value)}
                                       + Arguments(fromUnit, toUnit, precision));
            QCOMPARE(single.output, result + '\n');
            QCOMPARE(single.exitCode, failed ? 1 : 0);
            QCOMPARE(single.errors.isEmpty(), !failed);
        }
    }
}

// clang-format off
void TestConvertCommand::singleValue_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const auto rowOf = [](const char* name, const QStringList& arguments, const QByteArray& output, int exitCode,
                          const QString& message = {}) {
        QTest::newRow(name) << arguments << output << exitCode << message;
    };
    const auto row = [&](const char* name, const QString& arguments, const QByteArray& output, int exitCode,
                         const QString& message = {}) {
        rowOf(name, arguments.split(QLatin1Char(' ')), output, exitCode, message);
    };
    row("default four decimals", "1 Vrms dBu", "2.2185\n", 0);
    row("negative value", "-10 dBu Vrms", "0.2449\n", 0);
    row("precision before", "-p 2 12 dBu kHz75", "75.00\n", 0);
    row("long precision", "--precision=0 1 Vrms W600", "0.00166666666666667\n", 0);
    row("names in any case", "1 VEFF dbm600", "2.2185\n", 0);
    row("French aliases", "1 veff vcac -p3", "2.828\n", 0);
    row("micro sign", "120 dBµV50 dBuV75 -p0", "120\n", 0);
    row("indexes", "12 4 9", "80.0000\n", 0);
    row("comma separator", "2,5 Vrms Vrms", "2.5000\n", 0);
    row("after the end of options", "-p 1 -- -1 0 1", "-2.8\n", 0);
    row("zero volt has no level", "0 Vrms dBu", "-.--\n", 1, QStringLiteral("ne se convertit pas en dBu"));
    row("negative power", "-1 W50 Vrms", "-.--\n", 1, QStringLiteral("ne se convertit pas"));
    row("not a number", "12dBu dBu Vrms", "-.--\n", 1, QStringLiteral("« 12dBu » n'est pas un nombre"));
    row("too large", "1E999 Vrms Vrms", "-.--\n", 1, QStringLiteral("n'est pas un nombre"));
    row("level with its unit", "316µV dBm50", "-56.9960\n", 0);
    rowOf("level starting with a minus", {"--", "-73 dBm", "dBuV50"}, "33.9897\n", 0);
    row("level without the end of options", "-73dBm600 dBu", "-73.0000\n", 0);
    row("bare symbol to", "2 mW dBm -p2", "3.01\n", 0);
    row("prefix on the unit from", "316 mV dBu", "-7.7878\n", 0);
    row("level that fails", "0V dBV", "-.--\n", 1, QStringLiteral("« 0V » ne se convertit pas en dBV"));
}
// clang-format on

void TestConvertCommand::singleValue()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, output);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Outcome outcome = Run(arguments);
    QCOMPARE(outcome.output, output);
    QCOMPARE(outcome.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(outcome.errors).contains(message), outcome.errors.constData());
}

// clang-format off
void TestConvertCommand::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString units = QStringLiteral("Vrms (Veff), Vpp (Vcac), dBm50, dBm600, dBu, dBV, W50, W600, kHz75, "
                                         "kHz80, dBuV50 (dBµV50), dBuV75 (dBµV75)");
    QTest::newRow("unknown unit") << QStringList{"1", "Vrms", "dBW"} << "unité inconnue : « dBW » ; unités : " + units;
    QTest::newRow("unit index out of range") << QStringList{"Vrms", "12"} << units;
    QTest::newRow("unknown option") << QStringList{"-x", "Vrms", "dBu"} << QStringLiteral("option inconnue : « -x »");
    QTest::newRow("precision too high") << QStringList{"1", "0", "1", "-p", "11"} << QStringLiteral("« 11 »");
    QTest::newRow("negative precision") << QStringList{"1", "0", "1", "-p-1"} << QStringLiteral("« -1 »");
    QTest::newRow("precision missing") << QStringList{"1", "0", "1", "-p"} << QStringLiteral("décimales");
    QTest::newRow("number without its unit") << QStringList{"12"} << QStringLiteral("il manque l'unité de « 12 »");
    QTest::newRow("level in an unknown unit") << QStringList{"-73dBmV"} << QStringLiteral("« -73dBmV »");
    QTest::newRow("prefix on the unit to") << QStringList{"1", "Vrms", "mV"} << QStringLiteral("« mV »");
    QTest::newRow("unknown unit of a level") << QStringList{"-73", "dBmV"} << QStringLiteral("« dBmV »");
    QTest::newRow("nothing") << QStringList{} << QStringLiteral("il faut une valeur");
    QTest::newRow("four operands") << QStringList{"1", "2", "0", "1"} << QStringLiteral("il faut une valeur");
    QTest::newRow("units with operands") << QStringList{"--units", "1"} << QStringLiteral("--units");
}
// clang-format on

void TestConvertCommand::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Outcome outcome = Run(arguments, "1\n");
    QCOMPARE(outcome.exitCode, 2);
    QVERIFY(outcome.output.isEmpty());
    const QString errors = QString::fromUtf8(outcome.errors);
    QVERIFY2(errors.contains(message) && errors.contains(QLatin1String("Usage : ")),
             outcome.errors.constData());
}

// clang-format off
void TestConvertCommand::streaming_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("exitCode");

    const QStringList vrmsToDbu = {QStringLiteral("Vrms"), QStringLiteral("dBu")};
    QTest::newRow("no input") << vrmsToDbu << QByteArray() << QByteArray() << 0;
    QTest::newRow("all convert") << vrmsToDbu << QByteArray("1\n10\n") << QByteArray("2.2185\n22.2185\n") << 0;
    QTest::newRow("failed lines") << vrmsToDbu << QByteArray("1\n0\nabc\n10\n")
                                  << QByteArray("2.2185\n-.--\n-.--\n22.2185\n") << 1;
    QTest::newRow("blank line fails") << vrmsToDbu << QByteArray("1\n\n") << QByteArray("2.2185\n-.--\n") << 1;
    QTest::newRow("last line without break") << vrmsToDbu << QByteArray("1\n10") << QByteArray("2.2185\n22.2185\n")
                                             << 0;
    QTest::newRow("CR LF") << vrmsToDbu << QByteArray("1\r\n10\r\n") << QByteArray("2.2185\n22.2185\n") << 0;
    // A line longer than any number can sensibly be fails without being held in memory.
    QTest::newRow("overlong line") << vrmsToDbu << "0" + QByteArray(200000, '0') + "1\n1\n"
                                   << QByteArray("-.--\n2.2185\n") << 1;
    QTest::newRow("a unit from with a prefix") << QStringList{"mV", "dBu"} << QByteArray("1000\n316 mV\n")
                                               << QByteArray("2.2185\n-.--\n") << 1;
    QTest::newRow("each line with its unit")
        << QStringList{"dBu"} << QByteArray("1 V\n-73 dBm\n316 \xC2\xB5V\r\n12 dBu\n2 mW600\n12\n0 V\n3 dBmV\n")
        << QByteArray("2.2185\n-83.7918\n-67.7878\n12.0000\n3.0103\n-.--\n-.--\n-.--\n") << 1;
}
// clang-format on

void TestConvertCommand::streaming()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    QFETCH(int, exitCode);
    const Outcome outcome = Run(arguments, input);
    QCOMPARE(outcome.output, output);
    QCOMPARE(outcome.exitCode, exitCode);
}

// Enough lines to cross many input and output blocks, each answered as the engine does.
void TestConvertCommand::manyLines()
{
    std::mt19937 random(9);
    std::uniform_real_distribution<double> level(-200, 200);
    QByteArray input, expected;
    bool failed = false;
    for (int i = 0; i < 100000; ++i) {
        const QByteArray value = QByteArray::number(level(random), 'g', 1 + i % 17);
        input += value + '\n';
        expected += Expected(value, 5, 2, 10, failed) + '\n';
    }
    const Outcome outcome =
        Run({QStringLiteral("dBV"), QStringLiteral("dBm50"), QStringLiteral("-p10")}, input);
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(outcome.output == expected);
}

// A program that feeds one value and waits gets its answer without closing the input.
void TestConvertCommand::answersEachLineAtOnce()
{
    QProcess process;
    process.start(QStringLiteral(TARVANE_CONVERT), {QStringLiteral("Vrms"), QStringLiteral("dBu")});
    const QList<std::pair<QByteArray, QByteArray>> exchanges = {{"1\n", "2.2185\n"},
                                                                {"0\n", "-.--\n"}};
    for (const auto& [line, answer] : exchanges) {
        process.write(line);
        QVERIFY(process.waitForReadyRead(30000));
        QCOMPARE(process.readAllStandardOutput(), answer);
    }
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 1);
}

// clang-format off
void TestConvertCommand::everyUnit_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("fromUnit");
    QTest::addColumn<int>("precision");

    QTest::newRow("value and unit") << QStringList{"-73", "dBm50"} << -73.0 << 2 << 4;
    QTest::newRow("level") << QStringList{"-p2", "-73 dBm"} << -73.0 << 2 << 2;
    QTest::newRow("scaled level") << QStringList{"316µV", "-p", "7"} << 316e-6 << 0 << 7;
    QTest::newRow("some units fail") << QStringList{"0", "V"} << 0.0 << 0 << 4;
}
// clang-format on

// The level in every unit, one per line: identifier, the engine's value at the precision and
// the French name, in aligned columns; the exit status says whether every unit converted.
void TestConvertCommand::everyUnit()
{
    QFETCH(QStringList, arguments);
    QFETCH(double, value);
    QFETCH(int, fromUnit);
    QFETCH(int, precision);
    const Outcome outcome = Run(arguments);
    const QList<QByteArray> lines = outcome.output.split('\n');
    QCOMPARE(lines.size(), UnitCount + 1);
    bool anyFailed = false;
    const qsizetype nameColumn = lines[0].indexOf("Tension");
    for (int unit = 0; unit < UnitCount; ++unit) {
        const QByteArray expected =
            Expected(QByteArray::number(value, 'g', 17), fromUnit, unit, precision, anyFailed);
        const QByteArray name(UnitLongNames[unit].data(), UnitLongNames[unit].size());
        const QByteArray& line = lines[unit];
        QVERIFY2(line.startsWith(
                     QByteArray(UnitIdentifiers[unit].data(), UnitIdentifiers[unit].size()) + ' '),
                 line);
        QVERIFY2(line.endsWith("  " + name) && line.indexOf(name) == nameColumn, line);
        QVERIFY2(line.left(nameColumn).trimmed().endsWith(' ' + expected), line);
    }
    QCOMPARE(outcome.exitCode, anyFailed ? 1 : 0);
}

void TestConvertCommand::unitList()
{
    const Outcome outcome = Run({QStringLiteral("--units")});
    QCOMPARE(outcome.exitCode, 0);
    const QList<QByteArray> lines = outcome.output.split('\n');
    QCOMPARE(lines.size(), UnitCount + 1);
    const QList<QByteArray> identifiers = {"Vrms", "Vpp",  "dBm50", "dBm600", "dBu",    "dBV",
                                           "W50",  "W600", "kHz75", "kHz80",  "dBuV50", "dBuV75"};
    for (int unit = 0; unit < UnitCount; ++unit) {
        const QList<QByteArray> words = lines[unit].simplified().split(' ');
        QCOMPARE(words[0].toInt(), unit);
        QCOMPARE(words[1], identifiers[unit]);
        QVERIFY(lines[unit].endsWith(
            QByteArray(UnitLongNames[unit].data(), UnitLongNames[unit].size())));
    }
}

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_ConvertCommand.moc"
