#include "tests/support/TempFolder.h"

#include <fstream>
#include <iterator>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace testing_vcl {

TTempFolder::TTempFolder(const std::string& Prefix) {
    std::string pattern = "/tmp/" + Prefix + "_XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) != nullptr) m_path = buffer.data();
}

TTempFolder::~TTempFolder() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
}

TScratchHome::TScratchHome() {
    std::filesystem::create_directories(Home());
    std::filesystem::create_directories(Cwd());
    for (const char* name : {"HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const char* value = std::getenv(name);
        m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("HOME", Home().c_str(), 1);
    ::unsetenv("XDG_CACHE_HOME");
    ::unsetenv("XDG_RUNTIME_DIR");
    m_savedCwd = std::filesystem::current_path().string();
    std::filesystem::current_path(Cwd());
}

TScratchHome::~TScratchHome() {
    std::error_code ignored;
    std::filesystem::current_path(m_savedCwd, ignored);
    for (const auto& [name, value] : m_saved) {
        if (value) ::setenv(name.c_str(), value->c_str(), 1);
        else ::unsetenv(name.c_str());
    }
}

std::vector<std::string> TScratchHome::CwdEntries() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(Cwd(), ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TPrivateProgramFolder::TPrivateProgramFolder() {
    const std::filesystem::path dist = std::filesystem::path(TEST_PEER_DIR) / ".." / ".." / "dist";
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(dist, ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec)) {
        if (it->path().filename() == "Temp") continue;
        std::error_code linked;
        std::filesystem::create_symlink(std::filesystem::canonical(it->path()), m_root[it->path().filename().string()],
                                        linked);
    }
}

bool Ffmpeg(const std::string& Arguments, const std::string& Out) {
    std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + Arguments + " '" + Out + "'";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(Out);
}

void WriteText(const std::string& Path, const std::string& Text) { std::ofstream(Path, std::ios::binary) << Text; }

std::string ReadText(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace testing_vcl
