#include "platform/vcl/Menus.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Interaction.h"

// ---- shortcuts --------------------------------------------------------------------------------

namespace {

struct KeyName {
    Word key;
    const char* name;
};

constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},  {VK_LEFT, "Left"},  {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},  {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

constexpr Word kF1 = 0x70;
constexpr Word kF12 = 0x7B;

String KeyToText(Word key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<char>(key));
    if (key >= kF1 && key <= kF12) return "F" + IntToStr(key - kF1 + 1);
    for (const KeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    return "";
}

Word TextToKey(const String& text) {
    if (text.size() == 1) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return static_cast<Word>(c);
    }
    for (Word key = kF1; key <= kF12; ++key)
        if (SameText(text, KeyToText(key))) return key;
    for (const KeyName& k : kKeyNames)
        if (SameText(text, k.name)) return k.key;
    return 0;
}

struct Modifier {
    TShortCut bit;
    const char* prefix;
};
constexpr Modifier kModifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

}  // namespace

TShortCut ShortCut(Word Key, TShiftState Shift) {
    if ((Key & 0xFF00) != 0) return scNone;
    TShortCut s = Key;
    if (Shift.Contains(ssShift)) s |= scShift;
    if (Shift.Contains(ssCtrl)) s |= scCtrl;
    if (Shift.Contains(ssAlt)) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut AShortCut, Word& Key, TShiftState& Shift) {
    Key = AShortCut & 0xFF;
    Shift = {};
    if (AShortCut & scShift) Shift.Include(ssShift);
    if (AShortCut & scCtrl) Shift.Include(ssCtrl);
    if (AShortCut & scAlt) Shift.Include(ssAlt);
}

String ShortCutToText(TShortCut AShortCut) {
    String key = KeyToText(AShortCut & 0xFF);
    if (key.empty()) return "";
    String text;
    for (const Modifier& m : kModifiers)
        if (AShortCut & m.bit) text += m.prefix;
    return text + key;
}

TShortCut TextToShortCut(const String& Text) {
    String rest = Text;
    TShortCut mods = 0;
    for (bool found = true; found;) {
        found = false;
        for (const Modifier& m : kModifiers) {
            String p = m.prefix;
            if (rest.size() > p.size() && SameText(rest.substr(0, p.size()), p)) {
                mods |= m.bit;
                rest = rest.substr(p.size());
                found = true;
            }
        }
    }
    Word key = TextToKey(rest);
    return key == 0 ? scNone : static_cast<TShortCut>(key | mods);
}

String StripHotkey(const String& Caption) {
    String out;
    for (size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&' && i + 1 < Caption.size()) ++i;
        else if (Caption[i] == '&') continue;
        out += Caption[i];
    }
    return out;
}

char GetHotkey(const String& Caption) {
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&') continue;
        if (Caption[i + 1] == '&') { ++i; continue; }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(Caption[i + 1])));
    }
    return 0;
}

std::vector<String> AutomaticHotkeys(const std::vector<String>& Captions) {
    std::vector<bool> used(256, false);
    for (const String& c : Captions)
        if (char h = GetHotkey(c)) used[static_cast<unsigned char>(h)] = true;
    std::vector<String> out = Captions;
    for (String& c : out) {
        if (c == "-" || GetHotkey(c) != 0) continue;
        for (size_t i = 0; i < c.size(); ++i) {
            unsigned char ch = static_cast<unsigned char>(c[i]);
            if (ch >= 0x80 || !std::isalnum(ch)) continue;
            unsigned char up = static_cast<unsigned char>(std::toupper(ch));
            if (used[up]) continue;
            used[up] = true;
            c.insert(i, 1, '&');
            break;
        }
    }
    return out;
}

// ---- items ------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    Destroying();
    // The sub-items go with their parent, whoever owns them.
    while (!m_items.empty()) {
        TMenuItem* child = m_items.back();
        m_items.pop_back();
        child->m_parent = nullptr;
        delete child;
    }
    if (m_parent != nullptr) m_parent->Remove(this);
}

void TMenuItem::SetCaption(const String& v) {
    if (v == m_caption) return;
    m_caption = v;
    MenuChanged(false);
}

void TMenuItem::SetChecked(bool v) {
    if (v == m_checked) return;
    m_checked = v;
    if (v && m_radioItem) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff() {
    if (m_parent == nullptr) return;
    for (TMenuItem* sibling : m_parent->m_items) {
        if (sibling == this || !sibling->m_radioItem || sibling->m_groupIndex != m_groupIndex) continue;
        if (sibling->m_checked) {
            sibling->m_checked = false;
            sibling->MenuChanged(false);
        }
    }
}

void TMenuItem::SetRadioItem(bool v) {
    if (v == m_radioItem) return;
    m_radioItem = v;
    if (m_radioItem && m_checked) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(Byte v) {
    if (v == m_groupIndex) return;
    m_groupIndex = v;
    if (m_radioItem && m_checked) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetDefault(bool v) {
    if (v == m_default) return;
    // One default item per level.
    if (v && m_parent != nullptr)
        for (TMenuItem* sibling : m_parent->m_items)
            if (sibling != this) sibling->m_default = false;
    m_default = v;
    MenuChanged(false);
}

void TMenuItem::SetEnabled(bool v) {
    if (v == m_enabled) return;
    m_enabled = v;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool v) {
    if (v == m_visible) return;
    m_visible = v;
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut v) {
    if (v == m_shortCut) return;
    m_shortCut = v;
    MenuChanged(false);
}

void TMenuItem::SetImageIndex(int v) {
    if (v == m_imageIndex) return;
    m_imageIndex = v;
    MenuChanged(false);
}

void TMenuItem::CheckIndex(int Index, bool AllowEnd) const {
    int limit = Count() + (AllowEnd ? 1 : 0);
    if (Index < 0 || Index >= limit) throw EMenuError("Menu index out of range (" + IntToStr(Index) + ")");
}

TMenuItem* TMenuItem::Items(int Index) const {
    CheckIndex(Index, false);
    return m_items[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (Item == nullptr) throw EMenuError("Cannot insert a nil menu item");
    if (Item->m_parent != nullptr) throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p != nullptr; p = p->m_parent)
        if (p == Item) throw EMenuError("A menu item cannot hold itself");
    CheckIndex(Index, true);
    m_items.insert(m_items.begin() + Index, Item);
    Item->m_parent = this;
    if (Item->m_radioItem && Item->m_checked) Item->TurnSiblingsOff();
    MenuChanged(true);
}

void TMenuItem::Delete(int Index) {
    CheckIndex(Index, false);
    TMenuItem* item = m_items[static_cast<size_t>(Index)];
    m_items.erase(m_items.begin() + Index);
    item->m_parent = nullptr;
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* Item) {
    int i = IndexOf(Item);
    if (i < 0) throw EMenuError("Menu item not found");
    Delete(i);
}

void TMenuItem::Clear() {
    while (!m_items.empty()) {
        TMenuItem* child = m_items.back();
        m_items.pop_back();
        child->m_parent = nullptr;
        delete child;
    }
    MenuChanged(true);
}

int TMenuItem::IndexOf(TMenuItem* Item) const {
    auto it = std::find(m_items.begin(), m_items.end(), Item);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
    String wanted = StripHotkey(ACaption);
    for (TMenuItem* item : m_items)
        if (SameText(StripHotkey(item->m_caption), wanted)) return item;
    return nullptr;
}

int TMenuItem::GetMenuIndex() const { return m_parent == nullptr ? -1 : m_parent->IndexOf(const_cast<TMenuItem*>(this)); }

void TMenuItem::SetMenuIndex(int Value) {
    if (m_parent == nullptr) return;
    TMenuItem* parent = m_parent;
    int count = parent->Count();
    Value = std::clamp(Value, 0, count - 1);
    int current = GetMenuIndex();
    if (Value == current) return;
    parent->m_items.erase(parent->m_items.begin() + current);
    parent->m_items.insert(parent->m_items.begin() + Value, this);
    MenuChanged(true);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->m_parent != nullptr) root = root->m_parent;
    return root->m_menu;
}

void TMenuItem::MenuChanged(bool Rebuild) {
    if (GetComponentState().Contains(csDestroying)) return;
    TMenu* menu = GetParentMenu();
    if (menu != nullptr && !menu->GetComponentState().Contains(csDestroying))
        menu->MenuChanged(this, this, Rebuild);
}

void TMenuItem::Click() {
    if (!m_enabled) return;
    if (m_autoCheck) SetChecked(m_radioItem ? true : !m_checked);
    // A copy: the handler may free this item.
    TNotifyEvent handler = OnClick;
    if (handler) handler(this);
}

TOwnerDrawState TMenuItem::DrawState(bool Selected) const {
    TOwnerDrawState state;
    if (Selected) state.Include(odSelected);
    if (!m_enabled) state.Include(odDisabled).Include(odGrayed);
    if (m_checked) state.Include(odChecked);
    if (m_default) state.Include(odDefault);
    return state;
}

namespace {

constexpr int kCheckAreaWidth = 18;
constexpr int kRightMargin = 18;
constexpr int kShortCutGap = 16;

void PrepareItemFont(TCanvas* canvas, bool isDefault) {
    TFontStyles style = canvas->GetFont()->GetStyle();
    if (isDefault) style.Include(fsBold);
    canvas->GetFont()->SetStyle(style);
}

int GlyphAreaWidth(TMenuItem* item) {
    TMenu* menu = item->GetParentMenu();
    TImageList* images = menu != nullptr ? menu->GetImages() : nullptr;
    return images != nullptr ? std::max(kCheckAreaWidth, images->GetWidth() + 4) : kCheckAreaWidth;
}

}  // namespace

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
    if (IsLine()) {
        Width = kCheckAreaWidth;
        Height = MenuSeparatorDefaultHeight;
    } else {
        ACanvas->SaveDC();
        PrepareItemFont(ACanvas, m_default);
        TRect r{0, 0, 0, 0};
        ACanvas->DrawText(m_caption.empty() ? String(" ") : m_caption, r, DT_SINGLELINE | DT_CALCRECT);
        Width = GlyphAreaWidth(this) + r.Width() + kRightMargin;
        if (m_shortCut != scNone) Width += kShortCutGap + ACanvas->TextWidth(ShortCutToText(m_shortCut));
        Height = std::max(MenuItemDefaultHeight, r.Height() + 4);
        ACanvas->RestoreDC(-1);
    }
    TMenuMeasureItemEvent handler = OnMeasureItem;
    if (handler) handler(this, ACanvas, Width, Height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel) {
    (void)TopLevel;
    if (TAdvancedMenuDrawItemEvent handler = OnAdvancedDrawItem) {
        handler(this, ACanvas, ARect, State);
    } else if (TMenuDrawItemEvent draw = OnDrawItem) {
        draw(this, ACanvas, ARect, State.Contains(odSelected));
    } else {
        DefaultDrawItem(ACanvas, ARect, State);
    }
}

void TMenuItem::DefaultDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) {
    ACanvas->SaveDC();
    bool selected = State.Contains(odSelected) && !IsLine();
    ACanvas->GetBrush()->SetColor(selected ? clHighlight : clMenu);
    ACanvas->FillRect(ARect);
    if (IsLine()) {
        int y = ARect.Top + ARect.Height() / 2 - 1;
        ACanvas->GetPen()->SetColor(clBtnShadow);
        ACanvas->MoveTo(ARect.Left + 1, y);
        ACanvas->LineTo(ARect.Right - 1, y);
        ACanvas->GetPen()->SetColor(clBtnHighlight);
        ACanvas->MoveTo(ARect.Left + 1, y + 1);
        ACanvas->LineTo(ARect.Right - 1, y + 1);
        ACanvas->RestoreDC(-1);
        return;
    }
    TColor text = State.Contains(odDisabled) ? clGrayText : selected ? clHighlightText : clMenuText;
    int glyph = GlyphAreaWidth(this);
    TMenu* menu = GetParentMenu();
    TImageList* images = menu != nullptr ? menu->GetImages() : nullptr;
    if (images != nullptr && m_imageIndex >= 0 && m_imageIndex < images->Count()) {
        images->Draw(ACanvas, ARect.Left + 2, ARect.Top + (ARect.Height() - images->GetHeight()) / 2,
                     m_imageIndex, m_enabled);
    } else if (m_checked) {
        // A small tick, or a dot for a radio item.
        ACanvas->GetBrush()->SetColor(text);
        ACanvas->GetPen()->SetColor(text);
        int cx = ARect.Left + glyph / 2;
        int cy = ARect.Top + ARect.Height() / 2;
        if (m_radioItem) {
            ACanvas->Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
        } else {
            for (int i = 0; i < 3; ++i) {
                ACanvas->MoveTo(cx - 4, cy - 1 + i);
                ACanvas->LineTo(cx - 2, cy + 1 + i);
                ACanvas->LineTo(cx + 3, cy - 4 + i);
            }
        }
    }
    PrepareItemFont(ACanvas, m_default);
    ACanvas->GetFont()->SetColor(text);
    ACanvas->GetBrush()->SetStyle(bsClear);
    TRect textRect{ARect.Left + glyph, ARect.Top, ARect.Right - kRightMargin / 2, ARect.Bottom};
    UINT prefix = State.Contains(odNoAccel) ? DT_HIDEPREFIX : 0;
    ACanvas->DrawText(m_caption, textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
    if (m_shortCut != scNone)
        ACanvas->DrawText(ShortCutToText(m_shortCut), textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    ACanvas->RestoreDC(-1);
}

// ---- menus ------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), m_items(new TMenuItem(this)) {
    m_items->m_menu = this;
}

TMenu::~TMenu() {
    Destroying();
    // Free the tree while this is still a TMenu (the items ask for their menu).
    delete m_items;
    m_items = nullptr;
}

void TMenu::SetImages(TImageList* v) {
    if (v == m_images) return;
    if (m_images != nullptr) m_images->RemoveFreeNotification(this);
    m_images = v;
    if (m_images != nullptr) m_images->FreeNotification(this);
    MenuChanged(this, nullptr, false);
}

void TMenu::SetOwnerDraw(bool v) {
    if (v == m_ownerDraw) return;
    m_ownerDraw = v;
    MenuChanged(this, nullptr, false);
}

namespace {

TMenuItem* FindShortCutIn(TMenuItem* parent, TShortCut s) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->GetVisible() || !item->GetEnabled()) continue;
        if (item->GetShortCut() == s) return item;
        if (TMenuItem* found = FindShortCutIn(item, s)) return found;
    }
    return nullptr;
}

}  // namespace

TMenuItem* TMenu::FindItemByShortCut(TShortCut AShortCut) const {
    if (AShortCut == scNone || m_items == nullptr) return nullptr;
    return FindShortCutIn(m_items, AShortCut);
}

bool TMenu::IsShortCut(Word Key, TShiftState Shift) {
    TMenuItem* item = FindItemByShortCut(ShortCut(Key, Shift));
    if (item == nullptr) return false;
    item->Click();
    return true;
}

void TMenu::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
    TMenuChangeEvent handler = OnChange;
    if (handler) handler(Sender, Source, Rebuild);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_images) m_images = nullptr;
}

// ---- popups -----------------------------------------------------------------------------------

namespace {

// Watches one item until the queued click runs, so a freed item is never clicked.
class TMenuItemWatch : public TComponent {
    VCL_CLASS(TMenuItemWatch)
    explicit TMenuItemWatch(TMenuItem* item) : TComponent(nullptr), m_item(item) { item->FreeNotification(this); }
    TMenuItem* Item() const { return m_item; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == m_item) m_item = nullptr;
    }

private:
    TMenuItem* m_item;
};

void ClickWatched(TMenuItemWatch* watch) {
    TMenuItem* item = watch->Item();
    delete watch;  // unlinks from the item before the handler may free it
    if (item == nullptr) return;
    if (Application != nullptr) Application->Guard(item, [item] { item->Click(); });
    else item->Click();
}

}  // namespace

void QueueMenuItemClick(TMenuItem* Item) {
    if (Item == nullptr) return;
    auto* watch = new TMenuItemWatch(Item);
    if (Application == nullptr) {
        ClickWatched(watch);
        return;
    }
    Application->QueueCall([watch] { ClickWatched(watch); });
}

namespace {

// The popup menu that shows now (Popup has not returned yet), or nullptr.
TPopupMenu* g_showingMenu = nullptr;

bool WithinForm(TComponent* Component, TCustomForm* Form) {
    for (TComponent* c = Component; c != nullptr; c = c->GetOwner())
        if (c == Form) return true;
    if (auto* control = dynamic_cast<TControl*>(Component))
        for (TControl* c = control; c != nullptr; c = c->GetParent())
            if (c == Form) return true;
    return false;
}

}  // namespace

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() {
    // A menu freed while it shows takes its popup with it.
    if (g_showingMenu == this) {
        GetInteractionService()->CancelPopupMenu(this);
        g_showingMenu = nullptr;
    }
    if (m_freedWhileShowing != nullptr) *m_freedWhileShowing = true;
}

bool TPopupMenu::IsShowing() const { return g_showingMenu == this; }

void ClosePopupMenuOf(TCustomForm* Form) {
    TPopupMenu* menu = g_showingMenu;
    if (menu == nullptr || Form == nullptr) return;
    if (WithinForm(menu, Form) || WithinForm(menu->GetPopupComponent(), Form))
        GetInteractionService()->CancelPopupMenu(menu);
}

// The link stays registered when the component changes: a stale notification is ignored below,
// and the control that uses this popup may share the same link.
void TPopupMenu::SetPopupComponent(TComponent* v) {
    m_popupComponent = v;
    if (m_popupComponent != nullptr) m_popupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == m_popupComponent) m_popupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
    TNotifyEvent handler = OnPopup;
    if (handler) handler(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
    m_popupPoint = {X, Y};
    DoPopup(this);
    TPopupMenu* outer = std::exchange(g_showingMenu, this);
    bool freed = false;
    m_freedWhileShowing = &freed;
    TMenuItem* chosen = GetInteractionService()->TrackPopupMenu(this, X, Y);
    g_showingMenu = outer;
    if (freed) return;
    m_freedWhileShowing = nullptr;
    TNotifyEvent closed = OnClose;
    if (closed) closed(this);
    if (chosen != nullptr) QueueMenuItemClick(chosen);
}
