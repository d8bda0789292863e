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
#include "tools/ArtCanvas.h"
#include "platform/vcl/Widgets.h"

namespace {

using artcanvas::Box;
using artcanvas::NewPicture;

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

// The title band every skinned window shares, on a body of width x height: the rounded title
// with its edge line at Line and its shine, the disc logo and the name. The tall band (Line 46)
// belongs to the large windows; dialogs whose first controls sit higher use a slim one.
void DrawTitleBand(TBitmap* b, int width, int height, int radius, int line = 46) {
    TCanvas* c = b->GetCanvas();
    Box(c, 0, 0, width, height, kBody, kBodyEdge, radius + 2);
    c->GetBrush()->SetColor(kTitle);
    c->GetPen()->SetColor(kTitle);
    c->RoundRect(1, 1, width - 1, line + 14, radius, radius);
    c->FillRect(TRect{1, line / 2 + 7, width - 1, line});
    c->GetBrush()->SetColor(kBody);
    c->GetPen()->SetColor(kBody);
    c->FillRect(TRect{2, line + 1, width - 2, line + 15});
    c->GetPen()->SetColor(kBodyEdge);
    c->MoveTo(12, line);
    c->LineTo(width - 12, line);
    Shine(b, TRect{2, 2, width - 3, line}, kFuchsia, 0.18);
    const int logo = line * 28 / 46;  // the logo's outer size
    const int top = (line - logo) / 2;
    Box(c, 14, top, 14 + logo, top + logo, Rgb(200, 214, 232), kAmber, logo);
    const int hole = logo / 7;
    Box(c, 14 + logo / 2 - hole, top + logo / 2 - hole, 14 + logo / 2 + hole, top + logo / 2 + hole, kTitle, kTitle, 8);
    const int size = line >= 40 ? 13 : 10;
    UseFont(c, size, kText, true);
    Text(c, 24 + logo, (line - c->TextHeight("Q")) / 2, "Quellox DOZ Ezedav", size, kText, true);
}

void DrawSkin(TBitmap* b) {
    TCanvas* c = b->GetCanvas();
    DrawTitleBand(b, 581, 394, 34);
    // The well the mode descriptions appear in.
    Box(c, 12, 206, 360, 298, kPanel, kBodyEdge, 10);
    c->GetPen()->SetColor(kBodyEdge);
    c->MoveTo(24, 314);
    c->LineTo(557, 314);
    // No words here: the skin is the same in every language, the descriptions say the rest.
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

// ---- clip list editor ----------------------------------------------------------------------------

constexpr TColor kListArea = Rgb(222, 229, 240);

void Groove(TCanvas* c, int x1, int y1, int x2, int y2) {
    Box(c, x1, y1, x2, y2, kPanel, kBodyEdge, 6);
}

// 812 x 601: title band, the preview well, the light list area the rows' black text needs,
// the trim and time area, the disc-size groove and the button row.
void DrawClipSkin(TBitmap* b) {
    TCanvas* c = b->GetCanvas();
    DrawTitleBand(b, 812, 601, 10);
    // The words on this skin are the window's own labels, in the user's language.
    Groove(c, 21, 91, 325, 319);
    c->GetBrush()->SetColor(0x000000);
    c->FillRect(TRect{25, 95, 321, 315});
    Box(c, 347, 83, 805, 475, kListArea, kBodyEdge, 8);
    Groove(c, 105, 498, 759, 514);
    for (int i = 0; i <= 4; ++i) {
        const int x = 108 + i * 162;
        c->GetPen()->SetColor(kMuted);
        c->MoveTo(x, 515);
        c->LineTo(x, 519);
    }
    c->GetPen()->SetColor(kBodyEdge);
    c->MoveTo(12, 528);
    c->LineTo(800, 528);
}

using GlyphPainter = std::function<void(TCanvas*, int w, int h, TColor ink)>;

void DrawSquareButton(TBitmap* b, TColor accent, const GlyphPainter& glyph, State s) {
    TCanvas* c = b->GetCanvas();
    const int w = b->GetWidth();
    const int h = b->GetHeight();
    const int d = s == MouseDown ? 1 : 0;
    Box(c, d, d, w - 1 + d, h - 1 + d, StateColour(Mix(kBody, accent, 0.22), s), StateColour(accent, s), 10);
    glyph(c, w + 2 * d, h + 2 * d, s == Disabled ? kMuted : (s == MouseOn ? 0xFFFFFF : kText));
}

void PlusGlyph(TCanvas* c, int w, int h, TColor ink) {
    c->GetBrush()->SetColor(ink);
    c->FillRect(TRect{w / 2 - 10, h / 2 - 2, w / 2 + 10, h / 2 + 2});
    c->FillRect(TRect{w / 2 - 2, h / 2 - 10, w / 2 + 2, h / 2 + 10});
}

void MinusBarGlyph(TCanvas* c, int w, int h, TColor ink) {
    c->GetBrush()->SetColor(ink);
    c->FillRect(TRect{w / 2 - 10, h / 2 - 2, w / 2 + 10, h / 2 + 2});
}

void TriangleGlyph(TCanvas* c, int w, int h, TColor ink, bool up) {
    c->GetBrush()->SetColor(ink);
    c->GetPen()->SetColor(ink);
    const int m = w / 2, k = h / 2;
    if (up) c->Polygon({TPoint{m - 11, k + 6}, TPoint{m + 11, k + 6}, TPoint{m, k - 8}});
    else c->Polygon({TPoint{m - 11, k - 6}, TPoint{m + 11, k - 6}, TPoint{m, k + 8}});
}

void NextGlyph(TCanvas* c, int w, int h, TColor ink) {
    c->GetBrush()->SetColor(ink);
    c->GetPen()->SetColor(ink);
    c->FillRect(TRect{w / 2 - 12, h / 2 - 3, w / 2 + 2, h / 2 + 3});
    c->Polygon({TPoint{w / 2 + 1, h / 2 - 10}, TPoint{w / 2 + 13, h / 2}, TPoint{w / 2 + 1, h / 2 + 10}});
}

void GearGlyph2(TCanvas* c, int w, int h, TColor ink) {
    (void)h;
    GearGlyph(c, w, ink);
}

void CameraGlyph(TCanvas* c, int w, int h, TColor ink) {
    Box(c, w / 2 - 13, h / 2 - 7, w / 2 + 13, h / 2 + 9, ink, ink, 4);
    c->GetBrush()->SetColor(ink);
    c->FillRect(TRect{w / 2 - 5, h / 2 - 10, w / 2 + 5, h / 2 - 6});
    Box(c, w / 2 - 5, h / 2 - 4, w / 2 + 5, h / 2 + 6, kBody, kBody, 10);
}

void TickGlyph(TCanvas* c, int w, int h, TColor ink) {
    c->GetPen()->SetColor(ink);
    c->GetPen()->SetWidth(2);
    c->MoveTo(w / 2 - 6, h / 2);
    c->LineTo(w / 2 - 2, h / 2 + 4);
    c->LineTo(w / 2 + 6, h / 2 - 5);
    c->GetPen()->SetWidth(1);
}

void CloseGlyph(TCanvas* c, int w, int h, TColor ink) {
    c->GetPen()->SetColor(ink);
    c->GetPen()->SetWidth(2);
    c->MoveTo(w / 2 - 4, h / 2 - 4);
    c->LineTo(w / 2 + 5, h / 2 + 5);
    c->MoveTo(w / 2 + 4, h / 2 - 4);
    c->LineTo(w / 2 - 5, h / 2 + 5);
    c->GetPen()->SetWidth(1);
}

void TextGlyph(TCanvas* c, int w, int h, TColor ink, const std::string& s) {
    UseFont(c, 9, ink, true);
    Text(c, (w - c->TextWidth(s)) / 2, (h - c->TextHeight(s)) / 2, s, 9, ink, true);
}

// A slider handle: a small amber grip with ridges.
void DrawHandle(TBitmap* b, State s) {
    TCanvas* c = b->GetCanvas();
    const TColor face = s == Disabled ? Rgb(110, 116, 128) : StateColour(kAmber, s);
    Box(c, 0, 0, 10, 14, face, Mix(face, 0x000000, 0.45), 4);
    c->GetPen()->SetColor(Mix(face, 0x000000, 0.35));
    for (int x : {3, 6}) {
        c->MoveTo(x, 4);
        c->LineTo(x, 10);
    }
}

void SaveStates(const std::string& out, const std::string& name, int w, int h, TColor bg,
                const std::function<void(TBitmap*, State)>& draw, bool& ok) {
    const char* suffix[] = {"", "_on", "_down", "_dis"};
    for (int s = Normal; s <= Disabled; ++s) {
        auto b = NewPicture(w, h, bg);
        draw(b.get(), static_cast<State>(s));
        ok &= Save(b.get(), out, name + suffix[s]);
    }
}

void DrawClipEditorArt(const std::string& out, bool& ok) {
    auto skin = NewPicture(812, 601, kFuchsia);
    DrawClipSkin(skin.get());
    ok &= Save(skin.get(), out, "clip_skin");

    struct Square { std::string name; int w, h; TColor accent; GlyphPainter glyph; };
    const Square squares[] = {
        {"clip_add", 51, 50, Rgb(140, 200, 110), PlusGlyph},
        {"clip_remove", 51, 50, Rgb(240, 90, 70), MinusBarGlyph},
        {"clip_up", 51, 50, kCyan, [](TCanvas* c, int w, int h, TColor i) { TriangleGlyph(c, w, h, i, true); }},
        {"clip_down", 51, 50, kCyan, [](TCanvas* c, int w, int h, TColor i) { TriangleGlyph(c, w, h, i, false); }},
        {"clip_option", 51, 50, kAmber, GearGlyph2},
        {"clip_next", 51, 50, kAmber, NextGlyph},
        {"clip_close", 46, 20, Rgb(240, 90, 70), CloseGlyph},
        {"clip_snapshot", 50, 30, kCyan, CameraGlyph},
        {"clip_confirm", 32, 20, Rgb(140, 200, 110), TickGlyph},
        {"clip_dvd5", 90, 28, kAmber, [](TCanvas* c, int w, int h, TColor i) { TextGlyph(c, w, h, i, "DVD-5"); }},
        {"clip_dvd9", 90, 28, kCyan, [](TCanvas* c, int w, int h, TColor i) { TextGlyph(c, w, h, i, "DVD-9"); }},
        {"clip_thumb", 13, 53, kCyan, [](TCanvas*, int, int, TColor) {}},
    };
    for (const Square& q : squares)
        SaveStates(out, q.name, q.w, q.h, kBody, [&](TBitmap* b, State s) { DrawSquareButton(b, q.accent, q.glyph, s); }, ok);
    for (const char* name : {"clip_handle_left", "clip_handle_right"})
        SaveStates(out, name, 10, 14, kBody, DrawHandle, ok);

    auto barBack = NewPicture(14, 386, kBody);
    Box(barBack->GetCanvas(), 3, 0, 11, 386, kPanel, kBodyEdge, 6);
    ok &= Save(barBack.get(), out, "clip_bar_back");
    auto track = NewPicture(242, 14, kBody);
    Box(track->GetCanvas(), 0, 3, 242, 11, kPanel, kBodyEdge, 6);
    ok &= Save(track.get(), out, "clip_track");
    auto range = NewPicture(64, 8, kAmber);
    Shine(range.get(), TRect{0, 0, 64, 4}, kFuchsia, 0.4);
    ok &= Save(range.get(), out, "clip_range");
    auto fill = NewPicture(648, 10, kCyan);
    Shine(fill.get(), TRect{0, 0, 648, 5}, kFuchsia, 0.45);
    ok &= Save(fill.get(), out, "clip_disc_fill");
    auto dvd9 = NewPicture(58, 12, kBody);
    Text(dvd9->GetCanvas(), 2, -1, "8.5 GB", 8, kCyan, true);
    ok &= Save(dvd9.get(), out, "clip_8500");
}

void NoGlyph(TCanvas*, int, int, TColor) {}

// The Burner source page borrows the clip editor's disc pictures; these are its own buttons.
void DrawBurnSourceArt(const std::string& out, bool& ok) {
    struct Square { std::string name; int w, h; TColor accent; GlyphPainter glyph; };
    const Square squares[] = {
        // Their words are the buttons' captions, in the user's language.
        {"dvdfile_folder", 89, 28, kAmber, NoGlyph},
        {"dvdfile_file", 89, 28, kCyan, NoGlyph},
        {"dvdfile_burn", 51, 50, Rgb(240, 90, 70), NextGlyph},
    };
    for (const Square& q : squares)
        SaveStates(out, q.name, q.w, q.h, kBody, [&](TBitmap* b, State s) { DrawSquareButton(b, q.accent, q.glyph, s); }, ok);
}

// ---- settings dialog -----------------------------------------------------------------------------

// 480 x 400: the title band, the tab strip's line and the page well.
void DrawOptionSkin(TBitmap* b) {
    TCanvas* c = b->GetCanvas();
    Box(c, 0, 0, 480, 400, kBody, kBodyEdge, 24);
    c->GetBrush()->SetColor(kTitle);
    c->GetPen()->SetColor(kTitle);
    c->RoundRect(1, 1, 479, 48, 22, 22);
    c->FillRect(TRect{1, 24, 479, 40});
    Shine(b, TRect{2, 2, 477, 40}, kFuchsia, 0.18);
    Box(c, 14, 8, 40, 34, Rgb(200, 214, 232), kAmber, 26);
    Box(c, 23, 17, 31, 25, kTitle, kTitle, 8);
    Text(c, 50, 11, "Quellox DOZ Ezedav", 13, kText, true);
    c->GetPen()->SetColor(kAmber);
    c->MoveTo(12, 86);
    c->LineTo(468, 86);
    Box(c, 8, 88, 472, 356, Mix(kBody, kPanel, 0.5), kBodyEdge, 10);
}

void DrawTextButton(TBitmap* b, const std::string& label, TColor accent, State s, bool currentWhenDisabled) {
    TCanvas* c = b->GetCanvas();
    const int w = b->GetWidth();
    const int h = b->GetHeight();
    if (currentWhenDisabled && s == Disabled) {
        // The page shown: its tab lit in amber, joined to the line below.
        Box(c, 0, 0, w, h + 6, Mix(kBody, kAmber, 0.45), kAmber, 10);
        UseFont(c, 9, 0xFFFFFF, true);
        Text(c, (w - c->TextWidth(label)) / 2, (h - c->TextHeight(label)) / 2, label, 9, 0xFFFFFF, true);
        return;
    }
    const int d = s == MouseDown ? 1 : 0;
    Box(c, d, d, w - 1 + d, h - 1 + d, StateColour(Mix(kBody, accent, 0.22), s), StateColour(accent, s), 10);
    const TColor ink = s == Disabled ? kMuted : (s == MouseOn ? 0xFFFFFF : kText);
    UseFont(c, 9, ink, true);
    Text(c, (w - c->TextWidth(label)) / 2 + d, (h - c->TextHeight(label)) / 2 + d, label, 9, ink, true);
}

void ScreenGlyph(TCanvas* c, int w, int h, TColor ink, int ratioW, int ratioH) {
    const int sh = h - 8;
    const int sw = sh * ratioW / ratioH;
    Box(c, (w - sw) / 2, 4, (w + sw) / 2, 4 + sh, kPanel, ink, 3);
}

void DrawOptionArt(const std::string& out, bool& ok) {
    auto skin = NewPicture(480, 400, kFuchsia);
    DrawOptionSkin(skin.get());
    ok &= Save(skin.get(), out, "opt_skin");
    struct Labelled { std::string name, label; int w, h; TColor accent; bool tab; };
    // No words: the window writes each button's name over it, in the user's language.
    const Labelled buttons[] = {{"opt_general", "", 110, 28, kCyan, true},
                                {"opt_language", "", 110, 28, kCyan, true},
                                {"opt_burner", "", 110, 28, kCyan, true},
                                {"opt_ok", "", 84, 28, Rgb(140, 200, 110), false},
                                {"opt_cancel", "", 84, 28, Rgb(240, 90, 70), false},
                                {"opt_browse", "", 84, 25, kCyan, false},
                                {"opt_load", "", 84, 26, kAmber, false}};
    for (const Labelled& l : buttons)
        SaveStates(out, l.name, l.w, l.h, kBody, [&](TBitmap* b, State s) { DrawTextButton(b, l.label, l.accent, s, l.tab); }, ok);
    struct Pic { std::string name; GlyphPainter glyph; };
    const Pic pics[] = {
        {"opt_ratio1", [](TCanvas* c, int w, int h, TColor i) { ScreenGlyph(c, w, h, i, 4, 3); }},
        {"opt_ratio2", [](TCanvas* c, int w, int h, TColor i) { ScreenGlyph(c, w, h, i, 16, 9); }},
        {"opt_format1", [](TCanvas* c, int w, int h, TColor i) { TextGlyph(c, w, h, i, "N"); }},
        {"opt_format2", [](TCanvas* c, int w, int h, TColor i) { TextGlyph(c, w, h, i, "P"); }},
        {"opt_disc1", [](TCanvas* c, int w, int h, TColor i) { TextGlyph(c, w, h, i, "5"); }},
        {"opt_disc2", [](TCanvas* c, int w, int h, TColor i) { TextGlyph(c, w, h, i, "9"); }}};
    for (const Pic& p : pics)
        SaveStates(out, p.name, 40, 24, kBody, [&](TBitmap* b, State s) { DrawSquareButton(b, kCyan, p.glyph, s); }, ok);
}

// ---- production windows --------------------------------------------------------------------------

// A bar's well on a light body: white inside, so the black percentage over the bar stays
// readable, with a dark edge that shows the track when the bar is empty.
void BarWell(TCanvas* c, int x1, int y1, int x2, int y2) {
    Box(c, x1, y1, x2, y2, Rgb(255, 255, 255), kBodyEdge, 6);
    Box(c, x1 + 1, y1 + 1, x2 - 1, y2 - 1, Rgb(250, 251, 253), Mix(kBodyEdge, kListArea, 0.3), 5);
}

// The production windows' skins: the title band, then a light body (their read-outs are black
// text laid straight on the window), a well behind each progress bar (bar position given, the bar
// 258 x 10) so an empty bar still shows where it runs, and a separator line where one fits.
struct ProductionSkin {
    std::string name;
    int height;
    int band;                     // the title band's line
    std::vector<TPoint> bars;     // each bar's top-left
    int separator;                // the line's y, 0 for none
};

void DrawProductionSkin(TBitmap* b, const ProductionSkin& k) {
    TCanvas* c = b->GetCanvas();
    DrawTitleBand(b, 554, k.height, 10, k.band);
    Box(c, 8, k.band + 6, 546, k.height - 8, kListArea, kBodyEdge, 14);
    if (k.separator > 0) {
        c->GetPen()->SetColor(Mix(kListArea, kBodyEdge, 0.45));
        c->MoveTo(24, k.separator);
        c->LineTo(530, k.separator);
    }
    for (const TPoint& bar : k.bars) BarWell(c, bar.x - 4, bar.y - 3, bar.x + 262, bar.y + 13);
}

// Light faces, so the buttons' own black captions stay readable over them.
void DrawLightButton(TBitmap* b, TColor accent, const GlyphPainter& glyph, State s) {
    TCanvas* c = b->GetCanvas();
    const int w = b->GetWidth();
    const int h = b->GetHeight();
    const int d = s == MouseDown ? 1 : 0;
    const TColor face = StateColour(Mix(0xFFFFFF, accent, 0.25), s);
    Box(c, d, d, w - 1 + d, h - 1 + d, face, StateColour(Mix(accent, 0x000000, 0.2), s), std::min(w, h) >= 60 ? 24 : 10);
    Shine(b, TRect{2, 2, w - 2, h / 2}, c->GetPixels(0, 0), 0.35);
    glyph(c, w + 2 * d, h + 2 * d, s == Disabled ? kMuted : Mix(accent, 0x000000, 0.35));
}

// The run buttons carry their sign above the middle, where the caption is written.
void PlayGlyph(TCanvas* c, int w, int, TColor ink) {
    c->GetBrush()->SetColor(ink);
    c->GetPen()->SetColor(ink);
    c->Polygon({TPoint{w / 2 - 11, 14}, TPoint{w / 2 + 13, 27}, TPoint{w / 2 - 11, 40}});
}

void StopGlyph(TCanvas* c, int w, int, TColor ink) {
    c->GetBrush()->SetColor(ink);
    c->FillRect(TRect{w / 2 - 12, 15, w / 2 + 12, 39});
}

void DrawProductionArt(const std::string& out, bool& ok) {
    // Builder and Burner at 554 x 557; Compiler and Convert at 554 x 402 with their own bars.
    const ProductionSkin skins[] = {
        {"prod_skin", 557, 46, {TPoint{156, 390}, TPoint{156, 421}}, 314},
        {"compiler_skin", 402, 24, {TPoint{152, 209}, TPoint{152, 249}}, 138},
        {"convert_skin", 402, 24, {TPoint{142, 261}}, 0},
    };
    for (const ProductionSkin& k : skins) {
        auto skin = NewPicture(554, k.height, kFuchsia);
        DrawProductionSkin(skin.get(), k);
        ok &= Save(skin.get(), out, k.name);
    }
    struct Square { std::string name; int w, h; TColor background, accent; GlyphPainter glyph; };
    const Square squares[] = {
        {"prod_start", 96, 96, kListArea, Rgb(60, 150, 60), PlayGlyph},
        {"prod_stop", 96, 96, kListArea, Rgb(200, 60, 50), StopGlyph},
        // Browse and Device write their captions over their pictures.
        {"prod_browse", 66, 28, kListArea, kCyan, NoGlyph},
        {"prod_device", 66, 28, kListArea, kAmber, NoGlyph},
        // The device window's Erase button, captioned by the window.
        {"dev_erase", 77, 77, kListArea, Rgb(200, 60, 50), NoGlyph},
    };
    for (const Square& q : squares)
        SaveStates(out, q.name, q.w, q.h, q.background, [&](TBitmap* b, State s) { DrawLightButton(b, q.accent, q.glyph, s); }, ok);
    SaveStates(out, "prod_close", 46, 20, kTitle,
               [](TBitmap* b, State s) { DrawSquareButton(b, Rgb(240, 90, 70), CloseGlyph, s); }, ok);
}

// ---- dialogs -------------------------------------------------------------------------------------

// The smaller windows in the same family: a slim title band (their first controls sit high),
// a light body where their labels are black text on the window, else the navy one, and a groove
// behind each bar (its rectangle given) so an empty bar still shows its track.
struct DialogSkin {
    std::string name;
    int width, height;
    bool light;
    std::vector<TRect> grooves;
};

void DrawDialogSkin(TBitmap* b, const DialogSkin& k) {
    TCanvas* c = b->GetCanvas();
    DrawTitleBand(b, k.width, k.height, 10, 24);
    if (k.light) Box(c, 6, 30, k.width - 6, k.height - 6, kListArea, kBodyEdge, 12);
    for (const TRect& r : k.grooves) {
        if (k.light) BarWell(c, r.Left - 4, r.Top - 3, r.Right + 4, r.Bottom + 3);
        else Groove(c, r.Left - 3, r.Top - 3, r.Right + 3, r.Bottom + 3);
    }
}

void DrawDialogArt(const std::string& out, bool& ok) {
    const DialogSkin skins[] = {
        {"dev_skin", 360, 410, true, {TRect{49, 375, 307, 385}}},
        {"subtitle_skin", 460, 300, true, {}},
        {"chapter_skin", 465, 339, true, {}},
        {"dvdfile_skin", 647, 490, false, {TRect{108, 401, 591, 411}}},
    };
    for (const DialogSkin& k : skins) {
        auto skin = NewPicture(k.width, k.height, kFuchsia);
        DrawDialogSkin(skin.get(), k);
        ok &= Save(skin.get(), out, k.name);
    }
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
    DrawClipEditorArt(out, ok);
    DrawBurnSourceArt(out, ok);
    DrawOptionArt(out, ok);
    DrawProductionArt(out, ok);
    DrawDialogArt(out, ok);
    return ok ? 0 : 1;
}
