#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <optional>

#include <unistd.h>

namespace tarvane {

namespace {

constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");

// One line of the file, as byte offsets into its contents.
struct Line {
    enum Kind { Other, Section, Key };
    Kind kind = Other;
    qsizetype start = 0;      // first byte
    qsizetype end = 0;        // end of the text, before any CR/LF
    qsizetype next = 0;       // first byte of the next line
    qsizetype valueStart = 0; // keys: first byte after '='
    QString name;             // section or key name
    bool blank = true;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray Trimmed(const QByteArray& data, qsizetype from, qsizetype to)
{
    while (from < to && IsBlank(data[from]))
        ++from;
    while (to > from && IsBlank(data[to - 1]))
        --to;
    return data.mid(from, to - from);
}

Line ParseLine(const QByteArray& data, qsizetype start)
{
    Line line;
    line.start = start;
    const qsizetype newline = data.indexOf('\n', start);
    line.next = newline < 0 ? data.size() : newline + 1;
    line.end = newline < 0 ? data.size() : newline;
    if (line.end > start && data[line.end - 1] == '\r')
        --line.end;

    const QByteArray text = Trimmed(data, start, line.end);
    line.blank = text.isEmpty();
    if (text.startsWith('[')) {
        const qsizetype close = text.lastIndexOf(']');
        if (close > 0) {
            line.kind = Line::Section;
            line.name = QString::fromUtf8(Trimmed(text, 1, close));
        }
    } else if (!text.startsWith(';')) {
        const qsizetype equals = data.indexOf('=', start);
        if (equals >= 0 && equals < line.end) {
            line.kind = Line::Key;
            line.valueStart = equals + 1;
            line.name = QString::fromUtf8(Trimmed(data, start, equals));
        }
    }
    return line;
}

// The file's contents split into lines, skipping a UTF-8 byte-order mark.
QList<Line> ParseLines(const QByteArray& data)
{
    QList<Line> lines;
    for (qsizetype at = data.startsWith(Utf8Bom) ? Utf8Bom.size() : 0; at < data.size();) {
        lines.append(ParseLine(data, at));
        at = lines.last().next;
    }
    return lines;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a section's lines lie: its header and the index after its last line.
struct SectionRange {
    qsizetype header = -1;
    qsizetype end = -1;
};

SectionRange FindSection(const QList<Line>& lines, const QString& section)
{
    SectionRange range;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Line::Section)
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (SameName(lines[i].name, section))
            range.header = i;
    }
    if (range.header >= 0)
        range.end = lines.size();
    return range;
}

qsizetype FindKey(const QList<Line>& lines, const SectionRange& range, const QString& key)
{
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        if (lines[i].kind == Line::Key && SameName(lines[i].name, key))
            return i;
    }
    return -1;
}

QString ValueText(const QByteArray& data, const Line& line)
{
    QByteArray value = Trimmed(data, line.valueStart, line.end);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return QString::fromUtf8(value).left(IniFile::MaxValueLength);
}

// The line ending the file already uses; a new file gets the platform's.
QByteArray LineEnding(const QByteArray& data)
{
    const qsizetype newline = data.indexOf('\n');
    return newline > 0 && data[newline - 1] == '\r' ? QByteArrayLiteral("\r\n")
                                                    : QByteArrayLiteral("\n");
}

// The current contents of a file about to be rewritten: empty for a missing file, nothing when
// the file may not be written or cannot be read whole (rewriting it would lose its contents).
std::optional<QByteArray> ContentsToRewrite(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return QByteArray();
    if (!info.isFile() || ::access(QFile::encodeName(fileName).constData(), W_OK) != 0)
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

bool StaysOnOneLine(const QString& text)
{
    return !text.contains(u'\n') && !text.contains(u'\r');
}

// The contents with key set to value in section.
QByteArray WithValue(QByteArray data, const QString& section, const QString& key,
                     const QString& value)
{
    const QList<Line> lines = ParseLines(data);
    const QByteArray eol = LineEnding(data);
    const QByteArray keyLine = key.toUtf8() + '=' + value.toUtf8();
    const SectionRange range = FindSection(lines, section);
    if (range.header < 0) {
        if (!data.isEmpty() && !data.endsWith('\n') && data != Utf8Bom)
            data += eol;
        return data + '[' + section.toUtf8() + ']' + eol + keyLine + eol;
    }
    const qsizetype found = FindKey(lines, range, key);
    if (found >= 0) {
        const Line& line = lines[found];
        return data.replace(line.valueStart, line.end - line.valueStart, value.toUtf8());
    }
    // After the section's last line that is not blank, so blank lines before the next
    // section stay where they are.
    qsizetype last = range.end - 1;
    while (last > range.header && lines[last].blank)
        --last;
    const Line& after = lines[last];
    const bool needsEol = after.next == data.size() && !data.endsWith('\n');
    return data.insert(after.next, (needsEol ? eol : QByteArray()) + keyLine + eol);
}

} // namespace

IniFile::IniFile(QString fileName)
    : m_fileName(std::move(fileName))
{
}

QString IniFile::ReadString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;
    const QByteArray data = file.readAll();
    const QList<Line> lines = ParseLines(data);
    const SectionRange range = FindSection(lines, section);
    if (range.header < 0)
        return defaultValue;
    const qsizetype found = FindKey(lines, range, key);
    return found < 0 ? defaultValue : ValueText(data, lines[found]);
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) const
{
    if (section.trimmed().isEmpty() || key.trimmed().isEmpty() || !StaysOnOneLine(section)
        || !StaysOnOneLine(key) || !StaysOnOneLine(value) || section.contains(u']')
        || key.contains(u'='))
        return false;
    const std::optional<QByteArray> data = ContentsToRewrite(m_fileName);
    if (!data)
        return false;
    const QByteArray contents = WithValue(*data, section, key, value);
    // Unbuffered, so that a short write (a full disk, a file-size limit) shows in the count:
    // a buffered save file would drop the rest and still commit the truncated file.
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || file.write(contents) != contents.size())
        return false;
    return file.commit();
}

} // namespace tarvane
