// Draws the pictures of the program's small windows (the splash, the About box with its close
// button, the progress window and its bar) as BMP files named after their resources, into the
// folder given as the only argument. Run by the build; the repository holds no binary artwork.
//
// One family look: deep night blue with a disc's rainbow sheen for the splash, light steel
// panels with a blue header for the windows whose labels are drawn in black on top. Pixels
// outside a rounded window hold clFuchsia, the see-through colour of those skins.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Widgets.h"

namespace {

using Col = TColor;  // 0x00BBGGRR

constexpr Col kOutside = clFuchsia;

constexpr Col Rgb(int r, int g, int b) { return static_cast<Col>(RGB(r, g, b)); }
int Ch(Col c, int shift) { return (c >> shift) & 0xFF; }

Col Mix(Col a, Col b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [&](int s) { return static_cast<int>(std::lround(Ch(a, s) + (Ch(b, s) - Ch(a, s)) * t)); };
    return Rgb(m(0), m(8), m(16));
}

// A picture drawn pixel by pixel, with the class library's canvas for its text.
class Pic {
public:
    Pic(int w, int h, Col fill) : m_bmp(w, h, pf24bit) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) Set(x, y, fill);
    }
    int W() const { return m_bmp.GetWidth(); }
    int H() const { return m_bmp.GetHeight(); }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W() && y < H(); }
    void Set(int x, int y, Col c) {
        if (!Inside(x, y)) return;
        auto* row = static_cast<TRGBTriple*>(m_bmp.ScanLine(y));
        row[x] = TRGBTriple{static_cast<Byte>(Ch(c, 16)), static_cast<Byte>(Ch(c, 8)),
                            static_cast<Byte>(Ch(c, 0))};
    }
    Col Get(int x, int y) {
        const auto* row = static_cast<TRGBTriple*>(m_bmp.ScanLine(y));
        return Rgb(row[x].rgbtRed, row[x].rgbtGreen, row[x].rgbtBlue);
    }
    // Covers a pixel with c by the amount a (0..1).
    void Blend(int x, int y, Col c, double a) {
        if (Inside(x, y)) Set(x, y, Mix(Get(x, y), c, a));
    }
    TCanvas* Canvas() { return m_bmp.GetCanvas(); }
    TBitmap& Bitmap() { return m_bmp; }

    bool Save(const std::filesystem::path& path) {
        try {
            m_bmp.SaveToFile(path.string());
            return true;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "windowart: %s: %s\n", path.string().c_str(), e.what());
            return false;
        }
    }

private:
    TBitmap m_bmp;
};

// ---- shapes ----------------------------------------------------------------------------------

// How far (x, y) lies outside a rounded rectangle of w x h with corner radius r (<= 0 inside).
double RoundRectDistance(double x, double y, int w, int h, int r) {
    const double cx = std::clamp(x + 0.5, static_cast<double>(r), static_cast<double>(w - r));
    const double cy = std::clamp(y + 0.5, static_cast<double>(r), static_cast<double>(h - r));
    return std::hypot(x + 0.5 - cx, y + 0.5 - cy) - r;
}

void VerticalGradient(Pic& p, int x1, int y1, int x2, int y2, Col top, Col bottom) {
    for (int y = y1; y < y2; ++y) {
        const Col c = Mix(top, bottom, y2 - y1 > 1 ? static_cast<double>(y - y1) / (y2 - y1 - 1) : 0);
        for (int x = x1; x < x2; ++x) p.Set(x, y, c);
    }
}

// A window outline: everything beyond the rounded edge becomes the see-through colour; the edge
// itself gets a border, softened towards the inside so the curve does not look stepped.
void WindowShape(Pic& p, int radius, Col border, Col innerLight) {
    for (int y = 0; y < p.H(); ++y)
        for (int x = 0; x < p.W(); ++x) {
            const double d = RoundRectDistance(x, y, p.W(), p.H(), radius);
            if (d > 0) p.Set(x, y, kOutside);
            else if (d > -1.5) p.Set(x, y, border);
            else if (d > -2.5) p.Blend(x, y, innerLight, 0.7);
        }
}

// A solid disc with a soft edge, blended over what is there.
void Circle(Pic& p, double cx, double cy, double r, Col c, double alpha = 1.0) {
    for (int y = static_cast<int>(cy - r - 1); y <= static_cast<int>(cy + r + 1); ++y)
        for (int x = static_cast<int>(cx - r - 1); x <= static_cast<int>(cx + r + 1); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double cover = std::clamp(r - d + 0.5, 0.0, 1.0);
            if (cover > 0) p.Blend(x, y, c, cover * alpha);
        }
}

// A rainbow colour for an angle: the sheen a pressed disc shows under light.
Col Sheen(double angle) {
    const double t = angle / (2 * M_PI);
    auto wave = [&](double phase) { return static_cast<int>(150 + 105 * std::cos(2 * M_PI * (t + phase))); };
    return Rgb(wave(0.0), wave(1.0 / 3), wave(2.0 / 3));
}

// An optical disc seen from the top: silver rim, rainbow data area, clear hub with its hole.
void Disc(Pic& p, double cx, double cy, double r) {
    Circle(p, cx + 4, cy + 6, r, Rgb(0, 0, 0), 0.35);  // shadow
    for (int y = static_cast<int>(cy - r - 1); y <= static_cast<int>(cy + r + 1); ++y)
        for (int x = static_cast<int>(cx - r - 1); x <= static_cast<int>(cx + r + 1); ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy, d = std::hypot(dx, dy);
            const double cover = std::clamp(r - d + 0.5, 0.0, 1.0);
            if (cover <= 0) continue;
            const double angle = std::atan2(dy, dx) + M_PI;
            Col c;
            if (d > r - 3) c = Rgb(210, 214, 222);                          // rim
            else if (d > r * 0.36) c = Mix(Rgb(196, 202, 214), Sheen(angle * 2), 0.55 + 0.2 * std::sin(d / 3));
            else if (d > r * 0.33) c = Rgb(150, 156, 170);                  // end of the data area
            else if (d > r * 0.14) c = Rgb(222, 226, 234);                  // hub
            else c = kOutside;                                              // the hole, filled below
            if (c == kOutside) continue;
            p.Blend(x, y, c, cover);
        }
    // Light falling across the top left.
    for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r); ++y)
        for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d > r - 1 || d < r * 0.15) continue;
            const double band = std::exp(-std::pow(((x - cx) + (y - cy)) / (r * 0.35), 2));
            p.Blend(x, y, Rgb(255, 255, 255), 0.35 * band);
        }
}

// ---- text ------------------------------------------------------------------------------------

void Text(Pic& p, int x, int y, const String& s, int height, Col c, bool bold, Col shadow = clNone) {
    TCanvas* cv = p.Canvas();
    cv->GetBrush()->SetStyle(bsClear);
    cv->GetFont()->SetName("DejaVu Sans");
    cv->GetFont()->SetHeight(-height);
    cv->GetFont()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{});
    if (shadow != clNone) {
        cv->GetFont()->SetColor(shadow);
        cv->TextOut(x + 1, y + 2, s);
    }
    cv->GetFont()->SetColor(c);
    cv->TextOut(x, y, s);
}

// ---- the pictures ----------------------------------------------------------------------------

// 446 x 243: the disc on the left, the product's name on the right, over a night-blue sky.
std::unique_ptr<Pic> Splash() {
    auto out = std::make_unique<Pic>(446, 243, 0);
    Pic& p = *out;
    VerticalGradient(p, 0, 0, 446, 243, Rgb(16, 32, 78), Rgb(6, 10, 30));
    // A wide glow behind the disc and a thin horizon line under the name.
    for (int y = 0; y < 243; ++y)
        for (int x = 0; x < 446; ++x) {
            const double g = std::exp(-(std::pow((x - 110) / 150.0, 2) + std::pow((y - 120) / 110.0, 2)));
            p.Blend(x, y, Rgb(60, 110, 210), 0.45 * g);
        }
    Disc(p, 110, 118, 84);
    for (int x = 214; x < 430; ++x) p.Blend(x, 128, Rgb(120, 180, 255), 0.9 * std::sin(M_PI * (x - 214) / 216.0));
    Text(p, 214, 76, "Quellox DOZ", 26, Rgb(255, 255, 255), true, Rgb(0, 0, 0));
    Text(p, 214, 102, "Ezedav 5.5", 20, Rgb(170, 205, 255), true, Rgb(0, 0, 0));
    Text(p, 214, 138, "Build  \xC2\xB7  Convert  \xC2\xB7  Compile  \xC2\xB7  Burn", 11, Rgb(210, 222, 240), false);
    Text(p, 214, 212, "Starting, please wait...", 10, Rgb(140, 160, 200), false);
    for (int x = 0; x < 446; ++x) {
        p.Set(x, 0, Rgb(70, 100, 170));
        p.Set(x, 242, Rgb(2, 4, 14));
    }
    for (int y = 0; y < 243; ++y) {
        p.Set(0, y, Rgb(70, 100, 170));
        p.Set(445, y, Rgb(2, 4, 14));
    }
    return out;
}

constexpr Col kHeaderTop = Rgb(188, 212, 246);
constexpr Col kHeaderBottom = Rgb(236, 243, 252);
constexpr Col kBorder = Rgb(38, 70, 130);

// 434 x 245: a light header for the product's name, the body for the links, a footer strip.
std::unique_ptr<Pic> AboutBackground() {
    auto out = std::make_unique<Pic>(434, 245, 0);
    Pic& p = *out;
    VerticalGradient(p, 0, 0, 434, 100, kHeaderTop, kHeaderBottom);
    VerticalGradient(p, 0, 100, 434, 214, Rgb(250, 251, 253), Rgb(232, 236, 243));
    VerticalGradient(p, 0, 214, 434, 245, Rgb(214, 222, 236), Rgb(196, 206, 224));
    for (int x = 20; x < 414; ++x) p.Set(x, 100, Rgb(150, 176, 220));
    for (int x = 0; x < 434; ++x) p.Set(x, 214, Rgb(170, 184, 210));
    // A faint disc in the header's right part, behind the build line.
    Circle(p, 372, 40, 26, Rgb(255, 255, 255), 0.5);
    Circle(p, 372, 40, 10, Rgb(170, 196, 236), 0.8);
    Circle(p, 372, 40, 4, kHeaderTop, 1.0);
    WindowShape(p, 12, kBorder, Rgb(255, 255, 255));
    return out;
}

constexpr int kCloseSize = 18;
constexpr int kCloseLeft = 434 - kCloseSize - 10;
constexpr int kCloseTop = 8;

// The About box's close button over the part of the header it covers, so it blends in.
std::unique_ptr<Pic> AboutClose(Pic& background, Col face, Col cross) {
    auto out = std::make_unique<Pic>(kCloseSize, kCloseSize, 0);
    Pic& p = *out;
    for (int y = 0; y < kCloseSize; ++y)
        for (int x = 0; x < kCloseSize; ++x) p.Set(x, y, background.Get(kCloseLeft + x, kCloseTop + y));
    const double c = kCloseSize / 2.0;
    Circle(p, c, c, c - 0.5, kBorder);
    Circle(p, c, c, c - 1.8, face);
    for (double t = -4.5; t <= 4.5; t += 0.25)
        for (int w = -1; w <= 0; ++w) {
            p.Blend(static_cast<int>(c + t), static_cast<int>(c + t) + w, cross, 1.0);
            p.Blend(static_cast<int>(c + t), static_cast<int>(c - t) + w, cross, 1.0);
        }
    return out;
}

// 370 x 79: a steel panel with a groove that holds the bar at (57, 53), 258 x 10.
std::unique_ptr<Pic> ProgressBackground() {
    auto out = std::make_unique<Pic>(370, 79, 0);
    Pic& p = *out;
    VerticalGradient(p, 0, 0, 370, 79, Rgb(236, 242, 250), Rgb(206, 216, 232));
    VerticalGradient(p, 0, 0, 370, 6, Rgb(90, 130, 200), Rgb(160, 190, 235));
    for (int y = 51; y < 65; ++y)
        for (int x = 55; x < 317; ++x) {
            const bool edge = y == 51 || y == 64 || x == 55 || x == 316;
            p.Set(x, y, edge ? Rgb(120, 136, 168) : Mix(Rgb(226, 230, 238), Rgb(255, 255, 255), (y - 52) / 12.0));
        }
    WindowShape(p, 8, kBorder, Rgb(255, 255, 255));
    return out;
}

// 258 x 10: the bar, glossy blue and light enough for the black percentage drawn over it.
std::unique_ptr<Pic> ProgressFill() {
    auto out = std::make_unique<Pic>(258, 10, 0);
    Pic& p = *out;
    VerticalGradient(p, 0, 0, 258, 5, Rgb(214, 232, 255), Rgb(150, 192, 245));
    VerticalGradient(p, 0, 5, 258, 10, Rgb(110, 162, 236), Rgb(150, 196, 250));
    for (int x = 7; x < 258; x += 8)
        for (int y = 0; y < 10; ++y) p.Blend(x, y, Rgb(255, 255, 255), 0.25);
    return out;
}

// The dialogs' labelled buttons: a rounded glossy face on the form's grey, one per state.
enum class Face { Normal, Over, Down };
std::unique_ptr<Pic> DialogButton(int w, int h, const String& label, Face state) {
    auto out = std::make_unique<Pic>(w, h, 0);
    Pic& p = *out;
    const Col formGrey = Rgb(222, 229, 240);  // the dialogs' light body
    const Col top = state == Face::Down ? Rgb(150, 176, 220) : (state == Face::Over ? Rgb(236, 244, 255) : Rgb(246, 248, 252));
    const Col bottom = state == Face::Down ? Rgb(196, 212, 238) : (state == Face::Over ? Rgb(176, 204, 244) : Rgb(206, 214, 230));
    VerticalGradient(p, 0, 0, w, h, top, bottom);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double d = RoundRectDistance(x, y, w, h, std::min(6, h / 3));
            if (d > 0) p.Set(x, y, formGrey);
            else if (d > -1.2) p.Set(x, y, kBorder);
        }
    TCanvas* cv = p.Canvas();
    const int height = h > 30 ? 20 : 12;
    cv->GetFont()->SetName("DejaVu Sans");
    cv->GetFont()->SetHeight(-height);
    cv->GetFont()->SetStyle(TFontStyles{fsBold});
    const int tw = cv->TextWidth(label);
    const int th = cv->TextHeight(label);
    const int shift = state == Face::Down ? 1 : 0;
    Text(p, (w - tw) / 2 + shift, (h - th) / 2 + shift, label, height, kBorder, true);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: windowart <output folder>\n");
        return 2;
    }
    // Text goes through the toolkit's fonts, which need the application object.
    Vcl_InitWidgets(argc, argv);
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    bool ok = true;
    auto write = [&](const char* name, const std::unique_ptr<Pic>& p) { ok = p->Save(dir / (String(name) + ".bmp")) && ok; };
    write("SPLASHPICTURE", Splash());
    std::unique_ptr<Pic> about = AboutBackground();
    write("ABOUTCLOSE", AboutClose(*about, Rgb(236, 242, 252), kBorder));
    write("ABOUTCLOSEON", AboutClose(*about, Rgb(226, 70, 60), Rgb(255, 255, 255)));
    write("ABOUTCLOSEDOWN", AboutClose(*about, Rgb(160, 40, 34), Rgb(255, 255, 255)));
    write("ABOUTBACKGROUND", about);
    write("PROGRESSBACKGROUND", ProgressBackground());
    write("PROGRESSFILL", ProgressFill());
    // Words are the buttons' own captions, in the user's language; the square confirm and
    // cancel buttons carry a tick and a cross, which need no translation.
    const char* tick = "\xE2\x9C\x93";
    const char* cross = "\xE2\x9C\x95";
    struct { const char* Name; int W, H; const char* Label; } buttons[] = {
        {"SUBTITLELOAD", 65, 26, ""},      {"SUBTITLECLEAR", 65, 26, ""},
        {"SUBTITLEOK", 42, 42, tick},      {"SUBTITLECANCEL", 42, 42, cross},
        {"CHAPTERINSERT", 72, 26, ""},     {"CHAPTERMODIFY", 72, 26, ""},
        {"CHAPTERDELETE", 72, 26, ""},     {"CHAPTEROK", 42, 42, tick},
        {"CHAPTERCANCEL", 42, 42, cross},
    };
    for (const auto& b : buttons) {
        write(b.Name, DialogButton(b.W, b.H, b.Label, Face::Normal));
        write((String(b.Name) + "ON").c_str(), DialogButton(b.W, b.H, b.Label, Face::Over));
        write((String(b.Name) + "DOWN").c_str(), DialogButton(b.W, b.H, b.Label, Face::Down));
    }
    return ok ? 0 : 1;
}
