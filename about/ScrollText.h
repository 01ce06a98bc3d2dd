#pragma once

#include "TColor.h"

#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <optional>

class QMouseEvent;

namespace tarvane {

class TScrollDrawThread;
class TScrollTextPanel;

// Where the text enters the strip; it leaves through the opposite edge.
enum TScrollDirection { drFromLeft, drFromRight, drFromTop, drFromBottom };

// A strip that moves a block of text through itself a few pixels at a time, wrapping around
// once the text has left. A worker thread paces the steps; the steps themselves, the
// measuring and the painting run on the user-interface thread. The user may drag the text.
// While a strip exists it shortens the application's hint delay to match its own pace.
class TScrollText : public QWidget {
    Q_OBJECT
public:
    explicit TScrollText(QWidget* parent = nullptr);
    ~TScrollText() override;

    // Every write lays the text out again and restarts from the starting position.
    bool Active() const;
    void SetActive(bool active);

    // Milliseconds between two steps.
    std::uint32_t Delay() const;
    void SetDelay(std::uint32_t milliseconds);

    // Pixels per step at full speed; 0 stands still, a negative value reverses the motion.
    int ScrollPixels() const;
    void SetScrollPixels(int pixels);

    TScrollDirection ScrollDirection() const;
    void SetScrollDirection(TScrollDirection direction);

    QStringList Items() const;
    void SetItems(const QStringList& items);

    QFont Font() const;
    void SetFont(const QFont& font);

    // The colour of the text (a Qt font carries none).
    TColor FontColor() const;
    void SetFontColor(TColor color);

    TColor BackgroundColor() const;
    void SetBackgroundColor(TColor color);

    // Horizontal placement of the lines: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment Alignment() const;
    void SetAlignment(Qt::Alignment alignment);

    bool WordWrap() const;
    void SetWordWrap(bool wordWrap);

    // Slows down to a stop over the next steps (active strip only).
    void Pause();
    // Restarts a stopped strip, speeding up over the first steps (inactive strip only).
    void Unpause();
    // Sets the position to the starting position of the direction; the next step moves there.
    void Reset();

    // One timed step: the worker hands it over every Delay milliseconds while active.
    void Step();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class PauseState { Running, SlowingDown, SpeedingUp };

    bool Vertical() const;
    int StartPosition() const;
    int HintPauseFor(std::uint32_t delay) const;
    std::optional<int> NextStepSize();
    void MoveBy(int pixels);
    void WrapDragged();
    void ApplyPosition();
    QStringList PanelLines() const;
    void Relayout();
    void AttachStep();
    int DragCoordinate(const QMouseEvent* event) const;
    void DragStart(const QMouseEvent* event);
    void DragMove(const QMouseEvent* event);
    void DragEnd();

    TScrollTextPanel* m_panel = nullptr;
    TScrollDrawThread* m_worker = nullptr;
    PauseState m_pauseState = PauseState::Running;
    bool m_active = false;
    std::uint32_t m_delay = 50;
    int m_scrollPixels = 1;
    int m_position = 0;
    TScrollDirection m_scrollDirection = drFromBottom;
    int m_rampCounter = 0;
    QStringList m_items;
    int m_savedHintPause = 0;
    int m_lastDragCoordinate = 0;
    bool m_dragging = false;
};

} // namespace tarvane
