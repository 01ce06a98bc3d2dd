#include "PrefsLocation.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace tarvane {

namespace {

bool Present(const QFileInfo& info)
{
    return info.exists() || info.isSymLink(); // a dangling link is there too
}

bool Writable(const QString& path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// Whether saves can keep the file up to date: it is a regular file this user may write, or it
// does not exist yet. Either way its folder must be writable, since a save writes a new copy
// beside the file and renames it over.
bool CanKeepUpToDate(const QString& fileName)
{
    const QFileInfo info(fileName);
    if (!Present(info))
        return Writable(info.absolutePath());
    return info.isFile() && Writable(fileName)
        && Writable(QFileInfo(info.canonicalFilePath()).absolutePath());
}

QString UserFileName()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QStringLiteral("/tarvane/tarvane.ini");
}

} // namespace

TPrefsLocation::TPrefsLocation(const QString& besideProgram)
    : m_besideProgram(besideProgram)
    , m_fileName(besideProgram)
{
    if (CanKeepUpToDate(besideProgram))
        return;
    if (const QString user = UserFileName(); !user.isEmpty())
        m_fileName = user;
}

QString TPrefsLocation::FileToRead() const
{
    if (m_fileName != m_besideProgram && !Present(QFileInfo(m_fileName)))
        return m_besideProgram;
    return m_fileName;
}

} // namespace tarvane
