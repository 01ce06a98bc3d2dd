#pragma once

#include "NotifyPersistent.h"
#include "TColor.h"

namespace tarvane {

// Two colours a control paints its dim and lit states with. Every real change notifies the
// owner, so the control can recolour itself.
class TTwoColorPalette : public TNotifyPersistent {
    Q_OBJECT
public:
    explicit TTwoColorPalette(QObject* parent = nullptr);

    TColor Low() const { return m_low; }
    void SetLow(TColor value);
    TColor High() const { return m_high; }
    void SetHigh(TColor value);

    // Copies both colours and notifies once at most.
    void Assign(const TTwoColorPalette& source);

    // Colour number index: Low for 0 and below, High above.
    TColor Colors(int index) const;

private:
    void Store(TColor& field, TColor value);

    TColor m_low = clGreen;
    TColor m_high = clLime;
};

} // namespace tarvane
