#include "host_paths.h"

// TEMPORARY until DOS's resolver lands.
#include <cstdlib>
#include <string_view>

namespace platform::qt {

std::string HostPath(const char *amigaPath) {
    std::string_view path(amigaPath);
    if (path.starts_with("ENVARC:")) {
        const char *config = std::getenv("XDG_CONFIG_HOME");
        std::string base =
            config && *config ? config : std::string(std::getenv("HOME")) + "/.config";
        return base + "/" + std::string(path.substr(7));
    }
    return std::string(path);
}

std::string GeometryFile() {
    return HostPath("ENVARC:mui-windows.geometry");
}

} // namespace platform::qt
