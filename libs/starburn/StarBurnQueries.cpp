// What a drive and its disc are: identity, capabilities, media, disc, TOC, track, speeds.
#include "libs/starburn/StarBurnInternal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace burn;
using namespace starburn;

namespace {

constexpr int PROFILE_STDIO = 0xffff;

struct ProfileCode {
    int profile;
    std::uint32_t code;
};

constexpr ProfileCode kProfileCodes[] = {
    {0x08, STARBURN_MEDIA_CDROM},
    {0x09, STARBURN_MEDIA_CDR},
    {0x0a, STARBURN_MEDIA_CDRW},
    {0x10, STARBURN_MEDIA_DVDROM},
    {0x11, STARBURN_MEDIA_DVDR},
    {0x12, STARBURN_MEDIA_DVDRAM},
    {0x13, STARBURN_MEDIA_DVDRW_OVERWRITE},
    {0x14, STARBURN_MEDIA_DVDRW_SEQUENTIAL},
    {0x1a, STARBURN_MEDIA_DVDPLUSRW},
    {0x1b, STARBURN_MEDIA_DVDPLUSR},
    {0x2b, STARBURN_MEDIA_DVDPLUSR_DL},
    {0x15, STARBURN_MEDIA_DVDR_DL},
    {0x16, STARBURN_MEDIA_DVDR_DL},
    {0x40, STARBURN_MEDIA_BDROM},
    {0x41, STARBURN_MEDIA_BDR},
    {0x42, STARBURN_MEDIA_BDR},
    {0x43, STARBURN_MEDIA_BDRE},
    {0x50, STARBURN_MEDIA_HDDVD_ROM},
    {0x51, STARBURN_MEDIA_HDDVD_R},
    {0x52, STARBURN_MEDIA_HDDVD_RW},
    {0x53, STARBURN_MEDIA_HDDVD_RW},
    // A regular file as a drive reads as DVD-RAM: random access, always writable from block 0.
    {PROFILE_STDIO, STARBURN_MEDIA_DVDRAM},
};

std::uint32_t MediaCode(burn_drive* drive) {
    if (burn_disc_get_status(drive) == BURN_DISC_EMPTY) return STARBURN_MEDIA_EMPTY;
    int profile = 0;
    char name[80] = {};
    if (burn_disc_get_profile(drive, &profile, name) <= 0 || profile == 0) return STARBURN_MEDIA_EMPTY;
    for (const auto& entry : kProfileCodes) {
        if (entry.profile == profile) return entry.code;
    }
    return STARBURN_MEDIA_UNKNOWN;
}

bool HasProfile(burn_drive* drive, std::initializer_list<int> wanted) {
    int count = 0;
    int profiles[64] = {};
    char current[64] = {};
    if (burn_drive_get_all_profiles(drive, &count, profiles, current) <= 0) return false;
    for (int i = 0; i < count; ++i) {
        if (profiles[i] == PROFILE_STDIO) return true;   // a file takes any kind of data
        if (std::find(wanted.begin(), wanted.end(), profiles[i]) != wanted.end()) return true;
    }
    return false;
}

void Put32(std::uint8_t* at, std::uint32_t value) { std::memcpy(at, &value, sizeof value); }

int Profile(burn_drive* drive) {
    int profile = 0;
    char name[80] = {};
    return burn_disc_get_profile(drive, &profile, name) > 0 ? profile : 0;
}

}  // namespace

namespace starburn {

// Overwritable media (and files) always read as blank to libburn, whatever they hold.
bool Overwritable(burn_drive* drive) {
    int profile = Profile(drive);
    return profile == PROFILE_STDIO || profile == 0x12 || profile == 0x13 || profile == 0x1a || profile == 0x43;
}

// The blocks of the ISO 9660 file system at the start of the disc, 0 when there is none.
std::uint32_t IsoBlocks(burn_drive* drive) {
    char descriptor[2048] = {};
    off_t count = 0;
    if (burn_read_data(drive, 16 * 2048, descriptor, sizeof descriptor, &count, 2 | 4) <= 0 ||
        count != static_cast<off_t>(sizeof descriptor))
        return 0;
    if (descriptor[0] != 1 || std::memcmp(descriptor + 1, "CD001", 5) != 0) return 0;
    std::uint32_t blocks = 0;
    std::memcpy(&blocks, descriptor + 80, sizeof blocks);   // volume space size, little-endian half
    return blocks;
}

}  // namespace starburn

namespace {

// Disc status in the record's sense: 0 blank, 1 appendable, 2 complete; -1 no disc.
int DiscStatus(burn_drive* drive) {
    switch (burn_disc_get_status(drive)) {
        case BURN_DISC_BLANK: return Overwritable(drive) && IsoBlocks(drive) > 0 ? 2 : 0;
        case BURN_DISC_APPENDABLE: return 1;
        case BURN_DISC_FULL: return 2;
        default: return -1;
    }
}

}  // namespace

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_TestUnitReady(StarBurnGrabber* grabber, SB_ERR_PARAMS) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (DiscStatus(drive) < 0)
        return error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_NOT_READY, "no disc in the drive");
    return error.Succeed();
}

MODULE_EXPORT void StarBurn_CdvdBurnerGrabber_GetDeviceInformation(StarBurnGrabber* grabber, char vendor[1024],
                                                                   char product[1024], char revision[1024],
                                                                   std::uint32_t* cacheBytes) {
    if (!grabber) return;
    CopyText(vendor, 1024, grabber->vendor);
    CopyText(product, 1024, grabber->product);
    CopyText(revision, 1024, grabber->revision);
    if (cacheBytes) *cacheBytes = grabber->infos ? static_cast<std::uint32_t>(grabber->infos[0].buffer_size) * 1024 : 0;
}

// Flags 0-9: read CD-R, read CD-RW, write CD-R, write CD-RW, read DVD-ROM, read DVD-R,
// read DVD-RAM, write DVD-RAM, write DVD-R/-RW, test write.
MODULE_EXPORT void StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities(StarBurnGrabber* grabber, std::uint8_t* flags) {
    if (!flags) return;
    std::memset(flags, 0, 10);
    if (!grabber || !grabber->infos) return;
    const burn_drive_info& info = grabber->infos[0];
    burn_drive* drive = grabber->drive;
    flags[0] = info.read_cdr;
    flags[1] = info.read_cdrw;
    flags[2] = info.write_cdr;
    flags[3] = info.write_cdrw;
    flags[4] = info.read_dvdrom;
    flags[5] = info.read_dvdr;
    flags[6] = info.read_dvdram;
    flags[7] = info.write_dvdram;
    flags[8] = info.write_dvdr || (drive && HasProfile(drive, {0x11, 0x13, 0x14}));
    flags[9] = info.write_simulate;
}

// Flags 10-15: read BD, write BD, write DVD-RW, write DVD+RW, write DVD+R, write DVD+R DL / DVD-R DL.
MODULE_EXPORT void StarBurn_CdvdBurnerGrabber_GetDeviceCapabilitiesEx(StarBurnGrabber* grabber, std::uint8_t* flags) {
    if (!flags) return;
    std::memset(flags, 0, 6);
    if (!grabber || !grabber->drive) return;
    burn_drive* drive = grabber->drive;
    flags[0] = HasProfile(drive, {0x40, 0x41, 0x42, 0x43});
    flags[1] = HasProfile(drive, {0x41, 0x42, 0x43});
    flags[2] = HasProfile(drive, {0x13, 0x14});
    flags[3] = HasProfile(drive, {0x1a});
    flags[4] = HasProfile(drive, {0x1b});
    flags[5] = HasProfile(drive, {0x2b, 0x15, 0x16});
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_GetInsertedDiscType(StarBurnGrabber* grabber) {
    if (!grabber || !grabber->drive) return STARBURN_MEDIA_EMPTY;
    return MediaCode(grabber->drive);
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_GetDiscInformation(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                          std::uint8_t* record) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (!record)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER,
                          "no disc information record");
    int discStatus = DiscStatus(drive);
    if (discStatus < 0)
        return error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_NOT_READY, "no disc in the drive");
    std::memset(record, 0, STARBURN_DISC_INFORMATION_SIZE);
    record[1] = static_cast<std::uint8_t>(discStatus);
    return error.Succeed();
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_GetVolumeLabel(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                      char label[256]) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (!label)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER, "no label buffer");
    label[0] = '\0';
    if (DiscStatus(drive) < 0)
        return error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_NOT_READY, "no disc in the drive");
    constexpr off_t kDescriptorAt = 16 * 2048;
    char descriptor[2048] = {};
    off_t count = 0;
    if (burn_read_data(drive, kDescriptorAt, descriptor, sizeof descriptor, &count, 2) <= 0 ||
        count != static_cast<off_t>(sizeof descriptor))
        return error.Fail(STARBURN_EXCEPTION_GENERIC, STARBURN_STATUS_READ_FAULT,
                          "the volume descriptor could not be read");
    if (descriptor[0] != 1 || std::memcmp(descriptor + 1, "CD001", 5) != 0)
        return error.Fail(STARBURN_EXCEPTION_FILE_SYSTEM, STARBURN_STATUS_UNRECOGNIZED_VOLUME,
                          "the disc has no ISO 9660 volume descriptor");
    std::string volume(descriptor + 40, 32);
    volume.erase(volume.find_last_not_of(' ') + 1);
    CopyText(label, 256, volume);
    return error.Succeed();
}

// libburn reads the TOC in one way only; the mode is accepted and has no effect.
MODULE_EXPORT void StarBurn_SetTOCMode(std::uint32_t) {}

// Entries: one per track (its start block), then the lead-out (the end of the last track),
// which is counted in NumberOfTracks.
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_GetTOCInformation(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                         std::uint8_t* record) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (!record)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER, "no TOC record");
    std::memset(record, 0, STARBURN_TOC_SIZE);
    burn_disc* disc = burn_drive_get_disc(drive);
    std::uint32_t isoBlocks = disc ? 0 : IsoBlocks(drive);
    if (!disc && isoBlocks == 0)
        return error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_NOT_READY, "the disc has no table of contents");
    int sessionCount = disc ? 0 : 1;
    burn_session** sessions = disc ? burn_disc_get_sessions(disc, &sessionCount) : nullptr;
    // An overwritable disc has one track: its file system.
    std::vector<std::uint32_t> starts;
    if (!disc) starts.push_back(0);
    std::uint32_t end = isoBlocks;
    for (int s = 0; sessions && s < sessionCount; ++s) {
        int trackCount = 0;
        burn_track** tracks = burn_session_get_tracks(sessions[s], &trackCount);
        for (int t = 0; t < trackCount; ++t) {
            burn_toc_entry entry{};
            burn_track_get_entry(tracks[t], &entry);
            std::uint32_t start = (entry.extensions_valid & 1) ? static_cast<std::uint32_t>(entry.start_lba)
                                                               : burn_msf_to_lba(entry.pmin, entry.psec, entry.pframe);
            std::uint32_t blocks = (entry.extensions_valid & 1) ? static_cast<std::uint32_t>(entry.track_blocks) : 0;
            starts.push_back(start);
            end = std::max(end, start + blocks);
        }
    }
    if (disc) burn_disc_free(disc);
    starts.push_back(end);
    constexpr std::size_t kMaxEntries = (STARBURN_TOC_SIZE - 12) / 34;
    if (starts.size() > kMaxEntries) starts.resize(kMaxEntries);
    int profile = 0;
    char name[80] = {};
    burn_disc_get_profile(drive, &profile, name);
    record[0] = 1;
    record[1] = (profile >= 0x10 && profile < 0x40) || profile == PROFILE_STDIO;
    record[9] = static_cast<std::uint8_t>(std::min(sessionCount, 255));
    record[10] = static_cast<std::uint8_t>(starts.size());
    for (std::size_t k = 0; k < starts.size(); ++k) {
        std::uint8_t* entry = record + 12 + 34 * k;
        entry[0] = static_cast<std::uint8_t>(k + 1);
        Put32(entry + 10, starts[k]);
    }
    return error.Succeed();
}

namespace {

// A single-layer disc's capacity in bytes.
constexpr off_t kSingleLayerBytes = static_cast<off_t>(2295104) * 2048;

// A file as a drive is taken for a single-layer disc: the host's free space (terabytes) would
// let the size check pass folders that no real disc holds.
off_t DiscFreeBytes(const StarBurnGrabber& grabber, burn_drive* drive) {
    off_t freeBytes = burn_disc_available_space(drive, nullptr);
    if (grabber.address.rfind("stdio:", 0) == 0) freeBytes = std::min(freeBytes, kSingleLayerBytes);
    return freeBytes;
}

}  // namespace

// Only the last track (0xFF, the next one to write) is known to libburn.
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_GetTrackInformation(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                           std::uint32_t track, std::uint8_t* record) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (!record)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER, "no track record");
    if (track != 0xFF)
        return error.Fail(STARBURN_EXCEPTION_UNSUPPORTED, STARBURN_STATUS_NOT_SUPPORTED,
                          "only track 0xFF can be asked for");
    int discStatus = DiscStatus(drive);
    if (discStatus < 0)
        return error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_NOT_READY, "no disc in the drive");
    std::memset(record, 0, STARBURN_TRACK_INFORMATION_SIZE);
    int lba = 0, nwa = 0;
    bool nwaValid = burn_disc_track_lba_nwa(drive, nullptr, 0, &lba, &nwa) > 0;
    // What an overwritable disc holds is simply written over: its whole capacity is free.
    off_t freeBytes = discStatus == 2 && !Overwritable(drive) ? 0 : DiscFreeBytes(*grabber, drive);
    record[1] = 1;
    record[9] = discStatus == 0;
    record[11] = nwaValid;
    Put32(record + 16, nwaValid ? static_cast<std::uint32_t>(nwa) : 0);
    Put32(record + 20, static_cast<std::uint32_t>(std::max<off_t>(0, freeBytes) / 2048));
    return error.Succeed();
}

namespace {

// 1x DVD is 1385 KB/s of 1000 bytes; a drive that lists no speeds (a file) takes any.
constexpr std::uint32_t kFileMaxKBps = 22160;

std::uint32_t MaxWriteKBps(burn_drive* drive) {
    int speed = burn_drive_get_write_speed(drive);
    return speed > 0 ? static_cast<std::uint32_t>(speed) : kFileMaxKBps;
}

std::uint32_t MaxReadKBps(burn_drive* drive) {
    int speed = burn_drive_get_read_speed(drive);
    return speed > 0 ? static_cast<std::uint32_t>(speed) : kFileMaxKBps;
}

// The speed the drive takes for a request: the fastest listed one not above it, else the slowest.
std::uint32_t TakenSpeed(burn_drive* drive, std::uint32_t requested, bool write, std::uint32_t maximum) {
    if (requested == 0) return maximum;
    burn_speed_descriptor* list = nullptr;
    if (burn_drive_get_speedlist(drive, &list) <= 0 || !list) return std::min(requested, maximum);
    std::uint32_t best = 0, slowest = 0;
    for (burn_speed_descriptor* d = list; d; d = d->next) {
        int value = write ? d->write_speed : d->read_speed;
        if (value <= 0) continue;
        auto speed = static_cast<std::uint32_t>(value);
        if (speed <= requested) best = std::max(best, speed);
        if (slowest == 0 || speed < slowest) slowest = speed;
    }
    burn_drive_free_speedlist(&list);
    if (best) return best;
    return slowest ? slowest : std::min(requested, maximum);
}

}  // namespace

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_GetSpeeds(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                 std::uint32_t* currentRead, std::uint32_t* maxRead,
                                                                 std::uint32_t* currentWrite, std::uint32_t* maxWrite) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    std::uint32_t readMax = MaxReadKBps(drive), writeMax = MaxWriteKBps(drive);
    if (maxRead) *maxRead = readMax;
    if (maxWrite) *maxWrite = writeMax;
    if (currentRead) *currentRead = TakenSpeed(drive, grabber->requestedReadKBps, false, readMax);
    if (currentWrite) *currentWrite = TakenSpeed(drive, grabber->requestedWriteKBps, true, writeMax);
    return error.Succeed();
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_SetSpeeds(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                 std::uint32_t readKBps, std::uint32_t writeKBps) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (readKBps != STARBURN_SPEED_NOT_SET) grabber->requestedReadKBps = readKBps;
    if (writeKBps != STARBURN_SPEED_NOT_SET) grabber->requestedWriteKBps = writeKBps;
    int read = grabber->requestedReadKBps ? static_cast<int>(grabber->requestedReadKBps) : 0;
    int write = grabber->requestedWriteKBps ? static_cast<int>(grabber->requestedWriteKBps) : 0;
    burn_drive_set_speed(drive, read, write);
    return error.Succeed();
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                                std::uint8_t* trackAtOnce,
                                                                                std::uint8_t* sessionAtOnce,
                                                                                std::uint8_t* discAtOncePQ,
                                                                                std::uint8_t* discAtOnceRawPW) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    burn_multi_caps* caps = nullptr;
    if (burn_disc_get_multi_caps(drive, BURN_WRITE_NONE, &caps, 0) <= 0 || !caps) {
        if (caps) burn_disc_free_multi_caps(&caps);
        return error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_NOT_READY, "the disc cannot be written");
    }
    if (trackAtOnce) *trackAtOnce = caps->might_do_tao != 0;
    if (sessionAtOnce) *sessionAtOnce = caps->might_do_sao != 0;
    if (discAtOncePQ) *discAtOncePQ = caps->might_do_sao != 0;
    if (discAtOnceRawPW) *discAtOnceRawPW = caps->might_do_raw != 0;
    burn_disc_free_multi_caps(&caps);
    return error.Succeed();
}

// Flags: CD-ROM, CD-R, CD-RW, DVD-ROM, DVD-R, DVD-RAM reading.
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                               std::uint8_t* flags6) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (!flags6)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER,
                          "no read-mode flags");
    const burn_drive_info& info = grabber->infos[0];
    flags6[0] = 1;
    flags6[1] = info.read_cdr;
    flags6[2] = info.read_cdrw;
    flags6[3] = info.read_dvdrom;
    flags6[4] = info.read_dvdr;
    flags6[5] = info.read_dvdram;
    return error.Succeed();
}

// A grabbed drive's tray is locked: Lock grabs a drive that was let go (leaving its tray as it
// is), Release lets go of it, so the tray and other programs are free again.
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_Lock(StarBurnGrabber* grabber, SB_ERR_PARAMS) {
    SB_ERR;
    error.Begin();
    if (!grabber)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER, "no grabber");
    if (!grabber->busy && Grab(*grabber, TrayLoad::Leave)) return error.Succeed();
    std::uint32_t result = 0;
    GrabbedDrive(grabber, error, result);
    return result ? result
                  : error.Fail(STARBURN_EXCEPTION_NO_DEVICE, STARBURN_STATUS_FILE_NOT_FOUND,
                               "the drive could not be grabbed again");
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_Release(StarBurnGrabber* grabber, SB_ERR_PARAMS) {
    SB_ERR;
    std::uint32_t result = 0;
    if (!GrabbedDrive(grabber, error, result)) return result;
    Ungrab(*grabber, false);
    return error.Succeed();
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_Eject(StarBurnGrabber* grabber, SB_ERR_PARAMS) {
    SB_ERR;
    std::uint32_t result = 0;
    if (!GrabbedDrive(grabber, error, result)) return result;
    Ungrab(*grabber, true);
    return error.Succeed();
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_Load(StarBurnGrabber* grabber, SB_ERR_PARAMS) {
    SB_ERR;
    error.Begin();
    if (!grabber)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER, "no grabber");
    if (grabber->busy) {
        std::uint32_t result = 0;
        GrabbedDrive(grabber, error, result);
        return result;
    }
    // Only a grab that loads closes the tray: let go of the drive and take it again so.
    Ungrab(*grabber, false);
    if (!Grab(*grabber, TrayLoad::Close))
        return error.Fail(STARBURN_EXCEPTION_NO_DEVICE, STARBURN_STATUS_FILE_NOT_FOUND,
                          "the drive could not be grabbed again");
    return error.Succeed();
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_GetBUP(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                              std::uint8_t* enabled, std::uint8_t* supported) {
    SB_ERR;
    std::uint32_t result = 0;
    if (!GrabbedDrive(grabber, error, result)) return result;
    if (enabled) *enabled = grabber->bufferUnderrunProtection;
    if (supported) *supported = 1;   // libburn asks for it in the write options; drives that lack it ignore it
    return error.Succeed();
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_SetBUP(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                              std::uint8_t enable) {
    SB_ERR;
    std::uint32_t result = 0;
    if (!GrabbedDrive(grabber, error, result)) return result;
    grabber->bufferUnderrunProtection = enable != 0;
    return error.Succeed();
}

// OPC is done by the drive at the start of the next write (libburn's write option).
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_SendOPC(StarBurnGrabber* grabber, SB_ERR_PARAMS) {
    SB_ERR;
    std::uint32_t result = 0;
    if (!GrabbedDrive(grabber, error, result)) return result;
    grabber->performOpc = true;
    return error.Succeed();
}
