// make_list on real drawers: what is listed, under which name, in which
// order, and what survives a break or a shortage of memory; the sort.
#include "alloc_hook.h"
#include "rommaker.h"
#include "temp_dir.h"
#include "utils.h"

#include <proto/dos.h>
#include <proto/exec.h>

#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <unistd.h>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>; // name, path

// A program drawer with a roms folder in a temporary folder, as PROGDIR:.
struct Drawer : TempDir {
    Drawer() {
        std::filesystem::create_directories(path() / "roms");
        AssignPath("PROGDIR", path().c_str());
    }
    ~Drawer() {
        free_catalogue();
        AssignPath("PROGDIR", nullptr);
    }
    void Rom(const std::string &name, int row) const {
        ASSERT_TRUE(
            rommaker::WriteRom(*this / ("roms/" + name), *rommaker::RowFingerprint(row), 8192));
    }
};

// The catalogue as (name, path) pairs, after checking its shape.
Entries Catalogue() {
    Entries entries;
    EXPECT_EQ(ROMArray == nullptr, NumROMS == 0);
    for (LONG i = 0; i < NumROMS; ++i) {
        entries.emplace_back(NameArray[i], ROMArray[i]);
        EXPECT_TRUE(i == 0 || std::strcmp(NameArray[i - 1], NameArray[i]) <= 0) << "by bytes";
    }
    EXPECT_TRUE(NameArray && !NameArray[NumROMS]) << "names end with a null slot";
    return entries;
}

// Sorts copies of the names, with paths "0", "1", ... by original index; the
// result as "name@path" texts. `degraded`: without working memory.
std::vector<std::string> Sorted(std::vector<std::string> names, bool degraded = false) {
    std::vector<std::string> paths;
    std::vector<STRPTR> nameSlots, pathSlots;
    for (size_t i = 0; i < names.size(); ++i)
        paths.push_back(std::to_string(i));
    for (size_t i = 0; i < names.size(); ++i)
        nameSlots.push_back(names[i].data()), pathSlots.push_back(paths[i].data());
    AllocHook::Clear();
    if (degraded)
        AllocHook::At(0, [] { return false; });
    sort_words(nameSlots.data(), pathSlots.data(), LONG(names.size()));
    AllocHook::Clear();
    std::vector<std::string> result;
    for (size_t i = 0; i < names.size(); ++i)
        result.push_back(std::string(nameSlots[i]) + "@" + pathSlots[i]);
    return result;
}

} // namespace

TEST(MakeList, ListsTheFilesOfTheRomFolderByTitleOrFileName) {
    Drawer drawer;
    for (int pass = 0; pass < 2; ++pass) { // an empty, then a missing folder
        make_list();
        EXPECT_TRUE(Catalogue().empty());
        free_catalogue();
        std::filesystem::remove(drawer.path() / "roms");
    }
    std::filesystem::create_directories(drawer.path() / "roms");
    drawer.Rom("zenji.rom", 147);
    drawer.Rom("copy.rom", 147); // the same cartridge twice
    drawer.Rom("a.rom", 2);
    drawer.Rom("b.rom", 35);
    drawer.Write("roms/zaxxon.rom", "no cartridge");
    drawer.Write("roms/Upper.ROM", "");
    drawer.Write("roms/notes.txt", "");
    drawer.Write("roms/folder.rom/inner.rom", "x");
    ASSERT_EQ(::symlink("zenji.rom", (drawer / "roms/link.rom").c_str()), 0);

    EXPECT_EQ(make_list(), 1);
    Entries entries = Catalogue();
    std::sort(entries.begin() + 3, entries.begin() + 5); // the two Zenji in either order
    EXPECT_EQ(entries, (Entries{{"2010", "PROGDIR:roms/b.rom"},
                                {"Alphabet Zoo", "PROGDIR:roms/a.rom"},
                                {"Upper.ROM", "PROGDIR:roms/Upper.ROM"},
                                {"Zenji", "PROGDIR:roms/copy.rom"},
                                {"Zenji", "PROGDIR:roms/zenji.rom"},
                                {"zaxxon.rom", "PROGDIR:roms/zaxxon.rom"}}));
}

TEST(MakeList, BreakDuringTheScanKeepsTheRomsFoundSoFar) {
    Drawer drawer;
    for (int row = 0; row < 6; ++row)
        drawer.Rom("r" + std::to_string(row) + ".rom", row);
    SetSignal(0, SIGBREAKF_CTRL_C);
    AllocHook::Clear();
    // A break while the second ROM is added.
    AllocHook::At(5, [] { return ::kill(::getpid(), SIGTERM) == 0; });
    make_list();
    AllocHook::Clear();
    const size_t kept = Catalogue().size();
    EXPECT_TRUE(kept >= 1 && kept < 6) << kept;
    EXPECT_EQ(SetSignal(0, SIGBREAKF_CTRL_C) & SIGBREAKF_CTRL_C, SIGBREAKF_CTRL_C)
        << "the break stays for the program's wait";
}

TEST(MakeList, ShortMemoryStopsTheScanButKeepsAConsistentCatalogue) {
    Drawer drawer;
    for (int row = 0; row < 4; ++row)
        drawer.Rom("r" + std::to_string(row) + ".rom", row * 10);
    drawer.Write("roms/unknown.rom", "no cartridge");
    AllocHook::Clear();
    make_list();
    const long allocations = AllocHook::count;
    std::map<std::string, std::string> full; // path -> name
    for (const auto &[name, path] : Catalogue())
        full[path] = name;
    ASSERT_EQ(full.size(), 5u);

    for (long failing = 0; failing <= allocations; ++failing) {
        free_catalogue();
        AllocHook::Clear();
        AllocHook::At(failing, [] { return false; });
        EXPECT_EQ(make_list(), 1);
        AllocHook::Clear();
        if (failing == 0) { // the match state itself: no catalogue at all
            EXPECT_TRUE(NameArray == nullptr && NumROMS == 0);
            continue;
        }
        const Entries entries = Catalogue();
        for (const auto &[name, path] : entries)
            EXPECT_EQ(full[path], name) << "failing allocation " << failing;
        // Without the sort's working memory the catalogue is still whole.
        EXPECT_TRUE(failing < allocations - 1 || entries.size() == 5u) << failing;
    }
}

TEST(MakeList, StopsAtTheLargestCount) {
    Drawer drawer;
    const std::string source = drawer.Write("empty", "");
    for (int i = 0; i <= 32767; ++i) // links: far quicker to make than files
        ASSERT_EQ(
            ::link(source.c_str(), (drawer / ("roms/r" + std::to_string(i) + ".rom")).c_str()), 0);
    make_list();
    EXPECT_EQ(NumROMS, 32767);
    EXPECT_EQ(Catalogue().size(), 32767u);
}

// sort_words reproduces the order of a plain exchange sort (the way it sorts
// without working memory), equal names included.
TEST(SortWords, ByteOrderAndTheOrderOfEqualNames) {
    using Names = std::vector<std::string>;
    const std::pair<Names, Names> cases[] = {
        {{"zaxxon.rom", "Zenji", "Alphabet Zoo", "2010", "\xC3\xA9t\xC3\xA9"},
         {"2010@3", "Alphabet Zoo@2", "Zenji@1", "zaxxon.rom@0", "\xC3\xA9t\xC3\xA9@4"}},
        // Scanned as B1, B2, A: each path stays with its own name.
        {{"B", "B", "A"}, {"A@2", "B@1", "B@0"}},
        {{"B", "Bb", "B"}, {"B@0", "B@2", "Bb@1"}},
        {{"c", "a", "c", "b", "a", "c", "a"}, {"a@1", "a@4", "a@6", "b@3", "c@2", "c@5", "c@0"}},
        {{}, {}},
    };
    for (const auto &[names, sorted] : cases) {
        EXPECT_EQ(Sorted(names), sorted);
        EXPECT_EQ(Sorted(names, true), sorted) << "without working memory";
    }
}

TEST(SortWords, EqualsTheExchangeSortOnRandomInput) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 1000; ++trial) {
        const size_t count = trial < 990 ? random() % 40 : 500 + random() % 1500;
        const unsigned distinct = 1 + random() % (trial % 10 == 0 ? 200 : 4);
        std::vector<std::string> names;
        for (size_t i = 0; i < count; ++i)
            names.push_back("n" + std::to_string(random() % distinct));
        ASSERT_EQ(Sorted(names), Sorted(names, true)) << "trial " << trial;
    }
}
