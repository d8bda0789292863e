// The skin library's toolbox: see-through backgrounds, picture slicing and stretching, tiling,
// rotation, the flat control border, bitmap-shaped windows, work area and placement, the style
// pair by name, and three calls of "User32.dll" bound at run time. User-interface thread only.
//
// A "device context" of this class library is a TCanvas: WM_ERASEBKGND and WM_PAINT carry the
// canvas to paint on in WParam, so the helpers that draw on a window take that canvas.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/win32/Windows.h"
#include "skin/core/SUIThemes.h"

// ---- records of the bound "User32.dll" calls ----

struct SCROLLBARINFO {
    DWORD cbSize = sizeof(SCROLLBARINFO);
    TRect rcScrollBar;  // screen coordinates
    int dxyLineButton = 0;
    int xyThumbTop = 0;
    int xyThumbBottom = 0;
    int reserved = 0;
    DWORD rgstate[6] = {};
};

struct COMBOBOXINFO {
    DWORD cbSize = sizeof(COMBOBOXINFO);
    TRect rcItem;
    TRect rcButton;
    DWORD stateButton = 0;
    HWND hwndCombo = nullptr;
    HWND hwndItem = nullptr;
    HWND hwndList = nullptr;
};

constexpr LONG OBJID_CLIENT = -4;
constexpr LONG OBJID_VSCROLL = -5;
constexpr LONG OBJID_HSCROLL = -6;
constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x00000001;
constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
constexpr DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;
constexpr DWORD STATE_SYSTEM_OFFSCREEN = 0x00010000;

constexpr DWORD AW_HOR_POSITIVE = 0x00000001;
constexpr DWORD AW_HOR_NEGATIVE = 0x00000002;
constexpr DWORD AW_VER_POSITIVE = 0x00000004;
constexpr DWORD AW_VER_NEGATIVE = 0x00000008;
constexpr DWORD AW_CENTER = 0x00000010;
constexpr DWORD AW_HIDE = 0x00010000;
constexpr DWORD AW_ACTIVATE = 0x00020000;
constexpr DWORD AW_SLIDE = 0x00040000;
constexpr DWORD AW_BLEND = 0x00080000;

constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;

// A control with system scroll bars answers GetScrollBarInfo from its own state through this.
class IsuiScrollBarInfoSource {
public:
    virtual ~IsuiScrollBarInfoSource() = default;
    // ObjectId is OBJID_HSCROLL, OBJID_VSCROLL or OBJID_CLIENT; false when there is no such bar.
    virtual bool GetSystemScrollBarInfo(LONG ObjectId, SCROLLBARINFO& Info) = 0;
};

// A combo box answers GetComboBoxInfo from its own state through this.
class IsuiComboBoxInfoSource {
public:
    virtual ~IsuiComboBoxInfoSource() = default;
    virtual bool GetSystemComboBoxInfo(COMBOBOXINFO& Info) = 0;
};

// Read by the form frame: set while a form is being converted to the skinned look.
extern bool g_SkinKitConverting;

// ---- drawing ----

// Paints what lies behind Control (its parent's background and painting) into Canvas, whose
// origin is Control's top-left corner. Nothing without a parent.
void DoTrans(TCanvas* Canvas, TWinControl* Control);
// Tiles the picture from the canvas origin over Rect's size; an empty picture draws nothing.
void TileDraw(TCanvas* Canvas, TPicture* Picture, const TRect& Rect);
// Draws Bitmap at Rect's size from the canvas origin, corners unscaled, edges and centre
// stretched. Every piece takes at least one source row and column, whatever the parity of the
// bitmap's size. Transparent masks the corners with clFuchsia (edges always are).
void SpitDraw(TBitmap* Bitmap, TCanvas* Canvas, const TRect& Rect, bool Transparent);
// Three-slice horizontal stretch of a picture made of left, middle and right thirds.
void SpitDrawHorizontal(TBitmap* Bitmap, TCanvas* Canvas, const TRect& Rect, bool MaskFromTop,
                        bool UseCornerColor);
// Target := frame Index (1-based, from the left) of Count equal side-by-side frames of Source;
// Source and Target may be the same. A count below 1 or an index outside 1..Count empties Target.
void SpitBitmap(TBitmap* Source, TBitmap* Target, int Count, int Index);
// Rotations in place: a quarter turn counter-clockwise, a half turn, a quarter turn clockwise.
void RoundPicture(TBitmap* Bitmap);
void RoundPicture2(TBitmap* Bitmap);
void RoundPicture3(TBitmap* Bitmap);
// One-pixel frame in BorderColor around the control's whole window, and with DrawInner a second
// one just inside it in InnerColor; Canvas is the surface the control's window paints on
// (the canvas of its WM_PAINT or WM_ERASEBKGND).
void DrawControlBorder(TWinControl* Control, TCanvas* Canvas, TColor BorderColor, TColor InnerColor,
                       bool DrawInner);

// ---- window shapes ----

// The region of Bitmap's pixels that differ from TransparentColor, one rectangle per run of a
// row; the caller owns it. An empty bitmap gives an empty region.
HRGN CreateBitmapRegion(TBitmap* Bitmap, TColor TransparentColor);
// Shapes the window to CreateBitmapRegion; the window takes the region.
void SetBitmapWindow(HWND Window, TBitmap* Bitmap, TColor TransparentColor);
// Lets the parent show through: removes csOpaque. (Windows of this class library have no
// extended style, so WS_EX_TRANSPARENT has nothing to be set on.)
void SetWinControlTransparent(TWinControl* Control);

// ---- geometry and placement ----

// All four sides inclusive.
bool InRect(int X, int Y, const TRect& Rect);
bool InRect(TPoint Point, const TRect& Rect);
// The work area of the screen the program runs on.
TRect GetWorkAreaRect();
void PlaceControl(TControl* Control, TPoint Point);
void PlaceControl(TControl* Control, const TRect& Rect);
String PCharToStr(const char* P);

// ---- published properties by name ----

// True when the component publishes a property of that name (without regard to case).
// The properties asked about by name are the style pair "UIStyle" and "FileTheme", published by
// the skinned controls (IsuiStyled) and by the theme manager.
bool IsHasProperty(TComponent* Component, const String& PropertyName);
// Gives every direct child that publishes both "FileTheme" and "UIStyle" the theme, then the
// look; grandchildren are left alone.
void ContainerApplyUIStyle(TWinControl* Container, TsuiUIStyle UIStyle, TsuiFileTheme* FileTheme);

// Whether the form counts as active for drawing its title bar.
bool FormHasFocus(TCustomForm* Form);

// ---- "User32.dll", bound at run time ----

// Each answers false when the call cannot be bound (the scroll-bar and combo-box bindings share
// one unavailable flag) and never raises.
bool SUIGetScrollBarInfo(HWND Window, LONG ObjectId, SCROLLBARINFO* Info);
bool SUIGetComboBoxInfo(HWND Window, COMBOBOXINFO* Info);
bool SUIAnimateWindow(HWND Window, DWORD Time, DWORD Flags);
// True on an NT-family system of version 5.1 or later (minor version other than 0).
bool IsWinXP();

// Registers this library's answers as the in-process module "User32.dll": GetScrollBarInfo and
// GetComboBoxInfo ask the control behind the window (IsuiScrollBarInfoSource,
// IsuiComboBoxInfoSource; FALSE for any other window); AnimateWindow shows or hides the window,
// playing an AW_SLIDE for the given time before it returns, other effects at once. The first bound call does this by itself when no
// "User32.dll" can be loaded.
void SUIRegisterUser32Module();
// Forgets the bindings and both unavailable flags and frees the library (for tests that
// install another "User32.dll").
void SUIResetSystemBindings();
