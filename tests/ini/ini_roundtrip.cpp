#include "ini_roundtrip.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// The reader trims blanks and other control characters at both ends.
bool BlankAtEnds(const char *text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) - 1u < 0x20u; };
    const size_t length = strlen(text);
    return length > 0 && (blank(text[0]) || blank(text[length - 1]));
}

// Whether one of the first `count` records bears `name`.
template <typename Record> bool NamedBefore(const Record *records, LONG count, const char *name) {
    for (LONG i = 0; i < count; i++)
        if (strcmp(records[i].Name, name) == 0)
            return true;
    return false;
}

// Owns a store for the length of one check.
struct Store {
    INIFile ini;
    Store() { InitINI(&ini); }
    ~Store() { TrashINI(&ini); }
};

std::string ReadFile(const std::string &path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Every name and value of a store in order; the number of variables in *count.
std::string Contents(const INIFile &ini, LONG *count = nullptr) {
    std::string text;
    for (LONG s = 0; s < ini.NumSections; s++) {
        const INISection &section = ini.Sections[s];
        text += std::string("[") + section.Name + '\0';
        for (LONG v = 0; v < section.NumVars; v++)
            text += std::string(section.Vars[v].Name) + '\0' + section.Vars[v].Value + '\0';
        if (count)
            *count += section.NumVars;
    }
    return text;
}

} // namespace

const char *RoundTripExemption(const INIFile &ini) {
    for (LONG s = 0; s < ini.NumSections; s++) {
        const INISection &section = ini.Sections[s];
        if (section.NumVars <= 0)
            return "section without variables";
        if (section.Name[0] == '\0' || BlankAtEnds(section.Name) || strpbrk(section.Name, "]\n"))
            return "section name empty, with blanks at its ends, or holding ] or a line feed";
        if (NamedBefore(ini.Sections, s, section.Name))
            return "section name twice (cut)";
        for (LONG v = 0; v < section.NumVars; v++) {
            const INIVar &var = section.Vars[v];
            if (var.Name[0] == '\0' || var.Name[0] == '[' || strpbrk(var.Name, "=\n"))
                return "variable name empty, starting with [, or holding = or a line feed";
            if (BlankAtEnds(var.Name) || BlankAtEnds(var.Value) || strchr(var.Value, '\n'))
                return "blanks at the ends or a line feed";
            if (strlen(var.Name) + strlen(var.Value) > 252)
                return "line over 255 bytes";
            if (NamedBefore(section.Vars, v, var.Name))
                return "variable name twice (cut)";
        }
    }
    return nullptr;
}

RoundTripResult CheckIniRoundTrip(std::string_view input, const std::string &dir) {
    const std::string source = dir + "/input.ini", saved = dir + "/saved.ini",
                      again = dir + "/again.ini";
    std::ofstream(source, std::ios::binary | std::ios::trunc).write(input.data(), input.size());
    std::remove(saved.c_str());
    std::remove(again.c_str());
    Store loaded, reloaded;
    LoadINI(&loaded.ini, source.c_str());
    if (RoundTripExemption(loaded.ini))
        return {};
    // Save, load the file into a fresh store, save that again.
    LONG count = 0;
    const LONG written = SaveINI(&loaded.ini, saved.c_str());
    const std::string contents = Contents(loaded.ini, &count);
    if (written != count)
        return {true, "SaveINI returned " + std::to_string(written)};
    if (const LONG read = LoadINI(&reloaded.ini, saved.c_str()); read != written)
        return {true, "LoadINI returned " + std::to_string(read) + " after saving " +
                          std::to_string(written)};
    if (Contents(reloaded.ini) != contents)
        return {true, "the reloaded store differs"};
    SaveINI(&reloaded.ini, again.c_str());
    return {true, ReadFile(saved) == ReadFile(again) ? "" : "second save differs"};
}
