#include "alloc_hook.h"

#include <cstddef>

extern "C" {
void *__real_malloc(size_t size);
void *__real_calloc(size_t count, size_t size);
void *__real_realloc(void *block, size_t size);

void *__wrap_malloc(size_t size) {
    return AllocHook::Proceed() ? __real_malloc(size) : nullptr;
}
void *__wrap_calloc(size_t count, size_t size) {
    return AllocHook::Proceed() ? __real_calloc(count, size) : nullptr;
}
void *__wrap_realloc(void *block, size_t size) {
    return AllocHook::Proceed() ? __real_realloc(block, size) : nullptr;
}
}
