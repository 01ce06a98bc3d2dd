#pragma once

namespace tarvane {

// The system beep, the one way a widget reports a refused keystroke.
void Beep();

// How many beeps sounded since the program started; tests read it.
int BeepCount();

} // namespace tarvane
