#include "skin/core/frmMSNPop.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormWindow.h"
#include "skin/core/SUIForm.h"
#include "skin/core/Suipublic.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

DWORD g_ticks = 0;
DWORD Ticks() { return g_ticks; }

class NoticePopup : public ::testing::Test {
protected:
    void SetUp() override {
        SetTickCountSource(&Ticks);
        owner = std::make_unique<TForm>(nullptr);
        notice = new TsuiMSNPopForm(owner.get());
        notice->SetAnimateTime(0);   // no slide: the tests are about placing and timing
        notice->OnClose = [this](TObject*) { ++closed; };
    }
    void TearDown() override {
        owner.reset();
        SetTickCountSource(nullptr);
    }
    // Lets the stay timer tick a few times.
    void Tick() { RunFor(350); }
    std::unique_ptr<TForm> owner;
    TsuiMSNPopForm* notice = nullptr;
    int closed = 0;
};

TEST_F(NoticePopup, WindowIsThePictureAndSitsInTheWorkAreasCorner) {
    TfrmMSNPopForm* w = notice->Window();
    EXPECT_EQ(w->GetWidth(), 181);
    EXPECT_EQ(w->GetHeight(), 116);
    EXPECT_FALSE(w->GetVisible());
    EXPECT_EQ(w->lbl_title->GetBoundsRect(), Bounds(10, 5, 181 - 30, 18));
    EXPECT_EQ(w->lbl_text->GetBoundsRect(), Bounds(10, 40, 181 - 20, 116 - 50));
    EXPECT_EQ(notice->GetMessageFont()->GetColor(), 0x800000);
    notice->SetTitle("Title");
    notice->SetMessageText("Done.");
    int shown = 0;
    notice->OnShow = [&](TObject* s) { EXPECT_EQ(s, notice); ++shown; };
    notice->Popup();
    TRect work = GetWorkAreaRect();
    EXPECT_TRUE(w->GetVisible());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(w->GetLeft(), work.Right - 181 - 18);
    EXPECT_EQ(w->GetTop(), work.Bottom - 116);
    EXPECT_EQ(w->lbl_text->GetCaption(), "Done.");
    notice->Close();
    notice->SetAutoPosition(false);
    notice->SetPositionX(7);
    notice->SetPositionY(9);
    notice->Popup();
    EXPECT_EQ(w->GetLeft(), 7);
    EXPECT_EQ(w->GetTop(), 9);
}

TEST_F(NoticePopup, StaysItsTimeAcrossAWrapOfTheTickCount) {
    g_ticks = 0xFFFFFF00u;   // 256 ms before the wrap
    notice->SetStayTime(1000);
    notice->Popup();
    EXPECT_EQ(notice->Window()->ShowTick(), 0xFFFFFF00u);
    g_ticks += 600;          // wrapped: 600 ms on
    Tick();
    EXPECT_TRUE(notice->Window()->GetVisible());
    EXPECT_EQ(closed, 0);
    g_ticks += 500;
    Tick();
    EXPECT_FALSE(notice->Window()->GetVisible());
    EXPECT_EQ(closed, 1);
}

TEST_F(NoticePopup, ZeroStayHidesAtTheFirstTick) {
    notice->SetStayTime(0);
    notice->Popup();
    Tick();
    EXPECT_FALSE(notice->Window()->GetVisible());
}

std::vector<DWORD> g_animations;

// A "User32.dll" whose AnimateWindow notes its flags and shows or hides at once.
BOOL RecordingAnimateWindow(HWND Window, DWORD, DWORD Flags) {
    g_animations.push_back(Flags);
    if (TWinControl* c = FindControl(Window)) c->SetVisible((Flags & AW_HIDE) == 0);
    return TRUE;
}

class RecordedAnimations {
public:
    RecordedAnimations() {
        g_animations.clear();
        Win32_RegisterModule("User32.dll", {{"AnimateWindow", reinterpret_cast<FARPROC>(&RecordingAnimateWindow)}});
        SUIResetSystemBindings();
    }
    ~RecordedAnimations() {
        SUIRegisterUser32Module();
        SUIResetSystemBindings();
    }
    int Hides() const {
        int n = 0;
        for (DWORD f : g_animations) n += (f & AW_HIDE) != 0;
        return n;
    }
};

TEST_F(NoticePopup, SlidesInAndOutButTheCloseBoxHidesWithoutTheSlide) {
    RecordedAnimations animations;
    notice->SetAnimateTime(400);
    notice->SetStayTime(100000);
    notice->Popup();
    ASSERT_FALSE(g_animations.empty());
    EXPECT_EQ(g_animations[0], AW_SLIDE | AW_VER_NEGATIVE);
    notice->Close();
    EXPECT_EQ(animations.Hides(), 1);
    EXPECT_EQ(g_animations.back(), AW_SLIDE | AW_HIDE | AW_VER_POSITIVE);
    EXPECT_EQ(closed, 1);

    notice->Popup();
    MousePress(notice->Window(), 170, 10);
    EXPECT_FALSE(notice->Window()->GetVisible());
    EXPECT_EQ(animations.Hides(), 1);   // no slide-out
    EXPECT_EQ(closed, 2);
    EXPECT_FALSE(notice->Window()->Timer1->GetEnabled());
    // Outside the box a press does nothing.
    notice->Popup();
    MousePress(notice->Window(), 150, 10);
    EXPECT_TRUE(notice->Window()->GetVisible());
}

TEST_F(NoticePopup, ClickHideDecidesWhetherAClickHides) {
    int clicks = 0;
    notice->OnClick = [&](TObject*) { ++clicks; };
    notice->SetStayTime(100000);
    notice->Popup();
    ClickAt(notice->Window(), 90, 70);   // on the message
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(notice->Window()->GetVisible());
    notice->SetClickHide(true);
    notice->Popup();
    ClickAt(notice->Window(), 90, 70);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(notice->Window()->GetVisible());
}

// Where the window is and whether it is on the screen, every few milliseconds.
struct TSample {
    bool onScreen;
    int top;
};

class SlideSampler {
public:
    explicit SlideSampler(TCustomForm* Window) : m_timer(nullptr) {
        m_timer.SetInterval(5);
        m_timer.OnTimer = [this, Window](TObject*) {
            TRect r;
            GetWindowRect(Window->GetHandle(), &r);
            samples.push_back({IsWindowVisible(Window->GetHandle()) != FALSE, r.Top});
        };
    }
    void Start() {
        samples.clear();
        m_timer.SetEnabled(true);
    }
    void Stop() { m_timer.SetEnabled(false); }
    std::vector<TSample> samples;

private:
    TTimer m_timer;
};

TEST_F(NoticePopup, SlidesInFromItsOwnOnShowWhileOnTheScreenAndMoving) {
    SUIRegisterUser32Module();
    SUIResetSystemBindings();
    TfrmMSNPopForm* w = notice->Window();
    notice->SetAnimateTime(600);
    notice->SetStayTime(100000);
    const int place = GetWorkAreaRect().Bottom - w->GetHeight();
    SlideSampler sampler(w);
    sampler.Start();
    notice->Popup();   // the slide plays inside
    sampler.Stop();
    ASSERT_GE(sampler.samples.size(), 2u);
    for (size_t i = 0; i < sampler.samples.size(); ++i) {
        EXPECT_TRUE(sampler.samples[i].onScreen) << i;
        EXPECT_GE(sampler.samples[i].top, place) << i;
        if (i > 0) EXPECT_LE(sampler.samples[i].top, sampler.samples[i - 1].top) << i;   // rising
    }
    EXPECT_GT(sampler.samples.front().top, sampler.samples.back().top);
    EXPECT_EQ(w->GetTop(), place);
    EXPECT_TRUE(IsWindowVisible(w->GetHandle()));

    sampler.Start();
    notice->Close();   // slides out downward
    sampler.Stop();
    ASSERT_GE(sampler.samples.size(), 2u);
    for (size_t i = 0; i < sampler.samples.size(); ++i) {
        EXPECT_TRUE(sampler.samples[i].onScreen) << i;
        if (i > 0) EXPECT_GE(sampler.samples[i].top, sampler.samples[i - 1].top) << i;   // sinking
    }
    EXPECT_LT(sampler.samples.front().top, sampler.samples.back().top);
    EXPECT_FALSE(IsWindowVisible(w->GetHandle()));
    EXPECT_EQ(w->GetTop(), place);
}

TEST(SlideAnimation, PlaysForTheGivenTimeThenShows) {
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(10, 10, 100, 60);
    SUIRegisterUser32Module();
    SUIResetSystemBindings();
    EXPECT_TRUE(SUIAnimateWindow(form.GetHandle(), 60, AW_SLIDE | AW_VER_NEGATIVE));
    EXPECT_TRUE(form.GetVisible());
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(form.GetHandle(), r), ERROR_REGION);   // whole again at the end
    DeleteObject(r);
    EXPECT_TRUE(SUIAnimateWindow(form.GetHandle(), 60, AW_SLIDE | AW_HIDE | AW_VER_POSITIVE));
    EXPECT_FALSE(form.GetVisible());
}

}  // namespace
