// The settings store's text file: reading "[section]" and "name = value"
// lines, and writing them back through a temporary file.
#include "INIFile.h"
#include "INIIndex.h"

#include <proto/dos.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#define INI_LINE_SIZE 256  // fgets reads a line in pieces of at most 255 bytes
#define INI_PATH_SIZE 1024 // the file's name once links are followed

// Every control code and the space count as blanks; 0x7F and above do not.
static bool IsBlank(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte >= 0x01 && byte <= 0x20;
}

static std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

static std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Copies a piece of a line (never longer than the line buffer) as a
// zero-terminated string.
static void CopyText(char (&target)[INI_LINE_SIZE], std::string_view text) {
    size_t length = text.copy(target, sizeof target - 1);
    target[length] = '\0';
}

// A header line makes the name between "[" and "]" (or the end of the text),
// without its surrounding blanks, the current section; an empty name makes
// the following variable lines be ignored.
static void ReadHeader(std::string_view afterBracket, char (&section)[INI_LINE_SIZE]) {
    std::string_view name = TrimLeft(afterBracket);
    name = TrimRight(name.substr(0, name.find(']')));
    CopyText(section, name);
}

// Handles one line (or one 255-byte piece of a longer one). Returns 1 when a
// name/value pair was handed to the store, else 0.
static LONG ReadLine(INIIndex &ini, char (&section)[INI_LINE_SIZE], const char *line) {
    std::string_view text = TrimLeft(line);
    if (!text.empty() && text.front() == '[') {
        ReadHeader(text.substr(1), section);
        return 0;
    }
    if (section[0] == '\0' || text.empty() || text.front() == '=')
        return 0;
    size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return 0;
    char name[INI_LINE_SIZE], value[INI_LINE_SIZE];
    CopyText(name, TrimRight(text.substr(0, equals)));
    CopyText(value, TrimRight(TrimLeft(text.substr(equals + 1))));
    ini.SetString(section, name, value);
    return 1;
}

LONG LoadINI(struct INIFile *ini, CONST_STRPTR filename) {
    FILE *file = fopen(filename, "rb");
    if (file == nullptr)
        return 0;
    char section[INI_LINE_SIZE] = "";
    char line[INI_LINE_SIZE];
    LONG count = 0;
    INIIndex index(ini); // a long file must not cost a scan per line
    while (fgets(line, sizeof line, file) != nullptr)
        count += ReadLine(index, section, line);
    fclose(file);
    return count;
}

// A name for the temporary file that differs between calls and processes:
// the clock, a stack address (randomised per process) and a call counter.
static std::string TemporaryName(CONST_STRPTR filename) {
    static uint64_t calls = 0;
    uint64_t mix =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    mix ^= static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&mix)) << 16;
    mix ^= ++calls * 0x9E3779B97F4A7C15ull;
    mix ^= mix >> 33;
    mix *= 0xFF51AFD7ED558CCDull;
    mix ^= mix >> 33;
    char suffix[32];
    snprintf(suffix, sizeof suffix, ".%08X.tmp", static_cast<unsigned>(mix & 0xFFFFFFFFu));
    return std::string(filename) + suffix;
}

// Creates a new temporary file beside the target. Exclusive creation ("x")
// never follows or reuses an existing name; a clash just tries another name.
static FILE *CreateTemporary(CONST_STRPTR filename, std::string &name) {
    for (int attempt = 0; attempt < 8; attempt++) {
        name = TemporaryName(filename);
        errno = 0;
        FILE *file = fopen(name.c_str(), "wbx");
        if (file != nullptr || errno != EEXIST)
            return file;
    }
    return nullptr;
}

// Writes every section header and variable line. Returns the number of
// variable lines, or -1 when a write failed.
static LONG WriteSections(struct INIFile *ini, FILE *file) {
    LONG count = 0;
    for (LONG s = 0; s < ini->NumSections; s++) {
        const struct INISection &section = ini->Sections[s];
        if (fprintf(file, "[%s]\n", section.Name) < 0)
            return -1;
        for (LONG v = 0; section.Vars != nullptr && v < section.NumVars; v++) {
            if (fprintf(file, "%s = %s\n", section.Vars[v].Name, section.Vars[v].Value) < 0)
                return -1;
            count++;
        }
    }
    return ferror(file) ? -1 : count;
}

LONG SaveINI(struct INIFile *ini, CONST_STRPTR filename) {
    if (ini == nullptr || filename == nullptr || ini->Sections == nullptr)
        return 0;
    // A file that is a link (kept with the user's other settings, say) is
    // replaced where the link leads, so the link stays a link.
    char target[INI_PATH_SIZE];
    if (!FollowLinks(filename, target, sizeof target))
        return 0;
    std::string temporary;
    FILE *file = CreateTemporary(target, temporary);
    if (file == nullptr)
        return 0;
    LONG count = WriteSections(ini, file);
    bool closed = fclose(file) == 0;
    if (count < 0 || !closed || rename(temporary.c_str(), target) != 0) {
        remove(temporary.c_str());
        return 0;
    }
    return count;
}
