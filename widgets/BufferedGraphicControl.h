#pragma once

#include "BaseGraphicControl.h"

#include <QImage>

class QPainter;

namespace tarvane {

// A graphic control that composes each paint in an off-screen image of its own size and
// shows it in one copy, so a repaint never shows a half-drawn state. When Transparent, the
// image starts see-through and the toolkit paints whatever lies beneath the control first.
class TBufferedGraphicControl : public TBaseGraphicControl {
    Q_OBJECT
public:
    explicit TBufferedGraphicControl(QWidget* parent = nullptr);

    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);

protected:
    // Starts the off-screen image: clear when Transparent, else filled with Color.
    virtual void PaintBackground(QPainter& painter);
    // Draws the control's own picture over the background.
    virtual void PaintForeground(QPainter& painter) = 0;

    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_buffer;
    bool m_transparent = false;
};

} // namespace tarvane
