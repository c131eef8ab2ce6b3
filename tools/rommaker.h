#pragma once
// Stand-in ROM files for tests and the demo drawer: files of a chosen length
// whose fingerprint (the catalogue's hash of the first 100 bytes) is chosen.
//
// The hash turns the value left by 5 bits and XORs in each byte, so it is
// linear in the bytes: of the first n bytes (n = min(length, 100)), the bytes
// at n-1, n-9, n-17 and n-25 land in bits 0-7, 8-15, 16-23 and 24-31 of the
// result (shifted by 0, 40, 80 and 120 bits, i.e. 0, 8, 16, 24 modulo 32).
// Fixing the other bytes and solving for those four hits any value.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rommaker {

// Shorter files cannot reach every fingerprint.
constexpr std::size_t kMinimumLength = 25;

// The bytes of a ROM with this fingerprint and length; nullopt when the
// length is below kMinimumLength.
std::optional<std::vector<uint8_t>> MakeRom(uint32_t fingerprint, std::size_t length);

// Writes such a ROM to a host path; false when the length is too short or the
// file cannot be written.
bool WriteRom(const std::string &path, uint32_t fingerprint, std::size_t length);

// The fingerprint of a row of the built-in cartridge table, or nullopt.
std::optional<uint32_t> RowFingerprint(int row);

} // namespace rommaker
