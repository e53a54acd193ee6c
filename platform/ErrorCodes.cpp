#include "platform/ErrorCodes.h"

#include <cerrno>
#include <cstring>

DWORD ErrorFromErrno(int nErrno) {
    switch (nErrno) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EISDIR:
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case EIO:
        return ERROR_IO_DEVICE;
    default:
        return ERROR_READ_FAULT;
    }
}

DWORD GetLastError() {
    return ErrorFromErrno(errno);
}

CString ErrnoText(int nErrno) {
    char szBuffer[256] = {};
    // The GNU strerror_r may return a static string instead of filling the buffer.
    return strerror_r(nErrno, szBuffer, sizeof szBuffer);
}
