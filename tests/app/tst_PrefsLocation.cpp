#include "FileTesting.h"
#include "frmMain.h"
#include "uUserPrefs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

using tarvane::testing::ReadAll;

namespace {

constexpr uid_t Nobody = 65534;
constexpr int ChosenUnit = 9;

bool Store(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

bool GiveToNobody(const QString& path)
{
    return ::chown(QFile::encodeName(path).constData(), Nobody, Nobody) == 0;
}

// Child mode, run as root or as an unprivileged user: start the window of a program at executable, print
// where its preferences go and the unit it restored under box 2, choose another, and close.
int CloseAsUser(const QString& executable)
{
    tarvane::TfmMain window(nullptr, executable);
    std::printf("%s\n%d\n", qPrintable(window.IniFileName()), window.lstUnits2->currentRow());
    window.lstUnits2->setCurrentRow(ChosenUnit);
    return window.close() ? 0 : 1;
}

} // namespace

class TestPrefsLocation : public QObject {
    Q_OBJECT

private slots:
    // clang-format off
    void SavedWhereTheUserCanWrite_data()
    {
        QTest::addColumn<bool>("installed");      // the program beside its share/tarvane folder
        QTest::addColumn<bool>("asRoot");         // else as an unprivileged user
        QTest::addColumn<QByteArray>("beside");  // tarvane.ini beside the program, or a mark
        QTest::addColumn<bool>("besideWritable");
        QTest::addColumn<bool>("folderWritable"); // the program's folder
        QTest::addColumn<QByteArray>("user");    // the user's own file, or "<missing>"
        QTest::addColumn<QByteArray>("system");  // the administrator's file, or "<missing>"
        QTest::addColumn<bool>("xdgSet");         // else the file goes under $HOME/.config
        QTest::addColumn<bool>("portable");       // saved beside the program
        QTest::addColumn<int>("startUnit");

        const QByteArray none("<missing>");
        const QByteArray unit5("[UserPrefs]\nValue2Index=5\n");
        const QByteArray unit7("[UserPrefs]\nValue2Index=7\n");
        const auto portable = [](const char* name, bool asRoot = false) -> QTestData& {
            return QTest::newRow(name) << false << asRoot;
        };
        const auto installed = [](const char* name, bool asRoot = false) -> QTestData& {
            return QTest::newRow(name) << true << asRoot;
        };
        portable("portable, first start") << none << false << true << none << none << true << true << 0;
        portable("portable, writable file") << unit5 << true << true << none << none << true << true << 5;
        portable("portable, run by root: beside it") << unit5 << true << true << none << unit7 << true
                                                     << true << 5;
        portable("read-only folder: the user's folder is made at close")
            << none << false << false << none << none << true << false << 0;
        portable("without XDG_CONFIG_HOME: ~/.config")
            << none << false << false << none << none << false << false << 0;
        portable("read-only file beside seeds the user's file")
            << unit5 << false << true << none << unit7 << true << false << 5;
        portable("writable file in a read-only folder cannot be replaced: seeds too")
            << unit5 << true << false << none << none << true << false << 5;
        portable("the user's file, once there, wins over the seed")
            << unit5 << false << false << unit7 << none << true << false << 7;
        portable("dangling link beside: its target is never made")
            << QByteArray("<dangling>") << false << true << none << none << true << false << 0;
        installed("installed, run by root: never beside, though root may write there", true)
            << unit5 << true << true << none << none << true << false << 0;
        installed("installed, run by root: the administrator's file starts", true)
            << none << true << true << none << unit5 << false << false << 5;
        installed("installed: the administrator's file starts, not the one beside")
            << unit7 << true << true << none << unit5 << true << false << 5;
        installed("installed: the user's file, once there, wins")
            << none << true << true << unit7 << unit5 << true << false << 7;
    }
    // clang-format on

    // Preferences are never lost: an installed copy keeps them in the user's own file, a
    // portable one beside itself when it can write there, else in the user's file; a file that
    // cannot be written, and the administrator's, are left alone.
    void SavedWhereTheUserCanWrite()
    {
        QFETCH(bool, installed);
        QFETCH(bool, asRoot);
        QFETCH(QByteArray, beside);
        QFETCH(bool, besideWritable);
        QFETCH(bool, folderWritable);
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, system);
        QFETCH(bool, xdgSet);
        QFETCH(bool, portable);
        QFETCH(int, startUnit);
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty() || geteuid() != 0)
            QSKIP("needs root and setpriv to run the program as another user");

        // Root owns the program's folder, as in a system install; the user owns their home.
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        const QString prefix = dir.filePath(QStringLiteral("Mes programmes"));
        const QString folder = prefix + QStringLiteral("/bin");
        const QString home = dir.filePath(QStringLiteral("home"));
        const QString config = xdgSet ? dir.filePath(QStringLiteral("config")) : home + "/.config";
        const QString systemConfig = dir.filePath(QStringLiteral("xdg"));
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(home) && QDir().mkpath(config));
        QVERIFY(GiveToNobody(home) && GiveToNobody(config));
        if (installed)
            QVERIFY(QDir().mkpath(prefix + QStringLiteral("/share/tarvane")));
        if (folderWritable)
            QVERIFY(GiveToNobody(folder));
        const QString besideFile = folder + QStringLiteral("/tarvane.ini");
        if (beside == "<dangling>") {
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("home/target.ini")), besideFile));
        } else if (beside != "<missing>") {
            QVERIFY(Store(besideFile, beside));
            if (besideWritable)
                QVERIFY(GiveToNobody(besideFile));
        }
        const QString userFile = config + QStringLiteral("/tarvane/tarvane.ini");
        if (user != "<missing>") {
            QVERIFY(QDir().mkpath(config + QStringLiteral("/tarvane")));
            QVERIFY(Store(userFile, user));
            QVERIFY(GiveToNobody(config + QStringLiteral("/tarvane")) && GiveToNobody(userFile));
        }
        const QString systemFile = systemConfig + QStringLiteral("/tarvane/tarvane.ini");
        if (system != "<missing>")
            QVERIFY(QDir().mkpath(systemConfig + QStringLiteral("/tarvane"))
                    && Store(systemFile, system));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home);
        environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
        if (xdgSet)
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), systemConfig);
        QStringList arguments = {QCoreApplication::applicationFilePath(), "--close-as-user",
                                 folder + QStringLiteral("/tarvane")};
        if (!asRoot)
            arguments = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups"} + arguments;
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(asRoot ? arguments.takeFirst() : setpriv, arguments);
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);

        const QString saved = portable ? besideFile : userFile;
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()),
                 QStringLiteral("%1\n%2\n").arg(saved).arg(startUnit));
        QCOMPARE(tarvane::ReadUserPrefs(saved).Value2Index, ChosenUnit);
        if (!portable)
            QCOMPARE(ReadAll(besideFile),
                     beside == "<dangling>" ? QByteArray("<missing>") : beside);
        else
            QVERIFY(!QFile::exists(userFile));
        QCOMPARE(ReadAll(systemFile), system);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--close-as-user")
        return CloseAsUser(QString::fromLocal8Bit(argv[2]));
    TestPrefsLocation test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_PrefsLocation.moc"
