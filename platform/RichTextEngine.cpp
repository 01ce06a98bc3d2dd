#include "RichTextEngine.h"

#include "RtfReader.h"
#include "TColor.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextOption>

namespace tarvane {

namespace {

Qt::Alignment ToQtAlignment(TRtfAlignment alignment)
{
    // clang-format off
    switch (alignment) {
    case TRtfAlignment::Center: return Qt::AlignHCenter;
    case TRtfAlignment::Right: return Qt::AlignRight;
    case TRtfAlignment::Justify: return Qt::AlignJustify;
    case TRtfAlignment::Left: break;
    }
    // clang-format on
    return Qt::AlignLeft;
}

QTextCharFormat ToCharFormat(const TRtfCharFormat& rtf)
{
    QTextCharFormat format;
    if (!rtf.Family.empty())
        format.setFontFamilies({QString::fromStdU16String(rtf.Family)});
    format.setFontPointSize(rtf.HalfPoints / 2.0);
    format.setFontWeight(rtf.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(rtf.Italic);
    if (rtf.Color)
        format.setForeground(QColor::fromRgb(*rtf.Color));
    return format;
}

qreal DpiOr96(int logicalDpi)
{
    return logicalDpi > 0 ? logicalDpi : 96;
}

} // namespace

TRichTextEngine::TRichTextEngine()
{
    m_document.setDocumentMargin(0);
    m_document.setUndoRedoEnabled(false);
    SetWordWrap(m_wordWrap);
}

bool TRichTextEngine::Load(QByteArrayView stream)
{
    const std::optional<TRtfContent> content =
        ReadRtf(std::string_view(stream.data(), std::size_t(stream.size())));
    if (content)
        LoadRtf(*content);
    else
        LoadPlainText(stream);
    return content.has_value();
}

void TRichTextEngine::LoadRtf(const TRtfContent& content)
{
    m_document.clear();
    QTextCursor cursor(&m_document);
    bool first = true;
    for (const TRtfParagraph& paragraph : content.Paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(ToQtAlignment(paragraph.Alignment));
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        for (const TRtfRun& run : paragraph.Runs)
            cursor.insertText(QString::fromStdU16String(run.Text), ToCharFormat(run.Format));
    }
}

void TRichTextEngine::LoadPlainText(QByteArrayView stream)
{
    const qsizetype end = stream.indexOf('\0');
    const QByteArrayView bytes = end < 0 ? stream : stream.first(end);
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text.append(QChar(Cp1252ToUnicode(static_cast<unsigned char>(byte))));
    m_document.setPlainText(text);
}

void TRichTextEngine::SetDefaultFont(const QFont& font)
{
    m_document.setDefaultFont(font);
}

bool TRichTextEngine::WordWrap() const
{
    return m_wordWrap;
}

void TRichTextEngine::SetWordWrap(bool wordWrap)
{
    m_wordWrap = wordWrap;
    QTextOption option = m_document.defaultTextOption();
    option.setWrapMode(wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    m_document.setDefaultTextOption(option);
}

void TRichTextEngine::FormatRange(QPainter& painter, const QRect& twips)
{
    QPaintDevice* const device = painter.device();
    const qreal dpiX = HorizontalDpi(device);
    const qreal dpiY = VerticalDpi(device);
    const QRectF target(twips.x() * dpiX / TwipsPerInch, twips.y() * dpiY / TwipsPerInch,
                        twips.width() * dpiX / TwipsPerInch, twips.height() * dpiY / TwipsPerInch);
    if (target.isEmpty())
        return;

    // Lay out for the device's resolution, then let go of it: the device may not outlive
    // this call.
    QAbstractTextDocumentLayout* const layout = m_document.documentLayout();
    layout->setPaintDevice(device);
    m_document.setTextWidth(target.width());

    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, ColorToQColor(clWindowText));
    context.clip = QRectF(QPointF(0, 0), target.size());
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    layout->draw(&painter, context);
    painter.restore();

    layout->setPaintDevice(nullptr);
}

const QTextDocument& TRichTextEngine::Document() const
{
    return m_document;
}

qreal TRichTextEngine::HorizontalDpi(const QPaintDevice* device)
{
    return DpiOr96(device ? device->logicalDpiX() : 0);
}

qreal TRichTextEngine::VerticalDpi(const QPaintDevice* device)
{
    return DpiOr96(device ? device->logicalDpiY() : 0);
}

} // namespace tarvane
