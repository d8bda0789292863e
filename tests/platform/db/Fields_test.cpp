#include "platform/db/Fields.h"

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "platform/db/MemoryDataSet.h"
#include "platform/db/SQLiteTable.h"

namespace {

// One field of each kind, one row with values and one with nulls, the first row in dsEdit.
class FieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ds.AddFieldDef("s", ftString, 10);
        ds.AddFieldDef("i", ftInteger);
        ds.AddFieldDef("l", ftLargeint);
        ds.AddFieldDef("f", ftFloat);
        ds.AddFieldDef("b", ftBoolean);
        ds.AddFieldDef("d", ftDateTime);
        ds.AddFieldDef("m", ftMemo);
        ds.AddFieldDef("x", ftBlob);
        ds.AppendStoreRow({String("42"), Int64{7}, Int64{1} << 40, 2.5, true, String("2024-02-29 13:45:00"),
                           String("two\nlines"), String("\x01\x00\x02", 3)});
        ds.AppendStoreRow({});
        ds.Open();
    }
    TField* F(const char* Name) { return ds.FieldByName(Name); }

    TMemoryDataSet ds{nullptr};
};

}  // namespace

TEST_F(FieldsTest, EachKindReadsInEveryForm) {
    struct TCase {
        const char* Field;
        const char* AsString;
        const char* DisplayText;
        double AsFloat;
        bool AsBoolean;
    };
    const std::vector<TCase> cases = {
        {"s", "42", "42", 42, false},
        {"i", "7", "7", 7, true},
        {"l", "1099511627776", "1099511627776", 1099511627776.0, true},
        {"f", "2.5", "2.5", 2.5, false},
        {"b", "True", "True", 0, true},
        {"d", "2024-02-29 13:45:00", "2024-02-29 13:45:00", 0, false},
        {"m", "two\nlines", "two\nlines", 0, false},
        {"x", "", "(BLOB)", 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Field);
        TField* f = F(c.Field);
        EXPECT_FALSE(f->IsNull());
        if (String(c.Field) != "x") {
            EXPECT_EQ(f->GetAsString(), c.AsString);
        }
        EXPECT_EQ(f->GetDisplayText(), c.DisplayText);
        if (c.AsFloat != 0) {
            EXPECT_DOUBLE_EQ(f->GetAsFloat(), c.AsFloat);
        }
        if (String(c.Field) == "i" || String(c.Field) == "b") {
            EXPECT_EQ(f->GetAsBoolean(), c.AsBoolean);
        }
    }
    EXPECT_EQ(F("x")->GetAsString(), String("\x01\x00\x02", 3));
    EXPECT_EQ(F("s")->GetAsInteger(), 42);
    EXPECT_EQ(F("b")->GetAsInteger(), 1);
    EXPECT_EQ(F("f")->GetAsInteger(), 3);  // rounds half away from zero
    EXPECT_THROW(F("l")->GetAsInteger(), EConvertError);
    EXPECT_EQ(F("l")->GetAsLargeInt(), Int64{1} << 40);
    EXPECT_THROW(F("m")->GetAsInteger(), EConvertError);
    EXPECT_THROW(F("d")->GetAsBoolean(), EConvertError);
}

TEST_F(FieldsTest, NullsReadAsEmptyZeroAndFalse) {
    ds.Next();
    for (int i = 0; i < ds.GetFieldCount(); ++i) {
        TField* f = ds.Fields(i);
        SCOPED_TRACE(f->GetFieldName());
        EXPECT_TRUE(f->IsNull());
        EXPECT_EQ(f->GetAsString(), "");
        EXPECT_EQ(f->GetAsInteger(), 0);
        EXPECT_EQ(f->GetAsFloat(), 0.0);
        EXPECT_FALSE(f->GetAsBoolean());
    }
    EXPECT_EQ(F("x")->GetDisplayText(), "(blob)");
}

TEST_F(FieldsTest, WritesConvertOrRaiseAndLeaveTheFieldAsItWas) {
    struct TCase {
        const char* Field;
        std::function<void(TField*)> Write;
        const char* Expected;  // AsString afterwards; nullptr: EConvertError and the old value
    };
    const std::vector<TCase> cases = {
        {"i", [](TField* f) { f->SetAsString(" -12 "); }, "-12"},
        {"i", [](TField* f) { f->SetAsString("2147483647"); }, "2147483647"},
        {"i", [](TField* f) { f->SetAsString("2147483648"); }, nullptr},
        {"i", [](TField* f) { f->SetAsString("99999999999999999999999"); }, nullptr},
        {"i", [](TField* f) { f->SetAsString("12abc"); }, nullptr},
        {"i", [](TField* f) { f->SetAsString("$1F"); }, nullptr},
        {"i", [](TField* f) { f->SetAsString("1.5"); }, nullptr},
        {"i", [](TField* f) { f->SetAsFloat(1e12); }, nullptr},
        {"i", [](TField* f) { f->SetAsFloat(2.6); }, "3"},
        {"i", [](TField* f) { f->SetAsBoolean(true); }, "1"},
        {"l", [](TField* f) { f->SetAsString("-9223372036854775808"); }, "-9223372036854775808"},
        {"l", [](TField* f) { f->SetAsString("9223372036854775808"); }, nullptr},
        {"l", [](TField* f) { f->SetAsFloat(1e19); }, nullptr},
        {"f", [](TField* f) { f->SetAsString("1E3"); }, "1000"},
        {"f", [](TField* f) { f->SetAsString("1,5"); }, nullptr},
        {"f", [](TField* f) { f->SetAsString("inf"); }, nullptr},
        {"f", [](TField* f) { f->SetAsInteger(3); }, "3"},
        {"f", [](TField* f) { f->SetAsBoolean(true); }, nullptr},
        {"b", [](TField* f) { f->SetAsString("no"); }, "False"},
        {"b", [](TField* f) { f->SetAsString("Y"); }, "True"},
        {"b", [](TField* f) { f->SetAsString("maybe"); }, nullptr},
        {"b", [](TField* f) { f->SetAsInteger(0); }, "False"},
        {"d", [](TField* f) { f->SetAsString("2023-12-31"); }, "2023-12-31"},
        {"d", [](TField* f) { f->SetAsString("2023-12-31T23:59:59"); }, "2023-12-31 23:59:59"},
        {"d", [](TField* f) { f->SetAsString("2023-02-29"); }, nullptr},
        {"d", [](TField* f) { f->SetAsString("2023-12-31 24:00"); }, nullptr},
        {"d", [](TField* f) { f->SetAsString("31.12.2023"); }, nullptr},
        {"d", [](TField* f) { f->SetAsInteger(5); }, nullptr},
        {"s", [](TField* f) { f->SetAsInteger(-5); }, "-5"},
        {"s", [](TField* f) { f->SetAsBoolean(false); }, "False"},
        {"s", [](TField* f) { f->SetAsString("longer than its ten characters"); }, "longer than its ten characters"},
        {"m", [](TField* f) { f->SetAsFloat(0.25); }, "0.25"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(String(c.Field) + " -> " + (c.Expected ? c.Expected : "error"));
        ds.Edit();
        TField* f = F(c.Field);
        const String before = f->GetAsString();
        if (c.Expected) {
            c.Write(f);
            EXPECT_EQ(f->GetAsString(), c.Expected);
            EXPECT_TRUE(ds.GetModified());
        } else {
            EXPECT_THROW(c.Write(f), EConvertError);
            EXPECT_EQ(f->GetAsString(), before);
            EXPECT_FALSE(ds.GetModified());
            EXPECT_EQ(ds.GetState(), dsEdit);
        }
        ds.Cancel();
    }
}

TEST_F(FieldsTest, EmptyTextClearsNumbersButIsTextForStrings) {
    ds.Edit();
    for (const char* name : {"i", "l", "f", "b", "d"}) {
        F(name)->SetAsString("  ");
        EXPECT_TRUE(F(name)->IsNull()) << name;
    }
    F("s")->SetAsString("");
    EXPECT_FALSE(F("s")->IsNull());
    F("s")->Clear();
    EXPECT_TRUE(F("s")->IsNull());
    ds.Post();
    EXPECT_TRUE(IsNullValue(ds.StoreValue(0, 1)));
    EXPECT_TRUE(IsNullValue(ds.StoreValue(0, 0)));
}

TEST_F(FieldsTest, AReadOnlyFieldRefusesWrites) {
    F("s")->SetReadOnly(true);
    EXPECT_FALSE(F("s")->GetCanModify());
    ds.Edit();
    EXPECT_THROW(F("s")->SetAsString("x"), EDatabaseError);
    EXPECT_THROW(F("s")->Clear(), EDatabaseError);
    EXPECT_EQ(F("s")->GetAsString(), "42");
    EXPECT_FALSE(ds.GetModified());
}

TEST(FieldConversions, DecimalIntegersWithinSixtyFourBits) {
    struct TCase {
        const char* Text;
        bool Ok;
        Int64 Value;
    };
    const std::vector<TCase> cases = {
        {"0", true, 0}, {"+17", true, 17}, {" -17 ", true, -17},
        {"9223372036854775807", true, INT64_MAX}, {"-9223372036854775808", true, INT64_MIN},
        {"9223372036854775808", false, 0}, {"-9223372036854775809", false, 0},
        {"", false, 0}, {"-", false, 0}, {"1 2", false, 0}, {"0x10", false, 0}, {"1e3", false, 0},
    };
    for (const TCase& c : cases) {
        Int64 v = 0;
        EXPECT_EQ(TryDecimalToInt64(c.Text, v), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_EQ(v, c.Value) << c.Text;
        }
    }
}

TEST(FieldConversions, DateTextRoundTrips) {
    for (const char* text : {"1900-01-01", "1899-12-30", "2000-02-29 00:00:01", "9999-12-31 23:59:59", "0001-01-01"}) {
        TDateTime d;
        ASSERT_TRUE(TryFieldTextToDateTime(text, d)) << text;
        EXPECT_EQ(DateTimeToFieldText(d), text);
    }
    TDateTime d;
    ASSERT_TRUE(TryFieldTextToDateTime("2024-01-01 10:00:00.250", d));
    EXPECT_NEAR(d, EncodeDate(2024, 1, 1) + EncodeTime(10, 0, 0, 250), 1e-9);
    ASSERT_TRUE(TryFieldTextToDateTime("2024-01-01T10:00:59.9996", d));
    EXPECT_EQ(DateTimeToFieldText(d), "2024-01-01 10:01:00");
    for (const char* bad : {"", "2024-13-01", "2024-04-31", "2024-1-1", "2024-01-01 10", "2024-01-01 10:00:60",
                            "2024-01-01 10:00:00.", "2024-01-01 10:00:00,5", "1900-02-29"})
        EXPECT_FALSE(TryFieldTextToDateTime(bad, d)) << bad;
}

TEST(FieldConversions, DeclaredTypesChooseTheKinds) {
    struct TCase {
        const char* Declared;
        TFieldType Kind;
        int Size;
    };
    const std::vector<TCase> cases = {
        {"INTEGER", ftLargeint, 0},    {"integer", ftLargeint, 0},      {"BIGINT", ftLargeint, 0},
        {"INT", ftInteger, 0},         {"SMALLINT", ftInteger, 0},      {"UNSIGNED BIG INT", ftLargeint, 0},
        {"VARCHAR(40)", ftString, 40}, {"NVARCHAR(8)", ftString, 8},    {"TEXT", ftString, 0},
        {"CHARINT", ftInteger, 0},     {"CLOB", ftMemo, 0},             {"MEMO", ftMemo, 0},
        {"BLOB", ftBlob, 0},           {"REAL", ftFloat, 0},            {"DOUBLE PRECISION", ftFloat, 0},
        {"NUMERIC(10,2)", ftFloat, 0}, {"DECIMAL", ftFloat, 0},         {"BOOLEAN", ftBoolean, 0},
        {"DATETIME", ftDateTime, 0},   {"DATE", ftDateTime, 0},         {"TIMESTAMP", ftDateTime, 0},
        {"", ftString, 0},             {"whatever", ftString, 0},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(FieldTypeForDeclaredType(c.Declared), c.Kind) << c.Declared;
        if (c.Kind == ftString) {
            EXPECT_EQ(DeclaredSize(c.Declared), c.Size) << c.Declared;
        }
    }
}
