#include "uCommandLine.h"

#include <QTest>

using tarvane::ReadCommandLine;
using tarvane::TCommandLineAnswer;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void Answers_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after the program's name
        QTest::addColumn<bool>("openWindow");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // how standard output starts
        QTest::addColumn<QString>("errors"); // how standard error starts

        const QString usage = QStringLiteral("Usage : tarvane [options]\n");
        QTest::newRow("no argument") << QStringList() << true << 0 << QString() << QString();
        QTest::newRow("Qt's own options are left to Qt")
            << QStringList{"-platform", "offscreen", "-session", "1a2b", "--style=fusion", "-reverse"}
            << true << 0 << QString() << QString();
        QTest::newRow("--help") << QStringList{"--help"} << false << 0 << usage << QString();
        QTest::newRow("-h wins over -v") << QStringList{"-v", "-h"} << false << 0 << usage << QString();
        QTest::newRow("--version") << QStringList{"--version"} << false << 0 << QString() << QString();
        QTest::newRow("unknown option")
            << QStringList{"--units"} << false << 2 << QString()
            << QStringLiteral("tarvane : option inconnue « --units »\n") + usage;
        QTest::newRow("unknown short option, even with --help")
            << QStringList{"-x", "--help"} << false << 2 << QString()
            << QStringLiteral("tarvane : option inconnue « -x »\n") + usage;
        QTest::newRow("an argument") << QStringList{"notes.ini"} << false << 2 << QString()
                                     << QStringLiteral("tarvane : argument inattendu « notes.ini »\n");
        QTest::newRow("a Qt option without its value")
            << QStringList{"-style"} << false << 2 << QString() << QStringLiteral("tarvane : option sans");
    }
    // clang-format on

    // --help and --version answer and end the program; what is not understood ends it with 2
    // and the usage on standard error; anything else opens the window.
    void Answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, openWindow);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, errors);

        const TCommandLineAnswer answer =
            ReadCommandLine(QStringList{QStringLiteral("/usr/bin/tarvane")} + arguments);
        QCOMPARE(answer.OpenWindow, openWindow);
        QCOMPARE(answer.ExitCode, exitCode);
        QVERIFY2(answer.Output.startsWith(output), qPrintable(answer.Output));
        QCOMPARE(answer.Output.isEmpty(), openWindow || exitCode != 0);
        QVERIFY2(answer.Errors.startsWith(errors), qPrintable(answer.Errors));
        QCOMPARE(answer.Errors.isEmpty(), exitCode == 0);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)

#include "tst_CommandLine.moc"
