// Controls: TControl, TWinControl, TGraphicControl, TCustomControl and the mouse.
//
// Each TWinControl owns one widget (created on first need, see QtControls.h); a TGraphicControl
// has none: its parent paints it into the parent's back buffer and routes the mouse to it in
// z-order. All state lives here; the widget side only translates events into messages.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/Component.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/Types.h"

class TFont;
class TCanvas;
class TBitmap;
class TBasicAction;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TQtWidgetBridge;

using TColor = std::int32_t;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

enum class TShiftStateE { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = Set<TShiftStateE>;
constexpr TShiftStateE ssShift = TShiftStateE::ssShift;
constexpr TShiftStateE ssAlt = TShiftStateE::ssAlt;
constexpr TShiftStateE ssCtrl = TShiftStateE::ssCtrl;
constexpr TShiftStateE ssLeft = TShiftStateE::ssLeft;
constexpr TShiftStateE ssRight = TShiftStateE::ssRight;
constexpr TShiftStateE ssMiddle = TShiftStateE::ssMiddle;
constexpr TShiftStateE ssDouble = TShiftStateE::ssDouble;

enum class TControlStyleE {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
    csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
    csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csParentBackground
};
using TControlStyle = Set<TControlStyleE>;
constexpr TControlStyleE csAcceptsControls = TControlStyleE::csAcceptsControls;
constexpr TControlStyleE csCaptureMouse = TControlStyleE::csCaptureMouse;
constexpr TControlStyleE csClickEvents = TControlStyleE::csClickEvents;
constexpr TControlStyleE csFramed = TControlStyleE::csFramed;
constexpr TControlStyleE csSetCaption = TControlStyleE::csSetCaption;
constexpr TControlStyleE csOpaque = TControlStyleE::csOpaque;
constexpr TControlStyleE csDoubleClicks = TControlStyleE::csDoubleClicks;
constexpr TControlStyleE csFixedWidth = TControlStyleE::csFixedWidth;
constexpr TControlStyleE csFixedHeight = TControlStyleE::csFixedHeight;
constexpr TControlStyleE csReplicatable = TControlStyleE::csReplicatable;
constexpr TControlStyleE csNoStdEvents = TControlStyleE::csNoStdEvents;
constexpr TControlStyleE csParentBackground = TControlStyleE::csParentBackground;

enum class TControlStateE { csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded,
                            csFocusing, csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle };
using TControlState = Set<TControlStateE>;
constexpr TControlStateE csLButtonDown = TControlStateE::csLButtonDown;
constexpr TControlStateE csClicked = TControlStateE::csClicked;
constexpr TControlStateE csFocusing = TControlStateE::csFocusing;
constexpr TControlStateE csCreating = TControlStateE::csCreating;

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// The window styles a control asks for when its window is made (ES_RIGHT, ES_MULTILINE, ...).
struct TCreateParams {
    DWORD Style = 0;
    DWORD ExStyle = 0;
};

// Packs and unpacks the keys of mouse and key messages.
WPARAM ShiftStateToKeys(TShiftState Shift);
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
LPARAM ShiftStateToKeyData(TShiftState Shift);

// Smallest and largest size SetBounds allows; 0 means no limit.
struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
};

class TControl : public TComponent {
    VCL_CLASS(TControl)
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // Parent and z-order.
    TWinControl* GetParent() const { return m_parent; }
    virtual void SetParent(TWinControl* AParent);
    void BringToFront();
    void SendToBack();

    // Bounds, in the parent's client coordinates.
    int GetLeft() const { return m_left; }
    int GetTop() const { return m_top; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
    void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
    void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
    void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect GetBoundsRect() const { return Bounds(m_left, m_top, m_width, m_height); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect GetClientRect() const;
    int GetClientWidth() const { return GetClientRect().Width(); }
    int GetClientHeight() const { return GetClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    TPoint ClientOrigin() const;  // screen position of the client's top-left corner
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    TAlign GetAlign() const { return m_align; }
    void SetAlign(TAlign v);

    // Appearance.
    bool GetVisible() const { return m_visible; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a shown form.
    bool Showing() const;
    bool GetEnabled() const { return m_enabled; }
    virtual void SetEnabled(bool v);
    TColor GetColor() const { return m_color; }
    void SetColor(TColor v);
    bool GetParentColor() const { return m_parentColor; }
    void SetParentColor(bool v);
    TFont* GetFont() const { return m_font; }
    void SetFont(TFont* v);
    bool GetParentFont() const { return m_parentFont; }
    void SetParentFont(bool v);
    const String& GetCaption() const { return m_text; }
    void SetCaption(const String& v) { SetText(v); }
    // What the control shows as its text; a masked edit answers without its blanks.
    virtual String GetText() const { return m_text; }
    // Sends WM_SETTEXT (whose default handling stores the text), then CM_TEXTCHANGED.
    void SetText(const String& v);
    const String& GetHint() const { return m_hint; }
    void SetHint(const String& v) { m_hint = v; }
    bool GetShowHint() const { return m_showHint; }
    void SetShowHint(bool v);
    bool GetParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool v);
    TCursor GetCursor() const { return m_cursor; }
    void SetCursor(TCursor v);
    TPopupMenu* GetPopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TPopupMenu* v);
    // The action the control shows: it takes the action's caption, state and hint now and
    // whenever they change, and a click without an OnClick of its own runs the action.
    TBasicAction* GetAction() const { return m_action; }
    void SetAction(TBasicAction* v);
    // The action's properties reach the control; with CheckDefaults only those the control still
    // has at their defaults (empty caption and hint, enabled, visible).
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);

    TSizeConstraints& Constraints() { return m_constraints; }

    TControlStyle& ControlStyle() { return m_controlStyle; }
    const TControlStyle& ControlStyle() const { return m_controlStyle; }
    TControlState& ControlState() { return m_controlState; }

    // Painting.
    virtual void Invalidate();
    void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }

    // Messages: Perform goes through WindowProc (replaceable), which defaults to WndProc;
    // WndProc hands the message to Dispatch, which overrides extend and pass on.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // Mouse capture: while set, every mouse message goes to this control.
    bool GetMouseCapture() const;
    void SetMouseCapture(bool v);

    bool IsWindowed() const { return m_windowed; }

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;

    virtual void Click();
    virtual void DblClick();

protected:
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Resize();
    virtual void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Called after the bounds changed (before OnResize).
    virtual void BoundsChanged();
    // The VCL's RequestAlign: asks the parent to lay out its aligned children again.
    void RequestAlign();
    // Stores the text without any message: for a control whose text changes from within (typing).
    void StoreText(const String& v) { m_text = v; }
    // The text as WM_SETTEXT stored it.
    const String& StoredText() const { return m_text; }
    // The parent's background colour to paint behind see-through controls.
    void ParentFontChanged();
    void ParentColorChanged();
    bool m_windowed = false;

private:
    void DoMouseButton(TMessage& Message, TMouseButton Button, bool Down, bool Double);
    void FontChanged(TObject* Sender);

    TWinControl* m_parent = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    TAlign m_align = alNone;
    bool m_visible = true;
    bool m_enabled = true;
    TColor m_color;
    bool m_parentColor = true;
    TFont* m_font = nullptr;
    bool m_parentFont = true;
    bool m_fontFromParent = false;
    String m_text;
    String m_hint;
    bool m_showHint = false;
    bool m_parentShowHint = true;
    TCursor m_cursor = crDefault;
    TPopupMenu* m_popupMenu = nullptr;
    TBasicAction* m_action = nullptr;
    TControlStyle m_controlStyle;
    TControlState m_controlState;
    TSizeConstraints m_constraints;

    friend class TWinControl;
    friend class TCustomForm;
};

class TWinControl : public TControl {
    VCL_CLASS(TWinControl)
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // Children: graphic controls first, then windowed ones, each group in z-order (bottom first).
    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    TControl* Controls(int i) const { return m_controls.at(static_cast<size_t>(i)); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;
    // The topmost visible child at a client point (graphic and windowed).
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
    void Broadcast(TMessage& Message);
    void DisableAlign() { ++m_alignDisabled; }
    void EnableAlign();
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    void Realign();

    // The window handle and its widget, created on first need.
    HWND GetHandle();
    bool HandleAllocated() const { return m_hwnd != nullptr; }
    TQtWidgetBridge* Bridge();
    bool HasBridge() const { return m_bridge != nullptr; }

    // Focus.
    bool GetTabStop() const { return m_tabStop; }
    void SetTabStop(bool v);
    int GetTabOrder() const;
    void SetTabOrder(int v);
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;
    void GetTabOrderList(std::vector<TWinControl*>& List);
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    bool GetDoubleBuffered() const { return m_doubleBuffered; }
    void SetDoubleBuffered(bool v) { m_doubleBuffered = v; }

    // Pixels kept free inside the window's edge on every side (CM_BORDERCHANGED when it
    // changes): aligned children and a control's native content sit inside it, and a skin
    // paints its border there. Child coordinates stay the window's.
    int GetBorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int v);
    // The client area less BorderWidth on each side.
    TRect GetInsetClientRect() const;

    void Invalidate() override;
    void Update() override;
    void SetEnabled(bool v) override;

    // Renders this control and everything inside it into Canvas at (X, Y).
    void PaintTo(TCanvas* Canvas, int X, int Y);

    // Where one of the control's own scroll bars lies and what its thumb covers, in client
    // coordinates along the bar (ThumbStart..ThumbEnd), for the skin's external bars.
    struct TScrollBarState {
        bool Visible = false;
        bool Enabled = false;
        TRect BarRect;
        int ThumbStart = 0;
        int ThumbEnd = 0;
    };
    // The control's own bar Bar (SB_HORZ or SB_VERT); false when it has none. Scrolling controls
    // (memo, list box, grid) answer both; every other control has no bar.
    virtual bool GetControlScrollInfo(int Bar, SCROLLINFO& Info) {
        (void)Bar; (void)Info;
        return false;
    }
    virtual bool GetControlScrollBarState(int Bar, TScrollBarState& State) {
        (void)Bar; (void)State;
        return false;
    }

    // Window procedure behind the handle: posted and sent messages arrive here.
    LRESULT HandleWindowMessage(UINT Msg, WPARAM WParam, LPARAM LParam);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    // Entry points of the widget side (QtControls.cpp).
    void WidgetPaint(TBitmap* BackBuffer);
    void WidgetMouse(UINT Msg, WPARAM Keys, TPoint ClientPos);
    void WidgetKeyDown(Word Key, TShiftState Shift, const String& Text);
    void WidgetKeyUp(Word Key, TShiftState Shift);
    void WidgetFocusIn();
    void WidgetResized(int Width, int Height);

protected:
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // Paints the background (WM_ERASEBKGND), then the control and its graphic children (WM_PAINT).
    virtual void PaintWindow(TCanvas* Canvas);
    void PaintControls(TCanvas* Canvas);
    // True when the widget should be created as a top-level window.
    virtual bool IsTopLevel() const { return m_parent == nullptr; }
    // The styles asked for when the window is made; descendants add theirs.
    virtual void CreateParams(TCreateParams& Params);
    // Draws what a toolkit widget inside the window shows (an edit's text) for PaintTo; on
    // screen that widget paints itself.
    virtual void PaintNativeContent(TCanvas* Canvas) { (void)Canvas; }
    virtual void CreateWnd();
    virtual void DestroyWnd();
    void BoundsChanged() override;
    // Pushes visibility, bounds and text to the widget (after a change or on creation).
    void UpdateWidgetVisibility();
    void UpdateWidgetBounds();
    virtual void UpdateWidgetTitle();

    std::vector<TControl*> m_controls;
    std::vector<TWinControl*> m_tabList;

private:
    void InsertIntoZOrder(TControl* AControl);
    bool RouteMouseToChild(TMessage& Message);
    void DoAlign(TAlign AAlign, TRect& Rect);

    HWND m_hwnd = nullptr;
    std::unique_ptr<TQtWidgetBridge> m_bridge;
    bool m_tabStop = false;
    bool m_doubleBuffered = true;
    int m_alignDisabled = 0;
    bool m_aligning = false;
    int m_borderWidth = 0;

    friend class TControl;
    friend class TCustomForm;
};

class TGraphicControl : public TControl {
    VCL_CLASS(TGraphicControl)
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* GetCanvas() const { return m_canvas; }
    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint();
    TCanvas* Canvas() const { return m_canvas; }

private:
    TCanvas* m_canvas;
};

class TCustomControl : public TWinControl {
    VCL_CLASS(TCustomControl)
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* GetCanvas() const { return m_canvas; }
    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint();
    TCanvas* Canvas() const { return m_canvas; }

private:
    TCanvas* m_canvas;
};

// Runs a paint routine with a control's own canvas bound to the surface Onto draws on, offset
// to the control's place and clipped to Width x Height; the canvas lets go of that surface
// however the routine ends.
void PaintOnto(TCanvas* Own, TCanvas* Onto, TPoint Offset, int Width, int Height, const std::function<void()>& Paint);
// The sunken edge of a list, grid or combo box: a shadow line around Rect, a dark one inside.
void DrawSunkenBorder(TCanvas* Canvas, const TRect& Rect);
// Rect filled solid in Color: the background a list-like control paints its items over.
void FillBackground(TCanvas* Canvas, const TRect& Rect, TColor Color);

// The form a control sits on, or nullptr.
TCustomForm* GetParentForm(TControl* Control);
// The control under a screen point (graphic children included), or nullptr.
TControl* FindControlAtScreen(TPoint ScreenPos);
// The scroll state of the control behind Window (GetControlScrollInfo); FALSE for any other
// window or a control without that bar. Info->fMask says which fields to fill.
BOOL GetScrollInfo(HWND Window, int Bar, SCROLLINFO* Info);
// The control that holds the mouse capture, or nullptr.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

class TMouse {
public:
    // Where the pointer is: the last position our windows saw, or the toolkit's cursor.
    TPoint GetCursorPos() const;
    void SetCursorPos(TPoint p);
    // The control the mouse is over, as CM_MOUSEENTER/CM_MOUSELEAVE last reported it.
    TControl* GetHoverControl() const;
    // Called with every mouse message our windows receive.
    void SetTrackedPos(TPoint p) { m_tracked = p; m_hasTracked = true; }

private:
    TPoint m_tracked;
    bool m_hasTracked = false;
};
extern TMouse* Mouse;

// Called with the control under the mouse after every mouse move; sends CM_MOUSELEAVE to the
// control left and CM_MOUSEENTER to the control entered (also while a button is held).
void UpdateMouseControl(TControl* Under);
