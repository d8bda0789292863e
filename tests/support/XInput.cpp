#include "tests/support/XInput.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/support/TestHelpers.h"
#include "tests/support/XServer.h"

namespace testing_x {

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

bool SaveScreenArea(int X, int Y, int Width, int Height, const String& PngPath) {
    if (Width <= 0 || Height <= 0) return false;
    std::vector<unsigned char> rows(static_cast<size_t>(Width) * 3 * static_cast<size_t>(Height));
    if (!server::RootArea(X, Y, Width, Height, rows.data())) return false;
    FILE* file = std::fopen(PngPath.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(Width), static_cast<png_uint_32>(Height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < Height; ++y) png_write_row(png, &rows[static_cast<size_t>(y) * Width * 3]);
        png_write_end(png, nullptr);
    }
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    std::fclose(file);
    return ok;
}

}  // namespace testing_x
