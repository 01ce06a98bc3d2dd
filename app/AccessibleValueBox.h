#pragma once

#include "AccessibleNumSpinEdit.h"
#include "ConversionController.h"

#include <optional>

namespace tarvane {

// A value box of the main window as a screen reader sees it: named by which box it is
// ("Valeur 1"), a name that never changes, its text as its value, described by its part in
// the conversion and its own unit ("à convertir, Veff (Vrms)"), to which a box showing no
// number adds that the conversion is impossible. So a screen reader entering a box says
// "Valeur 1", the number, then "à convertir, Veff (Vrms)", and never the other box's number.
// The caption above the box names only its part, the same for either box: it is not given as
// the box's label, which screen readers would say instead of the name. Everything is read from the window's conversion
// controller when asked; TConversionAnnouncer announces changes and says the results.
// The window's other spin edits (the precision spinners) are plain spin edits.
class TAccessibleValueBox : public TAccessibleNumSpinEdit {
public:
    explicit TAccessibleValueBox(TNumSpinEdit* box);

    QString text(QAccessible::Text type) const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override;

private:
    const TConversionController* Controller() const;
    std::optional<TValueBox> Box() const;
};

} // namespace tarvane
