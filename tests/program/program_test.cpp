// Whole runs of the program, without a window the tests look at.
#include "e2e.h"
#include "rommaker.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <map>

using namespace e2e;

// Whether process `pid` has a handler for `signal` yet.
static bool Catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// A headless Wayland compositor of the test's own, ended with the object.
struct Weston {
    TempDir dir;
    fs::path socket = dir.path() / "wayland-test";
    Process process;

    Weston() {
        Environment environment = CurrentEnvironment();
        environment.insert("XDG_RUNTIME_DIR", dir.path().c_str());
        process = Process({"weston", "--backend=headless-backend.so", "--shell=kiosk-shell.so",
                           "--socket=wayland-test",
                           "--config=" + dir.Write("weston.ini", "[input-method]\npath=\n")},
                          environment);
        WaitFor([&] { return fs::exists(socket); }, 10s);
    }
    ~Weston() { process.Signal(SIGTERM), process.Wait(5s); } // else killed when the object goes
};

class ProgramRun : public ::testing::Test {
  protected:
    // Starts the program line-buffered in a drawer of two ROMs and `emptyRoms`
    // empty ones.
    Process Start(const char *program, const Environment &environment, int emptyRoms = 0,
                  const char *fault = "", const std::vector<std::string> &args = {}) {
        drawer_ = std::make_unique<TestDrawer>(program);
        if (emptyRoms > 0)
            std::ofstream{drawer_->rom("0.rom")};
        for (int i = 1; i < emptyRoms; ++i) // links are made much faster than files
            fs::create_hard_link(drawer_->rom("0.rom"), drawer_->rom(std::to_string(i) + ".rom"));
        EXPECT_TRUE(
            rommaker::WriteRom(drawer_->rom("kong.rom"), *rommaker::RowFingerprint(14), 4096));
        EXPECT_TRUE(rommaker::WriteRom(drawer_->rom("Mine.ROM"), 0xC0FFEE, 1000));
        Environment own = drawer_->ProgramEnvironment(environment);
        if (*fault)
            own.insert("KARVOLIN_FAULT", fault);
        // stdbuf preloads its library ahead of a sanitizer runtime.
        own.insert("ASAN_OPTIONS", own.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        std::vector<std::string> argv{"stdbuf", "-oL", drawer_->program().string()};
        argv.insert(argv.end(), args.begin(), args.end());
        return Process(argv, own, drawer_->outputFile().string());
    }

    // No way to any display; then the variables a row needs, when not empty.
    static Environment NoDisplay(const std::map<std::string, std::string> &set = {}) {
        Environment environment = CurrentEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        for (const auto &[name, value] : set)
            if (!value.empty())
                environment.insert(name.c_str(), value.c_str());
        return environment;
    }

    std::string Output() const { return ReadFile(drawer_->outputFile()); }

    std::unique_ptr<TestDrawer> drawer_;
};

// The trace in its order; without the launcher class or the window tree the
// run still ends cleanly (the traced build checks at exit).
TEST_F(ProgramRun, TraceOfARunInItsOrder) {
    const std::string start = "Creating Launcher Class...\n   Inside CreateLauncherClass... \n",
                      mine = "  10124 : C0FFEE : PROGDIR:roms/Mine.ROM\n",
                      kong = "  41A01 : DCB0E6C4 : PROGDIR:roms/kong.rom\n",
                      build =
                          "Building GUI...\n   Inside build_gui...\n      Inside make_list...\n" +
                          mine + kong,
                      run = "   Inside LauncherSet... \n      ROMList Set\n      ROMNum = 0\n"
                            "      ROM Path = PROGDIR:roms/kong.rom\n"
                            "      mybuffer = PROGDIR:images/253740.png\nSetup Notifications...\n",
                      end = "   Inside DeleteLauncherClass... \nGoodbye...\n";
    const std::pair<const char *, std::string> rows[] = {{"", start + build + run + end},
                                                         {"class", start + "Goodbye...\n"},
                                                         {"tree", start + build + end}};
    for (const auto &[fault, trace] : rows) {
        Process traced =
            Start(KARVOLIN_TRACED, NoDisplay({{"QT_QPA_PLATFORM", "offscreen"}}), 0, fault);
        if (!*fault) { // it runs until a break
            ASSERT_TRUE(WaitFor([&] { return Output().find(run) != std::string::npos; }, 10s))
                << Output();
            traced.Signal(SIGINT);
        }
        EXPECT_EQ(traced.Wait(5s), 0) << fault;
        std::string output = Output(); // the ROMs come in the order the folder gives
        if (const size_t at = output.find(kong + mine); at != std::string::npos)
            output.replace(at, kong.size() + mine.size(), mine + kong);
        EXPECT_EQ(output, trace) << fault;
    }
}

// A break ends the run the orderly way at any moment once its handler is in
// place: before, during or after the scan.
TEST_F(ProgramRun, ANormalRunPrintsNothingAndEndsWellOnABreakAtAnyTime) {
    const std::pair<int, std::chrono::milliseconds> breaks[] = {
        {SIGINT, 0ms}, {SIGTERM, 15ms}, {SIGHUP, 60ms}, {SIGINT, 500ms}};
    for (const auto &[signal, after] : breaks) {
        Process run = Start(KARVOLIN_PROGRAM, NoDisplay({{"QT_QPA_PLATFORM", "offscreen"}}), 10000);
        WaitFor([&] { return Catches(run.pid(), signal); }, 5s);
        std::this_thread::sleep_for(after);
        run.Signal(signal);
        EXPECT_EQ(run.Wait(5s), 0) << signal << " after " << after.count() << "ms";
        EXPECT_EQ(Output(), "") << signal;
        // Nothing was changed, so there is no settings file.
        EXPECT_FALSE(fs::exists(drawer_->settingsFile()));
    }
}

// On Wayland, and as an X server's only client (the display check must not let
// it end first), the run stays up; SIGTERM or the compositor's end end it.
TEST_F(ProgramRun, RunsOnWaylandAndAsTheOnlyClientOfAnXServer) {
    for (const std::string way : {"Wayland", "compositor ends", "lone X server"}) {
        std::optional<Weston> weston;
        std::optional<XServer> lone;
        if (way == "lone X server")
            ASSERT_TRUE(lone.emplace(true).ok());
        else // drawn decorations would load the GL driver, whose leaks a
             // sanitizer build cannot place once the driver is unloaded
            ASSERT_TRUE(fs::exists(weston.emplace().socket)) << "weston did not start";
        Process run = Start(KARVOLIN_PROGRAM,
                            lone ? lone->ClientEnvironment(NoDisplay())
                                 : NoDisplay({{"WAYLAND_DISPLAY", weston->socket.string()},
                                              {"QT_WAYLAND_DISABLE_WINDOWDECORATION", "1"}}));
        ASSERT_FALSE(run.Wait(1500ms)) << way << ": " << Output();
        if (way == "compositor ends")
            weston.reset();
        else
            run.Signal(SIGTERM);
        EXPECT_EQ(run.Wait(1s), 0) << way;
        EXPECT_EQ(Output(), "") << way;
        // The window was shown and closed the orderly way: its placement is kept.
        EXPECT_TRUE(fs::exists(drawer_->configDir() / "mui/windows.geometry")) << way;
    }
}

// The command line is answered without a display, anything else refused in a
// line; without a usable display, whichever way, a run says so in one line,
// status 1. Nothing is written.
TEST_F(ProgramRun, AnswersItsCommandLineAndSaysWhenThereIsNoDisplay) {
    const std::string noWindow = "Cannot open a window: ";
    // The arguments, the platform asked for, the status, the output's start.
    const std::tuple<std::vector<std::string>, const char *, int, std::string> rows[] = {
        {{"--version"}, "", 0, "karvolin 1.1\n"},
        {{"--help"}, "", 0, "usage: karvolin [--help | --version]\n\n"},
        {{"--versions"}, "", 2, "karvolin: unknown argument --versions (try --help)\n"},
        {{"--help", "x"}, "", 2, "karvolin: unknown argument x (try --help)\n"},
        {{}, "", 1, noWindow},
        {{}, "xcb", 1, noWindow},
        {{}, "nosuch", 1, noWindow},
        {{}, "wayland", 1, noWindow},
        {{}, "linuxfb:fb=/nonexistent", 1, noWindow}};
    for (const auto &[args, platform, status, start] : rows) {
        Process run =
            Start(KARVOLIN_PROGRAM, NoDisplay({{"QT_QPA_PLATFORM", platform}}), 0, "", args);
        EXPECT_EQ(run.Wait(5s), status) << platform;
        const std::string output = Output();
        EXPECT_EQ(output.substr(0, start.size()), start) << platform;
        EXPECT_TRUE(args == std::vector<std::string>{"--help"} ||
                    output.find('\n') == output.size() - 1)
            << output;
        EXPECT_TRUE(fs::is_empty(drawer_->configDir())) << platform;
    }
}
