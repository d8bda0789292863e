// TField and its kinds: one column of a data set's current record, read and written as text,
// integer, float or boolean.
//
// A field holds no value of its own: it reads the record its data set shows and writes through
// the data set, which accepts a value only in dsEdit or dsInsert. A value that does not convert
// to the field's kind raises EConvertError before anything is stored.
#pragma once

#include <variant>

#include "platform/vcl/Component.h"
#include "platform/vcl/SysUtils.h"

class TDataSet;

VCL_EXCEPTION(EDatabaseError, Exception)

enum TFieldType { ftUnknown, ftString, ftInteger, ftLargeint, ftFloat, ftBoolean, ftDateTime, ftMemo, ftBlob };

// One stored value: null, a whole number, a float (also a TDateTime), a boolean, or text/bytes.
using TFieldValue = std::variant<std::monostate, Int64, double, bool, String>;
inline bool IsNullValue(const TFieldValue& v) { return std::holds_alternative<std::monostate>(v); }

// What a back end says about one column before the fields are made.
struct TFieldDef {
    String Name;
    TFieldType DataType = ftString;
    int Size = 0;          // declared width of a string field, 0 when none was declared
    bool Required = false; // a null value cannot be posted
    bool ReadOnly = false;
};

class TField : public TComponent {
    VCL_CLASS(TField)
    TField(TComponent* AOwner, TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo);

    TDataSet* GetDataSet() const { return m_dataSet; }
    const String& GetFieldName() const { return m_fieldName; }
    TFieldType GetDataType() const { return m_dataType; }
    // 0-based position among the data set's fields.
    int GetFieldNo() const { return m_fieldNo; }
    int GetSize() const { return m_size; }
    bool GetRequired() const { return m_required; }
    void SetRequired(bool v) { m_required = v; }
    bool GetReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }
    // Not read-only, and the data set is open and can be modified.
    bool GetCanModify() const;

    bool IsNull() const;
    void Clear();
    // The stored value as the data set holds it (null for a field of an empty data set).
    TFieldValue GetValue() const;
    void SetValue(const TFieldValue& v);

    // A null field reads as "", 0, 0.0 and false.
    String GetAsString() const;
    void SetAsString(const String& v);
    int GetAsInteger() const;
    void SetAsInteger(int v);
    Int64 GetAsLargeInt() const;
    void SetAsLargeInt(Int64 v);
    double GetAsFloat() const;
    void SetAsFloat(double v);
    bool GetAsBoolean() const;
    void SetAsBoolean(bool v);
    // The text an edit control shows and takes, and the text a grid or label shows.
    String GetText() const { return ValueToText(GetValue(), false); }
    void SetText(const String& v) { SetAsString(v); }
    String GetDisplayText() const { return ValueToText(GetValue(), true); }
    // Any form of value as this kind stores it; raises EConvertError when it cannot be.
    virtual TFieldValue Normalize(const TFieldValue& v) const;

protected:
    // Each kind turns its own stored value into the other forms and back; a conversion that
    // cannot be made raises EConvertError.
    virtual String ValueToString(const TFieldValue& v) const = 0;
    virtual String ValueToText(const TFieldValue& v, bool Display) const;
    virtual Int64 ValueToLargeInt(const TFieldValue& v) const;
    virtual double ValueToFloat(const TFieldValue& v) const;
    virtual bool ValueToBoolean(const TFieldValue& v) const;
    virtual TFieldValue StringToValue(const String& v) const = 0;
    virtual TFieldValue LargeIntToValue(Int64 v) const;
    virtual TFieldValue FloatToValue(double v) const;
    virtual TFieldValue BooleanToValue(bool v) const;

    [[noreturn]] void ConvertError(const String& TypeName) const;

private:
    // Raises EDatabaseError unless the data set takes a value for this field now.
    void CheckCanWrite() const;
    void Store(const TFieldValue& v);

    TDataSet* m_dataSet;
    String m_fieldName;
    TFieldType m_dataType;
    int m_fieldNo;
    int m_size;
    bool m_required;
    bool m_readOnly;
};

class TStringField : public TField {
    VCL_CLASS(TStringField)
    using TField::TField;

protected:
    String ValueToString(const TFieldValue& v) const override;
    Int64 ValueToLargeInt(const TFieldValue& v) const override;
    double ValueToFloat(const TFieldValue& v) const override;
    bool ValueToBoolean(const TFieldValue& v) const override;
    TFieldValue StringToValue(const String& v) const override;
    TFieldValue LargeIntToValue(Int64 v) const override;
    TFieldValue FloatToValue(double v) const override;
    TFieldValue BooleanToValue(bool v) const override;

public:
    TFieldValue Normalize(const TFieldValue& v) const override;
};

// Text of any length, shown as it is.
class TMemoField : public TStringField {
    VCL_CLASS(TMemoField)
    using TStringField::TStringField;
};

// Bytes; AsString gives them unchanged, Text and DisplayText say "(BLOB)" ("(blob)" when null).
class TBlobField : public TStringField {
    VCL_CLASS(TBlobField)
    using TStringField::TStringField;

protected:
    String ValueToText(const TFieldValue& v, bool Display) const override;
};

// Whole numbers within Min and Max; text that is no number or does not fit raises EConvertError.
class TIntegerField : public TField {
    VCL_CLASS(TIntegerField)
    TIntegerField(TComponent* AOwner, TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo);

protected:
    TIntegerField(TComponent* AOwner, TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo, Int64 AMin, Int64 AMax);
    String ValueToString(const TFieldValue& v) const override;
    Int64 ValueToLargeInt(const TFieldValue& v) const override;
    double ValueToFloat(const TFieldValue& v) const override;
    bool ValueToBoolean(const TFieldValue& v) const override;
    TFieldValue StringToValue(const String& v) const override;
    TFieldValue LargeIntToValue(Int64 v) const override;
    TFieldValue FloatToValue(double v) const override;
    TFieldValue BooleanToValue(bool v) const override;

public:
    TFieldValue Normalize(const TFieldValue& v) const override;

private:
    TFieldValue CheckRange(Int64 v, const String& Typed) const;
    Int64 m_min;
    Int64 m_max;
};

class TLargeintField : public TIntegerField {
    VCL_CLASS(TLargeintField)
    TLargeintField(TComponent* AOwner, TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo);
};

class TFloatField : public TField {
    VCL_CLASS(TFloatField)
    using TField::TField;

protected:
    String ValueToString(const TFieldValue& v) const override;
    Int64 ValueToLargeInt(const TFieldValue& v) const override;
    double ValueToFloat(const TFieldValue& v) const override;
    TFieldValue StringToValue(const String& v) const override;
    TFieldValue LargeIntToValue(Int64 v) const override;
    TFieldValue FloatToValue(double v) const override;

public:
    TFieldValue Normalize(const TFieldValue& v) const override;
};

// Reads "True"/"False"; takes true/false, t/f, yes/no, y/n, 1/0 without case.
class TBooleanField : public TField {
    VCL_CLASS(TBooleanField)
    using TField::TField;

protected:
    String ValueToString(const TFieldValue& v) const override;
    Int64 ValueToLargeInt(const TFieldValue& v) const override;
    bool ValueToBoolean(const TFieldValue& v) const override;
    TFieldValue StringToValue(const String& v) const override;
    TFieldValue LargeIntToValue(Int64 v) const override;
    TFieldValue BooleanToValue(bool v) const override;

public:
    TFieldValue Normalize(const TFieldValue& v) const override;
};

// A TDateTime; as text "yyyy-mm-dd" or "yyyy-mm-dd hh:nn:ss", read also with a 'T' for the blank
// and with fractions of a second.
class TDateTimeField : public TField {
    VCL_CLASS(TDateTimeField)
    using TField::TField;

    TDateTime GetAsDateTime() const { return GetAsFloat(); }
    void SetAsDateTime(TDateTime v) { SetAsFloat(v); }

protected:
    String ValueToString(const TFieldValue& v) const override;
    double ValueToFloat(const TFieldValue& v) const override;
    TFieldValue StringToValue(const String& v) const override;
    TFieldValue FloatToValue(double v) const override;

public:
    TFieldValue Normalize(const TFieldValue& v) const override;
};

// The field of the kind a definition names; the data set owns it.
TField* CreateField(TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo);

// Value as a field of Def's kind stores it; raises EConvertError when it does not convert.
TFieldValue ConvertFieldValue(const TFieldDef& Def, const TFieldValue& Value);
// true/false, t/f, yes/no, y/n, 1/0 without case; false for any other text.
bool TryTextToBoolean(const String& S, bool& v);

// Date and time as the date-time field writes and reads them; false for text that is no date.
String DateTimeToFieldText(TDateTime v);
bool TryFieldTextToDateTime(const String& S, TDateTime& v);
// Decimal whole numbers only (optional sign, blanks around); false when it does not fit 64 bits.
bool TryDecimalToInt64(const String& S, Int64& v);
