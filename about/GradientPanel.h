#pragma once

#include "GradientFill.h"
#include "TColor.h"

#include <QWidget>

namespace tarvane {

// A panel filled with a linear gradient between two colours, built from bands (or, for
// the diagonal modes, lines) ColorWidth pixels wide. It covers its whole rectangle and
// is redrawn whole at every paint.
class TGradientPanel : public QWidget {
    Q_OBJECT

public:
    explicit TGradientPanel(QWidget* parent);

    // Ends layout loading: from now on a property change repaints at once.
    void Loaded();

    TColor StartColor() const;
    void SetStartColor(TColor color);

    TColor EndColor() const;
    void SetEndColor(TColor color);

    // Values below 1 are ignored.
    int ColorWidth() const;
    void SetColorWidth(int width);

    TGradientDirection Direction() const;
    void SetDirection(TGradientDirection direction);

    bool SwapColors() const;
    void SetSwapColors(bool swap);

    // When true, dragging the panel with the left button moves its window.
    bool FormDrag() const;
    void SetFormDrag(bool formDrag);

    QString Version() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Changed();
    void PaintBands(QPainter& painter, bool horizontal, bool half, const QColor& start,
                    const QColor& end) const;
    void PaintChords(QPainter& painter, const QColor& start, const QColor& end) const;

    TColor m_startColor = clLime;
    TColor m_endColor = clBlack;
    int m_colorWidth = 1;
    TGradientDirection m_direction = gdUpDown;
    bool m_swapColors = false;
    bool m_formDrag = false;
    bool m_loading = true;
};

} // namespace tarvane
