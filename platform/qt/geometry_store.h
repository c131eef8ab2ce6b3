#pragma once
// Remembered window placements: one entry per application base name and
// window id, kept in a small text file, one entry a line:
//   <window id, 8 hex digits> <x> <y> <width> <height> <base name>
#include <exec/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace platform::qt {

struct WindowGeometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowGeometry &) const = default;
};

class GeometryStore {
  public:
    explicit GeometryStore(std::filesystem::path file) : file_(std::move(file)) {}

    // The entry for base and id; none when the file, the entry or a sane size
    // is missing.
    std::optional<WindowGeometry> Load(const std::string &base, ULONG id) const;
    // Replaces (or adds) the entry, keeping the others, when it differs from
    // the one in the file; the file is replaced as a whole (ReplaceFile) under
    // the update lock. Returns false, having said why on standard error, when
    // it cannot be written.
    bool Save(const std::string &base, ULONG id, const WindowGeometry &geometry) const;

  private:
    std::filesystem::path file_;
};

// The toolkit's file of remembered placements, under ENVARC:.
std::filesystem::path GeometryFile();

} // namespace platform::qt
