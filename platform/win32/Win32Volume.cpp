// Drive letters, free space and volume information, answered from the volume service.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unistd.h>

namespace {

struct ServiceSlot {
    std::mutex mutex;
    Win32VolumeService* replacement = nullptr;
};

ServiceSlot& Slot() {
    static auto* slot = new ServiceSlot;
    return *slot;
}

std::vector<Win32Volume> CurrentVolumes() {
    auto& slot = Slot();
    std::lock_guard lock(slot.mutex);
    Win32VolumeService& service = slot.replacement ? *slot.replacement : Win32_MountTableVolumeService();
    return service.Volumes();
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string ForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string CurrentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string("/");
}

std::string Absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/') return path;
    return CurrentFolder() + "/" + path;
}

bool FindByLetter(const std::vector<Win32Volume>& volumes, char letter, Win32Volume& out) {
    char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const auto& volume : volumes) {
        if (std::toupper(static_cast<unsigned char>(volume.letter)) == wanted) {
            out = volume;
            return true;
        }
    }
    return false;
}

bool FindByPath(const std::vector<Win32Volume>& volumes, const std::string& path, Win32Volume& out) {
    std::string probe = Absolute(path);
    if (probe.back() != '/') probe += '/';
    const Win32Volume* best = nullptr;
    for (const auto& volume : volumes) {
        if (probe.rfind(volume.mountPoint, 0) != 0) continue;
        if (!best || volume.mountPoint.size() > best->mountPoint.size()) best = &volume;
    }
    if (best) out = *best;
    return best != nullptr;
}

// NULL means the current folder's volume, as in Win32.
bool FindRoot(LPCSTR root, Win32Volume& out) {
    return Win32_FindVolume(root ? std::string(root) : CurrentFolder(), out);
}

DWORD Clamp32(ULONGLONG value) { return static_cast<DWORD>(std::min<ULONGLONG>(value, 0xFFFFFFFFu)); }

// Copies text with its NUL when it fits in size bytes.
bool CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
    if (!buffer) return true;
    if (text.size() + 1 > size) return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

void Win32_SetVolumeService(Win32VolumeService* service) {
    auto& slot = Slot();
    std::lock_guard lock(slot.mutex);
    slot.replacement = service;
}

bool Win32_FindVolume(const std::string& rootPathName, Win32Volume& out) {
    if (rootPathName.empty()) return false;
    auto volumes = CurrentVolumes();
    if (HasDrive(rootPathName)) return FindByLetter(volumes, rootPathName[0], out);
    return FindByPath(volumes, ForwardSlashes(rootPathName), out);
}

// An unknown drive letter leaves the path as it is (with '/'), so it won't be found.
std::string Win32_LocalPath(const std::string& path) {
    if (!HasDrive(path)) return ForwardSlashes(path);
    Win32Volume volume;
    if (!FindByLetter(CurrentVolumes(), path[0], volume)) return ForwardSlashes(path);
    std::string rest = ForwardSlashes(path.substr(2));
    rest.erase(0, rest.find_first_not_of('/'));
    return volume.mountPoint + rest;
}

BOOL GetDiskFreeSpaceA(LPCSTR lpRootPathName, DWORD* lpSectorsPerCluster, DWORD* lpBytesPerSector,
                       DWORD* lpNumberOfFreeClusters, DWORD* lpTotalNumberOfClusters) {
    Win32Volume volume;
    if (!FindRoot(lpRootPathName, volume)) return Win32_Fail(ERROR_PATH_NOT_FOUND);
    DWORD sectors = std::max<DWORD>(volume.sectorsPerCluster, 1);
    DWORD bytes = std::max<DWORD>(volume.bytesPerSector, 1);
    ULONGLONG cluster = static_cast<ULONGLONG>(sectors) * bytes;
    if (lpSectorsPerCluster) *lpSectorsPerCluster = sectors;
    if (lpBytesPerSector) *lpBytesPerSector = bytes;
    if (lpNumberOfFreeClusters) *lpNumberOfFreeClusters = Clamp32(volume.freeBytes / cluster);
    if (lpTotalNumberOfClusters) *lpTotalNumberOfClusters = Clamp32(volume.totalBytes / cluster);
    return TRUE;
}

BOOL GetDiskFreeSpaceExA(LPCSTR lpDirectoryName, ULONGLONG* lpFreeBytesAvailable, ULONGLONG* lpTotalBytes,
                         ULONGLONG* lpTotalFreeBytes) {
    Win32Volume volume;
    if (!FindRoot(lpDirectoryName, volume)) return Win32_Fail(ERROR_PATH_NOT_FOUND);
    if (lpFreeBytesAvailable) *lpFreeBytesAvailable = volume.freeBytes;
    if (lpTotalBytes) *lpTotalBytes = volume.totalBytes;
    if (lpTotalFreeBytes) *lpTotalFreeBytes = volume.freeBytes;
    return TRUE;
}

UINT GetDriveTypeA(LPCSTR lpRootPathName) {
    Win32Volume volume;
    return FindRoot(lpRootPathName, volume) ? volume.driveType : DRIVE_NO_ROOT_DIR;
}

BOOL GetVolumeInformationA(LPCSTR lpRootPathName, LPSTR lpVolumeNameBuffer, DWORD nVolumeNameSize,
                           DWORD* lpVolumeSerialNumber, DWORD* lpMaximumComponentLength,
                           DWORD* lpFileSystemFlags, LPSTR lpFileSystemNameBuffer, DWORD nFileSystemNameSize) {
    Win32Volume volume;
    if (!FindRoot(lpRootPathName, volume)) return Win32_Fail(ERROR_PATH_NOT_FOUND);
    if (!CopyOut(volume.label, lpVolumeNameBuffer, nVolumeNameSize) ||
        !CopyOut(volume.fileSystem, lpFileSystemNameBuffer, nFileSystemNameSize)) {
        return Win32_Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (lpVolumeSerialNumber) *lpVolumeSerialNumber = volume.serial;
    if (lpMaximumComponentLength) *lpMaximumComponentLength = 255;
    if (lpFileSystemFlags) {
        *lpFileSystemFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES |
                             (volume.driveType == DRIVE_CDROM ? FILE_READ_ONLY_VOLUME : 0);
    }
    return TRUE;
}

DWORD GetLogicalDrives() {
    DWORD mask = 0;
    for (const auto& volume : CurrentVolumes()) {
        int letter = std::toupper(static_cast<unsigned char>(volume.letter));
        if (letter >= 'A' && letter <= 'Z') mask |= DWORD{1} << (letter - 'A');
    }
    return mask;
}
