// One CD/DVD burner over the burning SDK: discovery, drive and disc information, speeds.
//
// A device owns its grabber (made by the first operation that needs the drive) and is not
// copyable. The grabber holds the drive and locks its tray, so it lives for one job only: the
// facade calls LetGo when the job is done, and Lock holds the drive until Release. The device list is filled by a scan and holds the devices
// for the facade, which addresses them by index. Every operation reports through Log.
#pragma once

#include "libs/starburn/StarBurn.h"

#include <atomic>
#include <condition_variable>
#include <thread>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

struct TSpeed {
    std::uint32_t KBps = 0;
    const char* Label = "";
    bool operator==(const TSpeed& other) const { return KBps == other.KBps; }
};
using TSpeeds = std::vector<TSpeed>;

constexpr std::uint32_t MEDIA_TYPE_EMPTY = STARBURN_MEDIA_EMPTY;
constexpr std::uint32_t DEVICE_STATE_IDLE = 0;
constexpr std::uint32_t DEVICE_STATE_WRITING = 1;
constexpr std::uint32_t DEVICE_STATE_ERASING = 2;
constexpr std::uint32_t DEVICE_STATE_TRAY_MOVING = 4;

struct TBurnParams {
    std::uint8_t SendOPC = 1;
    std::uint32_t KBps = 0;
    const char* Label = "";
    std::uint8_t TestWrite = 0;
    const char* VolumeLabel = "DVD_Disc";
};

struct TEraseParams {
    std::uint32_t Mode = 1;   // 0 fast (table of contents only), otherwise the whole disc
    std::uint32_t KBps = 0;
    const char* Label = "";
};

enum class TAccessMode : std::uint32_t { ScsiAddress = 0, DeviceName = 1 };

// Offsets into the SDK's records.
constexpr std::size_t TOC_IS_VALID = 0, TOC_IS_DVD = 1, TOC_SESSIONS = 9, TOC_TRACKS = 10;
constexpr std::size_t TOC_FIRST_ENTRY = 12, TOC_ENTRY_BYTES = 34, TOC_ENTRY_ADDRESS = 10;
constexpr std::size_t TRACK_NUMBER = 1, TRACK_BLANK = 9, TRACK_NWA_VALID = 11, TRACK_NWA = 16, TRACK_FREE_BLOCKS = 20;
constexpr double BLOCK_BYTES = 2048.0;

class CDevice {
public:
    explicit CDevice(const std::uint8_t address[STARBURN_DEVICE_ADDRESS_SIZE]);
    explicit CDevice(const char* name);
    ~CDevice();
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    // Discovery: each scan replaces the device list.
    static bool InitStarBurnDll();
    static void FindASPIDevices();
    static void FindSPTIDevices();
    static std::vector<std::unique_ptr<CDevice>>& Devices();

    bool CdvdBurnerGrabberCreate(StarBurnCallback callback, std::uint32_t flag);
    bool TestUnitReady();
    bool RefreshDeviceInfo();
    bool RefreshDeviceLetter(char* out);   // out: at least 4 bytes
    bool RefreshMediaInfo();
    bool RefreshMediaType();
    bool RefreshVolumeLabel();
    bool RefreshMediaSize();
    bool RefreshFreeSize();
    bool RefreshTOCInfo();
    void RefreshReadWriteModes();
    bool GetTrackInfo(std::uint32_t track, std::uint8_t* record);
    bool IsDiscBlank();
    bool Lock();
    bool Release();
    bool Eject();
    bool Load();
    // Ends a job on the drive: lets go of it (tray unlocked, free for other programs) unless Lock
    // holds it.
    void LetGo();
    // The drive exists but another program holds it (a disc the desktop mounted).
    bool IsInUseElsewhere();
    // DVD-RAM, DVD-RW in restricted overwrite, DVD+RW, BD-RE and files: written over in place,
    // so the erase is an overwrite, not a blank.
    static bool IsOverwritable(std::uint32_t mediaType);

    std::uint32_t GetState() const { return m_State.load(); }
    const char* GetVendorId() const { return m_Identification[0]; }
    const char* GetProductId() const { return m_Identification[1]; }
    const char* GetProductRevision() const { return m_Identification[2]; }
    const char* GetDriveLetter() const { return m_DriveLetter; }
    std::uint32_t GetMediaType() const { return m_MediaType; }
    // The media type's name into out, cut to outSize - 1 characters and terminated; out is left
    // as it was for an unknown code or a size of 0.
    void GetMediaTypeName(char* out, std::size_t outSize) const;
    template <std::size_t N>
    void GetMediaTypeName(char (&out)[N]) const { GetMediaTypeName(out, N); }
    double GetUsedSize() const { return m_UsedSize; }
    double GetFreeSize() const { return m_FreeSize; }
    const char* GetVolumeLabel() const { return m_VolumeLabel; }
    int GetProgress();
    void SetProgress(int percent);
    void GetCapabilities(bool* out16) const;
    void GetTOCInfo(std::uint8_t* out) const;
    const bool* GetWriteModes() const { return m_WriteModes; }   // DAO-PQ, SAO, TAO, DAO raw P-W
    std::uint32_t GetLastResult() const { return m_LastResult; }
    std::uint32_t GetCacheSize() const { return m_CacheSize; }

    // Speeds.
    bool GetWriteSpeeds();
    bool GetReadSpeeds(TSpeeds& out);
    bool CopyWriteSpeeds(TSpeeds& out);
    bool SetWriteSpeed(TSpeed& speed);
    bool SetReadSpeed(TSpeed& speed);

    // Burning and erasing; both block the calling thread for the whole operation.
    bool BurnDVDVideo(TBurnParams& params, const char* folder);
    bool Erase(const TEraseParams& params);
    std::uint32_t GetTotalTimeErasing(TEraseParams& params);
    static void DVDVideoBurnCallback(std::uint32_t code, void* context, void* first, void* second);
    std::uint32_t GetEstimatedEraseSeconds() const { return m_EstimatedEraseSeconds; }

    void (*EventHook)(int event) = nullptr;

private:
    bool MoveTray(bool Out);
    static void NullCallback(std::uint32_t, void*, void*, void*) {}
    static void FindDeviceCallback(std::uint32_t code, void* context, void* first, void* second);
    bool EnsureGrabber();
    void ForgetDisc();
    void DestroyGrabber();
    // Calls the SDK with this device's error record; true when it returned 0.
    using SdkCall = std::function<std::uint32_t(const StarBurnApi&, char*, std::uint32_t, std::uint32_t*,
                                                StarBurnCdbFailure*)>;
    bool Sdk(const SdkCall& call);
    // One SDK entry point that takes (Arg, exception text, its size, status, CDB failure,
    // More...), called through Sdk.
    template <class Entry, class First, class... Rest>
    bool Call(Entry StarBurnApi::*EntryPoint, First Arg, Rest... More) {
        return Sdk([&](const StarBurnApi& api, char* t, std::uint32_t n, std::uint32_t* s, StarBurnCdbFailure* c) {
            return (api.*EntryPoint)(Arg, t, n, s, c, More...);
        });
    }
    // The same on this device's grabber.
    template <class Entry, class... Rest>
    bool OnGrabber(Entry StarBurnApi::*EntryPoint, Rest... More) {
        return Call(EntryPoint, m_Grabber, More...);
    }
    void LogFailure(const char* head);
    void OnBurnEvent(std::uint32_t code, void* first, void* second);
    bool BurnSteps(TBurnParams& params, StarBurnDVDVideo* video);
    // The steps of a burn, in order.
    bool GrabForBurn();
    bool ProbeTrackAtOnce();
    void LogImageSize(StarBurnDVDVideo* video);
    void EnableUnderrunProtection();
    void ApplyBurnSpeed(TBurnParams& params);
    void CalibratePower(const TBurnParams& params);
    bool WriteTree(const TBurnParams& params, StarBurnDVDVideo* video);
    bool CloseSession(const TBurnParams& params);
    void StartEraseProgress();
    void StopEraseProgress();
    bool ProbeTable(const TSpeed* table, std::size_t count, TSpeeds& into, bool write, std::uint32_t stopAt);
    enum class TSpeedDirection { Read, Write };
    bool SetSpeed(TSpeedDirection direction, TSpeed& speed);
    bool QuerySpeeds(std::uint32_t* speeds);
    // The speeds the drive takes for the inserted media in one direction, appended to out.
    bool ListSpeeds(TSpeedDirection direction, TSpeeds& out);
    // The track information of the invisible (next writable) track, logged.
    bool QueryInvisibleTrack(std::uint8_t* track);

    std::uint8_t m_Address[STARBURN_DEVICE_ADDRESS_SIZE] = {};
    char m_DeviceName[1024] = {};
    TAccessMode m_AccessMode = TAccessMode::ScsiAddress;
    StarBurnGrabber* m_Grabber = nullptr;
    bool m_Held = false;   // Lock took the drive until Release
    bool m_Capabilities[16] = {};
    bool m_WriteModes[4] = {};
    bool m_ReadModes[6] = {};
    char m_Identification[3][1024] = {};
    char m_DriveLetter[4] = {};
    std::uint32_t m_CacheSize = 0;
    std::uint32_t m_MediaType = 0;
    double m_UsedSize = 0;
    double m_FreeSize = 0;
    char m_VolumeLabel[256] = {};
    int m_Progress = 0;
    std::atomic<std::uint32_t> m_State{DEVICE_STATE_IDLE};
    std::uint8_t m_TOC[STARBURN_TOC_SIZE] = {};
    std::uint8_t m_LastTrack[STARBURN_TRACK_INFORMATION_SIZE] = {};
    std::uint32_t m_Status = 0;
    char m_ExceptionText[STARBURN_TEXT_SIZE] = {};
    StarBurnCdbFailure m_Cdb{};
    std::uint32_t m_LastResult = 0;
    std::mutex m_ProgressLock;
    TSpeeds m_WriteSpeeds;
    TEraseParams m_EraseParams;
    std::uint32_t m_EstimatedEraseSeconds = 0;
    std::thread m_EraseProgress;
    std::mutex m_EraseStopLock;
    std::condition_variable m_EraseStopped;
    bool m_StopErase = false;
};
