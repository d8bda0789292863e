// The default volume service: the mount table read as drive letters.
//
// Kept: block-device file systems and whatever holds "/" (an overlay in a container), when
// writable (optical media are kept read-only). Skipped: pseudo and network file systems,
// read-only mounts, bind-mounted files. C is the volume holding the home folder, then D, E, ...
// follow in mount-point order.
#include "platform/win32/Windows.h"

#include "platform/win32/Win32Internal.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

struct MountEntry {
    std::string mountPoint;   // with a trailing '/'
    std::string fsType;
    bool readOnly = false;
};

const std::set<std::string>& BlockFileSystems() {
    static const std::set<std::string> names = {
        "ext2", "ext3", "ext4", "xfs", "btrfs", "vfat", "msdos", "exfat", "ntfs", "ntfs3", "fuseblk",
        "f2fs", "jfs", "reiserfs", "zfs", "hfs", "hfsplus", "iso9660", "udf"};
    return names;
}

bool IsOptical(const std::string& fsType) { return fsType == "iso9660" || fsType == "udf"; }

// The name Windows would give the file system; others keep their own.
std::string WindowsFileSystemName(const std::string& fsType) {
    static const std::map<std::string, std::string> names = {
        {"vfat", "FAT32"}, {"msdos", "FAT"},  {"exfat", "exFAT"}, {"ntfs", "NTFS"},
        {"ntfs3", "NTFS"}, {"fuseblk", "NTFS"}, {"iso9660", "CDFS"}, {"udf", "UDF"}};
    auto it = names.find(fsType);
    return it == names.end() ? fsType : it->second;
}

// The mount table writes blanks, tabs, new lines and backslashes as octal escapes.
std::string Unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        bool octal = field[i] == '\\' && i + 3 < field.size() &&
                     std::isdigit(static_cast<unsigned char>(field[i + 1]));
        if (octal) {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

bool HasOption(const std::string& options, const std::string& wanted) {
    std::istringstream list(options);
    std::string option;
    while (std::getline(list, option, ',')) {
        if (option == wanted) return true;
    }
    return false;
}

// Later mounts on the same point hide earlier ones, as the kernel does.
std::map<std::string, MountEntry> ParseMounts(const std::string& text) {
    std::map<std::string, MountEntry> mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, fsType, options;
        if (!(fields >> device >> mountPoint >> fsType >> options)) continue;
        MountEntry entry{WithSlash(Unescape(mountPoint)), fsType, HasOption(options, "ro")};
        mounts[entry.mountPoint] = entry;
    }
    return mounts;
}

bool Kept(const MountEntry& entry, const std::function<bool(const std::string&)>& isFolder) {
    bool wanted = BlockFileSystems().count(entry.fsType) != 0 || entry.mountPoint == "/";
    if (!wanted) return false;
    if (entry.readOnly && !IsOptical(entry.fsType)) return false;
    return !isFolder || isFolder(entry.mountPoint);
}

UINT DriveTypeOf(const MountEntry& entry) {
    if (IsOptical(entry.fsType)) return DRIVE_CDROM;
    const std::string& mp = entry.mountPoint;
    if (mp.rfind("/media/", 0) == 0 || mp.rfind("/run/media/", 0) == 0) return DRIVE_REMOVABLE;
    return DRIVE_FIXED;
}

// The kept mount holding path (longest prefix), or -1.
int Holder(const std::vector<MountEntry>& kept, const std::string& path) {
    int best = -1;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (WithSlash(path).rfind(kept[i].mountPoint, 0) != 0) continue;
        if (best < 0 || kept[i].mountPoint.size() > kept[static_cast<std::size_t>(best)].mountPoint.size()) {
            best = static_cast<int>(i);
        }
    }
    return best;
}

Win32Volume MakeVolume(const MountEntry& entry, char letter) {
    Win32Volume volume;
    volume.letter = letter;
    volume.mountPoint = entry.mountPoint;
    volume.driveType = DriveTypeOf(entry);
    volume.fileSystem = WindowsFileSystemName(entry.fsType);
    return volume;
}

// ---- what the default service asks the machine ----

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// "\x20" in a by-label name stands for a blank.
std::string UnescapeLabel(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

// Device number -> label, from the links udev keeps.
std::map<dev_t, std::string> LabelsByDevice() {
    std::map<dev_t, std::string> labels;
    const std::string folder = "/dev/disk/by-label/";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return labels;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        struct stat st {};
        if (name == "." || name == ".." || stat((folder + name).c_str(), &st) != 0) continue;
        if (S_ISBLK(st.st_mode)) labels[st.st_rdev] = UnescapeLabel(name);
    }
    closedir(dir);
    return labels;
}

DWORD Fold(unsigned long long value) { return static_cast<DWORD>(value ^ (value >> 32)); }

void Measure(Win32Volume& volume, const std::map<dev_t, std::string>& labels) {
    struct statvfs vfs {};
    if (statvfs(volume.mountPoint.c_str(), &vfs) == 0) {
        volume.freeBytes = static_cast<ULONGLONG>(vfs.f_bavail) * vfs.f_frsize;
        volume.totalBytes = static_cast<ULONGLONG>(vfs.f_blocks) * vfs.f_frsize;
        volume.bytesPerSector = 512;
        volume.sectorsPerCluster = static_cast<DWORD>(std::clamp<unsigned long>(vfs.f_bsize / 512, 1, 128));
        volume.serial = Fold(vfs.f_fsid);
    }
    struct stat st {};
    if (stat(volume.mountPoint.c_str(), &st) == 0) {
        if (volume.serial == 0) volume.serial = Fold(st.st_dev);
        auto it = labels.find(st.st_dev);
        if (it != labels.end()) volume.label = it->second;
    }
}

class MountTableService final : public Win32VolumeService {
public:
    std::vector<Win32Volume> Volumes() override {
        std::ifstream in("/proc/self/mounts");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const char* home = std::getenv("HOME");
        auto volumes = Win32_VolumesFromMounts(text, home && *home ? home : "/", IsFolder);
        auto labels = LabelsByDevice();
        for (auto& volume : volumes) Measure(volume, labels);
        return volumes;
    }
};

}  // namespace

std::vector<Win32Volume> Win32_VolumesFromMounts(const std::string& mountsText, const std::string& homeFolder,
                                                 const std::function<bool(const std::string&)>& isFolder) {
    std::vector<MountEntry> kept;
    for (auto& [mountPoint, entry] : ParseMounts(mountsText)) {
        if (Kept(entry, isFolder)) kept.push_back(entry);   // the map keeps mount-point order
    }
    if (kept.empty()) return {};
    int system = Holder(kept, homeFolder);
    if (system < 0) system = Holder(kept, "/");
    if (system < 0) system = 0;
    std::vector<Win32Volume> volumes{MakeVolume(kept[static_cast<std::size_t>(system)], 'C')};
    char next = 'D';
    for (std::size_t i = 0; i < kept.size() && next <= 'Z'; ++i) {
        if (static_cast<int>(i) != system) volumes.push_back(MakeVolume(kept[i], next++));
    }
    return volumes;
}

Win32VolumeService& Win32_MountTableVolumeService() {
    static auto* service = new MountTableService;
    return *service;
}
