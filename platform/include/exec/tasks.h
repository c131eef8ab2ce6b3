#pragma once
#include <exec/types.h>

// The running process. There is one task: the program's own.
struct Task {
    CONST_STRPTR tc_Name;
    ULONG tc_SigAlloc;
};

#define SIGB_ABORT 0
#define SIGB_CHILD 1
#define SIGB_SINGLE 4
#define SIGB_INTUITION 5
#define SIGB_DOS 8
#define SIGF_ABORT (1UL << SIGB_ABORT)
#define SIGF_CHILD (1UL << SIGB_CHILD)
#define SIGF_SINGLE (1UL << SIGB_SINGLE)
#define SIGF_INTUITION (1UL << SIGB_INTUITION)
#define SIGF_DOS (1UL << SIGB_DOS)
