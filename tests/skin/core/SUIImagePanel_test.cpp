#include "skin/core/SUIImagePanel.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class PanelForm : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(70, 70, 300, 220);
        form->SetColor(clAqua);
    }
    void TearDown() override { form.reset(); }
    TsuiPanel* NewPanel() {
        auto* p = new TsuiPanel(form.get());
        p->SetParent(form.get());
        p->SetBounds(10, 10, 150, 100);
        p->SetHeight(100);
        return p;
    }
    // The control's own height, not the published expanded one.
    static int ActualHeight(TControl* C) { return C->GetHeight(); }
    std::unique_ptr<TForm> form;
};

TEST(SUIPanelAnimationStepsTable, FifteenPixelSteps) {
    struct Case {
        int from, to;
        std::vector<int> steps;
    } cases[] = {
        {100, 21, {85, 70, 55, 40, 25, 21}},
        {21, 100, {36, 51, 66, 81, 96, 100}},
        {36, 21, {21}},
        {35, 20, {20}},
        {21, 21, {21}},
        {0, 0, {0}},
    };
    for (const Case& c : cases) EXPECT_EQ(SUIPanelAnimationSteps(c.from, c.to), c.steps) << c.from << " -> " << c.to;
}

TEST_F(PanelForm, PushStepsDownToTheTitleAndPopComesBack) {
    TsuiPanel* p = NewPanel();
    int title = p->GetTitleHeight() == 0 ? 20 : p->GetTitleHeight();
    std::vector<int> seen;
    p->OnResize = [&](TObject*) { seen.push_back(ActualHeight(p)); };
    int pushes = 0, pops = 0;
    p->OnPush = [&](TObject*) { ++pushes; };
    p->OnPop = [&](TObject*) { ++pops; };
    p->Push();
    EXPECT_EQ(seen, SUIPanelAnimationSteps(100, title));
    EXPECT_EQ(ActualHeight(p), title);
    EXPECT_TRUE(p->GetPushed());
    EXPECT_EQ(p->GetHeight(), 100) << "the expanded height survives the animation";
    EXPECT_EQ(pushes, 1);
    seen.clear();
    p->Pop();
    EXPECT_EQ(seen, SUIPanelAnimationSteps(title, 100));
    EXPECT_FALSE(p->GetPushed());
    EXPECT_EQ(pops, 1);
}

TEST_F(PanelForm, PushRefusesSideAlignments) {
    for (TAlign a : {alClient, alLeft, alRight}) {
        TsuiPanel* p = NewPanel();
        p->SetAlign(a);
        int before = ActualHeight(p);
        try {
            p->Push();
            ADD_FAILURE() << "no exception for align " << a;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Can't push when Align is alClient, alLeft or alRight.");
        }
        EXPECT_EQ(ActualHeight(p), before);
        EXPECT_FALSE(p->GetPushed());
        delete p;
    }
}

TEST_F(PanelForm, CollapseDependsOnWhereTheButtonIsReleased) {
    form->Show();
    TsuiPanel* p = NewPanel();
    TRect button = p->ButtonRect();
    ASSERT_FALSE(button.Width() <= 0) << "the look has a collapse button";
    TPoint onButton{(button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2};
    // Hover the button (the last paint sees it hot), then release far below it.
    MouseMoveTo(p, onButton.x, onButton.y);
    PixelAt(p, 0, 0);
    MouseMoveTo(p, 60, 70);
    MousePress(p, 60, 70);
    MouseRelease(p, 60, 70);
    EXPECT_FALSE(p->GetPushed());
    // Pressed on the button but released off it: nothing either.
    MouseMoveTo(p, onButton.x, onButton.y);
    MousePress(p, onButton.x, onButton.y);
    MouseRelease(p, 60, 70);
    EXPECT_FALSE(p->GetPushed());
    ClickAt(p, onButton.x, onButton.y);
    EXPECT_TRUE(p->GetPushed());
    ClickAt(p, onButton.x, onButton.y);
    EXPECT_FALSE(p->GetPushed());
}

TEST_F(PanelForm, ClicksDuringTheAnimationAreIgnored) {
    form->Show();
    TsuiPanel* p = NewPanel();
    TRect button = p->ButtonRect();
    ASSERT_FALSE(button.Width() <= 0);
    TPoint onButton{(button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2};
    int pops = 0, nested = 0;
    p->OnPop = [&](TObject*) { ++pops; };
    p->OnResize = [&](TObject*) {
        if (!p->IsAnimating() || nested > 0) return;
        ++nested;
        ClickAt(p, onButton.x, onButton.y);
        p->Pop();
    };
    p->Push();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(pops, 0);
    EXPECT_TRUE(p->GetPushed());
    EXPECT_EQ(ActualHeight(p), p->GetTitleHeight() == 0 ? 20 : p->GetTitleHeight());
}

// ---- TsuiImagePanel ----

void FillPicture(TPicture* Pic, int W, int H, TColor Colour) {
    TBitmap b(W, H, pf24bit);
    b.GetCanvas()->GetBrush()->SetColor(Colour);
    b.GetCanvas()->FillRect(Rect(0, 0, W, H));
    Pic->SetBitmap(&b);
}

TEST_F(PanelForm, SeeThroughPanelWithoutPictureShowsItsParent) {
    auto* p = new TsuiImagePanel(form.get());
    p->SetParent(form.get());
    p->SetBounds(20, 20, 50, 40);
    p->SetColor(clRed);
    EXPECT_EQ(PixelAt(p, 10, 10), clRed);
    p->SetTransparent(true);
    EXPECT_EQ(PixelAt(p, 10, 10), clAqua);
}

TEST_F(PanelForm, DrawStyles) {
    auto* p = new TsuiImagePanel(form.get());
    p->SetParent(form.get());
    p->SetBounds(0, 0, 20, 10);
    p->SetColor(clWhite);
    TBitmap two(2, 1, pf24bit);
    two.GetCanvas()->SetPixels(0, 0, clRed);
    two.GetCanvas()->SetPixels(1, 0, clBlue);
    TPicture pic;
    pic.SetBitmap(&two);
    p->SetPicture(&pic);
    EXPECT_EQ(PixelAt(p, 1, 0), clBlue);
    EXPECT_EQ(PixelAt(p, 5, 5), clWhite) << "normal: only at the top-left";
    p->SetDrawStyle(suiTile);
    EXPECT_EQ(PixelAt(p, 4, 5), clRed);
    EXPECT_EQ(PixelAt(p, 5, 5), clBlue);
    p->SetDrawStyle(suiStretch);
    EXPECT_EQ(PixelAt(p, 3, 9), clRed);
    EXPECT_EQ(PixelAt(p, 15, 9), clBlue);
}

TEST_F(PanelForm, AutoSizeRespectsAlignment) {
    auto* p = new TsuiImagePanel(form.get());
    p->SetParent(form.get());
    p->SetAlign(alTop);
    int width = p->GetWidth();
    p->SetAutoSize(true);
    TPicture pic;
    FillPicture(&pic, 40, 30, clRed);
    p->SetPicture(&pic);
    EXPECT_EQ(p->GetHeight(), 30);
    EXPECT_EQ(p->GetWidth(), width);
    p->SetAlign(alNone);
    FillPicture(&pic, 44, 33, clRed);
    p->SetPicture(&pic);
    EXPECT_EQ(p->GetWidth(), 44);
    EXPECT_EQ(p->GetHeight(), 33);
}

TEST_F(PanelForm, CaptionWithOnlyOnePositionFollowsAlignment) {
    auto* p = new TsuiImagePanel(form.get());
    p->SetParent(form.get());
    p->SetBounds(0, 0, 200, 30);
    p->SetColor(clWhite);
    p->GetFont()->SetColor(clBlack);
    p->SetCaption("Right");
    p->SetAlignment(taRightJustify);
    p->SetCaptionPosX(5);
    TBitmap shot;
    Snapshot(form.get(), &shot);
    int leftInk = 0, rightInk = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 60; ++x)
            if (shot.GetPixelColor(x, y) != static_cast<COLORREF>(clWhite)) ++leftInk;
        for (int x = 140; x < 200; ++x)
            if (shot.GetPixelColor(x, y) != static_cast<COLORREF>(clWhite)) ++rightInk;
    }
    EXPECT_EQ(leftInk, 0);
    EXPECT_GT(rightInk, 0);
}

}  // namespace
