// The skinned data-aware controls: the data-aware edit, memo, image, list boxes, combo boxes
// and grid with the look's border, colours and external bars; a check box and a radio group
// bound to a field; and a navigator of ten skinned buttons moving and editing a data set.
//
//   auto* Nav = new TsuiDBNavigator(Form);
//   Nav->SetParent(Form);
//   Nav->SetDataSource(Source);              // buttons enable as the data set allows
//   Nav->OnClick = [](TsuiDBNavigator*, TNavigateBtn Button) { ... };
//   auto* Done = new TsuiDBCheckBox(Form);
//   Done->SetDataSource(Source); Done->SetDataField("done");
//   Done->SetValueChecked("Yes;Y");          // reads "y" as checked, writes "Yes"
#pragma once

#include <array>
#include <memory>

#include "platform/db/DBCtrls.h"
#include "platform/db/DBGrids.h"
#include "platform/vcl/ExtCtrls.h"
#include "skin/controls/SUIComboBox.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIRadioGroup.h"
#include "skin/controls/SUIScrollHost.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUICheckBox.h"
#include "skin/core/SUIThemes.h"

class TsuiFileTheme;

// ---- field-bound twins -------------------------------------------------------------------------

class TsuiDBEdit : public TDBEdit, public IsuiStyled {
    VCL_CLASS(TsuiDBEdit)
    explicit TsuiDBEdit(TComponent* AOwner);
    ~TsuiDBEdit() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TsuiStyleLink m_style{this};
    TColor m_borderColor = clBlack;
};

class TsuiDBMemo : public TsuiMemoSkin<TDBMemo, TsuiScrollHostKind::DBMemo> {
    VCL_CLASS(TsuiDBMemo)
    using TsuiMemoSkin::TsuiMemoSkin;
};

// Instantiated beside the plain memo's skin (SUIMemo.cpp).
extern template class TsuiMemoSkin<TDBMemo, TsuiScrollHostKind::DBMemo>;

// Keeps the data image's own control and border style; the look's border is painted in its
// two-pixel BorderWidth.
class TsuiDBImage : public TDBImage, public IsuiStyled {
    VCL_CLASS(TsuiDBImage)
    explicit TsuiDBImage(TComponent* AOwner);
    ~TsuiDBImage() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value);

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TsuiStyleLink m_style{this};
    TColor m_borderColor = clBlack;
};

// The style pair, the key-25 border and the vertical bar of a data-aware list.
template <class Base, TsuiScrollHostKind Kind>
class TsuiDBListSkin : public Base, public IsuiStyled, public IsuiScrollBarInfoSource {
public:
    explicit TsuiDBListSkin(TComponent* AOwner);
    ~TsuiDBListSkin() override;

    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value) { m_borderColor = Value; this->Invalidate(); }
    TsuiScrollBar* GetVScrollBar() const { return m_bars.GetVScrollBar(); }
    void SetVScrollBar(TsuiScrollBar* Value) { m_bars.SetVScrollBar(Value); }

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    bool GetSystemScrollBarInfo(LONG ObjectId, SCROLLBARINFO& Info) override {
        return m_bars.SystemScrollBarInfo(ObjectId, Info);
    }
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TColor m_borderColor = clBlack;
    TsuiStyleLink m_style{this};
    TsuiScrollHost m_bars{this, Kind};
};

class TsuiDBListBox : public TsuiDBListSkin<TDBListBox, TsuiScrollHostKind::DBListBox> {
    VCL_CLASS(TsuiDBListBox)
    using TsuiDBListSkin::TsuiDBListSkin;
};

class TsuiDBLookupListBox : public TsuiDBListSkin<TDBLookupListBox, TsuiScrollHostKind::DBLookupListBox> {
    VCL_CLASS(TsuiDBLookupListBox)
    using TsuiDBListSkin::TsuiDBListSkin;
};

// The combo skin on the data-aware combo box; it skins the csSimple style too and leaves the
// parent alone when the list closes.
class TsuiDBComboBox : public TsuiComboSkin<TDBComboBox> {
    VCL_CLASS(TsuiDBComboBox)
    explicit TsuiDBComboBox(TComponent* AOwner);

protected:
    void CloseUp() override { TDBComboBox::CloseUp(); }
};

// Instantiated beside the other combo skins (SUIComboBox.cpp).
extern template class TsuiComboSkin<TDBComboBox>;

// Where the lookup combo's button lies in a client area of Width x Height, and the origin of its
// arrow (x centred less 3, y half the height less 2).
TRect SUIDBLookupComboButtonRect(int ClientWidth, int ClientHeight, int ScrollBarWidth);
TPoint SUIDBLookupComboArrowOrigin(const TRect& Button);

class TsuiDBLookupComboBox : public TDBLookupComboBox, public IsuiStyled {
    VCL_CLASS(TsuiDBLookupComboBox)
    explicit TsuiDBLookupComboBox(TComponent* AOwner);
    ~TsuiDBLookupComboBox() override;

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value) { m_borderColor = Value; Invalidate(); }
    TColor GetButtonColor() const { return m_buttonColor; }
    void SetButtonColor(TColor Value) { m_buttonColor = Value; Invalidate(); }
    TColor GetArrowColor() const { return m_arrowColor; }
    void SetArrowColor(TColor Value) { m_arrowColor = Value; Invalidate(); }
    void SetEnabled(bool Value) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;

private:
    void DrawArrow(TCanvas* Canvas, int X, int Y);

    TsuiStyleLink m_style{this};
    TColor m_borderColor = clBlack;
    TColor m_buttonColor = clBtnFace;
    TColor m_arrowColor = clBlack;
    std::unique_ptr<TBitmap> m_buttonPicture;
};

// The data grid with the string grid's colours (key 20 colours the title font), cells in their
// own selected and focused colours, the border with its inner frame, and external bars that
// never change the grid's own ScrollBars.
class TsuiDBGrid : public TDBGrid, public IsuiStyled, public IsuiScrollBarInfoSource {
    VCL_CLASS(TsuiDBGrid)
    explicit TsuiDBGrid(TComponent* AOwner);
    ~TsuiDBGrid() override;

    TColor GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value) { m_borderColor = Value; Invalidate(); }
    TColor GetFocusedColor() const { return m_focusedColor; }
    void SetFocusedColor(TColor Value) { m_focusedColor = Value; Invalidate(); }
    TColor GetSelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(TColor Value) { m_selectedColor = Value; Invalidate(); }
    TColor GetFontColor() const { return GetFont()->GetColor(); }
    // Without a repaint.
    void SetFontColor(TColor Value);
    TColor GetTitleFontColor() const { return GetTitleFont()->GetColor(); }
    // Without a repaint.
    void SetTitleFontColor(TColor Value);
    TColor GetFixedBGColor() const { return GetFixedColor(); }
    void SetFixedBGColor(TColor Value) { SetFixedColor(Value); }
    TColor GetBGColor() const { return GetColor(); }
    void SetBGColor(TColor Value) { SetColor(Value); }
    TsuiScrollBar* GetVScrollBar() const { return m_bars.GetVScrollBar(); }
    void SetVScrollBar(TsuiScrollBar* Value) { m_bars.SetVScrollBar(Value); }
    TsuiScrollBar* GetHScrollBar() const { return m_bars.GetHScrollBar(); }
    void SetHScrollBar(TsuiScrollBar* Value) { m_bars.SetHScrollBar(Value); }

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;
    bool GetSystemScrollBarInfo(LONG ObjectId, SCROLLBARINFO& Info) override {
        return m_bars.SystemScrollBarInfo(ObjectId, Info);
    }
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void Paint() override;

private:
    TColor m_borderColor = clBlack;
    TColor m_focusedColor = clGreen;
    TColor m_selectedColor = clYellow;
    TsuiStyleLink m_style{this};
    TsuiScrollHost m_bars{this, TsuiScrollHostKind::DBGrid};
};

// ---- check box and radio group -----------------------------------------------------------------

// True when one of List's ";"-separated items, trimmed, equals Text without regard to case.
bool SUIDBValueMatch(const String& List, const String& Text);
// The first ";"-separated item of List (untrimmed, as written back into the field).
String SUIDBFirstValue(const String& List);

// The standard ("BUTTON" class) check box a data check box paints itself with when it is drawn
// as a copy (csPaintCopy, one per record of a replicating grid): the field's state, not the
// control's own. Its window holds the look for one size, caption and font; dropping it makes
// the next paint take the control's current ones.
class TsuiDBCheckBoxPaintControl {
public:
    static constexpr UINT BM_SETCHECK_ = 0x00F1;

    explicit TsuiDBCheckBoxPaintControl(TControl* Owner) : m_owner(Owner) {}
    // BM_SETCHECK (WParam: the TCheckBoxState) and WM_PAINT (WParam: the canvas); others answer 0.
    LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
    bool HandleAllocated() const { return m_window != nullptr; }
    void DestroyHandle() { m_window.reset(); }
    TCheckBoxState GetState() const { return m_state; }

private:
    void CreateHandle();
    void PaintOn(TCanvas* Canvas) const;

    TControl* m_owner;
    std::unique_ptr<TBitmap> m_window;
    TCheckBoxState m_state = cbUnchecked;
};

class TsuiDBCheckBox : public TsuiCheckBox {
    VCL_CLASS(TsuiDBCheckBox)
    explicit TsuiDBCheckBox(TComponent* AOwner);
    ~TsuiDBCheckBox() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }
    const String& GetValueChecked() const { return m_valueChecked; }
    void SetValueChecked(const String& Value);
    const String& GetValueUnchecked() const { return m_valueUnchecked; }
    void SetValueUnchecked(const String& Value);

    // Checked for a true boolean field or a text matching ValueChecked; anything else unchecked.
    TCheckBoxState GetFieldState() const;
    bool ValueMatch(const String& ValueList, const String& Value) const { return SUIDBValueMatch(ValueList, Value); }
    const TsuiDBCheckBoxPaintControl& PaintControl() const { return m_paintControl; }

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // A click flips the box only when the field can be put into edit state.
    void DoClick() override;
    void KeyPress(char& Key) override;

private:
    void DataChange();
    void UpdateData();

    TDBFieldBinding m_binding{this};
    String m_valueChecked = "True";
    String m_valueUnchecked = "False";
    TsuiDBCheckBoxPaintControl m_paintControl{this};
};

class TsuiDBRadioGroup : public TsuiRadioGroup {
    VCL_CLASS(TsuiDBRadioGroup)
    explicit TsuiDBRadioGroup(TComponent* AOwner);
    ~TsuiDBRadioGroup() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }
    TStringList* GetValues() const { return m_values.get(); }
    // Copy the list, then show the field again.
    void SetValues(TStrings* Value);
    void SetItems(TStrings* Value);
    const String& GetValue() const { return m_value; }
    // Selects the first button whose value is Value exactly (none: no button), then Change.
    void SetValue(const String& Value);
    // The Values entry of button Index when present and non-empty, else its Items entry.
    String GetButtonValue(int Index) const;
    bool CanModify() override;

    TNotifyEvent OnChange;
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void NewClick() override;
    void KeyPress(char& Key) override;
    virtual void Change();

private:
    void DataChange();
    void UpdateData();

    TDBFieldBinding m_binding{this};
    String m_value;
    std::unique_ptr<TStringList> m_values;
    bool m_inSetValue = false;
};

// ---- navigator ------------------------------------------------------------------------------------

enum class TNavigateBtnE { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
using TNavigateBtn = TNavigateBtnE;
using TButtonSet = Set<TNavigateBtnE>;
constexpr TNavigateBtnE nbFirst = TNavigateBtnE::nbFirst;
constexpr TNavigateBtnE nbPrior = TNavigateBtnE::nbPrior;
constexpr TNavigateBtnE nbNext = TNavigateBtnE::nbNext;
constexpr TNavigateBtnE nbLast = TNavigateBtnE::nbLast;
constexpr TNavigateBtnE nbInsert = TNavigateBtnE::nbInsert;
constexpr TNavigateBtnE nbDelete = TNavigateBtnE::nbDelete;
constexpr TNavigateBtnE nbEdit = TNavigateBtnE::nbEdit;
constexpr TNavigateBtnE nbPost = TNavigateBtnE::nbPost;
constexpr TNavigateBtnE nbCancel = TNavigateBtnE::nbCancel;
constexpr TNavigateBtnE nbRefresh = TNavigateBtnE::nbRefresh;
constexpr int NavigatorButtonCount = 10;
TButtonSet AllNavigateButtons();

// The navigator's layout: the size it takes and the visible buttons' x and width, for a
// requested Width x Height with Count visible buttons (at least 1 is assumed).
struct TsuiNavigatorLayout {
    int Width = 0;
    int Height = 0;
    int ButtonWidth = 0;
    std::vector<int> Lefts;
    std::vector<int> Widths;
};
// CalcMinSize: at least 20 x 18 per button; a navigator that is not aligned snaps its width to
// a whole number of buttons.
void SUINavigatorCalcMinSize(int& Width, int& Height, int Count, bool AlignNone);
// SetSize: the buttons share the width, the leftover pixels of an aligned navigator spread over
// them by an error term.
TsuiNavigatorLayout SUINavigatorLayout(int Width, int Height, int Count, bool AlignNone);

class TsuiDBNavigator;

class TsuiNavButton : public TsuiButton {
    VCL_CLASS(TsuiNavButton)
    explicit TsuiNavButton(TComponent* AOwner);
    ~TsuiNavButton() override;

    TNavigateBtn GetIndex() const { return m_index; }
    void SetIndex(TNavigateBtn Value) { m_index = Value; }
    // Press-and-hold repeat (the lowest bit of the style byte).
    bool GetRepeats() const { return (m_navStyle & 1) != 0; }
    void SetRepeats(bool Value) { m_navStyle = Value ? (m_navStyle | 1) : (m_navStyle & ~1); }
    // The repeat timer, made on the first press of a repeating button.
    TTimer* NavRepeatTimer() const { return m_timer.get(); }
    // One tick of the repeat timer: 100 ms from now on; the navigator's click while the button
    // is held and has the capture. An exception stops the timer and passes on.
    void TimerExpired();

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;

private:
    TsuiDBNavigator* Navigator() const;

    TNavigateBtn m_index = nbFirst;
    Byte m_navStyle = 0;
    std::unique_ptr<TTimer> m_timer;
};

class TsuiNavDataLink : public TDataLink {
    VCL_CLASS(TsuiNavDataLink)
    explicit TsuiNavDataLink(TsuiDBNavigator* Navigator);
    ~TsuiNavDataLink() override;

protected:
    void EditingChanged() override;
    void DataSetChanged() override;
    void ActiveChanged() override;

private:
    TsuiDBNavigator* m_navigator;
};

using TNavClickEvent = std::function<void(TsuiDBNavigator* Sender, TNavigateBtn Button)>;

class TsuiDBNavigator : public TPanel, public IsuiStyled {
    VCL_CLASS(TsuiDBNavigator)
    explicit TsuiDBNavigator(TComponent* AOwner);
    ~TsuiDBNavigator() override;

    TDataSource* GetDataSource() const { return m_dataLink->GetDataSource(); }
    void SetDataSource(TDataSource* Value);
    TButtonSet GetVisibleButtons() const { return m_visibleButtons; }
    void SetVisibleButtons(TButtonSet Value);
    // The hints as the designer sees them (the defaults while designing an empty list).
    TStrings* GetHints();
    // A list equal to the defaults clears Hints; any other is copied into it.
    void SetHints(TStrings* Value);
    bool GetConfirmDelete() const { return m_confirmDelete; }
    void SetConfirmDelete(bool Value) { m_confirmDelete = Value; }
    TCursor GetCursor() const { return TControl::GetCursor(); }
    void SetCursor(TCursor Value);
    TsuiNavButton* Button(TNavigateBtn Index) const { return m_buttons[static_cast<size_t>(Index)]; }
    TNavigateBtn FocusedButton() const { return m_focusedButton; }

    TsuiUIStyle GetUIStyle() const override { return m_style.GetUIStyle(); }
    void SetUIStyle(TsuiUIStyle Value) override;
    TsuiFileTheme* GetFileTheme() const override { return m_style.GetFileTheme(); }
    void SetFileTheme(TsuiFileTheme* Value) override;

    // Runs the button's action on the data set (when a source is assigned and active), then OnClick.
    void BtnClick(TNavigateBtn Index);
    void ClickHandler(TObject* Sender);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;

    // Hides the control's OnClick: the navigator's tells which button.
    TNavClickEvent OnClick;
    TNavClickEvent BeforeAction;

protected:
    friend class TsuiNavDataLink;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Loaded() override;
    void DataChanged();
    void EditingChanged();
    void ActiveChanged();
    void CalcMinSize(int& W, int& H);
    void SetSize(int& W, int& H);

private:
    void InitButtons();
    void InitHints();
    void BtnMouseDown(TObject* Sender);
    int VisibleCount() const;
    bool IsVisibleButton(int Index) const { return m_visibleButtons.Contains(static_cast<TNavigateBtn>(Index)); }
    void MoveFocus(TNavigateBtn NewFocus);

    TsuiStyleLink m_style{this};
    std::unique_ptr<TsuiNavDataLink> m_dataLink;
    TButtonSet m_visibleButtons;
    std::unique_ptr<TStringList> m_hints;
    std::unique_ptr<TStringList> m_defHints;
    int m_buttonWidth = 0;
    TSize m_minBtnSize{20, 18};
    TNavigateBtn m_focusedButton = nbFirst;
    bool m_confirmDelete = true;
    std::array<TsuiNavButton*, NavigatorButtonCount> m_buttons{};
};
