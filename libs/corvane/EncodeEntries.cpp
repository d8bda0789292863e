// The module's encoding entry points: the program's texts read into a job, the job run on its
// own thread while the caller's messages keep flowing.
#include "libs/corvane/CorvaneDLL.h"

#include "libs/corvane/ClipEncoder.h"
#include "libs/corvane/EncodeJob.h"
#include "libs/corvane/MessagePump.h"

#include <atomic>
#include <cstring>

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

Ratio RateOf(const char* text, int videoStandard) {
    Ratio rate;
    if (corvane::ParseRate(text, rate)) return rate;
    return videoStandard == 2 ? Ratio{25, 1} : Ratio{30000, 1001};
}

bool Text(const char* text) { return text && *text; }

// Runs the job on its own thread unless another encode runs; true when the output was written.
bool RunJob(void* window, const EncodeJob& job) {
    bool idle = false;
    if (!Busy().compare_exchange_strong(idle, true)) return false;
    Progress().Reset();
    bool written = corvane::RunPumping(window, [&job] { return corvane::EncodeToDvd(job, Progress()); });
    Busy() = false;
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
    int start = 0;
    int duration = 0;
    if (!Text(source) || !Text(output)) return -1;
    if (!corvane::ParseSize(frameSize, job.frameWidth, job.frameHeight)) return -1;
    if (!corvane::ParseAspect(aspect, job.displayAspect)) return -1;
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

__attribute__((visibility("default"))) int X_SetPar_BMP2VOB(void* window, int videoStandard, const char* bmp,
                                                            const char* seconds, const char* pictureSize,
                                                            const char* frameSize, const char* aspect,
                                                            const char* output, int withMusic, const char* music) {
    EncodeJob job;
    int length = 0;
    if (!Text(bmp) || !Text(output)) return 1;
    if (!corvane::ParseSeconds(seconds, length) || length < 1) return 1;
    if (!corvane::ParseSize(frameSize, job.frameWidth, job.frameHeight)) return 1;
    if (!corvane::ParseAspect(aspect, job.displayAspect)) return 1;
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
