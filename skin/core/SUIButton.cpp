#include "skin/core/SUIButton.h"

#include <algorithm>
#include <cctype>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/SysUtils.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

namespace {

bool IsDesigning(const TComponent* C) { return C->GetComponentState().Contains(csDesigning); }

bool NoShiftKeys(LPARAM KeyData) {
    TShiftState s = KeyDataToShiftState(KeyData);
    return !s.Contains(ssShift) && !s.Contains(ssCtrl) && !s.Contains(ssAlt);
}

bool IsAccelerator(WPARAM Char, const String& Caption) {
    char key = static_cast<char>(std::toupper(static_cast<unsigned char>(Char)));
    return key != 0 && GetHotkey(Caption) == key;
}

// Draws Text centred in R, word-wrapped, as the measured block.
void DrawCentredText(TCanvas* C, const String& Text, const TRect& R) {
    TRect calc = R;
    C->DrawText(Text, calc, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    int dx = (R.Width() - calc.Width()) / 2;
    int dy = (R.Height() - calc.Height()) / 2;
    TRect t = Rect(R.Left + dx, R.Top + dy, R.Left + dx + calc.Width(), R.Top + dy + calc.Height());
    C->DrawText(Text, t, DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
}

// Draws a glyph through an image list masked with its top-left colour, greyed when asked.
void DrawMaskedGlyph(TCanvas* C, TBitmap* Glyph, int SrcLeft, int W, int H, int X, int Y, bool Enabled) {
    if (W <= 0 || H <= 0) return;
    TBitmap piece(W, H, pf24bit);
    piece.GetCanvas()->CopyRect(Rect(0, 0, W, H), Glyph->GetCanvas(), Rect(SrcLeft, 0, SrcLeft + W, H));
    TImageList list(nullptr);
    list.SetWidth(W);
    list.SetHeight(H);
    list.AddMasked(&piece, static_cast<TColor>(Glyph->GetPixelColor(0, 0)));
    list.Draw(C, X, Y, 0, Enabled);
}

}  // namespace

TsuiGlyphOrigins SUIGlyphOrigins(TButtonLayout Layout, int W, int H, int Tw, int Th, int Gw, int Gh, int S) {
    TsuiGlyphOrigins o;
    switch (Layout) {
        case blGlyphLeft:
            o.Glyph = {(W - (Tw + Gw + S)) / 2, (H - Gh) / 2};
            o.Caption = {o.Glyph.x + Gw + S, (H - Th) / 2};
            break;
        case blGlyphRight:
            o.Glyph = {(W + Tw + S - Gw) / 2, (H - Gh) / 2};
            o.Caption = {o.Glyph.x - Tw - S, (H - Th) / 2};
            break;
        case blGlyphTop:
            o.Glyph = {(W - Gw) / 2, (H - (Th + Gh + S)) / 2};
            o.Caption = {(W - Tw) / 2, o.Glyph.y + Gh + S};
            break;
        case blGlyphBottom:
            o.Glyph = {(W - Gw) / 2, (H + Th + S - Gh) / 2};
            o.Caption = {(W - Tw) / 2, o.Glyph.y - Th - S};
            break;
    }
    return o;
}

// ---- TsuiCustomButton ---------------------------------------------------------------------------

TsuiCustomButton::TsuiCustomButton(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle().Exclude(csAcceptsControls).Exclude(csDoubleClicks);
    SetTabStop(true);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiCustomButton::~TsuiCustomButton() { Destroying(); }

void TsuiCustomButton::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiCustomButton::SetAutoSize(bool v) {
    m_autoSize = v;
    AutoSizeChanged();
    Invalidate();
}

void TsuiCustomButton::SetCaption(const String& v) {
    m_caption = v;
    SetText(v);
    CaptionChanged();
    Invalidate();
}

void TsuiCustomButton::SetDefault(bool v) {
    m_default = v;
    TCustomForm* form = GetParentForm(this);
    if (HandleAllocated() && form != nullptr)
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->GetActiveControl()));
}

void TsuiCustomButton::SetTransparent(bool v) {
    m_transparent = v;
    TransparentChanged();
    Invalidate();
}

void TsuiCustomButton::TransparentChanged() { m_picTransparent = m_transparent; }

void TsuiCustomButton::SetPicTransparent(bool v) {
    m_picTransparent = v;
    Invalidate();
}

void TsuiCustomButton::SetFocusedRectMargin(int v) {
    m_focusedRectMargin = v;
    Invalidate();
}

void TsuiCustomButton::SetUIStyle(TsuiUIStyle v) {
    m_style.StoreUIStyle(v);
    UIStyleChanged();
    Invalidate();
}

void TsuiCustomButton::SetFileTheme(TsuiFileTheme* v) {
    m_style.StoreFileTheme(v);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiCustomButton::SetEnabled(bool v) {
    TCustomControl::SetEnabled(v);
    EnableChanged();
    Invalidate();
}

void TsuiCustomButton::CreateWnd() {
    bool existed = HasBridge();
    TCustomControl::CreateWnd();
    if (!existed && HasBridge()) m_active = m_default;
}

void TsuiCustomButton::FontChanged() {
    Canvas()->SetFont(GetFont());
    Invalidate();
}

void TsuiCustomButton::AutoSizeChanged() {
    if (!m_autoSize) return;
    TBitmap pic;
    SUIThemes::LoadInsideThemeBitmap(GetUIStyle(), SUI_THEME_BUTTON_IMAGE, &pic);
    int h = pic.GetHeight() == 0 ? 21 : pic.GetHeight();
    int w = pic.GetWidth() == 0 ? 74 : pic.GetWidth();
    SetBounds(GetLeft(), GetTop(), w / 3, h);
}

void TsuiCustomButton::PaintButton(int Key, int Count, int Frame, TBitmap* Bitmap) {
    m_style.Values().Bitmap(Key, Bitmap, Count, Frame);
}

void TsuiCustomButton::PaintButtonNormal(TBitmap* Bitmap) { PaintButton(SUI_THEME_BUTTON_IMAGE, 3, 1, Bitmap); }
void TsuiCustomButton::PaintButtonMouseOn(TBitmap* Bitmap) { PaintButton(SUI_THEME_BUTTON_IMAGE, 3, 2, Bitmap); }
void TsuiCustomButton::PaintButtonMouseDown(TBitmap* Bitmap) { PaintButton(SUI_THEME_BUTTON_IMAGE, 3, 3, Bitmap); }
void TsuiCustomButton::PaintButtonDisabled(TBitmap* Bitmap) { PaintButton(SUI_THEME_BUTTON_IMAGE, 3, 1, Bitmap); }

TWinControl* TsuiCustomButton::TransparencySource() {
    TWinControl* p = GetParent();
    if (p != nullptr && (p->ClassNameIs("TTabSheet") || p->ClassNameIs("TsuiDBNavigator") || p->ClassNameIs("TsuiToolBar")))
        return p;
    return this;
}

void TsuiCustomButton::Paint() {
    TBitmap pic;
    try {
        if (!GetEnabled()) PaintButtonDisabled(&pic);
        else if (m_pressed) PaintButtonMouseDown(&pic);
        else if (m_mouseOver) PaintButtonMouseOn(&pic);
        else PaintButtonNormal(&pic);
    } catch (const std::exception&) {
        // A picture that can't be loaded draws nothing; the rest of the button still paints.
        pic.SetSize(0, 0);
    }
    pic.SetTransparent(m_picTransparent);

    TBitmap buf(std::max(GetWidth(), 0), std::max(GetHeight(), 0), pf32bit);
    TCanvas* c = buf.GetCanvas();
    if (m_transparent) {
        DoTrans(c, TransparencySource());
    } else {
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(GetClientRect());
    }
    PaintPic(c, &pic);
    if (Focused() && GetTabStop()) PaintFocus(c);
    c->SetFont(GetFont());
    Canvas()->SetFont(GetFont());
    if (!Trim(m_caption).empty()) PaintText(c, m_caption);
    Canvas()->Draw(0, 0, &buf);
}

void TsuiCustomButton::PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) {
    int w = Bitmap->GetWidth(), h = Bitmap->GetHeight();
    if (w == 0 || h == 0) return;
    TImageList list(nullptr);
    list.SetWidth(w);
    list.SetHeight(h);
    if (m_picTransparent) list.AddMasked(Bitmap, static_cast<TColor>(Bitmap->GetPixelColor(0, 0)));
    else list.Add(Bitmap, nullptr);
    list.Draw(ACanvas, 0, 0, 0, GetEnabled());
}

void TsuiCustomButton::PaintText(TCanvas* ACanvas, const String& Text) {
    ACanvas->GetBrush()->SetStyle(bsClear);
    TRect r = GetClientRect();
    ACanvas->SetFont(GetFont());
    if (m_boldCaption) ACanvas->GetFont()->SetStyle(ACanvas->GetFont()->GetStyle() + TFontStyles{fsBold});
    if (!GetEnabled()) {
        ACanvas->GetFont()->SetColor(clWhite);
        TRect shadow = r;
        OffsetRect(shadow, 1, 1);
        DrawCentredText(ACanvas, Text, shadow);
        ACanvas->GetFont()->SetColor(clGray);
    } else if (m_pressed) {
        OffsetRect(r, 1, 1);
    }
    DrawCentredText(ACanvas, Text, r);
    m_boldCaption = false;
}

void TsuiCustomButton::PaintFocus(TCanvas* ACanvas) {
    int m = m_focusedRectMargin;
    ACanvas->DrawFocusRect(Rect(m, m, GetClientWidth() - m, GetClientHeight() - m));
}

void TsuiCustomButton::StopRepeat() { m_repeatTimer.reset(); }

void TsuiCustomButton::RepeatTick() {
    if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(this);
}

void TsuiCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        m_pressed = true;
        if (m_repeatTimer == nullptr) {
            m_repeatTimer = std::make_unique<TTimer>(nullptr);
            m_repeatTimer->SetEnabled(false);
            m_repeatTimer->SetInterval(static_cast<Cardinal>(std::max(m_repeatInterval_ms, 0)));
            m_repeatTimer->OnTimer = [this](TObject*) { RepeatTick(); };
            m_repeatTimer->SetEnabled(true);
        }
        if (GetTabStop() && CanFocus()) {
            try {
                SetFocus();
            } catch (const std::exception&) {
                // Taking the focus is a courtesy; the press goes on without it.
            }
        }
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TsuiCustomButton::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (X < 0 || Y < 0 || X > GetWidth() || Y > GetHeight()) {
        m_mouseOver = false;
        m_pressed = false;
        Invalidate();
    }
}

void TsuiCustomButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TCustomControl::ActionChange(Sender, CheckDefaults);
    SetCaption(GetText());
}

void TsuiCustomButton::Click() {
    if (m_pressed) {
        StopRepeat();
        m_pressed = false;
        Invalidate();
    }
    if (GetParent() != nullptr) {
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(m_modalResult);
    }
    TCustomControl::Click();
}

void TsuiCustomButton::DialogKey(TMessage& Message) {
    Word key = static_cast<Word>(Message.WParam);
    bool mine = (key == VK_RETURN && m_active) || (key == VK_ESCAPE && m_cancel);
    if (mine && NoShiftKeys(Message.LParam) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TsuiCustomButton::DialogChar(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (IsAccelerator(Message.WParam, m_caption) && GetEnabled()) {
        Click();
        Message.Result = 1;
    } else {
        Message.Result = 0;
    }
}

void TsuiCustomButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
            TCustomControl::Dispatch(Message);
            if (IsDesigning(this)) return;
            m_mouseOver = true;
            Invalidate();
            if (OnMouseEnter) OnMouseEnter(this);
            return;
        case CM_MOUSELEAVE:
            TCustomControl::Dispatch(Message);
            m_mouseOver = false;
            m_pressed = false;
            StopRepeat();
            Invalidate();
            if (OnMouseExit) OnMouseExit(this);
            return;
        case CM_DIALOGKEY: DialogKey(Message); return;
        case CM_DIALOGCHAR: DialogChar(Message); return;
        case CM_FOCUSCHANGED: {
            auto* focused = reinterpret_cast<TControl*>(Message.LParam);
            m_active = dynamic_cast<TsuiButton*>(focused) != nullptr ? focused == this : m_default;
            Invalidate();
            return;  // a notice for every button: never answered, so the broadcast goes on
        }
        case CM_FONTCHANGED:
            TCustomControl::Dispatch(Message);
            FontChanged();
            return;
        case CM_TEXTCHANGED:
            TCustomControl::Dispatch(Message);
            if (GetText() != m_caption) SetCaption(GetText());
            return;
        case WM_KEYDOWN: {
            TCustomControl::Dispatch(Message);
            Word key = static_cast<Word>(Message.WParam);
            if ((key == VK_SPACE || key == VK_RETURN) && Focused() && GetEnabled()) {
                m_pressed = true;
                Invalidate();
            }
            return;
        }
        case WM_KEYUP: {
            TCustomControl::Dispatch(Message);
            Word key = static_cast<Word>(Message.WParam);
            if ((key == VK_SPACE || key == VK_RETURN) && Focused() && m_pressed && GetEnabled()) {
                m_pressed = false;
                Invalidate();
                Click();
            }
            return;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TCustomControl::Dispatch(Message);
            Invalidate();
            return;
        case WM_ERASEBKGND:
            Message.Result = 1;  // the paint covers everything; no erase, no flicker
            return;
        default:
            TCustomControl::Dispatch(Message);
            return;
    }
}

// ---- TsuiImageButton ----------------------------------------------------------------------------

TsuiImageButton::TsuiImageButton(TComponent* AOwner)
    : TsuiCustomButton(AOwner),
      m_picNormal(std::make_unique<TPicture>()),
      m_picMouseOn(std::make_unique<TPicture>()),
      m_picMouseDown(std::make_unique<TPicture>()),
      m_picDisabled(std::make_unique<TPicture>()) {}

TsuiImageButton::~TsuiImageButton() = default;

void TsuiImageButton::SetPic(TPicture* Target, TPicture* Value) {
    Target->Assign(Value);
    AutoSizeChanged();
    Invalidate();
}

void TsuiImageButton::SetStretch(bool v) {
    m_stretch = v;
    Invalidate();
}

void TsuiImageButton::SetDrawFocused(bool v) {
    m_drawFocused = v;
    Invalidate();
}

void TsuiImageButton::AutoSizeChanged() {
    if (GetParent() == nullptr || !GetAutoSize() || m_picNormal->GetGraphic() == nullptr) return;
    SetBounds(GetLeft(), GetTop(), m_picNormal->GetWidth(), m_picNormal->GetHeight());
}

void TsuiImageButton::CopyStatePicture(TPicture* Own, TBitmap* Bitmap) {
    if (Own->GetGraphic() != nullptr) Bitmap->Assign(Own->GetGraphic());
    else if (m_picNormal->GetGraphic() != nullptr) Bitmap->Assign(m_picNormal->GetGraphic());
}

void TsuiImageButton::PaintButtonNormal(TBitmap* Bitmap) {
    if (m_picNormal->GetGraphic() != nullptr) Bitmap->Assign(m_picNormal->GetGraphic());
}
void TsuiImageButton::PaintButtonMouseOn(TBitmap* Bitmap) { CopyStatePicture(m_picMouseOn.get(), Bitmap); }
void TsuiImageButton::PaintButtonMouseDown(TBitmap* Bitmap) { CopyStatePicture(m_picMouseDown.get(), Bitmap); }
void TsuiImageButton::PaintButtonDisabled(TBitmap* Bitmap) { CopyStatePicture(m_picDisabled.get(), Bitmap); }

void TsuiImageButton::PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) {
    if (Bitmap->GetEmpty()) return;
    Bitmap->SetTransparentColor(static_cast<TColor>(Bitmap->GetPixelColor(0, 0)));
    Bitmap->SetTransparent(GetPicTransparent());
    if (m_stretch) ACanvas->StretchDraw(Rect(0, 0, GetWidth(), GetHeight()), Bitmap);
    else ACanvas->Draw(0, 0, Bitmap);
}

void TsuiImageButton::PaintFocus(TCanvas* ACanvas) {
    if (m_drawFocused) TsuiCustomButton::PaintFocus(ACanvas);
}

// ---- TsuiButton ---------------------------------------------------------------------------------

TsuiButton::TsuiButton(TComponent* AOwner) : TsuiCustomButton(AOwner), m_glyph(std::make_unique<TBitmap>()) {
    SetBounds(GetLeft(), GetTop(), 80, 27);
    UIStyleChanged();  // the base constructor's look ran before this class existed
}

TsuiButton::~TsuiButton() = default;

void TsuiButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TsuiCustomButton::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (action == nullptr || !m_glyph->GetEmpty() || action->GetActionList() == nullptr) return;
    TImageList* images = action->GetActionList()->GetImages();
    const int index = action->GetImageIndex();
    if (images == nullptr || index < 0 || index >= images->Count()) return;
    images->GetBitmap(index, m_glyph.get());
    Invalidate();
}

void TsuiButton::SetGlyph(TBitmap* v) {
    m_glyph->Assign(v);
    Invalidate();
}

void TsuiButton::SetLayout(TButtonLayout v) {
    m_layout = v;
    Invalidate();
}

void TsuiButton::SetSpacing(int v) {
    m_spacing = v;
    Invalidate();
}

void TsuiButton::UIStyleChanged() {
    TsuiThemeValues theme(GetFileTheme(), TsuiCustomButton::GetUIStyle());
    SetTransparent(theme.Bool(SUI_THEME_BUTTON_TRANSPARENT_BOOL));
}

void TsuiButton::PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) {
    ACanvas->SetFont(GetFont());
    SpitDraw(Bitmap, ACanvas, GetClientRect(), GetPicTransparent());
    if (m_glyph->GetEmpty()) return;
    int tw = ACanvas->TextWidth(GetCaption());
    int th = ACanvas->TextHeight(GetCaption());
    int gw = m_glyph->GetWidth(), gh = m_glyph->GetHeight();
    bool twoFrames = gw == 2 * gh;
    if (twoFrames) gw = gh;
    TsuiGlyphOrigins o = SUIGlyphOrigins(m_layout, GetWidth(), GetHeight(), tw, th, gw, gh, m_spacing);
    m_captionOrigin = o.Caption;
    TPoint g = o.Glyph;
    if (IsPressed()) {
        g.x += 1;
        g.y += 1;
    }
    if (twoFrames) DrawMaskedGlyph(ACanvas, m_glyph.get(), GetEnabled() ? 0 : gw, gw, gh, g.x, g.y, true);
    else DrawMaskedGlyph(ACanvas, m_glyph.get(), 0, gw, gh, g.x, g.y, GetEnabled());
}

void TsuiButton::PaintText(TCanvas* ACanvas, const String& Text) {
    if (m_glyph->GetEmpty()) {
        TsuiCustomButton::PaintText(ACanvas, Text);
        return;
    }
    ACanvas->GetBrush()->SetStyle(bsClear);
    ACanvas->SetFont(GetFont());
    TPoint o = m_captionOrigin;
    if (!GetEnabled()) {
        ACanvas->GetFont()->SetColor(clWhite);
        TRect shadow = Rect(o.x + 1, o.y + 1, GetWidth(), GetHeight());
        ACanvas->DrawText(Text, shadow, DT_SINGLELINE);
        ACanvas->GetFont()->SetColor(clGray);
    } else if (IsPressed()) {
        o.x += 1;
        o.y += 1;
    }
    TRect r = Rect(o.x, o.y, GetWidth(), GetHeight());
    ACanvas->DrawText(Text, r, DT_SINGLELINE);
}

void TsuiButton::PaintFocus(TCanvas* ACanvas) {
    TsuiUIStyle look = TsuiCustomButton::GetUIStyle();
    if (look == MacOS || look == BlueGlass) {
        m_boldCaption = true;
        return;
    }
    TsuiCustomButton::PaintFocus(ACanvas);
}

// ---- TsuiArrowButton ----------------------------------------------------------------------------

TsuiArrowButton::TsuiArrowButton(TComponent* AOwner) : TsuiCustomButton(AOwner) { UIStyleChanged(); }

void TsuiArrowButton::SetArrow(TsuiArrowButtonType v) {
    m_arrow = v;
    Invalidate();
}

void TsuiArrowButton::UIStyleChanged() {
    TsuiThemeValues theme(GetFileTheme(), GetUIStyle());
    SetTransparent(theme.Bool(SUI_THEME_BUTTON_TRANSPARENT_BOOL));
}

void TsuiArrowButton::PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) {
    SpitDraw(Bitmap, ACanvas, GetClientRect(), GetPicTransparent());
    int x0 = (GetWidth() - 6) / 2;
    int y0 = (GetHeight() - 3) / 2;
    ACanvas->GetBrush()->SetStyle(bsSolid);
    ACanvas->GetBrush()->SetColor(clBlack);
    ACanvas->GetPen()->SetColor(clBlack);
    if (m_arrow == suiUp) ACanvas->Polygon({{x0, y0 + 3}, {x0 + 3, y0}, {x0 + 6, y0 + 3}});
    else ACanvas->Polygon({{x0, y0}, {x0 + 3, y0 + 3}, {x0 + 6, y0}});
}

// ---- TsuiControlButton --------------------------------------------------------------------------

TsuiControlButton::TsuiControlButton(TComponent* AOwner) : TsuiCustomButton(AOwner) {
    SetTabStop(false);
    SetUIStyle(DeepBlue);
}

void TsuiControlButton::SetPicIndex(int v) {
    m_picIndex = v;
    Invalidate();
}

void TsuiControlButton::SetPicCount(int v) {
    m_picCount = v;
    Invalidate();
}

void TsuiControlButton::SetThemeID(int v) {
    m_themeID = v;
    Invalidate();
}

void TsuiControlButton::LoadFrame(int Frame, TBitmap* Bitmap) {
    // No frames to choose from means no picture (and no division by a zero count).
    if (m_picCount <= 0) return;
    PaintButton(m_themeID, m_picCount, Frame, Bitmap);
}

void TsuiControlButton::PaintButtonNormal(TBitmap* Bitmap) {
    LoadFrame(m_picIndex, Bitmap);
    if (!Bitmap->GetEmpty()) SetBounds(GetLeft(), GetTop(), Bitmap->GetWidth(), Bitmap->GetHeight());
}
void TsuiControlButton::PaintButtonMouseOn(TBitmap* Bitmap) { LoadFrame(m_picIndex + 1, Bitmap); }
void TsuiControlButton::PaintButtonMouseDown(TBitmap* Bitmap) { LoadFrame(m_picIndex, Bitmap); }
void TsuiControlButton::PaintButtonDisabled(TBitmap* Bitmap) { LoadFrame(m_picIndex, Bitmap); }

void TsuiControlButton::PaintPic(TCanvas* ACanvas, TBitmap* Bitmap) {
    if (Bitmap->GetEmpty()) return;
    Bitmap->SetTransparentColor(static_cast<TColor>(Bitmap->GetPixelColor(0, 0)));
    ACanvas->Draw(0, 0, Bitmap);
    SetBounds(GetLeft(), GetTop(), Bitmap->GetWidth(), Bitmap->GetHeight());
}

// ---- TsuiToolBarSpeedButton ---------------------------------------------------------------------

TsuiToolBarSpeedButton::TsuiToolBarSpeedButton(TComponent* AOwner)
    : TPanel(AOwner), m_glyph(std::make_unique<TBitmap>()) {
    SetBounds(GetLeft(), GetTop(), 18, 18);
}

TsuiToolBarSpeedButton::~TsuiToolBarSpeedButton() { Destroying(); }

void TsuiToolBarSpeedButton::Paint() {
    m_glyph->SetTransparent(true);
    TBitmap buf(std::max(GetWidth(), 0), std::max(GetHeight(), 0), pf32bit);
    TCanvas* c = buf.GetCanvas();
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(GetClientRect());
    if (!m_glyph->GetEmpty()) {
        if (m_mouseOver) {
            c->GetBrush()->SetColor(clBlack);
            c->FrameRect(GetClientRect());
        }
        c->Draw(1, 1, m_glyph.get());
    }
    Canvas()->Draw(0, 0, &buf);
}

void TsuiToolBarSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TPanel::Dispatch(Message);
            m_mouseOver = Message.Msg == CM_MOUSEENTER;
            Invalidate();
            return;
        case WM_ERASEBKGND: Message.Result = 1; return;
        default: TPanel::Dispatch(Message); return;
    }
}
