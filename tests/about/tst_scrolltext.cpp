#include "HintDelayStyle.h"
#include "ScrollDrawThread.h"
#include "ScrollText.h"
#include "ScrollTextPanel.h"

#include <QDir>
#include <QPointer>
#include <QtTest>

#include <climits>
#include <functional>
#include <memory>
#include <utility>

using namespace tarvane;

Q_DECLARE_METATYPE(TScrollDirection)

namespace {

const QString ThanksLine = QStringLiteral("- à la communauté du libre");

// A strip set up as the About window sets up its own; a huge delay keeps the worker from
// stepping unless a test asks for a pace.
std::unique_ptr<TScrollText> MakeStrip(int width = 200, int height = 25,
                                       std::uint32_t delay = 1000000)
{
    auto strip = std::make_unique<TScrollText>();
    strip->setGeometry(8, 160, width, height);
    strip->SetItems({ThanksLine});
    strip->SetDelay(delay);
    strip->SetBackgroundColor(clBlue);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    strip->SetFont(font);
    strip->SetFontColor(clAqua);
    return strip;
}

TScrollTextPanel* PanelOf(const TScrollText& strip)
{
    return strip.findChild<TScrollTextPanel*>();
}

int PanelPosition(const TScrollText& strip)
{
    const bool vertical =
        strip.ScrollDirection() == drFromTop || strip.ScrollDirection() == drFromBottom;
    return vertical ? PanelOf(strip)->y() : PanelOf(strip)->x();
}

// The process's system threads; an ended thread may take a moment to leave the list.
int ThreadCount()
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    return int(tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

void SendMouse(QWidget* panel, QEvent::Type type, QPoint screenPoint)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(panel->mapFromGlobal(screenPoint)), QPointF(screenPoint),
                      Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(panel, &event);
}

// Whether any aqua text shows in rows [fromRow, toRow) of the strip's blue surface.
bool TextShows(const QImage& image, int fromRow, int toRow)
{
    for (int y = std::max(0, fromRow); y < std::min(image.height(), toRow); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGreen(image.pixel(x, y)) > 128)
                return true;
    return false;
}

// Records where the panel moves, and whether any move happened off the user-interface thread.
class MoveRecorder : public QObject {
public:
    QList<int> tops;
    bool movedOffThread = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Move) {
            tops << static_cast<QWidget*>(watched)->y();
            movedOffThread |= QThread::currentThread() != qApp->thread();
        }
        return QObject::eventFilter(watched, event);
    }
};

// Watches the worker's hand-overs as they reach the user-interface thread: counts them, and
// can run an action at the moment one arrives, while the worker waits for it to be served.
class HandOverWatch : public QObject {
public:
    explicit HandOverWatch(QObject* worker) { worker->installEventFilter(this); }

    int arrived = 0;
    std::function<void()> onArrival;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MetaCall) {
            ++arrived;
            if (onArrival)
                std::exchange(onArrival, {})();
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestScrollText : public QObject {
    Q_OBJECT
private slots:
    void stepsAndWraps_data();
    void stepsAndWraps();
    void aboutStripPixels_data();
    void aboutStripPixels();
    void panelHeight_data();
    void panelHeight();
    void pauseRamps_data();
    void pauseRamps();
    void hintDelay_data();
    void hintDelay();
    void workerPacesStepsOnlyWhileActive();
    void dragging_data();
    void dragging();
    void destruction_data();
    void destruction();
    void manyStripsLeaveNoThread();
};

// clang-format off
void TestScrollText::stepsAndWraps_data()
{
    QTest::addColumn<TScrollDirection>("direction");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QList<int>>("firstPositions");
    QTest::addColumn<int>("cycle");

    // The About strip: 200 x 25, its panel as high as the strip.
    QTest::newRow("from bottom") << drFromBottom << 1 << QList<int>{-26, 25, 24} << 52;
    QTest::newRow("from top") << drFromTop << 1 << QList<int>{26, -25, -24} << 52;
    QTest::newRow("from left") << drFromLeft << 1 << QList<int>{-201, 200, 199} << 402;
    QTest::newRow("from right") << drFromRight << 1 << QList<int>{201, -200, -199} << 402;
    QTest::newRow("two pixels") << drFromBottom << 2 << QList<int>{-27, 25, 23} << 27;
    QTest::newRow("reversed wraps at the entering edge")
        << drFromBottom << -1 << QList<int>{-24, -23, -22} << 52;
    QTest::newRow("huge step stays in range")
        << drFromBottom << INT_MAX << QList<int>{-QWIDGETSIZE_MAX, 25, -QWIDGETSIZE_MAX} << 2;
}
// clang-format on

void TestScrollText::stepsAndWraps()
{
    QFETCH(TScrollDirection, direction);
    QFETCH(int, pixels);
    QFETCH(QList<int>, firstPositions);
    QFETCH(int, cycle);

    const auto strip = MakeStrip();
    strip->SetScrollDirection(direction);
    strip->SetScrollPixels(pixels);
    strip->SetActive(true);
    QCOMPARE(PanelOf(*strip)->pos(), QPoint(0, 0)); // visible at rest until the first step

    QList<int> positions;
    for (int step = 0; step < 2 * cycle; ++step) {
        strip->Step();
        positions << PanelPosition(*strip);
    }
    QCOMPARE(positions.mid(0, 3), firstPositions);
    QCOMPARE(positions.mid(cycle), positions.mid(0, cycle));
    const QList<int> firstCycle = positions.mid(0, cycle);
    QCOMPARE(QSet<int>(firstCycle.begin(), firstCycle.end()).size(), cycle);
}

void TestScrollText::aboutStripPixels_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("textTop"); // rows above it show no text; none at all when 25

    QTest::newRow("at rest after activation") << 0 << 0;
    QTest::newRow("first step takes it out above") << 1 << 25;
    QTest::newRow("entering from the bottom") << 16 << 11;
}

void TestScrollText::aboutStripPixels()
{
    QFETCH(int, steps);
    QFETCH(int, textTop);

    const auto strip = MakeStrip();
    strip->SetActive(true);
    for (int step = 0; step < steps; ++step)
        strip->Step();
    const QImage image = strip->grab().toImage();
    QCOMPARE(image.pixelColor(199, 0), QColor(Qt::blue));
    QVERIFY(!TextShows(image, 0, textTop));
    QCOMPARE(TextShows(image, textTop, 25), textTop < 25);
}

// clang-format off
void TestScrollText::panelHeight_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("stripWidth");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("lines"); // 0: as high as the strip

    QTest::newRow("About line") << QStringList{ThanksLine} << 200 << 11 << 0;
    QTest::newRow("no items") << QStringList{} << 200 << 11 << 0;
    QTest::newRow("ten lines") << QStringList(10, QStringLiteral("x")) << 200 << 11 << 10;
    QTest::newRow("ten empty lines") << QStringList(10, QString()) << 200 << 11 << 10;
    QTest::newRow("larger font") << QStringList{ThanksLine} << 2000 << 40 << 1;
    QTest::newRow("no width to wrap in") << QStringList(10, QStringLiteral("x")) << 0 << 11 << 0;
}
// clang-format on

void TestScrollText::panelHeight()
{
    QFETCH(QStringList, items);
    QFETCH(int, stripWidth);
    QFETCH(int, pixelSize);
    QFETCH(int, lines);

    const auto strip = MakeStrip(stripWidth);
    strip->SetItems(items);
    QFont font = strip->Font();
    font.setPixelSize(pixelSize);
    strip->SetFont(font);
    strip->SetActive(true);
    const int expected = lines == 0 ? 25 : lines * QFontMetrics(font).height();
    QCOMPARE(PanelOf(*strip)->height(), expected);
}

// clang-format off
void TestScrollText::pauseRamps_data()
{
    QTest::addColumn<bool>("activeAtStart");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QList<int>>("tops"); // the panel's top after each step
    QTest::addColumn<bool>("activeAfter");

    // Strip 200 x 100, 3 pixels per step, the text at top 100 to start with.
    const QString step = QStringLiteral("step");
    const QString pause = QStringLiteral("pause");
    const QString unpause = QStringLiteral("unpause");
    QTest::newRow("slows down by 3, 2, 1, then stops")
        << true << QStringList{pause, step, step, step, step} << QList<int>{97, 95, 94, 94}
        << false;
    QTest::newRow("speeds up by 0, 1, 2, then 3 from the start")
        << true << QStringList{pause, step, step, step, step, unpause, step, step, step, step, step}
        << QList<int>{97, 95, 94, 94, -100, -101, 100, 97, 94} << true;
    QTest::newRow("pause when inactive does nothing")
        << false << QStringList{pause, step, step, step} << QList<int>{-103, 100, 97} << false;
    QTest::newRow("unpause when active does nothing")
        << true << QStringList{unpause, step, step} << QList<int>{97, 94} << true;
}
// clang-format on

void TestScrollText::pauseRamps()
{
    QFETCH(bool, activeAtStart);
    QFETCH(QStringList, operations);
    QFETCH(QList<int>, tops);
    QFETCH(bool, activeAfter);

    const auto strip = MakeStrip(200, 100);
    strip->SetScrollPixels(3);
    strip->SetActive(true);
    strip->Step();
    strip->Step();
    QCOMPARE(PanelOf(*strip)->y(), 100);
    if (!activeAtStart)
        strip->SetActive(false);

    QList<int> seen;
    for (const QString& operation : operations) {
        if (operation == QLatin1String("pause")) {
            strip->Pause();
        } else if (operation == QLatin1String("unpause")) {
            strip->Unpause();
        } else {
            strip->Step();
            seen << PanelOf(*strip)->y();
        }
    }
    QCOMPARE(seen, tops);
    QCOMPARE(strip->Active(), activeAfter);
}

// clang-format off
void TestScrollText::hintDelay_data()
{
    QTest::addColumn<int>("saved");
    QTest::addColumn<uint>("delay");
    QTest::addColumn<int>("hint");

    QTest::newRow("About strip") << 500 << 100u << 90;
    QTest::newRow("5 gives 4") << 500 << 5u << 4;
    QTest::newRow("0 gives 1") << 500 << 0u << 1;
    QTest::newRow("10 gives 9") << 500 << 10u << 9;
    QTest::newRow("11 gives 1") << 500 << 11u << 1;
    QTest::newRow("equal to the saved delay") << 500 << 500u << 490;
    QTest::newRow("above the saved delay restores it") << 500 << 501u << 500;
    QTest::newRow("largest delay") << 700 << 4294967295u << 700;
}
// clang-format on

void TestScrollText::hintDelay()
{
    QFETCH(int, saved);
    QFETCH(uint, delay);
    QFETCH(int, hint);

    HintDelayStyle::SetHintPause(saved);
    auto strip = std::make_unique<TScrollText>();
    strip->SetDelay(333); // an earlier write must not change what is restored
    strip->SetDelay(delay);
    QCOMPARE(HintDelayStyle::HintPause(), hint);
    strip.reset();
    QCOMPARE(HintDelayStyle::HintPause(), saved);
}

void TestScrollText::workerPacesStepsOnlyWhileActive()
{
    const auto strip = MakeStrip(200, 25, 5);
    strip->show(); // hidden widgets report no moves
    QVERIFY(QTest::qWaitForWindowExposed(strip.get()));
    MoveRecorder recorder;
    PanelOf(*strip)->installEventFilter(&recorder);
    strip->SetActive(true);
    QTRY_VERIFY(recorder.tops.size() >= 4);
    QCOMPARE(recorder.tops.mid(0, 4), (QList<int>{-26, 25, 24, 23}));
    QVERIFY(!recorder.movedOffThread);

    // Stopped while a hand-over is on its way: it arrives, is served, and moves nothing.
    auto* worker = strip->findChild<TScrollDrawThread*>();
    HandOverWatch watch(worker);
    qsizetype stoppedAfter = -1;
    watch.onArrival = [&] {
        strip->SetActive(false);
        stoppedAfter = recorder.tops.size();
    };
    QTRY_VERIFY(stoppedAfter >= 0);
    QCoreApplication::sendPostedEvents(worker, QEvent::MetaCall);
    QCOMPARE(recorder.tops.size(), stoppedAfter);
    QVERIFY(worker->Suspended());

    // Active again, it goes on from where it stood.
    strip->SetActive(true);
    QTRY_VERIFY(recorder.tops.size() > stoppedAfter);
}

// clang-format off
void TestScrollText::dragging_data()
{
    QTest::addColumn<TScrollDirection>("direction");
    QTest::addColumn<QList<QPoint>>("mouseMoves");
    QTest::addColumn<QList<int>>("positions");

    // Two steps first put the text where it enters: top 25 or left 200.
    QTest::newRow("up past the top edge reappears at the bottom")
        << drFromBottom << QList<QPoint>{{0, -10}, {0, -20}, {0, -20}, {0, -1}}
        << QList<int>{15, -5, -25, 25};
    QTest::newRow("down past the bottom edge reappears at the top")
        << drFromBottom << QList<QPoint>{{0, 1}} << QList<int>{-25};
    QTest::newRow("sideways motion does not move vertical text")
        << drFromBottom << QList<QPoint>{{-30, 0}} << QList<int>{25};
    QTest::newRow("left past the left edge reappears at the right")
        << drFromLeft << QList<QPoint>{{-150, 0}, {-250, 0}, {-1, 0}} << QList<int>{50, -200, 200};
}
// clang-format on

void TestScrollText::dragging()
{
    QFETCH(TScrollDirection, direction);
    QFETCH(QList<QPoint>, mouseMoves);
    QFETCH(QList<int>, positions);

    const auto strip = MakeStrip(200, 25, 5);
    QWidget* panel = PanelOf(*strip);
    strip->SetScrollDirection(direction);
    strip->SetActive(true);
    strip->Step();
    strip->Step();

    QPoint mouse(500, 500);
    SendMouse(panel, QEvent::MouseButtonPress, mouse);
    QList<int> seen;
    for (const QPoint& move : mouseMoves) {
        mouse += move;
        SendMouse(panel, QEvent::MouseMove, mouse);
        seen << PanelPosition(*strip);
    }
    QCOMPARE(seen, positions);

    // Hand-overs keep coming while the mouse holds the text; none moves it.
    HandOverWatch watch(strip->findChild<TScrollDrawThread*>());
    QTRY_VERIFY(watch.arrived >= 3);
    QCOMPARE(PanelPosition(*strip), positions.constLast());
    SendMouse(panel, QEvent::MouseButtonRelease, mouse);
    QTRY_VERIFY(PanelPosition(*strip) != positions.constLast());
}

// clang-format off
void TestScrollText::destruction_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<std::uint32_t>("delay");
    QTest::addColumn<int>("served"); // hand-overs served before the strip goes

    // Whatever the worker is doing when its strip goes (asleep, or blocked in a hand-over that
    // the user-interface thread has not served), the strip's end waits for it and leaves no
    // thread behind.
    QTest::newRow("active, worker never ran") << true << std::uint32_t(100) << 0;
    QTest::newRow("active, worker running") << true << std::uint32_t(1) << 2;
    QTest::newRow("inactive after running") << false << std::uint32_t(1) << 2;
    QTest::newRow("active, very long delay") << true << std::uint32_t(4294967295u) << 0;
}
// clang-format on

void TestScrollText::destruction()
{
    QFETCH(bool, active);
    QFETCH(std::uint32_t, delay);
    QFETCH(int, served);

    const int threadsBefore = ThreadCount();
    auto strip = MakeStrip(200, 25, delay);
    const QPointer<TScrollDrawThread> worker = strip->findChild<TScrollDrawThread*>();
    HandOverWatch watch(worker);
    strip->SetActive(true);
    QTRY_VERIFY(watch.arrived >= served);
    strip->SetActive(active);
    strip.reset();
    QVERIFY(worker.isNull());
    QTRY_VERIFY(ThreadCount() <= threadsBefore); // an earlier worker may still have been leaving
}

void TestScrollText::manyStripsLeaveNoThread()
{
    const int threadsBefore = ThreadCount();
    QWidget window;
    for (int cycle = 0; cycle < 200; ++cycle) {
        auto* strip = new TScrollText(&window);
        strip->SetItems({ThanksLine});
        strip->SetDelay(1);
        strip->SetActive(true);
        QCoreApplication::processEvents();
        if (cycle % 2)
            strip->SetActive(false);
        delete strip;
    }
    QVERIFY(window.children().isEmpty());
    QTRY_VERIFY(ThreadCount() <= threadsBefore); // an earlier worker may still have been leaving
}

QTEST_MAIN(TestScrollText)
#include "tst_scrolltext.moc"
