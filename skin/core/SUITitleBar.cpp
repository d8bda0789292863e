#include "skin/core/SUITitleBar.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Resources.h"
#include "platform/win32/Windows.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

namespace {

constexpr int TitleButtonFrameCount = 18;

// The length of the UTF-8 sequence that ends at the end of Text.
size_t LastCharLength(const String& Text) {
    size_t n = 1;
    while (n < Text.size() && (static_cast<unsigned char>(Text[Text.size() - n]) & 0xC0) == 0x80) ++n;
    return n;
}

bool IsFormMaximized(TCustomForm* Form) { return Form != nullptr && Form->GetWindowState() == wsMaximized; }

}  // namespace

TsuiTitleFrames SUITitleButtonFrames(TsuiTitleBarBtnType Type, bool Maximized) {
    switch (Type) {
        case suiControlBox: return {1, 2, 3};
        case suiHelp: return {4, 5, 6};
        case suiMax: return Maximized ? TsuiTitleFrames{10, 11, 12} : TsuiTitleFrames{7, 8, 9};
        case suiMin: return {13, 14, 15};
        case suiClose: return {16, 17, 18};
        case suiCustom: break;
    }
    return {0, 0, 0};
}

String SUIShortenCaption(TCanvas* Canvas, const String& Caption, int Space) {
    if (Canvas->TextWidth(Caption) <= Space) return Caption;
    String text = Caption;
    // Stops at the empty text: a space narrower than "..." itself shows nothing.
    while (!text.empty()) {
        text.erase(text.size() - LastCharLength(text));
        if (Canvas->TextWidth(text + "...") <= Space) return text + "...";
    }
    return "";
}

// ---- buttons ------------------------------------------------------------------------------------

TsuiTitleBarButton::TsuiTitleBarButton(TsuiTitleBar* Bar)
    : m_bar(Bar), m_picNormal(std::make_unique<TPicture>()), m_picMouseOn(std::make_unique<TPicture>()),
      m_picMouseDown(std::make_unique<TPicture>()) {}

TsuiTitleBarButton::~TsuiTitleBarButton() {
    if (m_controlBoxMenu != nullptr && m_bar != nullptr) m_controlBoxMenu->RemoveFreeNotification(m_bar);
}

void TsuiTitleBarButton::Assign(TPersistent* Source) {
    auto* s = dynamic_cast<TsuiTitleBarButton*>(Source);
    if (s == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    m_visible = s->m_visible;
    m_buttonType = s->m_buttonType;
    m_transparent = s->m_transparent;
    m_top = s->m_top;
    m_uiStyle = s->m_uiStyle;
    m_picNormal->Assign(s->m_picNormal.get());
    m_picMouseOn->Assign(s->m_picMouseOn.get());
    m_picMouseDown->Assign(s->m_picMouseDown.get());
    SetControlBoxMenu(s->m_controlBoxMenu);
    Changed();
}

void TsuiTitleBarButton::Changed() {
    if (m_bar != nullptr) m_bar->Repaint();
}

void TsuiTitleBarButton::SetVisible(bool v) { m_visible = v; Changed(); }
void TsuiTitleBarButton::SetTransparent(bool v) { m_transparent = v; Changed(); }
void TsuiTitleBarButton::SetTop(int v) { m_top = v; Changed(); }
void TsuiTitleBarButton::SetPicNormal(TPicture* v) { m_picNormal->Assign(v); Changed(); }
void TsuiTitleBarButton::SetPicMouseOn(TPicture* v) { m_picMouseOn->Assign(v); Changed(); }
void TsuiTitleBarButton::SetPicMouseDown(TPicture* v) { m_picMouseDown->Assign(v); Changed(); }

void TsuiTitleBarButton::SetControlBoxMenu(TPopupMenu* v) {
    if (m_bar != nullptr && m_controlBoxMenu != nullptr) m_controlBoxMenu->RemoveFreeNotification(m_bar);
    m_controlBoxMenu = v;
    if (m_bar != nullptr && v != nullptr) v->FreeNotification(m_bar);
    Changed();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType v) {
    if (v == suiControlBox && m_bar != nullptr) {
        for (int i = 0; i < m_bar->GetButtons()->Count(); ++i) {
            TsuiTitleBarButton* other = m_bar->GetButtons()->Items(i);
            if (other != this && other->m_buttonType == suiControlBox) {
                MessageDlg("Sorry, only one button's ButtonType property can be \"suiControlBox\"", mtError, {mbOK});
                return;
            }
        }
    }
    m_buttonType = v;
    UpdateUIStyle();
    Changed();
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle v) {
    m_uiStyle = v;
    UpdateUIStyle();
    Changed();
}

void TsuiTitleBarButton::UpdateUIStyle() {
    if (m_buttonType == suiCustom) return;
    TsuiThemeValues theme(m_bar != nullptr ? m_bar->GetFileTheme() : nullptr, m_uiStyle);
    m_transparent = theme.Bool(SUI_THEME_TITLEBAR_BUTTON_TRANSPARENT_BOOL);
    TsuiTitleFrames f = SUITitleButtonFrames(m_buttonType, false);
    TBitmap frame;
    for (auto [index, picture] : {std::pair{f.Normal, m_picNormal.get()}, {f.MouseOn, m_picMouseOn.get()},
                                  {f.MouseDown, m_picMouseDown.get()}}) {
        theme.Bitmap(SUI_THEME_TITLEBAR_BUTTON_IMAGE, &frame, TitleButtonFrameCount, index);
        picture->SetBitmap(&frame);
    }
    m_top = theme.Int(SUI_THEME_TITLEBAR_BUTTON_TOP_INT);
    if (m_buttonType == suiMax && (m_bar == nullptr || !m_bar->GetCustom())) ProcessMaxBtn();
}

void TsuiTitleBarButton::ProcessMaxBtn() {
    if (m_buttonType != suiMax || m_bar == nullptr) return;
    TsuiThemeValues theme(m_bar->GetFileTheme(), m_uiStyle);
    TsuiTitleFrames f = SUITitleButtonFrames(suiMax, IsFormMaximized(m_bar->ParentForm()));
    TBitmap frame;
    for (auto [index, picture] : {std::pair{f.Normal, m_picNormal.get()}, {f.MouseOn, m_picMouseOn.get()},
                                  {f.MouseDown, m_picMouseDown.get()}}) {
        theme.Bitmap(SUI_THEME_TITLEBAR_BUTTON_IMAGE, &frame, TitleButtonFrameCount, index);
        picture->SetBitmap(&frame);
    }
}

void TsuiTitleBarButton::DoClick() {
    TCustomForm* form = m_bar != nullptr ? m_bar->ParentForm() : nullptr;
    if (form == nullptr) return;
    switch (m_buttonType) {
        case suiMax:
            if (form->GetWindowState() != wsMaximized) {
                form->SetWindowState(wsMaximized);
                if (!m_bar->InForm()) {
                    TRect work = GetWorkAreaRect();
                    work.Bottom -= 1;
                    PlaceControl(form, work);
                }
            } else {
                form->SetWindowState(wsNormal);
            }
            m_bar->ProcessMaxBtn();
            break;
        case suiMin:
            if (Application != nullptr && Application->GetMainForm() == form)
                form->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
            else
                form->SetWindowState(wsMinimized);
            break;
        case suiClose: form->Close(); break;
        case suiControlBox:
            if (m_controlBoxMenu != nullptr) {
                TPoint p = m_bar->ClientToScreen({0, m_bar->GetHeight()});
                m_controlBoxMenu->Popup(p.x, p.y);
            }
            break;
        case suiHelp:
        case suiCustom: break;
    }
}

// ---- sections -----------------------------------------------------------------------------------

TsuiTitleBarSection::TsuiTitleBarSection(TsuiTitleBar* Bar) : m_bar(Bar), m_picture(std::make_unique<TPicture>()) {}
TsuiTitleBarSection::~TsuiTitleBarSection() = default;

void TsuiTitleBarSection::Assign(TPersistent* Source) {
    auto* s = dynamic_cast<TsuiTitleBarSection*>(Source);
    if (s == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    m_width = s->m_width;
    m_align = s->m_align;
    m_picture->Assign(s->m_picture.get());
    m_stretch = s->m_stretch;
    m_autoSize = s->m_autoSize;
    Changed();
}

void TsuiTitleBarSection::Changed() {
    if (m_bar != nullptr) m_bar->Repaint();
}

void TsuiTitleBarSection::SetWidth(int v) { m_width = v; Changed(); }

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign v) {
    if (v == suiClient && m_bar != nullptr) {
        for (int i = 0; i < m_bar->GetSections()->Count(); ++i) {
            TsuiTitleBarSection* other = m_bar->GetSections()->Items(i);
            if (other != this && other->m_align == suiClient) {
                MessageDlg("Sorry, only one section's Align property can be \"suiClient\"", mtError, {mbOK});
                return;
            }
        }
    }
    m_align = v;
    if (v == suiClient) m_stretch = true;
    Changed();
}

void TsuiTitleBarSection::SetStretch(bool v) {
    m_stretch = v || m_align == suiClient;
    Changed();
}

void TsuiTitleBarSection::FitWidth() {
    if (m_autoSize && m_picture->GetGraphic() != nullptr) m_width = m_picture->GetWidth();
}

void TsuiTitleBarSection::SetAutoSize(bool v) { m_autoSize = v; FitWidth(); Changed(); }
void TsuiTitleBarSection::SetPicture(TPicture* v) { m_picture->Assign(v); FitWidth(); Changed(); }

// ---- system menu --------------------------------------------------------------------------------

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBar* Bar) : TsuiPopupMenu(Bar), m_bar(Bar) {
    SetAutoHotkeys(maManual);
    const char* captions[] = {SUI_TITLE_MENUITEM_MINIMIZE, SUI_TITLE_MENUITEM_MAXIMIZE, "-", SUI_TITLE_MENUITEM_CLOSE};
    for (int i = 0; i < 4; ++i) {
        auto* item = new TMenuItem(this);
        item->SetCaption(captions[i]);
        GetItems()->Add(item);
    }
    auto clickType = [this](TsuiTitleBarBtnType Type) {
        for (int i = 0; i < m_bar->GetButtons()->Count(); ++i) {
            TsuiTitleBarButton* b = m_bar->GetButtons()->Items(i);
            if (b->GetVisible() && b->GetButtonType() == Type) {
                b->DoClick();
                if (Type != suiMax) return;
            }
        }
    };
    GetItems()->Items(0)->OnClick = [clickType](TObject*) { clickType(suiMin); };
    GetItems()->Items(1)->OnClick = [clickType](TObject*) { clickType(suiMax); };
    GetItems()->Items(3)->OnClick = [this](TObject*) {
        if (TCustomForm* form = m_bar->ParentForm()) form->Close();
    };
    MenuAdded();
}

void TsuiTitleBarPopupMenu::Popup(int X, int Y) {
    auto hasVisible = [this](TsuiTitleBarBtnType Type) {
        for (int i = 0; i < m_bar->GetButtons()->Count(); ++i) {
            TsuiTitleBarButton* b = m_bar->GetButtons()->Items(i);
            if (b->GetVisible() && b->GetButtonType() == Type) return true;
        }
        return false;
    };
    GetItems()->Items(0)->SetEnabled(hasVisible(suiMin));
    GetItems()->Items(1)->SetEnabled(hasVisible(suiMax));
    GetItems()->Items(3)->SetEnabled(hasVisible(suiClose));
    TsuiPopupMenu::Popup(X, Y);
}

// ---- the bar ------------------------------------------------------------------------------------

TsuiTitleBar::TsuiTitleBar(TComponent* AOwner) : TPanel(AOwner) {
    ControlStyle().Exclude(csAcceptsControls);
    SetBevelOuter(bvNone);
    m_systemMenu = new TsuiTitleBarPopupMenu(this);
    for (TsuiTitleBarBtnType type : {suiControlBox, suiClose, suiMax, suiMin}) {
        TsuiTitleBarButton* b = m_buttons.Add();
        b->m_buttonType = type;
    }
    SetAlign(alTop);
    GetFont()->SetColor(clWhite);
    GetFont()->SetName("Tahoma");
    GetFont()->SetStyle({fsBold});
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiTitleBar::~TsuiTitleBar() {
    Destroying();
    m_buttons.Clear();
    m_sections.Clear();
}

void TsuiTitleBar::Notification(TComponent* AComponent, TOperation Operation) {
    TPanel::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        for (int i = 0; i < m_buttons.Count(); ++i)
            if (m_buttons.Items(i)->m_controlBoxMenu == AComponent) m_buttons.Items(i)->m_controlBoxMenu = nullptr;
        if (AComponent == m_systemMenu) m_systemMenu = nullptr;
    }
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

TCustomForm* TsuiTitleBar::ParentForm() const { return GetParentForm(const_cast<TsuiTitleBar*>(this)); }

bool TsuiTitleBar::InForm() const {
    if (GetParent() != nullptr && GetParent()->ClassNameIs("TsuiForm")) return true;
    return GetOwner() != nullptr && GetOwner()->ClassNameIs("TsuiMDIForm");
}

bool TsuiTitleBar::InMDIForm() const {
    return GetOwner() != nullptr && GetOwner()->ClassNameIs("TsuiMDIForm") && GetParent() != nullptr;
}

void TsuiTitleBar::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    if (m_custom) return;
    m_sections.Clear();
    TsuiThemeValues theme = m_style.Values();
    auto addSection = [&](int Key, TsuiTitleBarAlign Align, bool AutoSize) {
        TsuiTitleBarSection* s = m_sections.Add();
        // Each section its own bitmap: a key the theme lacks leaves this one empty, never
        // another section's picture.
        TBitmap picture;
        theme.Bitmap(Key, &picture);
        TPicture p;
        p.SetBitmap(&picture);
        s->SetPicture(&p);
        if (AutoSize) s->SetAutoSize(true);
        s->SetAlign(Align);
    };
    addSection(SUI_THEME_TITLEBAR_LEFT_IMAGE, suiLeft, true);
    addSection(SUI_THEME_TITLEBAR_RIGHT_IMAGE, suiRight, true);
    addSection(SUI_THEME_TITLEBAR_CLIENT_IMAGE, suiClient, false);
    m_leftBtnXOffset = theme.Int(SUI_THEME_TITLEBAR_BUTTON_LEFTOFFSET_INT);
    m_rightBtnXOffset = theme.Int(SUI_THEME_TITLEBAR_BUTTON_RIGHTOFFSET_INT);
    TBitmap strip;
    theme.Bitmap(SUI_THEME_TITLEBAR_BUTTON_IMAGE, &strip);
    m_buttonHeight = strip.GetHeight();
    m_buttonTop = theme.Int(SUI_THEME_TITLEBAR_BUTTON_TOP_INT) - (InForm() ? 3 : 0);
    if (TCustomForm* form = ParentForm()) form->Constraints().MinWidth = theme.Int(SUI_THEME_FORM_MINWIDTH_INT);
    m_roundCorner = theme.Int(SUI_THEME_FORM_ROUNDCORNER_INT);
    const TsuiUIStyle effective = theme.FromFile() ? FromThemeFile : theme.Effective();
    for (int i = 0; i < m_buttons.Count(); ++i) m_buttons.Items(i)->SetUIStyle(effective);
    if (m_systemMenu != nullptr) {
        m_systemMenu->SetUIStyle(effective);
        m_systemMenu->SetFileTheme(GetFileTheme());
    }
    if (!m_keepFontColour) ApplyFontColour(theme);
    SetAutoSize(true);
    Repaint();
}

void TsuiTitleBar::ApplyFontColour(const TsuiThemeValues& Theme) {
    TColor colour = clWhite;
    if (GetUIStyle() == MacOS) {
        colour = clBlack;
    } else if (Theme.FromFile()) {
        int kind = Theme.Int(SUI_THEME_CONTROL_FONT_COLOR);
        if (kind == 0x10000 || kind == 0x30000 || kind == 0x40000 || kind == 0x50000) colour = clBlack;
    }
    GetFont()->SetColor(colour);
}

void TsuiTitleBar::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    m_keepFontColour = true;
    SetUIStyle(GetUIStyle());
    m_keepFontColour = false;
}

void TsuiTitleBar::SetAutoSize(bool v) {
    m_autoSize = v;
    if (m_sections.Count() == 0) {
        m_autoSize = false;
        return;
    }
    if (!m_autoSize) return;
    int h = m_sections.Items(0)->GetPicture()->GetHeight();
    SetHeight(h - (InForm() ? 3 : 0));
}

void TsuiTitleBar::SetSections(const TsuiTitleBarSections& v) { m_sections.Assign(v); Repaint(); }
void TsuiTitleBar::SetButtons(const TsuiTitleBarButtons& v) { m_buttons.Assign(v); Repaint(); }
void TsuiTitleBar::SetButtonInterval(int v) { m_buttonInterval = v; Repaint(); }
void TsuiTitleBar::SetCaption(const String& v) { m_caption = v; Repaint(); }
void TsuiTitleBar::SetActive(bool v) { m_formActive = v; Repaint(); }
void TsuiTitleBar::SetLeftBtnXOffset(int v) { m_leftBtnXOffset = v; Repaint(); }
void TsuiTitleBar::SetRightBtnXOffset(int v) { m_rightBtnXOffset = v; Repaint(); }
void TsuiTitleBar::SetDrawAppIcon(bool v) { m_drawAppIcon = v; Repaint(); }

TBitmap* TsuiTitleBar::SectionBitmap(int Index) {
    TsuiTitleBarSection* s = m_sections.Items(Index);
    return s != nullptr ? s->GetPicture()->GetBitmap() : nullptr;
}
TBitmap* TsuiTitleBar::GetLeftImage() { return SectionBitmap(0); }
TBitmap* TsuiTitleBar::GetRightImage() { return SectionBitmap(1); }
TBitmap* TsuiTitleBar::GetCenterImage() { return SectionBitmap(2); }

bool TsuiTitleBar::CanPaint() const {
    if (m_sections.Count() != 3) return false;
    for (int i = 0; i < 3; ++i)
        if (m_sections.Items(i)->GetPicture()->GetGraphic() == nullptr) return false;
    return true;
}

void TsuiTitleBar::ProcessMaxBtn() {
    for (int i = 0; i < m_buttons.Count(); ++i) m_buttons.Items(i)->ProcessMaxBtn();
    Repaint();
}

// ---- painting -----------------------------------------------------------------------------------

void TsuiTitleBar::Paint() {
    const int w = GetWidth(), h = GetHeight();
    if (w <= 0 || h <= 0) return;
    TBitmap buffer(w, h, pf24bit);
    buffer.GetCanvas()->GetBrush()->SetStyle(bsClear);
    buffer.GetCanvas()->SetFont(GetFont());
    DrawSectionsTo(&buffer);
    DrawButtons(&buffer);
    Canvas()->Draw(0, 0, &buffer);
}

void TsuiTitleBar::DrawSectionsTo(TBitmap* Buffer) {
    int x0 = 0, y0 = 0;
    if (InMDIForm()) { x0 = -4; y0 = -3; }
    else if (InForm()) { x0 = -3; y0 = -3; }
    TCanvas* c = Buffer->GetCanvas();
    TBitmap* left = GetLeftImage();
    TBitmap* right = GetRightImage();
    TBitmap* middle = GetCenterImage();
    int l = x0, r = Buffer->GetWidth() - x0;
    if (left != nullptr && !left->GetEmpty()) {
        c->Draw(x0, y0, left);
        l = x0 + left->GetWidth();
    }
    if (right != nullptr && !right->GetEmpty()) {
        r = Buffer->GetWidth() - right->GetWidth() - x0;
        c->Draw(r, y0, right);
    }
    if (middle != nullptr && !middle->GetEmpty()) c->StretchDraw(Rect(l, y0, r, y0 + middle->GetHeight()), middle);
}

TsuiTitleBarLayout TsuiTitleBar::Layout(int Width) const {
    TsuiTitleBarLayout out;
    out.Buttons.assign(static_cast<size_t>(m_buttons.Count()), TRect{});
    int x = Width + 1 + m_rightBtnXOffset;
    int controlBox = -1;
    for (int i = 0; i < m_buttons.Count(); ++i) {
        TsuiTitleBarButton* b = m_buttons.Items(i);
        if (!b->GetVisible()) continue;
        if (b->GetButtonType() == suiControlBox) {
            if (controlBox < 0) controlBox = i;
            continue;
        }
        TPicture* pic = b->GetPicNormal();
        x -= pic->GetWidth() + 1 + m_buttonInterval;
        out.Buttons[static_cast<size_t>(i)] = Bounds(x, m_buttonTop, pic->GetWidth(), pic->GetHeight());
    }
    int xl = m_leftBtnXOffset;
    if (controlBox >= 0) {
        TPicture* pic = m_buttons.Items(controlBox)->GetPicNormal();
        out.Buttons[static_cast<size_t>(controlBox)] = Bounds(xl, m_buttonTop, pic->GetWidth(), pic->GetHeight());
        if (m_drawAppIcon) {
            out.DrawsAppIcon = true;
            out.AppIcon = {xl + 3, m_buttonTop};
            xl += 21;
        } else {
            xl += pic->GetWidth() + 5;
        }
    }
    if (xl == 0) xl = 6;
    out.CaptionLeft = xl;
    out.CaptionRight = x;
    return out;
}

int TsuiTitleBar::HitButton(TPoint P) const {
    TsuiTitleBarLayout layout = Layout(GetWidth());
    int hot = -1;
    for (size_t i = 0; i < layout.Buttons.size(); ++i) {
        const TRect& r = layout.Buttons[i];
        if (!r.IsEmpty() && P.x >= r.Left && P.x < r.Right && P.y >= r.Top && P.y < r.Bottom) hot = static_cast<int>(i);
    }
    return hot;
}

void TsuiTitleBar::DrawButtonPicture(TBitmap* Buffer, TsuiTitleBarButton* Button, TPicture* Picture, int X) {
    TPicture* normal = Button->GetPicNormal();
    if (normal->GetGraphic() == nullptr) return;
    TBitmap through(normal->GetWidth(), normal->GetHeight(), pf24bit);
    if (Picture->GetGraphic() != nullptr) through.GetCanvas()->Draw(0, 0, Picture->GetGraphic());
    through.SetTransparent(Button->GetTransparent());
    Buffer->GetCanvas()->Draw(X, m_buttonTop, &through);
}

void TsuiTitleBar::DrawAppIcon(TBitmap* Buffer, TPoint At) {
    TBitmap icon;
    // The application's own icon where it has one; the program's "MAINICON" only without it.
    if (Application != nullptr && !Application->GetIcon()->GetEmpty()) icon.Assign(Application->GetIcon());
    else icon.LoadFromResourceName(HInstance, "MAINICON");
    if (icon.GetEmpty()) return;
    icon.SetTransparent(true);
    Buffer->GetCanvas()->StretchDraw(Bounds(At.x, At.y, 16, 16), &icon);
}

void TsuiTitleBar::DrawButtons(TBitmap* Buffer) {
    TsuiTitleBarLayout layout = Layout(Buffer->GetWidth());
    TPoint pointer = ScreenToClient(Mouse->GetCursorPos());
    m_hotButton = HitButton(pointer);
    for (int i = 0; i < m_buttons.Count(); ++i) {
        TsuiTitleBarButton* b = m_buttons.Items(i);
        const TRect& r = layout.Buttons[static_cast<size_t>(i)];
        if (r.IsEmpty() && b->GetPicNormal()->GetGraphic() != nullptr) continue;
        if (!b->GetVisible()) continue;
        if (b->GetButtonType() == suiControlBox && layout.DrawsAppIcon) {
            DrawAppIcon(Buffer, layout.AppIcon);
            continue;
        }
        TPicture* pic = b->GetPicNormal();
        if (i == m_hotButton) pic = m_pressed ? b->GetPicMouseDown() : b->GetPicMouseOn();
        DrawButtonPicture(Buffer, b, pic, r.Left);
    }
    TCanvas* c = Buffer->GetCanvas();
    if (!m_formActive) c->GetFont()->SetColor(clInactiveCaption);
    String text = SUIShortenCaption(c, m_caption, layout.CaptionRight - layout.CaptionLeft);
    if (text.empty()) return;
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(layout.CaptionLeft, (m_buttonHeight - c->TextHeight(text)) / 2 + m_buttonTop, text);
}

// ---- mouse --------------------------------------------------------------------------------------

void TsuiTitleBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPanel::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    m_pressed = true;
    Repaint();
    TCustomForm* form = ParentForm();
    if (form != nullptr && HitButton({X, Y}) == -1 && !IsFormMaximized(form)) {
        SetCaptureControl(nullptr);
        TPoint screen = ClientToScreen({X, Y});
        form->Perform(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        m_pressed = false;
    }
}

void TsuiTitleBar::MouseMove(TShiftState Shift, int X, int Y) {
    TPanel::MouseMove(Shift, X, Y);
    Repaint();
}

void TsuiTitleBar::PopupSystemMenu() {
    if (m_systemMenu == nullptr) return;
    TPoint p = ClientToScreen({0, GetHeight()});
    m_systemMenu->Popup(p.x, p.y);
}

void TsuiTitleBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPanel::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    int hot = HitButton({X, Y});
    m_pressed = false;
    if (TsuiTitleBarButton* b = m_buttons.Items(hot)) {
        if (b->GetButtonType() == suiControlBox && b->GetControlBoxMenu() == nullptr) {
            PopupSystemMenu();
        } else {
            b->DoClick();
            if (b->GetButtonType() == suiCustom && OnCustomBtnsClick) OnCustomBtnsClick(this, hot);
            if (b->GetButtonType() == suiHelp && OnHelpBtnClick) OnHelpBtnClick(this, hot);
        }
    }
    Repaint();
}

void TsuiTitleBar::DblClick() {
    TPanel::DblClick();
    TPoint p = ScreenToClient(Mouse->GetCursorPos());
    int hot = HitButton(p);
    if (hot == -1) {
        for (int i = 0; i < m_buttons.Count(); ++i) {
            TsuiTitleBarButton* b = m_buttons.Items(i);
            if (b->GetVisible() && b->GetButtonType() == suiMax) {
                b->DoClick();
                break;
            }
        }
    } else if (m_buttons.Items(hot)->GetButtonType() == suiControlBox) {
        if (TCustomForm* form = ParentForm()) form->Close();
    }
}

void TsuiTitleBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_ERASEBKGND: Message.Result = 1; return;
        case CM_FONTCHANGED: Repaint(); break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONUP:
        case WM_NCMOUSEMOVE:
            if (TCustomForm* form = ParentForm()) {
                Message.Result = form->Perform(Message.Msg, Message.WParam, Message.LParam);
                return;
            }
            break;
        case CM_MOUSELEAVE:
            TPanel::Dispatch(Message);
            Repaint();
            return;
        default: break;
    }
    TPanel::Dispatch(Message);
}
