#include <INIFile.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct IniStore : ::testing::Test {
    INIFile ini;
    IniStore() { InitINI(&ini); }
    ~IniStore() override { TrashINI(&ini); }
    std::string Get(const char *section, const char *var) {
        char buffer[INI_VALUE_SIZE];
        const char *value = INIGetString(&ini, section, var, buffer, sizeof buffer);
        return value ? value : "<missing>";
    }
};

TEST_F(IniStore, LookupsAreExactAndMissingThingsGiveDefaults) {
    EXPECT_EQ(INIHasVar(&ini, "S", nullptr) + INIDeleteVar(&ini, "S", nullptr), 0);
    EXPECT_EQ(INIGetInteger(&ini, "S", "v", 42), 42);
    INISetString(&ini, "Settings", "SoundOn", "12345");
    INISetString(&ini, "Settings", "SoundOn", "7");
    INISetString(&ini, "Settings", "Empty", "");
    EXPECT_EQ(ini.Sections[0].NumVars, 2);
    EXPECT_EQ(Get("Settings", "SoundOn"), "7");
    EXPECT_EQ(
        INIGetInteger(&ini, "Settings", "Empty", 9) + INIGetFloat(&ini, "Settings", "Empty", 9), 0);
    EXPECT_EQ(INIHasVar(&ini, "settings", nullptr) + INIHasVar(&ini, "Settings", "soundon"), 0);
    EXPECT_EQ(INIGetFloat(&ini, "Settings", "soundon", 1.5), 1.5);
}

// Records keep their order as the arrays grow and when some are deleted; a
// store can be trashed twice and used again.
TEST_F(IniStore, RecordsKeepTheirOrderAsTheyComeAndGo) {
    for (int i = 0; i < 17; i++) {
        INISetInteger(&ini, std::to_string(i).c_str(), "v", i);
        INISetInteger(&ini, "0", std::to_string(i).c_str(), i * 2);
    }
    for (int i = 0; i < 17; i++) {
        EXPECT_STREQ(ini.Sections[i].Name, std::to_string(i).c_str());
        EXPECT_STREQ(ini.Sections[0].Vars[i + 1].Value, std::to_string(i * 2).c_str());
    }
    EXPECT_EQ(INIDeleteVar(&ini, "0", "16") + INIDeleteVar(&ini, "0", "v"), 2);
    EXPECT_EQ(INIDeleteVar(&ini, "0", "0") + INIDeleteVar(&ini, "0", "0"), 1);
    EXPECT_STREQ(ini.Sections[0].Vars[0].Name, "1");
    EXPECT_EQ(INIDeleteVar(&ini, "1", nullptr) + INIDeleteVar(&ini, "2", "v"), 2);
    EXPECT_EQ(INIHasVar(&ini, "1", nullptr) + INIHasVar(&ini, "2", nullptr), 1); // emptied stays
    EXPECT_STREQ(ini.Sections[1].Name, "2");
    TrashINI(&ini);
    TrashINI(&ini);
    EXPECT_EQ(ini.Sections, nullptr);
    INISetString(&ini, "S", "v", "2");
    EXPECT_EQ(Get("S", "v"), "2");
}

// Integers are written as 32-bit unsigned text and read back with wrapping.
TEST_F(IniStore, IntegersWrapToThirtyTwoBits) {
    INISetInteger(&ini, "S", "minus", -1);
    EXPECT_EQ(Get("S", "minus"), "4294967295");
    EXPECT_EQ(INIGetInteger(&ini, "S", "minus", 0), -1);
    const std::pair<const char *, LONG> texts[] = {
        {" \t-12abc", -12},  {"+7", 7},
        {"x1", 0},           {"2147483648", INT32_MIN},
        {"-4294967297", -1}, {"99999999999999999999999999", static_cast<LONG>(0xE3FFFFFF)}};
    for (auto [text, expected] : texts) {
        INISetString(&ini, "S", "t", text);
        EXPECT_EQ(INIGetInteger(&ini, "S", "t", 5), expected) << text;
    }
}

} // namespace
