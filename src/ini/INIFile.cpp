// The in-memory settings store: lookups, setters, typed accessors, deletion.
#include "INIFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

struct INIFile myINI;

// Copies at most field size - 1 bytes of text into a fixed field and zeroes
// every byte behind it, so no trace of an older, longer text remains.
static void CopyField(char *field, size_t fieldSize, CONST_STRPTR text) {
    size_t length = strnlen(text, fieldSize - 1);
    memcpy(field, text, length);
    memset(field + length, 0, fieldSize - length);
}

// Makes room for one more record: 4 records first, then twice the capacity.
// The records in use are copied to the new array and the old one is freed.
// False when the array cannot grow; it is then left as it was.
template <typename Record> static bool GrowArray(Record *&array, LONG &capacity, LONG used) {
    if (used < capacity)
        return true;
    LONG grown = 4;
    if (array != nullptr) {
        if (capacity > INT32_MAX / 2)
            return false;
        grown = capacity * 2;
    }
    if (static_cast<size_t>(grown) > SIZE_MAX / sizeof(Record))
        return false;
    auto *fresh = static_cast<Record *>(malloc(static_cast<size_t>(grown) * sizeof(Record)));
    if (fresh == nullptr)
        return false;
    if (array != nullptr) {
        memcpy(fresh, array, static_cast<size_t>(used) * sizeof(Record));
        free(array);
    }
    array = fresh;
    capacity = grown;
    return true;
}

static struct INISection *FindSection(struct INIFile *ini, CONST_STRPTR name) {
    if (ini == nullptr || name == nullptr || ini->Sections == nullptr)
        return nullptr;
    for (LONG i = 0; i < ini->NumSections; i++)
        if (strcmp(ini->Sections[i].Name, name) == 0)
            return &ini->Sections[i];
    return nullptr;
}

static struct INIVar *FindVar(struct INISection *section, CONST_STRPTR name) {
    if (section == nullptr || name == nullptr || section->Vars == nullptr)
        return nullptr;
    for (LONG i = 0; i < section->NumVars; i++)
        if (strcmp(section->Vars[i].Name, name) == 0)
            return &section->Vars[i];
    return nullptr;
}

static struct INISection *AppendSection(struct INIFile *ini, CONST_STRPTR name) {
    if (!GrowArray(ini->Sections, ini->MaxSections, ini->NumSections))
        return nullptr;
    struct INISection *section = &ini->Sections[ini->NumSections++];
    CopyField(section->Name, sizeof section->Name, name);
    section->Vars = nullptr;
    section->MaxVars = 0;
    section->NumVars = 0;
    return section;
}

static struct INIVar *AppendVar(struct INISection *section, CONST_STRPTR name) {
    if (!GrowArray(section->Vars, section->MaxVars, section->NumVars))
        return nullptr;
    struct INIVar *var = &section->Vars[section->NumVars++];
    CopyField(var->Name, sizeof var->Name, name);
    var->Value[0] = '\0';
    return var;
}

void InitINI(struct INIFile *ini) {
    ini->Sections = nullptr;
    ini->MaxSections = 0;
    ini->NumSections = 0;
}

int INIHasVar(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var) {
    struct INISection *found = FindSection(ini, section);
    if (found == nullptr)
        return 0;
    return var == nullptr || FindVar(found, var) != nullptr ? 1 : 0;
}

void INISetString(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, CONST_STRPTR value) {
    if (ini == nullptr || section == nullptr || var == nullptr || value == nullptr)
        return;
    struct INISection *sec = FindSection(ini, section);
    if (sec == nullptr && (sec = AppendSection(ini, section)) == nullptr)
        return;
    struct INIVar *record = FindVar(sec, var);
    if (record == nullptr && (record = AppendVar(sec, var)) == nullptr)
        return;
    CopyField(record->Value, sizeof record->Value, value);
}

STRPTR INIGetString(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, STRPTR buffer,
                    ULONG size) {
    struct INIVar *record = FindVar(FindSection(ini, section), var);
    if (record == nullptr || buffer == nullptr || size == 0)
        return nullptr;
    CopyField(buffer, size, record->Value);
    return buffer;
}

void INISetInteger(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, LONG value) {
    char text[16];
    snprintf(text, sizeof text, "%u", static_cast<unsigned>(static_cast<ULONG>(value)));
    INISetString(ini, section, var, text);
}

void INISetFloat(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, double value) {
    char text[INI_VALUE_SIZE];
    int length = snprintf(text, sizeof text, "%lf", value);
    if (length < 0 || static_cast<size_t>(length) >= sizeof text)
        return; // the whole text would not fit: keep the old value
    INISetString(ini, section, var, text);
}

// atol's reading (white space, optional sign, decimal digits) done in unsigned
// 32-bit arithmetic, so any number of digits wraps instead of overflowing.
static LONG ParseInteger(CONST_STRPTR text) {
    const auto *p = reinterpret_cast<const unsigned char *>(text);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        p++;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        p++;
    ULONG magnitude = 0;
    for (; *p >= '0' && *p <= '9'; p++)
        magnitude = magnitude * 10u + static_cast<ULONG>(*p - '0');
    return static_cast<LONG>(negative ? 0u - magnitude : magnitude);
}

LONG INIGetInteger(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, LONG def) {
    char text[INI_VALUE_SIZE];
    if (INIGetString(ini, section, var, text, sizeof text) == nullptr)
        return def;
    return ParseInteger(text);
}

double INIGetFloat(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, double def) {
    char text[INI_VALUE_SIZE];
    if (INIGetString(ini, section, var, text, sizeof text) == nullptr)
        return def;
    return strtod(text, nullptr);
}

int INIDeleteVar(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var) {
    struct INISection *sec = FindSection(ini, section);
    if (sec == nullptr)
        return 0;
    if (var == nullptr) {
        free(sec->Vars);
        struct INISection *end = ini->Sections + ini->NumSections;
        memmove(sec, sec + 1, static_cast<size_t>(end - (sec + 1)) * sizeof *sec);
        ini->NumSections--;
        return 1;
    }
    struct INIVar *record = FindVar(sec, var);
    if (record == nullptr)
        return 0;
    struct INIVar *end = sec->Vars + sec->NumVars;
    memmove(record, record + 1, static_cast<size_t>(end - (record + 1)) * sizeof *record);
    sec->NumVars--;
    return 1;
}

void TrashINI(struct INIFile *ini) {
    if (ini->Sections != nullptr) {
        for (LONG i = 0; i < ini->NumSections; i++)
            free(ini->Sections[i].Vars);
        free(ini->Sections);
    }
    InitINI(ini);
}
