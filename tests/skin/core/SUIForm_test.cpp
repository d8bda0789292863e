#include "skin/core/SUIForm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include <unistd.h>

#include "platform/vcl/FormWindow.h"
#include "platform/vcl/SysUtils.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemeFile.h"
#include "skin/core/Suipublic.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/skin/core/TitleBarForwarding.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class SkinnedFrame : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetBounds(40, 40, 400, 300);
        form->SetCaption("Frame");
    }
    TsuiForm* NewFrame(TsuiUIStyle Look = WinXP) {
        auto* f = new TsuiForm(form.get());
        f->SetUIStyle(Look);
        return f;
    }
    TsuiMainMenu* NewMenu(std::initializer_list<const char*> Captions) {
        auto* menu = new TsuiMainMenu(form.get());
        for (const char* c : Captions) {
            auto* item = new TMenuItem(form.get());
            item->SetCaption(c);
            menu->GetItems()->Add(item);
        }
        menu->AfterConstruction();
        return menu;
    }
    std::unique_ptr<TForm> form;
};

TEST_F(SkinnedFrame, TakesTheFormOverAndGivesItBack) {
    TWndMethod before = form->WindowProc;
    TsuiForm* frame = NewFrame();
    EXPECT_EQ(form->GetBorderStyle(), bsDialog);
    EXPECT_EQ(GetWindowLong(form->GetHandle(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(form->FrameMetrics(), (TRect{3, 3, 3, 3}));
    EXPECT_EQ(frame->GetAlign(), alClient);
    EXPECT_EQ(frame->GetCaption(), "Frame");
    EXPECT_EQ(form->Constraints().MinWidth, GetInsideThemeInt(WinXP, SUI_THEME_FORM_MINWIDTH_INT));
    EXPECT_EQ(form->Constraints().MinHeight, 50);
    delete frame;
    EXPECT_NE(GetWindowLong(form->GetHandle(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(form->FrameMetrics(), FormFrameMetrics(bsDialog));
    // The form's own procedure is back: messages reach it without the hook.
    form->Perform(WM_SIZE, SIZE_RESTORED, 0);
    (void)before;
}

TEST_F(SkinnedFrame, ASecondFrameOrANonFormOwnerStaysAPlainPanel) {
    TsuiForm* first = NewFrame();
    auto* second = new TsuiForm(form.get());
    EXPECT_NE(first->GetTitleBar(), nullptr);
    EXPECT_EQ(second->GetTitleBar(), nullptr);
    EXPECT_EQ(second->GetForm(), nullptr);
    TComponent owner(nullptr);
    TsuiForm loose(&owner);
    EXPECT_EQ(loose.GetTitleBar(), nullptr);
}

TEST_F(SkinnedFrame, RegionRoundsTheTopCornersOnly) {
    TsuiForm* frame = NewFrame(WinXP);
    frame->SetRoundCorner(8);
    form->SetWidth(401);  // a size change rebuilds the region
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(form->GetHandle(), r), ERROR_REGION);
    const int W = form->GetWidth(), H = form->GetHeight();
    EXPECT_FALSE(PtInRegion(r, 0, 0));
    EXPECT_FALSE(PtInRegion(r, W - 1, 0));
    EXPECT_TRUE(PtInRegion(r, 8, 8));
    EXPECT_TRUE(PtInRegion(r, 0, H - 1));
    EXPECT_TRUE(PtInRegion(r, W - 1, H - 1));
    // Without the title bar the corners are square.
    frame->SetTitleBarVisible(false);
    EXPECT_EQ(frame->GetRoundCorner(), 0);
    form->SetWidth(400);
    ASSERT_NE(GetWindowRgn(form->GetHandle(), r), ERROR_REGION);
    EXPECT_TRUE(PtInRegion(r, 0, 0));
    DeleteObject(r);
}

TEST(FormRegion, RoundTopSquareBottom) {
    HRGN r = SUICreateFormRegion(100, 80, 10);
    EXPECT_FALSE(PtInRegion(r, 0, 0));
    EXPECT_TRUE(PtInRegion(r, 50, 0));
    EXPECT_TRUE(PtInRegion(r, 0, 79));
    EXPECT_TRUE(PtInRegion(r, 99, 79));
    DeleteObject(r);
}

TEST_F(SkinnedFrame, BorderStripsAndBandsArePaintedOnTheWindow) {
    TsuiForm* frame = NewFrame(DeepBlue);
    frame->SetBorderColor(clRed);
    frame->SetBorderWidth(1);
    TBitmap out;
    form->PaintWindowTo(&out);
    const int W = form->GetWidth(), H = form->GetHeight();
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(0, H / 2)), clRed);        // left strip
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(W - 1, H / 2)), clRed);    // right strip
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(W / 2, H - 1)), clRed);    // bottom strip
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(1, H / 2)), frame->GetColor());  // inner band
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(W / 2, H - 2)), frame->GetColor());
}

TEST_F(SkinnedFrame, TheShownWindowCarriesTheBorder) {
    TsuiForm* frame = NewFrame(DeepBlue);
    frame->SetBorderColor(clRed);
    frame->SetBorderWidth(1);
    form->Show();
    const int W = form->GetWidth(), H = form->GetHeight();
    ASSERT_TRUE(RunUntil([&] { return ShownPixel(form.get(), 0, H / 2) == clRed; }));
    EXPECT_EQ(ShownPixel(form.get(), W - 1, H / 2), clRed);
    EXPECT_EQ(ShownPixel(form.get(), W / 2, H - 1), clRed);
    EXPECT_EQ(ShownPixel(form.get(), 1, H / 2), ColorToRGB(frame->GetColor()));
    // A new colour reaches the screen without any other repaint.
    frame->SetBorderColor(clLime);
    EXPECT_TRUE(RunUntil([&] { return ShownPixel(form.get(), 0, H / 2) == clLime; }));
}

TEST(FormBorder, HiddenTitleBarGetsATopLine) {
    TBitmap b(50, 40, pf24bit);
    TsuiFormBorder border;
    border.Width = 50;
    border.Height = 40;
    border.BorderWidth = 1;
    border.BorderColor = clRed;
    border.InnerColor = clLime;
    border.TitleBarVisible = false;
    SUIPaintFormBorder(b.GetCanvas(), border);
    EXPECT_EQ(static_cast<TColor>(b.GetPixelColor(25, 0)), clRed);
    EXPECT_EQ(static_cast<TColor>(b.GetPixelColor(25, 1)), clLime);
    EXPECT_EQ(static_cast<TColor>(b.GetPixelColor(25, 2)), clLime);
    EXPECT_EQ(static_cast<TColor>(b.GetPixelColor(2, 20)), clLime);
}

TEST_F(SkinnedFrame, MaximizingCoversTheWorkAreaLessOneRow) {
    NewFrame();
    form->Show();
    form->SetWindowState(wsMaximized);
    TRect work = GetWorkAreaRect();
    EXPECT_EQ(form->GetBoundsRect(), Rect(work.Left, work.Top, work.Right, work.Bottom - 1));
}

TEST_F(SkinnedFrame, AltSpaceOpensTheSystemMenuWithAChildFocused) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TsuiForm* frame = NewFrame();
    auto* child = new TWinControl(form.get());
    child->SetParent(frame);
    child->SetBounds(20, 60, 80, 20);
    child->SetTabStop(true);
    form->Show();
    child->SetFocus();
    PressKey(form.get(), VK_SPACE, {ssAlt}, " ");
    ASSERT_EQ(ask.Of(TQuestionKind::PopupMenu).size(), 1u);
    EXPECT_EQ(ask.Of(TQuestionKind::PopupMenu)[0].Menu, frame->GetTitleBar()->GetSystemMenu());
}

TEST_F(SkinnedFrame, AMenuOfThreeItemsGivesThreeButtonsInOrder) {
    TsuiForm* frame = NewFrame();
    TsuiMainMenu* menu = NewMenu({"&File", "&Edit", "&Help"});
    EXPECT_EQ(frame->GetMenu(), menu);
    EXPECT_EQ(menu->GetForm(), frame);
    ASSERT_NE(frame->GetMenuBar(), nullptr);
    ASSERT_EQ(frame->GetMenuBar()->ButtonCount(), 3);
    EXPECT_EQ(frame->GetMenuBar()->Buttons(0)->GetCaption(), "&File");
    EXPECT_EQ(frame->GetMenuBar()->Buttons(2)->GetCaption(), "&Help");
    EXPECT_EQ(frame->GetMenuBar()->Buttons(1)->GetMenuItem(), menu->GetItems()->Items(1));
    menu->GetItems()->Items(1)->SetCaption("E&dit");
    EXPECT_EQ(frame->GetMenuBar()->Buttons(1)->GetCaption(), "E&dit");
    delete menu;
    EXPECT_EQ(frame->GetMenu(), nullptr);
    EXPECT_EQ(frame->GetMenuBar(), nullptr);
}

TEST_F(SkinnedFrame, MenuShortcutsRunThroughTheKeyboardHook) {
    NewFrame();
    TsuiMainMenu* menu = NewMenu({"&File"});
    auto* save = new TMenuItem(form.get());
    save->SetCaption("Save");
    save->SetShortCut(ShortCut('S', {ssCtrl}));
    int saved = 0;
    save->OnClick = [&](TObject*) { ++saved; };
    menu->GetItems()->Items(0)->Add(save);
    form->Show();
    RunUntil([&] { return form->Active(); }, 1000);
    if (!form->Active()) GTEST_SKIP() << "the offscreen platform did not activate the form";
    PressKey(form.get(), 'S', {ssCtrl});
    EXPECT_EQ(saved, 1);
}

TEST_F(SkinnedFrame, ThePanelItselfIsRefusedAsFormPanel) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TsuiForm* frame = NewFrame();
    auto* panel = new TPanel(form.get());
    panel->SetParent(frame);
    frame->SetPanel(panel);
    EXPECT_EQ(frame->GetFormPanel(), panel);
    EXPECT_EQ(panel->GetAlign(), alClient);
    EXPECT_EQ(panel->GetBevelOuter(), bvNone);
    frame->SetPanel(frame);
    ASSERT_EQ(ask.Questions.size(), 1u);
    EXPECT_EQ(ask.Questions[0].Text, "Sorry, you can't select the Form assign to FormPanel property");
    EXPECT_EQ(frame->GetFormPanel(), panel);
    delete panel;
    EXPECT_EQ(frame->GetFormPanel(), nullptr);
}

class ThemeFile {
public:
    ThemeFile() : m_dir(std::filesystem::temp_directory_path() / ("periph_theme_" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_dir);
    }
    ~ThemeFile() { std::filesystem::remove_all(m_dir); }
    String Write(TColor Border) {
        const std::filesystem::path path = m_dir / ("theme" + std::to_string(m_count++) + ".sui");
        TsuiThemeFileWriter w(path.string());
        w.AddInteger(SUIThemeItemName(SUI_THEME_FORM_BORDER_COLOR), Border);
        w.AddInteger(SUIThemeItemName(SUI_THEME_FORM_BORDERWIDTH_INT), 2);
        w.Save();
        return path.string();
    }

private:
    std::filesystem::path m_dir;
    int m_count = 0;
};

TEST_F(SkinnedFrame, AReloadedThemeFileReachesTheFrame) {
    ThemeFile file;
    TsuiForm* frame = NewFrame();
    auto* theme = new TsuiFileTheme(form.get());
    theme->SetThemeFile(file.Write(0x112233));
    frame->SetUIStyle(FromThemeFile);
    frame->SetFileTheme(theme);
    EXPECT_EQ(frame->GetBorderColor(), 0x112233);
    // A new file in the same theme component: it hands itself to the frame again.
    theme->SetThemeFile(file.Write(0x445566));
    EXPECT_EQ(frame->GetBorderColor(), 0x445566);
    delete theme;
    EXPECT_EQ(frame->GetFileTheme(), nullptr);
    EXPECT_EQ(frame->GetUIStyle(), DeepBlue);
}

// The frame publishes the title bar's properties as its own: they live in the bar.
TEST_F(SkinnedFrame, TheTitleBarsPropertiesAndEventsAreForwarded) {
    TsuiForm* frame = NewFrame(WinXP);
    TsuiTitleBar* bar = frame->GetTitleBar();
    ExpectTitleBarFlagsForwarded(*frame, bar);
    TForm other(nullptr);
    auto* otherBar = new TsuiTitleBar(&other);
    otherBar->SetUIStyle(WinXP);
    otherBar->GetButtons()->Add();
    const int count = otherBar->GetButtons()->Count();
    ASSERT_NE(count, bar->GetButtons()->Count());
    frame->SetTitleBarButtons(*otherBar->GetButtons());
    EXPECT_EQ(bar->GetButtons()->Count(), count);

    TFont big;
    big.SetName("Liberation Sans");
    big.SetSize(15);
    const int panelSize = frame->TPanel::GetFont()->GetSize();
    frame->SetFont(&big);
    EXPECT_EQ(frame->GetFont(), bar->GetFont());
    EXPECT_EQ(bar->GetFont()->GetSize(), 15);
    EXPECT_EQ(frame->TPanel::GetFont()->GetSize(), panelSize) << "the panel's own font stays";

    std::vector<String> fired;
    frame->SetOnTitleBarCustomBtnsClick([&](TObject*, int i) { fired.push_back("custom " + IntToStr(i)); });
    frame->SetOnTitleBarHelpBtnClick([&](TObject*, int i) { fired.push_back("help " + IntToStr(i)); });
    ASSERT_TRUE(bar->OnCustomBtnsClick && bar->OnHelpBtnClick);
    bar->OnCustomBtnsClick(bar, 4);
    frame->GetOnTitleBarHelpBtnClick()(bar, 2);
    EXPECT_EQ(fired, (std::vector<String>{"custom 4", "help 2"}));
}

TEST_F(SkinnedFrame, VersionReadsFivePointSevenAndStaysSo) {
    TsuiForm* frame = NewFrame();
    frame->SetVersion("1.0");
    EXPECT_EQ(frame->GetVersion(), "5.7");
}

}  // namespace
