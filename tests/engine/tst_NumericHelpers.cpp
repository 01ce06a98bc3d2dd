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
    QCOMPARE(Log10OrFault(x), StrictLog10(x));
}

// clang-format off
void TestNumericHelpers::domainErrors_data()
{
    QTest::addColumn<int>("helper"); // 0 StrictLog10(x), 1 StrictIntPower(x, n)
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("fault"); // what the formulas' counterpart raises instead

    const QString positive = QString::fromUtf8(SValueMustBePositive.data(), SValueMustBePositive.size());
    const QString zeroPower = QString::fromUtf8(SCannotRaiseZeroToNegativePower.data(),
                                                SCannotRaiseZeroToNegativePower.size());
    const QString overflow = QString::fromUtf8(SFloatingPointOverflow.data(), SFloatingPointOverflow.size());
    QTest::newRow("log 0") << 0 << 0.0 << 0 << positive << FE_INVALID;
    QTest::newRow("log -1") << 0 << -1.0 << 0 << positive << FE_INVALID;
    QTest::newRow("log smallest double") << 0 << std::numeric_limits<double>::denorm_min() << 0 << positive
                                         << FE_INVALID;
    QTest::newRow("log NaN") << 0 << std::numeric_limits<double>::quiet_NaN() << 0 << positive << FE_INVALID;
    QTest::newRow("0 ^ -1") << 1 << 0.0 << -1 << zeroPower << FE_INVALID;
    QTest::newRow("0 ^ INT_MIN") << 1 << 0.0 << INT_MIN << zeroPower << FE_INVALID;
    QTest::newRow("10 ^ 5000") << 1 << 10.0 << 5000 << overflow << FE_OVERFLOW;
}
// clang-format on

void TestNumericHelpers::domainErrors()
{
    QFETCH(int, helper);
    QFETCH(double, x);
    QFETCH(int, n);
    QFETCH(QString, message);
    QFETCH(int, fault);
    try {
        helper == 0 ? StrictLog10(x) : StrictIntPower(x, n);
        QFAIL("no math error raised");
    } catch (const EMathError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
    // The formulas' helpers throw nothing: they leave the fault and a result that is no number.
    std::feclearexcept(FE_ALL_EXCEPT);
    const Extended result = helper == 0 ? Log10OrFault(x) : IntPowerOrFault(x, n);
    QCOMPARE(std::fetestexcept(TrappedFaults), fault);
    QVERIFY(!std::isfinite(result));
}

// clang-format off
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
// clang-format on

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
    QCOMPARE(IntPowerOrFault(x, n), power);
    QCOMPARE(std::fetestexcept(TrappedFaults), 0);
    if (n >= 0) {
        QCOMPARE(IntPowerBySquaring(x, static_cast<std::uint32_t>(n)), power);
    }
}

QTEST_APPLESS_MAIN(TestNumericHelpers)
#include "tst_NumericHelpers.moc"
