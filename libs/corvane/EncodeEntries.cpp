// The module's encoding entry points: the program's texts read into a job, the job run on its
// own thread while the caller's messages keep flowing.
#include "libs/corvane/CorvaneDLL.h"

#include "libs/corvane/ClipEncoder.h"
#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/LastError.h"
#include "libs/corvane/MessagePump.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

using corvane::EncodeJob;
using corvane::Ratio;

corvane::EncodeProgress& Progress() {
    static corvane::EncodeProgress progress;
    return progress;
}

// One encode at a time: the progress and the stop request belong to it.
std::atomic<bool>& Busy() {
    static std::atomic<bool> busy{false};
    return busy;
}

// The key times X_SetPar_KeyTimes gave for the next clip encode, which takes them.
class PendingKeyTimes {
public:
    void Set(std::vector<double> seconds) {
        std::lock_guard lock(mutex_);
        seconds_ = std::move(seconds);
    }
    std::vector<double> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(seconds_, {});
    }

private:
    std::mutex mutex_;
    std::vector<double> seconds_;
};

PendingKeyTimes& KeyTimes() {
    static PendingKeyTimes keyTimes;
    return keyTimes;
}

Ratio RateOf(const char* text, int videoStandard) {
    Ratio rate;
    if (corvane::ParseRate(text, rate)) return rate;
    return videoStandard == 2 ? Ratio{25, 1} : Ratio{30000, 1001};
}

bool Text(const char* text) { return text && *text; }

std::string Shown(const char* text) { return text ? "'" + std::string(text) + "'" : "none"; }

bool Refuse(const std::string& why) {
    corvane::SetLastError(why);
    return false;
}

// The arguments both encodes read alike; false, with the reason kept, for unusable ones.
bool ReadFrame(EncodeJob& job, const char* frameSize, const char* aspect) {
    if (!corvane::ParseSize(frameSize, job.frameWidth, job.frameHeight)) {
        return Refuse("frame size " + Shown(frameSize) + " is not W:H with even sides of 16 to 1920");
    }
    if (!corvane::ParseAspect(aspect, job.displayAspect)) return Refuse("aspect " + Shown(aspect) + " is neither 4:3 nor 16:9");
    return true;
}

// Runs the job on its own thread unless another encode runs; true when the output was written.
bool RunJob(void* window, const EncodeJob& job) {
    bool idle = false;
    if (!Busy().compare_exchange_strong(idle, true)) return Refuse("another encode is running");
    Progress().Reset();
    std::string error;
    bool written = corvane::RunPumping(window, [&job, &error] { return corvane::EncodeToDvd(job, Progress(), error); });
    Busy() = false;
    if (!written) corvane::SetLastError("'" + job.output + "' was not written: " + error);
    return written;
}

// The picture size may not exceed the frame; a size that can't be read fills the frame.
void FitPicture(EncodeJob& job, const char* pictureSize) {
    if (!corvane::ParseSize(pictureSize, job.pictureWidth, job.pictureHeight)) {
        job.pictureWidth = job.frameWidth;
        job.pictureHeight = job.frameHeight;
    }
    if (job.pictureWidth > job.frameWidth) job.pictureWidth = job.frameWidth;
    if (job.pictureHeight > job.frameHeight) job.pictureHeight = job.frameHeight;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int X_SetPar_D2MPEG(
    void* window, int mode, const char* source, const char* passes, const char* startSecond, const char* sampleRate,
    const char* aspect, const char* videoFormat, const char* target, const char* videoKbps, const char* audioKbps,
    const char* pictureSize, const char* frameSize, const char* title, const char* author, const char* comment,
    const char* frameRate, const char* reserved18, const char* reserved19, const char* output, const char* reserved21,
    const char* durationSeconds, int reserved23, int videoStandard, const char* audioFormat, int quality) {
    // The DVD's audio and video formats are the only ones made; these are taken as passed.
    (void)mode, (void)passes, (void)sampleRate, (void)videoFormat, (void)target, (void)audioKbps;
    (void)title, (void)author, (void)comment, (void)reserved18, (void)reserved19, (void)reserved21;
    (void)reserved23, (void)audioFormat, (void)quality;
    EncodeJob job;
    job.keyTimesSec = KeyTimes().Take();   // this encode's, whatever becomes of it
    int start = 0;
    int duration = 0;
    if (!Text(source) || !Text(output)) {
        Refuse("a clip encode needs a source and an output");
        return -1;
    }
    if (!ReadFrame(job, frameSize, aspect)) return -1;
    if (!corvane::ParseSeconds(startSecond, start)) start = 0;
    if (!corvane::ParseSeconds(durationSeconds, duration)) duration = 0;
    job.source = source;
    job.audioSource = source;
    job.output = output;
    job.startSec = start;
    job.durationSec = duration;
    job.frameRate = RateOf(frameRate, videoStandard);
    job.gopFrames = corvane::GopFramesFor(job.frameRate);
    job.videoKbps = corvane::VideoKbpsFor(videoKbps);
    FitPicture(job, pictureSize);
    return RunJob(window, job) ? 0 : -1;
}

__attribute__((visibility("default"))) int X_SetPar_KeyTimes(const char* seconds) {
    std::vector<double> times;
    if (!corvane::ParseKeyTimes(seconds, times)) {
        const std::string shown = seconds ? "'" + std::string(seconds).substr(0, 80) + "'" : "none";
        Refuse("key times " + shown + " are not seconds separated by commas");
        return -1;
    }
    KeyTimes().Set(std::move(times));
    return 0;
}

__attribute__((visibility("default"))) int X_SetPar_BMP2VOB(void* window, int videoStandard, const char* bmp,
                                                            const char* seconds, const char* pictureSize,
                                                            const char* frameSize, const char* aspect,
                                                            const char* output, int withMusic, const char* music) {
    EncodeJob job;
    int length = 0;
    if (!Text(bmp) || !Text(output)) {
        Refuse("a menu encode needs a picture and an output");
        return 1;
    }
    if (!corvane::ParseSeconds(seconds, length) || length < 1) {
        Refuse("menu length " + Shown(seconds) + " is not a whole number of seconds from 1");
        return 1;
    }
    if (!ReadFrame(job, frameSize, aspect)) return 1;
    job.source = bmp;
    job.still = true;
    if (withMusic == 1 && Text(music) && std::strcmp(music, "NoFile") != 0) job.audioSource = music;
    job.output = output;
    job.durationSec = length;
    job.frameRate = videoStandard == 2 ? Ratio{25, 1} : Ratio{30000, 1001};
    job.gopFrames = corvane::GopFramesFor(job.frameRate);
    job.videoKbps = corvane::VideoKbpsFor(nullptr);
    FitPicture(job, pictureSize);
    return RunJob(window, job) ? 0 : 1;
}

__attribute__((visibility("default"))) int X_Get_Info(int32_t* info) {
    if (!info) return 0;
    auto& progress = Progress();
    info[0] = progress.seconds;
    info[1] = progress.framesPerSecond;
    info[2] = progress.frame;
    return 0;
}

__attribute__((visibility("default"))) int X_StopConvert(void) {
    if (Busy()) Progress().stop = true;
    return 0;
}

}  // extern "C"
