// The menu artwork the build makes beside the program: the two cursor pictures share one shape
// and hold only the mask key and their mask's frame colour; the root-menu templates are menus.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/vcl/Graphics.h"
#include "production/MenuPictures.h"
#include "tests/libs/dozezedav/DozezedavFixture.h"

namespace {

const std::string kRes = std::string(TEST_PEER_DIR) + "/../../dist/RES/";

TEST(productionMenuArtTest, CursorsAreOneShapeInTwoColours) {
    TBitmap on, down;
    on.LoadFromFile(kRes + "MouseOn.bmp");
    down.LoadFromFile(kRes + "MouseDown.bmp");
    ASSERT_FALSE(on.GetEmpty());
    ASSERT_EQ(on.GetWidth(), down.GetWidth());
    ASSERT_EQ(on.GetHeight(), down.GetHeight());
    int shape = 0;
    for (int y = 0; y < on.GetHeight(); ++y) {
        for (int x = 0; x < on.GetWidth(); ++x) {
            const COLORREF a = on.GetPixelColor(x, y);
            const COLORREF b = down.GetPixelColor(x, y);
            ASSERT_TRUE(a == static_cast<COLORREF>(MaskKeyColour) || a == static_cast<COLORREF>(HighlightFrameColour))
                << x << "," << y;
            ASSERT_TRUE(b == static_cast<COLORREF>(MaskKeyColour) || b == static_cast<COLORREF>(SelectFrameColour))
                << x << "," << y;
            ASSERT_EQ(a == static_cast<COLORREF>(MaskKeyColour), b == static_cast<COLORREF>(MaskKeyColour)) << x << "," << y;
            shape += a != static_cast<COLORREF>(MaskKeyColour);
        }
    }
    EXPECT_GT(shape, 10);
    EXPECT_LT(shape, on.GetWidth() * on.GetHeight());
}

TEST(productionMenuArtTest, RootMenuTemplatesAreStillMenusWithButtons) {
    struct {
        const char* name;
        const char* height;
        const char* aspect;
    } cases[] = {{"MainSubN.vob", "480", "4:3"}, {"MainSubP.vob", "576", "4:3"},
                 {"MainSubNW.vob", "480", "16:9"}, {"MainSubPW.vob", "576", "16:9"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = kRes + c.name;
        ASSERT_TRUE(std::filesystem::exists(path));
        const std::vector<std::string> codecs = dozezedav_test::StreamCodecs(path);
        EXPECT_NE(std::find(codecs.begin(), codecs.end(), "mpeg2video"), codecs.end());
        EXPECT_NE(std::find(codecs.begin(), codecs.end(), "dvd_subtitle"), codecs.end());
        const std::string video = dozezedav_test::Capture(
            "ffprobe -v error -select_streams v -show_entries stream=height,display_aspect_ratio -of csv=p=0 " +
            dozezedav_test::ShellWord(path));
        EXPECT_EQ(video.rfind(std::string(c.height) + "," + c.aspect + ",", 0), 0u) << video;
    }
}

}  // namespace
