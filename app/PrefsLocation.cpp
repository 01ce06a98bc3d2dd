#include "PrefsLocation.h"

#include "IniFile.h"
#include "NativeFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarvane {

namespace {

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
    // Beside the program whenever saves there can keep it up to date, as a portable copy
    // always did.
    if (IniFile(besideProgram).Writable())
        return;
    if (const QString user = UserFileName(); !user.isEmpty())
        m_fileName = user;
}

QString TPrefsLocation::FileToRead() const
{
    if (m_fileName != m_besideProgram && !FileExists(m_fileName))
        return m_besideProgram;
    return m_fileName;
}

void TPrefsLocation::CreateFolder() const
{
    if (m_fileName != m_besideProgram)
        QDir().mkpath(QFileInfo(m_fileName).absolutePath());
}

} // namespace tarvane
