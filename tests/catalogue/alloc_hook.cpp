#include "alloc_hook.h"

#include <cstddef>

extern "C" {
void *__real_malloc(size_t size);
void *__real_calloc(size_t count, size_t size);
void *__real_realloc(void *block, size_t size);
}

namespace {

long g_count = 0;
long g_target = -1;
std::function<bool()> g_action;

bool Proceed() {
    if (g_count++ != g_target)
        return true;
    g_target = -1;
    return g_action();
}

} // namespace

namespace alloc_hook {

void At(long index, std::function<bool()> action) {
    g_action = std::move(action);
    g_target = g_count + index;
}

void Clear() {
    g_target = -1;
    g_count = 0;
}

long Count() {
    return g_count;
}

} // namespace alloc_hook

extern "C" {
void *__wrap_malloc(size_t size) {
    return Proceed() ? __real_malloc(size) : nullptr;
}
void *__wrap_calloc(size_t count, size_t size) {
    return Proceed() ? __real_calloc(count, size) : nullptr;
}
void *__wrap_realloc(void *block, size_t size) {
    return Proceed() ? __real_realloc(block, size) : nullptr;
}
}
