#include "DesktopFonts.h"
#include "GradientFill.h"
#include "MainWindowLook.h"
#include "Scroller.h"
#include "TabCollectionItem.h"
#include "TabStrip.h"
#include "WidgetTesting.h"

#include <QPainter>
#include <QTest>

using namespace tarvane;

namespace {

const QColor Navy(0x00, 0x00, 0x80);
const QColor Blue(0x00, 0x00, 0xFF);
const QColor Purple(0x80, 0x00, 0x80);
const QColor Grey(0x80, 0x80, 0x80);
const QColor White(0xFF, 0xFF, 0xFF);

bool IsYellowish(QRgb pixel)
{
    return qRed(pixel) > 0xC0 && qGreen(pixel) > 0xC0 && qBlue(pixel) < 0x80;
}

// Bounding box of the yellow caption pixels of an image.
QRect YellowBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsYellowish(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Where the ink of `text` lies when it is drawn left- and top-aligned at the origin.
QPoint InkOffset(const QFont& font, const QString& text)
{
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::yellow);
        painter.drawText(QRect(0, 0, 200, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         text);
    }
    return YellowBox(image).topLeft();
}

QFont Tahoma11()
{
    return PixelFont(QStringLiteral("Tahoma"), 11);
}

} // namespace

class TestTabStrip : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void mainWindowPixels_data();
    void mainWindowPixels();
    void tabWidthFollowsCaption();
    void disabledScroller();
    void captionPlacement_data();
    void captionPlacement();
    void tabGradient_data();
    void tabGradient();
    void hover_data();
    void hover();
    void backgroundColourRepaintsBandAndScroller();
    void clickSelects_data();
    void clickSelects();
    void scrollerScrollsTabsThatDoNotFit_data();
    void scrollerScrollsTabsThatDoNotFit();
};

void TestTabStrip::initTestCase()
{
    RegisterDesktopFonts();
}

void TestTabStrip::mainWindowPixels_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("band before the tabs") << QPoint(2, 5) << Navy;
    QTest::newRow("just left of the tab") << QPoint(13, 10) << Navy;
    QTest::newRow("tab outline left") << QPoint(14, 10) << Blue;
    QTest::newRow("tab outline top") << QPoint(20, 0) << Blue;
    QTest::newRow("tab fill") << QPoint(16, 10) << Purple;
    QTest::newRow("tab fill top row") << QPoint(30, 1) << Purple;
    QTest::newRow("band after the tab") << QPoint(400, 8) << Navy;
    QTest::newRow("base line left") << QPoint(0, 19) << Blue;
    QTest::newRow("base line middle") << QPoint(300, 19) << Blue;
    QTest::newRow("base line right") << QPoint(536, 19) << Blue;
    QTest::newRow("below the base line") << QPoint(300, 20) << Navy;
    QTest::newRow("scroller background") << QPoint(512, 4) << Navy;
}

void TestTabStrip::mainWindowPixels()
{
    QFETCH(QPoint, point);
    QFETCH(QColor, expected);
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    strip.Loaded();
    const QImage image = Grab(strip);
    QCOMPARE(image.size(), QSize(537, 21));
    QCOMPARE(QColor(image.pixel(point)), expected);
}

void TestTabStrip::tabWidthFollowsCaption()
{
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    const int caption = QFontMetrics(Tahoma11()).horizontalAdvance(QStringLiteral("Electrique"));
    // caption + left 8 + right 0 - 4, drawn 10 wider
    QCOMPARE(strip.TabRect(0), QRect(14, 0, caption + 4 + 10, 20));
    const QImage image = Grab(strip);
    const int right = strip.TabRect(0).right();
    QCOMPARE(QColor(image.pixel(right, 10)), Blue);
    QCOMPARE(QColor(image.pixel(right - 1, 10)), Purple);
    QCOMPARE(QColor(image.pixel(right + 1, 10)), Navy);
}

void TestTabStrip::disabledScroller()
{
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    const TScroller* scroller = strip.Scroller();
    QCOMPARE(scroller->geometry(), QRect(537 - 24 - 2, 3, 24, 13));
    QVERIFY(scroller->isVisibleTo(&strip));
    QVERIFY(!scroller->CanScrollLeft());
    QVERIFY(!scroller->CanScrollRight());
    const QImage image = Grab(strip).copy(scroller->geometry());
    int grey = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel(image.pixel(x, y));
            QVERIFY2(pixel == Navy || pixel == Grey, qPrintable(pixel.name()));
            grey += pixel == Grey ? 1 : 0;
        }
    }
    QVERIFY(grey > 0);
    // Both arrows are drawn, one in each half.
    QVERIFY(YellowBox(image).isNull());
    QVERIFY(QColor(image.pixel(6, 6)) == Grey || QColor(image.pixel(7, 6)) == Grey);
    QVERIFY(QColor(image.pixel(17, 6)) == Grey || QColor(image.pixel(16, 6)) == Grey);
}

// clang-format off
void TestTabStrip::captionPlacement_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("lower");
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("main window: 8 in, 2 + 2 down") << 8 << 2 << 2 << QPoint(22, 4);
    QTest::newRow("not lowered") << 8 << 2 << 0 << QPoint(22, 2);
    QTest::newRow("lowered more") << 8 << 2 << 5 << QPoint(22, 7);
    QTest::newRow("left margin 3") << 3 << 2 << 2 << QPoint(17, 4);
    QTest::newRow("top margin 0") << 8 << 0 << 2 << QPoint(22, 2);
}
// clang-format on

void TestTabStrip::captionPlacement()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, lower);
    QFETCH(QPoint, origin);
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    strip.SetTabMargin(TTabMargin(left, top, 0));
    strip.SetLowerSelected(lower);
    const QRect caption = YellowBox(Grab(strip));
    QVERIFY(!caption.isNull());
    QCOMPARE(caption.topLeft(), origin + InkOffset(Tahoma11(), QStringLiteral("Electrique")));
}

void TestTabStrip::tabGradient_data()
{
    QTest::addColumn<TGradientDirection>("direction");
    QTest::newRow("vertical") << gdVertical;
    QTest::newRow("horizontal") << gdHorizontal;
}

void TestTabStrip::tabGradient()
{
    QFETCH(TGradientDirection, direction);
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    strip.SetGradientDirection(direction);
    // An unselected tab with no caption, wide enough for sixteen horizontal bands.
    strip.SetTabMargin(TTabMargin(8, 2, 40));
    TTabCollectionItem* second = strip.Tabs().Add();
    second->SetTabColor(clBlue);
    second->SetTabColorTo(clNavy);
    strip.SetTabIndex(0);
    const QImage image = Grab(strip);
    const QRect tab = strip.TabRect(1);
    const bool vertical = direction == gdVertical;
    const int extent = vertical ? tab.height() : tab.width();
    // Inside the outline, every pixel along the gradient has the colour of its band.
    for (int offset = 1; offset < extent - 1; ++offset) {
        int band = 15;
        while (extent * band / 16 > offset)
            --band;
        const QPoint point = vertical ? QPoint(tab.center().x(), tab.top() + offset)
                                      : QPoint(tab.left() + offset, tab.center().y());
        QCOMPARE(QColor(image.pixel(point)), GradientBandColor(Blue, Navy, band, 16));
    }
    QCOMPARE(GradientBandColor(Blue, Navy, 8, 16), QColor(0x00, 0x00, 0xC0));
}

void TestTabStrip::hover_data()
{
    QTest::addColumn<int>("tabs");
    QTest::addColumn<bool>("changes");
    QTest::newRow("the single selected tab") << 1 << false;
    QTest::newRow("an unselected tab") << 2 << true;
}

void TestTabStrip::hover()
{
    QFETCH(int, tabs);
    QFETCH(bool, changes);
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    if (tabs == 2) {
        strip.Tabs().Add()->SetCaption(QStringLiteral("Autre"));
        strip.SetTabIndex(0);
    }
    strip.Loaded();
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    const int target = tabs - 1;
    const QRect tab = strip.TabRect(target);
    const QImage before = Grab(strip);
    QTest::mouseMove(&strip, tab.center());
    QTRY_COMPARE(strip.HoverTab(), changes ? target : -1);
    const QImage after = Grab(strip);
    QCOMPARE(before != after, changes);
    if (changes) {
        // The hover colours (blue to blue) replace the tab's own white fill.
        QCOMPARE(QColor(after.pixel(tab.left() + 1, tab.top() + 1)), Blue);
        QTest::mouseMove(&strip, QPoint(2, 2));
        QTRY_COMPARE(strip.HoverTab(), -1);
        QCOMPARE(Grab(strip), before);
    }
}

void TestTabStrip::backgroundColourRepaintsBandAndScroller()
{
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    strip.SetBackgroundColor(clGreen);
    const QImage image = Grab(strip);
    const QColor green(0x00, 0x80, 0x00);
    QCOMPARE(QColor(image.pixel(2, 5)), green);
    QCOMPARE(QColor(image.pixel(512, 4)), green);
    QCOMPARE(strip.Scroller()->Color(), clGreen);
}

// clang-format off
void TestTabStrip::clickSelects_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("allow");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<int>("expectedAsked");
    QTest::addColumn<int>("expectedChanged");
    QTest::newRow("allowed") << true << true << 1 << 1 << 1;
    QTest::newRow("refused") << true << false << 0 << 1 << 0;
    QTest::newRow("while loading: no notifications") << false << false << 1 << 0 << 0;
}
// clang-format on

void TestTabStrip::clickSelects()
{
    QFETCH(bool, loaded);
    QFETCH(bool, allow);
    QFETCH(int, expectedIndex);
    QFETCH(int, expectedAsked);
    QFETCH(int, expectedChanged);
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    strip.Tabs().Add()->SetCaption(QStringLiteral("Autre"));
    strip.SetTabIndex(0);
    int asked = 0;
    int changed = 0;
    strip.OnChange = [&](QObject* sender, int newTab, bool& allowChange) {
        QCOMPARE(sender, &strip);
        QCOMPARE(newTab, 1);
        ++asked;
        allowChange = allow;
    };
    strip.OnChanged = [&](QObject*) { ++changed; };
    if (loaded)
        strip.Loaded();
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.TabRect(1).center());
    QCOMPARE(strip.TabIndex(), expectedIndex);
    QCOMPARE(asked, expectedAsked);
    QCOMPARE(changed, expectedChanged);
    // Clicking the selected tab changes nothing.
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.TabRect(expectedIndex).center());
    QCOMPARE(strip.TabIndex(), expectedIndex);
    QCOMPARE(asked, expectedAsked);
}

// clang-format off
void TestTabStrip::scrollerScrollsTabsThatDoNotFit_data()
{
    QTest::addColumn<TShowScroller>("show");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<bool>("visible");
    QTest::newRow("auto, all fit") << ssAuto << 1 << false;
    QTest::newRow("auto, too many") << ssAuto << 12 << true;
    QTest::newRow("always, too many") << ssAlways << 12 << true;
}
// clang-format on

void TestTabStrip::scrollerScrollsTabsThatDoNotFit()
{
    QFETCH(TShowScroller, show);
    QFETCH(int, tabs);
    QFETCH(bool, visible);
    TTabStrip strip;
    ApplyTabStrip1Layout(strip);
    strip.SetShowScroller(show);
    for (int i = 1; i < tabs; ++i)
        strip.Tabs().Add()->SetCaption(QStringLiteral("Onglet %1").arg(i));
    strip.SetTabIndex(0);
    TScroller* scroller = strip.Scroller();
    QCOMPARE(scroller->isVisibleTo(&strip), visible);
    QCOMPARE(scroller->CanScrollRight(), tabs > 1);
    if (tabs == 1)
        return;
    QCOMPARE(strip.TabRect(0).left(), 14);
    QTest::mouseClick(scroller, Qt::LeftButton, {}, QPoint(18, 6));
    QVERIFY(strip.TabRect(0).isEmpty());
    QCOMPARE(strip.TabRect(1).left(), 14);
    QVERIFY(scroller->CanScrollLeft());
    // Selecting the last tab scrolls it into view.
    strip.SetTabIndex(tabs - 1);
    QVERIFY(strip.TabRect(tabs - 1).right() < 537 - 5 - 24);
    QVERIFY(!strip.TabRect(tabs - 1).isEmpty());
    QVERIFY(!scroller->CanScrollRight());
}

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
