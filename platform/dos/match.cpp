// MatchFirst, MatchNext, MatchEnd: one directory level, entries in the host
// directory's order, the last component of the pattern matched against names.
#include "dos/host_dos.h"
#include "pattern.h"

#include <proto/dos.h>
#include <proto/exec.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>

struct AChain {
    DIR *dir = nullptr;
    std::string prefix; // the pattern's directory part, as the caller wrote it
    platform::dos::Pattern pattern;
    bool reported = false; // an entry has been returned

    ~AChain() {
        if (dir)
            ::closedir(dir);
    }
};

namespace {

// 1 January 1978 in host time.
constexpr time_t kAmigaEpoch = 252460800;

LONG Finish(LONG code) {
    SetIoErr(code);
    return code;
}

// The break signals of the anchor, taken (cleared) when one is pending.
bool BreakPending(struct AnchorPath *anchor) {
    const ULONG bits = static_cast<ULONG>(anchor->ap_BreakBits);
    const ULONG found = bits ? SetSignal(0, bits) & bits : 0;
    if (found)
        anchor->ap_FoundBreak = static_cast<LONG>(found);
    return found != 0;
}

LONG EntryType(mode_t mode) {
    if (S_ISDIR(mode))
        return ST_USERDIR;
    if (S_ISLNK(mode))
        return ST_SOFTLINK;
    if (S_ISFIFO(mode))
        return ST_PIPEFILE;
    return ST_FILE;
}

struct DateStamp AmigaDate(time_t when) {
    struct tm local {};
    ::localtime_r(&when, &local);
    const time_t seconds = when + local.tm_gmtoff - kAmigaEpoch;
    const time_t day = seconds >= 0 ? seconds / 86400 : 0;
    const time_t ofDay = seconds >= 0 ? seconds % 86400 : 0;
    return {static_cast<LONG>(day), static_cast<LONG>(ofDay / 60),
            static_cast<LONG>(ofDay % 60 * 50)};
}

void FillInfo(struct FileInfoBlock &info, const char *name, const struct stat &st) {
    std::memset(&info, 0, sizeof info);
    info.fib_DirEntryType = info.fib_EntryType = EntryType(st.st_mode);
    std::strcpy(info.fib_FileName, name);
    info.fib_Protection = ((st.st_mode & S_IRUSR) ? 0 : FIBF_READ) |
                          ((st.st_mode & S_IWUSR) ? 0 : FIBF_WRITE | FIBF_DELETE) |
                          ((st.st_mode & S_IXUSR) ? 0 : FIBF_EXECUTE);
    info.fib_Size = st.st_size > LONG_MAX ? LONG_MAX : static_cast<LONG>(st.st_size);
    info.fib_NumBlocks = st.st_blocks > LONG_MAX ? LONG_MAX : static_cast<LONG>(st.st_blocks);
    info.fib_Date = AmigaDate(st.st_mtime);
}

// Moves to the next entry that matches and fits the caller's buffers.
LONG NextEntry(struct AnchorPath *anchor) {
    AChain &chain = *anchor->ap_Base;
    if (BreakPending(anchor))
        return Finish(ERROR_BREAK);
    const size_t bufferSize = anchor->ap_Strlen > 0 ? static_cast<size_t>(anchor->ap_Strlen) : 0;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(chain.dir);
        if (!entry) {
            if (errno)
                return Finish(platform::dos::ErrorFromErrno(errno, false));
            const bool none = !chain.reported && !chain.pattern.IsWild();
            return Finish(none ? ERROR_OBJECT_NOT_FOUND : ERROR_NO_MORE_ENTRIES);
        }
        const char *name = entry->d_name;
        const size_t length = std::strlen(name);
        if (!std::strcmp(name, ".") || !std::strcmp(name, "..") || length >= FIB_NAME_SIZE ||
            !chain.pattern.Matches(name))
            continue;
        if (bufferSize && chain.prefix.size() + length + 1 > bufferSize)
            continue; // never hand out a truncated path
        struct stat st {};
        if (::fstatat(::dirfd(chain.dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since it was listed
        FillInfo(anchor->ap_Info, name, st);
        if (bufferSize) {
            std::memcpy(anchor->ap_Buf, chain.prefix.data(), chain.prefix.size());
            std::memcpy(anchor->ap_Buf + chain.prefix.size(), name, length + 1);
        }
        chain.reported = true;
        return Finish(0);
    }
}

} // namespace

LONG MatchFirst(CONST_STRPTR pattern, struct AnchorPath *anchor) {
    if (!pattern || !anchor)
        return Finish(ERROR_REQUIRED_ARG_MISSING);
    MatchEnd(anchor);
    anchor->ap_FoundBreak = 0;
    if (BreakPending(anchor))
        return Finish(ERROR_BREAK);

    auto chain = std::unique_ptr<AChain>(new (std::nothrow) AChain);
    if (!chain)
        return Finish(ERROR_NO_FREE_STORE);
    CONST_STRPTR namePart = FilePart(pattern);
    chain->prefix.assign(pattern, static_cast<size_t>(namePart - pattern));
    if (!chain->pattern.Compile(namePart))
        return Finish(ERROR_BAD_TEMPLATE);

    long error = 0;
    const std::string folder =
        chain->prefix.empty() ? "." : platform::dos::HostPath(chain->prefix.c_str(), false, &error);
    if (folder.empty())
        return Finish(error ? error : ERROR_OBJECT_NOT_FOUND);
    chain->dir = ::opendir(folder.c_str());
    if (!chain->dir)
        return Finish(platform::dos::ErrorFromErrno(errno, false));

    anchor->ap_Base = anchor->ap_Last = chain.release();
    return NextEntry(anchor);
}

LONG MatchNext(struct AnchorPath *anchor) {
    if (!anchor || !anchor->ap_Base)
        return Finish(ERROR_NO_MORE_ENTRIES);
    return NextEntry(anchor);
}

void MatchEnd(struct AnchorPath *anchor) {
    if (!anchor)
        return;
    delete anchor->ap_Base;
    anchor->ap_Base = anchor->ap_Last = nullptr;
}
