// DOS files on host file descriptors with one buffer per handle. A handle
// reads ahead into the buffer and collects writes in it; switching direction
// first gives back the unread bytes or writes out the pending ones.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <unistd.h>

struct DosFileHandle {
    int fd = -1;                                 // -1: reads as an empty file
    platform::dos::Unpacker *unpacker = nullptr; // reads give what it unpacks
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

// The handle last closed on this thread, kept for the next open: a scan opens
// and closes thousands of files one after the other.
thread_local std::unique_ptr<DosFileHandle> t_spare;

BPTR NewHandle(int fd, bool writable) {
    DosFileHandle *file = t_spare.release();
    if (file)
        new (file) DosFileHandle; // fresh fields; the buffer is not cleared
    else
        file = new (std::nothrow) DosFileHandle;
    if (!file) {
        ::close(fd);
        SetIoErr(ERROR_NO_FREE_STORE);
        return nullptr;
    }
    file->fd = fd;
    file->writable = writable;
    return file;
}

} // namespace

BPTR Open(CONST_STRPTR name, LONG accessMode) {
    const int flags = OpenFlags(accessMode);
    if (flags < 0 || !name) {
        SetIoErr(ERROR_REQUIRED_ARG_MISSING);
        return nullptr;
    }
    const bool writing = accessMode != MODE_OLDFILE;
    int fd = -1;
    if (writing || !platform::dos::OpenMatchedFile(name, &fd)) {
        long error = 0;
        const std::string host = platform::dos::HostPath(name, writing, &error);
        if (host.empty()) {
            SetIoErr(error ? error : ERROR_OBJECT_NOT_FOUND);
            return nullptr;
        }
        fd = writing ? ::open(host.c_str(), flags, 0666)
                     : platform::dos::OpenRegularFile(host.c_str());
    }
    if (fd < 0) {
        SetIoErr(platform::dos::ErrorFromErrno(errno, writing));
        return nullptr;
    }
    return NewHandle(fd, writing);
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
    if (!file)
        return TRUE;
    const bool flushed = FlushWrites(*file);
    if (file->unpacker)
        platform::dos::CloseUnpacker(file->unpacker);
    const bool closed = file->fd < 0 || ::close(file->fd) == 0;
    const bool ok = flushed && closed && !file->writeFailed;
    if (t_spare)
        delete file;
    else
        t_spare.reset(file);
    return ok ? TRUE : FALSE;
}

LONG FGetC(BPTR file) {
    if (!file)
        return Fail(ERROR_REQUIRED_ARG_MISSING);
    if (file->readPos == file->readEnd && FillBuffer(*file) <= 0)
        return -1;
    return file->buffer[file->readPos++];
}

LONG Read(BPTR file, APTR buffer, LONG length) {
    if (!file || !buffer || length < 0)
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
    if (!file || !buffer || length < 0)
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

LONG FPutC(BPTR file, LONG ch) {
    const unsigned char byte = static_cast<unsigned char>(ch);
    return Write(file, &byte, 1) == 1 ? byte : -1;
}
