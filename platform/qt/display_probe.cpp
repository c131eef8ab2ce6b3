// A display is usable when QT_QPA_PLATFORM names a platform explicitly, when
// the X server of DISPLAY accepts a client, or when the Wayland socket
// accepts a connection.
#include "display_probe.h"

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

// An X display is usable when a client completes the connection handshake,
// as Qt will (local socket or TCP, authorisation).
bool X11Reachable(const std::string &display) {
    xcb_connection_t *connection = xcb_connect(display.c_str(), nullptr);
    const bool ok = connection && !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    return ok;
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

} // namespace

std::string MissingDisplayReason() {
    if (!Env("QT_QPA_PLATFORM").empty())
        return {};
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
