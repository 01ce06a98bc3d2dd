#include "ArrowIndicator.h"
#include "TwoColorPalette.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <functional>
#include <memory>

using namespace tarvane;

using ArrowChange = std::function<void(TArrowIndicator&)>;
Q_DECLARE_METATYPE(ArrowChange)

namespace {

const QColor kNavy(0x00, 0x00, 0x80), kGrey(0x80, 0x80, 0x80), kBlack(0x00, 0x00, 0x00);
const QColor kGreen(0x00, 0x80, 0x00), kLime(0x00, 0xFF, 0x00), kRed(0xFF, 0x00, 0x00);

// Points of the right-pointing 28 x 27 frame and what a lit, navy-backed arrow shows there.
const std::pair<QPoint, QColor> kFramePoints[] = {
    {{27, 13}, kGrey}, {{26, 13}, kBlack}, {{20, 13}, kLime}, {{0, 13}, kGrey},  {{1, 13}, kBlack},
    {{2, 13}, kLime},  {{-1, 13}, kNavy},  {{13, 0}, kGrey},  {{13, -1}, kNavy}, {{12, 5}, kNavy},
    {{5, 6}, kGrey},   {{5, 7}, kBlack},   {{5, 8}, kLime},   {{0, 0}, kNavy},   {{27, 26}, kNavy},
};
const QPoint kFill(20, 13), kCorner(0, 0), kTip(27, 13);

// Where a point of the right-pointing frame lands in a 41 x 41 arrow of each direction.
QPoint InArrow(TArrowDirection direction, QPoint p)
{
    // clang-format off
    switch (direction) {
    case pdLeft: return QPoint(27 - p.x(), p.y()) + QPoint(6, 7);
    case pdUp: return QPoint(p.y(), 27 - p.x()) + QPoint(7, 6);
    case pdDown: return QPoint(p.y(), p.x()) + QPoint(7, 6);
    default: return p + QPoint(6, 7);
    }
    // clang-format on
}

// An arrow as the main window sets it up, but opaque so that grab() shows its background.
std::unique_ptr<TArrowIndicator> MainWindowArrow(QWidget* parent = nullptr)
{
    auto arrow = std::make_unique<TArrowIndicator>(parent);
    arrow->resize(41, 41);
    arrow->SetActive(true);
    arrow->SetDirection(pdRight);
    arrow->SetColor(clNavy);
    arrow->Loaded();
    return arrow;
}

QColor FillOf(TArrowIndicator& arrow)
{
    return Grab(arrow).pixelColor(InArrow(arrow.Direction(), kFill));
}

// What the window's backing store holds under a widget: what the user sees, traces included.
QImage OnScreen(QWidget& widget)
{
    const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
    return widget.screen()
        ->grabWindow(widget.window()->winId(), at.x(), at.y(), widget.width(), widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestArrowIndicator : public QObject {
    Q_OBJECT
private slots:
    void drawsEachDirectionCentred_data();
    void drawsEachDirectionCentred();
    void recoloursFill_data();
    void recoloursFill();
    void recoloursFromResourceEveryTime();
    void repaintsAtOnceOnRealChanges_data();
    void repaintsAtOnceOnRealChanges();
    void transparentShowsParentWithoutTraces_data();
    void transparentShowsParentWithoutTraces();
    void tracksPointerOverShape_data();
    void tracksPointerOverShape();
};

void TestArrowIndicator::drawsEachDirectionCentred_data()
{
    QTest::addColumn<TArrowDirection>("direction");
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QSize>("pictureSize");
    QTest::newRow("left") << pdLeft << ":/bitmaps/LEFTARROW.bmp" << QSize(56, 27);
    QTest::newRow("right") << pdRight << ":/bitmaps/RIGHTARROW.bmp" << QSize(56, 27);
    QTest::newRow("up") << pdUp << ":/bitmaps/UPARROW.bmp" << QSize(54, 28);
    QTest::newRow("down") << pdDown << ":/bitmaps/DOWNARROW.bmp" << QSize(54, 28);
}

void TestArrowIndicator::drawsEachDirectionCentred()
{
    QFETCH(TArrowDirection, direction);
    QFETCH(QString, resource);
    QFETCH(QSize, pictureSize);
    QCOMPARE(QImage(resource).size(), pictureSize);

    auto arrow = MainWindowArrow();
    arrow->SetDirection(direction);
    const QImage shown = Grab(*arrow);
    for (const auto& [point, colour] : kFramePoints) {
        const QPoint at = InArrow(direction, point);
        QVERIFY2(shown.pixelColor(at) == colour,
                 qPrintable(QStringLiteral("frame point (%1, %2) shows %3")
                                .arg(point.x())
                                .arg(point.y())
                                .arg(shown.pixelColor(at).name())));
    }
}

void TestArrowIndicator::recoloursFill_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<TColor>("low");
    QTest::addColumn<TColor>("high");
    QTest::addColumn<QColor>("fill");
    QTest::newRow("lit, high red") << true << clGreen << clRed << kRed;
    QTest::newRow("dim ignores high") << false << clGreen << clRed << kGreen;
    QTest::newRow("dim, low purple") << false << clPurple << clLime << QColor(0x80, 0x00, 0x80);
    QTest::newRow("lit, colours swapped") << true << clLime << clGreen << kGreen;
    QTest::newRow("dim, colours swapped") << false << clLime << clGreen << kLime;
}

void TestArrowIndicator::recoloursFill()
{
    QFETCH(bool, active);
    QFETCH(TColor, low);
    QFETCH(TColor, high);
    QFETCH(QColor, fill);

    auto arrow = MainWindowArrow();
    arrow->SetActive(active);
    arrow->Palette()->SetLow(low);
    arrow->Palette()->SetHigh(high);
    const QImage shown = Grab(*arrow);
    QCOMPARE(shown.pixelColor(InArrow(pdRight, kFill)), fill);
    QCOMPARE(shown.pixelColor(InArrow(pdRight, kTip)), kGrey);
    QCOMPARE(shown.pixelColor(InArrow(pdRight, QPoint(26, 13))), kBlack);
    QCOMPARE(shown.pixelColor(InArrow(pdRight, kCorner)), kNavy);
}

void TestArrowIndicator::recoloursFromResourceEveryTime()
{
    auto arrow = MainWindowArrow();
    const QImage original = Grab(*arrow);

    arrow->Palette()->SetHigh(clRed);
    arrow->SetDirection(pdLeft);
    QCOMPARE(FillOf(*arrow), kRed);
    arrow->SetDirection(pdRight);
    arrow->Palette()->SetHigh(clLime);
    QCOMPARE(Grab(*arrow), original);

    // A system colour resolves anew when the desktop colours change.
    arrow->Palette()->SetHigh(clBtnFace);
    const QPalette saved = QApplication::palette();
    QPalette changed = saved;
    changed.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(changed);
    QCoreApplication::processEvents();
    const QColor fill = FillOf(*arrow);
    QApplication::setPalette(saved);
    QCOMPARE(fill, QColor(0x12, 0x34, 0x56));
}

void TestArrowIndicator::repaintsAtOnceOnRealChanges_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<ArrowChange>("change");
    QTest::addColumn<int>("paints");
    const ArrowChange highRed = [](TArrowIndicator& a) { a.Palette()->SetHigh(clRed); };
    QTest::newRow("high red") << true << highRed << 1;
    QTest::newRow("high red while loading") << false << highRed << 0;
    QTest::newRow("high unchanged")
        << true << ArrowChange([](TArrowIndicator& a) { a.Palette()->SetHigh(clLime); }) << 0;
    QTest::newRow("whole palette, both differ") << true << ArrowChange([](TArrowIndicator& a) {
        TTwoColorPalette other;
        other.SetLow(clPurple);
        other.SetHigh(clRed);
        a.SetPalette(other);
    }) << 1;
    QTest::newRow("direction left")
        << true << ArrowChange([](TArrowIndicator& a) { a.SetDirection(pdLeft); }) << 1;
    QTest::newRow("direction out of range")
        << true << ArrowChange([](TArrowIndicator& a) { a.SetDirection(TArrowDirection(7)); }) << 0;
    QTest::newRow("inactive") << true << ArrowChange([](TArrowIndicator& a) { a.SetActive(false); })
                              << 1;
    QTest::newRow("active unchanged")
        << true << ArrowChange([](TArrowIndicator& a) { a.SetActive(true); }) << 0;
    QTest::newRow("transparent") << true
                                 << ArrowChange([](TArrowIndicator& a) { a.SetTransparent(true); })
                                 << 1;
}

void TestArrowIndicator::repaintsAtOnceOnRealChanges()
{
    QFETCH(bool, loaded);
    QFETCH(ArrowChange, change);
    QFETCH(int, paints);

    QWidget window;
    window.resize(100, 100);
    TArrowIndicator arrow(&window);
    arrow.SetDirection(pdRight);
    arrow.SetActive(true);
    if (loaded)
        arrow.Loaded();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    PaintCounter counter;
    arrow.installEventFilter(&counter);
    change(arrow);
    // Counted before the event loop runs again: the repaint happens inside the write.
    QCOMPARE(counter.paints, paints);
}

void TestArrowIndicator::transparentShowsParentWithoutTraces_data()
{
    QTest::addColumn<ArrowChange>("change");
    QTest::newRow("made transparent after an opaque paint") << ArrowChange([](auto&) {});
    QTest::newRow("colour and direction changes") << ArrowChange([](TArrowIndicator& a) {
        for (TArrowDirection d : {pdUp, pdDown, pdLeft, pdRight, pdLeft}) {
            a.Palette()->SetHigh(a.Palette()->High() == clRed ? clLime : clRed);
            a.SetDirection(d);
        }
    });
    QTest::newRow("dimmed") << ArrowChange([](TArrowIndicator& a) { a.SetActive(false); });
}

void TestArrowIndicator::transparentShowsParentWithoutTraces()
{
    QFETCH(ArrowChange, change);

    QWidget window;
    window.resize(100, 100);
    window.setAutoFillBackground(true);
    QPalette navy = window.palette();
    navy.setColor(QPalette::Window, kNavy);
    window.setPalette(navy);
    auto arrow = MainWindowArrow(&window);
    arrow->move(30, 20);
    arrow->SetColor(clYellow); // shown while opaque, never once transparent
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    arrow->SetTransparent(true);
    change(*arrow);

    // An opaque arrow filled with navy looks exactly like the see-through one over navy.
    auto expected = MainWindowArrow();
    expected->SetActive(arrow->Active());
    expected->SetDirection(arrow->Direction());
    expected->SetPalette(*arrow->Palette());
    QCOMPARE(OnScreen(*arrow), Grab(*expected));
}

void TestArrowIndicator::tracksPointerOverShape_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<bool>("leaves");
    QTest::addColumn<bool>("lit");
    QTest::newRow("over the outline") << InArrow(pdRight, kTip) << false << true;
    QTest::newRow("white corner of the frame") << InArrow(pdRight, kCorner) << false << false;
    QTest::newRow("over the fill, then away") << InArrow(pdRight, kFill) << true << false;
}

void TestArrowIndicator::tracksPointerOverShape()
{
    QFETCH(QPoint, pointer);
    QFETCH(bool, leaves);
    QFETCH(bool, lit);

    auto arrow = MainWindowArrow();
    arrow->SetTrackMouse(true);
    QMouseEvent move(QEvent::MouseMove, pointer, arrow->mapToGlobal(pointer), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(arrow.get(), &move);
    QEvent leave(QEvent::Leave);
    if (leaves)
        QApplication::sendEvent(arrow.get(), &leave);
    QCOMPARE(FillOf(*arrow), lit ? kLime : kGreen);
}

QTEST_MAIN(TestArrowIndicator)
#include "tst_arrowindicator.moc"
