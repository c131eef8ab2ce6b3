// Launch never waits for the emulator: the time of one Launch with a
// stand-in emulator that lingers, from the method call to its return.
#include "launcher-class.h"

#include <libraries/mui.h>
#include <proto/dos.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A colem first in PATH that notes its process id and then sleeps, as an
// emulator that takes long to start or never ends would.
class LingeringEmulator {
  public:
    LingeringEmulator() {
        char pattern[] = "/tmp/karvolin-bench-XXXXXX";
        dir_ = mkdtemp(pattern);
        std::ofstream(dir_ / "colem")
            << "#!/bin/sh\necho $$ >> \"" << (dir_ / "pids").string() << "\"\nexec sleep 30\n";
        fs::permissions(dir_ / "colem", fs::perms::owner_all);
        const char *path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        setenv("PATH", (dir_.string() + ":" + oldPath_).c_str(), 1);
    }
    ~LingeringEmulator() {
        setenv("PATH", oldPath_.c_str(), 1);
        usleep(200000); // let the last ones note their ids
        std::ifstream pids(dir_ / "pids");
        for (pid_t pid; pids >> pid;)
            kill(pid, SIGKILL);
        fs::remove_all(dir_);
    }

  private:
    fs::path dir_;
    std::string oldPath_;
};

void BM_Launch(benchmark::State &state) {
    LingeringEmulator emulator;
    char settings[] = "/tmp/karvolin-bench-env-XXXXXX";
    AssignPath("ENVARC", mkdtemp(settings)); // keep away from the user's settings
    CreateLauncherClass();
    Object *app =
        NewObject(LauncherClass->mcc_Class, NULL,
                  {MUIA_Application_Window, MUI_NewObject(MUIC_Window, {TAG_DONE}), TAG_DONE});
    char rom[] = "/tmp/some game.rom";
    STRPTR roms[] = {rom};
    // Selecting sets no picture here (the window has none); only the index counts.
    auto *data = static_cast<LauncherData *>(INST_DATA(LauncherClass->mcc_Class, app));
    data->ROMList = roms;
    data->ROMNum = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(IDoMethod(app, MUIM_Launcher_Launch));
    MUI_DisposeObject(app);
    DeleteLauncherClass();
    AssignPath("ENVARC", nullptr);
    fs::remove_all(settings);
}
BENCHMARK(BM_Launch)->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
