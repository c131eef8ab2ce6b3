#pragma once
// Fault injection: with malloc, calloc and realloc wrapped (alloc_hook.cpp) a
// test makes one chosen allocation fail or do something first.
#include <functional>

struct AllocHook {
    static inline long count = 0;               // allocations since Clear()
    static inline long target = -1;             // the allocation that runs `action`
    static inline std::function<bool()> action; // false: that allocation fails

    // At allocation number `index` from now (0 = the next), `what` runs.
    static void At(long index, std::function<bool()> what) {
        action = std::move(what);
        target = count + index;
    }
    static void Clear() { target = -1, count = 0; }
    static bool Proceed() { return count++ != target || (target = -1, action()); }
};
