// make_list on real drawers: what is listed, under which name, in which
// order, and what survives a break or a shortage of memory.
#include "alloc_hook.h"
#include "rommaker.h"
#include "temp_dir.h"
#include "utils.h"

#include <proto/dos.h>
#include <proto/exec.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>; // name, path

// A program drawer in a temporary folder, assigned as PROGDIR:.
class Drawer {
  public:
    Drawer() {
        std::filesystem::create_directories(dir_.path() / "roms");
        AssignPath("PROGDIR", dir_.path().c_str());
    }
    ~Drawer() {
        FreeCatalogue();
        AssignPath("PROGDIR", nullptr);
    }
    void Rom(const std::string &name, int row) const {
        ASSERT_TRUE(
            rommaker::WriteRom(dir_ / ("roms/" + name), *rommaker::RowFingerprint(row), 8192));
    }
    void Unknown(const std::string &name, std::string_view bytes = "no cartridge") const {
        dir_.Write("roms/" + name, bytes);
    }
    const TempDir &dir() const { return dir_; }

    // The catalogue as (name, path) pairs, after checking its shape.
    static Entries Catalogue() {
        Entries entries;
        EXPECT_NE(NameArray, nullptr);
        if (!NameArray)
            return entries;
        EXPECT_EQ(NameArray[NumROMS], nullptr);
        EXPECT_EQ(ROMArray == nullptr, NumROMS == 0);
        for (LONG i = 0; i < NumROMS; ++i) {
            entries.emplace_back(NameArray[i], ROMArray[i]);
            if (i > 0) {
                EXPECT_LE(std::strcmp(NameArray[i - 1], NameArray[i]), 0) << "sorted by bytes";
            }
        }
        return entries;
    }
    static void FreeCatalogue() {
        for (LONG i = 0; i < NumROMS; ++i) {
            std::free(NameArray[i]);
            std::free(ROMArray[i]);
        }
        std::free(NameArray);
        std::free(ROMArray);
        NameArray = ROMArray = nullptr;
        NumROMS = 0;
    }

  private:
    TempDir dir_;
};

} // namespace

TEST(MakeList, ListsTheFilesOfTheRomFolderByTitleOrFileName) {
    Drawer drawer;
    drawer.Rom("zenji.rom", 147);
    drawer.Rom("copy.rom", 147); // the same cartridge twice
    drawer.Unknown("zaxxon.rom");
    drawer.Rom("a.rom", 2);
    drawer.Rom("b.rom", 35);
    drawer.Unknown("Upper.ROM", "");
    drawer.Unknown("notes.txt");
    drawer.dir().Write("roms/folder.rom/inner.rom", "x");
    ASSERT_EQ(::symlink("zenji.rom", (drawer.dir() / "roms/link.rom").c_str()), 0);

    EXPECT_EQ(make_list(), 1);
    Entries entries = Drawer::Catalogue();
    std::sort(entries.begin() + 3, entries.begin() + 5); // the two Zenji in either order
    EXPECT_EQ(entries, (Entries{{"2010", "PROGDIR:roms/b.rom"},
                                {"Alphabet Zoo", "PROGDIR:roms/a.rom"},
                                {"Upper.ROM", "PROGDIR:roms/Upper.ROM"},
                                {"Zenji", "PROGDIR:roms/copy.rom"},
                                {"Zenji", "PROGDIR:roms/zenji.rom"},
                                {"zaxxon.rom", "PROGDIR:roms/zaxxon.rom"}}));
}

TEST(MakeList, MissingOrEmptyRomFolderGivesAnEmptyTerminatedList) {
    Drawer drawer;
    make_list();
    EXPECT_TRUE(Drawer::Catalogue().empty());
    EXPECT_EQ(ROMArray, nullptr);
    Drawer::FreeCatalogue();
    std::filesystem::remove(drawer.dir().path() / "roms");
    make_list();
    EXPECT_TRUE(Drawer::Catalogue().empty());
}

TEST(MakeList, TracesEachRomInScanOrder) {
    Drawer drawer;
    drawer.Rom("one.rom", 0);
    drawer.Unknown("two.rom", "abc");
    drawer.Rom("three.rom", 9);
    // The scan order is the matcher's; ask it directly.
    std::string expected = "      Inside make_list...\n";
    std::vector<char> block(sizeof(AnchorPath) + 1024, 0);
    auto *anchor = reinterpret_cast<AnchorPath *>(block.data());
    anchor->ap_Strlen = 1024;
    for (LONG code = MatchFirst("PROGDIR:roms/#?.rom", anchor); code == 0;
         code = MatchNext(anchor)) {
        char line[1100];
        std::snprintf(line, sizeof line, "  %X : %X : %s\n", GetFileSum(anchor->ap_Buf),
                      GetFileFingerPrint(anchor->ap_Buf), anchor->ap_Buf);
        expected += line;
    }
    MatchEnd(anchor);

    DebugIT = 1;
    testing::internal::CaptureStdout();
    make_list();
    DebugIT = 0;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), expected);
    EXPECT_NE(expected.find("  126 : A830823 : PROGDIR:roms/two.rom\n"), std::string::npos);
}

TEST(MakeList, BreakDuringTheScanKeepsTheRomsFoundSoFar) {
    Drawer drawer;
    for (int row = 0; row < 6; ++row)
        drawer.Rom("r" + std::to_string(row) + ".rom", row);
    SetSignal(0, SIGBREAKF_CTRL_C);
    alloc_hook::Clear();
    alloc_hook::At(5,
                   [] { return ::kill(::getpid(), SIGINT) == 0; }); // while the second ROM is added
    make_list();
    alloc_hook::Clear();
    const Entries entries = Drawer::Catalogue();
    EXPECT_GE(entries.size(), 1u);
    EXPECT_LT(entries.size(), 6u);
    EXPECT_EQ(SetSignal(0, 0) & SIGBREAKF_CTRL_C, 0UL) << "the scan took the break";
}

TEST(MakeList, ShortMemoryStopsTheScanButKeepsAConsistentCatalogue) {
    Drawer drawer;
    for (int row = 0; row < 4; ++row)
        drawer.Rom("r" + std::to_string(row) + ".rom", row * 10);
    drawer.Unknown("plain.rom");
    alloc_hook::Clear();
    make_list();
    const long allocations = alloc_hook::Count();
    std::map<std::string, std::string> full;
    for (const auto &[name, path] : Drawer::Catalogue())
        full[path] = name;
    ASSERT_EQ(full.size(), 5u);

    for (long failing = 0; failing <= allocations; ++failing) {
        Drawer::FreeCatalogue();
        alloc_hook::Clear();
        alloc_hook::At(failing, [] { return false; });
        EXPECT_EQ(make_list(), 1);
        alloc_hook::Clear();
        if (failing == 0) { // the match state itself
            EXPECT_EQ(NameArray, nullptr);
            EXPECT_EQ(NumROMS, 0);
            continue;
        }
        const Entries entries = Drawer::Catalogue();
        for (const auto &[name, path] : entries)
            EXPECT_EQ(full[path], name) << "failing allocation " << failing;
        if (failing >= allocations - 1) { // only the sort's working memory was missing
            EXPECT_EQ(entries.size(), 5u);
        }
    }
}

TEST(MakeList, StopsAtTheLargestCount) {
    Drawer drawer;
    const auto roms = drawer.dir().path() / "roms";
    const std::string source = drawer.dir().Write("empty", "");
    for (int i = 0; i <= 32767; ++i) // links: far quicker to make than files
        ASSERT_EQ(::link(source.c_str(), (roms / ("r" + std::to_string(i) + ".rom")).c_str()), 0);
    make_list();
    EXPECT_EQ(NumROMS, 32767);
    EXPECT_EQ(Drawer::Catalogue().size(), 32767u);
}
