// IoErr: the last DOS error of the process, and how host errors map to it.
#include "dos/host_dos.h"

#include <proto/dos.h>

#include <cerrno>

namespace {
LONG g_lastError = 0;
}

LONG IoErr(void) {
    return g_lastError;
}

LONG SetIoErr(LONG code) {
    const LONG old = g_lastError;
    g_lastError = code;
    return old;
}

namespace platform::dos {

long ErrorFromErrno(int error, bool writing) {
    switch (error) {
    case ENOENT:
        return ERROR_OBJECT_NOT_FOUND;
    case ENOTDIR:
        return ERROR_DIR_NOT_FOUND;
    case EISDIR:
    case ENODEV:
        return ERROR_OBJECT_WRONG_TYPE;
    case EACCES:
    case EPERM:
        return writing ? ERROR_WRITE_PROTECTED : ERROR_READ_PROTECTED;
    case EROFS:
        return ERROR_WRITE_PROTECTED;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case ENOMEM:
        return ERROR_NO_FREE_STORE;
    case ENAMETOOLONG:
        return ERROR_INVALID_COMPONENT_NAME;
    case EBUSY:
    case ETXTBSY:
        return ERROR_OBJECT_IN_USE;
    case EFBIG:
        return ERROR_OBJECT_TOO_LARGE;
    case ESPIPE:
        return ERROR_SEEK_ERROR;
    default:
        return ERROR_OBJECT_NOT_FOUND;
    }
}

} // namespace platform::dos
