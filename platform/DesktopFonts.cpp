#include "DesktopFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

namespace tarvane {

void RegisterDesktopFonts()
{
    // Where Debian's fonts-wine puts its faces, and where other packagings do.
    const QStringList folders = {
        QStringLiteral("/usr/share/wine/fonts"),
        QStringLiteral("/usr/share/fonts/truetype/wine"),
        QStringLiteral("/usr/share/fonts/wine"),
    };
    const QStringList files = {
        QStringLiteral("tahoma.ttf"),
        QStringLiteral("tahomabd.ttf"),
        QStringLiteral("ms_sans_serif.ttf"),
    };
    for (const QString& file : files) {
        for (const QString& folder : folders) {
            const QString path = QDir(folder).filePath(file);
            if (QFileInfo::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
                break;
        }
    }
}

} // namespace tarvane
