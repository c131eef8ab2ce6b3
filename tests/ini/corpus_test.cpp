// Replays the fuzz target's seed corpus through its round-trip check.
#include "ini_roundtrip.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

TEST(IniCorpus, EverySeedSurvivesTheRoundTrip) {
    TempDir dir;
    int seeds = 0, checked = 0;
    for (const auto &entry : std::filesystem::directory_iterator(KARVOLIN_INI_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const RoundTripResult result =
            CheckIniRoundTrip(std::string(std::istreambuf_iterator<char>(in), {}), dir / "");
        EXPECT_EQ(result.failure, "") << entry.path();
        seeds++;
        checked += result.checked;
    }
    EXPECT_GE(seeds, 10);
    EXPECT_GE(checked * 2, seeds); // most seeds must exercise the comparison
}
