#pragma once

#include "Notify.h"

#include <QPixmap>
#include <QWidget>

class QTimer;

namespace tarvane {

// A push button that clicks once when released over it and, while held down, again and
// again: first 400 ms after the press, then every 100 ms, pausing while the pointer is
// off the button. Never takes the keyboard focus.
class TRepeatSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TRepeatSpeedButton(QWidget* parent);

    // The picture drawn centred on the button; its bottom-left pixel's colour is transparent.
    const QPixmap& Glyph() const { return m_glyph; }
    void SetGlyph(const QPixmap& glyph);

    TNotifyEvent OnPress; // the left button went down on it, before the repeat is armed
    TNotifyEvent OnClick; // each repeat and the release over the button

    static constexpr int FirstRepeatDelay = 400;
    static constexpr int RepeatInterval = 100;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool DrawnPressed() const { return m_down && m_hot; }
    void SetHot(bool hot);
    void TimerExpired();
    void Click();

    QPixmap m_glyph;
    QTimer* m_repeatTimer = nullptr; // made on the first press
    bool m_down = false;             // the left button went down here and is still held
    bool m_hot = false;              // the pointer is over the button
};

} // namespace tarvane
