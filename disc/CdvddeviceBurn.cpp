// The two long operations of a burner: writing a DVD-Video folder and blanking a disc.
#include "disc/Cdvddevice.h"

#include "disc/Log.h"
#include "disc/StarBurnSdk.h"

#include <chrono>
#include <cstring>

namespace {

constexpr std::uint32_t kCdBlankKB = 51200;
constexpr std::uint32_t kDvdBlankKB = 716800;

const char* YesNo(bool value) { return value ? "Yes" : "No"; }

std::int64_t Read64(void* at) {
    std::int64_t value = 0;
    if (at) std::memcpy(&value, at, sizeof value);
    return value;
}

std::uint32_t Read32(void* at) {
    std::uint32_t value = 0;
    if (at) std::memcpy(&value, at, sizeof value);
    return value;
}

void Trace(const char* text) { Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "%s", text); }
void Status(const char* text) { Log(LOG_CHANNEL_STATUS, LOG_LEVEL_INFO, "%s", text); }
void StatusError(const char* text) { Log(LOG_CHANNEL_STATUS, LOG_LEVEL_ERROR, "%s", text); }

}  // namespace

// ---- burning --------------------------------------------------------------------------------

bool CDevice::BurnDVDVideo(TBurnParams& params, const char* folder) {
    Status("Started");
    StarBurnDVDVideo* video = nullptr;
    const StarBurnApi* sdk = StarBurnSdk();
    m_ExceptionText[0] = '\0';
    m_LastResult = sdk ? sdk->StarBurn_DVDVideo_Create(&video, folder ? folder : "", 1, m_ExceptionText,
                                                       sizeof m_ExceptionText, &m_Status,
                                                       params.VolumeLabel ? params.VolumeLabel : "DVD_Disc",
                                                       "Tamberlo", "Plenorix", 2007, 7, 1, 0, 0, 0, 0)
                       : STARBURN_EXCEPTION_GENERIC;
    if (m_LastResult != STARBURN_OK || !video) {
        LogFailure("\n\nCDevice::BurnDVDVideo(): StarBurn_DVDVideo_Create(), ");
        StatusError("Creating DVD-Video file system failed!");
        return false;
    }
    bool ok = BurnSteps(params, video);
    sdk->StarBurn_DVDVideo_Destroy(&video);
    return ok;
}

// One step after the other; a step that fails ends the burn (BUP, speed and OPC only warn).
bool CDevice::BurnSteps(TBurnParams& params, StarBurnDVDVideo* video) {
    if (!GrabForBurn() || !ProbeTrackAtOnce()) return false;
    LogImageSize(video);
    EnableUnderrunProtection();
    ApplyBurnSpeed(params);
    CalibratePower(params);
    if (!WriteTree(params, video) || !CloseSession(params)) return false;
    ForgetDisc();   // the disc is not what it was
    SetProgress(100);
    Status("Burning Complete!");
    return true;
}

bool CDevice::GrabForBurn() {
    // The drive is grabbed once: the burn grabber, with the event callback, replaces the old one.
    DestroyGrabber();
    if (!CdvdBurnerGrabberCreate(DVDVideoBurnCallback, 0)) {
        StatusError("Started Error!");
        return false;
    }
    Trace("CDevice::BurnDVDVideo(): Testing unit ready... ");
    Status("Testing unit ready...");
    if (!TestUnitReady()) {
        StatusError("Unit is not ready!");
        return false;
    }
    Status("Unit is ready!");
    return true;
}

bool CDevice::ProbeTrackAtOnce() {
    Trace("CDevice::BurnDVDVideo(): Probing supported write modes... ");
    Status("Probing supported write modes...");
    std::uint8_t tao = 0, sao = 0, pq = 0, raw = 0;
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes, &tao, &sao, &pq, &raw)) {
        LogFailure("\n\nCDevice::BurnDVDVideo(): StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes() failed, ");
        StatusError("Probing supported write modes Error!");
        return false;
    }
    m_WriteModes[0] = pq;
    m_WriteModes[1] = sao;
    m_WriteModes[2] = tao;
    m_WriteModes[3] = raw;
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO,
        "OK!\nCDevice::BurnDVDVideo(): Track-At-Once: %s, Session-At-Once: %s, Disc-At-Once PQ: %s, Disc-At-Once raw "
        "P-W: %s\n",
        YesNo(tao), YesNo(sao), YesNo(pq), YesNo(raw));
    if (!tao) {
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR, "\n\nCDevice::BurnDVDVideo(): Track-At-Once is unsupported!!!\n");
        StatusError("Track-At-Once is unsupported!");
        return false;
    }
    Status("Track-At-Once is supported!");
    return true;
}

void CDevice::LogImageSize(StarBurnDVDVideo* video) {
    std::int64_t bytes = 0;
    StarBurnSdk()->StarBurn_DVDVideo_GetSizeInUCHARs(video, &bytes);
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "CDevice::BurnDVDVideo(): Burning %lld UCHARs of DVD-Video image\n",
        static_cast<long long>(bytes));
}

void CDevice::EnableUnderrunProtection() {
    Trace("OK!\nCDevice::BurnDVDVideo(): Getting BUP (Buffer Underrun Protection) support... ");
    Status("Getting BUP (Buffer Underrun Protection) support...");
    std::uint8_t enabled = 0, supported = 0;
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_GetBUP, &enabled, &supported)) {
        LogFailure("\n\nCDevice::BurnDVDVideo(): StarBurn_CdvdBurnerGrabber_GetBUP() failed, ");
        StatusError("Getting BUP failed!");
    } else {
        Status("Getting BUP successfully!");
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO,
            "OK!\nCDevice::BurnDVDVideo(): BUP (Buffer Underrun Protection) Enabled: %s, Supported: %s\n",
            YesNo(enabled), YesNo(supported));
    }

    Trace("CDevice::BurnDVDVideo(): Enabling BUP (Buffer Underrun Protection)... ");
    Status("Enabling BUP (Buffer Underrun Protection)...");
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_SetBUP, 1)) {
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_WARNING,
            "Failed!\nCDevice::BurnDVDVideo(): WARNING! StarBurn_CdvdBurnerGrabber_SetBUP() failed, exception %ld, "
            "status %ld, text '%s'\n",
            static_cast<long>(m_LastResult), static_cast<long>(m_Status), m_ExceptionText);
        Status("Enabling BUP failed!");
    } else {
        Trace("OK!\n");
        Status("Enabling BUP successfully!");
    }
}

void CDevice::ApplyBurnSpeed(TBurnParams& params) {
    const char* label = params.Label ? params.Label : "";
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "CDevice::CDevice::BurnDVDVideo(): Setting speed %s (%ld KBps)... ", label,
        static_cast<long>(params.KBps));
    Log(LOG_CHANNEL_STATUS, LOG_LEVEL_INFO, "Setting speed %s (%ld KBps)... ", label, static_cast<long>(params.KBps));
    TSpeed speed{params.KBps, label};
    if (SetWriteSpeed(speed)) {
        params.KBps = speed.KBps;
        Log(LOG_CHANNEL_STATUS, LOG_LEVEL_INFO, "Setting speed %s (%ld KBps) successfully!", label,
            static_cast<long>(speed.KBps));
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "Setting speed %s (%ld KBps) successfully!", label,
            static_cast<long>(speed.KBps));
    } else {
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR, "CDevice::BurnDVDVideo():Setting speed failed!");
        StatusError("Setting speed failed!");
    }
}

void CDevice::CalibratePower(const TBurnParams& params) {
    if (params.SendOPC) {
        Trace("CDevice::BurnDVDVideo(): Sending OPC (Optimum Power Calibration)... ");
        Status("Sending OPC (Optimum Power Calibration)...");
        if (OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_SendOPC)) {
            Trace("OK!\nCDevice::BurnDVDVideo(): Writing the stuff to the CD/DVD disc >>>\n");
            Status("Sending OPC successfully.");
        } else {
            Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR, "Failed!\n");
            StatusError("Sending OPC Error!");
            Trace("CDevice::BurnDVDVideo(): Writing the stuff to the CD/DVD disc >>>\n");
        }
    } else {
        Trace("CDevice::BurnDVDVideo(): Skipping send OPC (Optimum Power Calibration) in test mode... OK!\n");
        Trace("CDevice::BurnDVDVideo(): Writing the stuff (simulating) to the CD/DVD disc >>>\n");
        Status("Writing the stuff (simulating) to the CD/DVD disc");
    }
}

bool CDevice::WriteTree(const TBurnParams& params, StarBurnDVDVideo* video) {
    SetProgress(0);
    m_State = DEVICE_STATE_WRITING;
    StarBurnTree* tree = nullptr;
    StarBurnSdk()->StarBurn_DVDVideo_GetTreeNode(video, &tree);
    bool written =
        OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree, tree, 1, params.TestWrite, 0, 1, 5);
    m_State = DEVICE_STATE_IDLE;
    if (!written) {
        LogFailure("\n\nCDevice::BurnDVDVideo(): StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree() failed, ");
        StatusError("Burning Error!");
    }
    return written;
}

bool CDevice::CloseSession(const TBurnParams& params) {
    if (params.TestWrite) return true;
    Trace("CDevice::BurnDVDVideo(): Try to close session by StarBurn_CdvdBurnerGrabber_CloseSession() ");
    Status("Closing session...");
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_CloseSession)) {
        LogFailure("\n\nCDevice::BurnDVDVideo(): StarBurn_CdvdBurnerGrabber_CloseSession() failed, ");
        StatusError("Close Session Error!");
        return false;
    }
    Trace("CDevice::BurnDVDVideo():StarBurn_CdvdBurnerGrabber_CloseSession(): Close session success! ");
    Status("Closing session success!");
    return true;
}

void CDevice::DVDVideoBurnCallback(std::uint32_t code, void* context, void* first, void* second) {
    if (auto* device = static_cast<CDevice*>(context)) device->OnBurnEvent(code, first, second);
}

void CDevice::OnBurnEvent(std::uint32_t code, void* first, void* second) {
    if (EventHook) EventHook(static_cast<int>(code));
    switch (code) {
        case STARBURN_CN_TARGET_FILE_ANALYZE_BEGIN: Trace("CDevice::DVDVideoBurnCallback(): TARGET_FILE_ANALYZE_BEGIN\n"); break;
        case STARBURN_CN_TARGET_FILE_ANALYZE_END:
            Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "CDevice::DVDVideoBurnCallback(): Target file size in UCHARs %lld, LBs %lld\n",
                static_cast<long long>(Read64(first)), static_cast<long long>(Read64(second)));
            Trace("CDevice::DVDVideoBurnCallback(): TARGET_FILE_ANALYZE_END\n");
            break;
        case STARBURN_CN_WAIT_CACHE_FULL_BEGIN:
            Trace("CDevice::DVDVideoBurnCallback(): WAIT_CACHE_FULL_BEGIN\n");
            Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO,
                "CDevice::DVDVideoBurnCallback(): Waiting for cache full not more then %ld ms... ",
                static_cast<long>(Read32(first)));
            break;
        case STARBURN_CN_WAIT_CACHE_FULL_END:
            Trace("OK!\nCDevice::DVDVideoBurnCallback(): WAIT_CACHE_FULL_END\n");
            Status("Cache is Full.");
            Status("Burning...");
            break;
        case STARBURN_CN_SYNCHRONIZE_CACHE_BEGIN: Trace("\nCDevice::DVDVideoBurnCallback(): SYNCHRONIZE_CACHE_BEGIN\n"); break;
        case STARBURN_CN_SYNCHRONIZE_CACHE_END: Trace("CDevice::DVDVideoBurnCallback(): SYNCHRONIZE_CACHE_END\n"); break;
        case STARBURN_CN_PROGRESS: {
            std::int64_t total = Read64(first), written = Read64(second);
            if (total <= 0) break;   // nothing to measure against
            int percent = static_cast<int>(std::min<std::int64_t>(100, std::max<std::int64_t>(0, written * 100 / total)));
            if (percent != GetProgress()) {
                SetProgress(percent);
                Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "%d%% ", percent);
            }
            break;
        }
        case STARBURN_CN_DVDPLUSRW_FORMAT_BEGIN: Trace("\nCDevice::DVDVideoBurnCallback(): DVDPLUSRW_FORMAT_BEGIN\n"); break;
        case STARBURN_CN_DVDPLUSRW_FORMAT_END: Trace("CDevice::DVDVideoBurnCallback(): DVDPLUSRW_FORMAT_END\n"); break;
        case STARBURN_CN_DVD_MEDIA_PADDING_SIZE:
            Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO,
                "CDevice::DVDVideoBurnCallback(): Target file size in LBs %lld, track padding size in LBs %ld\n",
                static_cast<long long>(Read64(first)), static_cast<long>(Read32(second)));
            Trace("CDevice::DVDVideoBurnCallback(): CN_DVD_MEDIA_PADDING_SIZE\n");
            break;
        case STARBURN_CN_DVD_MEDIA_PADDING_BEGIN: Trace("CDevice::DVDVideoBurnCallback(): DVD_MEDIA_PADDING_BEGIN\n"); break;
        case STARBURN_CN_DVD_MEDIA_PADDING_END: Trace("CDevice::DVDVideoBurnCallback(): DVD_MEDIA_PADDING_END\n"); break;
        case STARBURN_CN_DVDRW_QUICK_FORMAT_BEGIN: Trace("\nCDevice::DVDVideoBurnCallback(): DVDRW_QUICK_FORMAT_BEGIN\n"); break;
        case STARBURN_CN_DVDRW_QUICK_FORMAT_END: Trace("CDevice::DVDVideoBurnCallback(): DVDRW_QUICK_FORMAT_END\n"); break;
        default: break;
    }
}

// ---- erasing --------------------------------------------------------------------------------

std::uint32_t CDevice::GetTotalTimeErasing(TEraseParams& params) {
    if (!EnsureGrabber()) return 0;
    if (!OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_TestUnitReady)) {
        LogFailure("\nCDevice::GetTotalTimeErasing(): StarBurn_CdvdBurnerGrabber_TestUnitReady() failed, ");
        return 0;
    }
    TSpeed speed{params.KBps, params.Label};
    if (!SetWriteSpeed(speed)) return 0;
    params.KBps = speed.KBps;
    if (speed.KBps == 0) return 0;   // a drive that names no speed gives no estimate
    auto capacityKB = static_cast<std::uint64_t>(static_cast<std::int64_t>(m_UsedSize + m_FreeSize) / 1024);
    auto kb = static_cast<std::uint32_t>(capacityKB);
    switch (m_MediaType) {
        case STARBURN_MEDIA_CDRW:
        case STARBURN_MEDIA_CDRW_2: return (params.Mode != 0 ? kCdBlankKB : kb + kCdBlankKB) / speed.KBps;
        case STARBURN_MEDIA_DVDRAM:
        case STARBURN_MEDIA_DVDRW_OVERWRITE:
        case STARBURN_MEDIA_DVDRW_SEQUENTIAL:
        case STARBURN_MEDIA_DVDPLUSRW: return (params.Mode == 0 ? kDvdBlankKB : kb + kDvdBlankKB) / speed.KBps;
        default: return 0;
    }
}

void CDevice::StartEraseProgress() {
    StopEraseProgress();
    {
        std::lock_guard lock(m_EraseStopLock);
        m_StopErase = false;
    }
    std::uint32_t estimate = m_EstimatedEraseSeconds;
    m_EraseProgress = std::thread([this, estimate] {
        SetProgress(0);
        for (std::uint32_t i = 1; i <= estimate; ++i) {
            std::unique_lock lock(m_EraseStopLock);
            if (m_EraseStopped.wait_for(lock, std::chrono::seconds(1), [this] { return m_StopErase; })) return;
            lock.unlock();
            SetProgress(static_cast<int>(static_cast<std::uint64_t>(i) * 100 / estimate));
        }
    });
}

// The thread is told to stop and joined: it never dies holding the progress lock.
void CDevice::StopEraseProgress() {
    {
        std::lock_guard lock(m_EraseStopLock);
        m_StopErase = true;
    }
    m_EraseStopped.notify_all();
    if (m_EraseProgress.joinable()) m_EraseProgress.join();
}

bool CDevice::Erase(const TEraseParams& params) {
    Status("Srarted.");
    m_EraseParams = params;
    if (!EnsureGrabber()) return false;
    Status("Testing unit ready...");
    if (!TestUnitReady()) {
        StatusError("Unit is not ready!");
        return false;
    }
    Status("Unit ready.");
    RefreshMediaType();   // the disc decides between blanking and overwriting
    const char* label = m_EraseParams.Label ? m_EraseParams.Label : "";
    Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "CDevice::Erase(): Setting speed %s (%ld KBps)... ", label,
        static_cast<long>(m_EraseParams.KBps));
    Log(LOG_CHANNEL_STATUS, LOG_LEVEL_INFO, "Setting speed %s (%ld KBps)... ", label,
        static_cast<long>(m_EraseParams.KBps));
    TSpeed speed{m_EraseParams.KBps, label};
    if (SetWriteSpeed(speed)) {
        Log(LOG_CHANNEL_STATUS, LOG_LEVEL_INFO, "Setting speed %s (%ld KBps) successfully!", label,
            static_cast<long>(speed.KBps));
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_INFO, "Setting speed %s (%ld KBps) successfully!", label,
            static_cast<long>(speed.KBps));
    } else {
        Log(LOG_CHANNEL_TRACE, LOG_LEVEL_ERROR, "CDevice::Erase():Setting speed failed!");
        StatusError("Setting speed failed!");
    }
    Status("Erasing...");
    m_State = DEVICE_STATE_ERASING;
    m_EstimatedEraseSeconds = GetTotalTimeErasing(m_EraseParams);
    StartEraseProgress();
    // Media written over in place cannot be blanked: overwriting what they hold is their erase.
    const bool overwrite = IsOverwritable(m_MediaType);
    bool blanked = overwrite ? OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_Format)
                             : OnGrabber(&StarBurnApi::StarBurn_CdvdBurnerGrabber_Blank, m_EraseParams.Mode);
    // Whatever the outcome, the estimate no longer runs: a failed erase leaves no thread behind.
    StopEraseProgress();
    ForgetDisc();
    if (!blanked) {
        LogFailure(overwrite ? "\nCDevice::Erase(): StarBurn_CdvdBurnerGrabber_Format() failed, "
                             : "\nCDevice::Erase(): StarBurn_CdvdBurnerGrabber_Blank() failed, ");
        return false;
    }
    SetProgress(100);
    m_State = DEVICE_STATE_IDLE;
    Status("Erasing Complete");
    return true;
}
