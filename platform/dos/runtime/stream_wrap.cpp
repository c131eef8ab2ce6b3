// The runtime's stream calls with Amiga names. Programs that link amiga_runtime
// are linked with --wrap for fopen and fopen64, so their calls land here, get their device prefix
// resolved and go on to the C library. A stream opened only for reading is opened only on a regular
// file. A stream opened only for writing ("w", "wb") replaces its file as a whole when it is
// closed: what was written goes in one step to the file, or nowhere, and only a file that is the
// user's to write is replaced (ReplaceFile). A save that cannot be made says so in one line on
// standard error, and fopen or fclose fails.
#include "dos/host_dos.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>

extern "C" {
FILE *__real_fopen(const char *path, const char *mode);
FILE *__real_fopen64(const char *path, const char *mode);
}

namespace {

bool WritesTo(const char *mode) {
    return mode && std::strpbrk(mode, "wa+") != nullptr;
}

using platform::dos::Use;

// True when the name has a device prefix; host then holds its host path, or
// is empty (errno ENOENT) when the device cannot be resolved.
bool Resolve(const char *name, Use use, std::string &host) {
    if (!name || !platform::dos::HasDevice(name))
        return false;
    host = platform::dos::HostPath(name, use);
    if (host.empty())
        errno = ENOENT;
    return true;
}

// A stream only for reading is opened only on a regular file.
FILE *OpenForReading(const char *host, const char *mode) {
    const int fd = platform::dos::OpenRegularFile(host);
    FILE *stream = fd >= 0 ? ::fdopen(fd, mode) : nullptr;
    if (!stream && fd >= 0)
        ::close(fd);
    return stream;
}

// A stream that collects what is written and replaces its file on close.
struct Replacement {
    std::string path;
    std::string contents;
    bool lost = false; // a write did not fit in memory: the file is not replaced
};

ssize_t CollectWrite(void *cookie, const char *data, size_t size) {
    try {
        static_cast<Replacement *>(cookie)->contents.append(data, size);
    } catch (const std::bad_alloc &) {
        static_cast<Replacement *>(cookie)->lost = true;
        errno = ENOMEM;
        return -1;
    }
    return static_cast<ssize_t>(size);
}

int CommitOnClose(void *cookie) {
    std::unique_ptr<Replacement> replacement(static_cast<Replacement *>(cookie));
    std::string why = "out of memory";
    if (!replacement->lost &&
        platform::dos::ReplaceFile(replacement->path, replacement->contents, &why))
        return 0;
    if (replacement->lost)
        errno = ENOMEM;
    const int error = errno;
    platform::dos::ReportSaveFailure(replacement->path, why);
    errno = error;
    return -1;
}

FILE *OpenReplacement(const char *host) {
    std::string target, why;
    if (!platform::dos::CheckReplaceable(host, &target, &why)) {
        const int error = errno;
        platform::dos::ReportSaveFailure(host, why);
        errno = error;
        return nullptr;
    }
    auto replacement = std::make_unique<Replacement>();
    replacement->path = host;
    FILE *stream =
        ::fopencookie(replacement.get(), "w", {nullptr, CollectWrite, nullptr, CommitOnClose});
    if (stream)
        (void)replacement.release();
    return stream;
}

bool ReplacesFile(const char *mode) {
    return mode && mode[0] == 'w' && !std::strchr(mode, '+');
}

template <typename Open> FILE *OpenStream(Open open, const char *path, const char *mode) {
    std::string host;
    const bool writing = WritesTo(mode);
    const bool device = Resolve(path, writing ? Use::Write : Use::Read, host);
    if (device && host.empty())
        return nullptr;
    const char *name = device ? host.c_str() : path;
    if (name && ReplacesFile(mode))
        return OpenReplacement(name);
    if (writing || !name || !mode)
        return open(name, mode);
    return OpenForReading(name, mode);
}

} // namespace

extern "C" {

FILE *__wrap_fopen(const char *path, const char *mode) {
    return OpenStream(__real_fopen, path, mode);
}

FILE *__wrap_fopen64(const char *path, const char *mode) {
    return OpenStream(__real_fopen64, path, mode);
}

} // extern "C"
