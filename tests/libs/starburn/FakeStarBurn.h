// A scripted stand-in for the burning SDK: drives whose discs, answers and failures a test sets,
// registered under the module's name like any backend table.
#pragma once

#include "libs/starburn/StarBurn.h"
#include "platform/win32/Windows.h"

#include <array>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

// As the real module's: a grabber holds its drive from Create until Eject or Release lets go.
struct StarBurnGrabber {
    std::size_t drive;
    StarBurnCallback callback;
    void* context;
    bool held = true;
};
struct StarBurnTree {
    std::int64_t bytes;
};
struct StarBurnDVDVideo {
    StarBurnTree tree;
};

namespace fake_starburn {

struct Event {
    std::uint32_t code;
    std::int64_t first;
    std::int64_t second;
};

struct FakeDrive {
    std::string name = "CdRom0";
    std::array<std::uint8_t, 5> address{0, 1, 0, 2, 0};
    std::string vendor = "FAKE", product = "Writer", revision = "1.00";
    std::uint32_t cacheBytes = 2 * 1024 * 1024;
    std::array<std::uint8_t, 10> caps{};
    std::array<std::uint8_t, 6> capsEx{};
    std::uint32_t mediaType = 5;
    bool ready = true;
    bool inUse = false;     // another program holds the drive: every call fails with status 170
    bool trayOpen = false;  // Eject opens it, Load closes it; open, the drive has no disc
    std::uint8_t discStatus = 0;
    std::string volumeLabel;
    std::uint8_t sessions = 1;
    std::vector<std::uint32_t> tocBlocks;   // block address of each TOC entry
    bool nwaValid = true;
    std::uint32_t nwa = 0;
    std::uint32_t freeBlocks = 2295104;
    std::uint32_t maxRead = 22160, maxWrite = 22160;
    std::function<std::uint32_t(std::uint32_t)> takesWrite = [](std::uint32_t kbps) { return kbps; };
    std::function<std::uint32_t(std::uint32_t)> takesRead = [](std::uint32_t kbps) { return kbps; };
    bool trackAtOnce = true;
    std::set<std::string> failing;   // operation names without the "StarBurn_CdvdBurnerGrabber_" prefix
    std::vector<Event> burnEvents;   // sent during a track-at-once write
    // What happened.
    std::uint32_t currentRead = 0, currentWrite = 0;
    int blanks = 0, formats = 0, writes = 0, closes = 0, grabbers = 0;
    int holding = 0;   // grabbers that hold the drive now (its tray locked)
    std::uint32_t blankMode = 0;
    bool lastWriteWasTest = false;
    int writeMs = 0;   // how long a write takes
    int blankMs = 0;   // how long a blank takes
    // What the drive does when its tray closes (a disc swapped) and after a blank (a disc that
    // stays written); run on the calling thread.
    std::function<void(FakeDrive&)> onLoad, onBlank;
};

struct FakeState {
    std::mutex mutex;
    std::vector<FakeDrive> drives;
    bool upStartFails = false;
    std::int64_t imageBytes = 10 * 2048;
    std::set<std::string> badFolders;   // DVDVideo_Create fails for these
    std::vector<std::string> calls;
    int scanDelayMs = 0;   // how long an enumeration takes
    int scans = 0;         // enumerations by address (FindDevice)
};

inline FakeState& State() {
    static FakeState state;
    return state;
}

inline void Reset() {
    auto& s = State();
    s.drives.clear();
    s.upStartFails = false;
    s.imageBytes = 10 * 2048;
    s.badFolders.clear();
    s.calls.clear();
    s.scanDelayMs = 0;
    s.scans = 0;
}

// The drive of a grabber, stale or not.
inline FakeDrive* AnyDriveOf(StarBurnGrabber* grabber) {
    auto& s = State();
    return grabber && grabber->drive < s.drives.size() ? &s.drives[grabber->drive] : nullptr;
}

// The drive of a grabber that holds it, or null (stale, let go, or the drive held elsewhere).
inline FakeDrive* DriveOf(StarBurnGrabber* grabber) { return grabber && grabber->held ? AnyDriveOf(grabber) : nullptr; }

// What libburn's rules give: media written over in place.
inline bool Overwritable(std::uint32_t mediaType) {
    return mediaType == 6 || mediaType == 7 || mediaType == 9 || mediaType == 19;
}

inline void LetGo(StarBurnGrabber* grabber) {
    if (FakeDrive* d = DriveOf(grabber)) d->holding--;
    if (grabber) grabber->held = false;
}

inline bool NeedsDisc(const std::string& op) {
    static const std::set<std::string> ops = {"TestUnitReady", "GetDiscInformation", "GetTOCInformation",
                                              "GetTrackInformation", "GetVolumeLabel", "TrackAtOnceFromTree",
                                              "Blank", "Format", "CloseSession"};
    return ops.count(op) != 0;
}

inline std::uint32_t Outcome(FakeDrive* drive, const std::string& op, char* text, std::uint32_t size,
                             std::uint32_t* status) {
    State().calls.push_back(op);
    std::string reason;
    if (!drive) reason = "no drive";
    else if (drive->trayOpen && NeedsDisc(op)) reason = "no disc (tray open)";
    else if (drive->failing.count(op)) reason = "fake " + op + " failed";
    if (reason.empty()) {
        if (status) *status = 0;
        return STARBURN_OK;
    }
    if (text && size) {
        std::snprintf(text, size, "%s", reason.c_str());
    }
    if (status) *status = 5;
    return STARBURN_EXCEPTION_GENERIC;
}

inline void Put32(std::uint8_t* at, std::uint32_t value) { std::memcpy(at, &value, 4); }

#define FAKE_ERR char *text, std::uint32_t size, std::uint32_t *status, StarBurnCdbFailure *
#define FAKE_OUTCOME(op) Outcome(DriveOf(g), op, text, size, status)

inline std::uint32_t UpStartEx() { return State().upStartFails ? STARBURN_EXCEPTION_GENERIC : STARBURN_OK; }
inline void DownShut() {}
inline const char* ExceptionName(std::uint32_t e) { return e ? "fake failure" : "none"; }
inline std::uint32_t FindDevice(std::uint32_t, std::uint32_t, StarBurnCallback cb, void* ctx) {
    State().scans++;
    if (State().scanDelayMs) Sleep(static_cast<DWORD>(State().scanDelayMs));
    auto drives = State().drives;
    for (auto& d : drives) {
        if (cb) cb(STARBURN_CN_DEVICE_FOUND, ctx, d.address.data(), nullptr);
    }
    return STARBURN_OK;
}
inline std::uint32_t MakeGrabber(StarBurnGrabber** out, std::size_t index, StarBurnCallback cb, void* ctx) {
    FakeDrive& d = State().drives[index];
    d.grabbers++;
    *out = new StarBurnGrabber{index, cb, ctx, !d.inUse};
    if (!d.inUse) d.holding++;
    return STARBURN_OK;
}

// A failing call on a grabber of a drive another program holds.
inline std::uint32_t InUse(StarBurnGrabber* g, char* text, std::uint32_t size, std::uint32_t* status) {
    FakeDrive* d = AnyDriveOf(g);
    if (!d || !d->inUse || g->held) return STARBURN_OK;
    if (text && size) std::snprintf(text, size, "the drive is in use by another program");
    if (status) *status = 170;
    return STARBURN_EXCEPTION_NOT_READY;
}
inline std::uint32_t Create(StarBurnGrabber** out, FAKE_ERR, StarBurnCallback cb, void* ctx, std::uint8_t port,
                            std::uint8_t bus, std::uint8_t target, std::uint8_t lun, std::uint32_t) {
    *out = nullptr;
    auto& drives = State().drives;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const auto& a = drives[i].address;
        if (a[1] == port && a[2] == bus && a[3] == target && a[4] == lun) return MakeGrabber(out, i, cb, ctx);
    }
    return Outcome(nullptr, "Create", text, size, status);
}
inline std::uint32_t CreateEx(StarBurnGrabber** out, FAKE_ERR, StarBurnCallback cb, void* ctx, const char* name,
                              std::uint32_t) {
    *out = nullptr;
    if (State().scanDelayMs && std::string(name) == "CdRom0") Sleep(static_cast<DWORD>(State().scanDelayMs));
    auto& drives = State().drives;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        if (drives[i].name == name) return MakeGrabber(out, i, cb, ctx);
    }
    return Outcome(nullptr, "CreateEx", text, size, status);
}
inline void Destroy(StarBurnGrabber** g) {
    if (!g || !*g) return;
    LetGo(*g);
    if (FakeDrive* d = AnyDriveOf(*g)) d->grabbers--;
    delete *g;
    *g = nullptr;
}
inline std::uint32_t TestUnitReady(StarBurnGrabber* g, FAKE_ERR) {
    if (std::uint32_t busy = InUse(g, text, size, status)) return busy;
    FakeDrive* d = DriveOf(g);
    return Outcome(d && d->ready ? d : nullptr, "TestUnitReady", text, size, status);
}
inline std::uint32_t GetDeviceLetter(const char* name, char letter[3], std::uint32_t* status) {
    auto& drives = State().drives;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        if (drives[i].name == name) {
            letter[0] = static_cast<char>('E' + i);
            letter[1] = ':';
            letter[2] = '\0';
            *status = 0;
            return STARBURN_OK;
        }
    }
    *status = 2;
    return STARBURN_EXCEPTION_NO_DEVICE;
}
inline std::uint32_t GetDeviceNameByDeviceAddress(std::uint8_t, std::uint8_t, std::uint8_t target, std::uint8_t,
                                                  char name[STARBURN_TEXT_SIZE]) {
    std::snprintf(name, STARBURN_TEXT_SIZE, "\\\\.\\%c:", 'E' + target);
    return STARBURN_OK;
}
inline void GetDeviceInformation(StarBurnGrabber* g, char v[1024], char p[1024], char r[1024], std::uint32_t* cache) {
    if (FakeDrive* d = AnyDriveOf(g)) {
        std::snprintf(v, 1024, "%s", d->vendor.c_str());
        std::snprintf(p, 1024, "%s", d->product.c_str());
        std::snprintf(r, 1024, "%s", d->revision.c_str());
        *cache = d->cacheBytes;
    }
}
inline void GetCaps(StarBurnGrabber* g, std::uint8_t* f) {
    if (FakeDrive* d = DriveOf(g)) std::memcpy(f, d->caps.data(), 10);
}
inline void GetCapsEx(StarBurnGrabber* g, std::uint8_t* f) {
    if (FakeDrive* d = DriveOf(g)) std::memcpy(f, d->capsEx.data(), 6);
}
inline std::uint32_t DiscType(StarBurnGrabber* g) {
    FakeDrive* d = DriveOf(g);
    return d && !d->trayOpen ? d->mediaType : 14;
}
inline std::uint32_t DiscInformation(StarBurnGrabber* g, FAKE_ERR, std::uint8_t* record) {
    std::uint32_t r = FAKE_OUTCOME("GetDiscInformation");
    if (r == STARBURN_OK) {
        std::memset(record, 0, STARBURN_DISC_INFORMATION_SIZE);
        record[1] = DriveOf(g)->discStatus;
    }
    return r;
}
inline std::uint32_t VolumeLabel(StarBurnGrabber* g, FAKE_ERR, char label[256]) {
    std::uint32_t r = FAKE_OUTCOME("GetVolumeLabel");
    if (r == STARBURN_OK) std::snprintf(label, 256, "%s", DriveOf(g)->volumeLabel.c_str());
    return r;
}
inline void SetTOCMode(std::uint32_t) {}
inline std::uint32_t TOCInformation(StarBurnGrabber* g, FAKE_ERR, std::uint8_t* record) {
    std::uint32_t r = FAKE_OUTCOME("GetTOCInformation");
    if (r != STARBURN_OK) return r;
    FakeDrive* d = DriveOf(g);
    std::memset(record, 0, STARBURN_TOC_SIZE);
    record[0] = 1;
    record[1] = d->mediaType >= 4 && d->mediaType != 10 && d->mediaType != 11 && d->mediaType != 12;
    record[9] = d->sessions;
    record[10] = static_cast<std::uint8_t>(d->tocBlocks.size());
    for (std::size_t k = 0; k < d->tocBlocks.size(); ++k) Put32(record + 12 + 34 * k + 10, d->tocBlocks[k]);
    return r;
}
inline std::uint32_t TrackInformation(StarBurnGrabber* g, FAKE_ERR, std::uint32_t track, std::uint8_t* record) {
    std::uint32_t r = FAKE_OUTCOME("GetTrackInformation");
    if (r != STARBURN_OK) return r;
    FakeDrive* d = DriveOf(g);
    std::memset(record, 0, STARBURN_TRACK_INFORMATION_SIZE);
    record[1] = static_cast<std::uint8_t>(track);
    record[9] = d->discStatus == 0;
    record[11] = d->nwaValid;
    Put32(record + 16, d->nwa);
    // A closed disc takes nothing more, unless it is written over in place.
    Put32(record + 20, d->discStatus == 2 && !Overwritable(d->mediaType) ? 0 : d->freeBlocks);
    return r;
}
inline std::uint32_t GetSpeeds(StarBurnGrabber* g, FAKE_ERR, std::uint32_t* cr, std::uint32_t* mr, std::uint32_t* cw,
                               std::uint32_t* mw) {
    std::uint32_t r = FAKE_OUTCOME("GetSpeeds");
    if (r != STARBURN_OK) return r;
    FakeDrive* d = DriveOf(g);
    *cr = d->currentRead;
    *mr = d->maxRead;
    *cw = d->currentWrite;
    *mw = d->maxWrite;
    return r;
}
inline std::uint32_t SetSpeeds(StarBurnGrabber* g, FAKE_ERR, std::uint32_t read, std::uint32_t write) {
    std::uint32_t r = FAKE_OUTCOME("SetSpeeds");
    if (r != STARBURN_OK) return r;
    FakeDrive* d = DriveOf(g);
    if (read != STARBURN_SPEED_NOT_SET) d->currentRead = d->takesRead(read);
    if (write != STARBURN_SPEED_NOT_SET) d->currentWrite = d->takesWrite(write);
    return r;
}
inline std::uint32_t WriteModes(StarBurnGrabber* g, FAKE_ERR, std::uint8_t* tao, std::uint8_t* sao, std::uint8_t* pq,
                                std::uint8_t* raw) {
    std::uint32_t r = FAKE_OUTCOME("ProbeSupportedWriteModes");
    if (r != STARBURN_OK) return r;
    *tao = DriveOf(g)->trackAtOnce;
    *sao = 1;
    *pq = 1;
    *raw = 0;
    return r;
}
inline std::uint32_t ReadModes(StarBurnGrabber* g, FAKE_ERR, std::uint8_t* flags) {
    std::uint32_t r = FAKE_OUTCOME("ProbeSupportedReadModes");
    if (r == STARBURN_OK) std::memset(flags, 1, 6);
    return r;
}
// Lock takes a drive that was let go again, Release and Eject let go of it.
inline std::uint32_t Lock(StarBurnGrabber* g, FAKE_ERR) {
    if (std::uint32_t busy = InUse(g, text, size, status)) return busy;
    if (FakeDrive* d = AnyDriveOf(g); d && !g->held) {
        g->held = true;
        d->holding++;
    }
    return FAKE_OUTCOME("Lock");
}
inline std::uint32_t Release(StarBurnGrabber* g, FAKE_ERR) {
    std::uint32_t r = FAKE_OUTCOME("Release");
    if (r == STARBURN_OK) LetGo(g);
    return r;
}
inline std::uint32_t Eject(StarBurnGrabber* g, FAKE_ERR) {
    std::uint32_t r = FAKE_OUTCOME("Eject");
    if (r == STARBURN_OK) {
        DriveOf(g)->trayOpen = true;
        LetGo(g);
    }
    return r;
}
inline std::uint32_t Load(StarBurnGrabber* g, FAKE_ERR) {
    if (std::uint32_t busy = InUse(g, text, size, status)) return busy;
    FakeDrive* d = AnyDriveOf(g);
    if (d && !g->held) {
        g->held = true;
        d->holding++;
    }
    if (d) d->trayOpen = false;
    std::uint32_t r = FAKE_OUTCOME("Load");
    if (r == STARBURN_OK && d && d->onLoad) d->onLoad(*d);
    return r;
}
// libburn blanks CD-RW and sequential DVD-RW only; media written over in place refuse.
inline std::uint32_t Blank(StarBurnGrabber* g, FAKE_ERR, std::uint32_t mode) {
    FakeDrive* drive = DriveOf(g);
    if (drive && Overwritable(drive->mediaType)) {
        drive->blanks++;
        State().calls.push_back("Blank");
        if (text && size) std::snprintf(text, size, "the disc cannot be blanked");
        if (status) *status = 50;
        return STARBURN_EXCEPTION_UNSUPPORTED;
    }
    std::uint32_t r = FAKE_OUTCOME("Blank");
    if (FakeDrive* d = DriveOf(g)) {
        d->blanks++;
        d->blankMode = mode;
        if (d->blankMs) Sleep(static_cast<DWORD>(d->blankMs));
        if (r == STARBURN_OK) d->discStatus = 0;
        if (r == STARBURN_OK && d->onBlank) d->onBlank(*d);
    }
    return r;
}
// The erase of media written over in place; sequential media refuse it.
inline std::uint32_t Format(StarBurnGrabber* g, FAKE_ERR) {
    FakeDrive* d = DriveOf(g);
    if (d && !Overwritable(d->mediaType)) {
        State().calls.push_back("Format");
        if (text && size) std::snprintf(text, size, "the disc is not overwritable");
        if (status) *status = 50;
        return STARBURN_EXCEPTION_UNSUPPORTED;
    }
    std::uint32_t r = FAKE_OUTCOME("Format");
    if (d) d->formats++;
    if (r == STARBURN_OK && d) {
        d->discStatus = 0;
        if (d->onBlank) d->onBlank(*d);
    }
    return r;
}
inline std::uint32_t GetBUP(StarBurnGrabber* g, FAKE_ERR, std::uint8_t* enabled, std::uint8_t* supported) {
    std::uint32_t r = FAKE_OUTCOME("GetBUP");
    if (r == STARBURN_OK) {
        *enabled = 0;
        *supported = 1;
    }
    return r;
}
inline std::uint32_t SetBUP(StarBurnGrabber* g, FAKE_ERR, std::uint8_t) { return FAKE_OUTCOME("SetBUP"); }
inline std::uint32_t SendOPC(StarBurnGrabber* g, FAKE_ERR) { return FAKE_OUTCOME("SendOPC"); }
inline std::uint32_t DVDVideoCreate(StarBurnDVDVideo** out, const char* folder, std::uint32_t, char* text,
                                    std::uint32_t size, std::uint32_t* status, const char*, const char*, const char*,
                                    std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                    std::uint32_t, std::uint32_t) {
    *out = nullptr;
    State().calls.push_back("DVDVideo_Create");
    if (State().badFolders.count(folder ? folder : "")) {
        std::snprintf(text, size, "no VIDEO_TS folder");
        *status = 3;
        return STARBURN_EXCEPTION_FILE_SYSTEM;
    }
    *out = new StarBurnDVDVideo{{State().imageBytes}};
    return STARBURN_OK;
}
inline void DVDVideoSize(StarBurnDVDVideo* v, std::int64_t* bytes) { *bytes = v ? v->tree.bytes : 0; }
inline void DVDVideoTree(StarBurnDVDVideo* v, StarBurnTree** tree) { *tree = v ? &v->tree : nullptr; }
inline void DVDVideoDestroy(StarBurnDVDVideo** v) {
    if (v) {
        delete *v;
        *v = nullptr;
    }
}
inline std::uint32_t TrackAtOnce(StarBurnGrabber* g, FAKE_ERR, StarBurnTree*, std::uint32_t, std::uint8_t testWrite,
                                 std::uint32_t, std::uint32_t, std::uint32_t) {
    FakeDrive* d = DriveOf(g);
    if (d) {
        d->writes++;
        d->lastWriteWasTest = testWrite != 0;
        // The events are spread over the write, as a drive reports while it writes.
        const int pause = d->writeMs / static_cast<int>(d->burnEvents.size() + 1);
        const std::vector<Event> events = d->burnEvents;
        for (auto e : events) {
            if (pause > 0) Sleep(static_cast<DWORD>(pause));
            if (g->callback) g->callback(e.code, g->context, &e.first, &e.second);
        }
        const int rest = d->writeMs - pause * static_cast<int>(events.size());
        if (rest > 0) Sleep(static_cast<DWORD>(rest));
    }
    return FAKE_OUTCOME("TrackAtOnceFromTree");
}
inline std::uint32_t CloseSession(StarBurnGrabber* g, FAKE_ERR) {
    if (FakeDrive* d = DriveOf(g)) d->closes++;
    return FAKE_OUTCOME("CloseSession");
}

#undef FAKE_ERR
#undef FAKE_OUTCOME

// The fake's table of operations.
inline StarBurnApi FakeApi() {
    StarBurnApi api;
    api.StarBurn_UpStartEx = UpStartEx;
    api.StarBurn_DownShut = DownShut;
    api.StarBurn_ExceptionName = ExceptionName;
    api.StarBurn_FindDevice = FindDevice;
    api.StarBurn_CdvdBurnerGrabber_Create = Create;
    api.StarBurn_CdvdBurnerGrabber_CreateEx = CreateEx;
    api.StarBurn_CdvdBurnerGrabber_Destroy = Destroy;
    api.StarBurn_CdvdBurnerGrabber_TestUnitReady = TestUnitReady;
    api.StarBurn_GetDeviceLetter = GetDeviceLetter;
    api.StarBurn_GetDeviceNameByDeviceAddress = GetDeviceNameByDeviceAddress;
    api.StarBurn_CdvdBurnerGrabber_GetDeviceInformation = GetDeviceInformation;
    api.StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities = GetCaps;
    api.StarBurn_CdvdBurnerGrabber_GetDeviceCapabilitiesEx = GetCapsEx;
    api.StarBurn_CdvdBurnerGrabber_GetInsertedDiscType = DiscType;
    api.StarBurn_CdvdBurnerGrabber_GetDiscInformation = DiscInformation;
    api.StarBurn_CdvdBurnerGrabber_GetVolumeLabel = VolumeLabel;
    api.StarBurn_SetTOCMode = SetTOCMode;
    api.StarBurn_CdvdBurnerGrabber_GetTOCInformation = TOCInformation;
    api.StarBurn_CdvdBurnerGrabber_GetTrackInformation = TrackInformation;
    api.StarBurn_CdvdBurnerGrabber_GetSpeeds = GetSpeeds;
    api.StarBurn_CdvdBurnerGrabber_SetSpeeds = SetSpeeds;
    api.StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes = WriteModes;
    api.StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes = ReadModes;
    api.StarBurn_CdvdBurnerGrabber_Lock = Lock;
    api.StarBurn_CdvdBurnerGrabber_Release = Release;
    api.StarBurn_CdvdBurnerGrabber_Eject = Eject;
    api.StarBurn_CdvdBurnerGrabber_Load = Load;
    api.StarBurn_CdvdBurnerGrabber_Blank = Blank;
    api.StarBurn_CdvdBurnerGrabber_Format = Format;
    api.StarBurn_CdvdBurnerGrabber_GetBUP = GetBUP;
    api.StarBurn_CdvdBurnerGrabber_SetBUP = SetBUP;
    api.StarBurn_CdvdBurnerGrabber_SendOPC = SendOPC;
    api.StarBurn_DVDVideo_Create = DVDVideoCreate;
    api.StarBurn_DVDVideo_GetSizeInUCHARs = DVDVideoSize;
    api.StarBurn_DVDVideo_GetTreeNode = DVDVideoTree;
    api.StarBurn_DVDVideo_Destroy = DVDVideoDestroy;
    api.StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree = TrackAtOnce;
    api.StarBurn_CdvdBurnerGrabber_CloseSession = CloseSession;
    return api;
}

// Registers a backend table as the module "starburn.dll"; a table missing an operation is refused.
inline bool RegisterBackend(const StarBurnApi& api) {
    if (!StarBurnApiComplete(api)) return false;
#define FAKE_EXPORT(ordinal, name, type) {#name, reinterpret_cast<FARPROC>(api.name)},
    Win32_RegisterModule("starburn.dll", {STARBURN_OPERATIONS(FAKE_EXPORT)});
#undef FAKE_EXPORT
    return true;
}

}  // namespace fake_starburn
