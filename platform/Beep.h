#pragma once

namespace tarvane {

// The system beep, the one way a widget reports a refused keystroke.
void Beep();

// How many beeps sounded since the program started; tests read it.
int BeepCount();

// Whether the desktop sounds a bell for Beep(): X11 does; Wayland and the offscreen platform
// have none, so a refusal must be shown there.
bool BellSounds();

} // namespace tarvane
