#include "uMisc.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

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

QString ReadmeFileNameOf(const QString& appPath)
{
    const QString beside = appPath + QStringLiteral("A_Lire.txt");
    if (QFileInfo(beside).isFile())
        return beside;
    return QDir::cleanPath(appPath + QStringLiteral("../share/doc/tarvane/A_Lire.txt"));
}

int RunDocument(const QString& fileName, const QString& parameters, const QString& directory,
                int /*showMode*/)
{
    if (!parameters.isEmpty())
        return ShellRefused;
    const QString path = QDir(directory).absoluteFilePath(fileName);
    if (fileName.isEmpty() || !QFileInfo::exists(path))
        return ShellFileNotFound;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? ShellAccepted : ShellRefused;
}

bool OpenDocument(const QString& fileName, int showMode)
{
    return RunDocument(fileName, QString(), QString(), showMode) > 32;
}

} // namespace tarvane
