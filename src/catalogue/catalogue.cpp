// The ROM catalogue: one scan of "PROGDIR:roms/#?.rom" into two parallel heap
// arrays, display names (ended by a null slot) and full paths, sorted by name.
#include "utils.h"

#include <dos/dosasl.h>
#include <proto/dos.h>
#include <proto/exec.h>

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

enum class Added { Yes, Skipped, Stop };

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

void trace_rom(CONST_STRPTR path, CONST_STRPTR fingerprint) {
    TEXT sum[kNumberTextSize];
    snprintf(sum, sizeof sum, "%X", GetFileSum(path));
    Printf("  %s : %s : %s\n", sum, fingerprint, path);
}

// Adds the ROM at path as entry `count`. Its name is the table title of its
// fingerprint, else its file name; a file name that does not fit the name
// buffer skips the ROM rather than list a cut name. Stops the scan when
// memory runs short, keeping the arrays consistent.
Added add_rom(CONST_STRPTR path, WORD count) {
    TEXT fingerprint[kNumberTextSize];
    snprintf(fingerprint, sizeof fingerprint, "%X", GetFileFingerPrint(path));
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
    return Added::Yes;
}

// Walks the matches, adding every file (negative entry type); subdirectories
// and links are passed over. Returns the number of ROMs added.
WORD scan_roms(struct AnchorPath *anchor) {
    WORD count = 0;
    if (MatchFirst("PROGDIR:roms/#?.rom", anchor) != 0)
        return count;
    do {
        if (anchor->ap_Info.fib_DirEntryType >= 0)
            continue;
        const Added added = add_rom(anchor->ap_Buf, count);
        if (added == Added::Stop)
            break;
        if (added == Added::Yes)
            count++;
    } while (count < kMaxROMs && MatchNext(anchor) == 0);
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
