#pragma once

#include <QString>

namespace tarvane {

// Where the preferences live. A copy of the program that may write beside itself (a build
// tree, a portable copy) keeps them there, in the executable's INI file, as it always did. An
// installed program cannot (/usr/bin belongs to the system), so each user gets a file of their
// own, $XDG_CONFIG_HOME/tarvane/tarvane.ini; until that file exists, a read-only INI file
// beside the program gives the starting values.
class TPrefsLocation {
public:
    TPrefsLocation() = default;
    // besideProgram: the executable's INI file.
    explicit TPrefsLocation(const QString& besideProgram);

    // The file saved at each close.
    const QString& FileName() const { return m_fileName; }

    // The file read at start: the saved one, or the one beside the program while the user's
    // own file does not exist yet.
    QString FileToRead() const;

    // Makes the folder of the user's own file, which the first save needs.
    void CreateFolder() const;

private:
    QString m_besideProgram;
    QString m_fileName;
};

} // namespace tarvane
