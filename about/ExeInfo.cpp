#include "ExeInfo.h"

#include "NativeFiles.h"
#include "VersionInfo.h"

#include <QDir>

#include <unistd.h>

#include <climits>
#include <optional>
#include <vector>

namespace tarvane {

namespace {

// The keys asked for, in reading order and in the order of TExeInfo's texts. The platform's
// query ignores case, so "LegalTradeMarks" also finds a record's "LegalTrademarks".
constexpr std::array<const char*, 10> Keys = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFileName", "ProductName", "ProductVersion", "Comments"};

// Four bytes, most significant first, read as the component's version.
constexpr std::uint32_t ComponentVersion = 0x01020200;

// A file time (100 ns steps since 1601 began) as a date-time; nothing for a time the
// system's calendar conversion refuses (top bit set) or one past the year 9999.
std::optional<QDateTime> FileTimeToDateTime(std::uint32_t high, std::uint32_t low)
{
    const std::uint64_t fileTime = std::uint64_t(high) << 32 | low;
    if (fileTime >> 63)
        return std::nullopt;
    constexpr qint64 MSecsFrom1601To1970 = 11644473600000;
    const QDateTime dateTime = QDateTime::fromMSecsSinceEpoch(
        qint64(fileTime / 10000) - MSecsFrom1601To1970, QTimeZone::utc());
    if (dateTime.date().year() > 9999)
        return std::nullopt;
    return dateTime;
}

} // namespace

TExeInfo::TExeInfo(QObject* parent)
    : QObject(parent)
{
    m_texts.fill(QStringLiteral("Updated at run-time"));
    ReadExeVersionInfo();
}

QString TExeInfo::Version() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ComponentVersion >> 24)
        .arg(ComponentVersion >> 16 & 0xFF)
        .arg(ComponentVersion >> 8 & 0xFF)
        .arg(ComponentVersion & 0xFF);
}

void TExeInfo::SetVersion(const QString& /*value*/)
{
    // The version belongs to the component; a stored value does not change it.
}

void TExeInfo::ReadExeVersionInfo()
{
    // The link names the running program even when its file was replaced since the start.
    ReadVersionInfo(QStringLiteral("/proc/self/exe"));
}

void TExeInfo::ReadVersionInfo(const QString& fileName)
{
    const std::string path = EncodeFileName(fileName).toStdString();
    const std::uint32_t size = GetFileVersionInfoSize(path);
    if (size == 0)
        return;
    std::vector<std::byte> block(size);
    if (!GetFileVersionInfo(path, block))
        return;
    ReadFixedPart(block);
    ReadStringTable(block);
}

void TExeInfo::ReadFixedPart(std::span<const std::byte> block)
{
    const auto root = VerQueryValue(block, "\\");
    const std::optional<TFixedFileInfo> fixed = root ? ReadFixedFileInfo(*root) : std::nullopt;
    if (!fixed)
        return;
    m_fileFlags = fixed->fileFlags & fixed->fileFlagsMask;
    m_fileOS = fixed->fileOS;
    m_fileType = fixed->fileType;
    if (const auto date = FileTimeToDateTime(fixed->fileDateMS, fixed->fileDateLS))
        m_fileDate = *date;
}

void TExeInfo::ReadStringTable(std::span<const std::byte> block)
{
    // Only the first translation counts; its language and code page name the table.
    const auto translations = VerQueryValue(block, "\\VarFileInfo\\Translation");
    const std::optional<TTranslation> translation =
        translations ? ReadFirstTranslation(*translations) : std::nullopt;
    if (!translation)
        return;
    const std::string table =
        QString::asprintf("%04X%04X", translation->language, translation->codePage).toStdString();
    static_assert(Keys.size() == KeyCount);
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        const auto text = VerQueryValue(block, "\\StringFileInfo\\" + table + "\\" + Keys[i]);
        m_texts[i] = text ? QString::fromStdU16String(ReadVersionText(*text)) : QString();
    }
}

QString TExeInfo::ComputerName() const
{
    // The name has room for 15 characters; a longer one is refused, as the system does.
    constexpr qsizetype MaxLength = 15;
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name) != 0)
        return {};
    const QString computerName = QString::fromLocal8Bit(name);
    return computerName.size() > MaxLength ? QString() : computerName;
}

QString TExeInfo::OSName() const
{
    // The names are those of the Windows releases; there is no Windows version to ask here.
    return QStringLiteral("Unknown");
}

QString TExeInfo::WindowsDir() const
{
    // No Windows folder exists here, so the query answers nothing.
    return {};
}

QString TExeInfo::SystemDir() const
{
    // No Windows system folder exists here, so the query answers nothing.
    return {};
}

QString TExeInfo::TempDir() const
{
    // Qt answers nothing when the folder named by TMPDIR does not exist.
    const QString folder = QDir::tempPath();
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

} // namespace tarvane
