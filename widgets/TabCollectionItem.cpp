#include "TabCollectionItem.h"

#include "TabCollection.h"

namespace tarvane {

TTabCollectionItem::TTabCollectionItem(TTabCollection& collection)
    : m_collection(collection)
{
}

template <typename T>
void TTabCollectionItem::Assign(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    m_collection.Changed();
}

// clang-format off
void TTabCollectionItem::SetCaption(const QString& value) { Assign(m_caption, value); }
void TTabCollectionItem::SetEnable(bool value) { Assign(m_enable, value); }
void TTabCollectionItem::SetVisible(bool value) { Assign(m_visible, value); }
void TTabCollectionItem::SetShowClose(bool value) { Assign(m_showClose, value); }
void TTabCollectionItem::SetTextColor(TColor value) { Assign(m_textColor, value); }
void TTabCollectionItem::SetTabColor(TColor value) { Assign(m_tabColor, value); }
void TTabCollectionItem::SetTabColorTo(TColor value) { Assign(m_tabColorTo, value); }
void TTabCollectionItem::SetImageIndex(int value) { Assign(m_imageIndex, value); }
// clang-format on

void TTabCollectionItem::SetTabGradientDirection(TGradientDirection value)
{
    Assign(m_tabGradientDirection, value);
}

void TTabCollectionItem::SetHoverGradientDirection(TGradientDirection value)
{
    Assign(m_hoverGradientDirection, value);
}

} // namespace tarvane
