#include "model/CustomClass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <set>

#include "core/Pubfunction.h"
#include "model/SetupClip_WindowRows.h"
#include "model/MenuObjects.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

using testing_vcl::SolidBitmap;
using testing_vcl::TDeathWatch;

namespace {

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;

// A clip as its creators make it: file name and media information at once.
TClipInfo* MakeClip(int Width, int Height, int Code, int Flag, int Duration = 60) {
    auto* clip = new TClipInfo();
    clip->SetFileName("/videos/holiday.mpg");
    clip->SetMediaInfo(Duration, 25.0f, 5000.0f, Width, Height, Code, 48000, 7, 192.0f, Flag);
    return clip;
}

class ClipInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(LanguageIni, nullptr);  // the built-in message texts
        SrtEnabledBmp = SolidBitmap(25, 73, Red);
        SrtDisabledBmp = SolidBitmap(25, 73, Blue);
    }
    void TearDown() override {
        Pubfunction::ClearClipInfo();
        Pubfunction::FreeSharedBitmaps();
    }
    static TColor IconColour(TClipInfo* Clip) {
        return Clip->SrtIcon->GetPicture()->GetBitmap()->GetCanvas()->GetPixels(12, 36);
    }
};

// ---- construction and media information ---------------------------------------------------------

TEST_F(ClipInfoTest, ConstructorTakesTheGlobalDefaultsAndMakesOnlyTheIcon) {
    i_FontSize = 31;
    i_SubTitleLanguageCodeIndex = 4;
    TClipInfo clip;
    EXPECT_EQ(clip.i_SubtitleFontSize, 31);
    EXPECT_EQ(clip.i_SubtitleLanguageIndex, 4);
    EXPECT_EQ(clip.s_SubtitleFontName, "Tahoma");
    EXPECT_TRUE(clip.b_SubtitleEnabled);
    EXPECT_FALSE(clip.b_StretchToDisplay);
    EXPECT_DOUBLE_EQ(clip.d_AspectRatio, 1.0);
    ASSERT_NE(clip.SrtIcon, nullptr);
    EXPECT_EQ(clip.SrtIcon->Clip, &clip);
    EXPECT_EQ(IconColour(&clip), Blue);
    EXPECT_EQ(clip.ListRow, nullptr);
    EXPECT_EQ(clip.Picture, nullptr);
    EXPECT_EQ(clip.Thumbnail, nullptr);
    EXPECT_EQ(clip.MenuTile, nullptr);
    EXPECT_EQ(clip.TitleButton, nullptr);
    EXPECT_EQ(clip.ChapterMenu, nullptr);
}

TEST_F(ClipInfoTest, MediaInfoGivesTheDisplaySizeOfTheAspectCode) {
    struct Case {
        int w, h, code, flag;
        int displayHeight;
        bool stretch;
    };
    const Case cases[] = {
        {720, 480, 0, 0, 480, true},  {720, 480, 1, 0, 720, true},  {720, 480, 2, 0, 540, true},
        {720, 480, 3, 0, 405, true},  {720, 480, 4, 0, 325, true},  {720, 480, 3, 1, 480, false},
        {720, 576, 2, 5, 576, false}, {720, 480, 5, 0, 480, true},  {720, 480, -1, 0, 480, true},
        {720, 480, 99, 0, 480, true}, {1920, 1080, 3, 0, 1080, true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TClipInfo> clip(MakeClip(c.w, c.h, c.code, c.flag));
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " code " << c.code << " flag " << c.flag);
        EXPECT_EQ(clip->i_DisplayWidth, c.w);
        EXPECT_EQ(clip->i_DisplayHeight, c.displayHeight);
        EXPECT_EQ(clip->b_StretchToDisplay, c.stretch);
        EXPECT_DOUBLE_EQ(clip->d_AspectRatio, static_cast<double>(c.w) / c.displayHeight);
        EXPECT_EQ(clip->i_SourceHeight, c.h);
    }
}

TEST_F(ClipInfoTest, MediaInfoStoresEveryWordAndResetsRangeLetterboxAndSubtitle) {
    std::unique_ptr<TClipInfo> clip(MakeClip(720, 480, 2, 0, 100));
    clip->SetTrim(10, 20);
    clip->b_AddLetterBox = false;
    clip->SetSubtitleFile("/nowhere/x.srt");
    clip->SetMediaInfo(90, 29.97f, 6000.5f, 352, 288, 3, 44100, 12, 128.0f, 0);
    EXPECT_EQ(clip->i_Duration, 90);
    EXPECT_FLOAT_EQ(clip->f_FrameRate, 29.97f);
    EXPECT_FLOAT_EQ(clip->f_VideoBitrate, 6000.5f);
    EXPECT_EQ(clip->i_Width, 352);
    EXPECT_EQ(clip->i_Height, 288);
    EXPECT_EQ(clip->i_AspectCode, 3);
    EXPECT_EQ(clip->i_AudioSampleRate, 44100);
    EXPECT_EQ(clip->i_InfoWord7, 12);
    EXPECT_FLOAT_EQ(clip->f_AudioBitrate, 128.0f);
    EXPECT_EQ(clip->i_InfoFlag, 0);
    EXPECT_EQ(clip->i_TrimStart, 0);
    EXPECT_EQ(clip->i_TrimEnd, 90);
    EXPECT_TRUE(clip->b_AddLetterBox);
    EXPECT_EQ(clip->s_SubtitleFile, "");
}

// Zero or negative sizes from a broken file must give finite, positive ratios.
TEST_F(ClipInfoTest, ZeroSizesGiveAUsableRatioAndPictureWithoutFault) {
    struct Case {
        int w, h, code, flag;
        int displayHeight;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0}, {720, 0, 0, 0, 0}, {0, 480, 0, 0, 480}, {0, 480, 3, 0, 0},
        {720, 0, 3, 0, 405}, {0, 0, 7, 0, 0}, {-720, 480, 3, 0, -405}, {720, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " code " << c.code);
        std::unique_ptr<TClipInfo> clip(MakeClip(c.w, c.h, c.code, c.flag));
        EXPECT_EQ(clip->i_DisplayHeight, c.displayHeight);
        double r = clip->d_AspectRatio;
        EXPECT_TRUE(std::isfinite(r) && r > 0) << r;
        std::unique_ptr<TBitmap> frame(SolidBitmap(64, 48, Red));
        clip->SetPicture(frame.get());
        ASSERT_NE(clip->Picture, nullptr);
        EXPECT_GE(clip->i_ThumbWidth, 4);
        EXPECT_LE(clip->i_ThumbWidth, 296);
        EXPECT_GE(clip->i_ThumbHeight, 4);
        EXPECT_LE(clip->i_ThumbHeight, 220);
        EXPECT_EQ(clip->i_ThumbWidth % 4, 0);
        EXPECT_EQ(clip->i_ThumbHeight % 4, 0);
    }
}

TEST(TruncOr, TruncatesTowardZeroOrFallsBack) {
    EXPECT_EQ(TruncOr(405.9, 7), 405);
    EXPECT_EQ(TruncOr(-405.9, 7), -405);
    EXPECT_EQ(TruncOr(std::numeric_limits<double>::infinity(), 7), 7);
    EXPECT_EQ(TruncOr(-std::numeric_limits<double>::infinity(), 7), 7);
    EXPECT_EQ(TruncOr(std::nan(""), 7), 7);
    EXPECT_EQ(TruncOr(3e9, 7), 7);
    EXPECT_EQ(TruncOr(-3e9, 7), 7);
    EXPECT_EQ(TruncOr(2147483647.5, 7), 2147483647);
}

TEST(AspectRatioOfCode, TableAndOutOfRangeCodes) {
    EXPECT_DOUBLE_EQ(AspectRatioOfCode(0, 720, 480), 1.5);
    EXPECT_DOUBLE_EQ(AspectRatioOfCode(1, 720, 480), 1.0);
    EXPECT_DOUBLE_EQ(AspectRatioOfCode(2, 720, 480), 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(AspectRatioOfCode(3, 720, 480), 16.0 / 9.0);
    EXPECT_DOUBLE_EQ(AspectRatioOfCode(4, 720, 480), 2.21);
    EXPECT_DOUBLE_EQ(AspectRatioOfCode(5, 720, 480), 1.5);
    EXPECT_DOUBLE_EQ(AspectRatioOfCode(-3, 720, 480), 1.5);
}

// ---- pictures and thumbnails --------------------------------------------------------------------

TEST_F(ClipInfoTest, PictureIsDisplaySizedCappedAndThumbnailSizedByRatio) {
    struct Case {
        int w, h, code, flag;
        int pictureW, pictureH;
        int thumbW, thumbH;
    };
    const Case cases[] = {
        {720, 480, 3, 0, 720, 405, 296, 168},   // 16:9 stretched to its display size
        {720, 480, 2, 0, 720, 540, 296, 220},   // 4:3 rounds up to the widest thumbnail
        {1920, 1080, 0, 1, 720, 405, 296, 168}, // capped, width-limited
        {640, 800, 0, 1, 460, 576, 176, 220},   // capped, height-limited
        {296, 220, 0, 0, 296, 220, 296, 220},   // exactly the thumbnail ratio: second branch
        {500, 500, 1, 1, 500, 500, 220, 220},   // square
        {720, 576, 0, 1, 720, 576, 276, 220},   // exactly the cap: left alone
        {720, 576, 4, 0, 720, 325, 296, 136},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " code " << c.code << " flag " << c.flag);
        std::unique_ptr<TClipInfo> clip(MakeClip(c.w, c.h, c.code, c.flag));
        std::unique_ptr<TBitmap> frame(SolidBitmap(c.w, c.h, Red));
        clip->SetPicture(frame.get());
        ASSERT_NE(clip->Picture, nullptr);
        EXPECT_EQ(clip->Picture->GetWidth(), c.pictureW);
        EXPECT_EQ(clip->Picture->GetHeight(), c.pictureH);
        EXPECT_EQ(clip->Picture->GetCanvas()->GetPixels(c.pictureW / 2, c.pictureH / 2), Red);
        int tw = -1, th = -1;
        clip->GetThumbSize(&tw, &th);
        EXPECT_EQ(tw, c.thumbW);
        EXPECT_EQ(th, c.thumbH);
        // The frame comes back at the thumbnail size, and the thumbnail is made from it.
        EXPECT_EQ(frame->GetWidth(), c.thumbW);
        EXPECT_EQ(frame->GetHeight(), c.thumbH);
        ASSERT_NE(clip->Thumbnail, nullptr);
        EXPECT_EQ(clip->Thumbnail->GetWidth(), c.thumbW);
        EXPECT_EQ(clip->Thumbnail->GetHeight(), c.thumbH);
    }
}

TEST_F(ClipInfoTest, CapScalesTheOriginalFrameNotTheDisplayPicture) {
    // 1920 x 1080 with code 1 displays 1920 x 1920: capped height-limited from that size,
    // but the pixels come from the frame itself.
    std::unique_ptr<TClipInfo> clip(MakeClip(1920, 1080, 1, 0));
    std::unique_ptr<TBitmap> frame(SolidBitmap(1920, 1080, Red));
    frame->GetCanvas()->GetBrush()->SetColor(Blue);
    frame->GetCanvas()->FillRect(Rect(0, 540, 1920, 1080));  // bottom half blue
    clip->SetPicture(frame.get());
    ASSERT_EQ(clip->Picture->GetWidth(), 576);
    ASSERT_EQ(clip->Picture->GetHeight(), 576);
    EXPECT_EQ(clip->Picture->GetCanvas()->GetPixels(288, 100), Red);
    EXPECT_EQ(clip->Picture->GetCanvas()->GetPixels(288, 500), Blue);
}

TEST_F(ClipInfoTest, NullFrameChangesNothing) {
    std::unique_ptr<TClipInfo> clip(MakeClip(720, 480, 3, 0));
    clip->SetPicture(nullptr);
    EXPECT_EQ(clip->Picture, nullptr);
    EXPECT_EQ(clip->Thumbnail, nullptr);
    std::unique_ptr<TBitmap> frame(SolidBitmap(720, 480, Red));
    clip->SetPicture(frame.get());
    TBitmap* picture = clip->Picture;
    clip->SetPicture(nullptr);
    EXPECT_EQ(clip->Picture, picture);
    EXPECT_EQ(clip->Picture->GetWidth(), 720);
    clip->SetMenuThumbnail(nullptr);
    EXPECT_EQ(clip->Thumbnail->GetWidth(), 296);
}

TEST_F(ClipInfoTest, GetThumbSizeAcceptsNullOutParameters) {
    std::unique_ptr<TClipInfo> clip(MakeClip(720, 480, 3, 0));
    std::unique_ptr<TBitmap> frame(SolidBitmap(720, 480, Red));
    clip->SetPicture(frame.get());
    int w = 0, h = 0;
    clip->GetThumbSize(&w, nullptr);
    clip->GetThumbSize(nullptr, &h);
    clip->GetThumbSize(nullptr, nullptr);
    EXPECT_EQ(w, 296);
    EXPECT_EQ(h, 168);
}

TEST_F(ClipInfoTest, SetPictureRedrawsTheRowTileAndButtonItHas) {
    std::unique_ptr<TClipInfo> clip(MakeClip(720, 480, 3, 0));
    std::unique_ptr<TBitmap> frame(SolidBitmap(720, 480, Red));
    clip->SetPicture(frame.get());
    EXPECT_EQ(clip->MenuTile, nullptr);  // made only on demand
    EXPECT_EQ(clip->TitleButton, nullptr);
    clip->RefreshMenuImage();
    clip->RefreshTitleButton();
    ASSERT_NE(clip->MenuTile, nullptr);
    ASSERT_NE(clip->TitleButton, nullptr);
    EXPECT_EQ(clip->MenuTile->Clip, clip.get());
    EXPECT_EQ(clip->TitleButton->Clip, clip.get());
    EXPECT_EQ(clip->TitleButton->GetWidth(), 104);
    EXPECT_EQ(clip->TitleButton->GetHeight(), 78);

    std::unique_ptr<TBitmap> blue(SolidBitmap(720, 480, Blue));
    clip->SetPicture(blue.get());
    // 16:9 in 80 x 60, ratio kept: 80 x 45 centred at (10, 7) in the row, (5, 6) in the tile.
    EXPECT_EQ(clip->ListRow->GetCanvas()->GetPixels(10 + 40, 7 + 30), Blue);
    EXPECT_EQ(clip->ListRow->GetCanvas()->GetPixels(10 + 40, 7 + 2), clBlack);
    EXPECT_EQ(clip->MenuTile->GetCanvas()->GetPixels(5 + 40, 6 + 30), Blue);
    EXPECT_EQ(clip->TitleButton->GetCanvas()->GetPixels(52, 39), Blue);
}

TEST_F(ClipInfoTest, RefreshWithoutPictureMakesNoView) {
    std::unique_ptr<TClipInfo> clip(MakeClip(720, 480, 3, 0));
    clip->RefreshMenuImage();
    clip->RefreshTitleButton();
    EXPECT_EQ(clip->MenuTile, nullptr);
    EXPECT_EQ(clip->TitleButton, nullptr);
}

TEST_F(ClipInfoTest, TitleButtonKeepsItsLockRatioWhenThePictureChanges) {
    std::unique_ptr<TClipInfo> clip(MakeClip(720, 480, 3, 0));
    std::unique_ptr<TBitmap> frame(SolidBitmap(720, 480, Red));
    clip->SetPicture(frame.get());
    clip->RefreshTitleButton();
    clip->TitleButton->SetLockRatio(clip->Picture, true);
    EXPECT_EQ(clip->TitleButton->GetHeight(), 65);
    clip->TitleButton->SetBounds(0, 0, 104, 78);
    clip->RefreshTitleButton();
    EXPECT_EQ(clip->TitleButton->GetWidth(), 104);
    EXPECT_EQ(clip->TitleButton->GetHeight(), 65);
}

// ---- the row's texts and the subtitle icon ------------------------------------------------------

TEST_F(ClipInfoTest, RowShowsNameMediaInformationAndRange) {
    auto* clip = new TClipInfo();
    ClipInfo.push_back(clip);
    clip->SetFileName("/home/me/videos/Summer 2024.avi");
    ASSERT_NE(clip->ListRow, nullptr);
    EXPECT_EQ(clip->ListRow->Clip, clip);
    EXPECT_EQ(clip->ListRow->GetLine(0), "Clip Name : Summer 2024.avi");
    clip->SetMediaInfo(3725, 29.97f, 8000.456f, 720, 480, 2, 48000, 0, 192.0f, 0);
    EXPECT_EQ(clip->ListRow->GetLine(1), "Video : Size 720:480, Bitrate 8000.46, Frame Rate 29.97");
    EXPECT_EQ(clip->ListRow->GetLine(2), "Audio : Bitrate 192.00, Sample Rate 48000");
    EXPECT_EQ(clip->ListRow->GetLine(3), "Start Time : 00:00:00, End Time : 01:02:05");
    clip->SetTrim(61, 3600);
    EXPECT_EQ(clip->i_TrimStart, 61);
    EXPECT_EQ(clip->i_TrimEnd, 3600);
    EXPECT_EQ(clip->ListRow->GetLine(3), "Start Time : 00:01:01, End Time : 01:00:00");
}

TEST_F(ClipInfoTest, SetTrimAloneMakesTheRow) {
    TClipInfo clip;
    clip.SetTrim(1, 2);
    ASSERT_NE(clip.ListRow, nullptr);
    EXPECT_EQ(clip.ListRow->GetLine(3), "Start Time : 00:00:01, End Time : 00:00:02");
    EXPECT_EQ(clip.ListRow->GetLine(0), "");
}

TEST_F(ClipInfoTest, SubtitleIconFollowsWhetherTheFileExists) {
    testing_vcl::TTempFolder folder("clipsrt");
    std::string srt = folder["a.srt"];
    std::ofstream(srt) << "1\n00:00:01,000 --> 00:00:02,000\nHello\n";

    std::unique_ptr<TClipInfo> clip(MakeClip(720, 480, 3, 0));
    clip->SetSubtitleFile(folder["missing.srt"]);
    EXPECT_EQ(IconColour(clip.get()), Blue);
    EXPECT_EQ(clip->s_SubtitleFile, folder["missing.srt"]);
    clip->SetSubtitleFile(srt);
    EXPECT_EQ(IconColour(clip.get()), Red);
    EXPECT_EQ(clip->s_SubtitleFile, srt);
    clip->b_SubtitleEnabled = false;
    clip->SetSubtitleFile("");
    EXPECT_EQ(IconColour(clip.get()), Blue);
    EXPECT_TRUE(clip->b_SubtitleEnabled);
    clip->SetSubtitleFile(srt);
    clip->SetSubtitleFile(folder.Path());  // a folder is no subtitle file
    EXPECT_EQ(clip->s_SubtitleFile, folder.Path());
    EXPECT_EQ(IconColour(clip.get()), Blue);
}

// ---- the list and deletion ----------------------------------------------------------------------

TEST_F(ClipInfoTest, RemoveClipFromListFindsShiftsAndDeletes) {
    TDeathWatch watch;
    TClipInfo* a = MakeClip(720, 480, 3, 0);
    TClipInfo* b = MakeClip(720, 480, 3, 0);
    TClipInfo* c = MakeClip(720, 480, 3, 0);
    ClipInfo = {a, b, c};
    watch.Watch(b->SrtIcon);

    EXPECT_EQ(RemoveClipFromList(ClipInfo, b, true), 1);
    EXPECT_EQ(ClipInfo, (std::vector<TClipInfo*>{a, c}));
    EXPECT_EQ(watch.gone.size(), 1u);

    EXPECT_EQ(RemoveClipFromList(ClipInfo, c, false), 1);
    EXPECT_EQ(ClipInfo, (std::vector<TClipInfo*>{a}));
    EXPECT_EQ(c->i_Width, 720);  // still alive: the caller keeps it

    EXPECT_EQ(RemoveClipFromList(ClipInfo, c, true), -1);
    EXPECT_EQ(RemoveClipFromList(ClipInfo, nullptr, true), -1);
    EXPECT_EQ(ClipInfo, (std::vector<TClipInfo*>{a}));
    EXPECT_EQ(c->i_Width, 720);
    delete c;

    EXPECT_EQ(RemoveClipFromList(ClipInfo, a, true), 0);
    EXPECT_TRUE(ClipInfo.empty());
}

TEST_F(ClipInfoTest, RemoveClipFromListTakesTheFirstOfTwoEntries) {
    TClipInfo* a = MakeClip(720, 480, 3, 0);
    TClipInfo* b = MakeClip(720, 480, 3, 0);
    std::vector<TClipInfo*> list{b, a, b};
    EXPECT_EQ(RemoveClipFromList(list, b, false), 0);
    EXPECT_EQ(list, (std::vector<TClipInfo*>{a, b}));
    delete a;
    delete b;
}

// A clip with every view it makes: list row, subtitle icon, menu tile, title button, and a
// chapter button and label for each of the seconds.
TClipInfo* ClipWithEveryView(std::initializer_list<int> ChapterSeconds) {
    TClipInfo* clip = MakeClip(720, 480, 3, 0);
    std::unique_ptr<TBitmap> frame(SolidBitmap(720, 480, Red));
    clip->SetPicture(frame.get());
    clip->RefreshMenuImage();
    clip->RefreshTitleButton();
    clip->ChapterMenu = new TSubChapter(clip);
    for (int second : ChapterSeconds) {
        clip->ChapterMenu->AddButton(frame.get(), second);
        clip->ChapterMenu->AddLabel(new TLabel(nullptr));
    }
    return clip;
}

TEST_F(ClipInfoTest, DeletingAClipDeletesEveryView) {
    TDeathWatch watch;
    TClipInfo* clip = ClipWithEveryView({5});
    for (TComponent* view : std::initializer_list<TComponent*>{
             clip->ListRow, clip->SrtIcon, clip->MenuTile, clip->TitleButton, clip->ChapterMenu->GetButton(0),
             clip->ChapterMenu->GetLabel(0)})
        watch.Watch(view);
    ASSERT_EQ(watch.watched, 6);
    delete clip;
    EXPECT_EQ(watch.gone.size(), 6u);
}

// The windows put a clip's views on their panels, and a panel frees its children: a panel freed
// before the clip leaves the clip nothing to free twice.
TEST_F(ClipInfoTest, ViewsFreedWithTheirParentFirstLeaveTheClipConsistent) {
    TDeathWatch watch;
    TClipInfo* clip = ClipWithEveryView({5, 9});
    auto* panel = new TPanel(nullptr);
    // Every view but the second chapter button and label goes on the panel.
    std::vector<TControl*> onPanel{clip->ListRow, clip->SrtIcon, clip->MenuTile, clip->TitleButton,
                                   clip->ChapterMenu->GetButton(0), clip->ChapterMenu->GetLabel(0)};
    for (TControl* view : onPanel) {
        view->SetParent(panel);
        watch.Watch(view);
    }
    TSubButtonImage* keptButton = clip->ChapterMenu->GetButton(1);
    TLabel* keptLabel = clip->ChapterMenu->GetLabel(1);
    watch.Watch(keptButton);
    watch.Watch(keptLabel);

    delete panel;
    EXPECT_EQ(watch.gone.size(), onPanel.size());
    EXPECT_EQ(clip->ListRow, nullptr);
    EXPECT_EQ(clip->SrtIcon, nullptr);
    EXPECT_EQ(clip->MenuTile, nullptr);
    EXPECT_EQ(clip->TitleButton, nullptr);
    ASSERT_NE(clip->ChapterMenu, nullptr);
    EXPECT_EQ(clip->ChapterMenu->Buttons, (std::vector<TSubButtonImage*>{keptButton}));
    EXPECT_EQ(clip->ChapterMenu->Labels, (std::vector<TLabel*>{keptLabel}));

    // The clip makes its views again on demand, and frees only what is left.
    clip->RefreshMenuImage();
    EXPECT_NE(clip->MenuTile, nullptr);
    delete clip;
    EXPECT_EQ(watch.gone.size(), onPanel.size() + 2);
}

TEST_F(ClipInfoTest, ClearClipInfoDeletesEveryClipAndForgetsTheMusic) {
    TDeathWatch watch;
    for (int i = 0; i < 3; ++i) {
        ClipInfo.push_back(MakeClip(720, 480, 3, 0));
        watch.Watch(ClipInfo.back()->ListRow);
        watch.Watch(ClipInfo.back()->SrtIcon);
    }
    s_BackgroundMusicFile = "/music/theme.mp3";
    Pubfunction::ClearClipInfo();
    EXPECT_TRUE(ClipInfo.empty());
    EXPECT_EQ(s_BackgroundMusicFile, "");
    EXPECT_EQ(watch.gone.size(), 6u);
    Pubfunction::ClearClipInfo();  // an empty list is fine
    EXPECT_TRUE(ClipInfo.empty());
}

// ---- the row and icon controls ------------------------------------------------------------------

// A skin bitmap that is see-through (key colour) except for a band along its top.
TBitmap* SkinWithBand(int Width, int Height, TColor Band) {
    TBitmap* b = SolidBitmap(Width, Height, 0x797571);
    b->GetCanvas()->GetBrush()->SetColor(Band);
    b->GetCanvas()->FillRect(Rect(0, 0, Width, 4));
    return b;
}

TEST_F(ClipInfoTest, RowIsAKeyColouredSeeThroughRowOfItsClip) {
    TClipInfo clip;
    TSetupImage row(nullptr, &clip);
    EXPECT_EQ(row.GetWidth(), 409);
    EXPECT_EQ(row.GetHeight(), 77);
    EXPECT_TRUE(row.GetTransparent());
    EXPECT_EQ(row.Clip, &clip);
    EXPECT_EQ(row.GetCanvas()->GetPixels(200, 70), static_cast<TColor>(0x797571));
    EXPECT_EQ(row.GetCanvas()->GetFont()->GetName(), "Tahoma");
    EXPECT_EQ(row.GetCanvas()->GetFont()->GetSize(), 8);
    EXPECT_EQ(row.GetLine(-1), "");
    EXPECT_EQ(row.GetLine(4), "");
}

TEST_F(ClipInfoTest, RowSkinFollowsSelectionAndHoverAndKeepsTheThumbnailVisible) {
    SetupClipUnSelectBmp = SkinWithBand(409, 77, Red);
    SetupClipUnSelectBmpOn = SkinWithBand(409, 77, Blue);
    SetupClipSelectBmp = SkinWithBand(409, 77, 0x00FF00);
    SetupClipSelectBmpOn = SkinWithBand(409, 77, 0x00FFFF);
    TSetupImage row(nullptr, nullptr);
    std::unique_ptr<TBitmap> thumb(SolidBitmap(80, 60, Blue));
    row.DrawThumbnail(thumb.get());
    row.DrawThumbnail(nullptr);
    auto band = [&] { return row.GetCanvas()->GetPixels(300, 1); };
    EXPECT_EQ(band(), Red);
    row.Perform(CM_MOUSEENTER);
    EXPECT_TRUE(row.b_Hover);
    EXPECT_EQ(band(), Blue);
    row.Select(true);
    EXPECT_TRUE(row.b_Selected);
    EXPECT_EQ(band(), static_cast<TColor>(0x00FFFF));
    row.Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(row.b_Hover);
    EXPECT_EQ(band(), static_cast<TColor>(0x00FF00));
    // The skin's see-through parts leave the thumbnail at (10, 7) as drawn.
    EXPECT_EQ(row.GetCanvas()->GetPixels(10, 7), Blue);
    EXPECT_EQ(row.GetCanvas()->GetPixels(89, 66), Blue);
    EXPECT_EQ(row.GetCanvas()->GetPixels(90, 66), static_cast<TColor>(0x797571));
    EXPECT_FALSE(SetupClipSelectBmp->GetTransparent());  // the shared skin is left as it was
}

TEST_F(ClipInfoTest, RowLinesStayInsideTheirRectangles) {
    TSetupImage row(nullptr, nullptr);
    row.GetCanvas()->GetBrush()->SetColor(Red);
    row.GetCanvas()->FillRect(Rect(0, 0, 409, 77));
    String longText(200, 'W');
    const int tops[4] = {12, 26, 38, 50};
    row.SetLine1(longText);
    row.SetLine2(longText);
    row.SetLine3(longText);
    row.SetLine4(longText);
    for (int y : tops) {
        SCOPED_TRACE(y);
        EXPECT_EQ(row.GetCanvas()->GetPixels(111, y + 5), Red);
        EXPECT_EQ(row.GetCanvas()->GetPixels(392, y + 5), Red);
    }
    EXPECT_EQ(row.GetCanvas()->GetPixels(200, 11), Red);
    EXPECT_EQ(row.GetCanvas()->GetPixels(200, 64), Red);
    // The rectangle's background is the key colour, behind the text.
    int keyed = 0;
    for (int x = 112; x < 392; ++x) keyed += row.GetCanvas()->GetPixels(x, 51) == static_cast<TColor>(0x797571);
    EXPECT_GT(keyed, 0);
    EXPECT_EQ(row.GetLine(3), longText);
}

TEST_F(ClipInfoTest, SubtitleIconSize) {
    TClipInfo clip;
    EXPECT_EQ(clip.SrtIcon->GetWidth(), 25);
    EXPECT_EQ(clip.SrtIcon->GetHeight(), 73);
    clip.SrtIcon->SetEnabled();
    EXPECT_EQ(IconColour(&clip), Red);
    clip.SrtIcon->SetEnabled(false);  // the control's own switch is still there
    EXPECT_FALSE(clip.SrtIcon->GetEnabled());
}

}  // namespace
