#include "platform/vcl/ExtCtrls.h"

#include <algorithm>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/SysUtils.h"

// ---- timer ------------------------------------------------------------------------------------

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
    Destroying();
    m_ticker.reset();
}

void TTimer::SetEnabled(bool v) {
    if (v == m_enabled) return;
    m_enabled = v;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal v) {
    if (v == m_interval) return;
    m_interval = v;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

// The handler is looked up on every tick, so assigning OnTimer later needs no restart.
void TTimer::UpdateTimer() {
    if (m_ticker) m_ticker->Stop();
    bool run = m_enabled && m_interval > 0 && !GetComponentState().Contains(csLoading) &&
               !GetComponentState().Contains(csDestroying);
    if (!run) return;
    if (!m_ticker) m_ticker = CreateTimerTicker([this] { Timer(); });
    m_ticker->Start(static_cast<int>(std::min<Cardinal>(m_interval, 0x7FFFFFFF)));
}

void TTimer::Timer() {
    // A copy, and nothing touches this object afterwards: the handler may free the timer.
    TNotifyEvent handler = OnTimer;
    if (!handler) return;
    if (Application != nullptr) Application->Guard(this, [&] { handler(this); });
    else handler(this);
}

// ---- Frame3D ----------------------------------------------------------------------------------

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
    TPen* pen = Canvas->GetPen();
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    pen->SetMode(pmCopy);
    --Rect.Bottom;
    --Rect.Right;
    for (; Width > 0; --Width) {
        pen->SetColor(TopColor);
        Canvas->Polyline({{Rect.Left, Rect.Bottom}, {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}});
        pen->SetColor(BottomColor);
        Canvas->Polyline({{Rect.Right, Rect.Top}, {Rect.Right, Rect.Bottom}, {Rect.Left - 1, Rect.Bottom}});
        InflateRect(Rect, -1, -1);
    }
    ++Rect.Bottom;
    ++Rect.Right;
}

// ---- image ------------------------------------------------------------------------------------

TRect ImageDestRect(int PicW, int PicH, int ClientW, int ClientH, bool Stretch, bool Proportional, bool Center) {
    int w = PicW, h = PicH;
    if (Stretch || (Proportional && (w > ClientW || h > ClientH))) {
        if (Proportional && w > 0 && h > 0) {
            double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = ClientW;
                h = static_cast<int>(ClientW / aspect);
                if (h > ClientH) {
                    h = ClientH;
                    w = static_cast<int>(ClientH * aspect);
                }
            } else {
                h = ClientH;
                w = static_cast<int>(ClientH * aspect);
                if (w > ClientW) {
                    w = ClientW;
                    h = static_cast<int>(ClientW / aspect);
                }
            }
        } else {
            w = ClientW;
            h = ClientH;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (Center) OffsetRect(r, (ClientW - w) / 2, (ClientH - h) / 2);
    return r;
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), m_picture(new TPicture) {
    m_picture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
    SetBounds(GetLeft(), GetTop(), 105, 105);
}

TImage::~TImage() {
    Destroying();
    m_picture->OnChange = nullptr;
    delete m_picture;
}

void TImage::SetPicture(TPicture* Value) { m_picture->Assign(Value); }

TCanvas* TImage::GetCanvas() {
    if (m_picture->GetGraphic() == nullptr) {
        TBitmap bitmap(std::max(GetWidth(), 0), std::max(GetHeight(), 0), pf24bit);
        if (!bitmap.GetEmpty()) {
            bitmap.GetCanvas()->GetBrush()->SetColor(clWhite);
            bitmap.GetCanvas()->FillRect(Rect(0, 0, bitmap.GetWidth(), bitmap.GetHeight()));
        }
        m_picture->SetGraphic(&bitmap);
    }
    auto* bitmap = dynamic_cast<TBitmap*>(m_picture->GetGraphic());
    if (bitmap == nullptr) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    return bitmap->GetCanvas();
}

void TImage::SetStretch(bool v) {
    if (v == m_stretch) return;
    m_stretch = v;
    Invalidate();
}

void TImage::SetCenter(bool v) {
    if (v == m_center) return;
    m_center = v;
    Invalidate();
}

void TImage::SetProportional(bool v) {
    if (v == m_proportional) return;
    m_proportional = v;
    Invalidate();
}

void TImage::SetTransparent(bool v) {
    if (v == m_transparent) return;
    m_transparent = v;
    PictureChanged(this);
}

void TImage::SetAutoSize(bool v) {
    if (v == m_autoSize) return;
    m_autoSize = v;
    AdjustSize();
}

void TImage::AdjustSize() {
    if (!m_autoSize) return;
    int w = m_picture->GetWidth(), h = m_picture->GetHeight();
    if (w > 0 && h > 0) SetBounds(GetLeft(), GetTop(), w, h);
}

void TImage::PictureChanged(TObject*) {
    // Passing Transparent on changes the graphic, which reports back here.
    if (m_changing) return;
    m_changing = true;
    try {
        TGraphic* g = m_picture->GetGraphic();
        if (g != nullptr && g->GetTransparent() != m_transparent) g->SetTransparent(m_transparent);
        AdjustSize();
    } catch (...) {
        m_changing = false;
        throw;
    }
    m_changing = false;
    Invalidate();
}

TRect TImage::DestRect() const {
    return ImageDestRect(m_picture->GetWidth(), m_picture->GetHeight(), GetClientWidth(), GetClientHeight(),
                         m_stretch, m_proportional, m_center);
}

void TImage::Paint() {
    TGraphic* g = m_picture->GetGraphic();
    if (g == nullptr || g->GetEmpty()) return;
    Canvas()->StretchDraw(DestRect(), g);
}

// ---- panel ------------------------------------------------------------------------------------

namespace {

void BevelColors(TBevelCut bevel, TColor face, TColor& top, TColor& bottom) {
    switch (bevel) {
    case bvLowered: top = clBtnShadow; bottom = clBtnHighlight; break;
    case bvRaised: top = clBtnHighlight; bottom = clBtnShadow; break;
    default: top = bottom = face; break;
    }
}

}  // namespace

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle() << csAcceptsControls << csCaptureMouse << csClickEvents << csSetCaption << csOpaque
                   << csDoubleClicks << csReplicatable;
    SetColor(clBtnFace);
    SetBounds(GetLeft(), GetTop(), 185, 41);
}

TPanel::~TPanel() = default;

void TPanel::Changed() {
    Realign();
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut v) { if (v != m_bevelInner) { m_bevelInner = v; Changed(); } }
void TPanel::SetBevelOuter(TBevelCut v) { if (v != m_bevelOuter) { m_bevelOuter = v; Changed(); } }
void TPanel::SetBevelWidth(TBevelWidth v) { v = std::max(v, 1); if (v != m_bevelWidth) { m_bevelWidth = v; Changed(); } }
void TPanel::SetBorderStyle(TBorderStyle v) { if (v != m_borderStyle) { m_borderStyle = v; Changed(); } }
void TPanel::SetAlignment(TAlignment v) { if (v != m_alignment) { m_alignment = v; Invalidate(); } }
void TPanel::SetParentBackground(bool v) { if (v != m_parentBackground) { m_parentBackground = v; Invalidate(); } }

int TPanel::FrameWidth() const {
    int w = GetBorderWidth();
    if (m_borderStyle != bsNone) ++w;
    if (m_bevelOuter != bvNone) w += m_bevelWidth;
    if (m_bevelInner != bvNone) w += m_bevelWidth;
    return w;
}

TRect TPanel::InnerRect() const {
    TRect r = GetClientRect();
    int f = FrameWidth();
    InflateRect(r, -f, -f);
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

void TPanel::AlignControls(TControl* AControl, TRect& Rect) {
    int f = FrameWidth();
    InflateRect(Rect, -f, -f);
    TCustomControl::AlignControls(AControl, Rect);
}

void TPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = GetClientRect();
    TColor top = clBtnHighlight, bottom = clBtnShadow;
    if (m_borderStyle != bsNone) Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
    if (m_bevelOuter != bvNone) {
        BevelColors(m_bevelOuter, GetColor(), top, bottom);
        Frame3D(c, r, top, bottom, m_bevelWidth);
    }
    Frame3D(c, r, GetColor(), GetColor(), GetBorderWidth());
    if (m_bevelInner != bvNone) {
        BevelColors(m_bevelInner, GetColor(), top, bottom);
        Frame3D(c, r, top, bottom, m_bevelWidth);
    }
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(r);
    if (GetCaption().empty()) return;
    c->GetBrush()->SetStyle(bsClear);
    c->SetFont(GetFont());
    int textHeight = c->TextHeight("W");
    r.Top = (r.Top + r.Bottom - textHeight) / 2;
    r.Bottom = r.Top + textHeight;
    UINT align = m_alignment == taCenter ? DT_CENTER : m_alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    c->DrawText(GetCaption(), r, DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | align);
}

// ---- paint box and bevel ----------------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle() << csReplicatable;
    SetBounds(GetLeft(), GetTop(), 105, 105);
}

void TPaintBox::Paint() {
    TNotifyEvent handler = OnPaint;
    if (!handler) return;
    Canvas()->SetFont(GetFont());
    Canvas()->GetBrush()->SetColor(GetColor());
    handler(this);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    ControlStyle() << csReplicatable;
    SetBounds(GetLeft(), GetTop(), 50, 50);
}

void TBevel::SetShape(TBevelShape v) { if (v != m_shape) { m_shape = v; Invalidate(); } }
void TBevel::SetStyle(TBevelStyle v) { if (v != m_style) { m_style = v; Invalidate(); } }

void TBevel::Paint() {
    TCanvas* c = Canvas();
    TColor first = m_style == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = m_style == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = GetWidth(), h = GetHeight();
    TRect r = GetClientRect();
    c->GetPen()->SetWidth(1);
    auto line = [c](TColor colour, int x1, int y1, int x2, int y2) {
        c->GetPen()->SetColor(colour);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    switch (m_shape) {
    case bsBox: Frame3D(c, r, first, second, 1); break;
    case bsFrame: {
        TRect outer = Rect(0, 0, w - 1, h - 1);
        Frame3D(c, outer, first, first, 1);
        TRect inner = Rect(1, 1, w, h);
        Frame3D(c, inner, second, second, 1);
        break;
    }
    case bsTopLine: line(first, 0, 0, w, 0); line(second, 0, 1, w, 1); break;
    case bsBottomLine: line(first, 0, h - 2, w, h - 2); line(second, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(first, 0, 0, 0, h); line(second, 1, 0, 1, h); break;
    case bsRightLine: line(first, w - 2, 0, w - 2, h); line(second, w - 1, 0, w - 1, h); break;
    case bsSpacer: break;
    }
}
