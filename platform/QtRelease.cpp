#include "QtRelease.h"

#include <QLibraryInfo>
#include <QVersionNumber>

namespace tarvane {

bool RunningQtBefore(int major, int minor)
{
    return QLibraryInfo::version() < QVersionNumber(major, minor);
}

} // namespace tarvane
