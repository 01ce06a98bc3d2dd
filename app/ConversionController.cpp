#include "ConversionController.h"

#include "LevelText.h"
#include "NumberText.h"
#include "Units.h"
#include "uConv.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace tarvane {

namespace {

constexpr QStringView FailureText = u"-.--";

// From this magnitude on, the fixed form shows a number in the general form anyway.
constexpr double GeneralFormMagnitude = 1e15;

QString Shown(double number, int precision)
{
    return FloatToText(number, precision, QLocale());
}

// How many decimals show every digit of a plain number as written, read as a level in the
// box's unit; 0 when the level reader does not take it.
int DecimalsWritten(const QString& number, int unit)
{
    const QString level = number + u' ' + QString::fromUtf8(UnitIdentifiers.at(size_t(unit)));
    const std::optional<Level> read = ReadLevel(level.toStdString(), unit);
    return read ? read->decimals : 0;
}

} // namespace

TConversionController::TConversionController(QObject* parent)
    : QObject(parent)
{
    for (TBoxState& box : m_boxes)
        box.text = Shown(*box.number, box.precision);
    m_toldPrefs = Prefs();
    m_toldResult = ResultText();
}

// The user's actions ---------------------------------------------------------------------------

void TConversionController::MakeSource(TValueBox box)
{
    EndRun();
    m_source = box;
    ShowRoles();
    ShowOutcome();
    m_toldResult = ResultText(); // a move of the focus converts nothing: nothing new to hear
    TellChanges();
}

void TConversionController::LeaveBox(TValueBox box)
{
    EndRun();
    m_boxes[box].text = Rendering(box);
    ShowText(box);
}

void TConversionController::EditText(TValueBox box, const QString& text)
{
    Record(box, TRun::Typing);
    m_boxes[box].text = text;
    m_source = box; // what the user puts in a box is what converts
    if (text.isEmpty()) {
        ShowRoles();
    } else {
        SetNumber(box, UserTextToFloat(text, QLocale()));
        UpdateTarget();
        ShowConversion();
    }
    TellChanges();
}

bool TConversionController::Paste(TValueBox box, const QString& pasted, const QString& result)
{
    TBoxState& state = m_boxes[box];
    const std::optional<Level> written = ReadLevel(pasted.toStdString(), state.unit);
    const std::optional<Level> level = written ? InListedUnit(*written) : std::nullopt;
    const std::optional<double> number = level ? level->value.ToDouble()
        : result.isEmpty()                     ? std::nullopt
                                               : UserTextToFloat(result, QLocale());
    if (!number)
        return false;
    Record(box, TRun::None);
    if (level)
        state.unit = level->unit.unit;
    RaisePrecisionFor(box, *number, level ? level->decimals : DecimalsWritten(result, state.unit));
    // A level shows in the box's format; a plain number as written, until the box is left.
    state.text = level ? Shown(*number, state.precision) : result;
    SetNumber(box, number);
    m_source = box;
    UpdateTarget();
    emit UnitChanged(box, state.unit);
    ShowPrecision(box);
    ShowText(box);
    ShowConversion();
    TellChanges();
    return true;
}

void TConversionController::Step(TValueBox box, double increment)
{
    Record(box, TRun::Stepping);
    TBoxState& state = m_boxes[box];
    const double number = state.number.value_or(0.0) + increment;
    state.text = Shown(number, state.precision);
    SetNumber(box, number);
    m_source = box;
    UpdateTarget();
    ShowText(box);
    ShowConversion();
    TellChanges();
}

void TConversionController::Undo(TValueBox box)
{
    EndRun();
    if (CanUndo(box))
        PutBack(box, m_undo, m_redo);
}

void TConversionController::Redo(TValueBox box)
{
    EndRun();
    if (CanRedo(box))
        PutBack(box, m_redo, m_undo);
}

void TConversionController::SetUnit(TValueBox box, int unit)
{
    EndRun();
    TBoxState& state = m_boxes[box];
    const bool changed = unit >= 0 && unit < UnitCount && unit != state.unit;
    if (changed) {
        state.unit = unit;
        UpdateTarget();
    }
    emit UnitChanged(box, state.unit); // also after a click that left the list without one
    if (changed)
        ShowConversion();
    TellChanges();
}

void TConversionController::SetPrecision(TValueBox box, std::optional<int> precision)
{
    EndRun();
    TBoxState& state = m_boxes[box];
    if (!precision || std::clamp(*precision, MinPrecision, MaxPrecision) == state.precision)
        return;
    state.precision = std::clamp(*precision, MinPrecision, MaxPrecision);
    state.text = Rendering(box);
    emit PrecisionChanged(box, state.precision);
    ShowText(box);
    TellChanges();
}

void TConversionController::LeavePrecision(TValueBox box)
{
    emit PrecisionChoiceChanged(box, m_boxes[box].precision);
}

void TConversionController::Convert()
{
    UpdateTarget();
    ShowConversion();
    TellChanges();
}

void TConversionController::Restore(const TUserPrefs& prefs)
{
    EndRun();
    m_undo.clear();
    m_redo.clear();
    const int precisions[2] = {prefs.Value1precision, prefs.Value2precision};
    const int units[2] = {prefs.Value1Index, prefs.Value2Index};
    for (const TValueBox box : {vbValue1, vbValue2}) {
        m_boxes[box].precision = std::clamp(precisions[box], MinPrecision, MaxPrecision);
        if (units[box] < UnitCount)
            m_boxes[box].unit = units[box];
    }
    m_lastNumbers[vbValue1] = prefs.Value1; // kept when box 1 cannot show box 2's number
    m_source = prefs.Value2 ? vbValue2 : vbValue1;
    const double given = prefs.Value2.value_or(prefs.Value1);
    SetNumber(m_source, given);
    m_boxes[m_source].text = Shown(given, m_boxes[m_source].precision);
    UpdateTarget();
    for (const TValueBox box : {vbValue1, vbValue2}) {
        emit UnitChanged(box, m_boxes[box].unit);
        ShowPrecision(box);
    }
    ShowText(m_source);
    ShowConversion();
    TellChanges();
}

// Reading the state ----------------------------------------------------------------------------

bool TConversionController::Failed() const
{
    return !m_boxes[vbValue1].number || !m_boxes[vbValue2].number;
}

QString TConversionController::ResultText() const
{
    if (Failed())
        return QStringLiteral("Conversion impossible");
    const TBoxState& target = m_boxes[Target()];
    return QStringLiteral("Valeur %1 : %2 %3")
        .arg(Target() == vbValue1 ? 1 : 2)
        .arg(Shown(*target.number, target.precision),
             QString::fromUtf8(UnitShortNames.at(size_t(target.unit))));
}

TUserPrefs TConversionController::Prefs() const
{
    const std::optional<double> value2 =
        Given() == vbValue2 ? std::optional(m_lastNumbers[vbValue2]) : std::nullopt;
    return {quint8(m_boxes[vbValue1].precision),
            quint8(m_boxes[vbValue2].precision),
            quint8(m_boxes[vbValue1].unit),
            quint8(m_boxes[vbValue2].unit),
            m_lastNumbers[vbValue1],
            value2};
}

bool TConversionController::CanUndo(TValueBox box) const
{
    return !m_undo.empty() && m_undo.back().editedIn == box;
}

bool TConversionController::CanRedo(TValueBox box) const
{
    return !m_redo.empty() && m_redo.back().editedIn == box;
}

// The engine's result in the box for the other box's number.
std::optional<double> TConversionController::ResultFor(TValueBox box) const
{
    const TBoxState& from = m_boxes[Other(box)];
    const TBoxState& to = m_boxes[box];
    if (!from.number || from.unit == to.unit)
        return from.number;
    return TryConvertValue(*from.number, from.unit, to.unit);
}

// The box's number in its format; a text that reads as no number, or none, shows as it is.
QString TConversionController::Rendering(TValueBox box) const
{
    const TBoxState& state = m_boxes[box];
    if (state.text.isEmpty() || !state.number)
        return state.text;
    return Shown(*state.number, state.precision);
}

// Changing the state ----------------------------------------------------------------------------

void TConversionController::SetNumber(TValueBox box, std::optional<double> number)
{
    m_boxes[box].number = number;
    if (number)
        m_lastNumbers[box] = *number;
}

void TConversionController::ConvertInto(TValueBox box)
{
    SetNumber(box, ResultFor(box));
    TBoxState& state = m_boxes[box];
    state.text = state.number ? Shown(*state.number, state.precision) : FailureText.toString();
}

// The target takes the engine's result for the source's number, in place of whatever undo
// could have put back there.
void TConversionController::UpdateTarget()
{
    ConvertInto(Target());
    ForgetHistory(Target());
    m_given = m_source;
}

// A number given with `decimals` digits after the separator shows them all: the box's
// precision rises to them; beyond what the fixed form shows, the general form (precision 0)
// shows the number whole.
void TConversionController::RaisePrecisionFor(TValueBox box, double value, int decimals)
{
    int& precision = m_boxes[box].precision;
    if (precision == 0)
        return;
    if (decimals > MaxPrecision || std::fabs(value) >= GeneralFormMagnitude)
        precision = 0;
    else
        precision = std::max(precision, decimals);
}

// Undo and redo -----------------------------------------------------------------------------------

TConversionController::TGiven TConversionController::GivenNow(TValueBox editedIn) const
{
    const TValueBox given = Given();
    const TBoxState& state = m_boxes[given];
    const bool rendered = state.number && state.text == Shown(*state.number, state.precision);
    return {given, state.number, state.text, rendered, state.unit, editedIn};
}

// Before an edit in the box: what undo is to put back, unless the edit goes on a run.
void TConversionController::Record(TValueBox box, TRun run)
{
    if (run != TRun::None && run == m_run && box == m_runBox)
        return;
    m_run = run;
    m_runBox = box;
    m_undo.push_back(GivenNow(box));
    m_redo.clear();
}

void TConversionController::ForgetHistory(TValueBox box)
{
    for (std::vector<TGiven>* history : {&m_undo, &m_redo})
        std::erase_if(*history, [box](const TGiven& given) { return given.editedIn == box; });
}

// Takes the last of `from` back, keeping what it replaces in `to`. The other box shows the
// given number converted; when that is the box worked in, the focus being there, it stays the
// source of a conversion yet to come.
void TConversionController::PutBack(TValueBox box, std::vector<TGiven>& from,
                                    std::vector<TGiven>& to)
{
    to.push_back(GivenNow(box));
    const TGiven given = from.back();
    from.pop_back();
    TBoxState& state = m_boxes[given.box];
    state.unit = given.unit;
    state.text = given.rendered ? Shown(*given.number, state.precision) : given.text;
    SetNumber(given.box, given.number);
    ConvertInto(Other(given.box));
    m_given = given.box;
    m_source = box;
    emit UnitChanged(given.box, given.unit);
    ShowText(vbValue1);
    ShowText(vbValue2);
    ShowRoles();
    ShowOutcome();
    TellChanges();
}

// Telling what changed --------------------------------------------------------------------------

void TConversionController::ShowText(TValueBox box)
{
    emit TextChanged(box, m_boxes[box].text);
}

void TConversionController::ShowPrecision(TValueBox box)
{
    emit PrecisionChanged(box, m_boxes[box].precision);
    emit PrecisionChoiceChanged(box, m_boxes[box].precision);
}

void TConversionController::ShowRoles()
{
    emit SourceChanged(m_source);
}

void TConversionController::ShowOutcome()
{
    emit OutcomeChanged(Target(), !m_boxes[Target()].number, Failed());
}

void TConversionController::ShowConversion()
{
    ShowText(Target());
    ShowRoles();
    ShowOutcome();
}

void TConversionController::TellChanges()
{
    if (const TUserPrefs prefs = Prefs(); prefs != m_toldPrefs) {
        m_toldPrefs = prefs;
        emit PrefsChanged(prefs);
    }
    if (const QString result = ResultText(); result != m_toldResult) {
        m_toldResult = result;
        emit ResultTextChanged(result);
    }
    for (const TValueBox box : {vbValue1, vbValue2}) {
        bool* const told = m_toldHistory[box];
        if (told[0] != CanUndo(box) || told[1] != CanRedo(box)) {
            told[0] = CanUndo(box);
            told[1] = CanRedo(box);
            emit HistoryChanged(box, told[0], told[1]);
        }
    }
}

} // namespace tarvane
