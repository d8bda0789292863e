// The DVD-Video file system (genisoimage -dvd-video), track-at-once writing and blanking.
#include "libs/starburn/StarBurnInternal.h"

#include "libs/childprocess/ChildProcess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

using namespace burn;
using namespace starburn;
namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kBlockBytes = 2048;
constexpr useconds_t kPollMicroseconds = 100 * 1000;

struct ProgramRun {
    int exitStatus = -1;   // -1: not started or killed
    std::string output;
    std::string errors;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a program with its standard output captured and its errors in errorFile.
ProgramRun Run(const std::vector<std::string>& args, const std::string& errorFile) {
    ProgramRun run;
    int errors = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (errors < 0) return run;
    childprocess::ChildJob job;
    job.arguments = args;
    job.errorFile = errors;
    job.onLine = [&run](std::string_view line) { run.output.append(line).append("\n"); };
    childprocess::ChildResult child = childprocess::RunChild(job);
    close(errors);
    if (child.started)
        run.exitStatus = child.signalled ? -1 : child.exitCode;
    else
        run.errors = std::string("genisoimage could not be started: ") + std::strerror(child.startError);
    if (run.errors.empty()) run.errors = ReadFile(errorFile);
    return run;
}

// Starts genisoimage writing the image to a pipe, its errors to errorFile. The read end comes
// back in readFd (close-on-exec); -1 as the pid when the program could not be started.
int StartImageWriter(const std::vector<std::string>& args, const std::string& errorFile, int& readFd) {
    readFd = -1;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
    int errors = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    childprocess::ChildJob job;
    job.arguments = args;
    job.outputFile = pipeEnds[1];
    job.errorFile = errors;
    childprocess::StartedChild child = errors >= 0 ? childprocess::StartChild(job) : childprocess::StartedChild{};
    if (errors >= 0) close(errors);
    close(pipeEnds[1]);
    if (child.pid < 0) {
        close(pipeEnds[0]);
        return -1;
    }
    readFd = pipeEnds[0];
    return child.pid;
}

// The exit status of a started program, -1 when it was killed.
int WaitForProgram(int pid) {
    childprocess::ChildResult result = childprocess::WaitChild(pid);
    return result.signalled ? -1 : result.exitCode;
}

// The last non-empty line of a program's errors, the part a person needs.
std::string LastLine(const std::string& text) {
    std::string line, last;
    std::stringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty()) last = line;
    }
    return last;
}

std::vector<std::string> ImageArguments(const std::string& root, const std::string& label, const std::string& publisher,
                                        const std::string& preparer) {
    return {"genisoimage", "-quiet", "-input-charset", "utf-8", "-dvd-video", "-follow-links",
            "-V", label, "-publisher", publisher, "-p", preparer, root};
}

bool MakeWorkFolder(std::string& folder) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/starburn-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) return false;
    folder = buffer.data();
    return true;
}

void RemoveWorkFolder(const std::string& folder) {
    std::error_code ignored;
    if (!folder.empty()) fs::remove_all(folder, ignored);   // removes the link, not what it points to
}

// The video folder of a DVD folder ("x/VIDEO_TS"), "" when there is none.
// The folder is the VIDEO_TS folder itself (as the windows burn it) or the one that holds it.
std::string VideoFolderOf(const std::string& folder) {
    std::error_code ec;
    fs::path given = fs::path(folder);
    if (!given.has_filename()) given = given.parent_path();
    std::string name = given.filename().string();
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    fs::path video = name == "VIDEO_TS" ? given : given / "VIDEO_TS";
    if (!fs::is_directory(video, ec)) return "";
    return fs::absolute(video, ec).string();
}

// Sizes the image genisoimage will stream at burn time; nothing is written but a link.
std::uint32_t PrepareImage(StarBurnDVDVideo& video, const std::string& videoFolder, const std::string& label,
                           const std::string& publisher, const std::string& preparer, std::string& reason) {
    std::string root = video.workFolder + "/root";
    std::error_code ec;
    fs::create_directory(root, ec);
    fs::create_directory_symlink(videoFolder, root + "/VIDEO_TS", ec);
    if (ec) {
        reason = "the DVD-Video tree could not be prepared: " + ec.message();
        return STARBURN_EXCEPTION_FILE_SYSTEM;
    }
    std::string errorFile = video.workFolder + "/genisoimage.log";
    auto args = ImageArguments(root, label, publisher, preparer);
    auto sizeArgs = args;
    sizeArgs.insert(sizeArgs.begin() + 1, "-print-size");
    ProgramRun sizing = Run(sizeArgs, errorFile);
    char* end = nullptr;
    long long blocks = std::strtoll(sizing.output.c_str(), &end, 10);
    if (sizing.exitStatus != 0 || blocks <= 0) {
        reason = "genisoimage could not size the DVD-Video file system: " + LastLine(sizing.errors);
        return STARBURN_EXCEPTION_FILE_SYSTEM;
    }
    video.tree.imageArguments = args;
    video.tree.errorFile = errorFile;
    video.tree.bytes = blocks * kBlockBytes;
    return STARBURN_OK;
}

}  // namespace

// The date fields are accepted; genisoimage stamps the file system with the present time.
MODULE_EXPORT std::uint32_t StarBurn_DVDVideo_Create(StarBurnDVDVideo** out, const char* folder, std::uint32_t,
                                                     char* text, std::uint32_t textSize, std::uint32_t* status,
                                                     const char* volumeLabel, const char* publisher,
                                                     const char* preparer, std::uint32_t, std::uint32_t, std::uint32_t,
                                                     std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    CopyText(text, textSize, "");
    if (status) *status = 0;
    auto fail = [&](std::uint32_t exception, std::uint32_t win32Status, const std::string& reason) {
        CopyText(text, textSize, reason);
        if (status) *status = win32Status;
        return exception;
    };
    if (!out) return fail(STARBURN_EXCEPTION_INVALID_PARAMETER, 87, "no place for the DVD-Video object");
    *out = nullptr;
    std::string source = folder ? folder : "";
    std::string videoFolder = VideoFolderOf(source);
    if (videoFolder.empty()) return fail(STARBURN_EXCEPTION_FILE_SYSTEM, 3, "'" + source + "' has no VIDEO_TS folder");
    auto* video = new StarBurnDVDVideo;
    if (!MakeWorkFolder(video->workFolder)) {
        delete video;
        return fail(STARBURN_EXCEPTION_FILE_SYSTEM, 82, "no work folder for the DVD-Video image");
    }
    std::string reason;
    std::uint32_t result = PrepareImage(*video, videoFolder, volumeLabel ? volumeLabel : "", publisher ? publisher : "",
                                      preparer ? preparer : "", reason);
    if (result != STARBURN_OK) {
        RemoveWorkFolder(video->workFolder);
        delete video;
        return fail(result, 31, reason);
    }
    *out = video;
    return STARBURN_OK;
}

MODULE_EXPORT void StarBurn_DVDVideo_GetSizeInUCHARs(StarBurnDVDVideo* video, std::int64_t* bytes) {
    if (bytes) *bytes = video ? video->tree.bytes : 0;
}

MODULE_EXPORT void StarBurn_DVDVideo_GetTreeNode(StarBurnDVDVideo* video, StarBurnTree** tree) {
    if (tree) *tree = video ? &video->tree : nullptr;
}

MODULE_EXPORT void StarBurn_DVDVideo_Destroy(StarBurnDVDVideo** video) {
    if (!video || !*video) return;
    RemoveWorkFolder((*video)->workFolder);
    delete *video;
    *video = nullptr;
}

namespace {

void Notify(const StarBurnGrabber& grabber, std::uint32_t code, void* first = nullptr, void* second = nullptr) {
    if (grabber.callback) grabber.callback(code, grabber.context, first, second);
}

// The burn events, made from the drive's status as it is polled.
class WriteReporter {
public:
    WriteReporter(const StarBurnGrabber& grabber, std::int64_t bytes) : grabber_(grabber), total_(bytes) {}

    void Begin() {
        Notify(grabber_, STARBURN_CN_TARGET_FILE_ANALYZE_BEGIN);
        std::int64_t blocks = total_ / kBlockBytes;
        Notify(grabber_, STARBURN_CN_TARGET_FILE_ANALYZE_END, &total_, &blocks);
        std::uint32_t waitMs = 0;
        Notify(grabber_, STARBURN_CN_WAIT_CACHE_FULL_BEGIN, &waitMs);
    }

    void Poll(burn_drive_status state, const burn_progress& progress) {
        if (state == BURN_DRIVE_WRITING && !writing_) {
            writing_ = true;
            Notify(grabber_, STARBURN_CN_WAIT_CACHE_FULL_END);
        }
        if (state == BURN_DRIVE_WRITING) Progress(static_cast<std::int64_t>(progress.sector) * kBlockBytes);
        if ((state == BURN_DRIVE_CLOSING_TRACK || state == BURN_DRIVE_CLOSING_SESSION) && !synchronizing_) {
            synchronizing_ = true;
            Notify(grabber_, STARBURN_CN_SYNCHRONIZE_CACHE_BEGIN);
        }
    }

    void End(bool wroteWell) {
        if (!writing_) Notify(grabber_, STARBURN_CN_WAIT_CACHE_FULL_END);
        if (wroteWell) Progress(total_);
        if (!synchronizing_) Notify(grabber_, STARBURN_CN_SYNCHRONIZE_CACHE_BEGIN);
        Notify(grabber_, STARBURN_CN_SYNCHRONIZE_CACHE_END);
    }

private:
    void Progress(std::int64_t written) {
        written = std::clamp<std::int64_t>(written, 0, total_);
        if (written <= reported_) return;   // never backwards, never the same twice
        reported_ = written;
        std::int64_t total = total_;
        Notify(grabber_, STARBURN_CN_PROGRESS, &total, &written);
    }

    const StarBurnGrabber& grabber_;
    std::int64_t total_;
    std::int64_t reported_ = -1;
    bool writing_ = false;
    bool synchronizing_ = false;
};

// The image as genisoimage streams it, counted: a stream that ends early is told from a full one
// (libburn pads a short track with zeros).
struct ImageStream {
    int fd = -1;
    off_t size = 0;
    std::int64_t received = 0;   // read on libburn's fifo thread, looked at after the write
};

int ReadImageStream(burn_source* source, unsigned char* buffer, int size) {
    auto* stream = static_cast<ImageStream*>(source->data);
    int filled = 0;
    while (filled < size) {
        ssize_t n = read(stream->fd, buffer + filled, static_cast<std::size_t>(size - filled));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        filled += static_cast<int>(n);
    }
    stream->received += filled;
    return filled;
}

off_t SizeOfImageStream(burn_source* source) { return static_cast<ImageStream*>(source->data)->size; }

int SetSizeOfImageStream(burn_source* source, off_t size) {
    static_cast<ImageStream*>(source->data)->size = size;
    return 1;
}

// libburn frees the record itself; the stream only closes its end of the pipe.
void FreeImageStream(burn_source* source) {
    auto* stream = static_cast<ImageStream*>(source->data);
    if (stream->fd >= 0) close(stream->fd);
    stream->fd = -1;
}

burn_source* NewImageStreamSource(ImageStream& stream) {
    auto* source = static_cast<burn_source*>(std::calloc(1, sizeof(burn_source)));
    if (!source) return nullptr;
    source->refcount = 1;
    source->read = ReadImageStream;
    source->get_size = SizeOfImageStream;
    source->set_size = SetSizeOfImageStream;
    source->free_data = FreeImageStream;
    source->data = &stream;
    return source;
}

struct WriteJob {
    burn_write_opts* options = nullptr;
    burn_disc* disc = nullptr;
    burn_session* session = nullptr;
    burn_track* track = nullptr;
    burn_source* file = nullptr;
    burn_source* fifo = nullptr;

    ~WriteJob() {
        if (fifo) burn_source_free(fifo);
        if (file) burn_source_free(file);
        if (track) burn_track_free(track);
        if (session) burn_session_free(session);
        if (disc) burn_disc_free(disc);
        if (options) burn_write_opts_free(options);
    }
};

// libburn learns what a disc now holds only when the drive is grabbed anew.
void Regrab(StarBurnGrabber& grabber) {
    Ungrab(grabber, false);
    Grab(grabber, TrayLoad::Leave);
}

// The track reads the image from genisoimage's pipe (the stream's source closes it).
bool PrepareJob(WriteJob& job, const StarBurnGrabber& grabber, burn_drive* drive, ImageStream& stream,
                bool testWrite) {
    job.options = burn_write_opts_new(drive);
    job.disc = burn_disc_create();
    job.session = burn_session_create();
    job.track = burn_track_create();
    job.file = NewImageStreamSource(stream);
    if (!job.options || !job.disc || !job.session || !job.track || !job.file) return false;
    job.fifo = burn_fifo_source_new(job.file, 2048, 2048, 0);
    if (!job.fifo) return false;
    burn_write_opts_set_write_type(job.options, BURN_WRITE_TAO, BURN_BLOCK_MODE1);
    burn_write_opts_set_simulate(job.options, testWrite ? 1 : 0);
    burn_write_opts_set_underrun_proof(job.options, grabber.bufferUnderrunProtection ? 1 : 0);
    burn_write_opts_set_perform_opc(job.options, grabber.performOpc ? 1 : 0);
    burn_write_opts_set_multi(job.options, 0);
    burn_track_define_data(job.track, 0, 0, 1, BURN_MODE1);
    if (burn_track_set_source(job.track, job.fifo) != BURN_SOURCE_OK) return false;
    burn_session_add_track(job.session, job.track, BURN_POS_END);
    burn_disc_add_session(job.disc, job.session, BURN_POS_END);
    return true;
}

}  // namespace

namespace {

// The write itself, on a prepared job: polls the drive until it is idle again.
bool WriteJobOut(WriteJob& job, burn_drive* drive, WriteReporter& reporter, std::string& problem) {
    reporter.Begin();
    burn_disc_write(job.options, job.disc);
    burn_progress progress{};
    burn_drive_status state;
    while ((state = burn_drive_get_status(drive, &progress)) == BURN_DRIVE_SPAWNING) usleep(kPollMicroseconds / 10);
    while (state != BURN_DRIVE_IDLE) {
        reporter.Poll(state, progress);
        usleep(kPollMicroseconds);
        state = burn_drive_get_status(drive, &progress);
    }
    // libburn can refuse a write and still say it wrote well: its queue tells.
    return burn_drive_wrote_well(drive) != 0 && !TakeQueuedProblem(problem);
}

}  // namespace

// The image is streamed from genisoimage straight into the track: it is never written to a file.
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_TrackAtOnceFromTree(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                                           StarBurnTree* tree, std::uint32_t,
                                                                           std::uint8_t testWrite, std::uint32_t,
                                                                           std::uint32_t, std::uint32_t) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (!tree || tree->imageArguments.empty() || tree->bytes <= 0)
        return error.Fail(STARBURN_EXCEPTION_INVALID_PARAMETER, STARBURN_STATUS_INVALID_PARAMETER, "no file tree");
    ImageStream stream;
    stream.size = static_cast<off_t>(tree->bytes);
    int writer = StartImageWriter(tree->imageArguments, tree->errorFile, stream.fd);
    if (writer < 0)
        return error.Fail(STARBURN_EXCEPTION_FILE_SYSTEM, STARBURN_STATUS_FILE_NOT_FOUND,
                          "genisoimage could not be started");
    std::string problem;
    bool prepared = false, refused = false, wroteWell = false;
    {
        WriteJob job;   // freeing it closes the pipe, so a writer nobody reads from ends
        prepared = PrepareJob(job, *grabber, drive, stream, testWrite != 0);
        char reasons[BURN_REASONS_LEN] = {};
        refused = prepared && burn_precheck_write(job.options, job.disc, reasons, 0) <= 0;
        if (refused) problem = std::string("the disc cannot take the write: ") + reasons;
        if (prepared && !refused) {
            WriteReporter reporter(*grabber, tree->bytes);
            wroteWell = WriteJobOut(job, drive, reporter, problem);
            reporter.End(wroteWell);
        }
    }
    if (stream.fd >= 0) close(stream.fd);   // no source took the pipe
    int writerStatus = WaitForProgram(writer);
    grabber->performOpc = false;
    if (!prepared)
        return error.Fail(STARBURN_EXCEPTION_GENERIC, STARBURN_STATUS_NOT_ENOUGH_MEMORY,
                          "the write could not be prepared");
    if (refused) return error.Fail(STARBURN_EXCEPTION_UNSUPPORTED, STARBURN_STATUS_NOT_SUPPORTED, problem);
    // A writer that failed or stopped early left zeros in place of the image's end (and may be
    // why the write failed): that is the reason to tell, not libburn's view of it.
    if (!testWrite && (writerStatus != 0 || stream.received < tree->bytes)) MostSevereMessage(nullptr);
    if (!testWrite && writerStatus != 0)
        return error.Fail(STARBURN_EXCEPTION_FILE_SYSTEM, STARBURN_STATUS_GEN_FAILURE,
                          "genisoimage failed while streaming the image: " + LastLine(ReadFile(tree->errorFile)));
    if (!testWrite && stream.received < tree->bytes)
        return error.Fail(
            STARBURN_EXCEPTION_FILE_SYSTEM, STARBURN_STATUS_GEN_FAILURE,
            "genisoimage wrote " + std::to_string(stream.received) + " bytes of " + std::to_string(tree->bytes));
    if (!wroteWell)
        return error.Fail(STARBURN_EXCEPTION_WRITE, STARBURN_STATUS_WRITE_FAULT,
                          problem.empty() ? "the write failed" : problem);
    Regrab(*grabber);
    return error.Succeed();
}

// Track-at-once writing with multi-session off closes the disc itself.
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_CloseSession(StarBurnGrabber* grabber, SB_ERR_PARAMS) {
    SB_ERR;
    std::uint32_t result = 0;
    if (!GrabbedDrive(grabber, error, result)) return result;
    return error.Succeed();
}

// Mode 0 blanks fast (the table of contents), any other mode the whole disc.
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_Blank(StarBurnGrabber* grabber, SB_ERR_PARAMS,
                                                             std::uint32_t mode) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    burn_disc_status before = burn_disc_get_status(drive);
    if (before != BURN_DISC_FULL && before != BURN_DISC_APPENDABLE && before != BURN_DISC_BLANK)
        return error.Fail(STARBURN_EXCEPTION_NOT_READY, STARBURN_STATUS_NOT_READY, "no disc to blank");
    if (!burn_disc_erasable(drive))
        return error.Fail(STARBURN_EXCEPTION_UNSUPPORTED, STARBURN_STATUS_NOT_SUPPORTED, "the disc cannot be blanked");
    burn_disc_erase(drive, mode == 0 ? 1 : 0);
    burn_progress progress{};
    while (burn_drive_get_status(drive, &progress) == BURN_DRIVE_SPAWNING) usleep(kPollMicroseconds / 10);
    while (burn_drive_get_status(drive, &progress) != BURN_DRIVE_IDLE) usleep(kPollMicroseconds);
    std::string problem;
    if (burn_drive_wrote_well(drive) == 0 || TakeQueuedProblem(problem) || burn_disc_get_status(drive) != BURN_DISC_BLANK)
        return error.Fail(STARBURN_EXCEPTION_WRITE, STARBURN_STATUS_WRITE_FAULT,
                          problem.empty() ? "blanking failed" : problem);
    Regrab(*grabber);
    return error.Succeed();
}

// The erase of overwritable media, which libburn does not blank: the start of what the disc
// holds (its volume descriptors) is overwritten with zeros, so the disc reads as blank and its
// whole capacity is written anew by the next burn. Sequential media are refused: Blank them.
MODULE_EXPORT std::uint32_t StarBurn_CdvdBurnerGrabber_Format(StarBurnGrabber* grabber, SB_ERR_PARAMS) {
    SB_ERR;
    std::uint32_t result = 0;
    burn_drive* drive = GrabbedDrive(grabber, error, result);
    if (!drive) return result;
    if (burn_disc_get_status(drive) != BURN_DISC_BLANK || !Overwritable(drive))
        return error.Fail(STARBURN_EXCEPTION_UNSUPPORTED, STARBURN_STATUS_NOT_SUPPORTED,
                          "the disc is not overwritable");
    if (IsoBlocks(drive) == 0) return error.Succeed();   // nothing written: blank already
    // 32 blocks: the system area and the descriptors, aligned as DVD and BD media want it.
    std::vector<char> zeros(32 * kBlockBytes, 0);
    if (burn_random_access_write(drive, 0, zeros.data(), static_cast<off_t>(zeros.size()), 1) <= 0) {
        std::string problem;
        TakeQueuedProblem(problem);
        return error.Fail(STARBURN_EXCEPTION_WRITE, STARBURN_STATUS_WRITE_FAULT,
                          problem.empty() ? "the disc could not be overwritten" : problem);
    }
    Regrab(*grabber);
    return error.Succeed();
}
