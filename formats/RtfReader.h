#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvane {

// What a piece of RTF text looks like. An empty Family or an empty Color means "the
// engine's default" (its default font, the automatic text colour).
// A colour as 0xRRGGBB.
using TRtfRgb = std::uint32_t;

struct TRtfCharFormat {
    std::u16string Family;
    int HalfPoints = 24;
    bool Bold = false;
    bool Italic = false;
    std::optional<TRtfRgb> Color;

    bool operator==(const TRtfCharFormat&) const = default;
};

// Text in UTF-16, always valid (a lone surrogate reads as U+FFFD).
struct TRtfRun {
    std::u16string Text;
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
std::optional<TRtfContent> ReadRtf(std::string_view data);

// The character a code page 1252 byte stands for.
char16_t Cp1252ToUnicode(unsigned char byte);

} // namespace tarvane
