#pragma once
// karvolin-drawer: what the launcher makes of a drawer's ROMs, and box art
// copied in under the names the cartridge table expects.
#include <exec/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace drawer_tool {

// One ROM as the launcher lists it.
struct RomEntry {
    std::string file;        // its name inside roms/
    std::string fingerprint; // in "%X" form
    std::string name;        // the listed name: the table title, or the file name
    std::string picture;     // the picture file shown from images/
    LONG row = -1;           // its table row; -1 for a ROM not in the table
    bool hasArt = false;     // known, and its own picture is the one shown
};

// The ROMs of "PROGDIR:roms/", in the launcher's order.
std::vector<RomEntry> ListRoms();

// A title or a picture's file name (without extension) reduced for
// comparison: bracketed tags dropped, letters and digits only, lower case.
std::string TitleKey(std::string_view name);

// Copies pictures named by game title from `folder` into drawer/images/ for
// every known ROM whose picture is missing; prints a line per picture copied
// and per picture left unmatched. 0, 1 when a copy failed, 2 when the folder
// cannot be read.
int ImportArt(const std::filesystem::path &folder, const std::filesystem::path &drawer);

// Prints the desktop entry of the launcher installed in `folder` (an absolute
// path): 0, or 1 with a line on standard error when the path is not text
// that an entry can hold.
int PrintDesktopEntry(const std::filesystem::path &folder);

} // namespace drawer_tool
