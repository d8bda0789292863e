#include "skin/core/SUIForm.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/FormWindow.h"
#include "platform/vcl/MDIForms.h"
#include "tests/skin/core/TitleBarForwarding.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(MDIPlaces, TileAndCascadeTables) {
    auto vertical = SUITileMDIChildren(3, 600, 400, tbVertical);
    EXPECT_EQ(vertical, (std::vector<TsuiMDIPlace>{{0, 0, 198, 396}, {198, 0, 198, 396}, {396, 0, 198, 396}}));
    auto horizontal = SUITileMDIChildren(2, 600, 400, tbHorizontal);
    EXPECT_EQ(horizontal, (std::vector<TsuiMDIPlace>{{0, 0, 596, 198}, {0, 198, 596, 198}}));
    EXPECT_TRUE(SUITileMDIChildren(0, 600, 400, tbVertical).empty());
    auto cascade = SUICascadeMDIChildren(2, 800, 600);
    EXPECT_EQ(cascade, (std::vector<TsuiMDIPlace>{{0, 0, 640, 360}, {22, 22, 640, 360}}));
}

TEST(MDIFrameOwner, RefusesAnOwnerThatIsNotAForm) {
    TComponent owner(nullptr);
    try {
        TsuiMDIForm frame(&owner);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(String(e.what()), "Sorry, TsuiMDIForm must be placed on a form");
    }
}

// The frame goes with its form after the form's control part: the form's own window procedure
// (here one that holds a share of Sentinel) is freed with the form, never written back into it.
TEST(MDIFrameOwner, FreedWithItsFormLeavesTheFormsProcedureAlone) {
    auto sentinel = std::make_shared<int>(0);
    auto* form = new TForm(nullptr);
    form->SetFormStyle(fsMDIForm);
    const TWndMethod own = form->WindowProc;
    form->WindowProc = [own, sentinel](TMessage& M) { own(M); };
    new TsuiMDIForm(form);
    delete form;
    EXPECT_EQ(sentinel.use_count(), 1) << "a copy of the procedure was left in the freed form";
}

class MDIFrame : public ::testing::Test {
protected:
    void SetUp() override {
        parent = std::make_unique<TForm>(nullptr);
        parent->SetBorderStyle(bsSizeable);
        parent->SetBounds(0, 0, 700, 560);
        parent->SetFormStyle(fsMDIForm);
        parent->SetCaption("Parent");
        frame = new TsuiMDIForm(parent.get());
        parentMenu = NewMenu(parent.get(), {"&File", "&Window", "&Help"});
        frame->SetMenu(parentMenu);
    }
    TMainMenu* NewMenu(TComponent* Owner, std::initializer_list<const char*> Captions) {
        auto* menu = new TMainMenu(Owner);
        for (const char* c : Captions) {
            auto* item = new TMenuItem(Owner);
            item->SetCaption(c);
            menu->GetItems()->Add(item);
        }
        return menu;
    }
    TForm* NewChild(bool WithFrame = true) {
        auto* child = new TForm(parent.get());
        child->SetFormStyle(fsMDIChild);
        if (child->GetParent() == nullptr) child->SetParent(parent->GetClientWindow());
        child->SetBounds(0, 0, 300, 200);
        if (WithFrame) (new TsuiForm(child))->SetUIStyle(DeepBlue);
        child->Show();
        return child;
    }
    std::unique_ptr<TForm> parent;
    TsuiMDIForm* frame = nullptr;
    TMainMenu* parentMenu = nullptr;
};

TEST_F(MDIFrame, TakesTheParentOverWithTitleBarAndMenuBar) {
    EXPECT_EQ(parent->GetBorderStyle(), bsSizeable);
    EXPECT_EQ(GetWindowLong(parent->GetHandle(), GWL_STYLE) & WS_CAPTION, 0);
    ASSERT_NE(frame->GetTitleBar(), nullptr);
    EXPECT_EQ(frame->GetTitleBar()->GetParent(), parent.get());
    EXPECT_EQ(frame->GetTitleBar()->GetCaption(), "Parent");
    EXPECT_EQ(frame->CurrentMenu(), parentMenu);
    ASSERT_EQ(frame->GetMenuBar()->ButtonCount(), 3);
    EXPECT_TRUE(frame->GetTopPanel()->GetVisible());
    EXPECT_EQ(frame->TitleBarHeight(), frame->GetTitleBar()->GetHeight() + frame->GetTopPanel()->GetHeight());
    for (int i = 1; i <= 3; ++i) {
        ASSERT_NE(frame->ControlButton(i), nullptr);
        EXPECT_EQ(frame->ControlButton(i)->GetTag(), -1380 - i);
        EXPECT_FALSE(frame->ControlButton(i)->GetVisible());
    }
}

TEST_F(MDIFrame, TheTitleBarsPropertiesAreForwarded) {
    TsuiTitleBar* bar = frame->GetTitleBar();
    ExpectTitleBarFlagsForwarded(*frame, bar);
    const int count = bar->GetButtons()->Count();
    TForm other(nullptr);
    auto* otherBar = new TsuiTitleBar(&other);
    otherBar->SetUIStyle(DeepBlue);
    otherBar->GetButtons()->Clear();
    frame->SetTitleBarButtons(*otherBar->GetButtons());
    EXPECT_EQ(bar->GetButtons()->Count(), 0);
    EXPECT_NE(count, 0);
}

// A control added to the parent form puts both bars back at the top.
TEST_F(MDIFrame, AnInsertionPutsTheMenuBarAndTheTitleBarBackAtTheTop) {
    frame->GetTitleBar()->SetTop(40);
    frame->GetMenuBar()->SetTop(7);
    auto* status = new TPanel(parent.get());
    status->SetParent(parent.get());
    EXPECT_EQ(frame->GetTitleBar()->GetTop(), 0);
    EXPECT_EQ(frame->GetMenuBar()->GetTop(), 0);
}

// The border is painted over the window frame, so a form border width is taken away first.
TEST_F(MDIFrame, PaintingTheBorderTakesTheFormsBorderWidthAway) {
    parent->Show();
    parent->SetBorderWidth(6);
    frame->PaintFormBorder();
    EXPECT_EQ(parent->GetBorderWidth(), 0);
}

TEST_F(MDIFrame, AChildsMenuReplacesTheParentsWhileActive) {
    TForm* child = NewChild();
    TMainMenu* childMenu = NewMenu(child, {"&Edit", "&View"});
    TsuiForm* childFrame = nullptr;
    for (int i = 0; i < child->ControlCount(); ++i)
        if (auto* f = dynamic_cast<TsuiForm*>(child->Controls(i))) childFrame = f;
    ASSERT_NE(childFrame, nullptr);
    childFrame->SetMenu(childMenu);
    parent->GetClientWindow()->Perform(WM_MDIREFRESHMENU, 0, 0);
    EXPECT_EQ(frame->CurrentMenu(), childMenu);
    EXPECT_EQ(frame->GetMenuBar()->ButtonCount(), 2);
    EXPECT_EQ(frame->GetMenuBar()->Buttons(0)->GetCaption(), "&Edit");
    frame->SetTitleBarDrawChildMenus(false);
    parent->GetClientWindow()->Perform(WM_MDIREFRESHMENU, 0, 0);
    EXPECT_EQ(frame->CurrentMenu(), parentMenu);
    EXPECT_EQ(frame->GetMenuBar()->ButtonCount(), 3);
}

TEST_F(MDIFrame, ControlButtonsFollowAMaximizedChild) {
    TForm* child = NewChild();
    child->SetWindowState(wsMaximized);
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(frame->ControlButton(i)->GetVisible()) << i;
    child->SetWindowState(wsNormal);
    for (int i = 1; i <= 3; ++i) EXPECT_FALSE(frame->ControlButton(i)->GetVisible()) << i;
}

TEST_F(MDIFrame, ASkinnedChildShowsItsOwnBorder) {
    parent->Show();
    TForm* child = NewChild();
    auto* skin = dynamic_cast<TsuiForm*>(child->Controls(0));
    ASSERT_NE(skin, nullptr);
    skin->SetBorderColor(clRed);
    skin->SetBorderWidth(1);
    // Without its caption the child's frame is as wide at the top as at the sides.
    const TRect f = child->FrameMetrics();
    EXPECT_EQ(f.Top, f.Left);
    EXPECT_EQ(skin->GetWidth(), child->GetWidth() - f.Left - f.Right);
    const int W = child->GetWidth(), H = child->GetHeight();
    ASSERT_TRUE(RunUntil([&] { return ShownPixel(child, 0, H / 2) == clRed; }));
    EXPECT_EQ(ShownPixel(child, W - 1, H / 2), clRed);
    EXPECT_EQ(ShownPixel(child, W / 2, H - 1), clRed);
    EXPECT_EQ(ShownPixel(child, 1, H / 2), ColorToRGB(skin->GetColor()));
}

TEST_F(MDIFrame, TileAndCascadeThroughTheClient) {
    TForm* a = NewChild(false);
    TForm* b = NewChild(false);
    TForm* c = NewChild(false);
    parent->SetTileMode(tbVertical);
    parent->Tile();
    // MDIChildren counts from the active child (c, shown last); places go from the last.
    ASSERT_EQ(parent->MDIChildren(0), c);
    const int column = parent->GetClientWidth() / 3;
    EXPECT_EQ(a->GetLeft(), 0);
    EXPECT_EQ(b->GetLeft(), column - 2);
    EXPECT_EQ(c->GetLeft(), 2 * (column - 2));
    EXPECT_EQ(c->GetWidth(), column - 2);
    parent->Cascade();
    EXPECT_EQ(a->GetBoundsRect(), Bounds(0, 0, static_cast<int>(parent->GetClientWidth() * 0.8),
                                         static_cast<int>(parent->GetClientHeight() * 0.6)));
    EXPECT_EQ(b->GetLeft(), 22);
    EXPECT_EQ(c->GetTop(), 44);
}

TEST_F(MDIFrame, DestroyingItGivesTheClientItsProcedureBack) {
    TForm* a = NewChild(false);
    TForm* b = NewChild(false);
    delete frame;
    EXPECT_NE(GetWindowLong(parent->GetHandle(), GWL_STYLE) & WS_CAPTION, 0);
    // The client's own cascading answers again (two thirds of the client, 22 pixels apart).
    parent->Cascade();
    EXPECT_EQ(b->GetLeft() - a->GetLeft(), 22);
    EXPECT_EQ(a->GetWidth(), parent->GetClientWindow()->GetClientWidth() * 2 / 3);
    parent->GetClientWindow()->Perform(WM_MDIREFRESHMENU, 0, 0);
}

}  // namespace
