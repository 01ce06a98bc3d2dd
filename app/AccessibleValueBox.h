#pragma once

#include "AccessibleNumSpinEdit.h"
#include "ConversionController.h"

#include <optional>

namespace tarvane {

// A value box of the main window as a screen reader sees it: named by which box it is, its
// part in the conversion and its unit ("Valeur 1 à convertir, Veff (Vrms)"), its text as its
// value. The source box is described by the conversion's outcome ("2,8284 Vcac (Vpp)", or
// "Conversion impossible"), so that the user typing there hears the result; the target is
// described only when the conversion failed. Everything is read from the window's
// conversion controller when asked; TConversionAnnouncer announces changes.
// The window's other spin edits (the precision spinners) are plain spin edits.
class TAccessibleValueBox : public TAccessibleNumSpinEdit {
public:
    explicit TAccessibleValueBox(TNumSpinEdit* box);

    QString text(QAccessible::Text type) const override;

private:
    const TConversionController* Controller() const;
    std::optional<TValueBox> Box() const;
};

} // namespace tarvane
