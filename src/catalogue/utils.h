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

// Fingerprint of the first 100 bytes of a file (of the ROM inside a .zip or
// .gz); 5381 when it cannot be opened.
ULONG GetFileFingerPrint(CONST_STRPTR path);
// The same fingerprint of the first 100 bytes (all of them when fewer) of a
// buffer of `length` bytes.
ULONG GetBufferFingerPrint(const UBYTE *bytes, ULONG length);
// Sum of all bytes of a file, wrapping at 32 bits; 0 when it cannot be opened.
ULONG GetFileSum(CONST_STRPTR path);
// Whether the first `length` bytes of name end in extension (".gz", in lower
// case), in any case.
BOOL HasExtension(CONST_STRPTR name, ULONG length, CONST_STRPTR extension);
// Index of the first GameList row whose fingerprint text equals the text
// exactly, or -1.
LONG LookUpGameName(CONST_STRPTR fingerprint);
LONG LookUpGameImage(CONST_STRPTR fingerprint);
// The pictures of a ROM, in "PROGDIR:images/": the one its table row names,
// the one named after its file, and the one shown.
#define BOXART_PATH_SIZE 512
struct BoxArt {
    LONG Row;                     // the ROM's table row, or -1
    TEXT Table[BOXART_PATH_SIZE]; // the row's picture; empty for a ROM not in the table
    TEXT Named[BOXART_PATH_SIZE]; // the picture named after the ROM file (NamedPicture)
    TEXT Shown[BOXART_PATH_SIZE]; // the first of those two that is there and decodes,
                                  // else "PROGDIR:images/nocart.png"
    BOOL Broken;                  // one of the two is there but does not decode
};
// Finds the box art of the ROM at romPath (null: none, nocart.png shown).
void FindBoxArt(CONST_STRPTR romPath, struct BoxArt *art);
// "PROGDIR:images/" and the picture named after a ROM file, as thumbnail packs
// name theirs: the file name without its extension (a .gz's inner .rom, .col
// or .bin too), each of & * / : ` < > ? \ | made _, and ".png".
void NamedPicture(CONST_STRPTR romPath, STRPTR buffer, ULONG size);

// Scans "PROGDIR:roms/" into NameArray, ROMArray and NumROMS: the files named
// *.rom, *.col, *.bin, *.zip and *.gz, in any case (links to files too), the
// first 32,767 met; a title listed more than once shows each file's name as
// "<title> - <file name>". Returns 1.
int make_list(void);
// Frees every name and path of the catalogue and both arrays, leaving it
// empty as before the scan.
void free_catalogue(void);
// Sorts names ascending by bytes and applies every exchange to paths too,
// exactly as an exchange sort over the whole range would.
void sort_words(STRPTR *names, STRPTR *paths, LONG count);
void swap(STRPTR *a, STRPTR *b);
