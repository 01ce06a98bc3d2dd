#include "StyledMainMenu.h"

#include "MenuStyler.h"
#include "StyledMenuStyle.h"

#include <QActionEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>

namespace tarvane {

TStyledMainMenu::TStyledMainMenu(QWidget* parent)
    : QMenuBar(parent)
{
    m_style = new TStyledMenuStyle(*this);
    m_style->setParent(this);
    setStyle(m_style);
    CreateInternalStyler();
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, &TStyledMainMenu::ToggleKeyboardMode);
}

// Qt takes the keyboard to the bar on Alt alone, pressed and released over the window, and
// has no other way in that highlights the first item without opening it: its own watch is
// handed the events of such a press. A key event counts its own modifier key as held.
void TStyledMainMenu::ToggleKeyboardMode()
{
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QMenuBar::eventFilter(window(), &press);
    QMenuBar::eventFilter(window(), &release);
}

TStyledMainMenu::~TStyledMainMenu()
{
    if (m_menuStyler)
        m_menuStyler->RemoveClient(this);
}

void TStyledMainMenu::CreateInternalStyler()
{
    m_internalStyler = new TMenuStyler(this);
    m_internalStyler->setObjectName(QStringLiteral("InternalMenuStyler"));
    m_internalStyler->AddClient(this);
    StylerChanged();
}

TCustomMenuStyler* TStyledMainMenu::MenuStyler() const
{
    return m_menuStyler;
}

void TStyledMainMenu::SetMenuStyler(TCustomMenuStyler* value)
{
    if (value == m_menuStyler && (value || m_internalStyler))
        return;
    if (m_menuStyler) {
        m_menuStyler->RemoveClient(this);
        disconnect(m_menuStyler, nullptr, this, nullptr);
    }
    m_menuStyler = value;
    if (!value) {
        CreateInternalStyler();
        return;
    }
    delete m_internalStyler;
    m_internalStyler = nullptr;
    value->AddClient(this);
    connect(value, &QObject::destroyed, this, [this] {
        m_menuStyler = nullptr;
        CreateInternalStyler();
    });
    StylerChanged();
}

const TCustomMenuStyler& TStyledMainMenu::Styler() const
{
    return m_menuStyler ? *m_menuStyler : *m_internalStyler;
}

void TStyledMainMenu::StylerChanged()
{
    // Qt lays items out from the widgets' fonts, so they follow the styler's.
    setFont(Styler().RootFont());
    for (const QPointer<QMenu>& menu : std::as_const(m_menus)) {
        if (menu) {
            menu->setFont(Styler().ItemFont());
            menu->update();
        }
    }
    updateGeometry();
    update();
}

void TStyledMainMenu::StyleMenu(QMenu* menu)
{
    if (m_menus.contains(menu))
        return;
    m_menus.append(menu);
    menu->setStyle(m_style);
    menu->setFont(Styler().ItemFont());
    menu->installEventFilter(this);
    for (const QAction* action : menu->actions())
        StyleSubMenu(action);
}

void TStyledMainMenu::StyleSubMenu(const QAction* action)
{
    if (QMenu* menu = action->menu<QMenu*>())
        StyleMenu(menu);
}

void TStyledMainMenu::actionEvent(QActionEvent* event)
{
    if (event->type() == QEvent::ActionAdded)
        StyleSubMenu(event->action());
    QMenuBar::actionEvent(event);
}

bool TStyledMainMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ActionAdded && qobject_cast<QMenu*>(watched))
        StyleSubMenu(static_cast<QActionEvent*>(event)->action());
    return QMenuBar::eventFilter(watched, event);
}

} // namespace tarvane
