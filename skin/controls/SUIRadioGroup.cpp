#include "skin/controls/SUIRadioGroup.h"

#include <algorithm>

#include "platform/vcl/Graphics.h"

TPoint SUIGroupButtonOrigin(int Index, int Count, int Columns, int GroupWidth, const TRect& Client) {
    const int h = Client.Bottom - Client.Top;
    const int rows = (Count + Columns - 1) / Columns;
    const int columnWidth = (GroupWidth - 10) / Columns;
    const int rowHeight = h / rows;
    const int firstTop = (h % rows) / 2 + Client.Top;
    return {Index / rows * columnWidth + 8, Index % rows * rowHeight + firstTop};
}

// ---- buttons ------------------------------------------------------------------------------------

bool TsuiRadioGroupButton::NeedDrawFocus() { return GetChecked() && (Focused() || m_group->Focused()); }

void TsuiRadioGroupButton::DoClick() {
    if (m_group->CanModify()) TsuiRadioButton::DoClick();
}

// ---- TsuiCheckGroup -----------------------------------------------------------------------------

TsuiCheckGroup::TsuiCheckGroup(TComponent* AOwner) : TsuiCustomGroupBox(AOwner), m_items(std::make_unique<TStringList>()) {
    m_items->OnChange = [this](TObject*) { ItemsChanged(); };
    SetUIStyle(GetSUIFormStyle(AOwner));
    SetTransparent(false);
    SetParentColor(true);
    SetTabStop(true);
}

TsuiCheckGroup::~TsuiCheckGroup() {
    Destroying();
    m_items->OnChange = nullptr;
}

void TsuiCheckGroup::SetItems(TStrings* Value) { m_items->Assign(Value); }

void TsuiCheckGroup::SetColumns(int Value) {
    if (Value < 1) return;
    m_columns = Value;
    Arrange();
}

void TsuiCheckGroup::SetTopMargin(int Value) {
    if (Value < 0) return;
    m_topMargin = Value;
    Arrange();
}

TColor TsuiCheckGroup::GetFontColor() const { return GetFont()->GetColor(); }

void TsuiCheckGroup::SetFontColor(TColor Value) { GetFont()->SetColor(Value); }

void TsuiCheckGroup::SetCursor(TCursor Value) {
    for (TsuiCheckBox* b : m_buttons) b->SetCursor(Value);
    TControl::SetCursor(Value);
}

bool TsuiCheckGroup::GetChecked(int Index) const { return HasButton(Index) && Button(Index)->GetChecked(); }

void TsuiCheckGroup::SetChecked(int Index, bool Value) {
    if (HasButton(Index)) Button(Index)->SetChecked(Value);
}

bool TsuiCheckGroup::GetItemEnabled(int Index) const { return HasButton(Index) && Button(Index)->GetEnabled(); }

void TsuiCheckGroup::SetItemEnabled(int Index, bool Value) {
    if (HasButton(Index)) Button(Index)->SetEnabled(Value);
}

void TsuiCheckGroup::SetTransparent(bool Value) {
    TsuiCustomGroupBox::SetTransparent(Value);
    for (TsuiCheckBox* b : m_buttons) b->SetTransparent(Value);
}

void TsuiCheckGroup::UpdateUIStyle(TsuiUIStyle UIStyle, TsuiFileTheme* FileTheme) {
    TsuiCustomGroupBox::UpdateUIStyle(UIStyle, FileTheme);
    for (TsuiCheckBox* b : m_buttons) {
        b->SetFileTheme(FileTheme);
        b->SetUIStyle(UIStyle);
        b->SetColor(GetColor());
    }
}

TsuiCheckBox* TsuiCheckGroup::CreateAButton() { return new TsuiCheckGroupButton(this, this); }

void TsuiCheckGroup::FocusUpdate() {
    if (m_items->Count() > 0 && !m_buttons.empty() && m_buttons.front()->CanFocus()) m_buttons.front()->SetFocus();
}

void TsuiCheckGroup::ItemsChanged() {
    const size_t before = m_buttons.size();
    UpdateButtons();
    Arrange();
    if (m_buttons.size() > before) {
        // Flipped and back: every button, new ones included, takes the group's value.
        SetTransparent(!GetTransparent());
        SetTransparent(!GetTransparent());
    }
}

void TsuiCheckGroup::UpdateButtons() {
    const int count = m_items->Count();
    while (ButtonCount() < count) {
        TsuiCheckBox* b = CreateAButton();
        b->SetParent(this);
        b->SetFont(GetFont());
        b->SetAutoSize(true);
        b->SetFileTheme(GetFileTheme());
        b->SetUIStyle(GetUIStyle());
        b->SetTransparent(GetTransparent());
        b->SetParentColor(true);
        b->SetTabStop(false);
        b->OnClick = [this](TObject*) { ButtonClick(); };
        b->SetCursor(GetCursor());
        m_buttons.push_back(b);
    }
    while (ButtonCount() > count) {
        TsuiCheckBox* last = m_buttons.back();
        m_buttons.pop_back();
        delete last;
    }
    for (int i = 0; i < count; ++i) {
        m_buttons[static_cast<size_t>(i)]->SetCaption((*m_items)[i]);
        m_buttons[static_cast<size_t>(i)]->SetAutoSize(true);
    }
}

void TsuiCheckGroup::Arrange() {
    if (m_buttons.empty()) return;
    TRect client = GetClient();
    client.Top += m_topMargin;
    for (int i = 0; i < ButtonCount(); ++i) {
        TPoint at = SUIGroupButtonOrigin(i, ButtonCount(), m_columns, GetWidth(), client);
        Button(i)->SetLeft(at.x);
        Button(i)->SetTop(at.y);
    }
}

void TsuiCheckGroup::ButtonClick() {
    NewClick();
    if (!GetComponentState().Contains(csLoading) && OnClick) OnClick(this);
}

// A click on the group's own surface is the group's click, as a button's is.
void TsuiCheckGroup::Click() { ButtonClick(); }

void TsuiCheckGroup::Resize() {
    TsuiCustomGroupBox::Resize();
    Arrange();
}

void TsuiCheckGroup::Notification(TComponent* AComponent, TOperation Operation) {
    TsuiCustomGroupBox::Notification(AComponent, Operation);
    if (Operation == opRemove) std::erase(m_buttons, AComponent);
}

void TsuiCheckGroup::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_FONTCHANGED:
            TsuiCustomGroupBox::Dispatch(Message);
            for (TsuiCheckBox* b : m_buttons) b->SetFont(GetFont());
            return;
        case WM_SETFOCUS:
            TsuiCustomGroupBox::Dispatch(Message);
            FocusUpdate();
            return;
        default: TsuiCustomGroupBox::Dispatch(Message); return;
    }
}

// ---- TsuiRadioGroup -----------------------------------------------------------------------------

TsuiCheckBox* TsuiRadioGroup::CreateAButton() { return new TsuiRadioGroupButton(this, this); }

int TsuiRadioGroup::GetItemIndex() const {
    for (int i = 0; i < ButtonCount(); ++i)
        if (Button(i)->GetChecked()) return i;
    return -1;
}

void TsuiRadioGroup::SetItemIndex(int Value) {
    // Between BeginUpdate and EndUpdate of the items their buttons don't exist yet.
    if (Value > std::min(GetItems()->Count(), ButtonCount()) - 1 || Value < -1) return;
    if (Value >= 0) {
        Button(Value)->SetChecked(true);
        return;
    }
    for (int i = 0; i < ButtonCount(); ++i) Button(i)->SetChecked(false);
}

void TsuiRadioGroup::FocusUpdate() {
    const int index = GetItemIndex();
    if (index >= 0 && index < GetItems()->Count()) Button(index)->SetFocus();
}
