#include "MenuGlyphs.h"

#include "BitmapResource.h"

#include <QBitmap>
#include <QImage>

namespace tarvane {

TMenuGlyphs::TMenuGlyphs()
    : m_subMenu(LoadGlyph(QStringLiteral("MENUSUBMENUITEM")))
    , m_check(LoadGlyph(QStringLiteral("MENUCHECKITEM")))
    , m_radio(LoadGlyph(QStringLiteral("MENURADIOITEM")))
{
}

QPixmap TMenuGlyphs::LoadGlyph(const QString& name)
{
    const QImage image = LoadBitmapResource(name);
    if (image.isNull())
        return {};
    QPixmap glyph = QPixmap::fromImage(image);
    const QRgb transparent = image.pixel(0, image.height() - 1);
    glyph.setMask(QBitmap::fromImage(image.createMaskFromColor(transparent, Qt::MaskInColor)));
    return glyph;
}

void TMenuGlyphs::Assign(QPixmap& field, const QPixmap& value)
{
    if (field.cacheKey() == value.cacheKey())
        return;
    field = value;
    if (m_changed)
        m_changed();
}

// clang-format off
void TMenuGlyphs::SetSubMenu(const QPixmap& value) { Assign(m_subMenu, value); }
void TMenuGlyphs::SetCheck(const QPixmap& value) { Assign(m_check, value); }
void TMenuGlyphs::SetRadio(const QPixmap& value) { Assign(m_radio, value); }
// clang-format on

} // namespace tarvane
