#include "GradientPanel.h"
#include "frmAbout.h"
#include "rtflabel.h"

#include <QFontMetrics>
#include <QTest>

using namespace tarvane;

namespace {

// The About window's title corner: the label over an aqua-to-blue gradient.
struct Scene {
    static constexpr QRect LabelRect{72, 8, 225, 33};
    QWidget window;
    TGradientPanel* gradient = new TGradientPanel(&window);
    TRTFLabel* label = new TRTFLabel(&window);

    Scene()
    {
        window.resize(305, 193);
        QFont font("Arial");
        font.setPixelSize(11);
        window.setFont(font);
        gradient->setGeometry(window.rect());
        gradient->SetStartColor(clAqua);
        gradient->SetEndColor(clBlue);
        gradient->Loaded();
        label->setGeometry(LabelRect);
    }

    // The gradient alone, for telling the label's pixels from what lies beneath.
    QImage Background()
    {
        label->hide();
        const QImage image = window.grab().toImage();
        label->show();
        return image;
    }
};

// clang-format off
bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool IsDark(QRgb c) { return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60; }
// clang-format on

// Columns of the label area holding pixels that pass the test.
QList<int> InkColumns(const QImage& image, bool (*test)(QRgb))
{
    QList<int> columns;
    const QRect area = Scene::LabelRect;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (test(image.pixel(x, y))) {
                columns << x;
                break;
            }
    return columns;
}

int InkRows(const QImage& image, const QImage& background, int fromY, int toY)
{
    int rows = 0;
    for (int y = fromY; y <= toY; ++y)
        for (int x = Scene::LabelRect.left(); x <= Scene::LabelRect.right(); ++x)
            if (image.pixel(x, y) != background.pixel(x, y)) {
                ++rows;
                break;
            }
    return rows;
}

} // namespace

class TestRTFLabel : public QObject {
    Q_OBJECT

private slots:
    void title();
    void background_data();
    void background();
    void wordWrap_data();
    void wordWrap();
    void twipsRect_data();
    void twipsRect();
};

// "Tarvane" in bold 18-point Arial ends at the label's right edge, its fourth and fifth
// letters red, the rest black, with the gradient showing everywhere else.
void TestRTFLabel::title()
{
    Scene scene;
    scene.label->SetTransparent(true);
    scene.label->SetRichText(TfmAbout::TitleDocument());
    scene.label->Loaded();
    const QImage background = scene.Background();
    const QImage image = scene.window.grab().toImage();

    QFont bold("Arial");
    bold.setPixelSize(24); // 18 points at 96 dpi
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    QFont regular = bold;
    regular.setBold(false);
    const int right = Scene::LabelRect.x() + Scene::LabelRect.width();
    const int textLeft = right - metrics.horizontalAdvance("Tarvane");
    const int redLeft = textLeft + metrics.horizontalAdvance("Tar");
    const int redRight = redLeft + metrics.horizontalAdvance("va");

    const QList<int> red = InkColumns(image, IsRed);
    QVERIFY(red.size() > 15);
    QVERIFY2(red.first() >= redLeft - 1 && red.last() <= redRight + 1,
             qPrintable(QString("red from %1 to %2").arg(red.first()).arg(red.last())));

    const QList<int> dark = InkColumns(image, IsDark);
    QVERIFY(!dark.isEmpty());
    for (int x : dark)
        QVERIFY2(x < redLeft + 1 || x > redRight - 1, qPrintable(QString("dark at %1").arg(x)));
    QVERIFY(dark.first() < redLeft && dark.last() > redRight);
    // Right-aligned: the ink ends at the label's edge. Bold: the ink starts where the bold
    // advance puts it, a regular face would start several pixels further right.
    QVERIFY2(dark.last() >= right - 3, qPrintable(QString("ends at %1").arg(dark.last())));
    const int regularLeft = right - QFontMetrics(regular).horizontalAdvance("Tarvane");
    QVERIFY(regularLeft - textLeft >= 4);
    QVERIFY2(qAbs(dark.first() - textLeft) <= 2,
             qPrintable(QString("starts at %1, bold at %2").arg(dark.first()).arg(textLeft)));

    // Transparent: outside the title's ink every pixel is the gradient's.
    for (int y = Scene::LabelRect.top(); y <= Scene::LabelRect.bottom(); ++y)
        for (int x = Scene::LabelRect.left(); x < dark.first(); ++x)
            QCOMPARE(image.pixel(x, y), background.pixel(x, y));
}

void TestRTFLabel::background_data()
{
    QTest::addColumn<QByteArray>("richText");
    QTest::addColumn<bool>("transparent");

    QTest::newRow("opaque") << TfmAbout::TitleDocument() << false;
    QTest::newRow("transparent") << TfmAbout::TitleDocument() << true;
    QTest::newRow("opaque, empty") << QByteArray() << false;
    QTest::newRow("transparent, empty") << QByteArray() << true;
}

// An opaque label first fills its rectangle with Color, a transparent one leaves what
// lies beneath; an empty document draws nothing more.
void TestRTFLabel::background()
{
    QFETCH(QByteArray, richText);
    QFETCH(bool, transparent);

    Scene scene;
    scene.label->SetColor(clYellow);
    scene.label->SetTransparent(transparent);
    scene.label->SetRichText(richText);
    scene.label->Loaded();
    QImage beneath = scene.Background();
    const QImage image = scene.window.grab().toImage();

    if (!transparent)
        beneath.fill(qRgb(255, 255, 0));
    const QPoint corner = Scene::LabelRect.topLeft();
    QCOMPARE(image.pixel(corner), beneath.pixel(corner));
    const int inkRows = InkRows(image, beneath, corner.y(), Scene::LabelRect.bottom());
    QCOMPARE(inkRows > 0, !richText.isEmpty());
}

void TestRTFLabel::wordWrap_data()
{
    QTest::addColumn<bool>("whileLoading");
    QTest::addColumn<bool>("afterLoading");
    QTest::addColumn<bool>("wraps");

    QTest::newRow("set while loading has no effect") << true << false << false;
    QTest::newRow("set after loading") << false << true << true;
    QTest::newRow("cleared after loading") << true << false << false;
    QTest::newRow("never set") << false << false << false;
}

// A document two words wide on a narrow label: it wraps onto a second line only when
// WordWrap was set after loading.
void TestRTFLabel::wordWrap()
{
    QFETCH(bool, whileLoading);
    QFETCH(bool, afterLoading);
    QFETCH(bool, wraps);

    Scene scene;
    scene.label->setGeometry(Scene::LabelRect.x(), Scene::LabelRect.y(), 60,
                             Scene::LabelRect.height());
    scene.label->SetTransparent(true);
    scene.label->SetRichText("{\\rtf1\\fs20 mmmm mmmm}");
    scene.label->SetWordWrap(whileLoading);
    scene.label->Loaded();
    scene.label->SetWordWrap(afterLoading);
    QCOMPARE(scene.label->WordWrap(), afterLoading);
    const QImage background = scene.Background();
    const QImage image = scene.window.grab().toImage();

    const int secondLine = Scene::LabelRect.top() + 18;
    QCOMPARE(InkRows(image, background, secondLine, Scene::LabelRect.bottom()) > 0, wraps);
    QVERIFY(InkRows(image, background, Scene::LabelRect.top(), secondLine - 1) > 0);
}

void TestRTFLabel::twipsRect_data()
{
    QTest::addColumn<QRect>("pixels");
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<QRect>("twips");

    // x, y, width, height: right and bottom of the About title are 3375 and 495.
    QTest::newRow("about title") << QRect(0, 0, 225, 33) << 96.0 << QRect(15, 15, 3360, 480);
    QTest::newRow("120 dpi") << QRect(0, 0, 225, 33) << 120.0 << QRect(12, 12, 2688, 384);
    QTest::newRow("halves to even") << QRect(0, 2, 4, 2) << 64.0 << QRect(22, 68, 68, 22);
    QTest::newRow("one pixel") << QRect(0, 0, 1, 1) << 96.0 << QRect(15, 15, 0, 0);
}

void TestRTFLabel::twipsRect()
{
    QFETCH(QRect, pixels);
    QFETCH(qreal, dpi);
    QFETCH(QRect, twips);
    QCOMPARE(TRTFLabel::TwipsRect(pixels, dpi, dpi), twips);
}

QTEST_MAIN(TestRTFLabel)
#include "tst_rtflabel.moc"
