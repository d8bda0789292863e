// TsuiMDIForm: the skinned frame of an MDI parent form (declared in SUIForm.h).
#include "skin/core/SUIForm.h"

#include <algorithm>

#include "platform/vcl/FormWindow.h"
#include "platform/vcl/MDIForms.h"
#include "platform/vcl/Resources.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/Suipublic.h"

namespace {

constexpr int CloseButton = 1, RestoreButton = 2, MinimizeButton = 3;

// The first skinned frame on a form, or nullptr.
TsuiForm* FirstSkinnedFrame(TCustomForm* Form) {
    if (Form == nullptr) return nullptr;
    for (int i = 0; i < Form->ControlCount(); ++i)
        if (auto* f = dynamic_cast<TsuiForm*>(Form->Controls(i))) return f;
    return nullptr;
}

}  // namespace

std::vector<TsuiMDIPlace> SUITileMDIChildren(int Count, int ClientWidth, int AvailableHeight, TTileMode Mode) {
    std::vector<TsuiMDIPlace> out;
    if (Count <= 0) return out;
    if (Mode == tbVertical) {
        const int column = ClientWidth / Count;
        int x = 0;
        for (int i = 0; i < Count; ++i, x += column - 2) out.push_back({x, 0, column - 2, AvailableHeight - 4});
    } else {
        const int row = AvailableHeight / Count;
        int y = 0;
        for (int i = 0; i < Count; ++i, y += row - 2) out.push_back({0, y, ClientWidth - 4, row - 2});
    }
    return out;
}

std::vector<TsuiMDIPlace> SUICascadeMDIChildren(int Count, int ClientWidth, int ClientHeight) {
    std::vector<TsuiMDIPlace> out;
    const int w = static_cast<int>(ClientWidth * 0.8), h = static_cast<int>(ClientHeight * 0.6);
    for (int i = 0; i < Count; ++i) out.push_back({22 * i, 22 * i, w, h});
    return out;
}

// ---- taking over --------------------------------------------------------------------------------

TsuiMDIForm::TsuiMDIForm(TComponent* AOwner) : TsuiFrameSkin(AOwner) {
    auto* form = AOwner != nullptr ? AOwner->As<TCustomForm>() : nullptr;
    if (form == nullptr) throw Exception(SUI_MDIFORM_NOT_ON_FORM);
    m_form = form;
    form->Constraints().MinHeight = 50;
    form->Constraints().MinWidth = 125;
    form->SetBorderWidth(0);
    form->SetMenu(nullptr);
    SUITakeOverBorderStyle(form);
    m_titleBar = new TsuiTitleBar(this);
    m_titleBar->SetParent(form);
    m_titleBar->SetTop(0);
    m_titleBar->SetCaption(form->GetCaption());
    m_drawChildCaptions = true;
    m_drawChildMenus = true;
    CreateMenuBar();
    SetUIStyle(DeepBlue);
    form->SetWindowStyle(form->GetWindowStyle() & ~WS_CAPTION);
    m_oldWndProc = form->WindowProc;
    form->WindowProc = [this](TMessage& M) { NewParentWndProc(M); };
    m_client = form->GetClientWindow();
    if (m_client != nullptr) {
        m_client->FreeNotification(this);
        m_oldClientProc = m_client->WindowProc;
        m_client->WindowProc = [this](TMessage& M) { NewClientWndProc(M); };
    }
    m_appEvents = new TApplicationEvents(nullptr);
    m_appEvents->OnMessage = [this](MSG& Msg, bool& Handled) { OnApplicationMessage(Msg, Handled); };
    SetWindowPos(form->GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TsuiMDIForm::~TsuiMDIForm() {
    Destroying();
    Release();
}

// Everything the frame did to the form and its client window is given back.
void TsuiMDIForm::Release() {
    if (!BeginRelease()) return;
    // The hooks go even from windows being freed: they outlive this frame's members.
    if (m_client != nullptr) {
        m_client->WindowProc = m_oldClientProc;
        m_client->RemoveFreeNotification(this);
    }
    m_client = nullptr;
    // A form being destroyed frees this frame only after its control part (WindowProc with it)
    // is gone: the hook is given back only to a form that lives on.
    if (m_form != nullptr && !m_form->GetComponentState().Contains(csDestroying)) {
        m_form->WindowProc = m_oldWndProc;
        m_form->SetWindowStyle(m_form->GetWindowStyle() | WS_CAPTION);
        m_form->FrameChanged();
        DestroyMenuBar();
        delete m_titleBar;
    }
    m_titleBar = nullptr;
    m_form = nullptr;
}

void TsuiMDIForm::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opInsert) {
        // A control added to the form must not push the bars down.
        if (m_menuBar != nullptr) m_menuBar->SetTop(0);
        if (m_titleBar != nullptr) m_titleBar->SetTop(0);
        return;
    }
    if (AComponent == m_client) {
        m_client = nullptr;
        return;
    }
    if (AComponent == m_menu && m_menu != nullptr) {
        m_menu = nullptr;
        UpdateMenu();
    }
    if (AComponent == m_currentMenu) m_currentMenu = nullptr;
    if (AComponent == m_menuBar) m_menuBar = nullptr;
    if (AComponent == m_titleBar) m_titleBar = nullptr;
    if (AComponent == m_topPanel) m_topPanel = nullptr;
    for (auto*& b : m_controlButtons)
        if (AComponent == b) b = nullptr;
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

// ---- looks and properties -----------------------------------------------------------------------

void TsuiMDIForm::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    TsuiThemeValues theme = m_style.Values();
    m_borderColor = theme.Color(SUI_THEME_FORM_BORDER_COLOR);
    m_menuBarColor = theme.Color(SUI_THEME_FORM_BACKGROUND_COLOR);
    m_borderWidth = theme.Int(SUI_THEME_FORM_BORDERWIDTH_INT);
    if (theme.FromFile()) m_menuBarColor = SUIMenuBarColorFromTheme(theme.Int(SUI_THEME_CONTROL_FONT_COLOR), m_menuBarColor);
    SetRoundCorner(theme.Int(SUI_THEME_FORM_ROUNDCORNER_INT));
    if (auto* menu = dynamic_cast<TsuiMainMenu*>(m_menu)) {
        menu->SetUIStyle(Value);
        menu->SetFileTheme(GetFileTheme());
    }
    if (m_titleBar != nullptr) {
        m_titleBar->SetFileTheme(GetFileTheme());
        m_titleBar->SetUIStyle(Value);
        m_titleBar->SetRoundCorner(0);
    }
    if (m_menuBar != nullptr) m_menuBar->SetColor(m_menuBarColor);
    if (m_topPanel != nullptr) m_topPanel->SetColor(m_menuBarColor);
    for (auto* b : m_controlButtons)
        if (b != nullptr) b->SetColor(m_menuBarColor);
    PaintFormBorder();
}

void TsuiMDIForm::SetRoundCorner(int v) {
    m_roundCorner = v;
    SetRegion();
}

String TsuiMDIForm::GetCaption() const { return m_form != nullptr ? m_form->GetCaption() : String(); }

void TsuiMDIForm::SetCaption(const String& v) {
    if (m_form != nullptr) m_form->SetCaption(v);
    if (m_titleBar != nullptr) m_titleBar->SetCaption(v);
}

bool TsuiMDIForm::GetTitleBarVisible() const { return TsuiFrameSkin::GetTitleBarVisible(); }

void TsuiMDIForm::SetTitleBarVisible(bool v) {
    if (m_titleBar == nullptr || v == m_titleBar->GetVisible()) return;
    m_titleBar->SetVisible(v);
    m_titleBar->SetTop(0);
}

int TsuiMDIForm::TitleBarHeight() const {
    int h = GetTitleBarVisible() ? m_titleBar->GetHeight() : 0;
    if (m_topPanel != nullptr && m_topPanel->GetVisible()) h += m_topPanel->GetHeight();
    return h;
}

TsuiToolBarSpeedButton* TsuiMDIForm::ControlButton(int i) const {
    return i >= 1 && i <= 3 ? m_controlButtons[i - 1] : nullptr;
}

// ---- the menu bar -------------------------------------------------------------------------------

void TsuiMDIForm::CreateMenuBar() {
    if (m_menuBar != nullptr || m_form == nullptr) return;
    m_topPanel = new TPanel(this);
    m_topPanel->SetBevelOuter(bvNone);
    m_topPanel->SetBevelInner(bvNone);
    m_topPanel->SetAlign(alTop);
    m_topPanel->SetVisible(false);
    m_topPanel->SetParent(m_form);
    m_menuBar = new TToolBar(this);
    m_menuBar->SetParent(m_topPanel);
    m_menuBar->SetFlat(true);
    m_menuBar->SetEdgeBorders({});
    m_menuBar->SetShowCaptions(true);
    m_menuBar->SetAutoSize(true);
    m_menuBar->OnCustomDraw = [this](TToolBar* Bar, const TRect&, bool& DefaultDraw) {
        DefaultDraw = SUIDrawMenuBarBackground(Bar, GetUIStyle());
    };
    m_menuBar->OnCustomDrawButton = [this](TToolBar* Bar, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw) {
        DefaultDraw = false;
        SUIDrawMenuBarButton(Bar, Button, State, GetUIStyle(), GetFileTheme(), m_currentMenu, false);
    };
    if (m_titleBar != nullptr) m_titleBar->SetTop(0);
    TBitmap strip;
    strip.LoadFromResourceName(HInstance, "MDI_CONTROL_BUTTON");
    strip.SetTransparent(true);
    for (int i = 1; i <= 3; ++i) {
        auto* b = new TsuiToolBarSpeedButton(this);
        b->SetParent(m_topPanel);
        TBitmap glyph;
        SpitBitmap(&strip, &glyph, 3, 4 - i);
        glyph.SetTransparent(true);
        b->SetGlyph(&glyph);
        b->SetBounds(m_topPanel->GetWidth() - 20 - 18 * (i - 1), 1, 16, 16);
        b->SetTag(-1380 - i);
        b->OnClick = [this, i](TObject*) { ControlButtonClick(i); };
        b->SetColor(m_menuBar->GetColor());
        b->BringToFront();
        b->SetVisible(false);
        m_controlButtons[i - 1] = b;
    }
    UpdateMenu();
}

void TsuiMDIForm::DestroyMenuBar() {
    for (auto*& b : m_controlButtons) {
        delete b;
        b = nullptr;
    }
    delete m_menuBar;
    m_menuBar = nullptr;
    delete m_topPanel;
    m_topPanel = nullptr;
    m_currentMenu = nullptr;
}

TMainMenu* TsuiMDIForm::FindCurrentMenu() const {
    if (m_drawChildMenus && m_titleBar != nullptr && m_form != nullptr) {
        if (TCustomForm* child = m_form->ActiveMDIChild()) {
            if (child->GetMenu() != nullptr) return child->GetMenu();
            if (TsuiForm* frame = FirstSkinnedFrame(child); frame != nullptr && frame->GetMenu() != nullptr)
                return frame->GetMenu();
        }
    }
    return m_menu;
}

void TsuiMDIForm::SetMenu(TMainMenu* Menu) {
    LinkMenu(Menu);
    UpdateMenu();
}

void TsuiMDIForm::UpdateMenu() {
    if (m_menuBar == nullptr || m_topPanel == nullptr) return;
    if (m_currentMenu != nullptr) m_currentMenu->RemoveFreeNotification(this);
    m_currentMenu = FindCurrentMenu();
    if (m_currentMenu != nullptr) m_currentMenu->FreeNotification(this);
    if (m_currentMenu == nullptr) {
        m_topPanel->SetVisible(false);
        return;
    }
    if (m_titleBar != nullptr) m_titleBar->SetTop(0);
    TMenuItem* root = m_currentMenu->GetItems();
    while (m_menuBar->ButtonCount() > root->Count()) delete m_menuBar->Buttons(0);
    while (m_menuBar->ButtonCount() < root->Count()) {
        auto* b = new TToolButton(m_menuBar);
        b->SetParent(m_menuBar);
        b->SetGrouped(true);
        b->SetAutoSize(true);
    }
    for (int i = 0; i < root->Count(); ++i) m_menuBar->Buttons(i)->SetMenuItem(root->Items(i));
    m_topPanel->Constraints().MinHeight = m_menuBar->GetHeight();
    m_topPanel->SetVisible(true);
    m_topPanel->SetHeight(m_menuBar->GetHeight());
    m_menuBar->Invalidate();
}

void TsuiMDIForm::RepaintMenuBar() {
    if (m_menuBar != nullptr) m_menuBar->Repaint();
}

// ---- control buttons ----------------------------------------------------------------------------

void TsuiMDIForm::ShowControlButtons(bool Show) {
    for (auto* b : m_controlButtons)
        if (b != nullptr) b->SetVisible(false);
    if (!Show || m_form == nullptr) return;
    TsuiForm* frame = FirstSkinnedFrame(m_form->ActiveMDIChild());
    if (frame == nullptr || frame->GetTitleBar() == nullptr) return;
    TsuiTitleBarButtons* buttons = frame->GetTitleBar()->GetButtons();
    for (int i = 0; i < buttons->Count(); ++i) {
        TsuiTitleBarButton* t = buttons->Items(i);
        int which = t->GetButtonType() == suiMin ? MinimizeButton : t->GetButtonType() == suiMax ? RestoreButton
                  : t->GetButtonType() == suiClose ? CloseButton : 0;
        if (which != 0 && m_controlButtons[which - 1] != nullptr) m_controlButtons[which - 1]->SetVisible(true);
    }
    if (m_topPanel != nullptr) {
        for (int i = 1; i <= 3; ++i)
            if (auto* b = m_controlButtons[i - 1]) b->SetLeft(m_topPanel->GetWidth() - 20 - 18 * (i - 1));
    }
}

void TsuiMDIForm::ControlButtonClick(int Which) {
    TCustomForm* child = m_form != nullptr ? m_form->ActiveMDIChild() : nullptr;
    if (child == nullptr) return;
    if (Which == MinimizeButton) child->SetWindowState(wsMinimized);
    else if (Which == RestoreButton) child->SetWindowState(wsNormal);
    else child->Close();
    if (Application != nullptr) Application->ProcessMessages();
}

// ---- tile and cascade ---------------------------------------------------------------------------

void TsuiMDIForm::Tile() {
    if (m_form == nullptr) return;
    std::vector<TCustomForm*> children;
    bool someMinimized = false;
    for (int i = 0; i < m_form->MDIChildCount(); ++i) {
        TCustomForm* c = m_form->MDIChildren(i);
        if (c->GetWindowState() == wsMinimized) someMinimized = true;
        else children.push_back(c);
    }
    if (children.empty()) return;
    int available = m_form->GetClientHeight();
    for (int i = 0; i < m_form->ControlCount(); ++i) {
        TControl* c = m_form->Controls(i);
        if (c->GetVisible() && (c->GetAlign() == alTop || c->GetAlign() == alBottom)) available -= c->GetHeight();
    }
    if (someMinimized) available -= 25;
    auto places = SUITileMDIChildren(static_cast<int>(children.size()), m_form->GetClientWidth(), available, m_form->GetTileMode());
    for (size_t i = 0; i < places.size(); ++i) {
        const TsuiMDIPlace& p = places[i];
        children[children.size() - 1 - i]->SetBounds(p.X, p.Y, p.W, p.H);
    }
}

void TsuiMDIForm::Cascade() {
    if (m_form == nullptr) return;
    std::vector<TCustomForm*> children;
    for (int i = 0; i < m_form->MDIChildCount(); ++i)
        if (m_form->MDIChildren(i)->GetWindowState() != wsMinimized) children.push_back(m_form->MDIChildren(i));
    auto places = SUICascadeMDIChildren(static_cast<int>(children.size()), m_form->GetClientWidth(), m_form->GetClientHeight());
    for (size_t i = 0; i < places.size(); ++i) {
        const TsuiMDIPlace& p = places[i];
        children[children.size() - 1 - i]->SetBounds(p.X, p.Y, p.W, p.H);
    }
}

// ---- hooks --------------------------------------------------------------------------------------

int TsuiMDIForm::ProcessKeyPress(WPARAM Key, LPARAM KeyData) {
    if (m_destroying || m_currentMenu == nullptr) return 0;
    return m_currentMenu->IsShortCut(static_cast<Word>(Key), KeyDataToShiftState(KeyData)) ? 1 : 0;
}

void TsuiMDIForm::OnApplicationMessage(MSG& Msg, bool& Handled) {
    if (Msg.message == WM_KEYDOWN) Handled = ProcessKeyPress(Msg.wParam, Msg.lParam) == 1;
}

void TsuiMDIForm::NewParentWndProc(TMessage& Message) {
    if (HookPassesOn(Message)) return;
    switch (Message.Msg) {
        case WM_KEYDOWN: ProcessKeyPress(Message.WParam, Message.LParam); break;
        case WM_NCPAINT: PaintFormBorder(); break;
        case 0xB033:
            if ((m_form->GetWindowStyle() & WS_CAPTION) != 0) {
                m_form->SetWindowStyle(m_form->GetWindowStyle() & ~WS_CAPTION);
                m_form->FrameChanged();
            }
            break;
        case WM_ACTIVATE:
            if (m_titleBar != nullptr) m_titleBar->SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
            break;
        case WM_SIZE:
            if (m_form->GetWindowState() == wsMaximized && m_form->GetFormStyle() != fsMDIChild) {
                TRect work = GetWorkAreaRect();
                work.Bottom -= 1;
                m_form->SetBoundsRect(work);
            }
            PaintFormBorder();
            SetRegion();
            break;
        default: break;
    }
}

void TsuiMDIForm::NewClientWndProc(TMessage& Message) {
    // Once released the client has its own procedure back; this only guards a late call.
    if (m_destroying || m_client == nullptr) {
        if (m_oldClientProc) m_oldClientProc(Message);
        return;
    }
    m_oldClientProc(Message);
    if (m_destroying || m_form == nullptr) return;
    switch (Message.Msg) {
        case WM_MDIREFRESHMENU:
            UpdateMenu();
            if (m_titleBar != nullptr) m_titleBar->SetCaption(m_form->GetCaption());
            break;
        case WM_MDIMAXIMIZE:
            ShowControlButtons(true);
            if (m_titleBar != nullptr) m_titleBar->SetCaption(m_form->GetCaption());
            break;
        case WM_MDIRESTORE:
            ShowControlButtons(false);
            if (m_titleBar != nullptr) m_titleBar->SetCaption(m_form->GetCaption());
            break;
        case WM_MDITILE: Tile(); break;
        case WM_MDICASCADE: Cascade(); break;
        default: break;
    }
}

// ---- border and region --------------------------------------------------------------------------

void TsuiMDIForm::SetRegion() {
    if (m_destroying) return;
    SUISetFormRegion(this, m_form, GetTitleBarVisible() ? m_roundCorner : 0);
}

void TsuiMDIForm::PaintFormBorder() {
    if (m_destroying || m_form == nullptr || m_form->GetWindowState() == wsMinimized) return;
    // The border is painted over the window's frame: a form border width would move the client
    // area under it.
    if (m_form->GetBorderWidth() != 0) m_form->SetBorderWidth(0);
    SUIPaintFormWindowBorder(m_form, m_titleBar,
                             FrameBorder(m_menuBarColor, m_topPanel != nullptr && m_topPanel->GetVisible(), m_roundCorner));
}
