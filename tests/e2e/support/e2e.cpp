#include "e2e.h"

#include <X11/Xlib.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>

extern char **environ;

namespace e2e {
namespace fs = std::filesystem;

Environment CurrentEnvironment() {
    Environment environment;
    for (char **entry = environ; *entry; ++entry)
        if (const char *equals = std::strchr(*entry, '='))
            environment[std::string(*entry, size_t(equals - *entry))] = equals + 1;
    return environment;
}

std::string ReadFile(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

Process::Process(const std::vector<std::string> &argv, const Environment &environment,
                 const std::string &output, const std::string &workingDir)
    : process_(new QProcess) {
    QProcessEnvironment env;
    for (const auto &[name, value] : environment)
        env.insert(QString::fromStdString(name), QString::fromStdString(value));
    process_->setProcessEnvironment(env);
    process_->setWorkingDirectory(QString::fromStdString(workingDir));
    process_->setStandardInputFile(QProcess::nullDevice());
    if (!output.empty()) {
        process_->setStandardOutputFile(QString::fromStdString(output), QIODevice::Append);
        process_->setStandardErrorFile(QString::fromStdString(output), QIODevice::Append);
    }
    process_->setChildProcessModifier([] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int signal = 1; signal < NSIG; ++signal)
            ::signal(signal, SIG_DFL);
    });
    QStringList args;
    for (size_t i = 1; i < argv.size(); ++i)
        args << QString::fromStdString(argv[i]);
    process_->start(QString::fromStdString(argv.at(0)), args);
    if (!process_->waitForStarted())
        process_.reset();
}

void Process::Kill::operator()(QProcess *process) const {
    process->kill();
    process->waitForFinished();
    delete process;
}

std::optional<int> Process::Wait(std::chrono::milliseconds timeout) {
    if (!process_ || (process_->state() != QProcess::NotRunning &&
                      !process_->waitForFinished(int(timeout.count()))))
        return std::nullopt;
    return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
}

void Process::Signal(int signal) const {
    if (started())
        ::kill(pid(), signal);
}

std::string Process::ReadLine() const {
    while (process_ && !process_->canReadLine() && process_->waitForReadyRead(10000)) {
    }
    return process_ ? process_->readLine().trimmed().toStdString() : "";
}

std::optional<std::string> Run(const std::vector<std::string> &argv,
                               const Environment &environment) {
    Process process(argv, environment);
    if (process.Wait(30s) != 0)
        return std::nullopt;
    return process.ReadOutput();
}

XServer::XServer(bool lone)
    : server_({"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24",
               lone ? "-terminate" : "-noreset"},
              CurrentEnvironment()) {
    if (const std::string number = server_.ReadLine(); !number.empty())
        name_ = ":" + number;
}

XServer::~XServer() {
    server_.Signal(SIGTERM);
    server_.Wait(5s);
}

Environment XServer::ClientEnvironment(Environment base) const {
    base["DISPLAY"] = name_;
    for (const char *name : {"WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"})
        base.erase(name);
    return base;
}

std::optional<std::string> XServer::Xdo(const std::vector<std::string> &args) const {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return Run(argv, ClientEnvironment());
}

std::vector<std::string> XServer::WindowsOf(pid_t pid) const {
    std::istringstream found(
        Xdo({"search", "--onlyvisible", "--pid", std::to_string(pid)}).value_or(""));
    std::vector<std::string> windows;
    for (std::string window; found >> window;)
        windows.push_back(window);
    return windows;
}

std::string XServer::WaitForWindow(pid_t pid, std::chrono::milliseconds timeout) const {
    std::vector<std::string> shown;
    WaitFor([&] { return !(shown = WindowsOf(pid)).empty(); }, timeout);
    return shown.empty() ? "" : shown.front();
}

QRect XServer::Geometry(const std::string &window) const {
    std::map<std::string, int> values; // X=, Y=, WIDTH=, HEIGHT=
    std::istringstream lines(Xdo({"getwindowgeometry", "--shell", window}).value_or(""));
    for (std::string line; std::getline(lines, line);)
        if (const size_t equals = line.find('='); equals != std::string::npos)
            values[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    return QRect(values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]);
}

QImage XServer::Grab(const std::string &window) const {
    const std::optional<std::string> ppm =
        Run({"import", "-window", window, "ppm:-"}, ClientEnvironment());
    return ppm ? QImage::fromData(QByteArray::fromStdString(*ppm), "PPM") : QImage();
}

void XServer::Close(const std::string &window) const {
    Display *display = XOpenDisplay(name_.c_str());
    if (!display)
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

TestDrawer::TestDrawer(const fs::path &program) {
    std::string pattern = (fs::temp_directory_path() / "karvolin-e2e-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        std::abort();
    root_ = fs::canonical(pattern); // the program sees its drawer resolved
    for (const char *folder : {"drawer", "config", "runtime", "bin/runs"})
        fs::create_directories(root_ / folder);
    fs::permissions(root_ / "runtime", fs::perms::owner_all);
    fs::copy_file(program, this->program());
    // Each run writes its arguments, NUL-ended, to a file of its own, renamed
    // into place only when complete.
    std::ofstream(root_ / "bin/colem") << "#!/bin/sh\nout='" << (root_ / "bin/runs").string()
                                       << "'/$$\nprintf '%s\\0' \"$@\" > $out.part\n"
                                       << "mv $out.part $out\n";
    fs::permissions(root_ / "bin/colem", fs::perms::owner_all);
}

TestDrawer::~TestDrawer() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

bool TestDrawer::MakeDemo(const fs::path &maker) const {
    return Run({maker.string(), drawer().string()}).has_value();
}

Environment TestDrawer::ProgramEnvironment(Environment base) const {
    // A desktop session's theme or style settings would change the look.
    Environment own;
    for (const char *name : {"PATH", "DISPLAY", "WAYLAND_DISPLAY", "LANG", "LC_ALL", "TZ", "TMPDIR",
                             "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS", "QT_QPA_PLATFORM",
                             "QT_WAYLAND_DISABLE_WINDOWDECORATION"})
        if (const auto entry = base.find(name); entry != base.end())
            own.insert(*entry);
    own["HOME"] = root_.string();
    own["XDG_CONFIG_HOME"] = configDir().string();
    own["XDG_CACHE_HOME"] = (root_ / "cache").string();
    own["XDG_DATA_HOME"] = (root_ / "data").string();
    own["XDG_RUNTIME_DIR"] = (root_ / "runtime").string();
    // In a sanitizer build, leaks inside system libraries are not ours.
    std::string &leaks = own["LSAN_OPTIONS"];
    leaks += (leaks.empty() ? "" : ":") +
             std::string("suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0");
    own["PATH"] = (root_ / "bin").string() + ":" + own["PATH"];
    return own;
}

std::vector<std::vector<std::string>> TestDrawer::EmulatorRuns() const {
    std::vector<std::vector<std::string>> runs;
    for (const auto &entry : fs::directory_iterator(root_ / "bin/runs")) {
        if (entry.path().extension() == ".part")
            continue;
        std::istringstream in(ReadFile(entry.path()));
        runs.emplace_back();
        for (std::string argument; std::getline(in, argument, '\0');)
            runs.back().push_back(argument);
    }
    std::sort(runs.begin(), runs.end());
    return runs;
}

QImage Session::Start() {
    process =
        Process({drawer.program().string()}, drawer.ProgramEnvironment(server.ClientEnvironment()),
                drawer.outputFile().string(), drawer.root().string());
    window = server.WaitForWindow(process.pid(), 10s);
    const auto drawn = [](const QImage &image) { return Rows(image).size() >= 8; };
    const QImage shot = window.empty() ? QImage() : GrabWhen(drawn, 5s);
    return drawn(shot) ? shot : QImage();
}

bool Session::Key(const std::vector<std::string> &keys) const {
    std::vector<std::string> args{"windowfocus", "--sync", window, "key"};
    args.insert(args.end(), keys.begin(), keys.end());
    return server.Xdo(args).has_value();
}

bool Session::Click(QPoint point) const {
    // No --sync: it waits for a motion that never comes when the pointer is
    // already there. The server takes the motion before the click anyway.
    return server
        .Xdo({"mousemove", "--window", window, std::to_string(point.x()), std::to_string(point.y()),
              "click", "1"})
        .has_value();
}

std::vector<std::vector<std::string>> Session::EmulatorRuns(size_t count) const {
    WaitFor([&] { return drawer.EmulatorRuns().size() >= count; }, 5s);
    std::this_thread::sleep_for(100ms);
    return drawer.EmulatorRuns();
}

namespace {

// Whether any pixel of `area` differs from the background (the top-left).
bool Differs(const QImage &image, const QRect &area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return true;
    return false;
}

} // namespace

std::vector<QRect> Rows(const QImage &image) {
    std::vector<QRect> rows;
    for (int y = 0; y < image.height(); ++y)
        if (Differs(image, QRect(0, y, image.width(), 1))) {
            if (rows.empty() || rows.back().bottom() < y - 1)
                rows.emplace_back(0, y, image.width(), 0);
            rows.back().setBottom(y);
        }
    return rows;
}

std::vector<QRect> Pieces(const QImage &image, const QRect &row, int join) {
    std::vector<QRect> pieces;
    for (int x = 0; x < image.width(); ++x)
        if (Differs(image, QRect(x, row.top(), 1, row.height()))) {
            if (pieces.empty() || x - pieces.back().right() > join)
                pieces.emplace_back(x, row.top(), 0, row.height());
            pieces.back().setRight(x);
        }
    return pieces;
}

long CountColour(const QImage &image, uint32_t colour) {
    long count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFFu) == colour;
    return count;
}

} // namespace e2e
