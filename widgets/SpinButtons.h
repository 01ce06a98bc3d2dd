#pragma once

#include "Notify.h"

#include <QPointer>
#include <QWidget>

namespace tarvane {

class TRepeatSpeedButton;

// The up and down buttons inside a box's right edge, stacked vertically: the up button
// takes the top (height + 2) / 2 pixels, the down button as many from there. The container
// never takes the keyboard focus; a press hands it to the box it serves first.
class TSpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButtons(QWidget* parent);

    static constexpr int MinWidth = 15;

    // The box the buttons serve: a press gives it the focus before the button steps.
    QWidget* FocusControl() const { return m_focusControl; }
    void SetFocusControl(QWidget* control);

    TRepeatSpeedButton* UpButton() const { return m_upButton; }
    TRepeatSpeedButton* DownButton() const { return m_downButton; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LoadGlyphs();
    void ButtonPressed();
    void PlaceButtons();

    TRepeatSpeedButton* m_upButton = nullptr;
    TRepeatSpeedButton* m_downButton = nullptr;
    QPointer<QWidget> m_focusControl; // forgotten if destroyed first
};

} // namespace tarvane
