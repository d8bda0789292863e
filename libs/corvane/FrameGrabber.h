// The grabber of a run: a worker thread that owns the file's decoder and answers requests in
// order, each with exactly one posted message.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "libs/corvane/MediaDecoder.h"
#include "libs/corvane/MessagePoster.h"

namespace corvane {

class FrameGrabber {
public:
    // Starts the worker: it opens the file, decodes the frame at startSecond and posts
    // CORVANE_WM_MEDIA_INIT_DONE (wParam 1 open, 0 not).
    FrameGrabber(MessagePoster poster, std::string path, int startSecond);
    // Answers what is still queued with wParam 0 and joins the worker. Posts nothing else.
    ~FrameGrabber();
    FrameGrabber(const FrameGrabber&) = delete;
    FrameGrabber& operator=(const FrameGrabber&) = delete;

    // Queues a request, answered by CORVANE_WM_MEDIA_FRAME_READY.
    void Request(int second);
    // Waits until every request made so far is answered, then scales the latest frame into
    // out. False (out black) when there is none.
    bool CopyLatest(int width, int height, std::vector<std::uint8_t>& out);
    // The second the latest frame was asked for (after CopyLatest: of the last request).
    int LatestSecond();

private:
    void Run(std::string path, int startSecond);
    void Serve(MediaDecoder* decoder);
    void Decode(MediaDecoder* decoder, int second);

    MessagePoster poster_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> requests_;
    bool busy_ = true;       // the worker has work in hand (opening counts)
    bool stopping_ = false;
    FramePtr latest_;
    int latestSecond_ = 0;
    std::thread worker_;     // last: starts after every other member is ready
};

}  // namespace corvane
