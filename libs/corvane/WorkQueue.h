// The hand-over between two stages of an encode: a few items at most, so a fast stage waits for
// a slow one instead of filling memory.
//
// One producer and one consumer, each on its own thread. The producer ends the stream with
// Finish (the consumer still gets what is queued); either side ends it at once with Close (what
// is queued is dropped and both sides wake).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace corvane {

template <typename T>
class WorkQueue {
public:
    explicit WorkQueue(std::size_t depth) : depth_(depth < 1 ? 1 : depth) {}
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    // Waits for room. False when the queue was closed or finished: the item is not wanted.
    bool Push(T item) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return ended_ || items_.size() < depth_; });
        if (ended_) return false;
        items_.push_back(std::move(item));
        changed_.notify_all();
        return true;
    }

    // Waits for an item. Nothing once the stream is finished and drained, or closed.
    std::optional<T> Pop() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return ended_ || !items_.empty(); });
        if (closed_ || items_.empty()) return std::nullopt;
        std::optional<T> item(std::move(items_.front()));
        items_.pop_front();
        changed_.notify_all();
        return item;
    }

    void Finish() {
        std::lock_guard lock(mutex_);
        ended_ = true;
        changed_.notify_all();
    }

    void Close() {
        std::lock_guard lock(mutex_);
        ended_ = true;
        closed_ = true;
        items_.clear();
        changed_.notify_all();
    }

private:
    const std::size_t depth_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<T> items_;
    bool ended_ = false;    // no more pushes
    bool closed_ = false;   // and nothing more pops
};

}  // namespace corvane
