// Replays the fuzz target's seed corpus through its round-trip check.
#include "ini_roundtrip.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

TEST(IniCorpus, EverySeedSurvivesTheRoundTrip) {
    TempDir dir;
    int seeds = 0, checked = 0;
    for (const auto &entry : std::filesystem::directory_iterator(KARVOLIN_INI_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        RoundTripResult result = CheckIniRoundTrip(bytes.str(), dir.path.string());
        EXPECT_EQ(result.failure, "") << entry.path();
        seeds++;
        checked += result.checked;
    }
    EXPECT_GE(seeds, 10);
    EXPECT_GE(checked * 2, seeds); // most seeds must exercise the comparison
}
