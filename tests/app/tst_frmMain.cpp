#include "../widgets/WidgetTesting.h"

#include "Application.h"
#include "ArrowIndicator.h"
#include "GradientFill.h"
#include "MenuStyler.h"
#include "NumSpinEdit.h"
#include "PrefsAutosave.h"
#include "StyledMainMenu.h"
#include "TerminationSignals.h"
#include "TabStrip.h"
#include "NumberText.h"
#include "TwoColorPalette.h"
#include "ConversionController.h"
#include "frmMain.h"
#include "uConv.h"

#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QSessionManager>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cfloat>
#include <csignal>
#include <memory>
#include <random>
#include <stdexcept>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarvane;

Q_DECLARE_METATYPE(TUserPrefs)
Q_DECLARE_METATYPE(QLocale)

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QColor PixelAt(QWidget* widget, QPoint point)
{
    return widget->grab().toImage().pixelColor(point);
}

// Answers the next modal message box: records its text and closes it.
class MessageBoxCatcher : public QObject {
public:
    explicit MessageBoxCatcher(QObject* parent)
        : QObject(parent)
    {
        QTimer::singleShot(0, this, [this] { Poll(); });
    }
    QString Text;
    QString Title;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;

private:
    void Poll()
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Text = box->text();
            Title = box->windowTitle();
            Icon = box->icon();
            box->accept();
            return;
        }
        QTimer::singleShot(10, this, [this] { Poll(); });
    }
};

// An object whose events fail, as a handler with a bug would.
class Failing : public QObject {
public:
    using QObject::QObject;
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Valeur hors limites");
        return QObject::event(event);
    }
};

int SessionCancels = 0;

} // namespace

// The session manager's cancel, which the offscreen platform ignores, counted instead: this
// definition in the test program takes the place of Qt's.
void QSessionManager::cancel()
{
    ++SessionCancels;
}

namespace {

// Files larger than limit bytes cannot be written while this lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lowered{limit, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TfmMain> m_window;

    QString IniPath() const { return m_dir.filePath(QStringLiteral("tarvane.ini")); }

    // Starts the program with the given preferences file ("<missing>": none).
    void Start(const QByteArray& ini)
    {
        QFile::remove(IniPath());
        if (ini != "<missing>") {
            QFile file(IniPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ini);
        }
        m_window = std::make_unique<TfmMain>(nullptr, m_dir.filePath(QStringLiteral("tarvane")));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    // Gives a value box the focus from the keyboard and types over its whole text.
    void TypeInto(TNumSpinEdit* box, const QString& text)
    {
        box->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(box->hasFocus());
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void ClickUnit(QListWidget* list, int row)
    {
        const QRect item = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QCOMPARE(list->currentRow(), row);
    }

    // Both boxes' texts and the state the controller shows.
    void CheckShown(const QString& box1, const QString& box2, bool box1IsSource, bool failed)
    {
        TfmMain& w = *m_window;
        QCOMPARE(w.edValue1->Text(), box1);
        QCOMPARE(w.edValue2->Text(), box2);
        QCOMPARE(w.edValue1->Tag(), box1IsSource ? 1 : 0);
        QCOMPARE(w.edValue2->Tag(), box1IsSource ? 0 : 1);
        const QString source = QStringLiteral("Valeur à convertir");
        const QString target = QStringLiteral("Valeur convertie");
        QCOMPARE(w.edValue1->LabelCaption(), box1IsSource ? source : target);
        QCOMPARE(w.edValue2->LabelCaption(), box1IsSource ? target : source);
        const TArrowDirection direction = box1IsSource ? pdRight : pdLeft;
        QCOMPARE(w.Arrow1->Direction(), direction);
        QCOMPARE(w.Arrow2->Direction(), direction);
        const TColor high = failed ? clRed : clLime;
        QCOMPARE(w.Arrow1->Palette()->High(), high);
        QCOMPARE(w.Arrow2->Palette()->High(), high);
        QCOMPARE(w.Arrow1->Palette()->Low(), clGreen);
        TNumSpinEdit* targetBox = box1IsSource ? w.edValue2 : w.edValue1;
        QCOMPARE(targetBox->FontColor(), targetBox->Text() == "-.--" ? clRed : clAqua);
        QCOMPARE(targetBox->Color(), clBlack);
    }

    // The window shows the controller's state: a target that shows a result shows the
    // engine's result for the source's exact number at the target's precision, or "-.--"
    // with red arrows; a box that shows the user's text has the number that text reads; the
    // preferences keep box 1's exact number.
    void CheckConversionShown()
    {
        TfmMain& w = *m_window;
        const TConversionController& c = *w.Controller();
        const TValueBox from = c.Source();
        const TValueBox to = c.Target();
        TNumSpinEdit* const source = from == vbValue1 ? w.edValue1 : w.edValue2;
        TNumSpinEdit* const target = from == vbValue1 ? w.edValue2 : w.edValue1;
        QCOMPARE(source->Tag(), 1);
        QCOMPARE(target->Tag(), 0);
        const QString text = source->Text();
        QVERIFY2(!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')), qPrintable(text));
        static const QRegularExpression numberText(
            QStringLiteral("^ *([+-]?([0-9]+[.,]?[0-9]*|[.,][0-9]*)([eE][+-]?[0-9]+)?)? *$"));
        if (!c.ShowsResult(from) && !text.isEmpty()) {
            QCOMPARE(c.Number(from), source->ParsedFloatValue());
            if (!numberText.match(text).hasMatch())
                QVERIFY2(!c.Number(from), qPrintable(text));
        }
        const bool failed = !c.Number(from) || !c.Number(to);
        QCOMPARE(c.Failed(), failed);
        QCOMPARE(w.Arrow1->Palette()->High(), failed ? clRed : clLime);
        if (c.Number(vbValue1))
            QCOMPARE(w.Prefs().Value1, *c.Number(vbValue1));
        if (!c.TargetShowsResult())
            return; // the number left there by a move of the focus
        QCOMPARE(target->FontColor(), c.Number(to) ? clAqua : clRed);
        const std::optional<double> number = c.Number(from);
        const int fromUnit = c.Unit(from);
        const int toUnit = c.Unit(to);
        const std::optional<double> result =
            !number || fromUnit == toUnit ? number : TryConvertValue(*number, fromUnit, toUnit);
        QCOMPARE(c.Number(to), result);
        const QString expected =
            result ? FloatToText(*result, target->Precision(), QLocale()) : QStringLiteral("-.--");
        QVERIFY2(target->Text() == expected, qPrintable(text + " shows " + target->Text()));
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void cleanup()
    {
        m_window.reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

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
        QCOMPARE(w.Prefs(), (TUserPrefs{4, 4, 0, 0, 1.0}));
        QCOMPARE(w.lstUnits1->count(), 12);
        QCOMPARE(w.lstUnits2->item(1)->text(), QStringLiteral("Tension crête à crête (Vcac / Vpp)"));
        QCOMPARE(w.AppPath(), m_dir.path() + u'/');
        QCOMPARE(w.IniFileName(), IniPath());
        QVERIFY(!QFile::exists(IniPath()));
        QVERIFY(w.close());
        QCOMPARE(ReadAll(IniPath()),
                 QByteArray("[UserPrefs]\nWriteTest=1\nValue1precision=4\nValue2precision=4\n"
                            "Value1Index=0\nValue2Index=0\nValue1=1\n"));
    }

    void RestoresThePreferences_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QString>("label2");
        QTest::addColumn<TUserPrefs>("prefs");

        QTest::newRow("number keeps every decimal its precision shows")
            << QByteArray("[UserPrefs]\nValue1precision=10\nValue1=1.23456789\n") << "1.2345678900"
            << "1.2346" << "Veff (Vrms)" << "Veff (Vrms)" << TUserPrefs{10, 4, 0, 0, 1.23456789};
        QTest::newRow("number rounded to its precision")
            << QByteArray("[UserPrefs]\nValue1precision=2\nValue1=1.23456789\n") << "1.23"
            << "1.2300" << "Veff (Vrms)" << "Veff (Vrms)" << TUserPrefs{2, 4, 0, 0, 1.23};
        QTest::newRow("restored units convert without a round trip through box 2")
            << QByteArray("[UserPrefs]\nValue2Index=7\nValue1=1\n") << "1.0000" << "0.0017"
            << "Veff (Vrms)" << "Watts (600 ohms)" << TUserPrefs{4, 4, 0, 7, 1.0};
        QTest::newRow("precision above 10 shows 10")
            << QByteArray("[UserPrefs]\nValue1precision=12\nValue2precision=0\nValue1=0.5\n")
            << "0.5000000000" << "0.5" << "Veff (Vrms)" << "Veff (Vrms)" << TUserPrefs{10, 0, 0, 0, 0.5};
        QTest::newRow("260 reads as unit 4, 12 falls back to 0")
            << QByteArray("[UserPrefs]\nValue1Index=260\nValue2Index=12\nValue1=0\n") << "0.0000"
            << "0.7746" << "dBu (réf. 775 mV)" << "Veff (Vrms)" << TUserPrefs{4, 4, 4, 0, 0.0};
        QTest::newRow("failing restored conversion")
            << QByteArray("[UserPrefs]\nValue2Index=2\nValue1=0\n") << "0.0000" << "-.--"
            << "Veff (Vrms)" << "dBm (1 mW / 50 ohms)" << TUserPrefs{4, 4, 0, 2, 0.0};
    }

    void RestoresThePreferences()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, box1);
        QFETCH(QString, box2);
        QFETCH(QString, label1);
        QFETCH(QString, label2);
        QFETCH(TUserPrefs, prefs);
        Start(ini);
        TfmMain& w = *m_window;
        CheckShown(box1, box2, true, box2 == "-.--");
        QCOMPARE(w.lblUnit1->text(), label1);
        QCOMPARE(w.lblUnit2->text(), label2);
        QCOMPARE(w.lstUnits1->currentRow(), int(prefs.Value1Index));
        QCOMPARE(w.lstUnits2->currentRow(), int(prefs.Value2Index));
        QCOMPARE(w.seEdValue1Precision->Value(), int(prefs.Value1precision));
        QCOMPARE(w.Prefs(), prefs);
    }

    void RestoreAndSaveRoundTrip()
    {
        const QByteArray ini("; kept\n[UserPrefs]\nWriteTest=1\nValue1precision=3\nValue2precision=6\n"
                             "Value1Index=5\nValue2Index=1\nValue1=-2.5\n\n[Other]\nx=1\n");
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

    void Box1ShowingFailureKeepsItsLastNumber()
    {
        Start("[UserPrefs]\nValue1Index=2\nValue1=3\n");
        TfmMain& w = *m_window;
        TypeInto(w.edValue2, "1");
        CheckShown("13.0103", "1", false, false);
        QTest::keyClick(w.edValue2, Qt::Key_Backspace);
        QTest::keyClicks(w.edValue2, "0");
        CheckShown("-.--", "0", false, true);
        const double exact = *TryConvertValue(1, 0, 2);
        QCOMPARE(w.Prefs().Value1, exact);
        ClickUnit(w.lstUnits1, 3); // a failing conversion to another unit keeps it too
        QCOMPARE(w.Prefs().Value1, exact);
        QVERIFY(w.close());
        QVERIFY(ReadAll(IniPath()).contains("\nValue1=13.0102999566398\n"));
    }

    void PrecisionChangesReformat()
    {
        Start("[UserPrefs]\nValue2Index=1\n");
        TfmMain& w = *m_window;
        TypeInto(w.edValue1, "1.23");
        w.seEdValue1Precision->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w.seEdValue1Precision, Qt::Key_Down);
        QTest::keyClick(w.seEdValue1Precision, Qt::Key_Down);
        CheckShown("1.23", "3.4790", true, false); // source rounded, target from the rounded number
        QCOMPARE(w.Prefs().Value1precision, quint8(2));
        QCOMPARE(w.Prefs().Value1, 1.23);

        w.seEdValue2Precision->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w.seEdValue2Precision, Qt::Key_PageUp);
        CheckShown("1.23", "3.4789653634", true, false);
        QCOMPARE(w.Prefs().Value2precision, quint8(10));
    }

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
        int stateChanges = 0;
        w.Controller()->OnStateChange = [&stateChanges](QObject*) { ++stateChanges; };
        TypeInto(w.edValue1, typed);
        QCOMPARE(w.edValue2->Text(), box2);
        QVERIFY(stateChanges > 0);
        stateChanges = 0;

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
        QCOMPARE(stateChanges, 0); // nothing saved changed
        CheckConversionShown();
        QVERIFY(w.close());
        Start(ReadAll(IniPath()));
        QCOMPARE(m_window->edValue1->Text(), box1);
        QCOMPARE(m_window->Prefs().Value1, value1);
    }

    // Entering the result box and going back leaves both texts as they were, whatever the
    // pair of units.
    void EveryUnitPairSurvivesARoundTripOfTheFocus()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        TConversionController& c = *w.Controller();
        for (int from = 0; from < 12; ++from) {
            for (int to = 0; to < 12; ++to) {
                for (const QString typed : {"0.7000", "-3.2500", "1234.5678", "0.0000"}) {
                    c.SetUnit(vbValue1, from);
                    c.SetUnit(vbValue2, to);
                    TypeInto(w.edValue1, typed);
                    const QString result = w.edValue2->Text();
                    for (TNumSpinEdit* const box : {w.edValue2, w.edValue1}) {
                        box->setFocus(Qt::TabFocusReason);
                        QVERIFY2(w.edValue1->Text() == typed && w.edValue2->Text() == result,
                                 qPrintable(QStringLiteral("%1 to %2: %3 gives %4, then %5 and %6")
                                                .arg(from).arg(to).arg(typed, result,
                                                w.edValue1->Text(), w.edValue2->Text())));
                    }
                }
            }
        }
    }

    // The target's precision shows the engine's result (0: all its digits), or keeps "-.--"
    // even once the source is emptied; the saved precision is the one shown.
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
    // window shows the controller's state, a move of the focus changed no number (the left
    // box's own text only takes the box's format), and a restart brings back what was closed.
    void RandomActionsKeepTheConversionRight()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Start("[UserPrefs]\nValue2Index=4\n");
        std::mt19937 random(15);
        const auto pick = [&random](const auto& list) { return list[random() % list.size()]; };
        const QString characters = QStringLiteral("0123456789,.-eE a");
        const QStringList pastes = {"2,5", "-12.5", "-73 dBm", "abc", "1E999", "-1e308", " ",
                                    "0", "1234,5678", "2,123456789"};
        const QList<QKeyCombination> keys = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Up,
                                             Qt::Key_Down, Qt::Key_PageUp, Qt::CTRL | Qt::Key_Z};
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
                QTest::keyClick(focused, Qt::Key_Tab, random() % 2 ? Qt::ShiftModifier : Qt::NoModifier);
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
                const QPoint point = row < 12 ? list->visualItemRect(list->item(row)).center()
                                              : QPoint(20, 210);
                QTest::mouseClick(list->viewport(), Qt::LeftButton,
                                  random() % 4 ? Qt::NoModifier : Qt::ControlModifier, point);
            } else if (kind < 15) {
                action = QStringLiteral("precision");
                TNumSpinEdit* const spinner = pick(QList{w.seEdValue1Precision, w.seEdValue2Precision});
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
                const TUserPrefs restored = ReadUserPrefs(IniPath());
                QCOMPARE(FloatToText(restored.Value1, 0, QLocale()), FloatToText(closed.Value1, 0, QLocale()));
                const TUserPrefs shown = m_window->Prefs();
                QCOMPARE(shown.Value1precision, closed.Value1precision);
                QCOMPARE(shown.Value2precision, closed.Value2precision);
                QCOMPARE(shown.Value1Index, closed.Value1Index);
                QCOMPARE(shown.Value2Index, closed.Value2Index);
                QCOMPARE(m_window->edValue1->Text(), FloatToText(restored.Value1, closed.Value1precision, QLocale()));
            }
            TfmMain& now = *m_window;
            if (action == "click into a box" || action == "Tab") {
                for (const TValueBox box : {vbValue1, vbValue2}) {
                    const std::optional<double> after = now.Controller()->Number(box);
                    if (after == numbers[box])
                        continue;
                    // Only the box left re-shows the user's number in its format.
                    QVERIFY2(focused == boxes[box] && numbers[box] && after
                                 && *after == UserTextToFloat(FloatToText(*numbers[box],
                                                    boxes[box]->Precision(), QLocale()), QLocale()),
                             qPrintable(QStringLiteral("%1 in box %2: %3 became %4").arg(action)
                                            .arg(box + 1).arg(texts[box], boxes[box]->Text())));
                }
            }
            CheckConversionShown();
            for (QListWidget* const list : {now.lstUnits1, now.lstUnits2}) {
                const int unit = now.Controller()->Unit(list == now.lstUnits1 ? vbValue1 : vbValue2);
                QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(unit)});
            }
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("after action %1: %2").arg(i).arg(action)));
        }
    }

    // A frame shows where the keyboard put the focus among the unit lists and precision
    // spinners; after a click, the window looks as it always did.
    void KeyboardFocusIsFramed()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        QWidget* const client = w.centralWidget();
        const auto ring = [](const QWidget* control) { return control->geometry().topLeft() + QPoint(-2, 8); };
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
        QTest::newRow("unit after the number") << fr << false << "12,5 dBu" << "12,5 dBu" << "-.--" << 3.0;
        QTest::newRow("letters") << en << false << "abc" << "abc" << "-.--" << 3.0;
        QTest::newRow("lone minus") << en << false << "-" << "-" << "-.--" << 3.0;
    }

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

    // The largest number shows as a text that reads back, and is kept so.
    void LargestNumberRoundTrips()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        w.edValue1->selectAll();
        w.edValue1->Paste(QStringLiteral("1.7976931348623157E308"));
        w.lstUnits1->setFocus(Qt::TabFocusReason); // leaving re-shows it in the box's format
        CheckShown("1.79769313486231E308", "1.79769313486231E308", true, false);
        QCOMPARE(w.Prefs().Value1, 1.79769313486231E308);
        QVERIFY(w.close());
        QVERIFY(ReadAll(IniPath()).contains("\nValue1=1.79769313486231E308\n"));
    }

    void ContextMenuInFrench()
    {
        Start("<missing>");
        const std::unique_ptr<QMenu> menu(m_window->edValue1->createStandardContextMenu());
        QStringList captions;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                captions << action->text().section(u'\t', 0, 0).remove(u'&');
        }
        QCOMPARE(captions, (QStringList{"Annuler", "Rétablir", "Couper", "Copier", "Coller",
                                        "Supprimer", "Tout sélectionner"}));
    }

    void RandomEntryNeverShowsAWrongNumber_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("C") << QLocale::c();
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France);
    }

    // Seeded random keys, shortcuts and pastes into whichever box is the source, with now and
    // then a change of source or of a precision: after each, the conversion shown is right.
    void RandomEntryNeverShowsAWrongNumber()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        Start("[UserPrefs]\nValue2Index=5\n");
        TfmMain& w = *m_window;
        std::mt19937 random(20261207);
        const auto pick = [&random](const auto& list) { return list[random() % list.size()]; };
        const QString characters = QStringLiteral("0123456789012345.,+-eE aZ:");
        const QList<QKeyCombination> keys = {
            Qt::KeypadModifier | Qt::Key_Period, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,
            Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageDown,
            Qt::CTRL | Qt::Key_A, Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_X, Qt::CTRL | Qt::Key_V,
            Qt::SHIFT | Qt::Key_Insert, Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y,
            Qt::CTRL | Qt::SHIFT | Qt::Key_Z};
        const QStringList pastes = {"2.5", "-12,5", "12,5 dBu", "abc", "1.2.3", "1,234.5", "1E999",
                                    "-1e308", "1.7976931348623157E308", "12\n34", " ", "-", ".", "7"};
        const QStringList precisions = {"0", "3", "10", "67", "99999999999"};
        for (int i = 0; i < 1500; ++i) {
            TNumSpinEdit* const box = w.edValue1->Tag() == 1 ? w.edValue1 : w.edValue2;
            const int kind = int(random() % 20);
            if (kind < 8) {
                const QChar c = pick(characters);
                Press(box, Qt::Key(c.toUpper().unicode()), QString(c));
            } else if (kind < 15) {
                PressShortcut(box, pick(keys));
            } else if (kind < 18) {
                QApplication::clipboard()->setText(pick(pastes));
                PressShortcut(box, Qt::CTRL | Qt::Key_V);
            } else if (kind == 18) {
                (box == w.edValue1 ? w.edValue2 : w.edValue1)->setFocus(Qt::TabFocusReason);
            } else {
                TNumSpinEdit* const spinner = pick(QList{w.seEdValue1Precision, w.seEdValue2Precision});
                spinner->setFocus(Qt::TabFocusReason);
                spinner->selectAll();
                QTest::keyClicks(spinner, pick(precisions));
                box->setFocus(Qt::TabFocusReason); // the spinner keeps to its bounds on leaving
                QVERIFY(spinner->Value() >= 0 && spinner->Value() <= 10);
            }
            CheckConversionShown();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("after event %1").arg(i)));
        }
    }

    void FrenchLocaleWritesAComma()
    {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Start("[UserPrefs]\nValue1=0.775\n");
        CheckShown("0,7750", "0,7750", true, false);
        QVERIFY(m_window->close());
        QVERIFY(ReadAll(IniPath()).contains("\nValue1=0,775\n"));
    }

    void TabOrder()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        const QList<QWidget*> order = {w.edValue1, w.edValue2, w.lstUnits1, w.lstUnits2,
                                       w.seEdValue1Precision, w.seEdValue2Precision, w.edValue1};
        QCOMPARE(QApplication::focusWidget(), order[0]);
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), order[i]);
        }
    }

    void WindowLayout()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Tarvane"));
        // The menu bar sits above the whole client area, not inside it.
        QCOMPARE(w.centralWidget()->geometry(), QRect(0, w.menuBar()->height(), 553, 393));
        QCOMPARE(w.size(), QSize(553, w.menuBar()->height() + 393));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        const Qt::WindowFlags flags = w.windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        const QPoint centre = w.screen()->availableGeometry().center();
        QVERIFY((w.frameGeometry().center() - centre).manhattanLength() <= 2);

        // The value boxes size their height to their font.
        QCOMPARE(w.edValue1->geometry().topLeft(), QPoint(16, 64));
        QCOMPARE(w.edValue2->geometry().topLeft(), QPoint(304, 64));
        QCOMPARE(w.edValue2->width(), 233);
        QCOMPARE(w.lstUnits2->geometry(), QRect(304, 136, 233, 217));
        QCOMPARE(w.seEdValue2Precision->geometry(), QRect(304, 360, 41, 18));
        QCOMPARE(w.Arrow2->geometry(), QRect(256, 200, 41, 41));
        QCOMPARE(w.lblUnit1->geometry(), QRect(16, 104, 233, 24));
        QCOMPARE(w.TabStrip1->geometry(), QRect(8, 8, 537, 21));
        QCOMPARE(w.Label2->text(), QStringLiteral("Précision (nombre de décimales)"));
        QCOMPARE(w.Label2->pos(), QPoint(352, 360));
        // All twelve units show without scrolling.
        QVERIFY(w.lstUnits1->visualItemRect(w.lstUnits1->item(11)).bottom() < 217);
        QCOMPARE(w.lstUnits1->visualItemRect(w.lstUnits1->item(1)).top(), 13);

        const QImage client = w.centralWidget()->grab().toImage();
        QCOMPARE(client.pixelColor(4, 50), QColor(0, 0, 128));          // navy
        QCOMPARE(client.pixelColor(276, 84), QColor(0, 255, 0));        // lime arrow
        QCOMPARE(client.pixelColor(20, 340), QColor(128, 0, 128));      // purple list
        QCOMPARE(client.pixelColor(256 + 2, 64 + 2), QColor(0, 0, 128)); // navy around the arrow
    }

    void StripAndMenuBarPixels_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("expected");
        const QColor navy(0, 0, 128);
        const QColor blue(0, 0, 255);
        const QColor purple(128, 0, 128);
        const QColor rootFrom(0x9E, 0xBE, 0xF5);
        const QColor rootTo(0xB2, 0xCD, 0xF7);
        QTest::newRow("strip band before the tab") << "strip" << QPoint(2, 5) << navy;
        QTest::newRow("tab outline left") << "strip" << QPoint(14, 10) << blue;
        QTest::newRow("tab outline top") << "strip" << QPoint(20, 0) << blue;
        QTest::newRow("tab fill") << "strip" << QPoint(16, 10) << purple;
        QTest::newRow("strip band after the tab") << "strip" << QPoint(400, 8) << navy;
        QTest::newRow("strip base line") << "strip" << QPoint(300, 19) << blue;
        QTest::newRow("client below the strip") << "strip" << QPoint(300, 21) << navy;
        // The bar's band runs from the window's left edge to 100 pixels past its right edge.
        QTest::newRow("menu band in Fichier") << "bar" << QPoint(1, 1)
                                              << GradientBandColor(rootFrom, rootTo, 1, 653);
        QTest::newRow("menu band past the items")
            << "bar" << QPoint(300, 1) << GradientBandColor(rootFrom, rootTo, 300, 653);
        QTest::newRow("menu band at the right edge")
            << "bar" << QPoint(552, 1) << GradientBandColor(rootFrom, rootTo, 552, 653);
    }

    // The strip and the menu bar as the window shows them.
    void StripAndMenuBarPixels()
    {
        QFETCH(QString, where);
        QFETCH(QPoint, point);
        QFETCH(QColor, expected);
        Start("<missing>");
        TfmMain& w = *m_window;
        QWidget* const widget = where == "strip" ? static_cast<QWidget*>(w.TabStrip1) : w.menuBar();
        const QImage window = w.grab().toImage();
        QCOMPARE(window.pixelColor(widget->mapTo(&w, point)), expected);
    }

    void StripCaption()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        QCOMPARE(w.TabStrip1->Tabs().Count(), 1);
        QCOMPARE(w.TabStrip1->TabIndex(), 0);
        // The yellow caption lies inside the tab, past its 8-pixel margin, lowered 2 + 2.
        const QRect tab = w.TabStrip1->TabRect(0);
        const QImage image = w.TabStrip1->grab().toImage();
        QRect caption;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.red() > 0xC0 && pixel.green() > 0xC0 && pixel.blue() < 0x80)
                    caption |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY(!caption.isEmpty());
        QVERIFY(tab.contains(caption));
        QVERIFY(caption.left() >= tab.left() + 8);
        QVERIFY(caption.top() >= 4);
    }

    void Menu()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        const QList<QAction*> bar = w.menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("Fichier"));
        QCOMPARE(bar[1]->text(), QStringLiteral("Aide"));
        QCOMPARE(w.Fichier1->actions(), QList<QAction*>{w.ActAppClose});
        QCOMPARE(w.Aide1->actions(),
                 (QList<QAction*>{w.ActAppHelpIndex, w.N1, w.ActAppReadme, w.N2, w.ActAppAbout}));
        QVERIFY(w.N1->isSeparator() && w.N2->isSeparator());
        QCOMPARE(w.menuBar(), w.StyledMainMenu1);
        QCOMPARE(w.StyledMainMenu1->MenuStyler(), w.MenuStyler1);
        for (QAction* action : {w.ActAppHelpIndex, w.ActAppReadme, w.ActAppAbout, w.ActAppClose}) {
            QCOMPARE(action->parent(), w.ActionList1);
            QCOMPARE(action->toolTip(), action->text());
            QVERIFY(action->shortcut().isEmpty());
            QCOMPARE(action->isEnabled(), action != w.ActAppHelpIndex); // no handler: grey
        }
        QCOMPARE(w.ActAppAbout->text(), QStringLiteral("A propos..."));

        w.ActAppHelpIndex->trigger();
        QVERIFY(w.isVisible());
        QVERIFY(!QFile::exists(IniPath()));
        w.ActAppClose->trigger();
        QVERIFY(!w.isVisible());
        QVERIFY(ReadAll(IniPath()).startsWith("[UserPrefs]\nWriteTest=1\n"));
    }

    // The menu by keyboard alone: Alt reaches the bar, the arrows move and open, Return chooses.
    void MenuByKeyboard()
    {
        Start("<missing>");
        TfmMain& w = *m_window;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt);
        QTRY_COMPARE(w.menuBar()->activeAction(), w.Fichier1->menuAction());
        QTest::keyClick(w.menuBar(), Qt::Key_Right);
        QTest::keyClick(w.menuBar(), Qt::Key_Down);
        QVERIFY(QTest::qWaitForWindowExposed(w.Aide1));
        QCOMPARE(w.Aide1->activeAction(), w.ActAppHelpIndex);
        QTest::keyClick(w.Aide1, Qt::Key_Return); // highlighted but never chosen
        QVERIFY(w.isVisible());
        QVERIFY(!QFile::exists(IniPath()));
        QTest::keyClick(w.Aide1, Qt::Key_Escape);
        QTRY_VERIFY(!w.Aide1->isVisible());

        QTest::keyClick(w.menuBar(), Qt::Key_Left);
        QCOMPARE(w.menuBar()->activeAction(), w.Fichier1->menuAction());
        QTest::keyClick(w.menuBar(), Qt::Key_Down);
        QVERIFY(QTest::qWaitForWindowExposed(w.Fichier1));
        QCOMPARE(w.Fichier1->activeAction(), w.ActAppClose);
        QTest::keyClick(w.Fichier1, Qt::Key_Return);
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(QFile::exists(IniPath()));
    }

    void FailedSaveKeepsTheWindowOpen()
    {
        const QByteArray ini("[UserPrefs]\nWriteTest=1\n");
        Start(ini);
        auto* catcher = new MessageBoxCatcher(m_window.get());
        {
            const FileSizeLimit limit(rlim_t(ini.size()));
            QVERIFY(!m_window->close());
        }
        QCOMPARE(catcher->Text, "Impossible d'écrire dans " + IniPath() + '.');
        QCOMPARE(catcher->Icon, QMessageBox::Critical);
        QVERIFY(m_window->isVisible());
        QCOMPARE(ReadAll(IniPath()), ini);

        // The user has been told: closing again closes, without trying again or asking.
        const FileSizeLimit limit(rlim_t(ini.size()));
        QVERIFY(m_window->close());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(ReadAll(IniPath()), ini);
    }

    // A save that fails as the desktop session ends never holds the session up.
    void FailedSaveAtSessionEndLetsItEnd()
    {
        Start("[UserPrefs]\nWriteTest=1\n");
        auto* manager = qApp->findChild<QSessionManager*>();
        QVERIFY(manager);
        SessionCancels = 0;
        {
            const FileSizeLimit limit(1);
            emit qApp->commitDataRequest(*manager);
        }
        QCOMPARE(SessionCancels, 0);
        QVERIFY(m_window->close()); // and the session's closing of the window goes through
    }

    // Each change of a saved value is in the file within two seconds, the window still open.
    void ChangesReachTheFileWithoutClosing_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("number typed") << 0 << QByteArray("\nValue1=2.5");
        QTest::newRow("unit chosen") << 1 << QByteArray("\nValue2Index=5");
        QTest::newRow("precision stepped") << 2 << QByteArray("\nValue1precision=3");
    }

    void ChangesReachTheFileWithoutClosing()
    {
        QFETCH(int, change);
        QFETCH(QByteArray, line);
        Start("<missing>");
        TfmMain& w = *m_window;
        if (change == 0) {
            TypeInto(w.edValue1, QStringLiteral("2.5"));
        } else if (change == 1) {
            ClickUnit(w.lstUnits2, 5);
        } else {
            w.seEdValue1Precision->setFocus(Qt::TabFocusReason);
            QTest::keyClick(w.seEdValue1Precision, Qt::Key_Down);
        }
        QTRY_VERIFY_WITH_TIMEOUT(ReadAll(IniPath()).contains(line), 2000);
        QVERIFY(w.isVisible());
    }

    // However fast the changes come, one save per delay; a save that fails is tried again.
    void AutosaveIsRateLimitedAndRetried()
    {
        int saves = 0;
        bool writable = true;
        TPrefsAutosave autosave([&] { ++saves; return writable; }, nullptr);
        for (int keystroke = 0; keystroke < 20; ++keystroke)
            autosave.Changed();
        QTRY_COMPARE_WITH_TIMEOUT(saves, 1, 2000);
        QVERIFY(!autosave.Pending());

        writable = false;
        autosave.Changed();
        QTRY_COMPARE_WITH_TIMEOUT(saves, 2, 2000);
        QVERIFY(autosave.Pending()); // tried again later, nothing shown
        QVERIFY(!QApplication::activeModalWidget());
        writable = true;
        QTRY_COMPARE_WITH_TIMEOUT(saves, 3, 2000);
        QVERIFY(!autosave.Pending());
    }

    void TerminationSignals_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM, the end of the session") << SIGTERM;
        QTest::newRow("SIGHUP, the terminal gone") << SIGHUP;
        QTest::newRow("SIGINT, Ctrl+C") << SIGINT;
    }

    // The signal closes the window through its close request, which saves, as the program
    // wires it.
    void TerminationSignals()
    {
        QFETCH(int, signalNumber);
        Start("<missing>");
        TypeInto(m_window->edValue1, QStringLiteral("2.5"));
        const TTerminationSignals terminationSignals;
        connect(&terminationSignals, &TTerminationSignals::Received, qApp, &QApplication::closeAllWindows);
        QSignalSpy received(&terminationSignals, &TTerminationSignals::Received);
        std::raise(signalNumber);
        QTRY_VERIFY(!m_window->isVisible());
        QCOMPARE(received.size(), 1);
        QCOMPARE(received[0][0].toInt(), signalNumber);
        QVERIFY(ReadAll(IniPath()).contains("\nValue1=2.5"));
    }

    // While the first signal is being handled, a second one ends the process at once, by
    // the signal; the first was handed on.
    void SecondSignalEndsAtOnce_data() { TerminationSignals_data(); }

    void SecondSignalEndsAtOnce()
    {
        QFETCH(int, signalNumber);
        int handedOn[2];
        QVERIFY(pipe(handedOn) == 0);
        const pid_t child = fork();
        if (child == 0) {
            TTerminationSignals::InstallHandlers(handedOn[1]);
            std::raise(SIGTERM);
            std::raise(signalNumber);
            _exit(0); // not reached
        }
        close(handedOn[1]);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), signalNumber);
        unsigned char first = 0;
        QCOMPARE(read(handedOn[0], &first, 1), ssize_t(1));
        QCOMPARE(int(first), SIGTERM);
        close(handedOn[0]);
    }

    // The report ends the message with a full stop when its last character sorts after ".".
    void ErrorReachingTheEventLoopIsShown()
    {
        Failing failing(nullptr);
        auto* catcher = new MessageBoxCatcher(&failing);
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QTRY_COMPARE(catcher->Text, QStringLiteral("Valeur hors limites."));
        QCOMPARE(catcher->Title, QStringLiteral("Tarvane"));
        QCOMPARE(catcher->Icon, QMessageBox::Critical);
    }

};

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmMain.moc"
