#pragma once
// Data types: the kinds of file a data type object is made from, and why one
// could not be made.
#include <exec/types.h>
#include <utility/tagitem.h>

#define DTA_Dummy (TAG_USER + 0x1000)
// The kind of data asked for (a GID_ value); a file of another kind fails.
#define DTA_GroupID (DTA_Dummy + 109)

#define GID_PICTURE 0x70696374UL // 'pict'

// Error codes (IoErr) beside DOS's own: a kind that is not known, or a file
// that is there but cannot be read whole as its kind (cut short, damaged, too
// large to hold).
#define DTERROR_UNKNOWN_DATATYPE 2000
#define DTERROR_INVALID_DATA 2008
