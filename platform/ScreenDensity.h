#pragma once

#include <QEvent>

class QWidget;

namespace tarvane {

// The program draws either for ordinary screens or for dense ones (more than one device pixel
// per pixel): on dense ones, text asked in the bitmap-only MS Sans Serif is set in a scalable
// face (DesktopFonts) and the pictures are the twice-as-fine drawings (LoadBitmapResource).

// Sent to every widget when the choice changes: widgets that hold pictures load them afresh.
constexpr QEvent::Type DensityChangeEvent = QEvent::Type(QEvent::User + 1);

// Whether the program draws for a dense screen: as last chosen, or at first as the densest
// screen asks.
bool DenseScreen();

// Draws from now on for a dense screen or an ordinary one: the faces first, then each widget's
// pictures, then every widget is laid out and painted again. Nothing when already so.
void ChooseDensity(bool dense);

// Keeps the choice on the density of the screen the window shows on, through moves to
// another screen and changes of its screen's scale.
void FollowScreenDensity(QWidget* window);

} // namespace tarvane
