// The emulator's command line: option words, their order and the quoting of
// the ROM path.
#include "launcher-class.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string CommandFor(LauncherData data, const char *path = "PROGDIR:roms/a.rom") {
    STRPTR list[] = {const_cast<STRPTR>(path)};
    data.ROMList = list;
    char options[48];
    MakeOptionString(&data, options);
    char command[1024];
    if (!FormatLaunchCommand(&data, options, command, sizeof command))
        return "<nothing>";
    return command;
}

LauncherData Selected() {
    LauncherData data{};
    data.ROMNum = 0;
    return data;
}

TEST(LaunchCommand, OptionWordsInTheirOrder) {
    LauncherData data = Selected();
    EXPECT_EQ(CommandFor(data), "colem \"PROGDIR:roms/a.rom\"   -palette 0");

    data.FullScreen = data.SoundOn = data.ScanLines = data.DoubleSize = 1;
    data.Spinner = 4;
    data.Palette = 1;
    EXPECT_EQ(CommandFor(data), "colem \"PROGDIR:roms/a.rom\"  -fullscreen -sound -scanlines "
                                "-double -spin2y  -palette 1");

    // Scan lines come before double size, whatever order they were set in.
    data = Selected();
    data.DoubleSize = 7;
    data.ScanLines = -1;
    EXPECT_EQ(CommandFor(data), "colem \"PROGDIR:roms/a.rom\"  -scanlines -double  -palette 0");

    data = Selected();
    data.FullScreen = data.SoundOn = 1;
    data.Palette = 1;
    EXPECT_EQ(CommandFor(data), "colem \"PROGDIR:roms/a.rom\"  -fullscreen -sound  -palette 1");
}

TEST(LaunchCommand, SpinnerWordsAndPaletteRange) {
    const char *words[] = {"", "-spin1x ", "-spin1y ", "-spin2x ", "-spin2y "};
    for (LONG spinner = 0; spinner <= 4; ++spinner) {
        LauncherData data = Selected();
        data.Spinner = spinner;
        char options[48];
        MakeOptionString(&data, options);
        EXPECT_EQ(std::string(options), std::string(" ") + words[spinner]);
    }
    for (LONG spinner : {5, -1, 1000}) {
        LauncherData data = Selected();
        data.Spinner = spinner;
        EXPECT_EQ(CommandFor(data), "colem \"PROGDIR:roms/a.rom\"   -palette 0");
    }
    LauncherData data = Selected();
    data.Palette = static_cast<ULONG>(-1);
    EXPECT_EQ(CommandFor(data), "colem \"PROGDIR:roms/a.rom\"   -palette 4294967295");
}

TEST(LaunchCommand, NothingWithoutASelectedRom) {
    LauncherData data{};
    data.ROMNum = -1;
    EXPECT_EQ(CommandFor(data), "<nothing>");
    data.ROMNum = -5;
    EXPECT_EQ(CommandFor(data), "<nothing>");

    data.ROMNum = 0;
    data.ROMList = nullptr;
    char command[1024];
    EXPECT_FALSE(FormatLaunchCommand(&data, " ", command, sizeof command));
}

TEST(LaunchCommand, PathQuotingAndLength) {
    // Quotes and stars are escaped the AmigaDOS way; everything else stays.
    EXPECT_EQ(CommandFor(Selected(), "roms/say \"hi\" *now*.rom"),
              "colem \"roms/say *\"hi*\" **now**.rom\"   -palette 0");
    EXPECT_EQ(CommandFor(Selected(), "roms/$(x) `y`; z.rom"),
              "colem \"roms/$(x) `y`; z.rom\"   -palette 0");

    // The longest option string and palette leave 947 bytes for the path.
    LauncherData data = Selected();
    data.FullScreen = data.SoundOn = data.ScanLines = data.DoubleSize = 1;
    data.Spinner = 1;
    data.Palette = 4294967295u;
    const std::string fits(947, 'p');
    EXPECT_EQ(CommandFor(data, fits.c_str()).size(), 1023u);
    EXPECT_EQ(CommandFor(data, (fits + "p").c_str()), "<nothing>");
    // An escaped character takes two bytes: this no longer fits either.
    EXPECT_EQ(CommandFor(data, (fits.substr(1) + "*").c_str()), "<nothing>");
}

} // namespace
