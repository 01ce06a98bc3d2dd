#include "RefusalCue.h"

#include "Beep.h"

#include <QTimer>
#include <QWidget>

namespace tarvane {

TRefusalCue::TRefusalCue(QWidget* widget)
    : QObject(widget)
    , m_widget(widget)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(Duration);
    connect(m_timer, &QTimer::timeout, this, &TRefusalCue::End);
}

void TRefusalCue::Show()
{
    if (BellSounds())
        return;
    m_timer->start();
    m_widget->update();
}

bool TRefusalCue::Showing() const
{
    return m_timer->isActive();
}

void TRefusalCue::End()
{
    m_widget->update();
}

} // namespace tarvane
