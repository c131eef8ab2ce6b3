#pragma once
// karvolin-drawer: what the launcher makes of a drawer's ROMs, and box art
// copied in under the names the launcher looks for.
#include <exec/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace drawer_tool {

// One ROM as the launcher lists and pictures it. Picture names are file
// names inside images/.
struct RomEntry {
    std::string file;        // its name inside roms/
    std::string fingerprint; // in "%X" form
    std::string name;        // the listed name
    std::string picture;     // the picture shown
    std::string table;       // the table row's picture; empty for a ROM not in the table
    std::string named;       // the picture named after the ROM file
    std::string wanted;      // the picture the launcher looks for first
    LONG row = -1;           // its table row; -1 for a ROM not in the table
    // ok (a picture of its own shown), broken (one is there but does not
    // decode), missing (known, no picture) or unknown (not in the table, no
    // picture).
    const char *state = "";
};

// The ROMs of "PROGDIR:roms/", in the launcher's order.
std::vector<RomEntry> ListRoms();

// A title or a picture's file name (without extension) reduced for
// comparison: bracketed tags dropped, letters and digits only, lower case.
std::string TitleKey(std::string_view name);

// Copies pictures from `folder` into drawer/images/ for every ROM that shows
// no picture of its own, under the first name the launcher looks for that is
// free; prints a line per picture copied and per ROM left unmatched. 0, 1
// when a copy failed, 2 when the folder cannot be read.
int ImportArt(const std::filesystem::path &folder, const std::filesystem::path &drawer);

// Prints the desktop entry of the launcher installed in `folder` (an absolute
// path): 0, or 1 with a line on standard error when the path is not text
// that an entry can hold.
int PrintDesktopEntry(const std::filesystem::path &folder);

// printf onto standard output, noting the first write that fails.
void Print(const char *format, ...) __attribute__((format(printf, 1, 2)));
// The exit status after all output: `status`, or 1 with one line on standard
// error when a write to standard output failed.
int FinishOutput(int status);

} // namespace drawer_tool
