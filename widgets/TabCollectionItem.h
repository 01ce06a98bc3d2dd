#pragma once

#include "GradientFill.h"
#include "TColor.h"

#include <QString>

namespace tarvane {

class TTabCollection;

// One tab of a tab strip. Its colours start from the strip's settings at the time it is
// added; every change repaints the strip.
class TTabCollectionItem {
public:
    explicit TTabCollectionItem(TTabCollection& collection);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    bool Enable() const { return m_enable; }
    void SetEnable(bool value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    bool ShowClose() const { return m_showClose; }
    void SetShowClose(bool value);
    TColor TextColor() const { return m_textColor; }
    void SetTextColor(TColor value);
    TColor TabColor() const { return m_tabColor; }
    void SetTabColor(TColor value);
    TColor TabColorTo() const { return m_tabColorTo; }
    void SetTabColorTo(TColor value);
    TGradientDirection TabGradientDirection() const { return m_tabGradientDirection; }
    void SetTabGradientDirection(TGradientDirection value);
    TGradientDirection HoverGradientDirection() const { return m_hoverGradientDirection; }
    void SetHoverGradientDirection(TGradientDirection value);
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value);
    int Tag() const { return m_tag; }
    void SetTag(int value) { m_tag = value; }

private:
    template <typename T>
    void Assign(T& field, const T& value);

    TTabCollection& m_collection;
    QString m_caption;
    bool m_enable = true;
    bool m_visible = true;
    bool m_showClose = false;
    TColor m_textColor = clBlack;
    TColor m_tabColor = clWindow;
    TColor m_tabColorTo = clNone;
    TGradientDirection m_tabGradientDirection = gdVertical;
    TGradientDirection m_hoverGradientDirection = gdVertical;
    int m_imageIndex = -1;
    int m_tag = 0;
};

} // namespace tarvane
