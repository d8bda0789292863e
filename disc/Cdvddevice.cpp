#include "disc/Cdvddevice.h"

#include "disc/Log.h"
#include "disc/StarBurnSdk.h"
#include "platform/win32/Windows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kSptiNames = 20;

const char* const kMediaTypeNames[] = {
    "Unknown", "CDROM",  "CD-R",  "CD-RW", "DVD-ROM",  "DVD-R", "DVD-RAM", "DVD-RW",
    "DVD-RW",  "DVD+RW", "CDROM", "CD-R",  "CD-RW",    "DVD+R", "Empty",   "DVD+R DL",
    "DVD-R DL", "BD-ROM", "BD-R", "BD-RE", "HD-DVD ROM", "HD-DVD R", "HD-DVD RW",
};

std::uint32_t Read32(const std::uint8_t* at) {
    std::uint32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

const char* YesNo(bool value) { return value ? "Yes" : "No"; }

}  // namespace

// ---- construction ---------------------------------------------------------------------------

CDevice::CDevice(const std::uint8_t address[STARBURN_DEVICE_ADDRESS_SIZE]) {
    std::memcpy(m_Address, address, STARBURN_DEVICE_ADDRESS_SIZE);
    m_AccessMode = TAccessMode::ScsiAddress;
}

CDevice::CDevice(const char* name) {
    std::snprintf(m_DeviceName, sizeof m_DeviceName, "%s", name ? name : "");
    m_AccessMode = TAccessMode::DeviceName;
}

CDevice::~CDevice() {
    StopEraseProgress();
    DestroyGrabber();
}

void CDevice::DestroyGrabber() {
    const StarBurnApi* sdk = StarBurnSdk();
    if (m_Grabber && sdk) sdk->StarBurn_CdvdBurnerGrabber_Destroy(&m_Grabber);
    m_Grabber = nullptr;
}

std::vector<std::unique_ptr<CDevice>>& CDevice::Devices() {
    static std::vector<std::unique_ptr<CDevice>> devices;
    return devices;
}

bool CDevice::Sdk(const SdkCall& call) {
    const StarBurnApi* sdk = StarBurnSdk();
    m_ExceptionText[0] = '\0';
    if (!sdk) {
        m_LastResult = STARBURN_EXCEPTION_GENERIC;
        m_Status = STARBURN_STATUS_GEN_FAILURE;
        std::snprintf(m_ExceptionText, sizeof m_ExceptionText, "starburn.dll is missing");
        return false;
    }
    m_LastResult = call(*sdk, m_ExceptionText, static_cast<std::uint32_t>(sizeof m_ExceptionText), &m_Status, &m_Cdb);
    m_ExceptionText[sizeof m_ExceptionText - 1] = '\0';
    return m_LastResult == STARBURN_OK;
}

// Every "..., exception %ld, status %ld, text '%s'" line of the device, after its own head.
void CDevice::LogFailure(const char* head) {
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR, "%sexception %ld, status %ld, text '%s'\n", head,
        static_cast<long>(m_LastResult), static_cast<long>(m_Status), m_ExceptionText);
}

// ---- discovery ------------------------------------------------------------------------------

bool CDevice::InitStarBurnDll() {
    const StarBurnApi* sdk = StarBurnSdk();
    std::uint32_t result = sdk ? sdk->StarBurn_UpStartEx() : STARBURN_EXCEPTION_GENERIC;
    if (result == STARBURN_OK) return true;
    Log(LOG_CHANNEL_STATUS, LOG_LEVEL_ERROR, "Can't UpStartEx StarBurn");
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR, "\n\nCDevice::InitStarBurnDll():StarBurn_UpStartEx() failed, exception %ld \n",
        static_cast<long>(result));
    return false;
}

void CDevice::FindDeviceCallback(std::uint32_t code, void*, void* first, void*) {
    if (code != STARBURN_CN_DEVICE_FOUND || !first) return;
    const auto* address = static_cast<const std::uint8_t*>(first);
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO,
        "\nCDevice::FindDeviceCallback): Probing SCSI address %ld:%ld:%ld:%ld for CD/DVD device... ",
        static_cast<long>(address[1]), static_cast<long>(address[2]), static_cast<long>(address[3]),
        static_cast<long>(address[4]));
    Devices().push_back(std::make_unique<CDevice>(address));
}

void CDevice::FindASPIDevices() {
    InitStarBurnDll();
    Devices().clear();
    if (const StarBurnApi* sdk = StarBurnSdk()) sdk->StarBurn_FindDevice(5, 0, FindDeviceCallback, nullptr);
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "CDevice::FindASPIDevices(): found %d devices \r\n",
        static_cast<int>(Devices().size()));
}

void CDevice::FindSPTIDevices() {
    InitStarBurnDll();
    Devices().clear();
    const StarBurnApi* sdk = StarBurnSdk();
    for (int n = 0; sdk && n < kSptiNames; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "CdRom%d", n);
        StarBurnGrabber* probe = nullptr;
        char text[STARBURN_TEXT_SIZE] = {};
        std::uint32_t status = 0;
        StarBurnCdbFailure cdb{};
        if (sdk->StarBurn_CdvdBurnerGrabber_CreateEx(&probe, text, sizeof text, &status, &cdb, FindDeviceCallback,
                                                     nullptr, name, 1) != STARBURN_OK)
            continue;
        // The probe's grab is let go at once, so the device can grab the drive itself.
        sdk->StarBurn_CdvdBurnerGrabber_Destroy(&probe);
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "Found device: <%s>\n", name);
        Devices().push_back(std::make_unique<CDevice>(name));
    }
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "CDevice::FindSPTIDevices(): found %d devices \r\n",
        static_cast<int>(Devices().size()));
}

// ---- grabber --------------------------------------------------------------------------------

bool CDevice::CdvdBurnerGrabberCreate(StarBurnCallback callback, std::uint32_t flag) {
    m_LastResult = 0;
    m_Status = STARBURN_STATUS_GEN_FAILURE;
    StarBurnGrabber* made = nullptr;
    bool ok = true;
    if (m_AccessMode == TAccessMode::DeviceName) {
        ok = Call(&StarBurnApi::StarBurn_CdvdBurnerGrabber_CreateEx, &made, callback, this, m_DeviceName, flag);
    } else {
        ok = Call(&StarBurnApi::StarBurn_CdvdBurnerGrabber_Create, &made, callback, this, m_Address[1], m_Address[2],
                  m_Address[3], m_Address[4], flag);
    }
    if (!ok) return false;
    m_Grabber = made;
    return true;
}

bool CDevice::EnsureGrabber() { return m_Grabber || CdvdBurnerGrabberCreate(NullCallback, 1); }

// What was known of the disc no longer holds.
void CDevice::ForgetDisc() {
    m_UsedSize = 0;
    m_FreeSize = 0;
    std::memset(m_TOC, 0, sizeof m_TOC);
    std::memset(m_LastTrack, 0, sizeof m_LastTrack);
    m_WriteSpeeds.clear();
}

bool CDevice::TestUnitReady() {
    if (!EnsureGrabber()) return false;
    m_LastResult = 0;
    m_Status = STARBURN_STATUS_GEN_FAILURE;
    return OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_TestUnitReady);
}

// ---- drive information ----------------------------------------------------------------------

bool CDevice::RefreshDeviceInfo() {
    if (!EnsureGrabber()) return false;
    const StarBurnApi* sdk = StarBurnSdk();
    sdk->StarBurn_CdvdBurnerGrabber_GetDeviceInformation(m_Grabber, m_Identification[0], m_Identification[1],
                                                         m_Identification[2], &m_CacheSize);
    for (auto& text : m_Identification) text[sizeof text - 1] = '\0';
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "OK!\nCDevice::RefreshDeviceInfo()): Found CD/DVD device '%s' '%s' '%s'\n",
        m_Identification[0], m_Identification[1], m_Identification[2]);
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "CDevice::RefreshDeviceInfo(): With %ld UCHAR(s) of cache\n",
        static_cast<long>(m_CacheSize));
    RefreshDeviceLetter(m_DriveLetter);
    std::uint8_t flags[10] = {}, flagsEx[6] = {};
    sdk->StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities(m_Grabber, flags);
    sdk->StarBurn_CdvdBurnerGrabber_GetDeviceCapabilitiesEx(m_Grabber, flagsEx);
    for (int i = 0; i < 10; ++i) m_Capabilities[i] = flags[i] != 0;
    for (int i = 0; i < 6; ++i) m_Capabilities[10 + i] = flagsEx[i] != 0;
    return true;
}

bool CDevice::RefreshDeviceLetter(char* out) {
    char letter[4] = {};
    const StarBurnApi* sdk = StarBurnSdk();
    if (out) out[0] = '\0';
    if (!sdk) return false;
    if (m_AccessMode == TAccessMode::DeviceName) {
        char sdkLetter[3] = {};
        m_LastResult = sdk->StarBurn_GetDeviceLetter(m_DeviceName, sdkLetter, &m_Status);
        if (m_LastResult != STARBURN_OK) {
            Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR,
                "\n\nCDevice::RefreshDeviceLetter: StarBurn_GetDeviceLetter() failed, exception %ld, status %ld \n",
                static_cast<long>(m_LastResult), static_cast<long>(m_Status));
            return false;
        }
        std::memcpy(letter, sdkLetter, 2);   // the SDK's letter may lack its terminator
    } else {
        char name[STARBURN_TEXT_SIZE] = {};
        m_LastResult = sdk->StarBurn_GetDeviceNameByDeviceAddress(m_Address[1], m_Address[2], m_Address[3],
                                                                  m_Address[4], name);
        if (m_LastResult != STARBURN_OK) {
            Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR,
                "\n\nCDevice::RefreshDeviceLetter: StarBurn_GetDeviceNameByDeviceAddress() failed, exception %d \n",
                static_cast<int>(m_LastResult));
            return false;
        }
        name[sizeof name - 1] = '\0';
        if (std::strlen(name) > 4) std::snprintf(letter, sizeof letter, "%.3s", name + 4);
    }
    if (out) std::memcpy(out, letter, sizeof letter);
    return true;
}

void CDevice::RefreshReadWriteModes() {
    std::uint8_t modes[4] = {};
    // The SDK answers TAO, SAO, DAO-PQ, DAO raw; the flags keep DAO-PQ, SAO, TAO, DAO raw.
    bool ok = m_Grabber && OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes, &modes[2],
                                     &modes[1], &modes[0], &modes[3]);
    if (!ok) {
        LogFailure("\n\n RefreshReadWriteModes():StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes() failed, ");
        std::memset(modes, 0, sizeof modes);
    }
    for (int i = 0; i < 4; ++i) m_WriteModes[i] = modes[i] != 0;
    std::uint8_t read[6] = {};
    ok = m_Grabber && OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes, read);
    if (!ok) {
        LogFailure("\n\n RefreshReadWriteModes():StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes() failed, ");
        std::memset(read, 0, sizeof read);
    }
    for (int i = 0; i < 6; ++i) m_ReadModes[i] = read[i] != 0;
}

// ---- disc information -----------------------------------------------------------------------

bool CDevice::RefreshMediaInfo() {
    GetTrackInfo(0xFF, m_LastTrack);
    return RefreshMediaType() && RefreshVolumeLabel() && RefreshMediaSize() && RefreshFreeSize();
}

bool CDevice::RefreshMediaType() {
    if (!EnsureGrabber()) return false;
    std::uint32_t type = StarBurnSdk()->StarBurn_CdvdBurnerGrabber_GetInsertedDiscType(m_Grabber);
    // Another disc: its speeds are not the last one's.
    if (type != m_MediaType) m_WriteSpeeds.clear();
    m_MediaType = type;
    return true;
}

// The mounted volume's label first; a disc nobody mounted is asked through the drive.
bool CDevice::RefreshVolumeLabel() {
    char label[256] = {};
    if (m_MediaType != MEDIA_TYPE_EMPTY) {
        if (m_DriveLetter[0]) {
            std::string root = std::string(m_DriveLetter) + "\\";
            GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
            label[sizeof label - 1] = '\0';
        }
        if (!label[0] && m_Grabber) {
            OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetVolumeLabel, label);
            label[sizeof label - 1] = '\0';
        }
    }
    std::memcpy(m_VolumeLabel, label, sizeof label);
    return true;
}

bool CDevice::RefreshMediaSize() {
    if (!EnsureGrabber() || !TestUnitReady()) {
        ForgetDisc();
        return false;
    }
    std::uint32_t mediaType = StarBurnSdk()->StarBurn_CdvdBurnerGrabber_GetInsertedDiscType(m_Grabber);
    std::uint8_t disc[STARBURN_DISC_INFORMATION_SIZE] = {};
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetDiscInformation, disc)) {
        LogFailure("\nRefreshMediaSize(): StarBurn_CdvdBurnerGrabber_GetDiscInformation() failed, ");
        ForgetDisc();
        return false;
    }
    std::vector<std::uint8_t> tocRecord(STARBURN_TOC_SIZE, 0);
    std::uint8_t* toc = tocRecord.data();
    StarBurnSdk()->StarBurn_SetTOCMode(1);
    bool haveToc = OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetTOCInformation, toc);
    if (!haveToc) {
        LogFailure("\n\nRefreshMediaSize(): StarBurn_CdvdBurnerGrabber_GetTOCInformation() failed, ");
    } else {
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO,
            "\nRefreshMediaSize(): TOC IsValid %s, IsDVD %s, NumberOfSessions: %ld, NumberOfTracks: %ld\n",
            YesNo(toc[TOC_IS_VALID] == 1), YesNo(toc[TOC_IS_DVD] == 1), static_cast<long>(toc[TOC_SESSIONS]),
            static_cast<long>(toc[TOC_TRACKS]));
    }
    std::uint8_t track[STARBURN_TRACK_INFORMATION_SIZE] = {};
    bool haveTrack = QueryInvisibleTrack(track);
    // The block address of TOC entry k; false when the TOC has no such entry.
    auto entryAddress = [&](int k, double& bytes) {
        if (!haveToc || k < 0 || k >= toc[TOC_TRACKS]) return false;
        bytes = Read32(toc + TOC_FIRST_ENTRY + TOC_ENTRY_BYTES * static_cast<std::size_t>(k) + TOC_ENTRY_ADDRESS) *
                BLOCK_BYTES;
        return true;
    };
    std::uint8_t discStatus = disc[1];
    int tracks = toc[TOC_TRACKS];
    if (discStatus == 0) {
        m_UsedSize = 0;
    } else if (discStatus == 1 || mediaType == STARBURN_MEDIA_DVDRW_OVERWRITE ||
               mediaType == STARBURN_MEDIA_DVDRW_SEQUENTIAL) {
        if (haveTrack && track[TRACK_NWA_VALID] == 1 && Read32(track + TRACK_NWA) == 0) {
            m_UsedSize = 0;
        } else {
            int entry =
                (mediaType == STARBURN_MEDIA_DVDR || mediaType == STARBURN_MEDIA_DVDPLUSR) ? tracks - 2 : tracks - 1;
            double bytes = 0;
            if (entryAddress(entry, bytes)) m_UsedSize = bytes;
            else if (haveTrack) m_UsedSize = Read32(track + TRACK_NWA) * BLOCK_BYTES;
        }
    } else if (discStatus == 2) {
        double bytes = 0;
        if (entryAddress(tracks - 1, bytes)) m_UsedSize = bytes;
    }
    return true;
}

bool CDevice::QueryInvisibleTrack(std::uint8_t* track) {
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetTrackInformation, 0xFF, track)) return false;
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO,
        "\nRefreshMediaSize(): Track blank: %s, NWA valid: %s, free LBs %ld, NWA %ld, track number %ld\n",
        YesNo(track[TRACK_BLANK] != 0), YesNo(track[TRACK_NWA_VALID] == 1),
        static_cast<long>(Read32(track + TRACK_FREE_BLOCKS)), static_cast<long>(Read32(track + TRACK_NWA)),
        static_cast<long>(track[TRACK_NUMBER]));
    return true;
}

bool CDevice::RefreshFreeSize() {
    std::uint8_t track[STARBURN_TRACK_INFORMATION_SIZE] = {};
    if (!EnsureGrabber() || !OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetTrackInformation, 0xFF, track)) {
        m_FreeSize = 0;
        return false;
    }
    m_FreeSize = Read32(track + TRACK_FREE_BLOCKS) * BLOCK_BYTES;
    return true;
}

bool CDevice::IsDiscBlank() {
    if (!EnsureGrabber()) return false;
    std::uint8_t disc[STARBURN_DISC_INFORMATION_SIZE] = {};
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetDiscInformation, disc)) {
        LogFailure("\nCDevice::IsDiscBlank(): StarBurn_CdvdBurnerGrabber_GetDiscInformation() failed, ");
        return false;
    }
    std::uint8_t track[STARBURN_TRACK_INFORMATION_SIZE] = {};
    bool haveTrack = QueryInvisibleTrack(track);
    return disc[1] == 0 || (haveTrack && track[TRACK_NWA_VALID] != 0 && Read32(track + TRACK_NWA) == 0);
}

bool CDevice::RefreshTOCInfo() {
    const StarBurnApi* sdk = StarBurnSdk();
    if (sdk) sdk->StarBurn_SetTOCMode(1);
    // Between jobs no grabber is kept: the TOC is read on one of its own.
    bool ok = EnsureGrabber() && OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetTOCInformation, m_TOC);
    if (!ok) {
        LogFailure("\n\nRefreshTOCInfo((): StarBurn_CdvdBurnerGrabber_GetTOCInformation() failed, ");
        std::memset(m_TOC, 0, sizeof m_TOC);
        m_UsedSize = 0;
    }
    return ok;
}

bool CDevice::GetTrackInfo(std::uint32_t track, std::uint8_t* record) {
    if (!EnsureGrabber()) return false;
    bool ok = OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetTrackInformation, track, record);
    if (!ok) {
        LogFailure("\n\nCDevice::GetTrackInfo: StarBurn_CdvdBurnerGrabber_GetTrackInformation() failed, ");
    }
    return ok;
}

// ---- tray -----------------------------------------------------------------------------------

bool CDevice::Lock() {
    if (!EnsureGrabber()) return false;
    bool ok = OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_Lock);
    if (!ok) LogFailure("\n\nGetReadSpeeds(): StarBurn_CdvdBurnerGrabber_Lock() failed, ");
    m_Held = ok;
    return ok;
}

// Nothing grabbed is nothing to release.
bool CDevice::Release() {
    m_Held = false;
    if (!m_Grabber) return true;
    bool ok = OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_Release);
    if (!ok)
        LogFailure("\n\nGetReadSpeeds(): StarBurn_CdvdBurnerGrabber_Release() failed, ");
    DestroyGrabber();
    return ok;
}

void CDevice::LetGo() {
    if (!m_Held) DestroyGrabber();
}

bool CDevice::IsInUseElsewhere() { return !TestUnitReady() && m_Status == STARBURN_STATUS_BUSY; }

bool CDevice::IsOverwritable(std::uint32_t mediaType) {
    return mediaType == STARBURN_MEDIA_DVDRAM || mediaType == STARBURN_MEDIA_DVDRW_OVERWRITE ||
           mediaType == STARBURN_MEDIA_DVDPLUSRW || mediaType == STARBURN_MEDIA_BDRE;
}

bool CDevice::Eject() { return MoveTray(true); }

bool CDevice::Load() { return MoveTray(false); }

// Eject and load differ only in the call and the words they log.
bool CDevice::MoveTray(bool Out) {
    if (!EnsureGrabber()) return false;
    m_State = DEVICE_STATE_TRAY_MOVING;
    bool ok = OnGrabber(Out ? &StarBurnApi::StarBurn_CdvdBurnerGrabber_Eject
                            : &StarBurnApi::StarBurn_CdvdBurnerGrabber_Load);
    m_State = DEVICE_STATE_IDLE;
    ForgetDisc();
    // An eject lets go of the drive: the next job grabs it anew and sees what is in it then.
    if (Out) {
        m_Held = false;
        DestroyGrabber();
    }
    if (!ok) {
        LogFailure(Out ? "\n\nCDevice::Eject()): StarBurn_CdvdBurnerGrabber_Eject() failed, "
                       : "\n\nCDevice::Load()): StarBurn_CdvdBurnerGrabber_Load() failed, ");
        Log(LOG_CHANNEL_STATUS, LOG_LEVEL_ERROR, Out ? "Ejecting Error!" : "Loading Error!");
        return false;
    }
    Log(LOG_CHANNEL_STATUS, LOG_LEVEL_INFO, Out ? "Eject" : "Load");
    return true;
}

// ---- getters --------------------------------------------------------------------------------

void CDevice::GetMediaTypeName(char* out, std::size_t outSize) const {
    if (!out || outSize == 0 || m_MediaType >= std::size(kMediaTypeNames)) return;
    const char* name = kMediaTypeNames[m_MediaType];
    const std::size_t length = std::min(std::strlen(name), outSize - 1);
    std::memcpy(out, name, length);
    out[length] = '\0';
}

int CDevice::GetProgress() {
    std::lock_guard lock(m_ProgressLock);
    return m_Progress;
}

void CDevice::SetProgress(int percent) {
    std::lock_guard lock(m_ProgressLock);
    m_Progress = percent;
}

void CDevice::GetCapabilities(bool* out16) const {
    if (out16) std::memcpy(out16, m_Capabilities, sizeof m_Capabilities);
}

void CDevice::GetTOCInfo(std::uint8_t* out) const {
    if (out) std::memcpy(out, m_TOC, sizeof m_TOC);
}
