#pragma once
#include <exec/types.h>

// A shared library as Exec hands it out. The platform keeps one record per
// opened library name; lib_OpenCnt counts the OpenLibrary calls not yet closed.
struct Library {
    CONST_STRPTR lib_Name;
    UWORD lib_Version;
    UWORD lib_Revision;
    UWORD lib_OpenCnt;
};

// An interface of a library ("main", version 1).
struct Interface {
    struct Library *Data_LibBase;
    CONST_STRPTR Data_Name;
    ULONG Data_Version;
};
