#include "Application.h"

#include "AccessibleFactory.h"

#include <QAccessible>
#include <QIcon>
#include <QMessageBox>

namespace tarvane {

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tarvane"));
    setApplicationDisplayName(QStringLiteral("Tarvane"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tarvane-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    QAccessible::installFactory(AccessibleFactory);
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
    QMessageBox::critical(activeWindow(), applicationDisplayName(),
                          ErrorReportText(QString::fromUtf8(error.what())));
}

QString TApplication::ErrorReportText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

} // namespace tarvane
