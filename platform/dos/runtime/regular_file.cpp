// Opening a file for reading only when it is a regular file. A FIFO would
// block the open or the first read, a device may act on being opened, and
// /dev/zero never ends: such names count as unreadable, at once.
#include "dos/host_dos.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::dos {
namespace {

// The entry the matcher reported last on this thread, when it was a regular
// file itself (not a link): its folder, left open by the match, and its path
// as the caller's pattern named it and as a host path.
struct MatchedFile {
    int dirFd = -1;
    std::string name, path;
    size_t nameStart = 0;
};
thread_local MatchedFile t_matched;

bool RefuseUnlessRegular(const struct stat &status) {
    if (S_ISREG(status.st_mode))
        return false;
    errno = S_ISDIR(status.st_mode) ? EISDIR : ENODEV;
    return true;
}

// Opens without blocking (O_NONBLOCK: a FIFO put there meanwhile does not hold
// up the open) and keeps the descriptor only when it is a regular file.
int OpenAndCheck(int dirFd, const char *name, int flags) {
    const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | flags);
    struct stat status {};
    if (fd < 0 || (::fstat(fd, &status) == 0 && !RefuseUnlessRegular(status)))
        return fd;
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

} // namespace

void NoteMatchedFile(int dirFd, const std::string &prefix, const std::string &hostPrefix,
                     const char *name) {
    t_matched.dirFd = dirFd;
    t_matched.name.assign(prefix).append(name);
    t_matched.path.assign(hostPrefix).append(name);
    t_matched.nameStart = hostPrefix.size();
}

void ForgetMatchedFile(int dirFd) {
    if (t_matched.dirFd == dirFd)
        t_matched.dirFd = -1;
}

bool OpenMatchedFile(const char *name, int *fd) {
    if (t_matched.dirFd < 0 || !name || (t_matched.name != name && t_matched.path != name))
        return false;
    // The file the matcher has just listed as a regular file is opened in its
    // folder without looking its name up first: O_NOFOLLOW refuses a link put
    // in its place since, and the descriptor is checked as always. Only a
    // device node made under that very name in between would be opened, which
    // takes the right to make devices, and the look-up by name leaves the same
    // gap between its stat and its open.
    *fd = OpenAndCheck(t_matched.dirFd, t_matched.path.c_str() + t_matched.nameStart, O_NOFOLLOW);
    return *fd >= 0 || errno != ELOOP; // a link there now is looked up by name
}

int OpenRegularFile(const char *hostPath) {
    if (!hostPath) {
        errno = ENOENT;
        return -1;
    }
    int fd;
    if (OpenMatchedFile(hostPath, &fd))
        return fd;
    // The name is looked at first, so that nothing else is ever opened; the
    // descriptor is looked at again in case the name changed in between.
    struct stat status {};
    if (::stat(hostPath, &status) != 0 || RefuseUnlessRegular(status))
        return -1;
    return OpenAndCheck(AT_FDCWD, hostPath, 0);
}

} // namespace platform::dos
