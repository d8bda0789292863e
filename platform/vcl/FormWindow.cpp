#include "platform/vcl/FormWindow.h"

#include <algorithm>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/QtControls.h"

// ---- the form's side ----------------------------------------------------------------------------

LONG TCustomForm::GetWindowStyle() const {
    LONG style = 0;
    switch (m_borderStyle) {
        case bsNone: style = WS_POPUP; break;
        case bsSingle:
        case bsToolWindow: style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX; break;
        case bsDialog: style = WS_CAPTION | WS_SYSMENU | WS_DLGFRAME; break;
        case bsSizeable:
        case bsSizeToolWin: style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX; break;
    }
    if (m_captionRemovalPending) style &= ~WS_CAPTION;
    if (m_formStyle == fsMDIChild) style |= WS_CHILD;
    if (m_windowState == wsMaximized) style |= WS_MAXIMIZE;
    if (m_windowState == wsMinimized) style |= WS_MINIMIZE;
    if (GetVisible()) style |= WS_VISIBLE;
    return style;
}

void TCustomForm::SetWindowStyle(LONG Style) {
    // Win32 keeps the new bits at once but lays out the frame only when told to.
    m_captionRemovalPending = (Style & WS_CAPTION) == 0 && m_borderStyle != bsNone;
}

TRect TCustomForm::FrameMetrics() const {
    TRect f = FormFrameMetrics(m_borderStyle);
    if (m_captionRemoved) f.Top = f.Left;
    return f;
}

void TCustomForm::FrameChanged() {
    const bool wasRemoved = m_captionRemoved;
    m_captionRemoved = m_captionRemovalPending;
    if (wasRemoved != m_captionRemoved) {
        ApplyWindowStyle();
        // The outer size stays; the client grows or shrinks by the caption.
        UpdateWidgetBounds();
        Realign();
        SendSizeMessage();
    }
    Perform(WM_NCPAINT, 1, 0);
}

TCanvas* TCustomForm::GetWindowCanvas() {
    const int w = std::max(GetWidth(), 1), h = std::max(GetHeight(), 1);
    if (m_windowBuffer == nullptr) m_windowBuffer = std::make_unique<TBitmap>(w, h, pf24bit);
    else if (m_windowBuffer->GetWidth() != w || m_windowBuffer->GetHeight() != h) m_windowBuffer->SetSize(w, h);
    return m_windowBuffer->GetCanvas();
}

void TCustomForm::PaintFrameTo(TCanvas* Canvas, int X, int Y) {
    TCanvas* window = GetWindowCanvas();
    window->GetBrush()->SetColor(clBtnFace);
    window->FillRect(Rect(0, 0, GetWidth(), GetHeight()));
    PaintChildCaption(window);
    const bool wasPainting = m_paintingFrame;
    m_paintingFrame = true;
    Perform(WM_NCPAINT, 1, 0);
    m_paintingFrame = wasPainting;
    Canvas->Draw(X, Y, m_windowBuffer.get());
}

void TCustomForm::PaintChildCaption(TCanvas* Window) {
    // A captioned MDI child has no window system to draw its caption bar.
    if (IsTopLevel() || m_captionRemoved) return;
    const TRect f = FrameMetrics();
    if (f.Top <= f.Left) return;
    const bool active = GetParent() != nullptr && GetParent()->Perform(WM_MDIGETACTIVE, 0, 0) ==
                                                      static_cast<LRESULT>(reinterpret_cast<WPARAM>(GetHandle()));
    const TRect bar = Rect(f.Left, f.Left, GetWidth() - f.Right, f.Top - 1);
    Window->GetBrush()->SetColor(active ? clActiveCaption : clInactiveCaption);
    Window->FillRect(bar);
    Window->GetFont()->SetColor(active ? clCaptionText : clInactiveCaptionText);
    Window->GetBrush()->SetStyle(bsClear);
    Window->TextOut(bar.Left + 4, bar.Top + (bar.Height() - Window->TextHeight("Wg")) / 2, GetText());
    Window->GetBrush()->SetStyle(bsSolid);
}

void TCustomForm::WidgetPaintFrame(TBitmap* Out) { PaintFrameTo(Out->GetCanvas(), 0, 0); }

void TCustomForm::WindowCanvasReleased() {
    if (!m_paintingFrame && HasBridge()) Bridge()->UpdateFrame();
}

void TCustomForm::PaintWindowTo(TBitmap* Out, TColor BackGround) {
    const int w = GetWidth(), h = GetHeight();
    Out->SetPixelFormat(pf24bit);
    Out->SetSize(w, h);
    TCanvas* out = Out->GetCanvas();
    PaintFrameTo(out, 0, 0);
    TRect f = FrameMetrics();
    PaintTo(out, f.Left, f.Top);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (HandleAllocated() && GetWindowRgn(GetHandle(), region) != ERROR_REGION) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!PtInRegion(region, x, y)) out->SetPixels(x, y, BackGround);
    }
    DeleteObject(region);
}

void TCustomForm::SendSizeMessage() {
    const int cw = GetClientWidth(), ch = GetClientHeight();
    if (cw == m_lastSizeW && ch == m_lastSizeH) return;
    m_lastSizeW = cw;
    m_lastSizeH = ch;
    WPARAM kind = m_windowState == wsMaximized ? SIZE_MAXIMIZED : m_windowState == wsMinimized ? SIZE_MINIMIZED : SIZE_RESTORED;
    Perform(WM_SIZE, kind, MAKELPARAM(cw, ch));
}

void TCustomForm::ApplyMaximized(TWindowState Old) {
    if (m_windowState == wsMaximized) {
        if (Old == wsNormal) m_restoreBounds = GetBoundsRect();
        // A maximized window covers the work area; an MDI child covers its parent's client
        // with its frame outside it.
        TRect area = Screen != nullptr ? Screen->GetWorkAreaRect() : GetBoundsRect();
        if (GetParent() != nullptr) {
            const TRect f = FrameMetrics();
            area = GetParent()->GetClientRect();
            area = Rect(area.Left - f.Left, area.Top - f.Top, area.Right + f.Right, area.Bottom + f.Bottom);
        }
        m_lastSizeW = -1;
        SetBoundsRect(area);
    } else if (Old == wsMaximized && m_windowState == wsNormal && !m_restoreBounds.IsEmpty()) {
        m_lastSizeW = -1;
        SetBoundsRect(m_restoreBounds);
    }
    m_lastSizeW = -1;
    SendSizeMessage();
}

// ---- the Win32 side -----------------------------------------------------------------------------

namespace {

TCustomForm* FormOf(HWND Window) { return dynamic_cast<TCustomForm*>(FindControl(Window)); }

}  // namespace

LONG GetWindowLong(HWND Window, int Index) {
    TCustomForm* form = FormOf(Window);
    if (form == nullptr || Index != GWL_STYLE) return 0;
    return form->GetWindowStyle();
}

LONG SetWindowLong(HWND Window, int Index, LONG Value) {
    TCustomForm* form = FormOf(Window);
    if (form == nullptr || Index != GWL_STYLE) return 0;
    LONG old = form->GetWindowStyle();
    form->SetWindowStyle(Value);
    return old;
}

BOOL SetWindowPos(HWND Window, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags) {
    TWinControl* control = FindControl(Window);
    if (control == nullptr) return FALSE;
    TRect b = control->GetBoundsRect();
    if ((Flags & SWP_NOMOVE) == 0) b = Bounds(X, Y, b.Width(), b.Height());
    if ((Flags & SWP_NOSIZE) == 0) b = Bounds(b.Left, b.Top, CX, CY);
    if ((Flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) control->SetBoundsRect(b);
    if ((Flags & SWP_NOZORDER) == 0 && (InsertAfter == HWND_TOP || InsertAfter == HWND_TOPMOST))
        control->BringToFront();
    if ((Flags & SWP_SHOWWINDOW) != 0) control->SetVisible(true);
    if ((Flags & SWP_HIDEWINDOW) != 0) control->SetVisible(false);
    if ((Flags & SWP_FRAMECHANGED) != 0)
        if (auto* form = dynamic_cast<TCustomForm*>(control)) form->FrameChanged();
    return TRUE;
}

TCanvas* GetWindowDC(HWND Window) {
    TCustomForm* form = FormOf(Window);
    return form != nullptr ? form->GetWindowCanvas() : nullptr;
}

int ReleaseDC(HWND Window, TCanvas*) {
    if (TCustomForm* form = FormOf(Window)) form->WindowCanvasReleased();
    return 1;
}

BOOL GetWindowRect(HWND Window, TRect* Rect) {
    TWinControl* control = FindControl(Window);
    if (control == nullptr || Rect == nullptr) return FALSE;
    TPoint origin = control->GetParent() != nullptr ? control->GetParent()->ClientToScreen({control->GetLeft(), control->GetTop()})
                                                   : TPoint{control->GetLeft(), control->GetTop()};
    *Rect = Bounds(origin.x, origin.y, control->GetWidth(), control->GetHeight());
    return TRUE;
}

BOOL IsWindowVisible(HWND Window) {
    TWinControl* control = FindControl(Window);
    return control != nullptr && control->HasBridge() && control->Bridge()->IsShown() ? TRUE : FALSE;
}
