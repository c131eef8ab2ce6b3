// A display is usable when QT_QPA_PLATFORM names a platform explicitly, when a
// local X server accepts a connection on its socket, when DISPLAY names a
// remote X server, or when the Wayland socket accepts a connection.
#include "display_probe.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::qt {
namespace {

std::string Env(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

// Connects to a Unix socket by path, or in the abstract namespace when
// `abstract` is set.
bool CanConnect(const std::string &path, bool abstract) {
    sockaddr_un address{};
    const size_t offset = abstract ? 1 : 0;
    if (path.empty() || path.size() + offset >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    // An abstract name is exactly its bytes; a path name ends with its NUL.
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                                    path.size() + (abstract ? 0 : 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr *>(&address), length) == 0;
    ::close(fd);
    return ok;
}

// DISPLAY is "[host]:number[.screen]". A local display is checked on its
// socket; a remote one is left to Qt.
bool X11Reachable(std::string_view display) {
    const size_t colon = display.rfind(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view host = display.substr(0, colon);
    std::string_view number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    if (!host.empty() && host != "unix")
        return true;
    const std::string socket = "/tmp/.X11-unix/X" + std::string(number);
    return CanConnect(socket, true) || CanConnect(socket, false);
}

bool WaylandReachable(const std::string &name) {
    if (name.empty())
        return false;
    if (name.front() == '/')
        return CanConnect(name, false);
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    return !runtime.empty() && CanConnect(runtime + "/" + name, false);
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
