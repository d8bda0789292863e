#include "libs/corvane/CorvaneDLL.h"

#include "libs/corvane/BgrPicture.h"
#include "libs/corvane/FrameGrabber.h"
#include "libs/corvane/LastError.h"
#include "libs/corvane/MediaDecoder.h"
#include "libs/corvane/MediaRecord.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <memory>
#include <mutex>
#include <vector>

namespace {

using corvane::FrameGrabber;
using corvane::FramePtr;
using corvane::MessagePoster;

// What one binding of the module holds between calls. The grabber is joined when the module
// is unloaded, so no thread outlives the code it runs.
struct ModuleState {
    std::mutex mutex;
    FramePtr firstPicture;                  // from the last information call
    std::unique_ptr<FrameGrabber> grabber;  // the running grabber, if any
    void* window = nullptr;                 // where answers go, kept after UnInit for late requests
    std::vector<std::uint8_t> pixels;       // what X_Get_Frame handed out last
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

// "" or garbage reads as second 0; the program passes decimal text.
int ParseSecond(const char* text) {
    if (!text) return 0;
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || errno != 0 || value < 0) return 0;
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int Failed(const std::string& why) {
    corvane::SetLastError(why);
    return -1;
}

bool HandOut(ModuleState& state, int width, int height, const char* name) {
    bool grabberFirst = name == nullptr;
    if (grabberFirst && state.grabber && state.grabber->CopyLatest(width, height, state.pixels)) return true;
    if (state.firstPicture && corvane::ScaleToBgr(state.firstPicture.get(), width, height, state.pixels)) return true;
    if (!grabberFirst && state.grabber && state.grabber->CopyLatest(width, height, state.pixels)) return true;
    corvane::ScaleToBgr(nullptr, width, height, state.pixels);   // black
    return false;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int X_GetFileinfo_GetPic(const char* path, int wordCount, int32_t* words) {
    auto& state = State();
    {
        // A failed call leaves black for the X_Get_Frame after it, never the last file's picture.
        std::lock_guard lock(state.mutex);
        state.firstPicture.reset();
    }
    if (!path || !words || wordCount < CORVANE_RECORD_WORDS) {
        corvane::SetLastError("media information needs a path and a record of ten words");
        return -1;
    }
    std::string error;
    auto decoder = corvane::MediaDecoder::Open(path, error);
    if (!decoder) return Failed(error);
    FramePtr first = decoder->DecodeFirst();
    if (!first) return Failed("'" + std::string(path) + "' has no picture that decodes");
    int32_t record[CORVANE_RECORD_WORDS] = {};
    if (!corvane::FillRecord(decoder->Facts(first.get()), record)) {
        return Failed("'" + std::string(path) + "' has a picture size that is not supported");
    }
    for (int i = 0; i < CORVANE_RECORD_WORDS; ++i) words[i] = record[i];
    std::lock_guard lock(state.mutex);
    state.firstPicture = std::move(first);
    return 0;
}

__attribute__((visibility("default"))) int X_Get_Frame(int width, int height, const char* name, uint8_t** pixels,
                                                       int32_t* second) {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    if (second) *second = 0;
    if (!corvane::SupportedSize(width, height)) {
        corvane::SetLastError("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                              " is not supported");
        state.pixels.clear();
        if (pixels) *pixels = nullptr;
        return -1;
    }
    bool decoded = HandOut(state, width, height, name);
    if (!decoded) corvane::SetLastError("no decoded picture to hand out; black given");
    if (pixels) *pixels = state.pixels.data();
    if (second && name == nullptr && state.grabber) *second = state.grabber->LatestSecond();
    return decoded ? 0 : -1;
}

__attribute__((visibility("default"))) int X_GetFrame_Init(void* window, int mode, const char* path,
                                                           const char* extra, const char* startSecond) {
    (void)mode;
    (void)extra;
    auto& state = State();
    std::lock_guard lock(state.mutex);
    state.grabber.reset();   // a restart: the old run's pending requests are answered first
    state.window = window;
    state.grabber = std::make_unique<FrameGrabber>(MessagePoster(window), path ? path : "", ParseSecond(startSecond));
    return 0;
}

__attribute__((visibility("default"))) int X_Set_NextFrame_Time(int second) {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    if (state.grabber) {
        state.grabber->Request(second < 0 ? 0 : second);
    } else {
        MessagePoster(state.window).Post(CORVANE_WM_MEDIA_FRAME_READY, 0, second);
    }
    return 0;
}

__attribute__((visibility("default"))) int X_GetFrame_UnInit(void) {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    state.grabber.reset();
    state.pixels.clear();
    state.pixels.shrink_to_fit();
    MessagePoster(state.window).Post(CORVANE_WM_MEDIA_UNINIT_DONE, 0, 0);
    return 0;
}

__attribute__((visibility("default"))) int X_GetLastErrorText(char* text, int size) {
    std::string reason = corvane::LastError();
    if (text && size > 0) {
        std::size_t copied = std::min(reason.size(), static_cast<std::size_t>(size) - 1);
        std::memcpy(text, reason.data(), copied);
        text[copied] = '\0';
    }
    return static_cast<int>(std::min<std::size_t>(reason.size(), INT_MAX));
}

}  // extern "C"
