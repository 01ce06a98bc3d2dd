#include "DoubleRounding.h"
#include "NumericHelpers.h"
#include "WideReal.h"

#include <QtTest>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

using namespace tarvane;

namespace {

constexpr double Smallest = std::numeric_limits<double>::denorm_min();
constexpr double Largest = std::numeric_limits<double>::max();

constexpr double Nothing = std::numeric_limits<double>::quiet_NaN();
constexpr double Infinity = std::numeric_limits<double>::infinity();

using Computation = std::function<WideReal()>;

// A result as the tests compare it: its bits, NaN standing for no result.
double Bits(std::optional<double> value)
{
    return value.value_or(Nothing);
}

bool SameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

QString Text(double value)
{
    return QString::number(value, 'g', 17) + " ("
        + QString::number(std::bit_cast<std::uint64_t>(value), 16) + ")";
}

} // namespace

Q_DECLARE_METATYPE(Computation)

class TestNumericHelpers : public QObject {
    Q_OBJECT

private slots:
    void strictLog10_data();
    void strictLog10();
    void roundedOnce_data();
    void roundedOnce();
    void digitsBeyondDouble_data();
    void digitsBeyondDouble();
    void powerOfLogarithm();
    void failuresAsValues_data();
    void failuresAsValues();
};

// clang-format off
void TestNumericHelpers::strictLog10_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected"); // the nearest double; Nothing: refused

    const auto row = [](const char* name, double x, double expected) {
        QTest::newRow(name) << x << expected;
    };
    // Either side of 1, where only a series in x - 1 keeps the digits, and the ends of the range.
    row("1", 1, 0.0);
    row("2", 2, 0x1.34413509f79ffp-2);
    row("0.6", 0.6, -0x1.c658a32216009p-3);
    row("1 + 2^-52", 1 + 0x1p-52, 0x1.bcb7b1526e50dp-54);
    row("1 - 2^-53", 1 - 0x1p-53, -0x1.bcb7b1526e50fp-55);
    row("1000", 1000, 3.0);
    row("0.001", 0.001, -3.0);
    row("1e-300", 1e-300, -300.0);
    row("largest double", Largest, 0x1.34413509f79ffp+8);
    row("three smallest", 3 * Smallest, -0x1.42d43f829af7ep+8);
    row("twice the smallest", 2 * Smallest, -0x1.430153d3b1b95p+8);
    row("0", 0, Nothing);
    row("-0", -0.0, Nothing);
    row("-1", -1, Nothing);
    row("smallest double", Smallest, Nothing);
}
// clang-format on

void TestNumericHelpers::strictLog10()
{
    QFETCH(double, x);
    QFETCH(double, expected);
    const DoubleRounding rounding;
    const std::optional<WideReal> log = StrictLog10(x);
    const double result = log ? Bits(log->ToDouble()) : Nothing;
    QVERIFY2(SameBits(result, expected), qPrintable(Text(result)));
}

// clang-format off
void TestNumericHelpers::roundedOnce_data()
{
    QTest::addColumn<WideReal>("number");
    QTest::addColumn<double>("expected"); // Nothing: beyond the range of a double
    const DoubleRounding rounding;

    // Exponentials computed to the nearest double, subnormal results rounded once.
    QTest::newRow("10^0.05") << Exp10(0.05) << 0x1.1f3c99f6bc436p+0;
    QTest::newRow("10^8.875") << Exp10(8.875) << 0x1.6593d20aa8deap+29;
    QTest::newRow("10^-3.5") << Exp10(-3.5) << 0x1.4b96be9c2da2cp-12;
    QTest::newRow("10^15.5") << Exp10(15.5) << 0x1.67826493b2177p+51;
    QTest::newRow("10^1e-10") << Exp10(1e-10) << 0x1.00000000fd2c0p+0;
    QTest::newRow("10^308.2") << Exp10(308.2) << 0x1.c3647f1d600b6p+1023;
    QTest::newRow("10^308.3") << Exp10(308.3) << Nothing;
    QTest::newRow("10^-320.5") << Exp10(-320.5) << 0x0.0000000000280p-1022;
    QTest::newRow("10^-323.4") << Exp10(-323.4) << Smallest;
    QTest::newRow("10^-330") << Exp10(-330) << 0.0;
    QTest::newRow("10^1e300") << Exp10(1e300) << Nothing;
    QTest::newRow("10^-1e300") << Exp10(-1e300) << 0.0;
    // Products past the ends of the range and back: nothing overflows on the way.
    QTest::newRow("largest squared, over itself") << WideReal(Largest) * Largest / Largest << Largest;
    QTest::newRow("smallest squared, over itself") << WideReal(Smallest) * Smallest / Smallest << Smallest;
    QTest::newRow("square root of largest squared") << Sqrt(WideReal(Largest) * Largest) << Largest;
    // Halfway between two subnormal numbers goes to the even one, unless the low part says more.
    QTest::newRow("half the smallest") << WideReal::FromParts(1, 0, -1075) << 0.0;
    QTest::newRow("just over half the smallest") << WideReal::FromParts(1, 0x1p-60, -1075) << Smallest;
    QTest::newRow("one and a half smallest") << WideReal::FromParts(1.5, 0, -1074) << 2 * Smallest;
    QTest::newRow("just under 1.5 smallest") << WideReal::FromParts(1.5, -0x1p-60, -1074) << Smallest;
    QTest::newRow("minus 2.5 smallest") << WideReal::FromParts(-1.25, 0, -1073) << -2 * Smallest;
    QTest::newRow("minus zero") << WideReal(-0.0) * 3 << -0.0;
    QTest::newRow("2^1024") << WideReal::FromParts(1, 0, 1024) << Nothing;
}
// clang-format on

void TestNumericHelpers::roundedOnce()
{
    QFETCH(WideReal, number);
    QFETCH(double, expected);
    const DoubleRounding rounding;
    const double result = Bits(number.ToDouble());
    QVERIFY2(SameBits(result, expected), qPrintable(Text(result)));
}

// clang-format off
void TestNumericHelpers::digitsBeyondDouble_data()
{
    QTest::addColumn<WideReal>("number");
    QTest::addColumn<double>("high"); // the nearest double
    QTest::addColumn<double>("low");  // what is left of the exact value

    const DoubleRounding rounding;
    QTest::newRow("log 2") << Log10(2) << 0x1.34413509f79ffp-2 << -0x1.9dc1da994fd21p-59;
    QTest::newRow("log 0.6") << Log10(0.6) << -0x1.c658a32216009p-3 << 0x1.8db2b70904acbp-57;
    QTest::newRow("log 1 + 2^-52") << Log10(1 + 0x1p-52) << 0x1.bcb7b1526e50dp-54 << 0x1.512b4b307b350p-108;
    QTest::newRow("log of the largest") << Log10(Largest) << 0x1.34413509f79ffp+8 << -0x1.a4b4b95e998b5p-49;
    QTest::newRow("log 23.08") << Log10(23.080324296317556) << 0x1.5cfd6bedce3dcp+0 << -0x1.138042dbebdebp-57;
    QTest::newRow("10^0.05") << Exp10(0.05) << 0x1.1f3c99f6bc436p+0 << 0x1.d25d7f4e621eap-54;
    QTest::newRow("10^15.5") << Exp10(15.5) << 0x1.67826493b2177p+51 << -0x1.5810f6cf5909fp-3;
}
// clang-format on

// At least 96 bits right: a result rounds to the nearest double but in the rarest cases.
void TestNumericHelpers::digitsBeyondDouble()
{
    QFETCH(WideReal, number);
    QFETCH(double, high);
    QFETCH(double, low);
    const DoubleRounding rounding;
    QCOMPARE(number.ToDouble(), high);
    const double rest = *(number - high).ToDouble();
    QVERIFY2(std::fabs(rest - low) <= std::ldexp(std::fabs(high), -96), qPrintable(Text(rest)));
}

// 10^log10(x) gives x back to far more than a double's digits across every binary order and
// every stretch of a mantissa, which both functions cut into in their own ways.
void TestNumericHelpers::powerOfLogarithm()
{
    const DoubleRounding rounding;
    for (int order = -1074; order <= 1023; order += 7) {
        for (int step = 0; step < 160; ++step) {
            const WideReal x = std::ldexp(1 + step / 160.0, order);
            const WideReal error = (Exp10(Log10(x)) - x) / x;
            QVERIFY2(!(WideReal(0x1p-60) < error) && !(error < WideReal(-0x1p-60)),
                     qPrintable(QString("2^%1 · (1 + %2/160)").arg(order).arg(step)));
        }
    }
}

// What has no value, or none in the range of the exponent, is a not-a-number or an infinity,
// which carries on as IEEE 754 says, and raises no floating-point flag; a number beyond a
// double's range on the way takes its exponent along.
// clang-format off
void TestNumericHelpers::failuresAsValues_data()
{
    QTest::addColumn<Computation>("computation");
    QTest::addColumn<double>("expected"); // NaN for a not-a-number, ±∞ for an infinity

    const auto row = [](const char* name, Computation computation, double expected) {
        QTest::newRow(name) << computation << expected;
    };
    row("log of -1", [] { return Log10(WideReal(-1)); }, Nothing);
    row("log of 0", [] { return Log10(WideReal(0)); }, -Infinity);
    row("log of -0", [] { return Log10(WideReal(-0.0)); }, -Infinity);
    row("log of a not-a-number", [] { return Log10(WideReal::NotANumber()); }, Nothing);
    row("square root of -2", [] { return Sqrt(WideReal(-2)); }, Nothing);
    row("0 / 0", [] { return WideReal(0) / WideReal(0); }, Nothing);
    row("1 / 0", [] { return WideReal(1) / WideReal(0); }, Infinity);
    row("-1 / 0", [] { return WideReal(-1) / WideReal(0); }, -Infinity);
    row("∞ - ∞", [] { return WideReal::Infinity() - WideReal::Infinity(); }, Nothing);
    row("0 · ∞", [] { return WideReal(0) * WideReal::Infinity(); }, Nothing);
    row("∞ < ∞ + 1", [] { return WideReal::Infinity() + WideReal(1); }, Infinity);
    row("10^(10^8)", [] { return Exp10(WideReal(1e8)); }, Infinity);
    row("10^-(10^8)", [] { return Exp10(WideReal(-1e8)); }, 0);
    row("10^5000 / 10^4500", [] { return Log10(Exp10(WideReal(5000)) / Exp10(WideReal(4500))); }, 500);
    row("10^400 · 10^-400", [] { return PowerOfTen(400) * PowerOfTen(-400); }, 1);
    // Logarithms of powers of ten two doubles hold are whole numbers exactly.
    row("log of 10^31", [] { return Log10(PowerOfTen(31)) - WideReal(31); }, 0);
    row("log of 1000", [] { return Log10(WideReal(1000)) - WideReal(3); }, 0);
    row("log of 1 + 10^-30", [] { return Log10OnePlus(PowerOfTen(-30)); }, 4.342944819032518e-31);
    row("log of 1e-320", [] { return Log10(PowerOfTen(-320)); }, -320);
}
// clang-format on

void TestNumericHelpers::failuresAsValues()
{
    QFETCH(Computation, computation);
    QFETCH(double, expected);
    constexpr int Faults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
    std::feclearexcept(Faults);
    const DoubleRounding rounding;
    const WideReal result = computation();
    QCOMPARE(std::fetestexcept(Faults), 0);
    if (std::isnan(expected)) {
        QVERIFY(result.IsNaN() && !result.ToDouble());
    } else if (std::isinf(expected)) {
        QVERIFY(result.IsInfinite() && result.IsNegative() == (expected < 0) && !result.ToDouble());
    } else {
        const double value = Bits(result.ToDouble());
        QVERIFY2(value == expected, qPrintable(Text(value)));
    }
}

QTEST_APPLESS_MAIN(TestNumericHelpers)
#include "tst_NumericHelpers.moc"
