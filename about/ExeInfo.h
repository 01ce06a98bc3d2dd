#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimeZone>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tarvane {

// Non-visual component that keeps the text values of a program file's version record (by
// default the running executable's, read at creation) and answers a few questions about the
// system. A file without a record leaves every value as it was.
class TExeInfo : public QObject {
    Q_OBJECT

public:
    explicit TExeInfo(QObject* parent = nullptr);

    // The record's texts; written by the record, writable by callers.
    QString CompanyName() const { return m_texts[CompanyNameKey]; }
    void SetCompanyName(const QString& value) { m_texts[CompanyNameKey] = value; }
    QString FileDescription() const { return m_texts[FileDescriptionKey]; }
    void SetFileDescription(const QString& value) { m_texts[FileDescriptionKey] = value; }
    QString FileVersion() const { return m_texts[FileVersionKey]; }
    void SetFileVersion(const QString& value) { m_texts[FileVersionKey] = value; }
    QString InternalName() const { return m_texts[InternalNameKey]; }
    void SetInternalName(const QString& value) { m_texts[InternalNameKey] = value; }
    QString LegalCopyright() const { return m_texts[LegalCopyrightKey]; }
    void SetLegalCopyright(const QString& value) { m_texts[LegalCopyrightKey] = value; }
    QString LegalTradeMark() const { return m_texts[LegalTradeMarkKey]; }
    void SetLegalTradeMark(const QString& value) { m_texts[LegalTradeMarkKey] = value; }
    QString OriginalFileName() const { return m_texts[OriginalFileNameKey]; }
    void SetOriginalFileName(const QString& value) { m_texts[OriginalFileNameKey] = value; }
    QString ProductName() const { return m_texts[ProductNameKey]; }
    void SetProductName(const QString& value) { m_texts[ProductNameKey] = value; }
    QString ProductVersion() const { return m_texts[ProductVersionKey]; }
    void SetProductVersion(const QString& value) { m_texts[ProductVersionKey] = value; }
    QString Comments() const { return m_texts[CommentsKey]; }
    void SetComments(const QString& value) { m_texts[CommentsKey] = value; }

    // The record's fixed part: flags masked by the flag mask, system code, type and date.
    std::uint32_t FileFlags() const { return m_fileFlags; }
    std::uint32_t FileOS() const { return m_fileOS; }
    std::uint32_t FileType() const { return m_fileType; }
    QDateTime FileDate() const { return m_fileDate; }

    // The component's own version, "1.2.2.0"; a stored layout's value is ignored.
    QString Version() const;
    void SetVersion(const QString& value);

    // Reads the running executable's record.
    void ReadExeVersionInfo();
    // Reads the record of any file; replaces the texts and the fixed part it holds.
    void ReadVersionInfo(const QString& fileName);

    // Facts about the system; empty (or "Unknown") when the system has no answer.
    QString ComputerName() const;
    QString OSName() const;
    QString WindowsDir() const;
    QString SystemDir() const;
    QString TempDir() const;

private:
    enum Key {
        CompanyNameKey,
        FileDescriptionKey,
        FileVersionKey,
        InternalNameKey,
        LegalCopyrightKey,
        LegalTradeMarkKey,
        OriginalFileNameKey,
        ProductNameKey,
        ProductVersionKey,
        CommentsKey,
        KeyCount
    };

    // The fixed part: flags, system code, type and date.
    void ReadFixedPart(std::span<const std::byte> block);
    // The ten texts from the table the first translation names.
    void ReadStringTable(std::span<const std::byte> block);

    std::array<QString, KeyCount> m_texts;
    std::uint32_t m_fileFlags = 0;
    std::uint32_t m_fileOS = 0;
    std::uint32_t m_fileType = 0;
    // The date-time zero: 30 December 1899, midnight.
    QDateTime m_fileDate{QDate(1899, 12, 30), QTime(0, 0), QTimeZone::utc()};
};

} // namespace tarvane
