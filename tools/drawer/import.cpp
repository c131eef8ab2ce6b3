// Box art kept under game titles or ROM file names ("Donkey Kong (USA).png",
// "donkey_kong.jpg"), as thumbnail packs name theirs, copied into images/
// under the names the launcher looks for.
#include "drawer_tool.h"

#include "utils.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace drawer_tool {
namespace {

namespace fs = std::filesystem;

// A picture file of the folder: the title key of its name, and the keys of
// the heads of its name before a subtitle ("2010" of "2010 - The Graphic
// Action Game (USA)"; packs write a title's ':' as '_').
struct Source {
    fs::path path;
    std::string key;
    std::vector<std::string> heads;
};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Formats the launcher's picture reader knows; other files are no box art.
bool IsPicture(const fs::path &file) {
    const std::string name = file.filename().string();
    for (const char *known : {".png", ".jpg", ".jpeg", ".gif", ".bmp"})
        if (HasExtension(name.c_str(), ULONG(name.size()), known))
            return true;
    return false;
}

Source Describe(const fs::path &path) {
    const std::string stem = path.stem().string();
    Source source{path, TitleKey(stem), {}};
    for (const char *separator : {" - ", ": ", "_ "})
        for (size_t at = stem.find(separator); at != std::string::npos;
             at = stem.find(separator, at + 1))
            source.heads.push_back(TitleKey(stem.substr(0, at)));
    return source;
}

// The folder's pictures in name order, so that the first of several
// matching files is always the same one; false when it cannot be read.
bool ReadSources(const fs::path &folder, std::vector<Source> *sources, std::error_code *error) {
    fs::directory_iterator entry(folder, *error);
    for (; !*error && entry != fs::directory_iterator(); entry.increment(*error)) {
        std::error_code ignored;
        if (entry->is_regular_file(ignored) && IsPicture(entry->path()))
            sources->push_back(Describe(entry->path()));
    }
    std::sort(sources->begin(), sources->end(),
              [](const Source &a, const Source &b) { return a.path < b.path; });
    return !*error;
}

// The picture for a ROM: by its own file name, else by its table title,
// else by its title followed by a subtitle. A picture named after another,
// longer title ("Donkey Kong Junior") never matches.
const Source *Match(const std::vector<Source> &sources, const RomEntry &rom) {
    const std::string fileKey = TitleKey(fs::path(rom.named).stem().string());
    const std::string titleKey = rom.row >= 0 ? TitleKey(GameList[rom.row].Title) : "";
    for (const std::string &key : {fileKey, titleKey})
        for (const Source &source : sources)
            if (!key.empty() && source.key == key)
                return &source;
    for (const Source &source : sources)
        if (!titleKey.empty() && std::count(source.heads.begin(), source.heads.end(), titleKey))
            return &source;
    return nullptr;
}

// The first name the launcher looks for that is free: nothing is replaced.
std::string FreeTarget(const RomEntry &rom, const fs::path &images) {
    for (const std::string &name : {rom.table, rom.named}) {
        struct stat status {};
        if (!name.empty() && ::lstat((images / name).c_str(), &status) != 0 && errno == ENOENT)
            return name;
    }
    return {};
}

bool CopyBytes(int in, int out) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0;
        for (ssize_t done = 0; done < n;) {
            const ssize_t written = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            done += written;
        }
    }
}

// Moves a file to a name that does not exist; false, errno EEXIST, when it
// does. A file system without RENAME_NOREPLACE gets a hard link, which never
// replaces either.
bool MoveNew(const std::string &from, const fs::path &to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL || ::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

// Copies `from` to the new file `to` through a temporary file beside it,
// flushed to disk before it takes its name, so that a copy cut short (a full
// disk, a file size limit) leaves nothing behind; errno says why it failed.
bool CopyNew(const fs::path &from, const fs::path &to) {
    std::error_code ignored;
    fs::create_directories(to.parent_path(), ignored);
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0)
        return false;
    std::string temporary = (to.parent_path() / ".karvolin-drawer-XXXXXX").string();
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok =
        out >= 0 && ::fchmod(out, 0666 & ~mask) == 0 && CopyBytes(in, out) && ::fsync(out) == 0;
    int error = errno;
    if (out >= 0 && ::close(out) != 0 && ok)
        ok = false, error = errno;
    if (ok && !MoveNew(temporary, to))
        ok = false, error = errno;
    if (!ok && out >= 0)
        ::unlink(temporary.c_str());
    ::close(in);
    errno = error;
    return ok;
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
    const fs::path images = drawer / "images";
    std::set<std::string> done; // two ROMs may look for one picture
    for (const RomEntry &rom : ListRoms()) {
        if (!std::strcmp(rom.state, "ok") || done.count(rom.table) || done.count(rom.named))
            continue;
        const std::string target = FreeTarget(rom, images);
        if (target.empty())
            continue;
        done.insert(target);
        const Source *source = Match(sources, rom);
        if (!source) {
            Print("unmatched\t%s\t%s\n", target.c_str(), rom.name.c_str());
        } else if (!CopyNew(source->path, images / target)) {
            std::fprintf(stderr, "karvolin-drawer: cannot copy %s to %s: %s\n",
                         source->path.c_str(), (images / target).c_str(), std::strerror(errno));
            status = 1;
        } else {
            Print("copied\t%s\t%s\t%s\n", target.c_str(), rom.name.c_str(),
                  source->path.filename().c_str());
        }
    }
    return status;
}

} // namespace drawer_tool
