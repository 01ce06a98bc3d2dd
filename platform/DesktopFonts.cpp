#include "DesktopFonts.h"

#include "ScreenDensity.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <QVariant>

namespace tarvane {

namespace {

constexpr char MsSansSerifIdProperty[] = "tarvaneMsSansSerifFontId";

// Where Debian's fonts-wine puts its faces, and where other packagings do. The face's
// application font id, or -1 when it is nowhere.
int AddWineFont(const QString& file)
{
    const QStringList folders = {
        QStringLiteral("/usr/share/wine/fonts"),
        QStringLiteral("/usr/share/fonts/truetype/wine"),
        QStringLiteral("/usr/share/fonts/wine"),
    };
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(file);
        if (!QFileInfo::exists(path))
            continue;
        if (const int id = QFontDatabase::addApplicationFont(path); id >= 0)
            return id;
    }
    return -1;
}

} // namespace

void RegisterDesktopFonts()
{
    AddWineFont(QStringLiteral("tahoma.ttf"));
    AddWineFont(QStringLiteral("tahomabd.ttf"));
    ChooseDesktopFaces(DenseScreen());
}

void ChooseDesktopFaces(bool dense)
{
    // MS Sans Serif only has 13, 16 and 20 pixel strikes: scaled up, its letters stay small
    // and drift apart. Tahoma, its scalable successor in the same dialogs, has the same cap
    // height at 11 px and nearly the same advances. A substitute serves only a face that is
    // missing, so the bitmap face leaves while the screen is dense; adding or removing a face
    // also empties Qt's cache of faces, so text takes the new choice.
    const QString family = QStringLiteral("MS Sans Serif");
    const QVariant registered = qApp->property(MsSansSerifIdProperty);
    if (dense) {
        QFont::insertSubstitution(family, QStringLiteral("Tahoma"));
        if (registered.isValid())
            QFontDatabase::removeApplicationFont(registered.toInt());
        qApp->setProperty(MsSansSerifIdProperty, QVariant());
    } else {
        QFont::removeSubstitutions(family);
        if (!registered.isValid()) {
            if (const int id = AddWineFont(QStringLiteral("ms_sans_serif.ttf")); id >= 0)
                qApp->setProperty(MsSansSerifIdProperty, id);
        }
    }
}

} // namespace tarvane
