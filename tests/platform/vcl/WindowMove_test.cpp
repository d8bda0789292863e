#include "platform/vcl/WindowMove.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

class TCountingMove : public TWindowMoveService {
public:
    void StartMove(TCustomForm* Form) override { forms.push_back(Form); }
    std::vector<TCustomForm*> forms;
};

TEST(WindowMove, CaptionPressGoesToTheMoveService) {
    TCountingMove move;
    SetWindowMoveService(&move);
    TForm form(nullptr);
    form.Perform(WM_NCLBUTTONDOWN, HTCLIENT, 0);
    EXPECT_TRUE(move.forms.empty());
    form.Perform(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    EXPECT_EQ(move.forms, std::vector<TCustomForm*>{&form});
    SetWindowMoveService(nullptr);
    EXPECT_NE(GetWindowMoveService(), &move);
}

TEST(WindowMove, WithoutASystemMoveTheFormFollowsThePointer) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 200, 150);
    form.Show();
    MouseMoveTo(&form, 10, 10);
    MousePress(&form, 10, 10);
    form.Perform(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    MouseMoveTo(&form, 30, 40);
    MouseRelease(&form, 30, 40);
    // The offscreen platform has no system move, so our own drag ran (a real one would too).
    EXPECT_EQ(form.GetLeft(), 120);
    EXPECT_EQ(form.GetTop(), 130);
}

// A control that records the focus messages it gets, with the window on the other side.
class TFocusRecorder : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_SETFOCUS) gotFrom.push_back(reinterpret_cast<HWND>(Message.WParam));
        if (Message.Msg == WM_KILLFOCUS) lostTo.push_back(reinterpret_cast<HWND>(Message.WParam));
        TCustomControl::Dispatch(Message);
    }
    std::vector<HWND> gotFrom, lostTo;
};

TEST(FocusMessages, EachSideLearnsTheOtherWindow) {
    TForm form(nullptr);
    auto* a = new TFocusRecorder(&form);
    a->SetParent(&form);
    auto* b = new TFocusRecorder(&form);
    b->SetParent(&form);
    form.Show();
    a->SetFocus();
    EXPECT_EQ(a->gotFrom, std::vector<HWND>{nullptr});
    b->SetFocus();
    EXPECT_EQ(a->lostTo, std::vector<HWND>{b->GetHandle()});
    EXPECT_EQ(b->gotFrom, std::vector<HWND>{a->GetHandle()});
}

TEST(WindowRegion, EmptyRegionIsKeptAndNoRegionIsAnError) {
    TForm form(nullptr);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(form.GetHandle(), probe), ERROR_REGION);
    SetWindowRgn(form.GetHandle(), CreateRectRgn(0, 0, 0, 0), TRUE);
    EXPECT_EQ(GetWindowRgn(form.GetHandle(), probe), NULLREGION) << "an empty region hides the window";
    SetWindowRgn(form.GetHandle(), CreateRectRgn(2, 3, 12, 13), TRUE);
    EXPECT_EQ(GetWindowRgn(form.GetHandle(), probe), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(probe, 2, 3));
    EXPECT_FALSE(PtInRegion(probe, 12, 3));
    DeleteObject(probe);
}

TEST(Designing, ComponentsOfADesignedOwnerAreDesigned) {
    TForm form(nullptr);
    form.SetDesigning(true);
    auto* label = new TLabel(&form);
    EXPECT_TRUE(label->GetComponentState().Contains(csDesigning));
}

}  // namespace
