// The value box's look and layout: colours, the flat style, the text rectangle, the spin
// buttons' place and the box's height. The rest of the box is in NumSpinEdit.cpp.
#include "NumSpinEdit.h"

#include "RefusalCue.h"
#include "SpinButtons.h"

#include <QApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QStyleOptionFrame>

#include <algorithm>

namespace tarvane {

// Look and layout ----------------------------------------------------------------------------

void TNumSpinEdit::SetEditorEnabled(bool enabled)
{
    m_editorEnabled = enabled;
    ApplyEditorState();
}

void TNumSpinEdit::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    ApplyEditorState();
}

void TNumSpinEdit::ApplyEditorState()
{
    // The line edit's read-only mode also stops clipboard pastes and cuts.
    setReadOnly(m_readOnly || !m_editorEnabled);
}

void TNumSpinEdit::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    AdjustHeight();
}

void TNumSpinEdit::SetEditAlign(TEditAlign align)
{
    m_editAlign = align;
    const Qt::Alignment horizontal = align == eaCenter ? Qt::AlignHCenter
        : align == eaRight                             ? Qt::AlignRight
                                                       : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignVCenter);
}

void TNumSpinEdit::SetFlat(bool flat)
{
    m_flat = flat;
    if (!m_loading)
        ApplyFlat();
}

void TNumSpinEdit::ApplyFlat()
{
    if (m_flat) {
        m_normalColor = m_color;
        m_flatTextRect = true;
    }
    setFrame(!m_flat);
    PlaceSpinButtons();
    PlaceTextRect();
    AdjustHeight();
    update();
}

void TNumSpinEdit::SetFlatLineColor(TColor color)
{
    m_flatLineColor = color;
    update();
}

void TNumSpinEdit::SetColor(TColor color)
{
    m_color = color;
    update();
}

void TNumSpinEdit::SetFocusBorderColor(TColor color)
{
    m_focusBorderColor = color;
    update();
}

void TNumSpinEdit::SetFontColor(TColor color)
{
    m_fontColor = color;
    ApplyFontColor();
}

void TNumSpinEdit::ApplyFontColor()
{
    const QColor color = ColorToQColor(m_fontColor);
    if (!color.isValid())
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, color);
    setPalette(palette);
}

void TNumSpinEdit::paintEvent(QPaintEvent* event)
{
    const QColor background = ColorToQColor(m_color);
    if (background.isValid())
        QPainter(this).fillRect(rect(), background);
    QLineEdit::paintEvent(event);

    QPainter painter(this);
    const QColor line = ColorToQColor(m_flatLineColor);
    if (m_flat && line.isValid())
        painter.fillRect(QRect(m_textRect.left(), height() - 1, m_textRect.width(), 1), line);
    const QColor frame = ColorToQColor(m_focusBorderColor);
    if (hasFocus() && frame.isValid()) {
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (m_refusalCue->Showing()) {
        painter.setPen(QPen(ColorToQColor(m_fontColor), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void TNumSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    if (event->size() != m_textRectSize)
        m_flatTextRect = false; // a real resize places the text rectangle anew
    PlaceSpinButtons();
    PlaceTextRect();
    AdjustHeight();
}

void TNumSpinEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        m_flatTextRect = true;
        PlaceTextRect();
        AdjustHeight();
        break;
    case QEvent::ApplicationPaletteChange:
        ApplyFontColor(); // a system text colour follows the desktop
        break;
    default:
        break;
    }
}

void TNumSpinEdit::PlaceSpinButtons()
{
    constexpr int width = TSpinButtons::MinWidth;
    if (hasFrame())
        m_spinButtons->setGeometry(this->width() - width - 4, 2, width, height() - 6);
    else
        m_spinButtons->setGeometry(this->width() - width, 0, width, height() - 1);
}

void TNumSpinEdit::PlaceTextRect()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    // Right edge (exclusive) clear of the spin buttons.
    const int right = m_spinButtons->x() - (hasFrame() ? 2 : 4);
    QRect textRect;
    if (m_flatTextRect)
        textRect = QRect(2, 4, right - 2, height() - 8);
    else if (hasFrame())
        textRect =
            QRect(contents.left(), contents.top(), right - contents.left(), contents.height() + 1);
    else
        textRect = QRect(2, 2, right - 2, height() - 1); // to one pixel below the box
    textRect.setWidth(std::max(0, textRect.width()));
    textRect.setHeight(std::max(0, textRect.height()));
    m_textRect = textRect;
    m_textRectSize = size();
    setTextMargins(textRect.left() - contents.left(), textRect.top() - contents.top(),
                   contents.right() - textRect.right(), contents.bottom() - textRect.bottom());
}

void TNumSpinEdit::AdjustHeight()
{
    // While loading, the border and font are not final yet: Loaded() adjusts once.
    if (m_loading)
        return;
    const int required = RequiredHeight();
    if (m_autoSize && height() < required)
        resize(width(), required);
}

int TNumSpinEdit::RequiredHeight() const
{
    const int cell = fontMetrics().height();
    const int systemCell = QFontMetrics(QApplication::font()).height();
    return cell + std::min(systemCell, cell) / 4 + 2 + (hasFrame() ? 4 : 0);
}

} // namespace tarvane
