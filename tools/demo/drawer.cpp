// Writes the demo drawer: the ROM files through the ROM maker, the pictures
// through our own drawing.
#include "box_art.h"
#include "demo_drawer.h"
#include "rommaker.h"

#include "utils.h"

#include <optional>
#include <set>
#include <system_error>

namespace demo {
namespace {

namespace fs = std::filesystem;

constexpr size_t kRomLength = 16 * 1024;

bool Fail(std::string *error, const std::string &reason) {
    if (error)
        *error = reason;
    return false;
}

bool WriteRoms(const fs::path &roms, std::string *error) {
    for (const DemoRom &rom : DemoRoms()) {
        const fs::path file = roms / rom.file;
        const std::optional<uint32_t> fingerprint =
            rom.row >= 0 ? rommaker::RowFingerprint(rom.row) : rom.fingerprint;
        if (!fingerprint || !rommaker::WriteRom(file.string(), *fingerprint, kRomLength))
            return Fail(error, "cannot write " + file.string());
    }
    return true;
}

bool SavePicture(const QImage &image, const fs::path &file, std::string *error) {
    if (!image.save(QString::fromStdString(file.string()), "PNG"))
        return Fail(error, "cannot write " + file.string());
    return true;
}

bool WritePictures(const fs::path &images, std::string *error) {
    std::set<std::string> done;
    for (const DemoRom &rom : DemoRoms()) {
        if (rom.row < 0 || !rom.picture)
            continue;
        const GameEntry &entry = GameList[rom.row];
        if (!done.insert(entry.Image).second)
            continue; // two versions of one cartridge share one picture
        const QImage art =
            DrawBoxArt(QString::fromUtf8(entry.Title), BoxArtColour(rom.row), "KARVOLIN DEMO");
        if (!SavePicture(art, images / entry.Image, error))
            return false;
    }
    const QImage placeholder = DrawBoxArt("No Cartridge", NoCartridgeColour(), "");
    return SavePicture(placeholder, images / "nocart.png", error);
}

} // namespace

bool WriteDrawer(const fs::path &folder, std::string *error) {
    std::error_code failure;
    fs::create_directories(folder / "roms", failure);
    if (!failure)
        fs::create_directories(folder / "images", failure);
    if (failure)
        return Fail(error, "cannot create " + folder.string() + ": " + failure.message());
    return WriteRoms(folder / "roms", error) && WritePictures(folder / "images", error);
}

} // namespace demo
