#pragma once
// Fault injection for the catalogue tests: the test executable is linked with
// malloc, calloc and realloc wrapped, so a test can make one chosen
// allocation fail or do something first.
#include <functional>

namespace alloc_hook {

// At allocation number `index` from now (0 = the next), `action` runs; the
// allocation fails when it returns false.
void At(long index, std::function<bool()> action);
// Drops the hook and restarts the count.
void Clear();
// Allocations since Clear().
long Count();

} // namespace alloc_hook
