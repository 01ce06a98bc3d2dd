#include "GradientPanel.h"

#include <QTest>
#include <climits>
#include <functional>

using namespace tarvane;

namespace {

struct Probe {
    QPoint at;
    QRgb rgb;
};

using Probes = QList<Probe>;
using Write = std::function<void(TGradientPanel&)>;

constexpr TColor Rgb(int red, int green, int blue)
{
    return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}

// A panel on a magenta parent, so that whatever the panel leaves unpainted shows.
struct Scene {
    QWidget parent;
    TGradientPanel* panel = new TGradientPanel(&parent);

    explicit Scene(const QSize& size)
    {
        parent.resize(size);
        QPalette palette;
        palette.setColor(QPalette::Window, Qt::magenta);
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        panel->setGeometry(QRect(QPoint(0, 0), size));
    }
};

// Counts paints, so that a test can tell a repaint from none.
class CountingPanel : public TGradientPanel {
public:
    using TGradientPanel::TGradientPanel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        TGradientPanel::paintEvent(event);
    }
};

} // namespace

Q_DECLARE_METATYPE(TGradientDirection)
Q_DECLARE_METATYPE(Probes)
Q_DECLARE_METATYPE(Write)

class TestGradientPanel : public QObject {
    Q_OBJECT

private slots:
    void paints_data();
    void paints();
    void propertyWrites_data();
    void propertyWrites();
};

// clang-format off
void TestGradientPanel::paints_data()
{
    QTest::addColumn<TGradientDirection>("direction");
    QTest::addColumn<int>("colorWidth");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<TColor>("start");
    QTest::addColumn<TColor>("end");
    QTest::addColumn<bool>("swap");
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<Probes>("probes");

    const TColor black = Rgb(0, 0, 0);
    const TColor green250 = Rgb(0, 250, 0);
    QTest::newRow("about window") << gdUpDown << 1 << QSize(305, 193) << clAqua << clBlue << false
                                  << 0
                                  << Probes{{{0, 0}, qRgb(0, 255, 255)},
                                            {{304, 0}, qRgb(0, 255, 255)},
                                            {{150, 96}, qRgb(0, 129, 255)},
                                            {{0, 192}, qRgb(0, 2, 255)}};
    QTest::newRow("swapped") << gdUpDown << 1 << QSize(305, 193) << clAqua << clBlue << true << 0
                             << Probes{{{0, 0}, qRgb(0, 0, 255)}, {{0, 192}, qRgb(0, 253, 255)}};
    QTest::newRow("bands of 4") << gdUpDown << 4 << QSize(5, 10) << black << green250 << false << 0
                                << Probes{{{0, 3}, qRgb(0, 0, 0)},
                                          {{0, 4}, qRgb(0, 100, 0)},
                                          {{4, 7}, qRgb(0, 100, 0)},
                                          {{0, 8}, qRgb(0, 200, 0)},
                                          {{0, 9}, qRgb(0, 200, 0)}};
    QTest::newRow("half, height 11")
        << gdUpDownHalf << 1 << QSize(3, 11) << black << green250 << false << 0
        << Probes{{{0, 0}, qRgb(0, 0, 0)},     {{0, 1}, qRgb(0, 50, 0)}, {{0, 4}, qRgb(0, 200, 0)},
                  {{0, 5}, qRgb(0, 250, 0)},   {{0, 6}, qRgb(0, 200, 0)}, {{0, 9}, qRgb(0, 50, 0)},
                  {{2, 10}, qRgb(0, 0, 0)}};
    // Half length 5 with bands of 4: the second half starts at offset 8, past the end
    // colour; every channel stays within 0 to 255.
    QTest::newRow("half, clamped") << gdUpDownHalf << 4 << QSize(3, 10) << Rgb(255, 0, 100)
                                   << Rgb(0, 250, 200) << false << 0
                                   << Probes{{{0, 0}, qRgb(255, 0, 100)},
                                             {{0, 4}, qRgb(51, 200, 180)},
                                             {{0, 8}, qRgb(0, 255, 255)},
                                             {{0, 9}, qRgb(0, 255, 255)}};
    QTest::newRow("left to right, half")
        << gdLeftRightHalf << 1 << QSize(11, 3) << black << green250 << false << 0
        << Probes{{{0, 0}, qRgb(0, 0, 0)}, {{5, 1}, qRgb(0, 250, 0)}, {{10, 2}, qRgb(0, 0, 0)}};
    QTest::newRow("chord 1") << gdChord1 << 1 << QSize(10, 10) << black << green250 << false << 30
                             << Probes{{{0, 0}, qRgb(0, 0, 0)}, {{9, 9}, qRgb(0, 250, 0)}};
    QTest::newRow("chord 2") << gdChord2 << 1 << QSize(10, 10) << black << green250 << false << 30
                             << Probes{{{0, 9}, qRgb(0, 0, 0)}, {{9, 0}, qRgb(0, 250, 0)}};
    QTest::newRow("widest band") << gdUpDownHalf << INT_MAX << QSize(4, 9) << black << green250
                                 << false << 0
                                 << Probes{{{0, 0}, qRgb(0, 0, 0)}, {{3, 8}, qRgb(0, 0, 0)}};
    QTest::newRow("widest chord") << gdChord1 << INT_MAX << QSize(4, 9) << black << green250
                                  << false << 0
                                  << Probes{{{0, 0}, qRgb(0, 0, 0)}, {{3, 8}, qRgb(0, 0, 0)}};
    QTest::newRow("half of one row draws nothing")
        << gdUpDownHalf << 1 << QSize(6, 1) << black << green250 << false << 0
        << Probes{{{0, 0}, qRgb(255, 0, 255)}, {{5, 0}, qRgb(255, 0, 255)}};
}
// clang-format on

void TestGradientPanel::paints()
{
    QFETCH(TGradientDirection, direction);
    QFETCH(int, colorWidth);
    QFETCH(QSize, size);
    QFETCH(TColor, start);
    QFETCH(TColor, end);
    QFETCH(bool, swap);
    QFETCH(int, tolerance);
    QFETCH(Probes, probes);

    Scene scene(size);
    scene.panel->SetDirection(direction);
    scene.panel->SetColorWidth(colorWidth);
    scene.panel->SetStartColor(start);
    scene.panel->SetEndColor(end);
    scene.panel->SetSwapColors(swap);
    scene.panel->Loaded();

    const QImage image = scene.parent.grab().toImage();
    for (const Probe& probe : probes) {
        const QRgb actual = image.pixel(probe.at);
        const auto near = [&](int a, int b) { return qAbs(a - b) <= tolerance; };
        QVERIFY2(near(qRed(actual), qRed(probe.rgb)) && near(qGreen(actual), qGreen(probe.rgb))
                     && near(qBlue(actual), qBlue(probe.rgb)),
                 qPrintable(QString("at (%1, %2): %3, expected %4")
                                .arg(probe.at.x())
                                .arg(probe.at.y())
                                .arg(QColor(actual).name(), QColor(probe.rgb).name())));
    }
}

// clang-format off
void TestGradientPanel::propertyWrites_data()
{
    QTest::addColumn<Write>("write");
    QTest::addColumn<int>("expectedWidth");
    QTest::addColumn<int>("expectedPaints");

    QTest::newRow("width 0 ignored") << Write([](auto& p) { p.SetColorWidth(0); }) << 1 << 0;
    QTest::newRow("negative width ignored") << Write([](auto& p) { p.SetColorWidth(-3); }) << 1 << 0;
    QTest::newRow("new width") << Write([](auto& p) { p.SetColorWidth(4); }) << 4 << 1;
    QTest::newRow("same start colour") << Write([](auto& p) { p.SetStartColor(clLime); }) << 1 << 0;
    QTest::newRow("new start colour") << Write([](auto& p) { p.SetStartColor(clRed); }) << 1 << 1;
    QTest::newRow("swap") << Write([](auto& p) { p.SetSwapColors(true); }) << 1 << 1;
}
// clang-format on

// Each change repaints at once, before the write returns; a write that changes nothing
// does not.
void TestGradientPanel::propertyWrites()
{
    QFETCH(Write, write);
    QFETCH(int, expectedWidth);
    QFETCH(int, expectedPaints);

    CountingPanel panel(nullptr);
    write(panel); // while loading: stored, never painted
    QCOMPARE(panel.paints, 0);

    CountingPanel shown(nullptr);
    shown.Loaded();
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    QCoreApplication::processEvents();
    shown.paints = 0;
    write(shown);
    QCOMPARE(shown.ColorWidth(), expectedWidth);
    QCOMPARE(shown.paints, expectedPaints);
}

QTEST_MAIN(TestGradientPanel)
#include "tst_gradientpanel.moc"
