// The catalogue at its largest: sorting 32,767 names, and scanning a drawer of
// 32,767 ROM files next to a plain open/read/close loop over the same files.
#include "rommaker.h"
#include "utils.h"

#include <proto/dos.h>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
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

// A drawer of kRoms files, made once: links to a few hundred distinct ROMs,
// known and unknown, so that every name is its own directory entry.
class Drawer {
  public:
    Drawer() {
        std::string pattern = (fs::temp_directory_path() / "karvolin-bench-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        fs::create_directories(root_ / "roms");
        fs::create_directories(root_ / "sources");
        for (int i = 0; i < kRoms; ++i) {
            const int source = i % 300;
            const fs::path from = root_ / "sources" / std::to_string(source);
            if (i < 300)
                rommaker::WriteRom(from,
                                   source < NUM_GAMES ? *rommaker::RowFingerprint(source)
                                                      : uint32_t(source * 2654435761u),
                                   16384);
            const fs::path to = root_ / "roms" / ("game" + std::to_string(i) + ".rom");
            fs::create_hard_link(from, to);
            paths_.push_back(to.string());
        }
        AssignPath("PROGDIR", root_.c_str());
    }
    ~Drawer() {
        AssignPath("PROGDIR", nullptr);
        fs::remove_all(root_);
    }
    const std::vector<std::string> &paths() const { return paths_; }

  private:
    fs::path root_;
    std::vector<std::string> paths_;
};

const Drawer &TheDrawer() {
    static const Drawer drawer;
    return drawer;
}

void BM_MakeList(benchmark::State &state) {
    TheDrawer();
    for (auto _ : state) {
        make_list();
        state.PauseTiming();
        if (NumROMS != kRoms)
            state.SkipWithError("the scan missed ROMs");
        free_catalogue();
        state.ResumeTiming();
    }
}

// The floor: open each file, read 101 bytes, close it.
void BM_PlainReadLoop(benchmark::State &state) {
    const Drawer &drawer = TheDrawer();
    char buffer[101];
    for (auto _ : state) {
        for (const std::string &path : drawer.paths()) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
            ::close(fd);
        }
    }
}

BENCHMARK(BM_PlainReadLoop)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);
BENCHMARK(BM_MakeList)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

} // namespace

BENCHMARK_MAIN();
