#include "CaptionBar.h"

#include "PixelFont.h"
#include "WaylandSession.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWindow>

namespace tarvane {

namespace {

constexpr int ButtonWidth = 16;
constexpr int ButtonHeight = 14;
constexpr int Margin = 2;
constexpr int IconSize = 16;

// Glyphs of the caption buttons, drawn black on transparent at twice the size they show, so
// they stay sharp up to twice the density.
constexpr int GlyphScale = 2;

QPixmap EmptyGlyph()
{
    QPixmap glyph(8 * GlyphScale, 7 * GlyphScale);
    glyph.fill(Qt::transparent);
    glyph.setDevicePixelRatio(GlyphScale);
    return glyph;
}

// While the compositor moves a window it holds the pointer, and the release that ends the move
// is its own: the program never learns that the button went up. Qt would keep the press going:
// the caption keeping the pointer to itself, and Qt 6.4's Wayland layer reporting the button
// down with every move after it, so that nothing in the window lights under the pointer until
// the next click. This ends the press for the window's widgets at once, and takes the button
// out of the moves that follow until the button goes down or up again.
class PressTakenByCompositor : public QObject {
public:
    PressTakenByCompositor(QWindow* window, const QMouseEvent& press)
        : QObject(window)
        , m_button(press.button())
    {
        QMouseEvent release(QEvent::MouseButtonRelease, press.scenePosition(),
                            press.scenePosition(), press.globalPosition(), m_button,
                            press.buttons() & ~m_button, press.modifiers(), press.pointingDevice());
        QCoreApplication::sendEvent(window, &release);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto* move = static_cast<QMouseEvent*>(event);
            if (!(move->buttons() & m_button))
                return false;
            QMouseEvent free(QEvent::MouseMove, move->position(), move->scenePosition(),
                             move->globalPosition(), Qt::NoButton, move->buttons() & ~m_button,
                             move->modifiers(), move->pointingDevice());
            QCoreApplication::sendEvent(watched, &free);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            watched->removeEventFilter(this);
            deleteLater();
            return false;
        default:
            return false;
        }
    }

private:
    Qt::MouseButton m_button;
};

} // namespace

void TCaptionBar::InstallOn(QWidget* window)
{
    if (!OwnWindowCaptions())
        return;
    auto* caption = new TCaptionBar(window);
    if (window->layout()) {
        // The window's layout makes room above everything it holds.
        QMargins margins = window->contentsMargins();
        margins.setTop(margins.top() + Height);
        window->setContentsMargins(margins);
    } else {
        // Laid out by hand: everything moves down, and the fixed size grows by the caption.
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child != caption)
                child->move(child->x(), child->y() + Height);
        }
        window->setFixedSize(window->width(), window->height() + Height);
    }
    caption->setGeometry(0, 0, window->width(), Height);
    caption->raise();
}

TCaptionBar::TCaptionBar(QWidget* window)
    : QWidget(window)
{
    setObjectName(QStringLiteral("CaptionBar"));
    if (window->windowFlags() & Qt::WindowMinimizeButtonHint) {
        m_minimize = CreateButton(QStringLiteral("Réduire"), MinimizeGlyph());
        connect(m_minimize, &QToolButton::clicked, window, &QWidget::showMinimized);
    }
    m_close = CreateButton(QStringLiteral("Fermer"), CloseGlyph());
    connect(m_close, &QToolButton::clicked, window, &QWidget::close);
    window->installEventFilter(this);
    resize(window->width(), Height);
    PlaceButtons();
}

QToolButton* TCaptionBar::CreateButton(const QString& name, const QPixmap& glyph)
{
    auto* button = new QToolButton(this);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setIcon(QIcon(glyph));
    button->setIconSize(glyph.deviceIndependentSize().toSize());
    button->setFixedSize(ButtonWidth, ButtonHeight);
    button->setFocusPolicy(Qt::NoFocus); // the keyboard stays with the window's controls
    return button;
}

void TCaptionBar::PlaceButtons()
{
    const int top = (Height - ButtonHeight) / 2;
    int right = width() - Margin;
    m_close->move(right - ButtonWidth, top);
    right -= ButtonWidth + Margin;
    if (m_minimize)
        m_minimize->move(right - ButtonWidth, top);
}

QFont TCaptionBar::TitleFont()
{
    // Not the window's own face: MS Sans Serif, the main window's, has no bold.
    return PixelFont(QStringLiteral("Arial"), 11, true);
}

QPixmap TCaptionBar::CloseGlyph()
{
    QPixmap glyph = EmptyGlyph();
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawLine(QPointF(1, 0.5), QPointF(7, 6.5));
    painter.drawLine(QPointF(7, 0.5), QPointF(1, 6.5));
    return glyph;
}

QPixmap TCaptionBar::MinimizeGlyph()
{
    QPixmap glyph = EmptyGlyph();
    QPainter painter(&glyph);
    painter.fillRect(QRectF(1, 5, 6, 2), Qt::black);
    return glyph;
}

void TCaptionBar::paintEvent(QPaintEvent* /*event*/)
{
    // The classic caption: a gradient from navy when the window is active, greys otherwise.
    const bool active = window()->isActiveWindow();
    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, active ? QColor(0, 0, 128) : QColor(128, 128, 128));
    gradient.setColorAt(1, active ? QColor(16, 132, 208) : QColor(192, 192, 192));
    QPainter painter(this);
    painter.fillRect(rect(), gradient);

    const QRect iconBox(Margin, (Height - IconSize) / 2, IconSize, IconSize);
    window()->windowIcon().paint(&painter, iconBox);

    painter.setFont(TitleFont());
    painter.setPen(active ? QColor(Qt::white) : QColor(212, 208, 200));
    const int buttonsLeft = (m_minimize ? m_minimize : m_close)->x();
    const QRect titleBox(iconBox.right() + 1 + 2 * Margin, 0,
                         buttonsLeft - iconBox.right() - 3 * Margin, Height);
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight,
                                                      titleBox.width()));
}

void TCaptionBar::LetCompositorSizeWindow()
{
    // A compositor may maximize any window from the keyboard, and a maximized window must
    // then take the size it is given or the compositor ends the connection. With no maximum
    // size on the native window, Qt takes it for the moment the window stays maximized;
    // any other size the compositor asks is declined (KeepFixedSize).
    if (QWindow* const native = window()->windowHandle())
        native->setMaximumSize(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void TCaptionBar::KeepFixedSize() const
{
    // Outside those states, a size the compositor asks (a resize by its own key and button)
    // may be declined: back to the fixed one.
    QWidget* const fixed = window();
    if (fixed->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)
        || fixed->size() == fixed->minimumSize())
        return;
    QMetaObject::invokeMethod(
        fixed, [fixed] { fixed->resize(fixed->minimumSize()); }, Qt::QueuedConnection);
}

void TCaptionBar::mousePressEvent(QMouseEvent* event)
{
    // The compositor moves the window: a client cannot place itself under Wayland.
    QWindow* const native = window()->windowHandle();
    if (event->button() != Qt::LeftButton || !native || !native->startSystemMove())
        return;
    new PressTakenByCompositor(native, *event); // owned by the native window
}

bool TCaptionBar::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        KeepFixedSize();
        resize(window()->width(), Height);
        PlaceButtons();
        break;
    case QEvent::Show:
        LetCompositorSizeWindow();
        break;
    case QEvent::WindowStateChange:
        // A fixed-size window has no use for these states: back to its own size.
        if (window()->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
            QMetaObject::invokeMethod(window(), &QWidget::showNormal, Qt::QueuedConnection);
        break;
    case QEvent::ActivationChange:
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
        update();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tarvane
