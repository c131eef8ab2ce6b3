#pragma once
// Null-terminated arrays of strings, as lists and cycle gadgets are given
// them: the caller's array, referenced, never copied.
#include <exec/types.h>

namespace platform::mui {

// The number of strings before the array's null entry; 0 without an array.
inline LONG CountStrings(IPTR array) {
    LONG count = 0;
    if (const auto *strings = reinterpret_cast<const char *const *>(array))
        while (strings[count])
            ++count;
    return count;
}

} // namespace platform::mui
