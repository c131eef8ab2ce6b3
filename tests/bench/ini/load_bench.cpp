// Loading a settings file of 1 MB and of 10 MB, every line a distinct key in
// one section: the time should grow with the file's size, not its square.
#include <INIFile.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// A file of about `bytes` bytes: "[Settings]" and then lines such as
// "Key0000001 = value of key 0000001".
std::string WriteFile(const fs::path &folder, long bytes) {
    const std::string name = (folder / (std::to_string(bytes) + ".ini")).string();
    FILE *file = std::fopen(name.c_str(), "wb");
    long written = std::fprintf(file, "[Settings]\n");
    for (long key = 0; written < bytes; ++key)
        written += std::fprintf(file, "Key%07ld = value of key %07ld\n", key, key);
    std::fclose(file);
    return name;
}

void BM_LoadINI(benchmark::State &state) {
    std::string folder = (fs::temp_directory_path() / "ini-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string name = WriteFile(folder, state.range(0));
    LONG lines = 0;
    for (auto _ : state) {
        INIFile ini;
        InitINI(&ini);
        lines = LoadINI(&ini, name.c_str());
        TrashINI(&ini);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(fs::file_size(name)));
    state.counters["keys"] = static_cast<double>(lines);
    fs::remove_all(folder);
}

BENCHMARK(BM_LoadINI)->ArgName("bytes")->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
