#include "uMisc.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tarvane {

QString RunningExecutablePath()
{
    // The kernel's own record of the image, so a start through a link or a relative path
    // still finds the preferences beside the real file.
    const QString target = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return target.isEmpty() ? QCoreApplication::applicationFilePath() : target;
}

QString AppPathOf(const QString& executablePath)
{
    return executablePath.left(executablePath.lastIndexOf(u'/') + 1);
}

QString IniFileNameOf(const QString& executablePath)
{
    const qsizetype slash = executablePath.lastIndexOf(u'/');
    const qsizetype dot = executablePath.lastIndexOf(u'.');
    const qsizetype stem = dot > slash ? dot : executablePath.size();
    return executablePath.left(stem) + QStringLiteral(".ini");
}

} // namespace tarvane
