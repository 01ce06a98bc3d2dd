#include "FileTesting.h"
#include "NativeFiles.h"
#include "uMisc.h"
#include "uUserPrefs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using tarvane::TUserPrefs;
using tarvane::testing::ReadAll;

Q_DECLARE_METATYPE(TUserPrefs)

namespace {

const TUserPrefs Unit5Prefs{4, 4, 0, 5, 1.0, {}};

void Store(const QString& path, const QByteArray& data)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
}

// Child mode: save the preferences as the calling user would at close, and say what failed.
int SaveAsChild(const QString& path)
{
    std::signal(SIGXFSZ, SIG_IGN); // a file-size limit fails the write instead of the program
    if (tarvane::SaveUserPrefs(path, Unit5Prefs))
        return 0;
    std::fputs("save failed", stderr);
    return 1;
}

} // namespace

class TestUserPrefs : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_path = m_dir.filePath(QStringLiteral("tarvane.ini"));
        QFile::remove(m_path);
    }

    // clang-format off
    void ReadGivesDefaultsForWhatDoesNotParse_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<TUserPrefs>("expected");

        const TUserPrefs defaults{4, 4, 0, 0, 1.0, {}};
        QTest::newRow("missing file") << QByteArray("<missing>") << defaults;
        QTest::newRow("missing section") << QByteArray("[Other]\nValue1Index=3\n") << defaults;
        QTest::newRow("garbage bytes") << QByteArrayLiteral("\x00\xFF\xFE\x80[\x01=\n\n") << defaults;
        QTest::newRow("every key")
            << QByteArray("[UserPrefs]\nValue1precision=2\nValue2precision=10\nValue1Index=3\n"
                          "Value2Index=11\nValue1=-12.5\n")
            << TUserPrefs{2, 10, 3, 11, -12.5, {}};
        QTest::newRow("CRLF, BOM, names in any case")
            << QByteArray("\xEF\xBB\xBF[userprefs]\r\nvalue1PRECISION=6\r\nVALUE1=2.5\r\n")
            << TUserPrefs{6, 4, 0, 0, 2.5, {}};
        QTest::newRow("low 8 bits: 260 and -1")
            << QByteArray("[UserPrefs]\nValue1precision=260\nValue2precision=-1\n")
            << TUserPrefs{4, 255, 0, 0, 1.0, {}};
        QTest::newRow("hexadecimal $ and 0x")
            << QByteArray("[UserPrefs]\nValue1precision=$1F\nValue2precision=0x1f\nValue1Index=0X3\n")
            << TUserPrefs{31, 31, 3, 0, 1.0, {}};
        QTest::newRow("not integers")
            << QByteArray("[UserPrefs]\nValue1precision=abc\nValue2precision=0x\nValue1Index=1.5\n"
                          "Value2Index=2147483648\n")
            << defaults;
        QTest::newRow("unit index outside the catalogue falls back to 0")
            << QByteArray("[UserPrefs]\nValue1Index=12\nValue2Index=260\n")
            << TUserPrefs{4, 4, 0, 4, 1.0, {}};
        QTest::newRow("Value1 abc") << QByteArray("[UserPrefs]\nValue1=abc\n") << defaults;
        QTest::newRow("Value1 with a comma") << QByteArray("[UserPrefs]\nValue1=0,775\n")
                                             << TUserPrefs{4, 4, 0, 0, 0.775, {}};
        QTest::newRow("Value1 two separators") << QByteArray("[UserPrefs]\nValue1=1,234.5\n")
                                               << defaults;
        QTest::newRow("Value1 out of range") << QByteArray("[UserPrefs]\nValue1=1E400\n") << defaults;
        QTest::newRow("5000-character line")
            << QByteArray("[UserPrefs]\nValue1=" + QByteArray(5000, '7') + "\nValue1Index=2\n")
            << TUserPrefs{4, 4, 2, 0, 1.0, {}};

        // Box 2's number, in keys that older copies ignore: it holds while the units and
        // Value1 are those it was saved with, which an older copy may have changed since.
        const QByteArray box2 = "[UserPrefs]\nValue1Index=4\nValue1=1\n";
        QTest::newRow("box 2's number")
            << box2 + "Source=2\nSourceValue=0\nSourceCheck=4 0 1\n" << TUserPrefs{4, 4, 4, 0, 1.0, 0.0};
        QTest::newRow("box 2's number with a comma")
            << box2 + "Source=2\nSourceValue=-0,5\nSourceCheck=4 0 1\n" << TUserPrefs{4, 4, 4, 0, 1.0, -0.5};
        QTest::newRow("box 1 the source") << box2 + "Source=1\nSourceValue=0\nSourceCheck=4 0 1\n"
                                          << TUserPrefs{4, 4, 4, 0, 1.0, {}};
        QTest::newRow("source 3") << box2 + "Source=3\nSourceValue=0\nSourceCheck=4 0 1\n"
                                  << TUserPrefs{4, 4, 4, 0, 1.0, {}};
        QTest::newRow("source value abc") << box2 + "Source=2\nSourceValue=abc\nSourceCheck=4 0 1\n"
                                          << TUserPrefs{4, 4, 4, 0, 1.0, {}};
        QTest::newRow("source value out of range") << box2 + "Source=2\nSourceValue=1E400\nSourceCheck=4 0 1\n"
                                                   << TUserPrefs{4, 4, 4, 0, 1.0, {}};
        QTest::newRow("no check") << box2 + "Source=2\nSourceValue=0\n" << TUserPrefs{4, 4, 4, 0, 1.0, {}};
        QTest::newRow("Value1 changed since") << box2 + "Source=2\nSourceValue=0\nSourceCheck=4 0 2\n"
                                              << TUserPrefs{4, 4, 4, 0, 1.0, {}};
        QTest::newRow("a unit changed since") << box2 + "Source=2\nSourceValue=0\nSourceCheck=4 1 1\n"
                                              << TUserPrefs{4, 4, 4, 0, 1.0, {}};
    }
    // clang-format on

    void ReadGivesDefaultsForWhatDoesNotParse()
    {
        QFETCH(QByteArray, data);
        QFETCH(TUserPrefs, expected);
        if (data != "<missing>")
            Store(m_path, data);
        const TUserPrefs prefs = tarvane::ReadUserPrefs(m_path);
        QCOMPARE(prefs.Value1precision, expected.Value1precision);
        QCOMPARE(prefs.Value2precision, expected.Value2precision);
        QCOMPARE(prefs.Value1Index, expected.Value1Index);
        QCOMPARE(prefs.Value2Index, expected.Value2Index);
        QCOMPARE(prefs.Value1, expected.Value1);
        QCOMPARE(prefs.Value2, expected.Value2);
    }

    // clang-format off
    void SaveWritesTheFileText_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<TUserPrefs>("prefs");
        QTest::addColumn<QByteArray>("after");

        const QLocale french(QLocale::French, QLocale::France);
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("new file")
            << french << QByteArray("<missing>") << Unit5Prefs
            << QByteArray("[UserPrefs]\nWriteTest=1\nValue1precision=4\nValue2precision=4\n"
                          "Value1Index=0\nValue2Index=5\nValue1=1\nSource=1\nSourceValue=1\n"
                          "SourceCheck=0 5 1\n");
        QTest::newRow("French separator")
            << french << QByteArray("<missing>") << TUserPrefs{10, 0, 11, 3, 0.775, {}}
            << QByteArray("[UserPrefs]\nWriteTest=1\nValue1precision=10\nValue2precision=0\n"
                          "Value1Index=11\nValue2Index=3\nValue1=0,775\nSource=1\nSourceValue=0,775\n"
                          "SourceCheck=11 3 0.775\n");
        QTest::newRow("number given in box 2")
            << french << QByteArray("<missing>") << TUserPrefs{4, 4, 4, 0, 1.0, 0.5}
            << QByteArray("[UserPrefs]\nWriteTest=1\nValue1precision=4\nValue2precision=4\n"
                          "Value1Index=4\nValue2Index=0\nValue1=1\nSource=2\nSourceValue=0,5\n"
                          "SourceCheck=4 0 1\n");
        QTest::newRow("number needing 17 digits to read back")
            << english << QByteArray("<missing>") << TUserPrefs{4, 4, 0, 2, 13.010299956639813, {}}
            << QByteArray("[UserPrefs]\nWriteTest=1\nValue1precision=4\nValue2precision=4\n"
                          "Value1Index=0\nValue2Index=2\nValue1=13.010299956639813\nSource=1\n"
                          "SourceValue=13.010299956639813\nSourceCheck=0 2 13.010299956639813\n");
        QTest::newRow("other sections, comments and CRLF kept, keys edited in place")
            << english
            << QByteArray("; mine\r\n[Window]\r\nLeft=3\r\n\r\n[UserPrefs]\r\nValue1=9\r\n"
                          "value2index=1\r\nExtra=x\r\n\r\n[Tail]\r\n")
            << TUserPrefs{255, 4, 0, 5, -0.00001, {}}
            << QByteArray("; mine\r\n[Window]\r\nLeft=3\r\n\r\n[UserPrefs]\r\nValue1=-1E-5\r\n"
                          "value2index=5\r\nExtra=x\r\nWriteTest=1\r\nValue1precision=255\r\n"
                          "Value2precision=4\r\nValue1Index=0\r\nSource=1\r\nSourceValue=-1E-5\r\n"
                          "SourceCheck=0 5 -1E-5\r\n\r\n[Tail]\r\n");
    }
    // clang-format on

    void SaveWritesTheFileText()
    {
        QFETCH(QLocale, locale);
        QFETCH(QByteArray, before);
        QFETCH(TUserPrefs, prefs);
        QFETCH(QByteArray, after);
        QLocale::setDefault(locale);
        if (before != "<missing>")
            Store(m_path, before);
        tarvane::SaveUserPrefs(m_path, prefs);
        QCOMPARE(ReadAll(m_path), after);
    }

    void SavedPrefsReadBackUnderAnyLocale()
    {
        const TUserPrefs prefs{7, 0, 9, 10, -1234.5678 / 3, 0.1 / 3}; // exactly, every digit
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        tarvane::SaveUserPrefs(m_path, prefs);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(tarvane::ReadUserPrefs(m_path), prefs);
    }

    // clang-format off
    void UnwritableFileIsNeverChanged_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<int>("folderMode");
        QTest::newRow("read-only file in an open folder") << true << 0444 << 0777;
        QTest::newRow("writable file in a read-only folder") << true << 0666 << 0755;
        QTest::newRow("no file in a read-only folder") << false << 0 << 0755;
    }
    // clang-format on

    // Root writes through permission bits, so the save runs as an unprivileged user.
    void UnwritableFileIsNeverChanged()
    {
        QFETCH(bool, exists);
        QFETCH(int, fileMode);
        QFETCH(int, folderMode);
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty() || geteuid() != 0)
            QSKIP("needs root and setpriv to run the save as another user");

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("tarvane.ini"));
        const QByteArray before("[UserPrefs]\nValue1=3\n");
        if (exists) {
            Store(path, before);
            QVERIFY(::chmod(QFile::encodeName(path).constData(), fileMode) == 0);
        }
        QVERIFY(::chmod(QFile::encodeName(folder.path()).constData(), folderMode) == 0);

        QProcess child;
        child.start(setpriv,
                    {"--reuid=65534", "--regid=65534", "--clear-groups",
                     QCoreApplication::applicationFilePath(), "--save", path});
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.readAllStandardError(), QByteArray());
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(ReadAll(path), exists ? before : QByteArray("<missing>"));
        QVERIFY(QFileInfo(path).exists() == exists);
    }

    // A disk that fills up after the write test leaves the file as it was, not half saved.
    void SaveIsAllOrNothing()
    {
        const QString prlimit = QStandardPaths::findExecutable(QStringLiteral("prlimit"));
        if (prlimit.isEmpty())
            QSKIP("needs prlimit to run the save with a file-size limit");
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("tarvane.ini"));
        const QByteArray before("[UserPrefs]\nValue1=3\n");
        Store(path, before);
        QProcess child; // room for the write test's line, not for the other keys
        child.start(prlimit,
                    {QStringLiteral("--fsize=%1").arg(before.size() + 20),
                     QCoreApplication::applicationFilePath(), "--save", path});
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitCode(), 1);
        QCOMPARE(child.readAllStandardError(), QByteArray("save failed"));
        QCOMPARE(ReadAll(path), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"tarvane.ini"});
    }

    // clang-format off
    void FileNamesComeBackByteForByte_data()
    {
        QTest::addColumn<QByteArray>("native");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("UTF-8") << QByteArray("/été/\xF0\x9F\x98\x80") << true;
        QTest::newRow("Latin-1") << QByteArray("/\xE9t\xE9") << false;
        QTest::newRow("overlong slash") << QByteArray("a\xC0\xAF") << false;
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("cut short at the end") << QByteArray("a\xE2\x82") << false;
        QTest::newRow("pair ending like a stand-in, then one") << QByteArray("\xF0\x90\x82\x80\xFF") << false;
    }
    // clang-format on

    void FileNamesComeBackByteForByte()
    {
        QFETCH(QByteArray, native);
        QFETCH(bool, utf8);
        const QString name = tarvane::DecodeFileName(native);
        QCOMPARE(tarvane::EncodeFileName(name), native);
        QCOMPARE(name == QString::fromUtf8(native), utf8);
    }

    // The program in a folder whose name is not UTF-8 still finds and saves its preferences.
    void FolderNameThatIsNotUtf8()
    {
        QTemporaryDir top;
        const QByteArray folder = QFile::encodeName(top.path()) + "/\xE9t\xE9";
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        const auto removeFolder = qScopeGuard([&folder] { // beyond what Qt can name
            std::filesystem::remove_all(folder.toStdString());
        });
        std::filesystem::copy_file(
            QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
            (folder + "/tarvane").toStdString());
        // Started through a link of a plain name: Qt cannot pass the program's own.
        const QString link = top.filePath(QStringLiteral("run"));
        QCOMPARE(::symlink((folder + "/tarvane").constData(), QFile::encodeName(link).constData()),
                 0);
        QProcess child;
        child.start(link, {"--save-beside"});
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(tarvane::ReadUserPrefs(tarvane::DecodeFileName(folder + "/tarvane.ini")),
                 Unit5Prefs);
    }

    // clang-format off
    void Paths_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("appPath");
        QTest::addColumn<QString>("iniFileName");
        QTest::newRow("no extension") << "/opt/tools/tarvane" << "/opt/tools/" << "/opt/tools/tarvane.ini";
        QTest::newRow("extension replaced") << "/opt/conv.bin" << "/opt/" << "/opt/conv.ini";
        QTest::newRow("dot in a folder name") << "/opt/v1.2/tarvane" << "/opt/v1.2/"
                                              << "/opt/v1.2/tarvane.ini";
    }
    // clang-format on

    void Paths()
    {
        QFETCH(QString, executable);
        QFETCH(QString, appPath);
        QFETCH(QString, iniFileName);
        QCOMPARE(tarvane::AppPathOf(executable), appPath);
        QCOMPARE(tarvane::IniFileNameOf(executable), iniFileName);
    }

    void RunningExecutableIsThisTest()
    {
        QCOMPARE(tarvane::RunningExecutablePath(),
                 QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--save")
        return SaveAsChild(tarvane::DecodeFileName(argv[2]));
    if (argc == 2 && QByteArray(argv[1]) == "--save-beside")
        return SaveAsChild(tarvane::IniFileNameOf(tarvane::RunningExecutablePath()));
    TestUserPrefs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_UserPrefs.moc"
