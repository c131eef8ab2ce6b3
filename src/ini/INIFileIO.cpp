// The settings store's text file: reading "[section]" and "name = value"
// lines, and writing them back as a whole.
#include "INIFile.h"
#include "INIIndex.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#define INI_LINE_SIZE 256 // fgets reads a line in pieces of at most 255 bytes

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

// The file's size, or -1 when it cannot be told.
static long FileSize(FILE *file) {
    if (fseek(file, 0, SEEK_END) != 0)
        return -1;
    const long size = ftell(file);
    rewind(file);
    return size;
}

BOOL INIFileKeeps(CONST_STRPTR value) {
    const std::string_view text(value);
    return text.size() < INI_VALUE_SIZE && text.find('\n') == std::string_view::npos &&
           TrimLeft(TrimRight(text)) == text;
}

LONG LoadINI(struct INIFile *ini, CONST_STRPTR filename) {
    FILE *file = fopen(filename, "rb");
    if (file == nullptr)
        return 0;
    if (FileSize(file) > INI_MAX_FILE_SIZE) {
        fclose(file);
        return -1;
    }
    char section[INI_LINE_SIZE] = "";
    char line[INI_LINE_SIZE];
    LONG count = 0;
    long read = 0;
    INIIndex index(ini); // a long file must not cost a scan per line
    while (fgets(line, sizeof line, file) != nullptr) {
        read += static_cast<long>(strlen(line));
        if (read > INI_MAX_FILE_SIZE) { // grown while being read
            count = -1;
            break;
        }
        count += ReadLine(index, section, line);
    }
    fclose(file);
    return count;
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
    // The runtime replaces the file as a whole when the stream closes, and
    // only a file that is the user's to write.
    FILE *file = fopen(filename, "wb");
    if (file == nullptr)
        return -1;
    const LONG count = WriteSections(ini, file);
    const bool closed = fclose(file) == 0;
    return count >= 0 && closed ? count : -1;
}
