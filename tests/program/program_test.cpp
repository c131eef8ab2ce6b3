// Whole runs of the program on the offscreen platform: the trace of a run in
// its order, a silent normal run, a run on a Wayland compositor, and the runs
// without a usable display.
#include "process.h"
#include "rommaker.h"
#include "test_drawer.h"
#include "x_server.h"
#include "utils.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Whether process `pid` has a handler for `signal` yet.
bool Catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

// Waits until the program's output holds `text`.
bool WaitForOutput(const e2e::TestDrawer &drawer, const std::string &text) {
    for (int i = 0; i < 500; ++i) {
        if (e2e::ReadFile(drawer.outputFile()).find(text) != std::string::npos)
            return true;
        e2e::Process::Pause(20ms);
    }
    return false;
}

// A headless Wayland compositor of the test's own, without helper clients,
// in a runtime folder of its own; it ends with the object.
struct Weston {
    fs::path dir = ::mkdtemp((fs::temp_directory_path() / "weston-XXXXXX").string().data());
    fs::path socket = dir / "wayland-test";
    e2e::Process process;

    Weston() {
        std::ofstream(dir / "weston.ini") << "[input-method]\npath=\n";
        e2e::Environment environment = e2e::CurrentEnvironment();
        environment["XDG_RUNTIME_DIR"] = dir.string();
        process =
            e2e::Process({"weston", "--backend=headless-backend.so", "--shell=kiosk-shell.so",
                          "--socket=wayland-test", "--config=" + (dir / "weston.ini").string()},
                         {environment, {}, {}, -1});
        for (int i = 0; i < 500 && !fs::exists(socket); ++i)
            e2e::Process::Pause(20ms);
    }
    ~Weston() {
        process.Signal(SIGTERM);
        process.Wait(5s); // else killed by the process's own end
        fs::remove_all(dir);
    }
};

class ProgramRun : public ::testing::Test {
  protected:
    // Starts the program line-buffered, so its output can be followed; the
    // scan of `emptyRoms` more files takes a while.
    e2e::Process Start(const char *program, const e2e::Environment &environment,
                       int emptyRoms = 0) {
        drawer_ = std::make_unique<e2e::TestDrawer>(program);
        fs::create_directories(drawer_->drawer() / "roms");
        const fs::path empty = drawer_->drawer() / "roms/0.rom";
        if (emptyRoms > 0)
            std::ofstream{empty};
        for (int i = 1; i < emptyRoms; ++i) // links are made much faster than files
            fs::create_hard_link(empty, drawer_->drawer() / "roms" / (std::to_string(i) + ".rom"));
        EXPECT_TRUE(rommaker::WriteRom((drawer_->drawer() / "roms/kong.rom").string(),
                                       *rommaker::RowFingerprint(14), 4096));
        EXPECT_TRUE(
            rommaker::WriteRom((drawer_->drawer() / "roms/Mine.ROM").string(), 0xC0FFEE, 1000));
        e2e::SpawnOptions options;
        options.environment = drawer_->ProgramEnvironment(environment);
        // stdbuf preloads its library ahead of a sanitizer runtime.
        std::string &asan = options.environment["ASAN_OPTIONS"];
        asan += (asan.empty() ? "" : ":") + std::string("verify_asan_link_order=0");
        options.outputFile = drawer_->outputFile().string();
        return e2e::Process({"stdbuf", "-oL", drawer_->program().string()}, options);
    }

    static e2e::Environment Offscreen(const char *platform = "offscreen") {
        e2e::Environment environment = e2e::CurrentEnvironment();
        environment["QT_QPA_PLATFORM"] = platform;
        return environment;
    }

    // No way to any display; `changes` then set what a row needs.
    static e2e::Environment NoDisplay(const std::map<std::string, std::string> &changes = {}) {
        e2e::Environment environment = e2e::CurrentEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.erase(name);
        for (const auto &[name, value] : changes)
            environment[name] = value;
        return environment;
    }

    std::string Output() const { return e2e::ReadFile(drawer_->outputFile()); }

    std::unique_ptr<e2e::TestDrawer> drawer_;
};

TEST_F(ProgramRun, TraceOfAWholeRunInItsOrder) {
    e2e::Process run = Start(KARVOLIN_TRACED, Offscreen());
    ASSERT_TRUE(WaitForOutput(*drawer_, "Setup Notifications...\n")) << Output();
    run.Signal(SIGINT);
    const auto status = run.Wait(5s);
    ASSERT_TRUE(status && WIFEXITED(*status)) << Output();
    EXPECT_EQ(WEXITSTATUS(*status), 0);

    // One scan line per ROM, in the order the directory gave them.
    std::set<std::string> romLines;
    for (const char *name : {"kong.rom", "Mine.ROM"}) {
        const std::string host = (drawer_->drawer() / "roms" / name).string();
        char line[300];
        snprintf(line, sizeof line, "  %X : %X : PROGDIR:roms/%s",
                 static_cast<unsigned>(GetFileSum(host.c_str())),
                 static_cast<unsigned>(GetFileFingerPrint(host.c_str())), name);
        romLines.insert(line);
    }
    std::vector<std::string> lines = Lines(Output());
    ASSERT_EQ(lines.size(), 12u) << Output();
    EXPECT_EQ(std::set<std::string>(lines.begin() + 5, lines.begin() + 7), romLines);
    lines.erase(lines.begin() + 5, lines.begin() + 7);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Creating Launcher Class...",
                         "   Inside CreateLauncherClass... ",
                         "Building GUI...",
                         "   Inside build_gui...",
                         "      Inside make_list...",
                         "   Inside LauncherSet... ",
                         "      ROMList Set",
                         "Setup Notifications...",
                         "   Inside DeleteLauncherClass... ",
                         "Goodbye...",
                     }));
}

// A break ends the run the orderly way at any moment from the one its handler
// is in place: before the ROM scan, during it, while the window is built, or
// once the window is up.
TEST_F(ProgramRun, ANormalRunPrintsNothingAndEndsWellOnABreakAtAnyTime) {
    const std::pair<int, std::chrono::milliseconds> breaks[] = {
        {SIGINT, 0ms}, {SIGTERM, 15ms}, {SIGHUP, 60ms}, {SIGINT, 500ms}};
    for (const auto &[signal, after] : breaks) {
        e2e::Process run = Start(KARVOLIN_PROGRAM, Offscreen(), 10000);
        for (int i = 0; i < 5000 && !Catches(run.pid(), signal); ++i)
            e2e::Process::Pause(1ms);
        e2e::Process::Pause(after);
        run.Signal(signal);
        const auto status = run.Wait(5s);
        ASSERT_TRUE(status && WIFEXITED(*status)) << signal << " after " << after.count() << "ms";
        EXPECT_EQ(WEXITSTATUS(*status), 0) << signal;
        EXPECT_EQ(Output(), "") << signal;
        // Nothing was changed, so there is no settings file.
        EXPECT_FALSE(fs::exists(drawer_->settingsFile()));
    }
}

// A Wayland-only session: the run stays up, and ends as the break signal ends
// it both on SIGTERM and when the compositor goes away (as at logout).
TEST_F(ProgramRun, RunsOnWaylandAndEndsWellOnABreakOrWithTheCompositor) {
    for (const bool compositorEnds : {false, true}) {
        std::optional<Weston> weston(std::in_place);
        ASSERT_TRUE(fs::exists(weston->socket)) << "weston did not start";
        // Drawn decorations would load the GL driver, whose leaks a sanitizer
        // build cannot place once the driver is unloaded.
        e2e::Process run =
            Start(KARVOLIN_PROGRAM, NoDisplay({{"WAYLAND_DISPLAY", weston->socket.string()},
                                               {"QT_WAYLAND_DISABLE_WINDOWDECORATION", "1"}}));
        ASSERT_FALSE(run.Wait(1500ms)) << Output();
        if (compositorEnds)
            weston.reset();
        else
            run.Signal(SIGTERM);
        const auto status = run.Wait(1s);
        ASSERT_TRUE(status && WIFEXITED(*status)) << compositorEnds;
        EXPECT_EQ(WEXITSTATUS(*status), 0) << compositorEnds;
        EXPECT_EQ(Output(), "") << compositorEnds;
        // The window was shown and closed the orderly way: its placement is kept.
        EXPECT_TRUE(fs::exists(drawer_->configDir() / "mui/windows.geometry")) << compositorEnds;
    }
}

// The program as the only client of an X server that ends with its last
// client: the display check must not let the server go before Qt connects.
TEST_F(ProgramRun, RunsAsTheOnlyClientOfAnXServer) {
    e2e::XServer lone(640, 480, true);
    ASSERT_TRUE(lone.ok());
    e2e::Process run = Start(KARVOLIN_PROGRAM, lone.ClientEnvironment(NoDisplay()));
    ASSERT_FALSE(run.Wait(1500ms)) << Output();
    run.Signal(SIGTERM);
    const auto status = run.Wait(5s);
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
}

// No usable display, whichever way: one line, status 1, no abort, no Qt text.
TEST_F(ProgramRun, WithoutAUsableDisplayItSaysSoAndFails) {
    const std::map<std::string, std::string> rows[] = {
        {},                                               // no display at all
        {{"QT_QPA_PLATFORM", "xcb"}},                     // carried into a session without X
        {{"QT_QPA_PLATFORM", "nosuch"}},                  // a platform Qt does not have
        {{"QT_QPA_PLATFORM", "wayland"}},                 // no compositor
        {{"QT_QPA_PLATFORM", "linuxfb:fb=/nonexistent"}}, // a platform without a screen
    };
    for (const auto &row : rows) {
        const std::string name = row.empty() ? "" : row.begin()->second;
        e2e::Process run = Start(KARVOLIN_PROGRAM, NoDisplay(row));
        const auto status = run.Wait(5s);
        ASSERT_TRUE(status && WIFEXITED(*status)) << name;
        EXPECT_EQ(WEXITSTATUS(*status), 1) << name;
        const std::vector<std::string> lines = Lines(Output());
        ASSERT_EQ(lines.size(), 1u) << name << ": " << Output();
        EXPECT_EQ(lines[0].rfind("Cannot open a window: ", 0), 0u) << lines[0];
    }
}

} // namespace
