#include "ScrollDrawThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <chrono>

namespace tarvane {

TScrollDrawThread::TScrollDrawThread(QObject* parent)
    : QThread(parent)
{
}

TScrollDrawThread::~TScrollDrawThread()
{
    Stop();
}

std::uint32_t TScrollDrawThread::Delay() const
{
    return m_delay.load();
}

void TScrollDrawThread::SetDelay(std::uint32_t milliseconds)
{
    m_delay.store(milliseconds);
}

void TScrollDrawThread::SetDrawCallback(std::function<void()> callback)
{
    m_drawCallback = std::move(callback);
}

void TScrollDrawThread::Suspend()
{
    const std::lock_guard lock(m_mutex);
    m_suspended = true;
}

void TScrollDrawThread::Resume()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopRequested)
            return;
        m_suspended = false;
    }
    m_wake.notify_all();
    // The system thread exists only once the worker is first needed.
    if (!m_started) {
        m_started = true;
        start();
    }
}

bool TScrollDrawThread::Suspended() const
{
    const std::lock_guard lock(m_mutex);
    return m_suspended;
}

void TScrollDrawThread::Stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopRequested = true;
    }
    m_wake.notify_all();
    // The worker may be blocked in a hand-over that only this thread can serve.
    while (!wait(QDeadlineTimer(std::chrono::milliseconds(1))))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void TScrollDrawThread::run()
{
    while (WaitForTurn()) {
        QMetaObject::invokeMethod(
            this, [this] { HandOver(); }, Qt::BlockingQueuedConnection);
        // A failed step ends the worker silently; the strip then stands still.
        if (m_stepFailed.load())
            return;
    }
}

// Waits while suspended, then sleeps for the delay; false once a stop is requested.
bool TScrollDrawThread::WaitForTurn()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return !m_suspended || m_stopRequested; });
        const std::chrono::milliseconds delay(m_delay.load());
        if (m_wake.wait_for(lock, delay, [this] { return m_stopRequested; }))
            return false;
        if (!m_suspended)
            return true;
    }
}

bool TScrollDrawThread::Cancelled() const
{
    const std::lock_guard lock(m_mutex);
    return m_stopRequested || m_suspended;
}

// Runs on the user-interface thread while the worker waits for it to return.
void TScrollDrawThread::HandOver()
{
    if (Cancelled() || !m_drawCallback)
        return;
    // A copy, so the step may safely replace the callback while it runs.
    const auto callback = m_drawCallback;
    try {
        callback();
    } catch (...) {
        m_stepFailed.store(true);
    }
}

} // namespace tarvane
