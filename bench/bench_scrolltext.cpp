// CPU used by the process while a strip like the About window's scrolls for ten seconds.
// Target: under 1 % of one core. Runs offscreen unless a display is given.

#include "ScrollText.h"
#include "ScrollTextPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

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
    window.show();

    MoveCounter counter;
    strip->findChild<tarvane::TScrollTextPanel*>()->installEventFilter(&counter);

    constexpr int RunMilliseconds = 10000;
    QElapsedTimer wall;
    const double cpuBefore = CpuSeconds();
    wall.start();
    strip->SetActive(true);
    QTimer::singleShot(RunMilliseconds, Qt::PreciseTimer, &app, &QApplication::quit);
    app.exec();
    const double cpu = CpuSeconds() - cpuBefore;
    const double elapsed = wall.elapsed() / 1000.0;

    std::printf("platform %s: %.1f s scrolling, %d steps, CPU %.3f s = %.2f %% of one core "
                "(target < 1 %%)\n",
                qPrintable(QApplication::platformName()), elapsed, counter.moves, cpu,
                100.0 * cpu / elapsed);
    return cpu / elapsed < 0.01 ? EXIT_SUCCESS : EXIT_FAILURE;
}
