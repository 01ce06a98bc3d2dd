#pragma once

#include <QPixmap>

#include <functional>

namespace tarvane {

// The three small marks a menu styler draws: the submenu arrow, the check mark and the
// radio mark. They start as the program's bitmaps "MENUSUBMENUITEM", "MENUCHECKITEM" and
// "MENURADIOITEM", whose bottom-left pixel is the transparent colour.
class TMenuGlyphs {
public:
    TMenuGlyphs();
    TMenuGlyphs(const TMenuGlyphs&) = delete;
    TMenuGlyphs& operator=(const TMenuGlyphs&) = delete;

    QPixmap SubMenu() const { return m_subMenu; }
    void SetSubMenu(const QPixmap& value);
    QPixmap Check() const { return m_check; }
    void SetCheck(const QPixmap& value);
    QPixmap Radio() const { return m_radio; }
    void SetRadio(const QPixmap& value);

    // A program bitmap by resource name, its bottom-left colour made transparent; null when
    // there is no such bitmap.
    static QPixmap LoadGlyph(const QString& name);

    // Called by the owning styler only.
    void SetChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    void Assign(QPixmap& field, const QPixmap& value);

    std::function<void()> m_changed;
    QPixmap m_subMenu;
    QPixmap m_check;
    QPixmap m_radio;
};

} // namespace tarvane
