#include "geometry_store.h"

#include "dos/host_dos.h"

#include <proto/dos.h>

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace platform::qt {
namespace {

struct Entry {
    ULONG id = 0;
    WindowGeometry geometry;
    std::string base;
};

constexpr int kMaxExtent = 1 << 15; // larger is no window size: a damaged line

std::optional<Entry> ParseLine(const std::string &line) {
    std::istringstream in(line);
    Entry entry;
    in >> std::hex >> entry.id >> std::dec >> entry.geometry.x >> entry.geometry.y >>
        entry.geometry.width >> entry.geometry.height;
    if (!in || in.get() != ' ')
        return std::nullopt;
    std::getline(in, entry.base);
    const WindowGeometry &g = entry.geometry;
    if (entry.base.empty() || g.width <= 0 || g.height <= 0 || g.width > kMaxExtent ||
        g.height > kMaxExtent || g.x < -kMaxExtent || g.x > kMaxExtent || g.y < -kMaxExtent ||
        g.y > kMaxExtent)
        return std::nullopt;
    return entry;
}

// The file's text; empty when it is missing or no regular file (a FIFO in
// its place must not hold up the window).
std::string ReadText(const std::filesystem::path &file) {
    std::string text;
    const int fd = platform::dos::OpenRegularFile(file.c_str());
    if (fd < 0)
        return text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno != EINTR)
            break;
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

std::vector<Entry> ReadEntries(const std::filesystem::path &file) {
    std::vector<Entry> entries;
    std::istringstream in(ReadText(file));
    std::string line;
    while (std::getline(in, line))
        if (auto entry = ParseLine(line))
            entries.push_back(std::move(*entry));
    return entries;
}

std::string FormatLine(const Entry &entry) {
    char id[16];
    std::snprintf(id, sizeof id, "%08lX", static_cast<unsigned long>(entry.id));
    const WindowGeometry &g = entry.geometry;
    std::ostringstream out;
    out << id << ' ' << g.x << ' ' << g.y << ' ' << g.width << ' ' << g.height << ' ' << entry.base
        << '\n';
    return out.str();
}

// Line breaks would split an entry; they cannot be part of a base name here.
bool ValidBase(const std::string &base) {
    return !base.empty() && base.find_first_of("\r\n") == std::string::npos;
}

} // namespace

std::optional<WindowGeometry> GeometryStore::Load(const std::string &base, ULONG id) const {
    if (!ValidBase(base))
        return std::nullopt;
    for (const Entry &entry : ReadEntries(file_))
        if (entry.id == id && entry.base == base)
            return entry.geometry;
    return std::nullopt;
}

bool GeometryStore::Save(const std::string &base, ULONG id, const WindowGeometry &geometry) const {
    if (file_.empty() || !ValidBase(base) || !ParseLine(FormatLine({id, geometry, base})))
        return false;
    std::error_code ignored; // a folder that cannot be made shows in the save
    std::filesystem::create_directories(file_.parent_path(), ignored);
    // Other processes keep their windows in the same file: each reads it and
    // replaces it under the update lock, so no entry of another is lost.
    APTR lock = LockUpdate(file_.c_str());
    std::vector<Entry> entries = ReadEntries(file_);
    const auto same = [&](const Entry &e) { return e.id == id && e.base == base; };
    const auto kept = std::find_if(entries.begin(), entries.end(), same);
    bool saved = true;
    if (kept == entries.end() || kept->geometry != geometry) { // else nothing to write
        std::erase_if(entries, same);
        entries.push_back({id, geometry, base});
        std::string text;
        for (const Entry &entry : entries)
            text += FormatLine(entry);
        std::string why;
        saved = platform::dos::ReplaceFile(file_.string(), text, &why);
        if (!saved)
            platform::dos::ReportSaveFailure(file_.string(), why);
    }
    UnLockUpdate(lock);
    return saved;
}

std::filesystem::path GeometryFile() {
    return platform::dos::HostPath("ENVARC:mui/windows.geometry", platform::dos::Use::Name);
}

} // namespace platform::qt
