// The ROM catalogue: one scan of "PROGDIR:roms/" into two parallel heap
// arrays, display names (ended by a null slot) and full paths, sorted by name.
// ROMs are kept as .rom, .col and .bin files, or packed alone in a .zip or .gz
// (as Game.col.gz), which the emulator opens itself.
#include "utils.h"

#include <dos/dosasl.h>
#include <proto/dos.h>
#include <proto/exec.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef KARVOLIN_DEBUGIT_START
#define KARVOLIN_DEBUGIT_START 0
#endif

WORD DebugIT = KARVOLIN_DEBUGIT_START;

STRPTR *NameArray = NULL;
STRPTR *ROMArray = NULL;
LONG NumROMS = 0;

namespace {

constexpr LONG kPathBufferSize = 1024;
constexpr ULONG kAnchorSize = sizeof(struct AnchorPath) + kPathBufferSize;
constexpr WORD kMaxROMs = 32767; // the scan counts in a signed 16-bit value
constexpr size_t kFileNameSize = 256;
constexpr size_t kNumberTextSize = 16;
CONST_STRPTR kRomPattern = "PROGDIR:roms/#?.(rom|col|bin|zip|gz)";

enum class Added { Yes, Skipped, Stop };

// Where each table row was first listed, to tell several files of one
// cartridge apart (only table titles can repeat: file names are unique in
// their folder, and no title ends in a ROM file's extension).
struct Listed {
    LONG first[NUM_GAMES];
    bool told[NUM_GAMES];
};

// Resizes a heap array of string slots; false, leaving it as it was, when
// memory is short.
bool grow_array(STRPTR **array, LONG slots) {
    void *grown = realloc(*array, sizeof(STRPTR) * static_cast<size_t>(slots));
    if (!grown)
        return false;
    *array = static_cast<STRPTR *>(grown);
    return true;
}

// An exact-length heap copy, or null.
STRPTR copy_string(CONST_STRPTR text) {
    const size_t size = strlen(text) + 1;
    auto copy = static_cast<STRPTR>(malloc(size));
    if (copy)
        memcpy(copy, text, size);
    return copy;
}

// The "%X" text of a value, without a formatter's cost: the scan writes one
// for every ROM.
void format_hex(ULONG value, STRPTR text) {
    TEXT digits[8];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value);
    while (count > 0)
        *text++ = digits[--count];
    *text = 0;
}

void trace_rom(CONST_STRPTR path, CONST_STRPTR fingerprint) {
    TEXT sum[kNumberTextSize];
    format_hex(GetFileSum(path), sum);
    Printf("  %s : %s : %s\n", sum, fingerprint, path);
}

// An alternate dump: the entry's title followed by its file name, as
// "Donkey Kong - Donkey Kong (1982)[a1].rom". Without memory the name stays.
void tell_apart(LONG index) {
    CONST_STRPTR file = FilePart(ROMArray[index]);
    const size_t title = strlen(NameArray[index]), rest = strlen(file) + 1;
    auto name = static_cast<STRPTR>(malloc(title + 3 + rest));
    if (!name)
        return;
    memcpy(name, NameArray[index], title);
    memcpy(name + title, " - ", 3);
    memcpy(name + title + 3, file, rest);
    free(NameArray[index]);
    NameArray[index] = name;
}

// Entry `count` was listed under table row `row`: when the row was listed
// before, both entries (the first one only once) show their file names.
void note_row(Listed *listed, LONG row, LONG count) {
    if (listed->first[row] < 0) {
        listed->first[row] = count;
        return;
    }
    if (!listed->told[row]) {
        tell_apart(listed->first[row]);
        listed->told[row] = true;
    }
    tell_apart(count);
}

// Adds the ROM at path as entry `count`. Its name is the table title of its
// fingerprint, else its file name; a file name that does not fit the name
// buffer skips the ROM rather than list a cut name. Stops the scan when
// memory runs short, keeping the arrays consistent.
Added add_rom(CONST_STRPTR path, WORD count, Listed *listed) {
    TEXT fingerprint[kNumberTextSize];
    format_hex(GetFileFingerPrint(path), fingerprint);
    const LONG row = LookUpGameName(fingerprint);
    TEXT fileName[kFileNameSize];
    CONST_STRPTR name = fileName;
    if (row >= 0) {
        name = GameList[row].Title;
    } else {
        CONST_STRPTR part = FilePart(path);
        if (strlen(part) >= sizeof fileName)
            return Added::Skipped;
        strcpy(fileName, part);
    }
    if (DebugIT)
        trace_rom(path, fingerprint);

    // Room for the new name and the terminating null slot.
    if (!grow_array(&NameArray, count + 2) || !grow_array(&ROMArray, count + 1))
        return Added::Stop;
    STRPTR nameCopy = copy_string(name);
    STRPTR pathCopy = nameCopy ? copy_string(path) : NULL;
    if (!pathCopy) {
        free(nameCopy);
        return Added::Stop;
    }
    NameArray[count] = nameCopy;
    NameArray[count + 1] = NULL;
    ROMArray[count] = pathCopy;
    if (row >= 0)
        note_row(listed, row, count);
    return Added::Yes;
}

// The files that the full catalogue leaves out are counted and told, in one
// line on standard error.
void count_left_out(struct AnchorPath *anchor) {
    LONG left = 0;
    while (MatchNext(anchor) == 0)
        if (anchor->ap_Info.fib_DirEntryType < 0)
            left++;
    if (left > 0)
        fprintf(stderr, "%ld ROM files left out: the list holds %d\n", static_cast<long>(left),
                kMaxROMs);
}

// Walks the matches, adding every file (negative entry type, links to files
// included); subdirectories and other links are passed over. Returns the
// number of ROMs added: the first kMaxROMs met.
WORD scan_roms(struct AnchorPath *anchor) {
    WORD count = 0;
    if (MatchFirst(kRomPattern, anchor) != 0)
        return count;
    Listed listed;
    std::fill_n(listed.first, NUM_GAMES, -1);
    std::fill_n(listed.told, NUM_GAMES, false);
    do {
        if (anchor->ap_Info.fib_DirEntryType >= 0)
            continue;
        const Added added = add_rom(anchor->ap_Buf, count, &listed);
        if (added == Added::Stop)
            return count;
        if (added == Added::Yes)
            count++;
    } while (count < kMaxROMs && MatchNext(anchor) == 0);
    if (count == kMaxROMs)
        count_left_out(anchor);
    return count;
}

} // namespace

int make_list(void) {
    if (DebugIT)
        Printf("      Inside make_list...\n");
    auto anchor = static_cast<struct AnchorPath *>(AllocMem(kAnchorSize, MEMF_CLEAR));
    if (!anchor)
        return 1;
    anchor->ap_BreakBits = SIGBREAKF_CTRL_C;
    anchor->ap_Strlen = kPathBufferSize;

    const WORD count = scan_roms(anchor);
    sort_words(NameArray, ROMArray, count);
    // Without memory for even the terminator slot the catalogue stays empty,
    // as when the scan could not start.
    if (NameArray || grow_array(&NameArray, 1))
        NameArray[count] = NULL;
    if (count == 0) { // a scan stopped before its first ROM may have left a slot
        free(ROMArray);
        ROMArray = NULL;
    }
    NumROMS = count;

    MatchEnd(anchor);
    FreeMem(anchor, kAnchorSize);
    return 1;
}

void free_catalogue(void) {
    for (LONG i = 0; i < NumROMS; i++) {
        free(NameArray[i]);
        free(ROMArray[i]);
    }
    free(NameArray);
    free(ROMArray);
    NameArray = ROMArray = NULL;
    NumROMS = 0;
}
