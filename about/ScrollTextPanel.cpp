#include "ScrollTextPanel.h"

#include <QPainter>

namespace tarvane {

TScrollTextPanel::TScrollTextPanel(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

QString TScrollTextPanel::Text() const
{
    return m_text;
}

void TScrollTextPanel::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

TColor TScrollTextPanel::Color() const
{
    return m_color;
}

void TScrollTextPanel::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

TColor TScrollTextPanel::FontColor() const
{
    return m_fontColor;
}

void TScrollTextPanel::SetFontColor(TColor color)
{
    if (color == m_fontColor)
        return;
    m_fontColor = color;
    update();
}

Qt::Alignment TScrollTextPanel::Alignment() const
{
    return m_alignment;
}

void TScrollTextPanel::SetAlignment(Qt::Alignment alignment)
{
    alignment &= Qt::AlignHorizontal_Mask;
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    update();
}

bool TScrollTextPanel::WordWrap() const
{
    return m_wordWrap;
}

void TScrollTextPanel::SetWordWrap(bool wordWrap)
{
    if (wordWrap == m_wordWrap)
        return;
    m_wordWrap = wordWrap;
    update();
}

int TScrollTextPanel::TextFlags() const
{
    // "&" marks an accelerator ("&&" gives "&"), tabs expand, each line break starts a line.
    int flags = int(m_alignment) | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextExpandTabs;
    if (m_wordWrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

void TScrollTextPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor color = ColorToQColor(m_color);
    painter.fillRect(rect(), color.isValid() ? color : palette().color(QPalette::Window));
    painter.setPen(ColorToQColor(m_fontColor));
    painter.setFont(font());
    painter.drawText(rect(), TextFlags(), m_text);
}

} // namespace tarvane
