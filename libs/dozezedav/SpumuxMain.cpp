// spumux_main and its progress counter.
#include "libs/dozezedav/Dozezedav.h"

#include "libs/ModuleExport.h"
#include "libs/childprocess/ChildProcess.h"
#include "libs/dozezedav/MpegHeader.h"
#include "libs/dozezedav/ProgramReport.h"
#include "libs/dozezedav/ProjectXml.h"
#include "libs/dozezedav/TemporaryPlace.h"
#include "libs/dozezedav/Verdict.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dozezedav {
namespace {

ProgressCounter muxPercent;
std::atomic<bool> muxBusy{false};

bool Given(const char* text) { return text && *text; }

class InputFile {
public:
    explicit InputFile(const char* path) : fd_(open(path, O_RDONLY | O_CLOEXEC)) {
        struct stat st {};
        if (fd_ >= 0 && fstat(fd_, &st) == 0) size_ = static_cast<std::uint64_t>(st.st_size);
    }
    ~InputFile() {
        if (fd_ >= 0) close(fd_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    int Descriptor() const { return fd_; }
    std::uint64_t Size() const { return size_; }

private:
    int fd_;
    std::uint64_t size_ = 0;
};

int PercentOf(std::uint64_t fed, std::uint64_t size) {
    if (size == 0 || fed >= size) return 100;
    return static_cast<int>(fed * 100 / size);
}

bool HasBytes(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 && st.st_size > 0;
}

// The rules only spumux needs: it took all of the input, wrote something, and added a
// sub-picture when the project held any.
int MuxVerdict(const ChildResult& run, const SpumuxReport& report, int sourceItems, int outputFd) {
    int shared = SharedVerdict(run, report);
    if (shared != DOZEZEDAV_OK) return shared;
    if (sourceItems + report.SubtitlesRead() > 0 && report.SubtitlesAdded().value_or(0) == 0)
        return DOZEZEDAV_NOTHING_ADDED;
    if (!run.inputComplete || !HasBytes(outputFd)) return DOZEZEDAV_NO_OUTPUT;
    return DOZEZEDAV_OK;
}

int Mux(const char* xml, const char* in, const char* out, std::string& detail) {
    ProjectXml project;
    if (!project.Load(xml) || project.RootName() != "subpictures") return DOZEZEDAV_BAD_PROJECT;
    VideoStandard standard = StandardOfFile(in);
    if (standard == VideoStandard::Unknown) return DOZEZEDAV_NOT_MPEG;
    InputFile input(in);
    if (input.Descriptor() < 0) return DOZEZEDAV_NOT_MPEG;

    project.SetRootAttribute("format", StandardName(standard));
    project.ResolveFonts();
    TemporaryFile copy(out, ".xml", Naming::Plain);
    if (!copy.Made() || !project.Save(copy.Path())) return DOZEZEDAV_FILE_ERROR;
    TemporaryFile output(out, ".vob");
    if (!output.Made()) return DOZEZEDAV_FILE_ERROR;

    SpumuxReport report;
    ChildJob job;
    job.arguments = {"spumux", copy.Path()};
    job.environment = {{"VIDEO_FORMAT", std::nullopt}};   // the project says it
    job.inputFile = input.Descriptor();
    job.outputFile = output.Descriptor();
    job.onFed = [&](std::uint64_t fed) { muxPercent.RaiseTo(PercentOf(fed, input.Size())); };
    job.onLine = [&](std::string_view line) { report.Take(line); };
    SetTimeLimits(job, input.Size());
    ChildResult run = RunChild(job);

    int verdict = MuxVerdict(run, report, project.SpuCount(), output.Descriptor());
    detail = report.FirstError();
    if (verdict != DOZEZEDAV_OK) return verdict;
    if (!output.MoveTo(out)) return DOZEZEDAV_FILE_ERROR;
    muxPercent.RaiseTo(100);
    return DOZEZEDAV_OK;
}

}  // namespace
}  // namespace dozezedav

MODULE_EXPORT int spumux_main(const char* xml, const char* in, const char* out) {
    using namespace dozezedav;
    CallGuard guard(muxBusy);
    if (!guard.Held()) return DOZEZEDAV_BUSY;
    muxPercent.Reset();
    if (!Given(xml) || !Given(in) || !Given(out)) return DOZEZEDAV_BAD_ARGUMENT;
    std::string detail;
    int result = DOZEZEDAV_FILE_ERROR;
    try {
        result = Mux(xml, in, out, detail);
    } catch (...) {   // nothing thrown may cross into the caller
        result = DOZEZEDAV_FILE_ERROR;
    }
    RecordResult(DOZEZEDAV_SPUMUX, result, detail);
    return result;
}

MODULE_EXPORT int* getSubtitleMuxPercent(void) { return dozezedav::muxPercent.Address(); }
