// Whole runs of the program on the offscreen platform: the trace of a run in
// its order, a silent normal run, and the run without any display.
#include "process.h"
#include "rommaker.h"
#include "test_drawer.h"
#include "utils.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

    static e2e::Environment Offscreen() {
        e2e::Environment environment = e2e::CurrentEnvironment();
        environment["QT_QPA_PLATFORM"] = "offscreen";
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

TEST_F(ProgramRun, WithoutADisplayItSaysSoAndFails) {
    e2e::Environment environment = e2e::CurrentEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.erase(name);
    e2e::Process run = Start(KARVOLIN_PROGRAM, environment);
    const auto status = run.Wait(5s);
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_NE(WEXITSTATUS(*status), 0);
    const std::vector<std::string> lines = Lines(Output());
    ASSERT_EQ(lines.size(), 1u) << Output();
    EXPECT_NE(lines[0].find("display"), std::string::npos) << lines[0];
}

} // namespace
