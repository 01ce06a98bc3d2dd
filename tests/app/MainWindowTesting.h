#pragma once
// What the main window's tests share: helpers and a fixture that starts the window on a
// preferences file of its own.
#include "../widgets/WidgetTesting.h"
#include "FileTesting.h"

#include "Application.h"
#include "ArrowIndicator.h"
#include "ConversionController.h"
#include "GradientFill.h"
#include "MenuStyler.h"
#include "NumSpinEdit.h"
#include "NumberText.h"
#include "PrecisionSpinner.h"
#include "StyledMainMenu.h"
#include "TabStrip.h"
#include "TwoColorPalette.h"
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

Q_DECLARE_METATYPE(tarvane::TUserPrefs)
Q_DECLARE_METATYPE(QLocale)

namespace tarvane::testing {

inline QColor PixelAt(QWidget* widget, QPoint point)
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

// Starts the main window on a preferences file in a folder of its own, drives it as a user
// does and checks what it shows.
class MainWindowFixture : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void cleanup()
    {
        m_window.reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

protected:
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

    // The window shows the controller's state: each box the model's text in the model's
    // format, and offers undo and redo as the model has them; a source text reads as the
    // source's exact number, or is that number shown in its format, or reads as none while
    // the source has none; a target that shows a result shows the engine's result for the
    // source's exact number at the target's precision, or "-.--" with red arrows; the
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
        for (const TValueBox box : {vbValue1, vbValue2}) {
            TNumSpinEdit* const edit = box == vbValue1 ? w.edValue1 : w.edValue2;
            QCOMPARE(edit->Text(), c.Text(box));
            QCOMPARE(edit->Precision(), c.Precision(box));
            QCOMPARE(edit->UndoAvailable(), c.CanUndo(box));
            QCOMPARE(edit->RedoAvailable(), c.CanRedo(box));
        }
        const QString text = source->Text();
        QVERIFY2(!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')),
                 qPrintable(text));
        if (!text.isEmpty()) {
            const std::optional<double> read = UserTextToFloat(text, QLocale());
            const std::optional<double> number = c.Number(from);
            QVERIFY2(read ? number
                             && (read == number
                                 || text == FloatToText(*number, source->Precision(), QLocale()))
                          : !number,
                     qPrintable(text));
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
};

// The second half of the window's tests (look, menus, saving), run by tst_frmMain's main.
int RunWindowLookTests(int argc, char** argv);

} // namespace tarvane::testing
