#include "MainWindowTesting.h"

#include "Units.h"

#include <QMimeData>
#include <QSignalSpy>

using namespace tarvane;
using namespace tarvane::testing;

class TestMainWindow : public MainWindowFixture {
    Q_OBJECT

private slots:
    void FirstStartWithoutFile()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        CheckShown("1.0000", "1.0000", true, false);
        QVERIFY(w.edValue1->hasFocus());
        QCOMPARE(w.seEdValue1Precision->Text(), QStringLiteral("4"));
        QCOMPARE(w.seEdValue2Precision->Text(), QStringLiteral("4"));
        QCOMPARE(w.lstUnits1->currentRow(), 0);
        QCOMPARE(w.lstUnits2->currentRow(), 0);
        QCOMPARE(w.lblUnit1->text(), QStringLiteral("Veff (Vrms)"));
        QCOMPARE(w.lblUnit2->text(), QStringLiteral("Veff (Vrms)"));
        QCOMPARE(w.Prefs(), (TUserPrefs{4, 4, 0, 0, 1.0, {}}));
        QCOMPARE(w.lstUnits1->count(), 12);
        QCOMPARE(w.lstUnits2->item(1)->text(),
                 QStringLiteral("Tension crête à crête (Vcac / Vpp)"));
        QCOMPARE(w.AppPath(), m_dir.path() + u'/');
        QCOMPARE(w.IniFileName(), IniPath());
        QVERIFY(!QFile::exists(IniPath()));
        // The icon follows the first showing, for this window and later ones, at the sizes a
        // window manager draws on this screen: 16 to 64 pixels.
        QTRY_COMPARE(w.windowIcon().availableSizes().size(), 5);
        QCOMPARE(QGuiApplication::windowIcon().availableSizes().last(), QSize(64, 64));
        QVERIFY(w.close());
        QCOMPARE(ReadAll(IniPath()),
                 QByteArray("[UserPrefs]\nWriteTest=1\nValue1precision=4\nValue2precision=4\n"
                            "Value1Index=0\nValue2Index=0\nValue1=1\nSource=1\nSourceValue=1\n"
                            "SourceCheck=0 0 1\n"));
    }

    // clang-format off
    void RestoresThePreferences_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QString>("label2");
        QTest::addColumn<TUserPrefs>("prefs");
        QTest::addColumn<bool>("box2Given"); // the source, with the focus

        QTest::newRow("number keeps every decimal its precision shows")
            << QByteArray("[UserPrefs]\nValue1precision=10\nValue1=1.23456789\n") << "1.2345678900"
            << "1.2346" << "Veff (Vrms)" << "Veff (Vrms)" << TUserPrefs{10, 4, 0, 0, 1.23456789, {}} << false;
        QTest::newRow("number shown at its precision, converted whole")
            << QByteArray("[UserPrefs]\nValue1precision=2\nValue1=1.23456789\n") << "1.23"
            << "1.2346" << "Veff (Vrms)" << "Veff (Vrms)" << TUserPrefs{2, 4, 0, 0, 1.23456789, {}} << false;
        QTest::newRow("restored units convert without a round trip through box 2")
            << QByteArray("[UserPrefs]\nValue2Index=7\nValue1=1\n") << "1.0000" << "0.0017"
            << "Veff (Vrms)" << "Watts (600 ohms)" << TUserPrefs{4, 4, 0, 7, 1.0, {}} << false;
        QTest::newRow("precision above 10 shows 10")
            << QByteArray("[UserPrefs]\nValue1precision=12\nValue2precision=0\nValue1=0.5\n")
            << "0.5000000000" << "0.5" << "Veff (Vrms)" << "Veff (Vrms)" << TUserPrefs{10, 0, 0, 0, 0.5, {}} << false;
        QTest::newRow("260 reads as unit 4, 12 falls back to 0")
            << QByteArray("[UserPrefs]\nValue1Index=260\nValue2Index=12\nValue1=0\n") << "0.0000"
            << "0.7746" << "dBu (réf. 775 mV)" << "Veff (Vrms)" << TUserPrefs{4, 4, 4, 0, 0.0, {}} << false;
        QTest::newRow("failing restored conversion")
            << QByteArray("[UserPrefs]\nValue2Index=2\nValue1=0\n") << "0.0000" << "-.--"
            << "Veff (Vrms)" << "dBm (1 mW / 50 ohms)" << TUserPrefs{4, 4, 0, 2, 0.0, {}} << false;
        // 0 V has no level in dBu: box 1 shows none and keeps its number for older copies.
        QTest::newRow("number given in box 2")
            << QByteArray("[UserPrefs]\nValue1Index=4\nValue1=1\nSource=2\nSourceValue=0\n"
                          "SourceCheck=4 0 1\n")
            << "-.--" << "0.0000" << "dBu (réf. 775 mV)" << "Veff (Vrms)"
            << TUserPrefs{4, 4, 4, 0, 1.0, 0.0} << true;
        QTest::newRow("box 2's number saved before an older copy changed box 1")
            << QByteArray("[UserPrefs]\nValue1Index=4\nValue1=2\nSource=2\nSourceValue=0\n"
                          "SourceCheck=4 0 1\n")
            << "2.0000" << "0.9752" << "dBu (réf. 775 mV)" << "Veff (Vrms)"
            << TUserPrefs{4, 4, 4, 0, 2.0, {}} << false;
    }
    // clang-format on

    void RestoresThePreferences()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, box1);
        QFETCH(QString, box2);
        QFETCH(QString, label1);
        QFETCH(QString, label2);
        QFETCH(TUserPrefs, prefs);
        QFETCH(bool, box2Given);
        Start(ini);
        TfmMain& w = *m_window;
        CheckShown(box1, box2, !box2Given, box1 == "-.--" || box2 == "-.--");
        QVERIFY((box2Given ? w.edValue2 : w.edValue1)->hasFocus());
        QCOMPARE(w.lblUnit1->text(), label1);
        QCOMPARE(w.lblUnit2->text(), label2);
        QCOMPARE(w.lstUnits1->currentRow(), int(prefs.Value1Index));
        QCOMPARE(w.lstUnits2->currentRow(), int(prefs.Value2Index));
        QCOMPARE(w.seEdValue1Precision->Value(), int(prefs.Value1precision));
        QCOMPARE(w.Prefs(), prefs);
    }

    void RestoreAndSaveRoundTrip()
    {
        const QByteArray ini(
            "; kept\n[UserPrefs]\nWriteTest=1\nValue1precision=3\nValue2precision=6\n"
            "Value1Index=5\nValue2Index=1\nValue1=-2.5\nSource=1\nSourceValue=-2.5\n"
            "SourceCheck=5 1 -2.5\n\n[Other]\nx=1\n");
        Start(ini);
        CheckShown("-2.500", "2.121021", true, false);
        QVERIFY(m_window->close());
        QCOMPARE(ReadAll(IniPath()), ini);
    }

    void TypingConvertsLive()
    {
        Start("[UserPrefs]\nValue2Index=5\n");
        TfmMain& w = *m_window;
        TypeInto(w.edValue1, "10");
        CheckShown("10", "20.0000", true, false);
        QCOMPARE(w.Prefs().Value1, 10.0);
        QCOMPARE(w.edValue1->Color(), clBlack); // the first keystroke's conversion

        TypeInto(w.edValue1, "0");
        CheckShown("0", "-.--", true, true);
        QCOMPARE(PixelAt(w.Arrow1, {20, 20}), QColor(Qt::red));

        QTest::keyClick(w.edValue1, Qt::Key_Backspace);
        CheckShown("", "-.--", true, true); // an empty source converts nothing

        QTest::keyClicks(w.edValue1, "2.5");
        CheckShown("2.5", "7.9588", true, false);
        QCOMPARE(PixelAt(w.Arrow1, {20, 20}), QColor(Qt::green));
        QCOMPARE(w.Prefs().Value1, 2.5);
    }

    void UnitClicksConvert()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        ClickUnit(w.lstUnits2, 1);
        CheckShown("1.0000", "2.8284", true, false);
        QCOMPARE(w.lblUnit2->text(), QStringLiteral("Vcac (Vpp)"));
        QCOMPARE(w.Prefs().Value2Index, quint8(1));
        ClickUnit(w.lstUnits1, 11);
        QCOMPARE(w.lblUnit1->text(), QStringLiteral("dBuV (75 ohms)"));
        QCOMPARE(w.Prefs().Value1Index, quint8(11));
        QTest::keyClick(w.lstUnits1, Qt::Key_Home);
        CheckShown("1.0000", "2.8284", true, false);
        QCOMPARE(w.Prefs().Value1Index, quint8(0));
    }

    void TabMakesTheEnteredBoxTheSource()
    {
        Start("[UserPrefs]\nValue2Index=5\n");
        TfmMain& w = *m_window;
        TypeInto(w.edValue1, "10");
        QTest::keyClick(w.edValue1, Qt::Key_Tab);
        QVERIFY(w.edValue2->hasFocus());
        CheckShown("10.0000", "20.0000", false, false);

        TypeInto(w.edValue2, "6-"); // the minus key toggles the sign
        CheckShown("0.5012", "-6", false, false);
        QCOMPARE(w.Prefs().Value1, *TryConvertValue(-6, 5, 0)); // box 1's exact number

        // Back in box 1, which shows the exact result: no number changes.
        QTest::keyClick(w.edValue2, Qt::Key_Tab, Qt::ShiftModifier);
        CheckShown("0.5012", "-6.0000", true, false);
    }

    // clang-format off
    void FocusMovesChangeNoNumber_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box1"); // once left, in the box's format
        QTest::addColumn<QString>("box2");
        QTest::addColumn<double>("value1");

        QTest::newRow("dBu rounded to 4 decimals")
            << QByteArray("[UserPrefs]\nValue2Index=4\n") << "1234.5678" << "1234.5678" << "64.0488"
            << 1234.5678;
        QTest::newRow("dBm 50 ohms at 1 decimal")
            << QByteArray("[UserPrefs]\nValue2Index=2\nValue2precision=1\n") << "1.5" << "1.5000"
            << "16.5" << 1.5;
        QTest::newRow("watts keep no sign") << QByteArray("[UserPrefs]\nValue2Index=6\n") << "-5"
                                            << "-5.0000" << "0.5000" << -5.0;
        QTest::newRow("failed result") << QByteArray("[UserPrefs]\nValue2Index=5\n") << "0"
                                       << "0.0000" << "-.--" << 0.0;
        QTest::newRow("target precision 0, every digit") << QByteArray("[UserPrefs]\nValue2Index=1\nValue2precision=0\n")
                                            << "1.2" << "1.2000" << "3.39411254969543" << 1.2;
    }
    // clang-format on

    // Clicking into the result, or Tabbing to it and back, makes it the source and changes
    // neither box: box 1 keeps every digit typed, "-.--" stays, and so does the saved number.
    void FocusMovesChangeNoNumber()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, typed);
        QFETCH(QString, box1);
        QFETCH(QString, box2);
        QFETCH(double, value1);
        Start(ini);
        TfmMain& w = *m_window;
        const bool failed = box2 == "-.--";
        QSignalSpy saved(w.Controller(), &TConversionController::PrefsChanged);
        TypeInto(w.edValue1, typed);
        QCOMPARE(w.edValue2->Text(), box2);
        QVERIFY(saved.size() > 0);
        saved.clear();

        QTest::mouseClick(w.edValue2, Qt::LeftButton);
        QVERIFY(w.edValue2->hasFocus());
        CheckShown(box1, box2, false, failed);
        QTest::keyClick(w.edValue2, Qt::Key_Tab, Qt::ShiftModifier);
        CheckShown(box1, box2, true, failed);
        QTest::keyClick(w.edValue1, Qt::Key_Tab);
        CheckShown(box1, box2, false, failed);
        QTest::mouseClick(w.edValue1, Qt::LeftButton);
        CheckShown(box1, box2, true, failed);
        QCOMPARE(w.Prefs().Value1, value1);
        QCOMPARE(saved.size(), 0); // nothing saved changed
        CheckConversionShown();
        QVERIFY(w.close());
        Start(ReadAll(IniPath()));
        QCOMPARE(m_window->edValue1->Text(), box1);
        QCOMPARE(m_window->Prefs().Value1, value1);
    }

    // The target's precision shows the engine's result (0: all its digits), or keeps "-.--"
    // even once the source is emptied; an emptied spinner changes nothing and shows the
    // precision in use once left; the saved precision is the one shown.
    void TargetPrecisionShowsTheResult()
    {
        Start("[UserPrefs]\nValue2Index=4\n");
        TfmMain& w = *m_window;
        TypeInto(w.edValue1, "1");
        QCOMPARE(w.edValue2->Text(), QStringLiteral("2.2185"));
        w.seEdValue2Precision->setFocus(Qt::TabFocusReason);
        w.seEdValue2Precision->selectAll();
        QTest::keyClicks(w.seEdValue2Precision, "0"); // every digit there is
        QCOMPARE(w.edValue2->Text(), QStringLiteral("2.21848749616356"));
        QTest::keyClicks(w.seEdValue2Precision, "9"); // "09"
        QCOMPARE(w.edValue2->Text(), QStringLiteral("2.218487496"));
        w.seEdValue2Precision->selectAll();
        QTest::keyClick(w.seEdValue2Precision, Qt::Key_Backspace);
        QCOMPARE(w.edValue2->Text(), QStringLiteral("2.218487496"));
        QTest::keyClick(w.seEdValue2Precision, Qt::Key_Tab);
        QCOMPARE(w.seEdValue2Precision->Text(), QStringLiteral("9"));

        TypeInto(w.edValue1, "0");
        QTest::keyClick(w.edValue1, Qt::Key_Backspace);
        CheckShown("", "-.--", true, true);
        w.seEdValue2Precision->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w.seEdValue2Precision, Qt::Key_Up);
        CheckShown("", "-.--", true, true);

        // 256 is clamped to 10 on leaving; a close before that saves 10 all the same.
        w.seEdValue1Precision->setFocus(Qt::TabFocusReason);
        w.seEdValue1Precision->selectAll();
        QTest::keyClicks(w.seEdValue1Precision, "256");
        QCOMPARE(w.Prefs().Value1precision, quint8(10));
        QVERIFY(w.close());
        QVERIFY(ReadAll(IniPath()).contains("\nValue1precision=10\n"));
    }

    // Whatever is clicked in a unit list, it shows the unit in use.
    void UnitListShowsTheUnitInUse()
    {
        Start("[UserPrefs]\nValue2Index=3\n");
        TfmMain& w = *m_window;
        QListWidget* const list = w.lstUnits2;
        const QPoint blank(20, list->visualItemRect(list->item(11)).bottom() + 20);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, blank);
        const QPoint selected = list->visualItemRect(list->item(3)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, selected);
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(3)});
        QCOMPARE(list->currentRow(), 3);
        QCOMPARE(w.Controller()->Unit(vbValue2), 3);
        QCOMPARE(w.lblUnit2->text(), QStringLiteral("dBm (1 mW / 600 ohms)"));
    }

    // A seeded run of the window's actions: clicks and Tabs between the controls, keys and
    // pastes into the focused box, unit and precision choices, restarts. After each, the
    // window shows the controller's state, neither a move of the focus nor a precision
    // changed a number, and a restart brings back exactly what was closed.
    void RandomActionsKeepTheConversionRight()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Start("[UserPrefs]\nValue2Index=4\n");
        std::mt19937 random(15);
        const auto pick = [&random](const auto& list) { return list[random() % list.size()]; };
        const QString characters = QStringLiteral("0123456789,.-eE a");
        const QStringList pastes = {"2,5",    "-12.5", "-73 dBm", "abc",       "1E999",
                                    "-1e308", " ",     "0",       "1234,5678", "2,123456789"};
        const QList<QKeyCombination> keys = {
            Qt::Key_Backspace, Qt::Key_Delete,       Qt::Key_Up,          Qt::Key_Down,
            Qt::Key_PageUp,    Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y};
        int restarts[2] = {}; // with the number given in box 1, in box 2
        for (int i = 0; i < 400; ++i) {
            TfmMain& w = *m_window;
            const TConversionController& c = *w.Controller();
            const QList<TNumSpinEdit*> boxes = {w.edValue1, w.edValue2};
            const QList<std::optional<double>> numbers = {c.Number(vbValue1), c.Number(vbValue2)};
            const QStringList texts = {w.edValue1->Text(), w.edValue2->Text()};
            QWidget* const focused = QApplication::focusWidget();
            const int kind = int(random() % 16);
            QString action;
            if (kind < 3) {
                action = QStringLiteral("click into a box");
                QTest::mouseClick(pick(boxes), Qt::LeftButton);
            } else if (kind < 5) {
                action = QStringLiteral("Tab");
                QTest::keyClick(focused, Qt::Key_Tab,
                                random() % 2 ? Qt::ShiftModifier : Qt::NoModifier);
            } else if (kind < 9 && focused != w.edValue1 && focused != w.edValue2) {
                action = QStringLiteral("into box 1 from the keyboard");
                w.edValue1->setFocus(Qt::TabFocusReason);
            } else if (kind < 8) {
                action = QStringLiteral("type");
                const QChar key = pick(characters);
                Press(focused, Qt::Key(key.toUpper().unicode()), QString(key));
            } else if (kind < 9) {
                action = QStringLiteral("paste");
                QApplication::clipboard()->setText(pick(pastes));
                PressShortcut(focused, Qt::CTRL | Qt::Key_V);
            } else if (kind < 10 && (focused == w.edValue1 || focused == w.edValue2)) {
                action = QStringLiteral("key");
                PressShortcut(focused, pick(keys));
            } else if (kind < 12) {
                action = QStringLiteral("unit");
                QListWidget* const list = pick(QList{w.lstUnits1, w.lstUnits2});
                const int row = int(random() % 13); // 12: the blank area
                const QPoint point =
                    row < 12 ? list->visualItemRect(list->item(row)).center() : QPoint(20, 210);
                QTest::mouseClick(list->viewport(), Qt::LeftButton,
                                  random() % 4 ? Qt::NoModifier : Qt::ControlModifier, point);
            } else if (kind < 15) {
                action = QStringLiteral("precision");
                TNumSpinEdit* const spinner =
                    pick(QList{w.seEdValue1Precision, w.seEdValue2Precision});
                spinner->setFocus(Qt::TabFocusReason);
                if (random() % 2) {
                    spinner->selectAll();
                    QTest::keyClicks(spinner, QString::number(random() % 14));
                } else {
                    QTest::keyClick(spinner, random() % 2 ? Qt::Key_Up : Qt::Key_Down);
                }
            } else {
                action = QStringLiteral("restart");
                const TUserPrefs closed = w.Prefs();
                QVERIFY(w.close());
                const QByteArray saved = ReadAll(IniPath());
                Start(saved);
                QCOMPARE(ReadUserPrefs(IniPath()), closed);
                QCOMPARE(m_window->Prefs(), closed);
                const bool inBox2 = closed.Value2.has_value(); // where the user gave the number
                QCOMPARE((inBox2 ? m_window->edValue2 : m_window->edValue1)->Text(),
                         FloatToText(closed.Value2.value_or(closed.Value1),
                                     inBox2 ? closed.Value2precision : closed.Value1precision,
                                     QLocale()));
                ++restarts[inBox2];
            }
            TfmMain& now = *m_window;
            if (action == "click into a box" || action == "Tab" || action == "precision") {
                for (const TValueBox box : {vbValue1, vbValue2}) {
                    QVERIFY2(now.Controller()->Number(box) == numbers[box],
                             qPrintable(QStringLiteral("%1 in box %2: %3 became %4")
                                            .arg(action)
                                            .arg(box + 1)
                                            .arg(texts[box], boxes[box]->Text())));
                }
            }
            CheckConversionShown();
            for (QListWidget* const list : {now.lstUnits1, now.lstUnits2}) {
                const int unit =
                    now.Controller()->Unit(list == now.lstUnits1 ? vbValue1 : vbValue2);
                QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(unit)});
            }
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("after action %1: %2").arg(i).arg(action)));
        }
        QVERIFY2(restarts[0] && restarts[1], "restarts with the number in either box");
    }

    // A frame shows where the keyboard put the focus among the unit lists and precision
    // spinners; after a click, the window looks as it always did.
    void KeyboardFocusIsFramed()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        QWidget* const client = w.centralWidget();
        const auto ring = [](const QWidget* control) {
            return control->geometry().topLeft() + QPoint(-2, 8);
        };
        const QColor navy(0, 0, 128);
        const QColor aqua(0, 255, 255);
        const QList<QWidget*> framed = {w.lstUnits1, w.lstUnits2, w.seEdValue1Precision,
                                        w.seEdValue2Precision};
        for (QWidget* const control : framed)
            QCOMPARE(PixelAt(client, ring(control)), navy);
        QTest::mouseClick(w.lstUnits1->viewport(), Qt::LeftButton, {},
                          w.lstUnits1->visualItemRect(w.lstUnits1->item(0)).center());
        QVERIFY(w.lstUnits1->hasFocus());
        QCOMPARE(PixelAt(client, ring(w.lstUnits1)), navy);
        for (qsizetype i = 1; i < framed.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(framed[i]->hasFocus());
            QCOMPARE(PixelAt(client, ring(framed[i])), aqua);
            QCOMPARE(PixelAt(client, ring(framed[i - 1])), navy);
        }
        QTest::mouseClick(w.seEdValue1Precision, Qt::LeftButton);
        QVERIFY(w.seEdValue1Precision->hasFocus());
        for (QWidget* const control : framed)
            QCOMPARE(PixelAt(client, ring(control)), navy);
    }

    // clang-format off
    void EntryReadsInEveryLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("typed"); // else pasted over the whole text
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<double>("value1");

        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const QLocale fr(QLocale::French, QLocale::France);
        QTest::newRow("French typed point") << fr << true << "2.5" << "2,5" << "7,0711" << 2.5;
        QTest::newRow("French pasted point") << fr << false << "2.5" << "2.5" << "7,0711" << 2.5;
        QTest::newRow("French pasted comma") << fr << false << "-2,5" << "-2,5" << "-7,0711" << -2.5;
        QTest::newRow("English pasted comma") << en << false << "2,5" << "2,5" << "7.0711" << 2.5;
        QTest::newRow("unknown unit after the number") << fr << false << "12,5 dBx" << "12,5 dBx" << "-.--" << 3.0;
        QTest::newRow("letters") << en << false << "abc" << "abc" << "-.--" << 3.0;
        QTest::newRow("lone minus") << en << false << "-" << "-" << "-.--" << 3.0;
    }
    // clang-format on

    // A typed or pasted entry converts as the number it reads under any locale, and one that
    // reads as no number fails visibly while the preferences keep the last number.
    void EntryReadsInEveryLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, typed);
        QFETCH(QString, entry);
        QFETCH(QString, box1);
        QFETCH(QString, box2);
        QFETCH(double, value1);
        QLocale::setDefault(locale);
        Start("[UserPrefs]\nValue2Index=1\nValue1=3\n");
        TfmMain& w = *m_window;
        if (typed) {
            TypeInto(w.edValue1, entry);
        } else {
            w.edValue1->selectAll();
            QApplication::clipboard()->setText(entry);
            PressShortcut(w.edValue1, Qt::CTRL | Qt::Key_V);
        }
        CheckShown(box1, box2, true, box2 == "-.--");
        QCOMPARE(w.Prefs().Value1, value1);
    }

    // clang-format off
    void PastedLevels_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("box"); // pasted into
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<int>("unit1");
        QTest::addColumn<int>("unit2");
        QTest::addColumn<int>("precision"); // of the box pasted into

        const QByteArray dBu = "[UserPrefs]\nValue2Index=4\n";
        const auto row = [](const char* name, const char* way, int box, const QByteArray& ini, const char* pasted,
                            const char* box1, const char* box2, int unit1, int unit2, int precision) {
            QTest::newRow(name) << way << box << ini << QString::fromUtf8(pasted) << box1 << box2 << unit1 << unit2
                                << precision;
        };
        row("dBm", "Ctrl+V", 1, dBu, "-73 dBm", "-73,0000", "-83,7918", 2, 4, 4);
        row("microvolts", "context menu", 1, dBu, "316 µV", "0,000316", "-67,7878", 0, 4, 6);
        row("milliwatts in 600 ohms", "drop", 1, "[UserPrefs]\nValue1Index=7\nValue2Index=4\n", "2 mW",
            "0,0020", "3,0103", 7, 4, 4);
        row("into the result", "Ctrl+V", 2, "[UserPrefs]\nValue2Index=3\n", "-73 dBm", "0,0002", "-73,0000", 0, 3, 4);
        row("more decimals than 10: the general form", "Ctrl+V", 1, dBu, "12,34567891234 Vpp", "12,34567891234",
            "15,0179", 1, 4, 0);
        row("general form kept", "Ctrl+V", 1, "[UserPrefs]\nValue1precision=0\nValue2Index=4\n", "1,5 kW", "1500",
            "50,9691", 6, 4, 0);
        row("plain number", "Ctrl+V", 1, dBu, "2,5", "2,5", "10,1773", 0, 4, 4);
        row("unknown unit", "context menu", 1, dBu, "-73 dBx", "-73 dBx", "-.--", 0, 4, 4);
        // 30 dBmV = 90 dBµV in the list's dBuV (75 ohms): 0,0316228 V, -27,7815 dBu.
        row("a unit the list does not hold", "Ctrl+V", 1, dBu, "30 dBmV", "90,0000", "-27,7815", 11, 4, 4);
    }
    // clang-format on

    // A level pasted by any way sets the box's number, selects its unit and raises the box's
    // precision so that every digit written shows and survives leaving the box; anything
    // else is pasted as text, as it always was.
    void PastedLevels()
    {
        QFETCH(QString, way);
        QFETCH(int, box);
        QFETCH(QByteArray, ini);
        QFETCH(QString, pasted);
        QFETCH(QString, box1);
        QFETCH(QString, box2);
        QFETCH(int, unit1);
        QFETCH(int, unit2);
        QFETCH(int, precision);
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Start(ini);
        TfmMain& w = *m_window;
        TNumSpinEdit* const edit = box == 1 ? w.edValue1 : w.edValue2;
        edit->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(edit->hasFocus());
        edit->selectAll();
        QApplication::clipboard()->setText(pasted);
        if (way == QLatin1String("context menu")) {
            TriggerMenuEntry(edit, QCoreApplication::translate("QLineEdit", "&Paste"));
        } else if (way == QLatin1String("drop")) {
            QMimeData data;
            data.setText(pasted);
            QDragEnterEvent enter(edit->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(edit, &enter);
            QDropEvent drop(edit->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(edit, &drop);
        } else {
            PressShortcut(edit, Qt::CTRL | Qt::Key_V);
        }
        CheckShown(box1, box2, box == 1, box2 == "-.--");
        CheckConversionShown();
        QCOMPARE(w.lstUnits1->currentRow(), unit1);
        QCOMPARE(w.lstUnits2->currentRow(), unit2);
        QCOMPARE(w.lblUnit1->text(), QString::fromUtf8(UnitShortNames[unit1].data()));
        QCOMPARE((box == 1 ? w.seEdValue1Precision : w.seEdValue2Precision)->Value(), precision);
        QCOMPARE(edit->Precision(), precision);
        const TValueBox pastedInto = box == 1 ? vbValue1 : vbValue2;
        const std::optional<double> number = w.Controller()->Number(pastedInto);
        w.lstUnits1->setFocus(Qt::TabFocusReason); // leaving re-shows the box in its format
        QCOMPARE(w.Controller()->Number(pastedInto), number);
        if (number)
            QCOMPARE(edit->Text(), FloatToText(*number, precision, QLocale()));
        CheckConversionShown();
    }

    // Copied with its unit from the context menu, a result pastes back as the same level.
    void CopyWithUnitPastesBack()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Start("[UserPrefs]\nValue2Index=1\nValue1=1\n");
        TfmMain& w = *m_window;
        TriggerMenuEntry(w.edValue2, QStringLiteral("Copier a&vec l'unité"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("2,8284 Vpp"));
        w.edValue1->selectAll();
        PressShortcut(w.edValue1, Qt::CTRL | Qt::Key_V);
        CheckShown("2,8284", "2,8284", true, false);
        QCOMPARE(w.Controller()->Unit(vbValue1), 1);
        QCOMPARE(w.Controller()->Number(vbValue1), 2.8284);
    }

    // The largest number shows as a text that reads back, and is kept whole.
    void LargestNumberRoundTrips()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        w.edValue1->selectAll();
        w.edValue1->Paste(QStringLiteral("1.7976931348623157E308"));
        w.lstUnits1->setFocus(Qt::TabFocusReason); // leaving re-shows it in the box's format
        CheckShown("1.79769313486231E308", "1.79769313486231E308", true, false);
        QVERIFY(w.Prefs().Value1 == DBL_MAX);
        QVERIFY(w.close());
        QVERIFY(ReadAll(IniPath()).contains("\nValue1=1.7976931348623157E308\n"));
    }
};

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    TestMainWindow test;
    const int conversion = QTest::qExec(&test, argc, argv);
    return conversion | RunWindowLookTests(argc, argv);
}

#include "tst_frmMain.moc"
