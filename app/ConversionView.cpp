#include "ConversionView.h"

#include "ArrowIndicator.h"
#include "NumSpinEdit.h"
#include "PrecisionSpinner.h"
#include "TwoColorPalette.h"
#include "UnitIdentifiers.h"
#include "Units.h"
#include "frmMain.h"
#include "uRes.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

namespace tarvane {

TConversionView::TConversionView(const TConversionController* model, TfmMain* window)
    : QObject(window)
    , m_window(window)
{
    using Model = TConversionController;
    connect(model, &Model::TextChanged, this, &TConversionView::ShowText);
    connect(model, &Model::PrecisionChanged, this, &TConversionView::ShowPrecision);
    connect(model, &Model::PrecisionChoiceChanged, this, &TConversionView::ShowPrecisionChoice);
    connect(model, &Model::UnitChanged, this, &TConversionView::ShowUnit);
    connect(model, &Model::SourceChanged, this, &TConversionView::ShowSource);
    connect(model, &Model::OutcomeChanged, this, &TConversionView::ShowOutcome);
    connect(model, &Model::HistoryChanged, this, &TConversionView::ShowHistory);
}

TNumSpinEdit* TConversionView::Box(TValueBox box) const
{
    return box == vbValue1 ? m_window->edValue1 : m_window->edValue2;
}

TPrecisionSpinner* TConversionView::PrecisionSpinner(TValueBox box) const
{
    return box == vbValue1 ? m_window->seEdValue1Precision : m_window->seEdValue2Precision;
}

QLabel* TConversionView::UnitLabel(TValueBox box) const
{
    return box == vbValue1 ? m_window->lblUnit1 : m_window->lblUnit2;
}

QListWidget* TConversionView::UnitList(TValueBox box) const
{
    return box == vbValue1 ? m_window->lstUnits1 : m_window->lstUnits2;
}

void TConversionView::ShowText(TValueBox box, const QString& text)
{
    Box(box)->SetText(text);
}

// How many decimals the box lets the user type; the model's text comes next.
void TConversionView::ShowPrecision(TValueBox box, int precision)
{
    Box(box)->SetPrecision(precision);
}

void TConversionView::ShowPrecisionChoice(TValueBox box, int precision)
{
    TPrecisionSpinner* const spinner = PrecisionSpinner(box);
    if (spinner->Text() != QString::number(precision))
        spinner->SetValue(precision);
}

void TConversionView::ShowUnit(TValueBox box, int unit)
{
    UnitLabel(box)->setText(QString::fromUtf8(UnitShortNames.at(size_t(unit))));
    Box(box)->SetUnitSymbol(QString::fromUtf8(UnitIdentifiers.at(size_t(unit))));
    QListWidget* const list = UnitList(box);
    const QSignalBlocker blocker(list); // the user's choices only reach the model
    list->setCurrentRow(unit, QItemSelectionModel::ClearAndSelect);
    // Screen readers entering a list say its description, not the row chosen in it.
    list->setAccessibleDescription(QString::fromUtf8(UnitLongNames.at(size_t(unit))));
}

void TConversionView::ShowSource(TValueBox source)
{
    TNumSpinEdit* const sourceBox = Box(source);
    TNumSpinEdit* const targetBox = Box(source == vbValue1 ? vbValue2 : vbValue1);
    sourceBox->SetTag(1);
    targetBox->SetTag(0);
    sourceBox->SetLabelCaption(SValueToConvert.toString());
    targetBox->SetLabelCaption(SConvertedValue.toString());
    const TArrowDirection direction = source == vbValue1 ? pdRight : pdLeft;
    m_window->Arrow1->SetDirection(direction);
    m_window->Arrow2->SetDirection(direction);
}

void TConversionView::ShowOutcome(TValueBox target, bool targetFailed, bool failed)
{
    TNumSpinEdit* const targetBox = Box(target);
    Box(target == vbValue1 ? vbValue2 : vbValue1)->SetColor(clBlack);
    targetBox->SetColor(clBlack);
    targetBox->SetFontColor(targetFailed ? clRed : clAqua);
    const TColor high = failed ? clRed : clLime;
    m_window->Arrow1->Palette()->SetHigh(high);
    m_window->Arrow2->Palette()->SetHigh(high);
}

void TConversionView::ShowHistory(TValueBox box, bool canUndo, bool canRedo)
{
    Box(box)->SetUndoAvailable(canUndo, canRedo);
}

} // namespace tarvane
