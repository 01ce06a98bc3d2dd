#pragma once

#include <QString>

namespace tarvane {

// The running executable's full path, symbolic links resolved.
QString RunningExecutablePath();

// The folder of an executable's path, with its trailing separator.
QString AppPathOf(const QString& executablePath);

// An executable's path with its extension (from the last "." of the file name) replaced by
// ".ini", or ".ini" appended when the file name has none.
QString IniFileNameOf(const QString& executablePath);

// The data folder of an installed copy whose program lies in appPath (with its trailing
// separator): <prefix>/share/tarvane/ beside <prefix>/bin/, with its trailing separator. Empty
// when that folder is not there: the copy is then a portable one (a build tree, a copy in a
// home folder or on a USB stick), which keeps its files beside itself.
QString InstalledDataPathOf(const QString& appPath);

// The readme that Lisez-moi opens: "A_Lire.txt" in the installed data folder of the program in
// appPath, or beside the program in a portable copy.
QString ReadmeFileNameOf(const QString& appPath);

// How a document opened through the desktop shows: a normal, activated window.
inline constexpr int ShowNormal = 1;

// RunDocument's results, after the shell's convention that above 32 means accepted.
inline constexpr int ShellFileNotFound = 2;
inline constexpr int ShellRefused = 31;
inline constexpr int ShellAccepted = 33;

// Asks the desktop to open a file with the application associated with its type, and returns
// at once without waiting for it. Only a regular file opens: anything else, a folder for one,
// counts as not found. A relative file name is taken from the directory (the current one when
// empty). The file is handed over whole as one path, never through a command
// line. The desktop's opener takes no parameters, so a non-empty parameter text is refused;
// the opened application shows in its own normal window whatever the show mode.
int RunDocument(const QString& fileName, const QString& parameters, const QString& directory,
                int showMode);

// Whether the desktop accepted to open the file.
bool OpenDocument(const QString& fileName, int showMode);

} // namespace tarvane
