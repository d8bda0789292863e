#include "tests/support/TestHelpers.h"

#include <chrono>
#include <thread>

#include "platform/vcl/FormWindow.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/SyntheticInput.h"

namespace testing_vcl {

namespace {

// The window that takes a press keeps the following moves and the release, as the toolkit's
// implicit grab does.
TWinControl* g_pressed = nullptr;
TShiftState g_held;

// A window freed while it holds the press (a test that ends on a press, a form closed by the
// press itself) ends the grab: the next input goes where it is aimed.
class TPressWatch : public TComponent {
public:
    TPressWatch() : TComponent(nullptr) {}
    void Hold(TWinControl* Window) {
        if (g_pressed == Window) return;
        if (g_pressed != nullptr) RemoveFreeNotification(g_pressed);
        g_pressed = Window;
        if (Window != nullptr) FreeNotification(Window);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove || AComponent != g_pressed) return;
        g_pressed = nullptr;
        g_held = {};
    }
};

// Made once and kept for the life of the program: static destruction order must not matter.
TPressWatch& PressWatch() {
    static TPressWatch* watch = new TPressWatch();
    return *watch;
}

TWinControl* WindowOf(TControl* Control, TPoint& P) {
    TControl* c = Control;
    while (c != nullptr && !c->IsWindowed()) {
        P.x += c->GetLeft();
        P.y += c->GetTop();
        c = c->GetParent();
    }
    return static_cast<TWinControl*>(c);
}

TShiftStateE HeldFlag(TMouseButton b) { return b == mbRight ? ssRight : b == mbMiddle ? ssMiddle : ssLeft; }

void Send(TControl* Control, int X, int Y, TSyntheticMouse Kind, TMouseButton Button) {
    TPoint p{X, Y};
    TWinControl* w = WindowOf(Control, p);
    if (w == nullptr) return;
    if (g_pressed != nullptr && g_pressed != w && (Kind == TSyntheticMouse::Move || Kind == TSyntheticMouse::Release)) {
        TPoint screen = w->ClientToScreen(p);
        p = g_pressed->ScreenToClient(screen);
        w = g_pressed;
    }
    if (Kind == TSyntheticMouse::Press || Kind == TSyntheticMouse::DoubleClick) {
        g_held << HeldFlag(Button);
        PressWatch().Hold(w);
    } else if (Kind == TSyntheticMouse::Release) {
        g_held >> HeldFlag(Button);
        if (g_held * TShiftState{ssLeft, ssRight, ssMiddle} == TShiftState{}) PressWatch().Hold(nullptr);
    }
    SendSyntheticMouse(w, Kind, p, Button, g_held);
}

}  // namespace

bool RunUntil(const std::function<bool()>& Condition, int TimeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    while (!Condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void RunFor(int Ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (std::chrono::steady_clock::now() < end) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void MouseMoveTo(TControl* Control, int X, int Y, TShiftState) { Send(Control, X, Y, TSyntheticMouse::Move, mbLeft); }
void MousePress(TControl* Control, int X, int Y, TMouseButton Button) { Send(Control, X, Y, TSyntheticMouse::Press, Button); }
void MouseRelease(TControl* Control, int X, int Y, TMouseButton Button) { Send(Control, X, Y, TSyntheticMouse::Release, Button); }

void ClickAt(TControl* Control, int X, int Y, TMouseButton Button) {
    MouseMoveTo(Control, X, Y);
    MousePress(Control, X, Y, Button);
    MouseRelease(Control, X, Y, Button);
}

void Click(TControl* Control, TMouseButton Button) {
    ClickAt(Control, Control->GetClientWidth() / 2, Control->GetClientHeight() / 2, Button);
}

void DoubleClickAt(TControl* Control, int X, int Y) {
    MousePress(Control, X, Y, mbLeft);
    MouseRelease(Control, X, Y, mbLeft);
    Send(Control, X, Y, TSyntheticMouse::DoubleClick, mbLeft);
    MouseRelease(Control, X, Y, mbLeft);
}

void PressKey(TCustomForm* Form, Word Key, TShiftState Shift, const String& Text) {
    TWinControl* target = Form->GetActiveControl() != nullptr ? Form->GetActiveControl() : Form;
    SendSyntheticKey(target, Key, Shift, Text, true);
}

void TypeText(TCustomForm* Form, const String& Text) {
    for (char ch : Text) {
        Word key = (ch >= 'a' && ch <= 'z') ? static_cast<Word>(ch - 'a' + 'A') : static_cast<Word>(static_cast<Byte>(ch));
        PressKey(Form, key, {}, String(1, ch));
    }
}

void Snapshot(TWinControl* Control, TBitmap* Out) {
    Out->SetPixelFormat(pf32bit);
    Out->SetSize(Control->GetClientWidth(), Control->GetClientHeight());
    Control->PaintTo(Out->GetCanvas(), 0, 0);
}

std::filesystem::path SaveRender(TWinControl* Control, const std::string& Folder, const std::string& File) {
    const std::filesystem::path folder = std::filesystem::path(TEST_PEER_DIR) / ".." / ".." / "renders" / Folder;
    std::filesystem::create_directories(folder);
    TBitmap shot;
    Snapshot(Control, &shot);
    SaveBitmapToPng(shot, (folder / File).string());
    return folder / File;
}

TColor PixelAt(TControl* Control, int X, int Y) {
    TPoint p{X, Y};
    TWinControl* w = WindowOf(Control, p);
    if (w == nullptr) return clNone;
    TBitmap shot;
    Snapshot(w, &shot);
    return static_cast<TColor>(shot.GetPixelColor(p.x, p.y));
}

TColor ShownPixel(TCustomForm* Form, int X, int Y) {
    TRect window;
    if (!GetWindowRect(Form->GetHandle(), &window)) return clNone;
    TBitmap shot;
    if (!GrabScreen(Bounds(window.Left + X, window.Top + Y, 1, 1), &shot)) return clNone;
    return static_cast<TColor>(shot.GetPixelColor(0, 0));
}

TBitmap* SolidBitmap(int Width, int Height, TColor Colour) {
    auto* b = new TBitmap(Width, Height, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(Colour);
    b->GetCanvas()->FillRect(Rect(0, 0, Width, Height));
    return b;
}

void TDeathWatch::Watch(TComponent* C) {
    if (C == nullptr) return;
    FreeNotification(C);
    ++watched;
}

void TDeathWatch::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) gone.insert(AComponent);
}

}  // namespace testing_vcl
