#pragma once
// Cartridge identification and the ROM catalogue: the fingerprint of a ROM
// file, the table of known cartridges, and the sorted list of the ROMs found
// in "PROGDIR:roms/".
#include <exec/types.h>

// One known cartridge: its fingerprint in "%X" form, its title and the file
// name of its box-art picture.
struct GameEntry {
    CONST_STRPTR Fingerprint;
    CONST_STRPTR Title;
    CONST_STRPTR Image;
};

#define NUM_GAMES 157
extern const struct GameEntry GameList[NUM_GAMES];

// The catalogue, built once by make_list: NumROMS display names in sorted
// order followed by a null slot, and the full paths in the same order.
extern STRPTR *NameArray;
extern STRPTR *ROMArray;
extern LONG NumROMS;

// Trace switch: non-zero prints the program's trace lines.
extern WORD DebugIT;

// Fingerprint of the first 100 bytes of a file; 5381 when it cannot be opened.
ULONG GetFileFingerPrint(CONST_STRPTR path);
// Sum of all bytes of a file, wrapping at 32 bits; 0 when it cannot be opened.
ULONG GetFileSum(CONST_STRPTR path);
// Index of the first GameList row whose fingerprint text equals the text
// exactly, or -1.
LONG LookUpGameName(CONST_STRPTR fingerprint);
LONG LookUpGameImage(CONST_STRPTR fingerprint);
// The box art shown for a ROM: "PROGDIR:images/" and the picture of its table
// row when that file opens, else "PROGDIR:images/nocart.png" (also for a null
// path). Returns the table row, or -1 for a ROM that is not in the table.
LONG FindBoxArt(CONST_STRPTR romPath, STRPTR buffer, ULONG size);

// Scans "PROGDIR:roms/#?.rom" into NameArray, ROMArray and NumROMS; returns 1.
int make_list(void);
// Frees every name and path of the catalogue and both arrays, leaving it
// empty as before the scan.
void free_catalogue(void);
// Sorts names ascending by bytes and applies every exchange to paths too,
// exactly as an exchange sort over the whole range would.
void sort_words(STRPTR *names, STRPTR *paths, LONG count);
void swap(STRPTR *a, STRPTR *b);
