// The menu encode's arguments and the run values taken from the standard, the aspect and the
// clips themselves.
#include <gtest/gtest.h>

#include "model/CustomClass.h"
#include "production/MenuEncode.h"
#include "production/RunParameters.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"
#include "tests/support/TempFolder.h"

namespace {

TEST(productionMenuEncodeTest, WithoutMusicTwoSecondsAndNoFile) {
    testing_vcl::TTempFolder folder("menu_encode");
    const String music = folder["song.mp3"];
    dozezedav_test::WriteText(music, "x");
    struct {
        const char* name;
        String music;
        int withMusic;
        const char* length;
        String argument;
    } cases[] = {
        {"existing music", music, 1, "7", music},
        {"missing music", folder["none.mp3"], 0, "2", "NoFile"},
        {"no music", "", 0, "2", "NoFile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMenuVobInput in;
        in.i_VideoStandard = 1;
        in.s_MenuBmp = "/t/Title.bmp";
        in.s_MenuVob = "/t/Title.vob";
        in.s_MenuMusic = c.music;
        in.i_MenuDuration = 7;
        in.s_MenuFrameSize = "720:480";
        in.s_FrameSize = "720:480";
        in.s_MenuAspect = "16/9";
        const TMenuVobArguments a = MenuVobArguments(in);
        EXPECT_EQ(a.i_VideoStandard, 1);
        EXPECT_EQ(a.s_MenuBmp, "/t/Title.bmp");
        EXPECT_EQ(a.s_Length, c.length);
        EXPECT_EQ(a.s_MenuFrameSize, "720:480");
        EXPECT_EQ(a.s_FrameSize, "720:480");
        EXPECT_EQ(a.s_MenuAspect, "16/9");
        EXPECT_EQ(a.s_MenuVob, "/t/Title.vob");
        EXPECT_EQ(a.i_WithMusic, c.withMusic);
        EXPECT_EQ(a.s_MenuMusic, c.argument);
    }
}

TEST(productionRunParametersTest, StandardAndAspectTables) {
    EXPECT_EQ(StandardParameters(PalStandard).s_FrameSize, "720:576");
    EXPECT_EQ(StandardParameters(PalStandard).s_FrameRate, "25");
    EXPECT_EQ(StandardParameters(PalStandard).i_FrameHeight, 576);
    EXPECT_EQ(StandardParameters(NtscStandard).s_FrameSize, "720:480");
    EXPECT_EQ(StandardParameters(NtscStandard).s_FrameRate, "30000/1001");
    EXPECT_EQ(StandardParameters(NtscStandard).i_FrameHeight, 480);
    EXPECT_EQ(AspectParameters(Aspect4x3).s_MenuAspect, "4/3");
    EXPECT_EQ(AspectParameters(Aspect4x3).s_AspectRatio, "4:3");
    EXPECT_EQ(AspectParameters(Aspect4x3).i_SquareHeight, 540);
    EXPECT_EQ(AspectParameters(Aspect16x9).s_MenuAspect, "16/9");
    EXPECT_EQ(AspectParameters(Aspect16x9).s_AspectRatio, "16:9");
    EXPECT_EQ(AspectParameters(Aspect16x9).i_SquareHeight, 404);
}

struct ClipsFixture {
    std::vector<std::unique_ptr<TClipInfo>> owned;
    std::vector<TClipInfo*> list;
    void Add(int sourceHeight, int aspectCode) {
        owned.push_back(std::make_unique<TClipInfo>());
        owned.back()->i_SourceHeight = sourceHeight;
        owned.back()->i_AspectCode = aspectCode;
        list.push_back(owned.back().get());
    }
};

TEST(productionRunParametersTest, TheClipsDecideTheStandard) {
    struct {
        const char* name;
        std::vector<int> heights;
        int fallback;
        int standard;
    } cases[] = {
        {"PAL VOBs under the NTSC box", {576, 576}, NtscStandard, PalStandard},
        {"NTSC VOBs under the PAL box", {480}, PalStandard, NtscStandard},
        {"unknown heights keep the box", {0}, NtscStandard, NtscStandard},
        {"the first known height decides", {0, 480, 576}, PalStandard, NtscStandard},
        {"no clips keep the box", {}, PalStandard, PalStandard},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClipsFixture clips;
        for (int h : c.heights) clips.Add(h, 0);
        EXPECT_EQ(VideoStandardOfClips(clips.list, c.fallback), c.standard);
    }
}

TEST(productionRunParametersTest, AnAspectOutsideOneAndTwoFollowsTheFirstClip) {
    struct {
        int aspect;
        std::vector<int> codes;
        int out;
    } cases[] = {
        {1, {3}, 1}, {2, {0}, 2}, {0, {3, 0}, 2}, {0, {4}, 2}, {5, {2}, 1}, {-1, {1}, 1}, {0, {}, 1},
    };
    for (const auto& c : cases) {
        ClipsFixture clips;
        for (int code : c.codes) clips.Add(576, code);
        EXPECT_EQ(ResolveAspect(c.aspect, clips.list), c.out) << c.aspect;
    }
}

}  // namespace
