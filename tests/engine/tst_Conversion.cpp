#include "EveryUnit.h"
#include "LevelArithmetic.h"
#include "LevelText.h"
#include "NumberForms.h"
#include "Units.h"
#include "uConv.h"

#include <QtTest>

#include <bit>
#include <cfenv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

using namespace tarvane;

Q_DECLARE_METATYPE(tarvane::QualifiedUnit)

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Smallest = std::numeric_limits<double>::denorm_min();
constexpr double Largest = std::numeric_limits<double>::max();
// The faults a conversion must never leave behind.
constexpr int Faults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

bool IsLevelInDb(int unit)
{
    const UnitKind kind = UnitCatalogue[unit].kind;
    return kind == UnitKind::VoltageLevel || kind == UnitKind::PowerLevel;
}

// The catalogue's unit of that identifier.
int U(const char* identifier)
{
    return UnitIndexOf(identifier);
}

// A unit as a level writes it, "@" and what follows it included.
QualifiedUnit Named(const char* name)
{
    const std::optional<LevelUnit> unit = ReadLevelUnit(name);
    if (!unit)
        qFatal("no unit %s", name);
    return unit->unit;
}

bool SameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// A conversion, leaving no fault and the flag alone: TryConvertValue's result, and for a unit
// of the window's lists the same through ConvertValue, which leaves its failure value with the
// flag set.
double Convert(double value, const QualifiedUnit& fromUnit, const QualifiedUnit& toUnit,
               bool& failed)
{
    const bool flagBefore = ConversionFailed;
    const int faultsBefore = std::fetestexcept(Faults);
    const std::optional<double> tried = TryConvertValue(value, fromUnit, toUnit);
    if (ConversionFailed != flagBefore || (std::fetestexcept(Faults) & ~faultsBefore) != 0) {
        QTest::qFail("TryConvertValue left the flag or a fault changed", __FILE__, __LINE__);
    }
    failed = !tried;
    const QualifiedUnit plain[2] = {{fromUnit.unit}, {toUnit.unit}};
    if (!(fromUnit == plain[0]) || !(toUnit == plain[1]) || fromUnit.unit >= UnitCount
        || toUnit.unit >= UnitCount) {
        // The catalogue is read only for a unit it holds: a row may name one it does not.
        if (tried || toUnit.unit < 0 || toUnit.unit >= CatalogueSize)
            return tried.value_or(0);
        return UnitCatalogue[toUnit.unit].kind == UnitKind::PowerLevel ? -999 : 0;
    }
    ConversionFailed = false;
    const double result = ConvertValue(value, fromUnit.unit, toUnit.unit);
    if (ConversionFailed != failed || (tried && !SameBits(*tried, result))) {
        QTest::qFail("TryConvertValue and ConvertValue disagree", __FILE__, __LINE__);
    }
    return result;
}

double Convert(double value, int fromUnit, int toUnit, bool& failed)
{
    return Convert(value, QualifiedUnit{fromUnit}, QualifiedUnit{toUnit}, failed);
}

} // namespace

class TestConversion : public QObject {
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void everyDigit_data();
    void everyDigit();
    void zeroAndNegative_data();
    void zeroAndNegative();
    void identity_data();
    void identity();
    void nonFiniteFails();
    void flagIsStickyAndIgnoresEarlierFaults();
    void roundTrips_data();
    void roundTrips();
};

// clang-format off
void TestConversion::values_data()
{
    QTest::addColumn<QualifiedUnit>("fromUnit");
    QTest::addColumn<QualifiedUnit>("toUnit");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");
    QTest::addColumn<bool>("fails");

    // Units as a level writes them: "dBm@75" is dBm across 75 ohms.
    const auto ok = [](const char* name, const char* from, const char* to, double value, double expected,
                       double tolerance) {
        QTest::newRow(name) << Named(from) << Named(to) << value << expected << tolerance << false;
    };
    const auto failsFor = [](const char* name, QualifiedUnit from, QualifiedUnit to, double value, double failureValue) {
        QTest::newRow(name) << from << to << value << failureValue << 0.0 << true;
    };
    const auto fails = [&](const char* name, const char* from, const char* to, double value, double failureValue) {
        failsFor(name, Named(from), Named(to), value, failureValue);
    };
    ok("1 Vrms in Vpp", "Vrms", "Vpp", 1, 2.82843, 5e-6);
    ok("1 Vrms in dBm 50", "Vrms", "dBm50", 1, 13.0103, 5e-5);
    ok("1 Vrms in dBm 600", "Vrms", "dBm600", 1, 2.21849, 5e-6);
    ok("1 Vrms in dBu", "Vrms", "dBu", 1, 2.21849, 5e-6);
    ok("1 Vrms in dBV", "Vrms", "dBV", 1, 0, 0);
    ok("1 Vrms in W 50", "Vrms", "W50", 1, 0.02, 1e-15);
    ok("1 Vrms in W 600", "Vrms", "W600", 1, 0.00166667, 5e-9);
    ok("1 Vrms in kHz 75", "Vrms", "kHz75", 1, 24.3212, 5e-5);
    ok("1 Vrms in kHz 80", "Vrms", "kHz80", 1, 25.9427, 5e-5);
    ok("1 Vrms in dBuV 50", "Vrms", "dBuV50", 1, 120, 0);
    ok("1 Vrms in dBuV 75", "Vrms", "dBuV75", 1, 120, 0);
    ok("12 dBu in kHz 75", "dBu", "kHz75", 12, 75, 0);
    ok("12 dBu in kHz 80", "dBu", "kHz80", 12, 80, 0);
    ok("75 kHz in kHz 80", "kHz75", "kHz80", 75, 80, 1e-13);
    ok("75 kHz in dBu", "kHz75", "dBu", 75, 12, 1e-13);
    ok("75 kHz in Vrms", "kHz75", "Vrms", 75, 3.08372, 5e-6);
    ok("0 dBu in Vrms", "dBu", "Vrms", 0, 0.774597, 5e-7);
    // Reference points are exactly 0 dB: the references divide to exactly 1, or to a whole
    // power of ten, from the digits of the doubles given.
    ok("0 dBm 600 in dBu", "dBm600", "dBu", 0, 0, 0);
    ok("0 dBu in dBm 600", "dBu", "dBm600", 0, 0, 0);
    ok("1 mW in dBm 50", "W50", "dBm50", 0.001, 0, 0);
    ok("1 mW across 600 ohms in dBm 600", "W600", "dBm600", 0.001, 0, 0);
    ok("1 µV in dBuV 50", "Vrms", "dBuV50", 1e-6, 0, 0);
    ok("1 mV in dBmV", "Vrms", "dBmV", 1e-3, 0, 0);
    ok("1 µW in dBµW", "W50", "dBuW", 1e-6, 0, 0);
    ok("-30 dBW in dBm", "dBW", "dBm50", -30, 0, 0);
    ok("25 mW across 2 ohms in dBm 50", "W@2", "dBm50", 0.025, 0, 0); // 0.05 V² either way
    ok("6E-5 W across 50 ohms in dBm at 3 ohms", "W50", "dBm@3", 6e-5, 0, 0);
    // Within 2^-96 of the 13 dB that cancel to give it.
    ok("sqrt(0.05) V in dBm 50, within its digits", "Vrms", "dBm50", 0.22360679774997896,
       -3.7449641558749275e-16, 2e-28);
    ok("0 dBm 600 in Vrms", "dBm600", "Vrms", 0, 0.774597, 5e-7);
    ok("0 dBm 50 in Vrms", "dBm50", "Vrms", 0, 0.223607, 5e-7);
    ok("0 dBm 50 in dBm 600", "dBm50", "dBm600", 0, -10.7918, 5e-5);
    ok("0 dBm 50 in dBuV 50", "dBm50", "dBuV50", 0, 106.9897, 5e-5);
    ok("1 W 50 in dBm 50", "W50", "dBm50", 1, 30, 1e-13);
    ok("1 W 50 in Vrms", "W50", "Vrms", 1, 7.07107, 5e-6);
    ok("1 W 50 in Vpp", "W50", "Vpp", 1, 20, 1e-13);
    ok("1 W 50 in W 600", "W50", "W600", 1, 0.0833333, 5e-8);
    ok("0 dBm 50 in W 50", "dBm50", "W50", 0, 0.001, 0);
    ok("0 dBm 50 in W 600", "dBm50", "W600", 0, 8.33333e-5, 5e-11);
    ok("0 dBm 600 in W 600", "dBm600", "W600", 0, 0.001, 0);
    ok("0 dBm 600 in W 50", "dBm600", "W50", 0, 0.012, 1e-17);
    ok("0.001 W 600 in dBm 50", "W600", "dBm50", 0.001, 10.7918, 5e-5);
    ok("-1 Vpp in kHz 75", "Vpp", "kHz75", -1, -8.59886, 5e-6);
    ok("120 dBuV 75 in Vrms", "dBuV75", "Vrms", 120, 1, 1e-15);
    ok("0 dBuV 50 in Vrms", "dBuV50", "Vrms", 0, 1e-6, 1e-21);
    // Underflow is no fault, neither through exp nor through the power by multiplication
    // whose overflowing first attempt is answered by the reciprocal.
    ok("-5000 dBm in W", "dBm50", "W50", -5000, 0, 0);
    ok("-5000.5 dBm in W", "dBm50", "W50", -5000.5, 0, 0);
    ok("-8000 dBV in Vrms", "dBV", "Vrms", -8000, 0, 0);
    ok("subnormal power in dBm", "Vrms", "dBm50", 1e-160, -3186.99, 0.1);
    // Where an intermediate would leave the range of a double but the result does not; and
    // results that need more than a double's digits on the way to come out right.
    ok("3100 dBm in W", "dBm50", "W50", 3100, 1e307, 0);
    ok("1e154 V in dBm", "Vrms", "dBm50", 1e154, 3093.0102999566398, 0);
    ok("1e307 W in Vrms", "W50", "Vrms", 1e307, 2.2360679774997897e154, 0);
    ok("-6160 dBV in kHz", "dBV", "kHz75", -6160, 2.432123579200245e-307, 0);
    // No voltage is rounded on the way, not even a subnormal one.
    ok("-6200 dBV in kHz", "dBV", "kHz75", -6200, 2.432123579200245e-309, 0);
    ok("1e-310 V in dBV", "Vrms", "dBV", 1e-310, -6200, 0);
    ok("smallest double in dBu", "Vrms", "dBu", Smallest, -6463.905819366152, 0);
    ok("largest double in dBV", "Vrms", "dBV", Largest, 6165.094311198335, 0);
    ok("177.5 dBV in W 600", "dBV", "W600", 177.5, 937235541983915.1, 0);
    fails("smallest double in dBV", "Vrms", "dBV", Smallest, 0);
    fails("power underflowing to 0 in dBm", "Vrms", "dBm50", 1e-200, -999);
    fails("power beyond double in dBm", "Vrms", "dBm50", 1e308, -999);
    fails("overflow in Vpp", "Vrms", "Vpp", 1e308, 0);
    fails("overflow in W", "Vrms", "W50", 1e308, 0);
    fails("overflow in dBm to W", "dBm50", "W50", 7000, 0);
    fails("overflow from dBV", "dBV", "Vrms", 7000, 0);
    failsFor("index -1", {-1}, {0}, 1, 0);
    failsFor("index past the catalogue", {0}, {CatalogueSize}, 1, 0);
    failsFor("equal bad indexes", {CatalogueSize}, {CatalogueSize}, 1, 0);
    failsFor("index INT_MIN", {INT_MIN}, {3}, 1, 0);
    // Any impedance: a level keeps its voltage, which is √(P · R).
    ok("0 dBm at 75 ohms in Vrms", "dBm@75", "Vrms", 0, 0.27386127875258306, 1e-16);
    ok("10 W at 8 ohms in Vrms", "W@8", "Vrms", 10, 8.94427190999916, 1e-14);
    ok("-73 dBm at 75 ohms in dBm 50", "dBm@75", "dBm50", -73, -71.23908740944319, 0);
    ok("1 Vrms in W at 8 ohms", "Vrms", "W@8", 1, 0.125, 0);
    ok("dBW into W across the same 75 ohms", "dBW@75", "W@75", 0, 1, 0);
    ok("dBm into W across 8 ohms", "dBm@8", "W@8", 30, 1, 0);
    // Units the window does not list; between levels in dB, whole dB stay whole.
    ok("1 Vrms in Vp", "Vrms", "Vp", 1, 1.4142135623730951, 0);
    ok("1 Vp in Vpp", "Vp", "Vpp", 1, 2, 0);
    ok("30 dBmV in dBuV 75", "dBmV", "dBuV75", 30, 90, 0);
    ok("0 dBW in dBm", "dBW", "dBm50", 0, 30, 0);
    ok("0 dBk in dBm", "dBk", "dBm50", 0, 60, 0);
    ok("0 dBuW in dBm", "dBµW", "dBm50", 0, -30, 0);
    ok("-3 dBW in W", "dBW", "W50", -3, 0.50118723362727224, 1e-16);
    ok("-18 dBFS at +18 dBu in dBu", "dBFS@18dBu", "dBu", -18, 0, 0);
    ok("0 dBFS at +24 dBu in dBu", "dBFS@24dBu", "dBu", 0, 24, 0);
    ok("0 dBV in dBFS at +2 dBV", "dBV", "dBFS@2dBV", 0, -2, 0);
    ok("full scale in volts", "Vrms", "dBFS@1.228V", 1.228, 0, 1e-14);
    ok("S9 in dBm", "S", "dBm50", 9, -73, 0);
    ok("S5 in dBm", "S", "dBm50", 5, -97, 0);
    ok("S9 above 30 MHz in dBm", "S@VHF", "dBm50", 9, -93, 0);
    ok("-53 dBm is S9+20", "dBm50", "S", -53, 9 + 20.0 / 6, 0);
    ok("-127 dBm is S0", "dBm50", "S", -127, 0, 0);
    ok("S9 on HF is S9+20 above 30 MHz", "S", "S@VHF", 9, 9 + 20.0 / 6, 0);
    fails("0 V in dBFS", "Vrms", "dBFS@18dBu", 0, 0);
    fails("0 V in S-units", "Vrms", "S", 0, 0);
    failsFor("dBFS without its full scale", {U("dBFS")}, {U("dBu")}, 0, 0);
    failsFor("dBFS without its full scale, to itself", {U("dBFS")}, {U("dBFS")}, 0, 0);
    failsFor("full scale of no voltage", {U("dBFS"), 0, 0, U("Vrms")}, {U("dBu")}, 0, 0);
    failsFor("full scale in a unit that needs one", {U("dBFS"), 0, 0, U("dBFS")}, {U("dBu")}, 0, 0);
    failsFor("negative impedance", {U("dBm50"), -75}, {U("Vrms")}, 0, 0);
    failsFor("impedance of a voltage level", {U("dBu"), 75}, {U("Vrms")}, 0, 0);
}
// clang-format on

void TestConversion::values()
{
    QFETCH(QualifiedUnit, fromUnit);
    QFETCH(QualifiedUnit, toUnit);
    QFETCH(double, value);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    QFETCH(bool, fails);
    bool failed = false;
    const double result = Convert(value, fromUnit, toUnit, failed);
    QCOMPARE(failed, fails);
    QVERIFY2(std::fabs(result - expected) <= tolerance,
             qPrintable(QString::number(result, 'g', 17)));
}

// Values given as decimal text convert from every digit, however many a double would drop and
// however small the number: the nearest double to the exact result (hand-worked with 80
// digits).
// clang-format off
void TestConversion::everyDigit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QualifiedUnit>("fromUnit");
    QTest::addColumn<QualifiedUnit>("toUnit");
    QTest::addColumn<double>("expected");

    const auto row = [](const char* text, const char* from, const char* to, double expected) {
        QTest::addRow("%s %s in %s", text, from, to) << text << Named(from) << Named(to) << expected;
    };
    row("1.0000000000000001", "W50", "dBW", 4.342944819032518e-16);
    row("1.00000000000001", "Vrms", "dBV", 8.685889638064993e-14);
    row("1.000000000000000000000000000001", "Vrms", "dBV", 8.685889638065036e-30);
    row("0.7745966692414834", "Vrms", "dBu", 2.575069758241182e-16);
    row("123456789.0123456789012345678901", "Vrms", "Vpp", 349188530.77658594);
    row("1e-30", "dBu", "dBm600", 1e-30);
    row("1e-320", "W50", "dBm50", -3170);
    row("2e-320", "Vrms", "dBV", -6393.9794000867205); // no double holds 2e-320 to 2 digits
}
// clang-format on

void TestConversion::everyDigit()
{
    QFETCH(QString, text);
    QFETCH(QualifiedUnit, fromUnit);
    QFETCH(QualifiedUnit, toUnit);
    QFETCH(double, expected);
    const std::optional<ScaledReal> value = ReadExactNumber(text.toStdString());
    QVERIFY(value);
    const std::optional<double> result = TryConvertValue(*value, fromUnit, toUnit);
    QVERIFY(result);
    QVERIFY2(SameBits(*result, expected), qPrintable(QString::number(*result, 'g', 17)));
}

// clang-format off
void TestConversion::zeroAndNegative_data()
{
    QTest::addColumn<int>("fromUnit");
    QTest::addColumn<double>("value");
    // One letter per target unit: F fails (with -999 for dBm, else 0), 0 gives zero,
    // - a negative result, m the result of the magnitude, v an ordinary value, = identity.
    QTest::addColumn<QString>("outcomes");

    QTest::newRow("0 Vrms") << U("Vrms") << 0.0 << "=0FFFF0000FF";
    QTest::newRow("-1 Vrms") << U("Vrms") << -1.0 << "=-mmFFmm00FF";
    QTest::newRow("0 Vpp") << U("Vpp") << 0.0 << "0=FFFF00FFFF";
    QTest::newRow("-1 Vpp") << U("Vpp") << -1.0 << "-=mmFFmm--FF";
    for (int unit = 0; unit < UnitCount; ++unit) {
        if (!IsLevelInDb(unit)) {
            continue;
        }
        QString outcomes(UnitCount, 'v');
        outcomes[unit] = '=';
        QTest::addRow("0 dB, unit %d", unit) << unit << 0.0 << outcomes;
        QTest::addRow("-1 dB, unit %d", unit) << unit << -1.0 << outcomes;
    }
    QTest::newRow("0 W 50") << U("W50") << 0.0 << "00FFFF=000FF";
    QTest::newRow("-1 W 50") << U("W50") << -1.0 << "FFFFFF=FFFFF";
    QTest::newRow("0 W 600") << U("W600") << 0.0 << "00FFFF0=00FF";
    QTest::newRow("-1 W 600") << U("W600") << -1.0 << "FFFFFFF=FFFF";
    QTest::newRow("0 kHz 75") << U("kHz75") << 0.0 << "FFFFFFFF=FFF";
    QTest::newRow("-1 kHz 75") << U("kHz75") << -1.0 << "--mmFFmm=0FF";
    QTest::newRow("0 kHz 80") << U("kHz80") << 0.0 << "FFFFFFFFF=FF";
    QTest::newRow("-1 kHz 80") << U("kHz80") << -1.0 << "--mmFFmm0=FF";
}
// clang-format on

void TestConversion::zeroAndNegative()
{
    QFETCH(int, fromUnit);
    QFETCH(double, value);
    QFETCH(QString, outcomes);
    for (int toUnit = 0; toUnit < UnitCount; ++toUnit) {
        bool failed = false;
        const double result = Convert(value, fromUnit, toUnit, failed);
        const char outcome = outcomes.at(toUnit).toLatin1();
        const QByteArray where = QByteArray("to unit ") + QByteArray::number(toUnit) + " gave "
            + QByteArray::number(result, 'g', 17) + (failed ? " (failed)" : "");
        QVERIFY2(failed == (outcome == 'F'), where);
        switch (outcome) {
        case 'F':
            QVERIFY2(result == (UnitCatalogue[toUnit].kind == UnitKind::PowerLevel ? -999 : 0),
                     where);
            break;
        case '0':
            QVERIFY2(result == 0, where);
            break;
        case '-':
            QVERIFY2(result < 0, where);
            break;
        case 'm': {
            bool magnitudeFailed = false;
            const double magnitudeResult =
                Convert(std::fabs(value), fromUnit, toUnit, magnitudeFailed);
            QVERIFY2(!magnitudeFailed && result == magnitudeResult, where);
            break;
        }
        case 'v':
            QVERIFY2(std::isfinite(result), where);
            break;
        default:
            QVERIFY2(SameBits(result, value), where);
        }
    }
}

void TestConversion::identity_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("-0") << -0.0;
    QTest::newRow("NaN with payload") << std::bit_cast<double>(std::uint64_t{0x7FF8000000000123});
    QTest::newRow("-inf") << -Inf;
    QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("-1e308") << -1e308;
}

void TestConversion::identity()
{
    QFETCH(double, value);
    for (const QualifiedUnit& unit : EveryUnit()) {
        bool failed = true;
        const double result = Convert(value, unit, unit, failed);
        QVERIFY(!failed);
        QVERIFY(SameBits(result, value));
    }
}

void TestConversion::nonFiniteFails()
{
    for (const double value : {NaN, Inf, -Inf}) {
        for (const QualifiedUnit& fromUnit : EveryUnit()) {
            for (const QualifiedUnit& toUnit : EveryUnit()) {
                bool failed = false;
                Convert(value, fromUnit, toUnit, failed);
                QCOMPARE(failed, !(fromUnit == toUnit));
            }
        }
    }
}

void TestConversion::flagIsStickyAndIgnoresEarlierFaults()
{
    ConversionFailed = true;
    QCOMPARE(ConvertValue(1, 0, 6), 0.02);
    QVERIFY(ConversionFailed);

    // Faults left by the caller's own arithmetic neither fail a conversion nor change a
    // bit of its result, whichever way the engine takes to get there.
    for (int fromUnit = 0; fromUnit < UnitCount; ++fromUnit) {
        for (int toUnit = 0; toUnit < UnitCount; ++toUnit) {
            for (const double value : {-1.0, 0.0, 0.5, 12.0}) {
                bool failed = false;
                const double clean = Convert(value, fromUnit, toUnit, failed);
                std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
                bool failedAfterFaults = false;
                const double afterFaults = Convert(value, fromUnit, toUnit, failedAfterFaults);
                QCOMPARE(failedAfterFaults, failed);
                QVERIFY(SameBits(afterFaults, clean));
            }
        }
    }
}

void TestConversion::roundTrips_data()
{
    QTest::addColumn<QualifiedUnit>("fromUnit");
    QTest::addColumn<QualifiedUnit>("toUnit");
    const QList<QualifiedUnit> units = EveryUnit();
    for (qsizetype from = 0; from < units.size(); ++from) {
        for (qsizetype to = 0; to < units.size(); ++to) {
            QTest::addRow("%s to %s", UnitName(units[from]).c_str(), UnitName(units[to]).c_str())
                << units[from] << units[to];
        }
    }
}

void TestConversion::roundTrips()
{
    QFETCH(QualifiedUnit, fromUnit);
    QFETCH(QualifiedUnit, toUnit);
    // Values inside every unit's domain, so both directions must succeed.
    const QList<double> values = IsLevelInDb(fromUnit.unit) ? QList<double>{-60, -3.5, 0, 12, 40}
                                                            : QList<double>{1e-3, 0.5, 1, 7.5, 300};
    for (const double value : values) {
        bool failed = false;
        const double there = Convert(value, fromUnit, toUnit, failed);
        QVERIFY(!failed);
        const double back = Convert(there, toUnit, fromUnit, failed);
        QVERIFY(!failed);
        QVERIFY2(std::fabs(back - value) <= 1e-12 * std::max(1.0, std::fabs(value)),
                 qPrintable(QString("%1 came back as %2").arg(value).arg(back, 0, 'g', 17)));
    }
}

QTEST_APPLESS_MAIN(TestConversion)
#include "tst_Conversion.moc"
