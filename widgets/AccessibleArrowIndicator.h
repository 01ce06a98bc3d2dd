#pragma once

#include <QAccessibleWidget>

namespace tarvane {

class TArrowIndicator;

// An arrow as a screen reader sees it: an indicator named after the way it points (unless
// the owner names it), described by the owner's accessible description.
class TAccessibleArrowIndicator : public QAccessibleWidget {
public:
    explicit TAccessibleArrowIndicator(TArrowIndicator* arrow);

    QString text(QAccessible::Text type) const override;
};

} // namespace tarvane
