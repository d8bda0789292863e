// The burning SDK (starburn.dll): grabbers over CD/DVD burners, disc information, speeds,
// blanking, the DVD-Video file system and track-at-once writing.
//
// Call sequence:
//   StarBurn_UpStartEx();
//   StarBurn_FindDevice(5, 0, callback, context);            // code 10 per device address
//   StarBurn_CdvdBurnerGrabber_CreateEx(&grabber, text, sizeof text, &status, &cdb, cb, ctx, name, 1);
//   ... queries (TestUnitReady, GetDiscInformation, GetTOCInformation, GetSpeeds, ...)
//   StarBurn_DVDVideo_Create(&video, folder, 1, text, sizeof text, &status, "DVD_Disc", ...);
//   StarBurn_DVDVideo_GetTreeNode(video, &tree);
//   StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree(grabber, ..., tree, 1, testWrite, 0, 1, 5);
//   StarBurn_CdvdBurnerGrabber_CloseSession(grabber, ...);
//   StarBurn_DVDVideo_Destroy(&video); StarBurn_CdvdBurnerGrabber_Destroy(&grabber);
//
// Device names: "CdRomN" is /dev/srN, or the N-th entry of STARBURN_DRIVES (libburn addresses
// separated by ';', such as "stdio:/tmp/disc.iso": a file as a drive); other names are libburn
// addresses themselves.
//
// Grabbers: Create/CreateEx take the drive as it is (an open tray stays open and reads as no
// disc) and hold it, its tray locked, until Release, Eject or Destroy lets go; calls on a grabber
// that let go fail until Lock (tray as it is) or Load (tray closed) takes the drive again. A drive
// that another program holds (a disc the desktop mounted) still gives a grabber that names it,
// and every call on it fails with STARBURN_STATUS_BUSY. Take a drive for one job, then let go.
//
// The DVD-Video image is never stored: DVDVideo_Create sizes it, and TrackAtOnceFromTree streams
// it from genisoimage into the track.
//
// The program loads the module by name and binds every operation of STARBURN_OPERATIONS by
// name (all or nothing). A test registers its own table of the same operations under the same
// module name. Every operation may be called from any thread, one call per grabber at a time.
//
// Error convention: grabber operations take (grabber, exception text, text size, status, CDB
// failure record, ...) and return an exception code, 0 on success. On failure the text holds a
// readable reason (zero-terminated, cut to the size given), the status a Win32-style error
// number; StarBurn_ExceptionName turns the code into a short name for a log.
#pragma once

#include <cstdint>

extern "C" {

struct StarBurnGrabber;    // one opened drive; made by Create/CreateEx, freed by Destroy
struct StarBurnDVDVideo;   // a DVD-Video file system image; made by DVDVideo_Create
struct StarBurnTree;       // the file tree of a DVDVideo object; owned by that object

struct StarBurnCdbFailure {
    std::uint8_t bytes[54];
};

// code, context, first event pointer, second event pointer.
using StarBurnCallback = void (*)(std::uint32_t code, void* context, void* first, void* second);

// Exception codes.
enum : std::uint32_t {
    STARBURN_OK = 0,
    STARBURN_EXCEPTION_GENERIC = 1,
    STARBURN_EXCEPTION_INVALID_PARAMETER = 2,
    STARBURN_EXCEPTION_NO_DEVICE = 3,
    STARBURN_EXCEPTION_NOT_READY = 4,
    STARBURN_EXCEPTION_UNSUPPORTED = 5,
    STARBURN_EXCEPTION_FILE_SYSTEM = 6,
    STARBURN_EXCEPTION_WRITE = 7,
};

// Status numbers of a failed operation (Win32's error numbers of the same meaning).
enum : std::uint32_t {
    STARBURN_STATUS_FILE_NOT_FOUND = 2,         // ERROR_FILE_NOT_FOUND: no such drive or program
    STARBURN_STATUS_NOT_ENOUGH_MEMORY = 8,      // ERROR_NOT_ENOUGH_MEMORY
    STARBURN_STATUS_NOT_READY = 21,             // ERROR_NOT_READY: no disc, or the drive was let go
    STARBURN_STATUS_WRITE_FAULT = 29,           // ERROR_WRITE_FAULT
    STARBURN_STATUS_READ_FAULT = 30,            // ERROR_READ_FAULT
    STARBURN_STATUS_GEN_FAILURE = 31,           // ERROR_GEN_FAILURE
    STARBURN_STATUS_NOT_SUPPORTED = 50,         // ERROR_NOT_SUPPORTED
    STARBURN_STATUS_INVALID_PARAMETER = 87,     // ERROR_INVALID_PARAMETER
    STARBURN_STATUS_BUSY = 170,                 // ERROR_BUSY: another program holds the drive
    STARBURN_STATUS_UNRECOGNIZED_VOLUME = 1005, // ERROR_UNRECOGNIZED_VOLUME
};

// Media-type codes of GetInsertedDiscType.
enum : std::uint32_t {
    STARBURN_MEDIA_UNKNOWN = 0,
    STARBURN_MEDIA_CDROM = 1,
    STARBURN_MEDIA_CDR = 2,
    STARBURN_MEDIA_CDRW = 3,
    STARBURN_MEDIA_DVDROM = 4,
    STARBURN_MEDIA_DVDR = 5,
    STARBURN_MEDIA_DVDRAM = 6,
    STARBURN_MEDIA_DVDRW_OVERWRITE = 7,     // DVD-RW in restricted overwrite
    STARBURN_MEDIA_DVDRW_SEQUENTIAL = 8,    // DVD-RW written sequentially
    STARBURN_MEDIA_DVDPLUSRW = 9,
    STARBURN_MEDIA_CDROM_2 = 10,            // 10 to 12: CDs again, under codes of their own
    STARBURN_MEDIA_CDR_2 = 11,
    STARBURN_MEDIA_CDRW_2 = 12,
    STARBURN_MEDIA_DVDPLUSR = 13,
    STARBURN_MEDIA_EMPTY = 14,              // no disc
    STARBURN_MEDIA_DVDPLUSR_DL = 15,
    STARBURN_MEDIA_DVDR_DL = 16,
    STARBURN_MEDIA_BDROM = 17,
    STARBURN_MEDIA_BDR = 18,
    STARBURN_MEDIA_BDRE = 19,
    STARBURN_MEDIA_HDDVD_ROM = 20,
    STARBURN_MEDIA_HDDVD_R = 21,
    STARBURN_MEDIA_HDDVD_RW = 22,
};

// Callback codes.
enum : std::uint32_t {
    STARBURN_CN_TARGET_FILE_ANALYZE_BEGIN = 4,
    STARBURN_CN_TARGET_FILE_ANALYZE_END = 5,     // first: int64 bytes, second: int64 blocks
    STARBURN_CN_WAIT_CACHE_FULL_BEGIN = 6,       // first: uint32 ms
    STARBURN_CN_WAIT_CACHE_FULL_END = 7,
    STARBURN_CN_SYNCHRONIZE_CACHE_BEGIN = 8,
    STARBURN_CN_SYNCHRONIZE_CACHE_END = 9,
    STARBURN_CN_DEVICE_FOUND = 10,               // first: 5-byte device address
    STARBURN_CN_PROGRESS = 12,                   // first: int64 total, second: int64 written
    STARBURN_CN_DVDPLUSRW_FORMAT_BEGIN = 21,
    STARBURN_CN_DVDPLUSRW_FORMAT_END = 22,
    STARBURN_CN_DVD_MEDIA_PADDING_SIZE = 26,     // first: int64 blocks, second: uint32 padding
    STARBURN_CN_DVD_MEDIA_PADDING_BEGIN = 27,
    STARBURN_CN_DVD_MEDIA_PADDING_END = 28,
    STARBURN_CN_DVDRW_QUICK_FORMAT_BEGIN = 30,
    STARBURN_CN_DVDRW_QUICK_FORMAT_END = 31,
};

// Record sizes.
constexpr std::uint32_t STARBURN_TEXT_SIZE = 1024;
constexpr std::uint32_t STARBURN_DISC_INFORMATION_SIZE = 34;
constexpr std::uint32_t STARBURN_TOC_SIZE = 8923;
constexpr std::uint32_t STARBURN_TRACK_INFORMATION_SIZE = 28;
constexpr std::uint32_t STARBURN_DEVICE_ADDRESS_SIZE = 5;
constexpr std::uint32_t STARBURN_SPEED_NOT_SET = 0xFFFF;

#define STARBURN_ERR char *text, std::uint32_t textSize, std::uint32_t *status, StarBurnCdbFailure *cdb

// Each operation's type. Who owns what: grabbers, DVDVideo objects are the caller's to destroy;
// records and texts are the caller's buffers.
using StarBurn_UpStartEx_t = std::uint32_t();
using StarBurn_DownShut_t = void();
using StarBurn_ExceptionName_t = const char*(std::uint32_t exception);
using StarBurn_FindDevice_t = std::uint32_t(std::uint32_t mode, std::uint32_t flags, StarBurnCallback callback,
                                            void* context);
using StarBurn_CdvdBurnerGrabber_Create_t = std::uint32_t(StarBurnGrabber** grabber, STARBURN_ERR,
                                                          StarBurnCallback callback, void* context,
                                                          std::uint8_t port, std::uint8_t bus,
                                                          std::uint8_t target, std::uint8_t lun,
                                                          std::uint32_t flag);
using StarBurn_CdvdBurnerGrabber_CreateEx_t = std::uint32_t(StarBurnGrabber** grabber, STARBURN_ERR,
                                                            StarBurnCallback callback, void* context,
                                                            const char* deviceName, std::uint32_t flag);
using StarBurn_CdvdBurnerGrabber_Destroy_t = void(StarBurnGrabber** grabber);
using StarBurn_Grabber_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR);
using StarBurn_GetDeviceLetter_t = std::uint32_t(const char* deviceName, char letter[3], std::uint32_t* status);
using StarBurn_GetDeviceNameByDeviceAddress_t = std::uint32_t(std::uint8_t port, std::uint8_t bus,
                                                              std::uint8_t target, std::uint8_t lun,
                                                              char name[STARBURN_TEXT_SIZE]);
using StarBurn_CdvdBurnerGrabber_GetDeviceInformation_t = void(StarBurnGrabber* grabber, char vendor[1024],
                                                               char product[1024], char revision[1024],
                                                               std::uint32_t* cacheBytes);
using StarBurn_CdvdBurnerGrabber_GetCapabilities_t = void(StarBurnGrabber* grabber, std::uint8_t* flags);
using StarBurn_CdvdBurnerGrabber_GetInsertedDiscType_t = std::uint32_t(StarBurnGrabber* grabber);
using StarBurn_CdvdBurnerGrabber_GetRecord_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR,
                                                             std::uint8_t* record);
// The label of the disc's ISO 9660 primary volume descriptor, without trailing blanks.
using StarBurn_CdvdBurnerGrabber_GetVolumeLabel_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR,
                                                                  char label[256]);
using StarBurn_SetTOCMode_t = void(std::uint32_t mode);
using StarBurn_CdvdBurnerGrabber_GetTrackInformation_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR,
                                                                       std::uint32_t track, std::uint8_t* record);
using StarBurn_CdvdBurnerGrabber_GetSpeeds_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR,
                                                             std::uint32_t* currentRead, std::uint32_t* maxRead,
                                                             std::uint32_t* currentWrite, std::uint32_t* maxWrite);
using StarBurn_CdvdBurnerGrabber_SetSpeeds_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR,
                                                             std::uint32_t readKBps, std::uint32_t writeKBps);
using StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes_t =
    std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR, std::uint8_t* trackAtOnce, std::uint8_t* sessionAtOnce,
                  std::uint8_t* discAtOncePQ, std::uint8_t* discAtOnceRawPW);
using StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR,
                                                                           std::uint8_t* flags6);
// Blanks CD-RW and sequential DVD-RW; media that are overwritten in place refuse it (Format).
using StarBurn_CdvdBurnerGrabber_Blank_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR, std::uint32_t mode);
using StarBurn_CdvdBurnerGrabber_GetBUP_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR,
                                                          std::uint8_t* enabled, std::uint8_t* supported);
using StarBurn_CdvdBurnerGrabber_SetBUP_t = std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR,
                                                          std::uint8_t enable);
using StarBurn_DVDVideo_Create_t = std::uint32_t(StarBurnDVDVideo** video, const char* folder, std::uint32_t flag,
                                                 char* text, std::uint32_t textSize, std::uint32_t* status,
                                                 const char* volumeLabel, const char* publisher,
                                                 const char* preparer, std::uint32_t year, std::uint32_t month,
                                                 std::uint32_t day, std::uint32_t hour, std::uint32_t minute,
                                                 std::uint32_t second, std::uint32_t millisecond);
using StarBurn_DVDVideo_GetSizeInUCHARs_t = void(StarBurnDVDVideo* video, std::int64_t* bytes);
using StarBurn_DVDVideo_GetTreeNode_t = void(StarBurnDVDVideo* video, StarBurnTree** tree);
using StarBurn_DVDVideo_Destroy_t = void(StarBurnDVDVideo** video);
// tree, next session allowed, test write, reserved, close track, progress reports per second
using StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree_t =
    std::uint32_t(StarBurnGrabber* grabber, STARBURN_ERR, StarBurnTree* tree, std::uint32_t nextSessionAllowed,
                  std::uint8_t testWrite, std::uint32_t reserved, std::uint32_t closeTrack,
                  std::uint32_t reportsPerSecond);

#undef STARBURN_ERR

}  // extern "C"

// The one table of the SDK's operations: X(ordinal, name, type). Ordinal 0 marks an operation of
// ours that the original numbering does not have.
#define STARBURN_OPERATIONS(X)                                                                        \
    X(0, StarBurn_UpStartEx, StarBurn_UpStartEx_t)                                                    \
    X(0, StarBurn_DownShut, StarBurn_DownShut_t)                                                      \
    X(0, StarBurn_ExceptionName, StarBurn_ExceptionName_t)                                            \
    X(96, StarBurn_FindDevice, StarBurn_FindDevice_t)                                                 \
    X(6, StarBurn_CdvdBurnerGrabber_Create, StarBurn_CdvdBurnerGrabber_Create_t)                      \
    X(7, StarBurn_CdvdBurnerGrabber_CreateEx, StarBurn_CdvdBurnerGrabber_CreateEx_t)                  \
    X(91, StarBurn_CdvdBurnerGrabber_Destroy, StarBurn_CdvdBurnerGrabber_Destroy_t)                   \
    X(69, StarBurn_CdvdBurnerGrabber_TestUnitReady, StarBurn_Grabber_t)                               \
    X(101, StarBurn_GetDeviceLetter, StarBurn_GetDeviceLetter_t)                                      \
    X(102, StarBurn_GetDeviceNameByDeviceAddress, StarBurn_GetDeviceNameByDeviceAddress_t)            \
    X(22, StarBurn_CdvdBurnerGrabber_GetDeviceInformation, StarBurn_CdvdBurnerGrabber_GetDeviceInformation_t) \
    X(32, StarBurn_CdvdBurnerGrabber_GetDeviceCapabilities, StarBurn_CdvdBurnerGrabber_GetCapabilities_t) \
    X(34, StarBurn_CdvdBurnerGrabber_GetDeviceCapabilitiesEx, StarBurn_CdvdBurnerGrabber_GetCapabilities_t) \
    X(25, StarBurn_CdvdBurnerGrabber_GetInsertedDiscType, StarBurn_CdvdBurnerGrabber_GetInsertedDiscType_t) \
    X(24, StarBurn_CdvdBurnerGrabber_GetDiscInformation, StarBurn_CdvdBurnerGrabber_GetRecord_t)      \
    X(0, StarBurn_CdvdBurnerGrabber_GetVolumeLabel, StarBurn_CdvdBurnerGrabber_GetVolumeLabel_t)      \
    X(155, StarBurn_SetTOCMode, StarBurn_SetTOCMode_t)                                                \
    X(35, StarBurn_CdvdBurnerGrabber_GetTOCInformation, StarBurn_CdvdBurnerGrabber_GetRecord_t)       \
    X(36, StarBurn_CdvdBurnerGrabber_GetTrackInformation, StarBurn_CdvdBurnerGrabber_GetTrackInformation_t) \
    X(31, StarBurn_CdvdBurnerGrabber_GetSpeeds, StarBurn_CdvdBurnerGrabber_GetSpeeds_t)               \
    X(64, StarBurn_CdvdBurnerGrabber_SetSpeeds, StarBurn_CdvdBurnerGrabber_SetSpeeds_t)               \
    X(46, StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes, StarBurn_CdvdBurnerGrabber_ProbeSupportedWriteModes_t) \
    X(45, StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes, StarBurn_CdvdBurnerGrabber_ProbeSupportedReadModes_t) \
    X(43, StarBurn_CdvdBurnerGrabber_Lock, StarBurn_Grabber_t)                                        \
    X(55, StarBurn_CdvdBurnerGrabber_Release, StarBurn_Grabber_t)                                     \
    X(16, StarBurn_CdvdBurnerGrabber_Eject, StarBurn_Grabber_t)                                       \
    X(41, StarBurn_CdvdBurnerGrabber_Load, StarBurn_Grabber_t)                                        \
    X(3, StarBurn_CdvdBurnerGrabber_Blank, StarBurn_CdvdBurnerGrabber_Blank_t)                        \
    X(0, StarBurn_CdvdBurnerGrabber_Format, StarBurn_Grabber_t)                                       \
    X(19, StarBurn_CdvdBurnerGrabber_GetBUP, StarBurn_CdvdBurnerGrabber_GetBUP_t)                     \
    X(61, StarBurn_CdvdBurnerGrabber_SetBUP, StarBurn_CdvdBurnerGrabber_SetBUP_t)                     \
    X(57, StarBurn_CdvdBurnerGrabber_SendOPC, StarBurn_Grabber_t)                                     \
    X(85, StarBurn_DVDVideo_Create, StarBurn_DVDVideo_Create_t)                                       \
    X(87, StarBurn_DVDVideo_GetSizeInUCHARs, StarBurn_DVDVideo_GetSizeInUCHARs_t)                     \
    X(88, StarBurn_DVDVideo_GetTreeNode, StarBurn_DVDVideo_GetTreeNode_t)                             \
    X(0, StarBurn_DVDVideo_Destroy, StarBurn_DVDVideo_Destroy_t)                                      \
    X(76, StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree, StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree_t) \
    X(5, StarBurn_CdvdBurnerGrabber_CloseSession, StarBurn_Grabber_t)

// The SDK as a table of operations: one backend, bound by name or filled in by a test.
struct StarBurnApi {
#define STARBURN_API_MEMBER(ordinal, name, type) type* name = nullptr;
    STARBURN_OPERATIONS(STARBURN_API_MEMBER)
#undef STARBURN_API_MEMBER
};

// True when every operation of the table is present.
inline bool StarBurnApiComplete(const StarBurnApi& api) {
    bool complete = true;
#define STARBURN_API_CHECK(ordinal, name, type) complete = complete && api.name != nullptr;
    STARBURN_OPERATIONS(STARBURN_API_CHECK)
#undef STARBURN_API_CHECK
    return complete;
}

// Fills the table through resolve(name) (GetProcAddress and the like). All or nothing: on a
// missing operation the table is left empty and false comes back.
template <typename Resolve>
bool StarBurnBindApi(StarBurnApi& api, Resolve&& resolve) {
    StarBurnApi bound;
#define STARBURN_API_BIND(ordinal, name, type) bound.name = reinterpret_cast<type*>(resolve(#name));
    STARBURN_OPERATIONS(STARBURN_API_BIND)
#undef STARBURN_API_BIND
    if (!StarBurnApiComplete(bound)) {
        api = StarBurnApi{};
        return false;
    }
    api = bound;
    return true;
}
