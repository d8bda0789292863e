#include "libs/dozezedav/MpegHeader.h"

#include <fstream>
#include <vector>

namespace dozezedav {
namespace {

constexpr std::size_t kHeaderBytes = 8;                // start code and the fields we read
constexpr std::size_t kSearchBytes = 16 * 1024 * 1024;  // a program stream has one in its first packs
constexpr std::size_t kChunkBytes = 256 * 1024;

// The position of the first complete sequence header, or npos.
std::size_t FindHeader(std::string_view bytes) {
    for (std::size_t i = 0; i + kHeaderBytes <= bytes.size(); ++i) {
        if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 && static_cast<unsigned char>(bytes[i + 3]) == 0xB3)
            return i;
    }
    return std::string_view::npos;
}

VideoStandard Decode(std::string_view header) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(header[i]); };
    int height = ((byte(5) & 0x0F) << 8) | byte(6);
    int frameRateCode = byte(7) & 0x0F;
    return StandardOf(height, frameRateCode);
}

}  // namespace

const char* StandardName(VideoStandard standard) {
    switch (standard) {
    case VideoStandard::Pal:
        return "PAL";
    case VideoStandard::Ntsc:
        return "NTSC";
    default:
        return "";
    }
}

VideoStandard StandardOf(int height, int frameRateCode) {
    if (height == 576 || height == 288) return VideoStandard::Pal;
    if (height == 480 || height == 240) return VideoStandard::Ntsc;
    if (frameRateCode == 3 || frameRateCode == 6) return VideoStandard::Pal;
    if (frameRateCode >= 1 && frameRateCode <= 8) return VideoStandard::Ntsc;
    return VideoStandard::Unknown;
}

VideoStandard StandardInBytes(std::string_view bytes) {
    std::size_t at = FindHeader(bytes);
    return at == std::string_view::npos ? VideoStandard::Unknown : Decode(bytes.substr(at, kHeaderBytes));
}

VideoStandard StandardOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return VideoStandard::Unknown;
    std::string window;   // the unsearched tail of the last chunk plus the next chunk
    std::vector<char> chunk(kChunkBytes);
    std::size_t searched = 0;
    while (searched < kSearchBytes && in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        window.append(chunk.data(), got);
        searched += got;
        VideoStandard found = StandardInBytes(window);
        if (found != VideoStandard::Unknown) return found;
        // A header split between two chunks is found with the next one.
        if (window.size() > kHeaderBytes) window.erase(0, window.size() - (kHeaderBytes - 1));
    }
    return VideoStandard::Unknown;
}

}  // namespace dozezedav
