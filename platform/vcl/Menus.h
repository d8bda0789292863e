// Menus: TMenuItem trees, TMenu, TPopupMenu and TMainMenu, shortcuts and owner-drawn items.
//
// A menu item lives in two relations, as in the VCL: its owner (TComponent) and its parent item
// in the menu tree. Freeing an item frees every item below it in the tree, whoever owns them;
// freeing an owner frees the items it owns, each leaving its parent first.
//
// A popup runs through the interaction service (GetInteractionService()->TrackPopupMenu); the
// chosen item's Click runs from the message loop after Popup has returned, so a click handler
// may free the control (or the menu) that opened the popup.
#pragma once

#include <vector>

#include "platform/vcl/Component.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/SysUtils.h"
#include "platform/vcl/Types.h"

class TCanvas;
class TImageList;
class TMenu;
class TMenuItem;

VCL_EXCEPTION(EMenuError, Exception)

// ---- shortcuts --------------------------------------------------------------------------------

// A shortcut: the virtual key in the low byte, modifiers in the high bits.
using TShortCut = Word;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Ctrl+F1", "Del"; "" for scNone or a key without a name.
String ShortCutToText(TShortCut ShortCut);
// The reverse of ShortCutToText (without case); scNone for text it doesn't know.
TShortCut TextToShortCut(const String& Text);

// A caption without its accelerator marks: "&File" gives "File", "&&" gives "&".
String StripHotkey(const String& Caption);
// The accelerator character of a caption in upper case, or 0 when it has none.
char GetHotkey(const String& Caption);
// Automatic accelerators for one level of a menu: each caption without an '&' gets one before
// its first letter or digit not yet used by a sibling; separators and captions that have one
// stay as they are.
std::vector<String> AutomaticHotkeys(const std::vector<String>& Captions);

// ---- owner drawing ----------------------------------------------------------------------------

// State of an item being drawn (also used by owner-drawn list and combo boxes).
enum class TOwnerDrawStateE { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault,
                              odHotLight, odInactive, odNoAccel, odNoFocusRect, odReserved1,
                              odReserved2, odComboBoxEdit };
using TOwnerDrawState = Set<TOwnerDrawStateE>;
constexpr TOwnerDrawStateE odSelected = TOwnerDrawStateE::odSelected;
constexpr TOwnerDrawStateE odGrayed = TOwnerDrawStateE::odGrayed;
constexpr TOwnerDrawStateE odDisabled = TOwnerDrawStateE::odDisabled;
constexpr TOwnerDrawStateE odChecked = TOwnerDrawStateE::odChecked;
constexpr TOwnerDrawStateE odFocused = TOwnerDrawStateE::odFocused;
constexpr TOwnerDrawStateE odDefault = TOwnerDrawStateE::odDefault;
constexpr TOwnerDrawStateE odHotLight = TOwnerDrawStateE::odHotLight;
constexpr TOwnerDrawStateE odInactive = TOwnerDrawStateE::odInactive;
constexpr TOwnerDrawStateE odNoAccel = TOwnerDrawStateE::odNoAccel;
constexpr TOwnerDrawStateE odNoFocusRect = TOwnerDrawStateE::odNoFocusRect;
constexpr TOwnerDrawStateE odComboBoxEdit = TOwnerDrawStateE::odComboBoxEdit;

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

// Size of a default menu line and separator, as the popup lays them out.
constexpr int MenuItemDefaultHeight = 19;
constexpr int MenuSeparatorDefaultHeight = 9;

// ---- items ------------------------------------------------------------------------------------

class TMenuItem : public TComponent {
    VCL_CLASS(TMenuItem)
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const String& GetCaption() const { return m_caption; }
    void SetCaption(const String& v);
    // A caption of "-" makes the item a separator.
    bool IsLine() const { return m_caption == "-"; }
    bool GetChecked() const { return m_checked; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool v);
    bool GetRadioItem() const { return m_radioItem; }
    void SetRadioItem(bool v);
    Byte GetGroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(Byte v);
    bool GetAutoCheck() const { return m_autoCheck; }
    void SetAutoCheck(bool v) { m_autoCheck = v; }
    // The default item is drawn bold.
    bool GetDefault() const { return m_default; }
    void SetDefault(bool v);
    bool GetEnabled() const { return m_enabled; }
    void SetEnabled(bool v);
    bool GetVisible() const { return m_visible; }
    void SetVisible(bool v);
    TShortCut GetShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut v);
    int GetImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int v);
    const String& GetHint() const { return m_hint; }
    void SetHint(const String& v) { m_hint = v; }

    // The sub-items.
    int Count() const { return static_cast<int>(m_items.size()); }
    // Raises EMenuError for an index out of range.
    TMenuItem* Items(int Index) const;
    // Raises EMenuError when Item already has a parent ("Menu inserted twice").
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out of the tree without freeing it (as the VCL does).
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    int IndexOf(TMenuItem* Item) const;
    // The sub-item whose caption matches without case and accelerator marks, or nullptr.
    TMenuItem* Find(const String& ACaption) const;
    TMenuItem* GetParent() const { return m_parent; }
    // Position among the parent's items; -1 without a parent.
    int GetMenuIndex() const;
    void SetMenuIndex(int Value);
    // The menu whose tree holds this item, or nullptr.
    TMenu* GetParentMenu() const;

    // Runs OnClick when enabled (toggling Checked first for AutoCheck items).
    virtual void Click();

    // The owner-drawn protocol, called by the popup for every line of an OwnerDraw menu.
    // Measure: the default size, then OnMeasureItem may change it.
    virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
    // Draw: OnAdvancedDrawItem, else OnDrawItem, else the default look.
    virtual void AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);
    // The draw state the popup gives this item (odSelected is added for the hot line).
    TOwnerDrawState DrawState(bool Selected) const;

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

protected:
    // Tells the menu that this item (or its tree) changed.
    void MenuChanged(bool Rebuild);
    // The look used when no draw handler is assigned.
    void DefaultDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);

private:
    void CheckIndex(int Index, bool AllowEnd) const;
    void TurnSiblingsOff();

    String m_caption;
    bool m_checked = false;
    bool m_radioItem = false;
    Byte m_groupIndex = 0;
    bool m_autoCheck = false;
    bool m_default = false;
    bool m_enabled = true;
    bool m_visible = true;
    TShortCut m_shortCut = scNone;
    int m_imageIndex = -1;
    String m_hint;
    std::vector<TMenuItem*> m_items;
    TMenuItem* m_parent = nullptr;
    TMenu* m_menu = nullptr;  // set on a menu's root item only

    friend class TMenu;
};

// ---- menus ------------------------------------------------------------------------------------

// maAutomatic: the popup shows accelerators added to captions lacking one (the captions
// themselves are left alone); maManual: captions are shown as they are; maParent: as the
// parent (a popup has none, so automatic).
enum TMenuAutoFlag { maAutomatic, maManual, maParent };

class TMenu : public TComponent {
    VCL_CLASS(TMenu)
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root item; its sub-items are the menu's lines.
    TMenuItem* GetItems() const { return m_items; }
    TImageList* GetImages() const { return m_images; }
    void SetImages(TImageList* v);
    bool GetOwnerDraw() const { return m_ownerDraw; }
    virtual void SetOwnerDraw(bool v);
    TMenuAutoFlag GetAutoHotkeys() const { return m_autoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag v) { m_autoHotkeys = v; }
    // True when the popup adds accelerators (maAutomatic, or maParent).
    bool UsesAutomaticHotkeys() const { return m_autoHotkeys != maManual; }

    // The first enabled, visible item of the tree with that shortcut, or nullptr.
    TMenuItem* FindItemByShortCut(TShortCut AShortCut) const;
    // Clicks the item bound to the key (as a form's dialog keys do); true when one was found.
    bool IsShortCut(Word Key, TShiftState Shift);

    TMenuChangeEvent OnChange;

    // Called by the items when their tree or look changes.
    virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMenuItem* m_items;
    TImageList* m_images = nullptr;
    bool m_ownerDraw = false;
    TMenuAutoFlag m_autoHotkeys = maAutomatic;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TCustomForm;

class TPopupMenu : public TMenu {
    VCL_CLASS(TPopupMenu)
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Fires OnPopup, shows the menu at a screen point and, when an item was chosen, queues its
    // Click for the message loop (skipped if the item is freed meanwhile). Returns at once
    // after the popup closes.
    virtual void Popup(int X, int Y);
    // True while the popup shows (Popup has not returned yet).
    bool IsShowing() const;
    // The component that opened the popup (set by it); cleared when that component is freed.
    TComponent* GetPopupComponent() const { return m_popupComponent; }
    void SetPopupComponent(TComponent* v);
    TPoint GetPopupPoint() const { return m_popupPoint; }
    bool GetAutoPopup() const { return m_autoPopup; }
    void SetAutoPopup(bool v) { m_autoPopup = v; }
    TPopupAlignment GetAlignment() const { return m_alignment; }
    void SetAlignment(TPopupAlignment v) { m_alignment = v; }

    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

protected:
    virtual void DoPopup(TObject* Sender);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TComponent* m_popupComponent = nullptr;
    bool* m_freedWhileShowing = nullptr;  // set by the destructor while Popup waits
    TPoint m_popupPoint;
    bool m_autoPopup = true;
    TPopupAlignment m_alignment = paLeft;
};

// The window Form hides or goes: a popup menu it owns, or opened from a control inside it,
// closes without a choice.
void ClosePopupMenuOf(TCustomForm* Form);

// A form's menu bar model; no native menu bar is shown.
class TMainMenu : public TMenu {
    VCL_CLASS(TMainMenu)
    using TMenu::TMenu;
};

// Queues Item->Click() for the message loop; nothing happens if the item is freed first.
void QueueMenuItemClick(TMenuItem* Item);
