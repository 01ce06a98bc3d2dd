#pragma once

#include "GradientFill.h"
#include "Notify.h"
#include "TColor.h"
#include "TabCollection.h"
#include "TabMargin.h"

#include <QFont>
#include <QWidget>

#include <functional>

namespace tarvane {

class TScroller;
class TTabCollectionItem;

enum TTabPosition { pLeft, pRight, pTop, pBottom };
enum TTabStyle { tsClassic, tsRounded };
enum TShowScroller { ssAuto, ssAlways };

// Asked before the selected tab changes; clearing AllowChange keeps the current tab.
using TTabChangeEvent = std::function<void(QObject* Sender, int NewTab, bool& AllowChange)>;

// A strip of owner-drawn tabs with colours, gradients, hover colours and a small scroller
// for tabs that do not fit. Tabs are drawn along the top edge in the classic square style
// whatever TabPosition and TabStyle hold (Tarvane uses no other); the whole strip is drawn
// off-screen first and copied in one block, so it never flickers.
class TCustomTabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TCustomTabStrip(QWidget* parent = nullptr);
    ~TCustomTabStrip() override;

    // Ends layout loading: from now on clicks raise OnChange and OnChanged.
    void Loaded();

    TTabCollection& Tabs() { return m_tabs; }
    const TTabCollection& Tabs() const { return m_tabs; }

    int TabIndex() const { return m_tabIndex; }
    // Selects a tab (-1 for none) without raising notifications; out of range is ignored.
    void SetTabIndex(int value);
    TTabPosition TabPosition() const { return m_tabPosition; }
    void SetTabPosition(TTabPosition value);
    TTabStyle TabStyle() const { return m_tabStyle; }
    void SetTabStyle(TTabStyle value);

    TColor BackgroundColor() const { return m_backgroundColor; }
    void SetBackgroundColor(TColor value);
    TColor SelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(TColor value);
    TColor SelectedColorTo() const { return m_selectedColorTo; }
    void SetSelectedColorTo(TColor value);
    TColor UnselectedColor() const { return m_unselectedColor; }
    void SetUnselectedColor(TColor value);
    TColor UnSelectedColorTo() const { return m_unselectedColorTo; }
    void SetUnSelectedColorTo(TColor value);
    TColor TextColor() const { return m_textColor; }
    void SetTextColor(TColor value);
    TColor TabBorderColor() const { return m_tabBorderColor; }
    void SetTabBorderColor(TColor value);
    TGradientDirection GradientDirection() const { return m_gradientDirection; }
    void SetGradientDirection(TGradientDirection value);
    TGradientDirection HoverGradientDirection() const { return m_hoverGradientDirection; }
    void SetHoverGradientDirection(TGradientDirection value);
    TColor TabHoverColor() const { return m_tabHoverColor; }
    void SetTabHoverColor(TColor value);
    TColor TabHoverColorTo() const { return m_tabHoverColorTo; }
    void SetTabHoverColorTo(TColor value);
    TColor TabHoverBorder() const { return m_tabHoverBorder; }
    void SetTabHoverBorder(TColor value);

    // Caption font of unselected tabs (their colour is the tab's TextColor).
    QFont Font() const { return m_font; }
    void SetFont(const QFont& value);
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);
    // Caption font and colour of the selected tab.
    QFont ActiveFont() const { return m_activeFont; }
    void SetActiveFont(const QFont& value);
    TColor ActiveFontColor() const { return m_activeFontColor; }
    void SetActiveFontColor(TColor value);

    TTabMargin TabMargin() const { return m_tabMargin; }
    void SetTabMargin(const TTabMargin& value);
    int TabOverlap() const { return m_tabOverlap; }
    void SetTabOverlap(int value);
    int StartMargin() const { return m_startMargin; }
    void SetStartMargin(int value);
    int EndMargin() const { return m_endMargin; }
    void SetEndMargin(int value);
    int TabHeight() const { return m_tabHeight; }
    void SetTabHeight(int value);
    int LowerSelected() const { return m_lowerSelected; }
    void SetLowerSelected(int value);
    TShowScroller ShowScroller() const { return m_showScroller; }
    void SetShowScroller(TShowScroller value);
    bool AutoScroll() const { return m_autoScroll; }
    void SetAutoScroll(bool value) { m_autoScroll = value; }
    bool FreeOnClose() const { return m_freeOnClose; }
    void SetFreeOnClose(bool value) { m_freeOnClose = value; }

    TTabChangeEvent OnChange;
    TNotifyEvent OnChanged;

    // Geometry of the current layout, in strip pixels.
    // The drawn rectangle of a tab; empty when the tab is hidden or scrolled away.
    QRect TabRect(int index) const;
    // The tab under `point`, or -1.
    int TabAt(const QPoint& point) const;
    // The unselected tab under the pointer, or -1.
    int HoverTab() const { return m_hoverTab; }
    TScroller* Scroller() const { return m_scroller; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    friend class TTabCollection;
    void TabAdded(TTabCollectionItem& item);
    void TabsRemoved();
    void TabsChanged();

    template <typename T>
    void Assign(T& field, const T& value);
    void Relayout();

    int BandLeft() const;
    int BandRight() const;
    int TabWidth(const TTabCollectionItem& tab) const;
    int FirstScrollableTab() const;
    int LastFirstTab() const;
    void PlaceScroller();
    void UpdateScroller();
    void ScrollToSelected();
    void SetHoverTab(int index);
    void SelectByUser(int index);

    void DrawTab(QPainter& painter, int index) const;
    void FillTab(QPainter& painter, const QRect& rect, int index) const;
    void DrawCaption(QPainter& painter, const QRect& rect, int index) const;
    void DrawBaseLine(QPainter& painter) const;

    TTabCollection m_tabs{*this};
    TScroller* m_scroller = nullptr;
    bool m_loaded = false;
    int m_tabIndex = -1;
    int m_hoverTab = -1;
    TTabPosition m_tabPosition = pTop;
    TTabStyle m_tabStyle = tsClassic;
    TColor m_backgroundColor = clBtnFace;
    TColor m_selectedColor = clBtnFace;
    TColor m_selectedColorTo = clNone;
    TColor m_unselectedColor = clWindow;
    TColor m_unselectedColorTo = clNone;
    TColor m_textColor = clBlack;
    TColor m_tabBorderColor = clGray;
    TGradientDirection m_gradientDirection = gdVertical;
    TGradientDirection m_hoverGradientDirection = gdVertical;
    TColor m_tabHoverColor = clNone;
    TColor m_tabHoverColorTo = clNone;
    TColor m_tabHoverBorder = clNone;
    QFont m_font;
    TColor m_fontColor = clBlack;
    QFont m_activeFont;
    TColor m_activeFontColor = clBlack;
    TTabMargin m_tabMargin;
    int m_tabOverlap = 0;
    int m_startMargin = 5;
    int m_endMargin = 5;
    int m_tabHeight = 20;
    int m_lowerSelected = 2;
    TShowScroller m_showScroller = ssAlways;
    bool m_autoScroll = true;
    bool m_freeOnClose = false;
};

} // namespace tarvane
