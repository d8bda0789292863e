#include "libs/dozezedav/Verdict.h"

#include "libs/dozezedav/Dozezedav.h"

#include <cstdio>
#include <cstring>

namespace dozezedav {

int SharedVerdict(const ChildResult& run, const ProgramReport& report) {
    if (!run.started) return DOZEZEDAV_NO_PROGRAM;
    if (run.signalled) return DOZEZEDAV_PROGRAM_KILLED;
    if (run.exitCode != 0) return DOZEZEDAV_PROGRAM_FAILED;
    if (!report.FirstError().empty()) return DOZEZEDAV_PROGRAM_ERROR;
    if (report.WrongFormat()) return DOZEZEDAV_WRONG_FORMAT;
    return DOZEZEDAV_OK;
}

void LogFailure(const char* entry, int code, const std::string& detail) {
    std::fprintf(stderr, "dozezedav: %s: %s%s%s\n", entry, dozezedav_error_text(code), detail.empty() ? "" : ": ",
                 detail.c_str());
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
    default:
        return "unknown result";
    }
}
