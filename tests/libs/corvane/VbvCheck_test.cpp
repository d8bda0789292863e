// The buffer checker the encode tests rely on: it must let a rate-controlled stream through and
// catch one whose pictures the DVD decoder buffer cannot hold.
#include "tests/support/VbvCheck.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/support/TempFolder.h"

using namespace testing_vcl;

namespace {

std::vector<std::uint8_t> ReadAll(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const char kDvdRate[] = "-maxrate 9800k -bufsize 1835008 -g 15 -bf 2 -an ";

}  // namespace

// An elementary stream, and a VOB read through its video packets.
TEST(VbvCheck, RateControlledStreamsPass) {
    const struct {
        const char* seconds;
        const char* kbps;
        const char* format;
        std::size_t pictures;
    } kStreams[] = {{"3", "6000", "mpeg2video", 75u}, {"2", "4000", "vob", 50u}};
    for (const auto& c : kStreams) {
        SCOPED_TRACE(c.format);
        TTempFolder folder("vbvcheck");
        const std::string file = folder[std::string("ok.") + c.format];
        ASSERT_TRUE(Ffmpeg(std::string("-f lavfi -i testsrc2=s=352x240:r=25:d=") + c.seconds + " -c:v mpeg2video -b:v " +
                               c.kbps + "k " + kDvdRate + "-f " + c.format,
                           file));
        const TVbvReport report = CheckVbvFile(file);
        EXPECT_TRUE(report.Passes()) << report.Describe();
        EXPECT_EQ(report.pictures, c.pictures);
    }
}

// Two encodes joined, the second far above the rate the first declares: the join a segmented
// encoder must never produce.
TEST(VbvCheck, JoinAboveTheDeclaredRateUnderflows) {
    TTempFolder folder("vbvcheck");
    ASSERT_TRUE(Ffmpeg(std::string("-f lavfi -i testsrc2=s=720x480:r=25:d=1 -c:v mpeg2video -b:v 4000k ") + kDvdRate +
                           "-f mpeg2video",
                       folder["calm.m2v"]));
    ASSERT_TRUE(Ffmpeg("-f lavfi -i 'nullsrc=s=720x480:r=25:d=2,geq=random(1)*255:128:128' -c:v mpeg2video -qscale:v 1 "
                       "-qmin 1 -g 15 -an -f mpeg2video",
                       folder["noise.m2v"]));
    std::vector<std::uint8_t> joined = ReadAll(folder["calm.m2v"]);
    const std::vector<std::uint8_t> noise = ReadAll(folder["noise.m2v"]);
    joined.insert(joined.end(), noise.begin(), noise.end());
    const TVbvReport report = CheckVbv(joined);
    EXPECT_FALSE(report.Passes()) << report.Describe();
    EXPECT_GE(report.underflowAt, 25);
}

TEST(VbvCheck, NoiseAboveTheDvdRateUnderflows) {
    TTempFolder folder("vbvcheck");
    ASSERT_TRUE(Ffmpeg("-f lavfi -i 'nullsrc=s=720x480:r=25:d=2,geq=random(1)*255:128:128' -c:v mpeg2video -b:v 30000k "
                       "-maxrate 30000k -bufsize 1835008 -g 15 -an -f mpeg2video",
                       folder["fast.m2v"]));
    const TVbvReport report = CheckVbvFile(folder["fast.m2v"]);
    EXPECT_FALSE(report.Passes()) << report.Describe();
    EXPECT_GE(report.underflowAt, 0);
}
