// The result of a program's run by the rules both programs share, and the counters and
// guards of the entry points.
#pragma once

#include "libs/dozezedav/ChildProcess.h"
#include "libs/dozezedav/ProgramReport.h"

#include <atomic>
#include <string>

namespace dozezedav {

// DOZEZEDAV_OK, or the first rule the run broke: not started, killed, a non-zero exit, an
// "ERR:" line, a declared format against the video's.
int SharedVerdict(const ChildResult& run, const ProgramReport& report);

// One line on standard error for a failed call: what failed, why, and the program's error.
void LogFailure(const char* entry, int code, const std::string& detail);

// A progress counter read by another thread while its call runs.
class ProgressCounter {
public:
    int* Address() { return &value_; }
    void Reset() { std::atomic_ref<int>(value_).store(0); }
    // Raises the counter to value; a lower value leaves it as it is.
    void RaiseTo(int value);

private:
    static_assert(std::atomic_ref<int>::is_always_lock_free);
    alignas(std::atomic_ref<int>::required_alignment) int value_ = 0;
};

// Holds an entry point's busy flag for one call; Held() is false when a call already runs.
class CallGuard {
public:
    explicit CallGuard(std::atomic<bool>& busy) : busy_(busy), held_(!busy.exchange(true)) {}
    ~CallGuard() {
        if (held_) busy_.store(false);
    }
    CallGuard(const CallGuard&) = delete;
    CallGuard& operator=(const CallGuard&) = delete;
    bool Held() const { return held_; }

private:
    std::atomic<bool>& busy_;
    bool held_;
};

}  // namespace dozezedav
