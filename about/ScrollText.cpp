#include "ScrollText.h"

#include "HintDelayStyle.h"
#include "ScrollDrawThread.h"
#include "ScrollTextPanel.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace tarvane {

namespace {

// Far beyond any strip, yet safe from overflow however large a step is.
constexpr std::int64_t PositionLimit = QWIDGETSIZE_MAX;

int ClampPosition(std::int64_t position)
{
    return int(std::clamp(position, -PositionLimit, PositionLimit));
}

} // namespace

TScrollText::TScrollText(QWidget* parent)
    : QWidget(parent)
    , m_panel(new TScrollTextPanel(this))
    , m_worker(new TScrollDrawThread(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 150);
    m_panel->setGeometry(rect());
    m_panel->installEventFilter(this);
    m_panel->setFont(font());
    m_savedHintPause = HintDelayStyle::HintPause();
    m_worker->SetDelay(m_delay);
    AttachStep();
}

TScrollText::~TScrollText()
{
    m_panel->removeEventFilter(this);
    m_worker->SetDrawCallback({});
    m_worker->Stop();
    // Only when changed: setting it the first time wraps the application's style.
    if (HintDelayStyle::HintPause() != m_savedHintPause)
        HintDelayStyle::SetHintPause(m_savedHintPause);
}

bool TScrollText::Active() const
{
    return m_active;
}

void TScrollText::SetActive(bool active)
{
    Relayout();
    m_active = active;
    if (active)
        m_worker->Resume();
    else
        m_worker->Suspend();
}

std::uint32_t TScrollText::Delay() const
{
    return m_delay;
}

void TScrollText::SetDelay(std::uint32_t milliseconds)
{
    HintDelayStyle::SetHintPause(HintPauseFor(milliseconds));
    m_delay = milliseconds;
    m_worker->SetDelay(milliseconds);
}

// Hints show a little sooner than the strip steps, and never later than they used to.
int TScrollText::HintPauseFor(std::uint32_t delay) const
{
    const std::int64_t value = delay;
    if (value > m_savedHintPause)
        return m_savedHintPause;
    if (value > 10)
        return int(value - 10);
    return int(std::abs(value - 1));
}

int TScrollText::ScrollPixels() const
{
    return m_scrollPixels;
}

void TScrollText::SetScrollPixels(int pixels)
{
    m_scrollPixels = pixels;
}

TScrollDirection TScrollText::ScrollDirection() const
{
    return m_scrollDirection;
}

void TScrollText::SetScrollDirection(TScrollDirection direction)
{
    m_scrollDirection = direction;
    m_panel->move(0, 0);
    Reset();
}

QStringList TScrollText::Items() const
{
    return m_items;
}

void TScrollText::SetItems(const QStringList& items)
{
    m_items = items;
    QString text;
    for (const QString& line : items)
        text += line + u'\n';
    m_panel->SetText(text);
    Relayout();
}

QFont TScrollText::Font() const
{
    return font();
}

void TScrollText::SetFont(const QFont& font)
{
    setFont(font);
}

TColor TScrollText::FontColor() const
{
    return m_panel->FontColor();
}

void TScrollText::SetFontColor(TColor color)
{
    m_panel->SetFontColor(color);
}

TColor TScrollText::BackgroundColor() const
{
    return m_panel->Color();
}

void TScrollText::SetBackgroundColor(TColor color)
{
    m_panel->SetColor(color);
    update();
}

Qt::Alignment TScrollText::Alignment() const
{
    return m_panel->Alignment();
}

void TScrollText::SetAlignment(Qt::Alignment alignment)
{
    m_panel->SetAlignment(alignment);
}

bool TScrollText::WordWrap() const
{
    return m_panel->WordWrap();
}

void TScrollText::SetWordWrap(bool wordWrap)
{
    m_panel->SetWordWrap(wordWrap);
}

void TScrollText::Pause()
{
    if (!m_active)
        return;
    m_rampCounter = m_scrollPixels;
    m_pauseState = PauseState::SlowingDown;
}

void TScrollText::Unpause()
{
    if (m_active)
        return;
    m_rampCounter = 0;
    m_pauseState = PauseState::SpeedingUp;
    SetActive(true);
}

void TScrollText::Reset()
{
    m_position = StartPosition();
}

bool TScrollText::Vertical() const
{
    return m_scrollDirection == drFromTop || m_scrollDirection == drFromBottom;
}

// The starting position lies on the side where the text leaves, so the first steps wrap
// it round to the side where it enters.
int TScrollText::StartPosition() const
{
    switch (m_scrollDirection) {
    case drFromLeft:
        return -width();
    case drFromRight:
        return width();
    case drFromTop:
        return height();
    case drFromBottom:
        break;
    }
    return -m_panel->height();
}

void TScrollText::Step()
{
    if (const std::optional<int> size = NextStepSize())
        MoveBy(*size);
}

// The size of this step, following the ramps around a pause; none when the slowing down
// has ended, which stops the strip.
std::optional<int> TScrollText::NextStepSize()
{
    switch (m_pauseState) {
    case PauseState::SlowingDown:
        if (m_rampCounter <= 0) {
            SetActive(false);
            m_pauseState = PauseState::Running;
            return std::nullopt;
        }
        return m_rampCounter--;
    case PauseState::SpeedingUp:
        // ">=" rather than "==": with a step size of 0 or below the counter, rising from 0,
        // would otherwise never meet it.
        if (m_rampCounter >= m_scrollPixels) {
            m_pauseState = PauseState::Running;
            return m_scrollPixels;
        }
        return m_rampCounter++;
    case PauseState::Running:
        break;
    }
    return m_scrollPixels;
}

// Tests the position before moving: once the text has left, it wraps to where it enters.
// A negative step runs the text backwards, out through the entering edge, so that edge
// wraps it too; otherwise the text would drift away for good.
void TScrollText::MoveBy(int pixels)
{
    const std::int64_t p = m_position;
    const std::int64_t w = width();
    const std::int64_t h = height();
    const std::int64_t pw = m_panel->width();
    const std::int64_t ph = m_panel->height();
    const bool reversed = pixels < 0;
    std::int64_t next = p;
    switch (m_scrollDirection) {
    case drFromLeft:
        next = -p > pw ? w : (reversed && p > w) ? -pw : p - pixels;
        break;
    case drFromRight:
        next = p > w ? -w : (reversed && -p > pw) ? w : p + pixels;
        break;
    case drFromTop:
        next = p > h ? -ph : (reversed && -p > ph) ? h : p + pixels;
        break;
    case drFromBottom:
        next = -p > ph ? h : (reversed && p > h) ? -ph : p - pixels;
        break;
    }
    m_position = ClampPosition(next);
    ApplyPosition();
}

void TScrollText::ApplyPosition()
{
    if (Vertical())
        m_panel->move(m_panel->x(), m_position);
    else
        m_panel->move(m_position, m_panel->y());
}

// The panel's text ends every line with a break; the last break opens no further line.
QStringList TScrollText::PanelLines() const
{
    QStringList lines = m_panel->Text().split(u'\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// Makes the panel as high as its text, estimating wrapped lines from each line's width,
// and never lower than the strip.
void TScrollText::Relayout()
{
    const QFontMetrics metrics(m_panel->font());
    const int w = width();
    const int h = height();
    std::int64_t total = 0;
    for (const QString& line : PanelLines()) {
        if (line.isEmpty()) {
            total += metrics.height();
        } else if (w > 0) {
            // With no width to wrap in, the estimate has no meaning; the line adds nothing.
            const int width = metrics.size(Qt::TextShowMnemonic | Qt::TextExpandTabs, line).width();
            total += std::int64_t(metrics.height()) * (width / w + 1);
        }
    }
    const int panelHeight = total <= 0 ? h : int(std::min<std::int64_t>(total, QWIDGETSIZE_MAX));
    m_panel->resize(m_panel->width(), std::max(panelHeight, h));
    Reset();
}

void TScrollText::paintEvent(QPaintEvent*)
{
    // Shows where the panel has moved away from the strip.
    QPainter painter(this);
    const QColor color = ColorToQColor(BackgroundColor());
    painter.fillRect(rect(), color.isValid() ? color : palette().color(QPalette::Window));
}

void TScrollText::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_panel->resize(width(), std::max(m_panel->height(), height()));
}

void TScrollText::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_panel->setFont(font());
        Relayout();
        m_panel->update();
    }
}

bool TScrollText::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            DragStart(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            DragMove(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            DragEnd();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int TScrollText::DragCoordinate(const QMouseEvent* event) const
{
    const QPoint screen = event->globalPosition().toPoint();
    return Vertical() ? screen.y() : screen.x();
}

void TScrollText::DragStart(const QMouseEvent* event)
{
    m_lastDragCoordinate = DragCoordinate(event);
    // No timed step may move the panel under the mouse.
    m_worker->SetDrawCallback({});
    m_dragging = true;
}

void TScrollText::DragMove(const QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const int coordinate = DragCoordinate(event);
    m_position = ClampPosition(std::int64_t(m_position) + coordinate - m_lastDragCoordinate);
    m_lastDragCoordinate = coordinate;
    WrapDragged();
    ApplyPosition();
}

// A dragged text that leaves through either edge comes back through the other.
void TScrollText::WrapDragged()
{
    const int extent = Vertical() ? height() : width();
    const int panelExtent = Vertical() ? m_panel->height() : m_panel->width();
    if (m_position < -panelExtent)
        m_position = extent;
    else if (m_position > extent)
        m_position = -panelExtent;
}

void TScrollText::AttachStep()
{
    m_worker->SetDrawCallback([this] { Step(); });
}

void TScrollText::DragEnd()
{
    AttachStep();
    m_dragging = false;
}

} // namespace tarvane
