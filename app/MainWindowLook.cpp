#include "MainWindowLook.h"

#include "MenuStyler.h"
#include "PixelFont.h"
#include "TabCollectionItem.h"
#include "TabStrip.h"

namespace tarvane {

namespace {

QFont Tahoma11()
{
    return PixelFont(QStringLiteral("Tahoma"), 11);
}

} // namespace

void ApplyTabStrip1Layout(TTabStrip& strip)
{
    strip.setGeometry(8, 8, 537, 21);
    strip.SetTabPosition(pTop);
    strip.SetTabStyle(tsClassic);
    strip.SetBackgroundColor(clNavy);
    strip.SetSelectedColor(clPurple);
    strip.SetSelectedColorTo(clNone);
    strip.SetUnselectedColor(clBlue);
    strip.SetUnSelectedColorTo(clNavy);
    strip.SetGradientDirection(gdVertical);
    strip.SetHoverGradientDirection(gdVertical);
    strip.SetTextColor(clBlack);
    strip.SetTabBorderColor(clBlue);
    strip.SetTabHoverColor(clBlue);
    strip.SetTabHoverColorTo(clBlue);
    strip.SetTabHoverBorder(clBlue);
    strip.SetFont(Tahoma11());
    strip.SetFontColor(clYellow);
    strip.SetActiveFont(Tahoma11());
    strip.SetActiveFontColor(clYellow);
    strip.SetTabMargin(TTabMargin(8, 2, 0));
    strip.SetTabOverlap(0);
    strip.SetStartMargin(5);
    strip.SetEndMargin(5);
    strip.SetTabHeight(20);
    strip.SetLowerSelected(2);
    strip.SetShowScroller(ssAlways);
    strip.SetAutoScroll(true);
    strip.SetFreeOnClose(false);

    TTabCollectionItem* tab = strip.Tabs().Add();
    tab->SetCaption(QStringLiteral("Electrique"));
    tab->SetEnable(true);
    tab->SetVisible(true);
    tab->SetShowClose(false);
    tab->SetTabColor(clWindow);
    tab->SetTabColorTo(clNone);
    tab->SetImageIndex(0);
    tab->SetTag(0);
    strip.SetTabIndex(0);
}

// The stored layout keeps the blue preset's colours and fonts and sets only what differs.
void ApplyMenuStyler1Layout(TMenuStyler& styler)
{
    styler.SetStyle(osBlue);
    styler.SetAntiAlias(aaNone);
    styler.SetAutoThemeAdapt(false);

    styler.SetFontColor(clWindowText);
    styler.RootItem().SetFontColor(clWindowText);
    styler.SelectedItem().SetFontColor(clWindowText);
}

} // namespace tarvane
