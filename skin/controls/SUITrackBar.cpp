#include "skin/controls/SUITrackBar.h"

#include <algorithm>
#include <climits>

#include "platform/vcl/Forms.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

namespace {

constexpr int RepeatInterval_ms = 100;
// The horizontal repeat moves three pages a tick; the first step and the vertical repeat one.
constexpr int HorizontalRepeatPages = 3;
constexpr int TickLength = 3;

int ClampToInt(std::int64_t V) { return static_cast<int>(std::clamp<std::int64_t>(V, INT_MIN, INT_MAX)); }

}  // namespace

int SUITrackSliderOffset(int Length, int SliderLength, int Position, int Min, int Max) {
    if (Max == Min) return 0;
    std::int64_t span = static_cast<std::int64_t>(Length) - SliderLength;
    std::int64_t range = static_cast<std::int64_t>(Max) - Min;
    return ClampToInt(span * (static_cast<std::int64_t>(Position) - Min) / range);
}

std::int64_t SUITrackValueAt(int Coord, int Length, int SliderLength, int Min, int Max) {
    const std::int64_t span = static_cast<std::int64_t>(Length) - SliderLength;
    if (span <= 0) return 0;
    const __int128 num = static_cast<__int128>(static_cast<std::int64_t>(Coord) - SliderLength / 2) *
                         (static_cast<std::int64_t>(Max) - Min);
    // Floor division, then half to even on the remainder.
    __int128 q = num / span, r = num % span;
    if (r < 0) {
        r += span;
        --q;
    }
    const __int128 twice = 2 * r;
    if (twice > span || (twice == span && (q & 1) != 0)) ++q;
    return static_cast<std::int64_t>(Min + q);
}

std::vector<int> SUITrackTickOffsets(int Min, int Max, int Frequency, int Span) {
    if (Max == Min) return {};
    const std::int64_t range = static_cast<std::int64_t>(Max) - Min;
    auto at = [&](std::int64_t Value) { return static_cast<int>(static_cast<std::int64_t>(Span) * (Value - Min) / range); };
    if (Frequency <= 0 || Frequency >= range || Span <= 0) {
        if (at(Max) == 0) return {0};
        return {0, at(Max)};
    }
    std::vector<int> ticks;
    // Ticks closer than a pixel cover every pixel of the span: one per pixel is the same picture.
    if (static_cast<std::int64_t>(Frequency) * Span <= range) {
        for (int x = 0; x <= Span; ++x) ticks.push_back(x);
        return ticks;
    }
    for (std::int64_t v = Min; v < Max; v += Frequency) ticks.push_back(at(v));
    ticks.push_back(at(Max));
    return ticks;
}

int SUITrackRepeatStep(int Position, std::int64_t Target, int Step, int Toward) {
    if (Toward < 0) return ClampToInt(std::max<std::int64_t>(static_cast<std::int64_t>(Position) - Step, Target));
    if (Toward > 0) return ClampToInt(std::min<std::int64_t>(static_cast<std::int64_t>(Position) + Step, Target));
    return Position;
}

// ---- TsuiTrackBar -------------------------------------------------------------------------------

TsuiTrackBar::TsuiTrackBar(TComponent* AOwner) : TsuiTrackBar(AOwner, TPictureSource::Look) {}

TsuiTrackBar::TsuiTrackBar(TComponent* AOwner, TPictureSource Source)
    : TPanel(AOwner),
      m_barImage(std::make_unique<TPicture>()),
      m_barBitmap(std::make_unique<TBitmap>()),
      m_pictureSource(Source) {
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    ControlStyle().Exclude(csAcceptsControls);
    SetParentColor(true);
    SetTabStop(true);
    m_slider = new TsuiImagePanel(this);
    m_slider->SetParent(this);
    m_slider->OnMouseDown = [this](TObject*, TMouseButton B, TShiftState S, int X, int Y) { SliderMouseDown(B, S, X, Y); };
    m_slider->OnMouseUp = [this](TObject*, TMouseButton B, TShiftState S, int X, int Y) { SliderMouseUp(B, S, X, Y); };
    SetUIStyle(GetSUIFormStyle(AOwner));
    PlaceSlider();
}

TsuiTrackBar::~TsuiTrackBar() {
    Destroying();
    StopRepeat();
}

TPicture* TsuiTrackBar::GetSliderImage() const { return m_slider->GetPicture(); }

void TsuiTrackBar::SetSliderImage(TPicture* Value) {
    m_slider->SetPicture(Value);
    Invalidate();
}

void TsuiTrackBar::SetBarImage(TPicture* Value) {
    m_barImage->Assign(Value);
    UpdateControl();
}

void TsuiTrackBar::SetOrientation(TsuiProgressBarOrientation Value) {
    if (Value == m_orientation) return;
    m_orientation = Value;
    UpdateControl();
}

void TsuiTrackBar::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    UpdateControl();
    if (Value == MacOS) SetTransparent(true);
}

void TsuiTrackBar::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiTrackBar::Notification(TComponent* AComponent, TOperation Operation) {
    TPanel::Notification(AComponent, Operation);
    if (m_slider == AComponent && Operation == opRemove) m_slider = nullptr;
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiTrackBar::SetMin(int Value) {
    if (Value == m_min) return;
    m_min = std::min(Value, m_max);
    m_position = std::max(m_position, m_min);
    UpdateSlider();
}

void TsuiTrackBar::SetMax(int Value) {
    if (Value == m_max) return;
    m_max = std::max(Value, m_min);
    m_position = std::min(m_position, m_max);
    UpdateSlider();
}

void TsuiTrackBar::SetPosition(int Value) {
    m_position = std::clamp(Value, m_min, m_max);
    UpdateSlider();
}

void TsuiTrackBar::SetPageSize(int Value) {
    if (Value >= 0 && Value <= m_max) m_pageSize = Value;
}

void TsuiTrackBar::SetLineSize(int Value) {
    if (Value >= 0 && Value <= m_max) m_lineSize = Value;
}

void TsuiTrackBar::SetFrequency(int Value) {
    m_frequency = Value;
    Invalidate();
}

void TsuiTrackBar::SetShowTick(bool Value) {
    m_showTick = Value;
    Invalidate();
}

void TsuiTrackBar::SetTransparent(bool Value) {
    m_transparent = Value;
    Invalidate();
}

void TsuiTrackBar::UpdateControl() {
    if (m_slider == nullptr || m_updating) return;
    m_updating = true;
    UpdatePicture();
    AdjustSize();
    m_updating = false;
    UpdateSlider();
}

void TsuiTrackBar::UpdatePicture() {
    if (CustomPicture()) return;
    TsuiThemeValues theme = m_style.Values();
    TBitmap picture;
    theme.Bitmap(SUI_THEME_TRACKBAR_BAR_IMAGE, &picture);
    m_barImage->SetBitmap(&picture);
    TBitmap slider;
    theme.Bitmap(Vertical() ? SUI_THEME_TRACKBAR_SLIDER_V_IMAGE : SUI_THEME_TRACKBAR_SLIDER_IMAGE, &slider);
    TPicture sliderPicture;
    sliderPicture.SetBitmap(&slider);
    m_slider->SetPicture(&sliderPicture);

    const int length = std::max(TrackLength(), 0), thickness = m_barImage->GetHeight();
    m_barBitmap->SetSize(length, thickness);
    TCanvas* c = m_barBitmap->GetCanvas();
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(Rect(0, 0, length, thickness));
    SpitDrawHorizontal(m_barImage->GetBitmap(), c, Rect(0, 0, length, thickness), false, false);
    if (Vertical()) RoundPicture(m_barBitmap.get());

    m_slider->SetTransparent(SliderTransparent());
    m_slider->SetAutoSize(true);
}

void TsuiTrackBar::AdjustSize() {
    const int bar = m_barImage->GetHeight();
    if (Vertical())
        SetWidth(std::max(bar, m_slider->GetWidth()));
    else
        SetHeight(std::max(bar, m_slider->GetHeight()));
    Invalidate();
}

void TsuiTrackBar::PlaceSlider() {
    if (m_slider == nullptr) return;
    const int along = SUITrackSliderOffset(TrackLength(), SliderLength(), m_position, m_min, m_max);
    if (Vertical())
        PlaceControl(m_slider, TPoint{std::max((GetWidth() - m_slider->GetWidth()) / 2, 0), along});
    else
        PlaceControl(m_slider, TPoint{along, std::max((GetHeight() - m_slider->GetHeight()) / 2, 0)});
}

void TsuiTrackBar::ReportChange() {
    if (m_position == m_lastPosition) return;
    m_lastChange = static_cast<int>(static_cast<std::int64_t>(m_position) - m_lastPosition);
    m_lastPosition = m_position;
    if (OnChange) OnChange(this);
}

void TsuiTrackBar::UpdateSlider() {
    PlaceSlider();
    Invalidate();
    ReportChange();
}

void TsuiTrackBar::Resize() {
    TPanel::Resize();
    UpdateControl();
}

std::int64_t TsuiTrackBar::ValueAt(int X, int Y) const {
    return SUITrackValueAt(Vertical() ? Y : X, TrackLength(), SliderLength(), m_min, m_max);
}

int TsuiTrackBar::SideOf(int X, int Y) const {
    const int at = Vertical() ? Y : X, leading = SliderLeading();
    return at < leading ? -1 : at > leading ? 1 : 0;
}

void TsuiTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPanel::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    SetPosition(SUITrackRepeatStep(m_position, ValueAt(X, Y), m_pageSize, SideOf(X, Y)));
    if (!m_repeatTimer) {
        m_repeatTimer = std::make_unique<TTimer>(nullptr);
        m_repeatTimer->SetInterval(RepeatInterval_ms);
        m_repeatTimer->OnTimer = [this](TObject*) { RepeatTick(); };
    }
    if (CanFocus() && GetEnabled()) SetFocus();
}

void TsuiTrackBar::RepeatTick() {
    TPoint p = ScreenToClient(Mouse->GetCursorPos());
    const int step = Vertical() ? m_pageSize : HorizontalRepeatPages * m_pageSize;
    SetPosition(SUITrackRepeatStep(m_position, ValueAt(p.x, p.y), step, SideOf(p.x, p.y)));
}

void TsuiTrackBar::StopRepeat() { m_repeatTimer.reset(); }

void TsuiTrackBar::MouseMove(TShiftState Shift, int X, int Y) {
    TPanel::MouseMove(Shift, X, Y);
    if (!m_dragging) {
        if (X < 0 || Y < 0 || X > GetWidth() || Y > GetHeight()) StopRepeat();
        return;
    }
    m_position = ClampToInt(std::clamp<std::int64_t>(ValueAt(X, Y), m_min, m_max));
    UpdateSlider();
}

void TsuiTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPanel::MouseUp(Button, Shift, X, Y);
    StopRepeat();
    m_dragging = false;
    SetMouseCapture(false);
}

void TsuiTrackBar::SliderMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    m_dragging = true;
    if (CanFocus() && GetEnabled()) SetFocus();
    SetMouseCapture(true);
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X + m_slider->GetLeft(), Y + m_slider->GetTop());
}

void TsuiTrackBar::SliderMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X + m_slider->GetLeft(), Y + m_slider->GetTop());
}

void TsuiTrackBar::KeyDown(Word& Key, TShiftState Shift) {
    TPanel::KeyDown(Key, Shift);
    std::int64_t to = m_position;
    switch (Key) {
        case VK_PRIOR: to -= m_pageSize; break;
        case VK_NEXT: to += m_pageSize; break;
        case VK_END: to = m_max; break;
        case VK_HOME: to = m_min; break;
        case VK_LEFT:
        case VK_UP: to -= m_lineSize; break;
        case VK_RIGHT:
        case VK_DOWN: to += m_lineSize; break;
        default: return;
    }
    SetPosition(ClampToInt(to));
}

void TsuiTrackBar::PaintTicks(TCanvas* C) {
    const int half = SliderLength() / 2;
    for (int offset : SUITrackTickOffsets(m_min, m_max, m_frequency, TrackLength() - SliderLength())) {
        const int at = offset + half;
        if (Vertical()) {
            C->MoveTo(0, at);
            C->LineTo(TickLength, at);
            C->MoveTo(GetWidth() - TickLength, at);
            C->LineTo(GetWidth(), at);
        } else {
            C->MoveTo(at, GetHeight() - TickLength);
            C->LineTo(at, GetHeight());
        }
    }
}

void TsuiTrackBar::Paint() {
    TBitmap buf(std::max(GetWidth(), 0), std::max(GetHeight(), 0), pf32bit);
    TCanvas* c = buf.GetCanvas();
    if (m_transparent) {
        DoTrans(c, this);
    } else {
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(Rect(0, 0, GetWidth(), GetHeight()));
    }
    const int thickness = m_barImage->GetHeight();
    if (Vertical())
        c->Draw((GetWidth() - thickness) / 2, 0, m_barBitmap.get());
    else
        c->Draw(0, (GetHeight() - thickness) / 2, m_barBitmap.get());
    if (Focused() && GetTabStop()) c->DrawFocusRect(GetClientRect());
    if (m_showTick) PaintTicks(c);
    Canvas()->Draw(0, 0, &buf);
}

void TsuiTrackBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND: Message.Result = 1; return;
        case WM_GETDLGCODE:
            TPanel::Dispatch(Message);
            Message.Result = DLGC_WANTARROWS;
            return;
        case CM_FOCUSCHANGED:
            TPanel::Dispatch(Message);
            Invalidate();
            return;
        default: TPanel::Dispatch(Message); return;
    }
}

// ---- TsuiScrollTrackBar -------------------------------------------------------------------------

bool TsuiScrollTrackBar::GetSliderVisible() const { return Slider()->GetVisible(); }

void TsuiScrollTrackBar::SetSliderVisible(bool Value) {
    if (Slider()->GetVisible() != Value) Slider()->SetVisible(Value);
}

void TsuiScrollTrackBar::UpdateSliderSize() { Slider()->SetAutoSize(true); }
