// Shared inside the module: the grabber, the error record and libburn's set-up.
#pragma once

#include "libs/starburn/StarBurn.h"

#include "libs/ModuleExport.h"

#include <libburn/libburn.h>

#include <cstdint>
#include <string>
#include <vector>

// The error arguments every grabber operation takes, and the sink that reports through them.
#define SB_ERR_PARAMS char *text, std::uint32_t textSize, std::uint32_t *status, StarBurnCdbFailure *cdb
#define SB_ERR starburn::ErrorSink error{text, textSize, status, cdb}

struct StarBurnGrabber {
    std::string address;                 // libburn's drive address ("/dev/sr0", "stdio:/path")
    burn::burn_drive_info* infos = nullptr;
    burn::burn_drive* drive = nullptr;   // null once let go (ejected, released) or when busy
    bool busy = false;                   // another program holds the drive (a mounted disc)
    std::string vendor, product, revision;
    StarBurnCallback callback = nullptr;
    void* context = nullptr;
    std::uint32_t requestedWriteKBps = 0;   // 0: none asked for, the drive's fastest
    std::uint32_t requestedReadKBps = 0;
    bool bufferUnderrunProtection = false;
    bool performOpc = false;
};

// What genisoimage is run with to stream the image, and the image's exact size.
struct StarBurnTree {
    std::vector<std::string> imageArguments;
    std::string errorFile;
    std::int64_t bytes = 0;
};

struct StarBurnDVDVideo {
    std::string workFolder;   // holds root/VIDEO_TS (a link) and genisoimage's errors, no image
    StarBurnTree tree;
};

namespace starburn {

// Where a failing call reports: the caller's text buffer, status and CDB record.
struct ErrorSink {
    char* text;
    std::uint32_t textSize;
    std::uint32_t* status;
    StarBurnCdbFailure* cdb;

    // Clears the record and libburn's queue, so a later failure reports only its own messages.
    void Begin() const;
    // Fills the record; the text is libburn's most severe queued message, else the fallback.
    std::uint32_t Fail(std::uint32_t exception, std::uint32_t win32Status, const std::string& fallback) const;
    std::uint32_t Succeed() const;
};

// The most severe message libburn has queued (the queue is emptied); "" when none.
std::string MostSevereMessage(int* severity);
// A queued message of severity SORRY or worse, the queue emptied: the call went wrong.
bool TakeQueuedProblem(std::string& text);
void CopyText(char* out, std::uint32_t size, const std::string& text);
// libburn started once, with signal handling left to the program.
bool EnsureLibburn();
// The drive of a grabber that is grabbed, else null with the record filled.
burn::burn_drive* GrabbedDrive(StarBurnGrabber* grabber, const ErrorSink& error, std::uint32_t& result);
// load: close the tray first. A grabbed drive's tray is locked until it is let go.
enum class TrayLoad { Leave, Close };
bool Grab(StarBurnGrabber& grabber, TrayLoad load);
// Lets go of the drive (and unlocks its tray); eject opens the tray as well.
void Ungrab(StarBurnGrabber& grabber, bool eject);
// DVD-RAM, DVD+RW, DVD-RW in restricted overwrite, BD-RE and files: written anywhere, at any time.
bool Overwritable(burn::burn_drive* drive);
// The blocks of the ISO 9660 file system at the start of the disc, 0 when there is none.
std::uint32_t IsoBlocks(burn::burn_drive* drive);
// "CdRomN" -> the N-th device; other names are libburn addresses already.
std::string AddressOfDeviceName(const std::string& name);

}  // namespace starburn
