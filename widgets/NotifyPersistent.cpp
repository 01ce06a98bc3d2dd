#include "NotifyPersistent.h"

namespace tarvane {

TNotifyPersistent::TNotifyPersistent(QObject* parent)
    : QObject(parent)
{
}

void TNotifyPersistent::BeginUpdate()
{
    ++m_updateCount;
}

void TNotifyPersistent::EndUpdate()
{
    if (m_updateCount > 0)
        --m_updateCount;
    Changed();
}

void TNotifyPersistent::Changed()
{
    if (m_updateCount == 0)
        Notify(OnChange, this);
}

} // namespace tarvane
