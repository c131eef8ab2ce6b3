#pragma once
// Platform-internal: how Amiga names become host paths. Used by every
// platform call that hands a name to the host (DOS, the runtime's stream
// calls, pictures, commands); never included by the program.
#include <string>
#include <string_view>

namespace platform::dos {

// The host path for an Amiga name. "DEVICE:rest" becomes the device's folder
// joined with rest; a name without a device comes back unchanged. For a write
// into ENVARC: the folder is created (with its parents) when missing. An empty
// result means the name cannot be resolved (unknown device, no home folder);
// the DOS error code is then in *error when error is given.
std::string HostPath(const char *amigaPath, bool forWriting, long *error = nullptr);

// True when the name starts with a device ("NAME:..."): a ':' in its first
// component.
bool HasDevice(std::string_view amigaPath);

} // namespace platform::dos

namespace platform::dos {

// Opens a host file for reading when it is a regular file after following
// links; never blocks. The descriptor (close-on-exec), or -1 with errno set:
// EISDIR for a folder, ENODEV for a FIFO, socket or device.
int OpenRegularFile(const char *hostPath);

// The matcher notes each regular file (not a link) it reports: its folder,
// and its path as the pattern names it and as a host path. Opening it right
// after by either path is then one look-up in the folder instead of three of
// the whole path. Forgotten at the next entry and when the folder is closed.
void NoteMatchedFile(int dirFd, const std::string &prefix, const std::string &hostPrefix,
                     const char *name);
void ForgetMatchedFile(int dirFd);
// When `name` is the file the matcher has just reported, opens it as
// OpenRegularFile does: true, with the descriptor or -1 (errno set) in *fd.
bool OpenMatchedFile(const char *name, int *fd);

// A reader over fd of the content of a gzip file or of the first regular
// member of a zip file; null when fd holds neither, readably. It takes no
// ownership of fd.
struct Unpacker;
Unpacker *OpenUnpacker(int fd);
// Up to size bytes of that content, unpacking no more than one block of the
// file at a time: the count (which may be short), 0 at its end, -1 on an error.
long ReadUnpacker(Unpacker *unpacker, void *buffer, size_t size);
void CloseUnpacker(Unpacker *unpacker);

// The DOS error code for a host errno value.
long ErrorFromErrno(int error, bool writing);

} // namespace platform::dos
