// What the demo drawer holds: known cartridges (7- and 8-digit fingerprints,
// the two versions of one cartridge that share a picture, titles that sort
// by byte value), two ROMs the table does not know, and one known ROM whose
// picture is missing.
#include "demo_drawer.h"

#include "utils.h"

#include <QColor>

#include <cctype>
#include <cstring>

namespace demo {
namespace {

// "Mr. Do!" -> "mr_do.rom": lower case, every run of other characters one '_'.
std::string FileNameFor(const char *title) {
    std::string name;
    for (const char *c = title; *c; ++c) {
        const unsigned char u = static_cast<unsigned char>(*c);
        if (std::isalnum(u))
            name += static_cast<char>(std::tolower(u));
        else if (*c != '\'' && !name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name + ".rom";
}

DemoRom Known(int row, bool picture = true) {
    return DemoRom{FileNameFor(GameList[row].Title), row, 0, picture};
}

DemoRom Unknown(const char *file, uint32_t fingerprint) {
    return DemoRom{file, -1, fingerprint, true};
}

std::vector<DemoRom> MakeDemoRoms() {
    std::vector<DemoRom> roms;
    for (int row :
         {9, 14, 15, 35, 36, 96, 7, 13, 25, 44, 69, 71, 107, 109, 129, 137, 146, 147, 151, 156})
        roms.push_back(Known(row));
    roms.push_back(Known(20, false)); // listed by title, shown with the placeholder
    roms.push_back(Unknown("homebrew_maze.rom", 0x12345678u));
    roms.push_back(Unknown("sound_test.rom", 0x0BADC0DEu));
    return roms;
}

uint32_t Rgb(const QColor &colour) {
    return static_cast<uint32_t>(colour.rgb()) & 0xFFFFFFu;
}

} // namespace

const std::vector<DemoRom> &DemoRoms() {
    static const std::vector<DemoRom> roms = MakeDemoRoms();
    return roms;
}

std::string DisplayName(const DemoRom &rom) {
    return rom.row >= 0 ? GameList[rom.row].Title : rom.file;
}

uint32_t BoxArtColour(int row) {
    for (int first = 0; first < row; ++first)
        if (std::strcmp(GameList[first].Image, GameList[row].Image) == 0) {
            row = first;
            break;
        }
    // 47 and 360 share no factor, so every row gets its own hue.
    return Rgb(QColor::fromHsv((row * 47) % 360, 170, 210));
}

uint32_t NoCartridgeColour() {
    return 0x8C8C8C;
}

} // namespace demo
