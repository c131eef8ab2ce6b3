#include "rommaker.h"
#include "utils.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace rommaker {

namespace {

constexpr std::size_t kMixedBytes = 100; // the bytes the fingerprint mixes
// Filler that makes a stand-in obvious to anyone who looks inside.
constexpr std::string_view kFiller = "KARVOLIN STAND-IN ROM, NOT A GAME. ";

} // namespace

std::optional<std::vector<uint8_t>> MakeRom(uint32_t fingerprint, std::size_t length) {
    if (length < kMinimumLength)
        return std::nullopt;
    std::vector<uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<uint8_t>(kFiller[i % kFiller.size()]);
    const std::size_t mixed = std::min(length, kMixedBytes);
    for (std::size_t lane = 0; lane < 4; ++lane)
        bytes[mixed - 1 - 8 * lane] = 0;
    const uint32_t missing = GetBufferFingerPrint(bytes.data(), ULONG(mixed)) ^ fingerprint;
    for (std::size_t lane = 0; lane < 4; ++lane)
        bytes[mixed - 1 - 8 * lane] = static_cast<uint8_t>(missing >> (8 * lane));
    return bytes;
}

bool WriteRom(const std::string &path, uint32_t fingerprint, std::size_t length) {
    const auto bytes = MakeRom(fingerprint, length);
    if (!bytes)
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes->data()), std::streamsize(bytes->size()));
    return static_cast<bool>(out.flush());
}

std::optional<uint32_t> RowFingerprint(int row) {
    if (row < 0 || row >= NUM_GAMES)
        return std::nullopt;
    return static_cast<uint32_t>(std::strtoul(GameList[row].Fingerprint, nullptr, 16));
}

} // namespace rommaker
