#pragma once

#include "Notify.h"

#include <QObject>

#include <cstdint>

namespace tarvane {

// A small value object that tells its owner when it changes. Changes made between
// BeginUpdate() and EndUpdate() are told once, when the outermost update ends.
class TNotifyPersistent : public QObject {
    Q_OBJECT
public:
    explicit TNotifyPersistent(QObject* parent = nullptr);

    void BeginUpdate();
    // Ends one update; an unmatched call counts as the end of the outermost one.
    void EndUpdate();

    TNotifyEvent OnChange;

protected:
    // Notifies the owner, unless an update is in progress.
    void Changed();

private:
    std::int32_t m_updateCount = 0;
};

} // namespace tarvane
