#include "skin/core/SUIForm.h"

#include <algorithm>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/FormWindow.h"
#include "platform/vcl/Resources.h"
#include "skin/core/SUIImagePanel.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suimenu.h"
#include "skin/core/Suipublic.h"

namespace {

// Both frames use these: the maximize counter and the child-shifted flag, for the sizing rules.
int g_maximizeCount = 0;
bool g_childShifted = false;

constexpr UINT CM_RECREATE_NOTICES[] = {0xB033, 0xB03A, 0xBE10};

void FillRect(TCanvas* C, int X1, int Y1, int X2, int Y2, TColor Colour) {
    if (X2 <= X1 || Y2 <= Y1) return;
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(Colour);
    C->FillRect(Rect(X1, Y1, X2, Y2));
}

// Columns From..From+Width of Picture as a bitmap Height high.
std::unique_ptr<TBitmap> Columns(TBitmap* Picture, int From, int Width) {
    auto out = std::make_unique<TBitmap>(std::max(Width, 1), Picture->GetHeight(), pf24bit);
    out->GetCanvas()->Draw(-From, 0, Picture);
    return out;
}

}  // namespace

// ---- shared painting ----------------------------------------------------------------------------

void SUIPaintFormBorder(TCanvas* C, const TsuiFormBorder& B) {
    const int W = B.Width, H = B.Height, bw = B.BorderWidth;
    const int th = B.TitleBarVisible ? B.TitleBarHeight : 0;
    FillRect(C, 0, 0, bw, H, B.BorderColor);
    FillRect(C, 0, H - bw, W, H, B.BorderColor);
    FillRect(C, W - bw, 0, W, H, B.BorderColor);
    if (bw < 4) {
        FillRect(C, bw, th, 3, H - bw, B.InnerColor);
        FillRect(C, bw, H - 3, W - bw, H - bw, B.InnerColor);
        FillRect(C, W - 3, th, W - bw, H - bw, B.InnerColor);
        if (B.MenuBarVisible) {
            const int top = B.TitleBarHeight + 3, bottom = top + B.MenuBarHeight;
            FillRect(C, bw, top, 3, bottom, B.MenuBarColor);
            FillRect(C, W - 3, top, W - bw, bottom, B.MenuBarColor);
        }
    }
    const bool pictures = B.TitleLeft != nullptr && B.TitleRight != nullptr && B.TitleCenter != nullptr &&
                          !B.TitleLeft->GetEmpty() && !B.TitleRight->GetEmpty() && !B.TitleCenter->GetEmpty();
    if (B.TitleBarVisible && pictures && bw < 4) {
        // The three pixels around the title bar continue its pictures.
        auto left = Columns(B.TitleLeft, 0, 3 - bw);
        C->Draw(bw, 0, left.get());
        const int rw = B.TitleRight->GetWidth();
        if (rw < 3) {
            C->StretchDraw(Bounds(W - 3, 0, 3 - bw, B.TitleRight->GetHeight()), B.TitleRight);
        } else {
            TBitmap strip(3 - bw > 0 ? 3 - bw : 1, B.TitleRight->GetHeight(), pf24bit);
            strip.GetCanvas()->Draw(2 - rw, 0, B.TitleRight);
            C->Draw(W - 3, 0, &strip);
        }
        const int bandW = std::max(W - 5, 1);
        TBitmap band(bandW, 3, pf24bit);
        TCanvas* b = band.GetCanvas();
        const int rightX = bandW - rw + 3;
        b->StretchDraw(Rect(B.TitleLeft->GetWidth() - 2, 0, rightX, B.TitleCenter->GetHeight()), B.TitleCenter);
        b->Draw(-2, 0, B.TitleLeft);
        b->Draw(rightX, 0, B.TitleRight);
        C->Draw(2, 0, &band);
        const int r = B.RoundCorner;
        if (bw == 1 && r == 11) {
            C->GetPen()->SetColor(B.BorderColor);
            C->Arc(W - 2 * r + 1, -1, W + 1, 2 * r - 1, W + 1, r - 1, W - r + 1, -1);
            C->Arc(-1, -1, 2 * r - 1, 2 * r - 1, r - 1, -1, -1, r - 1);
        }
    }
    if (!B.TitleBarVisible) {
        FillRect(C, 0, 0, W, 1, B.BorderColor);
        FillRect(C, bw, 1, W - bw, 3, B.InnerColor);
    }
}

HRGN SUICreateFormRegion(int Width, int Height, int R) {
    HRGN region = CreateRoundRectRgn(0, 0, Width + 1, Height + 1, R, R);
    HRGN left = CreateRectRgn(0, Height - 2 * R, 2 * R, Height);
    HRGN right = CreateRectRgn(Width - 2 * R, Height - 2 * R, Width, Height);
    CombineRgn(region, region, left, RGN_OR);
    CombineRgn(region, region, right, RGN_OR);
    DeleteObject(left);
    DeleteObject(right);
    return region;
}

TColor SUIMenuBarColorFromTheme(int Key27, TColor Fallback) {
    if (Key27 == 0x20000) return 0xAC5B3B;
    if (Key27 == 0x30000) return 0x996733;
    return Fallback;
}

bool SUIDrawMenuBarBackground(TToolBar* Bar, TsuiUIStyle Look) {
    if (Look != MacOS) return true;
    TBitmap picture;
    picture.LoadFromResourceName(HInstance, "MACOS_MENU_BAR");
    if (!picture.GetEmpty()) Bar->GetCanvas()->StretchDraw(Bar->GetClientRect(), &picture);
    return false;
}

void SUIDrawMenuBarButton(TToolBar* Bar, TToolButton* Button, TCustomDrawState State, TsuiUIStyle Look,
                          TsuiFileTheme* Theme, TMainMenu* Menu, bool GreyDisabled) {
    TCanvas* c = Bar->GetCanvas();
    TRect r = Button->GetBoundsRect();
    TsuiThemeValues theme(Theme, Look);
    auto* skinned = dynamic_cast<TsuiMainMenu*>(Menu);
    TFont font;
    font.Assign(Bar->GetFont());
    if (skinned != nullptr) {
        if (skinned->GetUseSystemFont()) {
            Suimenu::Menu_GetSystemFont(&font);
        } else {
            font.SetName(skinned->GetFontName());
            font.SetSize(skinned->GetFontSize());
            font.SetCharset(skinned->GetFontCharset());
            font.SetColor(skinned->GetFontColor());
        }
    }
    c->SetFont(&font);
    const String caption = Button->GetCaption();
    const bool hot = State.Contains(cdsHot) || State.Contains(cdsSelected);
    if (hot && Look == MacOS) {
        TBitmap buffer(r.Width(), r.Height(), pf24bit);
        TBitmap select;
        select.LoadFromResourceName(HInstance, "MACOS_MENU_SELECT");
        if (!select.GetEmpty()) buffer.GetCanvas()->StretchDraw(Rect(0, 0, r.Width(), r.Height()), &select);
        TCanvas* b = buffer.GetCanvas();
        b->SetFont(&font);
        b->GetFont()->SetColor(theme.Color(SUI_THEME_MENU_SELECTED_FONT_COLOR));
        b->GetBrush()->SetStyle(bsClear);
        TRect text = Rect(0, 0, r.Width(), r.Height() + 2);
        b->DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c->Draw(r.Left, r.Top, &buffer);
        return;
    }
    if (hot) {
        TRect box = r;
        if (State.Contains(cdsSelected)) box.Right -= 2;
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(theme.Color(SUI_THEME_MENU_SELECTED_BACKGROUND_COLOR));
        c->FillRect(box);
        c->GetBrush()->SetColor(theme.Color(SUI_THEME_MENU_SELECTED_BORDER_COLOR));
        c->FrameRect(box);
        TRect text = Rect(r.Left, r.Top + 2, r.Right, r.Bottom + 2);
        if (State.Contains(cdsSelected)) text = Rect(text.Left + 2, text.Top + 2, text.Right + 2, text.Bottom + 2);
        c->GetBrush()->SetStyle(bsClear);
        c->GetFont()->SetColor(theme.Color(SUI_THEME_MENU_SELECTED_FONT_COLOR));
        c->DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    TColor colour = theme.Color(SUI_THEME_MENU_FONT_COLOR);
    if (theme.FromFile() && theme.Int(SUI_THEME_CONTROL_FONT_COLOR) == 0x30000) colour = clWhite;
    if (GreyDisabled && !Button->GetEnabled()) colour = 0x808080;
    c->GetBrush()->SetStyle(bsClear);
    c->GetFont()->SetColor(colour);
    TRect text = Rect(r.Left, r.Top + 2, r.Right, r.Bottom + 2);
    c->DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void SUIFillMenuBar(TToolBar* Bar, TMainMenu* Menu, int ButtonHeight) {
    Bar->SetAutoSize(false);
    while (Bar->ButtonCount() > 0) delete Bar->Buttons(0);
    if (Menu == nullptr) return;
    if (ButtonHeight > 0) Bar->SetButtonHeight(ButtonHeight);
    TMenuItem* root = Menu->GetItems();
    for (int i = 0; i < root->Count(); ++i) {
        auto* b = new TToolButton(Bar);
        b->SetParent(Bar);
        b->SetGrouped(true);
        b->SetMenuItem(root->Items(i));
        b->SetAutoSize(true);
    }
    Bar->SetAutoSize(true);
}

void SUIUpdateMenuBarButtons(TToolBar* Bar) {
    if (Bar == nullptr) return;
    for (int i = 0; i < Bar->ButtonCount(); ++i) {
        TToolButton* b = Bar->Buttons(i);
        if (TMenuItem* item = b->GetMenuItem()) {
            b->SetCaption(item->GetCaption());
            b->SetEnabled(item->GetEnabled());
        }
    }
}

void SUITakeOverBorderStyle(TCustomForm* Form) {
    const TFormBorderStyle style = Form->GetBorderStyle();
    if (style == bsNone || style == bsSingle || style == bsToolWindow) Form->SetBorderStyle(bsDialog);
}

void SUISetFormRegion(TComponent* Frame, TCustomForm* Form, int Radius) {
    if (Form == nullptr || Frame->GetComponentState().Contains(csDesigning)) return;
    SetWindowRgn(Form->GetHandle(), SUICreateFormRegion(Form->GetWidth(), Form->GetHeight(), Radius), TRUE);
}

void SUIPaintFormWindowBorder(TCustomForm* Form, TsuiTitleBar* TitleBar, TsuiFormBorder Border) {
    if (Form == nullptr || !Form->HandleAllocated()) return;
    TCanvas* c = GetWindowDC(Form->GetHandle());
    if (c == nullptr) return;
    Border.Width = Form->GetWidth();
    Border.Height = Form->GetHeight();
    Border.TitleBarHeight = TitleBar != nullptr ? TitleBar->GetHeight() : 0;
    if (TitleBar != nullptr && TitleBar->CanPaint()) {
        Border.TitleLeft = TitleBar->GetLeftImage();
        Border.TitleRight = TitleBar->GetRightImage();
        Border.TitleCenter = TitleBar->GetCenterImage();
    }
    SUIPaintFormBorder(c, Border);
    ReleaseDC(Form->GetHandle(), c);
}

void SUIForgetMenuHost(TMainMenu* Menu, IsuiMenuHost* Host) {
    if (auto* skinned = dynamic_cast<TsuiMainMenu*>(Menu); skinned != nullptr && skinned->GetForm() == Host)
        skinned->SetForm(nullptr);
}

// ---- the title bar's forwarded properties ---------------------------------------------------------

bool TsuiTitleBarForwarders::GetTitleBarCustom() const {
    return ForwardedTitleBar() != nullptr && ForwardedTitleBar()->GetCustom();
}

void TsuiTitleBarForwarders::SetTitleBarCustom(bool v) {
    if (ForwardedTitleBar() != nullptr) ForwardedTitleBar()->SetCustom(v);
}

TsuiTitleBarButtons* TsuiTitleBarForwarders::GetTitleBarButtons() const {
    return ForwardedTitleBar() != nullptr ? ForwardedTitleBar()->GetButtons() : nullptr;
}

void TsuiTitleBarForwarders::SetTitleBarButtons(const TsuiTitleBarButtons& v) {
    if (ForwardedTitleBar() != nullptr) ForwardedTitleBar()->SetButtons(v);
}

TsuiTitleBarSections* TsuiTitleBarForwarders::GetTitleBarSections() const {
    return ForwardedTitleBar() != nullptr ? ForwardedTitleBar()->GetSections() : nullptr;
}

void TsuiTitleBarForwarders::SetTitleBarSections(const TsuiTitleBarSections& v) {
    if (ForwardedTitleBar() != nullptr) ForwardedTitleBar()->SetSections(v);
}

bool TsuiTitleBarForwarders::GetTitleBarDrawAppIcon() const {
    return ForwardedTitleBar() != nullptr && ForwardedTitleBar()->GetDrawAppIcon();
}

void TsuiTitleBarForwarders::SetTitleBarDrawAppIcon(bool v) {
    if (ForwardedTitleBar() != nullptr) ForwardedTitleBar()->SetDrawAppIcon(v);
}

// ---- TsuiForm: taking over ------------------------------------------------------------------------

TsuiForm::TsuiForm(TComponent* AOwner) : TsuiFrameSkin(AOwner) {
    auto* form = AOwner != nullptr ? AOwner->As<TCustomForm>() : nullptr;
    if (form == nullptr) return;
    for (int i = 0; i < form->ControlCount(); ++i)
        if (dynamic_cast<TsuiForm*>(form->Controls(i)) != nullptr) return;  // the first keeps control
    m_form = form;
    form->FreeNotification(this);
    form->Constraints().MinHeight = 50;
    form->Constraints().MinWidth = 125;
    form->SetBorderWidth(0);
    Constraints().MinHeight = 50;
    Constraints().MinWidth = 125;
    m_creationBounds = form->GetBoundsRect();
    m_createdMaximized = form->GetWindowState() == wsMaximized;
    m_titleBar = new TsuiTitleBar(this);
    SetParent(form);
    m_titleBar->SetParent(this);
    m_menuBarColor = GetColor();
    m_menuBarHeight = 22;
    SetUIStyle(DeepBlue);
    m_autoUpdateSub = false;
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetBorderStyle(bsNone);
    SetAlign(alClient);
    SetCaption(form->GetCaption());
    SetTitleBarVisible(true);
    TPanel::SetCaption(" ");
    SUITakeOverBorderStyle(form);
    RemoveCaptionStyle();
    m_oldWndProc = form->WindowProc;
    form->WindowProc = [this](TMessage& M) { NewParentWndProc(M); };
    m_appEvents = new TApplicationEvents(nullptr);
    m_appEvents->OnMessage = [this](MSG& Msg, bool& Handled) { OnApplicationMessage(Msg, Handled); };
    RefreshFrame();
}

TsuiForm::~TsuiForm() {
    Destroying();
    Release();
}

// Everything the frame did to its form is given back.
void TsuiForm::Release() {
    if (!BeginRelease()) return;
    // The hook goes even from a form being freed: the frame's own teardown still sends it messages.
    if (m_form != nullptr) m_form->WindowProc = m_oldWndProc;
    if (m_form != nullptr && !m_form->GetComponentState().Contains(csDestroying)) {
        if (m_form->HandleAllocated()) {
            HWND h = m_form->GetHandle();
            SetWindowLong(h, GWL_STYLE, GetWindowLong(h, GWL_STYLE) | WS_CAPTION);
        } else {
            m_form->SetWindowStyle(m_form->GetWindowStyle() | WS_CAPTION);
        }
        m_form->FrameChanged();
    }
    if (m_form != nullptr) m_form->RemoveFreeNotification(this);
    m_form = nullptr;
}

void TsuiForm::RemoveCaptionStyle() {
    if (m_form == nullptr) return;
    m_form->SetWindowStyle(m_form->GetWindowStyle() & ~WS_CAPTION);
}

void TsuiForm::RefreshFrame() {
    if (m_form == nullptr) return;
    SetWindowPos(m_form->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TsuiForm::ReAssign() {
    if (m_form == nullptr || (m_form->GetWindowStyle() & WS_CAPTION) == 0) return;
    RemoveCaptionStyle();
    RefreshFrame();
}

bool TsuiForm::MDIChild() const { return m_form != nullptr && m_form->GetFormStyle() == fsMDIChild; }

void TsuiForm::Notification(TComponent* AComponent, TOperation Operation) {
    TPanel::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == m_form) {
        Release();
        return;
    }
    if (AComponent == m_formPanel) m_formPanel = nullptr;
    if (AComponent == m_titleBar) m_titleBar = nullptr;
    if (AComponent == m_menuBar) m_menuBar = nullptr;
    if (AComponent == m_menu && m_menu != nullptr) {
        m_menu = nullptr;
        DestroyMenuBar();
    }
    if (m_style.ThemeRemoved(AComponent, Operation)) {
        ContainerApplyUIStyle(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}

// ---- looks and properties -----------------------------------------------------------------------

void TsuiForm::SetUIStyle(TsuiUIStyle Value) {
    TRect bounds = m_form != nullptr ? m_form->GetBoundsRect() : TRect{};
    m_style.StoreUIStyle(Value);
    TsuiThemeValues theme = m_style.Values();
    m_borderColor = theme.Color(SUI_THEME_FORM_BORDER_COLOR);
    m_borderWidth = theme.Int(SUI_THEME_FORM_BORDERWIDTH_INT);
    SetColor(theme.Color(SUI_THEME_FORM_BACKGROUND_COLOR));
    if (theme.FromFile()) {
        if (m_menuBar != nullptr) {
            m_menuBarColor = SUIMenuBarColorFromTheme(theme.Int(SUI_THEME_CONTROL_FONT_COLOR), GetColor());
            m_menuBar->SetColor(m_menuBarColor);
        }
    } else {
        m_menuBarColor = GetColor();
        if (m_menuBar != nullptr) m_menuBar->SetColor(m_menuBarColor);
    }
    const int radius = theme.Int(SUI_THEME_FORM_ROUNDCORNER_INT);
    SetRoundCorner(radius);
    if (m_titleBar != nullptr) {
        m_titleBar->SetFileTheme(GetFileTheme());
        m_titleBar->SetUIStyle(Value);
    }
    if (auto* menu = dynamic_cast<TsuiMainMenu*>(m_menu)) {
        menu->SetUIStyle(Value);
        menu->SetFileTheme(GetFileTheme());
    }
    if (m_autoUpdateSub) ContainerApplyUIStyle(this, Value, GetFileTheme());
    if (MDIChild()) m_form->SetBoundsRect(bounds);
    Repaint();
    PaintFormBorder();
}

void TsuiForm::SetBorderWidth(int v) { m_borderWidth = v; PaintFormBorder(); }

String TsuiForm::GetCaption() const { return m_titleBar != nullptr ? m_titleBar->GetCaption() : String(); }

void TsuiForm::SetCaption(const String& v) {
    if (m_titleBar != nullptr) m_titleBar->SetCaption(v);
    if (m_form != nullptr) m_form->SetCaption(v);
}

bool TsuiForm::GetTitleBarVisible() const { return TsuiFrameSkin::GetTitleBarVisible(); }

void TsuiForm::SetTitleBarVisible(bool v) {
    if (m_titleBar == nullptr || v == m_titleBar->GetVisible()) return;
    m_titleBar->SetVisible(v);
    m_titleBar->SetTop(0);
    PaintFormBorder();
}

TFont* TsuiForm::GetFont() const { return m_titleBar != nullptr ? m_titleBar->GetFont() : TPanel::GetFont(); }

void TsuiForm::SetFont(TFont* v) {
    if (m_titleBar != nullptr) m_titleBar->SetFont(v);
}

TsuiTitleBarButtonClickEvent TsuiForm::GetOnTitleBarCustomBtnsClick() const {
    return m_titleBar != nullptr ? m_titleBar->OnCustomBtnsClick : TsuiTitleBarButtonClickEvent();
}

void TsuiForm::SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonClickEvent v) {
    if (m_titleBar != nullptr) m_titleBar->OnCustomBtnsClick = std::move(v);
}

TsuiTitleBarButtonClickEvent TsuiForm::GetOnTitleBarHelpBtnClick() const {
    return m_titleBar != nullptr ? m_titleBar->OnHelpBtnClick : TsuiTitleBarButtonClickEvent();
}

void TsuiForm::SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonClickEvent v) {
    if (m_titleBar != nullptr) m_titleBar->OnHelpBtnClick = std::move(v);
}

int TsuiForm::TitleBarHeight() const { return GetTitleBarVisible() ? m_titleBar->GetHeight() : 0; }

int TsuiForm::GetRoundCorner() const { return GetTitleBarVisible() ? m_titleBar->GetRoundCorner() : 0; }

void TsuiForm::SetRoundCorner(int v) {
    if (m_titleBar != nullptr) m_titleBar->SetRoundCorner(v);
    SetRegion();
}

void TsuiForm::SetPanel(TPanel* v) {
    if (v == this) {
        MessageDlg("Sorry, you can't select the Form assign to FormPanel property", mtError, {mbOK});
        return;
    }
    if (m_formPanel != nullptr) m_formPanel->RemoveFreeNotification(this);
    m_formPanel = v;
    if (v == nullptr) return;
    v->FreeNotification(this);
    v->SetAlign(alClient);
    if (auto* image = dynamic_cast<TsuiImagePanel*>(v)) {
        image->SetCaption("");
    } else if (v->ClassNameIs("TPanel")) {
        v->SetBevelInner(bvNone);
        v->SetBevelOuter(bvNone);
        v->SetBorderStyle(bsNone);
        v->SetCaption("");
    }
}

void TsuiForm::SetMenuBarHeight(int v) {
    m_menuBarHeight = v;
    if (m_menuBar == nullptr) return;
    m_menuBar->SetHeight(v);
    m_menuBar->SetButtonHeight(v);
}

// ---- the menu bar -------------------------------------------------------------------------------

void TsuiForm::SetMenu(TMainMenu* Menu) {
    LinkMenu(Menu);
    if (Menu != nullptr) {
        if (m_menuBar == nullptr) CreateMenuBar();
        UpdateMenu();
    } else {
        DestroyMenuBar();
    }
}

void TsuiForm::CreateMenuBar() {
    if (m_menuBar != nullptr || MDIChild()) return;
    m_menuBar = new TToolBar(this);
    m_menuBar->SetParent(this);
    m_menuBar->SetFlat(true);
    m_menuBar->SetEdgeBorders({});
    m_menuBar->SetShowCaptions(true);
    m_menuBar->SetHeight(m_menuBarHeight);
    m_menuBar->SetButtonHeight(m_menuBarHeight);
    m_menuBar->SetColor(m_menuBarColor);
    m_menuBar->SetWrapable(true);
    m_menuBar->SetAutoSize(true);
    m_menuBar->SetTop(TitleBarHeight());
    m_menuBar->OnCustomDraw = [this](TToolBar* Bar, const TRect&, bool& DefaultDraw) {
        auto* menu = dynamic_cast<TsuiMainMenu*>(m_menu);
        DefaultDraw = SUIDrawMenuBarBackground(Bar, menu != nullptr ? menu->GetUIStyle() : GetUIStyle());
    };
    m_menuBar->OnCustomDrawButton = [this](TToolBar* Bar, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw) {
        DefaultDraw = false;
        auto* menu = dynamic_cast<TsuiMainMenu*>(m_menu);
        SUIDrawMenuBarButton(Bar, Button, State, menu != nullptr ? menu->GetUIStyle() : GetUIStyle(),
                             menu != nullptr ? menu->GetFileTheme() : GetFileTheme(), m_menu, true);
    };
    if (m_titleBar != nullptr) m_titleBar->SetTop(0);
}

void TsuiForm::DestroyMenuBar() {
    if (m_menuBar != nullptr && !MDIChild()) {
        TToolBar* bar = m_menuBar;
        m_menuBar = nullptr;
        delete bar;
    }
    if (m_menu != nullptr) {
        SUIForgetMenuHost(m_menu, this);
        m_menu->RemoveFreeNotification(this);
        m_menu = nullptr;
    }
}

void TsuiForm::UpdateMenu() {
    if (m_menuBar == nullptr) return;
    if (m_menu == nullptr) {
        DestroyMenuBar();
        return;
    }
    SUIFillMenuBar(m_menuBar, m_menu, m_menuBarHeight);
    RepaintMenuBar();
}

void TsuiForm::RepaintMenuBar() {
    if (m_menuBar == nullptr || m_menu == nullptr) return;
    if (auto* menu = dynamic_cast<TsuiMainMenu*>(m_menu)) {
        if (menu->GetUseSystemFont()) {
            Suimenu::Menu_GetSystemFont(m_menuBar->GetFont());
        } else {
            m_menuBar->GetFont()->SetName(menu->GetFontName());
            m_menuBar->GetFont()->SetSize(menu->GetFontSize());
            m_menuBar->GetFont()->SetCharset(menu->GetFontCharset());
        }
    }
    m_menuBar->Repaint();
}

// ---- keyboard -----------------------------------------------------------------------------------

int TsuiForm::ProcessKeyPress(WPARAM Key, LPARAM KeyData) {
    if (m_destroying || m_form == nullptr || m_menu == nullptr) return 0;
    if (!FormHasFocus(m_form) || !m_form->Active()) return 0;
    return m_menu->IsShortCut(static_cast<Word>(Key), KeyDataToShiftState(KeyData)) ? 1 : 0;
}

void TsuiForm::OnApplicationMessage(MSG& Msg, bool& Handled) {
    if (m_destroying || m_titleBar == nullptr) return;
    if (Msg.message == WM_SYSCHAR && Msg.wParam == 0x20) {
        TCustomForm* main = Application != nullptr && Application->GetMainForm() != nullptr ? Application->GetMainForm() : m_form;
        if (main != nullptr && m_titleBar->GetSystemMenu() != nullptr)
            m_titleBar->GetSystemMenu()->Popup(main->GetLeft(), main->GetTop() + m_titleBar->GetHeight());
        Handled = true;
    } else if (Msg.message == WM_KEYDOWN) {
        Handled = ProcessKeyPress(Msg.wParam, Msg.lParam) == 1;
    }
}

// ---- the hook -----------------------------------------------------------------------------------

void TsuiForm::NewParentWndProc(TMessage& Message) {
    if (HookPassesOn(Message)) return;
    switch (Message.Msg) {
        case WM_MDIACTIVATE:
            if (static_cast<WPARAM>(Message.LParam) == reinterpret_cast<WPARAM>(m_form->GetHandle())) {
                if (TWinControl* client = m_form->GetParent())
                    client->Perform(WM_MDIREFRESHMENU, reinterpret_cast<WPARAM>(m_form->GetHandle()), 0);
                if (m_titleBar != nullptr) m_titleBar->SetActive(true);
            } else if (m_titleBar != nullptr) {
                m_titleBar->SetActive(false);
            }
            break;
        case WM_KEYDOWN: ProcessKeyPress(Message.WParam, Message.LParam); break;
        case WM_SHOWWINDOW: m_form->SetMenu(nullptr); break;
        case WM_DESTROY:
            if (MDIChild() && Application != nullptr && m_form->GetParent() != nullptr) {
                TWinControl* client = m_form->GetParent();
                int children = 0;
                for (int i = 0; i < client->ControlCount(); ++i) children += client->Controls(i)->Is<TCustomForm>();
                if (children <= 1) client->Perform(WM_MDIREFRESHMENU, 0, 0);
                if (m_form->GetWindowState() == wsMaximized)
                    client->Perform(WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_form->GetHandle()), 0);
            }
            break;
        case WM_ACTIVATE:
            if (m_titleBar != nullptr) m_titleBar->SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
            break;
        case WM_NCPAINT:
            if (m_form->GetWindowState() == wsMinimized) m_oldWndProc(Message);
            else PaintFormBorder();
            break;
        case WM_SIZE: HandleSize(Message); break;
        default:
            for (UINT notice : CM_RECREATE_NOTICES)
                if (Message.Msg == notice) ReAssign();
            break;
    }
}

void TsuiForm::ShiftChildren(int DY) {
    for (TControl* c : std::vector<TControl*>(m_controls)) c->SetTop(c->GetTop() + DY);
}

void TsuiForm::HandleSize(TMessage&) {
    const bool maximized = m_form->GetWindowState() == wsMaximized;
    if (maximized && GetComponentState().Contains(csDesigning)) return;
    if (m_createdMaximized) {
        if (!maximized) {
            m_form->SetBoundsRect(m_creationBounds);
            m_createdMaximized = false;
        } else if (g_maximizeCount >= 2) {
            m_form->SetWindowState(wsMaximized);
        } else {
            ++g_maximizeCount;
        }
        g_childShifted = true;
    }
    if (maximized && !MDIChild()) {
        TRect work = GetWorkAreaRect();
        work.Bottom -= 1;
        m_form->SetBoundsRect(work);
    }
    PaintFormBorder();
    if (m_titleBar != nullptr) m_titleBar->ProcessMaxBtn();
    if (MDIChild() && m_titleBar != nullptr) {
        TWinControl* client = m_form->GetParent();
        const int th = m_titleBar->GetHeight();
        if (maximized) {
            m_titleBar->SetVisible(false);
            if (!g_childShifted) {
                ShiftChildren(3 - th);
                g_childShifted = true;
                if (client != nullptr) client->Perform(WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_form->GetHandle()), 0);
            }
        } else {
            m_titleBar->SetVisible(true);
            if (g_childShifted) {
                ShiftChildren(th - 3);
                g_childShifted = false;
            }
            m_titleBar->ProcessMaxBtn();
            if (client != nullptr) client->Perform(WM_MDIRESTORE, 0, 0);
        }
    }
    SetRegion();
}

// ---- region and painting ------------------------------------------------------------------------

void TsuiForm::SetRegion() {
    if (m_destroying) return;
    SUISetFormRegion(this, m_form, GetTitleBarVisible() ? GetRoundCorner() : 0);
}

void TsuiForm::PaintFormBorder() {
    if (m_destroying || m_form == nullptr) return;
    if (m_form->GetWindowState() == wsMinimized && !GetComponentState().Contains(csDesigning)) return;
    SUIPaintFormWindowBorder(m_form, m_titleBar,
                             FrameBorder(GetColor(), m_menuBar != nullptr && m_menuBar->GetVisible(), GetRoundCorner()));
}

void TsuiForm::Paint() {
    if (m_destroying) return;
    TRect r = GetClientRect();
    const TsuiUIStyle look = GetUIStyle();
    if (look == MacOS || look == Protein) {
        TPicture pattern;
        TBitmap tile;
        tile.LoadFromResourceName(HInstance, look == MacOS ? "MACOS_FORM_BACKGROUND" : "PROTEIN_FORM_BACKGROUND");
        pattern.SetBitmap(&tile);
        TBitmap buffer(std::max(r.Width(), 1), std::max(r.Height(), 1), pf24bit);
        TileDraw(buffer.GetCanvas(), &pattern, r);
        Canvas()->Draw(0, 0, &buffer);
    } else {
        Canvas()->GetBrush()->SetColor(GetColor());
        Canvas()->FillRect(r);
    }
    PaintFormBorder();
}

void TsuiForm::Resize() {
    TPanel::Resize();
    if (m_titleBar != nullptr) m_titleBar->SetTop(0);
}

void TsuiForm::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TPanel::Dispatch(Message);
}
