#include "ArrowIndicator.h"

#include "BitmapResource.h"
#include "ScreenDensity.h"
#include "TwoColorPalette.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace tarvane {

namespace {

QString PictureResource(TArrowDirection direction)
{
    // clang-format off
    switch (direction) {
    case pdLeft: return QStringLiteral("LEFTARROW");
    case pdRight: return QStringLiteral("RIGHTARROW");
    case pdUp: return QStringLiteral("UPARROW");
    case pdDown: return QStringLiteral("DOWNARROW");
    }
    // clang-format on
    return {};
}

// A palette colour as a pixel; clNone leaves the fill see-through.
QRgb PixelOf(TColor color)
{
    const QColor resolved = ColorToQColor(color);
    return resolved.isValid() ? resolved.rgb() : qRgba(0, 0, 0, 0);
}

constexpr QRgb kDimFill = qRgb(0x00, 0x80, 0x00);
constexpr QRgb kLitFill = qRgb(0x00, 0xFF, 0x00);
constexpr QRgb kSeeThrough = qRgb(0xFF, 0xFF, 0xFF);

} // namespace

TArrowIndicator::TArrowIndicator(QWidget* parent)
    : TBufferedGraphicControl(parent)
    , m_palette(new TTwoColorPalette(this))
{
    m_palette->OnChange = [this](QObject*) { PaletteChanged(); };
    resize(50, 45);
    SetColor(clBlack);
    LoadAndRecolour();
}

void TArrowIndicator::SetActive(bool value)
{
    if (m_active == value)
        return;
    m_active = value;
    RepaintNow();
}

void TArrowIndicator::SetDirection(TArrowDirection value)
{
    if (m_direction == value || value < pdLeft || value > pdDown)
        return;
    m_direction = value;
    LoadAndRecolour();
    RepaintNow();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged); // it is named by its direction
        QAccessible::updateAccessibility(&event);
    }
}

void TArrowIndicator::SetPalette(const TTwoColorPalette& value)
{
    m_palette->Assign(value);
}

void TArrowIndicator::SetTrackMouse(bool value)
{
    m_trackMouse = value;
    setMouseTracking(value);
}

void TArrowIndicator::LoadAndRecolour()
{
    // Always from the resource, so an earlier recolouring never shows through.
    const QImage loaded =
        LoadBitmapResource(PictureResource(m_direction)).convertToFormat(QImage::Format_RGB32);
    m_hitMask = loaded.createMaskFromColor(kSeeThrough, Qt::MaskOutColor);

    const QRgb low = PixelOf(m_palette->Low());
    const QRgb high = PixelOf(m_palette->High());
    m_picture = QImage(loaded.size(), QImage::Format_ARGB32);
    for (int y = 0; y < loaded.height(); ++y) {
        for (int x = 0; x < loaded.width(); ++x) {
            // Each test looks at the loaded pixel, so one recolouring cannot feed the other.
            const QRgb pixel = loaded.pixel(x, y);
            QRgb shown = pixel;
            if (pixel == kSeeThrough)
                shown = qRgba(0, 0, 0, 0);
            else if (pixel == kDimFill)
                shown = low;
            else if (pixel == kLitFill)
                shown = high;
            m_picture.setPixel(x, y, shown);
        }
    }
    m_picture.setDevicePixelRatio(loaded.devicePixelRatio());
}

bool TArrowIndicator::event(QEvent* event)
{
    if (event->type() == DensityChangeEvent) {
        LoadAndRecolour();
        update();
        return true;
    }
    return TBufferedGraphicControl::event(event);
}

QSize TArrowIndicator::FrameSize() const
{
    const QSize picture = m_picture.deviceIndependentSize().toSize();
    return {picture.width() / 2, picture.height()};
}

QRect TArrowIndicator::FrameSource() const
{
    // In the picture's own pixels, which are finer than the control's on a dense screen.
    const qreal ratio = m_picture.devicePixelRatio();
    const QSize frame = FrameSize();
    return QRect(qRound(FrameSourceLeft() * ratio), 0, qRound(frame.width() * ratio),
                 qRound(frame.height() * ratio));
}

QPoint TArrowIndicator::FramePosition() const
{
    // Centred; a control smaller than the frame clips it on every side.
    const QSize frame = FrameSize();
    return {(width() - frame.width()) / 2, (height() - frame.height()) / 2};
}

int TArrowIndicator::FrameSourceLeft() const
{
    return m_active ? FrameSize().width() : 0;
}

void TArrowIndicator::PaintForeground(QPainter& painter)
{
    if (m_trackMouse)
        m_active = m_pointerInside;
    painter.drawImage(FramePosition(), m_picture, FrameSource());
}

bool TArrowIndicator::IsOverArrow(QPoint point) const
{
    const QRect frame(FramePosition(), FrameSize());
    if (!frame.contains(point))
        return false;
    const QPoint inFrame = point - frame.topLeft();
    const qreal ratio = m_picture.devicePixelRatio();
    const QPoint inPicture =
        FrameSource().topLeft() + QPoint(qFloor(inFrame.x() * ratio), qFloor(inFrame.y() * ratio));
    return m_hitMask.pixelIndex(inPicture) == 1;
}

void TArrowIndicator::mouseMoveEvent(QMouseEvent* event)
{
    TBufferedGraphicControl::mouseMoveEvent(event);
    if (!m_trackMouse)
        return;
    m_pointerInside = IsOverArrow(event->position().toPoint());
    RepaintNow();
}

void TArrowIndicator::MouseLeave()
{
    if (!m_trackMouse)
        return;
    m_pointerInside = false;
    RepaintNow();
}

void TArrowIndicator::SysColorChanged()
{
    LoadAndRecolour();
    RepaintNow();
}

void TArrowIndicator::PaletteChanged()
{
    LoadAndRecolour();
    RepaintNow();
}

} // namespace tarvane
