// The media library's encodes on clips made here: DVD stream parameters, the picture placed on
// black, trims, menus from a BMP, authoring with dvdauthor into a folder libdvdread opens, the
// program's timer during the blocking call, Stop, failures, and a plain program loading it alone.
#include <gtest/gtest.h>

#include "tests/support/DvdRead.h"

#include "libs/corvane/CorvaneDLL.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/win32/Windows.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VbvCheck.h"
#include "tests/support/TestHelpers.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_vcl::Ffmpeg;

std::string Quote(const std::string& text) { return "'" + text + "'"; }

// What a command prints; its log too when asked.
enum class Log { Dropped, Kept };
std::string Run(const std::string& command, Log log = Log::Dropped) {
    std::string output;
    if (FILE* pipe = popen((command + (log == Log::Kept ? " 2>&1" : " 2>/dev/null")).c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

// The clips, made once in a temporary folder that goes at exit.
struct Clips : testing_vcl::TTempFolder {
    bool made = false;

    Clips() : TTempFolder("corvane_encode") {
        if (Path().empty()) return;
        const std::string seconds =
            "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 "
            "-filter_complex \"color=c=red:s=320x240:r=25:d=1[a];color=c=0x00FF00:s=320x240:r=25:d=1[b];"
            "color=c=blue:s=320x240:r=25:d=1[c];color=c=white:s=320x240:r=25:d=1[d];"
            "[a][b][c][d]concat=n=4:v=1:a=0[v]\" -map \"[v]\" -map 0:a ";
        made = Ffmpeg("-f lavfi -i color=c=red:s=640x360:r=30:d=3 -f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 "
                      "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ac 1",
                      (*this)["wide.mp4"]) &&
               Ffmpeg("-f lavfi -i color=c=0x00FF00:s=480x480:r=25:d=3 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -an",
                      (*this)["tall.mp4"]) &&
               Ffmpeg(seconds + "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac", (*this)["seconds.mp4"]) &&
               Ffmpeg("-f lavfi -i testsrc2=s=160x120:r=25:d=120 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -an",
                      (*this)["long.mp4"]) &&
               Ffmpeg("-f lavfi -i color=c=blue:s=720x480 -frames:v 1 -pix_fmt bgr24", (*this)["menu.bmp"]) &&
               Ffmpeg("-f lavfi -i color=c=blue:s=720x576 -frames:v 1 -pix_fmt bgr24", (*this)["menu_pal.bmp"]) &&
               Ffmpeg("-f lavfi -i sine=frequency=440:sample_rate=44100:duration=1 -c:a pcm_s16le", (*this)["music.wav"]) &&
               // Black and silent until 1.5 s, then white with a tone: one event in both streams.
               Ffmpeg("-f lavfi -i color=c=white:s=160x120:r=30:d=3,fade=t=in:st=1.5:d=0.02 -f lavfi -i "
                      "\"aevalsrc='if(gte(t,1.5),0.8*sin(2*PI*1000*t),0)':s=44100:d=3\" -c:v libx264 -preset ultrafast "
                      "-pix_fmt yuv420p -c:a aac",
                      (*this)["sync.mp4"]) &&
               // The same event where the sound starts half a second into the file, in a
               // container whose streams' start times are known only from their packets.
               Ffmpeg("-f lavfi -i color=c=white:s=160x120:r=30:d=3,fade=t=in:st=1.5:d=0.02 -itsoffset 0.5 -f lavfi -i "
                      "\"aevalsrc='if(gte(t,1),0.8*sin(2*PI*1000*t),0)':s=44100:d=2.5\" -c:v libx264 -preset ultrafast "
                      "-pix_fmt yuv420p -c:a aac",
                      (*this)["late_sound.mkv"]) &&
               // And where the picture starts half a second after the sound: the event at 2 s.
               Ffmpeg("-itsoffset 0.5 -f lavfi -i color=c=white:s=160x120:r=30:d=3,fade=t=in:st=1.5:d=0.02 -f lavfi -i "
                      "\"aevalsrc='if(gte(t,2),0.8*sin(2*PI*1000*t),0)':s=44100:d=3.5\" -c:v libx264 -preset ultrafast "
                      "-pix_fmt yuv420p -c:a pcm_s16le",
                      (*this)["late_picture.mkv"]) &&
               // In MPEG-TS with B-frames, whose picture starts a little after its sound.
               Ffmpeg("-f lavfi -i color=c=white:s=160x120:r=30:d=3,fade=t=in:st=1.5:d=0.02 -f lavfi -i "
                      "\"aevalsrc='if(gte(t,1.5),0.8*sin(2*PI*1000*t),0)':s=44100:d=3\" -c:v libx264 -preset ultrafast "
                      "-bf 2 -pix_fmt yuv420p -c:a ac3",
                      (*this)["sync.ts"]) &&
               Ffmpeg("-f lavfi -i testsrc2=s=720x576:r=25:d=2 -c:v libx264 -preset ultrafast -qp 10 -pix_fmt yuv420p -an",
                      (*this)["detail.mp4"]) &&
               Ffmpeg("-f lavfi -i nullsrc=s=352x288:r=25:d=2,geq=lum='random(1)*255':cb=128:cr=128 -c:v libx264 "
                      "-preset ultrafast -qp 0 -pix_fmt yuv420p -an",
                      (*this)["noise.mp4"]);
    }
};

const Clips& TestClips() {
    static Clips clips;
    return clips;
}

// ffprobe's answers about a file: "stream.key" for the first video (v) and audio (a) stream.
std::map<std::string, std::string> Probe(const std::string& file) {
    std::map<std::string, std::string> facts;
    for (const char* kind : {"v", "a"}) {
        std::string output = Run("ffprobe -v error -count_frames -select_streams " + std::string(kind) +
                                 ":0 -show_entries stream=codec_name,width,height,display_aspect_ratio,r_frame_rate,"
                                 "sample_rate,channels,bit_rate,nb_read_frames -of default=noprint_wrappers=1 " +
                                 Quote(file));
        std::istringstream lines(output);
        for (std::string line; std::getline(lines, line);) {
            auto at = line.find('=');
            if (at != std::string::npos) facts[std::string(kind) + "." + line.substr(0, at)] = line.substr(at + 1);
        }
    }
    return facts;
}

double Number(const std::map<std::string, std::string>& facts, const std::string& key) {
    auto it = facts.find(key);
    return it == facts.end() ? -1.0 : std::atof(it->second.c_str());
}

// Durations from the frames themselves: a program stream's time stamps leave out the frames
// that share a packet, so the container's estimate falls short on small pictures.
double FrameRate(const std::map<std::string, std::string>& facts) {
    auto rate = facts.find("v.r_frame_rate");
    if (rate == facts.end() || rate->second.find('/') == std::string::npos) return 0.0;
    double num = std::atof(rate->second.c_str());
    double den = std::atof(rate->second.substr(rate->second.find('/') + 1).c_str());
    return num > 0 && den > 0 ? num / den : 0.0;
}
double VideoSeconds(const std::map<std::string, std::string>& facts) {
    double rate = FrameRate(facts);
    return rate > 0 ? Number(facts, "v.nb_read_frames") / rate : -1.0;
}
constexpr double kAc3FrameSeconds = 1536.0 / 48000.0;
double AudioSeconds(const std::map<std::string, std::string>& facts) {
    return Number(facts, "a.nb_read_frames") * kAc3FrameSeconds;
}

struct Rgb {
    int r, g, b;
};

// The picture at a time, as rows of red-green-blue bytes.
std::vector<unsigned char> PictureAt(const std::string& file, double second, int width, int height) {
    // Decoded from the start: a short stream is quick, and no seek can land elsewhere.
    std::string bytes = Run("ffmpeg -nostdin -v error -i " + Quote(file) + " -ss " + std::to_string(second) +
                            " -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
    if (bytes.size() != static_cast<std::size_t>(width) * height * 3) return {};
    return {bytes.begin(), bytes.end()};
}

Rgb PixelOf(const std::vector<unsigned char>& picture, int width, int x, int y) {
    const unsigned char* p = picture.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    return {p[0], p[1], p[2]};
}

::testing::AssertionResult Near(Rgb actual, Rgb expected) {
    constexpr int kTolerance = 24;
    if (std::abs(actual.r - expected.r) <= kTolerance && std::abs(actual.g - expected.g) <= kTolerance &&
        std::abs(actual.b - expected.b) <= kTolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "RGB " << actual.r << "," << actual.g << "," << actual.b << " expected "
                                         << expected.r << "," << expected.g << "," << expected.b;
}

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};

// Every GOP header in the stream: whether each is closed, and how many there are.
struct Gops {
    int count = 0;
    int closed = 0;
};
Gops ScanGops(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Gops gops;
    for (std::size_t at = bytes.find(std::string("\0\0\1\xB8", 4)); at != std::string::npos && at + 8 <= bytes.size();
         at = bytes.find(std::string("\0\0\1\xB8", 4), at + 4)) {
        ++gops.count;
        if (static_cast<unsigned char>(bytes[at + 7]) & 0x40) ++gops.closed;
    }
    return gops;
}

// The longest run of frames from one key frame to the next.
int LongestGop(const std::string& file) {
    std::string types = Run("ffprobe -v error -select_streams v:0 -show_entries frame=pict_type -of csv=p=0 " + Quote(file));
    int longest = 0, run = 0;
    std::istringstream lines(types);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || std::string("IPB").find(line[0]) == std::string::npos) continue;
        if (line[0] == 'I') run = 0;
        longest = std::max(longest, ++run);
    }
    return longest;
}

// A fresh binding of the module for each test, a window of ours, and an output folder.
class CorvaneEncodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TestClips().made) << "ffmpeg could not make the test clips";
        module_ = LoadLibraryA("CorvaneDLL.dll");
        ASSERT_NE(module_, nullptr) << "CorvaneDLL.so beside the test program";
        convert_ = reinterpret_cast<X_SetPar_D2MPEG_fn>(GetProcAddress(module_, "X_SetPar_D2MPEG"));
        menu_ = reinterpret_cast<X_SetPar_BMP2VOB_fn>(GetProcAddress(module_, "X_SetPar_BMP2VOB"));
        info_ = reinterpret_cast<X_Get_Info_fn>(GetProcAddress(module_, "X_Get_Info"));
        stop_ = reinterpret_cast<X_StopConvert_fn>(GetProcAddress(module_, "X_StopConvert"));
        lastError_ = reinterpret_cast<X_GetLastErrorText_fn>(GetProcAddress(module_, "X_GetLastErrorText"));
        keyTimes_ = reinterpret_cast<X_SetPar_KeyTimes_fn>(GetProcAddress(module_, "X_SetPar_KeyTimes"));
        ASSERT_TRUE(convert_ && menu_ && info_ && stop_ && lastError_ && keyTimes_);
        window_ = Win32_CreateWindow([](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }, false, "");
        ASSERT_NE(window_, nullptr);
        ASSERT_FALSE(out_.Path().empty());
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        if (window_) Win32_DestroyWindow(window_);
    }

    // The clip encode with the arguments the program passes.
    int Convert(const std::string& source, const std::string& start, const std::string& duration,
                const std::string& picture, const std::string& frame, const std::string& aspect, int standard,
                const std::string& output) {
        const char* rate = standard == 2 ? "25" : "30000/1001";
        return convert_(window_, 2, source.c_str(), "1", start.c_str(), "48000", aspect.c_str(), "mpeg2", "dvd", "4000",
                        "192", picture.c_str(), frame.c_str(), "MyVideo", "MyVideo", "MyVideo", rate, "0", "0",
                        output.c_str(), "0", duration.c_str(), 0, standard, "ac3", 2);
    }

    // Nothing of an unfinished encode is left in the output folder.
    void ExpectFolderEmpty() {
        for (const auto& entry : fs::directory_iterator(out_.Path())) ADD_FAILURE() << "left behind: " << entry.path();
    }

    testing_vcl::TTempFolder out_{"corvane_encode_out"};
    HMODULE module_ = nullptr;
    X_SetPar_D2MPEG_fn convert_ = nullptr;
    X_SetPar_BMP2VOB_fn menu_ = nullptr;
    X_Get_Info_fn info_ = nullptr;
    X_StopConvert_fn stop_ = nullptr;
    X_GetLastErrorText_fn lastError_ = nullptr;
    X_SetPar_KeyTimes_fn keyTimes_ = nullptr;
    HWND window_ = nullptr;
};

// ---- clip encodes --------------------------------------------------------------------------

enum class Bars { None, Letterbox, Pillarbox };

struct ClipCase {
    const char* file;
    int standard;          // 1 NTSC, 2 PAL
    const char* aspect;
    const char* picture;
    Bars bars;
    Rgb colour;
};

const ClipCase kClipCases[] = {
    {"wide.mp4", 1, "4:3", "720:360", Bars::Letterbox, kRed},    // 16:9 on a 4:3 NTSC frame, 30 -> 29.97
    {"wide.mp4", 2, "16:9", "720:576", Bars::None, kRed},        // fills a 16:9 PAL frame, 30 -> 25
    {"tall.mp4", 2, "4:3", "540:576", Bars::Pillarbox, kGreen},  // square picture on 4:3 PAL, no sound
    {"tall.mp4", 1, "16:9", "360:480", Bars::Pillarbox, kGreen}, // on 16:9 NTSC, 25 -> 29.97
};

TEST_F(CorvaneEncodeTest, ClipsBecomeDvdStreamsWithThePictureOnBlack) {
    for (const auto& c : kClipCases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.aspect + " " + c.picture);
        bool pal = c.standard == 2;
        int height = pal ? 576 : 480;
        std::string output = out_["clip.vob"];
        ASSERT_EQ(Convert(TestClips()[c.file], "0", "0", c.picture, pal ? "720:576" : "720:480", c.aspect, c.standard, output), 0);
        auto facts = Probe(output);
        EXPECT_EQ(facts["v.codec_name"], "mpeg2video");
        EXPECT_EQ(facts["v.width"], "720");
        EXPECT_EQ(facts["v.height"], std::to_string(height));
        EXPECT_EQ(facts["v.r_frame_rate"], pal ? "25/1" : "30000/1001");
        EXPECT_EQ(facts["v.display_aspect_ratio"], c.aspect);
        EXPECT_EQ(facts["a.codec_name"], "ac3") << "silence where the source has none";
        EXPECT_EQ(facts["a.sample_rate"], "48000");
        EXPECT_EQ(facts["a.channels"], "2");
        EXPECT_EQ(facts["a.bit_rate"], "192000");
        EXPECT_NEAR(VideoSeconds(facts), 3.0, 0.1);
        EXPECT_NEAR(AudioSeconds(facts), VideoSeconds(facts), 0.1) << "sound as long as the picture";
        Gops gops = ScanGops(output);
        EXPECT_GE(gops.count, 5);
        EXPECT_EQ(gops.closed, gops.count) << "closed GOPs only";
        EXPECT_LE(LongestGop(output), pal ? 15 : 18);

        auto picture = PictureAt(output, 1.0, 720, height);
        ASSERT_FALSE(picture.empty());
        EXPECT_TRUE(Near(PixelOf(picture, 720, 360, height / 2), c.colour)) << "centre";
        Rgb top = PixelOf(picture, 720, 360, 4);
        Rgb left = PixelOf(picture, 720, 4, height / 2);
        EXPECT_TRUE(Near(top, c.bars == Bars::Letterbox ? kBlack : c.colour)) << "top edge";
        EXPECT_TRUE(Near(left, c.bars == Bars::Pillarbox ? kBlack : c.colour)) << "left edge";
        if (c.bars == Bars::Letterbox) {
            EXPECT_TRUE(Near(PixelOf(picture, 720, 360, height - 4), kBlack)) << "bottom bar";
            EXPECT_TRUE(Near(PixelOf(picture, 720, 360, height / 2 - 170), c.colour)) << "inside the picture's top";
        }
        if (c.bars == Bars::Pillarbox) {
            EXPECT_TRUE(Near(PixelOf(picture, 720, 715, height / 2), kBlack)) << "right bar";
        }
        fs::remove(output);
    }
}

TEST_F(CorvaneEncodeTest, TrimsHonourTheStartAndTheDuration) {
    struct TrimCase {
        const char* start;
        const char* duration;
        double seconds;
        Rgb first;
        Rgb last;
    };
    // One colour per second: red, green, blue, white.
    const TrimCase cases[] = {{"1", "2", 2.0, kGreen, kBlue}, {"2", "0", 2.0, kBlue, {255, 255, 255}}, {"0", "1", 1.0, kRed, kRed}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + "+" + c.duration);
        std::string output = out_["trim.vob"];
        ASSERT_EQ(Convert(TestClips()["seconds.mp4"], c.start, c.duration, "720:480", "720:480", "4:3", 1, output), 0);
        auto facts = Probe(output);
        EXPECT_NEAR(VideoSeconds(facts), c.seconds, 0.1);
        EXPECT_NEAR(AudioSeconds(facts), c.seconds, 0.1);
        auto first = PictureAt(output, 0.1, 720, 480);
        auto last = PictureAt(output, c.seconds - 0.2, 720, 480);
        ASSERT_FALSE(first.empty());
        ASSERT_FALSE(last.empty());
        EXPECT_TRUE(Near(PixelOf(first, 720, 360, 240), c.first)) << "first picture";
        EXPECT_TRUE(Near(PixelOf(last, 720, 360, 240), c.last)) << "last picture";
        fs::remove(output);
    }
}

// The source picture each output frame shows, from its grey level: the sources below paint
// picture k flat at 16 + 8 * (k mod 28).
constexpr int kGreyCycle = 28;
std::vector<int> GreyIndices(const std::string& file) {
    // The luma plane as stored: a conversion to grey would stretch the levels.
    std::string yuv = Run("ffmpeg -nostdin -v error -i " + Quote(file) + " -map 0:v -vf scale=8:8 -pix_fmt yuv420p -f rawvideo -");
    std::vector<int> indices;
    for (std::size_t frame = 0; (frame + 1) * 96 <= yuv.size(); ++frame) {
        int sum = 0;
        for (std::size_t i = 0; i < 64; ++i) sum += static_cast<unsigned char>(yuv[frame * 96 + i]);
        indices.push_back(static_cast<int>(std::lround((sum / 64.0 - 16) / 8)));
    }
    return indices;
}

// The times of a file's pictures from the file's start, in the order shown: in MKV they are
// whole milliseconds, and the picture may start after the file (B-frame delay, sound first).
std::vector<double> PictureTimes(const std::string& file) {
    std::istringstream start(Run("ffprobe -v error -show_entries format=start_time -of csv=p=0 " + Quote(file)));
    double origin = 0;
    start >> origin;
    std::istringstream lines(Run("ffprobe -v error -select_streams v:0 -show_entries frame=best_effort_timestamp_time "
                                 "-of csv=p=0 " + Quote(file)));
    std::vector<double> times;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) times.push_back(std::atof(line.c_str()) - origin);
    }
    std::sort(times.begin(), times.end());
    return times;
}

TEST_F(CorvaneEncodeTest, EachFrameShowsThePictureOfItsTime) {
    // Pictures dropped (60 fps), held for two frames now and then (25 fps to NTSC), and both
    // through the painters side by side: a picture out of turn shows as a wrong grey. In MKV
    // and MPEG-TS beside sound, with B-frames, the picture starts after the file's start.
    const struct {
        int sourceRate;
        int standard;
        const char* file;
        const char* sound;
    } kCases[] = {{60, 1, "grey.mp4", ""}, {25, 1, "grey.mp4", ""}, {60, 2, "grey.mp4", ""},
                  {25, 1, "grey.mkv", "-c:a aac"}, {60, 2, "grey.mkv", "-c:a aac"},
                  {25, 1, "grey.ts", "-c:a aac"}, {60, 2, "grey.ts", "-c:a mp2"}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::to_string(c.sourceRate) + " fps " + c.file + " to " + (c.standard == 1 ? "NTSC" : "PAL"));
        std::string source = out_[c.file];
        const bool sound = *c.sound != '\0';
        ASSERT_TRUE(Ffmpeg("-f lavfi -i \"nullsrc=s=320x240:r=" + std::to_string(c.sourceRate) +
                               ":d=3,geq=lum='16+8*mod(N," + std::to_string(kGreyCycle) + ")':cb=128:cr=128\" " +
                               (sound ? "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=3 -bf 2 " : "") +
                               "-c:v libx264 -preset ultrafast -qp 0 -pix_fmt yuv420p " + (sound ? c.sound : "-an"),
                           source));
        const std::vector<double> times = PictureTimes(source);
        ASSERT_EQ(times.size(), 3u * c.sourceRate);
        if (sound) EXPECT_GT(times[0], 0.5 / c.sourceRate) << "a picture that starts after the file";
        std::string output = out_["grey.vob"];
        const char* frame = c.standard == 1 ? "720:480" : "720:576";
        ASSERT_EQ(Convert(source, "0", "0", frame, frame, "4:3", c.standard, output), 0);
        const double rate = c.standard == 1 ? 30000.0 / 1001 : 25.0;
        std::vector<int> shown = GreyIndices(output);
        EXPECT_NEAR(static_cast<double>(shown.size()), (3 + times[0]) * rate, 2);
        // Frame i shows the last picture whose time, in the output's frames, rounds to i at most
        // (the first picture before that). A picture half a frame after i may round either way.
        auto frameOf = [&](std::size_t picture) { return times[picture] * rate; };
        auto halfway = [&](std::size_t picture, double at) { return std::abs(frameOf(picture) - at) < 1e-6; };
        std::size_t picture = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            while (picture + 1 < times.size() && std::llround(frameOf(picture + 1)) <= static_cast<long long>(i)) ++picture;
            const bool next = picture + 1 < times.size() && halfway(picture + 1, i + 0.5);
            const bool before = picture > 0 && halfway(picture, i + 0.5);
            EXPECT_TRUE(shown[i] == static_cast<int>(picture % kGreyCycle) ||
                        (next && shown[i] == static_cast<int>((picture + 1) % kGreyCycle)) ||
                        (before && shown[i] == static_cast<int>((picture - 1) % kGreyCycle)))
                << "frame " << i << " shows " << shown[i] << " for " << picture % kGreyCycle;
        }
        fs::remove(source);
        fs::remove(output);
    }
}

// When the picture turns bright and when the sound starts, in the output's own time.
struct Events {
    double picture = -1;
    double sound = -1;
};
Events EventsOf(const std::string& file) {
    Events events;
    std::string starts = Run("ffprobe -v error -show_entries stream=codec_type,start_time -of csv=p=0 " + Quote(file));
    double videoStart = 0, audioStart = 0;
    std::istringstream lines(starts);
    for (std::string line; std::getline(lines, line);) {
        auto comma = line.find(',');
        if (comma == std::string::npos) continue;
        double start = std::atof(line.substr(comma + 1).c_str());
        if (line.rfind("video", 0) == 0) videoStart = start;
        if (line.rfind("audio", 0) == 0) audioStart = start;
    }
    double rate = FrameRate(Probe(file));
    std::string grey = Run("ffmpeg -nostdin -v error -i " + Quote(file) + " -map 0:v -vf scale=8:8 -pix_fmt gray -f rawvideo -");
    for (std::size_t frame = 0; rate > 0 && (frame + 1) * 64 <= grey.size(); ++frame) {
        int sum = 0;
        for (std::size_t i = 0; i < 64; ++i) sum += static_cast<unsigned char>(grey[frame * 64 + i]);
        if (sum / 64 > 128) {
            events.picture = videoStart + static_cast<double>(frame) / rate;
            break;
        }
    }
    std::string pcm = Run("ffmpeg -nostdin -v error -i " + Quote(file) + " -map 0:a -ac 1 -ar 48000 -f s16le -");
    for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
        auto sample = static_cast<std::int16_t>(static_cast<unsigned char>(pcm[i]) | (static_cast<unsigned char>(pcm[i + 1]) << 8));
        if (std::abs(sample) > 3000) {
            events.sound = audioStart + static_cast<double>(i / 2) / 48000.0;
            break;
        }
    }
    // Both from the picture's first frame, as a player shows them.
    if (events.picture >= 0) events.picture -= videoStart;
    if (events.sound >= 0) events.sound -= videoStart;
    return events;
}

TEST_F(CorvaneEncodeTest, SoundStaysInStepWithThePicture) {
    struct SyncCase {
        const char* clip;
        int standard;
        const char* start;
        double event;   // in the output
    };
    // 30 fps and 44.1 kHz in; 25 and 29.97 fps, 48 kHz out; from the start and trimmed; the
    // sound starting later than the picture, and the picture later than the sound.
    const SyncCase cases[] = {{"sync.mp4", 2, "0", 1.5},         {"sync.mp4", 1, "1", 0.5},
                              {"late_sound.mkv", 1, "0", 1.5},   {"late_sound.mkv", 2, "1", 0.5},
                              {"late_picture.mkv", 1, "0", 2.0}, {"late_picture.mkv", 2, "1", 1.0},
                              {"sync.ts", 2, "0", 1.5},          {"sync.ts", 1, "1", 0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.clip) + " " + std::to_string(c.standard) + " from " + c.start);
        std::string output = out_["sync.vob"];
        const char* frame = c.standard == 2 ? "720:576" : "720:480";
        ASSERT_EQ(Convert(TestClips()[c.clip], c.start, "0", frame, frame, "4:3", c.standard, output), 0);
        Events events = EventsOf(output);
        ASSERT_GE(events.picture, 0);
        ASSERT_GE(events.sound, 0);
        EXPECT_NEAR(events.picture, c.event, 0.05);
        EXPECT_NEAR(events.sound, c.event, 0.05);
        EXPECT_NEAR(events.sound, events.picture, 0.05) << "one frame at most between them";
        fs::remove(output);
    }
}

TEST_F(CorvaneEncodeTest, DvdauthorMakesAFolderLibdvdreadOpens) {
    testing_vcl::TDvdRead dvdread;
    ASSERT_TRUE(dvdread.Ready());
    struct AuthorCase {
        int standard;
        const char* aspect;
        const char* format;
        int videoFormat;    // 0 NTSC, 1 PAL
        int aspectCode;     // 0 4:3, 3 16:9
    };
    const AuthorCase cases[] = {{1, "4:3", "NTSC", 0, 0}, {2, "16:9", "PAL", 1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        std::string vob = out_[std::string(c.format) + ".vob"];
        std::string dvd = out_[std::string(c.format) + "_dvd"];
        ASSERT_EQ(Convert(TestClips()["wide.mp4"], "0", "0", c.standard == 2 ? "720:576" : "720:480",
                          c.standard == 2 ? "720:576" : "720:480", c.aspect, c.standard, vob),
                  0);
        std::string env = std::string("VIDEO_FORMAT=") + c.format + " ";
        ASSERT_EQ(std::system((env + "dvdauthor -o " + Quote(dvd) + " -t " + Quote(vob) + " >/dev/null 2>&1").c_str()), 0);
        ASSERT_EQ(std::system((env + "dvdauthor -o " + Quote(dvd) + " -T >/dev/null 2>&1").c_str()), 0);
        dvd_reader_t* disc = dvdread.open(dvd.c_str());
        ASSERT_NE(disc, nullptr);
        ifo_handle_t* vmg = dvdread.ifo(disc, 0);
        ASSERT_NE(vmg, nullptr);
        ASSERT_NE(vmg->tt_srpt, nullptr);
        EXPECT_EQ(vmg->tt_srpt->nr_of_srpts, 1);
        ifo_handle_t* vts = dvdread.ifo(disc, 1);
        ASSERT_NE(vts, nullptr);
        ASSERT_NE(vts->vtsi_mat, nullptr);
        EXPECT_EQ(vts->vtsi_mat->vts_video_attr.video_format, c.videoFormat);
        EXPECT_EQ(vts->vtsi_mat->vts_video_attr.display_aspect_ratio, c.aspectCode);
        EXPECT_EQ(vts->vtsi_mat->nr_of_vts_audio_streams, 1);
        EXPECT_EQ(vts->vtsi_mat->vts_audio_attr[0].audio_format, 0) << "AC-3";
        dvdread.ifoFree(vts);
        dvdread.ifoFree(vmg);
        dvdread.close(disc);
    }
}

// ---- key times -----------------------------------------------------------------------------

// The frames that are key frames, by index in showing order.
std::vector<int> KeyFrames(const std::string& file) {
    std::string types = Run("ffprobe -v error -select_streams v:0 -show_entries frame=pict_type -of csv=p=0 " + Quote(file));
    std::vector<int> keys;
    int index = 0;
    std::istringstream lines(types);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || std::string("IPB").find(line[0]) == std::string::npos) continue;
        if (line[0] == 'I') keys.push_back(index);
        ++index;
    }
    return keys;
}

// Each chapter's start in a one-title folder, in 90 kHz ticks from the title's start: the start
// time of the navigation unit its first cell begins with, read from the title's VOB.
std::vector<long long> ChapterStarts(testing_vcl::TDvdRead& dvdread, const std::string& folder) {
    std::vector<long long> starts;
    dvd_reader_t* disc = dvdread.open(folder.c_str());
    if (!disc) return starts;
    ifo_handle_t* vts = dvdread.ifo(disc, 1);
    std::ifstream vob(folder + "/VIDEO_TS/VTS_01_1.VOB", std::ios::binary);
    if (vts && vts->vts_pgcit && vts->vts_pgcit->nr_of_pgci_srp > 0 && vob) {
        const pgc_t* pgc = vts->vts_pgcit->pgci_srp[0].pgc;
        for (int program = 0; program < pgc->nr_of_programs; ++program) {
            const cell_playback_t& cell = pgc->cell_playback[pgc->program_map[program] - 1];
            unsigned char pack[2048] = {};
            vob.seekg(static_cast<std::streamoff>(cell.first_sector) * 2048);
            vob.read(reinterpret_cast<char*>(pack), sizeof pack);
            // The navigation pack's presentation data: "00 00 01 BF" at 0x26, the start time at 0x39.
            if (!vob || pack[0x26] != 0 || pack[0x27] != 0 || pack[0x28] != 1 || pack[0x29] != 0xBF) break;
            starts.push_back(static_cast<long long>(pack[0x39]) << 24 | pack[0x3A] << 16 | pack[0x3B] << 8 | pack[0x3C]);
        }
    }
    const long long first = starts.empty() ? 0 : starts.front();
    for (long long& start : starts) start -= first;
    if (vts) dvdread.ifoFree(vts);
    dvdread.close(disc);
    return starts;
}

TEST_F(CorvaneEncodeTest, KeyTimeListsAreTakenOrRefused) {
    struct ListCase {
        const char* text;
        int result;
    };
    const std::string tooMany = [] {
        std::string text = "0";
        for (int i = 1; i <= 1000; ++i) text += "," + std::to_string(i);
        return text;
    }();
    const ListCase cases[] = {
        {"0,300,600", 0}, {"2.5", 0}, {" 1 , 2.25 ,3 ", 0}, {"5.,.5", 0}, {"7,3,3", 0}, {"", 0},
        {nullptr, -1}, {"abc", -1}, {"1,,2", -1}, {"1,2,", -1}, {",1", -1}, {"-1", -1}, {"+1", -1},
        {"1e3", -1}, {"1,5;2", -1}, {"1.2.3", -1}, {"2,5", 0}, {"2 5", -1}, {"nan", -1}, {"inf", -1},
        {".", -1}, {"0x10", -1}, {"864001", -1}, {"99999999999999999999999", -1}, {tooMany.c_str(), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? std::string(c.text).substr(0, 40) : "null");
        EXPECT_EQ(keyTimes_(c.text), c.result);
        if (c.result != 0) {
            char text[256] = {};
            lastError_(text, sizeof text);
            EXPECT_NE(std::string(text).find("key times"), std::string::npos) << text;
        }
    }
    EXPECT_EQ(keyTimes_(""), 0) << "nothing left for the next encode";
}

struct KeyCase {
    int standard;
    const char* times;                 // as the program passes them
    std::vector<int> keyFrames;        // where closed GOPs must begin
    const char* chapters;              // the times kept, as dvdauthor is given them
};

// NTSC (29.97 fps, GOPs of 12 to 18 frames for a VOBU each): 1 s is frame 30; 1.7 s, 21 frames
// on, fits no count of full GOPs; 2 s lies within 0.4 s of it and is left out; 3.5 s, 5.25 s
// and 6 s follow 54, 52 and 23 frames on. PAL (25 fps, 10 to 15 frames): 0.8 s is 20 frames,
// 1.56 s 19 more, 4.2 s is too near 4 s, 6 s is 50 frames on; given out of order.
const KeyCase kKeyCases[] = {
    {1, "0,1,1.7,2,3.5,5.25,6", {0, 30, 51, 105, 157, 180}, "0,1,1.7,3.5,5.25,6"},
    {2, "6, 4.2, 0.8, 1.56, 4", {0, 20, 39, 100, 150}, "0,0.8,1.56,4,6"},
};

TEST_F(CorvaneEncodeTest, KeyTimesStartClosedGopsWhereDvdauthorPutsTheChapters) {
    testing_vcl::TDvdRead dvdread;
    ASSERT_TRUE(dvdread.Ready());
    for (const auto& c : kKeyCases) {
        SCOPED_TRACE(c.times);
        bool pal = c.standard == 2;
        const char* frame = pal ? "720:576" : "720:480";
        const int longest = pal ? 15 : 18;
        std::string vob = out_["keys.vob"];
        ASSERT_EQ(keyTimes_(c.times), 0);
        ASSERT_EQ(Convert(TestClips()["long.mp4"], "0", "8", frame, frame, "4:3", c.standard, vob), 0);
        std::vector<int> keys = KeyFrames(vob);
        for (int key : c.keyFrames) EXPECT_TRUE(std::find(keys.begin(), keys.end(), key) != keys.end()) << "frame " << key;
        EXPECT_LE(LongestGop(vob), longest);
        Gops gops = ScanGops(vob);
        EXPECT_EQ(gops.closed, gops.count);

        std::string dvd = out_["keys_dvd"];
        std::string env = std::string("VIDEO_FORMAT=") + (pal ? "PAL" : "NTSC") + " ";
        ASSERT_EQ(std::system((env + "dvdauthor -o " + Quote(dvd) + " -t -c " + c.chapters + " " + Quote(vob) +
                               " >/dev/null 2>&1").c_str()),
                  0);
        ASSERT_EQ(std::system((env + "dvdauthor -o " + Quote(dvd) + " -T >/dev/null 2>&1").c_str()), 0);
        std::vector<long long> starts = ChapterStarts(dvdread, dvd);
        ASSERT_EQ(starts.size(), c.keyFrames.size()) << "a chapter per kept time";
        const long long ticksPerFrame = pal ? 3600 : 3003;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            EXPECT_EQ(starts[i], c.keyFrames[i] * ticksPerFrame) << "chapter " << i + 1 << " on its frame";
        }
        fs::remove_all(dvd);
        fs::remove(vob);
    }
}

TEST_F(CorvaneEncodeTest, KeyTimesServeTheNextClipEncodeOnly) {
    std::string vob = out_["next.vob"];
    auto encode = [&] { return Convert(TestClips()["long.mp4"], "0", "4", "720:480", "720:480", "4:3", 1, vob); };
    auto keyAt = [&](int frame) {
        std::vector<int> keys = KeyFrames(vob);
        return std::find(keys.begin(), keys.end(), frame) != keys.end();
    };
    // Frame 60 (2 s) is no multiple of 18: a key frame there is the list's doing.
    ASSERT_EQ(keyTimes_("2"), 0);
    EXPECT_EQ(keyTimes_("2,x"), -1) << "refused, and the list before stays";
    std::string bmp = TestClips()["menu.bmp"];
    std::string menu = out_["menu.vob"];
    ASSERT_EQ(menu_(window_, 1, bmp.c_str(), "1", "720:480", "720:480", "4/3", menu.c_str(), 0, "NoFile"), 0)
        << "a menu encode leaves the list alone";
    ASSERT_EQ(encode(), 0);
    EXPECT_TRUE(keyAt(60));
    ASSERT_EQ(encode(), 0);
    EXPECT_FALSE(keyAt(60)) << "the list served one encode";
    EXPECT_TRUE(keyAt(54));
    // A failed encode takes the list too.
    ASSERT_EQ(keyTimes_("2"), 0);
    EXPECT_EQ(Convert(TestClips()["missing.mp4"], "0", "4", "720:480", "720:480", "4:3", 1, vob), -1);
    ASSERT_EQ(encode(), 0);
    EXPECT_FALSE(keyAt(60));
}

TEST_F(CorvaneEncodeTest, TheQualityBitrateSetsTheStreamsSize) {
    // A moving picture full of detail uses the bits it is given, so the size follows the rate.
    std::map<std::string, std::uintmax_t> sizes;
    for (const char* kbps : {"3000", "5000", "noise"}) {
        std::string output = out_[std::string(kbps) + ".vob"];
        bool noise = std::string(kbps) == "noise";
        std::string source = TestClips()[noise ? "noise.mp4" : "detail.mp4"];
        if (noise) kbps = "5000";
        ASSERT_EQ(convert_(window_, 2, source.c_str(), "1", "0", "48000", "4:3", "mpeg2", "dvd", kbps, "192", "720:576",
                           "720:576", "MyVideo", "MyVideo", "MyVideo", "25", "0", "0", output.c_str(), "0", "0", 0, 2,
                           "ac3", 0),
                  0);
        sizes[noise ? "noise" : kbps] = fs::file_size(output);
    }
    double ratio = static_cast<double>(sizes["5000"]) / static_cast<double>(sizes["3000"]);
    EXPECT_GT(ratio, 1.3) << sizes["3000"] << " bytes at 3000, " << sizes["5000"] << " at 5000";
    // Noise would take any rate: it still keeps within the DVD's, two seconds of at most 9.8 Mbit/s
    // of video plus the sound and the packs' overhead.
    EXPECT_LT(sizes["noise"], 2u * (9800000u + 192000u) / 8u * 11u / 10u);
    EXPECT_GT(sizes["noise"], sizes["5000"]) << "noise does use the peak rate";
}

// A phone clip stored as a landscape 320 x 176 picture of four colours (red, green above blue,
// white) that its file says to turn; made in folder, true when it was.
bool MakeTurnedClip(testing_vcl::TTempFolder& folder, const std::string& name, int rotate) {
    const std::string quadrants =
        "-filter_complex \"color=c=red:s=320x176:r=25:d=2[bg];color=c=0x00FF00:s=160x88:r=25:d=2[g];"
        "color=c=blue:s=160x88:r=25:d=2[b];color=c=white:s=160x88:r=25:d=2[w];[bg][g]overlay=160:0[t1];"
        "[t1][b]overlay=0:88[t2];[t2][w]overlay=160:88[v]\" -map \"[v]\" ";
    std::string plain = folder["plain_" + name];
    return Ffmpeg(quadrants + "-c:v libx264 -preset ultrafast -pix_fmt yuv420p", plain) &&
           Ffmpeg("-i " + Quote(plain) + " -c copy -metadata:s:v:0 rotate=" + std::to_string(rotate), folder[name]);
}

TEST_F(CorvaneEncodeTest, TurnedPhoneVideoConvertsUpright) {
    constexpr Rgb kWhite{255, 255, 255};
    struct TurnCase {
        int rotate;
        int standard;
        const char* aspect;
        const char* picture;     // as the program computes it from the size shown
        int left, top, width, height;   // where the picture lands in the frame
        Rgb topLeft, topRight, bottomLeft, bottomRight;
    };
    // "rotate=90" turns the stored picture a quarter counter-clockwise, as players show it.
    const TurnCase cases[] = {
        {90, 1, "4:3", "300:480", 210, 0, 300, 480, kGreen, kWhite, kRed, kBlue},     // pillarboxed on 4:3 NTSC
        {90, 2, "16:9", "224:576", 248, 0, 224, 576, kGreen, kWhite, kRed, kBlue},    // on 16:9 PAL
        {270, 1, "16:9", "200:480", 260, 0, 200, 480, kBlue, kRed, kWhite, kGreen},
        {180, 1, "16:9", "720:480", 0, 0, 720, 480, kWhite, kBlue, kGreen, kRed},     // upside down, filling the frame
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rotate) + " " + c.aspect + " " + c.picture);
        std::string name = "turn" + std::to_string(c.rotate) + ".mp4";
        std::string source = out_[name];
        if (!fs::exists(source)) {
            ASSERT_TRUE(MakeTurnedClip(out_, name, c.rotate));
        }
        bool pal = c.standard == 2;
        int frameHeight = pal ? 576 : 480;
        std::string output = out_["turned.vob"];
        ASSERT_EQ(Convert(source, "0", "0", c.picture, pal ? "720:576" : "720:480", c.aspect, c.standard, output), 0);
        auto picture = PictureAt(output, 1.0, 720, frameHeight);
        ASSERT_FALSE(picture.empty());
        auto at = [&](int fx, int fy) { return PixelOf(picture, 720, c.left + c.width * fx / 4, c.top + c.height * fy / 4); };
        EXPECT_TRUE(Near(at(1, 1), c.topLeft)) << "top left";
        EXPECT_TRUE(Near(at(3, 1), c.topRight)) << "top right";
        EXPECT_TRUE(Near(at(1, 3), c.bottomLeft)) << "bottom left";
        EXPECT_TRUE(Near(at(3, 3), c.bottomRight)) << "bottom right";
        if (c.left > 0) {
            EXPECT_TRUE(Near(PixelOf(picture, 720, 4, frameHeight / 2), kBlack)) << "left bar";
            EXPECT_TRUE(Near(PixelOf(picture, 720, 715, frameHeight / 2), kBlack)) << "right bar";
        }
        fs::remove(output);
    }
}

// The times where a stream turns on after a pause: the picture brightens, the sound rises.
struct Onsets {
    std::vector<double> pictures;
    std::vector<double> sounds;
};
Onsets OnsetsOf(const std::string& file) {
    Onsets onsets;
    double rate = FrameRate(Probe(file));
    std::string grey = Run("ffmpeg -nostdin -v error -i " + Quote(file) + " -map 0:v -vf scale=8:8 -pix_fmt gray -f rawvideo -");
    bool bright = false;
    for (std::size_t frame = 0; rate > 0 && (frame + 1) * 64 <= grey.size(); ++frame) {
        int sum = 0;
        for (std::size_t i = 0; i < 64; ++i) sum += static_cast<unsigned char>(grey[frame * 64 + i]);
        bool now = sum / 64 > 128;
        if (now && !bright) onsets.pictures.push_back(static_cast<double>(frame) / rate);
        bright = now;
    }
    // Both streams from the picture's first frame, as a player shows them.
    double videoStart = 0, audioStart = 0;
    std::istringstream lines(Run("ffprobe -v error -show_entries stream=codec_type,start_time -of csv=p=0 " + Quote(file)));
    for (std::string line; std::getline(lines, line);) {
        auto comma = line.find(',');
        if (comma == std::string::npos) continue;
        double start = std::atof(line.substr(comma + 1).c_str());
        if (line.rfind("video", 0) == 0) videoStart = start;
        if (line.rfind("audio", 0) == 0) audioStart = start;
    }
    std::string pcm = Run("ffmpeg -nostdin -v error -i " + Quote(file) + " -map 0:a -ac 1 -ar 48000 -f s16le -");
    std::size_t quietSince = 0;
    bool loud = false;
    for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
        auto sample = static_cast<std::int16_t>(static_cast<unsigned char>(pcm[i]) | (static_cast<unsigned char>(pcm[i + 1]) << 8));
        std::size_t n = i / 2;
        if (std::abs(sample) > 3000) {
            // A rise after at least 0.2 s of quiet (a tone crosses zero every few samples).
            if (!loud) onsets.sounds.push_back(audioStart - videoStart + static_cast<double>(n) / 48000.0);
            loud = true;
            quietSince = n;
        } else if (loud && n - quietSince > 9600) {
            loud = false;
        }
    }
    return onsets;
}

TEST_F(CorvaneEncodeTest, SoundAndPictureStayWithinAFrameOverTwoMinutes) {
    // Black and silent, with a white flash and a beep together at the start, the middle and the
    // end of two minutes; 30 fps and 44.1 kHz in, 29.97 fps and 48 kHz out.
    const std::string when = "between(t,1.5,1.7)+between(t,60.5,60.7)+between(t,118.5,118.7)";
    std::string source = out_["events.mp4"];
    ASSERT_TRUE(Ffmpeg("-f lavfi -i \"color=c=black:s=160x120:r=30:d=120,drawbox=c=white:t=fill:enable='" + when +
                           "'\" -f lavfi -i \"aevalsrc='if(" + when + ",0.8*sin(2*PI*1000*t),0)':s=44100:d=120\" "
                           "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac",
                       source));
    std::string output = out_["events.vob"];
    ASSERT_EQ(Convert(source, "0", "0", "720:480", "720:480", "4:3", 1, output), 0);
    Onsets onsets = OnsetsOf(output);
    const double events[] = {1.5, 60.5, 118.5};
    ASSERT_EQ(onsets.pictures.size(), std::size(events));
    ASSERT_EQ(onsets.sounds.size(), std::size(events));
    constexpr double kOneFrame = 1001.0 / 30000.0;
    for (std::size_t i = 0; i < std::size(events); ++i) {
        SCOPED_TRACE(events[i]);
        EXPECT_NEAR(onsets.pictures[i], events[i], 2 * kOneFrame);
        EXPECT_NEAR(onsets.sounds[i], onsets.pictures[i], kOneFrame) << "one frame at most between them";
    }
}

// The picture's mean PSNR against the source scaled to the DVD frame; NaN when not measured.
double PsnrAgainstSource(const std::string& output, const std::string& source) {
    std::string report = ::Run("ffmpeg -nostdin -i " + Quote(output) + " -i " + Quote(source) +
                                   " -lavfi \"[0:v]setpts=PTS-STARTPTS[a];[1:v]setpts=PTS-STARTPTS,scale=720:480:flags=bicubic[r];"
                                   "[a][r]psnr\" -f null -",
                               Log::Kept);
    auto at = report.find("average:");
    return at == std::string::npos ? std::nan("") : std::atof(report.c_str() + at + 8);
}

TEST_F(CorvaneEncodeTest, QualityHoldsAtTheSameBitrate) {
    // Noisy detail at 4000 kbit/s, measured against the source scaled to the frame. The encoder
    // that wrote one frame at a time reached 38.19 dB here; the pipeline may lose 0.1 dB at most.
    constexpr double kBaselineDb = 38.19;
    std::string source = out_["detail.mp4"];
    ASSERT_TRUE(Ffmpeg("-f lavfi -i \"testsrc2=s=960x540:r=30000/1001:d=3,noise=alls=8:allf=t\" -c:v libx264 "
                       "-preset ultrafast -qp 20 -pix_fmt yuv420p -an",
                       source));
    std::string output = out_["detail.vob"];
    ASSERT_EQ(Convert(source, "0", "0", "720:480", "720:480", "16:9", 1, output), 0);
    EXPECT_GE(PsnrAgainstSource(output, source), kBaselineDb - 0.1);
}

// The time code of every GOP header, as a frame count at the rate rounded (30 at 29.97).
std::vector<long long> GopTimeCodes(const std::string& file, int framesPerSecond) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<long long> codes;
    const std::string gop("\0\0\1\xB8", 4);
    for (std::size_t at = bytes.find(gop); at != std::string::npos && at + 8 <= bytes.size(); at = bytes.find(gop, at + 4)) {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits = bits << 8 | static_cast<unsigned char>(bytes[at + 4 + i]);
        long long hours = bits >> 26 & 31, minutes = bits >> 20 & 63, seconds = bits >> 13 & 63, pictures = bits >> 7 & 63;
        codes.push_back(((hours * 60 + minutes) * 60 + seconds) * framesPerSecond + pictures);
    }
    return codes;
}

// The video's time stamps: the packets' decoding times in file order (where the stream gives
// one: a packet sharing its pack with the one before may have none), and the decoded frames'.
struct Stamps {
    std::vector<long long> packets, frames;
};
Stamps VideoStamps(const std::string& file) {
    Stamps stamps;
    std::istringstream packets(Run("ffprobe -v error -select_streams v:0 -show_entries packet=dts -of csv=p=0 " + Quote(file)));
    for (std::string line; std::getline(packets, line);) {
        if (!line.empty() && line.rfind("N/A", 0) != 0) stamps.packets.push_back(std::atoll(line.c_str()));
    }
    std::istringstream frames(Run("ffprobe -v error -select_streams v:0 -show_entries frame=best_effort_timestamp -of csv=p=0 " +
                                  Quote(file)));
    for (std::string line; std::getline(frames, line);) {
        if (!line.empty() && line.rfind("N/A", 0) != 0) stamps.frames.push_back(std::atoll(line.c_str()));
    }
    return stamps;
}

TEST_F(CorvaneEncodeTest, StretchesEncodedSideBySideMakeTheSingleEncodersStream) {
    // Ten seconds: the first stretch and a dozen more, dealt to the encoders in turn. What a
    // single encoder made of this clip: 300 frames, a closed GOP every 18 with its time code,
    // and 36.93 dB at 4000 kbit/s.
    constexpr double kSingleEncoderDb = 36.93;
    std::string source = out_["ten.mp4"];
    ASSERT_TRUE(Ffmpeg("-f lavfi -i \"testsrc2=s=640x360:r=30000/1001:d=10,noise=alls=8:allf=t\" -c:v libx264 "
                       "-preset ultrafast -qp 20 -pix_fmt yuv420p -an",
                       source));
    std::string output = out_["ten.vob"];
    ASSERT_EQ(Convert(source, "0", "0", "720:480", "720:480", "16:9", 1, output), 0);

    EXPECT_EQ(Number(Probe(output), "v.nb_read_frames"), 300);
    std::vector<int> keys = KeyFrames(output);
    std::vector<int> expectedKeys;
    for (int frame = 0; frame < 300; frame += 18) expectedKeys.push_back(frame);
    EXPECT_EQ(keys, expectedKeys);
    Gops gops = ScanGops(output);
    EXPECT_EQ(gops.closed, gops.count);
    std::vector<long long> codes = GopTimeCodes(output, 30);
    EXPECT_EQ(codes, std::vector<long long>(expectedKeys.begin(), expectedKeys.end())) << "GOP time codes count the output's frames";

    Stamps stamps = VideoStamps(output);
    EXPECT_GT(stamps.packets.size(), 290u);
    for (std::size_t i = 1; i < stamps.packets.size(); ++i) EXPECT_GT(stamps.packets[i], stamps.packets[i - 1]) << "packet " << i;
    ASSERT_EQ(stamps.frames.size(), 300u);
    for (std::size_t i = 1; i < stamps.frames.size(); ++i) EXPECT_EQ(stamps.frames[i] - stamps.frames[i - 1], 3003) << "frame " << i;

    EXPECT_GE(PsnrAgainstSource(output, source), kSingleEncoderDb - 0.1);
}

// Heavy motion at the best quality's rate, through one encoder (a clip within the first
// stretch) and through the stretches side by side: a DVD player's buffer must hold both.
TEST_F(CorvaneEncodeTest, TheJoinedStretchesKeepTheDvdDecoderBuffer) {
    std::string source = out_["motion.mp4"];
    ASSERT_TRUE(Ffmpeg("-f lavfi -i \"testsrc2=s=352x240:r=30000/1001:d=8,noise=alls=40:allf=t\" -c:v libx264 "
                       "-preset ultrafast -qp 18 -pix_fmt yuv420p -an",
                       source));
    const struct {
        const char* duration;
        const char* output;
    } kPaths[] = {{"3", "single.vob"}, {"0", "segmented.vob"}};
    for (const auto& path : kPaths) {
        SCOPED_TRACE(path.output);
        std::string output = out_[path.output];
        ASSERT_EQ(convert_(window_, 2, source.c_str(), "1", "0", "48000", "16:9", "mpeg2", "dvd", "5000", "192", "720:480",
                           "720:480", "MyVideo", "MyVideo", "MyVideo", "30000/1001", "0", "0", output.c_str(), "0",
                           path.duration, 0, 1, "ac3", 2),
                  0);
        const testing_vcl::TVbvReport report = testing_vcl::CheckVbvFile(output);
        EXPECT_TRUE(report.Passes()) << report.Describe();
    }
}

// ---- menu encodes --------------------------------------------------------------------------

TEST_F(CorvaneEncodeTest, MenuPicturesBecomeStillVobsOfTheAskedLength) {
    struct MenuCase {
        const char* bmp;
        int standard;
        const char* seconds;
        const char* picture;
        const char* frame;
        const char* aspect;
        int withMusic;
        const char* music;
        const char* probedAspect;
    };
    std::string music = TestClips()["music.wav"];
    const MenuCase cases[] = {
        {"menu.bmp", 1, "3", "720:480", "720:480", "4/3", 1, music.c_str(), "4:3"},   // music padded to 3 s
        {"menu_pal.bmp", 2, "2", "720:576", "720:576", "16/9", 0, "NoFile", "16:9"},  // silence
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bmp);
        std::string output = out_["Title.vob"];
        std::string bmp = TestClips()[c.bmp];
        ASSERT_EQ(menu_(window_, c.standard, bmp.c_str(), c.seconds, c.picture, c.frame, c.aspect, output.c_str(),
                        c.withMusic, c.music),
                  0);
        auto facts = Probe(output);
        int height = c.standard == 2 ? 576 : 480;
        EXPECT_EQ(facts["v.codec_name"], "mpeg2video");
        EXPECT_EQ(facts["v.height"], std::to_string(height));
        EXPECT_EQ(facts["v.display_aspect_ratio"], c.probedAspect);
        EXPECT_EQ(facts["a.codec_name"], "ac3");
        EXPECT_NEAR(VideoSeconds(facts), std::atof(c.seconds), 0.1);
        EXPECT_NEAR(AudioSeconds(facts), std::atof(c.seconds), 0.1);
        auto picture = PictureAt(output, 0.5, 720, height);
        ASSERT_FALSE(picture.empty());
        EXPECT_TRUE(Near(PixelOf(picture, 720, 360, height / 2), kBlue));
        fs::remove(output);
    }
}

// ---- the blocking call ---------------------------------------------------------------------

TEST_F(CorvaneEncodeTest, TimerFiresDuringTheEncodeAndStopEndsItLeavingNothing) {
    std::vector<std::array<std::int32_t, 3>> polls;
    int reentered = 1;
    TTimer timer(nullptr);
    // Often enough that the stop comes early however fast the machine encodes the small clip.
    timer.SetInterval(100);
    timer.OnTimer = [&](TObject*) {
        std::array<std::int32_t, 3> info{};
        info_(info.data());
        polls.push_back(info);
        if (polls.size() == 1) {
            std::string other = out_["other.vob"];
            reentered = Convert(TestClips()["wide.mp4"], "0", "0", "720:480", "720:480", "4:3", 1, other);
        }
        if (polls.size() >= 2 && info[2] > 0) stop_();
    };
    timer.SetEnabled(true);
    std::string output = out_["long.vob"];
    int result = Convert(TestClips()["long.mp4"], "0", "0", "720:480", "720:480", "4:3", 1, output);
    timer.SetEnabled(false);
    EXPECT_EQ(result, -1) << "a stopped encode did not write its output";
    EXPECT_EQ(reentered, -1) << "a second encode during the first is refused";
    ASSERT_GE(polls.size(), 2u) << "the timer fired while the call blocked";
    EXPECT_GT(polls.back()[2], polls.front()[2]) << "the frame count rises";
    EXPECT_GE(polls.back()[0], polls.front()[0]);
    EXPECT_GT(polls.back()[1], 0) << "frames per second";
    std::int32_t after[3] = {};
    info_(after);
    EXPECT_LT(after[2], 120 * 30 / 2) << "stopped well before the end";
    ExpectFolderEmpty();
}

int ThreadCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/task")) ++count;
    return count;
}

TEST_F(CorvaneEncodeTest, StopAndFailureEndEveryStage) {
    const int threads = ThreadCount();
    // Stopped at the first frame, and once the stretches are shared out among the encoders.
    for (int stopAt : {1, 400}) {
        SCOPED_TRACE(stopAt);
        int during = 0;
        TTimer timer(nullptr);
        timer.SetInterval(50);
        timer.OnTimer = [&](TObject*) {
            std::int32_t info[3] = {};
            info_(info);
            if (info[2] >= stopAt && during == 0) {
                during = ThreadCount();
                stop_();
            }
        };
        timer.SetEnabled(true);
        int result = Convert(TestClips()["long.mp4"], "0", "0", "720:480", "720:480", "4:3", 1, out_["long.vob"]);
        timer.SetEnabled(false);
        EXPECT_EQ(result, -1);
        // Decoding, scaling, video and sound encoding each on a thread, besides the codecs' own.
        EXPECT_GE(during, threads + 5) << "the stages ran side by side";
        EXPECT_EQ(ThreadCount(), threads) << "every thread of the stopped encode was joined";
    }
    // A failure found midway (a start past the end: no picture after the seek) ends them too.
    EXPECT_EQ(Convert(TestClips()["wide.mp4"], "60", "0", "720:480", "720:480", "4:3", 1, out_["late.vob"]), -1);
    EXPECT_EQ(ThreadCount(), threads);
    ExpectFolderEmpty();
}

// ---- failures ------------------------------------------------------------------------------

TEST_F(CorvaneEncodeTest, FailedEncodesLeaveNoOutput) {
    std::string output = out_["bad.vob"];
    std::string good = TestClips()["wide.mp4"];
    std::string missing = TestClips()["missing.mp4"];
    std::string music = TestClips()["music.wav"];   // sound, no picture
    EXPECT_EQ(Convert(missing, "0", "0", "720:480", "720:480", "4:3", 1, output), -1);
    EXPECT_EQ(Convert(music, "0", "0", "720:480", "720:480", "4:3", 1, output), -1);
    EXPECT_EQ(Convert(good, "0", "0", "720:480", "720:480", "5:4", 1, output), -1) << "not a DVD aspect";
    EXPECT_EQ(Convert(good, "0", "0", "720:480", "abc", "4:3", 1, output), -1) << "no frame size";
    EXPECT_EQ(Convert(good, "60", "0", "720:480", "720:480", "4:3", 1, output), -1) << "starts after the end";
    EXPECT_EQ(Convert(good, "0", "0", "720:480", "720:480", "4:3", 1, ""), -1);
    EXPECT_EQ(Convert(good, "0", "0", "720:480", "720:480", "4:3", 1, out_["no/such/folder/x.vob"]), -1);
    std::string bmp = TestClips()["menu.bmp"];
    EXPECT_NE(menu_(window_, 1, missing.c_str(), "2", "720:480", "720:480", "4/3", output.c_str(), 0, "NoFile"), 0);
    EXPECT_NE(menu_(window_, 1, bmp.c_str(), "0", "720:480", "720:480", "4/3", output.c_str(), 0, "NoFile"), 0)
        << "no length";
    EXPECT_NE(menu_(window_, 1, bmp.c_str(), "2", "720:480", "720:480", "4/3", nullptr, 0, "NoFile"), 0);
    EXPECT_NE(menu_(window_, 1, bmp.c_str(), "2", "720:480", "720:480", "4/3", output.c_str(), 1, bmp.c_str()), 0)
        << "music that is no sound";
    EXPECT_NE(menu_(window_, 1, bmp.c_str(), "2", "720:480", "720:480", "4/3", output.c_str(), 1, missing.c_str()), 0)
        << "music that is gone";
    ExpectFolderEmpty();
    std::int32_t info[3] = {-1, -1, -1};
    EXPECT_EQ(info_(info), 0);
    EXPECT_EQ(info[2], 0);
    EXPECT_EQ(stop_(), 0) << "nothing to stop";
    ASSERT_EQ(Convert(good, "0", "1", "720:480", "720:480", "4:3", 1, output), 0) << "a stop with nothing running is forgotten";
}

TEST_F(CorvaneEncodeTest, FailedEncodesSayWhy) {
    std::string output = out_["bad.vob"];
    std::string good = TestClips()["wide.mp4"];
    std::string missing = TestClips()["missing.mp4"];
    struct WhyCase {
        std::string source;
        const char* start;
        const char* frame;
        const char* aspect;
        std::string reason;
    };
    // A FIFO would block the opening until a program writes to it: refused at once.
    testing_vcl::TTempFolder special("corvane_special");
    const std::string fifo = special["pipe.mp4"];
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const WhyCase cases[] = {
        {missing, "0", "720:480", "4:3", "missing.mp4' can't be read"},
        {fifo, "0", "720:480", "4:3", "pipe.mp4' is not a regular file"},
        {special.Path(), "0", "720:480", "4:3", "' is not a regular file"},
        {TestClips()["music.wav"], "0", "720:480", "4:3", "has no picture stream"},
        {good, "0", "720:480", "5:4", "aspect '5:4' is neither 4:3 nor 16:9"},
        {good, "0", "abc", "4:3", "frame size 'abc'"},
        {good, "60", "720:480", "4:3", "no picture decodes from the start second on"},
    };
    auto lastError = [&] {
        char text[512] = {};
        lastError_(text, sizeof text);
        return std::string(text);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(Convert(c.source, c.start, "0", "720:480", c.frame, c.aspect, 1, output), -1);
        EXPECT_NE(lastError().find(c.reason), std::string::npos) << lastError();
    }
    std::string bmp = TestClips()["menu.bmp"];
    EXPECT_NE(menu_(window_, 1, bmp.c_str(), "0", "720:480", "720:480", "4/3", output.c_str(), 0, "NoFile"), 0);
    EXPECT_NE(lastError().find("menu length '0'"), std::string::npos) << lastError();
    ExpectFolderEmpty();
}

// Cut short and overwritten copies of a real clip: each gets an answer, and a failed one leaves
// nothing; none crashes or hangs.
TEST_F(CorvaneEncodeTest, DamagedSourcesGetAnAnswer) {
    std::ifstream in(TestClips()["seconds.mp4"], std::ios::binary);
    const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(original.size(), 4096u);
    std::vector<std::string> copies = {original.substr(0, 1000), original.substr(0, original.size() / 2)};
    for (std::size_t at : {std::size_t{0}, std::size_t{64}, original.size() / 3, original.size() * 2 / 3}) {
        std::string copy = original;
        for (std::size_t i = 0; i < 512 && at + i < copy.size(); ++i) copy[at + i] = static_cast<char>((i * 131 + at) & 0xFF);
        copies.push_back(copy);
    }
    for (std::size_t k = 0; k < copies.size(); ++k) {
        SCOPED_TRACE(k);
        std::string source = out_["damaged_" + std::to_string(k) + ".mp4"];
        std::ofstream(source, std::ios::binary) << copies[k];
        std::string output = out_["damaged.vob"];
        int result = Convert(source, "0", "0", "720:480", "720:480", "4:3", 1, output);
        ASSERT_TRUE(result == 0 || result == -1) << result;
        EXPECT_EQ(fs::exists(output), result == 0);
        EXPECT_FALSE(fs::exists(output + ".part"));
        fs::remove(output);
        fs::remove(source);
    }
}

// ---- a plain program -----------------------------------------------------------------------

std::string RunPeer(const std::string& arguments) {
    return Run(std::string(TEST_PEER_DIR) + "/corvane_c_peer " + Quote(std::string(TEST_PEER_DIR) + "/CorvaneDLL.so") + " " +
               arguments);
}

TEST(CorvaneEncodeCProgram, EncodesWithoutAWindow) {
    ASSERT_TRUE(TestClips().made);
    testing_vcl::TTempFolder out("corvane_encode_peer");
    std::string output = RunPeer("encode " + Quote(TestClips()["wide.mp4"]) + " 0 2 720:360 720:480 30000/1001 4:3 " +
                                 Quote(out["clip.vob"]));
    EXPECT_NE(output.find("encode 0 2 60"), std::string::npos) << output;
    EXPECT_NE(output.find("unloaded"), std::string::npos) << output;
    EXPECT_EQ(Probe(out["clip.vob"])["v.codec_name"], "mpeg2video");

    output = RunPeer("menu " + Quote(TestClips()["menu.bmp"]) + " 2 720:480 720:480 4/3 " + Quote(out["menu.vob"]) + " " +
                     Quote(TestClips()["music.wav"]));
    EXPECT_NE(output.find("menu 0"), std::string::npos) << output;
    EXPECT_NEAR(AudioSeconds(Probe(out["menu.vob"])), 2.0, 0.1);

    output = RunPeer("encode " + Quote(TestClips()["missing.mp4"]) + " 0 0 720:480 720:480 25 16:9 " + Quote(out["x.vob"]));
    EXPECT_NE(output.find("encode -1"), std::string::npos) << output;
    EXPECT_FALSE(fs::exists(out["x.vob"]));
}

}  // namespace
