#pragma once

namespace tarvane {

// Makes the classic desktop faces the windows ask for available to the application: Tahoma
// and MS Sans Serif from the Wine font package when it is installed. Arial and Courier New
// need nothing here: fontconfig maps them onto the metric-compatible Liberation faces.
void RegisterDesktopFonts();

} // namespace tarvane
