#pragma once

#include <QList>
#include <QMenuBar>
#include <QPointer>

class QMenu;

namespace tarvane {

class TCustomMenuStyler;
class TStyledMenuStyle;

// A main menu bar whose root items and drop-down menus are drawn by the program in the
// look of a styler, instead of by the platform. Menus added to the bar (and their
// submenus) are styled as they are added; the keyboard and the mouse work as on any menu
// bar, and F10 takes the keyboard to the bar and back as Alt does. An action the owner has
// no handler for is left disabled: it shows grey and cannot be chosen.
class TStyledMainMenu : public QMenuBar {
    Q_OBJECT
public:
    explicit TStyledMainMenu(QWidget* parent = nullptr);
    ~TStyledMainMenu() override;

    // The styler assigned by the owner, or nullptr while the built-in one is used.
    TCustomMenuStyler* MenuStyler() const;
    // Assigning a styler frees the built-in one; when the assigned styler is destroyed or
    // nullptr is assigned, a new built-in styler takes over.
    void SetMenuStyler(TCustomMenuStyler* value);
    // The styler the menu is drawn with.
    const TCustomMenuStyler& Styler() const;

protected:
    void actionEvent(QActionEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TCustomMenuStyler;
    void StylerChanged();
    void CreateInternalStyler();
    void ToggleKeyboardMode();
    void StyleMenu(QMenu* menu);
    void StyleSubMenu(const QAction* action);

    TStyledMenuStyle* m_style = nullptr;
    TCustomMenuStyler* m_internalStyler = nullptr;
    QPointer<TCustomMenuStyler> m_menuStyler;
    QList<QPointer<QMenu>> m_menus;
};

} // namespace tarvane
