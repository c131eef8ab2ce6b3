#pragma once
// The settings store: named sections of named text variables, kept in
// fixed-size records inside two levels of growable heap arrays, plus its text
// file form ("[section]" header lines and "name = value" lines).
#include <exec/types.h>

#define INI_NAME_SIZE 64   // a name holds at most 63 bytes and its zero byte
#define INI_VALUE_SIZE 256 // a value holds at most 255 bytes and its zero byte
// A settings file is a few lines; a larger file is no settings file of ours
// and is not read (the store it would make could take hundreds of megabytes).
#define INI_MAX_FILE_SIZE (1L << 20)

struct INIVar {
    char Name[INI_NAME_SIZE];
    char Value[INI_VALUE_SIZE];
};

struct INISection {
    char Name[INI_NAME_SIZE];
    struct INIVar *Vars; // null until the first variable is stored
    LONG MaxVars;        // records allocated in Vars
    LONG NumVars;        // records in use
};

struct INIFile {
    struct INISection *Sections; // null while empty (never filled, or trashed)
    LONG MaxSections;            // records allocated in Sections
    LONG NumSections;            // records in use
};

// The program's one settings store.
extern struct INIFile myINI;

// Makes a store empty without freeing anything (for a store that holds nothing).
void InitINI(struct INIFile *ini);

// With var null: 1 when the section exists; otherwise 1 when it holds var.
int INIHasVar(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var);

// Stores value under (section, var), creating either as needed. Names are cut
// to 63 bytes and values to 255. Out of memory stores nothing.
void INISetString(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, CONST_STRPTR value);

// Copies the value into buffer (at most size - 1 bytes, the rest of the buffer
// zeroed) and returns buffer; null when the variable is missing. With size 0
// (or no buffer) nothing is written and the result is null.
STRPTR INIGetString(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, STRPTR buffer,
                    ULONG size);

// Stores the value as unsigned decimal text: -1 becomes "4294967295".
void INISetInteger(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, LONG value);

// Stores the value in "%lf" form; a value whose text would exceed 255 bytes is
// not stored and the old value stays.
void INISetFloat(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, double value);

// The value read as atol does (blanks, sign, digits), wrapped to 32 bits so
// "4294967295" reads as -1; the default when the variable is missing.
LONG INIGetInteger(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, LONG def);

// The value read as atof does; the default when the variable is missing.
double INIGetFloat(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var, double def);

// With var null removes the whole section, otherwise that one variable.
// 1 when something was removed, 0 when it was missing.
int INIDeleteVar(struct INIFile *ini, CONST_STRPTR section, CONST_STRPTR var);

// Frees every array of the store and leaves it empty, as after InitINI.
void TrashINI(struct INIFile *ini);

// Adds the variables of an INI text file to the store. Returns the number of
// name/value lines handed to the store, 0 when the file cannot be opened, -1
// when it is larger than INI_MAX_FILE_SIZE: then nothing is read (unless the
// file grew past the limit while it was read, when part of it may have been).
LONG LoadINI(struct INIFile *ini, CONST_STRPTR filename);

// Whether a value is read back from the file as it is written: at most 255
// bytes, no line feed (it would split the line) and no blank at either end
// (the reader drops those).
BOOL INIFileKeeps(CONST_STRPTR value);

// Writes the store as an INI text file and returns the number of variable
// lines written. A store that never held a section leaves the file untouched
// and returns 0. The file is replaced as a whole, and only when it is the
// user's to write (a regular file, or a link to one, or a new name): on any
// failure the old file stays as it was, the runtime has said why on standard
// error, and the result is -1.
LONG SaveINI(struct INIFile *ini, CONST_STRPTR filename);
