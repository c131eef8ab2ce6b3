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
