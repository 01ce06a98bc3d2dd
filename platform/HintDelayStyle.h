#pragma once

#include <QProxyStyle>

namespace tarvane {

// The application's hint delay: how long the pointer rests on a control before its hint
// shows. Qt reads it from the style, so the application style is wrapped in this proxy the
// first time the delay is set.
class HintDelayStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    // The delay in milliseconds the application uses now.
    static int HintPause();
    // Sets the application's delay (negative values count as 0).
    static void SetHintPause(int milliseconds);

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    int m_hintPause = -1; // -1: the base style's own delay
};

} // namespace tarvane
