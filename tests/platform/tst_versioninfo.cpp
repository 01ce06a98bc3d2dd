#include "VersionInfo.h"
#include "VersionRecordWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

using namespace tarvane;

namespace {

using Record = std::vector<std::byte>;

Record TarvaneRecord()
{
    std::ifstream in(TARVANE_VERSION_SOURCE, std::ios::binary);
    std::ostringstream source;
    source << in.rdbuf();
    return WriteVersionRecord(ParseVersionSource(source.str()));
}

// Offset of the block whose key is given (the first one, searching from the start).
std::size_t BlockOffset(const Record& record, const QString& key)
{
    QByteArray pattern;
    for (const QChar c : key + QChar(0))
        pattern.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    const QByteArray bytes(reinterpret_cast<const char*>(record.data()), qsizetype(record.size()));
    const qsizetype at = bytes.indexOf(pattern);
    Q_ASSERT(at >= 6);
    return std::size_t(at - 6);
}

void PatchU16(Record& record, std::size_t offset, quint16 value)
{
    record[offset] = std::byte(value & 0xFF);
    record[offset + 1] = std::byte(value >> 8);
}

std::optional<QString> QueryText(std::span<const std::byte> record, const std::string& path)
{
    const auto value = VerQueryValue(record, path);
    if (!value)
        return std::nullopt;
    return QString::fromStdU16String(ReadVersionText(*value));
}

} // namespace

class TestVersionInfo : public QObject {
    Q_OBJECT

private slots:
    void queryText_data();
    void queryText();
    void fixedPartAndTranslation();
    void malformed_data();
    void malformed();
    void damagedRecordsStayInBounds();
    void fileRecordSize_data();
    void fileRecordSize();
};

// clang-format off
void TestVersionInfo::queryText_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("text");

    QTest::newRow("file version") << "\\StringFileInfo\\040C04E4\\FileVersion" << true << TARVANE_FILE_VERSION;
    QTest::newRow("no leading backslash") << "StringFileInfo\\040C04E4\\Comments" << true << "Freeware";
    QTest::newRow("doubled backslashes") << "\\\\StringFileInfo\\\\040C04E4\\Comments\\" << true
                                         << "Freeware";
    QTest::newRow("keys ignore case") << "\\stringfileinfo\\040c04e4\\LEGALTRADEMARKS" << true << "";
    QTest::newRow("other capitals of a key") << "\\StringFileInfo\\040C04E4\\OriginalFileName"
                                             << true << "Tarvane";
    QTest::newRow("code page 1252 text") << "\\StringFileInfo\\040C04E4\\LegalCopyright" << true
                                         << QString::fromUtf8("© 2026 Les auteurs de Tarvane");
    QTest::newRow("missing key") << "\\StringFileInfo\\040C04E4\\PrivateBuild" << false << "";
    QTest::newRow("key prefix only") << "\\StringFileInfo\\040C04E4\\FileVersio" << false << "";
    QTest::newRow("key with more") << "\\StringFileInfo\\040C04E4\\FileVersionX" << false << "";
    QTest::newRow("other table") << "\\StringFileInfo\\040904B0\\FileVersion" << false << "";
    QTest::newRow("past a value") << "\\StringFileInfo\\040C04E4\\Comments\\More" << false << "";
}
// clang-format on

void TestVersionInfo::queryText()
{
    QFETCH(QString, path);
    QFETCH(bool, found);
    QFETCH(QString, text);

    const Record record = TarvaneRecord();
    const std::optional<QString> value = QueryText(record, path.toStdString());
    QCOMPARE(value.has_value(), found);
    if (found)
        QCOMPARE(*value, text);
}

void TestVersionInfo::fixedPartAndTranslation()
{
    const Record record = TarvaneRecord();

    const auto root = VerQueryValue(record, "\\");
    QVERIFY(root);
    const std::optional<TFixedFileInfo> fixed = ReadFixedFileInfo(*root);
    QVERIFY(fixed);
    QCOMPARE(fixed->fileVersionMS, 0x00010002u);
    QCOMPARE(fixed->fileVersionLS, 0u);
    QCOMPARE(fixed->fileFlagsMask, 0x3Fu);

    const auto translations = VerQueryValue(record, "\\VarFileInfo\\Translation");
    QVERIFY(translations);
    QCOMPARE(translations->size(), 4u);
    const std::optional<TTranslation> translation = ReadFirstTranslation(*translations);
    QVERIFY(translation);
    QCOMPARE(translation->language, 0x040C);
    QCOMPARE(translation->codePage, 0x04E4);

    // Every block starts on 32 bits and the record's length covers it exactly.
    QCOMPARE(record.size() % 4, 0u);
    QCOMPARE(std::size_t(std::to_integer<int>(record[0]) | std::to_integer<int>(record[1]) << 8),
             record.size());
}

// clang-format off
void TestVersionInfo::malformed_data()
{
    QTest::addColumn<QString>("block");     // the block to damage ("" for the root)
    QTest::addColumn<int>("field");         // 0: its length, 2: its value length, -1: none
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("keepBytes");     // the record cut to this many bytes, or -1
    QTest::addColumn<QStringList>("found"); // keys still found, then their texts
    QTest::addColumn<QStringList>("missing");

    const QStringList company = {"CompanyName", "Les auteurs de Tarvane"};
    const QStringList all = {"CompanyName", "FileVersion", "Comments"};
    QTest::newRow("intact") << "" << -1 << 0 << -1
                            << QStringList{"FileVersion", "Comments", TARVANE_FILE_VERSION, "Freeware"}
                            << QStringList();
    QTest::newRow("truncated record") << "" << -1 << 0 << 400 << QStringList() << all;
    QTest::newRow("cut inside the header") << "" << -1 << 0 << 3 << QStringList() << all;
    QTest::newRow("root longer than the block") << "" << 0 << 0xFFFF << -1 << QStringList() << all;
    QTest::newRow("root shorter than its header") << "" << 0 << 4 << -1 << QStringList() << all;
    QTest::newRow("table longer than its parent")
        << "040C04E4" << 0 << 0xFFF0 << -1 << QStringList() << all;
    QTest::newRow("string longer than its table")
        << "Comments" << 0 << 0x7FFF << -1
        << QStringList{"CompanyName", "FileVersion", "Les auteurs de Tarvane", TARVANE_FILE_VERSION}
        << QStringList{"Comments"};
    QTest::newRow("zero-length string ends its table")
        << "FileVersion" << 0 << 0 << -1 << company << QStringList{"FileVersion", "Comments"};
    QTest::newRow("key without its zero")
        << "FileVersion" << 0 << 10 << -1 << company << QStringList{"FileVersion"};
    QTest::newRow("value longer than its block is passed over")
        << "FileVersion" << 2 << 0x100 << -1
        << QStringList{"CompanyName", "Comments", "Les auteurs de Tarvane", "Freeware"}
        << QStringList{"FileVersion"};
    QTest::newRow("text without its zero")
        << "FileVersion" << 2 << 3 << -1
        << QStringList{"FileVersion", "Comments", "1.2", "Freeware"} << QStringList();
}
// clang-format on

void TestVersionInfo::malformed()
{
    QFETCH(QString, block);
    QFETCH(int, field);
    QFETCH(int, value);
    QFETCH(int, keepBytes);
    QFETCH(QStringList, found);
    QFETCH(QStringList, missing);

    Record record = TarvaneRecord();
    if (field >= 0)
        PatchU16(record, (block.isEmpty() ? 0 : BlockOffset(record, block)) + std::size_t(field),
                 quint16(value));
    if (keepBytes >= 0)
        record.resize(std::size_t(keepBytes));

    const auto query = [&](const QString& key) {
        return QueryText(record, "\\StringFileInfo\\040C04E4\\" + key.toStdString());
    };
    const qsizetype keys = found.size() / 2;
    for (qsizetype i = 0; i < keys; ++i) {
        const std::optional<QString> text = query(found[i]);
        QVERIFY2(text, qPrintable(found[i]));
        QCOMPARE(*text, found[keys + i]);
    }
    for (const QString& key : missing)
        QVERIFY2(!query(key), qPrintable(key));
}

void TestVersionInfo::damagedRecordsStayInBounds()
{
    // Every cut and every byte set to a few telling values: whatever a query finds lies in
    // the block (AddressSanitizer watches the reads).
    const Record intact = TarvaneRecord();
    const std::string paths[] = {"\\", "\\VarFileInfo\\Translation",
                                 "\\StringFileInfo\\040C04E4\\FileVersion",
                                 "\\StringFileInfo\\040C04E4\\Comments"};
    const auto check = [&](std::span<const std::byte> record) {
        for (const std::string& path : paths) {
            if (const auto value = VerQueryValue(record, path)) {
                QVERIFY(value->data() >= record.data());
                QVERIFY(value->data() + value->size() <= record.data() + record.size());
                ReadVersionText(*value);
                ReadFixedFileInfo(*value);
            }
        }
    };
    for (std::size_t size = 0; size < intact.size(); ++size)
        check(std::span(intact).first(size));
    for (std::size_t offset = 0; offset < intact.size(); ++offset) {
        for (const unsigned char byte : {0x00, 0x01, 0x05, 0x7F, 0xFF}) {
            Record damaged = intact;
            damaged[offset] = std::byte(byte);
            check(damaged);
        }
    }
}

void TestVersionInfo::fileRecordSize_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("hasRecord");

    QTest::newRow("program carrying the record") << "self" << true;
    QTest::newRow("program without a record") << "plain program" << false;
    QTest::newRow("static library archive") << "archive" << false;
    QTest::newRow("text file") << "text" << false;
    QTest::newRow("empty file") << "empty" << false;
    QTest::newRow("missing file") << "missing" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("named pipe") << "fifo" << false;
}

void TestVersionInfo::fileRecordSize()
{
    QFETCH(QString, kind);
    QFETCH(bool, hasRecord);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath("file");
    if (kind == "self") {
        path = QCoreApplication::applicationFilePath();
    } else if (kind == "plain program") {
        path = TARVANE_PLAIN_PROGRAM;
    } else if (kind == "archive") {
        path = TARVANE_ARCHIVE;
    } else if (kind == "text" || kind == "empty") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "text")
            file.write("\x7F"
                       "ELF is what this file says, but it is only text.\n");
    } else if (kind == "folder") {
        path = dir.path();
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }

    const std::string name = QFile::encodeName(path).toStdString();
    const std::uint32_t size = GetFileVersionInfoSize(name);
    Record block(std::max<std::size_t>(size, 1));
    QCOMPARE(GetFileVersionInfo(name, block), hasRecord);
    if (!hasRecord) {
        QCOMPARE(size, 0u);
        return;
    }
    QVERIFY(size >= TarvaneRecord().size());
    block.resize(TarvaneRecord().size());
    QVERIFY(block == TarvaneRecord());
}

QTEST_GUILESS_MAIN(TestVersionInfo)
#include "tst_versioninfo.moc"
