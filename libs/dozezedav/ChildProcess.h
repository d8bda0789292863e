// One program run as a child: found through PATH, started without a shell and without any
// descriptor of ours, its input fed from a file (with a count of the bytes handed over), its
// messages read line by line.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dozezedav {

struct ChildJob {
    std::vector<std::string> arguments;   // arguments[0] is the program's name, looked up in PATH
    // Variables set (a value) or removed (nullopt) in the child's copy of our environment.
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
    int inputFile = -1;    // fed to the child's standard input; -1: the input is empty
    int outputFile = -1;   // the child's standard output; -1: read as messages with its errors
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
};

// Runs the job to its end; the calling thread feeds the input and reads the messages.
ChildResult RunChild(const ChildJob& job);

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

}  // namespace dozezedav
