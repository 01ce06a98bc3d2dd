#pragma once
// What the value box's tests share: typing, the main window's pair of boxes, locales.
#include "WidgetTesting.h"

#include "Beep.h"
#include "DesktopFonts.h"
#include "NumSpinEdit.h"
#include "NumberKeyFilter.h"
#include "NumberText.h"
#include "PrecisionSpinner.h"
#include "RefusalCue.h"
#include "RepeatSpeedButton.h"
#include "SpinButtons.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>

namespace tarvane::testing {

inline const QString NarrowNoBreakSpace = QString(QChar(0x202F));

inline void Type(QWidget* widget, const QString& characters)
{
    for (const QChar c : characters) {
        const Qt::Key key = c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        Press(widget, key, QString(c));
    }
}

// The main window's pair of controls: a value box and a precision spinner, plus a plain
// edit that takes the focus away. The value box's owner records the steps asked for and
// answers each with stepAnswer, when there is one, as the window's model answers with the
// number stepped.
struct Window {
    QWidget form;
    TNumSpinEdit* value = new TNumSpinEdit(&form);
    TPrecisionSpinner* spinner = new TPrecisionSpinner(&form);
    QLineEdit* elsewhere = new QLineEdit(&form);
    int valueChanges = 0;
    int valueUserChanges = 0;
    int spinnerChanges = 0;
    QList<double> steps;
    QString stepAnswer;

    Window()
    {
        form.resize(600, 200);
        value->setGeometry(16, 64, 233, 37);
        value->SetSpinType(sptFloat);
        value->SetPrecision(4);
        value->SetSigned(true);
        value->SetIncrementFloat(1);
        value->SetIncrementFloatPage(1);
        value->SetFlat(true);
        value->SetEditAlign(eaCenter);
        value->SetColor(clBlack);
        value->SetFlatLineColor(clBlue);
        value->SetFocusColor(clBlue);
        value->SetFocusBorderColor(clBlue);
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(27);
        font.setBold(true);
        value->setFont(font);
        value->SetFontColor(clAqua);
        value->SetLabelPosition(lpTopCenter);
        value->SetLabelMargin(8);
        QFont labelFont(QStringLiteral("MS Sans Serif"));
        labelFont.setPixelSize(11);
        value->SetLabelFont(labelFont);
        value->SetLabelFontColor(clSilver);
        value->SetLabelCaption(QStringLiteral("Valeur à convertir"));

        spinner->setGeometry(300, 110, 41, 18);
        spinner->SetMinValue(0);
        spinner->SetMaxValue(10);
        spinner->SetValue(4);
        spinner->SetAutoSelect(false);
        spinner->SetFlat(true);
        spinner->SetEditAlign(eaCenter);
        spinner->SetColor(clBlack);
        spinner->SetFocusColor(clBlack);
        spinner->SetFocusBorderColor(clBlack);
        spinner->setFont(labelFont);
        spinner->SetFontColor(clSilver);

        elsewhere->setGeometry(400, 10, 100, 20);
        value->Loaded();
        spinner->Loaded();
        value->OnChange = [this](QObject*) { ++valueChanges; };
        value->OnUserChange = [this](QObject*) { ++valueUserChanges; };
        value->OnStep = [this](QObject*, double increment) {
            steps << increment;
            if (!stepAnswer.isEmpty())
                value->SetText(stepAnswer);
        };
        spinner->OnChange = [this](QObject*) { ++spinnerChanges; };
    }

    void Show()
    {
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        elsewhere->setFocus(Qt::OtherFocusReason);
    }

    // Puts the caret into a box as a click would, without selecting.
    void Focus(TNumSpinEdit* box)
    {
        box->setFocus(Qt::MouseFocusReason);
        QVERIFY(box->hasFocus());
    }
};

inline QLocale LocaleNamed(const QString& name)
{
    return name == QLatin1String("fr") ? QLocale(QLocale::French, QLocale::France)
                                       : QLocale(QLocale::English, QLocale::UnitedStates);
}

// Desktop faces registered once, English number forms before each test.
class NumSpinEditFixture : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { RegisterDesktopFonts(); }
    void init() { QLocale::setDefault(LocaleNamed(QStringLiteral("en"))); }
};

// The keyboard half of the box's tests, run by tst_numspinedit's main.
int RunNumSpinEditKeyTests(int argc, char** argv);

} // namespace tarvane::testing
