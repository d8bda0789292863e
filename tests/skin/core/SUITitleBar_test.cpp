#include "skin/core/SUITitleBar.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/WindowMove.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"
#include "skin/core/SUIThemeFile.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class TRecordingMove : public TWindowMoveService {
public:
    void StartMove(TCustomForm*) override { ++moves; }
    int moves = 0;
};

class TitleBar : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(30, 30, 400, 200);
        bar = new TsuiTitleBar(form.get());
        bar->SetParent(form.get());
        bar->SetCaption("Caption");
    }
    void TearDown() override {
        SetWindowMoveService(nullptr);
        form.reset();
    }
    // The frame of the look's button strip.
    static COLORREF FramePixel(TsuiUIStyle Look, int Frame) {
        TBitmap b;
        GetInsideThemeBitmap(Look, SUI_THEME_TITLEBAR_BUTTON_IMAGE, &b, 18, Frame);
        return b.GetPixelColor(b.GetWidth() / 2, b.GetHeight() / 2);
    }
    static COLORREF PicPixel(TPicture* P) {
        TBitmap* b = P->GetBitmap();
        return b->GetPixelColor(b->GetWidth() / 2, b->GetHeight() / 2);
    }
    TsuiTitleBarButton* Button(TsuiTitleBarBtnType Type) {
        for (int i = 0; i < bar->GetButtons()->Count(); ++i)
            if (bar->GetButtons()->Items(i)->GetButtonType() == Type) return bar->GetButtons()->Items(i);
        return nullptr;
    }
    TPoint Centre(int Index) {
        TRect r = bar->Layout(bar->GetWidth()).Buttons.at(static_cast<size_t>(Index));
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    std::unique_ptr<TForm> form;
    TsuiTitleBar* bar = nullptr;
};

TEST(TitleButtonFrames, PerTypeAndState) {
    EXPECT_EQ(SUITitleButtonFrames(suiControlBox, false), (TsuiTitleFrames{1, 2, 3}));
    EXPECT_EQ(SUITitleButtonFrames(suiHelp, true), (TsuiTitleFrames{4, 5, 6}));
    EXPECT_EQ(SUITitleButtonFrames(suiMax, false), (TsuiTitleFrames{7, 8, 9}));
    EXPECT_EQ(SUITitleButtonFrames(suiMax, true), (TsuiTitleFrames{10, 11, 12}));
    EXPECT_EQ(SUITitleButtonFrames(suiMin, false), (TsuiTitleFrames{13, 14, 15}));
    EXPECT_EQ(SUITitleButtonFrames(suiClose, false), (TsuiTitleFrames{16, 17, 18}));
    EXPECT_EQ(SUITitleButtonFrames(suiCustom, false), (TsuiTitleFrames{0, 0, 0}));
}

TEST(CaptionShortening, FitsCutsOrGivesUp) {
    TBitmap b(1, 1, pf24bit);
    TCanvas* c = b.GetCanvas();
    const String text = "A rather long caption";
    const int full = c->TextWidth(text), dots = c->TextWidth("...");
    EXPECT_EQ(SUIShortenCaption(c, text, full), text);
    String cut = SUIShortenCaption(c, text, full / 2);
    ASSERT_GE(cut.size(), 4u);
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");
    EXPECT_EQ(text.compare(0, cut.size() - 3, cut, 0, cut.size() - 3), 0);
    EXPECT_LE(c->TextWidth(cut), full / 2);
    EXPECT_EQ(SUIShortenCaption(c, text, dots), "...");
    EXPECT_EQ(SUIShortenCaption(c, text, dots - 1), "");   // narrower than "...": nothing
    EXPECT_EQ(SUIShortenCaption(c, text, -20), "");
    // Multi-byte characters are removed whole.
    String chinese = SUIShortenCaption(c, "关闭关闭关闭关闭关闭关闭", c->TextWidth("关闭...") );
    EXPECT_EQ(chinese, "关闭...");
}

TEST_F(TitleBar, ButtonsFromTheRightCloseMaxMinControlBoxLeft) {
    bar->SetUIStyle(WinXP);
    TsuiTitleBarLayout l = bar->Layout(400);
    // Collection order: control box, close, max, min.
    const TRect box = l.Buttons[0], close = l.Buttons[1], max = l.Buttons[2], min = l.Buttons[3];
    const int w = close.Width();
    EXPECT_EQ(close.Left, 400 + 1 + bar->GetRightBtnXOffset() - (w + 1));
    EXPECT_EQ(max.Right + 1, close.Left);
    EXPECT_EQ(min.Right + 1, max.Left);
    EXPECT_EQ(box.Left, bar->GetLeftBtnXOffset());
    EXPECT_EQ(close.Top, bar->ButtonTop());
    EXPECT_EQ(l.CaptionLeft, std::max(6, bar->GetLeftBtnXOffset() + box.Width() + 5) == 0 ? 6 : bar->GetLeftBtnXOffset() + box.Width() + 5);
    EXPECT_EQ(l.CaptionRight, min.Left);

    bar->SetButtonInterval(4);
    TsuiTitleBarLayout spaced = bar->Layout(400);
    EXPECT_EQ(spaced.Buttons[2].Right + 1 + 4, spaced.Buttons[1].Left);
}

TEST_F(TitleBar, PicturesComeFromTheStripFrames) {
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        SCOPED_TRACE(static_cast<int>(look));
        bar->SetUIStyle(look);
        EXPECT_EQ(PicPixel(Button(suiClose)->GetPicNormal()), FramePixel(look, 16));
        EXPECT_EQ(PicPixel(Button(suiClose)->GetPicMouseDown()), FramePixel(look, 18));
        EXPECT_EQ(PicPixel(Button(suiMin)->GetPicMouseOn()), FramePixel(look, 14));
        EXPECT_EQ(PicPixel(Button(suiControlBox)->GetPicNormal()), FramePixel(look, 1));
        EXPECT_EQ(bar->GetSections()->Count(), 3);
        EXPECT_TRUE(bar->CanPaint());
        EXPECT_EQ(bar->GetHeight(), bar->GetLeftImage()->GetHeight());
    }
}

TEST_F(TitleBar, MaximizeButtonSwapsToRestorePicturesAndBack) {
    bar->SetUIStyle(DeepBlue);
    form->Show();
    TsuiTitleBarButton* max = Button(suiMax);
    max->DoClick();
    EXPECT_EQ(form->GetWindowState(), wsMaximized);
    EXPECT_EQ(PicPixel(max->GetPicNormal()), FramePixel(DeepBlue, 10));
    TRect work = GetWorkAreaRect();
    EXPECT_EQ(form->GetBoundsRect(), Rect(work.Left, work.Top, work.Right, work.Bottom - 1));
    max->DoClick();
    EXPECT_EQ(form->GetWindowState(), wsNormal);
    EXPECT_EQ(PicPixel(max->GetPicNormal()), FramePixel(DeepBlue, 7));
}

TEST_F(TitleBar, SecondControlBoxAndSecondClientSectionAreRefused) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    ask.MessageAnswers.push_back(mrOk);
    ask.MessageAnswers.push_back(mrOk);
    TsuiTitleBarButton* close = Button(suiClose);
    close->SetButtonType(suiControlBox);
    EXPECT_EQ(close->GetButtonType(), suiClose);
    ASSERT_EQ(ask.Questions.size(), 1u);
    EXPECT_EQ(ask.Questions[0].Text, "Sorry, only one button's ButtonType property can be \"suiControlBox\"");
    TsuiTitleBarSection* left = bar->GetSections()->Items(0);
    left->SetAlign(suiClient);
    EXPECT_EQ(left->GetAlign(), suiLeft);
    ASSERT_EQ(ask.Questions.size(), 2u);
    EXPECT_EQ(ask.Questions[1].Text, "Sorry, only one section's Align property can be \"suiClient\"");
    // Indexes out of range are nothing.
    EXPECT_EQ(bar->GetButtons()->Items(9), nullptr);
    bar->GetButtons()->Delete(-1);
    EXPECT_EQ(bar->GetButtons()->Count(), 4);
}

TEST_F(TitleBar, FileThemeKeepsTheCaptionColourAndTheLookRecomputesIt) {
    bar->SetUIStyle(MacOS);
    EXPECT_EQ(bar->GetFont()->GetColor(), clBlack);
    bar->GetFont()->SetColor(clRed);
    TsuiFileTheme theme(form.get());
    bar->SetFileTheme(&theme);
    EXPECT_EQ(bar->GetFont()->GetColor(), clRed);
    bar->SetUIStyle(WinXP);
    EXPECT_EQ(bar->GetFont()->GetColor(), clWhite);
}

// A theme file with the left and right pictures but no client picture.
TEST_F(TitleBar, ASectionTheThemeFileLacksShowsNoOtherSectionsPicture) {
    TTempFolder dir("titlebar_theme");
    std::unique_ptr<TBitmap> left(SolidBitmap(6, 20, clRed));
    std::unique_ptr<TBitmap> right(SolidBitmap(6, 20, clBlue));
    left->SaveToFile(dir["left.bmp"]);
    right->SaveToFile(dir["right.bmp"]);
    {
        TsuiThemeFileWriter w(dir["bar.sui"]);
        w.AddFile(SUIThemeItemName(SUI_THEME_TITLEBAR_LEFT_IMAGE), dir["left.bmp"]);
        w.AddFile(SUIThemeItemName(SUI_THEME_TITLEBAR_RIGHT_IMAGE), dir["right.bmp"]);
        w.Save();
    }
    auto* theme = new TsuiFileTheme(form.get());
    theme->SetThemeFile(dir["bar.sui"]);
    bar->SetFileTheme(theme);
    bar->SetUIStyle(FromThemeFile);
    ASSERT_NE(bar->GetLeftImage(), nullptr);
    ASSERT_NE(bar->GetRightImage(), nullptr);
    EXPECT_EQ(bar->GetLeftImage()->GetPixelColor(3, 10), static_cast<COLORREF>(clRed));
    EXPECT_EQ(bar->GetRightImage()->GetPixelColor(3, 10), static_cast<COLORREF>(clBlue));
    TBitmap* client = bar->GetCenterImage();
    EXPECT_TRUE(client == nullptr || client->GetEmpty()) << "the client section copied the right section's picture";
}

TEST_F(TitleBar, CustomKeepsEverything) {
    bar->SetUIStyle(WinXP);
    bar->SetCustom(true);
    TBitmap* left = bar->GetLeftImage();
    COLORREF before = left->GetPixelColor(5, 5);
    bar->SetUIStyle(MacOS);
    EXPECT_EQ(bar->GetUIStyle(), MacOS);
    EXPECT_EQ(bar->GetLeftImage()->GetPixelColor(5, 5), before);
}

TEST_F(TitleBar, DoubleClickMaximizesOrClosesOnTheControlBox) {
    TScriptedInteraction ask;   // the press on the control box opens the system menu first
    TInstallInteraction installed(ask);
    bar->SetUIStyle(DeepBlue);
    form->Show();
    DoubleClickAt(bar, 150, bar->GetHeight() / 2);
    EXPECT_EQ(form->GetWindowState(), wsMaximized);
    DoubleClickAt(bar, 150, bar->GetHeight() / 2);
    EXPECT_EQ(form->GetWindowState(), wsNormal);
    TPoint box = Centre(0);
    DoubleClickAt(bar, box.x, box.y);
    EXPECT_FALSE(form->GetVisible());
}

TEST_F(TitleBar, PressOnTheEmptyBarDragsTheWindow) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TRecordingMove move;
    SetWindowMoveService(&move);
    bar->SetUIStyle(DeepBlue);
    form->Show();
    MousePress(bar, 150, 5);
    MouseRelease(bar, 150, 5);
    EXPECT_EQ(move.moves, 1);
    TPoint close = Centre(1);
    MousePress(bar, close.x, close.y);
    EXPECT_EQ(move.moves, 1);   // a button is no caption
}

TEST_F(TitleBar, ClickingTheCloseButtonClosesAndCustomButtonsFireTheirEvent) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    bar->SetUIStyle(DeepBlue);
    auto* custom = bar->GetButtons()->Add();
    TPicture pic;
    std::unique_ptr<TBitmap> green(SolidBitmap(16, 16, clLime));
    pic.SetBitmap(green.get());
    custom->SetPicNormal(&pic);
    int clicked = -1;
    bar->OnCustomBtnsClick = [&](TObject*, int Index) { clicked = Index; };
    form->Show();
    TPoint c = Centre(4);
    ClickAt(bar, c.x, c.y);
    EXPECT_EQ(clicked, 4);
    TPoint close = Centre(1);
    ClickAt(bar, close.x, close.y);
    EXPECT_FALSE(form->GetVisible());
}

TEST_F(TitleBar, SystemMenuEnablesItemsOfVisibleButtons) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    Button(suiMin)->SetVisible(false);
    TsuiTitleBarPopupMenu* menu = bar->GetSystemMenu();
    ASSERT_EQ(menu->GetItems()->Count(), 4);
    EXPECT_EQ(menu->GetItems()->Items(0)->GetCaption(), "最小化(&N)");
    EXPECT_EQ(menu->GetItems()->Items(1)->GetCaption(), "最大化/还原(&X)");
    EXPECT_EQ(menu->GetItems()->Items(3)->GetCaption(), "关闭(&C)");
    bar->PopupSystemMenu();
    EXPECT_FALSE(menu->GetItems()->Items(0)->GetEnabled());
    EXPECT_TRUE(menu->GetItems()->Items(1)->GetEnabled());
    EXPECT_TRUE(menu->GetItems()->Items(3)->GetEnabled());
    ASSERT_EQ(ask.Of(TQuestionKind::PopupMenu).size(), 1u);
    // The control box opens it too.
    TPoint box = Centre(0);
    form->Show();
    ClickAt(bar, box.x, box.y);
    EXPECT_EQ(ask.Of(TQuestionKind::PopupMenu).size(), 2u);
}

TEST_F(TitleBar, AFreedControlBoxMenuIsForgotten) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    auto* menu = new TPopupMenu(form.get());
    auto* item = new TMenuItem(form.get());
    item->SetCaption("Own");
    menu->GetItems()->Add(item);
    Button(suiControlBox)->SetControlBoxMenu(menu);
    Button(suiControlBox)->DoClick();
    ASSERT_EQ(ask.Of(TQuestionKind::PopupMenu).size(), 1u);
    EXPECT_EQ(ask.Of(TQuestionKind::PopupMenu)[0].Menu, menu);
    delete menu;
    EXPECT_EQ(Button(suiControlBox)->GetControlBoxMenu(), nullptr);
    Button(suiControlBox)->DoClick();   // nothing to open
    EXPECT_EQ(ask.Of(TQuestionKind::PopupMenu).size(), 1u);
}

TEST_F(TitleBar, CaptionIsDrawnAndHotButtonFollowsThePointer) {
    bar->SetUIStyle(WinXP);
    form->Show();
    TPoint close = Centre(1);
    MouseMoveTo(bar, close.x, close.y);
    TBitmap shot;
    Snapshot(form.get(), &shot);
    EXPECT_EQ(bar->HotButton(), 1);
    MouseMoveTo(bar, 150, 2);
    Snapshot(form.get(), &shot);
    EXPECT_EQ(bar->HotButton(), -1);
}

// The control box shows the application's icon at 16 x 16 where the application has one, the
// program's "MAINICON" without it.
TEST_F(TitleBar, TheAppIconIsTheApplicationsOwnScaledTo16) {
    bar->SetUIStyle(WinXP);
    bar->SetDrawAppIcon(true);
    form->Show();
    const TsuiTitleBarLayout layout = bar->Layout(bar->GetWidth());
    ASSERT_TRUE(layout.DrawsAppIcon);
    const TPoint at = layout.AppIcon;
    const auto iconPixels = [&] {
        TBitmap shot;
        Snapshot(bar, &shot);
        return std::vector<COLORREF>{shot.GetPixelColor(at.x + 1, at.y + 1), shot.GetPixelColor(at.x + 14, at.y + 14),
                                     shot.GetPixelColor(at.x + 16, at.y + 8)};
    };
    const std::vector<COLORREF> mainIcon = iconPixels();

    TBitmap own(32, 32, pf24bit);
    own.GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0x0000C0));
    own.GetCanvas()->FillRect(TRect(0, 0, 32, 32));
    own.GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0xC00000));
    own.GetCanvas()->FillRect(TRect(16, 16, 32, 32));
    own.GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(0x00C000));  // the see-through corner
    own.GetCanvas()->FillRect(TRect(0, 16, 16, 32));
    Application->SetIcon(&own);
    bar->Invalidate();
    const std::vector<COLORREF> shown = iconPixels();
    Application->SetIcon(nullptr);
    EXPECT_EQ(shown[0], 0x0000C0u) << "top-left quarter";
    EXPECT_EQ(shown[1], 0xC00000u) << "bottom-right quarter, so 32 pixels became 16";
    EXPECT_NE(shown[2], 0xC00000u) << "nothing beyond the 16 pixels";

    bar->Invalidate();
    EXPECT_EQ(iconPixels(), mainIcon) << "without its own icon the program's comes back";
    TBitmap resource;
    resource.LoadFromResourceName(HInstance, "MAINICON");
    EXPECT_FALSE(resource.GetEmpty());
}

}  // namespace
