#include "NumberForms.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace tarvane;

namespace {

constexpr double Largest = std::numeric_limits<double>::max();

} // namespace

class TestNumberForms : public QObject {
    Q_OBJECT

private slots:
    void largestDoubles_data();
    void largestDoubles();
    void everyTextReadsBack();
    void reading_data();
    void reading();
};

void TestNumberForms::largestDoubles_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("expected");

    // Rounded to nearest, these would leave the double range and never read back.
    QTest::newRow("general") << Largest << 0 << "1.79769313486231E308";
    QTest::newRow("fixed goes general") << -Largest << 4 << "-1.79769313486231E308";
    QTest::newRow("four digits") << Largest << -1 << "1.797E308";
    QTest::newRow("just below rounds as usual") << 1.797693134862314E308 << 0 << "1.79769313486231E308";
    QTest::newRow("four digits below") << 1.7964E308 << -1 << "1.796E308";
}

void TestNumberForms::largestDoubles()
{
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(NumberToString(value, precision)), expected);
}

// Whatever a box shows of a finite number reads back as a finite number of the same sign,
// within the rounding of the form.
void TestNumberForms::everyTextReadsBack()
{
    std::mt19937_64 random(3);
    for (int i = 0; i < 200000; ++i) {
        double value = 0;
        const std::uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (i % 2 == 0)
            value = std::nextafter(Largest, 0.0) * ((i % 4 == 0) ? 1 : -1) / double(1 + random() % 3);
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
    }
}

void TestNumberForms::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<double>("value");

    QTest::newRow("point") << " -12.5 " << true << -12.5;
    QTest::newRow("comma") << "\t2,5\r" << true << 2.5;
    QTest::newRow("comma and exponent") << "+1,5e-3" << true << 0.0015;
    QTest::newRow("lone comma") << "," << true << 0.0;
    QTest::newRow("trailing comma") << "12," << true << 12.0;
    QTest::newRow("grouping") << "1,234.5" << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("unit after") << "12,5 dBu" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("lone minus") << "-" << false << 0.0;
    QTest::newRow("failure text") << "-.--" << false << 0.0;
    QTest::newRow("not a number word") << "NAN" << false << 0.0;
    QTest::newRow("too large") << "1.79769313486232E308" << false << 0.0;
    QTest::newRow("too small reads zero") << "-1e-400" << true << 0.0;
    QTest::newRow("largest shown") << "1.79769313486231E308" << true << 1.79769313486231E308;
}

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

QTEST_APPLESS_MAIN(TestNumberForms)
#include "tst_NumberForms.moc"
