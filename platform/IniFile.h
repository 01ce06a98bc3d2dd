#pragma once

#include <QList>
#include <QString>

namespace tarvane {

// A Windows-style profile file (sections of key=value lines), read one value at a time. A
// write edits only the lines of its keys and keeps every other byte of the file as it was:
// other sections and keys, comments, blank lines, line endings and a byte-order mark. A new
// key goes at the end of its section, a new section at the end of the file, each line ending
// as the file's lines already do (LF, CRLF or CR alone). Section and key names are compared
// without regard to case. A file with a UTF-16 byte-order mark is read and written in UTF-16,
// any other file as UTF-8.
//
// Only a regular file (or a link to one) of at most MaxFileSize bytes is read: anything else
// reads as a missing file and is never written. Each write reaches the disk at once as one
// atomic replacement of the file, so a crash or a full disk mid-write leaves the previous file
// whole, and a file or folder the user cannot write, or a link that names nothing, is never
// changed.
class IniFile {
public:
    // Values are read as at most this many characters.
    static constexpr int MaxValueLength = 2047;
    // Far above any real profile file; a larger one is not read, so never written either.
    static constexpr qsizetype MaxFileSize = 32 * 1024 * 1024;

    struct Entry {
        QString Key;
        QString Value;
    };

    explicit IniFile(QString fileName);

    const QString& FileName() const { return m_fileName; }

    // The value of key in section, blanks around it and one pair of enclosing quotes removed;
    // defaultValue when the file, the section or the key is missing.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;

    // Whether a write may change the file: it may be read whole and written back as it was.
    bool Writable() const;

    // Sets key in section to value, creating the file, the section or the key when missing.
    // False when the file could not be written (it is then unchanged), or when a name would not
    // read back as itself or the value would not stay on its own line.
    bool WriteString(const QString& section, const QString& key, const QString& value) const;

    // Sets each key in turn, in one replacement of the file: all of them, or none when it fails.
    bool WriteStrings(const QString& section, const QList<Entry>& entries) const;

private:
    QString m_fileName;
};

} // namespace tarvane
