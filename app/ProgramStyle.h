#pragma once

#include <QProxyStyle>

namespace tarvane {

// The application's style: the desktop's own, except that the menu bar's overflow arrow is
// read from Qt's pictures as PNG by name. Left to find the format itself, Qt would load every
// image plugin at start to let each look at the file.
class TProgramStyle : public QProxyStyle {
    Q_OBJECT
public:
    TProgramStyle();

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace tarvane
