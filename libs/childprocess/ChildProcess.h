// One program run as a child, for the outside-library modules: found through PATH, started
// without a shell, in a process group of its own and with no descriptor of ours, its input fed
// from a file (with a count of the bytes handed over), its messages read line by line. A child
// that makes no progress (takes no input, says nothing) for its limit is asked to end (SIGTERM
// to its group), and killed (SIGKILL) when it is still there after the grace time.
//
//   ChildJob job;  job.arguments = {"spumux", project};  job.onLine = ...;
//   ChildResult run = RunChild(job);      blocks the calling thread until the child is gone
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace childprocess {

struct ChildJob {
    std::vector<std::string> arguments;   // arguments[0] is the program's name, looked up in PATH
    // Variables set (a value) or removed (nullopt) in the child's copy of our environment.
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
    int inputFile = -1;    // fed to the child's standard input; -1: the input is empty
    int outputFile = -1;   // the child's standard output; -1: read as messages with its errors
    int errorFile = -1;    // the child's standard error; -1: read as messages
    // No input taken and nothing said for this long ends the child; zero: no limit.
    std::chrono::milliseconds stallLimit{0};
    std::chrono::milliseconds graceTime{5000};   // from SIGTERM to SIGKILL
    std::function<void(std::uint64_t bytesFed)> onFed;     // after every piece handed over
    std::function<void(std::string_view line)> onLine;     // lines split at CR and at LF
};

struct ChildResult {
    bool started = false;        // false: the program could not be run (startError says why)
    int startError = 0;
    bool signalled = false;      // it died by a signal (exitSignal)
    int exitSignal = 0;
    int exitCode = -1;           // its exit code when it exited
    bool inputComplete = false;  // the whole input file was handed over
    bool stalled = false;        // it was ended for making no progress within stallLimit
};

// Runs the job to its end; the calling thread feeds the input and reads the messages.
ChildResult RunChild(const ChildJob& job);

// Starts the job's program and leaves it running, for a caller that reads its output itself:
// outputFile and errorFile must be given; inputFile is handed over as the child's input (-1:
// empty); no limit applies. WaitChild reaps it.
struct StartedChild {
    int pid = -1;          // -1: the program could not be run (startError says why)
    int startError = 0;
};
StartedChild StartChild(const ChildJob& job);
ChildResult WaitChild(int pid);

// Splits a stream of bytes into lines at CR and at LF, dropping empty ones; a line longer than
// the limit is handed over in pieces.
class LineSplitter {
public:
    explicit LineSplitter(std::function<void(std::string_view)> onLine) : onLine_(std::move(onLine)) {}
    void Add(std::string_view bytes);
    void Finish();

private:
    static constexpr std::size_t kLongestLine = 16384;
    std::function<void(std::string_view)> onLine_;
    std::string pending_;
};

}  // namespace childprocess
