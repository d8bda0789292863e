#include "platform/db/DBCtrls.h"

#include <algorithm>

#include "platform/vcl/DropDown.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Jpeg.h"
#include "platform/vcl/Streams.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win32/Windows.h"

namespace {

constexpr char EscapeKey = 0x1B;

bool IsTypedChar(char Key) { return static_cast<unsigned char>(Key) >= 0x20 || Key == '\b'; }

// The messages by which a person changes an edit's text without typing: the field goes into edit
// state first.
bool ChangesText(UINT Msg) { return Msg == WM_CUT || Msg == WM_PASTE || Msg == WM_CLEAR || Msg == WM_UNDO; }

// Runs Action with Flag set, restoring it however the scope is left.
template <class F>
void WithFlag(bool& Flag, F&& Action) {
    const bool old = Flag;
    Flag = true;
    try {
        Action();
    } catch (...) {
        Flag = old;
        throw;
    }
    Flag = old;
}

}  // namespace

// ---- TDBFieldBinding -------------------------------------------------------------------------

TDBFieldBinding::TDBFieldBinding(TComponent* Control) : m_control(Control), m_link(std::make_unique<TFieldDataLink>()) {
    m_link->SetControl(Control);
    m_link->SetVisualControl(true);
}

TDBFieldBinding::~TDBFieldBinding() {
    // The control is being torn down: it must hear nothing more.
    m_link->OnDataChange = nullptr;
    m_link->OnEditingChange = nullptr;
    m_link->OnUpdateData = nullptr;
    m_link->OnActiveChange = nullptr;
    m_link->SetDataSource(nullptr);
}

void TDBFieldBinding::SetDataSource(TDataSource* Value) {
    if (!(m_link->GetDataSourceFixed() && m_control->GetComponentState().Contains(csLoading))) {
        if (TDataSource* old = m_link->GetDataSource()) old->RemoveFreeNotification(m_control);
        m_link->SetDataSource(Value);
    }
    if (Value != nullptr) Value->FreeNotification(m_control);
}

void TDBFieldBinding::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent != nullptr && AComponent == m_link->GetDataSource())
        m_link->SetDataSource(nullptr);
}

void TDBFieldBinding::ExitControl(const std::function<void()>& Refocus) {
    try {
        m_link->UpdateRecord();
    } catch (...) {
        if (Refocus) Refocus();
        throw;
    }
}

bool TDBFieldBinding::Dispatch(TMessage& Message, TWinControl* Control) {
    if (Message.Msg == CM_GETDATALINK) {
        Answer(Message);
        return true;
    }
    if (Message.Msg == CM_EXIT)
        ExitControl([Control] {
            if (Control->CanFocus()) Control->SetFocus();
        });
    return false;
}

// ---- TDBEdit ---------------------------------------------------------------------------------

TDBEdit::TDBEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    ControlStyle() << csReplicatable;
    TCustomEdit::SetReadOnly(true);
    m_binding.Link()->OnDataChange = [this](TObject*) { DataChange(); };
    m_binding.Link()->OnEditingChange = [this](TObject*) { EditingChange(); };
    m_binding.Link()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TDBEdit::~TDBEdit() { Destroying(); }

void TDBEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomEdit::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
}

void TDBEdit::DataChange() {
    TField* field = GetField();
    if (field == nullptr) {
        SetText("");
        return;
    }
    if (field->GetDataType() == ftString && field->GetSize() > 0) SetMaxLength(field->GetSize());
    // The typed form while editing, the display form otherwise.
    SetText(DataLink()->GetEditing() || Focused() ? field->GetText() : field->GetDisplayText());
}

void TDBEdit::EditingChange() { TCustomEdit::SetReadOnly(!DataLink()->GetEditing()); }

void TDBEdit::UpdateData() {
    if (TField* field = GetField()) field->SetText(GetText());
}

void TDBEdit::Change() {
    DataLink()->Modified();
    TCustomEdit::Change();
}

void TDBEdit::KeyDown(Word& Key, TShiftState Shift) {
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_DELETE || (Key == VK_INSERT && Shift.Contains(ssShift))) DataLink()->Edit();
}

void TDBEdit::KeyPress(char& Key) {
    TCustomEdit::KeyPress(Key);
    if (Key == EscapeKey) {
        DataLink()->Reset();
        SelectAll();
        Key = 0;
    } else if (IsTypedChar(Key) && !DataLink()->Edit()) {
        MessageBeep(0);
        Key = 0;
    }
}

void TDBEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case CM_GETDATALINK: m_binding.Answer(Message); return;
        case CM_EXIT:
            m_binding.ExitControl([this] {
                SelectAll();
                if (CanFocus()) SetFocus();
            });
            TCustomEdit::Dispatch(Message);
            return;
        case CM_ENTER:
            TCustomEdit::Dispatch(Message);
            // The edit form of the value (a date's full text) while the edit has the focus.
            if (!DataLink()->GetModified()) DataLink()->Reset();
            return;
        default:
            if (ChangesText(Message.Msg)) DataLink()->Edit();
            TCustomEdit::Dispatch(Message);
            return;
    }
}

// ---- TDBMemo ---------------------------------------------------------------------------------

TDBMemo::TDBMemo(TComponent* AOwner) : TCustomMemo(AOwner) {
    ControlStyle() << csReplicatable;
    TCustomMemo::SetReadOnly(true);
    m_binding.Link()->OnDataChange = [this](TObject*) { DataChange(); };
    m_binding.Link()->OnEditingChange = [this](TObject*) { EditingChange(); };
    m_binding.Link()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TDBMemo::~TDBMemo() { Destroying(); }

void TDBMemo::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomMemo::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
}

void TDBMemo::DataChange() {
    TField* field = GetField();
    WithFlag(m_showing, [&] { SetText(field != nullptr ? field->GetAsString() : String()); });
}

void TDBMemo::EditingChange() { TCustomMemo::SetReadOnly(!DataLink()->GetEditing()); }

void TDBMemo::UpdateData() {
    if (TField* field = GetField()) field->SetAsString(GetText());
}

void TDBMemo::Change() {
    if (!m_showing) DataLink()->Modified();
    TCustomMemo::Change();
}

void TDBMemo::KeyDown(Word& Key, TShiftState Shift) {
    TCustomMemo::KeyDown(Key, Shift);
    if (Key == VK_DELETE || (Key == VK_INSERT && Shift.Contains(ssShift))) {
        if (!DataLink()->Edit()) Key = 0;
    }
}

void TDBMemo::KeyPress(char& Key) {
    TCustomMemo::KeyPress(Key);
    if (Key == EscapeKey) {
        DataLink()->Reset();
        Key = 0;
    } else if ((IsTypedChar(Key) || Key == '\r') && !DataLink()->Edit()) {
        MessageBeep(0);
        Key = 0;
    }
}

void TDBMemo::Dispatch(TMessage& Message) {
    if (ChangesText(Message.Msg)) DataLink()->Edit();
    if (!m_binding.Dispatch(Message, this)) TCustomMemo::Dispatch(Message);
}

// ---- TDBImage --------------------------------------------------------------------------------

bool LoadPictureFromBlob(const String& Bytes, TPicture* Picture) {
    Picture->SetGraphic(nullptr);
    std::unique_ptr<TGraphic> graphic;
    if (Bytes.size() >= 2 && Bytes[0] == 'B' && Bytes[1] == 'M')
        graphic = std::make_unique<TBitmap>();
    else if (Bytes.size() >= 3 && static_cast<Byte>(Bytes[0]) == 0xFF && static_cast<Byte>(Bytes[1]) == 0xD8)
        graphic = std::make_unique<TJPEGImage>();
    else
        return false;
    try {
        TMemoryStream stream;
        stream.WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
        stream.SetPosition(0);
        graphic->LoadFromStream(&stream);
        Picture->SetGraphic(graphic.get());
    } catch (const std::exception&) {
        Picture->SetGraphic(nullptr);
        return false;
    }
    return true;
}

TDBImage::TDBImage(TComponent* AOwner) : TCustomControl(AOwner), m_picture(std::make_unique<TPicture>()) {
    ControlStyle() << csOpaque << csReplicatable;
    SetBounds(GetLeft(), GetTop(), 105, 105);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    m_picture->OnChange = [this](TObject*) { Invalidate(); };
    m_binding.Link()->OnDataChange = [this](TObject*) { DataChange(); };
    m_binding.Link()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TDBImage::~TDBImage() { Destroying(); }

void TDBImage::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
}

void TDBImage::DataChange() {
    TField* field = GetField();
    if (field == nullptr || field->IsNull())
        m_picture->SetGraphic(nullptr);
    else
        LoadPictureFromBlob(field->GetAsString(), m_picture.get());
    Invalidate();
}

void TDBImage::UpdateData() {
    TField* field = GetField();
    if (field == nullptr) return;
    TGraphic* graphic = m_picture->GetGraphic();
    if (graphic == nullptr || graphic->GetEmpty()) {
        field->Clear();
        return;
    }
    TMemoryStream stream;
    m_picture->GetBitmap()->SaveToStream(&stream);
    field->SetAsString(String(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.GetSize())));
}

void TDBImage::SetPicture(TPicture* Value) {
    if (!DataLink()->Edit()) return;
    m_picture->Assign(Value);
    DataLink()->Modified();
}

void TDBImage::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (Key == EscapeKey) {
        DataLink()->Reset();
        Key = 0;
    }
}

void TDBImage::Paint() {
    TCanvas* c = GetCanvas();
    TRect client = GetClientRect();
    c->GetBrush()->SetStyle(bsSolid);
    if (m_borderStyle == bsSingle) Frame3D(c, client, clBtnShadow, clBtnHighlight, FrameInset());
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(client);
    TGraphic* graphic = m_picture->GetGraphic();
    if (graphic == nullptr || graphic->GetEmpty()) return;
    // A picture that cannot be drawn leaves the background: painting never raises.
    try {
        TRect dest = ImageDestRect(m_picture->GetWidth(), m_picture->GetHeight(), client.Width(), client.Height(),
                                   m_stretch, false, m_center);
        OffsetRect(dest, client.Left, client.Top);
        int saved = c->SaveDC();
        c->IntersectClipRect(client);
        c->StretchDraw(dest, graphic);
        c->RestoreDC(saved);
    } catch (const std::exception&) {
    }
}

void TDBImage::Dispatch(TMessage& Message) {
    if (!m_binding.Dispatch(Message, this)) TCustomControl::Dispatch(Message);
}

// ---- TDBListBox ------------------------------------------------------------------------------

TDBListBox::TDBListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    m_binding.Link()->OnDataChange = [this](TObject*) { DataChange(); };
    m_binding.Link()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TDBListBox::~TDBListBox() { Destroying(); }

void TDBListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
}

void TDBListBox::DataChange() {
    TField* field = GetField();
    SetItemIndex(field != nullptr ? GetItems()->IndexOf(field->GetText()) : -1);
}

void TDBListBox::UpdateData() {
    TField* field = GetField();
    if (field == nullptr) return;
    const int i = GetItemIndex();
    field->SetText(i >= 0 ? GetItems()->Strings(i) : String());
}

void TDBListBox::Click() {
    if (DataLink()->Edit()) {
        TCustomListBox::Click();
        DataLink()->Modified();
    }
}

void TDBListBox::KeyDown(Word& Key, TShiftState Shift) {
    TCustomListBox::KeyDown(Key, Shift);
    switch (Key) {
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!DataLink()->Edit()) Key = 0;
            break;
        default: break;
    }
}

void TDBListBox::KeyPress(char& Key) {
    TCustomListBox::KeyPress(Key);
    if (Key == EscapeKey) {
        DataLink()->Reset();
        Key = 0;
    } else if (IsTypedChar(Key) && !DataLink()->Edit()) {
        Key = 0;
    }
}

void TDBListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // A click on a list that cannot edit moves nothing.
    if (Button == mbLeft && !DataLink()->Edit()) {
        if (CanFocus() && !Focused()) SetFocus();
        return;
    }
    TCustomListBox::MouseDown(Button, Shift, X, Y);
}

void TDBListBox::Dispatch(TMessage& Message) {
    if (!m_binding.Dispatch(Message, this)) TCustomListBox::Dispatch(Message);
}

// ---- TDBComboBox -----------------------------------------------------------------------------

TDBComboBox::TDBComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
    m_binding.Link()->OnDataChange = [this](TObject*) { DataChange(); };
    m_binding.Link()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TDBComboBox::~TDBComboBox() { Destroying(); }

void TDBComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomComboBox::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
}

void TDBComboBox::ShowText(const String& Text) {
    WithFlag(m_showing, [&] {
        const int i = GetItems()->IndexOf(Text);
        SetItemIndex(i);
        if (i < 0 && GetStyle() != csDropDownList && GetStyle() != csOwnerDrawFixed && GetStyle() != csOwnerDrawVariable)
            SetText(Text);
    });
}

void TDBComboBox::DataChange() {
    if (GetDroppedDown()) return;
    TField* field = GetField();
    ShowText(field != nullptr ? field->GetText() : String());
}

void TDBComboBox::UpdateData() {
    TField* field = GetField();
    if (field == nullptr) return;
    const int i = GetItemIndex();
    if (GetStyle() == csDropDown || GetStyle() == csSimple)
        field->SetText(GetText());
    else
        field->SetText(i >= 0 ? GetItems()->Strings(i) : String());
}

void TDBComboBox::Change() {
    if (!m_showing) DataLink()->Modified();
    TCustomComboBox::Change();
}

void TDBComboBox::Select() {
    if (m_showing) return;
    if (DataLink()->Edit()) {
        TCustomComboBox::Select();
        DataLink()->Modified();
    } else {
        // The data set refused the edit: the field's value comes back.
        DataLink()->Reset();
    }
}

void TDBComboBox::DropDown() {
    DataLink()->Edit();
    TCustomComboBox::DropDown();
}

void TDBComboBox::KeyDown(Word& Key, TShiftState Shift) {
    if ((Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_BACK || Key == VK_DELETE) &&
        !DataLink()->Edit()) {
        Key = 0;
        return;
    }
    TCustomComboBox::KeyDown(Key, Shift);
}

void TDBComboBox::KeyPress(char& Key) {
    TCustomComboBox::KeyPress(Key);
    if (Key == EscapeKey) {
        DataLink()->Reset();
        Key = 0;
    } else if (IsTypedChar(Key) && !DataLink()->Edit()) {
        MessageBeep(0);
        Key = 0;
    }
}

void TDBComboBox::Dispatch(TMessage& Message) {
    if (!m_binding.Dispatch(Message, this)) TCustomComboBox::Dispatch(Message);
}

// ---- lookup binding --------------------------------------------------------------------------

// The link to the list source: every change there reads the rows again.
class TDBLookupBinding::TListLink : public TDataLink {
public:
    explicit TListLink(TDBLookupBinding* Owner) : m_owner(Owner) {}

protected:
    void ActiveChanged() override { m_owner->ReadRows(); }
    void DataSetChanged() override { m_owner->ReadRows(); }
    void RecordChanged(TField*) override {}
    void DataSetScrolled(int) override {}

private:
    TDBLookupBinding* m_owner;
};

TDBLookupBinding::TDBLookupBinding(TComponent* Control, std::function<void()> ListChanged)
    : m_control(Control), m_listChanged(std::move(ListChanged)), m_listLink(std::make_unique<TListLink>(this)) {}

TDBLookupBinding::~TDBLookupBinding() {
    m_listChanged = nullptr;
    m_listLink->SetDataSource(nullptr);
}

TDataSource* TDBLookupBinding::GetListSource() const { return m_listLink->GetDataSource(); }

void TDBLookupBinding::SetListSource(TDataSource* Value) {
    if (TDataSource* old = m_listLink->GetDataSource()) old->RemoveFreeNotification(m_control);
    m_listLink->SetDataSource(Value);
    if (Value != nullptr) Value->FreeNotification(m_control);
    ReadRows();
}

void TDBLookupBinding::SetKeyField(const String& Value) {
    m_keyField = Value;
    ReadRows();
}

void TDBLookupBinding::SetListField(const String& Value) {
    m_listField = Value;
    ReadRows();
}

int TDBLookupBinding::IndexOfKey(const String& Key) const {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].Key == Key) return static_cast<int>(i);
    return -1;
}

void TDBLookupBinding::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent != nullptr && AComponent == m_listLink->GetDataSource()) {
        m_listLink->SetDataSource(nullptr);
        ReadRows();
    }
}

void TDBLookupBinding::ReadRows() {
    m_rows.clear();
    TDataSet* ds = m_listLink->GetDataSet();
    TField* key = ds != nullptr && ds->GetActive() ? ds->FindField(m_keyField) : nullptr;
    TField* text = ds != nullptr && ds->GetActive() ? ds->FindField(m_listField.empty() ? m_keyField : m_listField) : nullptr;
    if (key != nullptr && text != nullptr) {
        // The rows are read where they lie; the list source's cursor does not move.
        for (int row = 0; row < ds->RowCount(); ++row) {
            ds->SetActiveRecordRow(row);
            m_rows.push_back({key->GetText(), text->GetDisplayText()});
        }
        ds->SetActiveRecordRow(-1);
    }
    if (m_listChanged) m_listChanged();
}

// ---- TDBLookupListBox ------------------------------------------------------------------------

TDBLookupListBox::TDBLookupListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
    m_binding.Link()->OnDataChange = [this](TObject*) { DataChange(); };
    m_binding.Link()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TDBLookupListBox::~TDBLookupListBox() { Destroying(); }

void TDBLookupListBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomListBox::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
    m_lookup.Notification(AComponent, Operation);
}

void TDBLookupListBox::ListChanged() {
    GetItems()->BeginUpdate();
    GetItems()->Clear();
    for (const TLookupRow& row : m_lookup.Rows()) GetItems()->Add(row.Text);
    GetItems()->EndUpdate();
    DataChange();
}

String TDBLookupListBox::GetKeyValue() const {
    const int i = GetItemIndex();
    return i >= 0 && i < static_cast<int>(m_lookup.Rows().size()) ? m_lookup.Rows()[static_cast<size_t>(i)].Key : String();
}

void TDBLookupListBox::DataChange() {
    TField* field = GetField();
    SetItemIndex(field != nullptr ? m_lookup.IndexOfKey(field->GetText()) : -1);
}

void TDBLookupListBox::UpdateData() {
    if (TField* field = GetField()) field->SetText(GetKeyValue());
}

void TDBLookupListBox::Click() {
    if (DataLink()->Edit()) {
        DataLink()->Modified();
        // The key is written at once, so the other controls on the field show it.
        DataLink()->UpdateRecord();
        TCustomListBox::Click();
    } else {
        DataChange();
    }
}

void TDBLookupListBox::KeyDown(Word& Key, TShiftState Shift) {
    if ((Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END) &&
        !DataLink()->Edit()) {
        Key = 0;
        return;
    }
    TCustomListBox::KeyDown(Key, Shift);
}

void TDBLookupListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && !DataLink()->Edit()) {
        if (CanFocus() && !Focused()) SetFocus();
        return;
    }
    TCustomListBox::MouseDown(Button, Shift, X, Y);
}

void TDBLookupListBox::Dispatch(TMessage& Message) {
    if (!m_binding.Dispatch(Message, this)) TCustomListBox::Dispatch(Message);
}

// ---- TDBLookupComboBox -----------------------------------------------------------------------

// The dropped rows report to their combo.
class TDBLookupComboBox::TListHost : public TDropDownHost {
public:
    explicit TListHost(TDBLookupComboBox* Combo) : m_combo(Combo) {}
    void DropDownPicked(int Index) override { m_combo->RowsPicked(Index); }
    void DropDownDismissed() override {}

private:
    TDBLookupComboBox* m_combo;
};

TDBLookupComboBox::TDBLookupComboBox(TComponent* AOwner)
    : TCustomControl(AOwner), m_listHost(std::make_unique<TListHost>(this)) {
    ControlStyle() << csOpaque << csReplicatable;
    SetBounds(GetLeft(), GetTop(), 145, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    m_binding.Link()->OnDataChange = [this](TObject*) { DataChange(); };
    m_binding.Link()->OnUpdateData = [this](TObject*) { UpdateData(); };
}

TDBLookupComboBox::~TDBLookupComboBox() {
    Destroying();
    delete m_list;
    m_list = nullptr;
}

void TDBLookupComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    m_binding.Notification(AComponent, Operation);
    m_lookup.Notification(AComponent, Operation);
}

void TDBLookupComboBox::ListChanged() { Invalidate(); }

void TDBLookupComboBox::DataChange() {
    TField* field = GetField();
    m_key = field != nullptr ? field->GetText() : String();
    Invalidate();
}

void TDBLookupComboBox::UpdateData() {
    if (TField* field = GetField()) field->SetText(m_key);
}

String TDBLookupComboBox::GetText() const {
    const int i = m_lookup.IndexOfKey(m_key);
    return i >= 0 ? m_lookup.Rows()[static_cast<size_t>(i)].Text : String();
}

void TDBLookupComboBox::ChooseRow(int Index) {
    const auto& rows = m_lookup.Rows();
    if (Index < 0 || Index >= static_cast<int>(rows.size())) return;
    if (!DataLink()->Edit()) return;
    m_key = rows[static_cast<size_t>(Index)].Key;
    DataLink()->Modified();
    DataLink()->UpdateRecord();
    Invalidate();
    Click();
}

TRect TDBLookupComboBox::ButtonRect() const {
    TRect client = GetClientRect();
    return TRect{client.Right - GetSystemMetrics(SM_CXVSCROLL), client.Top, client.Right, client.Bottom};
}

bool TDBLookupComboBox::GetListVisible() const { return m_list != nullptr && m_list->GetVisible(); }

void TDBLookupComboBox::DropDown() {
    if (GetListVisible() || m_lookup.Rows().empty()) return;
    if (m_list == nullptr) m_list = new TDropDownWindow(this, m_listHost.get());
    TListBox* list = m_list->List();
    list->SetFont(GetFont());
    list->GetItems()->Clear();
    for (const TLookupRow& row : m_lookup.Rows()) list->GetItems()->Add(row.Text);
    const int rows = std::clamp(static_cast<int>(m_lookup.Rows().size()), 1, 8);
    const TPoint origin = ClientToScreen({0, GetHeight()});
    const int height = rows * list->GetItemHeight() + 2;
    list->SetBounds(1, 1, GetWidth() - 2, height - 2);
    list->SetItemIndex(m_lookup.IndexOfKey(m_key));
    m_list->Open(Bounds(origin.x, origin.y, GetWidth(), height));
}

void TDBLookupComboBox::CloseUp(bool Accept) {
    if (!GetListVisible()) return;
    const int chosen = m_list->List()->GetItemIndex();
    m_list->Shut();
    RowsPicked(Accept ? chosen : -1);
}

void TDBLookupComboBox::RowsPicked(int Index) {
    if (Index >= 0 && Index != m_lookup.IndexOfKey(m_key)) ChooseRow(Index);
}

void TDBLookupComboBox::Paint() {
    TCanvas* c = GetCanvas();
    TRect client = GetClientRect();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(client);
    TRect text = client;
    text.Right = ButtonRect().Left;
    text.Left += 3;
    c->SetFont(GetFont());
    if (!GetEnabled()) c->GetFont()->SetColor(clGrayText);
    c->GetBrush()->SetStyle(bsClear);
    c->DrawText(GetText(), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    c->GetBrush()->SetStyle(bsSolid);
    TRect button = ButtonRect();
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(button);
}

void TDBLookupComboBox::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    const int current = m_lookup.IndexOfKey(m_key);
    const int last = static_cast<int>(m_lookup.Rows().size()) - 1;
    if (Key == VK_DOWN && Shift.Contains(ssAlt)) {
        DropDown();
    } else if (Key == VK_UP || Key == VK_DOWN) {
        if (GetListVisible()) {
            TListBox* list = m_list->List();
            list->SetItemIndex(std::clamp(list->GetItemIndex() + (Key == VK_UP ? -1 : 1), 0, last));
        } else {
            ChooseRow(current < 0 ? 0 : std::clamp(current + (Key == VK_UP ? -1 : 1), 0, last));
        }
    } else if (Key == VK_HOME || Key == VK_END) {
        ChooseRow(Key == VK_HOME ? 0 : last);
    } else if (Key == VK_RETURN && GetListVisible()) {
        CloseUp(true);
    } else {
        return;
    }
    Key = 0;
}

void TDBLookupComboBox::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (Key == EscapeKey) {
        if (GetListVisible()) CloseUp(false);
        else DataLink()->Reset();
        Key = 0;
    }
}

void TDBLookupComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        if (GetListVisible()) CloseUp(false);
        else DropDown();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TDBLookupComboBox::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    }
    if (Message.Msg == CM_EXIT) CloseUp(false);
    if (!m_binding.Dispatch(Message, this)) TCustomControl::Dispatch(Message);
}
