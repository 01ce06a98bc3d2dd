#pragma once

#include "GradientBar.h"
#include "MenuGlyphs.h"
#include "TColor.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>

namespace tarvane {

class TStyledMainMenu;

// The colour presets a styler can load; Tarvane uses the blue one.
enum TMenuStyle { osBlue };
enum TAntiAlias { aaNone, aaClearType, aaAntiAlias };

// Holds every colour, font and glyph a styled menu is drawn with. Writing Style loads that
// preset into the colour groups; properties written afterwards override single colours.
// Each change repaints the menus that use the styler.
class TCustomMenuStyler : public QObject {
    Q_OBJECT
public:
    explicit TCustomMenuStyler(QObject* parent = nullptr);
    ~TCustomMenuStyler() override;

    TMenuStyle Style() const { return m_style; }
    void SetStyle(TMenuStyle value);
    TAntiAlias AntiAlias() const { return m_antiAlias; }
    void SetAntiAlias(TAntiAlias value);
    bool AutoThemeAdapt() const { return m_autoThemeAdapt; }
    void SetAutoThemeAdapt(bool value) { m_autoThemeAdapt = value; }

    TBackground& Background() { return m_background; }
    const TBackground& Background() const { return m_background; }
    TIconBar& IconBar() { return m_iconBar; }
    const TIconBar& IconBar() const { return m_iconBar; }
    TSelectedItem& SelectedItem() { return m_selectedItem; }
    const TSelectedItem& SelectedItem() const { return m_selectedItem; }
    TRootItem& RootItem() { return m_rootItem; }
    const TRootItem& RootItem() const { return m_rootItem; }
    TSeparator& Separator() { return m_separator; }
    const TSeparator& Separator() const { return m_separator; }
    TMenuGlyphs& Glyphs() { return m_glyphs; }
    const TMenuGlyphs& Glyphs() const { return m_glyphs; }

    // Caption font of drop-down items.
    QFont Font() const { return m_font; }
    void SetFont(const QFont& value);
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);
    QFont NotesFont() const { return m_notesFont; }
    void SetNotesFont(const QFont& value);
    TColor NotesFontColor() const { return m_notesFontColor; }
    void SetNotesFontColor(TColor value);
    // When true, drop-down items use the application's font instead of Font.
    bool UseSystemFont() const { return m_useSystemFont; }
    void SetUseSystemFont(bool value);
    TColor MenuBorderColor() const { return m_menuBorderColor; }
    void SetMenuBorderColor(TColor value);

    // The fonts as drawn: Font (or the system font) and the root item font, with the
    // anti-aliasing setting applied.
    QFont ItemFont() const;
    QFont RootFont() const;
    QFont SelectedItemFont() const;

private:
    friend class TStyledMainMenu;
    void AddClient(TStyledMainMenu* menu);
    void RemoveClient(TStyledMainMenu* menu);
    void Changed();
    QFont Rendered(QFont font) const;
    void LoadBluePreset();

    template <typename T>
    void Assign(T& field, const T& value);

    QList<QPointer<TStyledMainMenu>> m_clients;
    TMenuStyle m_style = osBlue;
    TAntiAlias m_antiAlias = aaNone;
    bool m_autoThemeAdapt = false;
    TBackground m_background;
    TIconBar m_iconBar;
    TSelectedItem m_selectedItem;
    TRootItem m_rootItem;
    TSeparator m_separator;
    TMenuGlyphs m_glyphs;
    QFont m_font;
    TColor m_fontColor = clWindowText;
    QFont m_notesFont;
    TColor m_notesFontColor = clGray;
    bool m_useSystemFont = false;
    TColor m_menuBorderColor = clNone;
};

} // namespace tarvane
