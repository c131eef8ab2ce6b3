// karvolin-drawer: which box art the launcher shows for the ROMs of a drawer,
// the built-in cartridge table, and box art copied in under the table's names.
#include "drawer_tool.h"

#include "dos/host_dos.h"
#include "utils.h"

#include <proto/dos.h>

#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char kUsage[] =
    "usage: karvolin-drawer [DRAWER]\n"
    "       karvolin-drawer --table\n"
    "       karvolin-drawer --import-art FOLDER [DRAWER]\n"
    "       karvolin-drawer --desktop-entry [FOLDER]\n"
    "\n"
    "DRAWER is the folder that holds the launcher, its roms/ and images/; by\n"
    "default the launcher's drawer: the folder of this program, or, installed\n"
    "in a bin folder, the user's drawer $XDG_DATA_HOME/karvolin.\n"
    "\n"
    "  (no option)          one line per ROM the launcher lists, in its order,\n"
    "                       tab-separated: file, fingerprint, title, picture file\n"
    "                       shown, state (ok, missing or unknown); then a summary\n"
    "                       on standard error\n"
    "  --table              the built-in cartridge table, tab-separated: index,\n"
    "                       fingerprint, title, picture file\n"
    "  --import-art FOLDER  copies pictures (.png .jpg .jpeg .gif .bmp) named by\n"
    "                       game title, such as \"Donkey Kong (USA).png\" or\n"
    "                       donkey_kong.jpg, from FOLDER into images/ under the\n"
    "                       names the table expects, for every known ROM whose\n"
    "                       picture is missing; never replaces a file\n"
    "  --desktop-entry [FOLDER]\n"
    "                       prints the desktop entry of the launcher in FOLDER (by\n"
    "                       default the folder of this program, unless it is a\n"
    "                       bin folder), for ~/.local/share/applications/\n"
    "  --help               this text\n";

int Fail(const std::string &message) {
    std::fprintf(stderr, "karvolin-drawer: %s\n", message.c_str());
    return 2;
}

int PrintTable() {
    for (int row = 0; row < NUM_GAMES; ++row)
        std::printf("%d\t%s\t%s\t%s\n", row, GameList[row].Fingerprint, GameList[row].Title,
                    GameList[row].Image);
    return 0;
}

int PrintRoms() {
    int known = 0, present = 0;
    const std::vector<drawer_tool::RomEntry> roms = drawer_tool::ListRoms();
    for (const drawer_tool::RomEntry &rom : roms) {
        const char *state = rom.row < 0 ? "unknown" : rom.hasArt ? "ok" : "missing";
        known += rom.row >= 0;
        present += rom.hasArt;
        std::printf("%s\t%s\t%s\t%s\t%s\n", rom.file.c_str(), rom.fingerprint.c_str(),
                    rom.name.c_str(), rom.picture.c_str(), state);
    }
    std::fprintf(stderr, "ROMs: %zu, known: %d, pictures present: %d, missing: %d\n", roms.size(),
                 known, present, known - present);
    return 0;
}

// The drawer named on the command line, else the launcher's: the one the
// launcher installed beside this program would use, its PROGDIR:. The ROM
// scan and picture checks then look there.
bool OpenDrawer(const char *given, fs::path *drawer) {
    std::error_code error;
    SetProgramName("karvolin");
    *drawer = given ? fs::absolute(given, error)
                    : fs::path(platform::dos::HostPath("PROGDIR:", platform::dos::Use::Name));
    if (error || drawer->empty() || !fs::is_directory(*drawer / "roms", error))
        return false;
    if (given)
        AssignPath("PROGDIR", drawer->c_str());
    return true;
}

// The desktop entry of the launcher in the folder given, else in this
// program's folder; a launcher installed in a bin folder came with its entry.
int PrintEntry(const char *given) {
    std::error_code error;
    const fs::path folder = (given ? fs::absolute(given, error)
                                   : fs::read_symlink("/proc/self/exe", error).parent_path())
                                .lexically_normal();
    if (error)
        return Fail("cannot find the folder: " + error.message());
    if (!given && folder.filename() == "bin")
        return Fail("an installed karvolin has its desktop entry; --desktop-entry is for a drawer");
    return drawer_tool::PrintDesktopEntry(folder.has_filename() ? folder : folder.parent_path());
}

} // namespace

int main(int argc, char **argv) {
    DebugIT = 0; // the catalogue's trace lines would mix with the listing
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string &arg : args)
        if (arg.rfind("-", 0) == 0 && arg != "--table" && arg != "--import-art" &&
            arg != "--desktop-entry" && arg != "--help")
            return Fail("unknown option " + arg + " (see --help)");
    const std::string first = args.empty() ? "" : args[0];
    if (first == "--help" && args.size() == 1) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == "--table" && args.size() == 1)
        return PrintTable();
    if (first == "--desktop-entry" && args.size() <= 2)
        return PrintEntry(args.size() == 2 ? args[1].c_str() : nullptr);

    const bool import = first == "--import-art";
    const size_t drawerArg = import ? 2 : 0;
    if ((import && args.size() < 2) || args.size() > drawerArg + 1 ||
        (!import && !args.empty() && first.rfind("-", 0) == 0))
        return Fail("wrong arguments (see --help)");
    fs::path drawer;
    if (!OpenDrawer(args.size() > drawerArg ? args[drawerArg].c_str() : nullptr, &drawer))
        return Fail("no roms/ folder in " + drawer.string());
    return import ? drawer_tool::ImportArt(args[1], drawer) : PrintRoms();
}
