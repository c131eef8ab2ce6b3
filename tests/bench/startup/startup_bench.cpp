// Start-up time of the program, from process start to its window mapped on
// a private X server, measured side by side with a bare Qt window in one run:
// each iteration starts an empty bare window, a bare window with one label
// and the launcher, and closes each as a window manager would. Reports the
// mean of each, the launcher's ratio to both and its peak resident memory.
// Drawers: empty (the launcher's fixed cost), 1,000 and 32,767 ROMs, and
// 1,000 ROMs with named pipes at a ROM, the placeholder picture, the
// settings file and the placement file (none of which may hold it up).
#include "e2e.h"
#include "rommaker.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

e2e::XServer &Server() {
    static e2e::XServer server;
    return server;
}

// A drawer of `count` small ROMs: every fourth one a known cartridge, the
// others unknown and listed by file name. Identification reads only the
// first 101 bytes, so 128-byte files cost the scan what real ROMs would.
void WriteRoms(const fs::path &roms, int count) {
    fs::create_directories(roms);
    char name[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "game_%05d.rom", i);
        const uint32_t fingerprint = i % 4 == 0 ? *rommaker::RowFingerprint(i / 4 % 157)
                                                : 0x9E3779B9u * static_cast<uint32_t>(i + 1);
        rommaker::WriteRom((roms / name).string(), fingerprint, 128);
    }
}

// Puts named pipes where the program reads files. The placement file is
// replaced by each run's save, so this is done again before every start.
void MakePipes(const e2e::TestDrawer &drawer) {
    fs::create_directories(drawer.configDir() / "mui");
    for (const fs::path &pipe :
         {drawer.drawer() / "roms/pipe.rom", drawer.drawer() / "images/nocart.png",
          drawer.settingsFile(), drawer.configDir() / "mui/windows.geometry"}) {
        fs::remove(pipe);
        ::mkfifo(pipe.c_str(), 0600);
    }
}

e2e::TestDrawer &DrawerWith(int count, bool pipes) {
    static std::map<std::pair<int, bool>, std::unique_ptr<e2e::TestDrawer>> drawers;
    auto &drawer = drawers[{count, pipes}];
    if (!drawer) {
        drawer = std::make_unique<e2e::TestDrawer>(KARVOLIN_PROGRAM);
        WriteRoms(drawer->drawer() / "roms", count);
        fs::create_directories(drawer->drawer() / "images");
    }
    return *drawer;
}

// VmHWM of a running process in KiB: its resident peak so far.
long PeakResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

struct Start {
    double seconds = 0;
    long peakKiB = 0;
};

// Starts a program, waits for its window, closes it and waits for the end.
std::optional<Start> TimeStart(const std::vector<std::string> &command,
                               const e2e::Environment &environment) {
    const auto begin = Clock::now();
    e2e::Process process(command, environment);
    const std::string window = Server().WaitForWindow(process.pid(), std::chrono::seconds(30));
    const auto shown = Clock::now();
    if (window.empty())
        return std::nullopt;
    Start start{std::chrono::duration<double>(shown - begin).count(),
                PeakResidentKiB(process.pid())};
    Server().Close(window);
    if (!process.Wait(std::chrono::seconds(10)))
        return std::nullopt;
    return start;
}

void BM_StartupAgainstBareWindow(benchmark::State &state) {
    if (!Server().ok()) {
        state.SkipWithError("cannot start Xvfb");
        return;
    }
    const bool pipes = state.range(1) != 0;
    e2e::TestDrawer &drawer = DrawerWith(static_cast<int>(state.range(0)), pipes);
    const e2e::Environment environment = drawer.ProgramEnvironment(Server().ClientEnvironment());
    const std::vector<std::vector<std::string>> commands{
        {BARE_WINDOW_PROGRAM}, {BARE_WINDOW_PROGRAM, "--label"}, {drawer.program().string()}};
    // One untimed start of each, so all begin with warm caches.
    for (const auto &command : commands) {
        if (pipes)
            MakePipes(drawer);
        if (!TimeStart(command, environment)) {
            state.SkipWithError("a window did not appear");
            return;
        }
    }
    double seconds[3] = {};
    long peak = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < commands.size(); ++i) {
            if (pipes)
                MakePipes(drawer);
            const std::optional<Start> start = TimeStart(commands[i], environment);
            if (!start) {
                state.SkipWithError("a window did not appear");
                return;
            }
            seconds[i] += start->seconds;
            if (i == 2) {
                peak = std::max(peak, start->peakKiB);
                state.SetIterationTime(start->seconds);
            }
        }
    }
    using benchmark::Counter;
    state.counters["bare_ms"] = Counter(seconds[0] * 1000, Counter::kAvgIterations);
    state.counters["label_ms"] = Counter(seconds[1] * 1000, Counter::kAvgIterations);
    state.counters["launcher_ms"] = Counter(seconds[2] * 1000, Counter::kAvgIterations);
    state.counters["ratio_bare"] = seconds[2] / seconds[0];
    state.counters["ratio_label"] = seconds[2] / seconds[1];
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}

BENCHMARK(BM_StartupAgainstBareWindow)
    ->ArgNames({"roms", "pipes"})
    ->Args({0, 0})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({32767, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace

BENCHMARK_MAIN();
