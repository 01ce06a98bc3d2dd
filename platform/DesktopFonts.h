#pragma once

namespace tarvane {

// Makes the classic desktop faces the windows ask for available to the application: Tahoma
// and MS Sans Serif from the Wine font package when it is installed. Arial and Courier New
// need nothing here: fontconfig maps them onto the metric-compatible Liberation faces.
// On a dense screen (ScreenDensity), text asked in the bitmap-only MS Sans Serif is set in
// the scalable Tahoma instead. Call once the application exists.
void RegisterDesktopFonts();

// Sets MS Sans Serif text in its own bitmap face, or in Tahoma when dense; the text already
// shown takes the new face at its next painting.
void ChooseDesktopFaces(bool dense);

} // namespace tarvane
