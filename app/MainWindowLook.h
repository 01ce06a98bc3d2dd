#pragma once

namespace tarvane {

class TMenuStyler;
class TTabStrip;

// The main window's stored settings of its category strip: place, colours, fonts, margins
// and the one tab "Electrique", selected.
void ApplyTabStrip1Layout(TTabStrip& strip);

// The main window's stored settings of its menu styler: the blue preset and its colours.
void ApplyMenuStyler1Layout(TMenuStyler& styler);

} // namespace tarvane
