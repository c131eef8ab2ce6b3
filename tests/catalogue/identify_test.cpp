// Identifying ROM files: the table, the fingerprint, the byte sum, the lookup,
// and the stand-in ROMs that hit a chosen fingerprint.
#include "rommaker.h"
#include "temp_dir.h"
#include "utils.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

TEST(GameTable, RowsAreCompleteDistinctAndInCanonicalForm) {
    ASSERT_EQ(std::size(GameList), 157u);
    std::set<std::string> fingerprints, titles;
    std::map<std::string, int> images;
    std::vector<int> sevenDigits;
    for (int row = 0; row < NUM_GAMES; ++row) {
        const GameEntry &entry = GameList[row];
        char *end = nullptr;
        char canonical[16];
        std::snprintf(canonical, sizeof canonical, "%X",
                      unsigned(std::strtoul(entry.Fingerprint, &end, 16)));
        EXPECT_TRUE(*end == '\0' && std::string(canonical) == entry.Fingerprint) << row;
        const std::string image = entry.Image; // 5 or 6 hex digits, ".png"
        EXPECT_TRUE(image.find_first_not_of("0123456789ABCDEF") == image.rfind(".png") &&
                    (image.size() == 9 || image.size() == 10))
            << row;
        if (std::strlen(entry.Fingerprint) == 7)
            sevenDigits.push_back(row);
        fingerprints.insert(entry.Fingerprint);
        titles.insert(entry.Title);
        images[entry.Image]++;
    }
    EXPECT_EQ(fingerprints.size(), 157u);
    EXPECT_EQ(titles.size(), 157u);
    EXPECT_EQ(images.size(), 156u);
    EXPECT_EQ(images["253740.png"], 2);
    EXPECT_EQ(sevenDigits, (std::vector<int>{9, 36, 38, 79, 96, 117, 145, 151}));

    const struct {
        int row;
        const char *fingerprint, *title, *image;
    } telling[] = {
        {0, "5855D2D7", "NoiseGen Test Prog", "138371.png"},
        {9, "4A3234D", "Cosmic Crisis", "349DD3.png"},
        {14, "DCB0E6C4", "Donkey Kong", "253740.png"},
        {15, "2359D4A6", "Donkey Kong (ver 2)", "253740.png"},
        {36, "8BF8CB5", "Antartic Adventure", "18FCF3.png"},
        {38, "F8DA25C", "Artillery Duel", "18438D.png"},
        {79, "253AD9F", "Illusions", "18E7E8.png"},
        {96, "432D496", "Mr. Do!", "2D538F.png"},
        {117, "9FA7932", "Sector Alpha", "306111.png"},
        {145, "1228A69", "War Room", "4C3128.png"},
        {151, "4E04681", "The Yolk's on You (Proto)", "190A35.png"},
        {156, "73ADEC27", "Kevtris (PD)", "15592E.png"},
    };
    for (const auto &t : telling) {
        EXPECT_STREQ(GameList[t.row].Fingerprint, t.fingerprint) << t.row;
        EXPECT_STREQ(GameList[t.row].Title, t.title) << t.row;
        EXPECT_STREQ(GameList[t.row].Image, t.image) << t.row;
    }
}

TEST(Identify, FingerprintAndSumOfKnownFiles) {
    TempDir dir;
    const struct {
        std::string bytes;
        ULONG fingerprint, sum;
    } cases[] = {
        {"", 5381, 0},
        {std::string(1, '\0'), 0x2A0A0, 0},
        {"abc", 0xA830823, 294},
        {std::string(100, '\0'), 0x50500001, 0},
        {std::string(150, '\0'), 0x50500001, 0},
        {std::string(100, 'x') + "tail", rommaker::Fingerprint(std::vector<uint8_t>(100, 'x')),
         100 * 'x' + 't' + 'a' + 'i' + 'l'},
    };
    for (const auto &c : cases) {
        const std::string path = dir.Write("f.rom", c.bytes);
        EXPECT_EQ(GetFileFingerPrint(path.c_str()), c.fingerprint) << c.bytes.size();
        EXPECT_EQ(GetFileSum(path.c_str()), c.sum) << c.bytes.size();
    }
    EXPECT_EQ(GetFileFingerPrint((dir / "missing").c_str()), 5381u);
    EXPECT_EQ(GetFileSum((dir / "missing").c_str()), 0u);
    EXPECT_EQ(GetFileFingerPrint(dir.path().c_str()), 5381u) << "a folder is no ROM";
}

TEST(Identify, LookupNeedsTheExactText) {
    EXPECT_EQ(LookUpGameName("4A3234D"), 9);
    EXPECT_EQ(LookUpGameImage("4A3234D"), 9);
    EXPECT_EQ(LookUpGameName("73ADEC27"), 156);
    for (const char *miss : {"04A3234D", "4a3234d", "1505", "", "Zenji", "349DD3.png"}) {
        EXPECT_EQ(LookUpGameName(miss), -1) << miss;
        EXPECT_EQ(LookUpGameImage(miss), -1) << miss;
    }
}

TEST(RomMaker, HitsAnyFingerprintAtAnyUsableLength) {
    std::mt19937 random(7);
    TempDir dir;
    for (int i = 0; i < 200; ++i) {
        const uint32_t target = random();
        const size_t length = rommaker::kMinimumLength + random() % 200;
        const auto rom = rommaker::MakeRom(target, length);
        ASSERT_TRUE(rom && rom->size() == length);
        EXPECT_EQ(rommaker::Fingerprint(*rom), target) << length;
    }
    EXPECT_FALSE(rommaker::MakeRom(1, rommaker::kMinimumLength - 1));
    EXPECT_FALSE(rommaker::RowFingerprint(NUM_GAMES));

    // The command writes a file that the catalogue names by its row.
    const std::string path = dir / "row9.rom";
    const std::string command = std::string(ROMMAKER_COMMAND) + " --row 9 --length 4096 " + path;
    ASSERT_EQ(std::system(command.c_str()), 0);
    char text[16];
    std::snprintf(text, sizeof text, "%X", GetFileFingerPrint(path.c_str()));
    EXPECT_EQ(LookUpGameName(text), 9);
}
