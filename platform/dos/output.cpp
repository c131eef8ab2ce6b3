// Printf and the path helpers FilePart and AddPart.
#include <proto/dos.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

LONG Printf(CONST_STRPTR format, ...) {
    if (!format)
        return -1;
    va_list args;
    va_start(args, format);
    const int written = std::vprintf(format, args);
    va_end(args);
    return written;
}

// After the last '/'; without one, after the device's ':'. A ':' behind the
// device belongs to a host file name ("PROGDIR:roms/a:b.rom").
STRPTR FilePart(CONST_STRPTR path) {
    if (!path)
        return nullptr;
    CONST_STRPTR slash = std::strrchr(path, '/');
    CONST_STRPTR colon = std::strchr(path, ':');
    CONST_STRPTR part = slash ? slash + 1 : colon ? colon + 1 : path;
    return const_cast<STRPTR>(part);
}

BOOL AddPart(STRPTR dirName, CONST_STRPTR fileName, ULONG size) {
    if (!dirName || !fileName)
        return FALSE;
    const size_t length = std::strlen(dirName);
    const bool separate = length > 0 && dirName[length - 1] != '/' && dirName[length - 1] != ':';
    if (length + separate + std::strlen(fileName) >= size)
        return FALSE;
    if (separate)
        dirName[length] = '/';
    std::strcpy(dirName + length + separate, fileName);
    return TRUE;
}
