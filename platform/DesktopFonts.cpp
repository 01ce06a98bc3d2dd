#include "DesktopFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace tarvane {

namespace {

// Where Debian's fonts-wine puts its faces, and where other packagings do.
bool AddWineFont(const QString& file)
{
    const QStringList folders = {
        QStringLiteral("/usr/share/wine/fonts"),
        QStringLiteral("/usr/share/fonts/truetype/wine"),
        QStringLiteral("/usr/share/fonts/wine"),
    };
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(file);
        if (QFileInfo::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            return true;
    }
    return false;
}

} // namespace

void RegisterDesktopFonts()
{
    AddWineFont(QStringLiteral("tahoma.ttf"));
    AddWineFont(QStringLiteral("tahomabd.ttf"));
    if (qGuiApp->devicePixelRatio() > 1.0) {
        // MS Sans Serif only has 13, 16 and 20 pixel strikes: scaled up, its letters stay
        // small and drift apart. Tahoma, its scalable successor in the same dialogs, has
        // the same cap height at 11 px and nearly the same advances.
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma"));
    } else {
        AddWineFont(QStringLiteral("ms_sans_serif.ttf"));
    }
}

} // namespace tarvane
