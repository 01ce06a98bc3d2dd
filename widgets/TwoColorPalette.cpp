#include "TwoColorPalette.h"

namespace tarvane {

TTwoColorPalette::TTwoColorPalette(QObject* parent)
    : TNotifyPersistent(parent)
{
}

void TTwoColorPalette::SetLow(TColor value)
{
    Store(m_low, value);
}

void TTwoColorPalette::SetHigh(TColor value)
{
    Store(m_high, value);
}

void TTwoColorPalette::Assign(const TTwoColorPalette& source)
{
    // Read both first: the source may be this palette.
    const TColor low = source.Low();
    const TColor high = source.High();
    BeginUpdate();
    SetLow(low);
    SetHigh(high);
    EndUpdate();
}

TColor TTwoColorPalette::Colors(int index) const
{
    return index <= 0 ? m_low : m_high;
}

void TTwoColorPalette::Store(TColor& field, TColor value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

} // namespace tarvane
