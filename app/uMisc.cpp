#include "uMisc.h"

#include "NativeFiles.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace tarvane {

namespace {

// A local file's URL built from the bytes of its name, so that a name that is not UTF-8 still
// names the file; the characters a path may hold as they are stay unencoded.
QUrl FileUrl(const QString& path)
{
    return QUrl::fromEncoded("file://" + EncodeFileName(path).toPercentEncoding("/!$&'()*+,;=:@"));
}

} // namespace

QString RunningExecutablePath()
{
    // The kernel's own record of the image, so a start through a link or a relative path
    // still finds the preferences beside the real file.
    const QString target = SymLinkTarget(QStringLiteral("/proc/self/exe"));
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

QString InstalledDataPathOf(const QString& appPath)
{
    const QString data = QDir::cleanPath(appPath + QStringLiteral(TARVANE_DATA_FROM_BIN));
    return IsDirectory(data) ? data + u'/' : QString();
}

QString ReadmeFileNameOf(const QString& appPath)
{
    const QString installed = InstalledDataPathOf(appPath);
    return (installed.isEmpty() ? appPath : installed) + QStringLiteral("A_Lire.txt");
}

int RunDocument(const QString& fileName, const QString& parameters, const QString& directory,
                int /*showMode*/)
{
    if (!parameters.isEmpty())
        return ShellRefused;
    const QString path = QDir(directory).absoluteFilePath(fileName);
    if (fileName.isEmpty() || !IsRegularFile(path)) // a folder is no document
        return ShellFileNotFound;
    return QDesktopServices::openUrl(FileUrl(path)) ? ShellAccepted : ShellRefused;
}

bool OpenDocument(const QString& fileName, int showMode)
{
    return RunDocument(fileName, QString(), QString(), showMode) > 32;
}

} // namespace tarvane
