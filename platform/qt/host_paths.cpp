#include "host_paths.h"

#include "dos/host_dos.h"

namespace platform::qt {

std::string HostPath(const char *amigaPath) {
    return amigaPath ? platform::dos::HostPath(amigaPath, false) : std::string();
}

std::string GeometryFile() {
    return HostPath("ENVARC:mui/windows.geometry");
}

} // namespace platform::qt
