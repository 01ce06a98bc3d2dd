// What a screen reader is told about the main window's controls, through Qt's accessibility
// interfaces: names that follow the source box, spin buttons that press, a failed
// conversion told in words. (Announcements need a live accessibility bridge: the
// screen-reader test checks them.)
#include "AccessibleFactory.h"
#include "ArrowIndicator.h"
#include "NumSpinEdit.h"
#include "RepeatSpeedButton.h"
#include "SpinButtons.h"
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

    void namesFollowTheSourceBox_data()
    {
        QTest::addColumn<bool>("box2IsSource");
        QTest::addColumn<QString>("box1");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<QString>("arrow");
        QTest::newRow("box 1") << false << "Valeur 1 à convertir, Veff (Vrms)"
                               << "Valeur 2 convertie, Vcac (Vpp)"
                               << "Sens de conversion : de la valeur 1 vers la valeur 2";
        QTest::newRow("box 2") << true << "Valeur 1 convertie, Veff (Vrms)"
                               << "Valeur 2 à convertir, Vcac (Vpp)"
                               << "Sens de conversion : de la valeur 2 vers la valeur 1";
    }

    void namesFollowTheSourceBox()
    {
        QFETCH(bool, box2IsSource);
        QFETCH(QString, box1);
        QFETCH(QString, box2);
        QFETCH(QString, arrow);
        TfmMain& w = *m_window;
        w.lstUnits2->setCurrentRow(1);
        (box2IsSource ? w.edValue2 : w.edValue1)->setFocus();
        QCOMPARE(Accessible(w.edValue1)->text(QAccessible::Name), box1);
        QCOMPARE(Accessible(w.edValue2)->text(QAccessible::Name), box2);
        QCOMPARE(Accessible(w.Arrow2)->text(QAccessible::Name), arrow);
    }

    // Pressed by a screen reader, the spin button steps its spinner, and the box follows.
    void spinButtonsPress()
    {
        TfmMain& w = *m_window;
        QAccessibleInterface* spinner = Accessible(w.seEdValue1Precision);
        QCOMPARE(spinner->role(), QAccessible::SpinBox);
        QCOMPARE(spinner->childCount(), 2);
        QAccessibleInterface* up = spinner->child(0);
        QCOMPARE(up->text(QAccessible::Name), QStringLiteral("Augmenter"));
        QCOMPARE(up->parent()->object(), w.seEdValue1Precision);
        up->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(spinner->valueInterface()->currentValue().toInt(), 5);
        QCOMPARE(w.edValue1->Text(), QStringLiteral("1.00000"));
        QVERIFY(w.seEdValue1Precision->hasFocus());
    }

    // Red arrows and "-.--" are told in words; the source box, where the user types, is
    // described by each outcome; the arrows are pictures. What an assistive tool writes into
    // a box is the user's number, whether in part or whole, even in the box's own format.
    void failureIsDescribed()
    {
        TfmMain& w = *m_window;
        QAccessibleInterface* box1 = Accessible(w.edValue1);
        QAccessibleInterface* box2 = Accessible(w.edValue2);
        QCOMPARE(Accessible(w.Arrow1)->role(), QAccessible::Graphic);
        QCOMPARE(box2->text(QAccessible::Description), QString());
        QCOMPARE(Accessible(w.Arrow1)->text(QAccessible::Description),
                 QStringLiteral("Conversion réussie"));
        w.lstUnits2->setCurrentRow(2); // dBm
        box1->editableTextInterface()->replaceText(0, box1->textInterface()->characterCount(),
                                                   QStringLiteral("0"));
        QCOMPARE(w.edValue2->Text(), QStringLiteral("-.--"));
        QVERIFY(box2->text(QAccessible::Description).startsWith(u"Conversion impossible"));
        QCOMPARE(Accessible(w.Arrow1)->text(QAccessible::Description),
                 QStringLiteral("Conversion impossible"));
        QCOMPARE(box1->text(QAccessible::Description), QStringLiteral("Conversion impossible"));
        box1->editableTextInterface()->insertText(0, QStringLiteral("abc"));
        QCOMPARE(w.edValue1->Text(), QStringLiteral("abc0"));
        box1->setText(QAccessible::Value, QStringLiteral("1.0000"));
        QCOMPARE(w.edValue2->Text(), QStringLiteral("13.0103"));
        QCOMPARE(box2->text(QAccessible::Description), QString());
        QCOMPARE(box1->text(QAccessible::Description),
                 QStringLiteral("13.0103 dBm (1 mW / 50 ohms)"));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TfmMain> m_window;
};

QTEST_MAIN(TestAccessibleControls)
#include "tst_accessiblecontrols.moc"
