#include "RichTextEngine.h"
#include "RtfReader.h"
#include "frmAbout.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace tarvane;

namespace {

// "R:Tar{Arial,36,b}va{Arial,36,b,#ff0000}" per paragraph, paragraphs joined by " / ";
// "(plain)" when the data is not read as RTF.
QString Describe(const std::optional<TRtfContent>& content)
{
    if (!content)
        return QStringLiteral("(plain)");
    QStringList paragraphs;
    for (const TRtfParagraph& paragraph : content->Paragraphs) {
        QString text = QString("LCRJ"[int(paragraph.Alignment)]) + ':';
        for (const TRtfRun& run : paragraph.Runs) {
            QStringList attributes;
            if (!run.Format.Family.empty())
                attributes << QString::fromStdU16String(run.Format.Family);
            attributes << QString::number(run.Format.HalfPoints);
            if (run.Format.Bold)
                attributes << "b";
            if (run.Format.Italic)
                attributes << "i";
            if (run.Format.Color)
                attributes << QColor(*run.Format.Color).name();
            text += QString::fromStdU16String(run.Text) + '{' + attributes.join(',') + '}';
        }
        paragraphs << text;
    }
    return paragraphs.join(" / ");
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void engineLoads_data();
    void engineLoads();
};

// clang-format off
void TestRtfReader::reads_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char* name, const QByteArray& rtf, const QString& expected) {
        QTest::newRow(name) << rtf << expected;
    };
    row("title", TfmAbout::TitleDocument(), "R:Tar{Arial,36,b}va{Arial,36,b,#ff0000}ne{Arial,36,b}");
    row("paragraph alignment", "{\\rtf1 one\\par\\qc two\\par\\qr\\qj four\\par\\pard five}",
        "L:one{24} / C:two{24} / J:four{24} / L:five{24}");
    row("group restores formatting", "{\\rtf1 a{\\b b\\i c}d}", "L:a{24}b{24,b}c{24,b,i}d{24}");
    row("switches off and resets", "{\\rtf1\\b\\i\\fs20 a\\b0\\i0\\fs0 b\\b\\plain c}",
        "L:a{20,b,i}bc{24}");
    row("code page 1252 escapes", "{\\rtf1 \\'e9t\\'E9 \\'80\\'92\\'9f}",
        QString::fromUtf8("L:été €’Ÿ{24}"));
    row("unicode with fallback", "{\\rtf1\\uc1\\u233?t\\uc0\\u8364 x\\uc2\\u8212 ?? y}",
        QString::fromUtf8("L:ét€x— y{24}"));
    row("escape as fallback", "{\\rtf1\\u233\\'e9z}", QString::fromUtf8("L:éz{24}"));
    row("negative unicode", "{\\rtf1\\u-10179?\\u-8704?}", QString::fromUtf8("L:😀{24}"));
    row("fonts without groups", "{\\rtf1\\deff1{\\fonttbl\\f0 Times;\\f1 Courier New;}a\\f0 b\\f7 c}",
        "L:a{Courier New,24}b{Times,24}c{24}");
    row("colour table", "{\\rtf1{\\colortbl;\\red0\\green128\\blue0;}\\cf1 a\\cf5 b\\cf0 c}",
        "L:a{24,#008000}bc{24}");
    row("skipped destinations",
        "{\\rtf1{\\*\\generator Foo;}{\\info{\\title T}}a{\\*\\unknown {nested} x}b{\\pict 0102}c}",
        "L:abc{24}");
    row("control symbols", "{\\rtf1 \\{\\}\\\\\\~x\\-y\\_z\\tab t\\line l}",
        QString::fromUtf8("L:{}\\\u00A0xy\u2011z\tt\u2028l{24}"));
    row("backslash newline ends a paragraph", "{\\rtf1 a\\\r\nb}", "L:a{24} / L:b{24}");
    row("binary data", "{\\rtf1 a\\bin3 }}}b}", "L:ab{24}");
    row("text after the document", "{\\rtf1 a}b}", "L:a{24}");
    row("zero byte ends the data", QByteArray("{\\rtf1 a\0b}", 11), "L:a{24}");
    row("control characters dropped", "{\\rtf1 a\\uc0\\u7 b\\'01c\\'81d}", "L:abcd{24}");

    // Malformed input: each has one defined reading.
    row("unclosed groups", "{\\rtf1{\\b a", "L:a{24,b}");
    row("huge parameters", "{\\rtf1\\fs99999999999999999999 a\\cf99999999999 b\\b-99999999999 c}",
        "L:ab{3276}c{3276,b}");
    row("huge unicode skip", "{\\rtf1{\\uc99999999999\\u233 abc\\par}d}", QString::fromUtf8("L:éd{24}"));
    row("truncated hex escape", "{\\rtf1 a\\'4", "L:a4{24}");
    row("invalid hex escape", "{\\rtf1 a\\'zz}", "L:azz{24}");
    row("escape at the end", "{\\rtf1 a\\'", "L:a{24}");
    row("backslash at the end", "{\\rtf1 a\\", "L:a{24}");
    row("unicode without number", "{\\rtf1 a\\u-}", "L:a-{24}");
    row("lone surrogate", "{\\rtf1\\u-10179?x}", QString::fromUtf8("L:\uFFFDx{24}"));
    row("binary length past the end", "{\\rtf1 a\\bin999999999999 bc}", "L:a{24}");
    row("deepest nesting", "{\\rtf1" + QByteArray(RtfMaxDepth - 1, '{') + "a", "L:a{24}");
    row("too deep nesting", "{\\rtf1" + QByteArray(RtfMaxDepth, '{') + "a", "(plain)");
    row("not rtf", "hello", "(plain)");
    row("empty", "", "(plain)");
    row("truncated header", "{\\rt", "(plain)");
    row("empty document", "{\\rtf1}", "");
}
// clang-format on

void TestRtfReader::reads()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(Describe(ReadRtf(rtf.toStdString())), expected);
}

// clang-format off
void TestRtfReader::engineLoads_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<bool>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("title") << TfmAbout::TitleDocument() << true << "Tarvane";
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 a\\par b}") << true << "a\nb";
    QTest::newRow("plain text")
        << QByteArray("{rtf}\r\nd\xe9j\xe0\0tail", 16) << false << QString::fromUtf8("{rtf}\ndéjà");
    QTest::newRow("too deep shows as text")
        << QByteArray("{\\rtf1" + QByteArray(RtfMaxDepth, '{') + "a") << false
        << "{\\rtf1" + QString(RtfMaxDepth, '{') + "a";
}
// clang-format on

void TestRtfReader::engineLoads()
{
    QFETCH(QByteArray, stream);
    QFETCH(bool, rtf);
    QFETCH(QString, text);

    TRichTextEngine engine;
    QCOMPARE(engine.Load(stream), rtf);
    QCOMPARE(engine.Document().toPlainText(), text);
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
