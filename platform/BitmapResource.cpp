#include "BitmapResource.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace tarvane {

QImage LoadBitmapResource(const QString& name)
{
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        // The reader takes the ratio from the "@2x" in the name.
        const QString fine = QStringLiteral(":/bitmaps/%1@2x.bmp").arg(name);
        if (QFileInfo::exists(fine))
            return QImage(fine);
    }
    return QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(name));
}

} // namespace tarvane
