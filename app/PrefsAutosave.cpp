#include "PrefsAutosave.h"

#include <QTimer>

namespace tarvane {

TPrefsAutosave::TPrefsAutosave(std::function<bool()> save, std::chrono::milliseconds delay,
                               QObject* parent)
    : QObject(parent)
    , m_save(std::move(save))
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(delay);
    connect(m_timer, &QTimer::timeout, this, &TPrefsAutosave::Save);
}

void TPrefsAutosave::Changed()
{
    // Not restarted by later changes: a steady stream of keystrokes is saved every Delay,
    // not only once it stops.
    if (!m_timer->isActive())
        m_timer->start();
}

bool TPrefsAutosave::Pending() const
{
    return m_timer->isActive();
}

void TPrefsAutosave::Save()
{
    if (!m_save())
        m_timer->start();
}

} // namespace tarvane
