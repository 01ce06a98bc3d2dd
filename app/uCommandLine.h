#pragma once

#include <QString>
#include <QStringList>

namespace tarvane {

// What the command line asks of the program. It is answered before the application object
// exists, so --help and --version work without any display.
struct TCommandLineAnswer {
    bool OpenWindow = true; // nothing on the line ends the program: go on to the window
    int ExitCode = 0;       // the program's status when it ends here
    QString Output;         // for standard output
    QString Errors;         // for standard error
};

// arguments: the program's name, then its arguments. Qt's own options (-platform, -style,
// -session...) are accepted and left to Qt; --help and --version answer in French and end
// the program with 0; any other option or argument prints the usage to standard error and
// ends it with 2.
TCommandLineAnswer ReadCommandLine(const QStringList& arguments);

} // namespace tarvane
