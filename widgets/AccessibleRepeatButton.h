#pragma once

#include <QAccessibleWidget>

namespace tarvane {

class TRepeatSpeedButton;

// A repeat button as a screen reader sees it: a push button that can be pressed. A spin
// box's buttons belong to the box they serve, not to the container that lays them out.
class TAccessibleRepeatButton : public QAccessibleWidget {
public:
    explicit TAccessibleRepeatButton(TRepeatSpeedButton* button);

    QAccessibleInterface* parent() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    TRepeatSpeedButton* Button() const;
};

} // namespace tarvane
