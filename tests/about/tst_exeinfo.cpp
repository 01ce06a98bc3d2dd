#include "ExeInfo.h"
#include "VersionInfo.h"
#include "VersionRecordWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <gelf.h>
#include <libelf.h>

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cstring>
#include <optional>

using namespace tarvane;

namespace {

using Record = std::vector<std::byte>;

// Writes a small relocatable ELF file, with the record in its section when one is given.
bool WriteElfFile(const QString& path, const std::optional<Record>& record)
{
    const std::string names = std::string("\0.shstrtab\0", 11) + VersionRecordSection + '\0';
    constexpr Elf64_Word RecordNameOffset = 11;

    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || elf_version(EV_CURRENT) == EV_NONE)
        return false;
    Elf* elf = elf_begin(fd, ELF_C_WRITE, nullptr);
    Elf64_Ehdr* header = elf ? elf64_newehdr(elf) : nullptr;
    bool written = header != nullptr;
    if (written) {
        // The reader takes only files of its own machine's byte order.
        header->e_ident[EI_DATA] =
            std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;
        header->e_type = ET_REL;
        header->e_machine = EM_X86_64;
        header->e_version = EV_CURRENT;

        const auto addSection = [&](const void* bytes, std::size_t size, Elf64_Word name,
                                    Elf64_Word type) {
            Elf_Scn* section = elf_newscn(elf);
            Elf_Data* data = elf_newdata(section);
            data->d_buf = const_cast<void*>(bytes);
            data->d_size = size;
            data->d_type = ELF_T_BYTE;
            data->d_align = 4;
            Elf64_Shdr* sectionHeader = elf64_getshdr(section);
            sectionHeader->sh_name = name;
            sectionHeader->sh_type = type;
            return section;
        };
        header->e_shstrndx =
            std::uint16_t(elf_ndxscn(addSection(names.data(), names.size(), 1, SHT_STRTAB)));
        if (record)
            addSection(record->data(), record->size(), RecordNameOffset, SHT_PROGBITS);
        written = elf_update(elf, ELF_C_WRITE) > 0;
    }
    elf_end(elf);
    ::close(fd);
    return written;
}

QString StringTable(const QString& name, const QString& prefix, const QString& leftOut = {})
{
    QString table = QStringLiteral("BLOCK \"%1\" BEGIN\n").arg(name);
    for (const char* key :
         {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
          "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"}) {
        if (leftOut != key)
            table += QStringLiteral("VALUE \"%1\", \"%2%1\"\n").arg(key, prefix);
    }
    return table + "END\n";
}

// The ten texts as TExeInfo reads them from a table written by StringTable.
QStringList TableTexts(const QString& prefix, const QString& leftOut = {})
{
    QStringList texts;
    for (const char* key :
         {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
          "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"})
        texts << (leftOut == key ? QString() : prefix + key);
    return texts;
}

QString RecordSource(const QString& fixed, const QString& tables, const QString& translation)
{
    QString source = "VS_VERSION_INFO VERSIONINFO\n" + fixed + "\nBEGIN\n";
    source += "BLOCK \"StringFileInfo\" BEGIN\n" + tables + "END\n";
    if (!translation.isEmpty())
        source += "BLOCK \"VarFileInfo\" BEGIN VALUE \"Translation\", " + translation + " END\n";
    return source + "END\n";
}

QStringList Texts(const TExeInfo& info)
{
    return {info.CompanyName(),      info.FileDescription(), info.FileVersion(),
            info.InternalName(),     info.LegalCopyright(),  info.LegalTradeMark(),
            info.OriginalFileName(), info.ProductName(),     info.ProductVersion(),
            info.Comments()};
}

void PatchU32(Record& record, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        record[offset + std::size_t(i)] = std::byte(value >> (8 * i) & 0xFF);
}

std::size_t FixedPartOffset(const Record& record)
{
    const std::byte signature[] = {std::byte(0xBD), std::byte(0x04), std::byte(0xEF),
                                   std::byte(0xFE)};
    return std::size_t(
        std::search(record.begin(), record.end(), std::begin(signature), std::end(signature))
        - record.begin());
}

std::uint64_t FileTime(const QDateTime& dateTime)
{
    return std::uint64_t(dateTime.toMSecsSinceEpoch() + 11644473600000) * 10000;
}

} // namespace

class TestExeInfo : public QObject {
    Q_OBJECT

private slots:
    void readsOwnRecordAtCreation();
    void records_data();
    void records();
    void fixedPart_data();
    void fixedPart();
    void versionMarker();
    void tempDir_data();
    void tempDir();

private:
    QTemporaryDir m_dir;
};

void TestExeInfo::readsOwnRecordAtCreation()
{
    const TExeInfo info(this);
    QCOMPARE(Texts(info),
             (QStringList{"Les auteurs de Tarvane", "Convertisseur de niveaux de signal",
                          TARVANE_FILE_VERSION, "Tarvane",
                          QString::fromUtf8("© 2026 Les auteurs de Tarvane"), "", "Tarvane",
                          "Tarvane", TARVANE_FILE_VERSION, "Freeware"}));
    QCOMPARE(info.FileFlags(), 0u);
    QCOMPARE(info.FileOS(), 4u);
    QCOMPARE(info.FileType(), 1u);
    QCOMPARE(info.FileDate(), QDateTime(QDate(1601, 1, 1), QTime(0, 0), QTimeZone::utc()));
}

// clang-format off
void TestExeInfo::records_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("texts"); // empty: the texts held before stay

    const QString fixed = "FILEVERSION 1,0,0,0";
    const QString french = StringTable("040C04E4", "fr-");
    const QString english = StringTable("040904B0", "en-");
    QTest::newRow("English Unicode table")
        << "record" << RecordSource(fixed, french + english, "0x0409, 0x04B0") << TableTexts("en-");
    QTest::newRow("first translation listed")
        << "record" << RecordSource(fixed, french + english, "0x0409, 0x04B0, 0x040C, 0x04E4")
        << TableTexts("en-");
    QTest::newRow("code page FDE9")
        << "record" << RecordSource(fixed, french + StringTable("040CFDE9", "utf8-"), "0x040C, 0xFDE9")
        << TableTexts("utf8-");
    QTest::newRow("missing key")
        << "record" << RecordSource(fixed, StringTable("040C04E4", "fr-", "FileVersion"), "0x040C, 1252")
        << TableTexts("fr-", "FileVersion");
    QTest::newRow("translation without its table")
        << "record" << RecordSource(fixed, french, "0x0407, 1252") << QStringList(10, QString());
    QTest::newRow("no translation table") << "record" << RecordSource(fixed, french, "") << QStringList();
    QTest::newRow("translation table too short")
        << "record" << RecordSource(fixed, french, "0x040C") << QStringList();
    QTest::newRow("file without a record") << "no record" << "" << QStringList();
    QTest::newRow("text file") << "text" << "" << QStringList();
    QTest::newRow("missing file") << "missing" << "" << QStringList();
}
// clang-format on

void TestExeInfo::records()
{
    QFETCH(QString, kind);
    QFETCH(QString, source);
    QFETCH(QStringList, texts);

    const QString path = m_dir.filePath(QTest::currentDataTag());
    if (kind == "record")
        QVERIFY(WriteElfFile(path, WriteVersionRecord(ParseVersionSource(source.toStdString()))));
    else if (kind == "no record")
        QVERIFY(WriteElfFile(path, std::nullopt));
    else if (kind == "text")
        QVERIFY(QFile(path).open(QIODevice::WriteOnly | QIODevice::Text));

    TExeInfo info(this);
    const QStringList before = Texts(info);
    info.ReadVersionInfo(path);
    QCOMPARE(Texts(info), texts.isEmpty() ? before : texts);
}

// clang-format off
void TestExeInfo::fixedPart_data()
{
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<bool>("hasSignature");
    QTest::addColumn<quint64>("fileDate");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<uint>("os");
    QTest::addColumn<uint>("type");
    QTest::addColumn<QDateTime>("date"); // invalid: the date held before stays

    const QDateTime start(QDate(1601, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QDateTime stamp(QDate(2026, 12, 7), QTime(8, 30, 15, 250), QTimeZone::utc());
    QTest::newRow("zero date") << "FILEFLAGSMASK 0x3F FILEOS 4 FILETYPE 1" << true << quint64(0)
                               << 0u << 4u << 1u << start;
    QTest::newRow("flags masked") << "FILEFLAGSMASK 0x0F FILEFLAGS 0x2B FILEOS 0x40004 FILETYPE 2"
                                  << true << quint64(0) << 0x0Bu << 0x40004u << 2u << start;
    QTest::newRow("a file date") << "" << true << quint64(FileTime(stamp)) << 0u << 0u << 0u << stamp;
    QTest::newRow("date past the year 9999")
        << "" << true
        << quint64(FileTime(QDateTime(QDate(10000, 1, 1), QTime(0, 0), QTimeZone::utc()))) << 0u
        << 0u << 0u << QDateTime();
    QTest::newRow("date with the top bit") << "" << true << quint64(0x8000000000000000) << 0u << 0u
                                           << 0u << QDateTime();
    QTest::newRow("unsigned fixed part") << "FILEFLAGSMASK 0x3F FILEFLAGS 1 FILEOS 2 FILETYPE 3"
                                         << false << quint64(FileTime(stamp)) << 0u << 4u << 1u
                                         << QDateTime();
}
// clang-format on

void TestExeInfo::fixedPart()
{
    QFETCH(QString, fixed);
    QFETCH(bool, hasSignature);
    QFETCH(quint64, fileDate);
    QFETCH(uint, flags);
    QFETCH(uint, os);
    QFETCH(uint, type);
    QFETCH(QDateTime, date);

    Record record = WriteVersionRecord(ParseVersionSource(
        RecordSource(fixed, StringTable("040C04E4", ""), "0x040C, 1252").toStdString()));
    const std::size_t at = FixedPartOffset(record);
    PatchU32(record, at + 44, std::uint32_t(fileDate >> 32));
    PatchU32(record, at + 48, std::uint32_t(fileDate));
    if (!hasSignature)
        PatchU32(record, at, 0);
    const QString path = m_dir.filePath(QTest::currentDataTag());
    QVERIFY(WriteElfFile(path, record));

    TExeInfo info(this);
    const QDateTime before = info.FileDate();
    info.ReadVersionInfo(path);
    QCOMPARE(info.FileFlags(), flags);
    QCOMPARE(info.FileOS(), os);
    QCOMPARE(info.FileType(), type);
    QCOMPARE(info.FileDate(), date.isValid() ? date : before);
    QCOMPARE(info.FileVersion(), "FileVersion"); // the texts are read all the same
}

void TestExeInfo::versionMarker()
{
    TExeInfo info(this);
    QCOMPARE(info.Version(), "1.2.2.0");
    info.SetVersion("1.2.0.0");
    QCOMPARE(info.Version(), "1.2.2.0");
}

void TestExeInfo::tempDir_data()
{
    QTest::addColumn<QString>("tmpdir");
    QTest::addColumn<QString>("expected");

    const QString existing = QDir(m_dir.path()).canonicalPath();
    QTest::newRow("folder") << existing << existing + "/";
    QTest::newRow("folder with a separator") << existing + "/" << existing + "/";
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("missing folder") << existing + "/missing"
                                    << "";
}

void TestExeInfo::tempDir()
{
    QFETCH(QString, tmpdir);
    QFETCH(QString, expected);

    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmpdir));
    const QString answer = TExeInfo(this).TempDir();
    if (saved.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", saved);
    QCOMPARE(answer, expected);
}

QTEST_GUILESS_MAIN(TestExeInfo)
#include "tst_exeinfo.moc"
