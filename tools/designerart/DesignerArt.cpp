// Draws the menu designer's pictures into the program folder given as the only argument: the
// 873 x 796 window skin, its buttons in four states, the back button of the menus, the disc-size
// bar and the DVD-9 mark (all in RES/), and the background list (Background/Background.ini with
// its pictures). Run by the build; the repository holds no binary artwork.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

const TColor kFrame = Rgb(44, 58, 84);
const TColor kPanel = Rgb(222, 228, 238);
const TColor kWell = Rgb(196, 206, 222);
const TColor kAccent = Rgb(52, 110, 196);

void Text(TCanvas* c, int x, int y, const std::string& s, int size, TColor colour, bool bold) {
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetName("DejaVu Sans");
    c->GetFont()->SetSize(size);
    c->GetFont()->SetColor(colour);
    c->GetFont()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
    c->TextOut(x, y, s);
}

void CentredText(TCanvas* c, int w, int h, const std::string& s, int size, TColor colour, bool bold) {
    c->GetFont()->SetName("DejaVu Sans");
    c->GetFont()->SetSize(size);
    c->GetFont()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
    Text(c, (w - c->TextWidth(s)) / 2, (h - c->TextHeight(s)) / 2, s, size, colour, bold);
}

bool Save(TBitmap* b, const std::filesystem::path& file) {
    try {
        b->SaveToFile(file.string());
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "designerart: %s: %s\n", file.string().c_str(), e.what());
        return false;
    }
}

// The window: a dark title band, light panels where the preview, the background list, the
// strip and the disc bar sit.
std::unique_ptr<TBitmap> Skin() {
    auto b = NewPicture(873, 796, kPanel);
    TCanvas* c = b->GetCanvas();
    for (int y = 0; y < 70; ++y) {
        c->GetPen()->SetColor(Mix(kFrame, kAccent, y / 140.0));
        c->MoveTo(0, y);
        c->LineTo(873, y);
    }
    Text(c, 20, 22, "DVD Menu", 18, Rgb(255, 255, 255), true);
    Box(c, 250, 82, 788, 530, kWell, Rgb(150, 164, 190), 10);      // preview well
    Box(c, 4, 74, 192, 476, kWell, Rgb(150, 164, 190), 10);        // background list
    Box(c, 212, 528, 830, 646, kWell, Rgb(150, 164, 190), 10);     // clip strip
    Box(c, 118, 654, 780, 680, kWell, Rgb(150, 164, 190), 8);      // disc bar
    c->GetBrush()->SetColor(Rgb(255, 255, 255));
    c->FillRect(TRect{125, 662, 773, 672});
    c->GetPen()->SetColor(kFrame);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, 873, 796);
    return b;
}

// The text-style dialog: a title band over a light panel.
std::unique_ptr<TBitmap> TextSkin() {
    auto b = NewPicture(465, 340, kPanel);
    TCanvas* c = b->GetCanvas();
    for (int y = 0; y < 30; ++y) {
        c->GetPen()->SetColor(Mix(kFrame, kAccent, y / 60.0));
        c->MoveTo(0, y);
        c->LineTo(465, y);
    }
    Text(c, 12, 7, "Text", 10, Rgb(255, 255, 255), true);
    c->GetPen()->SetColor(kFrame);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, 465, 340);
    return b;
}

struct TButtonArt {
    const char* Name;
    const char* Caption;
    int Width;
    int Height;
};

constexpr TButtonArt kButtons[] = {
    {"menu_title", "Title Menu", 88, 26},  {"menu_chapter", "Chapter Menu", 88, 26},
    {"menu_text", "Text", 64, 40},         {"menu_addmusic", "Music", 64, 40},
    {"menu_removemusic", "No Music", 64, 40}, {"menu_up", "Add", 64, 40},
    {"menu_submenu", "Chapters", 64, 40},  {"menu_delete", "Remove", 64, 40},
    {"menu_addimage", "Image...", 88, 26}, {"menu_4_3", "4:3", 50, 22},
    {"menu_16_9", "16:9", 50, 22},         {"menu_dvd5", "DVD-5", 100, 30},
    {"menu_dvd9", "DVD-9", 100, 30},       {"menu_addfile", "Add", 64, 40},
    {"menu_removefile", "Remove", 64, 40}, {"menu_left", "Left", 64, 40},
    {"menu_right", "Right", 64, 40},       {"menu_option", "Option", 64, 40},
    {"menu_clip", "Clip", 64, 40},         {"menu_next", "Next", 64, 40},
    {"menu_close", "X", 50, 20},           {"menu_infobar", "", 54, 14},
    {"menu_materialbar", "", 15, 54},      {"text_ok", "OK", 80, 28},
    {"text_cancel", "Cancel", 80, 28},
};

std::unique_ptr<TBitmap> Button(const TButtonArt& Art, int State) {
    const TColor fills[] = {Rgb(70, 120, 200), Rgb(96, 150, 230), Rgb(40, 84, 150), Rgb(170, 176, 188)};
    auto b = NewPicture(Art.Width, Art.Height, kPanel);
    TCanvas* c = b->GetCanvas();
    Box(c, 0, 0, Art.Width, Art.Height, fills[State], kFrame, 8);
    if (*Art.Caption != 0)
        CentredText(c, Art.Width, Art.Height, Art.Caption, Art.Height < 30 ? 8 : 9,
                    State == 3 ? Rgb(230, 230, 230) : Rgb(255, 255, 255), true);
    return b;
}

// The menus' back button: a rounded arrow on the see-through colour of menu objects.
std::unique_ptr<TBitmap> BackButton() {
    auto b = NewPicture(72, 32, static_cast<TColor>(0x797571));
    TCanvas* c = b->GetCanvas();
    Box(c, 0, 0, 72, 32, Rgb(245, 245, 245), Rgb(30, 30, 30), 14);
    c->GetBrush()->SetColor(Rgb(40, 40, 40));
    c->GetPen()->SetColor(Rgb(40, 40, 40));
    c->Polygon({TPoint{10, 16}, TPoint{22, 7}, TPoint{22, 25}});
    Text(c, 27, 8, "Back", 9, Rgb(30, 30, 30), true);
    return b;
}

// Six menu backgrounds: soft diagonal gradients with a few rings, each in its own colours.
std::unique_ptr<TBitmap> Background(int Index) {
    const TColor from[] = {Rgb(20, 30, 80), Rgb(90, 20, 40), Rgb(10, 70, 60), Rgb(60, 40, 90), Rgb(30, 30, 30), Rgb(110, 70, 20)};
    const TColor to[] = {Rgb(90, 150, 220), Rgb(240, 150, 90), Rgb(140, 220, 160), Rgb(220, 160, 230), Rgb(150, 150, 160), Rgb(250, 220, 130)};
    constexpr int w = 360, h = 288;
    auto b = NewPicture(w, h, from[Index]);
    TCanvas* c = b->GetCanvas();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; x += 2) {
            const TColor p = Mix(from[Index], to[Index], (x + 1.4 * y) / (w + 1.4 * h));
            c->SetPixels(x, y, p);
            c->SetPixels(x + 1, y, p);
        }
    c->GetBrush()->SetStyle(bsClear);
    for (int r = 0; r < 4; ++r) {
        c->GetPen()->SetColor(Mix(to[Index], Rgb(255, 255, 255), 0.3 + r * 0.15));
        const int cx = 60 + ((Index * 53 + r * 71) % 240), cy = 50 + ((Index * 37 + r * 59) % 190), rad = 18 + r * 14;
        c->Ellipse(cx - rad, cy - rad, cx + rad, cy + rad);
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: designerart <program folder>\n");
        return 2;
    }
    Vcl_InitWidgets(argc, argv);
    const std::filesystem::path root(argv[1]);
    const std::filesystem::path res = root / "RES";
    const std::filesystem::path back = root / "Background";
    std::filesystem::create_directories(res);
    std::filesystem::create_directories(back);
    bool ok = Save(Skin().get(), res / "menu_skin.bmp") && Save(TextSkin().get(), res / "text_skin.bmp") && Save(BackButton().get(), res / "BackBmp.bmp");
    const char* states[] = {"", "_on", "_down", "_dis"};
    for (const TButtonArt& art : kButtons)
        for (int s = 0; s < 4; ++s) ok = Save(Button(art, s).get(), res / (std::string(art.Name) + states[s] + ".bmp")) && ok;
    auto bar = NewPicture(640, 10, kAccent);
    ok = Save(bar.get(), res / "menu_discbar.bmp") && ok;
    auto mark = NewPicture(60, 12, kPanel);
    Text(mark->GetCanvas(), 2, 0, "8.5 GB", 7, kFrame, true);
    ok = Save(mark.get(), res / "menu_8500.bmp") && ok;
    constexpr int kBackgrounds = 6;
    std::ofstream ini(back / "Background.ini");
    ini << "[Background]\nCount=" << kBackgrounds << "\n";
    for (int i = 0; i < kBackgrounds; ++i) {
        const std::string name = "Back" + std::to_string(i) + ".bmp";
        ok = Save(Background(i).get(), back / name) && ok;
        ini << "Image" << i << "=" << name << "\n";
    }
    ini.close();
    return ok && ini ? 0 : 1;
}
