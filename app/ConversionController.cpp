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
    m_converted = true; // 1 in unit 0 is 1 in unit 0
    m_toldPrefs = Prefs();
    m_toldResult = ResultText();
}

// The user's actions ---------------------------------------------------------------------------

void TConversionController::MakeSource(TValueBox box)
{
    SetSource(box);
    ShowRoles();
    ShowOutcome();
    m_toldResult = ResultText(); // a move of the focus converts nothing: nothing new to hear
    TellChanges();
}

void TConversionController::LeaveBox(TValueBox box)
{
    m_boxes[box].text = Rendering(box);
    ShowText(box); // also over the box's own re-formatting, which reads the number again
}

void TConversionController::EditText(TValueBox box, const QString& text)
{
    m_boxes[box].text = text;
    SetSource(box); // what the user puts in a box is what converts
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
    if (level)
        state.unit = level->unit.unit;
    RaisePrecisionFor(box, *number, level ? level->decimals : DecimalsWritten(result, state.unit));
    // A level shows in the box's format; a plain number as written, until the box is left.
    state.text = level ? Shown(*number, state.precision) : result;
    SetNumber(box, number);
    SetSource(box);
    UpdateTarget();
    emit UnitChanged(box, state.unit);
    ShowPrecision(box);
    ShowText(box);
    ShowConversion();
    TellChanges();
    return true;
}

void TConversionController::SetUnit(TValueBox box, int unit)
{
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
    const int precisions[2] = {prefs.Value1precision, prefs.Value2precision};
    const int units[2] = {prefs.Value1Index, prefs.Value2Index};
    for (const TValueBox box : {vbValue1, vbValue2}) {
        m_boxes[box].precision = std::clamp(precisions[box], MinPrecision, MaxPrecision);
        if (units[box] < UnitCount)
            m_boxes[box].unit = units[box];
    }
    m_source = vbValue1;
    SetNumber(vbValue1, prefs.Value1);
    m_boxes[vbValue1].text = Shown(prefs.Value1, m_boxes[vbValue1].precision);
    UpdateTarget();
    for (const TValueBox box : {vbValue1, vbValue2}) {
        emit UnitChanged(box, m_boxes[box].unit);
        ShowPrecision(box);
    }
    ShowText(vbValue1);
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

// The box's number in its format; a text that reads as no number, or none, shows as it is.
QString TConversionController::Rendering(TValueBox box) const
{
    const TBoxState& state = m_boxes[box];
    if (state.text.isEmpty() || !state.number)
        return state.text;
    return Shown(*state.number, state.precision);
}

// Changing the state ----------------------------------------------------------------------------

void TConversionController::SetSource(TValueBox box)
{
    if (box != m_source)
        m_converted = false;
    m_source = box;
}

void TConversionController::SetNumber(TValueBox box, std::optional<double> number)
{
    m_boxes[box].number = number;
    if (box == vbValue1 && number)
        m_value1 = *number;
}

// The target takes the engine's result for the source's number.
void TConversionController::UpdateTarget()
{
    SetNumber(Target(), Result());
    TBoxState& target = m_boxes[Target()];
    target.text = target.number ? Shown(*target.number, target.precision) : FailureText.toString();
    m_converted = true;
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
}

} // namespace tarvane
