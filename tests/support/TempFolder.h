// A temporary folder that goes away with its object, and FFmpeg's test sources for fixtures.
#pragma once

#include <string>

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

// Runs ffmpeg quietly with Arguments and writes Out; true when it succeeded and Out exists.
bool Ffmpeg(const std::string& Arguments, const std::string& Out);

}  // namespace testing_vcl
