// author_main and its progress counter.
#include "libs/dozezedav/Dozezedav.h"

#include "libs/ModuleExport.h"
#include "libs/childprocess/ChildProcess.h"
#include "libs/dozezedav/MpegHeader.h"
#include "libs/dozezedav/ProgramReport.h"
#include "libs/dozezedav/ProjectXml.h"
#include "libs/dozezedav/TemporaryPlace.h"
#include "libs/dozezedav/Verdict.h"

#include <filesystem>

namespace dozezedav {
namespace {

namespace fs = std::filesystem;

ProgressCounter vobMegabytes;
std::atomic<bool> authorBusy{false};

// "out/DISC/" and "out/DISC" are the same place.
std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool Taken(const std::string& dest) {
    std::error_code error;
    fs::file_status status = fs::symlink_status(dest, error);
    if (!fs::exists(status)) return false;
    return !fs::is_directory(status) || !fs::is_empty(dest, error) || error;
}

// The folder that will hold dest, made when missing; whatever this call made is removed
// again unless the authoring succeeds.
class ParentFolder {
public:
    explicit ParentFolder(const std::string& dest) {
        fs::path parent = fs::path(dest).parent_path();
        if (parent.empty()) return;
        std::error_code error;
        fs::path missing;
        for (fs::path p = parent; !p.empty() && !fs::exists(p, error); p = p.parent_path()) {
            missing = p;
            if (p == p.parent_path()) break;
        }
        if (missing.empty()) return;
        if (!fs::create_directories(parent, error)) ok_ = false;
        created_ = missing;
    }
    ~ParentFolder() {
        std::error_code ignored;
        if (!kept_ && !created_.empty()) fs::remove_all(created_, ignored);
    }
    ParentFolder(const ParentFolder&) = delete;
    ParentFolder& operator=(const ParentFolder&) = delete;
    bool Ok() const { return ok_; }
    void Keep() { kept_ = true; }

private:
    fs::path created_;
    bool ok_ = true;
    bool kept_ = false;
};

// The format the project gives first; a project without one goes by its first VOB.
VideoStandard ProjectStandard(const ProjectXml& project) {
    VideoStandard standard = project.FirstVideoFormat();
    if (standard != VideoStandard::Unknown) return standard;
    std::vector<std::string> vobs = project.TitleVobFiles();
    if (vobs.empty()) vobs = project.VobFiles();
    return vobs.empty() ? VideoStandard::Unknown : StandardOfFile(vobs.front());
}

// The bytes of every VOB the project names: the authoring's input, which its time limit follows.
std::uint64_t VobBytes(const ProjectXml& project) {
    std::uint64_t bytes = 0;
    std::error_code error;
    for (const std::string& vob : project.VobFiles()) {
        std::uintmax_t size = fs::file_size(vob, error);
        if (!error) bytes += size;
    }
    return bytes;
}

bool HasIfo(const std::string& folder) {
    std::error_code error;
    return fs::is_regular_file(fs::path(folder) / "VIDEO_TS" / "VIDEO_TS.IFO", error);
}

int Author(const char* xml, std::string& detail) {
    ProjectXml project;
    if (!project.Load(xml)) return DOZEZEDAV_BAD_PROJECT;
    std::string root = project.RootName();
    if (root != "dozezedav" && root != "dvdauthor") return DOZEZEDAV_BAD_PROJECT;
    std::string dest = WithoutTrailingSlash(project.RootAttribute("dest"));
    if (dest.empty()) return DOZEZEDAV_BAD_PROJECT;
    if (Taken(dest)) return DOZEZEDAV_DEST_TAKEN;

    ParentFolder parent(dest);
    if (!parent.Ok()) return DOZEZEDAV_FILE_ERROR;
    TemporaryFolder fresh(dest);
    TemporaryFile copy(dest, ".xml", Naming::Plain);
    if (!fresh.Made() || !copy.Made()) return DOZEZEDAV_FILE_ERROR;
    project.RenameRoot("dvdauthor");
    project.SetRootAttribute("dest", fresh.Path());
    if (!project.Save(copy.Path())) return DOZEZEDAV_FILE_ERROR;

    VideoStandard standard = ProjectStandard(project);
    AuthorReport report(project.TitleVobFiles(), [](int megabytes) { vobMegabytes.RaiseTo(megabytes); });
    ChildJob job;
    job.arguments = {"dvdauthor", "-x", copy.Path()};
    std::optional<std::string> format;
    if (standard != VideoStandard::Unknown) format = StandardName(standard);
    job.environment = {{"VIDEO_FORMAT", format}};
    job.onLine = [&](std::string_view line) { report.Take(line); };
    SetTimeLimits(job, VobBytes(project));
    ChildResult run = RunChild(job);

    int verdict = SharedVerdict(run, report);
    detail = report.FirstError();
    if (verdict != DOZEZEDAV_OK) return verdict;
    if (!HasIfo(fresh.Path())) return DOZEZEDAV_NO_OUTPUT;
    if (!fresh.MoveTo(dest)) return DOZEZEDAV_FILE_ERROR;
    parent.Keep();
    return DOZEZEDAV_OK;
}

}  // namespace
}  // namespace dozezedav

MODULE_EXPORT int author_main(const char* xml) {
    using namespace dozezedav;
    CallGuard guard(authorBusy);
    if (!guard.Held()) return DOZEZEDAV_BUSY;
    vobMegabytes.Reset();
    if (!xml || !*xml) return DOZEZEDAV_BAD_ARGUMENT;
    std::string detail;
    int result = DOZEZEDAV_FILE_ERROR;
    try {
        result = Author(xml, detail);
    } catch (...) {   // nothing thrown may cross into the caller
        result = DOZEZEDAV_FILE_ERROR;
    }
    RecordResult(DOZEZEDAV_AUTHOR, result, detail);
    return result;
}

MODULE_EXPORT int* getVOBsMB(void) { return dozezedav::vobMegabytes.Address(); }
