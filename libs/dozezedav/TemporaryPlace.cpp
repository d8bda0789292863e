#include "libs/dozezedav/TemporaryPlace.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace dozezedav {
namespace {

namespace fs = std::filesystem;

constexpr int kAttempts = 100;
constexpr std::size_t kLongestStem = 96;   // the name stays well inside a file system's limit

// Cut at a character boundary of UTF-8, so the hidden name is still readable text.
std::string ShortStem(std::string stem) {
    if (stem.size() <= kLongestStem) return stem;
    std::size_t cut = kLongestStem;
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
    return stem.substr(0, cut);
}

// No thread-local state: the module is loaded and freed for each job, and thread-local blocks of
// a freed module are a hazard for whatever walks them later.
std::string RandomWord() {
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(device() ^ (counter++ * 0x9E3779B9u)));
    return text;
}

}  // namespace

std::string SiblingName(const std::string& place, const std::string& suffix, Naming naming) {
    fs::path where(place);
    fs::path folder = where.parent_path();
    std::string stem = naming == Naming::Plain ? std::string("dozezedav") : ShortStem(where.filename().string());
    std::string name = "." + stem + "." + RandomWord() + suffix;
    return (folder.empty() ? fs::path(name) : folder / name).string();
}

TemporaryFile::TemporaryFile(const std::string& place, const std::string& suffix, Naming naming) {
    for (int attempt = 0; attempt < kAttempts && fd_ < 0; ++attempt) {
        path_ = SiblingName(place, suffix, naming);
        fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) break;
    }
}

TemporaryFile::~TemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (fd_ >= 0 && !moved_) unlink(path_.c_str());
}

bool TemporaryFile::MoveTo(const std::string& place) {
    if (fd_ < 0 || rename(path_.c_str(), place.c_str()) != 0) return false;
    moved_ = true;
    return true;
}

TemporaryFolder::TemporaryFolder(const std::string& place) {
    for (int attempt = 0; attempt < kAttempts && !made_; ++attempt) {
        path_ = SiblingName(place, "");
        made_ = mkdir(path_.c_str(), 0777) == 0;
        if (!made_ && errno != EEXIST) break;
    }
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    if (made_ && !moved_) fs::remove_all(path_, ignored);
}

bool TemporaryFolder::MoveTo(const std::string& place) {
    if (!made_ || rename(path_.c_str(), place.c_str()) != 0) return false;
    moved_ = true;
    return true;
}

}  // namespace dozezedav
