#pragma once
// The settings file's round trip, for the fuzz target and its corpus test: a
// store the format can carry, saved and loaded again, is the same.
#include <INIFile.h>

#include <string>
#include <string_view>

// Why the store cannot come back unchanged from its own file, or null.
const char *RoundTripExemption(const INIFile &ini);

struct RoundTripResult {
    bool checked = false; // false when the loaded store was exempt
    std::string failure;  // empty when the round trip kept everything
};

// Uses three files in the existing folder dir.
RoundTripResult CheckIniRoundTrip(std::string_view input, const std::string &dir);
