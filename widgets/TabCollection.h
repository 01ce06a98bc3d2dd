#pragma once

#include <memory>
#include <vector>

namespace tarvane {

class TCustomTabStrip;
class TTabCollectionItem;

// The ordered tabs of a strip. The strip owns the collection, the collection owns its tabs.
class TTabCollection {
public:
    explicit TTabCollection(TCustomTabStrip& owner);
    ~TTabCollection();
    TTabCollection(const TTabCollection&) = delete;
    TTabCollection& operator=(const TTabCollection&) = delete;

    // Appends a tab coloured from the strip's current settings and selects tab 0.
    TTabCollectionItem* Add();
    // Removes the tab at `index`; an index out of range changes nothing.
    void Delete(int index);
    void Clear();

    int Count() const { return int(m_items.size()); }
    // The tab at `index`, or nullptr when there is none.
    TTabCollectionItem* Items(int index) const;

    // A tab changed: the strip lays out and repaints.
    void Changed();

private:
    TCustomTabStrip& m_owner;
    std::vector<std::unique_ptr<TTabCollectionItem>> m_items;
};

} // namespace tarvane
