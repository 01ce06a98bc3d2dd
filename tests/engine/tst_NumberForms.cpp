#include "NumberForms.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace tarvane;

namespace {

constexpr double Largest = std::numeric_limits<double>::max();
const double LargestUlp = std::ldexp(1.0, 971); // the spacing of the doubles at the top

} // namespace

class TestNumberForms : public QObject {
    Q_OBJECT

private slots:
    void everyTextReadsBack();
    void reading_data();
    void reading();
};

// Whatever a box shows of a finite number reads back as a finite number of the same sign,
// within the rounding of the form.
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
    }
}

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
