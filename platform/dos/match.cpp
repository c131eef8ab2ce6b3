// MatchFirst, MatchNext, MatchEnd: one directory level, entries in the host
// directory's order, the last component of the pattern matched against names.
#include "dos/host_dos.h"
#include "pattern.h"

#include <proto/dos.h>
#include <proto/exec.h>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/stat.h>

struct AChain {
    DIR *dir = nullptr;
    std::string prefix;     // the pattern's directory part, as the caller wrote it
    std::string hostPrefix; // the same as a host path, ending in '/' unless empty
    platform::dos::Pattern pattern;
    bool reported = false; // an entry has been returned

    ~AChain() {
        if (dir) {
            platform::dos::ForgetMatchedFile(::dirfd(dir));
            ::closedir(dir);
        }
    }
};

namespace {

LONG Finish(LONG code) {
    SetIoErr(code);
    return code;
}

// Whether a break signal of the anchor is pending. It stays pending, so that
// the program's next Wait still sees it and ends as the break asks.
bool BreakPending(struct AnchorPath *anchor) {
    const ULONG bits = static_cast<ULONG>(anchor->ap_BreakBits);
    const ULONG found = bits ? SetSignal(0, 0) & bits : 0;
    if (found)
        anchor->ap_FoundBreak = static_cast<LONG>(found);
    return found != 0;
}

// The entry type from the directory listing itself; only a file system that
// does not report types costs a stat, and a link one stat of what it names:
// a link to a regular file is reported as that file, a link to anything else
// (nothing, a folder, a FIFO, a socket, a device) as a link. 0 when the entry
// has gone, and for a FIFO, socket or device, which are not listed. *plain
// tells a regular file that is no link.
LONG EntryType(DIR *dir, const dirent &entry, bool *plain) {
    unsigned char type = entry.d_type;
    struct stat st {};
    if (type == DT_UNKNOWN) {
        if (::fstatat(::dirfd(dir), entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return 0;
        type = S_ISDIR(st.st_mode)   ? DT_DIR
               : S_ISLNK(st.st_mode) ? DT_LNK
               : S_ISREG(st.st_mode) ? DT_REG
                                     : DT_FIFO;
    }
    *plain = type == DT_REG;
    switch (type) {
    case DT_DIR:
        return ST_USERDIR;
    case DT_LNK: // stat never opens, so a link to a FIFO or device cannot block
        return ::fstatat(::dirfd(dir), entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode)
                   ? ST_FILE
                   : ST_SOFTLINK;
    case DT_REG:
        return ST_FILE;
    default:
        return 0;
    }
}

// Moves to the next entry that matches and fits the caller's buffers.
LONG NextEntry(struct AnchorPath *anchor) {
    AChain &chain = *anchor->ap_Base;
    if (BreakPending(anchor))
        return Finish(ERROR_BREAK);
    const size_t bufferSize = anchor->ap_Strlen > 0 ? static_cast<size_t>(anchor->ap_Strlen) : 0;
    platform::dos::ForgetMatchedFile(::dirfd(chain.dir));
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
        bool plain = false;
        const LONG type = EntryType(chain.dir, *entry, &plain);
        if (type == 0)
            continue; // gone since it was listed, or no file of ours
        if (plain)
            platform::dos::NoteMatchedFile(::dirfd(chain.dir), chain.prefix, chain.hostPrefix,
                                           name);
        struct FileInfoBlock &info = anchor->ap_Info;
        std::memset(&info, 0, sizeof info);
        info.fib_DirEntryType = info.fib_EntryType = type;
        std::memcpy(info.fib_FileName, name, length + 1);
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
        chain->prefix.empty()
            ? "."
            : platform::dos::HostPath(chain->prefix.c_str(), platform::dos::Use::Name, &error);
    if (folder.empty())
        return Finish(error ? error : ERROR_OBJECT_NOT_FOUND);
    chain->dir = ::opendir(folder.c_str());
    if (!chain->dir)
        return Finish(platform::dos::ErrorFromErrno(errno, false));
    // Open resolves a matched name to this prefix plus the entry's name.
    if (!chain->prefix.empty())
        chain->hostPrefix = folder.back() == '/' ? folder : folder + '/';

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
