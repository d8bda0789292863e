// What the designer shows is what the disc shows: a title menu laid out in the designer at 16:9
// (and at 4:3), rendered, encoded to its menu VOB by the real media library and decoded at the
// disc's display aspect, shows its button picture in the shape and size the designer's preview
// gives it.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "libs/corvane/CorvaneDLL.h"
#include "menu/SetupMenu_Window.h"
#include "platform/vcl/PngWriter.h"
#include "production/MenuEncode.h"
#include "production/MenuPictures.h"
#include "production/RunParameters.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDist = fs::path(TEST_PEER_DIR) / ".." / ".." / "dist";
const fs::path kRenders = fs::path(TEST_PEER_DIR) / ".." / ".." / "renders" / "menu_aspect";

// The bounding box of the clearly red pixels of a picture.
TRect RedBox(TBitmap& Picture) {
    TRect box(Picture.GetWidth(), Picture.GetHeight(), -1, -1);
    for (int y = 0; y < Picture.GetHeight(); ++y)
        for (int x = 0; x < Picture.GetWidth(); ++x) {
            const COLORREF c = Picture.GetPixelColor(x, y);
            const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
            if (r < 150 || g > 90 || b > 90) continue;
            box.Left = std::min(box.Left, x);
            box.Top = std::min(box.Top, y);
            box.Right = std::max(box.Right, x + 1);
            box.Bottom = std::max(box.Bottom, y + 1);
        }
    return box;
}

double Ratio(const TRect& R) { return R.Height() > 0 ? static_cast<double>(R.Width()) / R.Height() : 0.0; }

class MenuAspect : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        media = dlopen((String(TEST_PEER_DIR) + "/CorvaneDLL.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        encode = media ? reinterpret_cast<X_SetPar_BMP2VOB_fn>(dlsym(media, "X_SetPar_BMP2VOB")) : nullptr;
        ASSERT_NE(encode, nullptr) << "the media module beside the test program";
        savedExePath = ExePath;
        ExePath = kDist.string() + "/";
        i_CreateMenuSafeDistance = 10;
        s_BackgroundSrcFile.clear();
        designer = new TSetupMenuWindow(nullptr);
        SetupMenuWindow = designer;
        // A 4:3 clip whose picture is red from edge to edge.
        auto* clip = new TClipInfo();
        clip->SetFileName("/v/red.mpg");
        clip->SetMediaInfo(60, 25.0f, 5000.0f, 720, 576, 2, 48000, 0, 192.0f, 0);
        std::unique_ptr<TBitmap> frame(testing_vcl::SolidBitmap(720, 576, clRed));
        clip->SetPicture(frame.get());
        ClipInfo.push_back(clip);
        designer->CreateClipItem(clip);
        designer->ArrangeClipItems();
    }
    void TearDown() override {
        delete designer;
        SetupMenuWindow = nullptr;
        Pubfunction::ClearClipInfo();
        Pubfunction::ClearTitleMenuLabel();
        Pubfunction::FreeSharedBitmaps();
        s_BackgroundSrcFile.clear();
        ExePath = savedExePath;
        if (media) dlclose(media);
    }

    void* media = nullptr;
    X_SetPar_BMP2VOB_fn encode = nullptr;
    TSetupMenuWindow* designer = nullptr;
    String savedExePath;
};

TEST_P(MenuAspect, TheMenuVobShowsTheButtonPictureAsTheDesignerDoes) {
    const int aspect = GetParam();
    if (aspect == 2) designer->SetAspect16x9(); else designer->SetAspect4x3();
    designer->FormShow(designer);
    designer->Timer_CreateMenuTimer(designer);
    designer->Show();
    testing_vcl::RunFor(50);
    ASSERT_NE(ClipInfo[0]->TitleButton, nullptr);

    // The designer's preview, as the person sees it.
    TBitmap preview;
    testing_vcl::Snapshot(designer->Panel_MenuPreview, &preview);
    const TRect shown = RedBox(preview);
    ASSERT_GT(shown.Width(), 20);
    ASSERT_GT(shown.Height(), 20);

    // The disc's title menu, NTSC, through the real encode, decoded at its display aspect.
    testing_vcl::TTempFolder dir("menu_aspect");
    TMenuPictures pictures;
    pictures.s_ProgramFolder = ExePath;
    pictures.Frame = MenuFrameFor(aspect, NtscStandard);
    std::unique_ptr<TBitmap> menu(pictures.DrawTitleMenuImage());
    menu->SaveToFile(dir["Title.bmp"]);
    const TStandardParameters standard = StandardParameters(NtscStandard);
    const TMenuVobArguments a = MenuVobArguments({NtscStandard, dir["Title.bmp"], dir["Title.vob"], "", 5, standard.s_FrameSize,
                                                  standard.s_FrameSize, AspectParameters(aspect).s_MenuAspect});
    ASSERT_EQ(encode(nullptr, a.i_VideoStandard, a.s_MenuBmp.c_str(), a.s_Length.c_str(), a.s_MenuFrameSize.c_str(),
                     a.s_FrameSize.c_str(), a.s_MenuAspect.c_str(), a.s_MenuVob.c_str(), a.i_WithMusic, a.s_MenuMusic.c_str()),
              0);
    ASSERT_TRUE(testing_vcl::Ffmpeg("-i '" + dir["Title.vob"] + "' -frames:v 1 -vf \"scale=trunc(iw*sar/2)*2:ih\" -pix_fmt bgr24",
                                    dir["shown.bmp"]));
    TBitmap disc;
    disc.LoadFromFile(dir["shown.bmp"]);
    fs::create_directories(kRenders);
    SaveBitmapToPng(preview, (kRenders / ("designer_" + std::to_string(aspect) + ".png")).string());
    SaveBitmapToPng(disc, (kRenders / ("disc_" + std::to_string(aspect) + ".png")).string());
    const TRect onDisc = RedBox(disc);
    ASSERT_GT(onDisc.Width(), 20);

    // The same shape, and the same share of the picture's width and height.
    EXPECT_NEAR(Ratio(onDisc), Ratio(shown), 0.05 * Ratio(shown)) << "designer " << shown.Width() << "x" << shown.Height()
                                                                   << ", disc " << onDisc.Width() << "x" << onDisc.Height();
    EXPECT_NEAR(static_cast<double>(onDisc.Width()) / disc.GetWidth(), static_cast<double>(shown.Width()) / preview.GetWidth(), 0.01);
    EXPECT_NEAR(static_cast<double>(onDisc.Height()) / disc.GetHeight(), static_cast<double>(shown.Height()) / preview.GetHeight(),
                0.01);
}

INSTANTIATE_TEST_SUITE_P(BothAspects, MenuAspect, ::testing::Values(2, 1), [](const auto& Info) {
    return Info.param == 2 ? std::string("Wide16x9") : std::string("Standard4x3");
});

}  // namespace
