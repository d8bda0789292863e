// The clip encode over the files people have: each container with the video and sound codecs it
// usually carries, files whose sound comes first or whose picture starts late, and files with no
// sound. Each source is made here (a grey level per picture, so a picture can be told by its
// frame), converted from a trim start on, and the VOB read with FFmpeg's libraries: its length, the
// start times of its picture and sound, and the picture its first frame shows.
#include <gtest/gtest.h>

#include "libs/corvane/CorvaneDLL.h"
#include "platform/win32/Windows.h"
#include "tests/support/TempFolder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

using testing_vcl::Ffmpeg;

// The sources paint picture k flat at 16 + 8 * (k mod 28) (video range).
constexpr int kGreyCycle = 28;
constexpr int kSourceRate = 25;
constexpr double kSourceSeconds = 3.0;

struct MatrixCase {
    const char* name;     // the test's name
    const char* file;     // the source's name; its extension picks the container
    const char* encoder;  // the video encoder that must exist
    const char* video;    // its options
    const char* sound;    // the sound encoder and its options; "" for none
    double pictureLate;   // seconds the picture starts after the sound
    double soundLate;     // and the sound after the picture
    int standard;         // 1 NTSC, 2 PAL
    int start = 1;        // the trim start
    const char* duration = "0";   // seconds to convert, "0": to the end
};

const char* const kX264 = "-c:v libx264 -preset veryfast -qp 4 -pix_fmt yuv420p";   // with B-frames
const char* const kAac = "-c:a aac";

const MatrixCase kCases[] = {
    {"Mp4H264Aac", "a.mp4", "libx264", kX264, kAac, 0, 0, 2, 1, "0"},
    {"MovH264Pcm", "a.mov", "libx264", kX264, "-c:a pcm_s16le", 0, 0, 1, 1, "0"},
    {"MkvH264Aac", "a.mkv", "libx264", kX264, kAac, 0, 0, 2, 0, "0"},
    {"MkvH264AacNtsc", "a.mkv", "libx264", kX264, kAac, 0, 0, 1, 1, "1"},
    {"MkvHevcOpus", "a.mkv", "libx265", "-c:v libx265 -preset ultrafast -x265-params log-level=none:qp=4 -pix_fmt yuv420p",
     "-c:a libopus", 0, 0, 2, 0, "0"},
    {"WebmVp8Vorbis", "a.webm", "libvpx", "-c:v libvpx -deadline realtime -cpu-used 8 -b:v 2M -qmin 2 -qmax 8",
     "-c:a libvorbis", 0, 0, 1, 1, "0"},
    {"WebmVp9Opus", "a.webm", "libvpx-vp9", "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 2M -qmin 2 -qmax 8",
     "-c:a libopus", 0, 0, 2, 1, "0"},
    {"WebmAv1Opus", "a.webm", "libaom-av1", "-c:v libaom-av1 -usage realtime -cpu-used 8 -crf 10 -b:v 0",
     "-c:a libopus", 0, 0, 2, 1, "1"},
    {"AviMpeg4Mp3", "a.avi", "mpeg4", "-c:v mpeg4 -q:v 2", "-c:a libmp3lame", 0, 0, 1, 1, "0"},
    {"AviMjpegPcm", "a.avi", "mjpeg", "-c:v mjpeg -q:v 2 -pix_fmt yuvj420p", "-c:a pcm_s16le", 0, 0, 2, 1, "0"},
    {"PsMpeg1Mp2", "a.mpg", "mpeg1video", "-f mpeg -c:v mpeg1video -q:v 2", "-c:a mp2", 0, 0, 2, 1, "0"},
    {"PsMpeg2Ac3", "a.mpg", "mpeg2video", "-f mpeg -c:v mpeg2video -q:v 2 -bf 2", "-c:a ac3", 0, 0, 1, 0, "0"},
    {"TsH264Aac", "a.ts", "libx264", kX264, kAac, 0, 0, 2, 0, "0"},
    {"TsH264AacNtsc", "a.ts", "libx264", kX264, kAac, 0, 0, 1, 1, "1"},
    {"TsMpeg2Mp2", "a.ts", "mpeg2video", "-c:v mpeg2video -q:v 2 -bf 2", "-c:a mp2", 0, 0, 1, 1, "0"},
    {"M2tsH264Ac3", "a.m2ts", "libx264", kX264, "-c:a ac3 -f mpegts -mpegts_m2ts_mode 1", 0, 0, 2, 0, "0"},
    {"FlvH264Aac", "a.flv", "libx264", kX264, kAac, 0, 0, 2, 0, "0"},
    {"FlvSorensonMp3", "a.flv", "flv", "-c:v flv -q:v 2", "-c:a libmp3lame", 0, 0, 1, 0, "0"},
    {"WmvWmv2Wma2", "a.wmv", "wmv2", "-c:v wmv2 -q:v 2", "-c:a wmav2", 0, 0, 1, 0, "0"},
    {"AsfWmv1Wma1", "a.asf", "wmv1", "-c:v wmv1 -q:v 2", "-c:a wmav1", 0, 0, 2, 0, "0"},
    {"OggTheoraVorbis", "a.ogg", "libtheora", "-c:v libtheora -q:v 10", "-c:a libvorbis", 0, 0, 2, 1, "0"},
    {"ThreeGpH264Aac", "a.3gp", "libx264", "-c:v libx264 -preset veryfast -qp 4 -pix_fmt yuv420p -profile:v baseline",
     kAac, 0, 0, 1, 1, "0"},
    {"ThreeGpMpeg4Aac", "a.3gp", "mpeg4", "-c:v mpeg4 -q:v 2", kAac, 0, 0, 2, 1, "0"},
    {"Mp4H264Silent", "a.mp4", "libx264", kX264, "", 0, 0, 2, 1, "0"},
    {"MkvVp9Silent", "a.mkv", "libvpx-vp9", "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 2M -qmin 2 -qmax 8", "",
     0, 0, 1, 1, "0"},
    {"MkvPictureLate", "a.mkv", "libx264", kX264, kAac, 0.5, 0, 2, 0, "0"},
    {"MkvPictureLateNtsc", "a.mkv", "libx264", kX264, kAac, 0.3, 0, 1, 0, "1"},
    {"TsPictureLate", "a.ts", "mpeg2video", "-c:v mpeg2video -q:v 2 -bf 2", "-c:a ac3", 0.3, 0, 2, 0, "0"},
    {"TsSoundLate", "a.ts", "libx264", kX264, kAac, 0, 0.5, 1, 1, "0"},
    {"MkvSoundLate", "a.mkv", "libx264", kX264, kAac, 0, 0.4, 2, 0, "0"},
};

// The encoders this machine's ffmpeg has, asked once.
bool HasEncoder(const std::string& name) {
    static const std::string list = [] {
        std::string text;
        if (FILE* pipe = popen("ffmpeg -hide_banner -encoders 2>/dev/null", "r")) {
            char buffer[4096];
            for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, got);
            pclose(pipe);
        }
        return text;
    }();
    return list.find(" " + name + " ") != std::string::npos;
}

// The first word of the sound options is its encoder ("-c:a NAME ...").
std::string SoundEncoder(const std::string& sound) {
    const std::string lead = "-c:a ";
    if (sound.rfind(lead, 0) != 0) return "";
    return sound.substr(lead.size(), sound.find(' ', lead.size()) - lead.size());
}

// A picture's grey as its index, from the mean of the middle of its luma plane.
int GreyIndex(const AVFrame* frame) {
    const int w = frame->width, h = frame->height;
    long long sum = 0, count = 0;
    for (int y = h / 4; y < h * 3 / 4; ++y) {
        for (int x = w / 4; x < w * 3 / 4; ++x, ++count) sum += frame->data[0][static_cast<std::size_t>(y) * frame->linesize[0] + x];
    }
    double mean = count > 0 ? static_cast<double>(sum) / count : 0.0;
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
    const bool fullRange = frame->color_range == AVCOL_RANGE_JPEG || (format && std::string(format->name).rfind("yuvj", 0) == 0);
    if (fullRange) mean = 16 + mean * 219 / 255;
    return static_cast<int>(std::lround((mean - 16) / 8)) % kGreyCycle;
}

struct Picture {
    double time;   // from the file's start
    int grey;
};

// What FFmpeg's libraries read in a file: each stream's first time and its frames, times from
// the file's start.
struct FileFacts {
    bool read = false;
    double videoStart = std::numeric_limits<double>::quiet_NaN();
    double audioStart = std::numeric_limits<double>::quiet_NaN();
    long long videoFrames = 0;   // packets, one frame each after the parser
    long long audioFrames = 0;
    double audioSeconds = 0;     // the sound packets' durations
    double frameRate = 0;
    std::vector<Picture> pictures;   // decoded, in the order shown (all when asked, else the first)
};

enum class Decode { First, All };

FileFacts Read(const std::string& file, Decode decode) {
    FileFacts facts;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, file.c_str(), nullptr, nullptr) < 0) return facts;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const AVCodec* decoder = nullptr;
    int video = -1, audio = -1;
    if (avformat_find_stream_info(format, nullptr) >= 0 &&
        (video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0)) >= 0 && decoder &&
        (codec = avcodec_alloc_context3(decoder)) &&
        avcodec_parameters_to_context(codec, format->streams[video]->codecpar) >= 0 && avcodec_open2(codec, decoder, nullptr) >= 0) {
        audio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        const double origin = format->start_time != AV_NOPTS_VALUE ? format->start_time / double(AV_TIME_BASE) : 0.0;
        const AVStream* v = format->streams[video];
        facts.frameRate = av_q2d(v->avg_frame_rate.num > 0 ? v->avg_frame_rate : v->r_frame_rate);
        auto take = [&] {
            while (avcodec_receive_frame(codec, frame) == 0) {
                // A picture without a time follows the one before it.
                const double time = frame->best_effort_timestamp != AV_NOPTS_VALUE
                                        ? frame->best_effort_timestamp * av_q2d(v->time_base) - origin
                                    : facts.pictures.empty() ? 0.0
                                                             : facts.pictures.back().time + 1.0 / facts.frameRate;
                if (decode == Decode::All || facts.pictures.empty()) facts.pictures.push_back({time, GreyIndex(frame)});
                av_frame_unref(frame);
            }
        };
        while (av_read_frame(format, packet) >= 0) {
            const AVStream* stream = format->streams[packet->stream_index];
            const double at = packet->pts == AV_NOPTS_VALUE ? std::numeric_limits<double>::quiet_NaN()
                                                            : packet->pts * av_q2d(stream->time_base) - origin;
            if (packet->stream_index == video) {
                ++facts.videoFrames;
                if (!std::isnan(at) && !(facts.videoStart <= at)) facts.videoStart = at;
                if (decode == Decode::All || facts.pictures.empty()) {
                    avcodec_send_packet(codec, packet);
                    take();
                }
            } else if (packet->stream_index == audio) {
                ++facts.audioFrames;
                facts.audioSeconds += packet->duration * av_q2d(stream->time_base);
                if (!std::isnan(at) && !(facts.audioStart <= at)) facts.audioStart = at;
            }
            av_packet_unref(packet);
        }
        avcodec_send_packet(codec, nullptr);
        take();
        std::stable_sort(facts.pictures.begin(), facts.pictures.end(),
                         [](const Picture& a, const Picture& b) { return a.time < b.time; });
        facts.read = true;
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    return facts;
}

// The greys a first frame at second start may show: the picture on screen at that moment, and
// one that comes within half an output frame after it (its frame time may round to 0).
std::vector<int> GreysAt(const std::vector<Picture>& pictures, double start, double outputRate) {
    std::vector<int> greys;
    const Picture* shown = pictures.empty() ? nullptr : &pictures.front();
    for (const Picture& p : pictures) {
        if (p.time <= start) shown = &p;
    }
    if (shown) greys.push_back(shown->grey);
    for (const Picture& p : pictures) {
        if (p.time > start && p.time < start + 0.5 / outputRate) greys.push_back(p.grey);
    }
    return greys;
}

// Where the source's picture ends: its last picture's time and one frame.
double PictureEnd(const std::vector<Picture>& pictures) {
    return pictures.empty() ? 0.0 : pictures.back().time + 1.0 / kSourceRate;
}

class ConvertMatrix : public ::testing::TestWithParam<MatrixCase> {
protected:
    void SetUp() override {
        module_ = LoadLibraryA("CorvaneDLL.dll");
        ASSERT_NE(module_, nullptr) << "CorvaneDLL.so beside the test program";
        convert_ = reinterpret_cast<X_SetPar_D2MPEG_fn>(GetProcAddress(module_, "X_SetPar_D2MPEG"));
        lastError_ = reinterpret_cast<X_GetLastErrorText_fn>(GetProcAddress(module_, "X_GetLastErrorText"));
        ASSERT_TRUE(convert_ && lastError_);
        ASSERT_FALSE(folder_.Path().empty());
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }

    // The source: a grey per picture at 25 fps and a tone, the later one offset.
    bool MakeSource(const MatrixCase& c, const std::string& path) {
        const std::string seconds = std::to_string(kSourceSeconds);
        std::string picture = "-f lavfi -i \"nullsrc=s=176x144:r=" + std::to_string(kSourceRate) + ":d=" + seconds +
                              ",geq=lum='16+8*mod(N," + std::to_string(kGreyCycle) + ")':cb=128:cr=128\" ";
        std::string sound = "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + seconds + " ";
        if (c.pictureLate > 0) picture = "-itsoffset " + std::to_string(c.pictureLate) + " " + picture;
        if (c.soundLate > 0) sound = "-itsoffset " + std::to_string(c.soundLate) + " " + sound;
        const bool silent = !*c.sound;
        return Ffmpeg(picture + (silent ? "" : sound) + c.video + " " + (silent ? "-an" : c.sound), path);
    }

    int Convert(const std::string& source, int start, const std::string& duration, int standard, const std::string& output) {
        const char* frame = standard == 2 ? "720:576" : "720:480";
        const char* rate = standard == 2 ? "25" : "30000/1001";
        const std::string startText = std::to_string(start);
        return convert_(nullptr, 2, source.c_str(), "1", startText.c_str(), "48000", "4:3", "mpeg2", "dvd", "4000", "192", frame, frame,
                        "MyVideo", "MyVideo", "MyVideo", rate, "0", "0", output.c_str(), "0", duration.c_str(), 0, standard,
                        "ac3", 2);
    }

    std::string LastError() {
        char text[512] = {};
        lastError_(text, sizeof text);
        return text;
    }

    testing_vcl::TTempFolder folder_{"corvane_matrix"};
    HMODULE module_ = nullptr;
    X_SetPar_D2MPEG_fn convert_ = nullptr;
    X_GetLastErrorText_fn lastError_ = nullptr;
};

TEST_P(ConvertMatrix, ConvertsWithPictureAndSoundTogetherFromTheTrimStart) {
    const MatrixCase& c = GetParam();
    if (!HasEncoder(c.encoder)) GTEST_SKIP() << "this ffmpeg has no " << c.encoder << " encoder to make the source";
    const std::string soundEncoder = SoundEncoder(c.sound);
    if (!soundEncoder.empty() && !HasEncoder(soundEncoder)) GTEST_SKIP() << "this ffmpeg has no " << soundEncoder << " encoder";
    const std::string source = folder_[c.file];
    ASSERT_TRUE(MakeSource(c, source)) << "ffmpeg could not make " << c.file;
    const FileFacts in = Read(source, Decode::All);
    ASSERT_TRUE(in.read);
    ASSERT_GE(in.pictures.size(), static_cast<std::size_t>(kSourceSeconds * kSourceRate) - 1);

    const std::string output = folder_["clip.vob"];
    ASSERT_EQ(Convert(source, c.start, c.duration, c.standard, output), 0) << LastError();
    const FileFacts out = Read(output, Decode::First);
    ASSERT_TRUE(out.read);
    const double rate = c.standard == 2 ? 25.0 : 30000.0 / 1001;
    EXPECT_NEAR(out.frameRate, rate, 0.01);

    // As long as the trimmed source: from the start to the picture's end, or the asked seconds.
    const double expected = *c.duration != '0' ? std::atof(c.duration) : PictureEnd(in.pictures) - c.start;
    const double pictureSeconds = out.videoFrames / rate;
    EXPECT_NEAR(pictureSeconds, expected, 1.5 / rate) << out.videoFrames << " frames";
    ASSERT_GT(out.audioFrames, 0) << "sound, or silence where the source has none";
    EXPECT_NEAR(out.audioSeconds, pictureSeconds, 0.05) << "the sound as long as the picture";

    // Both begin together on the disc.
    ASSERT_FALSE(std::isnan(out.videoStart));
    ASSERT_FALSE(std::isnan(out.audioStart));
    EXPECT_NEAR(out.audioStart, out.videoStart, 0.5 / rate) << "picture " << out.videoStart << " s, sound " << out.audioStart << " s";

    // The first frame is the source's picture of the trim start (the first picture when the
    // picture starts later than that).
    ASSERT_FALSE(out.pictures.empty());
    const std::vector<int> greys = GreysAt(in.pictures, c.start, rate);
    EXPECT_NE(std::find(greys.begin(), greys.end(), out.pictures.front().grey), greys.end())
        << "first frame shows picture " << out.pictures.front().grey << ", the source at second " << c.start << " shows "
        << (greys.empty() ? -1 : greys.front());
}

INSTANTIATE_TEST_SUITE_P(Files, ConvertMatrix, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<MatrixCase>& info) { return std::string(info.param.name); });

// A program's own peak memory in kB (its exit status in status), run with its output dropped.
long PeakKilobytes(const std::vector<std::string>& arguments, int& status) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout)) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    struct rusage usage {};
    status = -1;
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return -1;
    return usage.ru_maxrss;
}

// Motion JPEG at the largest size taken: a picture of 200 MB (4:4:4) is decoded no larger than
// the DVD frame needs, so the encode keeps within the 300 MB a 4K clip is allowed.
TEST(ConvertHugePictures, MotionJpegOf8192SquareKeepsTheMemorySmall) {
    testing_vcl::TTempFolder folder("corvane_huge");
    const std::string source = folder["huge.avi"];
    ASSERT_TRUE(Ffmpeg("-f lavfi -i color=c=0x3050E0:s=8192x8192:r=5 -frames:v 2 -c:v mjpeg -pix_fmt yuvj444p -q:v 5", source));
    const std::string output = folder["huge.vob"];
    const std::string peer = std::string(TEST_PEER_DIR) + "/corvane_c_peer";
    int status = 0;
    const long peak = PeakKilobytes({peer, std::string(TEST_PEER_DIR) + "/CorvaneDLL.so", "encode", source, "0", "0",
                                     "720:576", "720:576", "25", "4:3", output},
                                    status);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, 300L * 1024) << peak / 1024 << " MB";
    const FileFacts out = Read(output, Decode::First);
    ASSERT_TRUE(out.read);
    EXPECT_NEAR(out.videoFrames / 25.0, 0.4, 0.05);
    // The colour's luma (BT.601, video range): 16 + (65.481 R + 128.553 G + 24.966 B) / 255.
    ASSERT_FALSE(out.pictures.empty());
    const double luma = 16 + (65.481 * 0x30 + 128.553 * 0x50 + 24.966 * 0xE0) / 255;
    EXPECT_NEAR(16 + 8 * out.pictures.front().grey, luma, 8) << "the picture itself";
}

}  // namespace
