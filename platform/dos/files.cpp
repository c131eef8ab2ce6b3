// DOS files on host file descriptors with one buffer per handle. A handle
// reads ahead into the buffer and collects writes in it; switching direction
// first gives back the unread bytes or writes out the pending ones.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

struct DosFileHandle {
    int fd = -1;          // -1 for a lock
    std::string lockedAt; // a lock's host path, absolute
    bool writable = false;
    bool writeFailed = false;
    size_t readPos = 0;   // next unread byte of the buffer
    size_t readEnd = 0;   // end of the bytes read ahead
    size_t pending = 0;   // bytes waiting to be written
    bool readAny = false; // a read has been made
    unsigned char buffer[4096];
};

namespace {

constexpr size_t kFirstRead = 512;

LONG Fail(long code) {
    SetIoErr(code);
    return -1;
}

bool FlushWrites(DosFileHandle &file) {
    size_t done = 0;
    while (done < file.pending) {
        const ssize_t n = ::write(file.fd, file.buffer + done, file.pending - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            file.writeFailed = true;
            file.pending = 0;
            SetIoErr(platform::dos::ErrorFromErrno(n < 0 ? errno : ENOSPC, true));
            return false;
        }
        done += static_cast<size_t>(n);
    }
    file.pending = 0;
    return true;
}

// Gives the bytes read ahead back to the file so a write lands after the
// last byte the caller took.
bool DropReadAhead(DosFileHandle &file) {
    const auto unread = static_cast<off_t>(file.readEnd - file.readPos);
    file.readPos = file.readEnd = 0;
    if (unread > 0 && ::lseek(file.fd, -unread, SEEK_CUR) < 0) {
        SetIoErr(platform::dos::ErrorFromErrno(errno, true));
        return false;
    }
    return true;
}

// Refills the buffer: the count read, 0 at the end of the file, -1 on an error.
ssize_t FillBuffer(DosFileHandle &file) {
    if (file.pending && !FlushWrites(file))
        return -1;
    // The first read of a file fetches only a little: many callers want just
    // the head of a file. Later reads fill the whole buffer.
    const size_t wanted = file.readAny ? sizeof file.buffer : kFirstRead;
    file.readAny = true;
    ssize_t n;
    do
        n = ::read(file.fd, file.buffer, wanted);
    while (n < 0 && errno == EINTR);
    file.readPos = 0;
    file.readEnd = n > 0 ? static_cast<size_t>(n) : 0;
    if (n < 0)
        SetIoErr(platform::dos::ErrorFromErrno(errno, false));
    return n;
}

// Flags for the modes that write; an old file is opened for reading only
// when it is a regular file (OpenRegularFile).
int OpenFlags(LONG accessMode) {
    const int common = O_CLOEXEC | O_NONBLOCK; // a FIFO must not block the open
    switch (accessMode) {
    case MODE_OLDFILE:
        return 0;
    case MODE_NEWFILE:
        return common | O_RDWR | O_CREAT | O_TRUNC;
    case MODE_READWRITE:
        return common | O_RDWR | O_CREAT;
    default:
        return -1;
    }
}

} // namespace

BPTR Open(CONST_STRPTR name, LONG accessMode) {
    const int flags = OpenFlags(accessMode);
    if (flags < 0 || !name) {
        SetIoErr(ERROR_REQUIRED_ARG_MISSING);
        return nullptr;
    }
    const bool writing = accessMode != MODE_OLDFILE;
    long error = 0;
    using platform::dos::Use;
    const std::string host =
        platform::dos::HostPath(name, writing ? Use::Write : Use::Read, &error);
    if (host.empty()) {
        SetIoErr(error ? error : ERROR_OBJECT_NOT_FOUND);
        return nullptr;
    }
    const int fd =
        writing ? ::open(host.c_str(), flags, 0666) : platform::dos::OpenRegularFile(host.c_str());
    if (fd < 0) {
        SetIoErr(platform::dos::ErrorFromErrno(errno, writing));
        return nullptr;
    }
    auto *file = new (std::nothrow) DosFileHandle;
    if (!file) {
        ::close(fd);
        SetIoErr(ERROR_NO_FREE_STORE);
        return nullptr;
    }
    file->fd = fd;
    file->writable = writing;
    return file;
}

BOOL Close(BPTR file) {
    if (!file || file->fd < 0)
        return TRUE;
    const bool flushed = FlushWrites(*file);
    const bool closed = ::close(file->fd) == 0;
    const bool ok = flushed && closed && !file->writeFailed;
    delete file;
    return ok ? TRUE : FALSE;
}

LONG FGetC(BPTR file) {
    if (!file || file->fd < 0)
        return Fail(ERROR_REQUIRED_ARG_MISSING);
    if (file->readPos == file->readEnd && FillBuffer(*file) <= 0)
        return -1;
    return file->buffer[file->readPos++];
}

LONG Read(BPTR file, APTR buffer, LONG length) {
    if (!file || file->fd < 0 || !buffer || length < 0)
        return Fail(ERROR_REQUIRED_ARG_MISSING);
    auto *out = static_cast<unsigned char *>(buffer);
    LONG done = 0;
    while (done < length) {
        if (file->readPos == file->readEnd) {
            const ssize_t n = FillBuffer(*file);
            if (n <= 0)
                return n < 0 ? -1 : done;
        }
        const size_t take =
            std::min(file->readEnd - file->readPos, static_cast<size_t>(length - done));
        std::memcpy(out + done, file->buffer + file->readPos, take);
        file->readPos += take;
        done += static_cast<LONG>(take);
    }
    return done;
}

LONG Write(BPTR file, CONST_APTR buffer, LONG length) {
    if (!file || file->fd < 0 || !buffer || length < 0)
        return Fail(ERROR_REQUIRED_ARG_MISSING);
    if (!file->writable)
        return Fail(ERROR_WRITE_PROTECTED);
    if (file->readEnd && !DropReadAhead(*file))
        return -1;
    const auto *in = static_cast<const unsigned char *>(buffer);
    for (LONG done = 0; done < length;) {
        if (file->pending == sizeof file->buffer && !FlushWrites(*file))
            return -1;
        const size_t take =
            std::min(sizeof file->buffer - file->pending, static_cast<size_t>(length - done));
        std::memcpy(file->buffer + file->pending, in + done, take);
        file->pending += take;
        done += static_cast<LONG>(take);
    }
    return length;
}

// A lock names an existing file or folder; here it only remembers where.
BPTR Lock(CONST_STRPTR name, LONG) {
    long error = 0;
    const std::string host = platform::dos::HostPath(name, platform::dos::Use::Name, &error);
    struct stat status {};
    if (host.empty() || ::stat(host.c_str(), &status) != 0) {
        SetIoErr(host.empty() ? (error ? error : ERROR_OBJECT_NOT_FOUND)
                              : platform::dos::ErrorFromErrno(errno, false));
        return nullptr;
    }
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(host, failed);
    auto *lock = new (std::nothrow) DosFileHandle;
    if (!lock || failed) {
        delete lock;
        SetIoErr(ERROR_NO_FREE_STORE);
        return nullptr;
    }
    lock->lockedAt = absolute.lexically_normal().string();
    if (lock->lockedAt.size() > 1 && lock->lockedAt.back() == '/')
        lock->lockedAt.pop_back();
    return lock;
}

void UnLock(BPTR lock) {
    if (lock && lock->fd < 0)
        delete lock;
}

BOOL NameFromLock(BPTR lock, STRPTR buffer, LONG length) {
    if (!lock || lock->fd >= 0 || !buffer || length <= 0) {
        SetIoErr(ERROR_REQUIRED_ARG_MISSING);
        return FALSE;
    }
    if (lock->lockedAt.size() >= static_cast<size_t>(length)) {
        SetIoErr(ERROR_LINE_TOO_LONG);
        return FALSE;
    }
    std::memcpy(buffer, lock->lockedAt.c_str(), lock->lockedAt.size() + 1);
    return TRUE;
}
