#pragma once
// DOS types, open modes, break signals, entry types and error codes.
#include <exec/types.h>

// A file handle. Pointer-sized here (a BCPL pointer on the real system); null
// when a file cannot be opened.
struct DosFileHandle;
typedef struct DosFileHandle *BPTR;
#define ZERO ((BPTR)0)

#define DOSTRUE (-1L)
#define DOSFALSE 0L

// Open modes.
#define MODE_OLDFILE 1005 // existing file, for reading

// Lock modes.
#define SHARED_LOCK (-2)
#define EXCLUSIVE_LOCK (-1)
#define ACCESS_READ SHARED_LOCK

// Break signals of a process (Ctrl-C to Ctrl-F).
#define SIGBREAKB_CTRL_C 12
#define SIGBREAKB_CTRL_D 13
#define SIGBREAKB_CTRL_E 14
#define SIGBREAKB_CTRL_F 15
#define SIGBREAKF_CTRL_C (1UL << SIGBREAKB_CTRL_C)
#define SIGBREAKF_CTRL_D (1UL << SIGBREAKB_CTRL_D)
#define SIGBREAKF_CTRL_E (1UL << SIGBREAKB_CTRL_E)
#define SIGBREAKF_CTRL_F (1UL << SIGBREAKB_CTRL_F)

// A point in time: days since 1 January 1978, minutes past midnight, ticks
// (1/50 s) past the minute.
struct DateStamp {
    LONG ds_Days;
    LONG ds_Minute;
    LONG ds_Tick;
};

// The longest host file name (NAME_MAX) plus its terminating zero, so every
// host entry name fits fib_FileName.
#define FIB_NAME_SIZE 256

// What is known about one directory entry (the match calls fill only its
// type and name). fib_DirEntryType is negative for files, positive for
// directories and links.
struct FileInfoBlock {
    LONG fib_DiskKey;
    LONG fib_DirEntryType;
    TEXT fib_FileName[FIB_NAME_SIZE];
    LONG fib_Protection; // FIBF_* bits; a set R/W/E/D bit means "not allowed"
    LONG fib_EntryType;
    LONG fib_Size; // clamped to 0x7FFFFFFF for larger files
    LONG fib_NumBlocks;
    struct DateStamp fib_Date;
    TEXT fib_Comment[80];
};

#define FIBF_DELETE (1L << 0)
#define FIBF_EXECUTE (1L << 1)
#define FIBF_WRITE (1L << 2)
#define FIBF_READ (1L << 3)

// Entry types (fib_DirEntryType).
#define ST_ROOT 1
#define ST_USERDIR 2
#define ST_SOFTLINK 3
#define ST_LINKDIR 4
#define ST_FILE (-3)
#define ST_LINKFILE (-4)
#define ST_PIPEFILE (-5)

// Error codes (IoErr).
#define ERROR_NO_FREE_STORE 103
#define ERROR_BAD_TEMPLATE 114
#define ERROR_REQUIRED_ARG_MISSING 116
#define ERROR_LINE_TOO_LONG 120
#define ERROR_OBJECT_IN_USE 202
#define ERROR_OBJECT_EXISTS 203
#define ERROR_DIR_NOT_FOUND 204
#define ERROR_OBJECT_NOT_FOUND 205
#define ERROR_OBJECT_TOO_LARGE 207
#define ERROR_INVALID_COMPONENT_NAME 210
#define ERROR_OBJECT_WRONG_TYPE 212
#define ERROR_TOO_MANY_LEVELS 217
#define ERROR_DEVICE_NOT_MOUNTED 218
#define ERROR_SEEK_ERROR 219
#define ERROR_DISK_FULL 221
#define ERROR_DELETE_PROTECTED 222
#define ERROR_WRITE_PROTECTED 223
#define ERROR_READ_PROTECTED 224
#define ERROR_NO_MORE_ENTRIES 232
#define ERROR_BUFFER_OVERFLOW 303
#define ERROR_BREAK 304
