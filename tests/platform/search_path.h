#pragma once
// The search path of a program a test starts: the test's own folder, then
// the system's program folders that hold no colem, so that no test ever runs
// a colem of the user's, and one that removes its stand-in finds none.
#include <filesystem>
#include <string>

inline std::string SearchPath(const std::string &own) {
    std::string path = own;
    for (const char *system : {"/usr/local/bin", "/usr/bin", "/bin"})
        if (!std::filesystem::exists(std::filesystem::path(system) / "colem"))
            path += std::string(":") + system;
    return path;
}
