#include "RtfReader.h"

#include <algorithm>
#include <array>
#include <map>

namespace tarvane {

namespace {

// Where the text of the current group goes.
enum class Destination { Text, FontTable, ColorTable, Skip };

// Everything a group inherits from its parent and gets back when it closes.
struct GroupState {
    Destination destination = Destination::Text;
    int font = -1; // font number; -1 until chosen: the document's default font
    int colorIndex = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    TRtfAlignment alignment = TRtfAlignment::Left;
    int unicodeSkip = 1; // fallback characters that follow each \u
};

struct ColorEntry {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool set = false; // an entry without any component is the automatic colour
};

// Table sizes and name lengths beyond these are ignored, so no input grows them unbounded.
constexpr std::size_t MaxTableEntries = 1024;
constexpr std::size_t MaxFontNameLength = 256;

// Destinations whose text is never shown, skipped whole even without \*.
// clang-format off
constexpr std::array SkippedDestinations = {
    "author",  "background", "colorschememapping", "datastore", "doccomm", "fldinst",
    "filetbl", "footer",     "footerf",            "footerl",   "footerr", "footnote",
    "header",  "headerf",    "headerl",            "headerr",   "info",    "latentstyles",
    "listoverridetable",     "listtable",          "object",    "operator", "pict",
    "private", "revtbl",     "rsidtbl",            "stylesheet", "themedata", "title",
    "xmlnstbl", "generator",
};
// clang-format on

struct SpecialCharacter {
    const char* word;
    char16_t character;
};

constexpr std::array SpecialCharacters = {
    SpecialCharacter{"tab", u'\t'},           SpecialCharacter{"line", u'\u2028'},
    SpecialCharacter{"emdash", u'\u2014'},    SpecialCharacter{"endash", u'\u2013'},
    SpecialCharacter{"bullet", u'\u2022'},    SpecialCharacter{"lquote", u'\u2018'},
    SpecialCharacter{"rquote", u'\u2019'},    SpecialCharacter{"ldblquote", u'\u201C'},
    SpecialCharacter{"rdblquote", u'\u201D'},
};

// clang-format off
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// clang-format on

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// clang-format off
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// clang-format on

// A surrogate that lost its partner becomes U+FFFD, so the document holds valid UTF-16.
void ReplaceLoneSurrogates(std::u16string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
            text[i] = u'\uFFFD';
    }
}

// The name without the blanks around it (the spaces a font table puts before its ';').
std::u16string Trimmed(const std::u16string& name)
{
    const auto blank = [](char16_t c) {
        return (c >= u'\t' && c <= u'\r') || c == u' ' || c == u'\u0085' || c == u'\u00A0';
    };
    const auto first = std::find_if_not(name.begin(), name.end(), blank);
    const auto last = std::find_if_not(name.rbegin(), std::make_reverse_iterator(first), blank);
    return std::u16string(first, last.base());
}

// One pass over the data; every byte is looked at once (\bin data is stepped over),
// so the time is linear in the input whatever it holds.
class Reader {
public:
    explicit Reader(std::string_view data)
        : m_data(data)
    {
    }

    std::optional<TRtfContent> Read();

private:
    bool OpenGroup();
    bool CloseGroup();
    void ReadControl();
    void ControlSymbol(char symbol);
    void ControlWord(std::string_view word, std::optional<int> parameter);
    bool DestinationWord(std::string_view word);
    bool CharacterWord(std::string_view word, std::optional<int> parameter);
    void FormattingWord(std::string_view word, std::optional<int> parameter);
    void Character(char16_t character);
    void AppendText(char16_t character);
    void EndFontEntry();
    void EndColorEntry();
    void EndParagraph();
    TRtfCharFormat CurrentFormat() const;

    std::string_view m_data;
    std::size_t m_pos = 0;
    std::vector<GroupState> m_outerGroups;
    GroupState m_state;
    int m_pendingSkip = 0;
    int m_defaultFont = 0;
    std::map<int, std::u16string> m_fonts;
    int m_fontNumber = 0;
    std::u16string m_fontName;
    std::vector<ColorEntry> m_colors;
    ColorEntry m_color;
    TRtfParagraph m_paragraph;
    TRtfContent m_content;
};

std::optional<TRtfContent> Reader::Read()
{
    if (!m_data.starts_with("{\\rtf"))
        return std::nullopt;
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos++];
        switch (c) {
        case '{':
            if (!OpenGroup())
                return std::nullopt;
            break;
        case '}':
            if (!CloseGroup())
                m_pos = m_data.size(); // the document ends with its outermost group
            break;
        case '\\':
            ReadControl();
            break;
        case '\r':
        case '\n':
            break;
        default:
            Character(Cp1252ToUnicode(static_cast<unsigned char>(c)));
        }
    }
    if (!m_paragraph.Runs.empty())
        EndParagraph(); // text after the last \par
    for (TRtfParagraph& paragraph : m_content.Paragraphs)
        for (TRtfRun& run : paragraph.Runs)
            ReplaceLoneSurrogates(run.Text);
    return std::move(m_content);
}

bool Reader::OpenGroup()
{
    if (m_outerGroups.size() >= RtfMaxDepth)
        return false;
    m_outerGroups.push_back(m_state);
    m_pendingSkip = 0;
    return true;
}

// Returns false when the outermost group has closed.
bool Reader::CloseGroup()
{
    m_pendingSkip = 0;
    if (m_state.destination == Destination::FontTable)
        EndFontEntry();
    m_state = m_outerGroups.back();
    m_outerGroups.pop_back();
    return !m_outerGroups.empty();
}

void Reader::ReadControl()
{
    if (m_pos >= m_data.size())
        return; // a lone backslash at the end
    if (!IsLetter(m_data[m_pos])) {
        const char symbol = m_data[m_pos++];
        if (symbol == '\'') {
            const int high = m_pos < m_data.size() ? HexValue(m_data[m_pos]) : -1;
            const int low = m_pos + 1 < m_data.size() ? HexValue(m_data[m_pos + 1]) : -1;
            if (high < 0 || low < 0)
                return; // a truncated escape is dropped; what follows reads normally
            m_pos += 2;
            Character(Cp1252ToUnicode(static_cast<unsigned char>(high * 16 + low)));
        } else if (m_pendingSkip > 0) {
            --m_pendingSkip;
        } else {
            ControlSymbol(symbol);
        }
        return;
    }

    const std::size_t start = m_pos;
    while (m_pos < m_data.size() && IsLetter(m_data[m_pos]))
        ++m_pos;
    const std::string_view word = m_data.substr(start, m_pos - start);

    std::optional<int> parameter;
    const bool negative =
        m_pos + 1 < m_data.size() && m_data[m_pos] == '-' && IsDigit(m_data[m_pos + 1]);
    if (negative)
        ++m_pos;
    if (m_pos < m_data.size() && IsDigit(m_data[m_pos])) {
        long long value = 0;
        while (m_pos < m_data.size() && IsDigit(m_data[m_pos]))
            value = std::min<long long>(value * 10 + (m_data[m_pos++] - '0'), RtfMaxParameter);
        parameter = int(negative ? -value : value);
    }
    if (m_pos < m_data.size() && m_data[m_pos] == ' ')
        ++m_pos;

    if (m_pendingSkip > 0) {
        --m_pendingSkip; // a control word stands for one fallback character
        return;
    }
    ControlWord(word, parameter);
}

void Reader::ControlSymbol(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        Character(char16_t(symbol));
        break;
    case '~':
        Character(u'\u00A0');
        break;
    case '_':
        Character(u'\u2011');
        break;
    case '*':
        m_state.destination = Destination::Skip; // we know no optional destination
        break;
    case '\r':
    case '\n':
        ControlWord("par", std::nullopt);
        break;
    default:
        break; // optional hyphens and unknown symbols show nothing
    }
}

void Reader::ControlWord(std::string_view word, std::optional<int> parameter)
{
    if (DestinationWord(word) || CharacterWord(word, parameter))
        return;
    FormattingWord(word, parameter);
}

bool Reader::DestinationWord(std::string_view word)
{
    if (word == "fonttbl") {
        if (m_state.destination != Destination::Skip)
            m_state.destination = Destination::FontTable;
    } else if (word == "colortbl") {
        if (m_state.destination != Destination::Skip)
            m_state.destination = Destination::ColorTable;
        m_color = {};
    } else if (std::find(SkippedDestinations.begin(), SkippedDestinations.end(), word)
               != SkippedDestinations.end()) {
        m_state.destination = Destination::Skip;
    } else {
        return false;
    }
    return true;
}

bool Reader::CharacterWord(std::string_view word, std::optional<int> parameter)
{
    if (word == "u") {
        if (!parameter)
            return true;
        // Values above 32767 are written negative.
        Character(char16_t(*parameter < 0 ? *parameter + 65536 : *parameter));
        m_pendingSkip = m_state.unicodeSkip;
        return true;
    }
    if (word == "bin") {
        m_pos += std::min(std::size_t(std::max(parameter.value_or(0), 0)), m_data.size() - m_pos);
        return true;
    }
    for (const SpecialCharacter& special : SpecialCharacters) {
        if (word == special.word) {
            Character(special.character);
            return true;
        }
    }
    return false;
}

void Reader::FormattingWord(std::string_view word, std::optional<int> parameter)
{
    const bool on = parameter.value_or(1) != 0;
    if (word == "par") {
        if (m_state.destination == Destination::Text)
            EndParagraph();
    } else if (word == "pard") {
        m_state.alignment = TRtfAlignment::Left;
    } else if (word == "ql") {
        m_state.alignment = TRtfAlignment::Left;
    } else if (word == "qc") {
        m_state.alignment = TRtfAlignment::Center;
    } else if (word == "qr") {
        m_state.alignment = TRtfAlignment::Right;
    } else if (word == "qj") {
        m_state.alignment = TRtfAlignment::Justify;
    } else if (word == "plain") {
        const GroupState defaults;
        m_state.font = defaults.font;
        m_state.colorIndex = defaults.colorIndex;
        m_state.halfPoints = defaults.halfPoints;
        m_state.bold = defaults.bold;
        m_state.italic = defaults.italic;
    } else if (word == "b") {
        m_state.bold = on;
    } else if (word == "i") {
        m_state.italic = on;
    } else if (word == "fs") {
        const int halfPoints = parameter.value_or(0);
        m_state.halfPoints =
            halfPoints > 0 ? std::min(halfPoints, RtfMaxHalfPoints) : GroupState{}.halfPoints;
    } else if (word == "cf") {
        m_state.colorIndex = std::max(parameter.value_or(0), 0);
    } else if (word == "uc") {
        m_state.unicodeSkip = std::max(parameter.value_or(1), 0);
    } else if (word == "deff") {
        m_defaultFont = parameter.value_or(0);
    } else if (word == "f") {
        if (m_state.destination == Destination::FontTable)
            m_fontNumber = parameter.value_or(0);
        else
            m_state.font = parameter.value_or(0);
    } else if (m_state.destination == Destination::ColorTable) {
        const int value = std::clamp(parameter.value_or(0), 0, 255);
        if (word == "red")
            m_color.red = value;
        else if (word == "green")
            m_color.green = value;
        else if (word == "blue")
            m_color.blue = value;
        else
            return;
        m_color.set = true;
    }
}

// One character of text, whatever way it was written; it may be a \u fallback to skip.
void Reader::Character(char16_t character)
{
    if (m_pendingSkip > 0) {
        --m_pendingSkip;
        return;
    }
    switch (m_state.destination) {
    case Destination::Text:
        AppendText(character);
        break;
    case Destination::FontTable:
        if (character == u';')
            EndFontEntry();
        else if (m_fontName.size() < MaxFontNameLength)
            m_fontName.push_back(character);
        break;
    case Destination::ColorTable:
        if (character == u';')
            EndColorEntry();
        break;
    case Destination::Skip:
        break;
    }
}

void Reader::AppendText(char16_t character)
{
    const bool control =
        character < 0x20 ? character != u'\t' : (character >= 0x7F && character <= 0x9F);
    if (control)
        return;
    TRtfCharFormat format = CurrentFormat();
    if (m_paragraph.Runs.empty() || !(m_paragraph.Runs.back().Format == format))
        m_paragraph.Runs.push_back({{}, std::move(format)});
    m_paragraph.Runs.back().Text.push_back(character);
}

void Reader::EndFontEntry()
{
    const std::u16string name = Trimmed(m_fontName);
    m_fontName.clear();
    if (name.empty() || (m_fonts.size() >= MaxTableEntries && !m_fonts.contains(m_fontNumber)))
        return;
    m_fonts[m_fontNumber] = name;
}

void Reader::EndColorEntry()
{
    if (m_colors.size() < MaxTableEntries)
        m_colors.push_back(m_color);
    m_color = {};
}

// A paragraph takes the alignment in force where it ends.
void Reader::EndParagraph()
{
    m_paragraph.Alignment = m_state.alignment;
    m_content.Paragraphs.push_back(std::move(m_paragraph));
    m_paragraph = {};
}

TRtfCharFormat Reader::CurrentFormat() const
{
    TRtfCharFormat format;
    const auto font = m_fonts.find(m_state.font >= 0 ? m_state.font : m_defaultFont);
    if (font != m_fonts.end())
        format.Family = font->second;
    format.HalfPoints = m_state.halfPoints;
    format.Bold = m_state.bold;
    format.Italic = m_state.italic;
    const auto index = std::size_t(m_state.colorIndex);
    if (index < m_colors.size() && m_colors[index].set) {
        const ColorEntry& entry = m_colors[index];
        format.Color = TRtfRgb(entry.red) << 16 | TRtfRgb(entry.green) << 8 | TRtfRgb(entry.blue);
    }
    return format;
}

} // namespace

std::optional<TRtfContent> ReadRtf(std::string_view data)
{
    return Reader(data.substr(0, data.find('\0'))).Read();
}

char16_t Cp1252ToUnicode(unsigned char byte)
{
    // 0x80 to 0x9F differ from Latin-1; the five unassigned bytes keep their C1 value.
    static constexpr std::array<char16_t, 32> high = {
        u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
        u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
        u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
        u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
    };
    return byte >= 0x80 && byte <= 0x9F ? high[byte - 0x80] : char16_t(byte);
}

} // namespace tarvane
