#include "StyledMenuStyle.h"

#include "CustomMenuStyler.h"
#include "GradientFill.h"
#include "StyledMainMenu.h"

#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace tarvane {

namespace {

// Root items: the root band's reference runs this far past the window's right edge, so the
// bar has not quite reached its end colour at the right.
constexpr int RootBandOverhang = 100;
// Root and drop-down items are at least this much taller than their caption.
constexpr int ItemTextPadding = 6;
// Drop-down items: space around the caption, from the icon strip to the right edge.
constexpr int CaptionGapLeft = 15;
constexpr int CaptionGapRight = 7;
constexpr int SubMenuArrowWidth = 17;
constexpr int CaptionIndent = 8;
constexpr int ShortcutRightGap = 10;
constexpr int CheckBoxInset = 2;
// The drop-down frame: one pixel of border colour, one of background colour.
constexpr int DropDownFrameWidth = 2;

QColor Resolve(TColor color)
{
    return ColorToQColor(color);
}

// Gradients of the menu change colour on every pixel.
void FillBar(QPainter& painter, const QRect& rect, TColor from, TColor to,
             TGradientDirection direction, const QRect& visible = QRect())
{
    const int extent = direction == gdVertical ? rect.height() : rect.width();
    FillBandedGradient(painter, rect, Resolve(from), Resolve(to), direction, std::max(2, extent),
                       visible);
}

void FillBar(QPainter& painter, const QRect& rect, const TGradientBar& bar)
{
    FillBar(painter, rect, bar.Color(), bar.ColorTo(), bar.GradientDirection());
}

void Outline(QPainter& painter, const QRect& rect, TColor color)
{
    if (color == clNone)
        return;
    painter.setPen(Resolve(color));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.x(), rect.y(), rect.width() - 1, rect.height() - 1);
}

QString CaptionPart(const QString& text)
{
    return text.section(QLatin1Char('\t'), 0, 0);
}

QString ShortcutPart(const QString& text)
{
    return text.section(QLatin1Char('\t'), 1);
}

// The width of a caption on one line, its accelerator marks ('&') not counted.
int CaptionWidth(const QFontMetrics& metrics, const QString& caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return metrics.horizontalAdvance(shown);
}

bool IsSeparator(const QStyleOptionMenuItem& item)
{
    return item.menuItemType == QStyleOptionMenuItem::Separator;
}

} // namespace

TStyledMenuStyle::TStyledMenuStyle(const TStyledMainMenu& menu)
    : m_menu(menu)
{
}

const TCustomMenuStyler& TStyledMenuStyle::Styler() const
{
    return m_menu.Styler();
}

int TStyledMenuStyle::TextFlags(const QStyleOption& option, const QWidget* widget) const
{
    return Qt::TextSingleLine
        | (proxy()->styleHint(SH_UnderlineShortcut, &option, widget) ? Qt::TextShowMnemonic
                                                                     : Qt::TextHideMnemonic);
}

QSize TStyledMenuStyle::MeasureRootItem(const QStyleOptionMenuItem& item,
                                        const QSize& proposal) const
{
    const QFontMetrics metrics(Styler().RootFont());
    const int caption = CaptionWidth(metrics, CaptionPart(item.text));
    // The bar gives each root item one menu character of room on either side.
    const int width = caption + 2 * metrics.averageCharWidth();
    return QSize(width, std::max(proposal.height(), metrics.height() + ItemTextPadding));
}

QSize TStyledMenuStyle::MeasureDropDownItem(const QStyleOptionMenuItem& item,
                                            const QSize& proposal) const
{
    const TCustomMenuStyler& styler = Styler();
    if (IsSeparator(item))
        return QSize(styler.IconBar().Size() + 2 * styler.Separator().Margin(),
                     styler.Separator().Width() + 2);
    QFont font = styler.ItemFont();
    font.setBold(item.menuItemType == QStyleOptionMenuItem::DefaultItem);
    const QFontMetrics metrics(font);
    // Qt adds the widest shortcut to every item of the menu after measuring the captions.
    const int caption = CaptionWidth(metrics, CaptionPart(item.text));
    const int width =
        styler.IconBar().Size() + CaptionGapLeft + caption + CaptionGapRight + SubMenuArrowWidth;
    int height = std::max(proposal.height() - 1, metrics.height() + ItemTextPadding);
    if (!item.icon.isNull())
        height = std::max(height, proxy()->pixelMetric(PM_SmallIconSize));
    height += height % 2;
    return QSize(width, height);
}

QSize TStyledMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                         const QSize& size, const QWidget* widget) const
{
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
        if (type == CT_MenuBarItem)
            return MeasureRootItem(*item, size);
        if (type == CT_MenuItem)
            return MeasureDropDownItem(*item, size);
    }
    if (type == CT_Menu)
        return size;
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int TStyledMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                  const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return DropDownFrameWidth;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuBarPanelWidth:
    case PM_MenuBarItemSpacing:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
    case PM_MenuDesktopFrameWidth:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int TStyledMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returnData) const
{
    switch (hint) {
    case SH_Menu_AllowActiveAndDisabled: // a disabled item can be highlighted, never chosen
    case SH_MenuBar_MouseTracking:
    case SH_Menu_MouseTracking:
    case SH_MenuBar_AltKeyNavigation:
    case SH_Menu_SpaceActivatesItem:
        return 1;
    case SH_Menu_FlashTriggeredItem:
    case SH_Menu_FadeOutOnHide:
    case SH_Menu_SupportsSections:
    case SH_DrawMenuBarSeparator:
    case SH_Menu_Mask:
        return 0;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

void TStyledMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    switch (element) {
    case CE_MenuBarEmptyArea:
        DrawRootBand(*painter, option->rect, widget);
        return;
    case CE_MenuBarItem:
        if (item)
            DrawRootItem(*painter, *item, widget);
        return;
    case CE_MenuEmptyArea:
        FillBar(*painter, option->rect, Styler().Background());
        return;
    case CE_MenuItem:
        if (item)
            DrawDropDownItem(*painter, *item);
        return;
    default:
        QProxyStyle::drawControl(element, option, painter, widget);
    }
}

void TStyledMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const
{
    switch (element) {
    case PE_PanelMenuBar:
        DrawRootBand(*painter, option->rect, widget);
        return;
    case PE_PanelMenu:
        FillBar(*painter, option->rect, Styler().Background());
        return;
    case PE_FrameMenu:
        DrawDropDownFrame(*painter, option->rect, widget);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void TStyledMenuStyle::DrawRootBand(QPainter& painter, const QRect& rect, const QWidget* bar) const
{
    // One gradient spans the window's client width and more, and each root item shows its
    // slice, so the items read as one continuous band.
    const TRootItem& root = Styler().RootItem();
    QRect reference(0, rect.top(), RootBandOverhang, rect.height());
    if (bar) {
        const QWidget* window = bar->window();
        reference.moveLeft(-bar->mapTo(window, QPoint(0, 0)).x());
        reference.setWidth(window->width() + RootBandOverhang);
    }
    FillBar(painter, reference, root.Color(), root.ColorTo(), root.GradientDirection(), rect);
}

void TStyledMenuStyle::DrawRootItem(QPainter& painter, const QStyleOptionMenuItem& item,
                                    const QWidget* bar) const
{
    const TRootItem& root = Styler().RootItem();
    const QRect& rect = item.rect;
    const bool enabled = item.state & State_Enabled;
    const bool current = enabled && (item.state & State_Selected);
    const bool open = current && (item.state & State_Sunken);
    TColor textColor = root.FontColor();
    if (open) {
        FillBar(painter, rect, root.SelectedColor(), root.SelectedColorTo(),
                root.SelectedGradientDirection());
        Outline(painter, rect, root.SelectedBorderColor());
        const auto* menuBar = qobject_cast<const QMenuBar*>(bar);
        const QAction* action = menuBar ? menuBar->actionAt(rect.center()) : nullptr;
        const QMenu* menu = action ? action->menu<QMenu*>() : nullptr;
        if (menu && !menu->actions().isEmpty()) {
            // Joins the item to its drop-down without a line between them.
            painter.fillRect(QRect(rect.left() + 1, rect.bottom(), rect.width() - 2, 1),
                             Resolve(Styler().Background().Color()));
        }
        textColor = root.SelectedFontColor();
    } else if (current) {
        FillBar(painter, rect, root.HoverColor(), root.HoverColorTo(),
                root.HoverGradientDirection());
        Outline(painter, rect, root.HoverBorderColor());
        textColor = root.HoverFontColor();
    } else {
        DrawRootBand(painter, rect, bar);
    }
    if (!enabled)
        textColor = clGrayText;
    painter.setFont(Styler().RootFont());
    painter.setPen(Resolve(textColor));
    painter.drawText(rect, Qt::AlignCenter | TextFlags(item, bar), CaptionPart(item.text));
}

void TStyledMenuStyle::DrawItemBackground(QPainter& painter, const QRect& rect) const
{
    const int iconBarSize = Styler().IconBar().Size();
    FillBar(painter, QRect(rect.left(), rect.top(), iconBarSize, rect.height()),
            Styler().IconBar());
    FillBar(painter,
            QRect(rect.left() + iconBarSize, rect.top(), rect.width() - iconBarSize, rect.height()),
            Styler().Background());
}

void TStyledMenuStyle::DrawSeparator(QPainter& painter, const QRect& rect) const
{
    const TSeparator& separator = Styler().Separator();
    const int left = rect.left() + Styler().IconBar().Size() + separator.Margin();
    const int right = rect.left() + rect.width() - separator.Margin();
    const QRect line(left, rect.top() + (rect.height() - separator.Width()) / 2, right - left,
                     separator.Width());
    FillBar(painter, line, separator.Color(), separator.ColorTo(), gdHorizontal);
    // The line may fade in from the background at either end.
    const int fade = std::min(separator.GradientWidth(), line.width() / 2);
    if (fade <= 0)
        return;
    const TColor background = Styler().Background().Color();
    if (separator.GradientType() != gtRight)
        FillBar(painter, QRect(line.left(), line.top(), fade, line.height()), background,
                separator.Color(), gdHorizontal);
    if (separator.GradientType() != gtLeft)
        FillBar(painter, QRect(line.right() - fade + 1, line.top(), fade, line.height()),
                separator.Color(), background, gdHorizontal);
}

void TStyledMenuStyle::DrawCheckMark(QPainter& painter, const QStyleOptionMenuItem& item,
                                     bool highlighted) const
{
    const bool radio = item.checkType == QStyleOptionMenuItem::Exclusive;
    const TCustomMenuStyler& styler = Styler();
    const TColor color =
        highlighted ? styler.SelectedItem().CheckColor() : styler.IconBar().CheckColor();
    const TColor border = highlighted
        ? (radio ? styler.SelectedItem().RadioBorder() : styler.SelectedItem().CheckBorder())
        : (radio ? styler.IconBar().RadioBorder() : styler.IconBar().CheckBorder());
    const QRect box =
        QRect(item.rect.left(), item.rect.top(), styler.IconBar().Size(), item.rect.height())
            .adjusted(CheckBoxInset, CheckBoxInset, -CheckBoxInset, -CheckBoxInset);
    if (color != clNone)
        painter.fillRect(box, Resolve(color));
    Outline(painter, box, border);
    const QPixmap glyph = radio ? styler.Glyphs().Radio() : styler.Glyphs().Check();
    const QRect glyphRect(QPoint(), glyph.deviceIndependentSize().toSize());
    painter.drawPixmap(glyphRect.translated(box.center() - glyphRect.center()), glyph);
}

void TStyledMenuStyle::DrawCaption(QPainter& painter, const QStyleOptionMenuItem& item,
                                   bool highlighted) const
{
    const TCustomMenuStyler& styler = Styler();
    const QRect& rect = item.rect;
    QFont font = highlighted ? styler.SelectedItemFont() : styler.ItemFont();
    font.setBold(item.menuItemType == QStyleOptionMenuItem::DefaultItem);
    QColor color = Resolve(highlighted ? styler.SelectedItem().FontColor() : styler.FontColor());
    if (!(item.state & State_Enabled)) {
        color = Resolve(clGrayText);
        // Grey on a highlight of the same grey would vanish.
        if (highlighted && item.palette.color(QPalette::Highlight) == color)
            color = item.palette.color(QPalette::Light);
    }
    painter.setFont(font);
    painter.setPen(color);
    const int flags = TextFlags(item, nullptr);
    const int left = rect.left() + styler.IconBar().Size() + CaptionIndent;
    painter.drawText(QRect(left, rect.top(), rect.right() - left, rect.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | flags, CaptionPart(item.text));
    const QString shortcut = ShortcutPart(item.text);
    if (!shortcut.isEmpty()) {
        painter.drawText(
            QRect(rect.left(), rect.top(), rect.width() - ShortcutRightGap, rect.height()),
            Qt::AlignRight | Qt::AlignVCenter | flags, shortcut);
    }
}

void TStyledMenuStyle::DrawDropDownItem(QPainter& painter, const QStyleOptionMenuItem& item) const
{
    const QRect& rect = item.rect;
    if (IsSeparator(item)) {
        DrawItemBackground(painter, rect);
        DrawSeparator(painter, rect);
        return;
    }
    const bool highlighted = item.state & State_Selected;
    if (highlighted) {
        FillBar(painter, rect, Styler().SelectedItem());
        Outline(painter, rect, Styler().SelectedItem().BorderColor());
    } else {
        DrawItemBackground(painter, rect);
    }
    if (item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked) {
        DrawCheckMark(painter, item, highlighted);
    } else if (!item.icon.isNull()) {
        const int iconSize = proxy()->pixelMetric(PM_SmallIconSize);
        const QRect strip(rect.left(), rect.top(), Styler().IconBar().Size(), rect.height());
        const QRect iconRect(strip.center() - QPoint(iconSize / 2, iconSize / 2),
                             QSize(iconSize, iconSize));
        item.icon.paint(&painter, iconRect, Qt::AlignCenter,
                        item.state & State_Enabled ? QIcon::Normal : QIcon::Disabled);
    }
    DrawCaption(painter, item, highlighted);
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
        const QPixmap arrow = Styler().Glyphs().SubMenu();
        const QRect arrowRect(QPoint(), arrow.deviceIndependentSize().toSize());
        const QRect column(rect.right() - SubMenuArrowWidth + 1, rect.top(), SubMenuArrowWidth,
                           rect.height());
        painter.drawPixmap(arrowRect.translated(column.center() - arrowRect.center()), arrow);
    }
}

QRect TStyledMenuStyle::RootItemAbove(const QMenu& menu) const
{
    for (QAction* action : m_menu.actions()) {
        if (action->menu<QMenu*>() != &menu)
            continue;
        const QRect item = m_menu.actionGeometry(action);
        const QPoint itemBottomLeft = m_menu.mapToGlobal(item.bottomLeft());
        const QPoint menuTopLeft = menu.mapToGlobal(QPoint(0, 0));
        if (!menu.isVisible() || menuTopLeft.y() != itemBottomLeft.y() + 1)
            return {};
        return QRect(itemBottomLeft.x() - menuTopLeft.x(), 0, item.width(), 1);
    }
    return {};
}

void TStyledMenuStyle::DrawDropDownFrame(QPainter& painter, const QRect& rect,
                                         const QWidget* widget) const
{
    const TColor background = Styler().Background().Color();
    Outline(painter, rect, Styler().MenuBorderColor());
    Outline(painter, rect.adjusted(1, 1, -1, -1), background);
    const auto* menu = qobject_cast<const QMenu*>(widget);
    const QRect root = menu ? RootItemAbove(*menu) : QRect();
    if (root.width() > 2) {
        // Completes the join of an open root item with its drop-down.
        painter.fillRect(QRect(root.left() + 1, rect.top(), root.width() - 2, 1),
                         Resolve(background));
    }
}

} // namespace tarvane
