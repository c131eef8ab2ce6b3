// Loading a settings file as large as a settings file may be (1 MiB), every
// line a distinct key in one section, or every key in a section of its own
// with names as short as can be (the most the store can be made to hold); and
// a 7.7 MB file, which is not read. The time should grow with the file's
// size, not its square; the peak memory of the process is reported in MB.
#include <INIFile.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

// A file of at most `bytes` bytes: lines such as "Key0000001 = value 0000001",
// under one "[Settings]" or each under a header of its own.
std::string WriteFile(const fs::path &folder, long bytes, bool sections) {
    const std::string name = (folder / "settings.ini").string();
    std::string text = sections ? "" : "[Settings]\n";
    char line[64];
    for (long key = 0;; ++key) {
        const int length =
            sections ? std::snprintf(line, sizeof line, "[%lx]\nb=\n", key)
                     : std::snprintf(line, sizeof line, "Key%07ld = value %07ld\n", key, key);
        if (static_cast<long>(text.size()) + length > bytes)
            break;
        text.append(line, static_cast<size_t>(length));
    }
    FILE *file = std::fopen(name.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return name;
}

void BM_LoadINI(benchmark::State &state) {
    std::string folder = (fs::temp_directory_path() / "ini-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string name = WriteFile(folder, state.range(0), state.range(1) != 0);
    LONG lines = 0;
    for (auto _ : state) {
        INIFile ini;
        InitINI(&ini);
        lines = LoadINI(&ini, name.c_str());
        TrashINI(&ini);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(fs::file_size(name)));
    state.counters["keys"] = static_cast<double>(lines);
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
    fs::remove_all(folder);
}

BENCHMARK(BM_LoadINI)
    ->ArgNames({"bytes", "sections"})
    ->Args({INI_MAX_FILE_SIZE, 0})
    ->Args({INI_MAX_FILE_SIZE, 1})
    ->Args({7700000, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
