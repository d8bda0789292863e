#include "skin/core/Suipublic.h"

#include <algorithm>
#include <vector>

#include "platform/vcl/FormWindow.h"
#include "platform/vcl/SysUtils.h"
#include "skin/core/SUIMgr.h"

bool g_SkinKitConverting = false;

namespace {

// ---- pixels ----

void PutPixel(TBitmap& Bitmap32, int X, int Y, COLORREF Color) {
    auto* row = static_cast<TRGBQuad*>(Bitmap32.ScanLine(Y));
    row[X] = {GetBValue(Color), GetGValue(Color), GetRValue(Color), 0};
}

TBitmap* NewBitmap32(int Width, int Height) {
    auto* b = new TBitmap();
    b->SetPixelFormat(pf32bit);
    b->SetSize(std::max(0, Width), std::max(0, Height));
    return b;
}

// Target takes Source's size and pixels but keeps its own transparency settings, as drawing
// the temporary onto the target would.
void TakePixels(TBitmap* Target, TBitmap& Source) {
    bool transparent = Target->GetTransparent();
    TTransparentMode mode = Target->GetTransparentMode();
    TColor key = Target->GetTransparentColor();
    Target->Assign(&Source);
    Target->SetTransparent(transparent);
    if (mode == tmFixed)
        Target->SetTransparentColor(key);
    else
        Target->SetTransparentMode(tmAuto);
}

// A bitmap holding the area Source of Bitmap, pixel for pixel.
std::unique_ptr<TBitmap> Crop(const TBitmap& Bitmap, const TRect& Source) {
    std::unique_ptr<TBitmap> piece(NewBitmap32(Source.Width(), Source.Height()));
    for (int y = 0; y < piece->GetHeight(); ++y)
        for (int x = 0; x < piece->GetWidth(); ++x)
            PutPixel(*piece, x, y, Bitmap.GetPixelColor(Source.Left + x, Source.Top + y));
    return piece;
}

// Keeps a source area inside the bitmap and at least one pixel wide and high, so that a
// stretched piece never draws from nothing.
TRect AtLeastOnePixel(TRect r, int W, int H) {
    r.Left = std::clamp(r.Left, 0, W - 1);
    r.Top = std::clamp(r.Top, 0, H - 1);
    r.Right = std::clamp(r.Right, r.Left + 1, W);
    r.Bottom = std::clamp(r.Bottom, r.Top + 1, H);
    return r;
}

void DrawMasked(TCanvas* Canvas, const TRect& Dest, TBitmap& Piece, bool Masked, TColor Key) {
    Piece.SetTransparent(Masked);
    if (Masked) Piece.SetTransparentColor(Key);
    Canvas->StretchDraw(Dest, &Piece);
}

// ---- SpitDraw pieces ----

enum class TCorner { TopLeft, BottomLeft, TopRight, BottomRight };
enum class TKeep { Start, End, Whole };  // which side of a too large source is kept

// Draws one corner and answers the area it covers.
TRect DrawCorner(TBitmap& Bitmap, TCanvas* Canvas, const TRect& Rect, TCorner Corner, TRect Source,
                 const TRect& Cap, bool Transparent) {
    int w = std::max(0, std::min(Source.Width(), Cap.Width()));
    int h = std::max(0, std::min(Source.Height(), Cap.Height()));
    bool left = Corner == TCorner::TopLeft || Corner == TCorner::BottomLeft;
    bool top = Corner == TCorner::TopLeft || Corner == TCorner::TopRight;
    if (left) Source.Right = Source.Left + w; else Source.Left = Source.Right - w;
    if (top) Source.Bottom = Source.Top + h; else Source.Top = Source.Bottom - h;
    TPoint at{left ? 0 : Rect.Right - w, top ? 0 : Rect.Bottom - h};
    TRect drawn = Bounds(at.x, at.y, w, h);
    if (w > 0 && h > 0) {
        std::unique_ptr<TBitmap> piece = Crop(Bitmap, Source);
        DrawMasked(Canvas, drawn, *piece, Transparent, clFuchsia);
    }
    return drawn;
}

// Draws an edge or the centre stretched into Dest; a too large source is cut across the edge.
void DrawStretched(TBitmap& Bitmap, TCanvas* Canvas, TRect Source, const TRect& Dest, TKeep KeepX, TKeep KeepY) {
    if (Dest.Width() <= 0 || Dest.Height() <= 0) return;
    Source = AtLeastOnePixel(Source, Bitmap.GetWidth(), Bitmap.GetHeight());
    if (KeepX != TKeep::Whole && Dest.Width() < Source.Width()) {
        if (KeepX == TKeep::Start) Source.Right = Source.Left + Dest.Width(); else Source.Left = Source.Right - Dest.Width();
    }
    if (KeepY != TKeep::Whole && Dest.Height() < Source.Height()) {
        if (KeepY == TKeep::Start) Source.Bottom = Source.Top + Dest.Height(); else Source.Top = Source.Bottom - Dest.Height();
    }
    std::unique_ptr<TBitmap> piece = Crop(Bitmap, Source);
    DrawMasked(Canvas, Dest, *piece, true, clFuchsia);
}

// ---- the "User32.dll" answers ----

BOOL WINAPI_GetScrollBarInfo(HWND Window, LONG ObjectId, SCROLLBARINFO* Info) {
    if (Info == nullptr || Info->cbSize < 60) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* source = dynamic_cast<IsuiScrollBarInfoSource*>(FindControl(Window));
    if (source == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return source->GetSystemScrollBarInfo(ObjectId, *Info) ? TRUE : FALSE;
}

BOOL WINAPI_GetComboBoxInfo(HWND Window, COMBOBOXINFO* Info) {
    if (Info == nullptr || Info->cbSize < 52) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* source = dynamic_cast<IsuiComboBoxInfoSource*>(FindControl(Window));
    if (source == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return source->GetSystemComboBoxInfo(*Info) ? TRUE : FALSE;
}

namespace {

constexpr DWORD SlideFrameMs = 15;

// Where a W x H window stands during a slide, after Shown of Total frames: Offset from its own
// place, and Visible, the part of it (window coordinates) still inside its own place. The
// window moves in from, or out towards, the edge the flags name, so only that part shows.
struct TSlideFrame {
    TPoint Offset;
    TRect Visible;
};

TSlideFrame SlideFrameAt(int W, int H, DWORD Flags, int Shown, int Total) {
    const bool hide = (Flags & AW_HIDE) != 0;
    const int k = hide ? Total - Shown : Shown;
    const int dy = H - H * k / Total, dx = W - W * k / Total;  // how far it is still out
    // Showing with AW_VER_NEGATIVE rises from the bottom edge; hiding with AW_VER_POSITIVE
    // sinks below it again.
    if ((Flags & (AW_VER_NEGATIVE | AW_VER_POSITIVE)) != 0) {
        const bool atBottom = ((Flags & AW_VER_NEGATIVE) != 0) != hide;
        return atBottom ? TSlideFrame{{0, dy}, Rect(0, 0, W, H - dy)} : TSlideFrame{{0, -dy}, Rect(0, dy, W, H)};
    }
    if ((Flags & (AW_HOR_NEGATIVE | AW_HOR_POSITIVE)) != 0) {
        const bool atRight = ((Flags & AW_HOR_NEGATIVE) != 0) != hide;
        return atRight ? TSlideFrame{{dx, 0}, Rect(0, 0, W - dx, H)} : TSlideFrame{{-dx, 0}, Rect(dx, 0, W, H)};
    }
    return {{0, 0}, Rect(0, 0, W, H)};
}

// Plays a slide over Time ms, synchronously as the system call does, keeping the messages
// flowing between frames. The window is on the screen from the first frame (also when the
// slide starts from its own OnShow) and moves, clipped to its own place, which it has again
// at the end.
void PlaySlide(TCustomForm* Form, DWORD Time, DWORD Flags) {
    const int total = static_cast<int>(std::max<DWORD>(1, Time / SlideFrameMs));
    const HWND window = Form->GetHandle();
    const TRect place = Form->GetBoundsRect();
    constexpr UINT Quiet = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    for (int i = 1; i <= total; ++i) {
        TSlideFrame f = SlideFrameAt(place.Width(), place.Height(), Flags, i, total);
        Form->SetWindowRegion(CreateRectRgn(f.Visible.Left, f.Visible.Top, f.Visible.Right, f.Visible.Bottom));
        SetWindowPos(window, nullptr, place.Left + f.Offset.x, place.Top + f.Offset.y, 0, 0,
                     Quiet | (i == 1 && (Flags & AW_HIDE) == 0 ? SWP_SHOWWINDOW : 0));
        if (Application != nullptr) Application->ProcessMessages();
        Sleep(Time / static_cast<DWORD>(total));
    }
    SetWindowPos(window, nullptr, place.Left, place.Top, 0, 0, Quiet);
    Form->SetWindowRegion(nullptr);
}

}  // namespace

// As the system call, showing a window on the screen or hiding one that is not fails (a form
// sliding in from its own OnShow is not on the screen yet). A slide plays for Time ms; other
// effects happen at once.
BOOL WINAPI_AnimateWindow(HWND Window, DWORD Time, DWORD Flags) {
    TWinControl* control = FindControl(Window);
    if (control == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    bool hide = (Flags & AW_HIDE) != 0;
    if ((IsWindowVisible(Window) != FALSE) != hide) return FALSE;
    auto* form = dynamic_cast<TCustomForm*>(control);
    try {
        if ((Flags & AW_SLIDE) != 0 && Time > 0 && form != nullptr) PlaySlide(form, Time, Flags);
        if (hide)
            control->SetVisible(false);
        else if (form != nullptr && !form->GetVisible())
            form->Show();
        else
            control->SetVisible(true);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

using TGetScrollBarInfo = BOOL (*)(HWND, LONG, SCROLLBARINFO*);
using TGetComboBoxInfo = BOOL (*)(HWND, COMBOBOXINFO*);
using TAnimateWindow = BOOL (*)(HWND, DWORD, DWORD);

// The unit's run-time bindings; the library is freed when the process ends.
struct TSystemBindings {
    HMODULE library = nullptr;
    TGetScrollBarInfo getScrollBarInfo = nullptr;
    TGetComboBoxInfo getComboBoxInfo = nullptr;
    TAnimateWindow animateWindow = nullptr;
    bool infoUnavailable = false;
    bool animateUnavailable = false;

    ~TSystemBindings() { Reset(); }
    void Reset() {
        if (library != nullptr) FreeLibrary(library);
        library = nullptr;
        getScrollBarInfo = nullptr;
        getComboBoxInfo = nullptr;
        animateWindow = nullptr;
        infoUnavailable = false;
        animateUnavailable = false;
    }
};

TSystemBindings& Bindings() {
    static TSystemBindings bindings;
    return bindings;
}

// Binds Name into Proc; false (and Unavailable set) when the library or the function is missing.
template <class Fn>
bool Bind(Fn& Proc, const char* Name, bool& Unavailable) {
    TSystemBindings& b = Bindings();
    if (Unavailable) return false;
    if (Proc != nullptr) return true;
    if (b.library == nullptr) b.library = LoadLibraryA("User32.dll");
    if (b.library == nullptr) {
        // No system library here: our own answers stand in for it.
        SUIRegisterUser32Module();
        b.library = LoadLibraryA("User32.dll");
    }
    FARPROC p = b.library != nullptr ? GetProcAddress(b.library, Name) : nullptr;
    if (p == nullptr) {
        Unavailable = true;
        return false;
    }
    Proc = reinterpret_cast<Fn>(p);
    return true;
}

}  // namespace

// ---- drawing ----

void DoTrans(TCanvas* Canvas, TWinControl* Control) {
    if (Canvas == nullptr || Control == nullptr) return;
    TWinControl* parent = Control->GetParent();
    if (parent == nullptr) return;
    int level = Canvas->SaveDC();
    TPoint origin = Canvas->GetOrigin();
    Canvas->SetOrigin({origin.x - Control->GetLeft(), origin.y - Control->GetTop()});
    Canvas->IntersectClipRect(Rect(0, 0, parent->GetClientWidth(), parent->GetClientHeight()));
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Canvas), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Canvas), 0);
    Canvas->RestoreDC(level);
}

void TileDraw(TCanvas* Canvas, TPicture* Picture, const TRect& Rect) {
    if (Canvas == nullptr || Picture == nullptr || Picture->GetGraphic() == nullptr) return;
    int w = Picture->GetWidth();
    int h = Picture->GetHeight();
    if (w <= 0 || h <= 0) return;
    for (int x = 0; x < w + Rect.Width(); x += w)
        for (int y = 0; y < h + Rect.Height(); y += h) Canvas->Draw(x, y, Picture->GetGraphic());
}

void SpitDraw(TBitmap* Bitmap, TCanvas* Canvas, const TRect& Rect, bool Transparent) {
    if (Bitmap == nullptr || Canvas == nullptr || Bitmap->GetEmpty()) return;
    TBitmap& b = *Bitmap;
    const int W = b.GetWidth(), H = b.GetHeight();
    const int dw = Rect.Width(), dh = Rect.Height();
    const int w2 = W / 2, h2 = H / 2, dw2 = dw / 2, dh2 = dh / 2;

    TRect TL = DrawCorner(b, Canvas, Rect, TCorner::TopLeft, {0, 0, w2, h2}, {0, 0, dw2, dh2}, Transparent);
    TRect BL = DrawCorner(b, Canvas, Rect, TCorner::BottomLeft, {0, H - h2 + 1, w2, H}, {0, dh - dh2 + 1, dw2, dh},
                          Transparent);
    DrawStretched(b, Canvas, {0, h2, w2, H - h2}, {0, TL.Bottom, TL.Right, BL.Top}, TKeep::Start, TKeep::Whole);
    TRect TR = DrawCorner(b, Canvas, Rect, TCorner::TopRight, {W - w2 + 1, 0, W, h2}, {dw - dw2 + 1, 0, dw, dh2},
                          Transparent);
    TRect BR = DrawCorner(b, Canvas, Rect, TCorner::BottomRight, {W - w2 + 1, H - h2 + 1, W, H},
                          {dw - dw2 + 1, dh - dh2 + 1, dw, dh}, Transparent);
    DrawStretched(b, Canvas, {W - w2 + 1, H - h2, W, h2 + 2}, {TR.Left, TR.Bottom, TR.Right, BR.Top}, TKeep::End,
                  TKeep::Whole);
    DrawStretched(b, Canvas, {w2, 0, W - w2 + 1, h2}, {TL.Right, 0, TR.Left, TL.Bottom}, TKeep::Whole, TKeep::Start);
    DrawStretched(b, Canvas, {w2, h2, W - w2 + 1, H - h2}, {TL.Right, TL.Bottom, TR.Left, BR.Top - 1}, TKeep::Whole,
                  TKeep::Whole);
    DrawStretched(b, Canvas, {w2, H - h2, W - w2 + 1, H}, {TL.Right - 1, BL.Top - 1, BR.Left, BR.Bottom},
                  TKeep::Whole, TKeep::End);
}

void SpitDrawHorizontal(TBitmap* Bitmap, TCanvas* Canvas, const TRect& Rect, bool MaskFromTop, bool UseCornerColor) {
    if (Bitmap == nullptr || Canvas == nullptr || Bitmap->GetEmpty()) return;
    const int third = Bitmap->GetWidth() / 3;
    const int h = Bitmap->GetHeight();
    if (third <= 0) return;
    TColor key = clFuchsia;
    if (UseCornerColor) key = static_cast<TColor>(Bitmap->GetPixelColor(0, MaskFromTop ? 0 : h - 1));
    std::unique_ptr<TBitmap> left = Crop(*Bitmap, Bounds(0, 0, third, h));
    std::unique_ptr<TBitmap> middle = Crop(*Bitmap, Bounds(third, 0, third, h));
    std::unique_ptr<TBitmap> right = Crop(*Bitmap, Bounds(2 * third, 0, third, h));
    DrawMasked(Canvas, Bounds(Rect.Left, Rect.Top, third, h), *left, true, key);
    DrawMasked(Canvas, Bounds(Rect.Right - third, Rect.Top, third, h), *right, true, key);
    TRect stretch{Rect.Left + third, Rect.Top, Rect.Right - third, Rect.Bottom};
    if (stretch.Width() > 0 && stretch.Height() > 0) DrawMasked(Canvas, stretch, *middle, true, key);
}

void SpitBitmap(TBitmap* Source, TBitmap* Target, int Count, int Index) {
    if (Source == nullptr || Target == nullptr) return;
    std::unique_ptr<TBitmap> frame;
    if (Count < 1 || Index < 1 || Index > Count) {
        frame.reset(NewBitmap32(0, 0));
    } else {
        int w = Source->GetWidth() / Count;
        frame = Crop(*Source, Bounds((Index - 1) * w, 0, w, Source->GetHeight()));
    }
    TakePixels(Target, *frame);
}

void RoundPicture(TBitmap* Bitmap) {
    if (Bitmap == nullptr) return;
    const int W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
    std::unique_ptr<TBitmap> t(NewBitmap32(H, W));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) PutPixel(*t, y, W - 1 - x, Bitmap->GetPixelColor(x, y));
    TakePixels(Bitmap, *t);
}

void RoundPicture2(TBitmap* Bitmap) {
    if (Bitmap == nullptr) return;
    const int W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
    std::unique_ptr<TBitmap> t(NewBitmap32(W, H));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) PutPixel(*t, W - 1 - x, H - 1 - y, Bitmap->GetPixelColor(x, y));
    TakePixels(Bitmap, *t);
}

void RoundPicture3(TBitmap* Bitmap) {
    if (Bitmap == nullptr) return;
    const int W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
    std::unique_ptr<TBitmap> t(NewBitmap32(H, W));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) PutPixel(*t, H - 1 - y, x, Bitmap->GetPixelColor(x, y));
    TakePixels(Bitmap, *t);
}

void DrawControlBorder(TWinControl* Control, TCanvas* Canvas, TColor BorderColor, TColor InnerColor, bool DrawInner) {
    if (Control == nullptr || Canvas == nullptr) return;
    TRect r = Rect(0, 0, Control->GetWidth(), Control->GetHeight());
    TBrush saved;
    saved.Assign(Canvas->GetBrush());
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(static_cast<TColor>(ColorToRGB(BorderColor)));
    Canvas->FrameRect(r);
    if (DrawInner) {
        InflateRect(r, -1, -1);
        Canvas->GetBrush()->SetColor(static_cast<TColor>(ColorToRGB(InnerColor)));
        Canvas->FrameRect(r);
    }
    Canvas->GetBrush()->Assign(&saved);
}

// ---- window shapes ----

HRGN CreateBitmapRegion(TBitmap* Bitmap, TColor TransparentColor) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (Bitmap == nullptr) return region;
    const COLORREF key = ColorToRGB(TransparentColor);
    const int W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
    for (int y = 0; y < H; ++y) {
        int x = 0;
        while (x < W) {
            while (x < W && Bitmap->GetPixelColor(x, y) == key) ++x;
            int start = x;
            while (x < W && Bitmap->GetPixelColor(x, y) != key) ++x;
            if (x > start) {
                HRGN run = CreateRectRgn(start, y, x, y + 1);
                CombineRgn(region, region, run, RGN_OR);
                DeleteObject(run);
            }
        }
    }
    return region;
}

void SetBitmapWindow(HWND Window, TBitmap* Bitmap, TColor TransparentColor) {
    HRGN region = CreateBitmapRegion(Bitmap, TransparentColor);
    // On failure SetWindowRgn has deleted the region already; deleting again is harmless.
    if (SetWindowRgn(Window, region, TRUE) == 0) DeleteObject(region);
}

void SetWinControlTransparent(TWinControl* Control) {
    if (Control != nullptr) Control->ControlStyle().Exclude(csOpaque);
}

// ---- geometry and placement ----

bool InRect(int X, int Y, const TRect& Rect) {
    return X >= Rect.Left && X <= Rect.Right && Y >= Rect.Top && Y <= Rect.Bottom;
}

bool InRect(TPoint Point, const TRect& Rect) { return InRect(Point.x, Point.y, Rect); }

TRect GetWorkAreaRect() {
    if (Screen == nullptr) return TRect{};
    TCustomForm* main = Application != nullptr ? Application->GetMainForm() : nullptr;
    return main != nullptr ? Screen->WorkAreaNearest(main->GetBoundsRect()) : Screen->GetWorkAreaRect();
}

void PlaceControl(TControl* Control, TPoint Point) {
    if (Control == nullptr) return;
    Control->SetLeft(Point.x);
    Control->SetTop(Point.y);
}

void PlaceControl(TControl* Control, const TRect& Rect) {
    if (Control == nullptr) return;
    Control->SetLeft(Rect.Left);
    Control->SetTop(Rect.Top);
    Control->SetWidth(Rect.Right - Rect.Left);
    Control->SetHeight(Rect.Bottom - Rect.Top);
}

String PCharToStr(const char* P) { return P == nullptr ? String() : String(P); }

// ---- published properties by name ----

bool IsHasProperty(TComponent* Component, const String& PropertyName) {
    if (!SameText(PropertyName, "UIStyle") && !SameText(PropertyName, "FileTheme")) return false;
    // The skinned controls and the theme manager are what publish the style pair.
    return dynamic_cast<IsuiStyled*>(Component) != nullptr || dynamic_cast<TsuiThemeManager*>(Component) != nullptr;
}

void ContainerApplyUIStyle(TWinControl* Container, TsuiUIStyle UIStyle, TsuiFileTheme* FileTheme) {
    if (Container == nullptr) return;
    for (int i = 0; i < Container->ControlCount(); ++i) {
        TControl* child = Container->Controls(i);
        if (!IsHasProperty(child, "FileTheme") || !IsHasProperty(child, "UIStyle")) continue;
        auto* styled = dynamic_cast<IsuiStyled*>(child);
        styled->SetFileTheme(FileTheme);
        styled->SetUIStyle(UIStyle);
    }
}

bool FormHasFocus(TCustomForm* Form) {
    TCustomForm* main = Application != nullptr ? Application->GetMainForm() : nullptr;
    if (main == nullptr) return Form != nullptr && Form->Active();
    if (main->GetFormStyle() == fsMDIForm && main == Form) return true;
    // The application is active while one of its forms is.
    if (Screen == nullptr || Screen->GetActiveForm() == nullptr) return false;
    if (Form == nullptr || Form == main) return true;
    // No MDI client windows here: an MDI child counts as active when it is the active form.
    return Form->Active();
}

// ---- "User32.dll" ----

bool SUIGetScrollBarInfo(HWND Window, LONG ObjectId, SCROLLBARINFO* Info) {
    TSystemBindings& b = Bindings();
    if (!Bind(b.getScrollBarInfo, "GetScrollBarInfo", b.infoUnavailable)) return false;
    return b.getScrollBarInfo(Window, ObjectId, Info) != 0;
}

bool SUIGetComboBoxInfo(HWND Window, COMBOBOXINFO* Info) {
    TSystemBindings& b = Bindings();
    if (!Bind(b.getComboBoxInfo, "GetComboBoxInfo", b.infoUnavailable)) return false;
    return b.getComboBoxInfo(Window, Info) != 0;
}

bool SUIAnimateWindow(HWND Window, DWORD Time, DWORD Flags) {
    TSystemBindings& b = Bindings();
    if (!Bind(b.animateWindow, "AnimateWindow", b.animateUnavailable)) return false;
    return b.animateWindow(Window, Time, Flags) != 0;
}

bool IsWinXP() {
    static const bool winXP = [] {
        OSVERSIONINFOA info;
        if (!GetVersionExA(&info)) return false;
        return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5 && info.dwMinorVersion != 0;
    }();
    return winXP;
}

void SUIRegisterUser32Module() {
    Win32_RegisterModule("User32.dll",
                         {{"GetScrollBarInfo", reinterpret_cast<FARPROC>(&WINAPI_GetScrollBarInfo)},
                          {"GetComboBoxInfo", reinterpret_cast<FARPROC>(&WINAPI_GetComboBoxInfo)},
                          {"AnimateWindow", reinterpret_cast<FARPROC>(&WINAPI_AnimateWindow)}});
}

void SUIResetSystemBindings() { Bindings().Reset(); }
