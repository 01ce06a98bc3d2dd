#pragma once

#include <QObject>

class QTimer;
class QWidget;

namespace tarvane {

// A short visible sign that a widget refused a key, for desktops without a bell: for a moment
// the widget draws a frame in its text colour (it asks Showing() as it paints). Where the bell
// sounds nothing is shown, so there the widget looks as it always has.
class TRefusalCue : public QObject {
    Q_OBJECT
public:
    explicit TRefusalCue(QWidget* widget);

    // Starts the cue, or lengthens it when one is showing.
    void Show();
    bool Showing() const;

    static constexpr int Duration = 150; // milliseconds

private:
    void End();

    QWidget* const m_widget;
    QTimer* const m_timer;
};

} // namespace tarvane
