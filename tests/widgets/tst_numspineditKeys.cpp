// The value box's keyboard: its character filter, with and without a window, the sign key,
// the editing shortcuts, every way of pasting and copying with the unit.
#include "NumSpinEditTesting.h"

using namespace tarvane;
using namespace tarvane::testing;

namespace {

class TestNumSpinEditKeys : public NumSpinEditFixture {
    Q_OBJECT
private slots:
    void characterFilter_data();
    void characterFilter();
    void signToggle_data();
    void signToggle();
    void shortcuts_data();
    void shortcuts();
    void contextMenuUndo_data();
    void contextMenuUndo();
    void everyPasteWay_data();
    void everyPasteWay();
    void copyWithUnit_data();
    void copyWithUnit();
    void filterWithoutWindow_data();
    void filterWithoutWindow();
    void inputMethodCommit_data();
    void inputMethodCommit();
    void refusalIsSeen();
    void inputMethodHints();
};

} // namespace

// clang-format off
void TestNumSpinEditKeys::characterFilter_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("floatMode");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("caret"); // -1: whole text selected
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("beeps");

    const QString nbsp = NarrowNoBreakSpace;
    QTest::newRow("digit appended") << "en" << true << "1.23" << 4 << "4" << "1.234" << 0;
    QTest::newRow("decimals full") << "en" << true << "1.2345" << 6 << "6" << "1.2345" << 1;
    QTest::newRow("decimals full, integer part free") << "en" << true << "1.2345" << 1 << "6"
                                                      << "16.2345" << 0;
    QTest::newRow("whole text replaced") << "en" << true << "1.2345" << -1 << "6" << "6" << 0;
    QTest::newRow("second separator") << "en" << true << "1.2" << 3 << "." << "1.2" << 1;
    QTest::newRow("separator over selection") << "en" << true << "1.2" << -1 << "." << "." << 0;
    QTest::newRow("thousands gives decimal") << "en" << true << "12" << 2 << "," << "12." << 0;
    QTest::newRow("plus ignored") << "en" << true << "12" << 2 << "+" << "12" << 0;
    QTest::newRow("letter") << "en" << true << "12" << 2 << "a" << "12" << 1;
    QTest::newRow("exponent letter") << "en" << true << "12" << 2 << "E" << "12" << 1;
    QTest::newRow("time separator") << "en" << true << "12" << 2 << ":" << "12" << 1;
    QTest::newRow("date separator") << "en" << true << "12" << 2 << "/" << "12" << 1;
    QTest::newRow("backspace in full decimals") << "en" << true << "1.2345" << 6 << "\b"
                                                << "1.234" << 0;
    QTest::newRow("French comma") << "fr" << true << "12" << 2 << "," << "12," << 0;
    QTest::newRow("French point types comma") << "fr" << true << "12" << 2 << "." << "12," << 0;
    QTest::newRow("French keypad point") << "fr" << true << "12" << 2 << "keypad ." << "12," << 0;
    QTest::newRow("French point, comma there") << "fr" << true << "1,2" << 3 << "." << "1,2" << 1;
    QTest::newRow("French comma, pasted point there") << "fr" << true << "1.2" << 3 << "," << "1.2" << 1;
    QTest::newRow("pasted point, decimals full") << "fr" << true << "1.2345" << 6 << "6" << "1.2345" << 1;
    QTest::newRow("French thousands gives comma") << "fr" << true << "12" << 2 << nbsp << "12," << 0;
    QTest::newRow("integer separator") << "en" << false << "12" << 2 << "." << "12" << 1;
    QTest::newRow("integer French comma") << "fr" << false << "12" << 2 << "," << "12" << 1;
    QTest::newRow("integer thousands") << "fr" << false << "12" << 2 << nbsp << "12" << 1;
    QTest::newRow("integer digit") << "en" << false << "1" << 1 << "0" << "10" << 0;
    QTest::newRow("integer minus unsigned") << "en" << false << "4" << 1 << "-" << "4" << 0;
    QTest::newRow("return") << "en" << true << "1.5" << 3 << "\r" << "1.5" << 0;
}
// clang-format on

void TestNumSpinEditKeys::characterFilter()
{
    QFETCH(QString, locale);
    QFETCH(bool, floatMode);
    QFETCH(QString, start);
    QFETCH(int, caret);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, beeps);
    QLocale::setDefault(LocaleNamed(locale));
    TNumSpinEdit box(nullptr);
    box.SetSpinType(floatMode ? sptFloat : sptNormal);
    box.SetPrecision(4);
    box.Loaded();
    box.SetText(start);
    if (caret < 0)
        box.selectAll();
    else
        box.setCursorPosition(caret);
    const int beepsBefore = BeepCount();
    if (typed == QLatin1String("\b"))
        Press(&box, Qt::Key_Backspace, typed);
    else if (typed == QLatin1String("keypad ."))
        Press(&box, Qt::Key_Period, QStringLiteral("."), Qt::KeypadModifier);
    else if (typed == QLatin1String("\r"))
        Press(&box, Qt::Key_Return, typed);
    else
        Type(&box, typed);
    QCOMPARE(box.Text(), expected);
    QCOMPARE(BeepCount() - beepsBefore, beeps);
}

// clang-format off
void TestNumSpinEditKeys::signToggle_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret");
    QTest::addColumn<int>("beeps");

    // caret -1: the whole text selected, which the minus replaces by a new number
    QTest::newRow("adds minus") << "12.5" << 1 << "-12.5" << 2 << 0;
    QTest::newRow("removes minus") << "-12.5" << 2 << "12.5" << 1 << 0;
    QTest::newRow("caret at start") << "-12.5" << 0 << "12.5" << 0 << 0;
    QTest::newRow("full decimals beep") << "1.2345" << 6 << "-1.2345" << 7 << 1;
    QTest::newRow("whole negative text selected") << "-3" << -1 << "-" << 1 << 0;
    QTest::newRow("whole text selected") << "1.2345" << -1 << "-" << 1 << 0;
}
// clang-format on

void TestNumSpinEditKeys::signToggle()
{
    QFETCH(QString, start);
    QFETCH(int, caret);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);
    QFETCH(int, beeps);
    Window window;
    window.value->SetText(start);
    if (caret < 0)
        window.value->selectAll();
    else
        window.value->setCursorPosition(caret);
    const int changesBefore = window.valueChanges;
    const int beepsBefore = BeepCount();
    Type(window.value, QStringLiteral("-"));
    QCOMPARE(window.value->Text(), expected);
    QCOMPARE(window.value->cursorPosition(), expectedCaret);
    QVERIFY(!window.value->hasSelectedText());
    QCOMPARE(window.valueChanges - changesBefore, 1);
    QCOMPARE(window.valueUserChanges, 1);
    QCOMPARE(BeepCount() - beepsBefore, beeps);
}

// clang-format off
void TestNumSpinEditKeys::shortcuts_data()
{
    QTest::addColumn<QString>("before"); // "", "undo" or "select 15"
    QTest::addColumn<QString>("lock");   // "", "read-only" or "editor off"
    QTest::addColumn<bool>("spinner");   // else a value box
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("told"); // to the owner: "undo", "redo" or nothing

    // Each after typing 3.1415 with 4 decimals (31415 in a spinner): the caret after the last
    // digit, where a typed digit would beep. The clipboard holds 7. A value box leaves undo
    // and redo to its owner; a spinner undoes its own typing.
    const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("select all") << "" << "" << false << "Ctrl+A" << "3.1415" << "3.1415" << "7" << "";
    row("copy, insert key") << "select 15" << "" << false << "Ctrl+Ins" << "3.1415" << "15" << "15" << "";
    row("cut, delete key") << "select 15" << "" << false << "Shift+Del" << "3.14" << "" << "15" << "";
    row("paste") << "" << "" << false << "Ctrl+V" << "3.14157" << "" << "7" << "";
    row("undo") << "" << "" << false << "Ctrl+Z" << "3.1415" << "" << "7" << "undo";
    row("redo") << "" << "" << false << "Ctrl+Y" << "3.1415" << "" << "7" << "redo";
    row("redo, shift") << "" << "" << false << "Ctrl+Shift+Z" << "3.1415" << "" << "7" << "redo";
    row("read-only undo") << "" << "read-only" << false << "Ctrl+Z" << "3.1415" << "" << "7" << "";
    row("editor off cut") << "select 15" << "editor off" << false << "Shift+Del" << "3.1415" << "15" << "7" << "";
    row("spinner undo") << "" << "" << true << "Ctrl+Z" << "" << "" << "7" << "";
    row("spinner redo") << "undo" << "" << true << "Ctrl+Y" << "31415" << "" << "7" << "";
}
// clang-format on

// Editing shortcuts reach the line edit whatever the character filter would say, and a
// locked box still refuses the ones that edit. None beeps.
void TestNumSpinEditKeys::shortcuts()
{
    QFETCH(QString, before);
    QFETCH(QString, lock);
    QFETCH(bool, spinner);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    QFETCH(QString, selected);
    QFETCH(QString, clipboard);
    QFETCH(QString, told);
    TNumSpinEdit value(nullptr);
    TPrecisionSpinner precision(nullptr);
    TNumSpinEdit& box = spinner ? precision : value;
    value.SetSpinType(sptFloat);
    value.SetPrecision(4);
    box.Loaded();
    box.SetText({});
    Type(&box, spinner ? QStringLiteral("31415") : QStringLiteral("3.1415"));
    if (before == QLatin1String("undo"))
        box.undo();
    else if (before == QLatin1String("select 15"))
        box.setSelection(4, 2);
    box.SetReadOnly(lock == QLatin1String("read-only"));
    box.SetEditorEnabled(lock != QLatin1String("editor off"));
    QStringList heard;
    box.OnUndo = [&](QObject*) { heard << QStringLiteral("undo"); };
    box.OnRedo = [&](QObject*) { heard << QStringLiteral("redo"); };
    QApplication::clipboard()->setText(QStringLiteral("7"));
    const int beepsBefore = BeepCount();
    PressShortcut(&box, QKeySequence::fromString(keys)[0]);
    QCOMPARE(box.Text(), expected);
    QCOMPARE(box.selectedText(), selected);
    QCOMPARE(QApplication::clipboard()->text(), clipboard);
    QCOMPARE(heard.join(u' '), told);
    QCOMPARE(BeepCount(), beepsBefore);
}

void TestNumSpinEditKeys::contextMenuUndo_data()
{
    QTest::addColumn<bool>("undo");
    QTest::addColumn<bool>("redo");
    QTest::addColumn<QString>("told");
    QTest::newRow("undo offered") << true << false << "undo";
    QTest::newRow("redo offered") << false << true << "redo";
    QTest::newRow("nothing to undo or redo") << false << false << "";
}

// The context menu's Undo and Redo are the owner's, offered as the owner says: never the line
// edit's own, which would give back a text typed before the owner showed its own.
void TestNumSpinEditKeys::contextMenuUndo()
{
    QFETCH(bool, undo);
    QFETCH(bool, redo);
    QFETCH(QString, told);
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    window.Focus(box);
    Type(box, QStringLiteral("12"));
    box->SetText(QStringLiteral("12.0000"));
    QStringList heard;
    box->OnUndo = [&](QObject*) { heard << QStringLiteral("undo"); };
    box->OnRedo = [&](QObject*) { heard << QStringLiteral("redo"); };
    box->SetUndoAvailable(undo, redo);
    TriggerMenuEntry(box, QCoreApplication::translate("QLineEdit", "&Undo"));
    TriggerMenuEntry(box, QCoreApplication::translate("QLineEdit", "&Redo"));
    QCOMPARE(heard.join(u' '), told);
    QCOMPARE(box->Text(), QStringLiteral("12.0000"));
}

// clang-format off
void TestNumSpinEditKeys::everyPasteWay_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("taken"); // by the owner's OnPaste
    QTest::addColumn<QString>("expected");

    for (const char* way : {"Ctrl+V", "Shift+Ins", "context menu", "drop"}) {
        QTest::addRow("%s", way) << way << false << false << "1.2a3";
        QTest::addRow("%s, read-only", way) << way << true << false << "";
        QTest::addRow("%s, taken by the owner", way) << way << false << true << "";
    }
}
// clang-format on

// Every way of pasting offers the text, as pasted, to the owner's OnPaste; unless the owner
// takes it, the text is inserted unfiltered on one line and raises OnChange once. A locked
// box refuses it before anyone sees it.
void TestNumSpinEditKeys::everyPasteWay()
{
    QFETCH(QString, way);
    QFETCH(bool, locked);
    QFETCH(bool, taken);
    QFETCH(QString, expected);
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    window.Focus(box);
    box->SetText({});
    box->SetReadOnly(locked);
    const QString pasted = QStringLiteral("1.2\na\t3\r\n");
    QStringList offered;
    box->OnPaste = [&](QObject* sender, const QString& text) {
        offered << text;
        return sender == box && taken;
    };
    const int changesBefore = window.valueChanges;
    if (way == QLatin1String("context menu")) {
        QApplication::clipboard()->setText(pasted);
        TriggerMenuEntry(box, QCoreApplication::translate("QLineEdit", "&Paste"));
    } else if (way == QLatin1String("drop")) {
        QMimeData data;
        data.setText(pasted);
        const QPoint centre = box->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box, &enter); // the drop goes where the drag entered
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box, &drop);
    } else {
        QApplication::clipboard()->setText(pasted);
        PressShortcut(box, QKeySequence::fromString(way)[0]);
    }
    QCOMPARE(box->Text(), expected);
    QCOMPARE(window.valueChanges - changesBefore, expected.isEmpty() ? 0 : 1);
    QCOMPARE(offered, locked ? QStringList() : QStringList{pasted});
}

// clang-format off
void TestNumSpinEditKeys::copyWithUnit_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("copied"); // empty: the entry is missing or disabled

    QTest::newRow("number") << "Vpp" << "2,8284" << "2,8284 Vpp";
    QTest::newRow("general form") << "dBu" << "-1.5E-7" << "-1.5E-7 dBu";
    QTest::newRow("failure text") << "dBu" << "-.--" << "";
    QTest::newRow("no unit") << "" << "2,8284" << "";
}
// clang-format on

// With a unit symbol, the context menu copies the whole text followed by the symbol, right
// after Copy; it offers nothing to copy while the text is no number. Ctrl+C still copies the
// selection alone.
void TestNumSpinEditKeys::copyWithUnit()
{
    QFETCH(QString, symbol);
    QFETCH(QString, text);
    QFETCH(QString, copied);
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    window.Focus(box);
    box->SetUnitSymbol(symbol);
    box->SetText(text);
    box->setSelection(0, 1);
    PressShortcut(box, Qt::CTRL | Qt::Key_C);
    QCOMPARE(QApplication::clipboard()->text(), text.left(1));
    const QString caption = QStringLiteral("Copier a&vec l'unité");
    const QStringList entries = TriggerMenuEntry(box, caption);
    QCOMPARE(entries.contains(caption), !symbol.isEmpty());
    if (!symbol.isEmpty())
        QCOMPARE(entries.indexOf(caption) - 1,
                 entries.indexOf(QCoreApplication::translate("QLineEdit", "&Copy")));
    QCOMPARE(QApplication::clipboard()->text(), copied.isEmpty() ? text.left(1) : copied);
    QCOMPARE(box->Text(), text);
}

// The filter alone, as a function of the box's state: no widget, no locale.
// clang-format off
void TestNumSpinEditKeys::filterWithoutWindow_data()
{
    QTest::addColumn<bool>("floatMode");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("editorEnabled");
    QTest::addColumn<QString>("separators"); // decimal, thousands, time, date
    QTest::addColumn<QChar>("key");
    QTest::addColumn<QString>("result"); // what is inserted; empty: refused

    const QString english = QStringLiteral(".,:/");
    const QString french = QStringLiteral(",\u202F:/");
    const QString finnish = QStringLiteral(",\u00A0..");  // time and date both with "."
    const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
    row("digit") << true << 4 << "12" << 2 << 0 << true << english << QChar('7') << "7";
    row("letter") << true << 4 << "12" << 2 << 0 << true << english << QChar('x') << "";
    row("point is the decimal") << true << 4 << "12" << 2 << 0 << true << french << QChar('.') << ",";
    row("comma is the decimal") << true << 4 << "12" << 2 << 0 << true << english << QChar(',') << ".";
    row("thousands is the decimal") << true << 4 << "12" << 2 << 0 << true << french
                                    << QChar(0x202F) << ",";
    row("second separator") << true << 4 << "1,5" << 3 << 0 << true << french << QChar(',') << "";
    row("separator replacing all") << true << 4 << "1,5" << 0 << 3 << true << french << QChar(',') << ",";
    row("separator at precision 0, the general form") << true << 0 << "15" << 2 << 0 << true << english << QChar('.') << ".";
    row("decimals full") << true << 2 << "1.25" << 4 << 0 << true << english << QChar('3') << "";
    row("decimals full, caret before") << true << 2 << "1.25" << 1 << 0 << true << english << QChar('3') << "3";
    row("decimals full, some selected") << true << 2 << "1.25" << 3 << 1 << true << english << QChar('3') << "3";
    row("time separator in a float box") << true << 4 << "12" << 2 << 0 << true << english << QChar(':') << "";
    row("time and date separator is the decimal") << true << 4 << "12" << 2 << 0 << true << finnish
                                                  << QChar('.') << ",";
    row("separator in a whole-number box") << false << 0 << "12" << 2 << 0 << true << english << QChar('.') << "";
    row("minus in a whole-number box") << false << 0 << "12" << 2 << 0 << true << english << QChar('-') << "-";
    row("backspace, decimals full") << true << 2 << "1.25" << 4 << 0 << true << english << QChar(0x08) << "\b";
    row("locked editor: digit") << true << 4 << "12" << 2 << 0 << false << english << QChar('1') << "";
    row("locked editor: backspace") << true << 4 << "12" << 2 << 0 << false << english << QChar(0x08) << "";
    row("locked editor: escape") << true << 4 << "12" << 2 << 0 << false << english << QChar(0x1B) << "\x1b";
    row("return never passes") << true << 4 << "12" << 2 << 0 << true << english << QChar('\r') << "";
}
// clang-format on

void TestNumSpinEditKeys::filterWithoutWindow()
{
    QFETCH(bool, floatMode);
    QFETCH(int, precision);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, selected);
    QFETCH(bool, editorEnabled);
    QFETCH(QString, separators);
    QFETCH(QChar, key);
    QFETCH(QString, result);
    const TKeyFilterBox box{
        floatMode ? sptFloat : sptNormal, precision, text, caret, selected, editorEnabled};
    const TNumberSeparators locale{separators[0], separators[1], separators[2], separators[3]};
    const std::optional<QChar> accepted = FilterNumberKey(key, box, locale);
    QCOMPARE(accepted ? QString(*accepted) : QString(), result);
}

// Text an input method commits obeys the rules typed keys obey; what it composes is shown.
// clang-format off
void TestNumSpinEditKeys::inputMethodCommit_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("beeps");

    QTest::newRow("digits") << "1.5" << "25" << "1.525" << 0;
    QTest::newRow("letters refused") << "3.3" << "qs " << "3.3" << 3;
    QTest::newRow("mixed") << "3" << "4a,5" << "34.5" << 1;
    QTest::newRow("beyond the decimals") << "1.234" << "56" << "1.2345" << 1;
    QTest::newRow("minus toggles the sign") << "2" << "-" << "-2" << 0;
    QTest::newRow("line break dropped") << "2" << "1\n" << "21" << 0;
}
// clang-format on

void TestNumSpinEditKeys::inputMethodCommit()
{
    QFETCH(QString, start);
    QFETCH(QString, committed);
    QFETCH(QString, expected);
    QFETCH(int, beeps);
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    window.Focus(box);
    box->SetText(start);
    box->setCursorPosition(int(start.size()));
    const int changesBefore = window.valueChanges;
    const int beepsBefore = BeepCount();

    QInputMethodEvent composing(QStringLiteral("ab"), {});
    QApplication::sendEvent(box, &composing);
    QCOMPARE(box->Text(), start); // composing text is not the box's text
    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QApplication::sendEvent(box, &commit);
    QCOMPARE(box->Text(), expected);
    QCOMPARE(BeepCount() - beepsBefore, beeps);
    QCOMPARE(window.valueChanges > changesBefore, expected != start);
}

// Where no bell sounds (here, offscreen), a refused key draws a frame in the text colour for
// a moment; an accepted key draws nothing.
void TestNumSpinEditKeys::refusalIsSeen()
{
    Window window;
    window.Show();
    TNumSpinEdit* box = window.value;
    window.Focus(box);
    box->SetText(QStringLiteral("1.5"));
    box->setCursorPosition(3);
    const QImage before = Grab(*box);
    Type(box, QStringLiteral("7"));
    box->setCursorPosition(int(box->Text().size()));
    QCOMPARE(Grab(*box).pixelColor(1, box->height() / 2), before.pixelColor(1, box->height() / 2));

    auto* cue = box->findChild<TRefusalCue*>();
    QVERIFY(cue);
    QVERIFY(!cue->Showing());
    Type(box, QStringLiteral("x"));
    QVERIFY(cue->Showing());
    const QColor aqua = ColorToQColor(clAqua);
    QCOMPARE(Grab(*box).pixelColor(1, box->height() / 2), aqua);
    QTRY_VERIFY_WITH_TIMEOUT(!cue->Showing(), 5 * TRefusalCue::Duration);
    QCOMPARE(Grab(*box).pixelColor(1, box->height() / 2), before.pixelColor(1, box->height() / 2));
}

void TestNumSpinEditKeys::inputMethodHints()
{
    Window window;
    const Qt::InputMethodHints value = window.value->inputMethodHints();
    QVERIFY(value & Qt::ImhFormattedNumbersOnly);
    QVERIFY(value & Qt::ImhNoAutoUppercase);
    QVERIFY(value & Qt::ImhNoPredictiveText);
    QVERIFY(window.spinner->inputMethodHints() & Qt::ImhDigitsOnly);
    window.spinner->SetSigned(true);
    QVERIFY(window.spinner->inputMethodHints() & Qt::ImhFormattedNumbersOnly);
}

int tarvane::testing::RunNumSpinEditKeyTests(int argc, char** argv)
{
    TestNumSpinEditKeys test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_numspineditKeys.moc"
