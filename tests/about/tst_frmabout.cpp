#include "frmAbout.h"

#include "HintDelayStyle.h"
#include "ScrollDrawThread.h"
#include "ScrollText.h"
#include "ScrollTextPanel.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <malloc.h>

#include <cstddef>
#include <functional>
#include <memory>

#ifdef __SANITIZE_ADDRESS__
// The sanitizer's own count: it serves every allocation, so glibc's figures stay empty. (GCC
// ships no header declaring it.)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace tarvane;

// Built twice: once carrying Tarvane's version record, once without any.
#ifndef TARVANE_TEST_HAS_RECORD
#error "TARVANE_TEST_HAS_RECORD must be 0 or 1"
#endif

namespace {

using LabelOf = QLabel* TfmAbout::*;
using PixelTest = std::function<bool(QRgb)>;
using Close = std::function<void(TfmAbout&)>;

// The process's system threads; an ended thread may take a moment to leave the list.
int ThreadCount()
{
    const QDir tasks(QStringLiteral("/proc/self/task"));
    return int(tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// Bytes the program holds on its heap now.
qint64 HeapInUse()
{
#ifdef __SANITIZE_ADDRESS__
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return qint64(mallinfo2().uordblks);
#endif
}

TScrollDrawThread* WorkerOf(const TfmAbout& about)
{
    return about.ScrollText1->findChild<TScrollDrawThread*>();
}

// Whether any pixel of the rectangle satisfies the test.
bool AnyPixel(const QImage& image, const QRect& area, const PixelTest& test)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y)))
                return true;
    return false;
}

bool IsRed(QRgb rgb)
{
    return qRed(rgb) > 200 && qGreen(rgb) < 60 && qBlue(rgb) < 60;
}

// Shows the window and waits until it has the keyboard.
void ShowActive(TfmAbout& about)
{
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
}

} // namespace

Q_DECLARE_METATYPE(LabelOf)
Q_DECLARE_METATYPE(PixelTest)
Q_DECLARE_METATYPE(Close)

class TestFrmAbout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void labels_data();
    void labels();
    void closing_data();
    void closing();
    void stripScrollsWhileOpen();
    void pixels_data();
    void pixels();
    void manyOpeningsLeaveNothing();
};

void TestFrmAbout::initTestCase()
{
    // The icon the window copies into its picture.
    QPixmap icon(32, 32);
    icon.fill(Qt::green);
    QApplication::setWindowIcon(QIcon(icon));
}

// The build without a record checks only what the record changes.
void TestFrmAbout::init()
{
    if (!TARVANE_TEST_HAS_RECORD && qstrcmp(QTest::currentTestFunction(), "labels") != 0)
        QSKIP("the same without a version record");
}

// clang-format off
void TestFrmAbout::labels_data()
{
    QTest::addColumn<LabelOf>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("anchor"); // top-left, or top-right for the right-aligned one
    QTest::addColumn<QRgb>("color");
    QTest::addColumn<QString>("spoken"); // what a screen reader says of it as the window opens

    const QRgb maroon = qRgb(128, 0, 0);
    const QRgb yellow = qRgb(255, 255, 0);
#if TARVANE_TEST_HAS_RECORD
    const QString version = QStringLiteral(TARVANE_FILE_VERSION);
    const QString copyright = QStringLiteral("© 2026 Les auteurs de Tarvane");
    const QString comments = QStringLiteral("Freeware");
#else
    const QString version = QStringLiteral("Updated at run-time");
    const QString copyright = version;
    const QString comments = version;
#endif
    const auto row = [](const char* name, LabelOf label, const QString& text, QPoint anchor,
                        QRgb color, const QString& spoken) {
        QTest::newRow(name) << label << text << anchor << color << spoken;
    };
    row("version", &TfmAbout::lblVersion, version, {112, 72}, yellow, "Version : " + version);
    row("copyright", &TfmAbout::lblCopyright, copyright, {112, 88}, yellow,
        "Copyright : " + copyright);
    row("comments", &TfmAbout::lblComments, comments, {112, 104}, yellow,
        "Commentaires : " + comments);
    row("heading", &TfmAbout::Comments, QStringLiteral("Commentaires :"), {32, 104}, maroon,
        QStringLiteral("Commentaires :"));
    row("subtitle, right-aligned", &TfmAbout::Label2, QStringLiteral("Convertisseur d'unités"),
        {288, 40}, qRgb(0, 0, 0), QStringLiteral("Convertisseur d'unités"));
}
// clang-format on

// Each label shows its text whole, at its place, in its colour; a fact is named with its
// caption for screen readers.
void TestFrmAbout::labels()
{
    QFETCH(LabelOf, label);
    QFETCH(QString, text);
    QFETCH(QPoint, anchor);
    QFETCH(QRgb, color);
    QFETCH(QString, spoken);

    TfmAbout about;
    QLabel* const shown = about.*label;
    QCOMPARE(shown->text(), text);
    const bool rightAligned = shown->alignment() & Qt::AlignRight;
    QCOMPARE(rightAligned ? shown->geometry().topRight() : shown->geometry().topLeft(), anchor);
    QVERIFY2(shown->width() >= shown->fontMetrics().horizontalAdvance(text),
             "the label cuts its text");
    QCOMPARE(shown->palette().color(QPalette::WindowText).rgb(), color);
    QCOMPARE(shown->textFormat(), Qt::PlainText);
    QCOMPARE(QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name), spoken);
}

// clang-format off
void TestFrmAbout::closing_data()
{
    QTest::addColumn<Close>("close");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("result");

    const auto key = [](Qt::Key key, bool toButton) {
        // Else to the window itself, as after a click on it.
        return Close([key, toButton](TfmAbout& about) {
            QTest::keyClick(toButton ? static_cast<QWidget*>(about.btnOK) : &about, key);
        });
    };
    const int accepted = QDialog::Accepted;
    QTest::newRow("Return") << key(Qt::Key_Return, true) << true << accepted;
    QTest::newRow("Space") << key(Qt::Key_Space, true) << true << accepted;
    QTest::newRow("Return to window") << key(Qt::Key_Return, false) << true << accepted;
    QTest::newRow("Escape to window") << key(Qt::Key_Escape, false) << false << 0;
    QTest::newRow("close box") << Close([](TfmAbout& about) { about.close(); }) << true
                               << int(QDialog::Rejected);
}
// clang-format on

// OK, Enter and the close box close the window and stop its strip; Escape does nothing.
void TestFrmAbout::closing()
{
    QFETCH(Close, close);
    QFETCH(bool, closes);
    QFETCH(int, result);

    TfmAbout about;
    ShowActive(about);
    QCOMPARE(QApplication::focusWidget(), about.btnOK);
    close(about);
    QCOMPARE(about.isVisible(), !closes);
    QCOMPARE(WorkerOf(about)->Suspended(), closes);
    QCOMPARE(about.result(), result);
}

void TestFrmAbout::stripScrollsWhileOpen()
{
    TfmAbout about;
    ShowActive(about);
    QCOMPARE(HintDelayStyle::HintPause(), 90); // hints a little quicker than the steps
    const auto* panel = about.ScrollText1->findChild<TScrollTextPanel*>();
    const int start = panel->y();
    QTRY_VERIFY_WITH_TIMEOUT(panel->y() <= start - 2, 2000); // upwards, 1 pixel a step
}

// clang-format off
void TestFrmAbout::pixels_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<PixelTest>("test");
    QTest::addColumn<bool>("expected"); // whether some pixel of the area passes

    const auto exactly = [](QRgb wanted) {
        return PixelTest([wanted](QRgb rgb) { return (rgb | 0xFF000000) == wanted; });
    };
    const PixelTest yellowish = [](QRgb rgb) {
        return qRed(rgb) > 200 && qGreen(rgb) > 200 && qBlue(rgb) < 100;
    };
    const PixelTest hasRed = [](QRgb rgb) { return qRed(rgb) > 0; }; // the gradient has no red
    QTest::newRow("gradient top is aqua") << QRect(300, 0, 1, 1) << exactly(qRgb(0, 255, 255))
                                          << true;
    QTest::newRow("title has red letters")
        << QRect(72, 8, 225, 33) << PixelTest(IsRed) << true;
    QTest::newRow("title is right-aligned: no red in its left half")
        << QRect(72, 8, 112, 33) << PixelTest(IsRed) << false;
    QTest::newRow("bullet face") << QRect(22, 78, 1, 1) << exactly(qRgb(255, 0, 0)) << true;
    QTest::newRow("yellow value text") << QRect(112, 72, 40, 14) << yellowish << true;
    QTest::newRow("green icon") << QRect(16, 16, 32, 32) << exactly(qRgb(0, 255, 0)) << true;
    QTest::newRow("bevel draws its top edge") << QRect(100, 56, 1, 2) << hasRed << true;
}
// clang-format on

void TestFrmAbout::pixels()
{
    QFETCH(QRect, area);
    QFETCH(PixelTest, test);
    QFETCH(bool, expected);

    TfmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QImage image = about.grab().toImage();
    QCOMPARE(AnyPixel(image, area, test), expected);
}

// Opened and closed again and again, the window leaves no worker, no hint delay, no window
// and, once the first showings have filled the caches later ones reuse, no memory behind; and
// each modal showing ends.
void TestFrmAbout::manyOpeningsLeaveNothing()
{
    constexpr int Cycles = 200;
    constexpr int WarmUpCycles = 20;
    constexpr qint64 BytesKeptPerOpening = 1024; // at most, on average
    QWidget owner;
    const int threadsBefore = ThreadCount();
    const int hintPause = HintDelayStyle::HintPause();
    qint64 heapAfterWarmUp = 0;
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        if (cycle == WarmUpCycles)
            heapAfterWarmUp = HeapInUse();
        auto about = std::make_unique<TfmAbout>(&owner);
        const QPointer<TScrollDrawThread> worker = WorkerOf(*about);
        // Closing times spread over a step, so some closes meet a step in progress.
        QTimer::singleShot(cycle % 11 * 11, about.get(), [&about, cycle] {
            if (cycle % 2)
                about->btnOK->click();
            else
                about->close();
        });
        QCOMPARE(about->exec(), cycle % 2 ? int(QDialog::Accepted) : int(QDialog::Rejected));
        about.reset();
        QVERIFY(worker.isNull());
        QCOMPARE(HintDelayStyle::HintPause(), hintPause);
    }
    QVERIFY(owner.children().isEmpty());
    QTRY_VERIFY(ThreadCount() <= threadsBefore); // a worker may take a moment to leave the list
    const qint64 kept = HeapInUse() - heapAfterWarmUp;
    QVERIFY2(kept <= (Cycles - WarmUpCycles) * BytesKeptPerOpening,
             qPrintable(
                 QStringLiteral("%1 bytes kept per opening").arg(kept / (Cycles - WarmUpCycles))));
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
