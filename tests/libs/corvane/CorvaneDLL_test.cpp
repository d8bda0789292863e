// The media library on real media made here with FFmpeg's test sources: the record, the first
// picture, the grabber's answers and messages, bad input, and a plain program loading it alone.
#include <gtest/gtest.h>

#include "libs/corvane/CorvaneDLL.h"
#include "platform/win32/Windows.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Bgr {
    int b, g, r;
};
constexpr Bgr kRed{0, 0, 255};
constexpr Bgr kGreen{0, 255, 0};
constexpr Bgr kBlue{255, 0, 0};
constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kBlack{0, 0, 0};
// Solid colours survive encoding and YUV within a few levels.
constexpr int kColourTolerance = 14;

using testing_vcl::Ffmpeg;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A raw YUV4MPEG file of one grey frame, with whatever size its header claims.
std::string Y4m(int width, int height, std::size_t frameBytes) {
    return "YUV4MPEG2 W" + std::to_string(width) + " H" + std::to_string(height) + " F25:1 Ip A1:1 C420jpeg\nFRAME\n" +
           std::string(frameBytes, '\x80');
}

// Stored as a landscape 320 x 176 picture of four colours: red, green above blue, white.
const std::string kQuadrants =
    "-filter_complex \"color=c=red:s=320x176:r=25:d=2[bg];color=c=0x00FF00:s=160x88:r=25:d=2[g];"
    "color=c=blue:s=160x88:r=25:d=2[b];color=c=white:s=160x88:r=25:d=2[w];[bg][g]overlay=160:0[t1];"
    "[t1][b]overlay=0:88[t2];[t2][w]overlay=160:88[v]\" -map \"[v]\" ";

// The clips every test uses, made once in a temporary folder that goes at exit.
struct Clips : testing_vcl::TTempFolder {
    bool made = false;

    Clips() : TTempFolder("corvane_test") {
        if (Path().empty()) return;
        const std::string seconds =
            "-filter_complex \"color=c=red:s=352x288:r=25:d=1[a];color=c=0x00FF00:s=352x288:r=25:d=1[b];"
            "color=c=blue:s=352x288:r=25:d=1[c];color=c=white:s=352x288:r=25:d=1[d];"
            "[a][b][c][d]concat=n=4:v=1:a=0[v]\" -map \"[v]\" -g 50 ";
        made = Ffmpeg("-f lavfi -i color=c=red:s=720x480:r=25:d=3 -f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 "
                      "-c:v mpeg2video -b:v 2M -aspect 4:3 -c:a mp2 -b:a 192k -ar 48000 -f vob",
                      (*this)["red43.mpg"]) &&
               Ffmpeg("-f lavfi -i color=c=blue:s=720x576:r=25:d=3 -f lavfi -i sine=frequency=440:sample_rate=48000:duration=3 "
                      "-c:v mpeg2video -b:v 2M -aspect 16:9 -c:a ac3 -b:a 192k -ar 48000 -f vob",
                      (*this)["blue169.mpg"]) &&
               Ffmpeg("-f lavfi -i color=c=gray:s=720x480:r=25:d=2 -c:v mpeg2video -aspect 221:100 -an -f vob",
                      (*this)["wide221.mpg"]) &&
               Ffmpeg("-f lavfi -i color=c=gray:s=720x480:r=25:d=2 -c:v mpeg2video -aspect 3:2 -an -f vob",
                      (*this)["square.mpg"]) &&
               Ffmpeg("-f lavfi -i color=c=0x00FF00:s=640x360:r=30:d=2 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -an",
                      (*this)["green.mp4"]) &&
               Ffmpeg("-f lavfi -i color=c=white:s=720x576:r=25:d=2,setsar=64/45 -c:v mpeg4 -an", (*this)["wide.mkv"]) &&
               Ffmpeg("-filter_complex \"color=c=red:s=320x240:r=25:d=1[a];color=c=blue:s=320x120:r=25:d=1[b];"
                      "[a][b]overlay=0:120[v]\" -map \"[v]\" -c:v libx264 -preset ultrafast -pix_fmt yuv420p",
                      (*this)["split.mp4"]) &&
               Ffmpeg(seconds + "-c:v mpeg2video -b:v 1M -f vob", (*this)["seconds.mpg"]) &&
               Ffmpeg(seconds + "-c:v libx264 -preset ultrafast -pix_fmt yuv420p", (*this)["seconds.mp4"]) &&
               Ffmpeg("-f lavfi -i sine=frequency=440:duration=1 -c:a pcm_s16le", (*this)["audio.wav"]) &&
               Ffmpeg(kQuadrants + "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25", (*this)["turn0.mp4"]);
        // A phone keeps its sensor's pixels and writes how far to turn them (the display matrix).
        for (const char* turn : {"90", "180", "270"}) {
            made = made && Ffmpeg("-i " + Quote((*this)["turn0.mp4"]) + " -c copy -metadata:s:v:0 rotate=" + turn,
                                  (*this)[std::string("turn") + turn + ".mp4"]);
        }
        if (!made) return;
        WriteFile((*this)["empty.avi"], "");
        WriteFile((*this)["text.avi"], std::string(2000, 'x') + "\nnot a video at all\n");
        WriteFile((*this)["truncated.mpg"], ReadFile((*this)["red43.mpg"]).substr(0, 2048));
        WriteFile((*this)["tiny.y4m"], Y4m(16, 16, 16 * 16 * 3 / 2));
        WriteFile((*this)["toowide.y4m"], Y4m(9000, 2, 9000 * 2 * 3 / 2));
        WriteFile((*this)["nosize.y4m"], Y4m(0, 0, 64));
    }
};

const Clips& TestClips() {
    static Clips clips;
    return clips;
}

float FloatOf(std::int32_t word) {
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

Bgr PixelOf(const std::uint8_t* pixels, int width, int x, int y) {
    const std::uint8_t* p = pixels + (static_cast<std::size_t>(y) * width + x) * 3;
    return {p[0], p[1], p[2]};
}

::testing::AssertionResult Near(Bgr actual, Bgr expected) {
    if (std::abs(actual.b - expected.b) <= kColourTolerance && std::abs(actual.g - expected.g) <= kColourTolerance &&
        std::abs(actual.r - expected.r) <= kColourTolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "BGR " << actual.b << "," << actual.g << "," << actual.r << " expected "
                                         << expected.b << "," << expected.g << "," << expected.r;
}

struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A fresh binding of the module for each test, and a window of ours that records what it gets.
class CorvaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TestClips().made) << "ffmpeg could not make the test clips";
        Bind();
        window_ = Win32_CreateWindow(
            [this](UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
                if (message >= CORVANE_WM_MEDIA_INIT_DONE && message <= CORVANE_WM_MEDIA_UNINIT_DONE) {
                    messages_.push_back({message, wParam, lParam});
                }
                return 0;
            },
            false, "");
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        Unbind();
        if (window_) Win32_DestroyWindow(window_);
    }

    void Bind() {
        module_ = LoadLibraryA("CorvaneDLL.dll");
        ASSERT_NE(module_, nullptr) << "CorvaneDLL.so beside the test program";
        info_ = reinterpret_cast<X_GetFileinfo_GetPic_fn>(GetProcAddress(module_, "X_GetFileinfo_GetPic"));
        frame_ = reinterpret_cast<X_Get_Frame_fn>(GetProcAddress(module_, "X_Get_Frame"));
        init_ = reinterpret_cast<X_GetFrame_Init_fn>(GetProcAddress(module_, "X_GetFrame_Init"));
        next_ = reinterpret_cast<X_Set_NextFrame_Time_fn>(GetProcAddress(module_, "X_Set_NextFrame_Time"));
        uninit_ = reinterpret_cast<X_GetFrame_UnInit_fn>(GetProcAddress(module_, "X_GetFrame_UnInit"));
        lastError_ = reinterpret_cast<X_GetLastErrorText_fn>(GetProcAddress(module_, "X_GetLastErrorText"));
        ASSERT_TRUE(info_ && frame_ && init_ && next_ && uninit_ && lastError_);
    }
    void Unbind() {
        if (module_) FreeLibrary(module_);
        module_ = nullptr;
    }

    int Info(const std::string& path, std::int32_t (&words)[10]) {
        std::memset(words, 0, sizeof words);
        std::string copy = path;   // the program hands over a fresh copy
        return info_(copy.data(), 10, words);
    }

    // Waits for the n-th message of a kind (1-based) and returns it.
    Message WaitFor(UINT message, int n = 1) {
        Message found{0, 0, 0};
        bool got = testing_vcl::RunUntil([&] {
            int seen = 0;
            for (const auto& m : messages_) {
                if (m.message == message && ++seen == n) {
                    found = m;
                    return true;
                }
            }
            return false;
        });
        EXPECT_TRUE(got) << "message 0x" << std::hex << message << " #" << n << " never came";
        return found;
    }
    std::string LastError() {
        char text[512] = {};
        lastError_(text, sizeof text);
        return text;
    }
    int Count(UINT message) const {
        int n = 0;
        for (const auto& m : messages_) n += m.message == message;
        return n;
    }

    HMODULE module_ = nullptr;
    X_GetFileinfo_GetPic_fn info_ = nullptr;
    X_Get_Frame_fn frame_ = nullptr;
    X_GetFrame_Init_fn init_ = nullptr;
    X_Set_NextFrame_Time_fn next_ = nullptr;
    X_GetFrame_UnInit_fn uninit_ = nullptr;
    X_GetLastErrorText_fn lastError_ = nullptr;
    HWND window_ = nullptr;
    std::vector<Message> messages_;
};

// ---- media information ----------------------------------------------------------------------

struct RecordCase {
    const char* file;
    int durationSec;
    float frameRate;
    int width;
    int height;
    int aspectCode;
    int sampleRate;
    bool hasAudio;
};

TEST_F(CorvaneTest, RecordWordsDescribeEachClip) {
    const RecordCase cases[] = {
        {"red43.mpg", 3, 25.0f, 720, 480, 2, 48000, true},     // MPEG-2 program stream, 4:3
        {"blue169.mpg", 3, 25.0f, 720, 576, 3, 48000, true},   // MPEG-2 program stream, 16:9
        {"wide221.mpg", 2, 25.0f, 720, 480, 4, 0, false},      // MPEG-2 program stream, 2.21
        {"square.mpg", 2, 25.0f, 720, 480, 0, 0, false},       // square pixels: the frame's own ratio, never 1
        {"green.mp4", 2, 30.0f, 640, 360, 0, 0, false},        // square pixels, no audio
        {"wide.mkv", 2, 25.0f, 720, 576, 3, 0, false},         // anamorphic 16:9 outside a program stream
        {"tiny.y4m", 0, 25.0f, 16, 16, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::int32_t words[10];
        ASSERT_EQ(Info(TestClips()[c.file], words), 0);
        EXPECT_NEAR(FloatOf(words[1]), c.frameRate, 0.01f);
        if (c.durationSec > 0) {
            EXPECT_EQ(words[0], c.durationSec);
            EXPECT_GT(FloatOf(words[2]), 0.0f) << "video bit rate";
        }
        EXPECT_EQ(words[3], c.width);
        EXPECT_EQ(words[4], c.height);
        EXPECT_EQ(words[5], c.aspectCode);
        EXPECT_EQ(words[6], c.sampleRate);
        if (c.hasAudio) {
            EXPECT_EQ(words[7], 1) << "channels";
            EXPECT_NEAR(FloatOf(words[8]), 192.0f, 1.0f) << "audio bit rate";
        } else {
            EXPECT_EQ(FloatOf(words[8]), 0.0f);
        }
        EXPECT_EQ(words[9], 0) << "the aspect code applies";
    }
}

TEST_F(CorvaneTest, UnusableFilesAreNotSupported) {
    const char* files[] = {"empty.avi", "text.avi", "audio.wav", "truncated.mpg", "toowide.y4m", "nosize.y4m",
                           "does-not-exist.mpg"};
    for (const char* file : files) {
        SCOPED_TRACE(file);
        std::int32_t words[10];
        int result = Info(TestClips()[file], words);
        if (std::string(file) == "truncated.mpg" && result == 0) {
            // A cut MPEG file may still hold a whole first picture; then its record must be sane.
            EXPECT_EQ(words[3], 720);
            EXPECT_EQ(words[4], 480);
            continue;
        }
        EXPECT_EQ(result, -1);
    }
    std::int32_t words[10] = {};
    EXPECT_EQ(info_(nullptr, 10, words), -1);
    std::string path = TestClips()["red43.mpg"];
    EXPECT_EQ(info_(path.data(), 9, words), -1) << "a record shorter than ten words";
}

// A FIFO would block the opening until some program writes to it, and a folder is no file: both
// are refused at once, by the information call and by the grabber, which still answers.
TEST_F(CorvaneTest, WhatIsNoRegularFileIsRefusedAtOnce) {
    testing_vcl::TTempFolder folder("corvane_special");
    const std::string fifo = folder["clip.mp4"];
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string directory = folder["clip.mkv"];
    std::filesystem::create_directory(directory);
    for (const std::string& path : {fifo, directory, std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        std::int32_t words[10];
        ASSERT_EQ(Info(path, words), -1);
        EXPECT_NE(LastError().find("'" + path + "' is not a regular file"), std::string::npos) << LastError();
        messages_.clear();
        init_(window_, 2, path.c_str(), "", "0");
        EXPECT_EQ(WaitFor(CORVANE_WM_MEDIA_INIT_DONE).wParam, 0u);
        uninit_();
        WaitFor(CORVANE_WM_MEDIA_UNINIT_DONE);
    }
}

// ---- first picture -------------------------------------------------------------------------

struct PictureCase {
    const char* file;
    Bgr colour;
};

TEST_F(CorvaneTest, FirstPictureIsBlueGreenRedAtAnySize) {
    const PictureCase cases[] = {
        {"red43.mpg", kRed}, {"blue169.mpg", kBlue}, {"green.mp4", kGreen}, {"wide.mkv", kWhite}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::int32_t words[10];
        ASSERT_EQ(Info(TestClips()[c.file], words), 0);
        const int sizes[][2] = {{words[3], words[4]}, {96, 72}, {1, 1}};
        for (const auto& size : sizes) {
            std::uint8_t* pixels = nullptr;
            std::int32_t second = -1;
            ASSERT_EQ(frame_(size[0], size[1], "2.bmp", &pixels, &second), 0);
            ASSERT_NE(pixels, nullptr);
            EXPECT_EQ(second, 0);
            EXPECT_TRUE(Near(PixelOf(pixels, size[0], size[0] / 2, size[1] / 2), c.colour));
            EXPECT_TRUE(Near(PixelOf(pixels, size[0], size[0] - 1, size[1] - 1), c.colour)) << "last pixel";
        }
    }
}

TEST_F(CorvaneTest, FirstPictureRowsRunTopToBottom) {
    std::int32_t words[10];
    ASSERT_EQ(Info(TestClips()["split.mp4"], words), 0);
    for (int width : {320, 160}) {
        int height = width * 3 / 4;
        std::uint8_t* pixels = nullptr;
        std::int32_t second = 0;
        ASSERT_EQ(frame_(width, height, "", &pixels, &second), 0);
        EXPECT_TRUE(Near(PixelOf(pixels, width, width / 2, height / 6), kRed)) << width;
        EXPECT_TRUE(Near(PixelOf(pixels, width, width / 2, height * 5 / 6), kBlue)) << width;
    }
}

TEST_F(CorvaneTest, FrameRequestsAlwaysGetAnAnswer) {
    std::uint8_t* pixels = reinterpret_cast<std::uint8_t*>(&pixels);
    std::int32_t second = -1;
    // Nothing read yet: black, at the size asked.
    ASSERT_EQ(frame_(8, 4, "2.bmp", &pixels, &second), -1);
    ASSERT_NE(pixels, nullptr);
    for (int i = 0; i < 8 * 4; ++i) EXPECT_TRUE(Near(PixelOf(pixels, 8, i % 8, i / 8), kBlack));
    // A failed information call forgets the picture of the one before.
    std::int32_t words[10];
    ASSERT_EQ(Info(TestClips()["red43.mpg"], words), 0);
    ASSERT_EQ(Info(TestClips()["text.avi"], words), -1);
    EXPECT_EQ(frame_(8, 4, "2.bmp", &pixels, &second), -1);
    EXPECT_TRUE(Near(PixelOf(pixels, 8, 4, 2), kBlack));
    // Sizes no buffer can hold are refused, without a pointer to misuse.
    const int refused[][2] = {{0, 0}, {-4, 10}, {10, -4}, {CORVANE_MAX_SIDE + 1, 2}, {2, 1 << 30}};
    for (const auto& size : refused) {
        pixels = reinterpret_cast<std::uint8_t*>(&pixels);
        EXPECT_EQ(frame_(size[0], size[1], "2.bmp", &pixels, &second), -1);
        EXPECT_EQ(pixels, nullptr);
    }
}

// ---- the grabber ---------------------------------------------------------------------------

struct GrabCase {
    int second;
    Bgr colour;
};
// Colours change each second; key frames every two, so most requests decode forward.
const GrabCase kGrabs[] = {{1, kGreen}, {3, kWhite}, {2, kBlue}, {0, kRed}, {100, kWhite}, {1, kGreen}};

TEST_F(CorvaneTest, GrabberLandsOnTheAskedSecondInOrder) {
    for (const char* file : {"seconds.mpg", "seconds.mp4"}) {
        SCOPED_TRACE(file);
        messages_.clear();
        std::string path = TestClips()[file];
        init_(window_, 2, path.c_str(), "", "2");
        ASSERT_EQ(WaitFor(CORVANE_WM_MEDIA_INIT_DONE).wParam, 1u);
        std::uint8_t* pixels = nullptr;
        std::int32_t second = -1;
        ASSERT_EQ(frame_(40, 30, nullptr, &pixels, &second), 0);
        EXPECT_TRUE(Near(PixelOf(pixels, 40, 20, 15), kBlue)) << "the start second's frame";
        int n = 0;
        for (const auto& grab : kGrabs) {
            SCOPED_TRACE(grab.second);
            next_(grab.second);
            Message ready = WaitFor(CORVANE_WM_MEDIA_FRAME_READY, ++n);
            EXPECT_EQ(ready.wParam, 1u);
            EXPECT_EQ(ready.lParam, grab.second);
            ASSERT_EQ(frame_(40, 30, nullptr, &pixels, &second), 0);
            EXPECT_EQ(second, grab.second);
            EXPECT_TRUE(Near(PixelOf(pixels, 40, 20, 15), grab.colour));
        }
        uninit_();
        WaitFor(CORVANE_WM_MEDIA_UNINIT_DONE);
        ASSERT_EQ(messages_.size(), 2 + std::size(kGrabs));
        EXPECT_EQ(messages_.front().message, CORVANE_WM_MEDIA_INIT_DONE);
        EXPECT_EQ(messages_.back().message, CORVANE_WM_MEDIA_UNINIT_DONE);
    }
}

TEST_F(CorvaneTest, QueuedRequestsAreAnsweredInTheOrderAsked) {
    std::string path = TestClips()["seconds.mpg"];
    init_(window_, 2, path.c_str(), "", "0");
    for (int second : {3, 0, 2, 1}) next_(second);
    uninit_();
    WaitFor(CORVANE_WM_MEDIA_UNINIT_DONE);
    std::vector<UINT> kinds;
    std::vector<LPARAM> seconds;
    for (const auto& m : messages_) {
        kinds.push_back(m.message);
        if (m.message == CORVANE_WM_MEDIA_FRAME_READY) seconds.push_back(m.lParam);
    }
    const std::vector<UINT> expected = {CORVANE_WM_MEDIA_INIT_DONE, CORVANE_WM_MEDIA_FRAME_READY, CORVANE_WM_MEDIA_FRAME_READY,
                                        CORVANE_WM_MEDIA_FRAME_READY, CORVANE_WM_MEDIA_FRAME_READY, CORVANE_WM_MEDIA_UNINIT_DONE};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(seconds, (std::vector<LPARAM>{3, 0, 2, 1}));
}

TEST_F(CorvaneTest, AFileThatCannotBeOpenedStillAnswersEveryRequest) {
    for (const char* file : {"does-not-exist.mpg", "text.avi", "audio.wav", "empty.avi"}) {
        SCOPED_TRACE(file);
        messages_.clear();
        std::string path = TestClips()[file];
        init_(window_, 2, path.c_str(), "", "abc");
        EXPECT_EQ(WaitFor(CORVANE_WM_MEDIA_INIT_DONE).wParam, 0u);
        next_(1);
        next_(5);
        EXPECT_EQ(WaitFor(CORVANE_WM_MEDIA_FRAME_READY, 2).wParam, 0u);
        EXPECT_EQ(messages_[1].wParam, 0u);
        std::uint8_t* pixels = nullptr;
        std::int32_t second = -1;
        EXPECT_EQ(frame_(16, 16, nullptr, &pixels, &second), -1);
        ASSERT_NE(pixels, nullptr);
        EXPECT_TRUE(Near(PixelOf(pixels, 16, 8, 8), kBlack));
        uninit_();
        WaitFor(CORVANE_WM_MEDIA_UNINIT_DONE);
        EXPECT_EQ(messages_.size(), 4u);
    }
}

TEST_F(CorvaneTest, SecondInitRestartsAndUnInitAlwaysAnswers) {
    std::string red = TestClips()["red43.mpg"];
    std::string seconds = TestClips()["seconds.mpg"];
    init_(window_, 2, red.c_str(), "", "0");
    next_(1);
    init_(window_, 2, seconds.c_str(), "", "3");
    EXPECT_EQ(WaitFor(CORVANE_WM_MEDIA_INIT_DONE, 2).wParam, 1u);
    EXPECT_EQ(WaitFor(CORVANE_WM_MEDIA_FRAME_READY).lParam, 1) << "the first run's request is answered too";
    std::uint8_t* pixels = nullptr;
    std::int32_t second = -1;
    ASSERT_EQ(frame_(16, 16, nullptr, &pixels, &second), 0);
    EXPECT_TRUE(Near(PixelOf(pixels, 16, 8, 8), kWhite)) << "the second run's start frame";
    uninit_();
    uninit_();
    WaitFor(CORVANE_WM_MEDIA_UNINIT_DONE, 2);
    next_(2);   // after the run: answered with nothing to fetch
    EXPECT_EQ(WaitFor(CORVANE_WM_MEDIA_FRAME_READY, 2).wParam, 0u);
    testing_vcl::RunFor(50);
    EXPECT_EQ(Count(CORVANE_WM_MEDIA_INIT_DONE), 2);
    EXPECT_EQ(Count(CORVANE_WM_MEDIA_UNINIT_DONE), 2);
}

int ThreadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/task")) ++count;
    return count;
}

bool ModuleMapped() {
    return ReadFile("/proc/self/maps").find("CorvaneDLL.so") != std::string::npos;
}

TEST_F(CorvaneTest, UnloadingDuringARunStopsIt) {
    std::string path = TestClips()["seconds.mp4"];
    int threads = ThreadCount();
    init_(window_, 2, path.c_str(), "", "1");
    for (int second : {3, 2, 1, 0}) next_(second);
    EXPECT_GT(ThreadCount(), threads) << "the grabber runs on a thread of its own";
    Unbind();   // the program's close path may free the library mid-run
    EXPECT_FALSE(ModuleMapped()) << "the module's code is gone: no thread may still run in it";
    EXPECT_EQ(ThreadCount(), threads) << "the grabber and its decoder's threads ended with the module";
    testing_vcl::RunFor(100);
    EXPECT_EQ(Count(CORVANE_WM_MEDIA_INIT_DONE), 1);
    EXPECT_EQ(Count(CORVANE_WM_MEDIA_FRAME_READY), 4) << "every request answered once, and nothing after the unload";
    Bind();
    std::int32_t words[10];
    EXPECT_EQ(Info(TestClips()["green.mp4"], words), 0) << "a fresh binding works";
}

// ---- turned phone video --------------------------------------------------------------------

struct TurnCase {
    const char* file;
    int width;    // as shown
    int height;
    Bgr topLeft, topRight, bottomLeft, bottomRight;
};
// As players show them: "rotate=90" turns the stored picture a quarter counter-clockwise.
const TurnCase kTurns[] = {
    {"turn0.mp4", 320, 176, kRed, kGreen, kBlue, kWhite},
    {"turn90.mp4", 176, 320, kGreen, kWhite, kRed, kBlue},
    {"turn180.mp4", 320, 176, kWhite, kBlue, kGreen, kRed},
    {"turn270.mp4", 176, 320, kBlue, kRed, kWhite, kGreen},
};

void ExpectUpright(const std::uint8_t* pixels, int width, int height, const TurnCase& c) {
    ASSERT_NE(pixels, nullptr);
    EXPECT_TRUE(Near(PixelOf(pixels, width, width / 4, height / 4), c.topLeft)) << "top left";
    EXPECT_TRUE(Near(PixelOf(pixels, width, width * 3 / 4, height / 4), c.topRight)) << "top right";
    EXPECT_TRUE(Near(PixelOf(pixels, width, width / 4, height * 3 / 4), c.bottomLeft)) << "bottom left";
    EXPECT_TRUE(Near(PixelOf(pixels, width, width * 3 / 4, height * 3 / 4), c.bottomRight)) << "bottom right";
}

TEST_F(CorvaneTest, TurnedPhoneVideoIsDescribedAndGrabbedUpright) {
    for (const auto& c : kTurns) {
        SCOPED_TRACE(c.file);
        std::string path = TestClips()[c.file];
        std::int32_t words[10];
        ASSERT_EQ(Info(path, words), 0);
        EXPECT_EQ(words[3], c.width) << "the width as shown";
        EXPECT_EQ(words[4], c.height);
        EXPECT_EQ(words[5], 0) << "square pixels: the shown frame's own ratio";
        std::uint8_t* pixels = nullptr;
        std::int32_t second = -1;
        ASSERT_EQ(frame_(c.width, c.height, "2.bmp", &pixels, &second), 0);
        ExpectUpright(pixels, c.width, c.height, c);

        messages_.clear();
        init_(window_, 2, path.c_str(), "", "0");
        ASSERT_EQ(WaitFor(CORVANE_WM_MEDIA_INIT_DONE).wParam, 1u);
        next_(1);
        ASSERT_EQ(WaitFor(CORVANE_WM_MEDIA_FRAME_READY).wParam, 1u);
        ASSERT_EQ(frame_(c.width / 2, c.height / 2, nullptr, &pixels, &second), 0);
        ExpectUpright(pixels, c.width / 2, c.height / 2, c);
        uninit_();
        WaitFor(CORVANE_WM_MEDIA_UNINIT_DONE);
    }
}

// ---- the reason of a failure ---------------------------------------------------------------

TEST_F(CorvaneTest, FailuresSayWhyForTheLog) {
    std::int32_t words[10];
    EXPECT_EQ(LastError(), "") << "nothing failed yet";
    struct FailureCase {
        const char* file;
        const char* reason;
    };
    const FailureCase cases[] = {{"does-not-exist.mpg", "does-not-exist.mpg' can't be read"},
                                 {"audio.wav", "has no picture stream"},
                                 {"text.avi", "text.avi"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(Info(TestClips()[c.file], words), -1);
        EXPECT_NE(LastError().find(c.reason), std::string::npos) << LastError();
    }
    ASSERT_EQ(Info(TestClips()["red43.mpg"], words), 0);
    EXPECT_NE(LastError().find("text.avi"), std::string::npos) << "a success leaves the last failure's reason";

    std::string whole = LastError();
    char small[8];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(lastError_(small, sizeof small), static_cast<int>(whole.size())) << "the whole length";
    EXPECT_EQ(std::string(small), whole.substr(0, 7)) << "cut to the buffer, zero-terminated";
    EXPECT_EQ(lastError_(nullptr, 0), static_cast<int>(whole.size()));

    std::uint8_t* pixels = nullptr;
    std::int32_t second = 0;
    EXPECT_EQ(frame_(CORVANE_MAX_SIDE + 1, 2, "2.bmp", &pixels, &second), -1);
    EXPECT_NE(LastError().find("8193 x 2"), std::string::npos) << LastError();

    messages_.clear();
    std::string missing = TestClips()["gone.mp4"];
    init_(window_, 2, missing.c_str(), "", "0");
    EXPECT_EQ(WaitFor(CORVANE_WM_MEDIA_INIT_DONE).wParam, 0u);
    EXPECT_NE(LastError().find("grabber: '" + missing + "' can't be read"), std::string::npos) << LastError();
    uninit_();
    WaitFor(CORVANE_WM_MEDIA_UNINIT_DONE);
}

// ---- bad input -----------------------------------------------------------------------------

// Cut short and overwritten copies of real clips: each gets an answer, none crashes or hangs.
TEST_F(CorvaneTest, CorruptedVariantsGetAnAnswer) {
    int variants = 0;
    for (const char* file : {"seconds.mpg", "green.mp4"}) {
        const std::string original = ReadFile(TestClips()[file]);
        ASSERT_GT(original.size(), 2048u);
        std::vector<std::string> copies;
        for (std::size_t cut : {std::size_t{1}, std::size_t{16}, std::size_t{188}, std::size_t{1000},
                                std::size_t{4096}, original.size() / 4, original.size() / 2, original.size() - 1}) {
            copies.push_back(original.substr(0, cut));
        }
        unsigned state = 12345;
        for (int k = 0; k < 12; ++k) {
            std::string copy = original;
            std::size_t at = (static_cast<std::size_t>(k) * 7919u * 131u + 32u) % (copy.size() - 64);
            if (k < 4) at = static_cast<std::size_t>(k) * 8;   // the headers
            for (int i = 0; i < 64; ++i) {
                state = state * 1103515245u + 12345u;
                copy[at + i] = k % 3 == 0 ? '\xFF' : static_cast<char>(state >> 16);
            }
            copies.push_back(copy);
        }
        std::string extension = fs::path(file).extension().string();
        for (const auto& bytes : copies) {
            std::string path = TestClips()["variant_" + std::to_string(variants++) + extension];
            WriteFile(path, bytes);
            SCOPED_TRACE(path);
            std::int32_t words[10];
            int result = Info(path, words);
            ASSERT_TRUE(result == 0 || result == -1);
            std::uint8_t* pixels = nullptr;
            std::int32_t second = -1;
            if (result == 0) {
                ASSERT_TRUE(words[3] >= 1 && words[3] <= CORVANE_MAX_SIDE && words[4] >= 1 && words[4] <= CORVANE_MAX_SIDE);
                frame_(words[3], words[4], "2.bmp", &pixels, &second);
                EXPECT_NE(pixels, nullptr);
            }
            messages_.clear();
            init_(window_, 2, path.c_str(), "", "1");
            next_(2);
            next_(1000);
            pixels = nullptr;
            frame_(32, 24, nullptr, &pixels, &second);
            EXPECT_NE(pixels, nullptr);
            uninit_();
            WaitFor(CORVANE_WM_MEDIA_UNINIT_DONE);
            EXPECT_EQ(messages_.size(), 4u) << "init, two frames, uninit";
        }
    }
    EXPECT_GE(variants, 36);
}

// ---- a plain program ------------------------------------------------------------------------

std::string RunPeer(const std::string& arguments) {
    std::string command = std::string(TEST_PEER_DIR) + "/corvane_c_peer " + Quote(std::string(TEST_PEER_DIR) + "/CorvaneDLL.so") +
                          " " + arguments + " 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    return output;
}

std::vector<int> NumbersAfter(const std::string& output, const std::string& label) {
    std::vector<int> numbers;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(label + " ", 0) != 0) continue;
        std::istringstream values(line.substr(label.size()));
        for (int v; values >> v;) numbers.push_back(v);
    }
    return numbers;
}

TEST(CorvaneCProgram, LoadsAloneAndAnswersInformation) {
    ASSERT_TRUE(TestClips().made);
    std::string output = RunPeer("info " + Quote(TestClips()["blue169.mpg"]));
    std::vector<int> info = NumbersAfter(output, "info");
    ASSERT_EQ(info.size(), 11u) << output;
    EXPECT_EQ(info[0], 0);
    EXPECT_EQ(info[1], 3);
    EXPECT_EQ(info[4], 720);
    EXPECT_EQ(info[5], 576);
    EXPECT_EQ(info[6], 3);
    EXPECT_EQ(info[7], 48000);
    std::vector<int> first = NumbersAfter(output, "first");
    ASSERT_EQ(first.size(), 5u) << output;
    EXPECT_EQ(first[0], 0);
    EXPECT_TRUE(Near({first[2], first[3], first[4]}, kBlue));
    EXPECT_NE(output.find("unloaded"), std::string::npos) << output;

    output = RunPeer("info " + Quote(TestClips()["text.avi"]));
    EXPECT_EQ(NumbersAfter(output, "info").at(0), -1) << output;
}

TEST(CorvaneCProgram, GrabsWithoutAWindow) {
    ASSERT_TRUE(TestClips().made);
    std::string output = RunPeer("grab " + Quote(TestClips()["seconds.mpg"]) + " 0 1 3 2 0 50");
    std::vector<int> grabs = NumbersAfter(output, "grab");
    const GrabCase expected[] = {{1, kGreen}, {3, kWhite}, {2, kBlue}, {0, kRed}, {50, kWhite}};
    ASSERT_EQ(grabs.size(), 5u * std::size(expected)) << output;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const int* g = &grabs[i * 5];
        EXPECT_EQ(g[0], 0) << output;
        EXPECT_EQ(g[1], expected[i].second);
        EXPECT_TRUE(Near({g[2], g[3], g[4]}, expected[i].colour)) << "second " << expected[i].second;
    }
    EXPECT_NE(output.find("unloaded"), std::string::npos) << output;

    output = RunPeer("grab " + Quote(TestClips()["empty.avi"]) + " 0 1");
    EXPECT_EQ(NumbersAfter(output, "grab").at(0), -1) << output;
    EXPECT_NE(output.find("unloaded"), std::string::npos) << output;
}

}  // namespace
