// Skinned form frames: TsuiForm (a panel that turns its form into a skinned window: title bar,
// menu bar, border, rounded region), TsuiMDIForm (the same for an MDI parent form, with the
// active child's menu and its control buttons) and TsuiMSNPopForm (a notice that slides up in
// the corner of the work area).
//
//   auto* Frame = new TsuiForm(Form);          // takes the form over: caption gone, hooks set
//   Frame->SetParent(Form);
//   Frame->SetUIStyle(WinXP);
//   auto* Menu = new TsuiMainMenu(Form);  ...  Menu->AfterConstruction();   // the menu bar
#pragma once

#include <memory>

#include "platform/vcl/AppEvnts.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolWin.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUIMainMenu.h"
#include "skin/core/SUITitleBar.h"

class TfrmMSNPopForm;

// ---- shared by the two frames -----------------------------------------------------------------

// What the border painting needs to know, in window coordinates.
struct TsuiFormBorder {
    int Width = 0;              // W: the form's width
    int Height = 0;             // H
    int BorderWidth = 0;        // bw
    TColor BorderColor = 0;
    TColor InnerColor = 0;      // the bands inside the border strips
    bool TitleBarVisible = true;
    int TitleBarHeight = 0;
    TBitmap* TitleLeft = nullptr;   // the title bar's section pictures (all three or none)
    TBitmap* TitleRight = nullptr;
    TBitmap* TitleCenter = nullptr;
    bool MenuBarVisible = false;
    int MenuBarHeight = 0;
    TColor MenuBarColor = 0;
    int RoundCorner = 0;
};
// Paints the border strips, the inner bands and the title bar's three-pixel frame.
void SUIPaintFormBorder(TCanvas* Canvas, const TsuiFormBorder& Border);
// The window region: top corners rounded with radius R, bottom corners square.
HRGN SUICreateFormRegion(int Width, int Height, int R);
// The menu bar colour a theme file's key 27 asks for (0x20000, 0x30000), else Fallback.
TColor SUIMenuBarColorFromTheme(int Key27, TColor Fallback);

// The menu bar's custom drawing: the MacOS bar picture behind it, and each button as a box in
// the menu colours of the look and theme (the menu's own font when it is a skinned main menu).
// Answers whether the default drawing should run.
bool SUIDrawMenuBarBackground(TToolBar* Bar, TsuiUIStyle Look);
void SUIDrawMenuBarButton(TToolBar* Bar, TToolButton* Button, TCustomDrawState State, TsuiUIStyle Look,
                          TsuiFileTheme* Theme, TMainMenu* Menu, bool GreyDisabled);
// One flat button per top-level item of Menu (none without a menu).
void SUIFillMenuBar(TToolBar* Bar, TMainMenu* Menu, int ButtonHeight);
// Every button of Bar that shows a menu item takes the item's caption and enabled state.
void SUIUpdateMenuBarButtons(TToolBar* Bar);

// The frames' common hold on their form.
// A form framed only by its caption (bsNone, bsSingle, bsToolWindow) becomes bsDialog.
void SUITakeOverBorderStyle(TCustomForm* Form);
// Hands the window its region: top corners rounded with Radius (outside the form designer).
void SUISetFormRegion(TComponent* Frame, TCustomForm* Form, int Radius);
// Paints Border on the form's whole window; the form's size and the title bar's pictures and
// height are filled in here. Nothing for a form without a window or a minimized one.
void SUIPaintFormWindowBorder(TCustomForm* Form, TsuiTitleBar* TitleBar, TsuiFormBorder Border);
// A skinned main menu shown by Host forgets it (the menu is changing or the host going).
void SUIForgetMenuHost(TMainMenu* Menu, IsuiMenuHost* Host);

// ---- TsuiForm -------------------------------------------------------------------------------------

// The title bar's properties a skinned frame publishes as its own; each is forwarded to the bar
// (reads answer false or null once the bar is gone).
class TsuiTitleBarForwarders {
public:
    virtual ~TsuiTitleBarForwarders() = default;
    bool GetTitleBarCustom() const;
    void SetTitleBarCustom(bool v);
    TsuiTitleBarButtons* GetTitleBarButtons() const;
    void SetTitleBarButtons(const TsuiTitleBarButtons& v);
    TsuiTitleBarSections* GetTitleBarSections() const;
    void SetTitleBarSections(const TsuiTitleBarSections& v);
    bool GetTitleBarDrawAppIcon() const;
    void SetTitleBarDrawAppIcon(bool v);

protected:
    virtual TsuiTitleBar* ForwardedTitleBar() const = 0;
};

// What both frames keep of their form, whatever a frame is made of (TsuiForm is a panel on its
// form, TsuiMDIForm a component of it): the style pair, the form and the procedure its hook
// replaced, the title and menu bars, the main menu, the border and menu bar colours, and the
// application's message hook.
template <class Base>
class TsuiFrameSkin : public Base, public IsuiStyled, public IsuiMenuHost, public TsuiTitleBarForwarders {
public:
    explicit TsuiFrameSkin(TComponent* AOwner) : Base(AOwner) {}

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    // Applies the theme even when it is the one already set (a reloaded file).
    void SetFileTheme(TsuiFileTheme* Value) override {
        m_style.StoreFileTheme(Value);
        this->SetUIStyle(GetUIStyle());
    }

    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor v) {
        m_borderColor = v;
        PaintFormBorder();
    }
    TMainMenu* GetMenu() const { return m_menu; }
    TColor GetMenuBarColor() const { return m_menuBarColor; }
    void SetMenuBarColor(TColor v) {
        m_menuBarColor = v;
        if (m_menuBar != nullptr) m_menuBar->SetColor(v);
    }
    bool GetTitleBarVisible() const { return m_titleBar != nullptr && m_titleBar->GetVisible(); }
    TsuiTitleBar* GetTitleBar() const { return m_titleBar; }
    TToolBar* GetMenuBar() const { return m_menuBar; }

    // IsuiMenuHost
    TComponent* MenuHostComponent() override { return this; }
    void UpdateTopMenu() override { SUIUpdateMenuBarButtons(m_menuBar); }

    // Paints the border on the form's window device context.
    virtual void PaintFormBorder() = 0;

protected:
    TsuiTitleBar* ForwardedTitleBar() const override { return m_titleBar; }
    // The first step of giving the form back: false when it is under way already.
    bool BeginRelease() {
        if (m_destroying) return false;
        m_destroying = true;
        SUIForgetMenuHost(m_menu, this);
        delete m_appEvents;
        m_appEvents = nullptr;
        return true;
    }
    // Menu becomes the frame's main menu, watched for its going; a skinned one learns its host.
    void LinkMenu(TMainMenu* Menu) {
        SUIForgetMenuHost(m_menu, this);
        if (m_menu != nullptr) m_menu->RemoveFreeNotification(this);
        m_menu = Menu;
        if (Menu != nullptr) Menu->FreeNotification(this);
        if (auto* skinned = dynamic_cast<TsuiMainMenu*>(Menu)) skinned->SetForm(this);
    }
    // The hook's first step: true when the frame is going and the form's own procedure had the
    // message; otherwise that procedure has had it (WM_NCPAINT excepted, the frame paints that).
    bool HookPassesOn(TMessage& Message) {
        if (m_destroying || m_form == nullptr) {
            if (m_oldWndProc) m_oldWndProc(Message);
            return true;
        }
        if (Message.Msg != WM_NCPAINT) m_oldWndProc(Message);
        return m_destroying || m_form == nullptr;
    }
    // The border's colours and bars as the frame has them; the caller fills in the rest.
    TsuiFormBorder FrameBorder(TColor InnerColor, bool MenuBarVisible, int RoundCorner) const {
        TsuiFormBorder b;
        b.BorderWidth = m_borderWidth;
        b.BorderColor = m_borderColor;
        b.InnerColor = InnerColor;
        b.TitleBarVisible = GetTitleBarVisible();
        b.MenuBarVisible = MenuBarVisible;
        b.MenuBarHeight = m_menuBar != nullptr ? m_menuBar->GetHeight() : 0;
        b.MenuBarColor = m_menuBar != nullptr ? m_menuBar->GetColor() : 0;
        b.RoundCorner = RoundCorner;
        return b;
    }

    TsuiStyleLink m_style{this};
    TCustomForm* m_form = nullptr;
    TWndMethod m_oldWndProc;
    TsuiTitleBar* m_titleBar = nullptr;
    TToolBar* m_menuBar = nullptr;
    TMainMenu* m_menu = nullptr;
    TColor m_borderColor = 0;
    TColor m_menuBarColor = 0;
    int m_borderWidth = 1;
    bool m_destroying = false;
    TApplicationEvents* m_appEvents = nullptr;
};

class TsuiForm : public TsuiFrameSkin<TPanel> {
    VCL_CLASS(TsuiForm)
    explicit TsuiForm(TComponent* AOwner);
    ~TsuiForm() override;

    void SetUIStyle(TsuiUIStyle Value) override;

    int GetBorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int v);
    String GetCaption() const;
    void SetCaption(const String& v);
    bool GetTitleBarVisible() const;
    void SetTitleBarVisible(bool v);
    int GetRoundCorner() const;
    void SetRoundCorner(int v);
    // The published Font is the title bar's (the caption's); the panel keeps its own for the
    // controls on it.
    TFont* GetFont() const;
    void SetFont(TFont* v);
    TsuiTitleBarButtonClickEvent GetOnTitleBarCustomBtnsClick() const;
    void SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonClickEvent v);
    TsuiTitleBarButtonClickEvent GetOnTitleBarHelpBtnClick() const;
    void SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonClickEvent v);
    TPanel* GetFormPanel() const { return m_formPanel; }
    // The TsuiForm itself is refused with a message box.
    void SetPanel(TPanel* v);
    void SetMenu(TMainMenu* Menu) override;
    int GetMenuBarHeight() const { return m_menuBarHeight; }
    void SetMenuBarHeight(int v);
    bool GetUIStyleAutoUpdateSub() const { return m_autoUpdateSub; }
    void SetUIStyleAutoUpdateSub(bool v) { m_autoUpdateSub = v; }
    String GetVersion() const { return "5.7"; }
    void SetVersion(const String&) {}
    bool MDIChild() const;
    // Takes the caption style away again when it came back.
    void ReAssign();

    TCustomForm* GetForm() const { return m_form; }
    int TitleBarHeight() const;

    // IsuiMenuHost
    void UpdateMenu() override;
    void RepaintMenuBar() override;

    // 1 when Key is one of the shown menu's shortcuts (the item then runs), else 0.
    int ProcessKeyPress(WPARAM Key, LPARAM KeyData);
    void PaintFormBorder() override;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void Resize() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void NewParentWndProc(TMessage& Message);
    void OnApplicationMessage(MSG& Msg, bool& Handled);
    void RemoveCaptionStyle();
    void RefreshFrame();
    void SetRegion();
    void CreateMenuBar();
    void DestroyMenuBar();
    void HandleSize(TMessage& Message);
    void ShiftChildren(int DY);
    void Release();

    TPanel* m_formPanel = nullptr;
    int m_menuBarHeight = 22;
    bool m_autoUpdateSub = false;
    TRect m_creationBounds;
    bool m_createdMaximized = false;
};

// ---- TsuiMDIForm ----------------------------------------------------------------------------------

inline constexpr const char* SUI_MDIFORM_NOT_ON_FORM = "Sorry, TsuiMDIForm must be placed on a form";

// One MDI tile or cascade place: (x, y, width, height).
struct TsuiMDIPlace {
    int X, Y, W, H;
    bool operator==(const TsuiMDIPlace&) const = default;
};
// Tiling Count children in a client area (vertical: columns, else rows); AvailableHeight is
// the client height less the top- and bottom-aligned controls (and 25 with minimized ones).
// Place i goes to the i-th child counted from the last.
std::vector<TsuiMDIPlace> SUITileMDIChildren(int Count, int ClientWidth, int AvailableHeight, TTileMode Mode);
std::vector<TsuiMDIPlace> SUICascadeMDIChildren(int Count, int ClientWidth, int ClientHeight);

class TsuiMDIForm : public TsuiFrameSkin<TComponent> {
    VCL_CLASS(TsuiMDIForm)
    // Raises Exception(SUI_MDIFORM_NOT_ON_FORM) for an owner that is not a form.
    explicit TsuiMDIForm(TComponent* AOwner);
    ~TsuiMDIForm() override;

    void SetUIStyle(TsuiUIStyle Value) override;

    void SetMenu(TMainMenu* Menu) override;
    TMainMenu* CurrentMenu() const { return m_currentMenu; }
    int GetRoundCorner() const { return m_roundCorner; }
    void SetRoundCorner(int v);
    String GetCaption() const;
    void SetCaption(const String& v);
    bool GetTitleBarVisible() const;
    void SetTitleBarVisible(bool v);
    bool GetTitleBarDrawChildCaptions() const { return m_drawChildCaptions; }
    void SetTitleBarDrawChildCaptions(bool v) { m_drawChildCaptions = v; }
    bool GetTitleBarDrawChildMenus() const { return m_drawChildMenus; }
    void SetTitleBarDrawChildMenus(bool v) { m_drawChildMenus = v; }
    int TitleBarHeight() const;

    TPanel* GetTopPanel() const { return m_topPanel; }
    // Close (1), restore (2) and minimize (3), as created.
    TsuiToolBarSpeedButton* ControlButton(int i) const;

    // IsuiMenuHost
    void UpdateMenu() override;
    void RepaintMenuBar() override;
    int ProcessKeyPress(WPARAM Key, LPARAM KeyData);
    void PaintFormBorder() override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void NewParentWndProc(TMessage& Message);
    void NewClientWndProc(TMessage& Message);
    void OnApplicationMessage(MSG& Msg, bool& Handled);
    void CreateMenuBar();
    void DestroyMenuBar();
    void ShowControlButtons(bool Show);
    void ControlButtonClick(int Which);
    void Tile();
    void Cascade();
    void SetRegion();
    void Release();
    TMainMenu* FindCurrentMenu() const;

    TWndMethod m_oldClientProc;
    TWinControl* m_client = nullptr;
    TPanel* m_topPanel = nullptr;
    TsuiToolBarSpeedButton* m_controlButtons[3] = {nullptr, nullptr, nullptr};
    bool m_drawChildCaptions = true;
    bool m_drawChildMenus = true;
    TMainMenu* m_currentMenu = nullptr;
    int m_roundCorner = 0;
};

// ---- TsuiMSNPopForm -------------------------------------------------------------------------------

class TsuiMSNPopForm : public TComponent {
    VCL_CLASS(TsuiMSNPopForm)
    explicit TsuiMSNPopForm(TComponent* AOwner);
    ~TsuiMSNPopForm() override;

    int GetAnimateTime() const { return m_animateTime; }
    void SetAnimateTime(int v) { m_animateTime = v; }
    int GetStayTime() const { return m_stayTime; }
    void SetStayTime(int v) { m_stayTime = v; }
    int GetPositionX() const { return m_positionX; }
    void SetPositionX(int v) { m_positionX = v; }
    int GetPositionY() const { return m_positionY; }
    void SetPositionY(int v) { m_positionY = v; }
    bool GetAutoPosition() const { return m_autoPosition; }
    void SetAutoPosition(bool v) { m_autoPosition = v; }
    bool GetClickHide() const { return m_clickHide; }
    void SetClickHide(bool v) { m_clickHide = v; }
    const String& GetTitle() const { return m_title; }
    void SetTitle(const String& v) { m_title = v; }
    const String& GetMessageText() const { return m_messageText; }
    void SetMessageText(const String& v) { m_messageText = v; }
    TFont* GetMessageFont() const { return m_messageFont.get(); }
    void SetMessageFont(TFont* v) { m_messageFont->Assign(v); }
    TFont* GetTitleFont() const { return m_titleFont.get(); }
    void SetTitleFont(TFont* v) { m_titleFont->Assign(v); }

    // Shows the notice (at the work area's bottom-right corner with AutoPosition).
    void Popup();
    // Hides it (sliding out).
    void Close();
    TfrmMSNPopForm* Window() const { return m_window; }

    TNotifyEvent OnTitleClick;
    TNotifyEvent OnClick;
    TNotifyEvent OnClose;
    TNotifyEvent OnShow;

private:
    void WindowClick(TObject* Sender);
    void TitleClick(TObject* Sender);
    void WindowClosed(TObject* Sender);

    TfrmMSNPopForm* m_window = nullptr;
    int m_animateTime = 400;
    int m_stayTime = 2000;
    int m_positionX = 0;
    int m_positionY = 0;
    bool m_autoPosition = true;
    bool m_clickHide = false;
    String m_title;
    String m_messageText;
    std::unique_ptr<TFont> m_messageFont;
    std::unique_ptr<TFont> m_titleFont;
};
