// The shared input helpers: a press whose window is freed before its release (a test that ends
// on a press, a window closed by the press itself) leaves nothing behind for the next input.
#include "tests/support/TestHelpers.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

using namespace testing_vcl;

namespace {

struct TPanelForm {
    std::unique_ptr<TForm> form;
    TPanel* panel = nullptr;
    int moves = 0;
    int clicks = 0;
    explicit TPanelForm(int Left) {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(Left, 40, 200, 120);
        panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 10, 150, 80);
        panel->OnMouseMove = [this](TObject*, TShiftState, int, int) { ++moves; };
        panel->OnClick = [this](TObject*) { ++clicks; };
        form->Show();
    }
};

TEST(TestHelpersPress, AWindowFreedWhileItHoldsThePressTakesItsGrabAlong) {
    auto first = std::make_unique<TPanelForm>(20);
    MousePress(first->panel, 20, 20);  // never released: the form goes first
    first.reset();
    TPanelForm second(300);
    MouseMoveTo(second.panel, 30, 30);
    EXPECT_EQ(second.moves, 1) << "the move went to the freed window";
    Click(second.panel);
    EXPECT_EQ(second.clicks, 1);
}

TEST(TestHelpersPress, AReleaseEndsTheGrab) {
    TPanelForm a(20);
    TPanelForm b(300);
    MousePress(a.panel, 20, 20);
    MouseMoveTo(b.panel, 30, 30);
    EXPECT_EQ(b.moves, 0) << "moves go to the window holding the press";
    MouseRelease(b.panel, 30, 30);
    MouseMoveTo(b.panel, 31, 31);
    EXPECT_EQ(b.moves, 1);
}

}  // namespace
