#include "CustomTabStrip.h"

#include "PixelFont.h"
#include "Scroller.h"
#include "TabCollectionItem.h"

#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tarvane {

namespace {

// Tabs start this far apart beyond their width, and are drawn one pixel wider still,
// so that neighbouring outlines share a pixel.
constexpr int TabSpacing = 9;
constexpr int TabDrawExtra = 10;
// Extra pixels of the off-screen image below the tabs.
constexpr int BufferExtraHeight = 5;
constexpr int ScrollerRightGap = 2;
constexpr int ScrollerTop = 3;
// Gradients of tabs are drawn in this many bands.
constexpr int GradientBands = 16;
constexpr int DefaultFontPixelSize = 11;
constexpr QRgb DisabledTextColor = qRgb(0x80, 0x80, 0x80);

QFont DefaultTabFont()
{
    return PixelFont(QStringLiteral("Tahoma"), DefaultFontPixelSize);
}

} // namespace

TCustomTabStrip::TCustomTabStrip(QWidget* parent)
    : QWidget(parent)
    , m_scroller(new TScroller(this))
    , m_font(DefaultTabFont())
    , m_activeFont(DefaultTabFont())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_scroller->SetColor(m_backgroundColor);
    m_scroller->OnChange = [this](QObject*) {
        SetHoverTab(-1);
        update();
    };
    Relayout();
}

TCustomTabStrip::~TCustomTabStrip() = default;

void TCustomTabStrip::Loaded()
{
    m_loaded = true;
    Relayout();
}

template <typename T>
void TCustomTabStrip::Assign(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Relayout();
}

// clang-format off
void TCustomTabStrip::SetTabPosition(TTabPosition value) { Assign(m_tabPosition, value); }
void TCustomTabStrip::SetTabStyle(TTabStyle value) { Assign(m_tabStyle, value); }
void TCustomTabStrip::SetSelectedColor(TColor value) { Assign(m_selectedColor, value); }
void TCustomTabStrip::SetSelectedColorTo(TColor value) { Assign(m_selectedColorTo, value); }
void TCustomTabStrip::SetUnselectedColor(TColor value) { Assign(m_unselectedColor, value); }
void TCustomTabStrip::SetUnSelectedColorTo(TColor value) { Assign(m_unselectedColorTo, value); }
void TCustomTabStrip::SetTextColor(TColor value) { Assign(m_textColor, value); }
void TCustomTabStrip::SetTabBorderColor(TColor value) { Assign(m_tabBorderColor, value); }
void TCustomTabStrip::SetTabHoverColor(TColor value) { Assign(m_tabHoverColor, value); }
void TCustomTabStrip::SetTabHoverColorTo(TColor value) { Assign(m_tabHoverColorTo, value); }
void TCustomTabStrip::SetTabHoverBorder(TColor value) { Assign(m_tabHoverBorder, value); }
void TCustomTabStrip::SetFont(const QFont& value) { Assign(m_font, value); }
void TCustomTabStrip::SetFontColor(TColor value) { Assign(m_fontColor, value); }
void TCustomTabStrip::SetActiveFont(const QFont& value) { Assign(m_activeFont, value); }
void TCustomTabStrip::SetActiveFontColor(TColor value) { Assign(m_activeFontColor, value); }
void TCustomTabStrip::SetTabMargin(const TTabMargin& value) { Assign(m_tabMargin, value); }
void TCustomTabStrip::SetTabOverlap(int value) { Assign(m_tabOverlap, value); }
void TCustomTabStrip::SetStartMargin(int value) { Assign(m_startMargin, value); }
void TCustomTabStrip::SetEndMargin(int value) { Assign(m_endMargin, value); }
void TCustomTabStrip::SetTabHeight(int value) { Assign(m_tabHeight, value); }
void TCustomTabStrip::SetLowerSelected(int value) { Assign(m_lowerSelected, value); }
void TCustomTabStrip::SetShowScroller(TShowScroller value) { Assign(m_showScroller, value); }
// clang-format on

void TCustomTabStrip::SetGradientDirection(TGradientDirection value)
{
    Assign(m_gradientDirection, value);
}

void TCustomTabStrip::SetHoverGradientDirection(TGradientDirection value)
{
    Assign(m_hoverGradientDirection, value);
}

void TCustomTabStrip::SetBackgroundColor(TColor value)
{
    m_scroller->SetColor(value);
    Assign(m_backgroundColor, value);
}

void TCustomTabStrip::SetTabIndex(int value)
{
    if (value < -1 || value >= m_tabs.Count() || value == m_tabIndex)
        return;
    m_tabIndex = value;
    if (m_hoverTab == value)
        m_hoverTab = -1;
    ScrollToSelected();
    update();
}

void TCustomTabStrip::TabAdded(TTabCollectionItem& item)
{
    item.SetTabColor(m_unselectedColor);
    item.SetTabColorTo(m_unselectedColorTo);
    item.SetTextColor(m_textColor);
    item.SetTabGradientDirection(m_gradientDirection);
    item.SetHoverGradientDirection(m_hoverGradientDirection);
    m_tabIndex = 0;
    Relayout();
}

void TCustomTabStrip::TabsRemoved()
{
    m_tabIndex = std::min(m_tabIndex, m_tabs.Count() - 1);
    m_hoverTab = -1;
    Relayout();
}

void TCustomTabStrip::TabsChanged()
{
    Relayout();
}

void TCustomTabStrip::Relayout()
{
    UpdateScroller();
    update();
}

int TCustomTabStrip::BandLeft() const
{
    return m_startMargin + TabSpacing;
}

int TCustomTabStrip::BandRight() const
{
    const int reserved = m_scroller->isVisibleTo(this) || m_showScroller == ssAlways
        ? TScroller::DefaultWidth + m_tabOverlap
        : 0;
    return width() - m_endMargin - reserved;
}

int TCustomTabStrip::TabWidth(const TTabCollectionItem& tab) const
{
    const int caption = std::max(QFontMetrics(m_font).horizontalAdvance(tab.Caption()),
                                 QFontMetrics(m_activeFont).horizontalAdvance(tab.Caption()));
    return caption + m_tabMargin.LeftMargin() + m_tabMargin.RightMargin() - 4;
}

// The smallest scroll position (in visible tabs) from which every later tab fits the band.
int TCustomTabStrip::LastFirstTab() const
{
    std::vector<int> widths;
    for (int index = 0; index < m_tabs.Count(); ++index) {
        if (m_tabs.Items(index)->Visible())
            widths.push_back(TabWidth(*m_tabs.Items(index)));
    }
    const int band = BandRight() - BandLeft();
    int first = int(widths.size());
    int used = 1; // the last tab is drawn one pixel wider than its step
    while (first > 0 && used + widths[std::size_t(first - 1)] + TabSpacing <= band) {
        --first;
        used += widths[std::size_t(first)] + TabSpacing;
    }
    return std::min(first, std::max(0, int(widths.size()) - 1));
}

void TCustomTabStrip::PlaceScroller()
{
    m_scroller->move(width() - TScroller::DefaultWidth - ScrollerRightGap, ScrollerTop);
}

void TCustomTabStrip::UpdateScroller()
{
    PlaceScroller();
    if (m_showScroller == ssAlways) {
        m_scroller->setVisible(true);
    } else {
        m_scroller->setVisible(false);
        m_scroller->setVisible(LastFirstTab() > 0);
    }
    m_scroller->SetRange(0, LastFirstTab());
}

void TCustomTabStrip::ScrollToSelected()
{
    if (!m_autoScroll || m_tabIndex < 0 || !m_tabs.Items(m_tabIndex)->Visible())
        return;
    int ordinal = 0;
    for (int index = 0; index < m_tabIndex; ++index)
        ordinal += m_tabs.Items(index)->Visible() ? 1 : 0;
    if (ordinal < m_scroller->Position())
        m_scroller->SetPosition(ordinal);
    while (m_scroller->Position() < ordinal && TabRect(m_tabIndex).right() >= BandRight()) {
        const int before = m_scroller->Position();
        m_scroller->SetPosition(before + 1);
        if (m_scroller->Position() == before)
            break; // a tab wider than the band: show its start
    }
}

QRect TCustomTabStrip::TabRect(int index) const
{
    const TTabCollectionItem* target = m_tabs.Items(index);
    if (!target || !target->Visible())
        return {};
    int ordinal = 0;
    int x = BandLeft();
    for (int current = 0; current < m_tabs.Count(); ++current) {
        const TTabCollectionItem& tab = *m_tabs.Items(current);
        if (!tab.Visible())
            continue;
        const bool shown = ordinal++ >= m_scroller->Position();
        const int width = TabWidth(tab);
        if (current == index)
            return shown ? QRect(x, 0, width + TabDrawExtra, m_tabHeight) : QRect();
        if (shown)
            x += width + TabSpacing;
    }
    return {};
}

int TCustomTabStrip::TabAt(const QPoint& point) const
{
    if (point.x() < BandLeft() || point.x() >= BandRight())
        return -1;
    for (int index = 0; index < m_tabs.Count(); ++index) {
        if (TabRect(index).contains(point))
            return index;
    }
    return -1;
}

void TCustomTabStrip::SetHoverTab(int index)
{
    if (index == m_hoverTab)
        return;
    m_hoverTab = index;
    update();
}

void TCustomTabStrip::SelectByUser(int index)
{
    bool allowChange = true;
    if (m_loaded && OnChange)
        OnChange(this, index, allowChange);
    if (!allowChange)
        return;
    SetTabIndex(index);
    if (m_loaded)
        Notify(OnChanged, this);
}

void TCustomTabStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateScroller();
}

void TCustomTabStrip::mouseMoveEvent(QMouseEvent* event)
{
    const int index = TabAt(event->position().toPoint());
    const bool hoverable = index >= 0 && index != m_tabIndex && m_tabs.Items(index)->Enable();
    SetHoverTab(hoverable ? index : -1);
}

void TCustomTabStrip::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    SetHoverTab(-1);
}

void TCustomTabStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int index = TabAt(event->position().toPoint());
    if (index >= 0 && index != m_tabIndex && m_tabs.Items(index)->Enable())
        SelectByUser(index);
}

void TCustomTabStrip::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    const QSize logical(width(), std::max(height(), m_tabHeight + BufferExtraHeight));
    QImage buffer(logical * ratio, QImage::Format_RGB32);
    buffer.setDevicePixelRatio(ratio);
    {
        QPainter painter(&buffer);
        painter.fillRect(QRect(QPoint(0, 0), logical), ColorToQColor(m_backgroundColor));
        painter.save();
        painter.setClipRect(QRect(BandLeft(), 0, BandRight() - BandLeft(), logical.height()));
        // The selected tab last, so that its outline lies on top of its neighbours'.
        for (int index = 0; index < m_tabs.Count(); ++index) {
            if (index != m_tabIndex)
                DrawTab(painter, index);
        }
        DrawTab(painter, m_tabIndex);
        painter.restore();
        DrawBaseLine(painter);
    }
    QPainter(this).drawImage(0, 0, buffer);
}

void TCustomTabStrip::DrawTab(QPainter& painter, int index) const
{
    const QRect rect = TabRect(index);
    if (rect.isEmpty())
        return;
    FillTab(painter, rect, index);
    const bool hovered = index == m_hoverTab && m_tabHoverBorder != clNone;
    painter.setPen(ColorToQColor(hovered ? m_tabHoverBorder : m_tabBorderColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.x(), rect.y(), rect.width() - 1, rect.height() - 1);
    DrawCaption(painter, rect, index);
}

void TCustomTabStrip::FillTab(QPainter& painter, const QRect& rect, int index) const
{
    const TTabCollectionItem& tab = *m_tabs.Items(index);
    TColor from = tab.TabColor();
    TColor to = tab.TabColorTo();
    TGradientDirection direction = tab.TabGradientDirection();
    if (index == m_tabIndex) {
        from = m_selectedColor;
        to = m_selectedColorTo;
    } else if (index == m_hoverTab && (m_tabHoverColor != clNone || m_tabHoverColorTo != clNone)) {
        from = m_tabHoverColor != clNone ? m_tabHoverColor : tab.TabColor();
        to = m_tabHoverColorTo;
        direction = tab.HoverGradientDirection();
    }
    FillBandedGradient(painter, rect, ColorToQColor(from), ColorToQColor(to), direction,
                       GradientBands);
}

void TCustomTabStrip::DrawCaption(QPainter& painter, const QRect& rect, int index) const
{
    const TTabCollectionItem& tab = *m_tabs.Items(index);
    const bool selected = index == m_tabIndex;
    QColor color = ColorToQColor(selected ? m_activeFontColor : tab.TextColor());
    if (!tab.Enable())
        color = DisabledTextColor;
    const int top = rect.top() + m_tabMargin.TopMargin() + (selected ? m_lowerSelected : 0);
    const QRect textRect(rect.left() + m_tabMargin.LeftMargin(), top,
                         rect.width() - m_tabMargin.LeftMargin(), rect.height());
    painter.setFont(selected ? m_activeFont : m_font);
    painter.setPen(color);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                     tab.Caption());
}

void TCustomTabStrip::DrawBaseLine(QPainter& painter) const
{
    const int y = m_tabHeight - 1;
    painter.setPen(ColorToQColor(m_tabBorderColor));
    painter.drawLine(0, y, width() - 1, y);
}

} // namespace tarvane
