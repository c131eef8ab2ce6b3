// Device prefixes: PROGDIR:, ENVARC: and the folders assigned with AssignPath.
//
// PROGDIR: is the folder of the running executable: a drawer that holds the
// program and its files. An executable installed in a folder named bin
// (/usr/bin, ~/.local/bin) shares that folder with others, so its drawer is
// the user's own, $XDG_DATA_HOME/<program name>; files the system installs
// for the program (under <dir>/<program name>/ of $XDG_DATA_DIRS) serve for
// reading wherever the user's drawer has no file of that name.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// Folders assigned by the process, by upper-case device name, and the
// program's name.
struct Assignments {
    std::mutex lock;
    std::map<std::string, std::string> folders;
    std::string programName;
    std::string drawerMade; // the user's drawer made by this process
};

Assignments &Assigned() {
    static Assignments assignments;
    return assignments;
}

const fs::path &Executable() {
    static const fs::path exe = [] {
        std::error_code error;
        fs::path path = fs::read_symlink("/proc/self/exe", error);
        return error ? fs::path() : path;
    }();
    return exe;
}

std::string HomeFolder() {
    const char *home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd *entry = ::getpwuid(::getuid());
        home = entry ? entry->pw_dir : nullptr;
    }
    return home && home[0] == '/' ? home : "";
}

// A base directory variable's value when it is an absolute path, else the
// default under the home folder.
std::string BaseFolder(const char *variable, const char *underHome) {
    const char *value = std::getenv(variable);
    if (value && value[0] == '/')
        return value;
    const std::string home = HomeFolder();
    return home.empty() ? home : home + underHome;
}

// The absolute folders of $XDG_DATA_DIRS, or the default ones when it is
// unset or empty.
std::vector<std::string> SystemDataFolders() {
    const char *value = std::getenv("XDG_DATA_DIRS");
    std::string list = value && *value ? value : "/usr/local/share:/usr/share";
    std::vector<std::string> folders;
    for (size_t start = 0; start <= list.size();) {
        size_t end = std::min(list.find(':', start), list.size());
        if (list[start] == '/')
            folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

bool Exists(const std::string &path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// Where PROGDIR: is, and for the user's drawer of an installed program the
// program's name, under which the system keeps its files.
struct Drawer {
    std::string folder;
    std::string name; // the user's drawer's name; empty for a drawer of its own
};

// Makes the user's drawer, with the folders that the system's copies hold,
// once per process; a failure shows when a file is opened.
void MakeDrawer(const Drawer &drawer) {
    Assignments &assigned = Assigned();
    std::lock_guard guard(assigned.lock);
    if (assigned.drawerMade == drawer.folder)
        return;
    assigned.drawerMade = drawer.folder;
    std::error_code error;
    fs::create_directories(drawer.folder, error);
    for (const std::string &system : SystemDataFolders())
        for (fs::directory_iterator entry(fs::path(system) / drawer.name, error);
             !error && entry != fs::directory_iterator(); entry.increment(error))
            if (entry->is_directory(error))
                fs::create_directory(drawer.folder / entry->path().filename(), error);
}

Drawer ProgramDrawer() {
    const fs::path &exe = Executable();
    if (exe.parent_path().filename() != "bin")
        return {exe.parent_path().string(), {}};
    std::string name;
    {
        Assignments &assigned = Assigned();
        std::lock_guard guard(assigned.lock);
        name = assigned.programName.empty() ? exe.filename().string() : assigned.programName;
    }
    const std::string data = BaseFolder("XDG_DATA_HOME", "/.local/share");
    if (data.empty())
        return {};
    Drawer drawer{data + "/" + name, name};
    MakeDrawer(drawer);
    return drawer;
}

Drawer DeviceFolder(const std::string &device) {
    {
        Assignments &assigned = Assigned();
        std::lock_guard guard(assigned.lock);
        if (auto it = assigned.folders.find(device); it != assigned.folders.end())
            return {it->second, {}};
    }
    if (device == "PROGDIR")
        return ProgramDrawer();
    if (device == "ENVARC")
        return {BaseFolder("XDG_CONFIG_HOME", "/.config"), {}};
    return {};
}

// A file of the user's drawer that is not there, from the first system
// folder that has it; else the user's.
std::string SystemCopy(const Drawer &drawer, std::string_view rest) {
    std::string own = drawer.folder + "/";
    own.append(rest);
    if (Exists(own))
        return own;
    for (const std::string &system : SystemDataFolders()) {
        std::string copy = system + "/" + drawer.name + "/";
        copy.append(rest);
        if (Exists(copy))
            return copy;
    }
    return own;
}

} // namespace

namespace platform::dos {

bool HasDevice(std::string_view amigaPath) {
    const auto colon = amigaPath.find(':');
    return colon != std::string_view::npos && amigaPath.find('/') > colon;
}

std::string HostPath(const char *amigaPath, Use use, long *error) {
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
    const std::string_view rest = name.substr(colon + 1);
    Drawer drawer = DeviceFolder(device);
    if (drawer.folder.empty())
        return fail(ERROR_DEVICE_NOT_MOUNTED);
    if (use == Use::Write && device == "ENVARC") {
        std::error_code ignored; // a failure shows when the file is opened
        fs::create_directories(drawer.folder, ignored);
    }
    if (rest.empty())
        return drawer.folder;
    if (use == Use::Read && !drawer.name.empty())
        return SystemCopy(drawer, rest);
    if (drawer.folder.back() != '/')
        drawer.folder += '/';
    return drawer.folder.append(rest);
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

BOOL SetProgramName(CONST_STRPTR name) {
    if (!name || !*name || std::string_view(name).find('/') != std::string_view::npos)
        return FALSE;
    Assignments &assigned = Assigned();
    std::lock_guard guard(assigned.lock);
    assigned.programName = name;
    return TRUE;
}
