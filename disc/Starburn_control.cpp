#include "disc/Starburn_control.h"

#include "platform/vcl/Forms.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr DWORD kWaitStepMs = 50;
constexpr auto kProgressStep = std::chrono::milliseconds(1000);

// The facade's state, for the program's life.
struct Facade {
    std::atomic<bool> busy{false};
    bool useSPTI = true;
    std::atomic<HWND> window{nullptr};
    CDevice* current = nullptr;   // into the device list; cleared by every scan
    bool currentInUse = false;    // the last SelectDevice found the drive held by another program
    std::atomic<int> lastResult{0};
    std::string dvdFolder;
    std::unique_ptr<TStringList> speedLabels;
    TBurnParams burnParams;
    TSpeeds writeSpeeds;
    TEraseParams eraseParams;
    std::thread worker, progress;
    std::mutex idleLock;
    std::condition_variable idle;

    // A worker nobody waited for is joined, never left to end the process.
    ~Facade() {
        if (worker.joinable()) worker.join();
        if (progress.joinable()) progress.join();
    }
};

Facade& State() {
    static Facade facade;
    return facade;
}

void Post(WPARAM code, LPARAM value) {
    HWND window = State().window.load();
    if (window) PostMessageA(window, WM_BURNER_NOTIFY, code, value);
}

void JoinWorkers() {
    auto& s = State();
    if (s.worker.joinable()) s.worker.join();
    if (s.progress.joinable()) s.progress.join();
}

// Claims the one operation slot; false while another operation runs.
bool BeginOperation() {
    auto& s = State();
    bool expected = false;
    if (!s.busy.compare_exchange_strong(expected, true)) return false;
    JoinWorkers();   // finished ones from an operation nobody waited for
    return true;
}

void EndOperation() {
    auto& s = State();
    {
        std::lock_guard lock(s.idleLock);
        s.busy = false;
    }
    s.idle.notify_all();
}

// Keeps the caller's messages flowing until the operation ends.
void WaitWhileBusy() {
    while (State().busy.load()) {
        if (Application) Application->ProcessMessages();
        Sleep(kWaitStepMs);
    }
}

// Sleeps one progress step, or less when the operation ends meanwhile; false when it ended.
bool SleepWhileBusy() {
    auto& s = State();
    std::unique_lock lock(s.idleLock);
    return !s.idle.wait_for(lock, kProgressStep, [&s] { return !s.busy.load(); });
}

CDevice* DeviceAt(int index) {
    auto& devices = CDevice::Devices();
    if (index < 0 || index >= static_cast<int>(devices.size())) return nullptr;
    return devices[static_cast<std::size_t>(index)].get();
}

// One job on a device: whatever the job did, the drive is let go when it ends.
class TDriveJob {
public:
    explicit TDriveJob(CDevice* Device) : m_device(Device) {}
    ~TDriveJob() {
        if (m_device) m_device->LetGo();
    }
    TDriveJob(const TDriveJob&) = delete;
    TDriveJob& operator=(const TDriveJob&) = delete;

private:
    CDevice* m_device;
};

bool In(std::uint32_t code, std::initializer_list<std::uint32_t> codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

TStringList* Labels() {
    auto& s = State();
    if (!s.speedLabels) s.speedLabels = std::make_unique<TStringList>();
    return s.speedLabels.get();
}

void DeviceEventHook(int event) {
    if (event == STARBURN_CN_DVD_MEDIA_PADDING_BEGIN) Post(BURNER_NOTIFY_PADDING, 0);
    if (event == STARBURN_CN_DVD_MEDIA_PADDING_END) Post(BURNER_NOTIFY_PADDING, 1);
}

void ScanThread() {
    auto& s = State();
    if (s.useSPTI) CDevice::FindSPTIDevices();
    else CDevice::FindASPIDevices();
    for (auto& device : CDevice::Devices()) {
        TDriveJob job(device.get());
        device->RefreshDeviceInfo();
        device->RefreshMediaInfo();
        device->RefreshReadWriteModes();
    }
    Post(BURNER_NOTIFY_SCAN_DONE, 0);
    EndOperation();
}

// The folder is the burn's own copy: GetFolderSize may remember another one meanwhile.
void BurnThread(CDevice* device, std::string folder) {
    auto& s = State();
    bool ok = device->BurnDVDVideo(s.burnParams, folder.c_str());
    s.lastResult = ok ? 1 : 0;
    Post(BURNER_NOTIFY_BURN_DONE, ok ? 1 : 0);
    EndOperation();
}

void ProgressThread(CDevice* device) {
    auto clamp = [](int percent) { return static_cast<LPARAM>(std::clamp(percent, 0, 100)); };
    while (device->GetState() != DEVICE_STATE_WRITING && State().busy.load()) {
        if (!SleepWhileBusy()) break;
    }
    while (device->GetState() == DEVICE_STATE_WRITING && State().busy.load()) {
        Post(BURNER_NOTIFY_PROGRESS, clamp(device->GetProgress()));
        if (!SleepWhileBusy()) break;
    }
    Post(BURNER_NOTIFY_PROGRESS, clamp(device->GetProgress()));
}

void EraseThread(CDevice* device) {
    auto& s = State();
    {
        TDriveJob job(device);
        s.lastResult = device->Erase(s.eraseParams) ? 1 : 0;
    }
    EndOperation();
}

std::int64_t SizeOfTree(const fs::path& folder) {
    std::int64_t total = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        // A linked folder is not followed: it could lead back up the tree or off the disc.
        if (it->is_symlink(entryError) && fs::is_directory(it->path(), entryError)) continue;
        if (it->is_directory(entryError)) {
            total += SizeOfTree(it->path());
            continue;
        }
        std::ifstream file(it->path(), std::ios::binary | std::ios::ate);
        if (!file) continue;
        auto size = static_cast<std::int64_t>(file.tellg());
        if (size > 0) total += size;
    }
    return total;
}

}  // namespace

namespace {

// The current device, when there is one and no operation is using it (a worker owns it then).
CDevice* Idle() { return State().busy.load() ? nullptr : State().current; }

}  // namespace

void InitBurner(HWND window) {
    auto& s = State();
    s.window = window;
    if (!s.speedLabels) {
        s.speedLabels = std::make_unique<TStringList>();
        CDevice::InitStarBurnDll();
    }
}

void UninitBurner() {
    auto& s = State();
    WaitWhileBusy();
    JoinWorkers();
    s.speedLabels.reset();
    s.current = nullptr;
}

bool IsBurnerBusy() { return State().busy.load(); }

bool FindDevices(bool useSPTI, bool wait) {
    auto& s = State();
    if (!BeginOperation()) return false;
    s.useSPTI = useSPTI;
    s.current = nullptr;   // the scan replaces the devices it points into
    try {
        s.worker = std::thread(ScanThread);
    } catch (const std::system_error&) {
        EndOperation();
        return false;
    }
    if (wait) {
        WaitWhileBusy();
        JoinWorkers();
    }
    return true;
}

std::string GetDeviceName(int index) {
    if (IsBurnerBusy()) return "";
    CDevice* device = DeviceAt(index);
    if (!device) return "";
    return std::string(device->GetProductId()) + " " + device->GetVendorId() + " " + device->GetProductRevision();
}

TStringList* GetWriteSpeedList(int index, bool refresh) {
    CDevice* device = IsBurnerBusy() ? nullptr : DeviceAt(index);
    if (!device) return nullptr;
    TDriveJob job(device);
    if (refresh) device->RefreshMediaInfo();
    TStringList* labels = Labels();
    labels->Clear();
    if (In(device->GetMediaType(),
           {STARBURN_MEDIA_CDR, STARBURN_MEDIA_CDRW, STARBURN_MEDIA_DVDR, STARBURN_MEDIA_DVDRAM,
            STARBURN_MEDIA_DVDRW_OVERWRITE, STARBURN_MEDIA_DVDRW_SEQUENTIAL, STARBURN_MEDIA_DVDPLUSRW,
            STARBURN_MEDIA_CDR_2, STARBURN_MEDIA_DVDPLUSR, STARBURN_MEDIA_DVDPLUSR_DL})) {
        TSpeeds speeds;
        device->CopyWriteSpeeds(speeds);
        for (const auto& speed : speeds) labels->Add(speed.Label);
    }
    return labels;
}

TStringList* GetReadSpeedList(int index, bool refresh) {
    CDevice* device = IsBurnerBusy() ? nullptr : DeviceAt(index);
    if (!device) return nullptr;
    TDriveJob job(device);
    if (refresh) device->RefreshMediaInfo();
    TStringList* labels = Labels();
    labels->Clear();
    TSpeeds speeds;
    device->GetReadSpeeds(speeds);
    for (const auto& speed : speeds) labels->Add(speed.Label);
    return labels;
}

int SelectDevice(int index) {
    auto& s = State();
    CDevice* device = IsBurnerBusy() ? nullptr : DeviceAt(index);
    s.currentInUse = false;
    if (!device) return SELECT_DEVICE_FAILED;
    TDriveJob job(device);
    s.current = device;
    device->RefreshMediaInfo();
    device->EventHook = DeviceEventHook;
    // A drive another program holds cannot be used, whatever disc it has.
    if (device->IsInUseElsewhere()) {
        s.currentInUse = true;
        return SELECT_DEVICE_FAILED;
    }
    std::uint32_t media = device->GetMediaType();
    int result = SELECT_DEVICE_BAD_MEDIA;
    if (In(media, {STARBURN_MEDIA_DVDR, STARBURN_MEDIA_DVDPLUSR, STARBURN_MEDIA_DVDPLUSR_DL}))
        result = device->IsDiscBlank() ? SELECT_DEVICE_READY : SELECT_DEVICE_BAD_MEDIA;
    else if (media == STARBURN_MEDIA_DVDRAM)
        result = SELECT_DEVICE_READY;
    else if (In(media, {STARBURN_MEDIA_DVDRW_OVERWRITE, STARBURN_MEDIA_DVDRW_SEQUENTIAL, STARBURN_MEDIA_DVDPLUSRW}))
        result = device->IsDiscBlank() ? SELECT_DEVICE_READY : SELECT_DEVICE_NOT_BLANK;
    if (result != SELECT_DEVICE_READY) return result;
    return device->CopyWriteSpeeds(s.writeSpeeds) ? SELECT_DEVICE_READY : SELECT_DEVICE_FAILED;
}

std::int64_t GetFolderSize(const std::string& folder) {
    std::string path = folder;
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    State().dvdFolder = path;
    return SizeOfTree(Win32_LocalPath(path));
}

double GetDiscFreeBytes() {
    CDevice* device = Idle();
    if (!device) return 0;
    TDriveJob job(device);
    device->RefreshMediaInfo();
    return device->GetFreeSize();
}

void SetBurnSpeed(int index) {
    auto& s = State();
    if (s.busy.load()) return;   // the running burn reads these parameters
    if (s.writeSpeeds.empty()) {
        s.burnParams.KBps = 0;
        s.burnParams.Label = "";
        return;
    }
    int last = static_cast<int>(s.writeSpeeds.size()) - 1;
    const TSpeed& speed = s.writeSpeeds[static_cast<std::size_t>(std::clamp(index, 0, last))];
    s.burnParams.KBps = speed.KBps;
    s.burnParams.Label = speed.Label;
}

bool BurnDVD() {
    auto& s = State();
    CDevice* device = s.current;
    if (!device || !BeginOperation()) return false;
    s.burnParams.SendOPC = 1;
    s.burnParams.TestWrite = 0;
    s.burnParams.VolumeLabel = "DVD_Disc";
    device->Lock();
    try {
        s.progress = std::thread(ProgressThread, device);
        s.worker = std::thread(BurnThread, device, s.dvdFolder);
    } catch (const std::system_error&) {
        EndOperation();
        JoinWorkers();
        device->Release();
        return false;
    }
    WaitWhileBusy();
    JoinWorkers();   // both have posted their last message now
    device->Release();
    return s.lastResult != 0;
}

bool EraseDisc() {
    auto& s = State();
    CDevice* device = s.current;
    if (!device || IsBurnerBusy()) return false;
    if (!device->CopyWriteSpeeds(s.writeSpeeds) || s.writeSpeeds.empty()) return false;
    s.eraseParams.Mode = 1;
    s.eraseParams.KBps = s.writeSpeeds.back().KBps;
    s.eraseParams.Label = s.writeSpeeds.back().Label;
    if (!BeginOperation()) return false;
    try {
        s.worker = std::thread(EraseThread, device);
    } catch (const std::system_error&) {
        EndOperation();
        return false;
    }
    WaitWhileBusy();
    JoinWorkers();
    return s.lastResult != 0;
}

bool WasDeviceInUse() { return State().currentInUse; }

bool EjectDisc() { return Idle() && Idle()->Eject(); }

bool LoadDisc() {
    CDevice* device = Idle();
    if (!device) return false;
    TDriveJob job(device);
    return device->Load();
}
bool LockDevice() { return Idle() && Idle()->Lock(); }
bool ReleaseDevice() { return Idle() && Idle()->Release(); }

std::string GetMediaTypeNameText() {
    CDevice* device = Idle();
    if (!device) return "";
    char name[32] = {};
    device->GetMediaTypeName(name, sizeof name);
    return name;
}

namespace {

bool Capability(int flag) {
    CDevice* device = Idle();
    if (!device) return false;
    bool flags[16] = {};
    device->GetCapabilities(flags);
    return flags[flag];
}

std::uint8_t TocByte(std::size_t offset) {
    CDevice* device = Idle();
    if (!device) return 0;
    TDriveJob job(device);
    device->RefreshTOCInfo();
    std::vector<std::uint8_t> toc(STARBURN_TOC_SIZE);
    device->GetTOCInfo(toc.data());
    return toc[offset];
}

}  // namespace

bool CanWriteDVDMinusR() { return Capability(8); }
bool CanWriteDVDPlusR() { return Capability(14); }
bool CanWriteDVDPlusRW() { return Capability(13); }
bool CanWriteDVDPlusRDL() { return Capability(15); }

double GetFreeMB() {
    CDevice* device = Idle();
    return device ? device->GetFreeSize() / 1048576.0 : 0;
}

double GetUsedMB() {
    CDevice* device = Idle();
    return device ? device->GetUsedSize() / 1048576.0 : 0;
}

int GetTrackCount() { return TocByte(TOC_TRACKS); }
int GetSessionCount() { return TocByte(TOC_SESSIONS); }
