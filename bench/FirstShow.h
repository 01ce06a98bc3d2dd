#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

// For the start-up probes: once the window's first exposure has been painted and flushed,
// prints the monotonic clock in nanoseconds and ends the event loop. Work the program queues
// for after its first showing still runs before the end, so it counts in the peak memory.
class FirstShowReporter : public QObject {
public:
    explicit FirstShowReporter(QWidget* window)
        : QObject(window)
    {
        window->winId(); // creates the native window, so its exposure can be watched
        window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || m_reported)
            return QObject::eventFilter(watched, event);
        m_reported = true;
        // The window paints and flushes the exposed area right here; the clock is read after.
        watched->event(event);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        QTimer::singleShot(0, this, [] { QCoreApplication::exit(0); });
        return true;
    }

private:
    bool m_reported = false;
};
