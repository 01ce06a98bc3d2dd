#include "BitmapResource.h"

#include "ScreenDensity.h"

#include <QFileInfo>

namespace tarvane {

QImage LoadBitmapResource(const QString& name)
{
    if (DenseScreen()) {
        // The reader takes the ratio from the "@2x" in the name.
        const QString fine = QStringLiteral(":/bitmaps/%1@2x.bmp").arg(name);
        if (QFileInfo::exists(fine))
            return QImage(fine);
    }
    return QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(name));
}

} // namespace tarvane
