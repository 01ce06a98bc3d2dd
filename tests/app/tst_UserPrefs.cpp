#include "uMisc.h"
#include "uUserPrefs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

using tarvane::TUserPrefs;

Q_DECLARE_METATYPE(TUserPrefs)

namespace {

const TUserPrefs Unit5Prefs{4, 4, 0, 5, 1.0};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Store(const QString& path, const QByteArray& data)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
}

// Child mode: save the preferences as the calling (unprivileged) user would at close.
int SaveAsChild(const QString& path)
{
    try {
        tarvane::SaveUserPrefs(path, Unit5Prefs);
        return 0;
    } catch (const std::exception& error) {
        std::fputs(error.what(), stderr);
        return 1;
    }
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

    void ReadGivesDefaultsForWhatDoesNotParse_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<TUserPrefs>("expected");

        const TUserPrefs defaults{4, 4, 0, 0, 1.0};
        QTest::newRow("missing file") << QByteArray("<missing>") << defaults;
        QTest::newRow("missing section") << QByteArray("[Other]\nValue1Index=3\n") << defaults;
        QTest::newRow("garbage bytes") << QByteArrayLiteral("\x00\xFF\xFE\x80[\x01=\n\n") << defaults;
        QTest::newRow("every key")
            << QByteArray("[UserPrefs]\nValue1precision=2\nValue2precision=10\nValue1Index=3\n"
                          "Value2Index=11\nValue1=-12.5\n")
            << TUserPrefs{2, 10, 3, 11, -12.5};
        QTest::newRow("CRLF, BOM, names in any case")
            << QByteArray("\xEF\xBB\xBF[userprefs]\r\nvalue1PRECISION=6\r\nVALUE1=2.5\r\n")
            << TUserPrefs{6, 4, 0, 0, 2.5};
        QTest::newRow("low 8 bits: 260 and -1")
            << QByteArray("[UserPrefs]\nValue1precision=260\nValue2precision=-1\n")
            << TUserPrefs{4, 255, 0, 0, 1.0};
        QTest::newRow("hexadecimal $ and 0x")
            << QByteArray("[UserPrefs]\nValue1precision=$1F\nValue2precision=0x1f\nValue1Index=0X3\n")
            << TUserPrefs{31, 31, 3, 0, 1.0};
        QTest::newRow("not integers")
            << QByteArray("[UserPrefs]\nValue1precision=abc\nValue2precision=0x\nValue1Index=1.5\n"
                          "Value2Index=2147483648\n")
            << defaults;
        QTest::newRow("unit index outside the catalogue falls back to 0")
            << QByteArray("[UserPrefs]\nValue1Index=12\nValue2Index=260\n")
            << TUserPrefs{4, 4, 0, 4, 1.0};
        QTest::newRow("Value1 abc") << QByteArray("[UserPrefs]\nValue1=abc\n") << defaults;
        QTest::newRow("Value1 with a comma") << QByteArray("[UserPrefs]\nValue1=0,775\n")
                                             << TUserPrefs{4, 4, 0, 0, 0.775};
        QTest::newRow("Value1 two separators") << QByteArray("[UserPrefs]\nValue1=1,234.5\n")
                                               << defaults;
        QTest::newRow("Value1 out of range") << QByteArray("[UserPrefs]\nValue1=1E400\n") << defaults;
        QTest::newRow("5000-character line")
            << QByteArray("[UserPrefs]\nValue1=" + QByteArray(5000, '7') + "\nValue1Index=2\n")
            << TUserPrefs{4, 4, 2, 0, 1.0};
    }

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
    }

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
                          "Value1Index=0\nValue2Index=5\nValue1=1\n");
        QTest::newRow("French separator")
            << french << QByteArray("<missing>") << TUserPrefs{10, 0, 11, 3, 0.775}
            << QByteArray("[UserPrefs]\nWriteTest=1\nValue1precision=10\nValue2precision=0\n"
                          "Value1Index=11\nValue2Index=3\nValue1=0,775\n");
        QTest::newRow("other sections, comments and CRLF kept, keys edited in place")
            << english
            << QByteArray("; mine\r\n[Window]\r\nLeft=3\r\n\r\n[UserPrefs]\r\nValue1=9\r\n"
                          "value2index=1\r\nExtra=x\r\n\r\n[Tail]\r\n")
            << TUserPrefs{255, 4, 0, 5, -0.00001}
            << QByteArray("; mine\r\n[Window]\r\nLeft=3\r\n\r\n[UserPrefs]\r\nValue1=-1E-5\r\n"
                          "value2index=5\r\nExtra=x\r\nWriteTest=1\r\nValue1precision=255\r\n"
                          "Value2precision=4\r\nValue1Index=0\r\n\r\n[Tail]\r\n");
    }

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
        const TUserPrefs prefs{7, 0, 9, 10, -1234.5678};
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        tarvane::SaveUserPrefs(m_path, prefs);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(tarvane::ReadUserPrefs(m_path), prefs);
    }

    void UnwritableFileIsNeverChanged_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<int>("folderMode");
        QTest::newRow("read-only file in an open folder") << true << 0444 << 0777;
        QTest::newRow("writable file in a read-only folder") << true << 0666 << 0755;
        QTest::newRow("no file in a read-only folder") << false << 0 << 0755;
    }

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
        child.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups",
                              QCoreApplication::applicationFilePath(), "--save", path});
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.readAllStandardError(), QByteArray());
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(ReadAll(path), exists ? before : QByteArray("<missing>"));
        QVERIFY(QFileInfo(path).exists() == exists);
    }

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
        return SaveAsChild(QString::fromLocal8Bit(argv[2]));
    TestUserPrefs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_UserPrefs.moc"
