#include "NumericHelpers.h"

#include <QtTest>

#include <cfenv>
#include <climits>
#include <cmath>
#include <limits>

using namespace tarvane;

Q_DECLARE_METATYPE(Extended)

class TestNumericHelpers : public QObject {
    Q_OBJECT

private slots:
    void strictLog10_data();
    void strictLog10();
    void domainErrors_data();
    void domainErrors();
    void powers_data();
    void powers();
    void guardedStep_data();
    void guardedStep();
};

void TestNumericHelpers::strictLog10_data()
{
    QTest::addColumn<Extended>("x");
    // Either side of the strict 0.1 band around 1, the bottom of the domain, and values
    // so close to 1 that only the log1p route keeps their digits.
    for (const Extended x : {1.0L, 0.95L, 1.05L, 0.9L, 1.1L, 1.0L + 1e-15L, 1.0L - 1e-12L, 1000.0L,
                             MinPositiveArgument, 1e-300L, 1.7e308L}) {
        QTest::newRow(qPrintable(QString::number(static_cast<double>(x), 'g', 17))) << x;
    }
}

void TestNumericHelpers::strictLog10()
{
    QFETCH(Extended, x);
    const Extended expected = std::log10(x);
    const Extended tolerance = 4 * std::numeric_limits<Extended>::epsilon() * std::fabs(expected);
    QVERIFY2(std::fabs(StrictLog10(x) - expected) <= tolerance,
             qPrintable(QString::number(static_cast<double>(StrictLog10(x)), 'g', 17)));
}

void TestNumericHelpers::domainErrors_data()
{
    QTest::addColumn<int>("helper"); // 0 StrictLog10(x), 1 StrictIntPower(x, n)
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("message");

    const QString positive = QString::fromUtf8(SValueMustBePositive.data(), SValueMustBePositive.size());
    const QString zeroPower = QString::fromUtf8(SCannotRaiseZeroToNegativePower.data(),
                                                SCannotRaiseZeroToNegativePower.size());
    QTest::newRow("log 0") << 0 << 0.0 << 0 << positive;
    QTest::newRow("log -1") << 0 << -1.0 << 0 << positive;
    QTest::newRow("log smallest double") << 0 << std::numeric_limits<double>::denorm_min() << 0 << positive;
    QTest::newRow("log NaN") << 0 << std::numeric_limits<double>::quiet_NaN() << 0 << positive;
    QTest::newRow("0 ^ -1") << 1 << 0.0 << -1 << zeroPower;
    QTest::newRow("0 ^ INT_MIN") << 1 << 0.0 << INT_MIN << zeroPower;
}

void TestNumericHelpers::domainErrors()
{
    QFETCH(int, helper);
    QFETCH(double, x);
    QFETCH(int, n);
    QFETCH(QString, message);
    try {
        helper == 0 ? StrictLog10(x) : StrictIntPower(x, n);
        QFAIL("no math error raised");
    } catch (const EMathError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
}

void TestNumericHelpers::powers_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("expected");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("0 ^ 0") << 0.0 << 0 << 1.0;
    QTest::newRow("NaN ^ 0") << nan << 0 << 1.0;
    QTest::newRow("0 ^ 3") << 0.0 << 3 << 0.0;
    QTest::newRow("1 ^ INT_MIN") << 1.0 << INT_MIN << 1.0;
    QTest::newRow("-1 ^ 3") << -1.0 << 3 << -1.0;
    QTest::newRow("-1 ^ -4") << -1.0 << -4 << 1.0;
    QTest::newRow("-3 ^ 2") << -3.0 << 2 << 9.0;
    QTest::newRow("2 ^ 10") << 2.0 << 10 << 1024.0;
    QTest::newRow("2 ^ -3") << 2.0 << -3 << 0.125;
    QTest::newRow("10 ^ -300") << 10.0 << -300 << 1e-300;
    // 10^5000 and 2^(2^31) overflow extended: the reciprocal route gives an underflow to 0.
    QTest::newRow("10 ^ -5000") << 10.0 << -5000 << 0.0;
    QTest::newRow("2 ^ INT_MIN") << 2.0 << INT_MIN << 0.0;
}

void TestNumericHelpers::powers()
{
    QFETCH(double, x);
    QFETCH(int, n);
    QFETCH(double, expected);
    std::feclearexcept(FE_ALL_EXCEPT);
    const Extended power = StrictIntPower(x, n);
    QVERIFY(std::fabs(power - expected) <= 1e-15L * std::fabs(expected));
    // An overflow answered by the reciprocal route leaves no fault behind.
    QCOMPARE(std::fetestexcept(TrappedFaults), 0);
    if (n >= 0) {
        QCOMPARE(IntPowerBySquaring(x, static_cast<std::uint32_t>(n)), power);
    }
}

// Formula steps as a guarded conversion step meets them.
static Extended StepFormula(int formula, Extended x)
{
    switch (formula) {
    case 0: return x * 3;
    case 1: return 1 / (75 / x); // 75 / 0 hidden behind a finite final value
    case 2: return std::sqrt(x);
    case 3: return x * 1e300L; // fits extended, not double
    case 4: return x * 1e-300L; // underflows to 0
    default: return StrictLog10(x);
    }
}

void TestNumericHelpers::guardedStep_data()
{
    QTest::addColumn<int>("formula");
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("staleFaults"); // left set by earlier code, not this step's
    QTest::addColumn<bool>("fails");
    QTest::addColumn<double>("expected");

    QTest::newRow("ordinary") << 0 << 2.0 << 0 << false << 6.0;
    QTest::newRow("stale faults ignored") << 0 << 2.0 << TrappedFaults << false << 6.0;
    QTest::newRow("division by zero") << 1 << 0.0 << 0 << true << -999.0;
    QTest::newRow("invalid") << 2 << -1.0 << 0 << true << -999.0;
    QTest::newRow("overflow rounding to double") << 3 << 1e300 << 0 << true << -999.0;
    QTest::newRow("underflow is no fault") << 4 << 1e-300 << 0 << false << 0.0;
    QTest::newRow("math error") << 5 << 0.0 << 0 << true << -999.0;
}

void TestNumericHelpers::guardedStep()
{
    QFETCH(int, formula);
    QFETCH(double, x);
    QFETCH(int, staleFaults);
    QFETCH(bool, fails);
    QFETCH(double, expected);
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(staleFaults);
    bool failed = false;
    const double result = GuardedStep(x, -999, failed, [formula](Extended value) {
        return StepFormula(formula, value);
    });
    QCOMPARE(failed, fails);
    QCOMPARE(result, expected);
}

QTEST_APPLESS_MAIN(TestNumericHelpers)
#include "tst_NumericHelpers.moc"
