#include "SpokenNotice.h"

namespace tarvane {

TSpokenNotice::TSpokenNotice(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    hide();
}

// A screen reader announces a notification when it starts showing, not when its name changes.
void TSpokenNotice::Say(const QString& text)
{
    SetText(text);
    hide();
    show();
}

void TSpokenNotice::SetText(const QString& text)
{
    setAccessibleName(text);
}

} // namespace tarvane
