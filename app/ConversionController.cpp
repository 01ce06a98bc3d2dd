#include "ConversionController.h"

#include "ArrowIndicator.h"
#include "LevelText.h"
#include "NumSpinEdit.h"
#include "NumberText.h"
#include "TwoColorPalette.h"
#include "Units.h"
#include "frmMain.h"
#include "uConv.h"
#include "uRes.h"

#include <QListWidget>
#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

namespace tarvane {

namespace {

constexpr QStringView FailureText = u"-.--";

QString ShortName(int unit)
{
    const std::string_view name = UnitShortNames.at(size_t(unit));
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

} // namespace

TConversionController::TConversionController(TfmMain* window)
    : QObject(window)
    , m_window(window)
{
}

TNumSpinEdit* TConversionController::Edit(TValueBox box) const
{
    return box == vbValue1 ? m_window->edValue1 : m_window->edValue2;
}

// The user's actions --------------------------------------------------------------------------

void TConversionController::MakeSource(TValueBox box)
{
    if (box != m_source)
        m_converted = false;
    m_source = box;
    ShowState();
}

void TConversionController::BoxTextChanged(TValueBox box)
{
    TNumSpinEdit* const edit = Edit(box);
    TBoxState& state = m_boxes[box];
    // A box left while it shows no number ("-.--", or a text that reads as none) re-shows
    // itself as the number 0: the focus moving on is no reason to invent a number.
    if (!state.number && !edit->hasFocus()
        && edit->Text() == FloatToText(edit->FloatValue(), state.precision, QLocale())) {
        WriteText(box, state.text);
        return;
    }
    const TUserPrefs before = Prefs();
    state.users = true;
    state.text = edit->Text();
    if (box != m_source)
        m_converted = false;
    m_source = box; // what the user puts in a box is what converts
    if (edit->Text().isEmpty()) {
        ShowRoles(); // an empty box keeps its last number and converts nothing
        return;
    }
    TakeNumber(box, edit->ParsedFloatValue());
    Update();
    NotifyIfChanged(before);
}

void TConversionController::Convert()
{
    const TUserPrefs before = Prefs();
    Update();
    NotifyIfChanged(before);
}

// Setters for the window and its commands ------------------------------------------------------

void TConversionController::SetNumber(TValueBox box, double value)
{
    const TUserPrefs before = Prefs();
    PutNumber(box, value);
    NotifyIfChanged(before);
}

bool TConversionController::TakeLevel(TValueBox box, const QString& text)
{
    TBoxState& state = m_boxes[box];
    const std::optional<Level> level = ReadLevel(text.toStdString(), state.unit);
    if (!level)
        return false;
    const TUserPrefs before = Prefs();
    state.unit = level->unit;
    // Precision 0 is the general form, which already shows every digit.
    if (state.precision > 0)
        state.precision = std::clamp(level->decimals, state.precision, MaxPrecision);
    ShowUnit(box);
    ShowPrecision(box);
    PutNumber(box, level->value);
    NotifyIfChanged(before);
    return true;
}

void TConversionController::SetUnit(TValueBox box, int unit)
{
    const TUserPrefs before = Prefs();
    if (unit >= 0 && unit < UnitCount) {
        m_boxes[box].unit = unit;
        Update();
    }
    ShowUnit(box); // also after a click that left the list without a selection
    NotifyIfChanged(before);
}

void TConversionController::SetPrecision(TValueBox box, int precision)
{
    const TUserPrefs before = Prefs();
    m_boxes[box].precision = std::clamp(precision, MinPrecision, MaxPrecision);
    ShowPrecision(box);
    if (box == Target())
        Update();
    else
        ReshowSource();
    NotifyIfChanged(before);
}

void TConversionController::Restore(const TUserPrefs& prefs)
{
    const TUserPrefs before = Prefs();
    const int precisions[2] = {prefs.Value1precision, prefs.Value2precision};
    const int units[2] = {prefs.Value1Index, prefs.Value2Index};
    for (const TValueBox box : {vbValue1, vbValue2}) {
        m_boxes[box].precision = std::clamp(precisions[box], MinPrecision, MaxPrecision);
        ShowPrecision(box);
        if (units[box] < UnitCount)
            m_boxes[box].unit = units[box];
        ShowUnit(box);
    }
    m_source = vbValue1;
    m_boxes[vbValue1].users = true;
    WriteText(vbValue1, FloatToText(prefs.Value1, m_boxes[vbValue1].precision, QLocale()));
    TakeNumber(vbValue1, Edit(vbValue1)->ParsedFloatValue());
    Update();
    NotifyIfChanged(before);
}

// Reading the state --------------------------------------------------------------------------

bool TConversionController::Failed() const
{
    return !m_boxes[vbValue1].number || !m_boxes[vbValue2].number;
}

QString TConversionController::ResultText() const
{
    if (Failed())
        return QStringLiteral("Conversion impossible");
    const TBoxState& target = m_boxes[Target()];
    return FloatToText(*target.number, target.precision, QLocale()) + u' ' + ShortName(target.unit);
}

TUserPrefs TConversionController::Prefs() const
{
    return {quint8(m_boxes[vbValue1].precision), quint8(m_boxes[vbValue2].precision),
            quint8(m_boxes[vbValue1].unit), quint8(m_boxes[vbValue2].unit), m_value1};
}

std::optional<double> TConversionController::Result() const
{
    const TBoxState& source = m_boxes[m_source];
    const TBoxState& target = m_boxes[Target()];
    if (!source.number || source.unit == target.unit)
        return source.number;
    return TryConvertValue(*source.number, source.unit, target.unit);
}

// Changing the state ---------------------------------------------------------------------------

// The target takes the engine's result for the source's number.
void TConversionController::Update()
{
    m_boxes[Target()].users = false;
    TakeNumber(Target(), Result());
    m_converted = true;
    ShowState();
}

// The user's number in a box, shown at its precision: the box becomes the source and its
// number is what that text reads.
void TConversionController::PutNumber(TValueBox box, double value)
{
    m_source = box;
    m_boxes[box].users = true;
    WriteText(box, FloatToText(value, m_boxes[box].precision, QLocale()));
    TakeNumber(box, Edit(box)->ParsedFloatValue());
    Update();
}

void TConversionController::TakeNumber(TValueBox box, std::optional<double> number)
{
    m_boxes[box].number = number;
    if (box == vbValue1 && number)
        m_value1 = *number;
}

// After a precision change of the source: the user's number is re-shown at the new
// precision and becomes what it then reads (lowering the precision rounds it); the
// controller's exact number stays and only shows more or fewer of its digits. A box that
// shows no number, or is empty, keeps its text.
void TConversionController::ReshowSource()
{
    TBoxState& source = m_boxes[m_source];
    if (!source.number || Edit(m_source)->Text().isEmpty())
        return;
    WriteText(m_source, FloatToText(*source.number, source.precision, QLocale()));
    if (source.users) {
        TakeNumber(m_source, Edit(m_source)->ParsedFloatValue());
        Update();
    }
}

void TConversionController::NotifyIfChanged(const TUserPrefs& before)
{
    if (Prefs() != before)
        Notify(OnStateChange, this);
}

// Showing the state ------------------------------------------------------------------------------

void TConversionController::ShowState()
{
    ShowRoles();
    ShowTarget();
    Edit(m_source)->SetColor(clBlack);
    const TColor high = Failed() ? clRed : clLime;
    m_window->Arrow1->Palette()->SetHigh(high);
    m_window->Arrow2->Palette()->SetHigh(high);
}

void TConversionController::ShowRoles()
{
    TNumSpinEdit* const source = Edit(m_source);
    TNumSpinEdit* const target = Edit(Target());
    source->SetTag(1);
    target->SetTag(0);
    source->SetLabelCaption(SValueToConvert.toString());
    target->SetLabelCaption(SConvertedValue.toString());
    const TArrowDirection direction = m_source == vbValue1 ? pdRight : pdLeft;
    m_window->Arrow1->SetDirection(direction);
    m_window->Arrow2->SetDirection(direction);
}

// The target shows the result, unless the user's own number stays there since the focus
// last moved.
void TConversionController::ShowTarget()
{
    const TBoxState& state = m_boxes[Target()];
    if (!state.users) {
        WriteText(Target(),
                  state.number ? FloatToText(*state.number, state.precision, QLocale())
                               : FailureText.toString());
    }
    TNumSpinEdit* const target = Edit(Target());
    target->SetColor(clBlack);
    target->SetFontColor(state.number ? clAqua : clRed);
}

void TConversionController::ShowUnit(TValueBox box)
{
    const int unit = m_boxes[box].unit;
    (box == vbValue1 ? m_window->lblUnit1 : m_window->lblUnit2)->setText(ShortName(unit));
    const std::string_view symbol = UnitIdentifiers.at(size_t(unit));
    Edit(box)->SetUnitSymbol(QString::fromUtf8(symbol.data(), qsizetype(symbol.size())));
    QListWidget* const list = box == vbValue1 ? m_window->lstUnits1 : m_window->lstUnits2;
    const QSignalBlocker blocker(list);
    list->setCurrentRow(unit, QItemSelectionModel::ClearAndSelect);
}

// The box's format and its spinner follow the precision; the box's text is left to the
// caller, who knows which number it shows.
void TConversionController::ShowPrecision(TValueBox box)
{
    const int precision = m_boxes[box].precision;
    TNumSpinEdit* const edit = Edit(box);
    const QString text = edit->Text();
    {
        const TNotifyEvent onChange = std::exchange(edit->OnChange, nullptr);
        edit->SetPrecision(precision);
        edit->SetText(text);
        edit->OnChange = onChange;
    }
    TNumSpinEdit* const spinner =
        box == vbValue1 ? m_window->seEdValue1Precision : m_window->seEdValue2Precision;
    if (spinner->Value() != precision && !spinner->hasFocus()) {
        const TNotifyEvent onChange = std::exchange(spinner->OnChange, nullptr);
        spinner->SetValue(precision);
        spinner->OnChange = onChange;
    }
}

void TConversionController::WriteText(TValueBox box, const QString& text)
{
    TNumSpinEdit* const edit = Edit(box);
    const TNotifyEvent onChange = std::exchange(edit->OnChange, nullptr);
    edit->SetText(text);
    edit->OnChange = onChange;
    m_boxes[box].text = text;
}

} // namespace tarvane
