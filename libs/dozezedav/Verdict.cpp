#include "libs/dozezedav/Verdict.h"

#include "libs/dozezedav/Dozezedav.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace dozezedav {
namespace {

constexpr int kDefaultStallMs = 3 * 60 * 1000;
constexpr int kDefaultGraceMs = 10 * 1000;
constexpr std::uint64_t kMsPerMegabyte = 100;
constexpr std::size_t kLongestReason = 240;
std::atomic<int> stallMs{kDefaultStallMs};
std::atomic<int> graceMs{kDefaultGraceMs};

struct Failure {
    int code = DOZEZEDAV_OK;
    std::string reason;
};
std::mutex failuresLock;
Failure failures[2];

// "ERR:  Error 84 -- Invalid or incomplete multibyte ..." as a line for a person: the blanks
// and line ends trimmed, and no longer than a log line holds.
std::string Trimmed(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.size() > kLongestReason) text = text.substr(0, kLongestReason - 3) + "...";
    return text;
}

}  // namespace

void SetTimeLimits(ChildJob& job, std::uint64_t InputBytes) {
    job.stallLimit = std::chrono::milliseconds(static_cast<std::uint64_t>(stallMs.load()) +
                                               InputBytes / (1024 * 1024) * kMsPerMegabyte);
    job.graceTime = std::chrono::milliseconds(graceMs.load());
}

int SharedVerdict(const ChildResult& run, const ProgramReport& report) {
    if (!run.started) return DOZEZEDAV_NO_PROGRAM;
    if (run.stalled) return DOZEZEDAV_STALLED;
    if (run.signalled) return DOZEZEDAV_PROGRAM_KILLED;
    if (run.exitCode != 0) return DOZEZEDAV_PROGRAM_FAILED;
    if (!report.FirstError().empty()) return DOZEZEDAV_PROGRAM_ERROR;
    if (report.WrongFormat()) return DOZEZEDAV_WRONG_FORMAT;
    return DOZEZEDAV_OK;
}

void RecordResult(int entry, int code, const std::string& detail) {
    const char* name = entry == DOZEZEDAV_SPUMUX ? "spumux" : "dvdauthor";
    Failure failure{code, ""};
    if (code != DOZEZEDAV_OK) {
        std::fprintf(stderr, "dozezedav: %s: %s%s%s\n", name, dozezedav_error_text(code), detail.empty() ? "" : ": ",
                     detail.c_str());
        std::string reported = Trimmed(detail);
        failure.reason = std::string(name) + ": " + (reported.empty() ? dozezedav_error_text(code) : reported);
    }
    std::lock_guard<std::mutex> hold(failuresLock);
    failures[entry == DOZEZEDAV_SPUMUX ? 0 : 1] = failure;
}

void ProgressCounter::RaiseTo(int value) {
    std::atomic_ref<int> counter(value_);
    int seen = counter.load();
    while (value > seen && !counter.compare_exchange_weak(seen, value)) {
    }
}

}  // namespace dozezedav

extern "C" __attribute__((visibility("default"))) const char* dozezedav_error_text(int code) {
    switch (code) {
    case DOZEZEDAV_OK:
        return "done";
    case DOZEZEDAV_BAD_ARGUMENT:
        return "a file name is missing";
    case DOZEZEDAV_BAD_PROJECT:
        return "the project XML can't be read";
    case DOZEZEDAV_NOT_MPEG:
        return "the input holds no MPEG video";
    case DOZEZEDAV_NO_PROGRAM:
        return "the program could not be started";
    case DOZEZEDAV_PROGRAM_FAILED:
        return "the program failed";
    case DOZEZEDAV_PROGRAM_KILLED:
        return "the program was killed";
    case DOZEZEDAV_PROGRAM_ERROR:
        return "the program reported an error";
    case DOZEZEDAV_NO_OUTPUT:
        return "the program wrote no output";
    case DOZEZEDAV_NOTHING_ADDED:
        return "no sub-picture was added";
    case DOZEZEDAV_WRONG_FORMAT:
        return "the video format declared is not the video's";
    case DOZEZEDAV_DEST_TAKEN:
        return "the destination folder is not empty";
    case DOZEZEDAV_FILE_ERROR:
        return "a file could not be written or moved";
    case DOZEZEDAV_BUSY:
        return "a call of the same kind is running";
    case DOZEZEDAV_STALLED:
        return "the program made no progress for too long and was ended";
    default:
        return "unknown result";
    }
}

extern "C" __attribute__((visibility("default"))) int dozezedav_last_failure(int entry, char* text, int size) {
    using namespace dozezedav;
    Failure failure;
    if (entry == DOZEZEDAV_SPUMUX || entry == DOZEZEDAV_AUTHOR) {
        std::lock_guard<std::mutex> hold(failuresLock);
        failure = failures[entry == DOZEZEDAV_SPUMUX ? 0 : 1];
    }
    if (text && size > 0) {
        std::size_t length = std::min(failure.reason.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(text, failure.reason.data(), length);
        text[length] = '\0';
    }
    return failure.code;
}

extern "C" __attribute__((visibility("default"))) void dozezedav_set_time_limits(int stall_ms, int grace_ms) {
    dozezedav::stallMs.store(stall_ms > 0 ? stall_ms : dozezedav::kDefaultStallMs);
    dozezedav::graceMs.store(grace_ms > 0 ? grace_ms : dozezedav::kDefaultGraceMs);
}
