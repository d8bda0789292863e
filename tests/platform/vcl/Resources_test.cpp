// Compiled-in resources: the registry, bitmaps from resources, and the build's embedding.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/vcl/BmpCodec.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Resources.h"

namespace {

std::vector<Byte> SmallBmp(TColor colour) {
    TBitmap b(3, 2, pf24bit);
    b.GetCanvas()->GetBrush()->SetColor(colour);
    b.GetCanvas()->FillRect(Rect(0, 0, 3, 2));
    TMemoryStream s;
    b.SaveToStream(&s);
    return s.Data();
}

TEST(Resources, FindIsCaseInsensitiveOnNameAndType) {
    static const Byte data[] = {1, 2, 3};
    Resources_Register("SUIBUTTON", "BITMAP", data, sizeof data);
    const Byte* found = nullptr;
    size_t size = 0;
    EXPECT_TRUE(Resources_Find("suiButton", "bitmap", found, size));
    EXPECT_EQ(found, data);
    EXPECT_EQ(size, 3u);
    EXPECT_FALSE(Resources_Find("suiButton", "RCDATA", found, size));
    EXPECT_FALSE(Resources_Find("other", "BITMAP", found, size));
    EXPECT_TRUE(Resources_Unregister("SuiButton", "Bitmap"));
    EXPECT_FALSE(Resources_Find("SUIBUTTON", "BITMAP", found, size));
    EXPECT_NE(HInstance, nullptr);
}

TEST(Resources, BitmapsLoadWithOrWithoutTheFileHeader) {
    static const std::vector<Byte> file = SmallBmp(clRed);
    static const std::vector<Byte> dib(file.begin() + 14, file.end());
    Resources_Register("REDFILE", RT_BITMAP_NAME, file.data(), file.size());
    Resources_Register("REDDIB", RT_BITMAP_NAME, dib.data(), dib.size());
    for (const char* name : {"RedFile", "REDDIB"}) {
        TBitmap b;
        b.LoadFromResourceName(HInstance, name);
        EXPECT_EQ(b.GetWidth(), 3) << name;
        EXPECT_EQ(b.GetHeight(), 2) << name;
        EXPECT_EQ(b.GetPixelColor(2, 1), static_cast<COLORREF>(clRed)) << name;
    }
    Resources_Unregister("REDFILE", RT_BITMAP_NAME);
    Resources_Unregister("REDDIB", RT_BITMAP_NAME);
}

TEST(Resources, MissingOrDamagedResourcesRaise) {
    TBitmap b;
    try {
        b.LoadFromResourceName(HInstance, "NOSUCHBITMAP");
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource NOSUCHBITMAP not found");
    }
    static const Byte junk[] = {40, 0, 0, 0, 1};
    Resources_Register("JUNK", RT_BITMAP_NAME, junk, sizeof junk);
    EXPECT_THROW(b.LoadFromResourceName(HInstance, "JUNK"), EInvalidGraphic);
    Resources_Unregister("JUNK", RT_BITMAP_NAME);
}

// ---- the build's embedding ------------------------------------------------------------------------

// Not derived from __FILE__: a compiler cache may make that path relative.
String RepoRoot() { return TEST_SOURCE_ROOT; }

String RunShell(const String& command, int& status) {
    String out;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) {
        status = -1;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    status = pclose(p);
    return out;
}

void WriteText(const String& path, const String& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

class EmbedBuild : public ::testing::Test {
protected:
    void SetUp() override {
        int status = 0;
        RunShell("cmake --version", status);
        if (status != 0) GTEST_SKIP() << "cmake is not available";
        char tmpl[] = "/tmp/embedtestXXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        if (!dir.empty()) {
            int status = 0;
            RunShell("rm -rf '" + dir + "'", status);
        }
    }
    String dir;
};

TEST_F(EmbedBuild, ScriptWritesTheBytesAndTheRegistration) {
    WriteText(dir + "/in.bin", String("AB\0\xff", 4));
    int status = 0;
    String log = RunShell("cmake -DINPUT=" + dir + "/in.bin -DOUTPUT=" + dir + "/out.cpp -DNAME=SUIBUTTON -DTYPE=BITMAP -P " +
                         RepoRoot() + "/cmake/EmbedResource.cmake",
                     status);
    ASSERT_EQ(status, 0) << log;
    std::ifstream in(dir + "/out.cpp");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("0x41,0x42,0x00,0xff,"), String::npos) << text.str();
    EXPECT_NE(text.str().find("Resources_Register(\"SUIBUTTON\", \"BITMAP\""), String::npos);
    EXPECT_NE(text.str().find(", 4u)"), String::npos);
}

// Configures and builds a tiny program with vcl_embed_resources (a checked-in file and one the
// build generates) and runs it: it prints what registered itself before main.
TEST_F(EmbedBuild, FunctionEmbedsSourceAndGeneratedFiles) {
    String root = RepoRoot();
    ASSERT_EQ(system(("mkdir -p '" + dir + "/src/RES'").c_str()), 0);
    WriteText(dir + "/src/RES/suiButton.bmp", "0123456789");
    WriteText(dir + "/src/seed.txt", "generated!");
    WriteText(dir + "/src/CMakeLists.txt",
              "cmake_minimum_required(VERSION 3.25)\n"
              "project(embedprobe CXX)\n"
              "set(CMAKE_CXX_STANDARD 20)\n"
              "include(" + root + "/cmake/Resources.cmake)\n"
              "add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/made.later.bin\n"
              "  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/seed.txt ${CMAKE_CURRENT_BINARY_DIR}/made.later.bin\n"
              "  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/seed.txt)\n"
              "add_executable(probe main.cpp)\n"
              "target_include_directories(probe PRIVATE " + root + ")\n"
              "vcl_embed_resources(probe TYPE BITMAP FILES RES/suiButton.bmp)\n"
              "vcl_embed_resources(probe TYPE rcdata FILES ${CMAKE_CURRENT_BINARY_DIR}/made.later.bin)\n");
    WriteText(dir + "/src/main.cpp",
              "#include <cstdio>\n#include <string>\n#include <vector>\n"
              "#include \"platform/vcl/Resources.h\"\n"
              "static std::vector<std::string>& Seen() { static std::vector<std::string> s; return s; }\n"
              "void Resources_Register(const char* n, const char* t, const Byte* d, std::size_t s) {\n"
              "  Seen().push_back(std::string(n) + \" \" + t + \" \" + std::to_string(s) + \" \" + std::string(d, d + s));\n"
              "}\n"
              "int main() { for (auto& s : Seen()) std::printf(\"%s\\n\", s.c_str()); }\n");
    int status = 0;
    String log = RunShell("cmake -S '" + dir + "/src' -B '" + dir + "/build' -G Ninja", status);
    ASSERT_EQ(status, 0) << log;
    log = RunShell("cmake --build '" + dir + "/build'", status);
    ASSERT_EQ(status, 0) << log;
    String out = RunShell("'" + dir + "/build/probe'", status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_NE(out.find("SUIBUTTON BITMAP 10 0123456789\n"), String::npos) << out;
    EXPECT_NE(out.find("MADE.LATER RCDATA 10 generated!\n"), String::npos) << out;
}

}  // namespace
