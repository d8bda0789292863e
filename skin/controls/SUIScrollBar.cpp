#include "skin/controls/SUIScrollBar.h"

#include <algorithm>
#include <climits>

#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

namespace {

constexpr int MinLineButton = 18;
constexpr int ArrowFrames = 6;
constexpr int SliderFrames = 3;

}  // namespace

int SUIScrollSliderLength(int TrackLength, int PageSize, int LineButton) {
    if (LineButton > 0) return std::max(LineButton, MinLineButton);
    const int p = PageSize < 10 || PageSize > 100 ? 10 : PageSize;
    return TrackLength > 0 ? TrackLength * p / 100 : 0;
}

TsuiScrollBar::TsuiScrollBar(TComponent* AOwner)
    : TPanel(AOwner),
      m_sliderStart(std::make_unique<TBitmap>()),
      m_sliderMiddle(std::make_unique<TBitmap>()),
      m_sliderEnd(std::make_unique<TBitmap>()) {
    ControlStyle().Exclude(csAcceptsControls);
    m_track = new TsuiScrollTrackBar(this);
    m_track->SetParent(this);
    m_track->SetShowTick(false);
    m_track->SetTabStop(false);
    m_track->SetTransparent(false);
    m_track->SetMax(100);
    m_incButton = NewArrow(+1);
    m_decButton = NewArrow(-1);
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    // A panel's width of 185 and a square start; the arrow picture sets the thickness as soon
    // as the look has loaded it (the arrows are empty until then, so no layout before).
    SetBounds(GetLeft(), GetTop(), 185, 185);
    m_constructed = true;
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiScrollBar::~TsuiScrollBar() { Destroying(); }

TsuiImageButton* TsuiScrollBar::NewArrow(int Direction) {
    auto* b = new TsuiImageButton(this);
    b->SetParent(this);
    b->OnMouseContinuouslyDown = [this, Direction](TObject*) { Step(Direction); };
    // The press itself steps once: a click shorter than the repeat interval still scrolls.
    b->OnMouseDown = [this, Direction](TObject*, TMouseButton Button, TShiftState, int, int) {
        if (Button == mbLeft) Step(Direction);
    };
    b->SetMouseContinuouslyDownInterval(100);
    b->SetTabStop(false);
    return b;
}

void TsuiScrollBar::Step(int Direction) {
    const std::int64_t to = static_cast<std::int64_t>(m_track->GetPosition()) + Direction * m_smallChange;
    m_track->SetPosition(static_cast<int>(std::clamp<std::int64_t>(to, INT_MIN, INT_MAX)));
}

void TsuiScrollBar::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_track->SetColor(GetColor());
    LoadPictures();
    Layout();
}

void TsuiScrollBar::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiScrollBar::SetOrientation(TsuiProgressBarOrientation Value) {
    if (Value == m_orientation) return;
    m_orientation = Value;
    LoadPictures();
    Layout();
}

void TsuiScrollBar::SetPosition(int Value) {
    if (Value != m_track->GetPosition()) m_track->SetPosition(Value);
}

void TsuiScrollBar::SetPageSize(int Value) {
    m_track->SetPageSize(Value);
    BuildSlider();
}

void TsuiScrollBar::SetSliderVisible(bool Value) {
    if (Value != m_track->GetSliderVisible()) m_track->SetSliderVisible(Value);
}

int TsuiScrollBar::FreeLength() const {
    if (Vertical()) return GetHeight() - m_incButton->GetHeight() - m_decButton->GetHeight();
    return GetWidth() - m_incButton->GetWidth() - m_decButton->GetWidth();
}

void TsuiScrollBar::SetLineButton(int Value) {
    if (Value == m_lineButton || Value > FreeLength()) return;
    m_lineButton = Value;
    BuildSlider();
}

void TsuiScrollBar::LoadPictures() {
    TPicture none;
    m_track->SetBarImage(&none);
    TsuiThemeValues theme = m_style.Values();
    SetColor(theme.Color(SUI_THEME_SCROLLBAR_BACKGROUND_COLOR));
    TBitmap* slider[SliderFrames] = {m_sliderStart.get(), m_sliderMiddle.get(), m_sliderEnd.get()};
    for (int i = 0; i < SliderFrames; ++i) theme.Bitmap(SUI_THEME_SCROLLBAR_SLIDER_IMAGE, slider[i], SliderFrames, i + 1);
    TsuiImageButton* owners[ArrowFrames] = {m_decButton, m_decButton, m_decButton, m_incButton, m_incButton, m_incButton};
    for (int i = 0; i < ArrowFrames; ++i) {
        TBitmap frame;
        theme.Bitmap(SUI_THEME_SCROLLBAR_BUTTON_IMAGE, &frame, ArrowFrames, i + 1);
        if (!Vertical()) RoundPicture(&frame);
        TPicture* target = i % 3 == 0 ? owners[i]->GetPicNormal() : i % 3 == 1 ? owners[i]->GetPicMouseOn() : owners[i]->GetPicMouseDown();
        target->SetBitmap(&frame);
    }
    if (Vertical())
        for (TBitmap* b : slider) RoundPicture3(b);
    m_decButton->SetAutoSize(true);
    m_incButton->SetAutoSize(true);
    Invalidate();
}

void TsuiScrollBar::Layout() {
    if (m_layingOut || !m_constructed) return;
    m_layingOut = true;
    m_track->SetOrientation(m_orientation);
    if (GetWidth() == 0 || GetHeight() == 0) {
        SetVisible(false);
        m_layingOut = false;
        return;
    }
    const int incW = m_incButton->GetWidth(), incH = m_incButton->GetHeight();
    const int decW = m_decButton->GetWidth(), decH = m_decButton->GetHeight();
    m_decButton->SetBounds(0, 0, decW, decH);
    if (Vertical()) {
        m_track->SetBounds(0, decH, m_track->GetWidth(), GetHeight() - incH - decH - 1);
        m_incButton->SetBounds(0, GetHeight() - incH, incW, incH);
        SetWidth(decW);
    } else {
        m_track->SetBounds(decW, 0, GetWidth() - incW - decW, m_track->GetHeight());
        m_incButton->SetBounds(GetWidth() - incW, 0, incW, incH);
        SetHeight(decH);
    }
    m_layingOut = false;
    BuildSlider();
}

void TsuiScrollBar::BuildSlider() {
    const int thickness = Vertical() ? m_sliderStart->GetWidth() : m_sliderStart->GetHeight();
    const int trackLength = Vertical() ? m_track->GetHeight() : m_track->GetWidth();
    if (m_lineButton > 0) m_lineButton = std::max(m_lineButton, MinLineButton);
    const int length = SUIScrollSliderLength(trackLength, m_track->GetPageSize(), m_lineButton);
    TBitmap slider;
    slider.SetPixelFormat(pf24bit);
    if (Vertical())
        slider.SetSize(thickness, length);
    else
        slider.SetSize(length, thickness);
    TCanvas* c = slider.GetCanvas();
    c->Draw(0, 0, m_sliderStart.get());
    TRect middle;
    if (Vertical()) {
        c->Draw(0, length - m_sliderEnd->GetHeight(), m_sliderEnd.get());
        middle = Rect(0, m_sliderStart->GetHeight(), thickness, length - m_sliderEnd->GetHeight());
    } else {
        c->Draw(length - m_sliderEnd->GetWidth(), 0, m_sliderEnd.get());
        middle = Rect(m_sliderStart->GetWidth(), 0, length - m_sliderEnd->GetWidth(), thickness);
    }
    if (middle.Width() > 0 && middle.Height() > 0) c->StretchDraw(middle, m_sliderMiddle.get());
    TPicture picture;
    picture.SetBitmap(&slider);
    m_track->SetSliderImage(&picture);
    m_track->UpdateSliderSize();
}

void TsuiScrollBar::Resize() {
    TPanel::Resize();
    Layout();
}

void TsuiScrollBar::Notification(TComponent* AComponent, TOperation Operation) {
    TPanel::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiScrollBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND: Message.Result = 1; return;
        case CM_COLORCHANGED:
            TPanel::Dispatch(Message);
            if (m_track != nullptr) m_track->SetColor(GetColor());
            return;
        case CM_VISIBLECHANGED:
            TPanel::Dispatch(Message);
            for (TControl* c : {static_cast<TControl*>(m_track), static_cast<TControl*>(m_incButton), static_cast<TControl*>(m_decButton)})
                if (c != nullptr) c->SetVisible(GetVisible());
            return;
        default: TPanel::Dispatch(Message); return;
    }
}
