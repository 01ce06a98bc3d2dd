#pragma once

#include "AccessibleNumSpinEdit.h"

class QLabel;

namespace tarvane {

// A value box of the main window as a screen reader sees it: named by its caption and the
// unit under it ("Valeur à convertir, Veff (Vrms)"), its text as its value. While it shows
// the failure text "-.--" it is described as an impossible conversion.
// Everything is read from the window when asked; TConversionAnnouncer announces changes.
// The window's other spin edits (the precision spinners) are plain spin edits.
class TAccessibleValueBox : public TAccessibleNumSpinEdit {
public:
    explicit TAccessibleValueBox(TNumSpinEdit* box);

    QString text(QAccessible::Text type) const override;

    // The box shows that its number could not be converted.
    static bool ShowsFailure(const TNumSpinEdit* box);

private:
    const QLabel* UnitLabel() const;
};

} // namespace tarvane
