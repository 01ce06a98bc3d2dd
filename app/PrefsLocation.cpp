#include "PrefsLocation.h"

#include "IniFile.h"
#include "NativeFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarvane {

namespace {

// The preferences file within a configuration folder.
QString ConfigName()
{
    return QStringLiteral("tarvane/tarvane.ini");
}

QString UserFileName()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + u'/' + ConfigName();
}

} // namespace

TPrefsLocation::TPrefsLocation(const QString& besideProgram, bool installed)
    : m_fileName(besideProgram)
    // The user's own file when it exists, else the first administrator's one.
    , m_startingValues(
          installed ? QStandardPaths::locate(QStandardPaths::GenericConfigLocation, ConfigName())
                    : besideProgram)
{
    if (!installed && IniFile(besideProgram).Writable())
        return;
    m_fileName = UserFileName();
    m_usersOwn = !m_fileName.isEmpty();
    // A portable copy with nowhere else to go keeps to its own file, which it then only reads.
    if (!installed && !m_usersOwn)
        m_fileName = besideProgram;
}

QString TPrefsLocation::FileToRead() const
{
    return m_usersOwn && FileExists(m_fileName) ? m_fileName : m_startingValues;
}

void TPrefsLocation::CreateFolder() const
{
    if (m_usersOwn)
        QDir().mkpath(QFileInfo(m_fileName).absolutePath());
}

} // namespace tarvane
