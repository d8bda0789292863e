// libburn's set-up, the error record, grabbing and device naming.
#include "libs/starburn/StarBurnInternal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <vector>

using namespace burn;

namespace starburn {

void CopyText(char* out, std::uint32_t size, const std::string& text) {
    if (!out || size == 0) return;
    std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

namespace {

int SeverityNumber(const char* name) {
    int number = 0;
    burn_text_to_sev(const_cast<char*>(name), &number, 0);
    return number;
}

}  // namespace

// The most severe queued message (the later one on a tie), or "" when the queue is empty.
std::string MostSevereMessage(int* severityOut) {
    std::string best;
    int bestSeverity = -1;
    std::vector<char> text(BURN_MSGS_MESSAGE_LEN);
    char severity[80];
    int code = 0, osErrno = 0;
    while (burn_msgs_obtain(const_cast<char*>("ALL"), &code, text.data(), &osErrno, severity) > 0) {
        int number = SeverityNumber(severity);
        if (number >= bestSeverity) {
            bestSeverity = number;
            best = text.data();
        }
    }
    if (severityOut) *severityOut = bestSeverity;
    return best;
}

bool TakeQueuedProblem(std::string& text) {
    int severity = -1;
    std::string message = MostSevereMessage(&severity);
    if (severity < SeverityNumber("SORRY")) return false;
    text = message;
    return true;
}

void ErrorSink::Begin() const {
    if (text && textSize) text[0] = '\0';
    if (status) *status = 0;
    if (cdb) std::memset(cdb, 0, sizeof *cdb);
    int code = 0, osErrno = 0;
    std::vector<char> discard(BURN_MSGS_MESSAGE_LEN);
    char severity[80];
    burn_msgs_obtain(const_cast<char*>("NEVER"), &code, discard.data(), &osErrno, severity);
}

std::uint32_t ErrorSink::Fail(std::uint32_t exception, std::uint32_t win32Status, const std::string& fallback) const {
    int severity = -1;
    std::string message = MostSevereMessage(&severity);
    bool telling = !message.empty() && severity >= SeverityNumber("WARNING");
    CopyText(text, textSize, telling ? message : fallback);
    if (status) *status = win32Status;
    return exception;
}

std::uint32_t ErrorSink::Succeed() const {
    if (status) *status = 0;
    return STARBURN_OK;
}

namespace {

bool g_libburnStarted = false;

// libburn goes with the module: the program loads and frees the module for each job, and each
// load would otherwise leave libburn's start-up memory behind.
__attribute__((destructor)) void FinishLibburn() {
    if (g_libburnStarted) burn_finish();
}

}  // namespace

bool EnsureLibburn() {
    static std::once_flag once;
    std::call_once(once, [] {
        // libburn resets the dispositions it is told to leave to the system; put back ours.
        std::vector<struct sigaction> saved(NSIG);
        for (int s = 1; s < NSIG; ++s) sigaction(s, nullptr, &saved[s]);
        g_libburnStarted = burn_initialize() != 0;
        if (g_libburnStarted) {
            burn_set_signal_handling(nullptr, nullptr, 1);
            burn_msgs_set_severities(const_cast<char*>("ALL"), const_cast<char*>("NEVER"),
                                     const_cast<char*>("starburn: "));
        }
        for (int s = 1; s < NSIG; ++s) {
            if (s == SIGKILL || s == SIGSTOP) continue;
            sigaction(s, &saved[s], nullptr);
        }
    });
    return g_libburnStarted;
}

burn_drive* GrabbedDrive(StarBurnGrabber* grabber, const ErrorSink& error, std::uint32_t& result) {
    error.Begin();
    if (!grabber) {
        result = error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER, "no grabber");
        return nullptr;
    }
    if (grabber->busy) {
        result = error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_BUSY,
                            "the drive is in use by another program (a mounted disc?)");
        return nullptr;
    }
    if (!grabber->drive) {
        result = error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_NOT_READY,
                            "the drive was let go (ejected or released)");
        return nullptr;
    }
    result = STARBURN_OK;
    return grabber->drive;
}

bool Grab(StarBurnGrabber& grabber, TrayLoad load) {
    if (grabber.drive) return true;
    std::string address = grabber.address;
    if (burn_drive_scan_and_grab(&grabber.infos, address.data(), load == TrayLoad::Close ? 1 : 0) <= 0 ||
        !grabber.infos) {
        grabber.infos = nullptr;
        return false;
    }
    grabber.drive = grabber.infos[0].drive;
    grabber.busy = false;
    const burn_drive_info& info = grabber.infos[0];
    grabber.vendor = info.vendor;
    grabber.product = info.product;
    grabber.revision = info.revision;
    return true;
}

void Ungrab(StarBurnGrabber& grabber, bool eject) {
    if (grabber.drive) burn_drive_release(grabber.drive, eject ? 1 : 0);
    if (grabber.infos) burn_drive_info_free(grabber.infos);
    grabber.drive = nullptr;
    grabber.infos = nullptr;
}

// STARBURN_DRIVES (addresses separated by ';') names the drives "CdRom0", "CdRom1", ... in
// place of /dev/sr0, /dev/sr1, ...: a file as a drive, for machines without one.
std::string AddressOfDeviceName(const std::string& name) {
    if (name.rfind("CdRom", 0) != 0 || name.size() == 5) return name;
    char* end = nullptr;
    long n = std::strtol(name.c_str() + 5, &end, 10);
    if (*end != '\0' || n < 0) return name;
    if (const char* list = std::getenv("STARBURN_DRIVES")) {
        std::stringstream in(list);
        std::string entry;
        for (long i = 0; std::getline(in, entry, ';'); ++i) {
            if (i == n) return entry;
        }
        return "";
    }
    return "/dev/sr" + std::to_string(n);
}

}  // namespace starburn

using namespace starburn;

MODULE_EXPORT std::uint32_t StarBurn_UpStartEx() { return EnsureLibburn() ? STARBURN_OK : STARBURN_EXCEPTION_GENERIC; }

// libburn stays up for the life of the process: grabbers of other callers may still be alive.
MODULE_EXPORT void StarBurn_DownShut() {}

MODULE_EXPORT const char* StarBurn_ExceptionName(std::uint32_t exception) {
    switch (exception) {
        case STARBURN_OK: return "none";
        case STARBURN_EXCEPTION_GENERIC: return "generic failure";
        case STARBURN_EXCEPTION_INVALID_PARAMETER: return "invalid parameter";
        case STARBURN_EXCEPTION_NO_DEVICE: return "no such device";
        case STARBURN_EXCEPTION_NOT_READY: return "unit not ready";
        case STARBURN_EXCEPTION_UNSUPPORTED: return "not supported";
        case STARBURN_EXCEPTION_FILE_SYSTEM: return "file system";
        case STARBURN_EXCEPTION_WRITE: return "write failure";
        default: return "unknown";
    }
}

MODULE_EXPORT std::uint32_t StarBurn_FindDevice(std::uint32_t, std::uint32_t, StarBurnCallback callback,
                                                void* context) {
    if (!EnsureLibburn()) return STARBURN_EXCEPTION_GENERIC;
    burn_drive_info* infos = nullptr;
    unsigned int count = 0;
    int scanned = 0;
    // libburn scans in steps: it is done only when the call says so.
    while ((scanned = burn_drive_scan(&infos, &count)) == 0) usleep(10 * 1000);
    if (scanned < 0) return STARBURN_EXCEPTION_GENERIC;
    for (unsigned int i = 0; i < count; ++i) {
        char path[BURN_DRIVE_ADR_LEN] = {};
        int bus = 0, host = 0, channel = 0, target = 0, lun = 0;
        if (burn_drive_get_adr(&infos[i], path) <= 0) continue;
        if (burn_drive_obtain_scsi_adr(path, &bus, &host, &channel, &target, &lun) <= 0) continue;
        std::uint8_t address[STARBURN_DEVICE_ADDRESS_SIZE] = {0, static_cast<std::uint8_t>(host),
                                                              static_cast<std::uint8_t>(channel),
                                                              static_cast<std::uint8_t>(target),
                                                              static_cast<std::uint8_t>(lun)};
        if (callback) callback(STARBURN_CN_DEVICE_FOUND, context, address, nullptr);
    }
    burn_drive_info_free(infos);
    return STARBURN_OK;
}

namespace {

// A device file another program holds open exclusively (the desktop's mount of a disc).
bool DeviceFileBusy(const std::string& address) {
    if (address.rfind("/dev/", 0) != 0) return false;
    int fd = open(address.c_str(), O_RDONLY | O_NONBLOCK | O_EXCL | O_CLOEXEC);
    if (fd >= 0) {
        close(fd);
        return false;
    }
    return errno == EBUSY;
}

std::string SysfsText(const std::string& path) {
    std::ifstream in(path);
    std::string text;
    std::getline(in, text);
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
}

// What the kernel knows of a drive nobody may grab: "/dev/sr0" -> /sys/class/block/sr0/device.
void IdentifyFromSysfs(StarBurnGrabber& grabber) {
    std::string device = "/sys/class/block/" + grabber.address.substr(grabber.address.rfind('/') + 1) + "/device/";
    grabber.vendor = SysfsText(device + "vendor");
    grabber.product = SysfsText(device + "model");
    grabber.revision = SysfsText(device + "rev");
    if (grabber.product.empty()) grabber.product = grabber.address;
}

std::uint32_t CreateGrabber(StarBurnGrabber** out, const ErrorSink& error, StarBurnCallback callback,
                            void* context, const std::string& address) {
    if (!out)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER,
                          "no place for the grabber");
    *out = nullptr;
    if (!EnsureLibburn())
        return error.Fail(STARBURN_EXCEPTION_GENERIC, STARBURN_STATUS_GEN_FAILURE, "libburn could not be started");
    if (address.empty())
        return error.Fail(STARBURN_EXCEPTION_NO_DEVICE, STARBURN_STATUS_FILE_NOT_FOUND, "no such device");
    auto* grabber = new StarBurnGrabber;
    grabber->address = address;
    grabber->callback = callback;
    grabber->context = context;
    // The tray stays as the user left it: an open tray reads as no disc.
    if (!Grab(*grabber, TrayLoad::Leave)) {
        if (!DeviceFileBusy(address)) {
            delete grabber;
            return error.Fail(STARBURN_EXCEPTION_NO_DEVICE, STARBURN_STATUS_FILE_NOT_FOUND,
                              "no drive at '" + address + "'");
        }
        // The drive exists: its grabber names it and refuses every call with the reason.
        grabber->busy = true;
        IdentifyFromSysfs(*grabber);
    }
    *out = grabber;
    return error.Succeed();
}

}  // namespace

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_Create(StarBurnGrabber** grabber, char* text,
                                                              std::uint32_t textSize, std::uint32_t* status,
                                                              StarBurnCdbFailure* cdb, StarBurnCallback callback,
                                                              void* context, std::uint8_t port, std::uint8_t bus,
                                                              std::uint8_t target, std::uint8_t lun, std::uint32_t) {
    ErrorSink error{text, textSize, status, cdb};
    error.Begin();
    if (!EnsureLibburn())
        return error.Fail(STARBURN_EXCEPTION_GENERIC, STARBURN_STATUS_GEN_FAILURE, "libburn could not be started");
    char address[BURN_DRIVE_ADR_LEN] = {};
    if (burn_drive_convert_scsi_adr(-1, port, bus, target, lun, address) <= 0) {
        if (grabber) *grabber = nullptr;
        return error.Fail(STARBURN_EXCEPTION_NO_DEVICE, STARBURN_STATUS_FILE_NOT_FOUND,
                          "no drive at that SCSI address");
    }
    return CreateGrabber(grabber, error, callback, context, address);
}

MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_CreateEx(StarBurnGrabber** grabber, char* text,
                                                                std::uint32_t textSize, std::uint32_t* status,
                                                                StarBurnCdbFailure* cdb, StarBurnCallback callback,
                                                                void* context, const char* deviceName, std::uint32_t) {
    ErrorSink error{text, textSize, status, cdb};
    error.Begin();
    return CreateGrabber(grabber, error, callback, context, AddressOfDeviceName(deviceName ? deviceName : ""));
}

MODULE_EXPORT void StarBurn_CdvdBurnerGrabber_Destroy(StarBurnGrabber** grabber) {
    if (!grabber || !*grabber) return;
    Ungrab(**grabber, false);
    delete *grabber;
    *grabber = nullptr;
}

// The letter of a device is its address cut to the 2 characters and terminator the caller has.
MODULE_EXPORT std::uint32_t StarBurn_GetDeviceLetter(const char* deviceName, char letter[3], std::uint32_t* status) {
    std::string address = AddressOfDeviceName(deviceName ? deviceName : "");
    if (address.empty()) {
        if (status) *status = STARBURN_STATUS_FILE_NOT_FOUND;
        return STARBURN_EXCEPTION_NO_DEVICE;
    }
    std::string name = deviceName;
    std::string digits = name.rfind("CdRom", 0) == 0 ? name.substr(5) : address.substr(address.size() - 1);
    CopyText(letter, 3, digits.size() >= 2 ? digits.substr(digits.size() - 2) : digits + ":");
    if (status) *status = 0;
    return STARBURN_OK;
}

MODULE_EXPORT std::uint32_t StarBurn_GetDeviceNameByDeviceAddress(std::uint8_t port, std::uint8_t bus,
                                                                  std::uint8_t target, std::uint8_t lun,
                                                                  char name[STARBURN_TEXT_SIZE]) {
    if (!EnsureLibburn()) return STARBURN_EXCEPTION_GENERIC;
    char address[BURN_DRIVE_ADR_LEN] = {};
    if (burn_drive_convert_scsi_adr(-1, port, bus, target, lun, address) <= 0) return STARBURN_EXCEPTION_NO_DEVICE;
    CopyText(name, STARBURN_TEXT_SIZE, address);
    return STARBURN_OK;
}
