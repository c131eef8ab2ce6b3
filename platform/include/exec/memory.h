#pragma once
#include <exec/types.h>

#define MEMF_ANY 0UL
#define MEMF_PUBLIC (1UL << 0)
#define MEMF_PRIVATE (1UL << 11)
#define MEMF_SHARED (1UL << 12)
#define MEMF_CLEAR (1UL << 16)
