#pragma once

#include "GradientFill.h"
#include "TColor.h"

#include <QFont>

#include <functional>

namespace tarvane {

// A colour group of a menu styler: a colour, an optional second colour (clNone: solid) and
// the direction of the gradient between them. Every change tells the styler, which
// repaints its menus.
class TGradientBar {
public:
    TGradientBar() = default;
    TGradientBar(const TGradientBar&) = delete;
    TGradientBar& operator=(const TGradientBar&) = delete;

    TColor Color() const { return m_color; }
    void SetColor(TColor value) { Assign(m_color, value); }
    TColor ColorTo() const { return m_colorTo; }
    void SetColorTo(TColor value) { Assign(m_colorTo, value); }
    TGradientDirection GradientDirection() const { return m_gradientDirection; }
    void SetGradientDirection(TGradientDirection value) { Assign(m_gradientDirection, value); }

    // Called by the owning styler only.
    void SetChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

protected:
    template <typename T>
    void Assign(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        if (m_changed)
            m_changed();
    }

private:
    std::function<void()> m_changed;
    TColor m_color = clBtnFace;
    TColor m_colorTo = clNone;
    TGradientDirection m_gradientDirection = gdVertical;
};

// The menu bar behind the root items, and the hot and open root item.
class TRootItem : public TGradientBar {
public:
    TColor HoverColor() const { return m_hover.Color; }
    void SetHoverColor(TColor value) { Assign(m_hover.Color, value); }
    TColor HoverColorTo() const { return m_hover.ColorTo; }
    void SetHoverColorTo(TColor value) { Assign(m_hover.ColorTo, value); }
    TGradientDirection HoverGradientDirection() const { return m_hover.Direction; }
    void SetHoverGradientDirection(TGradientDirection value) { Assign(m_hover.Direction, value); }
    TColor HoverBorderColor() const { return m_hover.BorderColor; }
    void SetHoverBorderColor(TColor value) { Assign(m_hover.BorderColor, value); }
    TColor HoverFontColor() const { return m_hover.FontColor; }
    void SetHoverFontColor(TColor value) { Assign(m_hover.FontColor, value); }
    TColor SelectedColor() const { return m_selected.Color; }
    void SetSelectedColor(TColor value) { Assign(m_selected.Color, value); }
    TColor SelectedColorTo() const { return m_selected.ColorTo; }
    void SetSelectedColorTo(TColor value) { Assign(m_selected.ColorTo, value); }
    TGradientDirection SelectedGradientDirection() const { return m_selected.Direction; }
    void SetSelectedGradientDirection(TGradientDirection value)
    {
        Assign(m_selected.Direction, value);
    }
    TColor SelectedBorderColor() const { return m_selected.BorderColor; }
    void SetSelectedBorderColor(TColor value) { Assign(m_selected.BorderColor, value); }
    TColor SelectedFontColor() const { return m_selected.FontColor; }
    void SetSelectedFontColor(TColor value) { Assign(m_selected.FontColor, value); }
    QFont Font() const { return m_font; }
    void SetFont(const QFont& value) { Assign(m_font, value); }
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value) { Assign(m_fontColor, value); }

private:
    // How the item is drawn in one state: under the pointer, or open.
    struct TStateLook {
        TColor Color = clNone;
        TColor ColorTo = clNone;
        TGradientDirection Direction = gdVertical;
        TColor BorderColor = clNone;
        TColor FontColor = clWindowText;
    };

    TStateLook m_hover;
    TStateLook m_selected;
    QFont m_font;
    TColor m_fontColor = clWindowText;
};

// A colour group that also colours the boxes behind check and radio marks.
class TMarkBoxes : public TGradientBar {
public:
    TColor CheckColor() const { return m_checkColor; }
    void SetCheckColor(TColor value) { Assign(m_checkColor, value); }
    TColor CheckBorder() const { return m_checkBorder; }
    void SetCheckBorder(TColor value) { Assign(m_checkBorder, value); }
    TColor RadioBorder() const { return m_radioBorder; }
    void SetRadioBorder(TColor value) { Assign(m_radioBorder, value); }

private:
    TColor m_checkColor = clNone;
    TColor m_checkBorder = clNone;
    TColor m_radioBorder = clNone;
};

// The highlighted drop-down item.
class TSelectedItem : public TMarkBoxes {
public:
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor value) { Assign(m_borderColor, value); }
    QFont Font() const { return m_font; }
    void SetFont(const QFont& value) { Assign(m_font, value); }
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value) { Assign(m_fontColor, value); }

private:
    TColor m_borderColor = clNone;
    QFont m_font;
    TColor m_fontColor = clWindowText;
};

// The icon strip along the left of a drop-down, and its check and radio mark boxes.
class TIconBar : public TMarkBoxes {
public:
    int Size() const { return m_size; }
    void SetSize(int value) { Assign(m_size, value); }

private:
    int m_size = 24;
};

// The drop-down area right of the icon strip.
class TBackground : public TGradientBar {};

enum TSeparatorGradientType { gtLeft, gtRight, gtBoth };

// Separator lines of drop-downs.
class TSeparator : public TGradientBar {
public:
    int Width() const { return m_width; }
    void SetWidth(int value) { Assign(m_width, value); }
    int Margin() const { return m_margin; }
    void SetMargin(int value) { Assign(m_margin, value); }
    TSeparatorGradientType GradientType() const { return m_gradientType; }
    void SetGradientType(TSeparatorGradientType value) { Assign(m_gradientType, value); }
    int GradientWidth() const { return m_gradientWidth; }
    void SetGradientWidth(int value) { Assign(m_gradientWidth, value); }

private:
    int m_width = 1;
    int m_margin = 2;
    TSeparatorGradientType m_gradientType = gtBoth;
    int m_gradientWidth = 0;
};

} // namespace tarvane
