#include "platform/vcl/Forms.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/vcl/Graphics.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

// The smallest button: a click hands its ModalResult to the form, as push buttons do.
class TModalButton : public TCustomControl {
    VCL_CLASS(TModalButton)
    TModalButton(TComponent* AOwner, TModalResult Result) : TCustomControl(AOwner), m_result(Result) {}
    void Click() override {
        TCustomControl::Click();
        if (TCustomForm* f = GetParentForm(this)) f->SetModalResult(m_result);
    }

private:
    TModalResult m_result;
};

class TRecordingForm : public TForm {
    VCL_CLASS(TRecordingForm)
    using TForm::TForm;
    std::atomic<int> userMessages{0};
    std::thread::id handledOn;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_USER + 7) {
            handledOn = std::this_thread::get_id();
            ++userMessages;
            return;
        }
        TForm::Dispatch(Message);
    }
};

}  // namespace

TEST(ModalTest, AButtonsModalResultClosesTheModalForm) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    auto* ok = new TModalButton(&form, mrOk);
    ok->SetBounds(10, 10, 60, 20);
    ok->SetParent(&form);
    int closes = 0;
    form.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    ask.ModalActions.push_back([&](TCustomForm*) { Application->QueueCall([&] { Click(ok); }); });

    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(form.GetVisible());
    EXPECT_FALSE(form.IsModal());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(ask.Failures.empty());
}

TEST(ModalTest, CloseQueryCanKeepAModalFormOpen) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TForm form(nullptr);
    int asked = 0;
    form.OnCloseQuery = [&](TObject*, bool& CanClose) {
        CanClose = ++asked > 1;
        if (!CanClose) Application->QueueCall([&] { form.SetModalResult(mrYes); });
    };
    ask.ModalActions.push_back([&](TCustomForm* f) { Application->QueueCall([f] { f->SetModalResult(mrCancel); }); });
    EXPECT_EQ(form.ShowModal(), mrYes);
    EXPECT_EQ(asked, 2);
    EXPECT_THROW({ form.Show(); form.ShowModal(); }, EInvalidOperation);
    form.Hide();
}

TEST(CloseTest, CaFreeReleasesTheFormAfterTheEventReturns) {
    bool destroyed = false;
    auto* form = new TForm(nullptr);
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    form->Show();
    form->Close();
    EXPECT_FALSE(destroyed);  // still alive inside the handler that closed it
    EXPECT_TRUE(RunUntil([&] { return destroyed; }));
}

TEST(CloseTest, CloseQueryFalseKeepsAModelessFormShown) {
    TForm form(nullptr);
    form.OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
    form.Show();
    form.Close();
    EXPECT_TRUE(form.GetVisible());
    form.OnCloseQuery = nullptr;
    form.Close();
    EXPECT_FALSE(form.GetVisible());
}

TEST(ExceptionTest, AnExceptionInAHandlerIsShownAndTheLoopGoesOn) {
    TScriptedInteraction ask;
    TInstallInteraction installed(ask);
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 100, 100);
    form.Show();
    int clicks = 0;
    form.OnClick = [&](TObject*) {
        if (++clicks == 1) throw EInvalidOperation("Something went wrong");
    };
    ClickAt(&form, 10, 10);
    ClickAt(&form, 10, 10);
    EXPECT_EQ(clicks, 2);
    auto boxes = ask.Of(TQuestionKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Something went wrong.");
    EXPECT_EQ(boxes[0].DlgType, mtError);

    // A posted message whose handler throws is shown the same way.
    form.OnClick = [](TObject*) { throw Exception("Posted failure"); };
    PostMessageA(form.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(form.GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(RunUntil([&] { return ask.Of(TQuestionKind::MessageBox).size() == 2; }));
    EXPECT_EQ(ask.Of(TQuestionKind::MessageBox)[1].Text, "Posted failure.");
}

TEST(MessageLoopTest, AMessagePostedFromAnotherThreadIsHandledOnTheUserInterfaceThread) {
    TRecordingForm form(nullptr);
    HWND h = form.GetHandle();
    std::thread worker([h] {
        for (int i = 0; i < 3; ++i) PostMessageA(h, WM_USER + 7, 0, 0);
    });
    worker.join();
    EXPECT_TRUE(RunUntil([&] { return form.userMessages == 3; }));
    EXPECT_EQ(form.handledOn, std::this_thread::get_id());
}

TEST(MessageLoopTest, QueuedCallsRunAfterTheCurrentEvent) {
    std::vector<int> order;
    Application->QueueCall([&] { order.push_back(2); });
    order.push_back(1);
    EXPECT_TRUE(RunUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(FormTest, FrameMetricsSeparateWidthFromClientWidth) {
    TForm form(nullptr);
    form.SetBorderStyle(bsSingle);
    form.SetClientWidth(400);
    form.SetClientHeight(300);
    TRect f = FormFrameMetrics(bsSingle);
    EXPECT_EQ(form.GetWidth(), 400 + f.Left + f.Right);
    EXPECT_EQ(form.GetHeight(), 300 + f.Top + f.Bottom);
    form.SetBorderStyle(bsNone);  // the client keeps its size
    EXPECT_EQ(form.GetWidth(), 400);
    EXPECT_EQ(form.GetClientHeight(), 300);
}

TEST(FormTest, ScreenCentreAndWorkArea) {
    EXPECT_GT(Screen->GetWorkAreaWidth(), 0);
    EXPECT_GT(Screen->GetWorkAreaHeight(), 0);
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 100, 60);
    form.SetPosition(poScreenCenter);
    form.Show();
    EXPECT_EQ(form.GetLeft(), (Screen->GetWidth() - 100) / 2);
    EXPECT_EQ(form.GetTop(), (Screen->GetHeight() - 60) / 2);
    EXPECT_EQ(Screen->GetActiveForm(), &form);
}

TEST(FormTest, ACaptionIsFoundByTitleFromThisProcess) {
    TForm form(nullptr);
    form.SetCaption("FormsTestUniqueTitle-1");
    form.Show();
    EXPECT_EQ(FindWindowA(nullptr, "FormsTestUniqueTitle-1"), form.GetHandle());
    form.SetCaption("FormsTestUniqueTitle-2");
    EXPECT_EQ(FindWindowA(nullptr, "FormsTestUniqueTitle-1"), nullptr);
    EXPECT_NE(FindWindowA(nullptr, "FormsTestUniqueTitle-2"), nullptr);
}

TEST(FormTest, OnShowAndOnCreateFireOnce) {
    TForm* form = nullptr;
    int shows = 0;
    Application->CreateForm(form);
    std::unique_ptr<TForm> owned(form);
    form->OnShow = [&](TObject*) { ++shows; };
    form->Show();
    form->Show();
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(Application->ExeName().empty(), false);
}

TEST(RegionTest, CombinedRegionsAndTheWindowTakesItsRegion) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 0, 15, 10);
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    struct Case { int mode; int x; bool inside; int kind; };
    for (auto c : {Case{RGN_OR, 12, true, SIMPLEREGION}, Case{RGN_AND, 3, false, SIMPLEREGION},
                   Case{RGN_DIFF, 7, false, SIMPLEREGION}, Case{RGN_XOR, 7, false, COMPLEXREGION}}) {
        EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.kind) << c.mode;
        EXPECT_EQ(PtInRegion(out, c.x, 5) != 0, c.inside) << c.mode;
    }
    EXPECT_FALSE(PtInRegion(a, 10, 5));  // right edge excluded
    HRGN round = CreateRoundRectRgn(0, 0, 40, 40, 20, 20);
    EXPECT_FALSE(PtInRegion(round, 0, 0));
    EXPECT_TRUE(PtInRegion(round, 20, 0));

    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    EXPECT_EQ(SetWindowRgn(form.GetHandle(), round, TRUE), 1);
    EXPECT_FALSE(DeleteObject(round));  // the window owns it now and has let it go
    EXPECT_EQ(CombineRgn(out, nullptr, a, RGN_OR), ERROR_REGION);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(out);
}

namespace {

// Two monitors side by side and a third below the right one.
TEST(NearestMonitor, MostOverlapThenClosest) {
    const std::vector<TRect> monitors = {Rect(0, 0, 1600, 1200), Rect(1600, 0, 3520, 1080), Rect(1600, 1080, 3520, 2160)};
    const struct {
        TRect window;
        int monitor;
    } cases[] = {
        {Bounds(100, 100, 400, 300), 0},       // inside the first
        {Bounds(1500, 100, 400, 300), 1},      // mostly on the second
        {Bounds(1300, 100, 400, 300), 0},      // mostly on the first
        {Bounds(2000, 1000, 400, 300), 2},     // mostly on the third
        {Bounds(5000, 500, 200, 200), 1},      // off to the right: the second is closest
        {Bounds(-900, -900, 200, 200), 0},     // off to the top-left
        {Bounds(2000, 3000, 200, 200), 2},     // below everything
        {Bounds(1400, 100, 400, 300), 0},      // half and half: the earlier one
    };
    for (const auto& c : cases) EXPECT_EQ(NearestMonitor(monitors, c.window), c.monitor) << c.window.Left << "," << c.window.Top;
    EXPECT_EQ(NearestMonitor({}, Bounds(0, 0, 10, 10)), -1);
}

TEST(NearestMonitor, TheScreensWorkAreaForAWindowOnIt) {
    EXPECT_EQ(Screen->WorkAreaNearest(Bounds(10, 10, 100, 100)), Screen->GetWorkAreaRect());
    EXPECT_EQ(Screen->WorkAreaNearest(Bounds(-5000, -5000, 10, 10)), Screen->GetWorkAreaRect()) << "the only screen is nearest";
}

}  // namespace
