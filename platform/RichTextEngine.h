#pragma once

#include <QTextDocument>

class QFont;
class QPaintDevice;
class QPainter;
class QRect;

namespace tarvane {

struct TRtfContent;

// Rectangles given to the engine are in twips, this many to the inch.
inline constexpr qreal TwipsPerInch = 1440;

// Tarvane's rich-text engine: loads a document given as RTF (falling back to plain text)
// and renders it onto any painter within a rectangle given in twips (1440 per inch),
// leaving the background untouched.
class TRichTextEngine {
public:
    TRichTextEngine();
    TRichTextEngine(const TRichTextEngine&) = delete;
    TRichTextEngine& operator=(const TRichTextEngine&) = delete;

    // Replaces the document. Data that is not RTF shows as plain code page 1252 text,
    // up to its first zero byte. Returns whether the data was read as RTF.
    bool Load(QByteArrayView stream);

    // The font of plain text and of RTF text that names no font.
    void SetDefaultFont(const QFont& font);

    bool WordWrap() const;
    void SetWordWrap(bool wordWrap);

    // Draws the whole document, laid out for the painter's device, within the rectangle
    // (x, y, width, height in twips); nothing outside it is touched. Text without a colour of its own takes the window
    // text colour.
    void FormatRange(QPainter& painter, const QRect& twips);

    const QTextDocument& Document() const;

    // A device's logical resolution in dots per inch; 96 when it reports none.
    static qreal HorizontalDpi(const QPaintDevice* device);
    static qreal VerticalDpi(const QPaintDevice* device);

private:
    void LoadRtf(const TRtfContent& content);
    void LoadPlainText(QByteArrayView stream);

    QTextDocument m_document;
    bool m_wordWrap = true;
};

} // namespace tarvane
