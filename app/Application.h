#pragma once

#include <QApplication>
#include <QTranslator>

#include <exception>

namespace tarvane {

struct TWaylandWindows;

// The application object, with Qt's own texts in French. An error that reaches the event
// loop is shown in a critical message box titled with the application's title, and the
// program goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The application's error report.
    static void ShowException(const std::exception& error);
    static void ShowError(const QString& message);

    // The report's text: the message, with a full stop appended when its last character
    // sorts after ".".
    static QString ErrorReportText(const QString& message);

    // The program's icon at all its sizes. The main window gives it to the application
    // once it is first on screen (see TfmMain).
    static QIcon ProgramIcon();

private:
    // waylandWindows: PrepareWaylandWindows' answer, taken before the base class exists.
    TApplication(int& argc, char** argv, const TWaylandWindows& waylandWindows);

    void LoadQtTranslation();

    QTranslator m_qtTranslator;
};

} // namespace tarvane
