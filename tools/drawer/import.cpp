// Box art kept under game titles ("Donkey Kong (USA).png", "donkey_kong.jpg"),
// copied into images/ under the names the cartridge table expects.
#include "drawer_tool.h"

#include "utils.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <system_error>

namespace drawer_tool {
namespace {

namespace fs = std::filesystem;

// A picture file of the folder and the title key of its name.
struct Source {
    fs::path path;
    std::string key;
};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Formats the launcher's picture reader knows; other files are no box art.
bool IsPicture(const fs::path &file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), Lower);
    for (const char *known : {".png", ".jpg", ".jpeg", ".gif", ".bmp"})
        if (extension == known)
            return true;
    return false;
}

// The folder's pictures in name order, so that the first of several
// matching files is always the same one; false when it cannot be read.
bool ReadSources(const fs::path &folder, std::vector<Source> *sources, std::error_code *error) {
    fs::directory_iterator entry(folder, *error);
    for (; !*error && entry != fs::directory_iterator(); entry.increment(*error)) {
        std::error_code ignored;
        if (entry->is_regular_file(ignored) && IsPicture(entry->path()))
            sources->push_back({entry->path(), TitleKey(entry->path().stem().string())});
    }
    std::sort(sources->begin(), sources->end(),
              [](const Source &a, const Source &b) { return a.path < b.path; });
    return !*error;
}

const Source *Match(const std::vector<Source> &sources, const std::string &key) {
    for (const Source &source : sources)
        if (!source.key.empty() && source.key == key)
            return &source;
    return nullptr;
}

// Copies without ever replacing a file that is there.
bool CopyNew(const fs::path &from, const fs::path &to, std::error_code *error) {
    fs::create_directories(to.parent_path(), *error);
    return !*error && fs::copy_file(from, to, fs::copy_options::none, *error);
}

} // namespace

std::string TitleKey(std::string_view name) {
    std::string key;
    int depth = 0;
    for (const char c : name) {
        if (c == '(' || c == '[')
            ++depth;
        else if ((c == ')' || c == ']') && depth > 0)
            --depth;
        else if (depth == 0 && ((c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'z')))
            key += Lower(c);
    }
    return key;
}

int ImportArt(const fs::path &folder, const fs::path &drawer) {
    std::vector<Source> sources;
    std::error_code error;
    if (!ReadSources(folder, &sources, &error)) {
        std::fprintf(stderr, "karvolin-drawer: cannot read %s: %s\n", folder.c_str(),
                     error.message().c_str());
        return 2;
    }
    int status = 0;
    std::set<std::string> done; // two cartridges may share one picture
    for (const RomEntry &rom : ListRoms()) {
        if (rom.row < 0 || rom.hasArt || !done.insert(GameList[rom.row].Image).second)
            continue;
        const GameEntry &game = GameList[rom.row];
        const Source *source = Match(sources, TitleKey(game.Title));
        if (!source) {
            std::printf("unmatched\t%s\t%s\n", game.Image, game.Title);
            continue;
        }
        const fs::path target = drawer / "images" / game.Image;
        if (!CopyNew(source->path, target, &error)) {
            std::fprintf(stderr, "karvolin-drawer: cannot copy %s to %s: %s\n",
                         source->path.c_str(), target.c_str(), error.message().c_str());
            status = 1;
            continue;
        }
        std::printf("copied\t%s\t%s\t%s\n", game.Image, game.Title,
                    source->path.filename().c_str());
    }
    return status;
}

} // namespace drawer_tool
