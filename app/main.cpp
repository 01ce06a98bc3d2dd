#include "Application.h"
#include "DesktopFonts.h"
#include "TerminationSignals.h"
#include "WaylandSession.h"
#include "frmMain.h"
#include "uCommandLine.h"

#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    // Read before the application object exists, which needs a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const tarvane::TCommandLineAnswer answer = tarvane::ReadCommandLine(arguments);
    std::fputs(answer.Output.toLocal8Bit().constData(), stdout);
    std::fputs(answer.Errors.toLocal8Bit().constData(), stderr);
    if (!answer.OpenWindow)
        return answer.ExitCode;

    tarvane::TApplication application(argc, argv);
    tarvane::RegisterDesktopFonts();
    tarvane::TfmMain fmMain;
    // The end of the session closes the windows as the user would, preferences saved.
    const tarvane::TTerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &tarvane::TTerminationSignals::Received, &application,
                     &QApplication::closeAllWindows);
    fmMain.show();
    tarvane::TakeBackWaylandSwitch();
    const int status = application.exec();
    tarvane::EndBeforeWaylandTeardown(status);
    return status;
}
