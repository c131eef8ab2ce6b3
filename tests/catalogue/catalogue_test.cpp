// Identifying ROM files, and the catalogue made of real drawers.
#include "alloc_hook.h"
#include "packed.h"
#include "rommaker.h"
#include "temp_dir.h"
#include "utils.h"

#include <proto/dos.h>
#include <proto/exec.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

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
};

// A stand-in ROM that identifies as table row `row`.
static std::string Rom(int row) {
    const std::vector<uint8_t> bytes = *rommaker::MakeRom(*rommaker::RowFingerprint(row), 8192);
    return {bytes.begin(), bytes.end()};
}

// The catalogue as (name, path) pairs, after checking its shape.
static Entries Catalogue() {
    Entries entries;
    EXPECT_EQ(ROMArray == nullptr, NumROMS == 0);
    for (LONG i = 0; i < NumROMS; ++i) {
        entries.emplace_back(NameArray[i], ROMArray[i]);
        EXPECT_TRUE(i == 0 || std::strcmp(NameArray[i - 1], NameArray[i]) <= 0) << "by bytes";
    }
    EXPECT_EQ(NameArray ? NameArray[NumROMS] : "no names", nullptr) << "names end with a null slot";
    return entries;
}

// The names sorted with paths "0", "1", ..., as "name@path"; `degraded`: without memory.
static std::vector<std::string> Sorted(std::vector<std::string> names, bool degraded = false) {
    std::vector<std::string> paths(names.size());
    std::vector<STRPTR> nameSlots, pathSlots;
    for (size_t i = 0; i < names.size(); ++i) {
        paths[i] = std::to_string(i);
        nameSlots.push_back(names[i].data()), pathSlots.push_back(paths[i].data());
    }
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

// Every kind of entry a collection has, listed by title or file name, alternate
// dumps apart, or passed over without blocking.
TEST(MakeList, ListsEveryKindOfRomAndNothingElse) {
    Drawer drawer;
    for (int pass = 0; pass < 2; ++pass) { // an empty, then a missing folder
        make_list();
        EXPECT_TRUE(Catalogue().empty());
        free_catalogue();
        std::filesystem::remove(drawer.path() / "roms");
    }
    std::filesystem::create_directories(drawer.path() / "roms");
    const std::string out = drawer.Write("elsewhere/zenji.rom", Rom(147)), socket = out + "s";
    for (const std::string &fifo : {out + "f", drawer / "roms/p.rom"})
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0) << fifo;
    sockaddr_un address{AF_UNIX, {}};
    socket.copy(address.sun_path, sizeof address.sun_path - 1);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    // A device node of our own when we may make one (as root), else the system's.
    const bool own = ::mknod((out + "d").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    enum Kind { Gzip, Stored, Deflated, Plain, Link }; // packed kinds in Packing's order
    // A file, its kind, its bytes or a link's target, the name it is listed under ("": none).
    const std::tuple<std::string, Kind, std::string, std::string> entries[] = {
        {"b.rom", Plain, Rom(35), "2010"},
        {"Alphabet Zoo (USA).COL", Plain, Rom(2), "Alphabet Zoo"},
        {"beam.Bin", Plain, Rom(40), "Beamrider"},
        {"Carnival.zip", Stored, Rom(46), "Carnival"},
        {"Centipede (USA).ZIP", Deflated, Rom(47), "Centipede"},
        {"Choplifter (USA).col.gz", Gzip, Rom(48), "Choplifter"},
        {"Corrupt.zip", Plain, "PK\3\4 cut short", "Corrupt.zip"},
        {"plain.gz", Plain, Rom(49), "plain.gz"}, // no gzip inside
        {"zaxxon.rom", Plain, "no cartridge", "zaxxon.rom"},
        {"Donkey Kong (1982).rom", Plain, Rom(14), "Donkey Kong - Donkey Kong (1982).rom"},
        {"Donkey Kong (1982)[a1].rom", Plain, Rom(14), "Donkey Kong - Donkey Kong (1982)[a1].rom"},
        {"dk.zip", Deflated, Rom(14), "Donkey Kong - dk.zip"},
        {"link.rom", Link, out, "Zenji"},
        {"dangling.rom", Link, out + "x", ""},
        {"folder.rom", Link, drawer / "elsewhere", ""},
        {"fifo.rom", Link, out + "f", ""},
        {"socket.rom", Link, socket, ""},
        {"device.rom", Link, own ? out + "d" : "/dev/null", ""},
        {"sub.rom/inner.rom", Plain, Rom(2), ""},
        {"notes.txt", Plain, "", ""},
        {"Game.7z", Plain, Rom(2), ""},
    };
    Entries expected;
    for (const auto &[file, kind, content, listed] : entries) {
        const std::string path = drawer / ("roms/" + file);
        if (kind == Plain)
            drawer.Write("roms/" + file, content);
        else if (kind == Link)
            ASSERT_EQ(::symlink(content.c_str(), path.c_str()), 0);
        else
            ASSERT_TRUE(WritePacked(path, Packing(kind), content));
        if (!listed.empty())
            expected.emplace_back(listed, "PROGDIR:roms/" + file);
    }
    std::sort(expected.begin(), expected.end());

    EXPECT_EQ(make_list(), 1);
    EXPECT_EQ(Catalogue(), expected);
    ::close(listener);
}

TEST(MakeList, BreakDuringTheScanKeepsTheRomsFoundSoFar) {
    Drawer drawer;
    for (int row = 0; row < 6; ++row)
        drawer.Write("roms/r" + std::to_string(row) + ".rom", Rom(row));
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
        drawer.Write("roms/r" + std::to_string(row) + ".rom", Rom(row * 10));
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
            EXPECT_EQ(std::pair(NameArray, NumROMS), (std::pair<STRPTR *, LONG>(nullptr, 0)));
            continue;
        }
        const Entries entries = Catalogue();
        for (const auto &[name, path] : entries)
            EXPECT_EQ(full[path], name) << "failing allocation " << failing;
        // Without the sort's working memory the catalogue is still whole.
        EXPECT_TRUE(failing < allocations - 1 || entries.size() == 5u) << failing;
    }
}

TEST(MakeList, StopsAtTheLargestCountAndSaysHowManyAreLeftOut) {
    Drawer drawer;
    const std::string source = drawer.Write("empty", "");
    for (int i = 0; i < 32769; ++i) // links: far quicker to make than files
        ASSERT_EQ(
            ::link(source.c_str(), (drawer / ("roms/r" + std::to_string(i) + ".rom")).c_str()), 0);
    testing::internal::CaptureStderr();
    make_list();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "2 ROM files left out: the list holds 32767\n");
    EXPECT_EQ(Catalogue().size(), 32767u);
}

// sort_words keeps the exchange sort's order (its way without memory), equal names too.
TEST(SortWords, ByteOrderAndTheOrderOfEqualNamesAsTheExchangeSortHasThem) {
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
    // And on random input, small and large, few names or many.
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

static std::string Hex(ULONG value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", unsigned(value));
    return text;
}

// A row whose fingerprint text is not what "%X" prints, or that an earlier row
// shadows, is never found.
TEST(GameTable, EveryRowCanBeFound) {
    for (int row = 0; row < NUM_GAMES; ++row) {
        EXPECT_EQ(Hex(ULONG(std::strtoul(GameList[row].Fingerprint, nullptr, 16))),
                  GameList[row].Fingerprint)
            << row;
        EXPECT_EQ(std::pair(LookUpGameName(GameList[row].Fingerprint),
                            LookUpGameImage(GameList[row].Fingerprint)),
                  std::pair(row, row));
        // No title is a listed file's name: only titles repeat in the list.
        const char *title = GameList[row].Title;
        for (const char *extension : {".rom", ".col", ".bin", ".zip", ".gz"})
            EXPECT_FALSE(HasExtension(title, ULONG(std::strlen(title)), extension)) << title;
    }
    for (const char *miss : {"04A3234D", "4a3234d", "1505", "", "Zenji", "349DD3.png"})
        EXPECT_EQ(std::pair(LookUpGameName(miss), LookUpGameImage(miss)), std::pair(-1, -1))
            << miss;
}

TEST(Identify, FingerprintAndSumOfKnownFiles) {
    TempDir dir;
    std::string everyByte(10000, '\0'); // every byte value, over more than one read buffer
    for (size_t i = 0; i < everyByte.size(); ++i)
        everyByte[i] = char(i * 7);
    // Bytes, their fingerprint and their sum.
    const std::tuple<std::string, ULONG, ULONG> cases[] = {
        {"", 5381, 0},
        {std::string(1, '\0'), 0x2A0A0, 0},
        {"abc", 0xA830823, 294},
        {std::string(100, '\0'), 0x50500001, 0},
        {std::string(150, '\0'), 0x50500001, 0}, // only the first 100 bytes count
        {std::string(99, 'x') + "yz", 0x506DEF78, 99 * 'x' + 'y' + 'z'},
        {everyByte, 0x6E337CC3, 1273800},
    };
    for (const auto &[bytes, fingerprint, sum] : cases) {
        const std::string path = dir.Write("f.rom", bytes);
        EXPECT_EQ(std::pair(GetFileFingerPrint(path.c_str()), GetFileSum(path.c_str())),
                  std::pair(fingerprint, sum))
            << bytes.size();
    }
    // Packed, the ROM inside counts, read through to its end.
    for (const auto &[name, packing] : {std::pair("f.GZ", Packing::Gzip),
                                        {"f.zip", Packing::ZipStored},
                                        {"f.Zip", Packing::ZipDeflated}}) {
        ASSERT_TRUE(WritePacked(dir / name, packing, everyByte));
        EXPECT_EQ(
            std::pair(GetFileFingerPrint((dir / name).c_str()), GetFileSum((dir / name).c_str())),
            std::pair(0x6E337CC3u, 1273800u))
            << name;
    }
    // What cannot be read has the starting value and no bytes.
    for (const std::string &unread : {dir / "missing", dir.path().string()})
        EXPECT_EQ(std::pair(GetFileFingerPrint(unread.c_str()), GetFileSum(unread.c_str())),
                  std::pair(5381u, 0u))
            << unread;
}

// The ROM maker hits any fingerprint at any usable length; its command, a table row.
TEST(RomMaker, HitsAnyFingerprintAtAnyUsableLength) {
    std::mt19937 random(7);
    TempDir dir;
    for (size_t length :
         {rommaker::kMinimumLength, size_t(99), size_t(100), size_t(101), size_t(4096)}) {
        const uint32_t target = random();
        ASSERT_TRUE(rommaker::WriteRom(dir / "r.rom", target, length));
        EXPECT_EQ(GetFileFingerPrint((dir / "r.rom").c_str()), target) << length;
        EXPECT_EQ(std::filesystem::file_size(dir / "r.rom"), length);
    }
    EXPECT_FALSE(rommaker::MakeRom(1, rommaker::kMinimumLength - 1));
    EXPECT_FALSE(rommaker::RowFingerprint(NUM_GAMES));

    const std::string command =
        std::string(ROMMAKER_COMMAND) + " --row 9 --length 4096 " + dir / "row9.rom";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(LookUpGameName(Hex(GetFileFingerPrint((dir / "row9.rom").c_str())).c_str()), 9);
}
