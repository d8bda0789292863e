#include "skin/controls/SUIGroupBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "core/Language.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUIMgr.h"
#include "tests/skin/controls/ThemeFixture.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

constexpr TColor Line = 0x0000C0;
constexpr TColor Back = 0xF0F0F0;

class GroupBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(40, 40, 320, 240);
        form->SetColor(Back);
    }
    TsuiGroupBox* NewGroup(const String& Caption) {
        auto* g = new TsuiGroupBox(form.get());
        g->SetParent(form.get());
        g->SetBounds(10, 10, 200, 120);
        g->SetBorderColor(Line);
        g->SetCaption(Caption);
        return g;
    }
    // The y of the top line: through the middle of the caption.
    static int TopLineY(TsuiGroupBox* G) { return std::abs(G->GetFont()->GetHeight()) / 2 + 1; }
    static int TextWidth(TsuiGroupBox* G, const String& S) {
        TBitmap b(1, 1);
        b.GetCanvas()->SetFont(G->GetFont());
        return b.GetCanvas()->TextWidth(S);
    }
    std::unique_ptr<TForm> form;
};

TEST(SUIGroupBoxCaptionGapTable, GapIsTextWidthPlusFour) {
    struct Case {
        int width;
        bool caption;
        TsuiCaptionGap gap;
    } cases[] = {{0, false, {0, 0}}, {40, true, {2, 46}}, {0, true, {2, 6}}};
    for (const Case& c : cases) EXPECT_EQ(SUIGroupBoxCaptionGap(c.width, c.caption), c.gap) << c.width;
}

TEST_F(GroupBoxTest, DefaultsAndTheConstructedLook) {
    auto* g = new TsuiGroupBox(form.get());
    EXPECT_EQ(g->GetText(), " ");
    EXPECT_EQ(g->GetCaption(), "");
    EXPECT_EQ(g->GetWidth(), 185);
    EXPECT_EQ(g->GetHeight(), 105);
    EXPECT_FALSE(g->GetTransparent());
    EXPECT_EQ(g->GetUIStyle(), DeepBlue);
    EXPECT_EQ(g->GetBorderColor(), GetInsideThemeColor(DeepBlue, SUI_THEME_CONTROL_BORDER_COLOR));
    EXPECT_EQ(g->GetFont()->GetColor(), GetInsideThemeColor(DeepBlue, SUI_THEME_CONTROL_FONT_COLOR));
}

TEST_F(GroupBoxTest, EachLookSetsBorderAndFontColour) {
    auto* g = NewGroup("x");
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        g->SetUIStyle(look);
        EXPECT_EQ(g->GetBorderColor(), GetInsideThemeColor(look, SUI_THEME_CONTROL_BORDER_COLOR)) << look;
        EXPECT_EQ(g->GetFont()->GetColor(), GetInsideThemeColor(look, SUI_THEME_CONTROL_FONT_COLOR)) << look;
    }
}

TEST_F(GroupBoxTest, CaptionSitsInAGapOfTheTopLine) {
    const String caption = " Output Property ";
    auto* g = NewGroup(caption);
    const int y = TopLineY(g), tw = TextWidth(g, caption);
    struct Probe {
        int x;
        bool line;
    } probes[] = {{0, true}, {2, true}, {3, false}, {tw + 6, false}, {tw + 7, true}, {199, true}};
    for (const Probe& p : probes)
        EXPECT_EQ(PixelAt(g, p.x, y) == Line, p.line) << "x = " << p.x << " (text width " << tw << ")";
    // The other three sides are closed.
    EXPECT_EQ(PixelAt(g, 0, 60), Line);
    EXPECT_EQ(PixelAt(g, 199, 60), Line);
    EXPECT_EQ(PixelAt(g, 100, 119), Line);
    // Between the frame lines the group shows its own colour.
    EXPECT_EQ(PixelAt(g, 100, 60), Back);
}

TEST_F(GroupBoxTest, EmptyCaptionClosesTheFrame) {
    auto* g = NewGroup("");
    const int y = TopLineY(g);
    for (int x : {0, 3, 10, 50, 199}) EXPECT_EQ(PixelAt(g, x, y), Line) << x;
}

TEST_F(GroupBoxTest, WindowTextIsNotTheCaption) {
    auto* g = NewGroup("");
    g->SetText("Window text");
    EXPECT_EQ(g->GetCaption(), "");
    for (int x : {3, 10, 50}) EXPECT_EQ(PixelAt(g, x, TopLineY(g)), Line) << x;
}

TEST_F(GroupBoxTest, DisabledCaptionIsGreyButTheFontKeepsItsColour) {
    auto* g = NewGroup("MMMM");
    g->GetFont()->SetColor(clBlack);
    g->SetEnabled(false);
    TBitmap shot;
    Snapshot(g, &shot);
    bool grey = false, black = false;
    for (int y = 0; y < 14; ++y)
        for (int x = 5; x < 5 + TextWidth(g, "MMMM"); ++x) {
            TColor c = static_cast<TColor>(shot.GetPixelColor(x, y));
            grey |= c == 0x808080;
            black |= c == clBlack;
        }
    EXPECT_TRUE(grey);
    EXPECT_FALSE(black);
    EXPECT_EQ(g->GetFont()->GetColor(), clBlack);
}

TEST_F(GroupBoxTest, ClientAlignedChildKeepsClearOfFrameAndCaption) {
    auto* g = NewGroup("Caption");
    const int h = std::abs(g->GetFont()->GetHeight());
    auto* child = new TPanel(form.get());
    child->SetParent(g);
    child->SetAlign(alClient);
    EXPECT_EQ(child->GetLeft(), 3);
    EXPECT_EQ(child->GetTop(), h + 5);
    EXPECT_EQ(child->GetLeft() + child->GetWidth(), 200 - 3);
    EXPECT_EQ(child->GetTop() + child->GetHeight(), 120 - 3);
    TRect client = g->GetClient();
    EXPECT_EQ(client, Rect(3, h, 198, 118));
}

TEST_F(GroupBoxTest, LookAndThemeReachSkinnedChildren) {
    auto* g = NewGroup("x");
    auto* check = new TsuiCheckBox(form.get());
    check->SetParent(g);
    g->SetUIStyle(Protein);
    EXPECT_EQ(check->GetUIStyle(), Protein);
}

TEST_F(GroupBoxTest, FreeingTheFileThemeFallsBackToDeepBlueForGroupAndChildren) {
    skin_controls_test::ThemeFolder themes;
    TsuiFileTheme* theme = themes.NewTheme(form.get(), {{SUI_THEME_CONTROL_BORDER_COLOR, 0x112233},
                                                         {SUI_THEME_CONTROL_FONT_COLOR, 0x445566}});
    ASSERT_TRUE(theme->CanUse());
    auto* g = NewGroup("x");
    auto* check = new TsuiCheckBox(form.get());
    check->SetParent(g);
    g->SetUIStyle(FromThemeFile);
    g->SetFileTheme(theme);
    EXPECT_EQ(g->GetBorderColor(), 0x112233);
    EXPECT_EQ(g->GetFont()->GetColor(), 0x445566);
    EXPECT_EQ(check->GetFileTheme(), theme);
    delete theme;
    EXPECT_EQ(g->GetFileTheme(), nullptr);
    EXPECT_EQ(g->GetUIStyle(), DeepBlue);
    EXPECT_EQ(g->GetBorderColor(), GetInsideThemeColor(DeepBlue, SUI_THEME_CONTROL_BORDER_COLOR));
    EXPECT_EQ(check->GetFileTheme(), nullptr);
    EXPECT_EQ(check->GetUIStyle(), DeepBlue);
}

TEST_F(GroupBoxTest, LanguageLoaderCaptionsTheGroupNotItsWindowText) {
    auto* g = NewGroup("old");
    SUISetGroupBoxCaption(g, " Disc Info ");
    EXPECT_EQ(g->GetCaption(), " Disc Info ");
    EXPECT_EQ(g->GetText(), " ");
    auto* plain = new TPanel(form.get());
    SUISetGroupBoxCaption(plain, "text");
    EXPECT_EQ(plain->GetCaption(), "text");
}

}  // namespace
