#pragma once
// One run of the real program in a test drawer on the test X server, driven
// as a user would: keys and clicks through xdotool, the close gadget as a
// window manager sends it, signals as a terminal or a logout would.
#include "process.h"
#include "test_drawer.h"
#include "x_server.h"

#include <QImage>

#include <chrono>
#include <optional>
#include <string>

namespace e2e {

class Session {
  public:
    Session(XServer &server, const TestDrawer &drawer);
    ~Session(); // a program that is still running is killed

    // Starts the program and waits until its window is shown and drawn.
    bool Start();
    pid_t pid() const { return process_.pid(); }
    Window window() const { return window_; }

    // The window's pixels as shown now.
    QImage Grab();
    // Waits until a grab of the window satisfies `ready`; the last grab.
    template <typename Ready> QImage GrabWhen(Ready ready, std::chrono::milliseconds timeout);

    // Gives the window the keyboard focus and types a key ("q", "Down", ...).
    bool Key(const std::string &key);
    // Clicks the left mouse button at a point of the window.
    bool Click(int x, int y);
    // The close gadget.
    void Close();
    void Signal(int signal) { process_.Signal(signal); }

    // The wait status once the program has ended, or nothing on timeout.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    // What the program wrote on its standard output and error.
    std::string Output() const;

  private:
    XServer &server_;
    const TestDrawer &drawer_;
    Process process_;
    Window window_ = 0;
};

template <typename Ready> QImage Session::GrabWhen(Ready ready, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    QImage image = Grab();
    while (!ready(image) && std::chrono::steady_clock::now() < deadline) {
        Process::Pause(std::chrono::milliseconds(20));
        image = Grab();
    }
    return image;
}

} // namespace e2e
