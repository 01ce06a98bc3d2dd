#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

// For the start-up probes: once the window has been exposed and painted for the first time,
// prints the monotonic clock in nanoseconds and ends the event loop.
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
        if (event->type() == QEvent::Expose && !m_reported) {
            m_reported = true;
            // Queued: the exposure's own painting and flush run first.
            QTimer::singleShot(0, this, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_reported = false;
};
