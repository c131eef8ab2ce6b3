// Identifying ROM files: the fingerprint, the byte sum, the lookup, and the
// stand-in ROMs that hit a chosen fingerprint.
#include "packed.h"
#include "rommaker.h"
#include "temp_dir.h"
#include "utils.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

static std::string Hex(ULONG value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", unsigned(value));
    return text;
}

// A fingerprint's text is printed with "%X": a row whose text differs from
// that (a leading zero, lower case) or that an earlier row shadows is never
// found.
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

// The ROM maker hits any fingerprint, as the catalogue reads it, at any
// usable length; its command writes a file the table names by its row.
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
