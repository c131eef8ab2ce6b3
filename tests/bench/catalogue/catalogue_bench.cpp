// The catalogue at its largest: sorting 32,767 names, and scanning a drawer of
// 32,767 ROM files against a plain open/read/close loop over the same files;
// scanning zipped ROMs against plain ones.
#include "packed.h"
#include "rommaker.h"
#include "utils.h"

#include <proto/dos.h>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRoms = 32767;

// Names drawn from `distinct` different texts, in random order.
std::vector<std::string> Names(int distinct) {
    std::mt19937 random(11);
    std::vector<std::string> names;
    for (int i = 0; i < kRoms; ++i) {
        const int pick = int(random() % unsigned(distinct));
        names.push_back(pick < NUM_GAMES ? GameList[pick].Title : "rom" + std::to_string(pick));
    }
    return names;
}

void BM_SortWords(benchmark::State &state) {
    std::vector<std::string> names = Names(int(state.range(0)));
    std::vector<STRPTR> original, sortedNames, sortedPaths;
    for (auto &name : names)
        original.push_back(name.data());
    for (auto _ : state) {
        state.PauseTiming();
        sortedNames = original;
        sortedPaths = original;
        state.ResumeTiming();
        sort_words(sortedNames.data(), sortedPaths.data(), kRoms);
        benchmark::DoNotOptimize(sortedNames.data());
    }
}
BENCHMARK(BM_SortWords)->Arg(kRoms)->Arg(NUM_GAMES)->Arg(1)->Unit(benchmark::kMillisecond);

// A drawer of `count` ROM files, made once: hard links to a few hundred
// distinct ROMs of 16 KB, known and unknown, so that every name is its own
// directory entry; plain, or each zipped (deflated). Past the head, bytes of
// 6 bits' entropy pack about as well as real ROMs.
class Drawer {
  public:
    Drawer(int count, bool zipped) {
        std::mt19937 random(count);
        std::string pattern = (fs::temp_directory_path() / "karvolin-bench-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        fs::create_directories(root_ / "roms");
        fs::create_directories(root_ / "sources");
        for (int i = 0; i < count; ++i) {
            const int source = i % 300;
            const fs::path from = root_ / "sources" / std::to_string(source);
            if (i < 300) {
                const uint32_t fingerprint = source < NUM_GAMES ? *rommaker::RowFingerprint(source)
                                                                : uint32_t(source * 2654435761u);
                const std::vector<uint8_t> rom = *rommaker::MakeRom(fingerprint, 100);
                std::string bytes(rom.begin(), rom.end());
                while (bytes.size() < 16384)
                    bytes += char(random() % 64);
                if (zipped)
                    WritePacked(from, Packing::ZipDeflated, bytes);
                else
                    std::ofstream(from, std::ios::binary) << bytes;
            }
            const fs::path to =
                root_ / "roms" / ("game" + std::to_string(i) + (zipped ? ".zip" : ".rom"));
            fs::create_hard_link(from, to);
            paths_.push_back(to.string());
        }
    }
    ~Drawer() { fs::remove_all(root_); }
    const std::vector<std::string> &paths() const { return paths_; }

    // One scan of this drawer, checked.
    void Scan(benchmark::State &state) const {
        AssignPath("PROGDIR", root_.c_str());
        make_list();
        if (size_t(NumROMS) != paths_.size())
            state.SkipWithError("the scan missed ROMs");
        free_catalogue();
        AssignPath("PROGDIR", nullptr);
    }
    // The floor: open each file, read 101 bytes, close it.
    void ReadLoop() const {
        char buffer[101];
        for (const std::string &path : paths_) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
            ::close(fd);
        }
    }

  private:
    fs::path root_;
    std::vector<std::string> paths_;
};

double ThreadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Times `measured` against `floor`, taken in turns so that both meet the same
// load, as CPU time of this thread (the kernel's work for it included). The
// counter "ratio" is measured / floor; above `limit` the run is an error.
template <typename Measured, typename Floor>
void Against(benchmark::State &state, Measured measured, Floor floor, double limit) {
    double measuredTime = 0, floorTime = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        measured();
        const double middle = ThreadSeconds();
        floor();
        floorTime += ThreadSeconds() - middle;
        measuredTime += middle - start;
    }
    const double ratio = measuredTime / floorTime;
    state.counters["ratio"] = ratio;
    state.counters["ms"] = measuredTime * 1e3 / double(state.iterations());
    state.counters["floor_ms"] = floorTime * 1e3 / double(state.iterations());
    if (ratio > limit) {
        char message[128];
        std::snprintf(message, sizeof message,
                      "%.2f times the floor (%.1f ms / %.1f ms), over %.1f", ratio,
                      state.counters["ms"].value, state.counters["floor_ms"].value, limit);
        state.SkipWithError(message);
    }
}

// make_list over kRoms plain ROMs: at most 1.5 times opening and reading
// the same files.
void BM_MakeListAgainstReadLoop(benchmark::State &state) {
    static const Drawer drawer(kRoms, false);
    Against(
        state, [&] { drawer.Scan(state); }, [&] { drawer.ReadLoop(); }, 1.5);
}

// make_list over 1,000 zipped ROMs: at most 3 times 1,000 plain ones.
void BM_MakeListZippedAgainstPlain(benchmark::State &state) {
    static const Drawer zipped(1000, true), plain(1000, false);
    Against(
        state, [&] { zipped.Scan(state); }, [&] { plain.Scan(state); }, 3.0);
}

BENCHMARK(BM_MakeListAgainstReadLoop)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_MakeListZippedAgainstPlain)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

} // namespace

BENCHMARK_MAIN();
