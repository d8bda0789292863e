// The data-aware standard controls: an edit, memo, image, list box and combo box bound to one
// field of a data source, and the lookup list and combo that pick a key from a second source.
// The data grid is in DBGrids.h.
//
//   auto* Name = new TDBEdit(Form);
//   Name->SetParent(Form);
//   Name->SetDataSource(Source);            // free notification: a freed source unlinks itself
//   Name->SetDataField("name");             // shows the current record's value
//   ... a person types: the data set goes into dsEdit (Source's AutoEdit) ...
//   Table->Post();                          // the typed text is written into the field first
//
// Each control owns a TFieldDataLink. Typing puts the data set into edit state when the link can
// (a read-only link, field or data set refuses the key); Esc shows the field's value again;
// leaving the control writes its value into the field (UpdateRecord), and a value the field
// refuses keeps the focus in the control and reaches the caller.
#pragma once

#include <memory>

#include "platform/db/DataSource.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/StdCtrls.h"

// Answers the control's data link (an LRESULT holding a TDataLink*), 0 when it has none.
constexpr UINT CM_GETDATALINK = CM_BASE + 55;

// The data source, field and read-only flag every field-bound control publishes, kept by its
// link; the owning control hears of a freed source through Notification.
class TDBFieldBinding {
public:
    explicit TDBFieldBinding(TComponent* Control);
    ~TDBFieldBinding();
    TDBFieldBinding(const TDBFieldBinding&) = delete;
    TDBFieldBinding& operator=(const TDBFieldBinding&) = delete;

    TFieldDataLink* Link() const { return m_link.get(); }
    TDataSource* GetDataSource() const { return m_link->GetDataSource(); }
    // Asks the new source for free notification (unless the link's source is fixed).
    void SetDataSource(TDataSource* Value);
    const String& GetDataField() const { return m_link->GetFieldName(); }
    void SetDataField(const String& Value) { m_link->SetFieldName(Value); }
    bool GetReadOnly() const { return m_link->GetReadOnly(); }
    void SetReadOnly(bool Value) { m_link->SetReadOnly(Value); }
    TField* GetField() const { return m_link->GetField(); }
    // From the control's Notification: drops a removed source.
    void Notification(TComponent* AComponent, TOperation Operation);
    // Writes the control's value when it is left; on failure Refocus runs and the error passes on.
    void ExitControl(const std::function<void()>& Refocus);
    // The control's answer to CM_GETDATALINK.
    void Answer(TMessage& Message) const { Message.Result = reinterpret_cast<LRESULT>(m_link.get()); }
    // What every field-bound control does with its messages first: CM_GETDATALINK is answered here
    // (true); on CM_EXIT the value is written, Control taking the focus back when the field refuses
    // it, and like every other message it goes on to the control's own handling (false).
    bool Dispatch(TMessage& Message, TWinControl* Control);

private:
    TComponent* m_control;
    std::unique_ptr<TFieldDataLink> m_link;
};

// ---- edit ----------------------------------------------------------------------------------------

class TDBEdit : public TCustomEdit {
    VCL_CLASS(TDBEdit)
    explicit TDBEdit(TComponent* AOwner);
    ~TDBEdit() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    // The link's read-only flag (the edit itself is read-only whenever the link is not editing).
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;

private:
    void DataChange();
    void EditingChange();
    void UpdateData();

    TDBFieldBinding m_binding{this};
};

// ---- memo ----------------------------------------------------------------------------------------

class TDBMemo : public TCustomMemo {
    VCL_CLASS(TDBMemo)
    explicit TDBMemo(TComponent* AOwner);
    ~TDBMemo() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }

    // Cut, paste and undo change the text: they put the field into edit state first.
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;

private:
    void DataChange();
    void EditingChange();
    void UpdateData();

    TDBFieldBinding m_binding{this};
    bool m_showing = false;
};

// ---- image ---------------------------------------------------------------------------------------

// The picture a blob holds (a BMP or JPEG file's bytes); false, with Picture cleared, for bytes
// that are no picture this class library reads.
bool LoadPictureFromBlob(const String& Bytes, TPicture* Picture);

// Shows the picture in a blob field, stretched or centred, inside a sunken single border.
// A blob that is no picture shows nothing; painting never raises.
class TDBImage : public TCustomControl {
    VCL_CLASS(TDBImage)
    explicit TDBImage(TComponent* AOwner);
    ~TDBImage() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }

    TPicture* GetPicture() const { return m_picture.get(); }
    // A picture given from code: the field is put into edit state and gets it as BMP bytes.
    void SetPicture(TPicture* Value);
    bool GetStretch() const { return m_stretch; }
    void SetStretch(bool Value) { m_stretch = Value; Invalidate(); }
    bool GetCenter() const { return m_center; }
    void SetCenter(bool Value) { m_center = Value; Invalidate(); }
    TBorderStyle GetBorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle Value) { m_borderStyle = Value; Invalidate(); }
    // The frame the border style takes on each side.
    int FrameInset() const { return m_borderStyle == bsSingle ? 2 : 0; }

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void KeyPress(char& Key) override;

private:
    void DataChange();
    void UpdateData();

    TDBFieldBinding m_binding{this};
    std::unique_ptr<TPicture> m_picture;
    bool m_stretch = false;
    bool m_center = true;
    TBorderStyle m_borderStyle = bsSingle;
};

// ---- list box and combo box ------------------------------------------------------------------------

// A list of the values the field may take; picking one writes it.
class TDBListBox : public TCustomListBox {
    VCL_CLASS(TDBListBox)
    explicit TDBListBox(TComponent* AOwner);
    ~TDBListBox() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }

    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DataChange();
    void UpdateData();

    TDBFieldBinding m_binding{this};
};

class TDBComboBox : public TCustomComboBox {
    VCL_CLASS(TDBComboBox)
    explicit TDBComboBox(TComponent* AOwner);
    ~TDBComboBox() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Change() override;
    void Select() override;
    void DropDown() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;

private:
    void DataChange();
    void UpdateData();
    // The text the field shows, as the face holds it (an item, or typed text).
    void ShowText(const String& Text);

    TDBFieldBinding m_binding{this};
    bool m_showing = false;
};

// ---- lookup controls -------------------------------------------------------------------------------

// The rows of the lookup source: KeyField's value and ListField's text of each, read whole.
struct TLookupRow {
    String Key;
    String Text;
};

// What the two lookup controls share: the list source (with free notification) and the rows
// read from it whenever it changes, and the field whose value is the chosen key.
class TDBLookupBinding {
public:
    explicit TDBLookupBinding(TComponent* Control, std::function<void()> ListChanged);
    ~TDBLookupBinding();
    TDBLookupBinding(const TDBLookupBinding&) = delete;
    TDBLookupBinding& operator=(const TDBLookupBinding&) = delete;

    TDataSource* GetListSource() const;
    void SetListSource(TDataSource* Value);
    const String& GetKeyField() const { return m_keyField; }
    void SetKeyField(const String& Value);
    const String& GetListField() const { return m_listField; }
    void SetListField(const String& Value);
    const std::vector<TLookupRow>& Rows() const { return m_rows; }
    // The row holding Key, -1 when none does.
    int IndexOfKey(const String& Key) const;
    void Notification(TComponent* AComponent, TOperation Operation);
    // Reads the rows again (the list source's data changed).
    void ReadRows();

private:
    class TListLink;
    TComponent* m_control;
    std::function<void()> m_listChanged;
    std::unique_ptr<TListLink> m_listLink;
    String m_keyField;
    String m_listField;
    std::vector<TLookupRow> m_rows;
};

// A list of the lookup rows' texts; the chosen row's key is the field's value.
class TDBLookupListBox : public TCustomListBox {
    VCL_CLASS(TDBLookupListBox)
    explicit TDBLookupListBox(TComponent* AOwner);
    ~TDBLookupListBox() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }
    TDataSource* GetListSource() const { return m_lookup.GetListSource(); }
    void SetListSource(TDataSource* Value) { m_lookup.SetListSource(Value); }
    const String& GetKeyField() const { return m_lookup.GetKeyField(); }
    void SetKeyField(const String& Value) { m_lookup.SetKeyField(Value); }
    const String& GetListField() const { return m_lookup.GetListField(); }
    void SetListField(const String& Value) { m_lookup.SetListField(Value); }
    // The key of the chosen row ("" for none).
    String GetKeyValue() const;

    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void ListChanged();
    void DataChange();
    void UpdateData();

    TDBFieldBinding m_binding{this};
    TDBLookupBinding m_lookup{this, [this] { ListChanged(); }};
};

// A painted face showing the chosen row's text, with a drop-down button at its right edge
// (GetSystemMetrics(SM_CXVSCROLL) wide). Up and Down (and the wheel) choose the neighbouring
// row; the button or Alt+Down drops the list of rows under the face.
class TDBLookupComboBox : public TCustomControl {
    VCL_CLASS(TDBLookupComboBox)
    explicit TDBLookupComboBox(TComponent* AOwner);
    ~TDBLookupComboBox() override;

    TDataSource* GetDataSource() const { return m_binding.GetDataSource(); }
    void SetDataSource(TDataSource* Value) { m_binding.SetDataSource(Value); }
    const String& GetDataField() const { return m_binding.GetDataField(); }
    void SetDataField(const String& Value) { m_binding.SetDataField(Value); }
    bool GetReadOnly() const { return m_binding.GetReadOnly(); }
    void SetReadOnly(bool Value) { m_binding.SetReadOnly(Value); }
    TField* GetField() const { return m_binding.GetField(); }
    TFieldDataLink* DataLink() const { return m_binding.Link(); }
    TDataSource* GetListSource() const { return m_lookup.GetListSource(); }
    void SetListSource(TDataSource* Value) { m_lookup.SetListSource(Value); }
    const String& GetKeyField() const { return m_lookup.GetKeyField(); }
    void SetKeyField(const String& Value) { m_lookup.SetKeyField(Value); }
    const String& GetListField() const { return m_lookup.GetListField(); }
    void SetListField(const String& Value) { m_lookup.SetListField(Value); }
    const std::vector<TLookupRow>& Rows() const { return m_lookup.Rows(); }

    String GetKeyValue() const { return m_key; }
    // The text of the chosen row as the face shows it.
    String GetText() const override;
    // Chooses a row as a person does: the field goes into edit state and gets the row's key.
    void ChooseRow(int Index);
    // The button's rectangle in client coordinates.
    TRect ButtonRect() const;
    bool GetListVisible() const;
    void DropDown();
    void CloseUp(bool Accept);

    void Dispatch(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    class TListHost;
    void ListChanged();
    // The dropped list took row Index (-1: none).
    void RowsPicked(int Index);
    void DataChange();
    void UpdateData();

    TDBFieldBinding m_binding{this};
    TDBLookupBinding m_lookup{this, [this] { ListChanged(); }};
    String m_key;
    std::unique_ptr<TListHost> m_listHost;
    TDropDownWindow* m_list = nullptr;
};
