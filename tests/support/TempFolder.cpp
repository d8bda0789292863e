#include "tests/support/TempFolder.h"

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

bool Ffmpeg(const std::string& Arguments, const std::string& Out) {
    std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + Arguments + " '" + Out + "'";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(Out);
}

}  // namespace testing_vcl
