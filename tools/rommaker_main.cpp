// rommaker: writes a stand-in ROM file with a chosen fingerprint.
//   rommaker [--length N] (--fingerprint HEX | --row N) FILE
#include "rommaker.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: rommaker [--length N] (--fingerprint HEX | --row N) FILE\n"
                         "  N defaults to 16384 bytes and must be at least 25\n");
    return 2;
}

// A whole-text number in the given base, or nullopt.
std::optional<unsigned long> Number(const char *text, int base) {
    char *end = nullptr;
    const unsigned long value = std::strtoul(text, &end, base);
    if (!*text || *end || *text == '-')
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char **argv) {
    std::optional<unsigned long> length = 16384, fingerprint, row;
    const char *path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--length" && hasValue)
            length = Number(argv[++i], 10);
        else if (option == "--fingerprint" && hasValue)
            fingerprint = Number(argv[++i], 16);
        else if (option == "--row" && hasValue)
            row = Number(argv[++i], 10);
        else if (!path && option.rfind("--", 0) != 0)
            path = argv[i];
        else
            return Usage();
    }
    if (!path || !length || (fingerprint.has_value() == row.has_value()) ||
        (fingerprint && *fingerprint > 0xFFFFFFFFUL))
        return Usage();
    if (row) {
        const auto value = rommaker::RowFingerprint(static_cast<int>(*row));
        if (!value) {
            std::fprintf(stderr, "rommaker: no table row %lu\n", *row);
            return 1;
        }
        fingerprint = *value;
    }
    if (!rommaker::WriteRom(path, static_cast<uint32_t>(*fingerprint), *length)) {
        std::fprintf(stderr, "rommaker: cannot write %s\n", path);
        return 1;
    }
    return 0;
}
