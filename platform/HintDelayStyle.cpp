#include "HintDelayStyle.h"

#include <QApplication>

#include <algorithm>

namespace tarvane {

int HintDelayStyle::HintPause()
{
    return QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
}

void HintDelayStyle::SetHintPause(int milliseconds)
{
    auto* style = qobject_cast<HintDelayStyle*>(QApplication::style());
    if (!style) {
        style = new HintDelayStyle; // the application takes ownership
        QApplication::setStyle(style);
    }
    style->m_hintPause = std::max(0, milliseconds);
}

int HintDelayStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const
{
    if (hint == SH_ToolTip_WakeUpDelay && m_hintPause >= 0)
        return m_hintPause;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace tarvane
