#include "platform/vcl/FormWindow.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/vcl/AppEvnts.h"
#include "platform/vcl/MDIForms.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

TEST(FormWindowStyle, CaptionGoesOnlyWhenTheFrameIsRefreshed) {
    TForm form(nullptr);
    form.SetBorderStyle(bsDialog);
    form.SetBounds(10, 10, 300, 200);
    HWND h = form.GetHandle();
    LONG style = GetWindowLong(h, GWL_STYLE);
    EXPECT_NE(style & WS_CAPTION, 0);
    const TRect clientBefore = form.GetClientRect();
    SetWindowLong(h, GWL_STYLE, style & ~WS_CAPTION);
    EXPECT_EQ(GetWindowLong(h, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(form.GetClientRect(), clientBefore);   // not yet laid out
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(form.FrameMetrics(), (TRect{3, 3, 3, 3}));
    EXPECT_EQ(form.GetClientRect(), Rect(0, 0, 294, 194));
    EXPECT_EQ(form.GetWidth(), 300);
    SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) | WS_CAPTION);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(form.FrameMetrics(), FormFrameMetrics(bsDialog));
    EXPECT_EQ(GetWindowLong(nullptr, GWL_STYLE), 0);
}

TEST(FormWindowStyle, NonClientPaintingGoesToTheWholeWindowCanvas) {
    TForm form(nullptr);
    form.SetBorderStyle(bsDialog);
    form.SetBounds(10, 10, 100, 80);
    form.SetColor(clWhite);
    int ncPaints = 0;
    TWndMethod old = form.WindowProc;
    form.WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_NCPAINT) {
            ++ncPaints;
            TCanvas* c = GetWindowDC(form.GetHandle());
            c->GetBrush()->SetColor(clRed);
            c->FillRect(Rect(0, 0, form.GetWidth(), form.GetHeight()));
            ReleaseDC(form.GetHandle(), c);
            return;
        }
        old(M);
    };
    HWND h = form.GetHandle();
    SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) & ~WS_CAPTION);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(ncPaints, 1);
    TBitmap out;
    form.PaintWindowTo(&out);
    ASSERT_EQ(out.GetWidth(), 100);
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(1, 40)), clRed);    // frame
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(50, 1)), clRed);
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(50, 40)), clWhite); // client
    form.WindowProc = old;
}

// Paints the whole frame of Form in one colour on every WM_NCPAINT.
void PaintFrameIn(TCustomForm& Form, TColor Colour, TWndMethod Old) {
    Form.WindowProc = [&Form, Colour, Old](TMessage& M) {
        if (M.Msg != WM_NCPAINT) {
            Old(M);
            return;
        }
        TCanvas* c = GetWindowDC(Form.GetHandle());
        c->GetBrush()->SetColor(Colour);
        c->FillRect(Rect(0, 0, Form.GetWidth(), Form.GetHeight()));
        ReleaseDC(Form.GetHandle(), c);
    };
}

void RemoveCaption(TCustomForm& Form) {
    HWND h = Form.GetHandle();
    SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) & ~WS_CAPTION);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

TEST(FormWindowStyle, TheFrameTheProgramPaintsIsOnTheScreen) {
    TForm form(nullptr);
    form.SetBorderStyle(bsDialog);
    form.SetBounds(30, 30, 160, 120);
    form.SetColor(clWhite);
    PaintFrameIn(form, clRed, form.WindowProc);
    RemoveCaption(form);
    form.Show();
    ASSERT_TRUE(RunUntil([&] { return ShownPixel(&form, 1, 60) == clRed; }));
    const int W = form.GetWidth(), H = form.GetHeight();
    EXPECT_EQ(ShownPixel(&form, W - 2, 60), clRed);
    EXPECT_EQ(ShownPixel(&form, 80, 1), clRed);
    EXPECT_EQ(ShownPixel(&form, 80, H - 1), clRed);
    EXPECT_EQ(ShownPixel(&form, 80, 60), clWhite);
    // Painting on the window outside WM_NCPAINT reaches the screen too.
    TCanvas* c = GetWindowDC(form.GetHandle());
    c->GetBrush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 3, H));
    ReleaseDC(form.GetHandle(), c);
    EXPECT_TRUE(RunUntil([&] { return ShownPixel(&form, 1, 60) != clWhite; }));
    // The region is the window's, frame included.
    SetWindowRgn(form.GetHandle(), CreateRectRgn(0, 0, W, H / 2), TRUE);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(form.GetHandle(), r), ERROR_REGION);
    EXPECT_TRUE(PtInRegion(r, 0, 0));
    EXPECT_FALSE(PtInRegion(r, 0, H / 2));
    DeleteObject(r);
    // With its caption back the window system frames it again.
    HWND h = form.GetHandle();
    SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) | WS_CAPTION);
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_FALSE(form.ProgramPaintsFrame());
    EXPECT_EQ(form.ClientOrigin(), (TPoint{30 + 3, 30 + 22}));
}

TEST(FormWindowState, MaximizeCoversTheWorkAreaAndRestoreGivesTheBoundsBack) {
    TForm form(nullptr);
    form.SetBounds(30, 40, 200, 150);
    std::vector<WPARAM> sizes;
    TWndMethod old = form.WindowProc;
    form.WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_SIZE) sizes.push_back(M.WParam);
        old(M);
    };
    form.SetWindowState(wsMaximized);
    EXPECT_EQ(form.GetBoundsRect(), Screen->GetWorkAreaRect());
    EXPECT_NE(GetWindowLong(form.GetHandle(), GWL_STYLE) & WS_MAXIMIZE, 0);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), SIZE_MAXIMIZED);
    form.SetWindowState(wsNormal);
    EXPECT_EQ(form.GetBoundsRect(), Bounds(30, 40, 200, 150));
    EXPECT_EQ(sizes.back(), SIZE_RESTORED);
    form.Perform(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(form.GetWindowState(), wsMaximized);
    form.WindowProc = old;
}

TEST(ApplicationEvents, SeeKeyMessagesBeforeTheFocusedControl) {
    TForm form(nullptr);
    form.SetBounds(10, 10, 200, 100);
    auto* edit = new TWinControl(&form);
    edit->SetParent(&form);
    edit->SetBounds(5, 5, 50, 20);
    edit->SetTabStop(true);
    form.Show();
    edit->SetFocus();
    std::vector<UINT> seen;
    int reachedEdit = 0;
    edit->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { reachedEdit += Key == 'Q' || Key == 'W'; };
    {
        TApplicationEvents events(nullptr);
        events.OnMessage = [&](MSG& Msg, bool& Handled) {
            seen.push_back(Msg.message);
            Handled = Msg.message == WM_KEYDOWN && Msg.wParam == 'Q';
        };
        PressKey(&form, 'Q');
        EXPECT_EQ(reachedEdit, 0);
        PressKey(&form, VK_SPACE, {ssAlt}, " ");
        EXPECT_NE(std::find(seen.begin(), seen.end(), WM_SYSCHAR), seen.end());
        PressKey(&form, 'W');
        EXPECT_EQ(reachedEdit, 1);
    }
    PressKey(&form, 'Q');   // the hook is gone with its object
    EXPECT_EQ(reachedEdit, 2);
}

DWORD g_fakeTicks = 0;
DWORD FakeTicks() { return g_fakeTicks; }

TEST(TickSource, ReplaceableAndRestorable) {
    g_fakeTicks = 0xFFFFFFF0u;
    SetTickCountSource(&FakeTicks);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    g_fakeTicks += 0x20;
    EXPECT_EQ(GetTickCount(), 0x10u);
    SetTickCountSource(nullptr);
    EXPECT_NE(GetTickCount(), 0x10u);
}

class MDI : public ::testing::Test {
protected:
    void SetUp() override {
        parent = std::make_unique<TForm>(nullptr);
        parent->SetBounds(0, 0, 640, 480);
        parent->SetFormStyle(fsMDIForm);
    }
    TForm* NewChild() {
        auto* child = new TForm(parent.get());
        child->SetFormStyle(fsMDIChild);
        if (child->GetParent() == nullptr) child->SetParent(parent->GetClientWindow());
        child->SetBounds(0, 0, 200, 150);
        child->Show();
        return child;
    }
    std::unique_ptr<TForm> parent;
};

TEST_F(MDI, ChildrenLiveInTheClientAndTheLastShownIsActive) {
    ASSERT_NE(parent->GetClientWindow(), nullptr);
    TForm* a = NewChild();
    TForm* b = NewChild();
    EXPECT_EQ(parent->MDIChildCount(), 2);
    EXPECT_EQ(a->GetParent(), parent->GetClientWindow());
    EXPECT_EQ(parent->ActiveMDIChild(), b);
    std::vector<std::pair<WPARAM, LPARAM>> toA;
    TWndMethod old = a->WindowProc;
    a->WindowProc = [&](TMessage& M) {
        if (M.Msg == WM_MDIACTIVATE) toA.push_back({M.WParam, M.LParam});
        old(M);
    };
    parent->GetClientWindow()->Perform(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->GetHandle()), 0);
    EXPECT_EQ(parent->ActiveMDIChild(), a);
    ASSERT_EQ(toA.size(), 1u);
    EXPECT_EQ(static_cast<WPARAM>(toA[0].second), reinterpret_cast<WPARAM>(a->GetHandle()));
    a->WindowProc = old;
    EXPECT_EQ(parent->MDIChildren(5), nullptr);
    delete a;
    EXPECT_EQ(parent->ActiveMDIChild(), nullptr);
    EXPECT_EQ(parent->MDIChildCount(), 1);
}

TEST_F(MDI, AChildHasAFrameOfItsOwnOnTheScreen) {
    parent->SetColor(clWhite);
    parent->GetClientWindow()->SetColor(clWhite);
    parent->Show();
    TForm* a = NewChild();
    a->SetColor(clLime);
    a->SetLeft(20);
    a->SetTop(10);
    const TRect f = a->FrameMetrics();
    EXPECT_EQ(a->ClientOrigin().x, parent->GetClientWindow()->ClientOrigin().x + 20 + f.Left);
    // A captioned child shows a caption bar, drawn by the class library.
    EXPECT_TRUE(RunUntil([&] { return ShownPixel(a, a->GetWidth() / 2, f.Top / 2) == ColorToRGB(clActiveCaption); }));
    PaintFrameIn(*a, clRed, a->WindowProc);
    RemoveCaption(*a);
    EXPECT_TRUE(a->ProgramPaintsFrame());
    EXPECT_TRUE(RunUntil([&] { return ShownPixel(a, 1, a->GetHeight() / 2) == clRed; }));
    EXPECT_EQ(ShownPixel(a, a->GetWidth() / 2, 1), clRed);
    EXPECT_EQ(ShownPixel(a, a->GetWidth() / 2, a->GetHeight() / 2), clLime);
    // A render of the parent draws the child's frame as well.
    TBitmap out;
    parent->PaintWindowTo(&out);
    TPoint at = parent->ScreenToClient(a->ClientOrigin());
    const TRect pf = parent->FrameMetrics();
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(pf.Left + at.x - 1, pf.Top + at.y + 5)), clRed);
    EXPECT_EQ(static_cast<TColor>(out.GetPixelColor(pf.Left + at.x + 1, pf.Top + at.y + 5)), clLime);
    // The mouse on the frame hits the child itself, inside it the client's controls.
    EXPECT_EQ(FindControlAtScreen({a->ClientOrigin().x - 1, a->ClientOrigin().y + 5}), a);
}

TEST_F(MDI, MaximizeRestoreTileAndCascadeThroughTheClient) {
    TForm* a = NewChild();
    TForm* b = NewChild();
    TWinControl* client = parent->GetClientWindow();
    client->Perform(WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(a->GetHandle()), 0);
    EXPECT_EQ(a->GetWindowState(), wsMaximized);
    // The child's client fills the MDI client; its frame lies outside.
    const TRect f = a->FrameMetrics();
    const TRect area = client->GetClientRect();
    EXPECT_EQ(a->GetBoundsRect(), Rect(area.Left - f.Left, area.Top - f.Top, area.Right + f.Right, area.Bottom + f.Bottom));
    EXPECT_EQ(a->ClientOrigin(), client->ClientOrigin());
    client->Perform(WM_MDIRESTORE, reinterpret_cast<WPARAM>(a->GetHandle()), 0);
    EXPECT_EQ(a->GetWindowState(), wsNormal);
    parent->SetTileMode(tbVertical);
    parent->Tile();
    EXPECT_EQ(a->GetWidth(), client->GetClientWidth() / 2);
    EXPECT_EQ(b->GetLeft(), client->GetClientWidth() / 2);
    parent->Cascade();
    EXPECT_EQ(b->GetLeft() - a->GetLeft(), 22);
    // A handle that is no MDI child is ignored.
    client->Perform(WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(parent->GetHandle()), 0);
    EXPECT_EQ(parent->GetWindowState(), wsNormal);
}

}  // namespace
