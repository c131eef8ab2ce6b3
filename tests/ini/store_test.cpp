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

TEST_F(IniStore, GrowingArraysKeepTheirOrder) {
    for (int i = 0; i < 17; i++) {
        INISetInteger(&ini, std::to_string(i).c_str(), "v", i);
        INISetInteger(&ini, "0", std::to_string(i).c_str(), i * 2);
    }
    for (int i = 0; i < 17; i++) {
        EXPECT_STREQ(ini.Sections[i].Name, std::to_string(i).c_str());
        EXPECT_STREQ(ini.Sections[0].Vars[i + 1].Value, std::to_string(i * 2).c_str());
    }
}

TEST_F(IniStore, DeletionMovesLaterRecordsUp) {
    for (const char *var : {"a", "b", "c"})
        INISetString(&ini, "S", var, var);
    INISetString(&ini, "T", "x", "1");
    INISetString(&ini, "U", "y", "2");
    EXPECT_EQ(INIDeleteVar(&ini, "S", "c"), 1);
    EXPECT_EQ(INIDeleteVar(&ini, "S", "a"), 1);
    EXPECT_STREQ(ini.Sections[0].Vars[0].Name, "b");
    EXPECT_EQ(INIDeleteVar(&ini, "S", "b") + INIDeleteVar(&ini, "S", "b"), 1);
    EXPECT_EQ(INIHasVar(&ini, "S", nullptr), 1); // an empty section stays
    EXPECT_EQ(INIDeleteVar(&ini, "T", nullptr), 1);
    EXPECT_EQ(ini.NumSections, 2);
    EXPECT_EQ(Get("U", "y"), "2");
    TrashINI(&ini); // twice: an emptied store can be trashed again, and used
    TrashINI(&ini);
    EXPECT_EQ(ini.Sections, nullptr);
    INISetString(&ini, "S", "v", "2");
    EXPECT_EQ(Get("S", "v"), "2");
}

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

TEST_F(IniStore, FloatsAreStoredOnlyWhenTheirTextFits) {
    INISetFloat(&ini, "S", "f", -0.5);
    EXPECT_EQ(Get("S", "f"), "-0.500000");
    INISetFloat(&ini, "S", "f", 2e247);  // 248 digits and ".000000": 255 bytes
    INISetFloat(&ini, "S", "f", -2e247); // one byte too long
    INISetFloat(&ini, "S", "f", 1e300);
    EXPECT_EQ(INIGetFloat(&ini, "S", "f", 0), 2e247);
}

TEST_F(IniStore, SmallBuffersGetTerminatedCopies) {
    INISetString(&ini, "S", "v", "abcdef");
    char buffer[6] = "xxxxx";
    EXPECT_EQ(INIGetString(&ini, "S", "v", buffer, 0), nullptr);
    EXPECT_STREQ(buffer, "xxxxx");
    EXPECT_EQ(INIGetString(&ini, "S", "v", buffer, 1), buffer);
    EXPECT_EQ(std::string(buffer, 6), std::string("\0xxxx\0", 6));
    INISetString(&ini, "S", "v", "ab");
    EXPECT_EQ(INIGetString(&ini, "S", "v", buffer, 5), buffer);
    EXPECT_EQ(std::string(buffer, 6), std::string("ab\0\0\0\0", 6));
}

} // namespace
