#include "../engine/EveryUnit.h"
#include "LevelForms.h"
#include "LevelText.h"
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

// What the command writes for a value's text: "-.--" when it does not read or does not
// convert; with `digits`, at least that many significant digits.
QByteArray Expected(const QByteArray& text, const QualifiedUnit& fromUnit,
                    const QualifiedUnit& toUnit, int precision, bool& failed, int digits = 0)
{
    const std::optional<ScaledReal> value =
        ReadValueIn(std::string_view(text.constData(), text.size()), LevelUnit{fromUnit});
    const std::optional<double> result =
        value ? TryConvertValue(*value, fromUnit, toUnit) : std::nullopt;
    if (!result) {
        failed = true;
        return "-.--";
    }
    return QByteArray::fromStdString(ValueToString(*result, toUnit.unit, precision, digits));
}

QByteArray Expected(const QByteArray& text, int fromUnit, int toUnit, int precision, bool& failed)
{
    return Expected(text, QualifiedUnit{fromUnit}, QualifiedUnit{toUnit}, precision, failed);
}

// Ordinary levels, the zeros and negatives that fail in some units, the edges of the
// double range and texts that are no numbers.
const QList<QByteArray> Values = {"1",      "-10",   "0",      "12",     "75",
                                  "0.001",  "-0,5",  "1e-300", "4E-320", "1.7976931348623157E308",
                                  "-1E308", " 2.5 ", "abc",    "",       "1.2.3",
                                  "-"};

// A unit on the command line: the number of a listed one, or its name.
QString Argument(const QualifiedUnit& unit)
{
    return unit.unit < UnitCount && unit == QualifiedUnit{unit.unit}
        ? QString::number(unit.unit)
        : QString::fromStdString(UnitName(unit));
}

QStringList Arguments(const QualifiedUnit& fromUnit, const QualifiedUnit& toUnit, int precision)
{
    const QString precisionOption = QStringLiteral("-p%1").arg(precision);
    // A number and a name would read as a value and its unit.
    if (Argument(fromUnit).front().isDigit() != Argument(toUnit).front().isDigit())
        return {QString::fromStdString(UnitName(fromUnit)),
                QString::fromStdString(UnitName(toUnit)), precisionOption};
    return {Argument(fromUnit), Argument(toUnit), precisionOption};
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

// Every pair, streamed (its unit from given, or on each line) and, between units of the
// window's lists, one value at a time, at every precision in turn.
void TestConvertCommand::everyPairAsTheEngine()
{
    const QList<QualifiedUnit> units = EveryUnit();
    for (qsizetype from = 0; from < units.size(); ++from) {
        for (qsizetype to = 0; to < units.size(); ++to) {
            const QualifiedUnit& fromUnit = units[from];
            const QualifiedUnit& toUnit = units[to];
            const int pair = int(from * units.size() + to);
            const int precision = pair % 11;
            QByteArray input, expected;
            bool anyFailed = false;
            for (const QByteArray& value : Values) {
                input += value + '\n';
                expected += Expected(value, fromUnit, toUnit, precision, anyFailed) + '\n';
            }
            // Between units of the window's lists every way; with another unit, in turn.
            const bool listed = from < UnitCount && to < UnitCount;
            if (listed || pair % 2 == 0) {
                const Outcome streamed = Run(Arguments(fromUnit, toUnit, precision), input);
                QCOMPARE(streamed.output, expected);
                QCOMPARE(streamed.exitCode, anyFailed ? 1 : 0);
            }
            if (listed || pair % 2 == 1) {
                // The same lines, each carrying its unit, with the unit converted from omitted.
                const QByteArray name = QByteArray::fromStdString(UnitName(fromUnit));
                QByteArray withUnits;
                for (const QByteArray& value : Values)
                    withUnits += value + ' ' + name + '\n';
                const Outcome levels =
                    Run(Arguments(fromUnit, toUnit, precision).mid(1), withUnits);
                QCOMPARE(levels.output, expected);
                QCOMPARE(levels.exitCode, anyFailed ? 1 : 0);
            }
            if (!listed)
                continue;
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
    // Reference points are exactly 0 dB, and every digit given counts, however small the number.
    row("0 dBm 600 in dBu", "-p 0 0 dBm600 dBu", "0\n", 0);
    row("1 mV in dBmV", "-p 0 1 mV dBmV", "0\n", 0);
    row("1 µW in dBµW", "-p 0 1 uW dBuW", "0\n", 0);
    row("1 µV in dBµV", "-p 0 1 uV dBuV50", "0\n", 0);
    row("digits past a double", "-p 0 1.0000000000000001 W dBW", "4.34294481903252E-16\n", 0);
    row("fifteen digits near 0 dB", "-p 0 1.00000000000001 Vrms dBV", "8.68588963806499E-14\n", 0);
    row("no subnormal double on the way", "-p 6 1e-320 W dBm", "-3170.000000\n", 0);
    // Any impedance: the voltage across it.
    row("dBm across 75 ohms", "0 dBm@75 Vrms", "0.2739\n", 0);
    row("watts across 8 ohms", "10 W@8 Vrms", "8.9443\n", 0);
    rowOf("a level across 75 ohms", {"--", "-73 dBm @ 75 Ω", "dBm"}, "-71.2391\n", 0);
    row("into another impedance", "1 Vrms dBm@75 -p3", "11.249\n", 0);
    // Units the window does not list.
    row("peak volts", "1 Vrms Vp", "1.4142\n", 0);
    row("dBmV", "30 dBmV dBuV75", "90.0000\n", 0);
    row("dBW", "0 dBW dBm", "30.0000\n", 0);
    row("dBk", "0 dBk dBm", "60.0000\n", 0);
    row("dBµW", "0 dBµW dBm", "-30.0000\n", 0);
    rowOf("dBFS at +18 dBu", {"--", "-18 dBFS@18dBu", "dBu"}, "0.0000\n", 0);
    row("into dBFS", "1 Vrms dBFS@-2dBV", "2.0000\n", 0);
    row("S-units", "S9+20 dBm", "-53.0000\n", 0);
    row("S5", "S5 dBm", "-97.0000\n", 0);
    row("S-units as the unit from", "7 S dBm", "-85.0000\n", 0);
    row("a reading in the unit from", "S9+20 S@VHF dBm -p1", "-73.0\n", 0);
    // An S-meter reads S9 at -73 dBm and 6 dB per point; above S9 the dB beyond it, below S1
    // the dB under it, and "S9+0" never.
    rowOf("S9+20 as a receiver shows it", {"-p0", "--", "-53 dBm", "S"}, "S9+20\n", 0);
    rowOf("S9 at its decimals", {"--", "-73 dBm", "S"}, "S9.0000\n", 0);
    rowOf("just above S9", {"-p2", "--", "-72.99 dBm", "S"}, "S9+0.01\n", 0);
    rowOf("too little above S9 to show", {"-p2", "--", "-72.999 dBm", "S"}, "S9.00\n", 0);
    rowOf("between two points", {"-p1", "--", "-100 dBm", "S"}, "S4.5\n", 0);
    rowOf("below S1", {"-p0", "--", "-130 dBm", "S"}, "S1-9\n", 0);
    rowOf("S9 above 30 MHz", {"-p0", "--", "-93 dBm", "S@VHF"}, "S9\n", 0);
    // Gains and sums.
    rowOf("a gain", {"--", "-73 dBm + 20 dB", "dBm"}, "-53.0000\n", 0);
    rowOf("a loss", {"12 dBu - 6 dB", "dBu"}, "6.0000\n", 0);
    rowOf("two sources", {"--", "-73 dBm + -73 dBm", "dBm"}, "-69.9897\n", 0);
    // Refused, with the reason.
    rowOf("dBFS without its full scale", {"--", "-18 dBFS", "dBu"}, "-.--\n", 1, QStringLiteral("pleine échelle"));
    rowOf("a product", {"1 V * 2", "dBu"}, "-.--\n", 1, QStringLiteral("ne se multiplie"));
    rowOf("volts plus dB", {"12 dBu + 1 V", "dBu"}, "-.--\n", 1, QStringLiteral("tous deux en dB"));
    rowOf("a gain alone", {"20 dB", "dBu"}, "-.--\n", 1, QStringLiteral("un gain en dB n'est pas un niveau"));
    rowOf("a level alone, refused", {"--", "-18 dBFS"}, "-.--\n", 1, QStringLiteral("pleine échelle"));
    const QString sMeter = QStringLiteral("un S-mètre lit de S1 à S9");
    row("S10", "S10 dBm", "-.--\n", 1, sMeter);
    row("S99", "S99 dBm", "-.--\n", 1, sMeter);
    row("S-1", "S-1 dBm", "-.--\n", 1, sMeter);
    row("S1e1", "S1e1 dBm", "-.--\n", 1, sMeter);
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
                                         "kHz80, dBuV50 (dBµV50), dBuV75 (dBµV75), Vp (Vc), dBmV, dBW, dBk, "
                                         "dBuW (dBµW), dBFS@NIVEAU, S (S@HF), S@VHF, ou le numéro des 12 "
                                         "premières de 0 à 11");
    QTest::newRow("unknown unit") << QStringList{"1", "Vrms", "dBx"} << "unité inconnue : « dBx » ; unités : " + units;
    QTest::newRow("unit index out of range") << QStringList{"Vrms", "12"} << units;
    QTest::newRow("dBFS without its full scale") << QStringList{"1", "Vrms", "dBFS"}
                                                 << QStringLiteral("« dBFS » : un niveau en dBFS");
    QTest::newRow("no impedance") << QStringList{"W@0", "dBm"} << QStringLiteral("« W@0 » : après @, l'impédance");
    QTest::newRow("nothing after @ of dBu") << QStringList{"1", "dBu@600", "dBm"}
                                            << QStringLiteral("@ ne suit que dBm, W, dBW, dBk, dBuW");
    QTest::newRow("prefix on a parameterised unit to") << QStringList{"1", "Vrms", "mW@8"} << QStringLiteral("« mW@8 »");
    QTest::newRow("every unit with a unit to") << QStringList{"--all", "1", "Vrms", "dBu"}
                                               << QStringLiteral("--all s'emploie");
    QTest::newRow("unknown option") << QStringList{"-x", "Vrms", "dBu"} << QStringLiteral("option inconnue : « -x »");
    QTest::newRow("precision too high") << QStringList{"1", "0", "1", "-p", "11"} << QStringLiteral("« 11 »");
    QTest::newRow("negative precision") << QStringList{"1", "0", "1", "-p-1"} << QStringLiteral("« -1 »");
    QTest::newRow("precision missing") << QStringList{"1", "0", "1", "-p"} << QStringLiteral("décimales");
    QTest::newRow("number without its unit") << QStringList{"12"} << QStringLiteral("il manque l'unité de « 12 »");
    QTest::newRow("level in an unknown unit") << QStringList{"-73dBx"} << QStringLiteral("« -73dBx »");
    QTest::newRow("prefix on the unit to") << QStringList{"1", "Vrms", "mV"} << QStringLiteral("« mV »");
    QTest::newRow("unknown unit of a level") << QStringList{"-73", "dBx"} << QStringLiteral("« dBx »");
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
    // What some editors write before UTF-8 text, and only there.
    QTest::newRow("byte-order mark") << vrmsToDbu << QByteArray("\xEF\xBB\xBF" "1\n2\n") << QByteArray("2.2185\n8.2391\n")
                                     << 0;
    QTest::newRow("byte-order mark further on") << vrmsToDbu << QByteArray("1\n\xEF\xBB\xBF" "2\n")
                                                << QByteArray("2.2185\n-.--\n") << 1;
    QTest::newRow("byte-order mark before a level") << QStringList{"dBu"} << QByteArray("\xEF\xBB\xBF" "1 V\n")
                                                    << QByteArray("2.2185\n") << 0;
    // A line longer than any number can sensibly be fails without being held in memory.
    QTest::newRow("overlong line") << vrmsToDbu << "0" + QByteArray(200000, '0') + "1\n1\n"
                                   << QByteArray("-.--\n2.2185\n") << 1;
    QTest::newRow("a unit from with a prefix") << QStringList{"mV", "dBu"} << QByteArray("1000\n316 mV\n")
                                               << QByteArray("2.2185\n-.--\n") << 1;
    QTest::newRow("each line with its unit")
        << QStringList{"dBu"} << QByteArray("1 V\n-73 dBm\n316 \xC2\xB5V\r\n12 dBu\n2 mW600\n12\n0 V\n3 dBx\n")
        << QByteArray("2.2185\n-83.7918\n-67.7878\n12.0000\n3.0103\n-.--\n-.--\n-.--\n") << 1;
    // 0 dBm@75: 10 log10(0,075 / 0,6) = -9,0309 dBu; S9+20 = -53 dBm: -53 - 10,7918 dBu.
    QTest::newRow("lines with the new units and sums")
        << QStringList{"dBu"}
        << QByteArray("0 dBm@75\n0 dBm @ 8 ohms\n-18 dBFS@18dBu\n30 dBmV\nS9+20\n12 dBu - 6 dB\n"
                      "0 dBu + 0 dBu\n-18 dBFS\n1 V + 1 V\n")
        << QByteArray("-9.0309\n-18.7506\n0.0000\n-27.7815\n-63.7918\n6.0000\n3.0103\n-.--\n-.--\n")
        << 1;
    QTest::newRow("S-units to and from")
        << QStringList{"S", "S@VHF", "-p1"} << QByteArray("S9\n9\nS9+20\nS1-26\nS9@VHF\nS9 + 3 dB\n")
        << QByteArray("S9+20.0\nS9+20.0\nS9+40.0\nS1-6.0\n-.--\n-.--\n") << 1;
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
    QTest::addColumn<QString>("level"); // the value as a level
    QTest::addColumn<int>("precision"); // -1: none given
    QTest::addColumn<bool>("every");
    QTest::addColumn<QByteArray>("shows");

    QTest::newRow("value and unit") << QStringList{"-73", "dBm50", "-p4"} << "-73 dBm50" << 4 << false << QByteArray();
    QTest::newRow("level") << QStringList{"-p2", "-73 dBm"} << "-73 dBm" << 2 << false << QByteArray(" 0.00  ");
    QTest::newRow("scaled level") << QStringList{"316µV", "-p", "7"} << "316µV" << 7 << false << QByteArray();
    QTest::newRow("some units fail") << QStringList{"0", "V"} << "0 V" << -1 << false << QByteArray(" -.--  ");
    // -73 dBm is 5,0119E-11 W, which 4 decimals would show as 0.
    QTest::newRow("five significant digits") << QStringList{"--", "-73 dBm"} << "-73 dBm" << -1 << false
                                             << QByteArray(" 5.0119E-11  Puissance (Watts, dans 50 ohms)");
    QTest::newRow("a reference point") << QStringList{"1", "mW"} << "1 mW" << -1 << false
                                       << QByteArray("dBm50        0.0000  Puissance (dBm");
    QTest::newRow("every unit") << QStringList{"--all", "S9+20"} << "S9+20" << -1 << true
                                << QByteArray(" S9+40.0000  S-mètre VHF");
    QTest::newRow("every unit at a precision") << QStringList{"-a", "1 V", "-p0"} << "1 V" << 0 << true
                                               << QByteArray(" -15.7815125038364  Numérique (dBFS");
}
// clang-format on

// The level in every unit of the window (or of the catalogue), one per line: identifier, the
// engine's value at the precision (without one, at least 5 significant digits) and the French
// name, in aligned columns; the exit status says whether every unit converted.
void TestConvertCommand::everyUnit()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, level);
    QFETCH(int, precision);
    QFETCH(bool, every);
    QFETCH(QByteArray, shows);
    const Outcome outcome = Run(arguments);
    QVERIFY2(outcome.output.contains(shows), outcome.output.constData());
    const QList<QByteArray> lines = outcome.output.split('\n');
    const QList<QualifiedUnit> units = EveryUnit().mid(0, every ? CatalogueSize : UnitCount);
    QCOMPARE(lines.size(), units.size() + 1);
    const std::optional<Level> from = ReadLevel(level.toStdString());
    QVERIFY(from);
    const QByteArray value = QByteArray::fromStdString(ExactNumberToString(*from->value.ToDouble()));
    bool anyFailed = false;
    const qsizetype nameColumn = lines[0].indexOf("Tension");
    for (qsizetype unit = 0; unit < units.size(); ++unit) {
        const QByteArray expected =
            Expected(value, from->unit, units[unit], precision < 0 ? 4 : precision, anyFailed,
                     precision < 0 ? 5 : 0);
        const std::string_view longName = UnitCatalogue[units[unit].unit].longName;
        const QByteArray name(longName.data(), longName.size());
        const QByteArray& line = lines[unit];
        QVERIFY2(line.startsWith(QByteArray::fromStdString(UnitName(units[unit])) + ' '), line);
        QVERIFY2(line.endsWith("  " + name) && line.indexOf(name) == nameColumn, line);
        QVERIFY2(line.left(nameColumn).trimmed().endsWith(' ' + expected), line);
    }
    QCOMPARE(outcome.exitCode, anyFailed ? 1 : 0);
}

// Every unit: its number in the window's lists (or "-"), identifier and other name, an example
// that reads as a level in it, and its French name; then how an impedance is given.
void TestConvertCommand::unitList()
{
    const Outcome outcome = Run({QStringLiteral("--units")});
    QCOMPARE(outcome.exitCode, 0);
    const QList<QByteArray> lines = outcome.output.split('\n');
    QCOMPARE(lines.size(), CatalogueSize + 2);
    for (int unit = 0; unit < CatalogueSize; ++unit) {
        const Unit& entry = UnitCatalogue[unit];
        const QByteArray& line = lines[unit];
        const QList<QByteArray> words = line.simplified().split(' ');
        QCOMPARE(words[0], unit < UnitCount ? QByteArray::number(unit) : QByteArray("-"));
        QVERIFY2(words[1].startsWith(QByteArray(entry.identifier.data(), entry.identifier.size())),
                 line);
        const QByteArray example(entry.example.data(), entry.example.size());
        QVERIFY2(line.contains("  " + example + "  "), line);
        const std::optional<Level> level = ReadLevel(entry.example);
        QVERIFY2(level && level->unit.unit == unit, line);
        QVERIFY(line.endsWith(QByteArray(entry.longName.data(), entry.longName.size())));
    }
    QVERIFY(lines[CatalogueSize].contains("dBm, W, dBW, dBk, dBuW : -73 dBm@75, 10 W@8"));
}

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_ConvertCommand.moc"
