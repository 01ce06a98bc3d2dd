#pragma once

#include <QString>

namespace tarvane {

// A Windows-style profile file (sections of key=value lines), read and written one value at a
// time. A write edits only the line of its key and keeps every other byte of the file as it
// was: other sections and keys, comments, blank lines, line endings and a byte-order mark. A
// new key goes at the end of its section, a new section at the end of the file. Section and
// key names are compared without regard to case. Each write reaches the disk at once through a
// save file, so a crash or a full disk mid-write leaves the previous file whole, and a file or
// folder the user cannot write is never changed.
class IniFile {
public:
    // Values are read as at most this many characters.
    static constexpr int MaxValueLength = 2047;

    explicit IniFile(QString fileName);

    const QString& FileName() const { return m_fileName; }

    // The value of key in section, blanks around it and one pair of enclosing quotes removed;
    // defaultValue when the file, the section or the key is missing.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;

    // Sets key in section to value, creating the file, the section or the key when missing.
    // False when the file could not be written (it is then unchanged) or when a name or the
    // value would not stay on its own line.
    bool WriteString(const QString& section, const QString& key, const QString& value) const;

private:
    QString m_fileName;
};

} // namespace tarvane
