#pragma once
// A private X server (Xvfb on a free display number) and one Xlib connection
// to it, for driving and watching the program as a user's desktop would.
#include "process.h"

#include <QImage>

#include <chrono>
#include <string>

struct _XDisplay;

namespace e2e {

// An X window id; Xlib's own headers stay inside the implementation, where
// their macros cannot clash with Qt's names.
using Window = unsigned long;

struct WindowGeometry {
    int x = 0, y = 0; // top-left corner on the screen
    int width = 0, height = 0;
};

class XServer {
  public:
    // Starts Xvfb and connects; check ok() before use. A lone server gets no
    // connection of the test's and ends when its last client leaves.
    explicit XServer(int width = 1280, int height = 1024, bool lone = false);
    ~XServer(); // disconnects and ends the server
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    bool ok() const { return display_ != nullptr || (lone_ && !name_.empty()); }
    const std::string &name() const { return name_; } // ":N"

    // The environment for a client of this server: DISPLAY set, every other
    // way to a display removed.
    Environment ClientEnvironment(Environment base) const;

    // The mapped top-level window that process `pid` shows, waiting up to
    // `timeout` for it; 0 when none appears.
    Window WaitForWindow(pid_t pid, std::chrono::milliseconds timeout);
    // The mapped top-level windows of `pid` right now (menus and pop-ups
    // included), in stacking order.
    std::vector<Window> WindowsOf(pid_t pid);
    // Whether a window still exists on the server.
    bool Exists(Window window);
    WindowGeometry Geometry(Window window);
    // The window's pixels as the screen shows them.
    QImage Grab(Window window);
    // What a window manager sends when the user clicks the close gadget:
    // WM_PROTOCOLS with WM_DELETE_WINDOW.
    void SendCloseRequest(Window window);
    // Runs xdotool against this server; true when it succeeded.
    bool Xdo(const std::vector<std::string> &args);

  private:
    bool StartServer(int width, int height);
    bool lone_;
    pid_t WindowPid(Window window);
    bool Viewable(Window window);
    void DrainEvents(pid_t pid, Window *found);

    Process server_;
    std::string name_;
    _XDisplay *display_ = nullptr;
};

} // namespace e2e
