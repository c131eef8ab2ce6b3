#include "x_server.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace e2e {
namespace {

// Reads the display number that Xvfb writes once it accepts clients.
std::string ReadDisplayNumber(int fd, std::chrono::milliseconds timeout) {
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd pfd{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
            return {};
        char c = 0;
        if (::read(fd, &c, 1) != 1)
            return {};
        if (c == '\n')
            return number;
        number += c;
    }
}

// Windows come and go while the tests look at them; a request about a window
// that has just gone is not a failure (Xlib's default handler would exit).
int IgnoreErrors(Display *, XErrorEvent *) {
    return 0;
}

} // namespace

XServer::XServer(int width, int height, bool lone) : lone_(lone) {
    XSetErrorHandler(IgnoreErrors);
    if (StartServer(width, height) && !lone)
        display_ = XOpenDisplay(name_.c_str());
    if (display_)
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
}

bool XServer::StartServer(int width, int height) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::vector<std::string> argv = {"Xvfb", "-displayfd", "3", "-nolisten",
                                     "tcp",  "-screen",    "0", screen};
    if (lone_)
        argv.push_back("-terminate");
    server_ = Process(argv, SpawnOptions{CurrentEnvironment(), {}, {}, fds[1]});
    ::close(fds[1]);
    const std::string number = ReadDisplayNumber(fds[0], std::chrono::seconds(10));
    ::close(fds[0]);
    if (number.empty())
        return false;
    name_ = ":" + number;
    return true;
}

XServer::~XServer() {
    if (display_)
        XCloseDisplay(display_);
    server_.Signal(SIGTERM);
    if (!server_.Wait(std::chrono::seconds(5)))
        server_.Kill();
}

Environment XServer::ClientEnvironment(Environment base) const {
    base["DISPLAY"] = name_;
    base.erase("WAYLAND_DISPLAY");
    base.erase("QT_QPA_PLATFORM");
    base.erase("XAUTHORITY");
    return base;
}

pid_t XServer::WindowPid(Window window) {
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    pid_t pid = -1;
    if (XGetWindowProperty(display_, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        pid = static_cast<pid_t>(*reinterpret_cast<unsigned long *>(data));
    if (data)
        XFree(data);
    return pid;
}

bool XServer::Viewable(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state == IsViewable;
}

std::vector<Window> XServer::WindowsOf(pid_t pid) {
    std::vector<Window> windows;
    if (!display_)
        return windows;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i)
            if (WindowPid(children[i]) == pid && Viewable(children[i]))
                windows.push_back(children[i]);
        XFree(children);
    }
    return windows;
}

bool XServer::Exists(Window window) {
    XWindowAttributes attributes;
    return display_ && XGetWindowAttributes(display_, window, &attributes);
}

// Takes every queued structure event; a MapNotify of a window of `pid`
// answers the wait.
void XServer::DrainEvents(pid_t pid, Window *found) {
    while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MapNotify && !*found && WindowPid(event.xmap.window) == pid)
            *found = event.xmap.window;
    }
}

Window XServer::WaitForWindow(pid_t pid, std::chrono::milliseconds timeout) {
    if (!display_)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Window found = 0;
    while (!found) {
        DrainEvents(pid, &found);
        if (found)
            break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return 0;
        // Replies read by earlier requests may have queued events already.
        pollfd pfd{ConnectionNumber(display_), POLLIN, 0};
        if (!XEventsQueued(display_, QueuedAlready))
            ::poll(&pfd, 1, static_cast<int>(std::min<long>(left.count(), 50)));
        if (const std::vector<Window> shown = WindowsOf(pid); !shown.empty())
            found = shown.front();
    }
    return found;
}

WindowGeometry XServer::Geometry(Window window) {
    WindowGeometry geometry;
    XWindowAttributes attributes;
    if (!display_ || !XGetWindowAttributes(display_, window, &attributes))
        return geometry;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &geometry.x,
                          &geometry.y, &child);
    geometry.width = attributes.width;
    geometry.height = attributes.height;
    return geometry;
}

QImage XServer::Grab(Window window) {
    const WindowGeometry geometry = Geometry(window);
    if (geometry.width <= 0 || geometry.height <= 0)
        return {};
    XImage *image =
        XGetImage(display_, window, 0, 0, geometry.width, geometry.height, AllPlanes, ZPixmap);
    if (!image)
        return {};
    QImage result(geometry.width, geometry.height, QImage::Format_RGB32);
    for (int y = 0; y < geometry.height; ++y)
        for (int x = 0; x < geometry.width; ++x)
            result.setPixel(x, y, 0xFF000000u | (XGetPixel(image, x, y) & 0xFFFFFFu));
    XDestroyImage(image);
    return result;
}

void XServer::SendCloseRequest(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

bool XServer::Xdo(const std::vector<std::string> &args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return Run(argv, ClientEnvironment(CurrentEnvironment()));
}

} // namespace e2e
