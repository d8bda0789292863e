// TLabel: a caption drawn on its parent, sized to its text. TCustomEdit and TCustomMemo: the
// single- and multi-line edits, whose text, selection and keys live here while a toolkit widget
// inside the window (QtStdCtrls.cpp) shows them. The list box and the combo box, painted by this
// class library.
#pragma once

#include <algorithm>
#include <memory>

#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/ScrollBars.h"
#include "platform/vcl/StringList.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// ---- single-line edit --------------------------------------------------------------------------

// The toolkit side of a single-line edit: shows the text, selection and look the edit holds in
// the part of its window inside the frame, and reports what the mouse selects (SelectionChanged
// with byte offsets, anchor and caret).
class TEditView {
public:
    virtual ~TEditView() = default;
    virtual void SetBounds(const TRect& R) = 0;  // in the edit's window
    virtual void SetText(const String& Text) = 0;
    virtual void SetSelection(int Anchor, int Caret) = 0;
    virtual void SetAlignment(TAlignment Alignment) = 0;
    virtual void SetLook(const TFont& Font, TColor Background) = 0;
    virtual void SetPasswordChar(char PasswordChar) = 0;
    // Free space between the view's edges and the text (left, top, right, bottom).
    virtual void SetMargins(const TRect& Margins) = 0;
    virtual void RenderTo(TCanvas* Canvas, int X, int Y) = 0;
};
std::unique_ptr<TEditView> CreateEditView(TWinControl* Control,
                                          std::function<void(int Anchor, int Caret)> SelectionChanged);

// The next and previous character boundary of a UTF-8 text from byte offset Pos.
int NextCharPos(const String& Text, int Pos);
int PrevCharPos(const String& Text, int Pos);

// As the VCL's edit: keys go OnKeyDown, KeyPress (which may change or cancel the character),
// then the edit itself, then Change (OnChange). Change also follows every text set from code
// (WM_SETTEXT, then CM_TEXTCHANGED). Cut, copy, paste, clear and undo are the messages WM_CUT,
// WM_COPY, WM_PASTE, WM_CLEAR and WM_UNDO, so a descendant can catch them; EM_SETSEL,
// EM_GETSEL, EM_GETRECT, EM_SETRECT(NP) (text margins, in the client area inside BorderWidth),
// EM_GETMODIFY, EM_SETMODIFY, EM_LIMITTEXT and EM_SETREADONLY work as the system's. Offsets
// (SelStart, SelLength, MaxLength) count bytes of the UTF-8 text.
class TCustomEdit : public TWinControl {
    VCL_CLASS(TCustomEdit)
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    bool GetAutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool v) { m_autoSelect = v; }
    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v) { m_autoSize = v; }
    TFormBorderStyle GetBorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TEditCharCase GetCharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase v);
    bool GetHideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool v) { m_hideSelection = v; }
    int GetMaxLength() const { return m_maxLength; }
    void SetMaxLength(int v);
    char GetPasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(char v);
    bool GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    bool GetModified() const { return m_modified; }
    void SetModified(bool v) { m_modified = v; }
    bool GetCanUndo() const { return m_canUndo; }

    int GetSelStart() const;
    void SetSelStart(int v);
    int GetSelLength() const;
    void SetSelLength(int v);
    String GetSelText() const;
    // Replaces the selection (as typing would, within MaxLength), then Change.
    void SetSelText(const String& v);
    void SelectAll();
    void ClearSelection() { Perform(WM_CLEAR, 0, 0); }
    void CopyToClipboard() { Perform(WM_COPY, 0, 0); }
    void CutToClipboard() { Perform(WM_CUT, 0, 0); }
    void PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }
    void Undo() { Perform(WM_UNDO, 0, 0); }
    void Clear() { SetText(""); }

    // The formatting rectangle (EM_GETRECT).
    TRect GetEditRect();

    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;

protected:
    virtual void Change();
    void DoEnter() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void PaintNativeContent(TCanvas* Canvas) override;
    void BoundsChanged() override;
    // The edit's own handling of a key and a character that got past KeyDown and KeyPress.
    virtual void EditKeyDown(Word Key, TShiftState Shift);
    virtual void EditChar(char Key);
    // Replaces the selection by Text (cut to MaxLength) as the user's typing; true when the text
    // changed (then Modified is set and Change has run).
    virtual bool ReplaceSelection(const String& Text);
    // Moves the caret (extending the selection from the anchor when Extend is set).
    void MoveCaret(int Pos, bool Extend);
    int Anchor() const { return m_anchor; }
    int Caret() const { return m_caret; }
    // Sets the text as the edit itself changes it (no WM_SETTEXT), with the caret at Caret.
    void ChangeText(const String& Text, int Caret);
    // The part of the window the toolkit view covers.
    TRect ViewRect() const;

private:
    void PushText();
    void PushSelection();
    void PushLook();
    void PushMargins();
    void SetSelection(int AnchorPos, int CaretPos);
    void ViewSelected(int AnchorPos, int CaretPos);
    void DoCut();
    void DoCopy();
    void DoPaste();
    void DoClear();
    void DoUndo();
    void DoSetText(TMessage& Message);
    void PaintFrame(TCanvas* Canvas);
    String ApplyCharCase(const String& Text) const;

    std::unique_ptr<TEditView> m_view;
    bool m_autoSelect = true;
    bool m_autoSize = true;
    TFormBorderStyle m_borderStyle = bsSingle;
    TEditCharCase m_charCase = ecNormal;
    bool m_hideSelection = true;
    int m_maxLength = 0;
    char m_passwordChar = 0;
    bool m_readOnly = false;
    bool m_modified = false;
    int m_anchor = 0;
    int m_caret = 0;
    TRect m_editRect;
    bool m_hasEditRect = false;
    String m_undoText;
    bool m_canUndo = false;
};

class TEdit : public TCustomEdit {
    VCL_CLASS(TEdit)
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// ---- multi-line edit ---------------------------------------------------------------------------

// The toolkit side of a memo: shows the text, edits it with the keys the memo hands on, and
// reports its scroll bars.
class TMemoView {
public:
    virtual ~TMemoView() = default;
    virtual void SetBounds(const TRect& R) = 0;
    virtual void SetText(const String& Text) = 0;
    virtual void AppendLine(const String& Line) = 0;
    virtual String Text() const = 0;
    virtual void SetLook(const TFont& Font, TColor Background) = 0;
    virtual void SetScrollBars(TScrollStyle Bars) = 0;
    virtual void SetWordWrap(bool Wrap) = 0;
    virtual void SetReadOnly(bool ReadOnly) = 0;
    virtual void SetAlignment(TAlignment Alignment) = 0;
    // A key or a character the memo did not take itself, edited as the toolkit does.
    virtual void EditKey(Word Key, TShiftState Shift) = 0;
    virtual void EditChar(char Key) = 0;
    virtual void Cut() = 0;
    virtual void Copy() = 0;
    virtual void Paste() = 0;
    virtual void ClearSelection() = 0;
    virtual void Undo() = 0;
    virtual void SelectAll() = 0;
    // Puts the caret at the end and brings it into view.
    virtual void ShowEnd() = 0;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    virtual void SetSelection(int Start, int Length) = 0;
    // Bar is SB_HORZ or SB_VERT; positions in lines (vertical) or pixels (horizontal).
    virtual bool GetScrollInfo(int Bar, SCROLLINFO& Info) const = 0;
    virtual bool GetScrollBarState(int Bar, TWinControl::TScrollBarState& State) const = 0;
    virtual void ScrollTo(int Bar, int Pos) = 0;
    virtual void RenderTo(TCanvas* Canvas, int X, int Y) = 0;
};
std::unique_ptr<TMemoView> CreateMemoView(TWinControl* Control, std::function<void()> TextChanged);

class TCustomMemo;

// The memo's lines: kept here, shown by the memo's view.
class TMemoStrings : public TStrings {
    VCL_CLASS(TMemoStrings)
    explicit TMemoStrings(TCustomMemo* Memo) : m_memo(Memo) {}
    int Add(const String& S) override;
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    void SetText(const String& Text) override;

protected:
    int GetCount() const override { return static_cast<int>(m_lines.size()); }
    String Get(int Index) const override;
    void Put(int Index, const String& S) override;
    void SetUpdateState(bool Updating) override;

private:
    friend class TCustomMemo;
    void Changed();

    TCustomMemo* m_memo;
    std::vector<String> m_lines;
    bool m_dirty = false;
};

// As the VCL's memo: Lines holds the text (Text is the lines joined by "\n"); adding a line
// shows it at the end. Keys go OnKeyDown, KeyPress, then the memo's view edits; every change,
// typed or from code, runs Change (OnChange). WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, WM_UNDO and
// WM_SETTEXT are messages a descendant can catch; WM_VSCROLL and WM_HSCROLL scroll (the thumb
// position read whole with ScrollWParamPos, past 65,535 lines too), and the two scroll-bar
// virtuals report the memo's own bars.
class TCustomMemo : public TWinControl {
    VCL_CLASS(TCustomMemo)
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* GetLines() const { return m_lines; }
    void SetLines(TStrings* v) { m_lines->Assign(v); }
    String GetText() const override;
    TScrollStyle GetScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool GetWordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v);
    bool GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    bool GetWantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool v) { m_wantReturns = v; }
    bool GetWantTabs() const { return m_wantTabs; }
    void SetWantTabs(bool v) { m_wantTabs = v; }
    TAlignment GetAlignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    int GetMaxLength() const { return m_maxLength; }
    void SetMaxLength(int v) { m_maxLength = std::max(v, 0); }
    TFormBorderStyle GetBorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    bool GetModified() const { return m_modified; }
    void SetModified(bool v) { m_modified = v; }
    int GetSelStart() const;
    int GetSelLength() const;
    void SetSelStart(int v);
    void SetSelLength(int v);
    void SelectAll();
    void Clear() { SetText(""); }

    bool GetControlScrollInfo(int Bar, SCROLLINFO& Info) override;
    bool GetControlScrollBarState(int Bar, TScrollBarState& State) override;

    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;

protected:
    virtual void Change();
    void CreateWnd() override;
    void DestroyWnd() override;
    void PaintNativeContent(TCanvas* Canvas) override;
    void BoundsChanged() override;
    TRect ViewRect() const;

private:
    friend class TMemoStrings;
    // FirstAppended: the first of the lines just added at the end, or -1 for any other change.
    void LinesChanged(int FirstAppended);
    void ViewTextChanged();
    void PushAll();
    void DoScroll(int Bar, TMessage& Message);
    void PaintFrame(TCanvas* Canvas);

    TMemoStrings* m_lines;
    std::unique_ptr<TMemoView> m_view;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wordWrap = true;
    bool m_readOnly = false;
    bool m_wantReturns = true;
    bool m_wantTabs = false;
    TAlignment m_alignment = taLeftJustify;
    int m_maxLength = 0;
    TFormBorderStyle m_borderStyle = bsSingle;
    bool m_modified = false;
    bool m_pushing = false;
};

class TMemo : public TCustomMemo {
    VCL_CLASS(TMemo)
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// As the VCL's label: Caption drawn with DrawText ('&' marks an accelerator unless
// ShowAccelChar is off); AutoSize makes the bounds fit the text (a word-wrapped label keeps its
// width and grows down; a right-justified one keeps its right edge); a label that isn't
// Transparent fills its Color first; a disabled one draws the text in clBtnHighlight one pixel
// down-right, then in clBtnShadow. Its accelerator focuses FocusControl.
class TLabel : public TGraphicControl {
    VCL_CLASS(TLabel)
    explicit TLabel(TComponent* AOwner);
    ~TLabel() override;

    bool GetAutoSize() const { return m_autoSize; }
    void SetAutoSize(bool v);
    bool GetWordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v);
    bool GetTransparent() const { return m_transparent; }
    void SetTransparent(bool v);
    TAlignment GetAlignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    TTextLayout GetLayout() const { return m_layout; }
    void SetLayout(TTextLayout v);
    bool GetShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool v);
    TWinControl* GetFocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* v);

    // The DrawText flags Paint uses (alignment, word wrap, prefix handling).
    UINT DrawTextFlags() const;
    // Makes the bounds fit the text when AutoSize is on.
    void AdjustBounds();

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Draws (or with DT_CALCRECT measures) the caption into Rect with the label's font.
    void DoDrawText(TCanvas* ACanvas, TRect& Rect, UINT Flags);

private:
    bool m_autoSize = true;
    bool m_wordWrap = false;
    bool m_transparent = false;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_showAccelChar = true;
    TWinControl* m_focusControl = nullptr;
};

// ---- list boxes ---------------------------------------------------------------------------------

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
// The item state of a DRAWITEMSTRUCT as a set (the low word's ODS_* bits, one per member).
TOwnerDrawState OwnerDrawStateFromODS(UINT ItemState);
UINT OwnerDrawStateToODS(TOwnerDrawState State);

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// The surface behind a DRAWITEMSTRUCT's hDC, and the handle for a canvas.
inline TCanvas* CanvasFromHDC(HDC DC) { return reinterpret_cast<TCanvas*>(DC); }
inline HDC HDCFromCanvas(TCanvas* Canvas) { return reinterpret_cast<HDC>(Canvas); }
// Binds Target to the surface, origin and clip Source draws on (the VCL's Canvas.Handle := DC);
// SetTarget(nullptr) lets go again.
void AttachCanvas(TCanvas* Target, TCanvas* Source);

class TCustomListBox;

// The list box's Items: every change goes to the window as its LB_* message, so a control that
// watches the messages sees each one.
class TListBoxStrings : public TStrings {
    VCL_CLASS(TListBoxStrings)
    explicit TListBoxStrings(TCustomListBox* ListBox) : m_listBox(ListBox) {}
    int Add(const String& S) override;
    int AddObject(const String& S, TObject* AObject) override;
    void Insert(int Index, const String& S) override;
    void Delete(int Index) override;
    void Clear() override;
    int IndexOf(const String& S) const override;

protected:
    int GetCount() const override;
    String Get(int Index) const override;
    void Put(int Index, const String& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;

private:
    TCustomListBox* m_listBox;
};

// A list box painted by this class library, as the system's LISTBOX window behaves: the items
// live in the window (LB_* messages), the vertical bar appears when the items overflow, owner
// drawing asks the parent with WM_DRAWITEM, which the class library reflects as CN_DRAWITEM.
// A selection change made by a person (mouse or keys) fires OnClick; ItemIndex set from code
// does not.
class TCustomListBox : public TWinControl {
    VCL_CLASS(TCustomListBox)
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* GetItems() const { return m_strings; }
    void SetItems(TStrings* Value) { m_strings->Assign(Value); }
    int GetItemIndex() const;
    void SetItemIndex(int Value);
    int Count() const { return static_cast<int>(m_items.size()); }
    bool GetSelected(int Index) const;
    void SetSelected(int Index, bool Value);
    int GetSelCount() const;
    bool GetMultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool v) { m_multiSelect = v; Invalidate(); }
    bool GetSorted() const { return m_sorted; }
    void SetSorted(bool v);
    TListBoxStyle GetStyle() const { return m_style; }
    void SetStyle(TListBoxStyle v);
    int GetItemHeight() const;
    void SetItemHeight(int v);
    int GetTopIndex() const { return m_topIndex; }
    void SetTopIndex(int v);
    int GetColumns() const { return m_columns; }
    void SetColumns(int v) { m_columns = v; }
    bool GetIntegralHeight() const { return m_integralHeight; }
    void SetIntegralHeight(bool v) { m_integralHeight = v; }
    TBorderStyle GetBorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    void Clear() { m_strings->Clear(); }
    // The item under a client point, or -1 (with Existing false: the count for a point below the last).
    int ItemAtPos(TPoint Pos, bool Existing) const;
    TRect ItemRect(int Index) const;
    // The rows that fit into the items area.
    int VisibleRows() const;

    bool GetControlScrollInfo(int Bar, SCROLLINFO& Info) override;
    bool GetControlScrollBarState(int Bar, TScrollBarState& State) override;

    // The canvas items are drawn on: bound to the painted surface while the list paints.
    TCanvas* GetCanvas() const { return m_canvas; }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void Dispatch(TMessage& Message) override;

protected:
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    virtual void Paint();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The frame and inner inset: what lies between the window's edge and its items and bar.
    virtual int FrameInset() const;
    // Where the items are drawn (client less the frame and the bar when it shows).
    TRect ItemsArea() const;
    bool VScrollVisible() const;
    TRect VScrollRect() const;
    // Tells the parent about a selection a person made (LBN_SELCHANGE, reflected as OnClick).
    void NotifySelChange();

private:
    struct TItem {
        String text;
        std::uintptr_t data = 0;
        bool selected = false;
    };
    friend class TListBoxStrings;
    LRESULT WindowMessage(TMessage& Message, bool& Handled);
    int InsertItem(int Index, const String& S);
    void DeleteItem(int Index);
    void DrawOneItem(TCanvas* Onto, int Index, const TRect& Rect, UINT ItemState);
    void CNDrawItem(TMessage& Message);
    void MakeVisible(int Index);
    void MoveSelection(int Index);
    void ScrollBy(int Rows);
    int RowHeight(int Index) const;

    TListBoxStrings* m_strings;
    TCanvas* m_canvas;
    std::vector<TItem> m_items;
    int m_itemIndex = -1;
    int m_topIndex = 0;
    int m_itemHeight = 0;  // 0: the font's
    bool m_multiSelect = false;
    bool m_sorted = false;
    TListBoxStyle m_style = lbStandard;
    int m_columns = 0;
    bool m_integralHeight = false;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_updating = false;
    bool m_tracking = false;
    TOwnScrollTracker m_scroll;
};

class TListBox : public TCustomListBox {
    VCL_CLASS(TListBox)
    using TCustomListBox::TCustomListBox;
};

// ---- combo boxes --------------------------------------------------------------------------------

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox;

// The popup window the dropped list lives in (DropDown.h).
class TDropDownWindow;

// A combo box painted by this class library: the face with its item and drop-down button, and
// while it is dropped a list box of ours in a frameless window under it. Owner-drawn styles ask
// the parent with WM_DRAWITEM for the face and the list items (reflected as CN_DRAWITEM).
// OnChange fires only for a person's action (a list pick, keys, typing), never for ItemIndex or
// Text set from code.
class TCustomComboBox : public TWinControl {
    VCL_CLASS(TCustomComboBox)
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings* GetItems() const { return m_items; }
    void SetItems(TStrings* Value) { m_items->Assign(Value); }
    int GetItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int Value);
    TComboBoxStyle GetStyle() const { return m_style; }
    virtual void SetStyle(TComboBoxStyle Value);
    int GetItemHeight() const;
    void SetItemHeight(int Value);
    int GetDropDownCount() const { return m_dropDownCount; }
    void SetDropDownCount(int Value) { m_dropDownCount = std::max(1, Value); }
    bool GetSorted() const;
    void SetSorted(bool Value);
    TEditCharCase GetCharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase Value) { m_charCase = Value; UpdateEdit(); }
    int GetMaxLength() const { return m_maxLength; }
    void SetMaxLength(int Value) { m_maxLength = Value; UpdateEdit(); }
    bool GetAutoComplete() const { return m_autoComplete; }
    void SetAutoComplete(bool Value) { m_autoComplete = Value; }
    bool GetAutoDropDown() const { return m_autoDropDown; }
    void SetAutoDropDown(bool Value) { m_autoDropDown = Value; }
    bool GetDroppedDown() const;
    void SetDroppedDown(bool Value);
    void Clear();
    // Where the face shows the item and where the drop-down button is (client coordinates).
    TRect ItemRect() const;
    TRect ButtonRect() const;
    // The dropped list and the window it lives in, or nullptr while the list is closed.
    TCustomListBox* DropDownList() const;
    TWinControl* DropDownWindow() const;
    TCanvas* GetCanvas() const { return m_canvas; }
    // The edit csDropDown and csSimple type into (nullptr for the list styles).
    TCustomEdit* EditControl() const { return m_edit; }
    void SetFocus() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

    void Dispatch(TMessage& Message) override;

    // The dropped list's pick (a person chose Index) and its dismissal.
    void ListPicked(int Index);
    void ListDismissed();

protected:
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(int Index, int& Height);
    virtual void Paint();
    // Paints the face's item (the selected item, or the text) through owner drawing or plainly.
    void PaintFaceItem(TCanvas* Canvas);
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoExit() override;
    // The face and the list items are drawn through DrawItem (the owner-draw styles).
    virtual bool IsOwnerDraw() const { return m_style == csOwnerDrawFixed || m_style == csOwnerDrawVariable; }
    // A person moved the selection to Index: the text follows, then Click and Select.
    void SelectByPerson(int Index);
    void DrawFaceItem(TCanvas* Onto, int Index, const TRect& Rect, UINT ItemState);

private:
    friend class TComboBoxStrings;
    void CNDrawItem(TMessage& Message);
    void ItemsChanged(TObject* Sender);
    // The items cleared, or item Index deleted: the selection follows as the system's does.
    void ItemsCleared();
    void ItemDeleted(int Index);
    void CloseList();
    // Creates, places or removes the edit as the style asks.
    void UpdateEdit();
    void EditChanged();

    TCustomEdit* m_edit = nullptr;
    bool m_syncingText = false;

    TStringList* m_items;
    TCanvas* m_canvas;
    TDropDownWindow* m_dropDown = nullptr;
    class TListHost;
    TListHost* m_listHost;
    int m_itemIndex = -1;
    TComboBoxStyle m_style = csDropDown;
    int m_itemHeight = 0;  // 0: the font's
    int m_dropDownCount = 8;
    TEditCharCase m_charCase = ecNormal;
    int m_maxLength = 0;
    bool m_autoComplete = true;
    bool m_autoDropDown = false;
    bool m_closing = false;
};

class TComboBox : public TCustomComboBox {
    VCL_CLASS(TComboBox)
    using TCustomComboBox::TCustomComboBox;
};
