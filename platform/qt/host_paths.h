#pragma once
// Amiga names for the view's files: the picture class's names and the file
// of remembered window placements. Empty when a name cannot be resolved.
#include <string>

namespace platform::qt {

std::string HostPath(const char *amigaPath);
// The file that remembers window placements, under ENVARC:.
std::string GeometryFile();

} // namespace platform::qt
