// Shared inside the module: the grabber, the error record and libburn's set-up.
#pragma once

#include "libs/starburn/StarBurn.h"

#include <libburn/libburn.h>

#include <cstdint>
#include <string>

#define STARBURN_EXPORT extern "C" __attribute__((visibility("default")))

struct StarBurnGrabber {
    std::string address;                 // libburn's drive address ("/dev/sr0", "stdio:/path")
    burn::burn_drive_info* infos = nullptr;
    burn::burn_drive* drive = nullptr;   // null while released (ejected)
    StarBurnCallback callback = nullptr;
    void* context = nullptr;
    std::uint32_t requestedWriteKBps = 0;   // 0: none asked for, the drive's fastest
    std::uint32_t requestedReadKBps = 0;
    bool bufferUnderrunProtection = false;
    bool performOpc = false;
};

struct StarBurnTree {
    std::string imagePath;
    std::int64_t bytes = 0;
};

struct StarBurnDVDVideo {
    std::string workFolder;   // holds root/VIDEO_TS (a link) and the image
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
bool Grab(StarBurnGrabber& grabber);
void Ungrab(StarBurnGrabber& grabber, bool eject);
// "CdRomN" -> the N-th device; other names are libburn addresses already.
std::string AddressOfDeviceName(const std::string& name);

}  // namespace starburn
