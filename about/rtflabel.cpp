#include "rtflabel.h"

#include <QPainter>
#include <cmath>

namespace tarvane {

namespace {

// Pixels to twips, rounded to the nearest integer with halves to even.
int ToTwips(qreal pixels, qreal dpi)
{
    return int(std::nearbyint(pixels / dpi * TwipsPerInch));
}

} // namespace

TRTFLabel::TRTFLabel(QWidget* parent)
    : QWidget(parent)
{
}

void TRTFLabel::Loaded()
{
    m_loading = false;
    m_engine.SetWordWrap(false);
}

QByteArray TRTFLabel::RichText() const
{
    return m_richText;
}

void TRTFLabel::SetRichText(const QByteArray& richText)
{
    m_richText = richText;
}

bool TRTFLabel::WordWrap() const
{
    return m_wordWrap;
}

void TRTFLabel::SetWordWrap(bool wordWrap)
{
    m_wordWrap = wordWrap;
    if (m_loading || !parentWidget())
        return;
    m_engine.SetWordWrap(wordWrap);
    update();
}

bool TRTFLabel::Transparent() const
{
    return m_transparent;
}

void TRTFLabel::SetTransparent(bool transparent)
{
    if (m_transparent == transparent)
        return;
    m_transparent = transparent;
    update();
}

TColor TRTFLabel::Color() const
{
    return m_color;
}

void TRTFLabel::SetColor(TColor color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

QString TRTFLabel::Version() const
{
    return QStringLiteral("1.3.0.0");
}

QRect TRTFLabel::TwipsRect(const QRect& pixels, qreal dpiX, qreal dpiY)
{
    const int left = ToTwips(pixels.x() + 1, dpiX);
    const int top = ToTwips(pixels.y() + 1, dpiY);
    const int width = ToTwips(pixels.width() - 1, dpiX);
    const int height = ToTwips(pixels.height() - 1, dpiY);
    return QRect(left, top, width, height);
}

void TRTFLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), ColorToQColor(m_color));
    m_engine.SetDefaultFont(font());
    m_engine.Load(m_richText);
    m_engine.FormatRange(painter,
                         TwipsRect(rect(), TRichTextEngine::HorizontalDpi(this),
                                   TRichTextEngine::VerticalDpi(this)));
}

} // namespace tarvane
