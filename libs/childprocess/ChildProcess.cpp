#include "libs/childprocess/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace childprocess {
namespace {

class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Open() const { return fd_ >= 0; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    void Close() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

// The child starts with no signal blocked and every signal at its default action, whatever
// this process has set for itself, and leads a process group of its own, so that ending it
// ends whatever it started too.
class SpawnAttributes {
public:
    SpawnAttributes() {
        posix_spawnattr_init(&attributes_);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setsigdefault(&attributes_, &all);
        posix_spawnattr_setpgroup(&attributes_, 0);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* Get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

std::string VariableName(const char* entry) {
    const char* equals = std::strchr(entry, '=');
    return equals ? std::string(entry, equals) : std::string(entry);
}

std::vector<std::string> ChildEnvironment(const ChildJob& job) {
    std::vector<std::string> entries;
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string name = VariableName(*entry);
        bool changed = false;
        for (const auto& change : job.environment) changed = changed || change.first == name;
        if (!changed) entries.emplace_back(*entry);
    }
    for (const auto& [name, value] : job.environment) {
        if (value) entries.push_back(name + "=" + *value);
    }
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

void SetNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

// Hands the input file to the child piece by piece, as fast as it takes it.
class Feeder {
public:
    Feeder(int file, Descriptor& socket, const ChildJob& job) : file_(file), socket_(socket), job_(job) {}

    // Called when the socket can take more; false once feeding has ended.
    bool Step(bool& complete) {
        if (position_ == length_ && !Refill(complete)) return false;
        ssize_t sent = send(socket_.Get(), buffer_.data() + position_, length_ - position_, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            position_ += static_cast<std::size_t>(sent);
            fed_ += static_cast<std::uint64_t>(sent);
            if (job_.onFed) job_.onFed(fed_);
            return true;
        }
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
        socket_.Close();   // the child stopped reading
        return false;
    }

private:
    bool Refill(bool& complete) {
        ssize_t got;
        do {
            got = read(file_, buffer_.data(), buffer_.size());
        } while (got < 0 && errno == EINTR);
        if (got > 0) {
            position_ = 0;
            length_ = static_cast<std::size_t>(got);
            return true;
        }
        complete = got == 0;
        shutdown(socket_.Get(), SHUT_WR);
        socket_.Close();
        return false;
    }

    int file_;
    Descriptor& socket_;
    const ChildJob& job_;
    std::vector<char> buffer_ = std::vector<char>(64 * 1024);
    std::size_t position_ = 0;
    std::size_t length_ = 0;
    std::uint64_t fed_ = 0;
};

// Reads what the child says until it closes its side; false once it has.
bool ReadMessages(int fd, LineSplitter& lines) {
    char buffer[8192];
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0) {
        lines.Add(std::string_view(buffer, static_cast<std::size_t>(got)));
        return true;
    }
    return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
}

using Clock = std::chrono::steady_clock;

// The child has ended (it is left to be reaped).
bool Exited(pid_t pid) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

// Ends a child that makes no progress: SIGTERM to its group once the limit has passed without
// any, SIGKILL once the grace time has passed after that.
class Watchdog {
public:
    Watchdog(const ChildJob& job, pid_t pid) : job_(job), pid_(pid), last_(Clock::now()) {}
    void Progress() {
        if (!terminated_) last_ = Clock::now();
    }
    // How long poll may wait before the next look; -1: for ever.
    int WaitMs() const {
        if (job_.stallLimit.count() <= 0) return -1;
        Clock::time_point due = terminated_ ? terminatedAt_ + job_.graceTime : last_ + job_.stallLimit;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count();
        return static_cast<int>(std::clamp<long long>(left, 0, 1000));
    }
    // False once the child has been killed: stop talking to it.
    bool Look() {
        if (job_.stallLimit.count() <= 0) return true;
        Clock::time_point now = Clock::now();
        if (!terminated_ && now - last_ >= job_.stallLimit) {
            kill(-pid_, SIGTERM);
            terminated_ = true;
            terminatedAt_ = now;
        }
        if (terminated_ && now - terminatedAt_ >= job_.graceTime) {
            kill(-pid_, SIGKILL);
            return false;
        }
        return true;
    }
    bool Stalled() const { return terminated_; }

private:
    const ChildJob& job_;
    pid_t pid_;
    Clock::time_point last_;
    bool terminated_ = false;
    Clock::time_point terminatedAt_;
};

void Converse(const ChildJob& job, pid_t pid, Descriptor& feedSocket, Descriptor& messages, ChildResult& result) {
    LineSplitter lines(job.onLine ? job.onLine : [](std::string_view) {});
    Feeder feeder(job.inputFile, feedSocket, job);
    Watchdog watchdog(job, pid);
    bool feeding = feedSocket.Open();
    bool reading = true;
    result.inputComplete = !feeding;
    if (feeding) SetNonBlocking(feedSocket.Get());
    SetNonBlocking(messages.Get());
    while ((feeding || reading) && watchdog.Look()) {
        pollfd watched[2];
        nfds_t count = 0;
        int feedSlot = -1;
        int readSlot = -1;
        if (feeding) {
            feedSlot = static_cast<int>(count);
            watched[count++] = pollfd{feedSocket.Get(), POLLOUT, 0};
        }
        if (reading) {
            readSlot = static_cast<int>(count);
            watched[count++] = pollfd{messages.Get(), POLLIN, 0};
        }
        int ready = poll(watched, count, watchdog.WaitMs());
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (ready == 0) continue;
        watchdog.Progress();
        if (feedSlot >= 0 && watched[feedSlot].revents != 0) feeding = feeder.Step(result.inputComplete);
        if (readSlot >= 0 && watched[readSlot].revents != 0) reading = ReadMessages(messages.Get(), lines);
    }
    lines.Finish();
    // A child that closed its ends but lives on is watched with the same limits.
    while (job.stallLimit.count() > 0 && !Exited(pid) && watchdog.Look()) usleep(20 * 1000);
    result.stalled = watchdog.Stalled();
}

void Reap(pid_t pid, ChildResult& result) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return;
    }
    if (WIFSIGNALED(status)) {
        result.signalled = true;
        result.exitSignal = WTERMSIG(status);
    } else if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
}

// Starts the job's program with the given standard descriptors (input -1: empty); 0 or the
// error number.
int Spawn(const ChildJob& job, int input, int output, int error, pid_t& pid) {
    SpawnActions actions;
    if (input >= 0)
        posix_spawn_file_actions_adddup2(actions.Get(), input, 0);
    else
        posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.Get(), output, 1);
    posix_spawn_file_actions_adddup2(actions.Get(), error, 2);
    posix_spawn_file_actions_addclosefrom_np(actions.Get(), 3);
    SpawnAttributes attributes;
    std::vector<std::string> arguments = job.arguments;
    std::vector<std::string> environment = ChildEnvironment(job);
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(environment);
    return posix_spawnp(&pid, argv[0], actions.Get(), attributes.Get(), argv.data(), envp.data());
}

}  // namespace

void LineSplitter::Add(std::string_view bytes) {
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            if (!pending_.empty()) onLine_(pending_);
            pending_.clear();
            continue;
        }
        pending_.push_back(c);
        if (pending_.size() >= kLongestLine) {
            onLine_(pending_);
            pending_.clear();
        }
    }
}

void LineSplitter::Finish() {
    if (!pending_.empty()) onLine_(pending_);
    pending_.clear();
}

ChildResult RunChild(const ChildJob& job) {
    ChildResult result;
    if (job.arguments.empty()) {
        result.startError = EINVAL;
        return result;
    }
    Descriptor feedOurs, feedTheirs, messagesOurs, messagesTheirs;
    if (job.inputFile >= 0) {
        int pair[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
            result.startError = errno;
            return result;
        }
        feedOurs.Reset(pair[0]);
        feedTheirs.Reset(pair[1]);
    }
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        result.startError = errno;
        return result;
    }
    messagesOurs.Reset(pipeEnds[0]);
    messagesTheirs.Reset(pipeEnds[1]);

    pid_t pid = -1;
    int spawned = Spawn(job, feedTheirs.Get(), job.outputFile >= 0 ? job.outputFile : messagesTheirs.Get(),
                        job.errorFile >= 0 ? job.errorFile : messagesTheirs.Get(), pid);
    feedTheirs.Close();
    messagesTheirs.Close();
    if (spawned != 0) {
        result.startError = spawned;
        return result;
    }
    result.started = true;
    Converse(job, pid, feedOurs, messagesOurs, result);
    feedOurs.Close();
    messagesOurs.Close();
    Reap(pid, result);
    return result;
}

StartedChild StartChild(const ChildJob& job) {
    StartedChild child;
    if (job.arguments.empty() || job.outputFile < 0 || job.errorFile < 0) {
        child.startError = EINVAL;
        return child;
    }
    pid_t pid = -1;
    child.startError = Spawn(job, job.inputFile, job.outputFile, job.errorFile, pid);
    if (child.startError == 0) child.pid = pid;
    return child;
}

ChildResult WaitChild(int pid) {
    ChildResult result;
    result.started = pid > 0;
    if (result.started) Reap(pid, result);
    return result;
}

}  // namespace childprocess
