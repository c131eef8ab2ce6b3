#include "ini_roundtrip.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) - 1u < 0x20u;
}

bool BlankAtEnds(const char *text) {
    size_t length = strlen(text);
    return length > 0 && (IsBlank(text[0]) || IsBlank(text[length - 1]));
}

const char *SectionExemption(const INIFile &ini, LONG s) {
    const INISection &section = ini.Sections[s];
    if (section.NumVars <= 0)
        return "section without variables";
    if (section.Name[0] == '\0' || BlankAtEnds(section.Name))
        return "empty section name or blanks at its ends";
    if (strpbrk(section.Name, "]\n") != nullptr)
        return "section name holding ] or a line feed";
    for (LONG t = 0; t < s; t++)
        if (strcmp(ini.Sections[t].Name, section.Name) == 0)
            return "section name twice (cut)";
    return nullptr;
}

const char *VarExemption(const INISection &section, LONG v) {
    const INIVar &var = section.Vars[v];
    if (var.Name[0] == '\0' || var.Name[0] == '[' || strpbrk(var.Name, "=\n") != nullptr)
        return "variable name empty, starting with [, or holding = or a line feed";
    if (BlankAtEnds(var.Name) || BlankAtEnds(var.Value) || strchr(var.Value, '\n') != nullptr)
        return "blanks at the ends or a line feed";
    if (strlen(var.Name) + strlen(var.Value) > 252)
        return "line over 255 bytes";
    for (LONG w = 0; w < v; w++)
        if (strcmp(section.Vars[w].Name, var.Name) == 0)
            return "variable name twice (cut)";
    return nullptr;
}

// Owns a store for the length of one check.
struct Store {
    INIFile ini;
    Store() { InitINI(&ini); }
    ~Store() { TrashINI(&ini); }
};

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every section name, variable name and value of a store, in order.
std::string Contents(const INIFile &ini) {
    std::string text;
    for (LONG s = 0; s < ini.NumSections; s++) {
        text += std::string("[") + ini.Sections[s].Name + '\0';
        for (LONG v = 0; v < ini.Sections[s].NumVars; v++)
            text += std::string(ini.Sections[s].Vars[v].Name) + '\0' +
                    ini.Sections[s].Vars[v].Value + '\0';
    }
    return text;
}

LONG CountVars(const INIFile &ini) {
    LONG count = 0;
    for (LONG s = 0; s < ini.NumSections; s++)
        count += ini.Sections[s].NumVars;
    return count;
}

// Saves the store, loads the file into a fresh store, saves that again.
std::string SaveAndReload(INIFile &loaded, const std::string &saved, const std::string &again) {
    LONG written = SaveINI(&loaded, saved.c_str());
    if (written != CountVars(loaded))
        return "SaveINI returned " + std::to_string(written);
    Store reloaded;
    LONG read = LoadINI(&reloaded.ini, saved.c_str());
    if (read != written)
        return "LoadINI returned " + std::to_string(read) + " after saving " +
               std::to_string(written);
    if (Contents(loaded) != Contents(reloaded.ini))
        return "the reloaded store differs";
    SaveINI(&reloaded.ini, again.c_str());
    return ReadFile(saved) == ReadFile(again) ? std::string() : "second save differs";
}

} // namespace

const char *RoundTripExemption(const INIFile &ini) {
    for (LONG s = 0; s < ini.NumSections; s++) {
        if (const char *why = SectionExemption(ini, s))
            return why;
        for (LONG v = 0; v < ini.Sections[s].NumVars; v++)
            if (const char *why = VarExemption(ini.Sections[s], v))
                return why;
    }
    return nullptr;
}

RoundTripResult CheckIniRoundTrip(std::string_view input, const std::string &dir) {
    const std::string source = dir + "/input.ini", saved = dir + "/saved.ini",
                      again = dir + "/again.ini";
    std::ofstream(source, std::ios::binary | std::ios::trunc).write(input.data(), input.size());
    std::remove(saved.c_str());
    std::remove(again.c_str());
    Store loaded;
    LoadINI(&loaded.ini, source.c_str());
    RoundTripResult result;
    if (RoundTripExemption(loaded.ini) == nullptr) {
        result.checked = true;
        result.failure = SaveAndReload(loaded.ini, saved, again);
    }
    return result;
}
