#pragma once

#include <QByteArrayView>
#include <QRgb>
#include <QString>
#include <optional>
#include <vector>

namespace tarvane {

// What a piece of RTF text looks like. An empty Family or an empty Color means "the
// engine's default" (its default font, the automatic text colour).
struct TRtfCharFormat {
    QString Family;
    int HalfPoints = 24;
    bool Bold = false;
    bool Italic = false;
    std::optional<QRgb> Color;

    bool operator==(const TRtfCharFormat&) const = default;
};

struct TRtfRun {
    QString Text;
    TRtfCharFormat Format;
};

enum class TRtfAlignment { Left, Center, Right, Justify };

struct TRtfParagraph {
    TRtfAlignment Alignment = TRtfAlignment::Left;
    std::vector<TRtfRun> Runs;
};

// A document read from RTF, as paragraphs of formatted runs.
struct TRtfContent {
    std::vector<TRtfParagraph> Paragraphs;
};

// Limits that keep any input cheap to read: groups nested deeper than this make the
// input unreadable as RTF; a numeric parameter saturates at RtfMaxParameter.
inline constexpr int RtfMaxDepth = 128;
inline constexpr int RtfMaxParameter = 999'999'999;
inline constexpr int RtfMaxHalfPoints = 3276;

// Reads the RTF subset Tarvane's documents use: groups, control words with parameters,
// \'hh escapes in code page 1252, \u with \uc, the font and colour tables, paragraph
// alignment, bold, italic, font size and colour, \par and ignorable destinations.
// Returns nothing when the data is not RTF (it does not begin with "{\rtf") or nests
// groups deeper than RtfMaxDepth; any other input gives a document: an unclosed group
// ends with the data, text after the outermost group and from the first zero byte on is
// ignored, a truncated or malformed escape is dropped.
std::optional<TRtfContent> ReadRtf(QByteArrayView data);

// The character a code page 1252 byte stands for.
QChar Cp1252ToUnicode(unsigned char byte);

} // namespace tarvane
