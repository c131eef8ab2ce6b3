// Replacing a file as a careful editor saves one: the new contents go to a
// temporary file beside the target, flushed to disk, which then takes the
// target's name in one step. Only what is the user's to write is replaced: a
// regular file (through any links, keeping its permission bits) or a name
// that does not exist yet. A named pipe, a device, a socket or a folder, and
// a file or folder made read-only, are left alone.
#include "dos/host_dos.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform::dos {
namespace {

constexpr int kMaxLinks = 40; // as the host gives up on a chain

bool Fail(int error, std::string *why, std::string text = {}) {
    if (why)
        *why = text.empty() ? ErrorText(error) : std::move(text);
    errno = error;
    return false;
}

const char *KindOf(mode_t mode) {
    return S_ISDIR(mode)                    ? "a folder"
           : S_ISFIFO(mode)                 ? "a named pipe"
           : S_ISSOCK(mode)                 ? "a socket"
           : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                                            : "not a regular file";
}

// Write permission as the user means it: the system's answer, and for a user
// whom the system lets write anything (root), the permission bits as well, so
// that a file made read-only to keep it as it is stays so.
bool MayWrite(const std::string &path, const struct stat &status) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 &&
           (status.st_mode & 0222) != 0;
}

std::string TemporaryName(const fs::path &target) {
    unsigned long long random = 0;
    if (::getrandom(&random, sizeof random, GRND_NONBLOCK) != sizeof random)
        random = static_cast<unsigned long long>(::getpid()) * 0x9E3779B97F4A7C15ull ^
                 static_cast<unsigned long long>(::time(nullptr));
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp", random & 0xFFFFFFFFFFFFull);
    return (target.parent_path() / ("." + target.filename().string() + suffix)).string();
}

bool WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t n = ::write(fd, contents.data(), contents.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

std::string ErrorText(int error) {
    std::string text = std::strerror(error);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

std::string FinalTarget(const std::string &path, int *error) {
    std::string current = path;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return current;
        std::error_code failed;
        const fs::path target = fs::read_symlink(current, failed);
        if (failed || links == kMaxLinks) {
            if (error)
                *error = failed ? failed.value() : ELOOP;
            return {};
        }
        current = (target.is_absolute() ? target : fs::path(current).parent_path() / target)
                      .lexically_normal()
                      .string();
    }
}

bool CheckReplaceable(const std::string &hostPath, std::string *target, std::string *why) {
    int error = 0;
    const std::string final = FinalTarget(hostPath, &error);
    if (final.empty())
        return Fail(error, why);
    const std::string link = final == hostPath ? "" : "it leads to " + final + ", ";
    struct stat status {};
    if (::stat(final.c_str(), &status) == 0) {
        if (!S_ISREG(status.st_mode))
            return Fail(S_ISDIR(status.st_mode) ? EISDIR : ENODEV, why,
                        (link.empty() ? "it is " : link) + KindOf(status.st_mode));
        if (!MayWrite(final, status))
            return Fail(EACCES, why, link + "it is read-only");
    } else if (errno != ENOENT) {
        return Fail(errno, why);
    }
    const fs::path folder = fs::path(final).parent_path();
    const std::string folderName = folder.empty() ? "." : folder.string();
    struct stat folderStatus {};
    if (::stat(folderName.c_str(), &folderStatus) != 0)
        return Fail(errno, why, "its folder " + folderName + ": " + ErrorText(errno));
    if (!MayWrite(folderName, folderStatus))
        return Fail(errno == EROFS ? EROFS : EACCES, why,
                    "its folder " + folderName + " is read-only");
    if (target)
        *target = final;
    return true;
}

bool ReplaceFile(const std::string &hostPath, std::string_view contents, std::string *why) {
    std::string target;
    if (!CheckReplaceable(hostPath, &target, why))
        return false;
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
        temporary = TemporaryName(target);
        // A new file gets the usual permissions less the umask; a replaced one
        // its own, set before anyone could read the new contents.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    replacing ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return Fail(errno, why);
    }
    if (fd < 0)
        return Fail(EEXIST, why);
    const bool written = WriteAll(fd, contents) &&
                         (!replacing || ::fchmod(fd, old.st_mode & 07777) == 0) && ::fsync(fd) == 0;
    int error = errno;
    const bool closed = ::close(fd) == 0;
    if (written && !closed)
        error = errno;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        if (written && closed)
            error = errno;
        ::unlink(temporary.c_str());
        return Fail(error, why);
    }
    // The new name itself is on disk once the folder is.
    const std::string folder = fs::path(target).parent_path().string();
    if (const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
        dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void ReportSaveFailure(const std::string &hostPath, const std::string &why) {
    std::fprintf(stderr, "Cannot save %s: %s\n", hostPath.c_str(), why.c_str());
    std::fflush(stderr);
}

} // namespace platform::dos
