#include "VersionSource.h"

#include "VersionInfo.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <tuple>

namespace tarvane {

namespace {

constexpr std::uint32_t FixedFileInfoVersion = 0x00010000;

struct Token {
    enum Kind { End, Word, Number, String, Comma } kind = End;
    std::string text;
    std::uint32_t number = 0;
    int line = 1;
};

// Splits the source into words, numbers, strings and commas.
class Lexer {
public:
    explicit Lexer(std::string_view source)
        : m_source(source)
    {
    }

    Token Next()
    {
        SkipBlanks();
        Token token;
        token.line = m_line;
        if (m_pos >= m_source.size())
            return token;
        const char c = m_source[m_pos];
        if (c == ',') {
            ++m_pos;
            token.kind = Token::Comma;
        } else if (c == '"') {
            token.kind = Token::String;
            token.text = ReadString();
        } else if (IsDigit(c)) {
            token.kind = Token::Number;
            token.number = ReadNumber();
        } else if (IsWordChar(c)) {
            token.kind = Token::Word;
            while (m_pos < m_source.size() && IsWordChar(m_source[m_pos]))
                token.text += m_source[m_pos++];
        } else {
            Fail(std::string("unexpected character '") + c + "'");
        }
        return token;
    }

    [[noreturn]] void Fail(const std::string& message) const
    {
        throw std::runtime_error("line " + std::to_string(m_line) + ": " + message);
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsWordChar(char c)
    {
        return IsDigit(c) || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    }

    void SkipBlanks()
    {
        while (m_pos < m_source.size()) {
            if (m_source.substr(m_pos, 2) == "//") {
                m_pos = std::min(m_source.find('\n', m_pos), m_source.size());
            } else if (m_source.substr(m_pos, 2) == "/*") {
                const std::size_t close = m_source.find("*/", m_pos + 2);
                if (close == std::string_view::npos)
                    Fail("unterminated comment");
                m_line += int(std::count(m_source.begin() + m_pos, m_source.begin() + close, '\n'));
                m_pos = close + 2;
            } else if (m_source[m_pos] == ' ' || m_source[m_pos] == '\t' || m_source[m_pos] == '\r'
                       || m_source[m_pos] == '\n') {
                m_line += m_source[m_pos++] == '\n';
            } else {
                return;
            }
        }
    }

    // A quoted string; "" stands for one quote.
    std::string ReadString()
    {
        std::string text;
        for (++m_pos; m_pos < m_source.size(); ++m_pos) {
            if (m_source[m_pos] == '\n')
                break;
            if (m_source[m_pos] == '"') {
                if (m_source.substr(m_pos, 2) != "\"\"") {
                    ++m_pos;
                    return text;
                }
                ++m_pos;
            }
            text += m_source[m_pos];
        }
        Fail("unterminated string");
    }

    std::uint32_t ReadNumber()
    {
        const bool hex = m_source.substr(m_pos, 2) == "0x" || m_source.substr(m_pos, 2) == "0X";
        const char* first = m_source.data() + m_pos + (hex ? 2 : 0);
        const char* last = m_source.data() + m_source.size();
        std::uint32_t number = 0;
        const auto [end, error] = std::from_chars(first, last, number, hex ? 16 : 10);
        if (error != std::errc() || (end < last && IsWordChar(*end)))
            Fail("bad number");
        m_pos = std::size_t(end - m_source.data());
        return number;
    }

    std::string_view m_source;
    std::size_t m_pos = 0;
    int m_line = 1;
};

// Code points of code page 1252 outside ASCII and Latin-1's upper half.
constexpr std::array<char32_t, 27> Windows1252Extras = {
    0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};

bool InWindows1252(char32_t c)
{
    return c < 0x80 || (c >= 0xA0 && c <= 0xFF)
        || std::find(Windows1252Extras.begin(), Windows1252Extras.end(), c)
        != Windows1252Extras.end();
}

std::optional<std::u32string> DecodeUtf8(std::string_view text)
{
    std::u32string decoded;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0
            : (lead & 0xE0) == 0xC0   ? 1
            : (lead & 0xF0) == 0xE0   ? 2
            : (lead & 0xF8) == 0xF0   ? 3
                                      : -1;
        if (extra < 0 || i + std::size_t(extra) >= text.size())
            return std::nullopt;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = c << 6 | (next & 0x3F);
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        decoded += c;
        i += std::size_t(extra) + 1;
    }
    return decoded;
}

std::u16string ToUtf16(const std::u32string& text)
{
    std::u16string encoded;
    for (const char32_t c : text) {
        if (c >= 0x10000) {
            encoded += char16_t(0xD800 + ((c - 0x10000) >> 10));
            encoded += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            encoded += char16_t(c);
        }
    }
    return encoded;
}

void AppendU16(std::vector<std::byte>& out, std::uint32_t value)
{
    out.push_back(std::byte(value & 0xFF));
    out.push_back(std::byte(value >> 8 & 0xFF));
}

void AppendU32(std::vector<std::byte>& out, std::uint32_t value)
{
    AppendU16(out, value & 0xFFFF);
    AppendU16(out, value >> 16);
}

class Parser {
public:
    explicit Parser(std::string_view source)
        : m_lexer(source)
    {
        Advance();
    }

    TVersionBlock ParseRoot()
    {
        TVersionBlock root;
        root.key = u"VS_VERSION_INFO";
        root.text = false;
        if (m_token.kind != Token::Word && m_token.kind != Token::Number)
            m_lexer.Fail("expected the record's name");
        Advance();
        if (ExpectWord() != "VERSIONINFO")
            m_lexer.Fail("expected VERSIONINFO");
        std::array<std::uint32_t, 13> fixed{FixedFileInfoSignature, FixedFileInfoVersion};
        while (m_token.kind == Token::Word && m_token.text != "BEGIN")
            ParseFixedStatement(fixed);
        for (const std::uint32_t field : fixed)
            AppendU32(root.value, field);
        root.valueLength = std::uint16_t(root.value.size());
        root.children = ParseBlockBody(u"");
        if (m_token.kind != Token::End)
            m_lexer.Fail("text after the final END");
        return root;
    }

private:
    void Advance() { m_token = m_lexer.Next(); }

    std::string ExpectWord()
    {
        if (m_token.kind != Token::Word)
            m_lexer.Fail("expected a word");
        std::string word = m_token.text;
        Advance();
        return word;
    }

    std::uint32_t ExpectNumber(std::uint32_t max)
    {
        if (m_token.kind != Token::Number || m_token.number > max)
            m_lexer.Fail("expected a number up to " + std::to_string(max));
        const std::uint32_t number = m_token.number;
        Advance();
        return number;
    }

    std::string ExpectString()
    {
        if (m_token.kind != Token::String)
            m_lexer.Fail("expected a quoted string");
        std::string text = m_token.text;
        Advance();
        return text;
    }

    bool AcceptComma()
    {
        if (m_token.kind != Token::Comma)
            return false;
        Advance();
        return true;
    }

    void ExpectComma()
    {
        if (!AcceptComma())
            m_lexer.Fail("expected a comma");
    }

    // A version written as four 16-bit parts, most significant first.
    std::pair<std::uint32_t, std::uint32_t> ParseVersion()
    {
        std::uint32_t parts[4];
        for (int i = 0; i < 4; ++i) {
            if (i > 0)
                ExpectComma();
            parts[i] = ExpectNumber(0xFFFF);
        }
        return {parts[0] << 16 | parts[1], parts[2] << 16 | parts[3]};
    }

    void ParseFixedStatement(std::array<std::uint32_t, 13>& fixed)
    {
        const std::string statement = ExpectWord();
        if (statement == "FILEVERSION") {
            std::tie(fixed[2], fixed[3]) = ParseVersion();
            return;
        }
        if (statement == "PRODUCTVERSION") {
            std::tie(fixed[4], fixed[5]) = ParseVersion();
            return;
        }
        static constexpr std::array<std::pair<std::string_view, std::size_t>, 5> Fields = {{
            {"FILEFLAGSMASK", 6},
            {"FILEFLAGS", 7},
            {"FILEOS", 8},
            {"FILETYPE", 9},
            {"FILESUBTYPE", 10},
        }};
        const auto field = std::find_if(Fields.begin(), Fields.end(),
                                        [&](const auto& f) { return f.first == statement; });
        if (field == Fields.end())
            m_lexer.Fail("unknown statement " + statement);
        fixed[field->second] = ExpectNumber(0xFFFFFFFF);
    }

    std::u16string ExpectKey()
    {
        const std::optional<std::u32string> key = DecodeUtf8(ExpectString());
        if (!key)
            m_lexer.Fail("key is not UTF-8");
        return ToUtf16(*key);
    }

    // BEGIN, the blocks and values inside the block whose key is given, END.
    std::vector<TVersionBlock> ParseBlockBody(const std::u16string& key)
    {
        if (ExpectWord() != "BEGIN")
            m_lexer.Fail("expected BEGIN");
        std::vector<TVersionBlock> children;
        for (;;) {
            const std::string word = ExpectWord();
            if (word == "END")
                return children;
            TVersionBlock child;
            child.key = ExpectKey();
            if (word == "BLOCK")
                child.children = ParseBlockBody(child.key);
            else if (word == "VALUE")
                ParseValue(child, key);
            else
                m_lexer.Fail("expected BLOCK, VALUE or END");
            children.push_back(std::move(child));
        }
    }

    static bool IsWindows1252Table(const std::u16string& key)
    {
        return key.size() == 8 && (key.ends_with(u"04E4") || key.ends_with(u"04e4"));
    }

    void ParseValue(TVersionBlock& value, const std::u16string& tableKey)
    {
        ExpectComma();
        if (m_token.kind == Token::String) {
            const std::optional<std::u32string> text = DecodeUtf8(ExpectString());
            if (!text)
                m_lexer.Fail("text is not UTF-8");
            if (IsWindows1252Table(tableKey)
                && !std::all_of(text->begin(), text->end(), InWindows1252))
                m_lexer.Fail("text has a character outside code page 1252");
            const std::u16string encoded = ToUtf16(*text) + u'\0';
            for (const char16_t c : encoded)
                AppendU16(value.value, c);
            value.valueLength = std::uint16_t(std::min<std::size_t>(encoded.size(), 0xFFFF));
            return;
        }
        value.text = false;
        do
            AppendU16(value.value, ExpectNumber(0xFFFF));
        while (AcceptComma());
        value.valueLength = std::uint16_t(std::min<std::size_t>(value.value.size(), 0xFFFF));
    }

    Lexer m_lexer;
    Token m_token;
};

} // namespace

TVersionBlock ParseVersionSource(std::string_view source)
{
    return Parser(source).ParseRoot();
}

} // namespace tarvane
