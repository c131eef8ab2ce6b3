// The emulator's command line: the option words in their fixed order, the
// palette, the quoting of the ROM path, and nothing when no ROM is selected
// or the line would not fit.
#include "launcher-class.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LaunchCommand, WordsQuotingAndLength) {
    const std::string fits(947, 'p'); // with the longest words and palette: 1023 bytes
    const std::string longest =
        "  -fullscreen -sound -scanlines -double -spin1x  -palette 4294967295";
    const struct {
        WORD fullScreen, sound, doubleSize, scanLines;
        ULONG palette;
        LONG spinner, rom;
        std::string path, command;
    } cases[] = {
        {0, 0, 0, 0, 0, 0, 0, "PROGDIR:roms/a.rom", "colem \"PROGDIR:roms/a.rom\"   -palette 0"},
        {1, 1, 1, 1, 1, 4, 0, "a",
         "colem \"a\"  -fullscreen -sound -scanlines -double -spin2y  -palette 1"},
        // Scan lines before double size; any value but 0 sets a flag.
        {0, 0, 7, -1, 0, 0, 0, "a", "colem \"a\"  -scanlines -double  -palette 0"},
        {0, 0, 0, 0, 0, 1, 0, "a", "colem \"a\"  -spin1x  -palette 0"},
        {0, 0, 0, 0, 0, 2, 0, "a", "colem \"a\"  -spin1y  -palette 0"},
        {0, 0, 0, 0, 0, 3, 0, "a", "colem \"a\"  -spin2x  -palette 0"},
        {0, 0, 0, 0, 0, 5, 0, "a", "colem \"a\"   -palette 0"},
        {0, 0, 0, 0, 0, -1, 0, "a", "colem \"a\"   -palette 0"},
        // Quotes and stars are escaped the AmigaDOS way; everything else stays.
        {0, 0, 0, 0, 0, 0, 0, "say \"hi\" *now*", "colem \"say *\"hi*\" **now**\"   -palette 0"},
        {0, 0, 0, 0, 0, 0, 0, "$(x) `y`; z", "colem \"$(x) `y`; z\"   -palette 0"},
        {0, 0, 0, 0, 0, 0, -1, "a", ""},
        {0, 0, 0, 0, 0, 0, -5, "a", ""},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits, "colem \"" + fits + "\"" + longest},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits + "p", ""},
        {1, 1, 1, 1, 4294967295u, 1, 0, fits.substr(1) + "*", ""}, // a star takes two bytes
    };
    for (const auto &c : cases) {
        std::string path = c.path;
        STRPTR list[] = {path.data()};
        const LauncherData data = {c.fullScreen, c.sound,   c.doubleSize, c.scanLines,
                                   c.palette,    c.spinner, c.rom,        list};
        char options[48], command[1024];
        MakeOptionString(&data, options);
        EXPECT_EQ(FormatLaunchCommand(&data, options, command, sizeof command) ? command : "",
                  c.command);
    }
}

} // namespace
