// The calling thread's last error, and errno turned into Windows codes.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

bool ParentFolderExists(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return true;   // relative to the current folder
    std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    struct stat st {};
    return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }

DWORD Win32_ErrorFromErrno(int errnoValue, const std::string& path) {
    switch (errnoValue) {
        case 0: return ERROR_SUCCESS;
        case ENOENT: return ParentFolderExists(path) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR: return ERROR_ACCESS_DENIED;
        case EROFS: return ERROR_WRITE_PROTECT;
        case EEXIST: return ERROR_ALREADY_EXISTS;
        case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
        case ENOSPC:
        case EDQUOT: return ERROR_DISK_FULL;
        case EXDEV: return ERROR_NOT_SAME_DEVICE;
        case EBUSY:
        case ETXTBSY: return ERROR_SHARING_VIOLATION;
        case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
        case EINVAL: return ERROR_INVALID_PARAMETER;
        case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
        case EBADF: return ERROR_INVALID_HANDLE;
        default: return ERROR_GEN_FAILURE;
    }
}

BOOL Win32_FailFromErrno(const std::string& path) {
    int saved = errno;
    t_lastError = Win32_ErrorFromErrno(saved, path);
    return FALSE;
}

BOOL Win32_Fail(DWORD error) {
    t_lastError = error;
    return FALSE;
}
