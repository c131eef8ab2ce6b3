#include <proto/exec.h>

#include <cstdlib>
#include <cstring>

APTR AllocMem(ULONG byteSize, ULONG attributes) {
    if (byteSize == 0)
        return nullptr;
    void *block = (attributes & MEMF_CLEAR) ? std::calloc(1, byteSize) : std::malloc(byteSize);
    return block;
}

void FreeMem(APTR memoryBlock, ULONG) {
    std::free(memoryBlock);
}

// AllocVec remembers the size in front of the block so FreeVec needs none.
APTR AllocVec(ULONG byteSize, ULONG attributes) {
    auto *block = static_cast<max_align_t *>(AllocMem(byteSize + sizeof(max_align_t), attributes));
    if (!block)
        return nullptr;
    return block + 1;
}

void FreeVec(APTR memoryBlock) {
    if (memoryBlock)
        std::free(static_cast<max_align_t *>(memoryBlock) - 1);
}
