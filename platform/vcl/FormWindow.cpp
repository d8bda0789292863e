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
    if (!IsTopLevel()) return {0, 0, 0, 0};
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

void TCustomForm::PaintWindowTo(TBitmap* Out, TColor BackGround) {
    const int w = GetWidth(), h = GetHeight();
    Out->SetPixelFormat(pf24bit);
    Out->SetSize(w, h);
    TCanvas* out = Out->GetCanvas();
    TCanvas* window = GetWindowCanvas();
    window->GetBrush()->SetColor(clBtnFace);
    window->FillRect(Rect(0, 0, w, h));
    Perform(WM_NCPAINT, 1, 0);
    out->Draw(0, 0, m_windowBuffer.get());
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
        // A maximized window covers the work area (an MDI child: its parent's client).
        TRect area = GetParent() != nullptr ? GetParent()->GetClientRect()
                                            : (Screen != nullptr ? Screen->GetWorkAreaRect() : GetBoundsRect());
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

int ReleaseDC(HWND, TCanvas*) { return 1; }

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
