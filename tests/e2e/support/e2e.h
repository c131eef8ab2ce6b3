#pragma once
// What end-to-end tests and the start-up benchmark drive the program with.
#include "search_path.h"
#include "temp_dir.h"

#include <QImage>
#include <QProcess>
#include <QRect>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Environment = QProcessEnvironment;
using Runs = std::vector<std::vector<std::string>>;

inline Environment CurrentEnvironment() {
    return QProcessEnvironment::systemEnvironment();
}

inline std::string ReadFile(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Whether `ready`, asked every few milliseconds, says yes within `timeout`.
template <typename Ready> bool WaitFor(Ready ready, std::chrono::milliseconds timeout = 3s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;; std::this_thread::sleep_for(5ms))
        if (ready())
            return true;
        else if (std::chrono::steady_clock::now() > deadline)
            return false;
}

// A child, killed with the object or the test, with default signal handling,
// no input, its output and errors appended to `output` (none: output kept for
// ReadOutput). A `hostile` child writes to a pipe nobody reads, and no file.
class Process {
  public:
    Process() = default;
    Process(const std::vector<std::string> &argv, const Environment &environment,
            const std::string &output = {}, const std::string &workingDir = {},
            bool hostile = false)
        : qt_(new QProcess) {
        qt_->setProcessEnvironment(environment);
        qt_->setWorkingDirectory(QString::fromStdString(workingDir));
        qt_->setStandardInputFile(QProcess::nullDevice());
        const QString file = output.empty() ? QProcess::nullDevice() : output.c_str();
        qt_->setStandardErrorFile(file, QIODevice::Append);
        if (!output.empty())
            qt_->setStandardOutputFile(file, QIODevice::Append);
        qt_->setChildProcessModifier([hostile] {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (int fds[2]; hostile && ::pipe(fds) == 0) {
                ::dup2(fds[1], 1), ::dup2(fds[1], 2), ::close(fds[0]), ::close(fds[1]);
                const rlimit none{0, 0};
                ::setrlimit(RLIMIT_FSIZE, &none);
            }
            const sigset_t none{};
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            for (int signal = 1; signal < NSIG; ++signal)
                ::signal(signal, SIG_DFL);
        });
        QStringList args;
        for (size_t i = 1; i < argv.size(); ++i)
            args << QString::fromStdString(argv[i]);
        qt_->start(QString::fromStdString(argv.at(0)), args);
        if (!qt_->waitForStarted())
            qt_.reset();
    }
    pid_t pid() const { return qt_ ? pid_t(qt_->processId()) : 0; }
    void Signal(int signal) const {
        if (pid() > 0)
            ::kill(pid(), signal);
    }
    // The exit status (-1: a signal), or nothing on timeout.
    std::optional<int> Wait(std::chrono::milliseconds timeout) {
        if (!qt_ ||
            (qt_->state() != QProcess::NotRunning && !qt_->waitForFinished(timeout.count())))
            return std::nullopt;
        return qt_->exitStatus() == QProcess::NormalExit ? qt_->exitCode() : -1;
    }
    std::string ReadOutput() const { return qt_->readAllStandardOutput().toStdString(); }
    std::string ReadLine() const { // Xvfb writes its display number at once
        return qt_ && qt_->waitForReadyRead(10000) ? qt_->readLine().trimmed().toStdString() : "";
    }

  private:
    struct Kill {
        void operator()(QProcess *qt) const { qt->kill(), qt->waitForFinished(), delete qt; }
    };
    std::unique_ptr<QProcess, Kill> qt_;
};

// Runs a command to its end; its standard output, or nothing when it failed.
inline std::optional<std::string> Run(const std::vector<std::string> &argv,
                                      const Environment &environment = CurrentEnvironment()) {
    Process process(argv, environment);
    return process.Wait(30s) == 0 ? std::optional(process.ReadOutput()) : std::nullopt;
}

// Xvfb at 1280x1024; a lone one ends with its last client.
class XServer {
  public:
    explicit XServer(bool lone = false)
        : server_({"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24",
                   lone ? "-terminate" : "-noreset"},
                  CurrentEnvironment()) {
        if (const std::string number = server_.ReadLine(); !number.empty())
            name_ = ":" + number;
    }
    ~XServer() { server_.Signal(SIGTERM), server_.Wait(5s); }
    bool ok() const { return !name_.empty(); }
    // DISPLAY set to this server, every other way to a display removed.
    Environment ClientEnvironment(Environment base = CurrentEnvironment()) const {
        base.insert("DISPLAY", name_.c_str());
        for (const char *name : {"WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"})
            base.remove(name);
        return base;
    }
    std::optional<std::string> Xdo(std::vector<std::string> args) const {
        args.insert(args.begin(), "xdotool");
        return Run(args, ClientEnvironment());
    }
    // The shown top-level windows of process `pid`, pop-ups included.
    std::vector<std::string> WindowsOf(pid_t pid) const {
        std::istringstream found(
            Xdo({"search", "--onlyvisible", "--pid", std::to_string(pid)}).value_or(""));
        return {std::istream_iterator<std::string>(found), {}};
    }
    // The first window `pid` shows, waiting up to `timeout`; empty if none.
    std::string WaitForWindow(pid_t pid, std::chrono::milliseconds timeout) const {
        std::vector<std::string> shown;
        WaitFor([&] { return !(shown = WindowsOf(pid)).empty(); }, timeout);
        return shown.empty() ? "" : shown.front();
    }
    QRect Geometry(const std::string &window) const {
        int x = 0, y = 0, width = 0, height = 0;
        std::sscanf(Xdo({"getwindowgeometry", "--shell", window}).value_or("").c_str(),
                    "WINDOW=%*u X=%d Y=%d WIDTH=%d HEIGHT=%d", &x, &y, &width, &height);
        return QRect(x, y, width, height);
    }
    QImage Grab(const std::string &window) const {
        const auto ppm = Run({"import", "-window", window, "ppm:-"}, ClientEnvironment());
        return ppm ? QImage::fromData(QByteArray::fromStdString(*ppm), "PPM") : QImage();
    }
    // What a window manager sends for the close gadget: WM_DELETE_WINDOW.
    void Close(const std::string &window) const; // in e2e.cpp, away from Xlib's macros

  private:
    Process server_;
    std::string name_;
};

// A temporary drawer: the program, an empty roms folder, a private settings
// folder and a stand-in colem, the only one in PATH, that records its arguments.
class TestDrawer {
  public:
    explicit TestDrawer(const fs::path &program) {
        for (const char *folder : {"drawer/roms", "config", "runtime", "bin/runs"})
            fs::create_directories(root() / folder);
        fs::permissions(root() / "runtime", fs::perms::owner_all);
        fs::copy_file(program, this->program());
        // Each run writes its arguments, NUL-ended, to a file of its own.
        temp_.Write("bin/colem", "#!/bin/sh\nprintf '%s\\0' \"$@\" > " + temp_ / "bin/runs/$$\n");
        fs::permissions(root() / "bin/colem", fs::perms::owner_all);
    }
    const fs::path &root() const { return temp_.path(); }
    fs::path drawer() const { return root() / "drawer"; }
    fs::path program() const { return drawer() / "karvolin"; }
    fs::path configDir() const { return root() / "config"; }
    fs::path settingsFile() const { return configDir() / "karvolin.ini"; }
    fs::path outputFile() const { return root() / "output.txt"; }
    fs::path rom(const std::string &file) const { return drawer() / "roms" / file; }

    bool MakeDemo(const fs::path &maker) const { // roms/ and images/
        return Run({maker.string(), drawer().string()}).has_value();
    }
    // From `base` only displays, locale and sanitizer options (no desktop's
    // theme); private home and XDG folders; PATH with the stand-in.
    Environment ProgramEnvironment(const Environment &base) const {
        Environment own;
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "LANG", "LC_ALL", "TZ", "TMPDIR",
                                 "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "QT_QPA_PLATFORM",
                                 "QT_WAYLAND_DISABLE_WINDOWDECORATION"})
            if (base.contains(name))
                own.insert(name, base.value(name));
        own.insert("HOME", root().c_str());
        own.insert("XDG_CONFIG_HOME", configDir().c_str());
        own.insert("XDG_RUNTIME_DIR", (root() / "runtime").c_str());
        // In a sanitizer build, leaks inside system libraries are not ours.
        own.insert("LSAN_OPTIONS", own.value("LSAN_OPTIONS") + ":suppressions=" LSAN_SUPPRESSIONS
                                                               ":print_suppressions=0");
        own.insert("PATH", SearchPath(root() / "bin").c_str());
        return own;
    }
    // Every argument vector the stand-in recorded so far, sorted.
    Runs EmulatorRuns() const {
        Runs runs;
        for (const auto &entry : fs::directory_iterator(root() / "bin/runs")) {
            std::istringstream in(ReadFile(entry));
            runs.emplace_back();
            for (std::string argument; std::getline(in, argument, '\0');)
                runs.back().push_back(argument);
        }
        std::sort(runs.begin(), runs.end());
        return runs;
    }

  private:
    TempDir temp_;
};

// A control as AT-SPI shows it to a screen reader.
struct Control {
    std::string role, name; // "push button", "Launch"
    QRect box;              // on the screen
    bool checked = false;
};

// A private session bus, and the accessibility bus it starts behind it, for
// the test program's life: a program it joins shows its controls to AT-SPI.
class AccessibilityBus {
  public:
    AccessibilityBus() {
        for (const char *name : {"HOME", "XDG_RUNTIME_DIR"})
            own_.insert(name, home_.path().c_str());
        own_.insert("PATH", "/usr/bin:/bin");
        daemon_ = Process({"dbus-daemon", "--session", "--nofork", "--print-address=1"}, own_);
        own_.insert("DBUS_SESSION_BUS_ADDRESS", daemon_.ReadLine().c_str());
    }
    ~AccessibilityBus() { daemon_.Signal(SIGTERM), daemon_.Wait(5s); } // and the bus behind it
    Environment Join(Environment base) const {
        base.insert("DBUS_SESSION_BUS_ADDRESS", own_.value("DBUS_SESSION_BUS_ADDRESS"));
        base.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        return base;
    }
    // What AT-SPI shows of the windows of process `pid`, in the order of its tree.
    std::vector<Control> ControlsOf(pid_t pid) const {
        std::istringstream lines(
            Run({"/usr/bin/python3", ACCESSIBLE_CONTROLS, std::to_string(pid)}, own_).value_or(""));
        std::vector<Control> controls;
        for (std::string line; std::getline(lines, line);) { // role, name, numbers
            const size_t role = line.find('\t'), name = line.find('\t', role + 1);
            int x = 0, y = 0, width = 0, height = 0, checked = 0;
            std::sscanf(line.c_str() + name + 1, "%d %d %d %d %d", &x, &y, &width, &height,
                        &checked);
            controls.push_back({line.substr(0, role), line.substr(role + 1, name - role - 1),
                                QRect(x, y, width, height), checked != 0});
        }
        return controls;
    }

  private:
    TempDir home_;
    Environment own_;
    Process daemon_;
};

inline const AccessibilityBus &Accessibility() {
    static const AccessibilityBus bus;
    return bus;
}

// The number of pixels of exactly this colour (0xRRGGBB).
inline long CountColour(const QImage &image, uint32_t colour) {
    long count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFFu) == colour;
    return count;
}

// One run of the program, driven with keys and clicks on controls found by name.
struct Session {
    XServer &server;
    const TestDrawer &drawer;
    Process process{};
    std::string window{};

    // Whether the program (hostile: see Process) came up with its controls.
    bool Start(bool hostile = false) {
        process =
            Process({drawer.program().string()},
                    Accessibility().Join(drawer.ProgramEnvironment(server.ClientEnvironment())),
                    drawer.outputFile().string(), drawer.root().string(), hostile);
        window = server.WaitForWindow(process.pid(), 10s);
        return !window.empty() && Find("push button", "Quit");
    }
    std::vector<Control> Controls() const { return Accessibility().ControlsOf(process.pid()); }
    // The control, once AT-SPI places it on the screen and `wanted` accepts it.
    std::optional<Control> Find(std::string_view role, std::string_view name,
                                bool (*wanted)(const Control &) = nullptr) const {
        std::optional<Control> found;
        WaitFor(
            [&] {
                for (const Control &control : Controls())
                    if (control.role == role && control.name == name && !control.box.isEmpty() &&
                        (!wanted || wanted(control)))
                        return found.emplace(control), true;
                return false;
            },
            10s);
        return found;
    }
    // Clicks the middle of a control. (No --sync: it would wait for a motion
    // that never comes when the pointer is there already.)
    bool Click(std::string_view role, std::string_view name) const {
        const std::optional<Control> control = Find(role, name);
        const QPoint at = control ? control->box.center() : QPoint();
        return control && server.Xdo({"mousemove", std::to_string(at.x()), std::to_string(at.y()),
                                      "click", "1"});
    }
    // Whether the window comes to show `pixels` of this colour (half a box art).
    bool Shows(uint32_t colour, long pixels = 220 * 140 / 2) const {
        return WaitFor([&] { return CountColour(server.Grab(window), colour) > pixels; }, 5s);
    }
    // Gives the window the keyboard focus and types the keys.
    bool Key(const std::vector<std::string> &keys) const {
        std::vector<std::string> args{"windowfocus", "--sync", window, "key"};
        args.insert(args.end(), keys.begin(), keys.end());
        return server.Xdo(args).has_value();
    }
    std::optional<int> WaitForExit() { return process.Wait(5s); }
    std::string Output() const { return ReadFile(drawer.outputFile()); }
    // Every run, once `count` are recorded and a little longer for one too many.
    Runs EmulatorRuns(size_t count) const {
        WaitFor([&] { return drawer.EmulatorRuns().size() >= count; }, 5s);
        std::this_thread::sleep_for(100ms);
        return drawer.EmulatorRuns();
    }
};

} // namespace e2e
