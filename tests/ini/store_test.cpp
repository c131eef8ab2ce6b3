#include <INIFile.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Store : ::testing::Test {
    INIFile ini;
    Store() { InitINI(&ini); }
    ~Store() override { TrashINI(&ini); }
    std::string Get(const char *section, const char *var) {
        char buffer[INI_VALUE_SIZE];
        const char *value = INIGetString(&ini, section, var, buffer, sizeof buffer);
        return value ? value : "<missing>";
    }
};

TEST_F(Store, MissingThingsGiveDefaultsAndTouchNothing) {
    char buffer[4] = "xyz";
    EXPECT_EQ(INIHasVar(&ini, "S", nullptr), 0);
    EXPECT_EQ(INIGetString(&ini, "S", "v", buffer, sizeof buffer), nullptr);
    EXPECT_STREQ(buffer, "xyz");
    EXPECT_EQ(INIGetInteger(&ini, "S", "v", 42), 42);
    EXPECT_EQ(INIGetFloat(&ini, "S", "v", 1.5), 1.5);
    EXPECT_EQ(INIDeleteVar(&ini, "S", nullptr), 0);

    INISetString(&ini, "Settings", "SoundOn", "1");
    EXPECT_EQ(INIHasVar(&ini, "settings", nullptr), 0);
    EXPECT_EQ(INIHasVar(&ini, "Settings", "soundon"), 0);
    EXPECT_EQ(INIDeleteVar(&ini, "Settings", "Palette"), 0);
    EXPECT_EQ(INIGetInteger(&ini, "Settings", "soundon", 7), 7);
}

TEST_F(Store, SettingReplacesAndEmptyValuesAreValues) {
    INISetString(&ini, "S", "v", "12345");
    INISetString(&ini, "S", "v", "7");
    EXPECT_EQ(ini.Sections[0].NumVars, 1);
    EXPECT_EQ(Get("S", "v"), "7");
    EXPECT_EQ(std::string(ini.Sections[0].Vars[0].Value, 6), std::string("7\0\0\0\0\0", 6));

    INISetString(&ini, "S", "empty", "");
    EXPECT_EQ(Get("S", "empty"), "");
    EXPECT_EQ(INIGetInteger(&ini, "S", "empty", 9), 0);
    EXPECT_EQ(INIGetFloat(&ini, "S", "empty", 9.0), 0.0);
}

TEST_F(Store, LongNamesAndValuesAreCut) {
    const std::string value(300, 'v'), name(70, 'n');
    INISetString(&ini, "S", "v", value.c_str());
    EXPECT_EQ(Get("S", "v"), value.substr(0, 255));

    INISetString(&ini, "S", name.c_str(), "1");
    INISetString(&ini, "S", name.c_str(), "2");
    EXPECT_EQ(ini.Sections[0].NumVars, 3); // the long name never finds its cut record
    EXPECT_EQ(INIHasVar(&ini, "S", name.c_str()), 0);
    EXPECT_EQ(Get("S", name.substr(0, 63).c_str()), "1");
    INISetString(&ini, name.c_str(), "a", "1");
    EXPECT_STREQ(ini.Sections[1].Name, name.substr(0, 63).c_str());
}

TEST_F(Store, ArraysGrowByDoublingAndKeepOrder) {
    auto key = [](int i) { return std::to_string(i); };
    auto capacity = [](int used) { return used <= 4 ? 4 : used <= 8 ? 8 : used <= 16 ? 16 : 32; };
    for (int i = 0; i < 17; i++) {
        INISetString(&ini, key(i).c_str(), "v", key(i).c_str());
        INISetString(&ini, "Many", key(i).c_str(), key(i * 2).c_str());
        EXPECT_EQ(ini.MaxSections, capacity(i + 2));
        EXPECT_EQ(ini.Sections[1].MaxVars, capacity(i + 1));
    }
    for (int i = 0; i < 17; i++) {
        EXPECT_STREQ(ini.Sections[i == 0 ? 0 : i + 1].Name, key(i).c_str());
        EXPECT_STREQ(ini.Sections[1].Vars[i].Value, key(i * 2).c_str());
    }
}

TEST_F(Store, DeletionMovesLaterRecordsUp) {
    for (const char *var : {"a", "b", "c"})
        INISetString(&ini, "S", var, var);
    INISetString(&ini, "T", "x", "1");
    INISetString(&ini, "U", "y", "2");

    INIVar *vars = ini.Sections[0].Vars;
    EXPECT_EQ(INIDeleteVar(&ini, "S", "c"), 1);
    EXPECT_EQ(ini.Sections[0].NumVars, 2);
    EXPECT_EQ(ini.Sections[0].Vars, vars);
    EXPECT_STREQ(vars[2].Name, "c"); // the record behind the end is left alone
    EXPECT_EQ(INIDeleteVar(&ini, "S", "a"), 1);
    EXPECT_STREQ(vars[0].Name, "b");
    EXPECT_EQ(INIDeleteVar(&ini, "S", "b"), 1);
    EXPECT_EQ(INIHasVar(&ini, "S", nullptr), 1); // an empty section stays

    EXPECT_EQ(INIDeleteVar(&ini, "T", nullptr), 1);
    EXPECT_EQ(ini.NumSections, 2);
    EXPECT_EQ(ini.MaxSections, 4);
    EXPECT_STREQ(ini.Sections[1].Name, "U");
    EXPECT_EQ(Get("U", "y"), "2");
    EXPECT_EQ(INIHasVar(&ini, "T", nullptr), 0);
}

TEST_F(Store, IntegersWrapToThirtyTwoBits) {
    INISetInteger(&ini, "S", "minus", -1);
    EXPECT_EQ(Get("S", "minus"), "4294967295");
    EXPECT_EQ(INIGetInteger(&ini, "S", "minus", 0), -1);
    INISetInteger(&ini, "S", "min", INT32_MIN);
    EXPECT_EQ(INIGetInteger(&ini, "S", "min", 0), INT32_MIN);
    const std::pair<const char *, LONG> texts[] = {
        {" \t-12abc", -12},  {"+7", 7},
        {"x1", 0},           {"4294967297", 1},
        {"-4294967297", -1}, {"99999999999999999999999999", static_cast<LONG>(0xE3FFFFFF)}};
    for (auto [text, expected] : texts) {
        INISetString(&ini, "S", "t", text);
        EXPECT_EQ(INIGetInteger(&ini, "S", "t", 5), expected) << text;
    }
}

TEST_F(Store, FloatsAreStoredOnlyWhenTheirTextFits) {
    INISetFloat(&ini, "S", "f", 0.5);
    EXPECT_EQ(Get("S", "f"), "0.500000");
    INISetFloat(&ini, "S", "f", -2);
    EXPECT_EQ(INIGetFloat(&ini, "S", "f", 0), -2.0);
    INISetFloat(&ini, "S", "f", 2e247); // 248 digits and ".000000": 255 bytes
    EXPECT_EQ(Get("S", "f").size(), 255u);
    INISetFloat(&ini, "S", "f", -2e247); // one byte too long
    INISetFloat(&ini, "S", "f", 1e300);
    EXPECT_EQ(INIGetFloat(&ini, "S", "f", 0), 2e247);
}

TEST_F(Store, SmallBuffersGetTerminatedCopies) {
    INISetString(&ini, "S", "v", "abcdef");
    char buffer[6] = "xxxxx";
    EXPECT_EQ(INIGetString(&ini, "S", "v", buffer, 1), buffer);
    EXPECT_EQ(std::string(buffer, 6), std::string("\0xxxx\0", 6));
    EXPECT_EQ(INIGetString(&ini, "S", "v", buffer, 0), nullptr);
    EXPECT_EQ(std::string(buffer, 6), std::string("\0xxxx\0", 6));
    INISetString(&ini, "S", "v", "ab");
    EXPECT_EQ(INIGetString(&ini, "S", "v", buffer, 5), buffer);
    EXPECT_EQ(std::string(buffer, 6), std::string("ab\0\0\0\0", 6));
}

TEST_F(Store, TrashLeavesAnEmptyReusableStore) {
    TrashINI(&ini);
    TrashINI(&ini);
    INISetString(&ini, "S", "v", "1");
    TrashINI(&ini);
    TrashINI(&ini);
    EXPECT_EQ(ini.Sections, nullptr);
    EXPECT_EQ(ini.MaxSections + ini.NumSections, 0);
    INISetString(&ini, "S", "v", "2");
    EXPECT_EQ(Get("S", "v"), "2");
}

} // namespace
