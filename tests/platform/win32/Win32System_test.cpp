// System answers (version, language) and ShellExecuteA through a recording opener.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <unistd.h>
#include <vector>

#include "platform/win32/Windows.h"

namespace {

TEST(Win32System, VersionIsAnNtFamilyAnswer) {
    OSVERSIONINFOA info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwBuildNumber, 2600u);
    EXPECT_FALSE(GetVersionExA(nullptr));
}

// Sets the locale variables for one case and puts the old values back.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char* all, const char* messages, const char* lang) {
        Set("LC_ALL", all);
        Set("LC_MESSAGES", messages);
        Set("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (auto& [name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1); else unsetenv(name.c_str());
        }
    }

private:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) setenv(name, value, 1); else unsetenv(name);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::string Language() {
    char buffer[64] = {};
    int length = GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_SENGLANGUAGE, buffer, sizeof buffer);
    EXPECT_EQ(length, static_cast<int>(std::string(buffer).size()) + 1);
    return buffer;
}

TEST(Win32System, LanguageNameComesFromTheLocaleVariablesInTheirOrder) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        const char* language;
    };
    const Case cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", "German"},
        {nullptr, nullptr, "zh_CN", "Chinese"},
        {nullptr, nullptr, "fr_FR@euro", "French"},
        {nullptr, nullptr, "pt_BR.UTF-8", "Portuguese"},
        {nullptr, nullptr, "nb_NO.UTF-8", "Norwegian"},
        {nullptr, nullptr, "ja", "Japanese"},
        {nullptr, nullptr, "C", "English"},
        {nullptr, nullptr, "POSIX", "English"},
        {nullptr, nullptr, nullptr, "English"},
        {nullptr, nullptr, "xx_YY", "English"},
        {nullptr, "es_ES.UTF-8", "de_DE.UTF-8", "Spanish"},
        {"it_IT.UTF-8", "es_ES.UTF-8", "de_DE.UTF-8", "Italian"},
        {"", "", "ru_RU.UTF-8", "Russian"},   // empty means unset
    };
    for (const auto& c : cases) {
        LocaleEnvironment environment(c.all, c.messages, c.lang);
        EXPECT_EQ(Language(), c.language) << (c.lang ? c.lang : "(unset)");
    }
}

TEST(Win32System, LocaleInfoTellsTheSizeAndRefusesASmallBuffer) {
    LocaleEnvironment environment(nullptr, nullptr, "de_DE.UTF-8");
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, nullptr, 0), 7);
    char exact[7];
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, exact, 7), 7);
    EXPECT_STREQ(exact, "German");
    char small[6] = {};
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, small, 6), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, 0x7777, exact, 7), 0);
}

// ---- shell ----

class Win32Shell : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/win32shellXXXXXX";
        folder_ = mkdtemp(pattern);
        file_ = folder_ + "/manual.pdf";
        std::ofstream(file_) << "x";
        Win32_SetOpener([this](const std::string& target) {
            opened_.push_back(target);
            return openerWorks_;
        });
    }
    void TearDown() override {
        Win32_SetOpener(nullptr);
        unlink(file_.c_str());
        rmdir(folder_.c_str());
    }
    static std::intptr_t Code(HINSTANCE answer) { return reinterpret_cast<std::intptr_t>(answer); }
    std::string folder_, file_;
    std::vector<std::string> opened_;
    bool openerWorks_ = true;
};

TEST_F(Win32Shell, OpensAnExistingFileThroughTheOpener) {
    EXPECT_EQ(Code(ShellExecuteA(nullptr, "open", file_.c_str(), nullptr, nullptr, SW_SHOWNORMAL)), 42);
    EXPECT_EQ(Code(ShellExecuteA(nullptr, nullptr, "manual.pdf", nullptr, folder_.c_str(), SW_SHOW)), 42);
    std::string windowsStyle = file_;
    for (char& c : windowsStyle) c = c == '/' ? '\\' : c;
    EXPECT_EQ(Code(ShellExecuteA(nullptr, "Open", windowsStyle.c_str(), nullptr, nullptr, SW_SHOW)), 42);
    EXPECT_EQ(opened_, (std::vector<std::string>{file_, file_, file_}));
}

TEST_F(Win32Shell, UrlsGoToTheOpenerAsTheyAre) {
    for (const char* url : {"http://example.org/a?b=c", "https://example.org/", "mailto:someone@example.org"}) {
        EXPECT_EQ(Code(ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOW)), 42) << url;
    }
    EXPECT_EQ(opened_.size(), 3u);
    EXPECT_EQ(opened_[2], "mailto:someone@example.org");
}

TEST_F(Win32Shell, AMissingFileIsNotHandedToTheOpener) {
    std::string missing = folder_ + "/nothing.txt";
    EXPECT_EQ(Code(ShellExecuteA(nullptr, "open", missing.c_str(), nullptr, nullptr, SW_SHOW)), SE_ERR_FNF);
    EXPECT_EQ(Code(ShellExecuteA(nullptr, "open", nullptr, nullptr, nullptr, SW_SHOW)), SE_ERR_FNF);
    EXPECT_TRUE(opened_.empty());
}

TEST_F(Win32Shell, AnOpenerThatCannotStartAndUnknownVerbsFail) {
    openerWorks_ = false;
    EXPECT_EQ(Code(ShellExecuteA(nullptr, "open", file_.c_str(), nullptr, nullptr, SW_SHOW)), SE_ERR_NOASSOC);
    EXPECT_EQ(Code(ShellExecuteA(nullptr, "frobnicate", file_.c_str(), nullptr, nullptr, SW_SHOW)),
              SE_ERR_NOASSOC);
    EXPECT_EQ(opened_.size(), 1u);
}

}  // namespace

TEST(Win32System, ScrollBarThicknessIsAnsweredAndOtherMetricsAreZero) {
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(-1), 0);
}
