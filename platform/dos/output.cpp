// Printf and the path helpers FilePart and PathPart.
#include <proto/dos.h>

#include <cstdarg>
#include <cstdio>

LONG Printf(CONST_STRPTR format, ...) {
    if (!format)
        return -1;
    va_list args;
    va_start(args, format);
    const int written = std::vprintf(format, args);
    va_end(args);
    return written;
}

STRPTR FilePart(CONST_STRPTR path) {
    if (!path)
        return nullptr;
    CONST_STRPTR part = path;
    for (CONST_STRPTR p = path; *p; ++p)
        if (*p == '/' || *p == ':')
            part = p + 1;
    return const_cast<STRPTR>(part);
}

STRPTR PathPart(CONST_STRPTR path) {
    STRPTR part = FilePart(path);
    if (part && part > path && part[-1] == '/')
        --part;
    return part;
}
