#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>

namespace tarvane {

class TCustomTabStrip;

// A tab strip as a screen reader sees it: a page tab list whose children are its visible
// tabs, each a page tab named by its caption and selected when it is the strip's tab.
class TAccessibleTabStrip : public QAccessibleWidget {
public:
    explicit TAccessibleTabStrip(TCustomTabStrip* strip);
    ~TAccessibleTabStrip() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    TCustomTabStrip* Strip() const;
    QList<int> VisibleTabs() const; // tab indexes, in strip order

private:
    mutable QHash<int, QAccessible::Id> m_tabs; // tab index to its registered interface
};

} // namespace tarvane
