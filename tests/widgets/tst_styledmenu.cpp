#include "DesktopFonts.h"
#include "GradientFill.h"
#include "MainWindowLook.h"
#include "MenuGlyphs.h"
#include "MenuStyler.h"
#include "StyledMainMenu.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using namespace tarvane;

namespace {

QColor Rgb(QRgb rgb)
{
    return QColor(rgb);
}

const QColor RootFrom = Rgb(0x9EBEF5);
const QColor RootTo = Rgb(0xB2CDF7);
const QColor HoverFrom = Rgb(0xFFF4CC);
const QColor HoverTo = Rgb(0xFFD69A);
const QColor HoverBorder = Rgb(0x4B4B6F);
const QColor OpenFrom = Rgb(0xE3EFFF);
const QColor OpenTo = Rgb(0x93B5E7);
const QColor MenuBorder = Rgb(0x002D96);
const QColor Background = Rgb(0xF6F6F6);
const QColor IconFrom = Rgb(0xE3EFFF);
const QColor IconTo = Rgb(0x87ADE4);
const QColor Highlight = Rgb(0xFFEEC2);
const QColor Navy = Rgb(0x000080);
const QColor SeparatorLine = Rgb(0x6A8CCB);

QFont Tahoma11()
{
    return PixelFont(QStringLiteral("Tahoma"), 11);
}

// The main window's menu: Fichier (Quitter) and Aide (Index de l'aide, a separator,
// Lisez-moi, a separator, A propos...), drawn by a styler set up like the window's.
class MenuWindow {
public:
    MenuWindow()
    {
        window.resize(553, 393);
        ApplyMenuStyler1Layout(*styler);
        menu->SetMenuStyler(styler);
        window.setMenuBar(menu);
        fichier = menu->addMenu(QStringLiteral("Fichier"));
        quitter = fichier->addAction(QStringLiteral("Quitter"));
        aide = menu->addMenu(QStringLiteral("Aide"));
        index = aide->addAction(QStringLiteral("Index de l'aide"));
        index->setEnabled(false); // no handler
        n1 = aide->addSeparator();
        lisezmoi = aide->addAction(QStringLiteral("Lisez-moi"));
        n2 = aide->addSeparator();
        apropos = aide->addAction(QStringLiteral("A propos..."));
    }

    bool Show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    bool OpenAide()
    {
        menu->setActiveAction(aide->menuAction());
        return QTest::qWaitForWindowExposed(aide);
    }

    QRect RootRect(QMenu* dropDown) const { return menu->actionGeometry(dropDown->menuAction()); }

    QMainWindow window;
    TMenuStyler* styler = new TMenuStyler(&window);
    TStyledMainMenu* menu = new TStyledMainMenu(&window);
    QMenu* fichier = nullptr;
    QMenu* aide = nullptr;
    QAction* quitter = nullptr;
    QAction* index = nullptr;
    QAction* n1 = nullptr;
    QAction* lisezmoi = nullptr;
    QAction* n2 = nullptr;
    QAction* apropos = nullptr;
};

int EvenHeight(int height)
{
    return height + height % 2;
}

} // namespace

class TestStyledMenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void itemSizes_data();
    void itemSizes();
    void rootBand_data();
    void rootBand();
    void rootItemStates_data();
    void rootItemStates();
    void dropDownPixels_data();
    void dropDownPixels();
    void highlightedItem();
    void disabledItem();
    void keyboard_data();
    void keyboard();
    void mouseChoosesItem();
    void stylerAssignment();
    void glyphResources_data();
    void glyphResources();
};

void TestStyledMenu::initTestCase()
{
    // The offscreen platform cannot raise windows or grab the keyboard; menus work without.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QLatin1String("This plugin does not support")))
                previous(type, context, text);
        });
    RegisterDesktopFonts();
}

void TestStyledMenu::itemSizes_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("root Fichier") << "Fichier";
    QTest::newRow("root Aide") << "Aide";
    QTest::newRow("Quitter") << "Quitter";
    QTest::newRow("Index de l'aide") << "Index de l'aide";
    QTest::newRow("separator") << "N1";
    QTest::newRow("Lisez-moi") << "Lisez-moi";
}

void TestStyledMenu::itemSizes()
{
    QFETCH(QString, item);
    MenuWindow w;
    QVERIFY(w.Show());
    const QFontMetrics metrics(Tahoma11());
    const int textHeight = EvenHeight(metrics.height() + 6);
    // Every item of a drop-down is as wide as its widest caption needs.
    const auto dropDownWidth = [&](std::initializer_list<const char*> captions) {
        int widest = 0;
        for (const char* caption : captions)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(caption)));
        return 24 + 15 + widest + 7 + 17;
    };
    const int aideWidth = dropDownWidth({"Index de l'aide", "Lisez-moi", "A propos..."});
    QRect actual;
    QSize expected;
    if (item == "Fichier" || item == "Aide") {
        QMenu* root = item == "Fichier" ? w.fichier : w.aide;
        actual = w.RootRect(root);
        expected = QSize(metrics.horizontalAdvance(item) + 2 * metrics.averageCharWidth(),
                         metrics.height() + 6);
    } else if (item == "Quitter") {
        actual = w.fichier->actionGeometry(w.quitter);
        expected = QSize(dropDownWidth({"Quitter"}), textHeight);
    } else {
        QAction* action = item == "N1" ? w.n1 : item == "Lisez-moi" ? w.lisezmoi : w.index;
        actual = w.aide->actionGeometry(action);
        expected = QSize(aideWidth, item == "N1" ? 3 : textHeight);
    }
    QCOMPARE(actual.size(), expected);
}

void TestStyledMenu::rootBand_data()
{
    QTest::addColumn<int>("x");
    QTest::newRow("left edge, inside Fichier") << 0;
    QTest::newRow("inside Aide") << -1;
    QTest::newRow("empty area") << 300;
    QTest::newRow("right edge") << 552;
}

void TestStyledMenu::rootBand()
{
    QFETCH(int, x);
    MenuWindow w;
    QVERIFY(w.Show());
    if (x < 0)
        x = w.RootRect(w.aide).left() + 1;
    const QImage bar = Grab(*w.menu);
    // One band from the window's left edge to 100 pixels past its right edge.
    QCOMPARE(QColor(bar.pixel(x, 1)), GradientBandColor(RootFrom, RootTo, x, 553 + 100));
    QVERIFY(QColor(bar.pixel(552, 1)) != RootTo);
}

// clang-format off
void TestStyledMenu::rootItemStates_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QColor>("border");
    QTest::addColumn<QColor>("from");
    QTest::addColumn<QColor>("to");
    QTest::addColumn<QColor>("bottomRow");
    QTest::newRow("hot") << false << HoverBorder << HoverFrom << HoverTo << HoverBorder;
    QTest::newRow("open, joined to its drop-down") << true << MenuBorder << OpenFrom << OpenTo
                                                   << Background;
}
// clang-format on

void TestStyledMenu::rootItemStates()
{
    QFETCH(bool, open);
    QFETCH(QColor, border);
    QFETCH(QColor, from);
    QFETCH(QColor, to);
    QFETCH(QColor, bottomRow);
    MenuWindow w;
    QVERIFY(w.Show());
    const QRect item = w.RootRect(w.aide);
    if (open) {
        QVERIFY(w.OpenAide());
    } else {
        QMouseEvent move(QEvent::MouseMove, item.center(), w.menu->mapToGlobal(item.center()),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.menu, &move);
        QTRY_COMPARE(w.menu->activeAction(), w.aide->menuAction());
        QVERIFY(!w.aide->isVisible());
    }
    const QImage bar = Grab(*w.menu);
    QCOMPARE(QColor(bar.pixel(item.topLeft())), border);
    QCOMPARE(QColor(bar.pixel(item.topRight())), border);
    QCOMPARE(QColor(bar.pixel(item.left(), item.center().y())), border);
    // A vertical gradient, one colour per row, just inside the outline.
    QCOMPARE(QColor(bar.pixel(item.left() + 1, item.top() + 1)),
             GradientBandColor(from, to, 1, item.height()));
    QCOMPARE(QColor(bar.pixel(item.left() + 1, item.bottom() - 1)),
             GradientBandColor(from, to, item.height() - 2, item.height()));
    QCOMPARE(QColor(bar.pixel(item.left() + 1, item.bottom())), bottomRow);
    QCOMPARE(QColor(bar.pixel(item.right() - 1, item.bottom())), bottomRow);
    // Fichier beside it keeps the plain band.
    const QRect fichier = w.RootRect(w.fichier);
    QCOMPARE(QColor(bar.pixel(fichier.left() + 1, 1)),
             GradientBandColor(RootFrom, RootTo, fichier.left() + 1, 653));
}

void TestStyledMenu::dropDownPixels_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("outer frame left") << "frame-left" << MenuBorder;
    QTest::newRow("inner frame left") << "frame-inner-left" << Background;
    QTest::newRow("outer frame right") << "frame-right" << MenuBorder;
    QTest::newRow("outer frame bottom") << "frame-bottom" << MenuBorder;
    QTest::newRow("top border under the root item") << "join" << Background;
    QTest::newRow("top border past the root item") << "top-past-root" << MenuBorder;
    QTest::newRow("icon strip start") << "icon-left" << IconFrom;
    QTest::newRow("icon strip end") << "icon-right" << GradientBandColor(IconFrom, IconTo, 23, 24);
    QTest::newRow("background right of the strip") << "background" << Background;
    QTest::newRow("separator icon strip") << "separator-strip" << IconFrom;
    QTest::newRow("separator before its margin") << "separator-gap" << Background;
    QTest::newRow("separator line start") << "separator-start" << SeparatorLine;
    QTest::newRow("separator line end") << "separator-end" << SeparatorLine;
    QTest::newRow("separator after its end") << "separator-after" << Background;
    QTest::newRow("separator row above the line") << "separator-above" << Background;
    QTest::newRow("second separator") << "separator-2" << SeparatorLine;
}

void TestStyledMenu::dropDownPixels()
{
    QFETCH(QString, where);
    QFETCH(QColor, expected);
    MenuWindow w;
    QVERIFY(w.Show());
    QVERIFY(w.OpenAide());
    const QRect root = w.RootRect(w.aide);
    // The drop-down hangs right below its root item, left edges aligned.
    QCOMPARE(w.aide->pos(), w.menu->mapToGlobal(root.bottomLeft()) + QPoint(0, 1));
    const QImage image = Grab(*w.aide);
    const QRect item = w.aide->actionGeometry(w.lisezmoi);
    const QRect separator = w.aide->actionGeometry(w.n1);
    const int lineY = separator.top() + 1;
    const QHash<QString, QPoint> points{
        {"frame-left", {0, image.height() / 2}},
        {"frame-inner-left", {1, image.height() / 2}},
        {"frame-right", {image.width() - 1, image.height() / 2}},
        {"frame-bottom", {image.width() / 2, image.height() - 1}},
        {"join", {root.width() - 2, 0}},
        {"top-past-root", {root.width() + 2, 0}},
        {"icon-left", {item.left(), item.top()}},
        {"icon-right", {item.left() + 23, item.top()}},
        {"background", {item.left() + 24, item.top()}},
        {"separator-strip", {separator.left(), lineY}},
        {"separator-gap", {separator.left() + 25, lineY}},
        {"separator-start", {separator.left() + 26, lineY}},
        {"separator-end", {separator.right() - 2, lineY}},
        {"separator-after", {separator.right() - 1, lineY}},
        {"separator-above", {separator.left() + 40, separator.top()}},
        {"separator-2", {separator.left() + 40, w.aide->actionGeometry(w.n2).top() + 1}},
    };
    QCOMPARE(QColor(image.pixel(points.value(where))), expected);
    QCOMPARE(QColor(image.pixel(1, 0)), Background);
    QCOMPARE(QColor(image.pixel(0, 0)), MenuBorder);
}

void TestStyledMenu::highlightedItem()
{
    MenuWindow w;
    QVERIFY(w.Show());
    QVERIFY(w.OpenAide());
    w.aide->setActiveAction(w.lisezmoi);
    const QImage image = Grab(*w.aide);
    const QRect item = w.aide->actionGeometry(w.lisezmoi);
    QCOMPARE(QColor(image.pixel(item.topLeft())), Navy);
    QCOMPARE(QColor(image.pixel(item.bottomRight())), Navy);
    // The highlight covers the icon strip too.
    QCOMPARE(QColor(image.pixel(item.left() + 1, item.top() + 1)), Highlight);
    QCOMPARE(QColor(image.pixel(item.left() + 12, item.center().y())), Highlight);
    QCOMPARE(QColor(image.pixel(item.right() - 1, item.center().y())), Highlight);
    // Its neighbours keep the icon strip.
    const QRect other = w.aide->actionGeometry(w.apropos);
    QCOMPARE(QColor(image.pixel(other.left(), other.top() + 1)), IconFrom);
}

void TestStyledMenu::disabledItem()
{
    MenuWindow w;
    QVERIFY(w.Show());
    QVERIFY(w.OpenAide());
    const QImage image = Grab(*w.aide);
    const QColor grey = ColorToQColor(clGrayText);
    // The darkest caption pixel: grey for the disabled item, black for an enabled one.
    const auto darkest = [&](QAction* action) {
        const QRect item = w.aide->actionGeometry(action).adjusted(24 + 8, 0, -17, 0);
        QColor result = Qt::white;
        for (int y = item.top(); y <= item.bottom(); ++y) {
            for (int x = item.left(); x <= item.right(); ++x) {
                const QColor pixel(image.pixel(x, y));
                if (pixel.lightness() < result.lightness())
                    result = pixel;
            }
        }
        return result;
    };
    QCOMPARE(darkest(w.index), grey);
    QCOMPARE(darkest(w.lisezmoi), QColor(Qt::black));

    QSignalSpy triggered(w.index, &QAction::triggered);
    QTest::mouseClick(w.aide, Qt::LeftButton, {}, w.aide->actionGeometry(w.index).center());
    QCOMPARE(triggered.count(), 0);
}

void TestStyledMenu::keyboard_data()
{
    QTest::addColumn<int>("way"); // the key that reaches the bar; 0: the Aide menu opened
    QTest::addColumn<int>("downs");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("first item, disabled: highlighted, not chosen") << 0 << 1 << "";
    QTest::newRow("Lisez-moi, past a separator") << 0 << 2 << "Lisez-moi";
    QTest::newRow("A propos...") << 0 << 3 << "A propos...";
    QTest::newRow("Alt, Right, then A propos...") << int(Qt::Key_Alt) << 3 << "A propos...";
    QTest::newRow("F10 as Alt") << int(Qt::Key_F10) << 3 << "A propos...";
    QTest::newRow("F10, then Lisez-moi") << int(Qt::Key_F10) << 2 << "Lisez-moi";
}

void TestStyledMenu::keyboard()
{
    QFETCH(int, way);
    QFETCH(int, downs);
    QFETCH(QString, chosen);
    MenuWindow w;
    auto* box = new QLineEdit(&w.window);
    w.window.setCentralWidget(box);
    QVERIFY(w.Show());
    QString triggered;
    QObject::connect(w.aide, &QMenu::triggered,
                     [&](QAction* action) { triggered = action->text(); });
    int presses = downs;
    if (way) {
        // The bar takes the keyboard with its first item highlighted, no menu open.
        box->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QTest::keyClick(box, Qt::Key(way));
        QVERIFY(w.menu->hasFocus());
        QCOMPARE(w.menu->activeAction(), w.fichier->menuAction());
        QVERIFY(!w.fichier->isVisible());
        QTest::keyClick(w.menu, Qt::Key(way)); // the same key gives the keyboard back
        QVERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key(way));
        QTest::keyClick(w.menu, Qt::Key_Right);
        QTest::keyClick(w.menu, Qt::Key_Down); // opens Aide on its first item
        QVERIFY(QTest::qWaitForWindowExposed(w.aide));
        --presses;
    } else {
        QVERIFY(w.OpenAide());
    }
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(w.aide, Qt::Key_Down);
    const QList<QAction*> order{w.index, w.lisezmoi, w.apropos};
    QCOMPARE(w.aide->activeAction(), order.at(downs - 1));
    QTest::keyClick(w.aide, Qt::Key_Return);
    QCOMPARE(triggered, chosen);
}

void TestStyledMenu::mouseChoosesItem()
{
    MenuWindow w;
    QVERIFY(w.Show());
    QSignalSpy triggered(w.quitter, &QAction::triggered);
    // Through the windows, as the desktop delivers clicks, so that Qt follows the pointer: a
    // drop-down takes no click where the pointer has not moved since it opened (Qt 6.8).
    const QPoint root = w.menu->mapTo(&w.window, w.RootRect(w.fichier).center());
    QTest::mouseClick(w.window.windowHandle(), Qt::LeftButton, {}, root);
    QVERIFY(QTest::qWaitForWindowExposed(w.fichier));
    QTest::mouseClick(w.fichier->windowHandle(), Qt::LeftButton, {},
                      w.fichier->actionGeometry(w.quitter).center());
    QCOMPARE(triggered.count(), 1);
}

void TestStyledMenu::stylerAssignment()
{
    QWidget window;
    TStyledMainMenu menu(&window);
    const auto internal = [&] {
        return menu.findChild<TCustomMenuStyler*>(QStringLiteral("InternalMenuStyler"));
    };
    QVERIFY(internal());
    QCOMPARE(menu.MenuStyler(), nullptr);
    auto* styler = new TMenuStyler(&window);
    styler->Separator().SetColor(clRed);
    menu.SetMenuStyler(styler);
    QCOMPARE(internal(), nullptr);
    QCOMPARE(&menu.Styler(), styler);
    QCOMPARE(menu.Styler().Separator().Color(), clRed);
    delete styler;
    QCOMPARE(menu.MenuStyler(), nullptr);
    QVERIFY(internal());
    QCOMPARE(menu.Styler().Separator().Color(), TColor(13339754));
}

void TestStyledMenu::glyphResources_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("ink");
    QTest::newRow("check") << "MENUCHECKITEM" << QPoint(4, 7);
    QTest::newRow("radio") << "MENURADIOITEM" << QPoint(5, 5);
    QTest::newRow("submenu") << "MENUSUBMENUITEM" << QPoint(4, 5);
}

void TestStyledMenu::glyphResources()
{
    QFETCH(QString, name);
    QFETCH(QPoint, ink);
    const QImage glyph = TMenuGlyphs::LoadGlyph(name).toImage();
    QVERIFY(!glyph.isNull());
    // The bottom-left colour is see-through; the mark itself is opaque.
    QCOMPARE(qAlpha(glyph.pixel(0, glyph.height() - 1)), 0);
    QCOMPARE(qAlpha(glyph.pixel(ink)), 255);
    QVERIFY(TMenuGlyphs::LoadGlyph(QStringLiteral("NOSUCHGLYPH")).isNull());
}

QTEST_MAIN(TestStyledMenu)
#include "tst_styledmenu.moc"
