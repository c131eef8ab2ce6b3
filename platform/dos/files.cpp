// DOS files for reading, on host file descriptors with one read-ahead buffer
// per handle; and locks, which here only name a file or folder.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

struct DosFileHandle {
    int fd = -1;                                 // -1: reads as an empty file
    platform::dos::Unpacker *unpacker = nullptr; // reads give what it unpacks
    bool lock = false;                           // a lock: buffer holds its host path
    size_t readPos = 0;                          // next unread byte of the buffer
    size_t readEnd = 0;                          // end of the bytes read ahead
    bool readAny = false;                        // a read has been made
    unsigned char buffer[PATH_MAX];
};

namespace {

constexpr size_t kFirstRead = 101; // a fingerprint's 100 bytes, and one more

LONG Fail(long code) {
    SetIoErr(code);
    return -1;
}

// Refills the buffer: the count read, 0 at the end of the file, -1 on an error.
ssize_t FillBuffer(DosFileHandle &file) {
    // The first read of a file fetches only a little: many callers want just
    // the head of a file. Later reads fill the whole buffer.
    const size_t wanted = file.readAny ? sizeof file.buffer : kFirstRead;
    file.readAny = true;
    ssize_t n = 0;
    if (file.unpacker)
        n = platform::dos::ReadUnpacker(file.unpacker, file.buffer, wanted);
    else if (file.fd >= 0)
        do
            n = ::read(file.fd, file.buffer, wanted);
        while (n < 0 && errno == EINTR);
    file.readPos = 0;
    file.readEnd = n > 0 ? static_cast<size_t>(n) : 0;
    if (n < 0)
        SetIoErr(file.unpacker ? ERROR_OBJECT_WRONG_TYPE
                               : platform::dos::ErrorFromErrno(errno, false));
    return n;
}

// The handle last closed on this thread, kept for the next open: a scan opens
// and closes thousands of files one after the other.
thread_local std::unique_ptr<DosFileHandle> t_spare;

BPTR NewHandle(int fd) {
    DosFileHandle *file = t_spare.release();
    if (file)
        new (file) DosFileHandle; // fresh fields; the buffer is not cleared
    else
        file = new (std::nothrow) DosFileHandle;
    if (!file) {
        if (fd >= 0)
            ::close(fd);
        SetIoErr(ERROR_NO_FREE_STORE);
        return nullptr;
    }
    file->fd = fd;
    return file;
}

void FreeHandle(BPTR file) {
    if (t_spare)
        delete file;
    else
        t_spare.reset(file);
}

} // namespace

BPTR Open(CONST_STRPTR name, LONG accessMode) {
    if (!name || accessMode != MODE_OLDFILE) {
        SetIoErr(name ? ERROR_WRITE_PROTECTED : ERROR_REQUIRED_ARG_MISSING);
        return nullptr;
    }
    int fd = -1;
    if (!platform::dos::OpenMatchedFile(name, &fd)) {
        long error = 0;
        const std::string host = platform::dos::HostPath(name, platform::dos::Use::Read, &error);
        if (host.empty()) {
            SetIoErr(error ? error : ERROR_OBJECT_NOT_FOUND);
            return nullptr;
        }
        fd = platform::dos::OpenRegularFile(host.c_str());
    }
    if (fd < 0) {
        SetIoErr(platform::dos::ErrorFromErrno(errno, false));
        return nullptr;
    }
    return NewHandle(fd);
}

BPTR OpenUnpacked(CONST_STRPTR name) {
    BPTR file = Open(name, MODE_OLDFILE);
    if (file) {
        file->unpacker = platform::dos::OpenUnpacker(file->fd);
        if (!file->unpacker) {
            ::close(file->fd);
            file->fd = -1;
        }
    }
    return file;
}

BOOL Close(BPTR file) {
    if (!file || file->lock)
        return TRUE;
    if (file->unpacker)
        platform::dos::CloseUnpacker(file->unpacker);
    const bool closed = file->fd < 0 || ::close(file->fd) == 0;
    FreeHandle(file);
    return closed ? TRUE : FALSE;
}

LONG FGetC(BPTR file) {
    if (!file || file->lock)
        return Fail(ERROR_REQUIRED_ARG_MISSING);
    if (file->readPos == file->readEnd && FillBuffer(*file) <= 0)
        return -1;
    return file->buffer[file->readPos++];
}

LONG Read(BPTR file, APTR buffer, LONG length) {
    if (!file || file->lock || !buffer || length < 0)
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
    std::string absolute = std::filesystem::absolute(host, failed).lexically_normal().string();
    if (absolute.size() > 1 && absolute.back() == '/')
        absolute.pop_back();
    if (failed || absolute.size() >= PATH_MAX) {
        SetIoErr(failed ? ERROR_NO_FREE_STORE : ERROR_LINE_TOO_LONG);
        return nullptr;
    }
    BPTR lock = NewHandle(-1);
    if (lock) {
        lock->lock = true;
        std::memcpy(lock->buffer, absolute.c_str(), absolute.size() + 1);
    }
    return lock;
}

void UnLock(BPTR lock) {
    if (lock && lock->lock)
        FreeHandle(lock);
}

BOOL NameFromLock(BPTR lock, STRPTR buffer, LONG length) {
    if (!lock || !lock->lock || !buffer || length <= 0) {
        SetIoErr(ERROR_REQUIRED_ARG_MISSING);
        return FALSE;
    }
    const size_t size = std::strlen(reinterpret_cast<const char *>(lock->buffer));
    if (size >= static_cast<size_t>(length)) {
        SetIoErr(ERROR_LINE_TOO_LONG);
        return FALSE;
    }
    std::memcpy(buffer, lock->buffer, size + 1);
    return TRUE;
}
