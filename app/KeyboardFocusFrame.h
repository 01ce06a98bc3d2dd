#pragma once

#include <QList>
#include <QWidget>

namespace tarvane {

// A one-pixel frame around the focused control among those given (the unit lists and the
// precision spinners, which show no focus of their own on the window's dark colours), shown
// once the keyboard has moved the focus there. A focus brought by the mouse hides it again,
// so that the window looks as it always did to a mouse user and before any key.
class TKeyboardFocusFrame : public QWidget {
public:
    TKeyboardFocusFrame(QWidget* parent, const QList<QWidget*>& framed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FrameAround(const QWidget* widget);

    bool m_keyboard = false; // the keyboard moved the focus last
};

} // namespace tarvane
