#pragma once

namespace tarvane {

// Makes the classic desktop faces the windows ask for available to the application: Tahoma
// and MS Sans Serif from the Wine font package when it is installed. Arial and Courier New
// need nothing here: fontconfig maps them onto the metric-compatible Liberation faces.
// On a screen of more than one device pixel per pixel, text asked in the bitmap-only
// MS Sans Serif is set in the scalable Tahoma instead. Call once the application exists.
void RegisterDesktopFonts();

} // namespace tarvane
