// The engine's arithmetic against MPFR at 200 bits, over seeded random inputs: WideReal's
// logarithm, power of ten and square root, and the conversion of every pair of units from
// decimal text. Each result before its rounding lies within a stated bound of the exact value,
// and each double returned is the one nearest to the exact value, but where the exact value
// lies within that bound of halfway between two doubles.
#include "Conversion.h"
#include "EveryUnit.h"
#include "NumberForms.h"
#include "Units.h"
#include "WideReal.h"

#include <QtTest>

#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

using namespace tarvane;

namespace {

constexpr mpfr_prec_t Bits = 200;
constexpr int Samples = 100'000;

// An MPFR number at 200 bits that frees itself.
class Exact {
public:
    Exact() { mpfr_init2(m_value, Bits); }
    explicit Exact(double value)
        : Exact()
    {
        mpfr_set_d(m_value, value, MPFR_RNDN);
    }
    explicit Exact(const WideReal& value)
        : Exact()
    {
        const WideReal::Parts parts = value.ToParts();
        Exact low(parts.low);
        mpfr_set_d(m_value, parts.high, MPFR_RNDN);
        mpfr_add(m_value, m_value, low, MPFR_RNDN);
        mpfr_mul_2si(m_value, m_value, parts.exponent, MPFR_RNDN);
    }
    Exact(const Exact& other)
        : Exact()
    {
        mpfr_set(m_value, other, MPFR_RNDN);
    }
    Exact& operator=(const Exact& other)
    {
        mpfr_set(m_value, other, MPFR_RNDN);
        return *this;
    }
    ~Exact() { mpfr_clear(m_value); }

    operator mpfr_ptr() { return m_value; }
    operator mpfr_srcptr() const { return m_value; }
    double Double() const { return mpfr_get_d(m_value, MPFR_RNDN); }

private:
    mpfr_t m_value;
};

Exact Log10(const Exact& x)
{
    Exact result;
    mpfr_log10(result, x, MPFR_RNDN);
    return result;
}

Exact Exp10(const Exact& x)
{
    Exact result;
    mpfr_exp10(result, x, MPFR_RNDN);
    return result;
}

Exact Times(const Exact& a, const Exact& b)
{
    Exact result;
    mpfr_mul(result, a, b, MPFR_RNDN);
    return result;
}

Exact Over(const Exact& a, const Exact& b)
{
    Exact result;
    mpfr_div(result, a, b, MPFR_RNDN);
    return result;
}

Exact Decimal(const std::string& text)
{
    Exact result;
    mpfr_set_str(result, text.c_str(), 10, MPFR_RNDN);
    return result;
}

// |got - exact| / (size · scale), size an Exact beyond a double's range if need be.
double ErrorOf(const WideReal& got, const Exact& exact, const Exact& size, double scale)
{
    Exact difference(got);
    mpfr_sub(difference, difference, exact, MPFR_RNDN);
    mpfr_div(difference, difference, size, MPFR_RNDN);
    return std::fabs(difference.Double()) / scale;
}

// What one comparison found: the worst error against the bound, and the doubles returned
// that are not the nearest, which are faults unless they are the nearest to a number within
// the bound of the exact value (the exact value lies within it of halfway between two doubles).
struct Findings {
    double worstError = 0;
    long otherThanNearest = 0;
    QString fault;

    void Error(double error, double bound, const QString& where)
    {
        worstError = std::max(worstError, error);
        if (!(error <= bound) && fault.isEmpty()) {
            fault = QStringLiteral("%1: error 2^%2 beyond 2^%3")
                        .arg(where)
                        .arg(std::log2(error), 0, 'f', 2)
                        .arg(std::log2(bound), 0, 'f', 2);
        }
    }

    // `allowed`: the bound, in the units of the exact value.
    void Rounded(double got, const Exact& exact, double allowed, const QString& where)
    {
        const double nearest = exact.Double();
        if (got == nearest) {
            return;
        }
        Exact below(allowed);
        Exact above(allowed);
        mpfr_sub(below, exact, below, MPFR_RNDN);
        mpfr_add(above, exact, above, MPFR_RNDN);
        if (below.Double() <= got && got <= above.Double()) {
            ++otherThanNearest;
        } else if (fault.isEmpty()) {
            fault = QStringLiteral("%1: %2 returned, %3 is nearest")
                        .arg(where)
                        .arg(got, 0, 'g', 17)
                        .arg(nearest, 0, 'g', 17);
        }
    }
};

// A random number of `digits` significant digits at most, as decimal text.
std::string RandomDecimal(std::mt19937_64& random, int maxDigits, int lowestExponent,
                          int highestExponent, bool negative)
{
    const int digits = 1 + int(random() % std::uint64_t(maxDigits));
    std::string text = negative ? "-" : "";
    text += char('1' + random() % 9);
    text += '.';
    for (int i = 1; i < digits; ++i)
        text += char('0' + random() % 10);
    const int exponent = lowestExponent
        + int(random() % std::uint64_t(highestExponent - lowestExponent + 1));
    return text + "e" + std::to_string(exponent);
}

// A random double-double in [1, 2) · 2^exponent.
WideReal RandomWide(std::mt19937_64& random, int exponent)
{
    const double high = 1 + std::ldexp(double(random() >> 11), -53);
    const double low = std::ldexp(double(std::int64_t(random() >> 11) - (std::int64_t(1) << 52)), -106);
    return WideReal::FromParts(high, low, exponent);
}

// V² = C · g(x) for a unit as qualified, C from the catalogue's facts: g(x) is x for a power,
// 10^(dB/10) for a level in dB, x² for anything else.
Exact OfDouble(double value)
{
    // Catalogue constants and what follows "@" are the decimals their doubles were read from.
    return Decimal(ExactNumberToString(value));
}

Exact Ratio(const Fraction& fraction)
{
    return Over(OfDouble(fraction.numerator), OfDouble(fraction.denominator));
}

Exact DecibelsOf(const Unit& unit, const Exact& x)
{
    Exact decibels;
    mpfr_sub_d(decibels, x, unit.stepAtReference, MPFR_RNDN);
    mpfr_mul_d(decibels, decibels, unit.decibelsPerStep, MPFR_RNDN);
    return decibels;
}

Exact FactorOf(const QualifiedUnit& qualified);

// V² = C · g(x) of a unit as qualified, for x its value.
Exact SquareOfVoltage(const QualifiedUnit& unit, const Exact& x)
{
    const Unit& entry = UnitCatalogue[unit.unit];
    const Exact factor = FactorOf(unit);
    if (entry.kind == UnitKind::Power)
        return Times(factor, x);
    if (!IsLevelInDb(entry))
        return Times(factor, Times(x, x));
    Exact exponent = DecibelsOf(entry, x);
    mpfr_div_ui(exponent, exponent, 10, MPFR_RNDN);
    return Times(factor, Exp10(exponent));
}

Exact FactorOf(const QualifiedUnit& qualified)
{
    const Unit& unit = UnitCatalogue[qualified.unit];
    const Exact ohms = OfDouble(qualified.impedance != 0 ? qualified.impedance : unit.impedance);
    switch (unit.kind) {
    case UnitKind::Voltage:
        return Over(Exact(1), Ratio(unit.reference));
    case UnitKind::Power:
        return ohms;
    case UnitKind::PowerLevel:
        return Times(ohms, Ratio(unit.reference));
    case UnitKind::VoltageLevel:
        if (qualified.fullScaleUnit != NoUnit)
            return SquareOfVoltage(QualifiedUnit{qualified.fullScaleUnit},
                                   OfDouble(qualified.fullScale));
        if (!unit.referenceLevel.unit.empty())
            return SquareOfVoltage(QualifiedUnit{UnitIndexOf(unit.referenceLevel.unit)},
                                   OfDouble(unit.referenceLevel.value));
        return Ratio(unit.reference);
    case UnitKind::Deviation: {
        // The reference deviation at the voltage of its level in dBu.
        const Exact reference = Ratio(unit.reference);
        return Over(SquareOfVoltage(QualifiedUnit{UnitIndexOf("dBu")}, OfDouble(unit.deviationLevel)),
                    Times(reference, reference));
    }
    }
    return Exact(0);
}

// y from V² for a positive voltage.
Exact ValueFrom(const QualifiedUnit& qualified, const Exact& squareOfVoltage)
{
    const Unit& unit = UnitCatalogue[qualified.unit];
    const Exact ratio = Over(squareOfVoltage, FactorOf(qualified));
    if (unit.kind == UnitKind::Power)
        return ratio;
    Exact result;
    if (!IsLevelInDb(unit)) {
        mpfr_sqrt(result, ratio, MPFR_RNDN);
        return result;
    }
    result = Log10(ratio);
    mpfr_mul_ui(result, result, 10, MPFR_RNDN);
    mpfr_div_d(result, result, unit.decibelsPerStep, MPFR_RNDN);
    mpfr_add_d(result, result, unit.stepAtReference, MPFR_RNDN);
    return result;
}

double Magnitude(const Exact& x)
{
    return std::fabs(x.Double());
}

// 10 log10 of a positive number, in dB.
double DecibelsOfPositive(const Exact& x)
{
    return 10 * std::fabs(Log10(x).Double());
}

} // namespace

class TestAccuracy : public QObject {
    Q_OBJECT

private slots:
    void functions_data();
    void functions();
    void conversions_data();
    void conversions();
    void cleanupTestCase();

private:
    // Over every pair of units.
    long m_conversions = 0;
    double m_worstConversionError = 0;
    long m_otherThanNearest = 0;
    long m_otherThanNearestNearZero = 0; // of the values a hair from 0 dB or 1
};

// The bounds stated for WideReal (WideReal.h), as powers of two.
// clang-format off
void TestAccuracy::functions_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<double>("bound");
    QTest::newRow("Log10") << "Log10" << -97.0;
    QTest::newRow("Log10OnePlus") << "Log10OnePlus" << -97.0;
    QTest::newRow("Exp10") << "Exp10" << -98.0; // times 1 + |x|
    QTest::newRow("Sqrt") << "Sqrt" << -103.0;
    QTest::newRow("PowerOfTen") << "PowerOfTen" << -100.0;
}
// clang-format on

void TestAccuracy::functions()
{
    QFETCH(QString, function);
    QFETCH(double, bound);
    const double relative = std::ldexp(1.0, int(bound));
    std::mt19937_64 random(qHash(function));
    Findings findings;
    for (int i = 0; i < Samples && findings.fault.isEmpty(); ++i) {
        WideReal x;
        WideReal got;
        Exact exact;
        double scale = 1;
        if (function == "Log10") {
            // Across the range, and within a hair of 1 on either side.
            x = i % 4 == 0 ? WideReal(1) + RandomWide(random, -1 - int(random() % 100))
                    * WideReal(i % 8 == 0 ? 1.0 : -0.25)
                           : RandomWide(random, int(random() % 2100) - 1050);
            got = tarvane::Log10(x);
            exact = Log10(Exact(x));
        } else if (function == "Log10OnePlus") {
            x = RandomWide(random, -1 - int(random() % 120)) * WideReal(i % 2 == 0 ? 1.0 : -0.25);
            got = tarvane::Log10OnePlus(x);
            mpfr_log1p(exact, Exact(x), MPFR_RNDN);
            Exact ten(10);
            mpfr_log(ten, ten, MPFR_RNDN);
            exact = Over(exact, ten);
        } else if (function == "Exp10") {
            x = RandomWide(random, int(random() % 16) - 4) * WideReal(i % 2 == 0 ? 1.0 : -1.0);
            got = tarvane::Exp10(x);
            exact = Exp10(Exact(x));
            scale = 1 + std::fabs(*x.ToDouble());
        } else if (function == "Sqrt") {
            x = RandomWide(random, int(random() % 2100) - 1050);
            got = Sqrt(x);
            mpfr_sqrt(exact, Exact(x), MPFR_RNDN);
        } else {
            const long long n = static_cast<long long>(random() % 1401) - 700;
            got = PowerOfTen(n);
            mpfr_ui_pow_ui(exact, 10, (unsigned long)std::llabs(n), MPFR_RNDN);
            if (n < 0)
                exact = Over(Exact(1), exact);
            x = WideReal(double(n));
        }
        const QString where = function + "(" + QString::number(*x.ToDouble(), 'g', 17) + ")";
        Exact size;
        mpfr_abs(size, exact, MPFR_RNDN);
        findings.Error(ErrorOf(got, exact, size, scale), relative, where);
        if (const std::optional<double> rounded = got.ToDouble(); rounded && *rounded != 0)
            findings.Rounded(*rounded, exact, relative * scale * Magnitude(exact), where);
    }
    qInfo("%s: worst relative error 2^%.2f (bound 2^%.0f), %ld doubles other than the nearest",
          qPrintable(function), std::log2(findings.worstError), bound, findings.otherThanNearest);
    QVERIFY2(findings.fault.isEmpty(), qPrintable(findings.fault));
}

// Every ordered pair of the catalogue's units (dBFS at the full scale of its example), and
// powers across other impedances.
void TestAccuracy::conversions_data()
{
    QTest::addColumn<QualifiedUnit>("fromUnit");
    QTest::addColumn<QualifiedUnit>("toUnit");
    const QList<QualifiedUnit> units = EveryUnit();
    for (const QualifiedUnit& from : units) {
        for (const QualifiedUnit& to : units) {
            if (!(from == to))
                QTest::addRow("%s to %s", UnitName(from).c_str(), UnitName(to).c_str()) << from << to;
        }
    }
}

// A result in dB is within 2^-96 of the dB it is made of (the level of V² in dB above 1 V², the
// target's 0 dB in dB above 1 V², and the result); any other within 2^-96 of itself, times
// 1 + those dB / 8.7 when it is a power of ten of them.
void TestAccuracy::conversions()
{
    QFETCH(QualifiedUnit, fromUnit);
    QFETCH(QualifiedUnit, toUnit);
    constexpr double Bound = 0x1p-96;
    const Unit& from = UnitCatalogue[fromUnit.unit];
    const Unit& to = UnitCatalogue[toUnit.unit];
    const std::optional<Conversion> conversion = Conversion::Between(fromUnit, toUnit);
    QVERIFY(conversion);
    const int pairs = EveryUnit().size() * (EveryUnit().size() - 1);
    const int samples = std::max(300, Samples / pairs + 1);
    std::mt19937_64 random(std::hash<std::string>()(UnitName(fromUnit) + UnitName(toUnit)));
    Findings findings;
    long otherNearZero = 0;
    for (int i = 0; i < samples && findings.fault.isEmpty(); ++i) {
        // Values of up to 17 digits, some of 35; levels from -300 to 300 dB, voltages, powers
        // and deviations from 1e-30 to 1e30; and a tenth of them a hair from the value that
        // converts to exactly 0 dB or 1 of the target.
        const bool level = IsLevelInDb(from);
        const int digits = i % 10 == 9 ? 35 : 17;
        std::string text = level ? RandomDecimal(random, digits, 0, 2, random() % 2 != 0)
                                 : RandomDecimal(random, digits, -30, 30, false);
        if (level && from.decibelsPerStep != 1)
            text = RandomDecimal(random, digits, -1, 1, random() % 2 != 0);
        if (i % 10 == 0) {
            // The value of the source whose conversion is 0 dB or 1, to 17 digits, its last changed.
            const Exact zero = ValueFrom(fromUnit, FactorOf(toUnit));
            char written[64];
            mpfr_snprintf(written, sizeof written, "%.16Re", static_cast<mpfr_srcptr>(zero));
            text = written;
            text[std::size_t(text.find('e') - 1)] = char('0' + random() % 10);
        }
        const std::optional<ScaledReal> value = ReadExactNumber(text);
        QVERIFY(value);
        const Exact squareOfVoltage = SquareOfVoltage(fromUnit, Decimal(text));
        const Exact exact = ValueFrom(toUnit, squareOfVoltage);
        const double terms =
            DecibelsOfPositive(squareOfVoltage) + DecibelsOfPositive(FactorOf(toUnit)) + 1;
        const double scale = IsLevelInDb(to) ? Magnitude(exact) + terms
            : Magnitude(exact) * (level ? 1 + terms / 8.7 : 1);
        const QString where = QString::fromStdString(text);
        const std::optional<WideReal> unrounded = conversion->Exactly(*value);
        const std::optional<double> rounded = (*conversion)(*value);
        if (!unrounded || !rounded) {
            findings.fault = where + ": no result";
            break;
        }
        findings.Error(ErrorOf(*unrounded, exact, Exact(1), scale), Bound, where);
        const long before = findings.otherThanNearest;
        findings.Rounded(*rounded, exact, Bound * scale, where);
        otherNearZero += i % 10 == 0 ? findings.otherThanNearest - before : 0;
    }
    m_conversions += samples;
    m_worstConversionError = std::max(m_worstConversionError, findings.worstError);
    m_otherThanNearest += findings.otherThanNearest - otherNearZero;
    m_otherThanNearestNearZero += otherNearZero;
    QVERIFY2(findings.fault.isEmpty(), qPrintable(findings.fault));
}

void TestAccuracy::cleanupTestCase()
{
    if (m_conversions == 0)
        return;
    qInfo("conversions: %ld values, worst error 2^%.2f of their scale (bound 2^-96); doubles other "
          "than the nearest, each the nearest to a number within the bound: %ld of the random "
          "values, %ld of the %ld a hair from 0 dB or 1",
          m_conversions, std::log2(m_worstConversionError), m_otherThanNearest,
          m_otherThanNearestNearZero, m_conversions / 10);
}

QTEST_APPLESS_MAIN(TestAccuracy)
#include "tst_Accuracy.moc"
