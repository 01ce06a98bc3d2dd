#include "BitmapResource.h"

#include "ScreenDensity.h"

#include <QFileInfo>
#include <QImageReader>

namespace tarvane {

namespace {

// Read as BMP by name: asked to guess, Qt would first load every image plugin to let each
// look at the data.
QImage ReadBmp(const QString& path)
{
    QImageReader reader(path, "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

QImage LoadBitmapResource(const QString& name)
{
    if (DenseScreen()) {
        // The reader takes the ratio from the "@2x" in the name.
        const QString fine = QStringLiteral(":/bitmaps/%1@2x.bmp").arg(name);
        if (QFileInfo::exists(fine))
            return ReadBmp(fine);
    }
    return ReadBmp(QStringLiteral(":/bitmaps/%1.bmp").arg(name));
}

} // namespace tarvane
