#include "WaylandSession.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <wayland-client.h>

namespace tarvane {

namespace {

constexpr char OwnCaptionsProperty[] = "tarvaneOwnWindowCaptions";
constexpr char SwitchSetProperty[] = "tarvaneWaylandSwitchSet";
constexpr char DecorationSwitch[] = "QT_WAYLAND_DISABLE_WINDOWDECORATION";

void OnGlobal(void* data, wl_registry* /*registry*/, uint32_t /*name*/, const char* interface,
              uint32_t /*version*/)
{
    if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
        *static_cast<bool*>(data) = true;
}

void OnGlobalRemove(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

constexpr wl_registry_listener RegistryListener = {OnGlobal, OnGlobalRemove};

// Whether a compositor can be reached the way Qt reaches it, without libwayland complaining
// on standard error when it cannot.
bool CompositorReachable()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("wayland"))
        return false;
    const QByteArray socket = qgetenv("WAYLAND_DISPLAY");
    return socket.startsWith('/') || qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
}

// Asks the compositor on a connection of our own whether it offers to decorate windows.
// Empty when no compositor answers.
std::optional<bool> CompositorDecorates()
{
    wl_display* const display = wl_display_connect(nullptr);
    if (!display)
        return std::nullopt;
    bool decorates = false;
    wl_registry* const registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &RegistryListener, &decorates);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered)
        return std::nullopt;
    return decorates;
}

} // namespace

TWaylandWindows PrepareWaylandWindows()
{
    if (qEnvironmentVariableIsSet(DecorationSwitch))
        return {};
    bool ownCaptions = true;
    if (qEnvironmentVariableIsSet("WAYLAND_SOCKET")) {
        // A socket handed over for Qt alone: asking on it would take it from Qt.
    } else if (!CompositorReachable()) {
        return {};
    } else if (const std::optional<bool> decorates = CompositorDecorates()) {
        ownCaptions = !*decorates;
    } else {
        return {};
    }
    qputenv(DecorationSwitch, "1");
    return {ownCaptions, true};
}

void SetWaylandWindows(const TWaylandWindows& windows)
{
    qApp->setProperty(OwnCaptionsProperty, windows.OwnCaptions);
    qApp->setProperty(SwitchSetProperty, windows.SwitchSet);
}

void TakeBackWaylandSwitch()
{
    if (qApp->property(SwitchSetProperty).toBool())
        qunsetenv(DecorationSwitch);
    qApp->setProperty(SwitchSetProperty, false);
}

bool OnWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool OwnWindowCaptions()
{
    return qApp && qApp->property(OwnCaptionsProperty).toBool() && OnWayland();
}

void EndBeforeWaylandTeardown(int status)
{
    if (!OnWayland())
        return;
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace tarvane
