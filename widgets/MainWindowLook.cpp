#include "MainWindowLook.h"

#include "MenuStyler.h"
#include "TabCollectionItem.h"
#include "TabStrip.h"

namespace tarvane {

namespace {

QFont Tahoma(int pixelSize)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    return font;
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
    strip.SetFont(Tahoma(11));
    strip.SetFontColor(clYellow);
    strip.SetActiveFont(Tahoma(11));
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

void ApplyMenuStyler1Layout(TMenuStyler& styler)
{
    styler.SetStyle(osBlue);
    styler.SetAntiAlias(aaNone);
    styler.SetAutoThemeAdapt(false);

    styler.Background().SetColor(16185078);
    styler.Background().SetColorTo(16185078);
    styler.IconBar().SetColor(16773091);
    styler.IconBar().SetColorTo(14986631);
    styler.IconBar().SetCheckBorder(clNavy);
    styler.IconBar().SetRadioBorder(clNavy);
    styler.SelectedItem().SetBorderColor(clNavy);
    styler.SelectedItem().SetCheckBorder(clNavy);
    styler.SelectedItem().SetRadioBorder(clNavy);
    styler.RootItem().SetColor(16105118);
    styler.RootItem().SetColorTo(16240050);
    styler.RootItem().SetSelectedColor(16773091);
    styler.RootItem().SetSelectedColorTo(15185299);
    styler.RootItem().SetSelectedBorderColor(9841920);
    styler.RootItem().SetHoverColor(13432063);
    styler.RootItem().SetHoverColorTo(10147583);
    styler.Separator().SetColor(13339754);
    styler.Separator().SetGradientType(gtBoth);
    styler.SetMenuBorderColor(9841920);

    styler.SetFont(Tahoma(11));
    styler.SetFontColor(clWindowText);
    styler.RootItem().SetFont(Tahoma(11));
    styler.RootItem().SetFontColor(clWindowText);
    styler.SelectedItem().SetFont(Tahoma(11));
    styler.SelectedItem().SetFontColor(clWindowText);
    styler.SetNotesFont(Tahoma(8));
    styler.SetNotesFontColor(clGray);
}

} // namespace tarvane
