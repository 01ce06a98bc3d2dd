// CPU used by the process over ten seconds of scrolling: first a strip like the About
// window's on its own, then the About window itself, open with its strip running.
// Target for each: under 1 % of one core. Runs offscreen unless a display is given.

#include "ScrollText.h"
#include "ScrollTextPanel.h"
#include "frmAbout.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Counts the moves of the strip's text, to show that it really scrolled.
class MoveCounter : public QObject {
public:
    using QObject::QObject;
    int moves = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Move)
            ++moves;
        return QObject::eventFilter(watched, event);
    }
};

// Shows the window, starts the strip and lets the event loop run for ten seconds; prints the
// load and says whether it stayed under the target.
bool MeasureScrolling(const char* what, QWidget& window, tarvane::TScrollText& strip,
                      const std::function<void()>& start)
{
    MoveCounter counter;
    strip.findChild<tarvane::TScrollTextPanel*>()->installEventFilter(&counter);
    window.show();

    constexpr int RunMilliseconds = 10000;
    QEventLoop loop;
    QElapsedTimer wall;
    const double cpuBefore = CpuSeconds();
    wall.start();
    start();
    QTimer::singleShot(RunMilliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = CpuSeconds() - cpuBefore;
    const double elapsed = wall.elapsed() / 1000.0;
    window.hide();

    std::printf("%s, platform %s: %.1f s scrolling, %d steps, CPU %.3f s = %.2f %% of one "
                "core (target < 1 %%)\n",
                what, qPrintable(QApplication::platformName()), elapsed, counter.moves, cpu,
                100.0 * cpu / elapsed);
    return cpu / elapsed < 0.01;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QWidget window;
    window.resize(305, 193);
    auto* strip = new tarvane::TScrollText(&window);
    strip->setGeometry(8, 160, 200, 25);
    strip->SetItems({QStringLiteral("- à la communauté du libre")});
    strip->SetDelay(100);
    strip->SetScrollPixels(1);
    strip->SetScrollDirection(tarvane::drFromBottom);
    strip->SetBackgroundColor(tarvane::clBlue);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    strip->SetFont(font);
    strip->SetFontColor(tarvane::clAqua);
    const bool stripOk =
        MeasureScrolling("strip alone", window, *strip, [strip] { strip->SetActive(true); });
    strip->SetActive(false);

    // Its strip started when it was created, as it does for the user.
    tarvane::TfmAbout about;
    const bool aboutOk = MeasureScrolling("About window", about, *about.ScrollText1, [] {});

    return stripOk && aboutOk ? EXIT_SUCCESS : EXIT_FAILURE;
}
