// Skinned check and radio groups: a group box holding one skinned check box (radio button) per
// line of Items, laid out column by column.
//
//   auto* Group = new TsuiRadioGroup(Form);
//   Group->SetParent(Form);
//   Group->SetCaption(" Video format ");
//   Group->GetItems()->Add("NTSC");
//   Group->GetItems()->Add("PAL");
//   Group->SetColumns(2);
//   Group->SetItemIndex(0);                 // checks it without asking CanModify
//
// Indexes outside the buttons read false and are ignored when written.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/StringList.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/core/SUICheckBox.h"

class TsuiCheckGroup;
class TsuiRadioGroup;

// Where Arrange puts button Index of Count: rows = ceil(Count / Columns), filled column by
// column; Client is the group's layout rectangle with the top margin already taken off.
TPoint SUIGroupButtonOrigin(int Index, int Count, int Columns, int GroupWidth, const TRect& Client);

class TsuiCheckGroupButton : public TsuiCheckBox {
    VCL_CLASS(TsuiCheckGroupButton)
    TsuiCheckGroupButton(TComponent* AOwner, TsuiCheckGroup* Group) : TsuiCheckBox(AOwner), m_group(Group) {}

protected:
    bool NeedDrawFocus() override { return Focused(); }

private:
    TsuiCheckGroup* m_group;
};

class TsuiRadioGroupButton : public TsuiRadioButton {
    VCL_CLASS(TsuiRadioGroupButton)
    TsuiRadioGroupButton(TComponent* AOwner, TsuiRadioGroup* Group) : TsuiRadioButton(AOwner), m_group(Group) {}

protected:
    bool NeedDrawFocus() override;
    // The radio click runs only when the group allows a change.
    void DoClick() override;

private:
    TsuiRadioGroup* m_group;
};

class TsuiCheckGroup : public TsuiCustomGroupBox {
    VCL_CLASS(TsuiCheckGroup)
    explicit TsuiCheckGroup(TComponent* AOwner);
    ~TsuiCheckGroup() override;

    TStringList* GetItems() const { return m_items.get(); }
    void SetItems(TStrings* Value);
    int GetColumns() const { return m_columns; }
    // Below 1 is ignored (no group lays out zero columns).
    void SetColumns(int Value);
    int GetTopMargin() const { return m_topMargin; }
    // Negative values are ignored.
    void SetTopMargin(int Value);
    TColor GetFontColor() const;
    void SetFontColor(TColor Value);
    TCursor GetCursor() const { return TControl::GetCursor(); }
    void SetCursor(TCursor Value);

    bool GetChecked(int Index) const;
    void SetChecked(int Index, bool Value);
    bool GetItemEnabled(int Index) const;
    void SetItemEnabled(int Index, bool Value);

    int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
    TsuiCheckBox* Button(int Index) const { return m_buttons.at(static_cast<size_t>(Index)); }

    void SetTransparent(bool Value) override;
    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void UpdateUIStyle(TsuiUIStyle UIStyle, TsuiFileTheme* FileTheme) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;
    virtual void NewClick() {}
    virtual TsuiCheckBox* CreateAButton();
    virtual void FocusUpdate();
    bool HasButton(int Index) const { return Index >= 0 && Index < ButtonCount(); }

private:
    void ItemsChanged();
    void UpdateButtons();
    void Arrange();
    void ButtonClick();

    std::unique_ptr<TStringList> m_items;
    std::vector<TsuiCheckBox*> m_buttons;
    int m_columns = 1;
    int m_topMargin = 8;
};

class TsuiRadioGroup : public TsuiCheckGroup {
    VCL_CLASS(TsuiRadioGroup)
    explicit TsuiRadioGroup(TComponent* AOwner) : TsuiCheckGroup(AOwner) {}

    // The first checked button, -1 for none.
    int GetItemIndex() const;
    // -1 clears every button; an index beyond the items, or beyond the buttons made so far
    // (inside the items' BeginUpdate and EndUpdate), is ignored.
    void SetItemIndex(int Value);
    // Whether a click may change the checked item (a data-aware group asks its data set).
    virtual bool CanModify() { return true; }

protected:
    TsuiCheckBox* CreateAButton() override;
    void FocusUpdate() override;
};
