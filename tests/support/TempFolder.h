// A temporary folder that goes away with its object, and FFmpeg's test sources for fixtures.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_vcl {

class TTempFolder {
public:
    // Made under /tmp with the prefix in its name; Path() is empty when it could not be made.
    explicit TTempFolder(const std::string& Prefix = "test");
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // A name inside the folder.
    std::string operator[](const std::string& Name) const { return m_path + "/" + Name; }

private:
    std::string m_path;
};

// A scratch home and a scratch current directory for one test: HOME points at Home(), the
// cache and runtime folders follow it (XDG_CACHE_HOME and XDG_RUNTIME_DIR unset), and the
// current directory is Cwd(). Everything is put back, and the folders removed, on destruction.
class TScratchHome {
public:
    TScratchHome();
    ~TScratchHome();
    TScratchHome(const TScratchHome&) = delete;
    TScratchHome& operator=(const TScratchHome&) = delete;

    std::string Home() const { return m_root.Path() + "/home"; }
    std::string Cwd() const { return m_root.Path() + "/cwd"; }
    // The names directly in the scratch current directory, sorted.
    std::vector<std::string> CwdEntries() const;

private:
    TTempFolder m_root{"scratchhome"};
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
    std::string m_savedCwd;
};

// A program folder of the test's own: each entry of the built program folder (build/dist) is
// linked into it but for the work folder, so test programs that run side by side never share
// one "Temp/". Path() ends with '/', as ExePath does.
class TPrivateProgramFolder {
public:
    TPrivateProgramFolder();
    std::string Path() const { return m_root.Path() + "/"; }

private:
    TTempFolder m_root{"program"};
};

// A small file's whole text, written as it stands (no line-end conversion), and read back.
void WriteText(const std::string& Path, const std::string& Text);
std::string ReadText(const std::string& Path);

// Runs ffmpeg quietly with Arguments and writes Out; true when it succeeded and Out exists.
bool Ffmpeg(const std::string& Arguments, const std::string& Out);

}  // namespace testing_vcl
