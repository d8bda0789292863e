// Forms, the application object and the screen.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Interaction.h"

class TMainMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
                 poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TTileMode { tbHorizontal, tbVertical };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// Width of the window frame around the client area, per border style (left, top, right, bottom).
TRect FormFrameMetrics(TFormBorderStyle Style);

class TCustomForm : public TWinControl {
    VCL_CLASS(TCustomForm)
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    TFormBorderStyle GetBorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TFormStyle GetFormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle v);
    TPosition GetPosition() const { return m_position; }
    void SetPosition(TPosition v) { m_position = v; }
    TWindowState GetWindowState() const { return m_windowState; }
    void SetWindowState(TWindowState v);
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    bool GetAlphaBlend() const { return m_alphaBlend; }
    void SetAlphaBlend(bool v);
    int GetAlphaBlendValue() const { return m_alphaBlendValue; }
    void SetAlphaBlendValue(int v);
    bool GetKeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool v) { m_keyPreview = v; }
    TMainMenu* GetMenu() const { return m_menu; }
    void SetMenu(TMainMenu* v) { m_menu = v; }

    TRect GetClientRect() const override;

    void Show();
    void Hide() { SetVisible(false); }
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the current event has returned.
    void Release();
    TModalResult ShowModal();
    TModalResult GetModalResult() const { return m_modalResult; }
    // Wakes a modal loop that is waiting for events, so it sees the result at once.
    void SetModalResult(TModalResult v);
    bool IsModal() const { return m_modal; }
    bool Active() const;

    TWinControl* GetActiveControl() const { return m_activeControl; }
    void SetActiveControl(TWinControl* v);
    // Moves the focus, sending CM_EXIT and CM_ENTER up the chains and CM_FOCUSCHANGED to the form.
    void SetFocusedControl(TWinControl* Control);

    // Window region in window coordinates (the frame's top-left is 0, 0; for a form without a
    // frame that is the client's); nullptr clears it. The form takes the region.
    void SetWindowRegion(HRGN Region);

    // ---- the window frame (FormWindow.cpp) ----
    // The Win32 style bits of the window (GetWindowLong(GWL_STYLE)): the border style's bits,
    // WS_CAPTION unless it was taken away, WS_MAXIMIZE and WS_VISIBLE.
    LONG GetWindowStyle() const;
    // Only WS_CAPTION is taken from the new bits; it takes effect once the frame is refreshed.
    void SetWindowStyle(LONG Style);
    // The frame's width on each side. Without WS_CAPTION the top is as wide as the sides, and
    // the frame is no longer the window system's: the program paints it on WM_NCPAINT, on the
    // canvas GetWindowDC gives. An MDI child has a frame too, which no window system draws.
    TRect FrameMetrics() const;
    bool HasCaption() const { return !m_captionRemoved; }
    // The frame is ours to paint (and is shown from what WM_NCPAINT paints).
    bool ProgramPaintsFrame() const;
    // SetWindowPos with SWP_FRAMECHANGED: applies the style, keeps the outer size, paints the
    // frame (WM_NCPAINT).
    void FrameChanged();
    // A canvas over the whole window, frame included (origin at the window's top-left).
    TCanvas* GetWindowCanvas();
    // Renders the whole window (frame from WM_NCPAINT, then the client) into Out, pixels
    // outside the window region in clNone's stead left as BackGround.
    void PaintWindowTo(TBitmap* Out, TColor BackGround = 0xFFFFFF);
    // Paints the frame afresh (WM_NCPAINT) and draws the whole-window canvas at X, Y.
    void PaintFrameTo(TCanvas* Canvas, int X, int Y);
    // Someone painted on the whole-window canvas (ReleaseDC): the screen shows it.
    void WindowCanvasReleased();
    // A visible form's window goes on the screen at once, also from its own OnShow, where it
    // would otherwise appear only once OnShow has returned (SetWindowPos with SWP_SHOWWINDOW).
    void PutOnScreen();

    // ---- MDI (MDIForms.cpp) ----
    // The client window of an fsMDIForm form (it holds the fsMDIChild forms); else nullptr.
    TWinControl* GetClientWindow() const { return m_mdiClient; }
    HWND ClientHandle();
    TTileMode GetTileMode() const { return m_tileMode; }
    void SetTileMode(TTileMode v) { m_tileMode = v; }
    int MDIChildCount() const;
    // Frontmost first (0 is the active child); nullptr for an index out of range.
    TCustomForm* MDIChildren(int i) const;
    TCustomForm* ActiveMDIChild() const;
    void Tile();
    void Cascade();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;

    void Dispatch(TMessage& Message) override;
    // Called by the code that builds the form (our stand-in for stored forms) once it is done:
    // runs Loaded and OnCreate.
    void AfterConstruction();
    // Runs OnDestroy once. A form whose handler reaches members of its own class calls this
    // first in its destructor, while the whole object still stands; the base destructor then
    // finds nothing left to run.
    void DoDestroy();

    // Widget side: the person asked to close the window (title-bar button).
    bool WidgetCloseRequested();
    void WidgetActivated(bool Active);
    // The window manager moved the window (client origin in screen coordinates).
    void WidgetMoved(int ClientLeft, int ClientTop);
    // The painted frame is exposed: Out (the window's size) receives it.
    void WidgetPaintFrame(TBitmap* Out);
    // A windowed control inside is leaving: the focus must not point at it any more.
    void ControlDestroying(TWinControl* Control);

protected:
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    // An MDI child lives inside its parent's client window.
    bool IsTopLevel() const override { return m_formStyle != fsMDIChild || GetParent() == nullptr; }
    void CreateWnd() override;
    void UpdateWidgetTitle() override;
    void PaintWindow(TCanvas* Canvas) override;
    void AdjustAutoSize();
    void BoundsChanged() override;
    // A popup window (a dropped list) lies above every window, modal ones included, holds the
    // pointer and the keyboard while it shows, and never becomes the active form.
    void SetPopupWindow(bool v);
    bool IsPopupWindow() const { return m_popupWindow; }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void PlaceOnScreen();
    TModalResult RunModalLoop();
    bool HandleDialogKey(TMessage& Message);
    void ApplyWindowStyle();
    void ApplyPaintedFrame();
    void PaintChildCaption(TCanvas* Window);
    void ApplyMaximized(TWindowState Old);
    void SendSizeMessage();
    void EnterMDIStyle(TFormStyle Old);

    bool m_captionRemoved = false;
    bool m_captionRemovalPending = false;  // the style asks for no caption (applied on FrameChanged)
    std::unique_ptr<TBitmap> m_windowBuffer;
    bool m_paintingFrame = false;  // inside WM_NCPAINT for the screen
    TRect m_restoreBounds;
    TWinControl* m_mdiClient = nullptr;
    TTileMode m_tileMode = tbHorizontal;
    int m_lastSizeW = -1;
    int m_lastSizeH = -1;

    TFormBorderStyle m_borderStyle = bsSizeable;
    TFormStyle m_formStyle = fsNormal;
    TPosition m_position = poDesigned;
    TWindowState m_windowState = wsNormal;
    bool m_autoSize = false;
    bool m_alphaBlend = false;
    int m_alphaBlendValue = 255;
    bool m_keyPreview = false;
    TMainMenu* m_menu = nullptr;
    TModalResult m_modalResult = mrNone;
    bool m_modal = false;
    bool m_placed = false;
    TWinControl* m_activeControl = nullptr;
    bool m_closing = false;
    bool m_movingFromWidget = false;
    bool m_popupWindow = false;
};

class TForm : public TCustomForm {
    VCL_CLASS(TForm)
    using TCustomForm::TCustomForm;
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
    VCL_CLASS(TApplication)
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize();
    const String& GetTitle() const { return m_title; }
    void SetTitle(const String& v) { m_title = v; }
    // The application's icon: empty until the program gives it one (a copy is kept).
    TBitmap* GetIcon() const { return m_icon.get(); }
    void SetIcon(TBitmap* Icon);
    String ExeName() const;
    TCustomForm* GetMainForm() const { return m_mainForm; }
    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    void CreateForm(T*& Reference) {
        Reference = new T(this);
        RegisterCreatedForm(Reference);
    }
    void RegisterCreatedForm(TCustomForm* Form);

    // Runs the message loop until Terminate or the main form closes.
    void Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }
    void Minimize();
    void Restore();
    // Delivers every pending message and event, then returns.
    void ProcessMessages();
    // Waits for at least one message or event and delivers it.
    void HandleMessage();

    // An exception escaping an event handler comes here: OnException, or a message box.
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    TExceptionEvent OnException;

    // Runs Fn with the exception barrier (nothing unwinds into the widget toolkit).
    template <class Fn>
    void Guard(TObject* Sender, Fn&& fn) {
        try {
            fn();
        } catch (...) {
            HandleException(Sender);
        }
    }

    // Runs Call from the message loop, after the current event has returned.
    void QueueCall(std::function<void()> Call);

    // Forms to free once the current event returns (TCustomForm::Release and caFree).
    void QueueRelease(TCustomForm* Form);
    void FlushReleases();
    void FormDestroying(TCustomForm* Form);

private:
    String m_title;
    std::unique_ptr<TBitmap> m_icon;
    TCustomForm* m_mainForm = nullptr;
    bool m_terminated = false;
    bool m_running = false;
    std::vector<TCustomForm*> m_releases;
};

// The monitor a window belongs to: the one it overlaps most, else the closest one (as
// MONITOR_DEFAULTTONEAREST); -1 without monitors. Ties go to the earlier monitor.
int NearestMonitor(const std::vector<TRect>& MonitorBounds, const TRect& Window);

class TScreen : public TComponent {
    VCL_CLASS(TScreen)
    using TComponent::TComponent;
    int GetWidth() const;
    int GetHeight() const;
    // The primary monitor's work area.
    TRect GetWorkAreaRect() const;
    // The work area of the monitor nearest to Window (screen coordinates).
    TRect WorkAreaNearest(const TRect& Window) const;
    int GetWorkAreaLeft() const { return GetWorkAreaRect().Left; }
    int GetWorkAreaTop() const { return GetWorkAreaRect().Top; }
    int GetWorkAreaWidth() const { return GetWorkAreaRect().Width(); }
    int GetWorkAreaHeight() const { return GetWorkAreaRect().Height(); }
    int FormCount() const { return static_cast<int>(m_forms.size()); }
    TCustomForm* Forms(int i) const { return m_forms.at(static_cast<size_t>(i)); }
    TCustomForm* GetActiveForm() const;
    TCursor GetCursor() const;
    void SetCursor(TCursor v);
    int PixelsPerInch() const { return 96; }

    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    // Brings a shown or activated form to the front of the stacking order.
    void FormShown(TCustomForm* Form);
    // The frontmost visible form whose client area holds a screen point.
    TCustomForm* FormAtPoint(TPoint P) const;

private:
    std::vector<TCustomForm*> m_forms;
    std::vector<TCustomForm*> m_zOrder;  // front first
    TCursor m_cursor = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;

// Window regions (GDI style), applied to a form with SetWindowRgn.
HRGN CreateRectRgn(int X1, int Y1, int X2, int Y2);
HRGN CreateRoundRectRgn(int X1, int Y1, int X2, int Y2, int W, int H);
HRGN CreateEllipticRgn(int X1, int Y1, int X2, int Y2);
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int ERROR_REGION = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3;
int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode);
BOOL OffsetRgn(HRGN Rgn, int X, int Y);
BOOL PtInRegion(HRGN Rgn, int X, int Y);
BOOL DeleteObject(HRGN Rgn);
// The window takes ownership of the region, as in Win32.
int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw);
// Copies the window's region into hRgn (window coordinates); ERROR_REGION when the window has
// none, else the region's complexity.
int GetWindowRgn(HWND hWnd, HRGN hRgn);
// The control behind one of our window handles, or nullptr.
TWinControl* FindControl(HWND Handle);
