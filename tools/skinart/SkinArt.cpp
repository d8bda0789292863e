// Draws the skin library's built-in artwork: every bitmap resource of the five looks and the
// shared pictures, as BMP files named after their resources, into the folder given as the only
// argument. Run by the build; the repository holds no binary artwork.
//
// Each look keeps its own character (MacOS light grey and rounded, WinXP blue and green,
// DeepBlue dark blue, Protein green-grey, BlueGlass glassy light blue), and every state frame
// of a strip differs from its siblings. Corners that must show the parent hold the skin
// bitmaps' see-through colour 0x797571 (read back as the picture's top-left pixel).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/vcl/Graphics.h"

namespace {

using Col = TColor;  // 0x00BBGGRR

constexpr Col kSeeThrough = 0x797571;

constexpr Col Rgb(int r, int g, int b) { return static_cast<Col>(RGB(r, g, b)); }

int Ch(Col c, int shift) { return (c >> shift) & 0xFF; }

Col Mix(Col a, Col b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [&](int s) { return static_cast<int>(std::lround(Ch(a, s) + (Ch(b, s) - Ch(a, s)) * t)); };
    return Rgb(m(0), m(8), m(16));
}
Col Lighter(Col c, double t) { return Mix(c, 0xFFFFFF, t); }
Col Darker(Col c, double t) { return Mix(c, 0x000000, t); }
Col Grey(Col c) {
    const int y = (Ch(c, 0) * 30 + Ch(c, 8) * 59 + Ch(c, 16) * 11) / 100;
    return Rgb(y, y, y);
}

// A picture being drawn; frames are views into a horizontal strip.
class Img {
public:
    Img(int w, int h, Col fill = 0xFFFFFF) : m_w(w), m_h(h), m_px(static_cast<size_t>(w * h), fill) {}
    int W() const { return m_w; }
    int H() const { return m_h; }
    void Set(int x, int y, Col c) {
        if (x >= 0 && y >= 0 && x < m_w && y < m_h) m_px[static_cast<size_t>(y * m_w + x)] = c;
    }
    Col Get(int x, int y) const { return m_px[static_cast<size_t>(y * m_w + x)]; }

    bool Save(const String& path) const {
        TBitmap bmp(m_w, m_h, pf24bit);
        for (int y = 0; y < m_h; ++y) {
            auto* row = static_cast<TRGBTriple*>(bmp.ScanLine(y));
            for (int x = 0; x < m_w; ++x) {
                const Col c = Get(x, y);
                row[x] = TRGBTriple{static_cast<Byte>(Ch(c, 16)), static_cast<Byte>(Ch(c, 8)),
                                    static_cast<Byte>(Ch(c, 0))};
            }
        }
        try {
            bmp.SaveToFile(path);
            return true;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "skinart: %s: %s\n", path.c_str(), e.what());
            return false;
        }
    }

private:
    int m_w, m_h;
    std::vector<Col> m_px;
};

// One frame of a strip: drawing coordinates are relative to the frame.
struct View {
    Img& img;
    int x0, y0, w, h;
    void Set(int x, int y, Col c) const {
        if (x >= 0 && y >= 0 && x < w && y < h) img.Set(x0 + x, y0 + y, c);
    }
    void Fill(int x1, int y1, int x2, int y2, Col c) const {
        for (int y = y1; y < y2; ++y)
            for (int x = x1; x < x2; ++x) Set(x, y, c);
    }
};

View Frame(Img& strip, int index, int fw) { return View{strip, index * fw, 0, fw, strip.H()}; }

// ---- shapes --------------------------------------------------------------------------------

struct BoxStyle {
    Col top, bottom, border, outside;
    int radius = 0;
    bool glass = false;      // a bright upper half, as glass catches the light
    int borderWidth = 1;
};

// Inside a rounded corner's square: the distance of (x, y) beyond the corner's arc.
bool CornerDistance(int x, int y, int w, int h, int r, double& d) {
    if (r <= 0 || !((x < r || x >= w - r) && (y < r || y >= h - r))) return false;
    const double cx = x < r ? r - 0.5 : w - r - 0.5;
    const double cy = y < r ? r - 0.5 : h - r - 0.5;
    d = std::hypot(x - cx, y - cy) - (r - 0.5);
    return true;
}

void Box(const View& v, int x1, int y1, int w, int h, const BoxStyle& s) {
    for (int y = 0; y < h; ++y) {
        const double t = h > 1 ? static_cast<double>(y) / (h - 1) : 0;
        Col face = Mix(s.top, s.bottom, t);
        if (s.glass) face = y < h / 2 ? Lighter(face, 0.45 - 0.3 * t) : Mix(face, s.bottom, 0.3);
        for (int x = 0; x < w; ++x) {
            Col c = face;
            double d = 0;
            if (CornerDistance(x, y, w, h, s.radius, d)) {
                if (d > 0.5) c = s.outside;
                else if (d > 0.5 - s.borderWidth) c = s.border;
            } else if (x < s.borderWidth || y < s.borderWidth || x >= w - s.borderWidth ||
                       y >= h - s.borderWidth) {
                c = s.border;
            }
            v.Set(x1 + x, y1 + y, c);
        }
    }
}

void Disc(const View& v, int w, int h, Col top, Col bottom, Col border, Col outside) {
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0, r = std::min(w, h) / 2.0 - 0.2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double d = std::hypot(x - cx, y - cy);
            Col c = outside;
            if (d <= r - 1) c = Mix(top, bottom, static_cast<double>(y) / std::max(1, h - 1));
            else if (d <= r) c = border;
            v.Set(x, y, c);
        }
}

void Line(const View& v, int x1, int y1, int x2, int y2, Col c, int thick = 1) {
    const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int i = 0; i <= n; ++i) {
        const int x = n ? x1 + (x2 - x1) * i / n : x1;
        const int y = n ? y1 + (y2 - y1) * i / n : y1;
        for (int t = 0; t < thick; ++t) v.Set(x, y + t, c);
    }
}

void CheckMark(const View& v, int w, int h, Col c) {
    const int x0 = w / 4, y0 = h / 2, xm = w / 2 - 1, ym = h - h / 4 - 1, x1 = w - w / 4, y1 = h / 4;
    Line(v, x0, y0 - 1, xm, ym - 1, c, 2);
    Line(v, xm, ym - 1, x1, y1 - 1, c, 2);
}

enum class Glyph { ControlBox, Help, Max, Restore, Min, Close, Up, Down, Left, Right };

void DrawGlyph(const View& v, Glyph g, Col c) {
    const int w = v.w, h = v.h, l = w / 4, t = h / 4, r = w - w / 4 - 1, b = h - h / 4 - 1;
    switch (g) {
    case Glyph::ControlBox:
        v.Fill(l, t, r + 1, b + 1, c);
        v.Fill(l + 2, t + 2, r - 1, b - 1, Lighter(c, 0.6));
        break;
    case Glyph::Help:
        Line(v, l + 1, t, r - 1, t, c);
        Line(v, r - 1, t, r - 1, (t + b) / 2, c);
        Line(v, r - 1, (t + b) / 2, (l + r) / 2, (t + b) / 2, c);
        Line(v, (l + r) / 2, (t + b) / 2, (l + r) / 2, b - 2, c);
        v.Set((l + r) / 2, b, c);
        break;
    case Glyph::Max:
        v.Fill(l, t, r + 1, t + 2, c);
        Line(v, l, t, l, b, c);
        Line(v, r, t, r, b, c);
        Line(v, l, b, r, b, c);
        break;
    case Glyph::Restore:
        v.Fill(l + 2, t, r + 1, t + 2, c);
        Line(v, r, t, r, b - 2, c);
        v.Fill(l, t + 3, r - 1, t + 5, c);
        Line(v, l, t + 3, l, b, c);
        Line(v, r - 2, t + 3, r - 2, b, c);
        Line(v, l, b, r - 2, b, c);
        break;
    case Glyph::Min: v.Fill(l, b - 1, r + 1, b + 1, c); break;
    case Glyph::Close:
        Line(v, l, t, r, b, c, 2);
        Line(v, l, b, r, t, c, 2);
        break;
    case Glyph::Up:
    case Glyph::Down:
        for (int i = 0; i <= (r - l) / 2; ++i) {
            // The widest row is the base: below the tip for Up, above it for Down.
            const int y = g == Glyph::Up ? (t + b) / 2 + 2 - i : (t + b) / 2 - 2 + i;
            Line(v, l + i, y, r - i, y, c);
        }
        break;
    case Glyph::Left:
    case Glyph::Right:
        for (int i = 0; i <= (b - t) / 2; ++i) {
            const int x = g == Glyph::Left ? (l + r) / 2 + 2 - i : (l + r) / 2 - 2 + i;
            Line(v, x, t + i, x, b - i, c);
        }
        break;
    }
}

// ---- the looks -----------------------------------------------------------------------------

enum LookId { kMacOS, kWinXP, kDeepBlue, kProtein, kBlueGlass };

struct Size {
    int w, h;
};

struct Look {
    const char* prefix;
    Col form;          // key 15, what non-see-through corners show
    Col faceTop, faceBottom, border;
    Col hotBorder;     // mouse over
    Col pressTop, pressBottom;
    Col accent;        // checks, bars, glyphs on buttons
    Col titleTop, titleBottom;
    int radius;
    bool glass;
    bool buttonSeeThrough;  // key 2
    bool titleBtnSeeThrough;  // key 6
    Size button, checkbox, radio, titleBtn, scrollBtn, scrollTrack;
    int titleHeight;
};

const Look kLooks[] = {
    {"MACOS", 0xE7E7E7, Rgb(252, 252, 252), Rgb(200, 200, 200), 0x7F7F7F, Rgb(90, 140, 220),
     Rgb(170, 170, 170), Rgb(225, 225, 225), Rgb(60, 110, 200), Rgb(236, 236, 236), Rgb(190, 190, 190),
     9, false, true, false, {84, 23}, {15, 17}, {16, 17}, {17, 17}, {16, 22}, {11, 16}, 22},
    {"WINXP", 0xDEEBEF, Rgb(255, 255, 255), Rgb(214, 208, 197), Rgb(0, 60, 116), Rgb(248, 179, 48),
     Rgb(226, 222, 205), Rgb(243, 241, 236), Rgb(33, 161, 33), Rgb(0, 88, 238), Rgb(0, 60, 180),
     3, false, false, false, {18, 21}, {13, 13}, {13, 13}, {21, 21}, {16, 17}, {7, 16}, 30},
    {"DEEPBLUE", 0xE8E8E8, Rgb(70, 100, 170), Rgb(20, 40, 100), Rgb(0, 0, 0), Rgb(130, 190, 255),
     Rgb(10, 20, 60), Rgb(40, 70, 140), Rgb(110, 170, 255), Rgb(40, 70, 140), Rgb(10, 25, 70),
     0, false, false, false, {74, 21}, {13, 13}, {13, 13}, {19, 19}, {16, 16}, {7, 16}, 24},
    {"PROTEIN", 0xFBFBFB, Rgb(200, 212, 196), Rgb(130, 150, 128), Rgb(0, 0, 0), Rgb(90, 160, 80),
     Rgb(100, 118, 98), Rgb(160, 176, 156), Rgb(70, 120, 60), Rgb(160, 176, 156), Rgb(100, 118, 98),
     2, false, false, true, {74, 21}, {13, 13}, {13, 13}, {19, 19}, {16, 16}, {7, 16}, 24},
    {"BLUEGLASS", 0xE7E7E7, Rgb(200, 228, 255), Rgb(120, 180, 240), Rgb(40, 90, 160), Rgb(80, 200, 255),
     Rgb(70, 130, 210), Rgb(150, 200, 250), Rgb(30, 100, 200), Rgb(180, 215, 250), Rgb(90, 150, 225),
     11, true, true, true, {77, 27}, {13, 13}, {13, 13}, {19, 19}, {17, 16}, {7, 16}, 30},
};

// The see-through colour where the look shows its parent, else the form colour.
Col Outside(const Look& k, bool seeThrough) { return seeThrough ? kSeeThrough : k.form; }

BoxStyle NormalStyle(const Look& k, Col outside) {
    return {k.faceTop, k.faceBottom, k.border, outside, k.radius, k.glass, 1};
}
BoxStyle HotStyle(const Look& k, Col outside) {
    return {Lighter(k.faceTop, 0.3), Lighter(k.faceBottom, 0.35), k.hotBorder, outside, k.radius, k.glass, 2};
}
BoxStyle PressedStyle(const Look& k, Col outside) {
    return {k.pressTop, k.pressBottom, Darker(k.border, 0.2), outside, k.radius, false, 1};
}
BoxStyle DisabledStyle(const Look& k, Col outside) {
    return {Grey(Lighter(k.faceTop, 0.4)), Grey(Lighter(k.faceBottom, 0.4)), Grey(Lighter(k.border, 0.5)),
            outside, k.radius, false, 1};
}

// The pictures of one look and their file names.
struct Output {
    String dir;
    bool ok = true;
    // After the first failure the rest is skipped: one message says enough.
    void Write(const String& name, const Img& img) { ok = ok && img.Save(dir + "/" + name + ".bmp"); }
};

String Name(const Look& k, const char* sfx) { return String(k.prefix) + "_" + sfx; }

Img ButtonStrip(const Look& k) {
    const Size s = k.button;
    const int r = std::min(k.radius, s.h / 2);
    Img img(s.w * 3, s.h);
    const Col out = Outside(k, k.buttonSeeThrough);
    BoxStyle styles[3] = {NormalStyle(k, out), HotStyle(k, out), PressedStyle(k, out)};
    for (int i = 0; i < 3; ++i) {
        styles[i].radius = r;
        Box(Frame(img, i, s.w), 0, 0, s.w, s.h, styles[i]);
    }
    return img;
}

int Luma(Col c) { return (Ch(c, 0) * 30 + Ch(c, 8) * 59 + Ch(c, 16) * 11) / 100; }

// The tick in the look's accent, darkened until it stands out from the near-white box: a light
// accent (DeepBlue's) would otherwise vanish into it.
Col TickColour(const Look& k) {
    Col c = k.accent;
    for (int i = 0; i < 8 && Luma(c) > 90; ++i) c = Darker(c, 0.2);
    return c;
}

// Frames: 1 checked, 2 unchecked, 3 checked disabled, 4 unchecked disabled.
Img CheckStrip(const Look& k, Size s, bool round) {
    Img img(s.w * 4, s.h);
    const Col out = k.form;  // the box is drawn opaque on the control's own background
    for (int i = 0; i < 4; ++i) {
        const View v = Frame(img, i, s.w);
        const bool disabled = i >= 2, checked = i % 2 == 0;
        const Col top = disabled ? Rgb(236, 236, 236) : 0xFFFFFF;
        const Col bottom = disabled ? Rgb(214, 214, 214) : Lighter(k.faceBottom, 0.8);
        const Col border = disabled ? Rgb(170, 170, 170) : k.border;
        const Col mark = disabled ? Rgb(120, 120, 120) : TickColour(k);
        const int bh = std::min(s.w, s.h), by = (s.h - bh) / 2;
        View box{img, v.x0, by, s.w, bh};
        if (round) {
            Disc(box, s.w, bh, top, bottom, border, out);
            if (checked) Disc(View{img, v.x0 + s.w / 2 - 2, by + bh / 2 - 2, 5, 5}, 5, 5, mark, Darker(mark, 0.3), mark, mark);
        } else {
            Box(box, 0, 0, s.w, bh, {top, bottom, border, out, k.radius > 3 ? 2 : 0, false, 1});
            if (checked) CheckMark(box, s.w, bh, mark);
        }
        if (by > 0) {
            v.Fill(0, 0, s.w, by, out);
            v.Fill(0, by + bh, s.w, s.h, out);
        }
    }
    return img;
}

// 18 frames: control box, help, maximize, restore, minimize, close; each normal, over, pressed.
Img TitleButtonStrip(const Look& k) {
    const Size s = k.titleBtn;
    Img img(s.w * 18, s.h);
    const Col out = k.titleBtnSeeThrough ? kSeeThrough : Mix(k.titleTop, k.titleBottom, 0.3);
    const Glyph glyphs[6] = {Glyph::ControlBox, Glyph::Help, Glyph::Max, Glyph::Restore, Glyph::Min, Glyph::Close};
    for (int g = 0; g < 6; ++g) {
        for (int st = 0; st < 3; ++st) {
            const View v = Frame(img, g * 3 + st, s.w);
            BoxStyle b = st == 0 ? NormalStyle(k, out) : st == 1 ? HotStyle(k, out) : PressedStyle(k, out);
            b.radius = std::min(k.radius, s.h / 2);
            if (g == 5 && st > 0) {  // a hot or pressed close button turns red
                b.top = st == 1 ? Rgb(240, 120, 100) : Rgb(170, 40, 30);
                b.bottom = st == 1 ? Rgb(210, 60, 40) : Rgb(120, 20, 10);
            }
            Box(v, 0, 0, s.w, s.h, b);
            const Col glyph = st == 2 ? 0xFFFFFF : (k.faceTop == Rgb(70, 100, 170) ? 0xFFFFFF : Darker(k.border, 0.2));
            DrawGlyph(View{img, v.x0 + (st == 2 ? 1 : 0), st == 2 ? 1 : 0, s.w, s.h}, glyphs[g], glyph);
        }
    }
    return img;
}

Img TitlePiece(const Look& k, int w, int roundSide) {
    Img img(w, k.titleHeight);
    const View v{img, 0, 0, w, k.titleHeight};
    for (int y = 0; y < k.titleHeight; ++y) {
        Col c = Mix(k.titleTop, k.titleBottom, static_cast<double>(y) / (k.titleHeight - 1));
        if (k.glass && y < k.titleHeight / 2) c = Lighter(c, 0.35);
        v.Fill(0, y, w, y + 1, c);
    }
    v.Fill(0, k.titleHeight - 1, w, k.titleHeight, Darker(k.titleBottom, 0.3));
    if (roundSide != 0) {  // the outer edge of an end piece
        const int x = roundSide < 0 ? 0 : w - 1;
        v.Fill(x, 0, x + 1, k.titleHeight, Darker(k.titleBottom, 0.3));
        v.Fill(roundSide < 0 ? 1 : w - 3, 0, roundSide < 0 ? 3 : w - 1, 1, Lighter(k.titleTop, 0.5));
    }
    return img;
}

Img GradientBar(int w, int h, Col top, Col bottom, Col border, bool glass, bool vertical = false) {
    Img img(w, h);
    const View v{img, 0, 0, w, h};
    const int n = vertical ? w : h;
    for (int i = 0; i < n; ++i) {
        Col c = Mix(top, bottom, static_cast<double>(i) / std::max(1, n - 1));
        if (glass && i < n / 2) c = Lighter(c, 0.4);
        if (vertical) v.Fill(i, 0, i + 1, h, c); else v.Fill(0, i, w, i + 1, c);
    }
    if (border != top) {
        v.Fill(0, 0, w, 1, border);
        v.Fill(0, h - 1, w, h, border);
        v.Fill(0, 0, 1, h, border);
        v.Fill(w - 1, 0, w, h, border);
    }
    return img;
}

// 6 frames: decrement (up) normal, over, pressed; increment (down) normal, over, pressed.
Img ScrollButtonStrip(const Look& k) {
    const Size s = k.scrollBtn;
    Img img(s.w * 6, s.h);
    for (int i = 0; i < 6; ++i) {
        const View v = Frame(img, i, s.w);
        const int st = i % 3;
        BoxStyle b = st == 0 ? NormalStyle(k, k.form) : st == 1 ? HotStyle(k, k.form) : PressedStyle(k, k.form);
        b.radius = std::min(k.radius, 3);
        Box(v, 0, 0, s.w, s.h, b);
        const Col glyph = st == 2 || k.faceTop == Rgb(70, 100, 170) ? 0xFFFFFF : Darker(k.border, 0.1);
        DrawGlyph(v, i < 3 ? Glyph::Up : Glyph::Down, glyph);
    }
    return img;
}

// 3 frames: the thumb's start cap, middle and end cap.
Img ScrollTrackStrip(const Look& k) {
    const Size s = k.scrollTrack;
    Img img(s.w * 3, s.h);
    for (int i = 0; i < 3; ++i) {
        const View v = Frame(img, i, s.w);
        for (int y = 0; y < s.h; ++y) {
            const Col c = Mix(k.faceTop, k.faceBottom, static_cast<double>(y) / (s.h - 1));
            v.Fill(0, y, s.w, y + 1, c);
        }
        v.Fill(0, 0, s.w, 1, k.border);
        v.Fill(0, s.h - 1, s.w, s.h, k.border);
        if (i == 0) v.Fill(0, 0, 1, s.h, k.border);
        if (i == 2) v.Fill(s.w - 1, 0, s.w, s.h, k.border);
        if (i == 1)  // grip lines in the middle piece
            for (int x = 1; x < s.w - 1; x += 2) v.Fill(x, s.h / 2 - 3, x + 1, s.h / 2 + 3, Darker(k.faceBottom, 0.3));
    }
    return img;
}

Img Slider(const Look& k, int w, int h) {
    Img img(w, h);
    BoxStyle b = NormalStyle(k, k.form);
    b.radius = std::min({k.radius, w / 2, h / 2, 4});
    Box(View{img, 0, 0, w, h}, 0, 0, w, h, b);
    return img;
}

// Three 30 x 21 frames: active, inactive, hot.
Img TabStrip(const Look& k) {
    Img img(90, 21);
    const Col out = k.form;
    const BoxStyle styles[3] = {NormalStyle(k, out), DisabledStyle(k, out), HotStyle(k, out)};
    for (int i = 0; i < 3; ++i) Box(Frame(img, i, 30), 0, 0, 30, 24, styles[i]);
    return img;
}

void WriteLook(const Look& k, Output& out) {
    out.Write(Name(k, "BUTTON"), ButtonStrip(k));
    out.Write(Name(k, "CHECKBOX"), CheckStrip(k, k.checkbox, false));
    out.Write(Name(k, "RADIOBUTTON"), CheckStrip(k, k.radio, true));
    out.Write(Name(k, "TITLEBTN"), TitleButtonStrip(k));
    out.Write(Name(k, "TITLE_LEFT"), TitlePiece(k, 12, -1));
    out.Write(Name(k, "TITLE_CLIENT"), TitlePiece(k, 8, 0));
    out.Write(Name(k, "TITLE_RIGHT"), TitlePiece(k, 12, 1));
    out.Write(Name(k, "PROGRESSBAR"), GradientBar(16, 12, Lighter(k.accent, 0.5), k.accent, k.accent, k.glass));
    out.Write(Name(k, "TRACKBAR_BAR"), GradientBar(40, 6, Darker(k.faceBottom, 0.2), Lighter(k.faceTop, 0.2), k.border, false));
    out.Write(Name(k, "TRACKBAR_SLIDER"), Slider(k, 11, 21));
    out.Write(Name(k, "TRACKBAR_SLIDER_V"), Slider(k, 21, 11));
    out.Write(Name(k, "SCROLLBAR_BUTTON"), ScrollButtonStrip(k));
    out.Write(Name(k, "SCROLLBAR_TRACK"), ScrollTrackStrip(k));
    Look small = k;
    small.checkbox = {13, 13};
    out.Write(Name(k, "CHECKLIST"), CheckStrip(small, small.checkbox, false));
    out.Write(Name(k, "TAB"), TabStrip(k));
    out.Write(Name(k, "TAB_LINE"), GradientBar(4, 3, k.border, k.faceBottom, k.border, false));
    out.Write(Name(k, "SIDECHENNEL_HANDLE"), GradientBar(10, 40, k.titleTop, k.titleBottom, k.border, k.glass, true));
    out.Write(Name(k, "SIDECHENNEL_BAR"), GradientBar(100, 20, k.titleTop, k.titleBottom, k.titleBottom, k.glass));
}

// Two 16 x 16 frames, left and right arrows.
Img ScrollButtonPair(const Look& k) {
    Img img(32, 16);
    for (int i = 0; i < 2; ++i) {
        const View v = Frame(img, i, 16);
        BoxStyle b = i == 0 ? NormalStyle(k, k.form) : HotStyle(k, k.form);
        b.radius = std::min(k.radius, 3);
        Box(v, 0, 0, 16, 16, b);
        DrawGlyph(v, i == 0 ? Glyph::Left : Glyph::Right, Darker(k.border, 0.1));
    }
    return img;
}

// Four 16 x 16 frames: expanded, expanded hot, collapsed, collapsed hot.
Img PanelButton() {
    const Look& k = kLooks[kDeepBlue];
    Img img(64, 16);
    for (int i = 0; i < 4; ++i) {
        const View v = Frame(img, i, 16);
        BoxStyle b = i % 2 == 0 ? NormalStyle(k, k.titleBottom) : HotStyle(k, k.titleBottom);
        b.radius = 3;
        Box(v, 0, 0, 16, 16, b);
        DrawGlyph(v, i < 2 ? Glyph::Up : Glyph::Down, 0xFFFFFF);
    }
    return img;
}

Img MenuChecked() {
    Img img(16, 16, 0xFFFFFF);  // white is see-through here
    CheckMark(View{img, 0, 0, 16, 16}, 16, 16, 0x000000);
    return img;
}

// Three 16 x 16 frames: minimize, restore, close.
Img MdiControlButton() {
    Img img(48, 16, kSeeThrough);
    const Glyph glyphs[3] = {Glyph::Min, Glyph::Restore, Glyph::Close};
    for (int i = 0; i < 3; ++i) {
        const View v = Frame(img, i, 16);
        Box(v, 1, 1, 14, 14, {Rgb(250, 250, 250), Rgb(210, 210, 210), Rgb(110, 110, 110), kSeeThrough, 2, false, 1});
        DrawGlyph(v, glyphs[i], i == 2 ? Rgb(180, 30, 30) : Rgb(40, 40, 40));
    }
    return img;
}

// The notice window's face, 181 x 116: a blue title band, a light body and a close box whose
// pressable square is (162, 6)..(175, 19).
Img MsnPopForm() {
    Img img(181, 116);
    const View v{img, 0, 0, 181, 116};
    Box(v, 0, 0, 181, 116, {Rgb(248, 251, 255), Rgb(214, 228, 248), Rgb(74, 110, 170), kSeeThrough, 0, false, 1});
    Box(v, 1, 1, 179, 24, {Rgb(120, 160, 225), Rgb(60, 100, 180), Rgb(60, 100, 180), kSeeThrough, 0, true, 0});
    Box(v, 162, 6, 14, 14, {Rgb(235, 240, 250), Rgb(200, 212, 235), Rgb(40, 60, 110), kSeeThrough, 2, false, 1});
    DrawGlyph(View{img, 161, 5, 16, 16}, Glyph::Close, Rgb(40, 60, 110));
    return img;
}

// The program's icon, 32 x 32: a disc on a dark square, white see-through at the corners.
Img MainIcon() {
    Img img(32, 32, 0xFFFFFF);
    const View v{img, 0, 0, 32, 32};
    Box(v, 0, 0, 32, 32, {Rgb(70, 110, 190), Rgb(30, 50, 110), Rgb(20, 30, 70), 0xFFFFFF, 6, true, 1});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double d = std::hypot(x - 15.5, y - 15.5);
            if (d <= 3) v.Set(x, y, Rgb(30, 50, 110));
            else if (d <= 9) v.Set(x, y, Mix(Rgb(245, 245, 250), Rgb(170, 180, 200), y / 31.0));
            else if (d <= 10) v.Set(x, y, Rgb(90, 90, 110));
        }
    return img;
}

Img Pattern(Col a, Col b, bool diagonal) {
    Img img(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) img.Set(x, y, (diagonal ? (x + y) % 4 == 0 : y % 2 == 0) ? a : b);
    return img;
}

// A combo box's drop-down button, stretched to the button: the look's face; WinXP's carries its
// own arrow, MacOS gets the drawn one.
Img ComboButton(const Look& k, bool withArrow) {
    Img img(17, 21, k.form);
    const View v{img, 0, 0, 17, 21};
    Box(v, 0, 0, 17, 21, {k.faceTop, k.faceBottom, k.border, k.form, std::min(k.radius, 3), k.glass, 1});
    if (withArrow) {
        for (int row = 0; row < 4; ++row)
            for (int x = 5 + row; x < 12 - row; ++x) v.Set(x, 9 + row, Rgb(77, 97, 133));
    }
    return img;
}

// The glyphs before font names (see-through background): "T" over "T" for TrueType, a printer
// page for device fonts.
Img FontGlyph(bool trueType) {
    Img img(12, 12, kSeeThrough);
    const View v{img, 0, 0, 12, 12};
    if (trueType) {
        v.Fill(0, 0, 7, 2, Rgb(128, 128, 128));
        v.Fill(3, 2, 5, 8, Rgb(128, 128, 128));
        v.Fill(4, 3, 12, 5, Rgb(0, 0, 0));
        v.Fill(7, 5, 9, 12, Rgb(0, 0, 0));
    } else {
        Box(v, 1, 0, 10, 12, {0xFFFFFF, 0xFFFFFF, 0x000000, kSeeThrough, 0, false, 1});
        for (int y = 3; y < 10; y += 2) Line(v, 3, y, 8, y, Rgb(0, 0, 128));
    }
    return img;
}

// The data navigator's ten glyphs side by side (First, Prior, Next, Last, Insert, Delete, Edit,
// Post, Cancel, Refresh) on a see-through background, each frame 12 x 12. Each glyph has a white
// shadow one pixel down-right, so it reads on the light and on the dark looks' buttons alike.
void NavigatorGlyph(const View& v, int index, bool shadow) {
    const Col ink = shadow ? Rgb(255, 255, 255) : Rgb(20, 30, 60);
    const Col red = shadow ? ink : Rgb(190, 20, 20);
    const Col green = shadow ? ink : Rgb(20, 130, 40);
    auto triangle = [&](int tipX, int dir) {
        // Pointing left (dir -1) or right (dir 1), its tip at tipX, seven rows tall.
        for (int i = 0; i < 4; ++i) Line(v, tipX - dir * i, 5 - i, tipX - dir * i, 5 + i, ink);
    };
    switch (index) {
        case 0: v.Fill(1, 2, 3, 9, ink); triangle(4, -1); break;
        case 1: triangle(3, -1); break;
        case 2: triangle(7, 1); break;
        case 3: triangle(6, 1); v.Fill(8, 2, 10, 9, ink); break;
        case 4: v.Fill(1, 4, 9, 6, ink); v.Fill(4, 1, 6, 9, ink); break;
        case 5: v.Fill(1, 4, 9, 6, red); break;
        case 6:
            Line(v, 2, 8, 8, 2, ink, 2);
            v.Fill(1, 9, 4, 10, ink);
            break;
        case 7:
            Line(v, 1, 5, 3, 7, green, 2);
            Line(v, 3, 7, 8, 2, green, 2);
            break;
        case 8:
            Line(v, 2, 2, 7, 7, red, 2);
            Line(v, 2, 7, 7, 2, red, 2);
            break;
        default:
            for (int a = 40; a < 330; a += 10) {
                const double r = a * 3.14159265 / 180;
                v.Set(5 + static_cast<int>(std::lround(4 * std::cos(r))), 5 - static_cast<int>(std::lround(4 * std::sin(r))), ink);
            }
            v.Fill(7, 0, 10, 1, ink);
            v.Fill(9, 0, 10, 3, ink);
            break;
    }
}

Img NavigatorGlyphs() {
    constexpr int fw = 12;
    Img img(fw * 10, fw, kSeeThrough);
    for (int index = 0; index < 10; ++index) {
        NavigatorGlyph(View{img, index * fw + 1, 1, fw - 1, fw - 1}, index, true);
        NavigatorGlyph(View{img, index * fw, 0, fw - 1, fw - 1}, index, false);
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinart <output folder>\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(argv[1], ec);
    Output out{argv[1]};
    for (const Look& k : kLooks) WriteLook(k, out);
    out.Write("MACOS_SCROLLBUTTON", ScrollButtonPair(kLooks[kMacOS]));
    out.Write("WINXP_SCROLLBUTTON", ScrollButtonPair(kLooks[kWinXP]));
    out.Write("MORE_SCROLLBUTTON", ScrollButtonPair(kLooks[kDeepBlue]));
    out.Write("PANEL_BUTTON", PanelButton());
    out.Write("MENU_CHECKED", MenuChecked());
    out.Write("MACOS_MENU_BAR", GradientBar(1, 22, Rgb(250, 250, 250), Rgb(214, 214, 214), Rgb(250, 250, 250), false));
    out.Write("MACOS_MENU_SELECT", GradientBar(1, 21, Rgb(110, 160, 235), Rgb(50, 100, 200), Rgb(110, 160, 235), false));
    out.Write("MDI_CONTROL_BUTTON", MdiControlButton());
    out.Write("MACOS_FORM_BACKGROUND", Pattern(Rgb(236, 236, 236), Rgb(246, 246, 246), false));
    out.Write("PROTEIN_FORM_BACKGROUND", Pattern(Rgb(232, 238, 230), Rgb(250, 251, 250), true));
    out.Write("MACOS_COMBOBOX_BUTTON", ComboButton(kLooks[kMacOS], false));
    out.Write("WINXP_COMBOBOX_BUTTON", ComboButton(kLooks[kWinXP], true));
    out.Write("FONTCOMBO_TRUETYPE_FNT", FontGlyph(true));
    out.Write("FONTCOMBO_DEVICE_FNT", FontGlyph(false));
    out.Write("MSNPOPFORM", MsnPopForm());
    out.Write("MAINICON", MainIcon());
    out.Write("DBNAV_BUTTON", NavigatorGlyphs());
    return out.ok ? 0 : 1;
}
