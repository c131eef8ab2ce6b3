// Launch never waits for the emulator: the time of one Launch with a
// stand-in emulator that lingers, from the method call to its return.
#include "launcher-class.h"
#include "standin.h"

#include <libraries/mui.h>
#include <proto/dos.h>
#include <proto/intuition.h>
#include <proto/muimaster.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void BM_Launch(benchmark::State &state) {
    StandInEmulator emulator(30); // an emulator that never seems to end
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
    emulator.WaitForRuns(static_cast<int>(state.iterations()));
    MUI_DisposeObject(app);
    DeleteLauncherClass();
    AssignPath("ENVARC", nullptr);
    fs::remove_all(settings);
}
BENCHMARK(BM_Launch)->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
