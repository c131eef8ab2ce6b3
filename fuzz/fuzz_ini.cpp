// libFuzzer target: loads arbitrary bytes as a settings file and, when the
// store holds nothing the text format cannot carry, checks that saving and
// loading again gives the same store.
#include "ini_roundtrip.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string g_dir;

void RemoveDir() {
    std::filesystem::remove_all(g_dir);
}

const std::string &WorkDir() {
    if (g_dir.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-ini-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            abort();
        g_dir = pattern;
        atexit(RemoveDir);
    }
    return g_dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    RoundTripResult result =
        CheckIniRoundTrip({reinterpret_cast<const char *>(data), size}, WorkDir());
    if (!result.failure.empty()) {
        fprintf(stderr, "round trip failed: %s\n", result.failure.c_str());
        abort();
    }
    return 0;
}
