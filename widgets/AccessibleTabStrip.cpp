#include "AccessibleTabStrip.h"

#include "CustomTabStrip.h"
#include "TabCollectionItem.h"

#include <QPointer>

namespace tarvane {

namespace {

// One tab of the strip; it has no widget of its own, so it answers for the strip's area.
class TAccessibleTab : public QAccessibleInterface {
public:
    TAccessibleTab(const TAccessibleTabStrip* strip, int index)
        : m_strip(strip->Strip())
        , m_index(index)
    {
    }

    bool isValid() const override { return m_strip && Item(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_strip);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Name && Item() ? Item()->Caption() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!m_strip)
            return {};
        const QRect tab = m_strip->TabRect(m_index);
        return QRect(m_strip->mapToGlobal(tab.topLeft()), tab.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.selected = m_strip && m_strip->TabIndex() == m_index;
        state.disabled = Item() && !Item()->Enable();
        state.invisible = rect().isEmpty();
        return state;
    }

private:
    TTabCollectionItem* Item() const { return m_strip ? m_strip->Tabs().Items(m_index) : nullptr; }

    QPointer<TCustomTabStrip> m_strip;
    int m_index;
};

} // namespace

TAccessibleTabStrip::TAccessibleTabStrip(TCustomTabStrip* strip)
    : QAccessibleWidget(strip, QAccessible::PageTabList)
{
}

TAccessibleTabStrip::~TAccessibleTabStrip()
{
    for (const QAccessible::Id id : std::as_const(m_tabs))
        QAccessible::deleteAccessibleInterface(id);
}

TCustomTabStrip* TAccessibleTabStrip::Strip() const
{
    return static_cast<TCustomTabStrip*>(widget());
}

QList<int> TAccessibleTabStrip::VisibleTabs() const
{
    QList<int> tabs;
    for (int i = 0; i < Strip()->Tabs().Count(); ++i) {
        if (Strip()->Tabs().Items(i)->Visible())
            tabs.append(i);
    }
    return tabs;
}

int TAccessibleTabStrip::childCount() const
{
    return int(VisibleTabs().size());
}

QAccessibleInterface* TAccessibleTabStrip::child(int index) const
{
    const QList<int> tabs = VisibleTabs();
    if (index < 0 || index >= tabs.size())
        return nullptr;
    const int tab = tabs[index];
    if (!m_tabs.contains(tab))
        m_tabs.insert(tab, QAccessible::registerAccessibleInterface(new TAccessibleTab(this, tab)));
    return QAccessible::accessibleInterface(m_tabs.value(tab));
}

int TAccessibleTabStrip::indexOfChild(const QAccessibleInterface* child) const
{
    const QList<int> tabs = VisibleTabs();
    for (int i = 0; i < tabs.size(); ++i) {
        if (m_tabs.contains(tabs[i]) && QAccessible::accessibleInterface(m_tabs[tabs[i]]) == child)
            return i;
    }
    return -1;
}

} // namespace tarvane
