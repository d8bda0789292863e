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

// The family's colours (the main window's and the production windows'): a slate title band with
// the disc logo and the product's name, a navy edge, light panels where black text sits.
const TColor kTitle = Rgb(34, 52, 84);
const TColor kEdge = Rgb(70, 96, 140);
const TColor kAmber = Rgb(255, 170, 40);
const TColor kSeeThrough = Rgb(255, 0, 255);

// A window outline with rounded corners (see-through outside), its title band down to Line.
void TitleBand(TBitmap* b, int Line) {
    const int w = b->GetWidth(), h = b->GetHeight();
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(kSeeThrough);
    c->FillRect(TRect{0, 0, w, h});
    Box(c, 0, 0, w, h, kPanel, kEdge, 12);
    c->GetBrush()->SetColor(kTitle);
    c->GetPen()->SetColor(kTitle);
    c->RoundRect(1, 1, w - 1, Line + 10, 10, 10);
    c->GetBrush()->SetColor(kPanel);
    c->GetPen()->SetColor(kPanel);
    c->FillRect(TRect{2, Line, w - 2, Line + 11});
    for (int y = 2; y < Line; ++y)
        for (int x = 2; x < w - 2; ++x) {
            const TColor p = c->GetPixels(x, y);
            if (p != kTitle) continue;
            const double t = 1.0 - static_cast<double>(y) / Line;
            c->SetPixels(x, y, Mix(p, Rgb(255, 255, 255), 0.18 * t * t));
        }
    c->GetPen()->SetColor(kAmber);
    c->MoveTo(10, Line);
    c->LineTo(w - 10, Line);
    const int logo = Line * 28 / 46, top = (Line - logo) / 2;
    Box(c, 14, top, 14 + logo, top + logo, Rgb(200, 214, 232), kAmber, logo);
    const int hole = logo / 7;
    Box(c, 14 + logo / 2 - hole, top + logo / 2 - hole, 14 + logo / 2 + hole, top + logo / 2 + hole, kTitle, kTitle, 8);
    const int size = Line >= 40 ? 13 : 10;
    c->GetFont()->SetName("DejaVu Sans");
    c->GetFont()->SetSize(size);
    c->GetFont()->SetStyle(TFontStyles{fsBold});
    Text(c, 24 + logo, (Line - c->TextHeight("Q")) / 2, "Quellox DOZ Ezedav", size, Rgb(236, 242, 250), true);
}

// The window: the family's title band, light panels where the preview, the background list,
// the strip and the disc bar sit.
std::unique_ptr<TBitmap> Skin() {
    auto b = NewPicture(873, 796, kPanel);
    TCanvas* c = b->GetCanvas();
    TitleBand(b.get(), 46);
    Box(c, 250, 82, 788, 530, kWell, kEdge, 10);      // preview well
    Box(c, 4, 74, 192, 476, kWell, kEdge, 10);        // background list
    Box(c, 212, 528, 830, 646, kWell, kEdge, 10);     // clip strip
    Box(c, 118, 654, 780, 680, kWell, kEdge, 8);      // disc bar
    c->GetBrush()->SetColor(Rgb(255, 255, 255));
    c->FillRect(TRect{125, 662, 773, 672});
    return b;
}

// The text-style dialog: the same band, slim, over a light panel.
std::unique_ptr<TBitmap> TextSkin() {
    auto b = NewPicture(465, 340, kPanel);
    TitleBand(b.get(), 26);
    return b;
}

struct TButtonArt {
    const char* Name;
    const char* Caption;
    int Width;
    int Height;
};

// The buttons carry signs rather than words (their hints, from the language file, name them);
// the two menu tabs and the dialogs' OK and Cancel get their captions from the windows.
constexpr TButtonArt kButtons[] = {
    {"menu_title", "", 88, 26},                         {"menu_chapter", "", 88, 26},
    {"menu_text", "T", 64, 40},                         {"menu_addmusic", "+\xE2\x99\xAA", 64, 40},
    {"menu_removemusic", "\xE2\x88\x92\xE2\x99\xAA", 64, 40}, {"menu_up", "+", 64, 40},
    {"menu_submenu", "\xE2\x98\xB0", 64, 40},          {"menu_delete", "\xE2\x88\x92", 64, 40},
    {"menu_addimage", "\xE2\x96\xA6", 88, 26},         {"menu_4_3", "4:3", 50, 22},
    {"menu_16_9", "16:9", 50, 22},                      {"menu_dvd5", "DVD-5", 100, 30},
    {"menu_dvd9", "DVD-9", 100, 30},                    {"menu_addfile", "+", 64, 40},
    {"menu_removefile", "\xE2\x88\x92", 64, 40},       {"menu_left", "\xE2\x97\x80", 64, 40},
    {"menu_right", "\xE2\x96\xB6", 64, 40},            {"menu_option", "\xE2\x9A\x99", 64, 40},
    {"menu_clip", "\xE2\x86\xA9", 64, 40},             {"menu_next", "\xE2\x86\x92", 64, 40},
    {"menu_close", "\xE2\x9C\x95", 50, 20},            {"menu_infobar", "", 54, 14},
    {"menu_materialbar", "", 15, 54},                   {"text_ok", "", 80, 28},
    {"text_cancel", "", 80, 28},
};

std::unique_ptr<TBitmap> Button(const TButtonArt& Art, int State) {
    // The family's buttons: slate faces, lighter under the pointer, amber when pressed.
    const TColor fills[] = {Rgb(44, 66, 104), Rgb(64, 92, 138), Rgb(150, 100, 30), Rgb(150, 156, 168)};
    const TColor edges[] = {kEdge, Rgb(90, 200, 240), kAmber, Rgb(170, 176, 188)};
    auto b = NewPicture(Art.Width, Art.Height, kPanel);
    TCanvas* c = b->GetCanvas();
    Box(c, 0, 0, Art.Width, Art.Height, fills[State], edges[State], 8);
    if (*Art.Caption != 0)
        CentredText(c, Art.Width, Art.Height, Art.Caption, Art.Height < 30 ? 9 : 15,
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
