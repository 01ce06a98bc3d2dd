#pragma once

#include "TColor.h"

#include <QWidget>

namespace tarvane {

// The text block that a scrolling strip moves through itself: it fills its whole area with
// its colour and draws its text from the top, with no margins.
class TScrollTextPanel : public QWidget {
    Q_OBJECT
public:
    explicit TScrollTextPanel(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

    TColor Color() const;
    void SetColor(TColor color);

    // The colour the text is drawn in (a Qt font carries none).
    TColor FontColor() const;
    void SetFontColor(TColor color);

    // Horizontal placement of the lines: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
    Qt::Alignment Alignment() const;
    void SetAlignment(Qt::Alignment alignment);

    bool WordWrap() const;
    void SetWordWrap(bool wordWrap);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int TextFlags() const;

    QString m_text;
    TColor m_color = clBtnFace;
    TColor m_fontColor = clWindowText;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_wordWrap = false;
};

} // namespace tarvane
