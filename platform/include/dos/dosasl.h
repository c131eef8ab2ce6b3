#pragma once
// Pattern matching over a directory: MatchFirst, MatchNext, MatchEnd.
#include <dos/dos.h>

// The matcher's private state; the caller never looks inside.
struct AChain;

// The caller's side of a match. Clear it before MatchFirst. To receive the
// full path of each entry, allocate sizeof(struct AnchorPath) plus the extra
// buffer space in one block and set ap_Strlen to the size of ap_Buf; with
// ap_Strlen 0 the buffer is left alone.
struct AnchorPath {
    struct AChain *ap_Base;
    struct AChain *ap_Last;
    LONG ap_BreakBits;  // signals that end the match with ERROR_BREAK
    LONG ap_FoundBreak; // the break signals that did so
    BYTE ap_Flags;
    BYTE ap_Reserved;
    WORD ap_Strlen;
    struct FileInfoBlock ap_Info;
    TEXT ap_Buf[1]; // must stay the last member: the caller extends it
};

#define APF_ITSWILD (1 << 0)
#define APF_DOWILD APF_ITSWILD
#define APF_DODIR (1 << 2)
#define APF_DIDDIR (1 << 3)
#define APF_NOMEMERR (1 << 4)
#define APF_DODOT (1 << 5)
#define APF_DirChanged (1 << 6)
#define APF_FollowHLinks (1 << 7)
