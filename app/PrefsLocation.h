#pragma once

#include <QString>

namespace tarvane {

// Where the preferences live. A portable copy of the program (a build tree, a copy in a home
// folder or on a USB stick) keeps them beside itself, in the executable's INI file, as it always
// did, whenever it may write there. An installed copy never writes beside itself, even run by
// root, who may write /usr/bin: each user gets a file of their own,
// $XDG_CONFIG_HOME/tarvane/tarvane.ini, as does a portable copy that may not write beside
// itself. Until the user's file exists, the starting values come from the administrator's
// tarvane/tarvane.ini in $XDG_CONFIG_DIRS (/etc/xdg) for an installed copy, and from the
// read-only file beside the program for a portable one.
class TPrefsLocation {
public:
    TPrefsLocation() = default;
    // besideProgram: the executable's INI file.
    TPrefsLocation(const QString& besideProgram, bool installed);

    // The file saved at each close; empty when there is none (no home folder to keep it in).
    const QString& FileName() const { return m_fileName; }

    // The file read at start: the saved one, or the starting values while the user's own file
    // does not exist yet.
    QString FileToRead() const;

    // Makes the folder of the user's own file, which the first save needs.
    void CreateFolder() const;

private:
    QString m_fileName;
    QString m_startingValues;
    bool m_usersOwn = false;
};

} // namespace tarvane
