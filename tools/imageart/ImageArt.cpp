// Draws the frame chooser's pictures into the program folder given as the only argument: the
// 371 x 414 window skin with the preview well and the slider's track, and the slider handle in
// four states (all in RES/). Run by the build; the repository holds no binary artwork.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/vcl/Graphics.h"
#include "tools/ArtCanvas.h"
#include "platform/vcl/Widgets.h"

namespace {

using artcanvas::Box;
using artcanvas::NewPicture;

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(RGB(r, g, b)); }
int Ch(TColor c, int shift) { return (c >> shift) & 0xFF; }

TColor Mix(TColor a, TColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [&](int s) { return static_cast<int>(std::lround(Ch(a, s) + (Ch(b, s) - Ch(a, s)) * t)); };
    return Rgb(m(0), m(8), m(16));
}

// The designer's colours, so the chooser reads as one of its dialogs.
const TColor kFrame = Rgb(44, 58, 84);
const TColor kPanel = Rgb(222, 228, 238);
const TColor kWell = Rgb(196, 206, 222);
const TColor kAccent = Rgb(52, 110, 196);

// Where the window's controls sit (client coordinates).
constexpr int kWidth = 371, kHeight = 414;
constexpr int kPreviewLeft = 29, kPreviewTop = 63, kPreviewWidth = 296, kPreviewHeight = 220;
constexpr int kTrackLeft = 28, kTrackRight = 330, kHandleTop = 293, kHandleWidth = 14, kHandleHeight = 21;

bool Save(TBitmap* b, const std::filesystem::path& file) {
    try {
        b->SaveToFile(file.string());
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "imageart: %s: %s\n", file.string().c_str(), e.what());
        return false;
    }
}

// A title band for the message line, a dark well behind the preview, and the slider's groove
// with a tick every tenth of the handle's travel.
std::unique_ptr<TBitmap> Skin() {
    auto b = NewPicture(kWidth, kHeight, kPanel);
    TCanvas* c = b->GetCanvas();
    for (int y = 0; y < 56; ++y) {
        c->GetPen()->SetColor(Mix(kFrame, kAccent, y / 112.0));
        c->MoveTo(0, y);
        c->LineTo(kWidth, y);
    }
    Box(c, kPreviewLeft - 5, kPreviewTop - 5, kPreviewLeft + kPreviewWidth + 5, kPreviewTop + kPreviewHeight + 5,
        Rgb(16, 18, 24), Rgb(150, 164, 190), 8);
    const int grooveY = kHandleTop + kHandleHeight / 2;
    Box(c, kTrackLeft, grooveY - 3, kTrackRight, grooveY + 3, kWell, Rgb(150, 164, 190), 6);
    c->GetPen()->SetColor(Rgb(120, 134, 160));
    for (int i = 0; i <= 10; ++i) {
        const int x = kTrackLeft + kHandleWidth / 2 + i * (kTrackRight - kTrackLeft - kHandleWidth) / 10;
        c->MoveTo(x, grooveY + 8);
        c->LineTo(x, grooveY + (i % 5 == 0 ? 15 : 12));
    }
    Box(c, 18, 326, 112, 346, kWell, Rgb(150, 164, 190), 6);   // behind the time
    c->GetPen()->SetColor(kFrame);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, kWidth, kHeight);
    return b;
}

// The handle: a rounded grip with a pointer line, lighter when the mouse is on it, darker
// while pressed, grey while a frame is being fetched.
std::unique_ptr<TBitmap> Handle(int State) {
    const TColor fills[] = {kAccent, Rgb(96, 150, 230), Rgb(30, 70, 140), Rgb(170, 176, 188)};
    auto b = NewPicture(kHandleWidth, kHandleHeight, kPanel);
    TCanvas* c = b->GetCanvas();
    Box(c, 0, 0, kHandleWidth, kHandleHeight, fills[State], kFrame, 5);
    c->GetPen()->SetColor(Rgb(255, 255, 255));
    c->MoveTo(kHandleWidth / 2, 4);
    c->LineTo(kHandleWidth / 2, kHandleHeight - 4);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: imageart <program folder>\n");
        return 2;
    }
    Vcl_InitWidgets(argc, argv);
    const std::filesystem::path res = std::filesystem::path(argv[1]) / "RES";
    std::filesystem::create_directories(res);
    bool ok = Save(Skin().get(), res / "image_skin.bmp");
    const char* states[] = {"", "_on", "_down", "_dis"};
    for (int s = 0; s < 4; ++s) ok = Save(Handle(s).get(), res / (std::string("image_bar") + states[s] + ".bmp")) && ok;
    return ok ? 0 : 1;
}
