#include "uCommandLine.h"

#include "ExeInfo.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace tarvane {

namespace {

constexpr int UsageError = 2;

// The options Qt's application objects take for themselves (a session manager restarts the
// program with -session, for one).
struct TQtOption {
    const char* name;
    bool takesValue;
};

constexpr TQtOption QtOptions[] = {
    {"platform", true},      {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},
    {"qmljsdebugger", true}, {"qwindowgeometry", true},
    {"qwindowicon", true},   {"qwindowtitle", true},
    {"reverse", false},      {"session", true},
    {"display", true},       {"geometry", true},
    {"style", true},         {"stylesheet", true},
    {"widgetcount", false},
};

QString Usage(const QString& program)
{
    return QStringLiteral(
               "Usage : %1 [options]\n"
               "Convertisseur de niveaux de signal : ouvre la fenêtre de conversion.\n"
               "\n"
               "Options :\n"
               "  -h, --help     affiche cette aide et quitte\n"
               "  -v, --version  affiche la version et quitte\n"
               "Les options standard de Qt (-platform, -style, -session...) sont acceptées.\n"
               "\n"
               "Pour convertir depuis un terminal : tarvane-convert VALEUR DE VERS [-p N]\n"
               "Voir « man tarvane ».\n")
        .arg(program);
}

QString VersionText()
{
    const TExeInfo info; // the running executable's version record
    return QStringLiteral("%1 %2\n%3\n%4\n")
        .arg(info.ProductName(), info.FileVersion(), info.FileDescription(), info.LegalCopyright());
}

// Why the line cannot be run, in French.
QString Fault(const QCommandLineParser& parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().constFirst();
        return QStringLiteral("option inconnue « %1%2 »")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("argument inattendu « %1 »")
            .arg(parser.positionalArguments().constFirst());
    return QStringLiteral("option sans sa valeur, ou avec une valeur qu'elle ne prend pas");
}

} // namespace

TCommandLineAnswer ReadCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Qt's own options are written with one dash (-platform), like long options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOption(help);
    parser.addOption(version);
    for (const TQtOption& qtOption : QtOptions) {
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(qtOption.name), QString(),
                               qtOption.takesValue ? QStringLiteral("value") : QString()));
    }

    const QString program = arguments.isEmpty() ? QStringLiteral("tarvane")
                                                : QFileInfo(arguments.constFirst()).fileName();
    TCommandLineAnswer answer;
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        answer.OpenWindow = false;
        answer.ExitCode = UsageError;
        answer.Errors = QStringLiteral("%1 : %2\n").arg(program, Fault(parser)) + Usage(program);
    } else if (parser.isSet(help)) {
        answer.OpenWindow = false;
        answer.Output = Usage(program);
    } else if (parser.isSet(version)) {
        answer.OpenWindow = false;
        answer.Output = VersionText();
    }
    return answer;
}

} // namespace tarvane
