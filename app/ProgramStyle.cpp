#include "ProgramStyle.h"

#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QStyleOption>

namespace tarvane {

namespace {

QPixmap ReadPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The arrow at its three sizes, as Qt's common style offers it.
QIcon ExtensionIcon(bool rightToLeft)
{
    const QString name = rightToLeft ? QStringLiteral("toolbar-ext-h-rtl-%1.png")
                                     : QStringLiteral("toolbar-ext-h-%1.png");
    QIcon icon;
    for (const int size : {8, 16, 32}) {
        icon.addPixmap(ReadPng(QStringLiteral(":/qt-project.org/styles/commonstyle/images/")
                               + name.arg(size)));
    }
    return icon;
}

} // namespace

TProgramStyle::TProgramStyle() = default;

QIcon TProgramStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                  const QWidget* widget) const
{
    if (standardIcon == SP_ToolBarHorizontalExtensionButton)
        return ExtensionIcon(option ? option->direction == Qt::RightToLeft
                                    : QGuiApplication::isRightToLeft());
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

} // namespace tarvane
