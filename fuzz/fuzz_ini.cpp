// Writes one value into an arbitrary profile file and checks what a write promises: the value
// reads back, every other section and key reads as before, and nothing outside the edited line
// changes (in particular no line break is lost). A write that is refused leaves every byte.
// Input: section, key and value, each ended by a backslash and any other character, then the
// file's contents.
#include "IniFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>

using tarvane::IniFile;

namespace {

constexpr qsizetype MaxProbes = 8;

const QString& FilePath()
{
    static const QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("fuzz.ini"));
    return path;
}

void Check(bool promise)
{
    if (!promise)
        std::abort();
}

QByteArray Contents()
{
    QFile file(FilePath());
    Check(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void Store(const QByteArray& data)
{
    QFile file(FilePath());
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size());
}

bool IsUtf16(const QByteArray& data)
{
    return data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF");
}

// The file as characters: decoded from UTF-16 when it has the mark, else byte for byte.
QString Text(const QByteArray& data)
{
    if (!IsUtf16(data))
        return QString::fromLatin1(data);
    QStringDecoder decoder(data.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                       : QStringConverter::Utf16BE,
                           QStringConverter::Flag::ConvertInitialBom);
    return decoder(data);
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Names that may be in the file, taken loosely from its lines, and the written ones: whatever
// they are, each pair must read after the write as before, unless it is the written one.
std::pair<QStringList, QStringList> ProbeNames(const QByteArray& data, const QString& section,
                                               const QString& key)
{
    QStringList sections{section};
    QStringList keys{key};
    const QString text = IsUtf16(data) ? Text(data) : QString::fromUtf8(data);
    for (const QString& line : QString(text).replace(u'\r', u'\n').split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.contains(u']') && sections.size() < MaxProbes)
            sections << trimmed.mid(1, trimmed.lastIndexOf(u']') - 1).trimmed();
        else if (line.contains(u'=') && keys.size() < MaxProbes)
            keys << line.left(line.indexOf(u'=')).trimmed();
    }
    return {sections, keys};
}

// The value as it reads back, when reading gives it unchanged.
bool ReadsBackAsWritten(const QString& value)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front();
    return value.isEmpty() || (!blank(value.front()) && !blank(value.back()) && !quoted);
}

// What differs between the two texts lies within one line of the first: the text it lost
// holds no line break.
void CheckOneLineEdited(const QString& before, const QString& after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (prefix + suffix < shorter
           && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QStringView lost = QStringView(before).sliced(prefix, before.size() - prefix - suffix);
    Check(!lost.contains(u'\n') && !lost.contains(u'\r'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString section = QString::fromStdString(input.ConsumeRandomLengthString(64));
    const QString key = QString::fromStdString(input.ConsumeRandomLengthString(64));
    const QString value = QString::fromStdString(input.ConsumeRandomLengthString(256));
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray before(rest.data(), qsizetype(rest.size()));
    Store(before);

    const IniFile file(FilePath());
    const QString missing = QStringLiteral("\x01missing");
    const auto [sections, keys] = ProbeNames(before, section, key);
    std::map<std::pair<qsizetype, qsizetype>, QString> read;
    for (qsizetype s = 0; s < sections.size(); ++s)
        for (qsizetype k = 0; k < keys.size(); ++k)
            read[{s, k}] = file.ReadString(sections[s], keys[k], missing);

    const bool written = file.WriteString(section, key, value);
    const QByteArray after = Contents();
    if (!written) {
        Check(after == before);
        return 0;
    }
    if (ReadsBackAsWritten(value))
        Check(file.ReadString(section, key, missing) == value);
    for (const auto& [at, old] : read) {
        const auto [s, k] = at;
        if (!SameName(sections[s], section) || !SameName(keys[k], key))
            Check(file.ReadString(sections[s], keys[k], missing) == old);
    }
    if (IsUtf16(before))
        Check(after.startsWith(before.left(2))); // the same encoding
    CheckOneLineEdited(Text(before), Text(after));
    return 0;
}
