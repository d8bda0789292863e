// The result of a program's run by the rules both programs share, and the counters and
// guards of the entry points.
#pragma once

#include "libs/childprocess/ChildProcess.h"
#include "libs/dozezedav/ProgramReport.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace dozezedav {

using childprocess::ChildJob;
using childprocess::ChildResult;
using childprocess::RunChild;

// DOZEZEDAV_OK, or the first rule the run broke: not started, stalled, killed, a non-zero exit,
// an "ERR:" line, a declared format against the video's.
int SharedVerdict(const ChildResult& run, const ProgramReport& report);

// Sets the job's time limits for a program whose input is InputBytes long.
void SetTimeLimits(ChildJob& job, std::uint64_t InputBytes);

// Records a call's result for dozezedav_last_failure (DOZEZEDAV_SPUMUX or DOZEZEDAV_AUTHOR)
// and, for a failure, writes one line on standard error: what failed, why, and the program's
// error.
void RecordResult(int entry, int code, const std::string& detail);

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
