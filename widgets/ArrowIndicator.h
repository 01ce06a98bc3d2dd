#pragma once

#include "BufferedGraphicControl.h"

#include <QImage>

namespace tarvane {

class TTwoColorPalette;

enum TArrowDirection : int { pdLeft, pdRight, pdUp, pdDown };

// A thick arrow pointing left, right, up or down, shown dim or lit. The owner shows a state
// by the palette's colours: Low fills the dim arrow, High the lit one. The arrow is drawn
// centred; white in its picture is see-through.
class TArrowIndicator : public TBufferedGraphicControl {
    Q_OBJECT
public:
    explicit TArrowIndicator(QWidget* parent = nullptr);

    bool Active() const { return m_active; }
    void SetActive(bool value);

    TArrowDirection Direction() const { return m_direction; }
    // Values outside the enumeration are ignored.
    void SetDirection(TArrowDirection value);

    // The arrow's own palette; writing its colours recolours the arrow.
    TTwoColorPalette* Palette() const { return m_palette; }
    void SetPalette(const TTwoColorPalette& value);

    // When true, the arrow is lit while the pointer lies over its shape.
    bool TrackMouse() const { return m_trackMouse; }
    void SetTrackMouse(bool value);

protected:
    // Reloads the picture for Direction and recolours it from the palette.
    virtual void LoadAndRecolour();

    bool event(QEvent* event) override;
    void PaintForeground(QPainter& painter) override;
    void MouseLeave() override;
    void SysColorChanged() override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void PaletteChanged();
    QSize FrameSize() const;
    QRect FrameSource() const;
    QPoint FramePosition() const;
    int FrameSourceLeft() const;
    bool IsOverArrow(QPoint point) const;

    TTwoColorPalette* m_palette = nullptr; // owned as a child
    TArrowDirection m_direction = pdUp;
    bool m_active = false;
    bool m_trackMouse = false;
    bool m_pointerInside = false;
    QImage m_picture; // both frames, recoloured, white made see-through
    QImage m_hitMask; // 1 where the picture shows the arrow
};

} // namespace tarvane
