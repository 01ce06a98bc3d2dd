// What a screen reader is told about the main window's controls, through Qt's accessibility
// interfaces: names that never change, descriptions that say each box's part and unit, spin
// buttons that press, a failed conversion told in words, each new result said by a notice.
// (Events need a live accessibility bridge: the screen-reader tests check them.)
#include "AccessibleFactory.h"
#include "ArrowIndicator.h"
#include "NumSpinEdit.h"
#include "PrecisionSpinner.h"
#include "RepeatSpeedButton.h"
#include "SpinButtons.h"
#include "SpokenNotice.h"
#include "frmMain.h"

#include <QAccessible>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvane;

namespace {

QAccessibleInterface* Accessible(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

class TestAccessibleControls : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QAccessible::installFactory(AccessibleFactory);
    }

    void init()
    {
        m_window = std::make_unique<TfmMain>(nullptr, m_dir.filePath(QStringLiteral("tarvane")));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    // A box says which it is, a name that stays while the user works, then its part and its
    // own unit: never the other box's, and not the caption above it, which reads the same over
    // either box.
    void descriptionsFollowTheSourceBox_data()
    {
        QTest::addColumn<bool>("box2IsSource");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<QString>("arrow");
        QTest::newRow("box 1") << false << "Valeur 1: à convertir, Veff (Vrms)"
                               << "Valeur 2: convertie, Vcac (Vpp)"
                               << "Sens de conversion : de la valeur 1 vers la valeur 2";
        QTest::newRow("box 2") << true << "Valeur 1: convertie, Veff (Vrms)"
                               << "Valeur 2: à convertir, Vcac (Vpp)"
                               << "Sens de conversion : de la valeur 2 vers la valeur 1";
    }

    void descriptionsFollowTheSourceBox()
    {
        QFETCH(bool, box2IsSource);
        QFETCH(QString, box1);
        QFETCH(QString, box2);
        QFETCH(QString, arrow);
        TfmMain& w = *m_window;
        w.lstUnits2->setCurrentRow(1);
        (box2IsSource ? w.edValue2 : w.edValue1)->setFocus();
        const auto spoken = [](QWidget* box) {
            const QAccessibleInterface* accessible = Accessible(box);
            return accessible->text(QAccessible::Name) + u':' + u' '
                + accessible->text(QAccessible::Description);
        };
        QCOMPARE(spoken(w.edValue1), box1);
        QCOMPARE(spoken(w.edValue2), box2);
        QVERIFY(Accessible(w.edValue1)->relations(QAccessible::Label).isEmpty());
        QCOMPARE(Accessible(w.Arrow2)->text(QAccessible::Name), arrow);
        QCOMPARE(Accessible(w.lstUnits2)->text(QAccessible::Description),
                 QStringLiteral("Tension crête à crête (Vcac / Vpp)"));
    }

    // Pressed by a screen reader, the spin button steps its spinner, and the box follows.
    void spinButtonsPress()
    {
        TfmMain& w = *m_window;
        QAccessibleInterface* spinner = Accessible(w.seEdValue1Precision);
        QCOMPARE(spinner->role(), QAccessible::SpinBox);
        QCOMPARE(spinner->text(QAccessible::Name),
                 QStringLiteral("Précision de la valeur 1 (nombre de décimales)"));
        QCOMPARE(spinner->childCount(), 2);
        QAccessibleInterface* up = spinner->child(0);
        QCOMPARE(up->text(QAccessible::Name), QStringLiteral("Augmenter"));
        QCOMPARE(up->parent()->object(), w.seEdValue1Precision);
        up->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(spinner->valueInterface()->currentValue().toInt(), 5);
        QCOMPARE(w.edValue1->Text(), QStringLiteral("1.00000"));
        QVERIFY(w.seEdValue1Precision->hasFocus());
    }

    // Red arrows and "-.--" are told in words; the arrows are pictures. What an assistive
    // tool writes into a box is the user's number, whether in part or whole, even in the
    // box's own format.
    void failureIsDescribed()
    {
        TfmMain& w = *m_window;
        QAccessibleInterface* box1 = Accessible(w.edValue1);
        QAccessibleInterface* box2 = Accessible(w.edValue2);
        QCOMPARE(Accessible(w.Arrow1)->role(), QAccessible::Graphic);
        QCOMPARE(box2->text(QAccessible::Description), QStringLiteral("convertie, Veff (Vrms)"));
        QCOMPARE(Accessible(w.Arrow1)->text(QAccessible::Description),
                 QStringLiteral("Conversion réussie"));
        w.lstUnits2->setCurrentRow(2); // dBm
        box1->editableTextInterface()->replaceText(0, box1->textInterface()->characterCount(),
                                                   QStringLiteral("0"));
        QCOMPARE(w.edValue2->Text(), QStringLiteral("-.--"));
        QCOMPARE(box2->text(QAccessible::Description),
                 QStringLiteral("convertie, dBm (1 mW / 50 ohms), conversion impossible"));
        QCOMPARE(Accessible(w.Arrow1)->text(QAccessible::Description),
                 QStringLiteral("Conversion impossible"));
        QCOMPARE(box1->text(QAccessible::Description), QStringLiteral("à convertir, Veff (Vrms)"));
        box1->editableTextInterface()->insertText(0, QStringLiteral("abc"));
        QCOMPARE(w.edValue1->Text(), QStringLiteral("abc0"));
        box1->setText(QAccessible::Value, QStringLiteral("1.0000"));
        QCOMPARE(w.edValue2->Text(), QStringLiteral("13.0103"));
        QCOMPARE(box2->text(QAccessible::Description),
                 QStringLiteral("convertie, dBm (1 mW / 50 ohms)"));
    }

    // Each new result is said by a notice that shows anew with it, wherever the focus is; a
    // move of the focus says nothing.
    void resultsAreSaid_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("said"); // empty: nothing
        const auto row = [](const char* name, const char* action, const char* said) {
            QTest::newRow(name) << QString::fromUtf8(action) << QString::fromUtf8(said);
        };
        row("typed", "type 2", "Valeur 2 : 2.0000 Veff (Vrms)");
        row("the focus into the result", "enter 2", "");
        row("a unit chosen", "unit 2", "Valeur 2 : 2.8284 Vcac (Vpp)");
    }

    void resultsAreSaid()
    {
        QFETCH(QString, action);
        QFETCH(QString, said);
        TfmMain& w = *m_window;
        auto* const notice = w.findChild<TSpokenNotice*>();
        QVERIFY(notice);
        QCOMPARE(Accessible(notice)->role(), QAccessible::Notification);
        QVERIFY(!notice->isVisible()); // the restored result is the window's first state
        QCOMPARE(Accessible(notice)->text(QAccessible::Name),
                 QStringLiteral("Valeur 2 : 1.0000 Veff (Vrms)")); // named, unsaid
        if (action == u"type 2")
            QTest::keyClicks(w.edValue1, QStringLiteral("2"));
        else if (action == u"enter 2")
            w.edValue2->setFocus();
        else
            w.lstUnits2->setCurrentRow(1);
        QCOMPARE(notice->isVisible(), !said.isEmpty());
        if (!said.isEmpty())
            QCOMPARE(Accessible(notice)->text(QAccessible::Name), said);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TfmMain> m_window;
};

QTEST_MAIN(TestAccessibleControls)
#include "tst_accessiblecontrols.moc"
