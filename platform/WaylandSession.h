#pragma once

namespace tarvane {

// Under Wayland, Qt 6.4 draws window captions only once its OpenGL buffer integration is up,
// and bringing that up loads Mesa (some 50 MB resident) into a program that never draws with
// OpenGL. Qt 6.8 draws them on shared-memory buffers without Mesa, but offers maximize on
// fixed-size windows and minimize on a modal dialog. Qt's own switch
// QT_WAYLAND_DISABLE_WINDOWDECORATION turns its captions off, leaving the windows on
// shared-memory buffers alone on both; the program then draws its captions itself where the
// compositor does not decorate windows (weston, GNOME), and leaves them to it where it does
// (server-side decorations, as KDE and wlroots offer).

// What PrepareWaylandWindows found and did.
struct TWaylandWindows {
    // Whether the windows must draw their own captions should the program run on Wayland.
    bool OwnCaptions = false;
    // Whether it set QT_WAYLAND_DISABLE_WINDOWDECORATION in the program's environment.
    bool SwitchSet = false;
};

// Call before the application object exists. Leaves everything as it is when the user set
// QT_WAYLAND_DISABLE_WINDOWDECORATION or when no Wayland compositor answers.
TWaylandWindows PrepareWaylandWindows();

// Once the application object exists: records PrepareWaylandWindows' answer.
void SetWaylandWindows(const TWaylandWindows& windows);

// Once the first window is shown: takes back the switch PrepareWaylandWindows set, so that
// the programs Tarvane starts (the readme's editor) get the environment Tarvane was given.
// Qt reads the switch once, when it sets up the first window; the later windows follow it.
void TakeBackWaylandSwitch();

// Whether the program runs on Wayland.
bool OnWayland();

// Whether the windows draw their own captions: asked for, and running on Wayland.
bool OwnWindowCaptions();

// Once the event loop has ended, with everything saved: on Wayland, ends the process with
// this status at once; elsewhere returns. Qt 6.4's Wayland plugin can hang for ever while it
// disconnects in the application object's destructor (its event thread waits for a read of
// the compositor's socket that nothing completes), leaving a process without a window. The
// compositor frees what the connection held when the process ends.
void EndBeforeWaylandTeardown(int status);

} // namespace tarvane
