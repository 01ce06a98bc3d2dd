// Tarvane started as main.cpp starts it, then, round after round, the About box opened from
// the main window and closed with OK once its strip has moved ("open"), or the event loop
// left to run as long with the box closed ("closed"). After each round it prints the round,
// the heap in use and the resident memory, in bytes.
// Usage: tarvane_about_memory_probe open|closed <rounds>
#include "Application.h"
#include "DesktopFonts.h"
#include "ScrollText.h"
#include "ScrollTextPanel.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>

namespace {

constexpr int RoundTimeoutMilliseconds = 10000;

long long ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    long long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Runs the event loop until the condition holds, checking it every millisecond; false when
// it still did not hold after the timeout.
bool RunUntil(const std::function<bool()>& condition)
{
    QEventLoop loop;
    QTimer poll;
    QTimer timeout;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&] { loop.exit(1); });
    poll.start(1);
    timeout.start(RoundTimeoutMilliseconds);
    return loop.exec() == 0;
}

bool Exposed(const QWidget* window)
{
    return window->windowHandle() && window->windowHandle()->isExposed();
}

// Clicks OK in the About box once it is on screen and its strip has taken a step.
class AboutCloser : public QObject {
public:
    AboutCloser()
    {
        connect(&m_poll, &QTimer::timeout, this, &AboutCloser::Poll);
        m_poll.start(1);
    }

private:
    void Poll()
    {
        auto* about = qobject_cast<tarvane::TfmAbout*>(QApplication::activeModalWidget());
        if (!about || !Exposed(about))
            return;
        const auto* panel = about->ScrollText1->findChild<tarvane::TScrollTextPanel*>();
        if (!m_startY)
            m_startY = panel->y();
        if (panel->y() == *m_startY)
            return;
        m_poll.stop();
        about->btnOK->click();
    }

    QTimer m_poll;
    std::optional<int> m_startY;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "open") != 0 && std::strcmp(argv[1], "closed") != 0)) {
        std::fprintf(stderr, "usage: %s open|closed <rounds>\n", argv[0]);
        return 2;
    }
    const bool open = std::strcmp(argv[1], "open") == 0;
    const int rounds = std::max(1, std::atoi(argv[2]));

    tarvane::TApplication application(argc, argv);
    tarvane::RegisterDesktopFonts();
    tarvane::TfmMain fmMain;
    fmMain.show();
    if (!RunUntil([&] { return Exposed(&fmMain); }))
        return 1;

    for (int round = 1; round <= rounds; ++round) {
        if (open) {
            const AboutCloser closer;
            fmMain.ActAppAboutExecute(&fmMain);
        } else {
            // About as long as a round with the box open: a step of its strip.
            QElapsedTimer clock;
            clock.start();
            RunUntil([&] { return clock.elapsed() >= 100; });
        }
        std::printf("%d %zu %lld\n", round, mallinfo2().uordblks, ResidentBytes());
        std::fflush(stdout);
    }
    return 0;
}
