#include "tests/support/xdisplay/XInput.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/vcl/FormWindow.h"
#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"
#include "tests/support/xdisplay/XServer.h"

namespace testing_x {

namespace {

// The programs of these tests run on the X display test.sh starts, whatever the rest of the suite
// runs on; set before the test main looks (without a display it falls back to headless, and the
// tests skip themselves).
[[maybe_unused]] const bool kOnX = ::setenv("QT_QPA_PLATFORM", "xcb", 1) == 0;

}  // namespace

bool OnRealDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    return platform && std::strcmp(platform, "xcb") == 0 && display && *display && server::Open();
}

void Settle(int Ms) { testing_vcl::RunFor(Ms); }

void MoveTo(int ScreenX, int ScreenY) {
    server::Motion(ScreenX, ScreenY);
    Settle(60);
}

void Press(int Button) {
    server::Button(Button, true);
    Settle(60);
}

void Release(int Button) {
    server::Button(Button, false);
    Settle(100);
}

void ClickAtScreen(int ScreenX, int ScreenY, int Button) {
    MoveTo(ScreenX, ScreenY);
    Press(Button);
    Release(Button);
}

TPoint ScreenPointOf(TControl* Control, int X, int Y) { return Control->ClientToScreen(TPoint{X, Y}); }

void ClickOn(TControl* Control, int X, int Y, int Button) {
    TPoint p = ScreenPointOf(Control, X, Y);
    ClickAtScreen(p.x, p.y, Button);
}

void ClickOn(TControl* Control, int Button) {
    ClickOn(Control, Control->GetWidth() / 2, Control->GetHeight() / 2, Button);
}

TRect DroppedListArea(TCustomComboBox* Combo) {
    TWinControl* window = Combo->DropDownWindow();
    if (window == nullptr || !Combo->GetDroppedDown()) return {};
    TPoint origin = window->ClientToScreen({0, 0});
    return Bounds(origin.x, origin.y, window->GetWidth(), window->GetHeight());
}

bool WheelIntoView(TCustomListBox* List, int Index) {
    const TRect client = List->GetClientRect();
    const TPoint centre = List->ClientToScreen({client.Width() / 2, client.Height() / 2});
    for (int turns = 0; turns < 200; ++turns) {
        const TRect row = List->ItemRect(Index);
        if (row.Top >= client.Top && row.Bottom <= client.Bottom) return true;
        MoveTo(centre.x, centre.y);
        const int button = row.Top < client.Top ? 4 : 5;  // X's wheel: 4 turns up, 5 down
        Press(button);
        Release(button);
        Settle(30);
    }
    return false;
}

bool PickWithTheMouse(TCustomComboBox* Combo, int Index) {
    const TRect button = Combo->ButtonRect();  // the arrow opens every style's list
    ClickOn(Combo, (button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2);
    if (!testing_vcl::RunUntil([Combo] { return Combo->GetDroppedDown(); }, 2000)) return false;
    Settle(200);
    TCustomListBox* list = Combo->DropDownList();
    if (!WheelIntoView(list, Index)) return false;
    TRect row = list->ItemRect(Index);
    TPoint at = list->ClientToScreen({(row.Left + row.Right) / 2, (row.Top + row.Bottom) / 2});
    MoveTo(at.x, at.y);
    Settle(100);
    Press();
    Release();
    Settle(200);
    return true;
}

void Key(const char* KeysymName, bool Shift) {
    server::Key(KeysymName, Shift);
    Settle(100);
}

TColor ScreenPixel(int ScreenX, int ScreenY) {
    long rgb = server::RootPixel(ScreenX, ScreenY);
    if (rgb < 0) return clNone;
    unsigned r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return static_cast<TColor>((b << 16) | (g << 8) | r);
}

std::vector<TColor> ScreenArea(const TRect& Area) {
    if (Area.Width() <= 0 || Area.Height() <= 0) return {};
    std::vector<unsigned char> rgb(static_cast<size_t>(Area.Width()) * 3 * static_cast<size_t>(Area.Height()));
    if (!server::RootArea(Area.Left, Area.Top, Area.Width(), Area.Height(), rgb.data())) return {};
    std::vector<TColor> out(rgb.size() / 3);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<TColor>((rgb[3 * i + 2] << 16) | (rgb[3 * i + 1] << 8) | rgb[3 * i]);
    return out;
}

int DifferingPixels(const std::vector<TColor>& A, const std::vector<TColor>& B) {
    if (A.size() != B.size()) return static_cast<int>(std::max(A.size(), B.size()));
    int n = 0;
    for (size_t i = 0; i < A.size(); ++i) n += A[i] != B[i] ? 1 : 0;
    return n;
}

namespace {

// The script waits for the window on the screen: an OnShow that keeps messages flowing (a drive
// scan) would otherwise run it inside OnShow, before the window is shown. It is queued again
// rather than waited for there, so that OnShow can finish.
void RunOnceShown(TCustomForm* Form, std::function<void(TCustomForm*)> Script, int Tries) {
    Application->QueueCall([Form, Script = std::move(Script), Tries]() mutable {
        const bool shown = Form->HandleAllocated() && IsWindowVisible(Form->GetHandle());
        if (!shown && Tries > 0) {
            Sleep(10);
            RunOnceShown(Form, std::move(Script), Tries - 1);
            return;
        }
        Settle(300);
        Script(Form);
    });
}

}  // namespace

void DuringModal(testing_vcl::TScriptedInteraction& Ask, std::function<void(TCustomForm*)> Script) {
    Ask.ModalActions.push_back(
        [Script = std::move(Script)](TCustomForm* Form) { RunOnceShown(Form, Script, 1000); });
}

namespace {

// libpng reports its failures by longjmp: nothing the caller owns lives in this frame.
bool WriteRgbPng(FILE* File, int Width, int Height, const std::vector<unsigned char>& Rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_init_io(png, File);
        png_set_IHDR(png, info, static_cast<png_uint_32>(Width), static_cast<png_uint_32>(Height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < Height; ++y)
            png_write_row(png, const_cast<unsigned char*>(&Rows[static_cast<size_t>(y) * Width * 3]));
        png_write_end(png, nullptr);
    }
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    return ok;
}

}  // namespace

bool SaveScreenArea(int X, int Y, int Width, int Height, const String& PngPath) {
    if (Width <= 0 || Height <= 0) return false;
    std::vector<unsigned char> rows(static_cast<size_t>(Width) * 3 * static_cast<size_t>(Height));
    if (!server::RootArea(X, Y, Width, Height, rows.data())) return false;
    FILE* file = std::fopen(PngPath.c_str(), "wb");
    if (!file) return false;
    const bool ok = WriteRgbPng(file, Width, Height, rows);
    return std::fclose(file) == 0 && ok;
}

}  // namespace testing_x
