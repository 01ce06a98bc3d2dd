#include "NumSpinEditTesting.h"

#include "AccessibleNumSpinEdit.h"

#include <optional>

using namespace tarvane;
using namespace tarvane::testing;

class TestNumSpinEdit : public NumSpinEditFixture {
    Q_OBJECT
private slots:
    void formatting_data();
    void formatting();
    void reading_data();
    void reading();
    void steps_data();
    void steps();
    void pageKeys_data();
    void pageKeys();
    void lockedBox_data();
    void lockedBox();
    void leavingTheBox_data();
    void leavingTheBox();
    void longTextShowsItsStart_data();
    void longTextShowsItsStart();
    void changeNotifications();
    void userChangesAreTold_data();
    void userChangesAreTold();
    void focusColourOrder();
    void heightRule();
    void labelPlacement_data();
    void labelPlacement();
    void flatLineAndFocusFrame();
    void autoRepeat();
};

// clang-format off
void TestNumSpinEdit::formatting_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("precision");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    // The forms themselves are the engine's; the box shows them with the locale's separator.
    QTest::newRow("fixed") << "en" << 4 << 12.5 << "12.5000";
    QTest::newRow("fixed French separator") << "fr" << 4 << -1234.5 << "-1234,5000";
    QTest::newRow("general French") << "fr" << 0 << -1.25E-7 << "-1,25E-7";
    QTest::newRow("largest negative, French") << "fr" << 4 << -DBL_MAX << "-1,79769313486231E308";
    QTest::newRow("infinite") << "fr" << 4 << std::numeric_limits<double>::infinity() << "INF";
}
// clang-format on

// The number texts the window's model gives the boxes.
void TestNumSpinEdit::formatting()
{
    QFETCH(QString, locale);
    QFETCH(int, precision);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QLocale::setDefault(LocaleNamed(locale));
    const QString text = FloatToText(value, precision, QLocale());
    QCOMPARE(text, expected);
    if (std::isfinite(value))
        QVERIFY(UserTextToFloat(text, QLocale()).has_value()); // what a box shows reads back
}

// clang-format off
void TestNumSpinEdit::reading_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number"); // what the user's text spells; NaN: none
    QTest::addColumn<int>("value");     // what a spinner reads, MinValue -7 for no number

    const double none = qQNaN();
    QTest::newRow("blanks spell no number") << "en" << "  " << none << 0;
    QTest::newRow("blanks around") << "en" << " -12.5 " << -12.5 << -7;
    QTest::newRow("exponent") << "en" << "1.5e3" << 1500.0 << -7;
    QTest::newRow("lone separator") << "en" << "." << 0.0 << -7;
    QTest::newRow("trailing separator") << "en" << "12." << 12.0 << -7;
    QTest::newRow("no leading digit") << "en" << "-.5" << -0.5 << -7;
    QTest::newRow("exponent without digits") << "en" << "2E" << none << -7;
    QTest::newRow("lone minus") << "en" << "-" << none << -7;
    QTest::newRow("failure text") << "en" << "-.--" << none << -7;
    QTest::newRow("two separators") << "en" << "1.2.3" << none << -7;
    QTest::newRow("comma under English") << "en" << "1,234" << 1.234 << -7;
    QTest::newRow("French comma") << "fr" << "3,25" << 3.25 << -7;
    QTest::newRow("point under French") << "fr" << "3.25" << 3.25 << -7;
    QTest::newRow("point and comma") << "en" << "1,234.5" << none << -7;
    QTest::newRow("French grouping") << "fr" << "1\u202F234,5" << none << -7;
    QTest::newRow("unit after the number") << "fr" << "12,5 dBu" << none << -7;
    QTest::newRow("overflow") << "en" << "1E999" << none << -7;
    QTest::newRow("underflow") << "en" << "1E-999" << 0.0 << -7;
    QTest::newRow("integer") << "en" << "+42" << 42.0 << 42;
    QTest::newRow("beyond 32 bits saturates") << "en" << "3000000000" << 3E9 << INT_MAX;
    QTest::newRow("below 32 bits saturates") << "en" << " -99999999999999999999" << -1E20 << INT_MIN;
    QTest::newRow("INF reads the minimum") << "en" << "INF" << none << -7;
}
// clang-format on

// A text typed or pasted as the window's model reads it, and as a spinner reads its own.
void TestNumSpinEdit::reading()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(int, value);
    QLocale::setDefault(LocaleNamed(locale));
    const std::optional<double> read = UserTextToFloat(text, QLocale());
    QVERIFY2(std::isnan(number) ? !read : read == number,
             qPrintable(QString::number(read.value_or(-1))));
    TPrecisionSpinner spinner(nullptr);
    spinner.SetMinValue(-7);
    spinner.Loaded();
    spinner.SetText(text);
    QCOMPARE(spinner.Value(), value);
}

// clang-format off
void TestNumSpinEdit::steps_data()
{
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedStart");
    QTest::addColumn<int>("expectedLength");

    QTest::newRow("button up grows") << true << true << "9.5000" << 1 << 2 << "10.5000" << 1 << 6;
    QTest::newRow("button down shrinks") << true << false << "10.5000" << 1 << 2 << "9.5000" << 1 << 2;
    QTest::newRow("button up drops minus") << true << true << "-0.5000" << 3 << 0 << "0.5000" << 2 << 4;
    QTest::newRow("button down adds minus") << true << false << "0.5000" << 2 << 1 << "-0.5000" << 3 << 1;
    QTest::newRow("key up") << false << true << "9.5000" << 1 << 2 << "10.5000" << 1 << 2;
    QTest::newRow("key down") << false << false << "10.5000" << 3 << 0 << "9.5000" << 3 << 0;
    QTest::newRow("key up drops minus") << false << true << "-0.5000" << 3 << 0 << "0.5000" << 3 << 0;
}
// clang-format on

void TestNumSpinEdit::steps()
{
    QFETCH(bool, byButton);
    QFETCH(bool, up);
    QFETCH(QString, start);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    QFETCH(int, expectedStart);
    QFETCH(int, expectedLength);
    Window window;
    window.Show();
    window.Focus(window.value);
    window.value->SetText(start);
    window.value->setSelection(selStart, selLength);
    if (selLength == 0)
        window.value->setCursorPosition(selStart);
    window.stepAnswer = expected;
    int clicks = 0;
    window.value->OnUpClick = [&](QObject*) { clicks += up ? 1 : 100; };
    window.value->OnDownClick = [&](QObject*) { clicks += up ? 100 : 1; };
    const int changesBefore = window.valueChanges;
    auto* buttons = window.value->findChild<TSpinButtons*>();
    if (byButton)
        QTest::mouseClick(up ? buttons->UpButton() : buttons->DownButton(), Qt::LeftButton);
    else
        Press(window.value, up ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(window.value->Text(), expected);
    const int actualStart = window.value->hasSelectedText() ? window.value->selectionStart()
                                                            : window.value->cursorPosition();
    QCOMPARE(actualStart, expectedStart);
    QCOMPARE(int(window.value->selectionLength()), expectedLength);
    QCOMPARE(window.steps, QList<double>{up ? 1.0 : -1.0});
    QCOMPARE(window.valueChanges - changesBefore, 1);
    QCOMPARE(window.valueUserChanges, 0); // the step was asked for, the text is the owner's
    QCOMPARE(clicks, 1);
    QVERIFY(window.value->isModified());
}

// clang-format off
void TestNumSpinEdit::pageKeys_data()
{
    QTest::addColumn<bool>("valueBox");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected"); // a value box: the step asked for

    QTest::newRow("spinner page up clamps") << false << "4" << int(Qt::Key_PageUp) << "10";
    QTest::newRow("spinner page down clamps") << false << "4" << int(Qt::Key_PageDown) << "0";
    QTest::newRow("spinner up at the top") << false << "10" << int(Qt::Key_Up) << "10";
    QTest::newRow("spinner down") << false << "4" << int(Qt::Key_Down) << "3";
    QTest::newRow("value page up") << true << "2.5000" << int(Qt::Key_PageUp) << "5";
    QTest::newRow("value page down") << true << "0.2500" << int(Qt::Key_PageDown) << "-5";
    QTest::newRow("value ctrl return steps up") << true << "1.0000" << int(Qt::Key_Return) << "1";
}
// clang-format on

void TestNumSpinEdit::pageKeys()
{
    QFETCH(bool, valueBox);
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, expected);
    Window window;
    window.value->SetIncrementFloatPage(5);
    window.stepAnswer = QStringLiteral("-12.5000"); // longer, and signed
    TNumSpinEdit* box = valueBox ? window.value : window.spinner;
    box->SetText(start);
    box->setSelection(0, 1);
    const Qt::KeyboardModifiers modifiers =
        key == Qt::Key_Return ? Qt::ControlModifier : Qt::NoModifier;
    Press(box, Qt::Key(key), {}, modifiers);
    if (valueBox) {
        QCOMPARE(window.steps, QList<double>{expected.toDouble()});
        QCOMPARE(box->Text(), window.stepAnswer);
    } else {
        QCOMPARE(box->Text(), expected);
    }
    QCOMPARE(box->selectionStart(), 0); // a key leaves the selection as it was
    QCOMPARE(int(box->selectionLength()), 1);
}

// clang-format off
void TestNumSpinEdit::lockedBox_data()
{
    QTest::addColumn<bool>("editorEnabled");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<int>("upClicks");

    QTest::newRow("no typing") << false << int(Qt::Key_5) << "4" << 1 << 0;
    QTest::newRow("no backspace") << false << int(Qt::Key_Backspace) << "4" << 1 << 0;
    QTest::newRow("no delete") << false << int(Qt::Key_Delete) << "4" << 0 << 0;
    QTest::newRow("steps still") << false << int(Qt::Key_Up) << "5" << 0 << 1;
    QTest::newRow("read-only step beeps") << true << int(Qt::Key_Up) << "4" << 1 << 1;
}
// clang-format on

void TestNumSpinEdit::lockedBox()
{
    QFETCH(bool, editorEnabled);
    QFETCH(int, key);
    QFETCH(QString, expected);
    QFETCH(int, beeps);
    QFETCH(int, upClicks);
    Window window;
    TNumSpinEdit* box = window.spinner;
    box->SetEditorEnabled(editorEnabled);
    box->SetReadOnly(editorEnabled); // one of the two locks
    int clicks = 0;
    box->OnUpClick = [&](QObject*) { ++clicks; };
    box->setCursorPosition(1); // after the digit
    const int beepsBefore = BeepCount();
    const QString text = key == Qt::Key_5 ? QStringLiteral("5")
        : key == Qt::Key_Backspace        ? QStringLiteral("\b")
                                          : QString();
    Press(box, Qt::Key(key), text);
    QCOMPARE(box->Text(), expected);
    QCOMPARE(BeepCount() - beepsBefore, beeps);
    QCOMPARE(clicks, upClicks);
}

// clang-format off
void TestNumSpinEdit::leavingTheBox_data()
{
    QTest::addColumn<bool>("valueBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("whileTyping");
    QTest::addColumn<QString>("afterLeaving");
    QTest::addColumn<int>("changesOnLeaving");

    // A value box's text is its owner's to show anew.
    QTest::newRow("value as typed") << true << "1.5" << "1.5" << "1.5" << 0;
    QTest::newRow("lone minus") << true << "-" << "-" << "-" << 0;
    QTest::newRow("empty stays empty") << true << "" << "" << "" << 0;
    QTest::newRow("spinner beyond maximum") << false << "99" << "99" << "10" << 1;
    QTest::newRow("spinner beyond 32 bits") << false << "99999999999" << "99999999999" << "10" << 1;
    QTest::newRow("spinner in range") << false << "7" << "7" << "7" << 0;
}
// clang-format on

void TestNumSpinEdit::leavingTheBox()
{
    QFETCH(bool, valueBox);
    QFETCH(QString, typed);
    QFETCH(QString, whileTyping);
    QFETCH(QString, afterLeaving);
    QFETCH(int, changesOnLeaving);
    Window window;
    window.Show();
    TNumSpinEdit* box = valueBox ? window.value : window.spinner;
    int exits = 0;
    box->OnExit = [&](QObject*) { ++exits; };
    window.Focus(box);
    box->selectAll();
    Press(box, Qt::Key_Backspace, QStringLiteral("\b"));
    if (typed == QLatin1String("-"))
        box->SetText(typed); // a minus typed into an empty box toggles nothing but the sign
    else
        Type(box, typed);
    QCOMPARE(box->Text(), whileTyping);
    const int changesBefore = valueBox ? window.valueChanges : window.spinnerChanges;
    window.elsewhere->setFocus(Qt::TabFocusReason);
    QCOMPARE(box->Text(), afterLeaving);
    QCOMPARE((valueBox ? window.valueChanges : window.spinnerChanges) - changesBefore,
             changesOnLeaving);
    QCOMPARE(exits, 1);
}

// A number too long for the box shows its sign and first digits where the program writes it
// into a box the user is not in (a result); in the box the user is in, the caret's end shows.
void TestNumSpinEdit::longTextShowsItsStart_data()
{
    QTest::addColumn<bool>("focused");
    QTest::newRow("a result") << false;
    QTest::newRow("the box the user is in") << true;
}

void TestNumSpinEdit::longTextShowsItsStart()
{
    QFETCH(bool, focused);
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    if (focused)
        window.Focus(box);
    const auto shown = [&](const QString& text) {
        box->SetText(text);
        return Grab(*box);
    };
    const QString longText = QStringLiteral("-13.01029995663981");
    QVERIFY(box->fontMetrics().horizontalAdvance(longText) > box->width());
    const QImage start = shown(longText);
    const bool firstShows = start != shown(QStringLiteral("-23.01029995663981"));
    const bool lastShows = start != shown(QStringLiteral("-13.01029995663982"));
    QCOMPARE(firstShows, !focused);
    QCOMPARE(lastShows, focused);
}

void TestNumSpinEdit::changeNotifications()
{
    Window window;
    TNumSpinEdit* box = window.value;
    QCOMPARE(window.valueChanges, 0); // nothing while loading
    QCOMPARE(box->Text(), QStringLiteral("0"));

    box->SetText(QStringLiteral("3.14"));
    QCOMPARE(window.valueChanges, 1);
    box->SetPrecision(2); // rules what may be typed, shows nothing anew
    QCOMPARE(box->Text(), QStringLiteral("3.14"));
    box->SetText(QStringLiteral("3.14"));
    QCOMPARE(window.valueChanges, 1);

    // A typed character that replaces itself is no change.
    box->setSelection(0, 1);
    Type(box, QStringLiteral("3"));
    QCOMPARE(window.valueChanges, 1);
    Type(box, QStringLiteral("0"));
    QCOMPARE(box->Text(), QStringLiteral("30.14"));
    QCOMPARE(window.valueChanges, 2);

    // A handler that writes the box sees it settled and is told of its own change.
    QStringList seen;
    box->OnChange = [&](QObject* sender) {
        QCOMPARE(sender, box);
        seen << box->Text();
        if (box->Text() == QLatin1String("1"))
            box->SetText(QStringLiteral("2"));
    };
    box->SetText(QStringLiteral("1"));
    QCOMPARE(seen, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));

    // A detached slot notifies nobody; a paste of several lines keeps one line.
    box->OnChange = nullptr;
    QApplication::clipboard()->setText(QStringLiteral("4\n5\r\n6"));
    box->selectAll();
    box->paste();
    QCOMPARE(box->Text(), QStringLiteral("456"));
}

// clang-format off
void TestNumSpinEdit::userChangesAreTold_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("userChanges"); // OnChange is raised once in each row

    // From 1.5 with the caret at its end, in a box of 4 decimals; the clipboard holds 7.
    QTest::newRow("text written") << "SetText" << "2" << 0;
    QTest::newRow("a step, answered by the owner") << "PageUp" << "2.5000" << 0;
    QTest::newRow("digit typed") << "type" << "1.52" << 1;
    QTest::newRow("Backspace") << "Backspace" << "1." << 1;
    QTest::newRow("minus") << "minus" << "-1.5" << 1;
    QTest::newRow("pasted") << "paste" << "1.57" << 1;
    QTest::newRow("cut") << "cut" << "" << 1;
    QTest::newRow("an assistive tool's text") << "accessible" << "1.5000" << 1;
    QTest::newRow("written by the handler of a typed digit") << "type, handler writes" << "9" << 1;
}
// clang-format on

// OnUserChange follows the user's changes only, after OnChange, which follows them all.
void TestNumSpinEdit::userChangesAreTold()
{
    QFETCH(QString, action);
    QFETCH(QString, expected);
    QFETCH(int, userChanges);
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    window.Focus(box);
    box->SetText(QStringLiteral("1.5"));
    box->setCursorPosition(3);
    QApplication::clipboard()->setText(QStringLiteral("7"));
    window.stepAnswer = QStringLiteral("2.5000");
    if (action == u"cut")
        box->selectAll();
    QStringList told;
    box->OnChange = [&](QObject*) {
        told << QStringLiteral("change");
        if (action == u"type, handler writes")
            box->SetText(QStringLiteral("9"));
    };
    box->OnUserChange = [&](QObject*) { told << QStringLiteral("user"); };

    if (action == u"SetText")
        box->SetText(QStringLiteral("2"));
    else if (action.startsWith(u"type"))
        Type(box, QStringLiteral("2"));
    else if (action == u"Backspace")
        Press(box, Qt::Key_Backspace, QStringLiteral("\b"));
    else if (action == u"PageUp")
        Press(box, Qt::Key_PageUp);
    else if (action == u"minus")
        Type(box, QStringLiteral("-"));
    else if (action == u"paste")
        PressShortcut(box, Qt::CTRL | Qt::Key_V);
    else if (action == u"cut")
        PressShortcut(box, Qt::CTRL | Qt::Key_X);
    else if (action == u"accessible")
        TAccessibleNumSpinEdit(box).setText(QAccessible::Value, QStringLiteral("1.5000"));
    QCOMPARE(box->Text(), expected);
    QStringList expectedTold;
    expectedTold << QStringLiteral("change");
    if (action == u"type, handler writes")
        expectedTold << QStringLiteral("change");
    for (int i = 0; i < userChanges; ++i)
        expectedTold << QStringLiteral("user");
    QCOMPARE(told, expectedTold);
}

void TestNumSpinEdit::focusColourOrder()
{
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    TColor colourInOnEnter = clNone;
    box->OnEnter = [&](QObject*) {
        colourInOnEnter = box->Color();
        box->SetColor(clRed); // replaced by the focus colour at once
    };
    box->setFocus(Qt::TabFocusReason);
    QCOMPARE(colourInOnEnter, clBlack);
    QCOMPARE(box->Color(), clBlue);
    QVERIFY(box->hasSelectedText()); // AutoSelect from the keyboard
    box->SetColor(clGreen);          // written while focused: stays
    QCOMPARE(box->Color(), clGreen);
    window.elsewhere->setFocus(Qt::TabFocusReason);
    QCOMPARE(box->Color(), clBlack); // the colour at load time
}

void TestNumSpinEdit::heightRule()
{
    QWidget form;
    auto* box = new TNumSpinEdit(&form);
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(27);
    font.setBold(true);
    box->setFont(font);
    box->SetFlat(true);
    box->Loaded();
    form.show();
    box->resize(233, 5);
    const int cell = QFontMetrics(font).height();
    const int systemCell = QFontMetrics(QApplication::font()).height();
    QCOMPARE(box->height(), cell + std::min(cell, systemCell) / 4 + 2);
    box->resize(233, 80);
    QCOMPARE(box->height(), 80); // only raised, never lowered
}

void TestNumSpinEdit::labelPlacement_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("position");

    QTest::newRow("value box caption") << "Valeur à convertir" << int(lpTopCenter);
    QTest::newRow("longer than the box") << QString(60, QLatin1Char('W')) << int(lpTopCenter);
    QTest::newRow("below") << "Valeur convertie" << int(lpBottomCenter);
    QTest::newRow("left top") << "Valeur" << int(lpLeftTop);
}

void TestNumSpinEdit::labelPlacement()
{
    QFETCH(QString, caption);
    QFETCH(int, position);
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    QCOMPARE(box->height(), 37);
    box->SetLabelPosition(TLabelPosition(position));
    box->SetLabelCaption(caption);
    QLabel* label = box->Label();
    QVERIFY(label);
    QCOMPARE(label->parentWidget(), &window.form);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->font().pixelSize(), 11);
    const QRect r = label->geometry();
    switch (position) {
    case lpTopCenter:
        if (QFontInfo(label->font()).family() == QLatin1String("MS Sans Serif"))
            QCOMPARE(r.top(), 43); // a 13-pixel caption 8 pixels above a box at 64
        QCOMPARE(r.bottom() + 1 + 8, 64);
        QVERIFY(qAbs((r.left() + r.right()) - (16 + 16 + 232)) <= 1);
        break;
    case lpBottomCenter:
        QCOMPARE(r.top(), 64 + 37 + 8);
        break;
    case lpLeftTop:
        QCOMPARE(r.right() + 1 + 8, 16);
        QCOMPARE(r.top(), 64);
        break;
    }
    box->move(20, 70); // the caption follows the box
    QCOMPARE(label->geometry(), r.translated(4, 6));
    box->setEnabled(false);
    QVERIFY(!label->isEnabled());
    box->hide();
    QVERIFY(label->isHidden());
}

void TestNumSpinEdit::flatLineAndFocusFrame()
{
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    const auto pixel = [box](int x, int y) { return box->grab().toImage().pixelColor(x, y); };
    const QColor blue(0, 0, 255);
    const QColor black(0, 0, 0);
    const int bottom = box->height() - 1;
    const int lineEnd = box->width() - 15 - 4; // the text rectangle's right end, exclusive

    // Unfocused: black box, a blue line under the text only.
    QCOMPARE(pixel(2, bottom), blue);
    QCOMPARE(pixel(lineEnd - 1, bottom), blue);
    QCOMPARE(pixel(1, bottom), black);
    QCOMPARE(pixel(lineEnd, bottom), black);
    QCOMPARE(pixel(0, 0), black);
    QCOMPARE(pixel(box->width() / 2, 1), black);

    // Focused: blue background and a one-pixel frame.
    window.Focus(box);
    QCOMPARE(pixel(0, 0), blue);
    QCOMPARE(pixel(box->width() / 2, 1), blue);
    box->SetColor(clBlack);
    QCOMPARE(pixel(0, 10), blue);  // the frame
    QCOMPARE(pixel(1, 10), black); // inside it
    QCOMPARE(pixel(box->width() / 2, 0), blue);
    QCOMPARE(pixel(0, bottom), blue);
}

namespace {

// Holds a timer's own expiries back, so that it fires only when the test says: the test
// then sees each step the timer causes, whatever the machine's speed.
class HeldTimer : public QObject {
public:
    explicit HeldTimer(QTimer* timer)
        : QObject(timer)
        , m_timer(timer)
    {
        timer->installEventFilter(this);
    }

    void Expire()
    {
        m_expiring = true;
        QTimerEvent event(m_timer->timerId());
        QCoreApplication::sendEvent(m_timer, &event);
        m_expiring = false;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::Timer && !m_expiring;
    }

private:
    QTimer* m_timer;
    bool m_expiring = false;
};

} // namespace

void TestNumSpinEdit::autoRepeat()
{
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    int steps = 0;
    box->OnUpClick = [&](QObject*) { ++steps; };
    TRepeatSpeedButton* up = box->findChild<TSpinButtons*>()->UpButton();
    const QPoint inside = up->rect().center();

    // A first click makes the button's repeat timer, which the test then holds.
    QTest::mouseClick(up, Qt::LeftButton, {}, inside);
    QCOMPARE(steps, 1);
    auto* timer = up->findChild<QTimer*>();
    QVERIFY(timer);
    QVERIFY(!timer->isActive());
    HeldTimer held(timer);
    steps = 0;

    QTest::mousePress(up, Qt::LeftButton, {}, inside);
    QVERIFY(box->hasFocus()); // the press hands the focus to the box first
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), TRepeatSpeedButton::FirstRepeatDelay);
    QCOMPARE(steps, 0);
    held.Expire();
    QCOMPARE(steps, 1);
    QCOMPARE(timer->interval(), TRepeatSpeedButton::RepeatInterval);
    held.Expire();
    held.Expire();
    QCOMPARE(steps, 3);

    QTest::mouseMove(up, inside + QPoint(0, 200)); // off the button: paused
    held.Expire();
    held.Expire();
    QCOMPARE(steps, 3);
    QVERIFY(timer->isActive());

    QTest::mouseMove(up, inside); // back: resumes
    held.Expire();
    QCOMPARE(steps, 4);
    QTest::mouseRelease(up, Qt::LeftButton, {}, inside);
    QCOMPARE(steps, 5); // the release's own step
    QVERIFY(!timer->isActive());
    QCOMPARE(window.steps, QList<double>(6, 1.0)); // the first click's step and these five
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true); // as QTEST_MAIN does
    TestNumSpinEdit test;
    const int box = QTest::qExec(&test, argc, argv);
    return box | RunNumSpinEditKeyTests(argc, argv);
}

#include "tst_numspinedit.moc"
