#include "CustomMenuStyler.h"

#include "PixelFont.h"
#include "StyledMainMenu.h"

#include <QApplication>

namespace tarvane {

namespace {

QFont TahomaPixels(int pixelSize)
{
    return PixelFont(QStringLiteral("Tahoma"), pixelSize);
}

// Stored colours are 0x00BBGGRR; the presets are easier to read as RGB.
constexpr TColor Rgb(std::uint32_t rgb)
{
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

} // namespace

TCustomMenuStyler::TCustomMenuStyler(QObject* parent)
    : QObject(parent)
    , m_font(TahomaPixels(11))
    , m_notesFont(TahomaPixels(8))
{
    const auto changed = [this] { Changed(); };
    m_background.SetChangeHandler(changed);
    m_iconBar.SetChangeHandler(changed);
    m_selectedItem.SetChangeHandler(changed);
    m_rootItem.SetChangeHandler(changed);
    m_separator.SetChangeHandler(changed);
    m_glyphs.SetChangeHandler(changed);
    LoadBluePreset();
}

TCustomMenuStyler::~TCustomMenuStyler() = default;

template <typename T>
void TCustomMenuStyler::Assign(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

void TCustomMenuStyler::SetStyle(TMenuStyle value)
{
    m_style = value;
    LoadBluePreset();
}

// clang-format off
void TCustomMenuStyler::SetAntiAlias(TAntiAlias value) { Assign(m_antiAlias, value); }
void TCustomMenuStyler::SetFont(const QFont& value) { Assign(m_font, value); }
void TCustomMenuStyler::SetFontColor(TColor value) { Assign(m_fontColor, value); }
void TCustomMenuStyler::SetNotesFont(const QFont& value) { Assign(m_notesFont, value); }
void TCustomMenuStyler::SetNotesFontColor(TColor value) { Assign(m_notesFontColor, value); }
void TCustomMenuStyler::SetUseSystemFont(bool value) { Assign(m_useSystemFont, value); }
void TCustomMenuStyler::SetMenuBorderColor(TColor value) { Assign(m_menuBorderColor, value); }
// clang-format on

QFont TCustomMenuStyler::Rendered(QFont font) const
{
    if (m_antiAlias != aaNone)
        font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont TCustomMenuStyler::ItemFont() const
{
    return Rendered(m_useSystemFont ? QApplication::font() : m_font);
}

QFont TCustomMenuStyler::RootFont() const
{
    return Rendered(m_rootItem.Font());
}

QFont TCustomMenuStyler::SelectedItemFont() const
{
    return Rendered(m_selectedItem.Font());
}

void TCustomMenuStyler::AddClient(TStyledMainMenu* menu)
{
    if (!m_clients.contains(menu))
        m_clients.append(menu);
}

void TCustomMenuStyler::RemoveClient(TStyledMainMenu* menu)
{
    m_clients.removeAll(menu);
}

void TCustomMenuStyler::Changed()
{
    for (const QPointer<TStyledMainMenu>& menu : std::as_const(m_clients)) {
        if (menu)
            menu->StylerChanged();
    }
}

void TCustomMenuStyler::LoadBluePreset()
{
    m_rootItem.SetColor(Rgb(0x9EBEF5));
    m_rootItem.SetColorTo(Rgb(0xB2CDF7));
    m_rootItem.SetGradientDirection(gdHorizontal);
    m_rootItem.SetHoverColor(Rgb(0xFFF4CC));
    m_rootItem.SetHoverColorTo(Rgb(0xFFD69A));
    m_rootItem.SetHoverGradientDirection(gdVertical);
    m_rootItem.SetHoverBorderColor(Rgb(0x4B4B6F));
    m_rootItem.SetSelectedColor(Rgb(0xE3EFFF));
    m_rootItem.SetSelectedColorTo(Rgb(0x93B5E7));
    m_rootItem.SetSelectedGradientDirection(gdVertical);
    m_rootItem.SetSelectedBorderColor(Rgb(0x002D96));
    m_rootItem.SetFont(TahomaPixels(11));
    m_rootItem.SetFontColor(clBlack);
    m_rootItem.SetHoverFontColor(clWindowText);
    m_rootItem.SetSelectedFontColor(clWindowText);

    m_background.SetColor(Rgb(0xF6F6F6));
    m_background.SetColorTo(Rgb(0xF6F6F6));

    m_iconBar.SetColor(Rgb(0xE3EFFF));
    m_iconBar.SetColorTo(Rgb(0x87ADE4));
    m_iconBar.SetGradientDirection(gdHorizontal);
    m_iconBar.SetSize(24);
    m_iconBar.SetCheckColor(Rgb(0xFFC06F));
    m_iconBar.SetCheckBorder(clNavy);
    m_iconBar.SetRadioBorder(clNavy);

    m_selectedItem.SetColor(Rgb(0xFFEEC2));
    m_selectedItem.SetColorTo(clNone);
    m_selectedItem.SetBorderColor(clNavy);
    m_selectedItem.SetCheckColor(Rgb(0xFE803E));
    m_selectedItem.SetCheckBorder(clNavy);
    m_selectedItem.SetRadioBorder(clNavy);
    m_selectedItem.SetFont(TahomaPixels(11));
    m_selectedItem.SetFontColor(clBlack);

    m_separator.SetColor(Rgb(0x6A8CCB));
    m_separator.SetColorTo(clNone);
    m_separator.SetWidth(1);
    m_separator.SetMargin(2);
    m_separator.SetGradientType(gtBoth);
    m_separator.SetGradientWidth(0);

    m_font = TahomaPixels(11);
    m_fontColor = clBlack;
    m_notesFont = TahomaPixels(8);
    m_notesFontColor = clGray;
    m_menuBorderColor = Rgb(0x002D96);
    Changed();
}

} // namespace tarvane
