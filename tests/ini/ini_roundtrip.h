#pragma once
// Round-trip check of the settings file code, shared by the fuzz target and
// the test that replays its seed corpus: load some bytes, and when the store
// holds nothing the text format cannot carry, save it, load the saved file
// into a fresh store and compare.
#include <INIFile.h>

#include <string>
#include <string_view>

// Why the store cannot come back unchanged from its own file (a cut or
// repeated name, blanks at the ends, an over-long line, ...), or null when it
// must.
const char *RoundTripExemption(const INIFile &ini);

struct RoundTripResult {
    bool checked = false; // false when the loaded store was exempt
    std::string failure;  // empty when the round trip kept everything
};

// Uses three files in the existing folder dir.
RoundTripResult CheckIniRoundTrip(std::string_view input, const std::string &dir);
