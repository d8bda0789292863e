// Volumes: the Win32 answers over a scripted volume service, and the mount-table reading.
#include <gtest/gtest.h>

#include <map>

#include "platform/win32/Windows.h"

namespace {

constexpr ULONGLONG kTiB = ULONGLONG{1} << 40;

class ScriptedVolumes : public Win32VolumeService {
public:
    std::vector<Win32Volume> volumes;
    std::vector<Win32Volume> Volumes() override { return volumes; }
};

Win32Volume Volume(char letter, std::string mountPoint, UINT type, std::string label, std::string fs,
                   ULONGLONG freeBytes, ULONGLONG totalBytes, DWORD serial = 0) {
    Win32Volume v;
    v.letter = letter;
    v.mountPoint = std::move(mountPoint);
    v.driveType = type;
    v.label = std::move(label);
    v.fileSystem = std::move(fs);
    v.freeBytes = freeBytes;
    v.totalBytes = totalBytes;
    v.serial = serial;
    return v;
}

class Win32Volumes : public ::testing::Test {
protected:
    void SetUp() override {
        service_.volumes = {
            Volume('C', "/", DRIVE_FIXED, "System", "ext4", 4096 * 1000 + 100, 4096 * 5000, 0x1234ABCD),
            Volume('D', "/media/usb/", DRIVE_REMOVABLE, "STICK", "FAT32", 0, 4096 * 10),
            Volume('E', "/mnt/big/", DRIVE_FIXED, "", "xfs", 20 * kTiB, 40 * kTiB),
            Volume('F', "/media/cdrom/", DRIVE_CDROM, "MOVIE", "UDF", 0, 4096 * 2000),
        };
        service_.volumes[3].sectorsPerCluster = 1;
        service_.volumes[3].bytesPerSector = 2048;
        Win32_SetVolumeService(&service_);
    }
    void TearDown() override { Win32_SetVolumeService(nullptr); }
    ScriptedVolumes service_;
};

TEST_F(Win32Volumes, DriveTypesByLetterOrPath) {
    const std::map<std::string, UINT> cases = {
        {"C:\\", DRIVE_FIXED},          {"d:", DRIVE_REMOVABLE},   {"D:/x/y", DRIVE_REMOVABLE},
        {"f:\\", DRIVE_CDROM},          {"Q:\\", DRIVE_NO_ROOT_DIR}, {"/media/usb/films", DRIVE_REMOVABLE},
        {"/media/usb", DRIVE_REMOVABLE}, {"/media/usbstick", DRIVE_FIXED}, {"/mnt/big/a/b", DRIVE_FIXED},
        {"", DRIVE_NO_ROOT_DIR}};
    for (const auto& [root, type] : cases) EXPECT_EQ(GetDriveTypeA(root.c_str()), type) << root;
}

TEST_F(Win32Volumes, FindVolumeTakesTheLongestMountPointPrefix) {
    Win32Volume found;
    ASSERT_TRUE(Win32_FindVolume("/media/cdrom/VIDEO_TS", found));
    EXPECT_EQ(found.letter, 'F');
    ASSERT_TRUE(Win32_FindVolume("\\media\\usb\\a", found));
    EXPECT_EQ(found.letter, 'D');
    ASSERT_TRUE(Win32_FindVolume("/etc", found));
    EXPECT_EQ(found.letter, 'C');
    EXPECT_FALSE(Win32_FindVolume("z:", found));
}

TEST_F(Win32Volumes, FreeSpaceInClustersMultipliesBackToTheBytes) {
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectors, &bytes, &freeClusters, &totalClusters));
    EXPECT_EQ(sectors, 8u);
    EXPECT_EQ(bytes, 512u);
    EXPECT_EQ(freeClusters, 1000u);   // the 100 bytes short of a cluster don't count
    EXPECT_EQ(totalClusters, 5000u);
    ASSERT_TRUE(GetDiskFreeSpaceA("F:\\", &sectors, &bytes, &freeClusters, &totalClusters));
    EXPECT_EQ(ULONGLONG{sectors} * bytes * totalClusters, ULONGLONG{4096} * 2000);
    EXPECT_EQ(freeClusters, 0u);
}

TEST_F(Win32Volumes, ClusterCountsOfHugeVolumesAreClampedTo32Bits) {
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA("E:\\", &sectors, &bytes, &freeClusters, &totalClusters));
    EXPECT_EQ(freeClusters, 0xFFFFFFFFu);
    EXPECT_EQ(totalClusters, 0xFFFFFFFFu);
    ULONGLONG available = 0, total = 0, totalFree = 0;
    ASSERT_TRUE(GetDiskFreeSpaceExA("E:\\films", &available, &total, &totalFree));
    EXPECT_EQ(available, 20 * kTiB);
    EXPECT_EQ(total, 40 * kTiB);
    EXPECT_EQ(totalFree, 20 * kTiB);
    EXPECT_FALSE(GetDiskFreeSpaceA("Q:\\", &sectors, &bytes, &freeClusters, &totalClusters));
    EXPECT_FALSE(GetDiskFreeSpaceExA("Q:\\", &available, nullptr, nullptr));
}

TEST_F(Win32Volumes, VolumeInformationGivesLabelSerialAndFileSystem) {
    char label[32] = {}, fs[16] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    ASSERT_TRUE(GetVolumeInformationA("C:\\", label, sizeof label, &serial, &maxComponent, &flags, fs, sizeof fs));
    EXPECT_STREQ(label, "System");
    EXPECT_EQ(serial, 0x1234ABCDu);
    EXPECT_EQ(maxComponent, 255u);
    EXPECT_STREQ(fs, "ext4");
    EXPECT_EQ(flags & FILE_READ_ONLY_VOLUME, 0u);
    ASSERT_TRUE(GetVolumeInformationA("F:\\", label, sizeof label, nullptr, nullptr, &flags, fs, sizeof fs));
    EXPECT_STREQ(label, "MOVIE");
    EXPECT_STREQ(fs, "UDF");
    EXPECT_NE(flags & FILE_READ_ONLY_VOLUME, 0u);
    ASSERT_TRUE(GetVolumeInformationA("E:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_STREQ(label, "");
    char tiny[3] = {};
    EXPECT_FALSE(GetVolumeInformationA("C:\\", tiny, sizeof tiny, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_FALSE(GetVolumeInformationA("Q:\\", label, sizeof label, nullptr, nullptr, nullptr, fs, sizeof fs));
}

TEST_F(Win32Volumes, LogicalDrivesHaveABitPerLetter) {
    EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5));
}

TEST_F(Win32Volumes, LocalPathMapsTheDriveToItsMountPoint) {
    const std::map<std::string, std::string> cases = {
        {"D:\\a\\b", "/media/usb/a/b"}, {"d:/a/b", "/media/usb/a/b"}, {"C:\\", "/"},
        {"C:", "/"},                    {"F:VIDEO_TS", "/media/cdrom/VIDEO_TS"},
        {"relative\\x", "relative/x"},  {"/already/local", "/already/local"},
        {"Q:\\x\\y", "Q:/x/y"}};   // an unknown drive stays unresolved
    for (const auto& [windows, local] : cases) EXPECT_EQ(Win32_LocalPath(windows), local) << windows;
}

TEST(Win32VolumeService, RestoringTheMountTableFindsTheRootsVolume) {
    Win32_SetVolumeService(nullptr);
    Win32Volume root;
    ASSERT_TRUE(Win32_FindVolume("/", root));
    EXPECT_EQ(root.mountPoint.back(), '/');
    EXPECT_NE(GetLogicalDrives() & (1u << (root.letter - 'A')), 0u);
    EXPECT_GT(root.totalBytes, 0u);
}

// ---- the mount table ----

const char* const kMounts =
    "overlay / overlay rw,relatime,lowerdir=/a,upperdir=/b 0 0\n"
    "proc /proc proc rw,nosuid 0 0\n"
    "sysfs /sys sysfs ro,nosuid 0 0\n"
    "tmpfs /dev tmpfs rw,nosuid 0 0\n"
    "/dev/sda2 /home ext4 rw,relatime 0 0\n"
    "/dev/sda3 /mnt/readonly ext4 ro,relatime 0 0\n"
    "/dev/sdb1 /media/user/STICK vfat rw,nosuid,uid=1000 0 0\n"
    "/dev/sr0 /media/user/DVD udf ro,nosuid 0 0\n"
    "/dev/sda2 /etc/hosts ext4 rw,relatime 0 0\n"
    "server:/x /net nfs4 rw 0 0\n"
    "/dev/sdc1 /mnt/with\\040space ntfs3 rw 0 0\n"
    "/dev/sdd1 /run/media/user/Backup exfat rw 0 0\n"
    "tmpfs /mnt/shadowed tmpfs rw 0 0\n"
    "/dev/sde1 /mnt/shadowed xfs rw 0 0\n";

bool NotAFile(const std::string& mountPoint) { return mountPoint != "/etc/hosts/"; }

TEST(Win32MountTable, KeepsWritableLocalFileSystemsAndLettersThemFromTheHome) {
    auto volumes = Win32_VolumesFromMounts(kMounts, "/home/user", NotAFile);
    struct Expected {
        char letter;
        const char* mountPoint;
        UINT type;
        const char* fileSystem;
    };
    const Expected expected[] = {
        {'C', "/home/", DRIVE_FIXED, "ext4"},
        {'D', "/", DRIVE_FIXED, "overlay"},
        {'E', "/media/user/DVD/", DRIVE_CDROM, "UDF"},
        {'F', "/media/user/STICK/", DRIVE_REMOVABLE, "FAT32"},
        {'G', "/mnt/shadowed/", DRIVE_FIXED, "xfs"},
        {'H', "/mnt/with space/", DRIVE_FIXED, "NTFS"},
        {'I', "/run/media/user/Backup/", DRIVE_REMOVABLE, "exFAT"},
    };
    ASSERT_EQ(volumes.size(), std::size(expected));
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        EXPECT_EQ(volumes[i].letter, expected[i].letter) << i;
        EXPECT_EQ(volumes[i].mountPoint, expected[i].mountPoint) << i;
        EXPECT_EQ(volumes[i].driveType, expected[i].type) << i;
        EXPECT_EQ(volumes[i].fileSystem, expected[i].fileSystem) << i;
    }
}

TEST(Win32MountTable, TheRootIsCWhenNoVolumeHoldsTheHome) {
    auto volumes = Win32_VolumesFromMounts("/dev/sda1 / ext4 rw 0 0\n/dev/sda2 /data xfs rw 0 0\n"
                                           "tmpfs /home tmpfs rw 0 0\n",
                                           "/home/user", nullptr);
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].letter, 'C');
    EXPECT_EQ(volumes[0].mountPoint, "/");   // /home is a tmpfs: not a volume, so "/" holds it
    EXPECT_EQ(volumes[1].letter, 'D');
    EXPECT_EQ(volumes[1].mountPoint, "/data/");
    EXPECT_TRUE(Win32_VolumesFromMounts("proc /proc proc rw 0 0\n", "/", nullptr).empty());
}

}  // namespace
