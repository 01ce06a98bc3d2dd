#pragma once

#include <QObject>

namespace tarvane {

// Under Wayland a compositor learns a dialog's parent but not always that the dialog is modal
// (Qt 6.4 has no way to say so; Qt 6.8 says so only to compositors that know xdg-dialog, which
// weston 14 does not), so it may give the focus to the window the dialog blocks, and
// KDE's lets the user minimize the dialog: the window then takes no input and the dialog is
// nowhere to be seen. Whenever a window blocked by a modal dialog is activated, the dialog
// asks for the focus back, which also brings it back on screen where the compositor allows
// it. X11 window managers do this themselves from the dialog's hints; a compositor that
// keeps the dialog modal never activates the blocked window, and this does nothing there.
class TModalFocus : public QObject {
    Q_OBJECT
public:
    // Watches every window of the application, under Wayland only.
    static void InstallOnWayland(QObject* application);

    explicit TModalFocus(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tarvane
