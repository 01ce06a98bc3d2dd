// The windows on a screen of two device pixels per pixel (run with QT_SCALE_FACTOR=2, on
// the offscreen platform's 800 x 800 screen, 400 x 400 pixels at that density): text and
// pictures drawn at the finer grid, nothing cut off, the main window's frame on screen.
#include "ArrowIndicator.h"
#include "DesktopFonts.h"
#include "NumSpinEdit.h"
#include "PrecisionSpinner.h"
#include "RepeatSpeedButton.h"
#include "ScreenDensity.h"
#include "ScrollTextPanel.h"
#include "SpinButtons.h"
#include "frmAbout.h"
#include "frmMain.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvane;

namespace {

// Heights in device pixels of these captions' glyphs, top of the accent to the lowest
// pixel, on a screen of one device pixel per pixel. Drawn in the bitmap face at twice the
// density they would keep these heights.
constexpr int CaptionInkHeight1x = 9; // "Valeur à convertir", MS Sans Serif 11 px
constexpr int CreditsInkHeight1x = 9; // "- à la communauté du libre", the same face
constexpr int Tolerance = 2;          // the scalable face is not drawn pixel for pixel

// Rows (in device pixels) of `area` that hold a pixel unlike its top-left one.
int InkHeight(const QImage& image, const QRect& area)
{
    const QRgb background = image.pixel(area.topLeft());
    int first = -1;
    int last = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != background) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

// For each device row from `top` to `bottom` (exclusive), the column of the rightmost
// pixel of `area` unlike its top-left one.
QList<int> RightmostInk(const QImage& image, const QRect& area, int top, int bottom)
{
    const QRgb background = image.pixel(area.topLeft());
    QList<int> columns;
    for (int y = top; y < bottom; ++y) {
        int right = area.left();
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != background)
                right = x;
        }
        columns.append(right);
    }
    return columns;
}

QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect DeviceRect(QWidget& window, QWidget* widget)
{
    const qreal ratio = window.devicePixelRatioF();
    return QRect(widget->mapTo(&window, QPoint()) * ratio, widget->size() * ratio);
}

// Whether the upper arrow head's upper edge steps one device pixel per row, as the fine
// picture draws it, rather than in 2 x 2 blocks: from just below the frame's top (7 pixels
// down) to short of the tip (13 further).
bool ArrowDrawnFine(TfmMain& window)
{
    const QImage image = Grab(window);
    const QRect arrow = DeviceRect(window, window.Arrow1);
    const QList<int> edge =
        RightmostInk(image, arrow, arrow.top() + 2 * 7 + 2, arrow.top() + 2 * 19);
    for (qsizetype i = 1; i < edge.size(); ++i) {
        if (edge[i] - edge[i - 1] != 1)
            return false;
    }
    return true;
}

} // namespace

class TestHighDensity : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        RegisterDesktopFonts();
    }

    void mainWindow()
    {
        QTemporaryDir dir;
        TfmMain window(nullptr, dir.filePath(QStringLiteral("tarvane")));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage image = Grab(window);
        QCOMPARE(image.size(), window.size() * 2);

        // The screen is narrower than the window here: the frame still starts on it.
        const QRect area = window.screen()->availableGeometry();
        QVERIFY(area.width() < window.width());
        QVERIFY(window.frameGeometry().left() >= area.left());
        QVERIFY(window.frameGeometry().top() >= area.top());

        const int caption = InkHeight(image, DeviceRect(window, window.edValue1->Label()));
        QVERIFY2(qAbs(caption - 2 * CaptionInkHeight1x) <= Tolerance,
                 qPrintable(QString::number(caption)));

        QVERIFY(ArrowDrawnFine(window));
        // The window manager draws the icon at twice the size too.
        QTRY_COMPARE(QGuiApplication::windowIcon().availableSizes().size(), 6);
        QCOMPARE(QGuiApplication::windowIcon().availableSizes().last(), QSize(128, 128));

        // Nothing cut off: the longest unit name fits its list, each precision caption
        // stays clear of the other column, the spinner shows its largest value whole.
        for (QListWidget* list : {window.lstUnits1, window.lstUnits2}) {
            for (int row = 0; row < list->count(); ++row) {
                const QString name = list->item(row)->text();
                QVERIFY2(list->fontMetrics().horizontalAdvance(name) < list->viewport()->width(),
                         qPrintable(name));
            }
        }
        QVERIFY(window.Label1->geometry().right() < window.Label2->x());
        QVERIFY(window.Label2->geometry().right() < window.centralWidget()->width());
        QVERIFY(window.seEdValue1Precision->fontMetrics().horizontalAdvance(QStringLiteral("10"))
                < window.seEdValue1Precision->width() - 15);
    }

    void aboutWindowTextIsScaled()
    {
        TfmAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* credits = about.findChild<TScrollTextPanel*>();
        QVERIFY(credits);
        const QImage strip = Grab(*credits);
        const int height = InkHeight(strip, strip.rect());
        QVERIFY2(qAbs(height - 2 * CreditsInkHeight1x) <= Tolerance,
                 qPrintable(QString::number(height)));

        for (QLabel* label : about.findChildren<QLabel*>())
            QVERIFY2(about.rect().contains(label->geometry()), qPrintable(label->text()));
        QVERIFY(about.btnOK->fontMetrics().horizontalAdvance(about.btnOK->text())
                < about.btnOK->width());
    }

    // The window's screen changing density at run time: on an ordinary screen the bitmap face,
    // the plain pictures and the icon up to 64 pixels, on a dense one the scalable face, the
    // fine pictures and the icon up to 128 pixels again.
    void densityChangeRechoosesFaceAndPictures_data()
    {
        QTest::addColumn<bool>("dense");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QSize>("largestIcon");
        QTest::newRow("ordinary") << false << QStringLiteral("MS Sans Serif") << QSize(64, 64);
        QTest::newRow("dense again") << true << QStringLiteral("Tahoma") << QSize(128, 128);
    }

    void densityChangeRechoosesFaceAndPictures()
    {
        QFETCH(bool, dense);
        QFETCH(QString, face);
        QFETCH(QSize, largestIcon);
        QTemporaryDir dir;
        TfmMain window(nullptr, dir.filePath(QStringLiteral("tarvane")));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ChooseDensity(dense);
        QCOMPARE(DenseScreen(), dense);
        QCOMPARE(QFontInfo(window.Label1->font()).family(), face);
        QCOMPARE(ArrowDrawnFine(window), dense);
        const QImage glyph =
            window.edValue1->findChild<TSpinButtons*>()->UpButton()->Glyph().toImage();
        QCOMPARE(glyph.devicePixelRatio(), dense ? 2.0 : 1.0);
        QCOMPARE(QGuiApplication::windowIcon().availableSizes().last(), largestIcon);
    }
};

QTEST_MAIN(TestHighDensity)
#include "tst_highdensity.moc"
