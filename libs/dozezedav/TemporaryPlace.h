// Files and folders made under fresh hidden names beside the place a result goes, so that a
// finished result is renamed into its place and an unfinished one never shows there.
#pragma once

#include <string>

namespace dozezedav {

// Whether a temporary name shows the name of its place, or only the module's: a file handed
// to a program by name gets a plain one, so that no character of the user's reaches it twice.
enum class Naming { AfterPlace, Plain };

class TemporaryFile {
public:
    // A new empty file beside place, ending in suffix; !Made() when it could not be made.
    // Mode 0666 less the process's umask, as any file the user makes.
    TemporaryFile(const std::string& place, const std::string& suffix, Naming naming = Naming::AfterPlace);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Made() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    int Descriptor() const { return fd_; }
    // Renames the file to place (replacing a file there); on success it is no longer removed.
    bool MoveTo(const std::string& place);

private:
    std::string path_;
    int fd_ = -1;
    bool moved_ = false;
};

class TemporaryFolder {
public:
    // A new empty folder beside place; !Made() when it could not be made.
    explicit TemporaryFolder(const std::string& place);
    ~TemporaryFolder();   // removes the folder with all it holds unless it was moved
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    bool Made() const { return made_; }
    const std::string& Path() const { return path_; }
    // Renames the folder to place (which may be an empty folder); on success it stays.
    bool MoveTo(const std::string& place);

private:
    std::string path_;
    bool made_ = false;
    bool moved_ = false;
};

// The name of a fresh hidden entry beside place: ".<name of place>.<random><suffix>", or
// ".dozezedav.<random><suffix>" for a plain one.
std::string SiblingName(const std::string& place, const std::string& suffix, Naming naming = Naming::AfterPlace);

}  // namespace dozezedav
