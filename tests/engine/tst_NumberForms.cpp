#include "LevelForms.h"
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
constexpr double Nothing = std::numeric_limits<double>::quiet_NaN();

} // namespace

class TestNumberForms : public QObject {
    Q_OBJECT

private slots:
    void everyTextReadsBack();
    void reading_data();
    void reading();
    void levels_data();
    void levels();
    void inListedUnits_data();
    void inListedUnits();
    void formatting_data();
    void formatting();
    void valuesInUnits_data();
    void valuesInUnits();
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
// so exactly the double the scaled number names) and the decimals that show every digit; a sum
// computed in the unit of its first level; and why a text is none.
// clang-format off
void TestNumberForms::levels_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("currentUnit");
    QTest::addColumn<QString>("unit"); // as UnitName writes it; empty: no level
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("error");

    const auto read = [](const char* text, int currentUnit, const char* unit, double value, int decimals,
                         LevelError error) {
        const QString written = QString::fromUtf8(text);
        QTest::addRow("%s (box in %d)", qPrintable(written.simplified()), currentUnit)
            << written << currentUnit << QString::fromUtf8(unit) << value << decimals << int(error);
    };
    const auto row = [&](const char* text, int currentUnit, const char* unit, double value, int decimals) {
        read(text, currentUnit, unit, value, decimals, LevelError::NotALevel);
    };
    const auto refused = [&](const char* text, LevelError error = LevelError::NotALevel) {
        read(text, NoUnit, "", 0, 0, error);
    };
    row("-73 dBm", NoUnit, "dBm50", -73, 0);
    row("-73 dBm", 3, "dBm600", -73, 0);      // the box's impedance kept
    row("-73 dBm", 6, "dBm50", -73, 0);      // watts are another kind of unit: the first dBm
    row("-73dBm600", 2, "dBm600", -73, 0);
    row("12 dBu", NoUnit, "dBu", 12, 0);
    row("5 dbv", NoUnit, "dBV", 5, 0);
    row("0,775 Veff", NoUnit, "Vrms", 0.775, 3);
    row("2,8284 Vpp", NoUnit, "Vpp", 2.8284, 4);
    row("1 VCAC", NoUnit, "Vpp", 1, 0);
    row("316 µV", NoUnit, "Vrms", 316e-6, 6);
    row("316 μV", NoUnit, "Vrms", 316e-6, 6); // Greek mu
    row("316uV", 1, "Vrms", 316e-6, 6);      // a bare V is RMS whatever the box shows
    row("0,1 mV", NoUnit, "Vrms", 1e-4, 4);
    row("3 mV", NoUnit, "Vrms", 3e-3, 3);
    row("3 MV", NoUnit, "Vrms", 3e6, 0);
    row("1 nVpp", NoUnit, "Vpp", 1e-9, 9);
    row("2.5e-3 mVrms", NoUnit, "Vrms", 2.5e-6, 7);
    row("2 mW", NoUnit, "W50", 2e-3, 3);
    row("2 mW", 7, "W600", 2e-3, 3);
    row("1,5 kW", NoUnit, "W50", 1500, 0);
    row("1.5 KW600", NoUnit, "W600", 1500, 0);
    row("40 kHz", NoUnit, "kHz75", 40, 0);
    row("40 kHz", 9, "kHz80", 40, 0);
    row("40 KHZ80", NoUnit, "kHz80", 40, 0);
    row("-10 dBµV", 11, "dBuV75", -10, 0);
    row("-10 dBuV", 4, "dBuV50", -10, 0);
    row("20 DBUV75", NoUnit, "dBuV75", 20, 0);
    row(" \t12 dBu \r\n", NoUnit, "dBu", 12, 0);
    row("\xEF\xBB\xBF-73 dBm", NoUnit, "dBm50", -73, 0); // a byte-order mark before it
    row("316\u00a0µV", NoUnit, "Vrms", 316e-6, 6); // no-break space, as French texts write it
    row("1e-400 V", NoUnit, "Vrms", 0, 400);     // too small for a double: zero
    // Any impedance after "@": the listed unit where it has that impedance.
    row("-73 dBm@75", NoUnit, "dBm@75", -73, 0);
    row("-73 dBm @ 75 Ω", NoUnit, "dBm@75", -73, 0);
    row("-73 dBm@75Ω", NoUnit, "dBm@75", -73, 0); // the ohm sign
    row("10 W @ 8 ohms", NoUnit, "W@8", 10, 0);
    row("2 mW@8", NoUnit, "W@8", 2e-3, 3);
    row("-73 dBm@600", NoUnit, "dBm600", -73, 0);
    row("-73 dBm@50", 3, "dBm50", -73, 0);
    row("-73 dBm@75", 3, "dBm@75", -73, 0);
    row("-3 dBW@4", NoUnit, "dBW@4", -3, 0);
    // Units the window does not list.
    row("1.4142 Vp", NoUnit, "Vp", 1.4142, 4);
    row("3 mVc", NoUnit, "Vp", 3e-3, 3);
    row("30 dBmV", NoUnit, "dBmV", 30, 0);
    row("0 dBW", NoUnit, "dBW", 0, 0);
    row("10 dBk", NoUnit, "dBk", 10, 0);
    row("-43 dBµW", NoUnit, "dBuW", -43, 0);
    row("-18 dBFS@18dBu", NoUnit, "dBFS@18dBu", -18, 0);
    row("-18 dBFS @ 1228 mV", NoUnit, "dBFS@1.228Vrms", -18, 0);
    row("-20 dBFS@-10dBV", NoUnit, "dBFS@-10dBV", -20, 0);
    // S-meter readings: 6 dB per point, the dB beyond S9 after it.
    row("S9+20", NoUnit, "S", 9 + 20.0 / 6, 0);
    row("S9+20 dB", NoUnit, "S", 9 + 20.0 / 6, 0);
    row("s9-6", NoUnit, "S", 8, 0);
    row("S1-9", NoUnit, "S", -0.5, 0);
    row("S9+1e1", NoUnit, "S", 9 + 10.0 / 6, 0); // the dB in any form a number is written
    row("S7,5", NoUnit, "S", 7.5, 1);
    row("S7@VHF", NoUnit, "S@VHF", 7, 0);
    row("S9+10.5 @ vhf", NoUnit, "S@VHF", 10.75, 1);
    row("9 S", NoUnit, "S", 9, 0);
    row("9 S@VHF", NoUnit, "S@VHF", 9, 0);
    // Gains in dB, and levels that add as powers: in the first one's unit.
    row("-73 dBm + 20 dB", NoUnit, "dBm50", -53, 0);
    row("-73dBm+20dB", NoUnit, "dBm50", -53, 0);
    row("12 dBu - 6 dB", NoUnit, "dBu", 6, 0);
    row("-73 dBm + 0,25 dB - 1,5 dB", 3, "dBm600", -74.25, 2);
    row("S9 + 20 dB", NoUnit, "S", 9 + 20.0 / 6, 0);
    row("316 µV + 20 dB", NoUnit, "Vrms", 316e-5, 6);
    row("1 W + 3 dB", NoUnit, "W50", 1.9952623149688795, 0);
    row("-73 dBm + -73 dBm", NoUnit, "dBm50", -69.98970004336019, 0);
    row("-73 dBm + S9", NoUnit, "dBm50", -69.98970004336019, 0);
    row("-73 dBm + -73 dBm + -73 dBm", NoUnit, "dBm50", -68.22878745280337, 0); // -73 + 10 log 3
    row("-73 dBm + -5000 dBm", NoUnit, "dBm50", -73, 0); // a power no double holds adds nothing
    row("2 mW + 3 mW", NoUnit, "W50", 5e-3, 3);
    refused("12");
    refused("dBu");
    refused("12 34 dBm");
    refused("12 dBu 5");
    refused("12 dBx");
    refused("1 mdBm");   // prefixes belong to volts and watts only
    refused("3 kkHz");
    refused("1 µ");
    refused("1e400 V");
    refused("1e306 MW"); // beyond the range once scaled
    refused("1,2,3 V");
    refused("- 5 V");
    refused("-73 dBm +");
    refused("-73 dBm + 20");
    refused("S");
    // A receiver reads S1 to S9, then the dB beyond them.
    refused("S10", LevelError::SMeterReading);
    refused("S99", LevelError::SMeterReading);
    refused("S-1", LevelError::SMeterReading);
    refused("S1e1", LevelError::SMeterReading);
    refused("S0,5", LevelError::SMeterReading);
    refused("S9.01", LevelError::SMeterReading);
    refused("S-1E308", LevelError::SMeterReading);
    refused("S9+1e1000", LevelError::SMeterReading);
    refused("-18 dBFS", LevelError::FullScaleMissing);
    refused("-18 dBFS@0V", LevelError::FullScaleRefused);
    refused("-18 dBFS@18", LevelError::FullScaleRefused);
    refused("-18 dBFS@4dBm@600", LevelError::FullScaleRefused);
    refused("-18 dBFS@-18dBFS@18dBu", LevelError::FullScaleRefused);
    refused("-73 dBm@", LevelError::ImpedanceRefused);
    refused("-73 dBm@0", LevelError::ImpedanceRefused);
    refused("-73 dBm@-50", LevelError::ImpedanceRefused);
    refused("-73 dBm@75 volts", LevelError::ImpedanceRefused);
    refused("-73 dBm50@75", LevelError::ParameterRefused); // the twelve keep their impedance
    refused("12 dBu@600", LevelError::ParameterRefused);
    refused("S9@UHF", LevelError::ParameterRefused);
    refused("12 dB", LevelError::GainAlone);
    refused("20 dB + -73 dBm", LevelError::GainAlone);
    refused("-73 dBm * 2", LevelError::Product);
    refused("-73 dBm / -3 dBm", LevelError::Product);
    refused("1 V × 2 V", LevelError::Product);
    refused("1 V + 1 V", LevelError::SumOfKinds);
    refused("12 dBu + 1 V", LevelError::SumOfKinds);
    refused("1 W + -73 dBm", LevelError::SumOfKinds);
    refused("40 kHz + 40 kHz", LevelError::SumOfKinds);
    refused("-73 dBm - -73 dBm", LevelError::LevelSubtracted);
    refused("1e308 W + 1e308 W", LevelError::OutOfRange);
    refused("-1 W + 1 W", LevelError::OutOfRange);
    refused("1e308 V + 10 dB", LevelError::OutOfRange);
    refused("0 V + -73 dBm", LevelError::SumOfKinds);
}
// clang-format on

void TestNumberForms::levels()
{
    QFETCH(QString, text);
    QFETCH(int, currentUnit);
    QFETCH(QString, unit);
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(int, error);
    const Reading<Level> level = ReadLevelText(text.toStdString(), currentUnit);
    QCOMPARE(level.value.has_value(), !unit.isEmpty());
    if (level.value) {
        QCOMPARE(QString::fromStdString(UnitName(level.value->unit)), unit);
        const double read = level.value->value.ToDouble().value_or(Nothing);
        QVERIFY2(read == value, qPrintable(QString::number(read, 'g', 17)));
        QCOMPARE(level.value->decimals, decimals);
    } else {
        QCOMPARE(int(level.error), error);
    }
}

// A level pasted into the window in a unit its lists do not hold is converted into the
// listed unit of its family, with the decimals that show it as written: converted back from
// them, it reads as written to its last decimal.
// clang-format off
void TestNumberForms::inListedUnits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("unit"); // -1: no level
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<int>("decimals");

    const auto row = [](const char* text, int unit, double value, double tolerance, int decimals) {
        QTest::newRow(text) << QString::fromUtf8(text) << unit << value << tolerance << decimals;
    };
    // 0,0001 V is -69,3 dBm across 75 ohms, 0,00006 V -73,19 dBm: within half a dB.
    row("-73 dBm@75", 0, 6.130990337787642e-5, 1e-19, 5);
    // 0,000061 V is -73,04 dBm, 0,0000613 V -73,0014 dBm: within 0,005 dB.
    row("-73.00 dBm@75", 0, 6.130990337787642e-5, 1e-19, 7);
    row("10 W@8", 0, 8.94427190999916, 1e-14, 1);
    // √(8E-9) = 0,0000894427 V: 0,0001 V is 1,25 nW, which shows as 1 nW to the nanowatt.
    row("1 nW@8", 0, 8.94427190999916e-5, 1e-19, 4);
    // 0,00001 V is 0,0125 nW: within 0,005 nW of 0,01 nW.
    row("0.01 nW@8", 0, 8.94427190999916e-6, 1e-20, 5);
    row("1 Vp", 0, 0.70710678118654757, 1e-16, 1);
    row("30 dBmV", 11, 90, 1e-13, 1);
    row("-73 dBW", 2, -43, 1e-13, 1);
    row("-18 dBFS@18dBu", 4, 0, 1e-13, 1);
    row("S9+20", 2, -53, 1e-13, 1);
    row("-73 dBm + -73 dBm", 2, -69.98970004336019, 0, 0); // listed already: as read
    row("-73 dBm@600", 3, -73, 0, 0);
    row("1e-300 W@8", 0, 2.8284271247461902e-150, 1e-165, 11); // no fixed form shows it
    row("-1 W@8", -1, 0, 0, 0);
}
// clang-format on

void TestNumberForms::inListedUnits()
{
    QFETCH(QString, text);
    QFETCH(int, unit);
    QFETCH(double, value);
    QFETCH(double, tolerance);
    QFETCH(int, decimals);
    const std::optional<Level> level = ReadLevel(text.toStdString());
    QVERIFY(level);
    const std::optional<Level> listed = InListedUnit(*level);
    QCOMPARE(listed.has_value(), unit >= 0);
    if (listed) {
        QCOMPARE(listed->unit, QualifiedUnit{unit});
        const double read = listed->value.ToDouble().value_or(Nothing);
        QVERIFY2(std::fabs(read - value) <= tolerance, qPrintable(QString::number(read, 'g', 17)));
        QCOMPARE(listed->decimals, decimals);
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

// Values as tarvane-convert writes them: at least some significant digits where the table of
// every unit asks for them, and S-meter readings as a receiver shows them, the decimals on the
// part that varies and never "S9+0".
// clang-format off
void TestNumberForms::valuesInUnits_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("digits");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* unit, int precision, int digits, double value, const char* expected) {
        QTest::addRow("%s in %s at %d, %d digits", expected, unit, precision, digits)
            << unit << precision << digits << value << expected;
    };
    row("W50", 4, 5, 5.0118723362727229e-11, "5.0119E-11");
    row("W600", 4, 5, 1.0 / 600, "0.0016667");
    row("W50", 4, 5, 0.02, "0.020000");
    row("Vrms", 4, 5, -0.000050059, "-0.000050059");
    row("Vrms", 4, 5, 5e-7, "5E-7");
    row("dBm50", 4, 5, 13.010299956639813, "13.0103");
    row("dBm50", 4, 5, 0, "0.0000");
    row("W50", 4, 5, 123456.7, "123456.7000");
    row("W50", 2, 5, 0.099999, "0.099999");
    row("W50", 2, 5, 0.0999996, "0.10000");
    row("S", 0, 0, 9, "S9");
    row("S", 4, 0, 9, "S9.0000");
    row("S", 0, 0, 7, "S7");
    row("S", 1, 0, 7.5, "S7.5");
    row("S", 0, 0, 9 + 20.0 / 6, "S9+20");
    row("S", 4, 0, 9 + 20.0 / 6, "S9+20.0000");
    row("S", 4, 5, 9 + 20.0 / 6, "S9+20.0000");
    row("S@VHF", 0, 0, 9 + 12.0 / 6, "S9+12");
    row("S", 2, 0, 9 + 0.01 / 6, "S9+0.01");
    row("S", 2, 0, 9 + 0.001 / 6, "S9.00"); // 0,001 dB beyond S9 shows as none
    row("S", 2, 0, 8.9999, "S9.00");
    row("S", 0, 0, 1, "S1");
    row("S", 0, 0, 0, "S1-6");
    row("S", 0, 0, -0.5, "S1-9");
    row("S", 1, 0, 0.99999, "S1.0");
    row("S", 0, 0, -1e6, "S1-6000006");
    row("S", 0, 0, 1e300, "S9+6E300");
    row("S", 0, 0, -1e308, "-1E308"); // the dB under S1 would leave the range of a double
}
// clang-format on

void TestNumberForms::valuesInUnits()
{
    QFETCH(QString, unit);
    QFETCH(int, precision);
    QFETCH(int, digits);
    QFETCH(double, value);
    QFETCH(QString, expected);
    const std::string text =
        ValueToString(value, FindUnit(unit.toStdString()).value(), precision, digits);
    QCOMPARE(QString::fromStdString(text), expected);
    QVERIFY(text.size() <= MaxValueTextLength);
}

QTEST_APPLESS_MAIN(TestNumberForms)
#include "tst_NumberForms.moc"
