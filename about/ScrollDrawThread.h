#pragma once

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace tarvane {

// The timing worker of a scrolling strip. It only sleeps and then hands each step over to
// the user-interface thread with a blocking call; every movement and paint happens there.
// It starts suspended; suspension is a wait on a condition that the hand-over respects, so
// no step runs while suspended.
class TScrollDrawThread : public QThread {
    Q_OBJECT
public:
    explicit TScrollDrawThread(QObject* parent = nullptr);
    ~TScrollDrawThread() override;

    // Pause between two steps in milliseconds; read by the worker before each sleep.
    std::uint32_t Delay() const;
    void SetDelay(std::uint32_t milliseconds);

    // What each hand-over runs on the user-interface thread; empty means nothing.
    // User-interface thread only.
    void SetDrawCallback(std::function<void()> callback);

    void Suspend();
    void Resume();
    bool Suspended() const;

    // Asks the worker to stop and waits for it to end, while serving its pending hand-over
    // (and only that) so a worker blocked in it can finish. User-interface thread only.
    void Stop();

protected:
    void run() override;

private:
    bool WaitForTurn();
    bool Cancelled() const;
    void HandOver();

    std::atomic<std::uint32_t> m_delay = 50;
    std::function<void()> m_drawCallback;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_suspended = true;      // guarded by m_mutex
    bool m_stopRequested = false; // guarded by m_mutex
    bool m_started = false;
    std::atomic<bool> m_stepFailed = false;
};

} // namespace tarvane
