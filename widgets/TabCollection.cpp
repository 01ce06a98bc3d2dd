#include "TabCollection.h"

#include "CustomTabStrip.h"
#include "TabCollectionItem.h"

namespace tarvane {

TTabCollection::TTabCollection(TCustomTabStrip& owner)
    : m_owner(owner)
{
}

TTabCollection::~TTabCollection() = default;

TTabCollectionItem* TTabCollection::Add()
{
    auto& item = m_items.emplace_back(std::make_unique<TTabCollectionItem>(*this));
    m_owner.TabAdded(*item);
    return item.get();
}

void TTabCollection::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    m_items.erase(m_items.begin() + index);
    m_owner.TabsRemoved();
}

void TTabCollection::Clear()
{
    m_items.clear();
    m_owner.TabsRemoved();
}

TTabCollectionItem* TTabCollection::Items(int index) const
{
    return index >= 0 && index < Count() ? m_items[std::size_t(index)].get() : nullptr;
}

void TTabCollection::Changed()
{
    m_owner.TabsChanged();
}

} // namespace tarvane
