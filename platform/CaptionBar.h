#pragma once

#include <QWidget>

class QToolButton;

namespace tarvane {

// A window's caption drawn by the program, for Wayland compositors that leave decorations to
// their clients: the window's icon and title over the classic caption gradient, a minimize
// button when the window asks for one, and a close button that closes the window as its
// close box would. Dragging the caption moves the window. There is no maximize button: the
// program's windows have a fixed size, and a maximized or full-screen state the compositor
// imposes is left at once.
class TCaptionBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 22;

    // Puts a caption above the window's contents when the windows draw their own captions
    // (OwnWindowCaptions); otherwise does nothing. Call once the window's contents exist.
    static void InstallOn(QWidget* window);

    explicit TCaptionBar(QWidget* window);

    // The title's face: the classic caption's bold sans serif, the same on every window.
    static QFont TitleFont();

    QToolButton* MinimizeButton() const { return m_minimize; }
    QToolButton* CloseButton() const { return m_close; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* CreateButton(const QString& name, const QPixmap& glyph);
    void PlaceButtons();
    void LetCompositorSizeWindow();
    void KeepFixedSize() const;
    static QPixmap CloseGlyph();
    static QPixmap MinimizeGlyph();

    QToolButton* m_minimize = nullptr;
    QToolButton* m_close = nullptr;
};

} // namespace tarvane
