#pragma once

#include "RichTextEngine.h"
#include "TColor.h"

#include <QByteArray>
#include <QWidget>

namespace tarvane {

// A label that paints a small RTF document instead of a caption, through a rich-text
// engine it owns. The document is reloaded and laid out at every paint, so it suits a
// title of a few words.
class TRTFLabel : public QWidget {
    Q_OBJECT

public:
    explicit TRTFLabel(QWidget* parent);

    // Ends layout loading: the engine's word wrap is switched off whatever WordWrap holds,
    // and later WordWrap writes reach the engine.
    void Loaded();

    // The document as 8-bit RTF (or plain text); shown from the next paint on.
    QByteArray RichText() const;
    void SetRichText(const QByteArray& richText);

    bool WordWrap() const;
    void SetWordWrap(bool wordWrap);

    // A transparent label draws only the document's glyphs over what lies beneath;
    // otherwise its rectangle is first filled with Color.
    bool Transparent() const;
    void SetTransparent(bool transparent);

    TColor Color() const;
    void SetColor(TColor color);

    QString Version() const;

    // The rectangle (x, y, width, height in twips) a label of this pixel rectangle renders
    // into: the pixel rectangle less one pixel on the left and top.
    static QRect TwipsRect(const QRect& pixels, qreal dpiX, qreal dpiY);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TRichTextEngine m_engine;
    QByteArray m_richText;
    bool m_wordWrap = false;
    bool m_transparent = false;
    TColor m_color = clBtnFace;
    bool m_loading = true;
};

} // namespace tarvane
