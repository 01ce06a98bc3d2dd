#include "PrecisionSpinner.h"

#include <algorithm>
#include <climits>

namespace tarvane {

namespace {

// Digits with an optional sign: an integer, however long.
bool IsIntegerText(const QString& text)
{
    const qsizetype start = text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'));
    return text.size() > start && std::all_of(text.cbegin() + start, text.cend(), [](QChar c) {
               return c.isDigit() && c.unicode() < 0x80;
           });
}

} // namespace

TPrecisionSpinner::TPrecisionSpinner(QWidget* parent)
    : TNumSpinEdit(parent)
{
    SetSpinType(sptNormal);
}

int TPrecisionSpinner::Value() const
{
    const QString trimmed = text().trimmed();
    if (trimmed.isEmpty())
        return 0;
    bool ok = false;
    const int value = trimmed.toInt(&ok, 10);
    if (ok)
        return value;
    // Digits beyond 32 bits still spell a number: the nearest one there is.
    if (IsIntegerText(trimmed))
        return trimmed.startsWith(QLatin1Char('-')) ? INT_MIN : INT_MAX;
    return m_minValue;
}

void TPrecisionSpinner::SetValue(int value)
{
    WriteText(QString::number(Clamped(value)));
    if (!EditorEnabled() && AutoSelect())
        selectAll();
}

// Bounds hold once loading is over, and only when there are any.
int TPrecisionSpinner::Clamped(int value) const
{
    if (Loading() || (m_minValue == 0 && m_maxValue == 0))
        return value;
    return std::clamp(value, m_minValue, m_maxValue);
}

void TPrecisionSpinner::MakeStep(int direction, bool page)
{
    const long long step = direction * static_cast<long long>(page ? m_incrementPage : m_increment);
    const long long value = std::clamp<long long>(Value() + step, INT_MIN, INT_MAX);
    AsUser([&] { SetValue(int(value)); });
}

void TPrecisionSpinner::MakeUndo()
{
    Edit([this] { undo(); });
}

void TPrecisionSpinner::MakeRedo()
{
    Edit([this] { redo(); });
}

void TPrecisionSpinner::LeaveBox()
{
    if (!text().isEmpty()) {
        const int value = Value();
        if (Clamped(value) != value)
            SetValue(value);
    }
    TNumSpinEdit::LeaveBox();
}

} // namespace tarvane
