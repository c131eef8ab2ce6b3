#pragma once
// Platform-internal: how Amiga names become host paths. Used by every
// platform call that hands a name to the host (DOS, the runtime's stream
// calls, pictures, commands); never included by the program.
#include <string>
#include <string_view>

namespace platform::dos {

// What a name is resolved for. A file to Read that the user's drawer of an
// installed program lacks is the system's copy, when there is one; a Write
// into ENVARC: creates the folder (with its parents) when missing; a Name is
// where the name is, for listing, renaming or following links.
enum class Use { Name, Read, Write };

// The host path for an Amiga name. "DEVICE:rest" becomes the device's folder
// joined with rest; a name without a device comes back unchanged. An empty
// result means the name cannot be resolved (unknown device, no home folder);
// the DOS error code is then in *error when error is given.
std::string HostPath(const char *amigaPath, Use use, long *error = nullptr);

// True when the name starts with a device ("NAME:..."): a ':' in its first
// component.
bool HasDevice(std::string_view amigaPath);

} // namespace platform::dos

namespace platform::dos {

// Opens a host file for reading when it is a regular file after following
// links; never blocks. The descriptor (close-on-exec), or -1 with errno set:
// EISDIR for a folder, ENODEV for a FIFO, socket or device.
int OpenRegularFile(const char *hostPath);

// Where a chain of symbolic links ends (the path itself when it is no link);
// the end need not exist. Empty, with the host error in *error, when the
// chain cannot be read or does not end.
std::string FinalTarget(const std::string &path, int *error = nullptr);

// Whether a save may replace the file at hostPath: it (or the end of its
// links) is a regular file the user may write, or does not exist yet in a
// folder the user may write. A file or folder without any write permission
// bit counts as read-only even for root. On success *target is the file to
// replace; otherwise *why says why for the user, and errno is set.
bool CheckReplaceable(const std::string &hostPath, std::string *target, std::string *why);

// Replaces the file at hostPath (checked as above) with contents: written to
// a new temporary file beside it, flushed to disk, given the old file's
// permission bits and renamed over it. On failure the old file is as it was,
// no temporary file is left, *why says why and errno is set.
bool ReplaceFile(const std::string &hostPath, std::string_view contents, std::string *why);

// A system error as the end of a message: "no space left on device".
std::string ErrorText(int error);

// The one line a failed save prints on standard error: the file and why.
void ReportSaveFailure(const std::string &hostPath, const std::string &why);

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
