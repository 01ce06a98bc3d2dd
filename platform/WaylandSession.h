#pragma once

namespace tarvane {

// Under Wayland, Qt 6.4 draws window captions only once its OpenGL buffer integration is up,
// and bringing that up loads Mesa (some 50 MB resident) into a program that never draws with
// OpenGL. Qt's own switch QT_WAYLAND_DISABLE_WINDOWDECORATION skips both, leaving the
// windows on shared-memory buffers alone; the program then draws its captions itself where
// the compositor does not decorate windows (weston, GNOME), and leaves them to it where it
// does (server-side decorations, as KDE and wlroots offer).

// Call before the application object exists. Returns whether the windows must draw their own
// captions should the program run on Wayland. Leaves everything as it is when the user set
// QT_WAYLAND_DISABLE_WINDOWDECORATION or when no Wayland compositor answers.
bool PrepareWaylandWindows();

// Once the application object exists: records PrepareWaylandWindows' answer.
void SetOwnWindowCaptions(bool own);

// Whether the windows draw their own captions: asked for, and running on Wayland.
bool OwnWindowCaptions();

// Once the event loop has ended, with everything saved: on Wayland, ends the process with
// this status at once; elsewhere returns. Qt 6.4's Wayland plugin can hang for ever while it
// disconnects in the application object's destructor (its event thread waits for a read of
// the compositor's socket that nothing completes), leaving a process without a window. The
// compositor frees what the connection held when the process ends.
void EndBeforeWaylandTeardown(int status);

} // namespace tarvane
