#pragma once
// A search path of the test's folder and the system's folders holding no
// colem: no test runs a colem of the user's.
#include <filesystem>
#include <string>

inline std::string SearchPath(const std::string &own) {
    std::string path = own;
    for (const char *system : {"/usr/local/bin", "/usr/bin", "/bin"})
        if (!std::filesystem::exists(std::filesystem::path(system) / "colem"))
            path += std::string(":") + system;
    return path;
}
