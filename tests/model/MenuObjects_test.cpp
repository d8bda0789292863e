#include "model/MenuObjects.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

using testing_vcl::SolidBitmap;
using testing_vcl::TDeathWatch;

namespace {

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Green = 0x00FF00;
constexpr TColor Yellow = 0x00FFFF;

// A clip of the given display ratio, as the designer sees it.
std::unique_ptr<TClipInfo> ClipOfCode(int Code) {
    auto clip = std::make_unique<TClipInfo>();
    clip->SetFileName("/v/a.mpg");
    clip->SetMediaInfo(60, 25.0f, 5000.0f, 720, 480, Code, 48000, 0, 192.0f, 0);
    std::unique_ptr<TBitmap> frame(SolidBitmap(720, 480, Red));
    clip->SetPicture(frame.get());
    return clip;
}

TColor PixelOf(TImage* Image, int X, int Y) { return Image->GetCanvas()->GetPixels(X, Y); }

class MenuObjectsTest : public ::testing::Test {
protected:
    void TearDown() override { Pubfunction::FreeSharedBitmaps(); }
};

// ---- the strip tile ----------------------------------------------------------------------------

TEST_F(MenuObjectsTest, TileStartsAsAKeyColouredSeeThroughTile) {
    TClipInfo clip;
    TMenuImage tile(nullptr, &clip);
    EXPECT_EQ(tile.GetWidth(), 92);
    EXPECT_EQ(tile.GetHeight(), 72);
    EXPECT_TRUE(tile.GetTransparent());
    EXPECT_TRUE(tile.GetShowHint());
    EXPECT_EQ(tile.Clip, &clip);
    EXPECT_FALSE(tile.b_Selected);
    EXPECT_FALSE(tile.b_Hover);
    EXPECT_EQ(PixelOf(&tile, 45, 35), MenuKeyColour);  // no skin loaded: nothing drawn
}

TEST_F(MenuObjectsTest, TileDrawsTheSkinOfItsSelectionAndHover) {
    MenuClipUnSelectBmp = SolidBitmap(92, 72, Red);
    MenuClipUnSelectBmpOn = SolidBitmap(92, 72, Blue);
    MenuClipSelectBmp = SolidBitmap(92, 72, Green);
    MenuClipSelectBmpOn = SolidBitmap(92, 72, Yellow);
    TMenuImage tile(nullptr, nullptr);
    EXPECT_EQ(PixelOf(&tile, 1, 1), Red);
    tile.Perform(CM_MOUSEENTER);
    EXPECT_TRUE(tile.b_Hover);
    EXPECT_EQ(PixelOf(&tile, 1, 1), Blue);
    tile.SetSelected(true);
    EXPECT_EQ(PixelOf(&tile, 1, 1), Yellow);
    tile.Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(tile.b_Hover);
    EXPECT_EQ(PixelOf(&tile, 1, 1), Green);
    tile.SetSelected(false);
    EXPECT_EQ(PixelOf(&tile, 1, 1), Red);
}

TEST_F(MenuObjectsTest, TileSkinLeavesTheThumbnailVisibleWhereItIsSeeThrough) {
    // Key colour everywhere but a band along the top, and not marked transparent.
    MenuClipUnSelectBmpOn = SolidBitmap(92, 72, MenuKeyColour);
    MenuClipUnSelectBmpOn->GetCanvas()->GetBrush()->SetColor(Red);
    MenuClipUnSelectBmpOn->GetCanvas()->FillRect(Rect(0, 0, 92, 3));
    TMenuImage tile(nullptr, nullptr);
    std::unique_ptr<TBitmap> thumb(SolidBitmap(80, 60, Blue));
    tile.DrawThumbnail(thumb.get());
    tile.Perform(CM_MOUSEENTER);
    EXPECT_EQ(PixelOf(&tile, 40, 1), Red);
    EXPECT_EQ(PixelOf(&tile, 40, 30), Blue);
    EXPECT_FALSE(MenuClipUnSelectBmpOn->GetTransparent());
}

TEST_F(MenuObjectsTest, TileDrawsTheThumbnailAt5And6) {
    TMenuImage tile(nullptr, nullptr);
    std::unique_ptr<TBitmap> thumb(SolidBitmap(80, 60, Blue));
    tile.DrawThumbnail(nullptr);
    EXPECT_EQ(PixelOf(&tile, 5, 6), MenuKeyColour);
    tile.DrawThumbnail(thumb.get());
    EXPECT_EQ(PixelOf(&tile, 4, 6), MenuKeyColour);
    EXPECT_EQ(PixelOf(&tile, 5, 5), MenuKeyColour);
    EXPECT_EQ(PixelOf(&tile, 5, 6), Blue);
    EXPECT_EQ(PixelOf(&tile, 84, 65), Blue);
    EXPECT_EQ(PixelOf(&tile, 85, 66), MenuKeyColour);
}

// ---- title buttons -----------------------------------------------------------------------------

TEST_F(MenuObjectsTest, ButtonDefaults) {
    TButtonImage button(nullptr, nullptr);
    EXPECT_EQ(button.GetWidth(), 104);
    EXPECT_EQ(button.GetHeight(), 78);
    EXPECT_TRUE(button.GetTransparent());
    EXPECT_TRUE(button.GetShowHint());
    EXPECT_TRUE(button.b_KeepRatio);
    EXPECT_FALSE(button.b_LockRatio);
    EXPECT_EQ(button.ScaledCache, nullptr);
}

TEST_F(MenuObjectsTest, LockRatioShrinksOneSideToTheClipsAspect) {
    struct Case {
        int code;
        bool lock;
        int w, h;
    };
    const Case cases[] = {
        {3, true, 104, 65},   // 16:9: too tall, inner 88 x 49
        {2, true, 98, 78},    // 4:3: too wide, inner 82 x 62
        {3, false, 104, 78},  // unlocked: unchanged
        {1, true, 78, 78},    // square
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "code " << c.code << " lock " << c.lock);
        auto clip = ClipOfCode(c.code);
        TButtonImage button(nullptr, clip.get());
        button.SetPicture(clip->Picture, 0, 0);
        button.SetLockRatio(clip->Picture, c.lock);
        EXPECT_EQ(button.b_LockRatio, c.lock);
        EXPECT_EQ(button.GetWidth(), c.w);
        EXPECT_EQ(button.GetHeight(), c.h);
        EXPECT_EQ(button.GetPicture()->GetWidth(), c.w);
        EXPECT_EQ(button.GetPicture()->GetHeight(), c.h);
    }
}

TEST_F(MenuObjectsTest, LockRatioWithoutAClipKeepsTheBox) {
    TButtonImage button(nullptr, nullptr);
    button.SetLockRatio(nullptr, true);
    EXPECT_TRUE(button.b_LockRatio);
    EXPECT_EQ(button.GetWidth(), 104);
    EXPECT_EQ(button.GetHeight(), 78);
}

TEST_F(MenuObjectsTest, SetPictureFitsThePictureIntoTheInnerBox) {
    auto clip = ClipOfCode(3);
    TButtonImage button(nullptr, clip.get());
    std::unique_ptr<TBitmap> exact(SolidBitmap(88, 62, Blue));
    button.SetPicture(exact.get(), 0, 0);
    EXPECT_EQ(button.ScaledCache, nullptr);  // drawn as it is
    EXPECT_EQ(PixelOf(&button, 8, 8), Blue);
    EXPECT_EQ(PixelOf(&button, 95, 69), Blue);
    EXPECT_EQ(PixelOf(&button, 96, 70), MenuKeyColour);

    button.SetPicture(clip->Picture, 200, 100);
    EXPECT_EQ(button.GetWidth(), 200);
    EXPECT_EQ(button.GetHeight(), 100);
    ASSERT_NE(button.ScaledCache, nullptr);
    EXPECT_EQ(button.ScaledCache->GetWidth(), 184);
    EXPECT_EQ(button.ScaledCache->GetHeight(), 84);
    EXPECT_EQ(PixelOf(&button, 100, 50), Red);
    EXPECT_EQ(PixelOf(&button, 10, 50), clBlack);  // ratio kept: bars at the sides
    EXPECT_EQ(PixelOf(&button, 196, 50), MenuKeyColour);
}

TEST_F(MenuObjectsTest, LockedButtonStretchesThePictureToItsBox) {
    auto clip = ClipOfCode(3);
    TButtonImage button(nullptr, clip.get());
    button.b_LockRatio = true;
    button.SetPicture(clip->Picture, 200, 100);
    EXPECT_EQ(PixelOf(&button, 10, 50), Red);
}

TEST_F(MenuObjectsTest, FrameAndHandlesFollowSelectionAndHover) {
    struct Case {
        bool selected, hover;
        TColor frame, handleEdge;
    };
    const Case cases[] = {
        {true, false, 0x0055FF, 0x0055FF},
        {true, true, 0xFF7500, 0xFF7500},
        {false, true, Green, MenuKeyColour},
        {false, false, MenuKeyColour, MenuKeyColour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "selected " << c.selected << " hover " << c.hover);
        TButtonImage button(nullptr, nullptr);
        button.SetSelected(true);  // a drawn frame that the next state must change
        button.SetHover(c.hover);
        button.SetSelected(c.selected);
        EXPECT_EQ(PixelOf(&button, 4, 30), c.frame);
        EXPECT_EQ(PixelOf(&button, 30, 73), c.frame);
        EXPECT_EQ(PixelOf(&button, 1, 3), c.handleEdge);      // top-left handle
        EXPECT_EQ(PixelOf(&button, 102, 76), c.handleEdge);   // bottom-right handle
        EXPECT_EQ(PixelOf(&button, 49, 1), c.handleEdge);     // top-middle handle: cx - 3
        EXPECT_EQ(PixelOf(&button, 1, 36), c.handleEdge);     // left-middle handle: cy - 3
        // A selected frame's corner lies inside a handle, filled see-through; a hover frame is on top.
        EXPECT_EQ(PixelOf(&button, 4, 4), c.selected ? MenuKeyColour : c.frame);
    }
}

TEST_F(MenuObjectsTest, MouseEnterAndLeaveDriveTheHover) {
    TButtonImage button(nullptr, nullptr);
    button.Perform(CM_MOUSEENTER);
    EXPECT_TRUE(button.b_Hover);
    EXPECT_EQ(PixelOf(&button, 4, 30), Green);
    button.Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(button.b_Hover);
    EXPECT_EQ(PixelOf(&button, 4, 30), MenuKeyColour);
}

TEST_F(MenuObjectsTest, ScaledPictureIsANewBitmapOfTheAskedSize) {
    auto clip = ClipOfCode(3);
    TButtonImage button(nullptr, clip.get());
    std::unique_ptr<TBitmap> a(button.GetScaledPicture(160, 120));
    std::unique_ptr<TBitmap> b(button.GetScaledPicture(160, 120));
    ASSERT_NE(a, nullptr);
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(a->GetWidth(), 160);
    EXPECT_EQ(a->GetHeight(), 120);
    EXPECT_EQ(a->GetCanvas()->GetPixels(80, 60), Red);
    EXPECT_EQ(a->GetCanvas()->GetPixels(80, 2), clBlack);  // kept ratio
    button.b_LockRatio = true;
    std::unique_ptr<TBitmap> locked(button.GetScaledPicture(160, 120));
    EXPECT_EQ(locked->GetCanvas()->GetPixels(80, 2), Red);

    TButtonImage orphan(nullptr, nullptr);
    std::unique_ptr<TBitmap> blank(orphan.GetScaledPicture(40, 30));
    EXPECT_EQ(blank->GetWidth(), 40);
    EXPECT_EQ(blank->GetHeight(), 30);
}

// ---- chapter menus and buttons -----------------------------------------------------------------

TEST_F(MenuObjectsTest, NewChapterMenuIsEmptyWithTheBackButtonBelowThePreview) {
    TClipInfo clip;
    TSubChapter menu(&clip);
    EXPECT_EQ(menu.Clip, &clip);
    EXPECT_EQ(menu.i_BackX, 0);
    EXPECT_EQ(menu.i_BackY, 1000);
    EXPECT_EQ(menu.s_BackgroundSrcFile, "");
    EXPECT_EQ(menu.s_BackgroundMusicFile, "");
    EXPECT_EQ(menu.GetButton(0), nullptr);
    EXPECT_EQ(menu.GetLabel(0), nullptr);
}

TEST_F(MenuObjectsTest, AddButtonCopiesTheFrameAndLeavesThePictureToTheCaller) {
    auto clip = ClipOfCode(3);
    TSubChapter menu(clip.get());
    menu.AddButton(nullptr, 3);
    EXPECT_EQ(menu.GetButton(0), nullptr);

    std::unique_ptr<TBitmap> frame(SolidBitmap(64, 44, Blue));
    menu.AddButton(frame.get(), 12);
    menu.AddButton(frame.get(), 30);
    TSubButtonImage* first = menu.GetButton(0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(menu.GetButton(1), nullptr);
    EXPECT_EQ(menu.GetButton(2), nullptr);
    EXPECT_EQ(menu.GetButton(-1), nullptr);
    EXPECT_EQ(first->i_ChapterTime, 12);
    EXPECT_EQ(menu.GetButton(1)->i_ChapterTime, 30);
    EXPECT_EQ(first->SubChapter, &menu);
    EXPECT_EQ(first->Clip, clip.get());
    EXPECT_NE(first->FrameBitmap, frame.get());
    EXPECT_EQ(first->FrameBitmap->GetWidth(), 64);
    EXPECT_EQ(first->GetWidth(), 80);
    EXPECT_EQ(first->GetHeight(), 60);
    EXPECT_EQ(PixelOf(first, 8, 8), Blue);
    EXPECT_EQ(PixelOf(first, 71, 51), Blue);
    EXPECT_EQ(frame->GetWidth(), 64);  // the caller's bitmap is untouched

    std::unique_ptr<TBitmap> scaled(first->GetScaledPicture(32, 22));
    EXPECT_EQ(scaled->GetWidth(), 32);
    EXPECT_EQ(scaled->GetCanvas()->GetPixels(16, 11), Blue);
}

TEST_F(MenuObjectsTest, ChapterButtonLockRatioUsesItsOwnFrame) {
    auto clip = ClipOfCode(3);
    TSubChapter menu(clip.get());
    std::unique_ptr<TBitmap> frame(SolidBitmap(64, 44, Blue));
    menu.AddButton(frame.get(), 1);
    TSubButtonImage* b = menu.GetButton(0);
    b->SetLockRatio(true);
    // 80 x 60 with 16:9: inner 64 x 44 -> hByWidth 36 -> 80 x 52.
    EXPECT_EQ(b->GetWidth(), 80);
    EXPECT_EQ(b->GetHeight(), 52);
    EXPECT_EQ(PixelOf(b, 40, 26), Blue);
}

TEST_F(MenuObjectsTest, DeleteButtonOnlyDeletesItsOwnButtons) {
    auto clip = ClipOfCode(3);
    TDeathWatch watch;
    TSubChapter menu(clip.get());
    TSubChapter other(clip.get());
    std::unique_ptr<TBitmap> frame(SolidBitmap(64, 44, Blue));
    menu.AddButton(frame.get(), 1);
    menu.AddButton(frame.get(), 2);
    menu.AddButton(frame.get(), 3);
    other.AddButton(frame.get(), 9);
    TSubButtonImage* middle = menu.GetButton(1);
    TSubButtonImage* foreign = other.GetButton(0);
    watch.Watch(middle);
    watch.Watch(foreign);

    menu.DeleteButton(foreign);
    menu.DeleteButton(nullptr);
    EXPECT_TRUE(watch.gone.empty());
    EXPECT_EQ(other.GetButton(0), foreign);

    menu.DeleteButton(middle);
    EXPECT_EQ(watch.gone.count(middle), 1u);
    EXPECT_EQ(menu.GetButton(0)->i_ChapterTime, 1);
    EXPECT_EQ(menu.GetButton(1)->i_ChapterTime, 3);
    EXPECT_EQ(menu.GetButton(2), nullptr);
}

TEST_F(MenuObjectsTest, LabelsAreOwnedAddedDeletedAndCleared) {
    TDeathWatch watch;
    TSubChapter menu(nullptr);
    menu.AddLabel(nullptr);
    EXPECT_EQ(menu.GetLabel(0), nullptr);
    auto* a = new TLabel(nullptr);
    auto* b = new TLabel(nullptr);
    auto* c = new TLabel(nullptr);
    TLabel stranger(nullptr);
    for (TLabel* l : {a, b, c, &stranger}) watch.Watch(l);
    menu.AddLabel(a);
    menu.AddLabel(b);
    menu.AddLabel(c);
    menu.DeleteLabel(&stranger);
    EXPECT_TRUE(watch.gone.empty());
    menu.DeleteLabel(b);
    EXPECT_EQ(watch.gone.count(b), 1u);
    EXPECT_EQ(menu.GetLabel(0), a);
    EXPECT_EQ(menu.GetLabel(1), c);
    EXPECT_EQ(menu.GetLabel(2), nullptr);
    EXPECT_EQ(menu.GetLabel(-1), nullptr);
    menu.ClearLabels();
    EXPECT_EQ(watch.gone.size(), 3u);
    EXPECT_EQ(menu.GetLabel(0), nullptr);
}

TEST_F(MenuObjectsTest, DeletingAChapterMenuDeletesItsButtonsAndLabels) {
    TDeathWatch watch;
    auto* menu = new TSubChapter(nullptr);
    std::unique_ptr<TBitmap> frame(SolidBitmap(64, 44, Blue));
    menu->AddButton(frame.get(), 1);
    menu->AddButton(frame.get(), 2);
    menu->AddLabel(new TLabel(nullptr));
    watch.Watch(menu->GetButton(0));
    watch.Watch(menu->GetButton(1));
    watch.Watch(menu->GetLabel(0));
    delete menu;
    EXPECT_EQ(watch.gone.size(), 3u);
}

TEST(RemoveAndDelete, RemovesTheFirstMatchOnly) {
    auto* a = new TLabel(nullptr);
    auto* b = new TLabel(nullptr);
    std::vector<TLabel*> list{a, b};
    TLabel outside(nullptr);
    RemoveAndDelete(list, &outside);
    EXPECT_EQ(list.size(), 2u);
    RemoveAndDelete(list, a);
    EXPECT_EQ(list, (std::vector<TLabel*>{b}));
    RemoveAndDelete(list, b);
    EXPECT_TRUE(list.empty());
}

// ---- background thumbnails ---------------------------------------------------------------------

TEST_F(MenuObjectsTest, BackgroundThumbnailLoadsOnlyRealPictures) {
    testing_vcl::TTempFolder folder("menubg");
    std::unique_ptr<TBitmap> picture(SolidBitmap(32, 24, Blue));
    picture->SaveToFile(folder["blue.bmp"]);
    std::ofstream(folder["junk.bmp"]) << "not a picture";

    TBackgroundImage image(nullptr);
    EXPECT_TRUE(image.GetStretch());
    EXPECT_FALSE(image.GetTransparent());
    EXPECT_EQ(image.GetWidth(), 104);
    EXPECT_EQ(image.GetHeight(), 78);
    EXPECT_EQ(image.FileName, "");

    EXPECT_TRUE(image.LoadFromFile(folder["blue.bmp"]));
    EXPECT_EQ(image.FileName, folder["blue.bmp"]);
    EXPECT_EQ(image.GetPicture()->GetWidth(), 32);

    EXPECT_FALSE(image.LoadFromFile(folder["missing.bmp"]));
    EXPECT_FALSE(image.LoadFromFile(folder["junk.bmp"]));
    EXPECT_EQ(image.FileName, folder["blue.bmp"]);
    EXPECT_EQ(image.GetPicture()->GetWidth(), 32);
    EXPECT_EQ(image.GetPicture()->GetBitmap()->GetCanvas()->GetPixels(0, 0), Blue);
}

// ---- the title menu's state ----------------------------------------------------------------

TEST(TitleMenuState, TheBackButtonMovesOnlyOnARealAspectChange) {
    using MenuLayout::TMenuAspect;
    TTitleMenuState state;
    state.i_BackWidth = 60;
    state.i_BackHeight = 40;
    EXPECT_EQ(state.i_Aspect, 1);
    state.ClampBack(10);
    EXPECT_EQ(state.i_TitleBackX, 10);
    EXPECT_EQ(state.i_TitleBackY, 338) << "from below the preview to the safe frame's bottom";
    state.i_TitleBackY = 200;
    // The clip editor calls the aspect on every show: repeated calls keep the place.
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(state.SetAspect(TMenuAspect::Standard4x3, 10));
        EXPECT_EQ(state.i_TitleBackY, 200);
    }
    EXPECT_TRUE(state.SetAspect(TMenuAspect::Wide16x9, 10));
    EXPECT_EQ(state.i_TitleBackY, 104);
    EXPECT_EQ(state.i_Aspect, 2);
    EXPECT_EQ(state.PreviewHeight(), 292);
    EXPECT_FALSE(state.SetAspect(TMenuAspect::Wide16x9, 10));
    EXPECT_EQ(state.i_TitleBackY, 104);
    EXPECT_TRUE(state.SetAspect(TMenuAspect::Standard4x3, 10));
    EXPECT_EQ(state.i_TitleBackY, 200);
    EXPECT_EQ(state.i_Aspect, 1);
    state.ResetBackButton();
    EXPECT_EQ(state.i_TitleBackX, 0);
    EXPECT_EQ(state.i_TitleBackY, 1000);
}

TEST(TitleMenuState, ChapterMenusShiftAlike) {
    using MenuLayout::TMenuAspect;
    TSubChapter menu(nullptr);
    menu.i_BackX = 700;
    menu.i_BackY = 300;
    ShiftChapterBack(menu, TMenuAspect::Standard4x3, TMenuAspect::Wide16x9, 60, 40, 10);
    EXPECT_EQ(menu.i_BackX, 448);
    EXPECT_EQ(menu.i_BackY, 204);
    ShiftChapterBack(menu, TMenuAspect::Wide16x9, TMenuAspect::Wide16x9, 60, 40, 10);
    EXPECT_EQ(menu.i_BackY, 204);
}

TEST(TitleMenuState, NextHandsOverTheMenus) {
    struct {
        bool wanted, anyButton;
        int titleMenu, rootMenu;
    } const cases[] = {{true, true, 1, 1}, {false, true, 1, 0}, {true, false, 0, 0}, {false, false, 0, 0}};
    for (const auto& c : cases) {
        TTitleMenuState state;
        state.b_RootMenuWanted = c.wanted;
        state.b_TitleMenu = 7;
        state.b_RootMenu = 7;
        state.DecideHandOver(c.anyButton);
        EXPECT_EQ(state.b_TitleMenu, c.titleMenu) << c.wanted << c.anyButton;
        EXPECT_EQ(state.b_RootMenu, c.rootMenu) << c.wanted << c.anyButton;
    }
}

}  // namespace
