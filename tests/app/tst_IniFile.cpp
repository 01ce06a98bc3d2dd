#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using tarvane::IniFile;

namespace {

// text in UTF-16 with its byte-order mark.
QByteArray Utf16(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    void Store(const QByteArray& data)
    {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QByteArray Contents() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("prefs.ini"));
        QFile::remove(m_path);
    }

    // clang-format off
    void WriteEditsOnlyItsLine_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("no file") << QByteArray("<missing>") << "S" << "K" << QByteArray("[S]\nK=V\n");
        QTest::newRow("key replaced, CRLF kept")
            << QByteArray("[S]\r\nK=1\r\nL=2\r\n") << "S" << "K" << QByteArray("[S]\r\nK=V\r\nL=2\r\n");
        QTest::newRow("names ignore case, key spelling kept")
            << QByteArray("[userprefs]\nvalue1 =  7  \n") << "UserPrefs" << "VALUE1"
            << QByteArray("[userprefs]\nvalue1 =V\n");
        QTest::newRow("new key at the end of its section, before the blank line")
            << QByteArray("[S]\nA=1\n\n[T]\nK=2\n") << "S" << "K"
            << QByteArray("[S]\nA=1\nK=V\n\n[T]\nK=2\n");
        QTest::newRow("new section at the end of a file without final newline")
            << QByteArray("[T]\nB=2") << "S" << "K" << QByteArray("[T]\nB=2\n[S]\nK=V\n");
        QTest::newRow("new key after a last line without newline")
            << QByteArray("[S]\nA=1") << "S" << "K" << QByteArray("[S]\nA=1\nK=V\n");
        QTest::newRow("new key in a CRLF file gets CRLF")
            << QByteArray("[S]\r\nA=1\r\n") << "S" << "K" << QByteArray("[S]\r\nA=1\r\nK=V\r\n");
        QTest::newRow("byte-order mark kept")
            << QByteArray("\xEF\xBB\xBF[S]\r\nK=1\r\n") << "S" << "K"
            << QByteArray("\xEF\xBB\xBF[S]\r\nK=V\r\n");
        QTest::newRow("comments and garbage bytes kept")
            << QByteArray("; note\n\xFF\xFE\x01junk\n[S]\n;K=0\n\tA = 1 \n") << "S" << "K"
            << QByteArray("; note\n\xFF\xFE\x01junk\n[S]\n;K=0\n\tA = 1 \nK=V\n");
        QTest::newRow("same key in another section untouched")
            << QByteArray("[T]\nK=1\n[S]\nA=1\n") << "S" << "K"
            << QByteArray("[T]\nK=1\n[S]\nA=1\nK=V\n");
        QTest::newRow("only a byte-order mark")
            << QByteArray("\xEF\xBB\xBF") << "S" << "K" << QByteArray("\xEF\xBB\xBF[S]\nK=V\n");
        QTest::newRow("a CR alone ends the last line: no CR joins its value")
            << QByteArray("[S]\r\nA=abc\r") << "S" << "K" << QByteArray("[S]\r\nA=abc\rK=V\r\n");
        QTest::newRow("CR-only file keeps CR alone")
            << QByteArray("[S]\rA=1\r[T]\r") << "S" << "K" << QByteArray("[S]\rA=1\rK=V\r[T]\r");
        QTest::newRow("new section in a CR-only file without final break")
            << QByteArray("[T]\rB=2") << "S" << "K" << QByteArray("[T]\rB=2\r[S]\rK=V\r");
        const QString before = QStringLiteral("[S]\r\nA=été\r\n");
        const QString after = QStringLiteral("[S]\r\nA=été\r\nK=V\r\n");
        QTest::newRow("UTF-16LE stays UTF-16LE")
            << Utf16(before, QStringConverter::Utf16LE) << "S" << "K"
            << Utf16(after, QStringConverter::Utf16LE);
        QTest::newRow("UTF-16BE, key replaced")
            << Utf16(QStringLiteral("[S]\nK=1\n"), QStringConverter::Utf16BE) << "s" << "k"
            << Utf16(QStringLiteral("[S]\nK=V\n"), QStringConverter::Utf16BE);
    }
    // clang-format on

    void WriteEditsOnlyItsLine()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        if (before != "<missing>")
            Store(before);
        QVERIFY(IniFile(m_path).WriteString(section, key, QStringLiteral("V")));
        QCOMPARE(Contents(), after);
    }

    // clang-format off
    void Read_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        QTest::newRow("blanks trimmed") << QByteArray("[S]\n  K =  a b \t\n") << "S" << "K" << "a b";
        QTest::newRow("quotes removed") << QByteArray("[S]\nK=\"x\"\n") << "S" << "K" << "x";
        QTest::newRow("names ignore case") << QByteArray("[uSeRpReFs]\nvAlUe1=2\n") << "UserPrefs"
                                           << "Value1" << "2";
        QTest::newRow("CRLF") << QByteArray("[S]\r\nK=5\r\n") << "S" << "K" << "5";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF[S]\nK=5\n") << "S" << "K" << "5";
        QTest::newRow("value starting with U+FEFF keeps it")
            << QByteArray("\xEF\xBB\xBF[S]\nK=\xEF\xBB\xBFx\n") << "S" << "K"
            << QStringLiteral("\uFEFFx");
        QTest::newRow("missing section") << QByteArray("[T]\nK=5\n") << "S" << "K" << "def";
        QTest::newRow("key before any section") << QByteArray("K=5\n[S]\n") << "S" << "K" << "def";
        QTest::newRow("comment line") << QByteArray("[S]\n;K=5\n") << "S" << "K" << "def";
        QTest::newRow("garbage bytes") << QByteArrayLiteral("\x00\xFF[S\x80\n=\n[S]\n\x01\n K=5") << "S" << "K"
                                       << "5";
        QTest::newRow("missing file") << QByteArray("<missing>") << "S" << "K" << "def";
        QTest::newRow("CR alone ends lines") << QByteArray("[S]\rJ=1\rK=5\r") << "S" << "K" << "5";
        QTest::newRow("UTF-16LE") << Utf16("[S]\r\nK=été\r\n", QStringConverter::Utf16LE) << "S"
                                  << "K" << "été";
        QTest::newRow("UTF-16BE") << Utf16("[S]\nK=5", QStringConverter::Utf16BE) << "S" << "K" << "5";
    }
    // clang-format on

    void Read()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        if (data != "<missing>")
            Store(data);
        QCOMPARE(IniFile(m_path).ReadString(section, key, QStringLiteral("def")), expected);
    }

    void LongValueReadsAs2047Characters()
    {
        Store("[S]\nK=" + QByteArray(5000, 'x') + "\nL=1\n");
        QCOMPARE(IniFile(m_path).ReadString("S", "K", {}), QString(2047, u'x'));
        QCOMPARE(IniFile(m_path).ReadString("S", "L", {}), QStringLiteral("1"));
    }

    // clang-format off
    void WriteThatWouldBreakALineIsRefused_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("newline in value") << "S" << "K" << "1\n[T]";
        QTest::newRow("= in key") << "S" << "K=1" << "1";
        QTest::newRow("] in section") << "S]x" << "K" << "1";
        QTest::newRow("key read as a comment") << "S" << ";K" << "1";
        QTest::newRow("key read as a section") << "S" << "[K]" << "1";
        QTest::newRow("blank around a name") << " S" << "K" << "1";
    }
    // clang-format on

    void WriteThatWouldBreakALineIsRefused()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        Store("[S]\nK=0\n");
        QVERIFY(!IniFile(m_path).WriteString(section, key, value));
        QCOMPARE(Contents(), QByteArray("[S]\nK=0\n"));
    }

    // Only a regular file, or a link to one, within the size limit is read or written.
    // clang-format off
    void FileKinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("writable");
        QTest::newRow("FIFO") << "fifo" << false << false;
        QTest::newRow("link to a device") << "device" << false << false;
        QTest::newRow("link that names nothing") << "dangling" << false << false;
        QTest::newRow("folder") << "folder" << false << false;
        QTest::newRow("larger than the limit") << "large" << false << false;
        QTest::newRow("UTF-16 that would not come back whole") << "odd" << true << false;
        QTest::newRow("link to a regular file") << "link" << true << true;
    }
    // clang-format on

    void FileKinds()
    {
        QFETCH(QString, kind);
        QFETCH(bool, readable);
        QFETCH(bool, writable);
        const QByteArray name = QFile::encodeName(m_path);
        const QString target = m_dir.filePath(QStringLiteral("target.ini"));
        const QByteArray data("[S]\nK=1\n");
        if (kind == "fifo") {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (kind == "device") {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), m_path));
        } else if (kind == "dangling") {
            QVERIFY(QFile::link(target, m_path));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkdir(m_path));
        } else if (kind == "large") {
            Store(data);
            QCOMPARE(::truncate(name.constData(), IniFile::MaxFileSize + 1), 0);
        } else if (kind == "odd") {
            Store(Utf16(QString::fromLatin1(data), QStringConverter::Utf16LE) + 'x');
        } else if (kind == "link") {
            Store(data);
            QVERIFY(QFile::rename(m_path, target) && QFile::link(target, m_path));
        }

        const IniFile file(m_path);
        const QString before = readable ? QStringLiteral("1") : QStringLiteral("def");
        QCOMPARE(file.ReadString("S", "K", "def"), before);
        QCOMPARE(file.WriteString("S", "K", "2"), writable);
        QCOMPARE(file.ReadString("S", "K", "def"), writable ? QStringLiteral("2") : before);
        QCOMPARE(QFileInfo(m_path).isSymLink(),
                 kind == "device" || kind == "dangling" || kind == "link");
        QCOMPARE(QFile::exists(target), kind == "link"); // never created through a link
        const QDir::Filters all = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(m_dir.path()).entryList(all).size(), kind == "link" ? 2 : 1); // no leftover
        QDir().rmdir(m_path);
        QFile::remove(target);
    }

    void WriteKeepsTheFilePermissions()
    {
        Store("[S]\nK=0\n");
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(m_path, permissions));
        QVERIFY(IniFile(m_path).WriteString("S", "K", "1"));
        QCOMPARE(QFile::permissions(m_path)
                     & ~QFile::Permissions(QFile::ReadUser | QFile::WriteUser),
                 permissions);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_IniFile.moc"
