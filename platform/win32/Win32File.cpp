// Files and folders with Win32's answers: attributes, copy, move, delete; '\' paths accepted.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

bool PathGiven(LPCSTR path) { return path && *path; }

std::string Local(LPCSTR path) { return Win32_LocalPath(path); }

std::string BaseName(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    auto slash = trimmed.find_last_of('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

bool IsHiddenName(const std::string& name) { return name.size() > 1 && name[0] == '.' && name != ".."; }

bool Exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool CopyContents(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!WriteAll(to, buffer, static_cast<std::size_t>(n))) return false;
    }
}

// Copies into a temporary file beside the target, with the source's mode and time of change.
// Returns the temporary's path, or empty with errno set.
std::string CopyToTemporary(int source, const struct stat& sourceInfo, const std::string& target) {
    std::string temp = target + ".~copyXXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return {};
    bool ok = CopyContents(source, fd);
    ok = ok && fchmod(fd, sourceInfo.st_mode & 07777) == 0;
    struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (ok) futimens(fd, times);
    int saved = errno;
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(temp.c_str());
        errno = saved ? saved : EIO;
        return {};
    }
    return temp;
}

// Puts the finished copy in place: without replacing (link fails on an existing target), or
// replacing by rename. Where links aren't supported, checks first.
bool PlaceCopy(const std::string& temp, const std::string& target, bool failIfExists) {
    if (!failIfExists) return rename(temp.c_str(), target.c_str()) == 0;
    if (link(temp.c_str(), target.c_str()) == 0) {
        unlink(temp.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    if (Exists(target)) {
        errno = EEXIST;
        return false;
    }
    return rename(temp.c_str(), target.c_str()) == 0;
}

BOOL CopyLocal(const std::string& from, const std::string& to, bool failIfExists) {
    if (failIfExists && Exists(to)) return Win32_Fail(ERROR_FILE_EXISTS);
    int source = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) return Win32_FailFromErrno(from);
    struct stat info {};
    if (fstat(source, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(source);
        return Win32_Fail(ERROR_ACCESS_DENIED);
    }
    std::string temp = CopyToTemporary(source, info, to);
    int saved = errno;
    close(source);
    if (temp.empty()) return Win32_Fail(Win32_ErrorFromErrno(saved, to));
    if (!PlaceCopy(temp, to, failIfExists)) {
        saved = errno;
        unlink(temp.c_str());
        return Win32_Fail(saved == EEXIST ? ERROR_FILE_EXISTS : Win32_ErrorFromErrno(saved, to));
    }
    return TRUE;
}

// Never replaces an existing target; RENAME_NOREPLACE closes the gap between check and move.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (Exists(to)) {
        errno = EEXIST;
        return false;
    }
    return rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

DWORD GetFileAttributesA(LPCSTR lpFileName) {
    if (!PathGiven(lpFileName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string path = Local(lpFileName);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        Win32_FailFromErrno(path);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if ((st.st_mode & kWriteBits) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    if (IsHiddenName(BaseName(path))) attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

// Only the read-only bit can be changed: it takes or gives back the write permission.
BOOL SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) {
    if (!PathGiven(lpFileName)) return Win32_Fail(ERROR_INVALID_PARAMETER);
    std::string path = Local(lpFileName);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return Win32_FailFromErrno(path);
    mode_t mode = st.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
        mode &= ~kWriteBits;
    } else if ((mode & kWriteBits) == 0) {
        mode |= S_IWUSR;
    }
    if (chmod(path.c_str(), mode) != 0) return Win32_FailFromErrno(path);
    return TRUE;
}

BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
    if (!PathGiven(lpExistingFileName) || !PathGiven(lpNewFileName)) return Win32_Fail(ERROR_INVALID_PARAMETER);
    return CopyLocal(Local(lpExistingFileName), Local(lpNewFileName), bFailIfExists != FALSE);
}

BOOL MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
    if (!PathGiven(lpExistingFileName) || !PathGiven(lpNewFileName)) return Win32_Fail(ERROR_INVALID_PARAMETER);
    std::string from = Local(lpExistingFileName);
    std::string to = Local(lpNewFileName);
    if (!Exists(from)) return Win32_Fail(Win32_ErrorFromErrno(ENOENT, from));
    if (Exists(to)) return Win32_Fail(ERROR_ALREADY_EXISTS);
    if (RenameNoReplace(from, to)) return TRUE;
    if (errno == EEXIST) return Win32_Fail(ERROR_ALREADY_EXISTS);
    if (errno != EXDEV) return Win32_FailFromErrno(from);
    // Across file systems only files move, as in Win32: copy, then remove the original.
    struct stat st {};
    if (stat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return Win32_Fail(ERROR_NOT_SAME_DEVICE);
    if (!CopyLocal(from, to, true)) return FALSE;
    if (unlink(from.c_str()) != 0) {
        DWORD error = Win32_ErrorFromErrno(errno, from);
        unlink(to.c_str());
        return Win32_Fail(error);
    }
    return TRUE;
}

// A read-only file is not deleted, as in Win32; a folder is not a file.
BOOL DeleteFileA(LPCSTR lpFileName) {
    if (!PathGiven(lpFileName)) return Win32_Fail(ERROR_INVALID_PARAMETER);
    std::string path = Local(lpFileName);
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return Win32_FailFromErrno(path);
    if (S_ISDIR(st.st_mode)) return Win32_Fail(ERROR_ACCESS_DENIED);
    if (S_ISREG(st.st_mode) && (st.st_mode & kWriteBits) == 0) return Win32_Fail(ERROR_ACCESS_DENIED);
    if (unlink(path.c_str()) != 0) return Win32_FailFromErrno(path);
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR lpPathName, void*) {
    if (!PathGiven(lpPathName)) return Win32_Fail(ERROR_INVALID_PARAMETER);
    std::string path = Local(lpPathName);
    if (mkdir(path.c_str(), 0777) != 0) return Win32_FailFromErrno(path);
    return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR lpPathName) {
    if (!PathGiven(lpPathName)) return Win32_Fail(ERROR_INVALID_PARAMETER);
    std::string path = Local(lpPathName);
    if (rmdir(path.c_str()) != 0) return Win32_FailFromErrno(path);
    return TRUE;
}
