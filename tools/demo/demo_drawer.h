#pragma once
// The demo drawer: a small set of generated ROM files and box-art pictures
// of our own, enough to show every kind of entry the launcher lists.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

struct DemoRom {
    std::string file;         // file name inside roms/
    int row = -1;             // cartridge table row it identifies as; -1 for an unknown ROM
    uint32_t fingerprint = 0; // the fingerprint an unknown ROM carries
    bool picture = true;      // false: its box art is deliberately left out of images/
};

// Every ROM of the demo drawer, in the order they are written.
const std::vector<DemoRom> &DemoRoms();

// The name the launcher lists: the table title, or the file name.
std::string DisplayName(const DemoRom &rom);

// The plain colour that fills the box art of a table row (0xRRGGBB). Rows
// that share one picture share the colour of the first of them.
uint32_t BoxArtColour(int row);
// The colour of the placeholder picture shown when there is no box art.
uint32_t NoCartridgeColour();

// Writes roms/ and images/ (with nocart.png) into `folder`, creating what is
// missing; false with a reason in `error` when something cannot be written.
// Drawing needs a QGuiApplication.
bool WriteDrawer(const std::filesystem::path &folder, std::string *error);

} // namespace demo
