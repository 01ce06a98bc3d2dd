#include "IniFile.h"

#include "NativeFiles.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>

namespace tarvane {

namespace {

constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");

// The text is handled as UTF-8; a UTF-16 file is converted on its way in and out.
enum class Encoding { Utf8, Utf16LE, Utf16BE };

Encoding EncodingOf(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return Encoding::Utf16BE;
    return Encoding::Utf8; // any bytes, kept as they are
}

QStringConverter::Encoding Utf16Of(Encoding encoding)
{
    return encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
}

// The file's text in UTF-8; a UTF-16 byte-order mark becomes the UTF-8 one.
QByteArray ToUtf8(const QByteArray& bytes, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return bytes;
    QStringDecoder decoder(Utf16Of(encoding), QStringConverter::Flag::ConvertInitialBom);
    return QString(decoder(bytes)).toUtf8();
}

// Not QString::fromUtf8, which drops a leading U+FEFF: the file's byte-order mark, or the
// first character of a value.
QString DecodeUtf8(QByteArrayView text)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(text);
}

QByteArray FromUtf8(const QByteArray& text, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return text;
    QStringEncoder encoder(Utf16Of(encoding));
    return encoder(DecodeUtf8(text));
}

// One line of the text, as byte offsets into it.
struct Line {
    enum Kind { Other, Section, Key };
    Kind kind = Other;
    qsizetype end = 0;       // end of the text, before its line break
    qsizetype next = 0;      // first byte of the next line
    qsizetype nameStart = 0; // sections and keys: the name, without the blanks around it
    qsizetype nameEnd = 0;
    qsizetype valueStart = 0; // keys: first byte after '='
    bool blank = true;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// The range from..to without the blanks at either end.
std::pair<qsizetype, qsizetype> Trimmed(QByteArrayView text, qsizetype from, qsizetype to)
{
    while (from < to && IsBlank(text[from]))
        ++from;
    while (to > from && IsBlank(text[to - 1]))
        --to;
    return {from, to};
}

// The line that starts at start. It ends at LF, CRLF or a CR alone, and every search stays
// within it, so reading the text is one pass however its lines look.
Line ParseLine(QByteArrayView text, qsizetype start)
{
    Line line;
    line.end = std::find_if(text.begin() + start, text.end(), IsLineBreak) - text.begin();
    line.next = line.end;
    if (line.end < text.size())
        line.next += text.sliced(line.end).startsWith("\r\n") ? 2 : 1;
    const auto [from, to] = Trimmed(text, start, line.end);
    line.blank = from == to;
    if (line.blank)
        return line;
    if (text[from] == '[') {
        const qsizetype close = text.sliced(from, to - from).lastIndexOf(']');
        if (close > 0) {
            line.kind = Line::Section;
            std::tie(line.nameStart, line.nameEnd) = Trimmed(text, from + 1, from + close);
        }
    } else if (text[from] != ';') {
        const qsizetype equals = text.sliced(start, line.end - start).indexOf('=');
        if (equals >= 0) {
            line.kind = Line::Key;
            line.valueStart = start + equals + 1;
            std::tie(line.nameStart, line.nameEnd) = Trimmed(text, start, start + equals);
        }
    }
    return line;
}

bool HasName(QByteArrayView text, const Line& line, const QString& name)
{
    const QUtf8StringView lineName(text.sliced(line.nameStart, line.nameEnd - line.nameStart));
    return QAnyStringView::compare(lineName, name, Qt::CaseInsensitive) == 0;
}

// Where a key lies in a section: the section is the first one of that name, and it ends where
// the next section begins.
struct Place {
    std::optional<Line> section; // its header
    std::optional<Line> key;     // the key's line, when it is in the section
    Line last;                   // the section's last line that is not blank
};

Place Find(QByteArrayView text, const QString& section, const QString& key)
{
    Place place;
    for (qsizetype at = text.startsWith(Utf8Bom) ? Utf8Bom.size() : 0; at < text.size();) {
        const Line line = ParseLine(text, at);
        at = line.next;
        if (line.kind == Line::Section) {
            if (place.section)
                break;
            if (HasName(text, line, section))
                place.section = place.last = line;
        } else if (place.section) {
            if (line.kind == Line::Key && HasName(text, line, key)) {
                place.key = line;
                break;
            }
            if (!line.blank)
                place.last = line;
        }
    }
    return place;
}

QString ValueText(QByteArrayView text, const Line& line)
{
    const auto [from, to] = Trimmed(text, line.valueStart, line.end);
    QByteArrayView value = text.sliced(from, to - from);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return DecodeUtf8(value).left(IniFile::MaxValueLength);
}

// The line break the text already uses (that of its first line); LF when it has none yet.
QByteArray LineBreak(QByteArrayView text)
{
    const auto found = std::find_if(text.begin(), text.end(), IsLineBreak);
    if (found == text.end() || *found == '\n')
        return QByteArrayLiteral("\n");
    return text.sliced(found - text.begin()).startsWith("\r\n") ? QByteArrayLiteral("\r\n")
                                                                : QByteArrayLiteral("\r");
}

// The bytes of a file about to be rewritten: empty for a missing file, nothing when the file
// may not be written, cannot be read whole, or would not come back byte for byte from its
// text (UTF-16 that is not well formed): rewriting it would lose some of it.
std::optional<QByteArray> ContentsToRewrite(const QString& fileName)
{
    if (!MayReplaceFile(fileName))
        return std::nullopt;
    if (!FileExists(fileName))
        return QByteArray();
    std::optional<QByteArray> data = ReadRegularFile(fileName, IniFile::MaxFileSize);
    if (!data)
        return std::nullopt;
    const Encoding encoding = EncodingOf(*data);
    if (encoding != Encoding::Utf8 && FromUtf8(ToUtf8(*data, encoding), encoding) != *data)
        return std::nullopt;
    return data;
}

bool OnOneLine(const QString& text)
{
    return !text.contains(u'\n') && !text.contains(u'\r');
}

// A name that reads back as itself: not empty, on one line, without blanks around it.
bool IsName(const QString& name)
{
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    return !name.isEmpty() && OnOneLine(name) && !isBlank(name.front()) && !isBlank(name.back());
}

bool IsSectionName(const QString& section)
{
    return IsName(section) && !section.contains(u']');
}

// Not taken for the end of a key, a comment or a section header either.
bool IsKeyName(const QString& key)
{
    return IsName(key) && !key.contains(u'=') && !key.startsWith(u';') && !key.startsWith(u'[');
}

// The text with key set to value in section.
QByteArray WithValue(QByteArray text, const QString& section, const QString& key,
                     const QString& value)
{
    const Place place = Find(text, section, key);
    if (place.key) {
        const Line& line = *place.key;
        return text.replace(line.valueStart, line.end - line.valueStart, value.toUtf8());
    }
    const QByteArray eol = LineBreak(text);
    const QByteArray keyLine = key.toUtf8() + '=' + value.toUtf8() + eol;
    if (!place.section) {
        const bool broken = text.isEmpty() || text == Utf8Bom || IsLineBreak(text.back());
        return text + (broken ? QByteArray() : eol) + '[' + section.toUtf8() + ']' + eol + keyLine;
    }
    // After the section's last line that is not blank, so blank lines before the next section
    // stay where they are; that line may be the file's last, with no line break yet.
    const Line& after = place.last;
    return text.insert(after.next, (after.next == after.end ? eol : QByteArray()) + keyLine);
}

} // namespace

IniFile::IniFile(QString fileName)
    : m_fileName(std::move(fileName))
{
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const std::optional<QByteArray> data = ReadRegularFile(m_fileName, MaxFileSize);
    if (!data)
        return defaultValue;
    const QByteArray text = ToUtf8(*data, EncodingOf(*data));
    const Place place = Find(text, section, key);
    return place.key ? ValueText(text, *place.key) : defaultValue;
}

bool IniFile::Writable() const
{
    return ContentsToRewrite(m_fileName).has_value();
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) const
{
    return WriteStrings(section, {{key, value}});
}

bool IniFile::WriteStrings(const QString& section, const QList<Entry>& entries) const
{
    const bool valid = IsSectionName(section)
        && std::all_of(entries.begin(), entries.end(), [](const Entry& entry) {
                           return IsKeyName(entry.Key) && OnOneLine(entry.Value);
                       });
    if (!valid)
        return false;
    const std::optional<QByteArray> data = ContentsToRewrite(m_fileName);
    if (!data)
        return false;
    const Encoding encoding = EncodingOf(*data);
    QByteArray text = ToUtf8(*data, encoding);
    for (const Entry& entry : entries)
        text = WithValue(std::move(text), section, entry.Key, entry.Value);
    return ReplaceFile(m_fileName, FromUtf8(text, encoding));
}

} // namespace tarvane
