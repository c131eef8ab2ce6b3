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

bool RefuseUnlessRegular(const struct stat &status) {
    if (S_ISREG(status.st_mode))
        return false;
    errno = S_ISDIR(status.st_mode) ? EISDIR : ENODEV;
    return true;
}

} // namespace

int OpenRegularFile(const char *hostPath) {
    // The name is looked at first, so that nothing else is ever opened; the
    // descriptor is looked at again in case the name changed in between, and
    // O_NONBLOCK keeps a FIFO put there meanwhile from holding up the open.
    struct stat status {};
    if (!hostPath || ::stat(hostPath, &status) != 0 || RefuseUnlessRegular(status))
        return -1;
    const int fd = ::open(hostPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &status) != 0 || RefuseUnlessRegular(status)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace platform::dos
