#pragma once
// What the end-to-end tests and the start-up benchmark drive the real program
// with: child processes (QProcess), a private Xvfb driven with xdotool and
// watched with ImageMagick's import, a temporary drawer with a stand-in
// colem, one run of the program in it, and a few readings of a window's
// picture.
#include <QImage>
#include <QProcess>
#include <QRect>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Environment = std::map<std::string, std::string>;

Environment CurrentEnvironment();
std::string ReadFile(const std::filesystem::path &file);

// A child with its own environment, no standard input and its output and
// errors appended to `output` (none: thrown away). It starts with default
// signal handling and an empty mask, dies with the test, and is killed when
// the object goes.
class Process {
  public:
    Process() = default;
    Process(const std::vector<std::string> &argv, const Environment &environment,
            const std::string &output = {}, const std::string &workingDir = {});
    bool started() const { return pid() > 0; }
    pid_t pid() const { return process_ ? pid_t(process_->processId()) : 0; }
    // The exit status once the child has ended (-1 when a signal ended it), or
    // nothing on timeout.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    void Signal(int signal) const;
    std::string ReadOutput() const { return process_->readAllStandardOutput().toStdString(); }
    std::string ReadLine() const; // of standard output, waiting for it

  private:
    struct Kill {
        void operator()(QProcess *process) const;
    };
    std::unique_ptr<QProcess, Kill> process_;
};

// Runs a command to its end; its standard output, or nothing when it failed.
std::optional<std::string> Run(const std::vector<std::string> &argv,
                               const Environment &environment = CurrentEnvironment());

// Xvfb at 1280x1024 on a free display, ended with the object. A lone server
// ends by itself when its last client leaves.
class XServer {
  public:
    explicit XServer(bool lone = false);
    ~XServer();
    bool ok() const { return !name_.empty(); }
    // DISPLAY set to this server, every other way to a display removed.
    Environment ClientEnvironment(Environment base = CurrentEnvironment()) const;

    std::optional<std::string> Xdo(const std::vector<std::string> &args) const;
    // The shown top-level windows of process `pid`, pop-ups included.
    std::vector<std::string> WindowsOf(pid_t pid) const;
    // The first window `pid` shows, waiting up to `timeout`; empty if none.
    std::string WaitForWindow(pid_t pid, std::chrono::milliseconds timeout) const;
    QRect Geometry(const std::string &window) const;
    QImage Grab(const std::string &window) const;
    // What a window manager sends for the close gadget: WM_DELETE_WINDOW.
    void Close(const std::string &window) const;

  private:
    Process server_;
    std::string name_;
};

// A temporary drawer: a copy of the program, a private settings folder, and
// a stand-in colem first in PATH that records each argument vector it gets.
class TestDrawer {
  public:
    explicit TestDrawer(const std::filesystem::path &program);
    ~TestDrawer();
    const std::filesystem::path &root() const { return root_; }
    std::filesystem::path drawer() const { return root_ / "drawer"; }
    std::filesystem::path program() const { return drawer() / "karvolin"; }
    std::filesystem::path configDir() const { return root_ / "config"; }
    std::filesystem::path settingsFile() const { return configDir() / "karvolin.ini"; }
    std::filesystem::path outputFile() const { return root_ / "output.txt"; }
    std::filesystem::path rom(const std::string &file) const { return drawer() / "roms" / file; }

    bool MakeDemo(const std::filesystem::path &maker) const; // roms/ and images/
    // The environment of a run: from `base` only the search path, displays,
    // locale and sanitizer options; private home and XDG folders; the
    // stand-in first in PATH.
    Environment ProgramEnvironment(Environment base) const;
    // Every argument vector the stand-in recorded so far, sorted.
    std::vector<std::vector<std::string>> EmulatorRuns() const;

  private:
    std::filesystem::path root_;
};

// One run of the program in a drawer on a server, driven as a user would.
struct Session {
    XServer &server;
    const TestDrawer &drawer;
    Process process{};
    std::string window{};

    // Starts the program; the window once all its rows are drawn, or a null
    // image.
    QImage Start();
    QImage Grab() const { return server.Grab(window); }
    template <typename Ready> QImage GrabWhen(Ready ready, std::chrono::milliseconds timeout = 3s);
    // Gives the window the keyboard focus and types the keys.
    bool Key(const std::vector<std::string> &keys) const;
    bool Click(QPoint point) const;
    std::optional<int> WaitForExit() { return process.Wait(5s); }
    std::string Output() const { return ReadFile(drawer.outputFile()); }
    // Waits until the stand-in has recorded `count` runs, then a little for
    // one too many; every run.
    std::vector<std::vector<std::string>> EmulatorRuns(size_t count) const;
};

// Rows of a window's picture: stripes between lines of its background colour
// (the top-left pixel) only.
std::vector<QRect> Rows(const QImage &image);
// The pieces of a row, left to right, between columns of background colour;
// pieces closer than `join` columns count as one.
std::vector<QRect> Pieces(const QImage &image, const QRect &row, int join);
// The number of pixels of exactly this colour (0xRRGGBB).
long CountColour(const QImage &image, uint32_t colour);

// Asks `ready` every few milliseconds until it says yes or `timeout` has
// passed; its last answer.
template <typename Ready> bool WaitFor(Ready ready, std::chrono::milliseconds timeout = 3s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;; std::this_thread::sleep_for(5ms))
        if (ready() || std::chrono::steady_clock::now() > deadline)
            return ready();
}

template <typename Ready> QImage Session::GrabWhen(Ready ready, std::chrono::milliseconds timeout) {
    QImage image;
    WaitFor([&] { return ready(image = Grab()); }, timeout);
    return image;
}

} // namespace e2e
