// The in-memory settings store: lookups, setters, typed accessors, deletion.
#include "INIFile.h"
#include "INIIndex.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

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

// The position of the first record whose name equals `name`, or -1.
template <typename Record> static LONG Position(Record *records, LONG used, CONST_STRPTR name) {
    if (records == nullptr || name == nullptr)
        return -1;
    for (LONG i = 0; i < used; i++)
        if (strcmp(records[i].Name, name) == 0)
            return i;
    return -1;
}

static struct INISection *FindSection(struct INIFile *ini, CONST_STRPTR name) {
    if (ini == nullptr)
        return nullptr;
    const LONG i = Position(ini->Sections, ini->NumSections, name);
    return i < 0 ? nullptr : &ini->Sections[i];
}

static struct INIVar *FindVar(struct INISection *section, CONST_STRPTR name) {
    if (section == nullptr)
        return nullptr;
    const LONG i = Position(section->Vars, section->NumVars, name);
    return i < 0 ? nullptr : &section->Vars[i];
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

// The lookups of INISetString by scanning the records in order.
struct ScanLookup {
    LONG Section(struct INIFile *ini, CONST_STRPTR name) {
        return Position(ini->Sections, ini->NumSections, name);
    }
    LONG Var(struct INISection *section, LONG, CONST_STRPTR name) {
        return Position(section->Vars, section->NumVars, name);
    }
    void Added(const struct INISection &, LONG) {}
    void Added(const struct INIVar &, LONG, LONG) {}
};

// INISetString with its lookups given: a scan, or an index (INIIndex).
// Records are named by position, since a growing array moves them.
template <typename Lookup>
static void SetWithLookup(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var,
                          CONST_STRPTR value, Lookup &lookup) {
    if (ini == nullptr || section == nullptr || var == nullptr || value == nullptr)
        return;
    LONG s = lookup.Section(ini, section);
    if (s < 0) {
        if (AppendSection(ini, section) == nullptr)
            return;
        s = ini->NumSections - 1;
        lookup.Added(ini->Sections[s], s);
    }
    struct INISection *sec = &ini->Sections[s];
    LONG v = lookup.Var(sec, s, var);
    if (v < 0) {
        if (AppendVar(sec, var) == nullptr)
            return;
        v = sec->NumVars - 1;
        lookup.Added(sec->Vars[v], s, v);
    }
    CopyField(sec->Vars[v].Value, sizeof sec->Vars[v].Value, value);
}

void INISetString(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, CONST_STRPTR value) {
    ScanLookup scan;
    SetWithLookup(ini, section, var, value, scan);
}

INIIndex::INIIndex(struct INIFile *ini) : ini_(ini) {}

// The store's records as they are now; only the first of equal names counts,
// as for a scan.
void INIIndex::Build() {
    for (LONG s = 0; ini_ != nullptr && ini_->Sections != nullptr && s < ini_->NumSections; s++) {
        const struct INISection &section = ini_->Sections[s];
        Added(section, s);
        for (LONG v = 0; section.Vars != nullptr && v < section.NumVars; v++)
            Added(section.Vars[v], s, v);
    }
    built_ = true;
}

LONG INIIndex::Section(struct INIFile *, CONST_STRPTR name) {
    const auto found = sections_.find(name);
    return found == sections_.end() ? -1 : found->second;
}

LONG INIIndex::Var(struct INISection *, LONG section, CONST_STRPTR name) {
    const auto found = vars_[static_cast<size_t>(section)].find(name);
    return found == vars_[static_cast<size_t>(section)].end() ? -1 : found->second;
}

void INIIndex::Added(const struct INISection &section, LONG position) {
    sections_.emplace(section.Name, position);
    if (vars_.size() <= static_cast<size_t>(position))
        vars_.resize(static_cast<size_t>(position) + 1);
}

void INIIndex::Added(const struct INIVar &var, LONG section, LONG position) {
    vars_[static_cast<size_t>(section)].emplace(var.Name, position);
}

void INIIndex::SetString(CONST_STRPTR section, CONST_STRPTR var, CONST_STRPTR value) {
    if (usable_) {
        try {
            if (!built_)
                Build();
            SetWithLookup(ini_, section, var, value, *this);
            return;
        } catch (const std::bad_alloc &) {
            // The index cannot grow: drop it and go on scanning, which finds
            // the same records (a record appended just before is found too).
            usable_ = false;
            sections_ = {};
            vars_ = {};
        }
    }
    INISetString(ini_, section, var, value);
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
