#pragma once

#include "TColor.h"

#include <QFont>
#include <QLabel>

namespace tarvane {

enum TLabelPosition {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter,
};

// Where and how a caption stands beside its control.
struct TLabelLook {
    TLabelPosition Position = lpLeftTop;
    int Margin = 4;
    QFont Font;
    TColor FontColor = clWindowText;
};

// The caption label of a control. It lives in the control's parent, so that it can stand
// outside the control, and follows the control by watching it: its place, visibility,
// enabled state and parent. The control owns it and deletes it; the label never outlives it.
class TBoundLabel : public QLabel {
    Q_OBJECT
public:
    explicit TBoundLabel(QWidget* control);

    void SetLook(const TLabelLook& look);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    void FollowVisibility();

    QWidget* const m_control;
    TLabelLook m_look;
};

} // namespace tarvane
