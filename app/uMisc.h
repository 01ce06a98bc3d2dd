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

} // namespace tarvane
