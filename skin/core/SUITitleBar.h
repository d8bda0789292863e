// The skinned caption bar a skinned form frame puts at the top of a form without a caption:
// three picture sections, a row of picture buttons from the look's 18-frame strip, the caption
// shortened with "...", window dragging and a system menu.
//
//   auto* Bar = new TsuiTitleBar(Panel);      // Panel: the form frame (a TsuiForm)
//   Bar->SetParent(Panel);
//   Bar->SetCaption("Title");
//   Bar->SetUIStyle(WinXP);                    // sections, buttons and height from the look
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "skin/core/SUIPopupMenu.h"
#include "skin/core/SUIThemes.h"

class TsuiTitleBar;
class TsuiFileTheme;

enum TsuiTitleBarBtnType { suiMax = 0, suiMin = 1, suiClose = 2, suiHelp = 3, suiControlBox = 4, suiCustom = 5 };
enum TsuiTitleBarAlign { suiLeft = 0, suiRight = 1, suiClient = 2 };

using TsuiTitleBarButtonClickEvent = std::function<void(TObject* Sender, int ButtonIndex)>;

inline constexpr const char* SUI_TITLE_MENUITEM_MINIMIZE = "最小化(&N)";
inline constexpr const char* SUI_TITLE_MENUITEM_MAXIMIZE = "最大化/还原(&X)";
inline constexpr const char* SUI_TITLE_MENUITEM_CLOSE = "关闭(&C)";

// The three frames (1-based, of 18) a button type shows: normal, hover, pressed; {0, 0, 0} for
// a custom button. A maximize button of a maximized form shows the restore frames.
struct TsuiTitleFrames {
    int Normal, MouseOn, MouseDown;
    bool operator==(const TsuiTitleFrames&) const = default;
};
TsuiTitleFrames SUITitleButtonFrames(TsuiTitleBarBtnType Type, bool Maximized);

// Caption cut to fit Space pixels on Canvas: as it is when it fits, else as many leading
// characters as fit followed by "..."; empty when not even "..." fits.
String SUIShortenCaption(TCanvas* Canvas, const String& Caption, int Space);

class TsuiTitleBarButton : public TPersistent {
    VCL_CLASS(TsuiTitleBarButton)
    explicit TsuiTitleBarButton(TsuiTitleBar* Bar);
    ~TsuiTitleBarButton() override;
    void Assign(TPersistent* Source) override;

    bool GetVisible() const { return m_visible; }
    void SetVisible(bool v);
    TsuiTitleBarBtnType GetButtonType() const { return m_buttonType; }
    // A second suiControlBox is refused with a message box; the type stays.
    void SetButtonType(TsuiTitleBarBtnType v);
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool v);
    int GetTop() const { return m_top; }
    void SetTop(int v);
    TsuiUIStyle GetUIStyle() const { return m_uiStyle; }
    void SetUIStyle(TsuiUIStyle v);
    TPicture* GetPicNormal() const { return m_picNormal.get(); }
    void SetPicNormal(TPicture* v);
    TPicture* GetPicMouseOn() const { return m_picMouseOn.get(); }
    void SetPicMouseOn(TPicture* v);
    TPicture* GetPicMouseDown() const { return m_picMouseDown.get(); }
    void SetPicMouseDown(TPicture* v);
    TPopupMenu* GetControlBoxMenu() const { return m_controlBoxMenu; }
    void SetControlBoxMenu(TPopupMenu* v);

    // The button's action on its bar's form (maximize or restore, minimize, close, the
    // control-box menu).
    void DoClick();
    // Loads the pictures of the button's type from the look (and the bar's file theme).
    void UpdateUIStyle();
    // A maximize button takes the restore or maximize frames for the form's state.
    void ProcessMaxBtn();

private:
    friend class TsuiTitleBar;
    void Changed();
    TsuiTitleBar* m_bar;
    bool m_visible = true;
    TsuiTitleBarBtnType m_buttonType = suiCustom;
    bool m_transparent = false;
    int m_top = 2;
    TsuiUIStyle m_uiStyle = DeepBlue;
    std::unique_ptr<TPicture> m_picNormal, m_picMouseOn, m_picMouseDown;
    TPopupMenu* m_controlBoxMenu = nullptr;
};

class TsuiTitleBarSection : public TPersistent {
    VCL_CLASS(TsuiTitleBarSection)
    explicit TsuiTitleBarSection(TsuiTitleBar* Bar);
    ~TsuiTitleBarSection() override;
    void Assign(TPersistent* Source) override;

    int GetWidth() const { return m_width; }
    void SetWidth(int v);
    TsuiTitleBarAlign GetAlign() const { return m_align; }
    // A second suiClient section is refused with a message box; suiClient stretches.
    void SetAlign(TsuiTitleBarAlign v);
    TPicture* GetPicture() const { return m_picture.get(); }
    void SetPicture(TPicture* v);
    bool GetStretch() const { return m_stretch; }
    void SetStretch(bool v);
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);

private:
    void FitWidth();
    void Changed();
    TsuiTitleBar* m_bar;
    int m_width = 10;
    TsuiTitleBarAlign m_align = suiLeft;
    std::unique_ptr<TPicture> m_picture;
    bool m_stretch = false;
    bool m_autoSize = false;
};

// An owned list of collection items that repaints its bar on every change.
template <class Item>
class TsuiTitleBarCollection {
public:
    explicit TsuiTitleBarCollection(TsuiTitleBar* Bar) : m_bar(Bar) {}
    int Count() const { return static_cast<int>(m_items.size()); }
    // nullptr for an index out of range.
    Item* Items(int i) const {
        return i >= 0 && i < Count() ? m_items[static_cast<size_t>(i)].get() : nullptr;
    }
    Item* Add() {
        m_items.push_back(std::make_unique<Item>(m_bar));
        return m_items.back().get();
    }
    void Delete(int i) {
        if (i >= 0 && i < Count()) m_items.erase(m_items.begin() + i);
    }
    void Clear() { m_items.clear(); }
    void Assign(const TsuiTitleBarCollection& Source) {
        if (&Source == this) return;
        Clear();
        for (const auto& item : Source.m_items) Add()->Assign(item.get());
    }

private:
    TsuiTitleBar* m_bar;
    std::vector<std::unique_ptr<Item>> m_items;
};
using TsuiTitleBarButtons = TsuiTitleBarCollection<TsuiTitleBarButton>;
using TsuiTitleBarSections = TsuiTitleBarCollection<TsuiTitleBarSection>;

// The title bar's system menu: minimize, maximize or restore, a line, close.
class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
    VCL_CLASS(TsuiTitleBarPopupMenu)
    explicit TsuiTitleBarPopupMenu(TsuiTitleBar* Bar);
    // Enables the items whose visible button exists, then pops up.
    void Popup(int X, int Y) override;

private:
    TsuiTitleBar* m_bar;
};

// Where the buttons of a bar lie: one rectangle per button (empty for one not drawn), the
// caption's left edge and the right end of the space left for it.
struct TsuiTitleBarLayout {
    std::vector<TRect> Buttons;
    int CaptionLeft = 0;
    int CaptionRight = 0;
    bool DrawsAppIcon = false;
    TPoint AppIcon;
};

class TsuiTitleBar : public TPanel, public IsuiStyled {
    VCL_CLASS(TsuiTitleBar)
    explicit TsuiTitleBar(TComponent* AOwner);
    ~TsuiTitleBar() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    // Keeps the caption colour.
    void SetFileTheme(TsuiFileTheme* Value) override;

    bool GetCustom() const { return m_custom; }
    void SetCustom(bool v) { m_custom = v; }
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    TsuiTitleBarSections* GetSections() { return &m_sections; }
    void SetSections(const TsuiTitleBarSections& v);
    TsuiTitleBarButtons* GetButtons() { return &m_buttons; }
    void SetButtons(const TsuiTitleBarButtons& v);
    int GetButtonInterval() const { return m_buttonInterval; }
    void SetButtonInterval(int v);
    const String& GetCaption() const { return m_caption; }
    void SetCaption(const String& v);
    bool GetFormActive() const { return m_formActive; }
    void SetActive(bool v);
    int GetLeftBtnXOffset() const { return m_leftBtnXOffset; }
    void SetLeftBtnXOffset(int v);
    int GetRightBtnXOffset() const { return m_rightBtnXOffset; }
    void SetRightBtnXOffset(int v);
    int GetRoundCorner() const { return m_roundCorner; }
    void SetRoundCorner(int v) { m_roundCorner = v; }
    bool GetDrawAppIcon() const { return m_drawAppIcon; }
    void SetDrawAppIcon(bool v);
    TsuiTitleBarPopupMenu* GetSystemMenu() const { return m_systemMenu; }

    // In a skinned form frame (parent TsuiForm, or owner TsuiMDIForm).
    bool InForm() const;
    bool InMDIForm() const;
    TBitmap* GetLeftImage();
    TBitmap* GetRightImage();
    TBitmap* GetCenterImage();
    // Exactly three sections, each with its picture.
    bool CanPaint() const;
    void ProcessMaxBtn();
    // The index of the button under the pointer at the last paint, -1 for none.
    int HotButton() const { return m_hotButton; }
    int ButtonTop() const { return m_buttonTop; }
    int ButtonHeight() const { return m_buttonHeight; }
    // The button rectangles and the caption's space for a bar of Width.
    TsuiTitleBarLayout Layout(int Width) const;
    // Opens the system menu at the bar's bottom-left corner.
    void PopupSystemMenu();
    // The form the bar sits on.
    TCustomForm* ParentForm() const;

    TsuiTitleBarButtonClickEvent OnCustomBtnsClick;
    TsuiTitleBarButtonClickEvent OnHelpBtnClick;

    void Dispatch(TMessage& Message) override;
    void DblClick() override;

protected:
    void Paint() override;
    virtual void DrawSectionsTo(TBitmap* Buffer);
    virtual void DrawButtons(TBitmap* Buffer);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TsuiTitleBarButton;
    void ApplyFontColour(const TsuiThemeValues& Theme);
    void DrawButtonPicture(TBitmap* Buffer, TsuiTitleBarButton* Button, TPicture* Picture, int X);
    void DrawAppIcon(TBitmap* Buffer, TPoint At);
    TBitmap* SectionBitmap(int Index);
    int HitButton(TPoint P) const;

    TsuiStyleLink m_style{this};
    TsuiTitleBarSections m_sections{this};
    TsuiTitleBarButtons m_buttons{this};
    bool m_autoSize = false;
    int m_buttonInterval = 0;
    String m_caption;
    bool m_formActive = true;
    int m_leftBtnXOffset = 0;
    int m_rightBtnXOffset = 0;
    int m_roundCorner = 0;
    bool m_drawAppIcon = false;
    bool m_keepFontColour = false;
    TsuiTitleBarPopupMenu* m_systemMenu = nullptr;
    bool m_custom = false;
    bool m_pressed = false;
    int m_hotButton = -1;
    int m_buttonHeight = 0;
    int m_buttonTop = 0;
};
