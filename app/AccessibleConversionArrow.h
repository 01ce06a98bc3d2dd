#pragma once

#include "AccessibleArrowIndicator.h"

namespace tarvane {

// One of the main window's arrows as a screen reader sees it: a picture named by the way the
// conversion goes, from the source box to the target, and described by its outcome, which
// the arrow's colour shows. Read from the window when asked.
class TAccessibleConversionArrow : public TAccessibleArrowIndicator {
public:
    explicit TAccessibleConversionArrow(TArrowIndicator* arrow);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text type) const override;

    // The conversion the arrow's window shows failed.
    static bool ConversionFailed(const QWidget* arrow);
};

} // namespace tarvane
