#include "SpinButtons.h"

#include "BitmapResource.h"
#include "RepeatSpeedButton.h"
#include "ScreenDensity.h"

#include <QPixmap>

namespace tarvane {

TSpinButtons::TSpinButtons(QWidget* parent)
    : QWidget(parent)
    , m_upButton(new TRepeatSpeedButton(this))
    , m_downButton(new TRepeatSpeedButton(this))
{
    setFocusPolicy(Qt::NoFocus);
    LoadGlyphs();
    m_upButton->setAccessibleName(QStringLiteral("Augmenter"));
    m_downButton->setAccessibleName(QStringLiteral("Diminuer"));
    m_upButton->OnPress = [this](QObject*) { ButtonPressed(); };
    m_downButton->OnPress = [this](QObject*) { ButtonPressed(); };
    m_upButton->OnClick = [this](QObject*) { Notify(OnUpClick, this); };
    m_downButton->OnClick = [this](QObject*) { Notify(OnDownClick, this); };
    resize(MinWidth, 17);
}

void TSpinButtons::LoadGlyphs()
{
    m_upButton->SetGlyph(QPixmap::fromImage(LoadBitmapResource(QStringLiteral("SPINUP"))));
    m_downButton->SetGlyph(QPixmap::fromImage(LoadBitmapResource(QStringLiteral("SPINDOWN"))));
}

bool TSpinButtons::event(QEvent* event)
{
    if (event->type() == DensityChangeEvent) {
        LoadGlyphs();
        return true;
    }
    return QWidget::event(event);
}

void TSpinButtons::SetFocusControl(QWidget* control)
{
    m_focusControl = control;
}

void TSpinButtons::resizeEvent(QResizeEvent*)
{
    PlaceButtons();
}

void TSpinButtons::ButtonPressed()
{
    QWidget* const box = m_focusControl;
    if (box && (box->focusPolicy() & Qt::TabFocus) && box->isEnabled() && box->isVisible()
        && !box->hasFocus())
        box->setFocus(Qt::OtherFocusReason);
}

void TSpinButtons::PlaceButtons()
{
    const int buttonHeight = (height() + 2) / 2;
    m_upButton->setGeometry(0, 0, width(), buttonHeight);
    m_downButton->setGeometry(0, buttonHeight, width(), buttonHeight);
}

} // namespace tarvane
