#pragma once
// DOS: files, directory matching, paths, formatted output, commands.
//
// Every name may carry a device prefix: "PROGDIR:" is the folder of the
// running executable, "ENVARC:" the user's configuration folder ($XDG_CONFIG_HOME
// or ~/.config, created when a file is written there); a name without a device
// is a host path and passes unchanged. An executable in a folder named bin
// has the user's own PROGDIR:, $XDG_DATA_HOME/<program name> (or
// ~/.local/share/<program name>), made on first use with the folders that
// <dir>/<program name>/ holds for each dir of $XDG_DATA_DIRS (or
// /usr/local/share:/usr/share); a file to read that it lacks is read from the
// first of those system folders that has it. Matching and writing stay in the
// user's folder. An unknown device makes the call fail
// with ERROR_DEVICE_NOT_MOUNTED. A device name is the part before the first
// ':' of a name whose first component holds one; it ignores case.
#include <dos/dos.h>
#include <dos/dosasl.h>
#include <dos/dostags.h>
#include <exec/types.h>
#include <utility/tagargs.h>
#include <utility/tagitem.h>

#include <vector>

// ---- Files ----------------------------------------------------------------
// Opens an existing file for reading (MODE_OLDFILE; files are written with
// the runtime's streams); null on failure, see IoErr(). Only a regular file
// opens (links followed): a folder, FIFO, socket or device fails at once
// with ERROR_OBJECT_WRONG_TYPE.
BPTR Open(CONST_STRPTR name, LONG accessMode);
// Opens a packed file for reading: its reads give the content of a gzip
// file, or of the first regular member of a zip file, unpacked only as far as
// they read. A regular file that holds neither readably (corrupt, encrypted,
// empty, any other kind) reads as empty; what Open refuses fails the same way.
BPTR OpenUnpacked(CONST_STRPTR name);
BOOL Close(BPTR file);
// The next byte (0 to 255), or -1 at the end of the file or on an error.
LONG FGetC(BPTR file);
// Reads up to length bytes; the count done, or -1 on an error.
LONG Read(BPTR file, APTR buffer, LONG length);

// The error code of the last failing DOS call of this process (0 when none).
LONG IoErr(void);
LONG SetIoErr(LONG code);

// ---- Locks ----------------------------------------------------------------
// A lock on an existing file or folder (SHARED_LOCK or EXCLUSIVE_LOCK; both
// only name it here, nothing is held); null when it does not exist, see
// IoErr(). UnLock releases it.
BPTR Lock(CONST_STRPTR name, LONG accessMode);
void UnLock(BPTR lock);
// The full name of what a lock is on, as the host knows it ("/home/me/x");
// FALSE when it does not fit the buffer.
BOOL NameFromLock(BPTR lock, STRPTR buffer, LONG length);

// ---- Directory matching ---------------------------------------------------
// Lists the entries of one directory whose names match the last component of
// pattern (the components before it name the directory and hold no wildcards).
// Wildcards: ? any character, #x any number of x, #? anything, (a|b)
// alternatives, ~x anything that x does not match, [a-z] a character class
// ([~a-z] its complement), % nothing, ' takes the next character literally.
// Case is ignored. "." and ".." are never listed, nor are FIFOs, sockets and
// devices; subdirectories are listed as entries and never entered.
//
// Each call returns 0 and describes the next entry, in the host directory's
// order: ap_Info's fib_DirEntryType, fib_EntryType and fib_FileName (its other
// fields are left zero: the listing alone does not give them, and a stat of
// every entry would double the cost of a scan), and ap_Buf, see dosasl.h.
// Otherwise it returns an error code, also kept in
// IoErr(): ERROR_NO_MORE_ENTRIES at the end, ERROR_OBJECT_NOT_FOUND when the
// directory (or a pattern without wildcards) does not exist, ERROR_BAD_TEMPLATE
// for a malformed pattern, ERROR_BREAK when a signal of ap_BreakBits is pending
// (those signals are then cleared and kept in ap_FoundBreak).
//
// ap_Buf receives the pattern's directory part followed by the entry name, as
// the caller wrote it ("PROGDIR:roms/Foo.rom"). An entry whose full path and
// terminating zero would not fit ap_Strlen bytes is skipped, never truncated.
// MatchEnd releases the state; it may be called on a cleared anchor.
LONG MatchFirst(CONST_STRPTR pattern, struct AnchorPath *anchor);
LONG MatchNext(struct AnchorPath *anchor);
void MatchEnd(struct AnchorPath *anchor);

// ---- Paths ----------------------------------------------------------------
// The last component of path, inside path: after the last '/', or after the
// device's ':' when there is no '/'.
STRPTR FilePart(CONST_STRPTR path);
// Appends fileName to the path in dirName, with a '/' between them unless
// dirName is empty or ends in '/' or ':'; FALSE, changing nothing, when the
// result and its zero would not fit `size` bytes.
BOOL AddPart(STRPTR dirName, CONST_STRPTR fileName, ULONG size);
// Waits for and takes the advisory lock that serialises processes which read,
// change and replace the file `name` (links followed), so that none of them
// writes over what another has just saved. Every such process must take it.
// Null when it cannot be had (IoErr() says why; a holder that keeps it for
// seconds is given up on); the caller may then go on without it.
APTR LockUpdate(CONST_STRPTR name);
void UnLockUpdate(APTR lock);
// Points a device ("NAME" or "NAME:") at a host folder for this process; a
// null folder drops the assignment, so the device resolves as before.
BOOL AssignPath(CONST_STRPTR name, CONST_STRPTR hostFolder);
// Names the running program: its user's PROGDIR: is named after it (by
// default the executable's file name). FALSE for an empty name or one with a
// '/'.
BOOL SetProgramName(CONST_STRPTR name);

// ---- Output ---------------------------------------------------------------
// Formats like printf onto the process output (the runtime's stdout, so its
// order with printf and puts is kept); returns the number of characters.
LONG Printf(CONST_STRPTR format, ...) __attribute__((format(printf, 1, 2)));

// ---- Commands -------------------------------------------------------------
// Runs a command line; with SYS_Asynch TRUE it returns at once.
LONG SystemTagList(CONST_STRPTR command, const struct TagItem *tags);

// SystemTags(command, tag, value, ..., TAG_DONE): the tags as a list.
template <TagArgument... A> LONG SystemTags(CONST_STRPTR command, A... args) {
    const std::vector<TagItem> tags = tagargs::Pair(args...);
    return SystemTagList(command, tags.data());
}
