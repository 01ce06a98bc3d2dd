#pragma once

#include <QProxyStyle>

class QMenu;
class QStyleOptionMenuItem;

namespace tarvane {

class TCustomMenuStyler;
class TStyledMainMenu;

// Measures and draws a styled main menu's root items and its drop-down menus from the
// menu's current styler, in place of the platform look. Private helper of TStyledMainMenu.
class TStyledMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit TStyledMenuStyle(const TStyledMainMenu& menu);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;

private:
    const TCustomMenuStyler& Styler() const;

    QSize MeasureRootItem(const QStyleOptionMenuItem& item, const QSize& proposal) const;
    QSize MeasureDropDownItem(const QStyleOptionMenuItem& item, const QSize& proposal) const;

    void DrawRootBand(QPainter& painter, const QRect& rect, const QWidget* bar) const;
    void DrawRootItem(QPainter& painter, const QStyleOptionMenuItem& item,
                      const QWidget* bar) const;
    void DrawDropDownItem(QPainter& painter, const QStyleOptionMenuItem& item) const;
    void DrawItemBackground(QPainter& painter, const QRect& rect) const;
    void DrawSeparator(QPainter& painter, const QRect& rect) const;
    void DrawCheckMark(QPainter& painter, const QStyleOptionMenuItem& item, bool highlighted) const;
    void DrawCaption(QPainter& painter, const QStyleOptionMenuItem& item, bool highlighted) const;
    void DrawDropDownFrame(QPainter& painter, const QRect& rect, const QWidget* widget) const;
    // The root item a drop-down hangs from, in the drop-down's coordinates; empty when the
    // drop-down is not the bar's or does not hang right below its root item.
    QRect RootItemAbove(const QMenu& menu) const;
    int TextFlags(const QStyleOption& option, const QWidget* widget) const;

    const TStyledMainMenu& m_menu;
};

} // namespace tarvane
