// A small authored DVD folder made at test time (a one-second clip through dvdauthor), and the
// starburn module bound by name.
#pragma once

#include "libs/starburn/StarBurn.h"
#include "platform/win32/Windows.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace starburn_test {

inline std::string MakeTempFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

inline bool RunShell(const std::string& command) { return std::system(command.c_str()) == 0; }

// <work>/dvd holding VIDEO_TS with one title; "" when the tools failed.
inline std::string MakeDvdFolder(const std::string& work) {
    std::string clip = work + "/clip.mpg";
    std::string dvd = work + "/dvd";
    if (!RunShell("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=720x480:rate=30000/1001 -t 1 "
                  "-target ntsc-dvd '" + clip + "'"))
        return "";
    if (!RunShell("VIDEO_FORMAT=NTSC dvdauthor -o '" + dvd + "' -t '" + clip + "' >/dev/null 2>&1")) return "";
    if (!RunShell("VIDEO_FORMAT=NTSC dvdauthor -o '" + dvd + "' -T >/dev/null 2>&1")) return "";
    return dvd;
}

inline std::vector<char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void RemoveAll(const std::string& path) {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

// The real module as the program loads it.
class LoadedStarBurn {
public:
    LoadedStarBurn() : module_(LoadLibraryA("starburn.dll")) {
        if (module_) {
            StarBurnBindApi(api_, [this](const char* name) {
                return reinterpret_cast<void*>(GetProcAddress(module_, name));
            });
        }
    }
    ~LoadedStarBurn() {
        if (module_) FreeLibrary(module_);
    }
    LoadedStarBurn(const LoadedStarBurn&) = delete;
    LoadedStarBurn& operator=(const LoadedStarBurn&) = delete;

    bool Bound() const { return StarBurnApiComplete(api_); }
    const StarBurnApi& Api() const { return api_; }

private:
    HMODULE module_;
    StarBurnApi api_;
};

}  // namespace starburn_test
