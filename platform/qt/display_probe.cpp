// A display is usable when the X server of DISPLAY accepts a client, or when
// the Wayland socket accepts a connection. QT_QPA_PLATFORM narrows that to the
// platforms it names.
#include "display_probe.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace platform::qt {
namespace {

std::string Env(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

// The probe's connection stays open until Qt has its own: an X server whose
// last client leaves resets, and Qt's connection would race that reset.
xcb_connection_t *g_probe = nullptr;

// An X display is usable when a client completes the connection handshake,
// as Qt will (local socket or TCP, authorisation).
bool X11Reachable(const std::string &display) {
    ReleaseDisplayProbe();
    xcb_connection_t *connection = xcb_connect(display.c_str(), nullptr);
    if (connection && !xcb_connection_has_error(connection)) {
        g_probe = connection;
        return true;
    }
    xcb_disconnect(connection);
    return false;
}

bool CanConnect(const std::string &path) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// WAYLAND_DISPLAY is a socket path, or a name in XDG_RUNTIME_DIR.
bool WaylandReachable(const std::string &name) {
    if (name.empty())
        return false;
    if (name.front() == '/')
        return CanConnect(name);
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    return !runtime.empty() && CanConnect(runtime + "/" + name);
}

// One entry of QT_QPA_PLATFORM ("xcb", "wayland", "xcb:option=value"). The
// window systems are probed as without it; other names are left to Qt, and a
// platform Qt cannot start is reported while Qt starts (see qt_host).
bool PlatformUsable(const std::string &entry) {
    const std::string name = entry.substr(0, entry.find(':'));
    if (name == "xcb")
        return !Env("DISPLAY").empty() && X11Reachable(Env("DISPLAY"));
    if (name.starts_with("wayland"))
        return WaylandAnswers();
    return !name.empty();
}

} // namespace

void ReleaseDisplayProbe() {
    xcb_disconnect(g_probe);
    g_probe = nullptr;
}

bool WaylandAnswers() {
    const std::string name = Env("WAYLAND_DISPLAY");
    return WaylandReachable(name.empty() ? "wayland-0" : name); // the library's default
}

std::string UnusableDisplayLine() {
    const std::string platforms = Env("QT_QPA_PLATFORM");
    if (platforms.empty())
        return "Cannot open a window: the display cannot be used.";
    return "Cannot open a window: the platform \"" + platforms +
           "\" named by QT_QPA_PLATFORM cannot be used.";
}

std::string MissingDisplayReason() {
    // A list ("wayland;xcb") is tried in its order by Qt: one usable entry will do.
    const std::string platforms = Env("QT_QPA_PLATFORM");
    if (!platforms.empty()) {
        for (size_t begin = 0; begin <= platforms.size();) {
            const size_t end = std::min(platforms.find(';', begin), platforms.size());
            if (PlatformUsable(platforms.substr(begin, end - begin)))
                return {};
            begin = end + 1;
        }
        return UnusableDisplayLine();
    }
    const std::string display = Env("DISPLAY");
    const std::string wayland = Env("WAYLAND_DISPLAY");
    if (!display.empty() && X11Reachable(display))
        return {};
    if (WaylandReachable(wayland))
        return {};
    if (display.empty() && wayland.empty())
        return "Cannot open a window: no display (DISPLAY and WAYLAND_DISPLAY are not set).";
    return "Cannot open a window: the display \"" + (display.empty() ? wayland : display) +
           "\" does not answer.";
}

} // namespace platform::qt
