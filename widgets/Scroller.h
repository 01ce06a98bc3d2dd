#pragma once

#include "Notify.h"
#include "TColor.h"

#include <QWidget>

namespace tarvane {

// The small two-arrow scroller of a tab strip. Position runs from Min to Max; an arrow
// that cannot move the position any further is drawn disabled.
class TScroller : public QWidget {
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 24;
    static constexpr int DefaultHeight = 13;

    explicit TScroller(QWidget* parent = nullptr);

    int Min() const { return m_min; }
    int Max() const { return m_max; }
    // Sets the range; the position is kept inside it. An empty range (Max <= Min)
    // disables both arrows.
    void SetRange(int min, int max);
    int Position() const { return m_position; }
    void SetPosition(int value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    bool CanScrollLeft() const { return m_position > m_min; }
    bool CanScrollRight() const { return m_position < m_max; }

    // Raised when a click moves the position.
    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect LeftArrowRect() const;
    QRect RightArrowRect() const;

    int m_min = 0;
    int m_max = 0;
    int m_position = 0;
    TColor m_color = clBtnFace;
};

} // namespace tarvane
