// LockUpdate, UnLockUpdate: an advisory lock between processes that read,
// change and replace the same file. The file itself cannot carry the lock,
// since a save puts a new file in its place; the folder it lives in (links
// followed) does, and stays the same for every process.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

struct UpdateLock {
    int fd;
};

namespace {

// A process stopped while it holds the lock must not hold up the others for
// good: after this long a save goes ahead without the lock.
constexpr auto kPatience = std::chrono::seconds(5);

} // namespace

APTR LockUpdate(CONST_STRPTR name) {
    long error = 0;
    const std::string host = platform::dos::HostPath(name, platform::dos::Use::Write, &error);
    int hostError = 0;
    const std::string target = host.empty() ? host : platform::dos::FinalTarget(host, &hostError);
    if (target.empty()) {
        SetIoErr(error ? error : platform::dos::ErrorFromErrno(hostError, true));
        return nullptr;
    }
    const std::string folder = std::filesystem::path(target).parent_path().string();
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        SetIoErr(platform::dos::ErrorFromErrno(errno, true));
        return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() > deadline) {
            SetIoErr(errno == EWOULDBLOCK ? ERROR_OBJECT_IN_USE
                                          : platform::dos::ErrorFromErrno(errno, true));
            ::close(fd);
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return new UpdateLock{fd};
}

void UnLockUpdate(APTR lock) {
    auto *held = static_cast<UpdateLock *>(lock);
    if (!held)
        return;
    ::close(held->fd); // ends the lock
    delete held;
}
