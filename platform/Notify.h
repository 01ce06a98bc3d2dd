#pragma once

#include <functional>

class QObject;

namespace tarvane {

// A notification slot: an owner fills it with a handler, and may empty it (assign nullptr)
// to silence the notification while it changes the control itself.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// Raises a notification if its slot is filled.
inline void Notify(const TNotifyEvent& event, QObject* sender)
{
    if (event)
        event(sender);
}

} // namespace tarvane
