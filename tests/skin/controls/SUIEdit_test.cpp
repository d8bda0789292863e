#include "skin/controls/SUIEdit.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "skin/controls/SUIControlLook.h"
#include "skin/core/SUIMgr.h"
#include "tests/support/TestHelpers.h"

using namespace testing_vcl;

namespace {

// The number separators of a locale for the time of a test.
class TSeparatorsScope {
public:
    TSeparatorsScope(const String& Decimal, const String& Thousands) : m_saved(FormatSettings) {
        FormatSettings.DecimalSeparator = Decimal;
        FormatSettings.ThousandSeparator = Thousands;
    }
    ~TSeparatorsScope() { FormatSettings = m_saved; }

private:
    TFormatSettings m_saved;
};

TColor LookBorder(TsuiUIStyle Look) { return SUIControlColors(TsuiThemeValues(nullptr, Look)).BorderColor; }

class SkinEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        separators = std::make_unique<TSeparatorsScope>(".", ",");  // an English locale
        oldBeep = Win32_SetMessageBeepHook([this](UINT) { ++beeps; });
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 320, 200);
        form->Show();
        other = new TEdit(form);
        other->SetParent(form);
        other->SetTop(150);
    }
    void TearDown() override {
        delete form;
        Win32_SetMessageBeepHook(oldBeep);
        separators.reset();
    }
    template <class T>
    T* Make(int Top = 10) {
        auto* c = new T(form);
        c->SetParent(form);
        c->SetBounds(10, Top, 120, 22);
        return c;
    }
    void Type(const String& Keys) { TypeText(form, Keys); }

    std::unique_ptr<TSeparatorsScope> separators;
    Win32BeepHook oldBeep;
    int beeps = 0;
    TForm* form = nullptr;
    TEdit* other = nullptr;
};

TEST_F(SkinEditTest, EditsPaintTheLooksBorderInTheirBorderWidth) {
    auto* edit = Make<TsuiEdit>();
    auto* mask = Make<TsuiMaskEdit>(40);
    for (TWinControl* c : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(mask)}) {
        EXPECT_EQ(c->GetBorderWidth(), 2);
    }
    EXPECT_EQ(edit->GetUIStyle(), DeepBlue);  // no skinned form: the default look
    for (TsuiUIStyle look : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        edit->SetUIStyle(look);
        mask->SetUIStyle(look);
        edit->SetColor(clWhite);
        EXPECT_EQ(PixelAt(edit, 0, 0), LookBorder(look)) << look;
        EXPECT_EQ(PixelAt(edit, 60, edit->GetHeight() - 1), LookBorder(look)) << look;
        EXPECT_EQ(PixelAt(edit, 1, 5), clWhite) << look;  // the inner frame in the edit's colour
        EXPECT_EQ(PixelAt(mask, 119, 10), LookBorder(look)) << look;
    }
    // A colour set after the look wins.
    edit->SetBorderColor(0x7F7F7F);
    EXPECT_EQ(PixelAt(edit, 0, 0), 0x7F7F7F);
}

TEST_F(SkinEditTest, TimeMaskEditReadsBlanksAsSpaces) {
    auto* mask = Make<TsuiMaskEdit>();
    mask->SetEditMask("!90:00:00;1;_");
    mask->SetMaxLength(8);
    EXPECT_EQ(mask->GetText(), "  :  :  ");
    mask->SetFocus();
    Type("0102x03");
    EXPECT_EQ(mask->GetText(), "01:02:03");
    EXPECT_EQ(beeps, 1);
}

// ---- number edit ----

TEST(NumberEditKeys, FilterTable) {
    TSeparatorsScope english(".", ",");
    struct Case {
        char key;
        const char* mask;
        const char* text;
        int selStart;
        bool accepted;
    } cases[] = {
        {'7', "0.00", "1.00", 4, true},       {'.', "0.00", "100", 3, true},
        {'.', "0.00", "1.00", 1, false},      {'\b', "0.00", "1.00", 2, true},
        {'-', "0.00", "1.00", 0, false},      {'-', "-0.00", "1.00", 0, true},
        {'-', "-0.00", "1.00", 1, false},     {'-', "-0.00", "-1.00", 0, false},
        {',', "#,##0.00", "1.00", 1, false},  {'a', "0.00", "", 0, false},
        {'.', "0", "1", 1, false},            {'\r', "0.00", "", 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUINumberEditAcceptsKey(c.key, c.mask, c.text, c.selStart), c.accepted)
            << "'" << c.key << "' " << c.mask << " " << c.text;
}

TEST_F(SkinEditTest, NumberEditDefaultsAndEntrySelection) {
    auto* n = Make<TsuiNumberEdit>();
    EXPECT_EQ(n->GetText(), "0.00");
    EXPECT_EQ(n->GetValue(), 0);
    n->SetValue(12.5);
    n->SetFocus();
    EXPECT_EQ(n->GetSelStart(), 3);  // "12.50": the last two characters
    EXPECT_EQ(n->GetSelLength(), 2);
    Type("7");
    EXPECT_EQ(n->GetText(), "12.7");
    EXPECT_DOUBLE_EQ(n->GetValue(), 12.7);
    beeps = 0;
    Type(".-");
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(n->GetText(), "12.7");
    other->SetFocus();
    EXPECT_EQ(n->GetText(), "12.70");
}

TEST_F(SkinEditTest, NumberEditFiresOnChangeTwiceForCodeAndOnceForAKey) {
    auto* n = Make<TsuiNumberEdit>();
    int changes = 0;
    n->OnChange = [&](TObject*) { ++changes; };
    n->SetValue(3);
    EXPECT_EQ(changes, 2);
    n->SetFocus();
    n->SetSelStart(4);
    changes = 0;
    Type("1");
    EXPECT_EQ(changes, 1);
}

TEST_F(SkinEditTest, NumberEditLeavingEmptyShowsZeroAndLettersBringTheLastValueBack) {
    auto* n = Make<TsuiNumberEdit>();
    n->SetValue(4.25);
    n->SetFocus();
    n->SelectAll();
    PressKey(form, VK_BACK, {}, "\b");
    EXPECT_EQ(n->GetText(), "");
    other->SetFocus();
    EXPECT_EQ(n->GetText(), "0.00");
    EXPECT_EQ(n->GetValue(), 0);

    n->SetValue(4.25);
    n->SetFocus();
    n->SelectAll();
    Clipboard()->SetAsText("abc");
    n->PasteFromClipboard();  // not a number: the value stays, the text comes back
    EXPECT_EQ(n->GetText(), "4.25");
    // Text no parser takes, left as is: leaving keeps the last good value instead of raising.
    n->SetText("1.2.3");
    EXPECT_NO_THROW(other->SetFocus());
    EXPECT_EQ(n->GetText(), "4.25");
    EXPECT_DOUBLE_EQ(n->GetValue(), 4.25);
    n->SetText("1,234.5");
    EXPECT_DOUBLE_EQ(n->GetValue(), 1234.5);
}

// A German locale: ',' is typed for the decimals and shown, '.' groups thousands and is dropped.
TEST(NumberEditKeys, TheDecimalKeyIsTheLocalesOwn) {
    TSeparatorsScope german(",", ".");
    const struct {
        char key;
        const char* text;
        bool accepted;
    } cases[] = {{',', "100", true}, {',', "1,5", false}, {'.', "100", false}, {'7', "1,5", true}};
    for (const auto& c : cases)
        EXPECT_EQ(SUINumberEditAcceptsKey(c.key, "0.00", c.text, 1), c.accepted) << c.key << " " << c.text;
}

TEST_F(SkinEditTest, NumberEditShowsAndReadsTheLocalesSeparators) {
    const struct {
        const char* decimal;
        const char* thousands;
        const char* mask;
        double value;
        const char* shown;
        const char* typed;
        double read;
    } cases[] = {
        {",", ".", "#,##0.00", 1234.5, "1.234,50", "2.345,75", 2345.75},
        {".", ",", "#,##0.00", 1234.5, "1,234.50", "2,345.75", 2345.75},
        {",", "\xE2\x80\xAF", "#,##0.00", 1234.5, "1\xE2\x80\xAF" "234,50", "9\xE2\x80\xAF" "000,5", 9000.5},
        {".", "", "#,##0.00", 1234.5, "1234.50", "77.25", 77.25},
    };
    for (const auto& c : cases) {
        TSeparatorsScope locale(c.decimal, c.thousands);
        auto* n = Make<TsuiNumberEdit>();
        n->SetMask(c.mask);
        n->SetValue(c.value);
        EXPECT_EQ(n->GetText(), c.shown) << c.decimal;
        n->SetText(c.typed);
        EXPECT_DOUBLE_EQ(n->GetValue(), c.read) << c.typed;
        n->SetFocus();
        other->SetFocus();
        EXPECT_DOUBLE_EQ(n->GetValue(), c.read) << "leaving keeps " << c.typed;
        delete n;
    }
}

// ---- spin buttons and spin edit ----

TEST(SpinRules, CheckValueTextValueAndValidChars) {
    struct Clamp {
        Int64 v;
        int min, max, want;
    } clamps[] = {{75, 0, 59, 59}, {-3, 0, 59, 0}, {30, 0, 59, 30}, {1000, 0, 0, 1000}, {-1000, 0, 0, -1000},
                  {Int64(INT_MAX) + 1, 0, 0, INT_MAX}, {Int64(INT_MIN) - 1, 5, 999, 5}, {Int64(INT_MIN) - 1, 0, 0, INT_MIN}};
    for (const Clamp& c : clamps) EXPECT_EQ(SUISpinCheckValue(c.v, c.min, c.max), c.want) << c.v;
    EXPECT_EQ(SUISpinTextValue("42", 5), 42);
    EXPECT_EQ(SUISpinTextValue("-7", 5), -7);
    EXPECT_EQ(SUISpinTextValue("abc", 5), 5);
    EXPECT_EQ(SUISpinTextValue("", 5), 5);
    EXPECT_EQ(SUISpinTextValue("$1F", 5), 5);
    EXPECT_EQ(SUISpinTextValue("99999999999", 5), 5);
    struct Valid {
        char key;
        bool enabled, disabled;
    } keys[] = {{'5', true, false}, {'-', true, false}, {'\b', true, false}, {'\r', false, false},
                {'\x03', true, true}, {'.', false, false}, {'+', false, false}, {'a', false, false}};
    for (const Valid& k : keys) {
        EXPECT_EQ(SUISpinIsValidChar(k.key, true), k.enabled) << int(k.key);
        EXPECT_EQ(SUISpinIsValidChar(k.key, false), k.disabled) << int(k.key);
    }
}

TEST(SpinRules, ButtonLayout) {
    struct Case {
        int w, h;
        TRect up, down;
        int width;
    } cases[] = {
        {20, 25, Bounds(0, 0, 20, 13), Bounds(0, 12, 20, 13), 20},
        {10, 20, Bounds(0, 0, 15, 11), Bounds(0, 10, 15, 10), 15},
        {15, 0, Bounds(0, 0, 15, 1), Bounds(0, 0, 15, 0), 15},
        {15, 1, Bounds(0, 0, 15, 1), Bounds(0, 0, 15, 1), 15},
    };
    for (const Case& c : cases) {
        TsuiSpinButtonsLayout l = SUISpinButtonsLayout(c.w, c.h);
        EXPECT_EQ(l.Up, c.up) << c.w << "x" << c.h;
        EXPECT_EQ(l.Down, c.down) << c.w << "x" << c.h;
        EXPECT_EQ(l.Width, c.width);
    }
    EXPECT_EQ(SUISpinButtonsBounds(121, 21, 2, 15), Bounds(104, 2, 15, 17));
}

TEST_F(SkinEditTest, SpinButtonsGivenTooNarrowAWidthEndUpFifteenWide) {
    auto* b = new TsuiSpinButtons(form);
    b->SetParent(form);
    b->SetBounds(5, 5, 10, 30);
    EXPECT_EQ(b->GetWidth(), 15);
    EXPECT_EQ(b->UpButton()->GetWidth(), 15);
}

TEST_F(SkinEditTest, SpinEditClampsOnSetAndOnLeaving) {
    auto* s = Make<TsuiSpinEdit>();
    EXPECT_EQ(s->GetText(), "0");
    s->SetMaxValue(59);
    s->SetValue(75);
    EXPECT_EQ(s->GetText(), "59");
    s->SetValue(-3);
    EXPECT_EQ(s->GetText(), "0");
    s->SetFocus();
    s->SelectAll();
    Type("75");
    EXPECT_EQ(s->GetText(), "75");
    other->SetFocus();
    EXPECT_EQ(s->GetText(), "59");
    s->SetText("abc");
    EXPECT_EQ(s->GetValue(), 0);
    s->SetMinValue(5);
    s->SetMaxValue(5);
    s->SetValue(-1000);  // Min = Max: no clamping
    EXPECT_EQ(s->GetValue(), -1000);
}

TEST_F(SkinEditTest, SpinEditArrowsAndButtonsStepByTheIncrement) {
    auto* s = Make<TsuiSpinEdit>();
    s->SetMaxValue(10);
    s->SetIncrement(3);
    s->SetFocus();
    PressKey(form, VK_UP);
    PressKey(form, VK_UP);
    EXPECT_EQ(s->GetValue(), 6);
    PressKey(form, VK_UP);
    PressKey(form, VK_UP);
    EXPECT_EQ(s->GetValue(), 10);
    PressKey(form, VK_DOWN);
    EXPECT_EQ(s->GetValue(), 7);
    Click(s->Button()->UpButton());
    EXPECT_EQ(s->GetValue(), 10);
    Click(s->Button()->DownButton());
    EXPECT_EQ(s->GetValue(), 7);
    // Without a range the step stops at the int32 end instead of wrapping.
    s->SetMaxValue(0);
    s->SetValue(INT_MAX - 1);
    PressKey(form, VK_UP);
    EXPECT_EQ(s->GetValue(), INT_MAX);
}

TEST_F(SkinEditTest, HoldingASpinButtonRepeatsThenTheReleaseClicks) {
    auto* s = Make<TsuiSpinEdit>();
    TsuiArrowButton* up = s->Button()->UpButton();
    MousePress(up, 5, 3);
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_EQ(up->RepeatTimer()->GetInterval(), 400u);
    up->RepeatTimer()->OnTimer(up->RepeatTimer());
    up->RepeatTimer()->OnTimer(up->RepeatTimer());
    EXPECT_EQ(s->GetValue(), 2);
    MouseRelease(up, 5, 3);
    EXPECT_EQ(s->GetValue(), 3);
}

TEST_F(SkinEditTest, SpinEditWithTheEditorDisabledStepsButRefusesTyping) {
    auto* s = Make<TsuiSpinEdit>();
    s->SetEditorEnabled(false);
    s->SetFocus();
    s->SelectAll();
    Type("4");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(s->GetText(), "0");
    PressKey(form, VK_BACK, {}, "\b");
    EXPECT_EQ(s->GetText(), "0");
    PressKey(form, VK_UP);
    EXPECT_EQ(s->GetValue(), 1);
    Clipboard()->SetAsText("9");
    s->SelectAll();
    s->PasteFromClipboard();
    s->CutToClipboard();
    EXPECT_EQ(s->GetText(), "1");
    s->SetReadOnly(true);
    beeps = 0;
    PressKey(form, VK_UP);
    Click(s->Button()->DownButton());
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(s->GetValue(), 1);
}

TEST_F(SkinEditTest, SpinEditPastedLettersReadMinValue) {
    auto* s = Make<TsuiSpinEdit>();
    s->SetMinValue(5);
    s->SetMaxValue(999);
    s->SetFocus();
    s->SelectAll();
    Clipboard()->SetAsText("ab");
    s->PasteFromClipboard();
    EXPECT_EQ(s->GetText(), "ab");
    EXPECT_EQ(s->GetValue(), 5);
}

TEST_F(SkinEditTest, SpinEditButtonsSitInsideTheBorderAndTextStopsBeforeThem) {
    auto* s = Make<TsuiSpinEdit>();
    s->SetBounds(10, 10, 121, 21);
    EXPECT_EQ(s->Button()->GetBoundsRect(), Bounds(104, 2, 15, 17));
    TRect r = s->GetEditRect();
    EXPECT_EQ(r.Right, 121 - 4 - 15 - 2);
    EXPECT_EQ(s->Button()->GetUIStyle(), s->GetUIStyle());
    s->SetUIStyle(WinXP);
    EXPECT_EQ(s->Button()->GetUIStyle(), WinXP);
}

}  // namespace
