#include "platform/db/Fields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

#include "platform/db/DataSet.h"

namespace {

constexpr Int64 kIntegerMin = std::numeric_limits<std::int32_t>::min();
constexpr Int64 kIntegerMax = std::numeric_limits<std::int32_t>::max();
constexpr Int64 kLargeMin = std::numeric_limits<Int64>::min();
constexpr Int64 kLargeMax = std::numeric_limits<Int64>::max();

template <class T>
T ValueOr(const TFieldValue& v, T Default) {
    const T* p = std::get_if<T>(&v);
    return p ? *p : Default;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

// Reads Count digits at Pos into v; false unless all are digits.
bool ReadDigits(const String& s, size_t Pos, size_t Count, int& v) {
    if (Pos + Count > s.size()) return false;
    v = 0;
    for (size_t i = Pos; i < Pos + Count; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    return true;
}

}  // namespace

// ---- free helpers ----

bool TryTextToBoolean(const String& S, bool& v) {
    String t = LowerCase(Trim(S));
    if (t == "true" || t == "t" || t == "yes" || t == "y" || t == "1") { v = true; return true; }
    if (t == "false" || t == "f" || t == "no" || t == "n" || t == "0") { v = false; return true; }
    return false;
}

TFieldValue ConvertFieldValue(const TFieldDef& Def, const TFieldValue& Value) {
    std::unique_ptr<TField> field(CreateField(nullptr, Def, 0));
    return field->Normalize(Value);
}

bool TryDecimalToInt64(const String& S, Int64& v) {
    String t = Trim(S);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i == t.size()) return false;
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return false;
        unsigned digit = static_cast<unsigned>(t[i] - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    v = negative ? static_cast<Int64>(0 - magnitude) : static_cast<Int64>(magnitude);
    return true;
}

String DateTimeToFieldText(TDateTime v) {
    Word y, mo, d, h, mi, s, ms;
    // Round to the second first, so 23:59:59.9996 does not print as 24:00:00 of the same day.
    TDateTime rounded = std::round(v * 86400.0) / 86400.0;
    DecodeDate(rounded, y, mo, d);
    DecodeTime(rounded, h, mi, s, ms);
    char buf[64];
    if (h == 0 && mi == 0 && s == 0)
        std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", unsigned(y), unsigned(mo), unsigned(d));
    else
        std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", unsigned(y), unsigned(mo), unsigned(d),
                      unsigned(h), unsigned(mi), unsigned(s));
    return buf;
}

bool TryFieldTextToDateTime(const String& S, TDateTime& v) {
    String t = Trim(S);
    int y, mo, d, h = 0, mi = 0, s = 0, ms = 0;
    if (!ReadDigits(t, 0, 4, y) || t.size() < 10 || t[4] != '-' || !ReadDigits(t, 5, 2, mo) || t[7] != '-' ||
        !ReadDigits(t, 8, 2, d))
        return false;
    if (t.size() > 10) {
        if ((t[10] != ' ' && t[10] != 'T') || !ReadDigits(t, 11, 2, h) || t.size() < 16 || t[13] != ':' ||
            !ReadDigits(t, 14, 2, mi))
            return false;
        if (t.size() > 16 && (t[16] != ':' || t.size() < 19 || !ReadDigits(t, 17, 2, s))) return false;
        // Fractions of a second, as SQLite's strftime('%f') writes them, are kept to the millisecond.
        if (t.size() > 19) {
            if (t[19] != '.' || t.size() == 20) return false;
            for (size_t i = 20; i < t.size(); ++i) {
                if (t[i] < '0' || t[i] > '9') return false;
                if (i < 23) ms = ms * 10 + (t[i] - '0');
            }
            for (size_t i = std::min<size_t>(t.size(), 23); i < 23; ++i) ms *= 10;
        }
    }
    if (y < 1 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h > 23 || mi > 59 || s > 59) return false;
    v = EncodeDate(Word(y), Word(mo), Word(d)) + EncodeTime(Word(h), Word(mi), Word(s), Word(ms));
    return true;
}

TField* CreateField(TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo) {
    switch (Def.DataType) {
    case ftInteger: return new TIntegerField(ADataSet, ADataSet, Def, AFieldNo);
    case ftLargeint: return new TLargeintField(ADataSet, ADataSet, Def, AFieldNo);
    case ftFloat: return new TFloatField(ADataSet, ADataSet, Def, AFieldNo);
    case ftBoolean: return new TBooleanField(ADataSet, ADataSet, Def, AFieldNo);
    case ftDateTime: return new TDateTimeField(ADataSet, ADataSet, Def, AFieldNo);
    case ftMemo: return new TMemoField(ADataSet, ADataSet, Def, AFieldNo);
    case ftBlob: return new TBlobField(ADataSet, ADataSet, Def, AFieldNo);
    case ftString:
    case ftUnknown: break;
    }
    return new TStringField(ADataSet, ADataSet, Def, AFieldNo);
}

// ---- TField ----

TField::TField(TComponent* AOwner, TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo)
    : TComponent(AOwner),
      m_dataSet(ADataSet),
      m_fieldName(Def.Name),
      m_dataType(Def.DataType),
      m_fieldNo(AFieldNo),
      m_size(Def.Size),
      m_required(Def.Required),
      m_readOnly(Def.ReadOnly) {}

bool TField::GetCanModify() const {
    return !m_readOnly && m_dataSet && m_dataSet->GetActive() && m_dataSet->GetCanModify();
}

TFieldValue TField::GetValue() const { return m_dataSet ? m_dataSet->GetFieldValue(m_fieldNo) : TFieldValue{}; }

bool TField::IsNull() const { return IsNullValue(GetValue()); }

void TField::CheckCanWrite() const {
    if (!m_dataSet) throw EDatabaseError("Field '" + m_fieldName + "' has no data set");
    m_dataSet->CheckFieldWritable(this);
}

void TField::Store(const TFieldValue& v) { m_dataSet->SetFieldValue(this, v); }

void TField::Clear() {
    CheckCanWrite();
    Store(TFieldValue{});
}

void TField::SetValue(const TFieldValue& v) {
    CheckCanWrite();
    Store(Normalize(v));
}

String TField::GetAsString() const {
    TFieldValue v = GetValue();
    return IsNullValue(v) ? String() : ValueToString(v);
}

void TField::SetAsString(const String& v) {
    CheckCanWrite();
    Store(StringToValue(v));
}

Int64 TField::GetAsLargeInt() const {
    TFieldValue v = GetValue();
    return IsNullValue(v) ? 0 : ValueToLargeInt(v);
}

void TField::SetAsLargeInt(Int64 v) {
    CheckCanWrite();
    Store(LargeIntToValue(v));
}

int TField::GetAsInteger() const {
    Int64 v = GetAsLargeInt();
    if (v < kIntegerMin || v > kIntegerMax)
        throw EConvertError(IntToStr(v) + " does not fit an integer (field '" + m_fieldName + "')");
    return static_cast<int>(v);
}

void TField::SetAsInteger(int v) { SetAsLargeInt(v); }

double TField::GetAsFloat() const {
    TFieldValue v = GetValue();
    return IsNullValue(v) ? 0.0 : ValueToFloat(v);
}

void TField::SetAsFloat(double v) {
    CheckCanWrite();
    Store(FloatToValue(v));
}

bool TField::GetAsBoolean() const {
    TFieldValue v = GetValue();
    return IsNullValue(v) ? false : ValueToBoolean(v);
}

void TField::SetAsBoolean(bool v) {
    CheckCanWrite();
    Store(BooleanToValue(v));
}

String TField::ValueToText(const TFieldValue& v, bool) const { return IsNullValue(v) ? String() : ValueToString(v); }

void TField::ConvertError(const String& TypeName) const {
    throw EConvertError("Field '" + m_fieldName + "' cannot be read or written as " + TypeName);
}

Int64 TField::ValueToLargeInt(const TFieldValue&) const { ConvertError("an integer"); }
double TField::ValueToFloat(const TFieldValue&) const { ConvertError("a float"); }
bool TField::ValueToBoolean(const TFieldValue&) const { ConvertError("a boolean"); }
TFieldValue TField::LargeIntToValue(Int64) const { ConvertError("an integer"); }
TFieldValue TField::FloatToValue(double) const { ConvertError("a float"); }
TFieldValue TField::BooleanToValue(bool) const { ConvertError("a boolean"); }

TFieldValue TField::Normalize(const TFieldValue& v) const {
    if (IsNullValue(v)) return v;
    if (auto s = std::get_if<String>(&v)) return StringToValue(*s);
    if (auto i = std::get_if<Int64>(&v)) return LargeIntToValue(*i);
    if (auto f = std::get_if<double>(&v)) return FloatToValue(*f);
    return BooleanToValue(std::get<bool>(v));
}

// ---- TStringField ----

String TStringField::ValueToString(const TFieldValue& v) const { return ValueOr<String>(v, String()); }

Int64 TStringField::ValueToLargeInt(const TFieldValue& v) const {
    Int64 n;
    if (!TryDecimalToInt64(ValueToString(v), n))
        throw EConvertError("'" + ValueToString(v) + "' is not a valid integer value");
    return n;
}

double TStringField::ValueToFloat(const TFieldValue& v) const { return StrToFloat(ValueToString(v)); }

bool TStringField::ValueToBoolean(const TFieldValue& v) const {
    bool b;
    if (!TryTextToBoolean(ValueToString(v), b))
        throw EConvertError("'" + ValueToString(v) + "' is not a valid boolean value");
    return b;
}

TFieldValue TStringField::StringToValue(const String& v) const { return v; }
TFieldValue TStringField::LargeIntToValue(Int64 v) const { return IntToStr(v); }
TFieldValue TStringField::FloatToValue(double v) const { return FloatToStr(v); }
TFieldValue TStringField::BooleanToValue(bool v) const { return String(v ? "True" : "False"); }

TFieldValue TStringField::Normalize(const TFieldValue& v) const {
    // Bytes stay bytes: no kind of text conversion runs over a string's content.
    if (std::holds_alternative<String>(v)) return v;
    return TField::Normalize(v);
}

// ---- TBlobField ----

String TBlobField::ValueToText(const TFieldValue& v, bool) const { return IsNullValue(v) ? "(blob)" : "(BLOB)"; }

// ---- TIntegerField and TLargeintField ----

TIntegerField::TIntegerField(TComponent* AOwner, TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo)
    : TIntegerField(AOwner, ADataSet, Def, AFieldNo, kIntegerMin, kIntegerMax) {}

TIntegerField::TIntegerField(TComponent* AOwner, TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo, Int64 AMin,
                             Int64 AMax)
    : TField(AOwner, ADataSet, Def, AFieldNo), m_min(AMin), m_max(AMax) {}

TLargeintField::TLargeintField(TComponent* AOwner, TDataSet* ADataSet, const TFieldDef& Def, int AFieldNo)
    : TIntegerField(AOwner, ADataSet, Def, AFieldNo, kLargeMin, kLargeMax) {}

TFieldValue TIntegerField::CheckRange(Int64 v, const String& Typed) const {
    if (v < m_min || v > m_max)
        throw EConvertError(Typed + " is out of range for field '" + GetFieldName() + "' (" + IntToStr(m_min) +
                            " to " + IntToStr(m_max) + ")");
    return v;
}

String TIntegerField::ValueToString(const TFieldValue& v) const { return IntToStr(ValueOr<Int64>(v, 0)); }
Int64 TIntegerField::ValueToLargeInt(const TFieldValue& v) const { return ValueOr<Int64>(v, 0); }
double TIntegerField::ValueToFloat(const TFieldValue& v) const { return static_cast<double>(ValueOr<Int64>(v, 0)); }
bool TIntegerField::ValueToBoolean(const TFieldValue& v) const { return ValueOr<Int64>(v, 0) != 0; }

TFieldValue TIntegerField::StringToValue(const String& v) const {
    if (Trim(v).empty()) return TFieldValue{};
    Int64 n;
    if (!TryDecimalToInt64(v, n)) {
        // Digits that overflow 64 bits are a number out of range, not a malformed one.
        String t = Trim(v);
        bool digits = !t.empty() && t.find_first_not_of("+-0123456789") == String::npos;
        if (digits) throw EConvertError(t + " is out of range for field '" + GetFieldName() + "'");
        throw EConvertError("'" + v + "' is not a valid integer value for field '" + GetFieldName() + "'");
    }
    return CheckRange(n, Trim(v));
}

TFieldValue TIntegerField::LargeIntToValue(Int64 v) const { return CheckRange(v, IntToStr(v)); }

TFieldValue TIntegerField::FloatToValue(double v) const {
    // 2^63 is the first double past Int64's range.
    if (!std::isfinite(v) || std::round(v) < -9223372036854775808.0 || std::round(v) >= 9223372036854775808.0)
        throw EConvertError(FloatToStr(v) + " is out of range for field '" + GetFieldName() + "'");
    return CheckRange(static_cast<Int64>(std::llround(v)), FloatToStr(v));
}

TFieldValue TIntegerField::BooleanToValue(bool v) const { return Int64{v ? 1 : 0}; }

TFieldValue TIntegerField::Normalize(const TFieldValue& v) const {
    if (auto i = std::get_if<Int64>(&v)) return CheckRange(*i, IntToStr(*i));
    return TField::Normalize(v);
}

// ---- TFloatField ----

String TFloatField::ValueToString(const TFieldValue& v) const { return FloatToStr(ValueOr<double>(v, 0.0)); }

Int64 TFloatField::ValueToLargeInt(const TFieldValue& v) const {
    double d = std::round(ValueOr<double>(v, 0.0));
    if (!std::isfinite(d) || d < -9223372036854775808.0 || d >= 9223372036854775808.0)
        throw EConvertError(FloatToStr(d) + " does not fit an integer (field '" + GetFieldName() + "')");
    return static_cast<Int64>(d);
}

double TFloatField::ValueToFloat(const TFieldValue& v) const { return ValueOr<double>(v, 0.0); }

TFieldValue TFloatField::StringToValue(const String& v) const {
    if (Trim(v).empty()) return TFieldValue{};
    double d;
    if (!TryStrToFloat(v, d) || !std::isfinite(d))
        throw EConvertError("'" + v + "' is not a valid floating point value for field '" + GetFieldName() + "'");
    return d;
}

TFieldValue TFloatField::LargeIntToValue(Int64 v) const { return static_cast<double>(v); }

TFieldValue TFloatField::FloatToValue(double v) const {
    if (!std::isfinite(v)) throw EConvertError(FloatToStr(v) + " is no value for field '" + GetFieldName() + "'");
    return v;
}

TFieldValue TFloatField::Normalize(const TFieldValue& v) const {
    if (auto d = std::get_if<double>(&v)) return FloatToValue(*d);
    return TField::Normalize(v);
}

// ---- TBooleanField ----

String TBooleanField::ValueToString(const TFieldValue& v) const { return ValueOr<bool>(v, false) ? "True" : "False"; }
Int64 TBooleanField::ValueToLargeInt(const TFieldValue& v) const { return ValueOr<bool>(v, false) ? 1 : 0; }
bool TBooleanField::ValueToBoolean(const TFieldValue& v) const { return ValueOr<bool>(v, false); }

TFieldValue TBooleanField::StringToValue(const String& v) const {
    if (Trim(v).empty()) return TFieldValue{};
    bool b;
    if (!TryTextToBoolean(v, b))
        throw EConvertError("'" + v + "' is not a valid boolean value for field '" + GetFieldName() + "'");
    return b;
}

TFieldValue TBooleanField::LargeIntToValue(Int64 v) const { return v != 0; }
TFieldValue TBooleanField::BooleanToValue(bool v) const { return v; }

TFieldValue TBooleanField::Normalize(const TFieldValue& v) const {
    if (std::holds_alternative<bool>(v)) return v;
    return TField::Normalize(v);
}

// ---- TDateTimeField ----

String TDateTimeField::ValueToString(const TFieldValue& v) const { return DateTimeToFieldText(ValueOr<double>(v, 0.0)); }
double TDateTimeField::ValueToFloat(const TFieldValue& v) const { return ValueOr<double>(v, 0.0); }

TFieldValue TDateTimeField::StringToValue(const String& v) const {
    if (Trim(v).empty()) return TFieldValue{};
    TDateTime d;
    if (!TryFieldTextToDateTime(v, d))
        throw EConvertError("'" + v + "' is not a valid date and time for field '" + GetFieldName() + "'");
    return d;
}

TFieldValue TDateTimeField::FloatToValue(double v) const {
    // Year 1 to 9999, the range the text form can spell.
    if (!std::isfinite(v) || v < -693593.0 || v >= 2958466.0)
        throw EConvertError(FloatToStr(v) + " is no date for field '" + GetFieldName() + "'");
    return v;
}

TFieldValue TDateTimeField::Normalize(const TFieldValue& v) const {
    if (auto d = std::get_if<double>(&v)) return FloatToValue(*d);
    return TField::Normalize(v);
}
