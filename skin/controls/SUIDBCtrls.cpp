#include "skin/controls/SUIDBCtrls.h"

#include <algorithm>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win32/Windows.h"
#include "skin/controls/SUIControlLook.h"
#include "skin/controls/SUIGrid.h"
#include "skin/core/Suipublic.h"

namespace {

constexpr char EscapeKey = 0x1B;

bool Loading(const TComponent* C) { return C->GetComponentState().Contains(csLoading); }
bool Designing(const TComponent* C) { return C->GetComponentState().Contains(csDesigning); }

// The navigator's hints and its question, as the unit's string resources hold them.
const char* const DefaultNavigatorHints[NavigatorButtonCount] = {
    "第一条记录", "前一条记录", "下一条记录", "最后一条记录", "插入记录",
    "删除记录", "修改记录", "提交修改", "取消修改", "刷新数据"};
constexpr const char* DeleteRecordQuestion = "删除记录？";

constexpr int NavButtonRepeatFirst_ms = 400;
constexpr int NavButtonRepeatNext_ms = 100;

}  // namespace

// ---- TsuiDBEdit --------------------------------------------------------------------------------

TsuiDBEdit::TsuiDBEdit(TComponent* AOwner) : TDBEdit(AOwner) {
    ControlStyle() << csOpaque;
    SetBorderStyle(bsNone);
    SetBorderWidth(2);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiDBEdit::~TsuiDBEdit() { Destroying(); }

void TsuiDBEdit::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_borderColor = SUIControlColors(m_style.Values()).BorderColor;
    Invalidate();
}

void TsuiDBEdit::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiDBEdit::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    Invalidate();
}

void TsuiDBEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TDBEdit::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiDBEdit::Dispatch(TMessage& Message) {
    TDBEdit::Dispatch(Message);
    SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
}

// ---- TsuiDBImage -------------------------------------------------------------------------------

TsuiDBImage::TsuiDBImage(TComponent* AOwner) : TDBImage(AOwner) {
    SetBorderWidth(2);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiDBImage::~TsuiDBImage() { Destroying(); }

void TsuiDBImage::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_borderColor = SUIControlColors(m_style.Values()).BorderColor;
    Invalidate();
}

void TsuiDBImage::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiDBImage::SetBorderColor(TColor Value) {
    m_borderColor = Value;
    Invalidate();
}

void TsuiDBImage::Notification(TComponent* AComponent, TOperation Operation) {
    TDBImage::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiDBImage::Dispatch(TMessage& Message) {
    TDBImage::Dispatch(Message);
    SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
}

// ---- data-aware lists ----------------------------------------------------------------------------

template <class Base, TsuiScrollHostKind Kind>
TsuiDBListSkin<Base, Kind>::TsuiDBListSkin(TComponent* AOwner) : Base(AOwner) {
    this->ControlStyle().Include(csOpaque);
    this->SetBorderStyle(bsNone);
    this->SetBorderWidth(2);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

template <class Base, TsuiScrollHostKind Kind>
TsuiDBListSkin<Base, Kind>::~TsuiDBListSkin() {
    this->Destroying();
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiDBListSkin<Base, Kind>::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    m_borderColor = SUIControlColors(m_style.Values()).BorderColor;
    m_bars.SetBarsUIStyle(m_style.Values().Effective());
    this->Invalidate();
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiDBListSkin<Base, Kind>::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    m_bars.SetBarsFileTheme(Value);
    SetUIStyle(GetUIStyle());
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiDBListSkin<Base, Kind>::Notification(TComponent* AComponent, TOperation Operation) {
    Base::Notification(AComponent, Operation);
    m_bars.Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

template <class Base, TsuiScrollHostKind Kind>
void TsuiDBListSkin<Base, Kind>::Dispatch(TMessage& Message) {
    Base::Dispatch(Message);
    SUIDrawBorderAfterPaint(this, Message, m_borderColor, true);
    m_bars.AfterMessage(Message);
}

template class TsuiDBListSkin<TDBListBox, TsuiScrollHostKind::DBListBox>;
template class TsuiDBListSkin<TDBLookupListBox, TsuiScrollHostKind::DBLookupListBox>;

// ---- combo boxes -------------------------------------------------------------------------------

TsuiDBComboBox::TsuiDBComboBox(TComponent* AOwner) : TsuiComboSkin<TDBComboBox>(AOwner) {
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TRect SUIDBLookupComboButtonRect(int ClientWidth, int ClientHeight, int ScrollBarWidth) {
    return TRect{ClientWidth - ScrollBarWidth, 0, ClientWidth, ClientHeight};
}

TPoint SUIDBLookupComboArrowOrigin(const TRect& Button) {
    return TPoint{(Button.Right - Button.Left) / 2 + Button.Left - 3, (Button.Bottom - Button.Top) / 2 - 2};
}

TsuiDBLookupComboBox::TsuiDBLookupComboBox(TComponent* AOwner) : TDBLookupComboBox(AOwner) {
    ControlStyle() << csOpaque;
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiDBLookupComboBox::~TsuiDBLookupComboBox() { Destroying(); }

void TsuiDBLookupComboBox::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    TsuiControlColors colors = SUIControlColors(m_style.Values());
    m_arrowColor = colors.ArrowColor;
    m_borderColor = colors.BorderColor;
    m_buttonColor = colors.ButtonColor;
    // The look's button picture, loaded once per look; a look without one draws the plain face.
    m_buttonPicture.reset();
    if (Value == MacOS || Value == WinXP) {
        auto picture = std::make_unique<TBitmap>();
        try {
            picture->LoadFromResourceName(0, Value == MacOS ? "MACOS_COMBOBOX_BUTTON" : "WINXP_COMBOBOX_BUTTON");
            m_buttonPicture = std::move(picture);
        } catch (const std::exception&) {
        }
    }
    Invalidate();
}

void TsuiDBLookupComboBox::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiDBLookupComboBox::SetEnabled(bool Value) {
    TDBLookupComboBox::SetEnabled(Value);
    Invalidate();
}

void TsuiDBLookupComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TDBLookupComboBox::Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiDBLookupComboBox::Paint() {
    TDBLookupComboBox::Paint();
    TCanvas* c = GetCanvas();
    DrawControlBorder(this, c, m_borderColor, GetColor(), true);
    const TRect r = SUIDBLookupComboButtonRect(GetClientWidth(), GetClientHeight(), GetSystemMetrics(SM_CXVSCROLL));
    const bool picture = m_buttonPicture != nullptr && !m_buttonPicture->GetEmpty();
    c->GetBrush()->SetStyle(bsSolid);
    if (picture) {
        c->StretchDraw(r, m_buttonPicture.get());
    } else {
        c->GetBrush()->SetColor(m_buttonColor);
        c->FillRect(r);
        c->GetPen()->SetColor(m_borderColor);
        c->MoveTo(r.Left, r.Top - 1);
        c->LineTo(r.Left, r.Bottom + 1);
    }
    // WinXP's picture carries its own arrow.
    if (!(picture && GetUIStyle() == WinXP)) {
        const TPoint at = SUIDBLookupComboArrowOrigin(r);
        DrawArrow(c, at.x, at.y);
    }
}

void TsuiDBLookupComboBox::DrawArrow(TCanvas* Canvas, int X, int Y) {
    SUIDrawComboArrow(Canvas, X, Y, GetEnabled(), m_arrowColor);
}

// ---- TsuiDBGrid --------------------------------------------------------------------------------

TsuiDBGrid::TsuiDBGrid(TComponent* AOwner) : TDBGrid(AOwner) {
    ControlStyle() << csOpaque;
    SetBorderStyle(bsNone);
    SetBorderWidth(1);
    SetUIStyle(GetSUIFormStyle(AOwner));
    m_focusedColor = clGreen;
    m_selectedColor = clYellow;
}

TsuiDBGrid::~TsuiDBGrid() { Destroying(); }

void TsuiDBGrid::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    TsuiControlColors colors = SUIControlColors(m_style.Values());
    m_borderColor = colors.BorderColor;
    SetFixedColor(colors.FixedColor);
    SetColor(colors.Color);
    SetTitleFontColor(colors.FixedFontColor);
    SetFontColor(colors.FontColor);
    m_bars.SetBarsUIStyle(m_style.Values().Effective());
    Invalidate();
}

void TsuiDBGrid::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiDBGrid::SetFontColor(TColor Value) {
    TNotifyEvent change = GetFont()->OnChange;
    GetFont()->OnChange = nullptr;
    GetFont()->SetColor(Value);
    GetFont()->OnChange = change;
}

void TsuiDBGrid::SetTitleFontColor(TColor Value) {
    TNotifyEvent change = GetTitleFont()->OnChange;
    GetTitleFont()->OnChange = nullptr;
    GetTitleFont()->SetColor(Value);
    GetTitleFont()->OnChange = change;
}

void TsuiDBGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TDBGrid::Notification(AComponent, Operation);
    m_bars.Notification(AComponent, Operation);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiDBGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (ACol == -1 || ARow == -1) return;
    if (GetDefaultDrawing() && !AState.Contains(gdFixed)) {
        TCanvas* c = GetCanvas();
        c->GetBrush()->SetStyle(bsSolid);
        c->GetBrush()->SetColor(SUIGridCellColor(AState, m_selectedColor, m_focusedColor, GetColor()));
        c->FillRect(ARect);
        // The selection's own colours are light: the grid's font colour stays readable on them.
        c->GetFont()->SetColor(GetFont()->GetColor());
    }
    TDBGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TsuiDBGrid::Paint() {
    TDBGrid::Paint();
    DrawControlBorder(this, GetCanvas(), m_borderColor, GetColor(), true);
}

void TsuiDBGrid::Dispatch(TMessage& Message) {
    // The whole window is painted by Paint; there is no separate background.
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TDBGrid::Dispatch(Message);
    m_bars.AfterMessage(Message);
}

// ---- TsuiDBCheckBox ----------------------------------------------------------------------------

bool SUIDBValueMatch(const String& List, const String& Text) {
    size_t start = 0;
    while (start <= List.size()) {
        size_t end = List.find(';', start);
        if (end == String::npos) end = List.size();
        if (SameText(Trim(List.substr(start, end - start)), Text)) return true;
        start = end + 1;
    }
    return false;
}

String SUIDBFirstValue(const String& List) {
    const size_t end = List.find(';');
    return end == String::npos ? List : List.substr(0, end);
}

TsuiDBCheckBox::TsuiDBCheckBox(TComponent* AOwner) : TsuiCheckBox(AOwner) {
    ControlStyle() << csReplicatable;
    SetState(cbUnchecked);
    DataLink()->OnDataChange = [this](TObject*) { DataChange(); };
    DataLink()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TsuiDBCheckBox::~TsuiDBCheckBox() { Destroying(); }

void TsuiDBCheckBox::Notification(TComponent* AComponent, TOperation Operation) {
    TsuiCheckBox::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
}

void TsuiDBCheckBox::SetValueChecked(const String& Value) {
    m_valueChecked = Value;
    DataChange();
}

void TsuiDBCheckBox::SetValueUnchecked(const String& Value) {
    m_valueUnchecked = Value;
    DataChange();
}

TCheckBoxState TsuiDBCheckBox::GetFieldState() const {
    TField* field = GetField();
    if (field == nullptr || field->IsNull()) return cbUnchecked;
    if (field->GetDataType() == ftBoolean) return field->GetAsBoolean() ? cbChecked : cbUnchecked;
    return SUIDBValueMatch(m_valueChecked, field->GetText()) ? cbChecked : cbUnchecked;
}

void TsuiDBCheckBox::DataChange() { SetState(GetFieldState()); }

void TsuiDBCheckBox::UpdateData() {
    TField* field = GetField();
    if (field == nullptr) return;
    if (field->GetDataType() == ftBoolean)
        field->SetAsBoolean(GetChecked());
    else
        field->SetText(SUIDBFirstValue(GetChecked() ? m_valueChecked : m_valueUnchecked));
}

void TsuiDBCheckBox::DoClick() {
    // Toggle: the box flips only when the link can put the field into edit state.
    if (!DataLink()->Edit()) return;
    TsuiCheckBox::DoClick();
    DataLink()->Modified();
}

void TsuiDBCheckBox::KeyPress(char& Key) {
    TsuiCheckBox::KeyPress(Key);
    if (Key == '\b' || Key == ' ') {
        DataLink()->Edit();
    } else if (Key == EscapeKey) {
        DataLink()->Reset();
        Key = 0;
    }
}

void TsuiDBCheckBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_CREATE:
        case WM_WINDOWPOSCHANGED:
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED: m_paintControl.DestroyHandle(); break;
        case WM_PAINT:
            if (Message.WParam == 0 || !ControlState().Contains(TControlStateE::csPaintCopy)) break;
            m_paintControl.Perform(TsuiDBCheckBoxPaintControl::BM_SETCHECK_, GetFieldState(), 0);
            m_paintControl.Perform(WM_PAINT, Message.WParam, 0);
            return;
        default: break;
    }
    if (!m_binding.Dispatch(Message, this)) TsuiCheckBox::Dispatch(Message);
}

// ---- the data check box's paint control ------------------------------------------------------------

namespace {

// The standard 13 x 13 square at the left, centred in the height.
TRect CheckBoxSquare(int Height) { return Bounds(0, (Height - 13) / 2, 13, 13); }

}  // namespace

LRESULT TsuiDBCheckBoxPaintControl::Perform(UINT Msg, WPARAM WParam, LPARAM) {
    if (Msg == BM_SETCHECK_) {
        m_state = static_cast<TCheckBoxState>(WParam);
    } else if (Msg == WM_PAINT && WParam != 0) {
        if (!HandleAllocated()) CreateHandle();
        PaintOn(reinterpret_cast<TCanvas*>(WParam));
    }
    return 0;
}

void TsuiDBCheckBoxPaintControl::CreateHandle() {
    // The window of the control's present size, caption and font: its face without the mark.
    m_window = std::make_unique<TBitmap>(std::max(m_owner->GetWidth(), 1), std::max(m_owner->GetHeight(), 1), pf24bit);
    TCanvas* c = m_window->GetCanvas();
    const int h = m_window->GetHeight();
    c->GetBrush()->SetColor(m_owner->GetColor());
    c->FillRect(TRect(0, 0, m_window->GetWidth(), h));
    TRect box = CheckBoxSquare(h);
    Frame3D(c, box, clBtnShadow, clBtnHighlight, 1);  // sunken, two frames deep
    Frame3D(c, box, cl3DDkShadow, clBtnFace, 1);
    c->GetBrush()->SetColor(clWindow);
    c->FillRect(box);
    c->GetFont()->Assign(m_owner->GetFont());
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(17, (h - c->TextHeight("Wg")) / 2, m_owner->GetCaption());
}

void TsuiDBCheckBoxPaintControl::PaintOn(TCanvas* Canvas) const {
    Canvas->Draw(0, 0, m_window.get());
    if (m_state == cbUnchecked) return;
    const TRect box = CheckBoxSquare(m_window->GetHeight());
    if (m_state == cbGrayed) {
        TRect inside = box;
        InflateRect(inside, -2, -2);
        Canvas->GetBrush()->SetColor(clBtnFace);
        Canvas->FillRect(inside);
    }
    // The standard mark: a 7 x 7 tick, three pixels thick.
    Canvas->GetPen()->SetColor(m_state == cbGrayed ? clBtnShadow : clWindowText);
    for (int d = 0; d < 3; ++d) {
        Canvas->MoveTo(box.Left + 3, box.Top + 5 + d);
        Canvas->LineTo(box.Left + 5, box.Top + 7 + d);
        Canvas->LineTo(box.Left + 10, box.Top + 2 + d);
    }
}

// ---- TsuiDBRadioGroup --------------------------------------------------------------------------

TsuiDBRadioGroup::TsuiDBRadioGroup(TComponent* AOwner) : TsuiRadioGroup(AOwner), m_values(std::make_unique<TStringList>()) {
    DataLink()->OnDataChange = [this](TObject*) { DataChange(); };
    DataLink()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TsuiDBRadioGroup::~TsuiDBRadioGroup() { Destroying(); }

void TsuiDBRadioGroup::Notification(TComponent* AComponent, TOperation Operation) {
    TsuiRadioGroup::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
}

String TsuiDBRadioGroup::GetButtonValue(int Index) const {
    if (Index >= 0 && Index < m_values->Count() && !m_values->Strings(Index).empty()) return m_values->Strings(Index);
    if (Index >= 0 && Index < GetItems()->Count()) return GetItems()->Strings(Index);
    return String();
}

void TsuiDBRadioGroup::SetValue(const String& Value) {
    if (Value == m_value) return;
    const bool old = m_inSetValue;
    m_inSetValue = true;
    try {
        int found = -1;
        for (int i = 0; i < GetItems()->Count() && found < 0; ++i)
            if (GetButtonValue(i) == Value) found = i;
        SetItemIndex(found);
    } catch (...) {
        m_inSetValue = old;
        throw;
    }
    m_inSetValue = old;
    m_value = Value;
    Change();
}

void TsuiDBRadioGroup::Change() {
    if (OnChange) OnChange(this);
}

void TsuiDBRadioGroup::DataChange() {
    TField* field = GetField();
    SetValue(field != nullptr ? field->GetText() : String());
}

void TsuiDBRadioGroup::UpdateData() {
    if (TField* field = GetField()) field->SetText(m_value);
}

void TsuiDBRadioGroup::NewClick() {
    if (m_inSetValue) return;
    const int index = GetItemIndex();
    if (index >= 0) SetValue(GetButtonValue(index));
    if (DataLink()->GetEditing()) DataLink()->Modified();
}

bool TsuiDBRadioGroup::CanModify() { return DataLink()->Edit(); }

void TsuiDBRadioGroup::SetItems(TStrings* Value) {
    TsuiRadioGroup::SetItems(Value);
    DataChange();
}

void TsuiDBRadioGroup::SetValues(TStrings* Value) {
    m_values->Assign(Value);
    DataChange();
}

void TsuiDBRadioGroup::KeyPress(char& Key) {
    TsuiRadioGroup::KeyPress(Key);
    if (Key == '\b' || Key == ' ') {
        DataLink()->Edit();
    } else if (Key == EscapeKey) {
        DataLink()->Reset();
        Key = 0;
    }
}

void TsuiDBRadioGroup::Dispatch(TMessage& Message) {
    if (!m_binding.Dispatch(Message, this)) TsuiRadioGroup::Dispatch(Message);
}

// ---- navigator layout --------------------------------------------------------------------------

TButtonSet AllNavigateButtons() {
    TButtonSet all;
    for (int i = 0; i < NavigatorButtonCount; ++i) all << static_cast<TNavigateBtn>(i);
    return all;
}

void SUINavigatorCalcMinSize(int& Width, int& Height, int Count, bool AlignNone) {
    Count = std::max(Count, 1);
    Width = std::max(Width, Count * 20);
    Height = std::max(Height, 18);
    if (AlignNone) Width = (Width / Count) * Count;
}

TsuiNavigatorLayout SUINavigatorLayout(int Width, int Height, int Count, bool AlignNone) {
    TsuiNavigatorLayout l;
    Count = std::max(Count, 1);
    SUINavigatorCalcMinSize(Width, Height, Count, AlignNone);
    l.ButtonWidth = Width / Count;
    const int total = Count * l.ButtonWidth;
    if (AlignNone) Width = total;
    l.Width = Width;
    l.Height = Height;
    int term = Count / 2;
    int x = 0;
    for (int i = 0; i < Count; ++i) {
        int extra = 0;
        term -= Width - total;
        if (term < 0) {
            term += Count;
            extra = 1;
        }
        l.Lefts.push_back(x);
        l.Widths.push_back(l.ButtonWidth + extra);
        x += l.ButtonWidth + extra;
    }
    return l;
}

// ---- TsuiNavButton -----------------------------------------------------------------------------

TsuiNavButton::TsuiNavButton(TComponent* AOwner) : TsuiButton(AOwner) { SetTabStop(false); }

TsuiNavButton::~TsuiNavButton() {
    Destroying();
    m_timer.reset();
}

TsuiDBNavigator* TsuiNavButton::Navigator() const { return dynamic_cast<TsuiDBNavigator*>(GetParent()); }

void TsuiNavButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TsuiButton::MouseDown(Button, Shift, X, Y);
    if (!GetRepeats()) return;
    if (m_timer == nullptr) m_timer = std::make_unique<TTimer>(nullptr);
    m_timer->OnTimer = [this](TObject*) { TimerExpired(); };
    m_timer->SetInterval(NavButtonRepeatFirst_ms);
    m_timer->SetEnabled(true);
}

void TsuiNavButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TsuiButton::MouseUp(Button, Shift, X, Y);
    if (m_timer != nullptr) m_timer->SetEnabled(false);
}

void TsuiNavButton::TimerExpired() {
    if (m_timer == nullptr) return;
    m_timer->SetInterval(NavButtonRepeatNext_ms);
    TsuiDBNavigator* navigator = Navigator();
    if (navigator == nullptr || !IsPressed() || !GetMouseCapture()) return;
    try {
        navigator->ClickHandler(this);
    } catch (...) {
        m_timer->SetEnabled(false);
        throw;
    }
}

void TsuiNavButton::Paint() {
    TsuiButton::Paint();
    TsuiDBNavigator* navigator = Navigator();
    if (navigator == nullptr || !navigator->Focused() || navigator->FocusedButton() != m_index) return;
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetFont()->SetColor(clBtnShadow);
    TRect r = GetClientRect();
    InflateRect(r, -3, -3);
    if (IsPressed()) OffsetRect(r, 1, 1);
    c->DrawFocusRect(r);
}

// ---- TsuiNavDataLink ---------------------------------------------------------------------------

TsuiNavDataLink::TsuiNavDataLink(TsuiDBNavigator* Navigator) : m_navigator(Navigator) { SetVisualControl(true); }

TsuiNavDataLink::~TsuiNavDataLink() {
    m_navigator = nullptr;
    SetDataSource(nullptr);
}

void TsuiNavDataLink::EditingChanged() {
    if (m_navigator != nullptr) m_navigator->EditingChanged();
}

void TsuiNavDataLink::DataSetChanged() {
    if (m_navigator != nullptr) m_navigator->DataChanged();
}

void TsuiNavDataLink::ActiveChanged() {
    if (m_navigator != nullptr) m_navigator->ActiveChanged();
}

// ---- TsuiDBNavigator ---------------------------------------------------------------------------

TsuiDBNavigator::TsuiDBNavigator(TComponent* AOwner)
    : TPanel(AOwner),
      m_dataLink(std::make_unique<TsuiNavDataLink>(this)),
      m_visibleButtons(AllNavigateButtons()),
      m_hints(std::make_unique<TStringList>()) {
    ControlStyle() >> csAcceptsControls >> csSetCaption;
    ControlStyle() << csOpaque;
    m_hints->OnChange = [this](TObject*) { InitHints(); };
    InitButtons();
    InitHints();
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetBounds(GetLeft(), GetTop(), 250, 30);
    m_buttonWidth = 0;
    m_focusedButton = nbFirst;
    m_confirmDelete = true;
    SetFullRepaint(false);
    SetUIStyle(GetSUIFormStyle(AOwner));
}

TsuiDBNavigator::~TsuiDBNavigator() {
    Destroying();
    m_dataLink.reset();
    m_hints->OnChange = nullptr;
}

void TsuiDBNavigator::InitButtons() {
    TBitmap strip;
    // A missing resource raises the loader's error from the constructor.
    strip.LoadFromResourceName(0, "DBNAV_BUTTON");
    int x = 0;
    for (int i = 0; i < NavigatorButtonCount; ++i) {
        auto* b = new TsuiNavButton(this);
        b->SetSpacing(-1);
        b->SetIndex(static_cast<TNavigateBtn>(i));
        b->SetVisible(IsVisibleButton(i));
        b->SetEnabled(true);
        b->SetBounds(x, 0, m_minBtnSize.cx, m_minBtnSize.cy);
        x += m_minBtnSize.cx;
        TBitmap glyph;
        SpitBitmap(&strip, &glyph, NavigatorButtonCount, i + 1);
        b->SetGlyph(&glyph);
        b->OnClick = [this](TObject* s) { ClickHandler(s); };
        b->OnMouseDown = [this](TObject* s, TMouseButton, TShiftState, int, int) { BtnMouseDown(s); };
        b->SetParent(this);
        m_buttons[static_cast<size_t>(i)] = b;
    }
    m_buttons[static_cast<size_t>(nbPrior)]->SetRepeats(true);
    m_buttons[static_cast<size_t>(nbNext)]->SetRepeats(true);
}

void TsuiDBNavigator::InitHints() {
    if (m_defHints == nullptr) {
        m_defHints = std::make_unique<TStringList>();
        for (const char* hint : DefaultNavigatorHints) m_defHints->Add(hint);
    }
    for (int i = 0; i < NavigatorButtonCount; ++i)
        if (m_buttons[static_cast<size_t>(i)] != nullptr) m_buttons[static_cast<size_t>(i)]->SetHint(m_defHints->Strings(i));
    for (int i = 0; i < std::min(m_hints->Count(), NavigatorButtonCount); ++i)
        if (!m_hints->Strings(i).empty() && m_buttons[static_cast<size_t>(i)] != nullptr)
            m_buttons[static_cast<size_t>(i)]->SetHint(m_hints->Strings(i));
}

TStrings* TsuiDBNavigator::GetHints() {
    const auto state = GetComponentState();
    if (state.Contains(csDesigning) && !state.Contains(csReading) && !state.Contains(csWriting) && m_hints->Count() == 0)
        return m_defHints.get();
    return m_hints.get();
}

void TsuiDBNavigator::SetHints(TStrings* Value) {
    if (Value != nullptr && m_defHints != nullptr && Value->GetText() == m_defHints->GetText())
        m_hints->Clear();
    else
        m_hints->Assign(Value);
}

void TsuiDBNavigator::SetCursor(TCursor Value) {
    TControl::SetCursor(Value);
    for (TsuiNavButton* b : m_buttons)
        if (b != nullptr) b->SetCursor(Value);
}

int TsuiDBNavigator::VisibleCount() const {
    int count = 0;
    for (int i = 0; i < NavigatorButtonCount; ++i)
        if (IsVisibleButton(i)) ++count;
    return count;
}

void TsuiDBNavigator::SetVisibleButtons(TButtonSet Value) {
    m_visibleButtons = Value;
    for (int i = 0; i < NavigatorButtonCount; ++i) m_buttons[static_cast<size_t>(i)]->SetVisible(IsVisibleButton(i));
    int w = GetWidth(), h = GetHeight();
    SetSize(w, h);
    if (w != GetWidth() || h != GetHeight()) TPanel::SetBounds(GetLeft(), GetTop(), w, h);
    Invalidate();
}

void TsuiDBNavigator::CalcMinSize(int& W, int& H) {
    if (Loading(this) || m_buttons[0] == nullptr) return;
    SUINavigatorCalcMinSize(W, H, VisibleCount(), GetAlign() == alNone);
}

void TsuiDBNavigator::SetSize(int& W, int& H) {
    if (Loading(this) || m_buttons[0] == nullptr) return;
    TsuiNavigatorLayout l = SUINavigatorLayout(W, H, VisibleCount(), GetAlign() == alNone);
    W = l.Width;
    H = l.Height;
    m_buttonWidth = l.ButtonWidth;
    size_t next = 0;
    for (int i = 0; i < NavigatorButtonCount; ++i) {
        TsuiNavButton* b = m_buttons[static_cast<size_t>(i)];
        if (IsVisibleButton(i) && next < l.Lefts.size()) {
            b->SetBounds(l.Lefts[next], 0, l.Widths[next], H);
            ++next;
        } else {
            b->SetBounds(W + 1, 0, m_buttonWidth, H);
        }
    }
}

void TsuiDBNavigator::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    int w = AWidth, h = AHeight;
    SetSize(w, h);
    TPanel::SetBounds(ALeft, ATop, w, h);
}

void TsuiDBNavigator::Loaded() {
    TPanel::Loaded();
    int w = GetWidth(), h = GetHeight();
    SetSize(w, h);
    if (w != GetWidth() || h != GetHeight()) TPanel::SetBounds(GetLeft(), GetTop(), w, h);
    InitHints();
    ActiveChanged();
}

void TsuiDBNavigator::SetUIStyle(TsuiUIStyle Value) {
    m_style.StoreUIStyle(Value);
    for (TsuiNavButton* b : m_buttons) {
        if (b == nullptr) continue;
        b->SetFileTheme(m_style.GetFileTheme());
        b->SetUIStyle(Value);
    }
    Invalidate();
}

void TsuiDBNavigator::SetFileTheme(TsuiFileTheme* Value) {
    m_style.StoreFileTheme(Value);
    SetUIStyle(m_style.GetUIStyle());
}

void TsuiDBNavigator::SetDataSource(TDataSource* Value) {
    if (TDataSource* old = m_dataLink->GetDataSource()) old->RemoveFreeNotification(this);
    m_dataLink->SetDataSource(Value);
    if (!Loading(this)) ActiveChanged();
    if (Value != nullptr) Value->FreeNotification(this);
}

void TsuiDBNavigator::Notification(TComponent* AComponent, TOperation Operation) {
    TPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && m_dataLink != nullptr && AComponent != nullptr && AComponent == GetDataSource())
        SetDataSource(nullptr);
    if (m_style.ThemeRemoved(AComponent, Operation)) SetUIStyle(DeepBlue);
}

void TsuiDBNavigator::ClickHandler(TObject* Sender) {
    if (auto* b = dynamic_cast<TsuiNavButton*>(Sender)) BtnClick(b->GetIndex());
}

void TsuiDBNavigator::BtnClick(TNavigateBtn Index) {
    TDataSource* source = GetDataSource();
    if (source != nullptr && source->GetState() != dsInactive) {
        if (!Designing(this) && BeforeAction) BeforeAction(this, Index);
        TDataSet* ds = source->GetDataSet();
        switch (Index) {
            case nbFirst: ds->First(); break;
            case nbPrior: ds->Prior(); break;
            case nbNext: ds->Next(); break;
            case nbLast: ds->Last(); break;
            case nbInsert: ds->Insert(); break;
            case nbDelete:
                if (!m_confirmDelete || MessageDlg(DeleteRecordQuestion, mtConfirmation, {mbOK, mbCancel}) != mrCancel)
                    ds->Delete();
                break;
            case nbEdit: ds->Edit(); break;
            case nbPost: ds->Post(); break;
            case nbCancel: ds->Cancel(); break;
            case nbRefresh: ds->Refresh(); break;
        }
    }
    if (!Designing(this) && OnClick) OnClick(this, Index);
}

void TsuiDBNavigator::BtnMouseDown(TObject* Sender) {
    auto* b = dynamic_cast<TsuiNavButton*>(Sender);
    if (b == nullptr) return;
    const TNavigateBtn old = m_focusedButton;
    m_focusedButton = b->GetIndex();
    if (GetTabStop() && !Focused() && CanFocus()) {
        try {
            SetFocus();
        } catch (const std::exception&) {
            return;
        }
    } else if (Focused() && old != m_focusedButton) {
        Button(old)->Invalidate();
        Button(m_focusedButton)->Invalidate();
    }
}

void TsuiDBNavigator::MoveFocus(TNavigateBtn NewFocus) {
    const TNavigateBtn old = m_focusedButton;
    m_focusedButton = NewFocus;
    Button(old)->Invalidate();
    Button(NewFocus)->Invalidate();
}

void TsuiDBNavigator::KeyDown(Word& Key, TShiftState) {
    const int focused = static_cast<int>(m_focusedButton);
    switch (Key) {
        case VK_RIGHT:
            for (int i = focused + 1; i < NavigatorButtonCount; ++i) {
                if (!IsVisibleButton(i)) continue;
                MoveFocus(static_cast<TNavigateBtn>(i));
                break;
            }
            break;
        case VK_LEFT:
            // Only a visible button takes the focus, so space never runs a hidden one.
            for (int i = focused - 1; i >= 0; --i) {
                if (!IsVisibleButton(i)) continue;
                MoveFocus(static_cast<TNavigateBtn>(i));
                break;
            }
            break;
        case VK_SPACE:
            if (Button(m_focusedButton)->GetEnabled()) Button(m_focusedButton)->Click();
            break;
        default: break;
    }
}

void TsuiDBNavigator::DoEnter() {
    TPanel::DoEnter();
    Button(m_focusedButton)->Invalidate();
}

void TsuiDBNavigator::DoExit() {
    TPanel::DoExit();
    Button(m_focusedButton)->Invalidate();
}

void TsuiDBNavigator::DataChanged() {
    TDataSet* ds = m_dataLink->GetDataSet();
    const bool active = GetEnabled() && m_dataLink->GetActive() && ds != nullptr;
    const bool up = active && !ds->GetBOF();
    const bool down = active && !ds->GetEOF();
    Button(nbFirst)->SetEnabled(up);
    Button(nbPrior)->SetEnabled(up);
    Button(nbNext)->SetEnabled(down);
    Button(nbLast)->SetEnabled(down);
    Button(nbDelete)->SetEnabled(active && ds->GetCanModify() && !(ds->GetBOF() && ds->GetEOF()));
}

void TsuiDBNavigator::EditingChanged() {
    TDataSet* ds = m_dataLink->GetDataSet();
    const bool can = GetEnabled() && m_dataLink->GetActive() && ds != nullptr && ds->GetCanModify();
    const bool editing = m_dataLink->GetEditing();
    Button(nbInsert)->SetEnabled(can);
    Button(nbEdit)->SetEnabled(can && !editing);
    Button(nbPost)->SetEnabled(can && editing);
    Button(nbCancel)->SetEnabled(can && editing);
    Button(nbRefresh)->SetEnabled(can);
}

void TsuiDBNavigator::ActiveChanged() {
    if (GetEnabled() && m_dataLink != nullptr && m_dataLink->GetActive()) {
        DataChanged();
        EditingChanged();
        return;
    }
    for (TsuiNavButton* b : m_buttons)
        if (b != nullptr) b->SetEnabled(false);
}

void TsuiDBNavigator::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
        case WM_SIZE: {
            TPanel::Dispatch(Message);
            int w = GetWidth(), h = GetHeight();
            SetSize(w, h);
            return;
        }
        case CM_ENABLEDCHANGED:
            TPanel::Dispatch(Message);
            if (!Loading(this)) ActiveChanged();
            return;
        default: TPanel::Dispatch(Message); return;
    }
}
