#include "Application.h"

#include "AccessibleFactory.h"
#include "ModalFocus.h"
#include "ProgramStyle.h"
#include "ScreenDensity.h"
#include "WaylandSession.h"

#include <QAccessible>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>

namespace tarvane {

TApplication::TApplication(int& argc, char** argv)
    : TApplication(argc, argv, PrepareWaylandWindows())
{
}

TApplication::TApplication(int& argc, char** argv, const TWaylandWindows& waylandWindows)
    : QApplication(argc, argv)
{
    SetWaylandWindows(waylandWindows);
    // The name alone: a display name set apart would be appended by Qt to every window title
    // that is not that name, and the About window's caption is "A propos..." and nothing more.
    // The display name still reads as this name.
    setApplicationName(QStringLiteral("Tarvane"));
    setDesktopFileName(QStringLiteral("tarvane")); // ties the windows to tarvane.desktop
    setStyle(new TProgramStyle);                   // the application owns it
    LoadQtTranslation();
    QAccessible::installFactory(AccessibleFactory);
    TModalFocus::InstallOnWayland(this);
}

QIcon TApplication::ProgramIcon()
{
    // Window managers draw a window's icon at most about 64 pixels wide, twice that on a dense
    // screen; the larger pictures serve the installed launcher through the icon theme.
    // Decoded and handed to the window system, the 256-pixel one alone would take more memory
    // than the rest of the icon. Read as PNG by name: given only a file, Qt first loads every
    // image plugin to let each look at it.
    const int largest = DenseScreen() ? 128 : 64;
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        if (size > largest)
            break;
        QImageReader reader(QStringLiteral(":/icons/tarvane-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

void TApplication::LoadQtTranslation()
{
    // Qt's own texts (the edit boxes' context menu) are French like the rest, whatever the
    // user's locale; without the translation file they stay English.
    if (m_qtTranslator.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&m_qtTranslator);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}

void TApplication::ShowException(const std::exception& error)
{
    ShowError(QString::fromUtf8(error.what()));
}

void TApplication::ShowError(const QString& message)
{
    QMessageBox::critical(activeWindow(), applicationDisplayName(), ErrorReportText(message));
}

QString TApplication::ErrorReportText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

} // namespace tarvane
