// Device prefixes: PROGDIR:, ENVARC: and the folders assigned with AssignPath.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// Folders assigned by the process, by upper-case device name.
struct Assignments {
    std::mutex lock;
    std::map<std::string, std::string> folders;
};

Assignments &Assigned() {
    static Assignments assignments;
    return assignments;
}

std::string ProgramFolder() {
    static const std::string folder = [] {
        std::error_code error;
        const fs::path exe = fs::read_symlink("/proc/self/exe", error);
        return error ? std::string() : exe.parent_path().string();
    }();
    return folder;
}

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string ConfigFolder() {
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char *home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd *entry = ::getpwuid(::getuid());
        home = entry ? entry->pw_dir : nullptr;
    }
    if (!home || home[0] != '/')
        return {};
    return std::string(home) + "/.config";
}

std::string DeviceFolder(const std::string &device) {
    {
        Assignments &assigned = Assigned();
        std::lock_guard guard(assigned.lock);
        if (auto it = assigned.folders.find(device); it != assigned.folders.end())
            return it->second;
    }
    if (device == "PROGDIR")
        return ProgramFolder();
    if (device == "ENVARC")
        return ConfigFolder();
    return {};
}

} // namespace

namespace platform::dos {

bool HasDevice(std::string_view amigaPath) {
    const auto colon = amigaPath.find(':');
    return colon != std::string_view::npos && amigaPath.find('/') > colon;
}

std::string HostPath(const char *amigaPath, bool forWriting, long *error) {
    auto fail = [error](long code) {
        if (error)
            *error = code;
        return std::string();
    };
    if (!amigaPath)
        return fail(ERROR_REQUIRED_ARG_MISSING);
    const std::string_view name(amigaPath);
    if (!HasDevice(name))
        return std::string(name);

    const auto colon = name.find(':');
    const std::string device = UpperCase(name.substr(0, colon));
    std::string folder = DeviceFolder(device);
    if (folder.empty())
        return fail(ERROR_DEVICE_NOT_MOUNTED);
    if (forWriting && device == "ENVARC") {
        std::error_code ignored; // a failure shows when the file is opened
        fs::create_directories(folder, ignored);
    }
    const std::string_view rest = name.substr(colon + 1);
    if (rest.empty())
        return folder;
    if (folder.back() != '/')
        folder += '/';
    return folder.append(rest);
}

} // namespace platform::dos

BOOL AssignPath(CONST_STRPTR name, CONST_STRPTR hostFolder) {
    if (!name)
        return FALSE;
    std::string device = UpperCase(name);
    if (!device.empty() && device.back() == ':')
        device.pop_back();
    if (device.empty() || device.find_first_of(":/") != std::string::npos)
        return FALSE;
    Assignments &assigned = Assigned();
    std::lock_guard guard(assigned.lock);
    if (hostFolder)
        assigned.folders[device] = hostFolder;
    else
        assigned.folders.erase(device);
    return TRUE;
}
