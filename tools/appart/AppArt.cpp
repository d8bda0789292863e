// Draws the program's own pictures (the main window's skin, its buttons, the English mode
// descriptions and the shared clip-row and clip-tile pictures) as BMP files into the folder given
// as the only argument: the program's RES folder. Run by the build; no binary artwork is kept.
//
// One look throughout: a deep navy body, a slate title band, amber for what is selected or
// pressed, a cool cyan for hover. Corners and windows that must show what lies beneath hold the
// see-through colours: clFuchsia around the main window, 0x797571 in the clip pictures.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Widgets.h"

namespace {

constexpr TColor Rgb(int r, int g, int b) { return static_cast<TColor>(RGB(r, g, b)); }

constexpr TColor kFuchsia = Rgb(255, 0, 255);
constexpr TColor kSeeThrough = 0x797571;
constexpr TColor kBody = Rgb(22, 34, 58);
constexpr TColor kBodyEdge = Rgb(70, 96, 140);
constexpr TColor kTitle = Rgb(34, 52, 84);
constexpr TColor kPanel = Rgb(14, 22, 40);
constexpr TColor kAmber = Rgb(255, 170, 40);
constexpr TColor kCyan = Rgb(90, 200, 240);
constexpr TColor kText = Rgb(236, 242, 250);
constexpr TColor kMuted = Rgb(150, 168, 196);

int Ch(TColor c, int shift) { return (c >> shift) & 0xFF; }

TColor Mix(TColor a, TColor b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [&](int s) { return static_cast<int>(std::lround(Ch(a, s) + (Ch(b, s) - Ch(a, s)) * t)); };
    return Rgb(m(0), m(8), m(16));
}

TColor Grey(TColor c) {
    const int y = (Ch(c, 0) * 30 + Ch(c, 8) * 59 + Ch(c, 16) * 11) / 100;
    return Rgb(y, y, y);
}

std::unique_ptr<TBitmap> NewPicture(int w, int h, TColor fill) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(fill);
    c->FillRect(TRect{0, 0, w, h});
    return b;
}

void Box(TCanvas* c, int x1, int y1, int x2, int y2, TColor fill, TColor edge, int radius) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(fill);
    c->GetPen()->SetColor(edge);
    c->GetPen()->SetWidth(1);
    c->RoundRect(x1, y1, x2, y2, radius, radius);
}

// A soft vertical shine over a rectangle, keeping the pixels the mask colour marks.
void Shine(TBitmap* b, const TRect& r, TColor keep, double strength) {
    for (int y = r.Top; y < r.Bottom; ++y) {
        const double t = 1.0 - static_cast<double>(y - r.Top) / std::max(1, r.Bottom - r.Top);
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor p = b->GetCanvas()->GetPixels(x, y);
            if (p == keep) continue;
            b->GetCanvas()->SetPixels(x, y, Mix(p, 0xFFFFFF, strength * t * t));
        }
    }
}

void UseFont(TCanvas* c, int size, TColor colour, bool bold) {
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetName("DejaVu Sans");
    c->GetFont()->SetSize(size);
    c->GetFont()->SetColor(colour);
    c->GetFont()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
}

void Text(TCanvas* c, int x, int y, const std::string& s, int size, TColor colour, bool bold) {
    UseFont(c, size, colour, bold);
    c->TextOut(x, y, s);
}

void CentredText(TCanvas* c, int width, int y, const std::string& s, int size, TColor colour, bool bold) {
    UseFont(c, size, colour, bold);
    Text(c, (width - c->TextWidth(s)) / 2, y, s, size, colour, bold);
}

bool Save(TBitmap* b, const std::string& folder, const std::string& name) {
    try {
        b->SaveToFile(folder + "/" + name + ".bmp");
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "appart: %s: %s\n", name.c_str(), e.what());
        return false;
    }
}

// ---- main window -------------------------------------------------------------------------------

void DrawSkin(TBitmap* b) {
    TCanvas* c = b->GetCanvas();
    Box(c, 0, 0, 581, 394, kBody, kBodyEdge, 36);
    c->GetBrush()->SetColor(kTitle);
    c->GetPen()->SetColor(kTitle);
    c->RoundRect(1, 1, 580, 60, 34, 34);
    c->FillRect(TRect{1, 30, 580, 46});
    c->GetBrush()->SetColor(kBody);
    c->FillRect(TRect{2, 47, 579, 61});
    c->GetPen()->SetColor(kBodyEdge);
    c->MoveTo(12, 46);
    c->LineTo(569, 46);
    Shine(b, TRect{2, 2, 579, 46}, kFuchsia, 0.18);
    // A disc for a logo, then the name.
    Box(c, 14, 9, 42, 37, Rgb(200, 214, 232), kAmber, 28);
    Box(c, 24, 19, 32, 27, kTitle, kTitle, 8);
    Text(c, 52, 12, "Quellox DOZ Ezedav", 13, kText, true);
    Text(c, 252, 17, "DVD authoring studio", 9, kMuted, false);
    // The well the mode descriptions appear in.
    Box(c, 12, 206, 360, 280, kPanel, kBodyEdge, 10);
    c->GetPen()->SetColor(kBodyEdge);
    c->MoveTo(24, 300);
    c->LineTo(557, 300);
    Text(c, 24, 312, "Builder  \xC2\xB7  Converter  \xC2\xB7  Compiler  \xC2\xB7  Burner", 9, kMuted, false);
    Text(c, 24, 340, "Point at a mode to read what it does; click it to begin.", 9, kMuted, false);
    Text(c, 24, 364, "Version 5.5", 8, Mix(kMuted, kBody, 0.4), false);
}

enum State { Normal, MouseOn, MouseDown, Disabled };

TColor StateColour(TColor base, State s) {
    switch (s) {
        case MouseOn: return Mix(base, 0xFFFFFF, 0.22);
        case MouseDown: return Mix(base, 0x000000, 0.25);
        case Disabled: return Grey(Mix(base, kBody, 0.5));
        default: return base;
    }
}

using IconPainter = std::function<void(TCanvas*, int cx, int cy, TColor ink)>;

void DiscIcon(TCanvas* c, int cx, int cy, TColor ink) {
    Box(c, cx - 26, cy - 26, cx + 26, cy + 26, Rgb(210, 220, 236), ink, 52);
    Box(c, cx - 16, cy - 16, cx + 16, cy + 16, Rgb(180, 196, 220), Rgb(180, 196, 220), 32);
    Box(c, cx - 6, cy - 6, cx + 6, cy + 6, kBody, ink, 12);
}

void FilmIcon(TCanvas* c, int cx, int cy, TColor ink) {
    Box(c, cx - 30, cy - 20, cx + 30, cy + 20, Rgb(40, 44, 52), ink, 6);
    c->GetBrush()->SetColor(Rgb(230, 230, 230));
    for (int i = 0; i < 6; ++i) {
        c->FillRect(TRect{cx - 26 + i * 10, cy - 17, cx - 21 + i * 10, cy - 12});
        c->FillRect(TRect{cx - 26 + i * 10, cy + 12, cx - 21 + i * 10, cy + 17});
    }
    c->GetBrush()->SetColor(ink);
    c->FillRect(TRect{cx - 24, cy - 8, cx - 2, cy + 8});
    c->FillRect(TRect{cx + 2, cy - 8, cx + 24, cy + 8});
}

void ArrowsIcon(TCanvas* c, int cx, int cy, TColor ink) {
    c->GetBrush()->SetColor(ink);
    c->GetPen()->SetColor(ink);
    c->Polygon({TPoint{cx - 28, cy - 14}, TPoint{cx + 8, cy - 14}, TPoint{cx + 8, cy - 24}, TPoint{cx + 28, cy - 8},
                TPoint{cx + 8, cy + 8}, TPoint{cx + 8, cy - 2}, TPoint{cx - 28, cy - 2}});
    c->GetBrush()->SetColor(Rgb(210, 220, 236));
    c->GetPen()->SetColor(Rgb(210, 220, 236));
    c->Polygon({TPoint{cx + 28, cy + 6}, TPoint{cx - 8, cy + 6}, TPoint{cx - 8, cy - 4}, TPoint{cx - 28, cy + 12},
                TPoint{cx - 8, cy + 28}, TPoint{cx - 8, cy + 18}, TPoint{cx + 28, cy + 18}});
}

void MenuIcon(TCanvas* c, int cx, int cy, TColor ink) {
    Box(c, cx - 30, cy - 22, cx + 30, cy + 22, Rgb(60, 80, 120), Rgb(210, 220, 236), 6);
    for (int r = 0; r < 2; ++r)
        for (int k = 0; k < 2; ++k)
            Box(c, cx - 24 + k * 26, cy - 16 + r * 18, cx - 2 + k * 26, cy - 2 + r * 18, r + k == 0 ? ink : Rgb(150, 170, 210),
                Rgb(20, 30, 50), 4);
}

void BurnIcon(TCanvas* c, int cx, int cy, TColor ink) {
    DiscIcon(c, cx - 6, cy + 4, ink);
    c->GetBrush()->SetColor(ink);
    c->GetPen()->SetColor(Mix(ink, 0x000000, 0.3));
    c->Polygon({TPoint{cx + 18, cy - 30}, TPoint{cx + 30, cy - 10}, TPoint{cx + 26, cy + 4}, TPoint{cx + 14, cy + 6},
                TPoint{cx + 8, cy - 8}, TPoint{cx + 14, cy - 16}, TPoint{cx + 16, cy - 6}});
}

void DrawModeButton(TBitmap* b, const std::string& label, TColor accent, const IconPainter& icon, State s) {
    TCanvas* c = b->GetCanvas();
    const int d = s == MouseDown ? 1 : 0;
    const TColor face = StateColour(Mix(kBody, accent, 0.18), s);
    Box(c, d + 2, d + 2, 128 + d, 128 + d, face, StateColour(accent, s), 18);
    Shine(b, TRect{4, 4, 126, 60}, kBody, s == Disabled ? 0.05 : 0.16);
    icon(c, 65 + d, 54 + d, StateColour(accent, s));
    CentredText(c, 130 + 2 * d, 96 + d, label, 11, s == Disabled ? kMuted : kText, true);
}

void DrawRoundButton(TBitmap* b, TColor background, TColor accent, const std::function<void(TCanvas*, int, TColor)>& glyph, State s) {
    TCanvas* c = b->GetCanvas();
    const int w = b->GetWidth();
    const int d = s == MouseDown ? 1 : 0;
    Box(c, 1 + d, 1 + d, w - 1 + d, w - 1 + d, StateColour(Mix(background, accent, 0.25), s), StateColour(accent, s), w);
    glyph(c, w, s == Disabled ? kMuted : (s == MouseOn ? 0xFFFFFF : kText));
}

struct ButtonArt {
    std::string name;
    int size;
    TColor background;
    TColor accent;
    std::function<void(TCanvas*, int, TColor)> glyph;
};

void MinusGlyph(TCanvas* c, int w, TColor ink) {
    c->GetBrush()->SetColor(ink);
    c->FillRect(TRect{w / 2 - 5, w / 2, w / 2 + 5, w / 2 + 2});
}

void CrossGlyph(TCanvas* c, int w, TColor ink) {
    c->GetPen()->SetColor(ink);
    c->GetPen()->SetWidth(2);
    c->MoveTo(w / 2 - 4, w / 2 - 4);
    c->LineTo(w / 2 + 5, w / 2 + 5);
    c->MoveTo(w / 2 + 4, w / 2 - 4);
    c->LineTo(w / 2 - 5, w / 2 + 5);
    c->GetPen()->SetWidth(1);
}

void HouseGlyph(TCanvas* c, int w, TColor ink) {
    const int m = w / 2;
    c->GetBrush()->SetColor(ink);
    c->GetPen()->SetColor(ink);
    c->Polygon({TPoint{m - 14, m}, TPoint{m, m - 14}, TPoint{m + 14, m}});
    c->FillRect(TRect{m - 10, m, m + 10, m + 13});
    c->GetBrush()->SetColor(kBody);
    c->FillRect(TRect{m - 3, m + 4, m + 3, m + 13});
}

void GearGlyph(TCanvas* c, int w, TColor ink) {
    const int m = w / 2;
    c->GetBrush()->SetColor(ink);
    c->GetPen()->SetColor(ink);
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        const int x = m + static_cast<int>(std::lround(12 * std::cos(a)));
        const int y = m + static_cast<int>(std::lround(12 * std::sin(a)));
        c->Ellipse(x - 4, y - 4, x + 4, y + 4);
    }
    c->Ellipse(m - 11, m - 11, m + 11, m + 11);
    c->GetBrush()->SetColor(kBody);
    c->Ellipse(m - 4, m - 4, m + 4, m + 4);
}

void QuestionGlyph(TCanvas* c, int w, TColor ink) {
    UseFont(c, 20, ink, true);
    Text(c, (w - c->TextWidth("?")) / 2, w / 2 - c->TextHeight("?") / 2, "?", 20, ink, true);
}

// ---- descriptions --------------------------------------------------------------------------------

void DrawDescription(TBitmap* b, const std::string& title, const std::string& line1, const std::string& line2, TColor accent) {
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(accent);
    c->FillRect(TRect{0, 6, 4, 59});
    Text(c, 14, 4, title, 11, accent, true);
    Text(c, 14, 26, line1, 9, kText, false);
    Text(c, 14, 43, line2, 9, kText, false);
}

// ---- clip pictures -----------------------------------------------------------------------------

// A frame around a see-through interior, so the thumbnail and text drawn behind it show.
void DrawClipFrame(TBitmap* b, TColor edge, TColor band, int thumbLeft, int thumbTop) {
    TCanvas* c = b->GetCanvas();
    const int w = b->GetWidth();
    const int h = b->GetHeight();
    Box(c, 0, 0, w, h, band, edge, 12);
    c->GetBrush()->SetColor(kSeeThrough);
    c->FillRect(TRect{thumbLeft, thumbTop, thumbLeft + 80, thumbTop + 60});
    if (w > 200) c->FillRect(TRect{thumbLeft + 90, 6, w - 8, h - 6});
    // The corners outside the rounded frame show the list behind.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c->GetPixels(x, y) == 0xFFFFFF) c->SetPixels(x, y, kSeeThrough);
}

std::unique_ptr<TBitmap> ClipPicture(int w, int h, TColor edge, TColor band, int thumbLeft, int thumbTop) {
    auto b = NewPicture(w, h, 0xFFFFFF);
    DrawClipFrame(b.get(), edge, band, thumbLeft, thumbTop);
    return b;
}

void DrawSubtitleIcon(TBitmap* b, bool enabled) {
    TCanvas* c = b->GetCanvas();
    const TColor ink = enabled ? kAmber : Rgb(120, 128, 140);
    Box(c, 1, 4, 24, 69, enabled ? Rgb(50, 60, 80) : Rgb(70, 72, 78), ink, 8);
    c->GetBrush()->SetColor(ink);
    for (int i = 0; i < 3; ++i) c->FillRect(TRect{6, 40 + i * 8, 19, 44 + i * 8});
    UseFont(c, 12, ink, true);
    Text(c, (25 - c->TextWidth("T")) / 2, 12, "T", 12, ink, true);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: appart <RES folder>\n");
        return 2;
    }
    Vcl_InitWidgets(argc, argv);
    const std::string out = argv[1];
    bool ok = true;

    auto skin = NewPicture(581, 394, kFuchsia);
    DrawSkin(skin.get());
    ok &= Save(skin.get(), out, "main_skin");

    struct Mode { std::string name, label; TColor accent; IconPainter icon; };
    const Mode modes[] = {{"builder", "Builder", kAmber, FilmIcon}, {"converter", "Converter", kCyan, ArrowsIcon},
                          {"compiler", "Compiler", Rgb(140, 200, 110), MenuIcon}, {"burner", "Burner", Rgb(240, 90, 70), BurnIcon}};
    const char* suffix[] = {"", "_on", "_down", "_dis"};
    for (const Mode& m : modes)
        for (int s = Normal; s <= Disabled; ++s) {
            auto b = NewPicture(130, 130, kBody);
            DrawModeButton(b.get(), m.label, m.accent, m.icon, static_cast<State>(s));
            ok &= Save(b.get(), out, "main_" + m.name + suffix[s]);
        }

    const ButtonArt buttons[] = {{"min", 22, kTitle, kCyan, MinusGlyph}, {"exit", 22, kTitle, Rgb(240, 90, 70), CrossGlyph},
                                 {"home", 56, kBody, kCyan, HouseGlyph}, {"option", 56, kBody, kAmber, GearGlyph},
                                 {"help", 56, kBody, Rgb(140, 200, 110), QuestionGlyph}};
    for (const ButtonArt& a : buttons)
        for (int s = Normal; s <= Disabled; ++s) {
            auto b = NewPicture(a.size, a.size, a.background);
            DrawRoundButton(b.get(), a.background, a.accent, a.glyph, static_cast<State>(s));
            ok &= Save(b.get(), out, "main_" + a.name + suffix[s]);
        }

    struct Description { std::string name, title, line1, line2; TColor accent; };
    const Description descriptions[] = {
        {"builder", "DVD Builder", "Turn your video clips into a DVD with menus,", "chapters and subtitles, then burn it.", kAmber},
        {"converter", "Video Converter", "Convert video clips into DVD-ready MPEG-2", "files, without making a disc.", kCyan},
        {"compiler", "DVD Compiler", "Give existing VOB files a new DVD menu", "and author them into a DVD folder.", Rgb(140, 200, 110)},
        {"burner", "DVD Burner", "Burn a DVD folder or files straight onto", "a blank DVD-5 or DVD-9 disc.", Rgb(240, 90, 70)}};
    for (const Description& d : descriptions) {
        auto b = NewPicture(340, 65, kPanel);
        DrawDescription(b.get(), d.title, d.line1, d.line2, d.accent);
        ok &= Save(b.get(), out, "desc_" + d.name);
    }

    for (bool enabled : {true, false}) {
        auto b = NewPicture(25, 73, kSeeThrough);
        DrawSubtitleIcon(b.get(), enabled);
        ok &= Save(b.get(), out, enabled ? "srt" : "srt_dis");
    }
    struct Clip { std::string name; TColor edge, band; };
    const Clip rows[] = {{"setup_select", kAmber, Mix(kBody, kAmber, 0.35)},
                         {"setup_select_on", Mix(kAmber, 0xFFFFFF, 0.3), Mix(kBody, kAmber, 0.5)},
                         {"setup_unselect", kBodyEdge, kBody},
                         {"setup_unselect_on", kCyan, Mix(kBody, kCyan, 0.3)}};
    for (const Clip& r : rows) ok &= Save(ClipPicture(409, 77, r.edge, r.band, 8, 8).get(), out, r.name);
    const Clip tiles[] = {{"menu_select", kAmber, Mix(kBody, kAmber, 0.35)},
                          {"menu_select_on", Mix(kAmber, 0xFFFFFF, 0.3), Mix(kBody, kAmber, 0.5)},
                          {"menu_unselect", kBodyEdge, kBody},
                          {"menu_unselect_on", kCyan, Mix(kBody, kCyan, 0.3)}};
    for (const Clip& t : tiles) ok &= Save(ClipPicture(92, 72, t.edge, t.band, 5, 6).get(), out, t.name);
    return ok ? 0 : 1;
}
