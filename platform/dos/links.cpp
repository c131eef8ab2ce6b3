// FollowLinks: the name a file is really written at, for a program that
// replaces a file through a temporary one beside it.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinks = 40; // as the host gives up on a chain

bool IsLink(const std::string &path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

} // namespace

BOOL FollowLinks(CONST_STRPTR name, STRPTR buffer, LONG size) {
    if (!name || !buffer || size <= 0) {
        SetIoErr(ERROR_REQUIRED_ARG_MISSING);
        return FALSE;
    }
    long error = 0;
    std::string path = platform::dos::HostPath(name, platform::dos::Use::Name, &error);
    if (path.empty()) {
        SetIoErr(error ? error : ERROR_OBJECT_NOT_FOUND);
        return FALSE;
    }
    int links = 0;
    for (; IsLink(path); ++links) {
        std::error_code failed;
        const fs::path target = fs::read_symlink(path, failed);
        if (failed || links == kMaxLinks) {
            SetIoErr(failed ? ERROR_OBJECT_NOT_FOUND : ERROR_TOO_MANY_LEVELS);
            return FALSE;
        }
        path = (target.is_absolute() ? target : fs::path(path).parent_path() / target).string();
    }
    // A name that is no link stays as it was written, device and all.
    const char *result = links ? path.c_str() : name;
    const size_t length = std::strlen(result);
    if (length >= static_cast<size_t>(size)) {
        SetIoErr(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::memcpy(buffer, result, length + 1);
    return TRUE;
}
