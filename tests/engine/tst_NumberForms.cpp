#include "LevelText.h"
#include "NumberForms.h"

#include <QtTest>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace tarvane;

namespace {

constexpr double Largest = std::numeric_limits<double>::max();
const double LargestUlp = std::ldexp(1.0, 971);        // the spacing of the doubles at the top
constexpr int Exact = std::numeric_limits<int>::min(); // formatting rows of the exact form

} // namespace

class TestNumberForms : public QObject {
    Q_OBJECT

private slots:
    void everyTextReadsBack();
    void reading_data();
    void reading();
    void levels_data();
    void levels();
    void formatting_data();
    void formatting();
};

// Whatever a box shows of a finite number reads back as a finite number of the same sign,
// within the rounding of the form; the exact form reads back as the very same number.
void TestNumberForms::everyTextReadsBack()
{
    std::mt19937_64 random(3);
    for (int i = 0; i < 200000; ++i) {
        double value = 0;
        const std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (i % 2 == 0) // the largest doubles, whose rounded texts would leave the range
            value = (i % 4 == 0 ? 1 : -1) * (Largest - double(random() % 100000) * LargestUlp);
        if (!std::isfinite(value))
            continue;
        const int precision = int(random() % 21) - 1;
        const std::string text = NumberToString(value, precision);
        QVERIFY2(text.size() <= MaxNumberTextLength, text.c_str());
        const std::optional<double> read = ReadNumber(text);
        QVERIFY2(read && std::isfinite(*read), text.c_str());
        QVERIFY2(*read == 0 || std::signbit(*read) == std::signbit(value), text.c_str());
        if (precision <= 0 && *read != 0) {
            const double digits = precision == 0 ? 15 : 4;
            QVERIFY2(std::fabs(*read / value - 1) <= std::pow(10.0, 1 - digits), text.c_str());
        }
        const std::string exact = ExactNumberToString(value);
        QVERIFY2(exact.size() <= MaxNumberTextLength && ReadNumber(exact) == value, exact.c_str());
    }
}

// clang-format off
void TestNumberForms::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<double>("value");

    QTest::newRow("comma") << "\t2,5\r" << true << 2.5;
    QTest::newRow("comma and exponent") << "+1,5e-3" << true << 0.0015;
    QTest::newRow("grouping") << "1,234.5" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("unit after") << "12,5 dBu" << false << 0.0;
    QTest::newRow("too large") << "1.79769313486232E308" << false << 0.0;
    QTest::newRow("too small reads zero") << "-1e-400" << true << 0.0;
    QTest::newRow("largest shown") << "1.79769313486231E308" << true << 1.79769313486231E308;
}
// clang-format on

void TestNumberForms::reading()
{
    QFETCH(QString, text);
    QFETCH(bool, reads);
    QFETCH(double, value);
    const std::optional<double> read = ReadNumber(text.toStdString());
    QCOMPARE(read.has_value(), reads);
    if (reads)
        QCOMPARE(*read, value);
}

// Levels as people write them: the unit chosen, the number scaled by its prefix (rounded once,
// so exactly the double the scaled number names) and the decimals that show every digit.
// clang-format off
void TestNumberForms::levels_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("currentUnit");
    QTest::addColumn<int>("unit"); // -1: no level
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");

    const auto row = [](const char* text, int currentUnit, int unit, double value, int decimals) {
        const QString written = QString::fromUtf8(text);
        QTest::addRow("%s (box in %d)", qPrintable(written.simplified()), currentUnit)
            << written << currentUnit << unit << value << decimals;
    };
    const auto refused = [&](const char* text) { row(text, NoUnit, -1, 0, 0); };
    row("-73 dBm", NoUnit, 2, -73, 0);
    row("-73 dBm", 3, 3, -73, 0);      // the box's impedance kept
    row("-73 dBm", 6, 2, -73, 0);      // watts are another kind of unit: the first dBm
    row("-73dBm600", 2, 3, -73, 0);
    row("12 dBu", NoUnit, 4, 12, 0);
    row("5 dbv", NoUnit, 5, 5, 0);
    row("0,775 Veff", NoUnit, 0, 0.775, 3);
    row("2,8284 Vpp", NoUnit, 1, 2.8284, 4);
    row("1 VCAC", NoUnit, 1, 1, 0);
    row("316 µV", NoUnit, 0, 316e-6, 6);
    row("316 μV", NoUnit, 0, 316e-6, 6); // Greek mu
    row("316uV", 1, 0, 316e-6, 6);      // a bare V is RMS whatever the box shows
    row("0,1 mV", NoUnit, 0, 1e-4, 4);
    row("3 mV", NoUnit, 0, 3e-3, 3);
    row("3 MV", NoUnit, 0, 3e6, 0);
    row("1 nVpp", NoUnit, 1, 1e-9, 9);
    row("2.5e-3 mVrms", NoUnit, 0, 2.5e-6, 7);
    row("2 mW", NoUnit, 6, 2e-3, 3);
    row("2 mW", 7, 7, 2e-3, 3);
    row("1,5 kW", NoUnit, 6, 1500, 0);
    row("1.5 KW600", NoUnit, 7, 1500, 0);
    row("40 kHz", NoUnit, 8, 40, 0);
    row("40 kHz", 9, 9, 40, 0);
    row("40 KHZ80", NoUnit, 9, 40, 0);
    row("-10 dBµV", 11, 11, -10, 0);
    row("-10 dBuV", 4, 10, -10, 0);
    row("20 DBUV75", NoUnit, 11, 20, 0);
    row(" \t12 dBu \r\n", NoUnit, 4, 12, 0);
    row("316\u00a0µV", NoUnit, 0, 316e-6, 6); // no-break space, as French texts write it
    row("1e-400 V", NoUnit, 0, 0, 400);     // too small for a double: zero
    refused("-73 dBmV");
    refused("12");
    refused("dBu");
    refused("12 34 dBm");
    refused("12 dBu 5");
    refused("12 dB");
    refused("12 dBW");
    refused("1 mdBm");   // prefixes belong to volts and watts only
    refused("3 kkHz");
    refused("1 µ");
    refused("1e400 V");
    refused("1e306 MW"); // beyond the range once scaled
    refused("1,2,3 V");
    refused("- 5 V");
}
// clang-format on

void TestNumberForms::levels()
{
    QFETCH(QString, text);
    QFETCH(int, currentUnit);
    QFETCH(int, unit);
    QFETCH(double, value);
    QFETCH(int, decimals);
    const std::optional<Level> level = ReadLevel(text.toStdString(), currentUnit);
    QCOMPARE(level.has_value(), unit >= 0);
    if (level) {
        QCOMPARE(level->unit, unit);
        QVERIFY2(level->value == value, qPrintable(QString::number(level->value, 'g', 17)));
        QCOMPARE(level->decimals, decimals);
    }
}

// clang-format off
void TestNumberForms::formatting_data()
{
    QTest::addColumn<int>("precision");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("fixed fills zeros") << 4 << 12.5 << "12.5000";
    QTest::newRow("fixed negative") << 4 << -0.25 << "-0.2500";
    QTest::newRow("fixed, no grouping") << 4 << -1234.5 << "-1234.5000";
    QTest::newRow("fixed rounds half away") << 2 << 2.675 << "2.68";
    QTest::newRow("fixed carries into integer") << 4 << 9.99996 << "10.0000";
    QTest::newRow("fixed tiny rounds up") << 4 << 0.00005 << "0.0001";
    QTest::newRow("fixed tiny negative is zero") << 4 << -0.00001 << "0.0000";
    QTest::newRow("fixed 15 integer digits") << 2 << 999999999999999.0 << "999999999999999.00";
    QTest::newRow("fixed 16 integer digits go general") << 4 << 1E16 << "1E16";
    QTest::newRow("fixed at 1E15 goes general") << 4 << 1E15 << "1E15";
    QTest::newRow("fixed rounding up to 1E15") << 4 << 999999999999999.9 << "1E15";
    QTest::newRow("fixed 15 significant digits") << 10 << 123456.123456789123
                                             << "123456.1234567890";
    QTest::newRow("fixed 18 decimals") << 18 << 0.1 << "0.100000000000000000";
    QTest::newRow("fixed more than 18 decimals") << 25 << 1.0 / 3.0
                                             << "0.333333333333333000";
    QTest::newRow("general drops zeros") << 0 << 12.5 << "12.5";
    QTest::newRow("general integer") << 0 << 3.0 << "3";
    QTest::newRow("general zero") << 0 << 0.0 << "0";
    QTest::newRow("general 15 digits") << 0 << 2.0 / 3.0 << "0.666666666666667";
    QTest::newRow("general sum") << 0 << 0.1 + 0.2 << "0.3";
    QTest::newRow("general 0.0001") << 0 << 0.0001 << "0.0001";
    QTest::newRow("general below 0.0001") << 0 << 0.00001 << "1E-5";
    QTest::newRow("general negative small") << 0 << -1.25E-7 << "-1.25E-7";
    QTest::newRow("general 15 integer digits") << 0 << 999999999999999.0 << "999999999999999";
    QTest::newRow("general rounds up to 1E15") << 0 << 999999999999999.9 << "1E15";
    QTest::newRow("general big") << 0 << 1.5E20 << "1.5E20";
    QTest::newRow("four digits") << -1 << 3.14159 << "3.142";
    QTest::newRow("four digits big") << -2 << 123456.0 << "1.235E5";
    QTest::newRow("largest double rounds toward zero") << 0 << DBL_MAX << "1.79769313486231E308";
    QTest::newRow("largest negative, fixed form") << 4 << -DBL_MAX << "-1.79769313486231E308";
    QTest::newRow("largest in four digits") << -1 << DBL_MAX << "1.797E308";
    QTest::newRow("near the top rounds up") << 0 << 1.79769313486229E308 << "1.79769313486229E308";
    QTest::newRow("infinite") << 4 << inf << "INF";
    QTest::newRow("minus infinite") << 0 << -inf << "-INF";
    QTest::newRow("not a number") << 4 << nan << "NAN";
    QTest::newRow("negative not a number") << 4 << -nan << "-NAN";
    QTest::newRow("exact, 15 digits enough") << Exact << 0.1 << "0.1";
    QTest::newRow("exact, 17 digits") << Exact << 0.1 + 0.2 << "0.30000000000000004";
    QTest::newRow("exact, 17 digits of a level") << Exact << 13.010299956639813 << "13.010299956639813";
    QTest::newRow("exact, 16 integer digits") << Exact << 1234567890123456.0 << "1.234567890123456E15";
    QTest::newRow("exact, 15 integer digits stay plain") << Exact << 123456789012345.67 << "123456789012345.67";
    QTest::newRow("exact, small") << Exact << -0.00001 << "-1E-5";
    QTest::newRow("exact, largest double") << Exact << DBL_MAX << "1.7976931348623157E308";
    QTest::newRow("exact, infinite") << Exact << inf << "INF";
}
// clang-format on

void TestNumberForms::formatting()
{
    QFETCH(int, precision);
    QFETCH(double, value);
    QFETCH(QString, expected);
    const std::string text =
        precision == Exact ? ExactNumberToString(value) : NumberToString(value, precision);
    QCOMPARE(QString::fromStdString(text), expected);
}

QTEST_APPLESS_MAIN(TestNumberForms)
#include "tst_NumberForms.moc"
