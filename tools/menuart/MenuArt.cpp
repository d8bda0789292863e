// Draws the menu artwork beside the program and encodes the root-menu templates, with the
// program's own media and authoring modules, so the repository holds no pictures or VOBs.
// Run by the build with the program's RES folder as the only argument; the modules are taken
// from the folder above it.
//
//   RES/MouseOn.bmp, RES/MouseDown.bmp   the cursor drawn on every button of the menu masks:
//                                        one shape, in the mask key and the mask's frame colour
//                                        only, so a mask never holds more colours than spumux takes
//   RES/BackPng.bmp                      the back button's shape: its rounded box on a white key,
//                                        the size of the designer's RES/BackBmp.bmp (72 x 32)
//   RES/MainSub{N,P,NW,PW}.vob           the root menu for each standard and aspect: a still
//                                        picture with two buttons (play, the title menu)
#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "libs/corvane/CorvaneDLL.h"
#include "libs/dozezedav/Dozezedav.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Widgets.h"
#include "production/MenuPictures.h"
#include "production/MenuXml.h"
#include "production/SubtitleMux.h"

namespace {

constexpr int kCursorSize = 15;

TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

std::unique_ptr<TBitmap> Filled(int w, int h, TColor colour) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetStyle(bsSolid);
    b->GetCanvas()->GetBrush()->SetColor(colour);
    b->GetCanvas()->FillRect(TRect(0, 0, w, h));
    return b;
}

// A pointing triangle on the key: the same shape for both masks.
std::unique_ptr<TBitmap> Cursor(TColor colour) {
    auto b = Filled(kCursorSize, kCursorSize, MaskKeyColour);
    TCanvas* c = b->GetCanvas();
    for (int y = 0; y < kCursorSize; ++y) {
        const int half = kCursorSize / 2;
        const int reach = half - std::abs(y - half);
        for (int x = 0; x <= reach * 2 && x < kCursorSize; ++x) c->SetPixels(x, y, colour);
    }
    return b;
}

// The back button's shape for the masks: what is not the key (pixel 0, 0) is the button.
std::unique_ptr<TBitmap> BackShape() {
    auto b = Filled(72, 32, Rgb(255, 255, 255));
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(Rgb(0, 0, 0));
    c->GetPen()->SetColor(Rgb(0, 0, 0));
    c->RoundRect(0, 0, 72, 32, 14, 14);
    return b;
}

bool SaveBmp(TBitmap* b, const std::string& path) {
    try {
        b->SaveToFile(path);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "menuart: %s: %s\n", path.c_str(), e.what());
        return false;
    }
}

struct Template {
    const char* name;
    int standard;  // 1 NTSC, 2 PAL
    int aspect;    // 1 4:3, 2 16:9
};

struct Modules {
    void* media = nullptr;
    void* author = nullptr;
    X_SetPar_BMP2VOB_fn encode = nullptr;
    spumux_main_fn mux = nullptr;
    explicit Modules(const std::string& folder) {
        media = dlopen((folder + "/CorvaneDLL.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        author = dlopen((folder + "/dozezedav.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (media) encode = reinterpret_cast<X_SetPar_BMP2VOB_fn>(dlsym(media, "X_SetPar_BMP2VOB"));
        if (author) mux = reinterpret_cast<spumux_main_fn>(dlsym(author, "spumux_main"));
    }
    ~Modules() {
        if (media) dlclose(media);
        if (author) dlclose(author);
    }
    Modules(const Modules&) = delete;
    Modules& operator=(const Modules&) = delete;
};

// The two buttons of a root menu, in frame pixels; rows even, as spumux wants them.
TRect ButtonRect(int index, int height) {
    const int top = height / 2 - 30 + index * 90;
    return TRect(240, top - top % 2, 480, top - top % 2 + 60);
}

std::unique_ptr<TBitmap> RootPicture(int height) {
    auto b = Filled(720, height, Rgb(16, 24, 48));
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetName("DejaVu Sans");
    c->GetFont()->SetColor(Rgb(230, 230, 240));
    c->GetFont()->SetSize(36);
    const String title = "DVD";
    c->TextOut((720 - c->TextWidth(title)) / 2, height / 2 - 150, title);
    const char* labels[] = {"Play", "Menu"};
    for (int i = 0; i < 2; ++i) {
        const TRect r = ButtonRect(i, height);
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(Rgb(40, 70, 130));
        c->GetPen()->SetColor(Rgb(120, 160, 230));
        c->Rectangle(r);
        c->GetBrush()->SetStyle(bsClear);
        c->GetFont()->SetSize(22);
        c->TextOut(r.Left + (r.Width() - c->TextWidth(labels[i])) / 2, r.Top + (r.Height() - c->TextHeight(labels[i])) / 2,
                   labels[i]);
    }
    return b;
}

std::unique_ptr<TBitmap> RootMask(int height, TColor frame) {
    auto b = Filled(720, height, MaskKeyColour);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetWidth(2);
    c->GetPen()->SetColor(frame);
    for (int i = 0; i < 2; ++i) c->Rectangle(ButtonRect(i, height));
    return b;
}

bool MakeTemplate(const Template& t, const std::string& res, const std::string& work, Modules& modules) {
    const int height = t.standard == 1 ? 480 : 576;
    const std::string frame = t.standard == 1 ? "720:480" : "720:576";
    const std::string base = work + "/" + t.name;
    const std::string bmp = base + ".bmp";
    const std::string on = base + "_on.png";
    const std::string down = base + "_down.png";
    const std::string xml = base + ".xml";
    const std::string plain = base + "_plain.vob";
    const std::string out = res + "/" + t.name + ".vob";
    if (!SaveBmp(RootPicture(height).get(), bmp)) return false;
    if (!WriteMaskPng(RootMask(height, HighlightFrameColour).release(), on)) return false;
    if (!WriteMaskPng(RootMask(height, SelectFrameColour).release(), down)) return false;
    if (!WriteMenuXml(xml, {on, down, std::nullopt, {ButtonRect(0, height), ButtonRect(1, height)}})) return false;
    if (modules.encode(nullptr, t.standard, bmp.c_str(), "2", frame.c_str(), frame.c_str(),
                       t.aspect == 2 ? "16/9" : "4/3", plain.c_str(), 0, "NoFile") != 0) {
        std::fprintf(stderr, "menuart: the menu encode of %s failed\n", t.name);
        return false;
    }
    const int r = modules.mux(xml.c_str(), plain.c_str(), out.c_str());
    if (r != DOZEZEDAV_OK) {
        std::fprintf(stderr, "menuart: the button mux of %s failed (%d)\n", t.name, r);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: menuart <RES folder>\n");
        return 2;
    }
    Vcl_InitWidgets(argc, argv);
    const std::string res = argv[1];
    const std::string modulesFolder = std::filesystem::path(res).parent_path().string();
    bool ok = SaveBmp(Cursor(HighlightFrameColour).get(), res + "/MouseOn.bmp");
    ok &= SaveBmp(Cursor(SelectFrameColour).get(), res + "/MouseDown.bmp");
    ok &= SaveBmp(BackShape().get(), res + "/BackPng.bmp");

    Modules modules(modulesFolder);
    if (!modules.encode || !modules.mux) {
        std::fprintf(stderr, "menuart: the media or authoring module is missing in %s\n", modulesFolder.c_str());
        return 1;
    }
    std::error_code ec;
    const std::string work = res + "/.menuart";
    std::filesystem::create_directories(work, ec);
    const Template templates[] = {{"MainSubN", 1, 1}, {"MainSubP", 2, 1}, {"MainSubNW", 1, 2}, {"MainSubPW", 2, 2}};
    for (const Template& t : templates) ok &= MakeTemplate(t, res, work, modules);
    std::filesystem::remove_all(work, ec);
    return ok ? 0 : 1;
}
