#include "platform/vcl/Mask.h"

#include <gtest/gtest.h>

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::PressKey;

class MaskEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldBeep = Win32_SetMessageBeepHook([this](UINT) { ++beeps; });
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 100);
        edit = new TMaskEdit(form);
        edit->SetParent(form);
        edit->SetEditMask("!90:00:00;1;_");
        other = new TEdit(form);
        other->SetParent(form);
        other->SetTop(50);
        edit->OnChange = [this](TObject*) { ++changes; };
        form->Show();
        edit->SetFocus();
        beeps = changes = 0;
    }
    void TearDown() override {
        delete form;
        Win32_SetMessageBeepHook(oldBeep);
    }

    // Each character a key press ('<' backspace, '>' delete, '{' home, '}' right arrow).
    void Keys(const String& keys) {
        for (char k : keys) {
            switch (k) {
                case '<': PressKey(form, VK_BACK, {}, "\b"); break;
                case '>': PressKey(form, VK_DELETE); break;
                case '{': PressKey(form, VK_HOME); break;
                case '}': PressKey(form, VK_RIGHT); break;
                default: PressKey(form, static_cast<Word>(std::toupper(static_cast<unsigned char>(k))), {}, String(1, k));
            }
        }
    }

    Win32BeepHook oldBeep;
    TForm* form = nullptr;
    TMaskEdit* edit = nullptr;
    TEdit* other = nullptr;
    int beeps = 0;
    int changes = 0;
};

TEST_F(MaskEditTest, AnEmptyTimeMaskShowsBlanksAndReadsSpaces) {
    EXPECT_EQ(edit->GetEditText(), "__:__:__");
    EXPECT_EQ(edit->GetText(), "  :  :  ");
    EXPECT_EQ(static_cast<TControl*>(edit)->GetText(), "  :  :  ");
}

TEST_F(MaskEditTest, KeysOnTheTimeMask) {
    struct Case {
        const char* start;  // Text set before the keys
        int caret;          // -1: everything selected (as on entry)
        const char* keys;
        const char* editText;
        const char* text;
        int caretAfter;
        int beeps;
        bool leavesCleanly;
    } cases[] = {
        {"", -1, "123456", "12:34:56", "12:34:56", 8, 0, true},
        {"", -1, "1", "1_:__:__", "1 :  :  ", 1, 0, false},
        {"", -1, "12x", "12:__:__", "12:  :  ", 3, 1, false},
        {"", -1, "1:2", "1_:2_:__", "1 :2 :  ", 4, 0, false},
        {"01:02:03", 0, "9", "91:02:03", "91:02:03", 1, 0, true},
        {"01:02:03", 1, "5", "05:02:03", "05:02:03", 3, 0, true},
        {"01:02:03", 2, "7", "01:72:03", "01:72:03", 4, 0, true},
        {"01:02:03", 3, "<", "0_:02:03", "0 :02:03", 1, 0, false},
        {"01:02:03", 3, "<<", "__:02:03", "  :02:03", 0, 0, false},
        {"01:02:03", 0, ">", "_1:02:03", " 1:02:03", 0, 0, true},
        {"01:02:03", 8, "4", "01:02:03", "01:02:03", 8, 1, true},
        {"01:02:03", 0, "a", "01:02:03", "01:02:03", 0, 1, true},
        {"", -1, "{}}}4", "__:4_:__", "  :4 :  ", 4, 0, false},
    };
    for (const Case& c : cases) {
        edit->SetText(c.start);
        if (c.caret < 0) edit->SelectAll();
        else edit->SetSelStart(c.caret);
        beeps = 0;
        Keys(c.keys);
        String label = String(c.start) + " + " + c.keys;
        EXPECT_EQ(edit->GetEditText(), c.editText) << label;
        EXPECT_EQ(edit->GetText(), c.text) << label;
        EXPECT_EQ(edit->GetSelStart(), c.caretAfter) << label;
        EXPECT_EQ(beeps, c.beeps) << label;
        bool clean = true;
        try {
            edit->ValidateEdit();
        } catch (const EDBEditError&) {
            clean = false;
        }
        EXPECT_EQ(clean, c.leavesCleanly) << label;
    }
}

TEST_F(MaskEditTest, LeavingWithARequiredBlankBeepsRaisesAndKeepsTheFocus) {
    edit->SelectAll();
    Keys("12");
    beeps = 0;
    EXPECT_THROW(other->SetFocus(), EDBEditError);
    EXPECT_EQ(form->GetActiveControl(), edit);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(edit->GetSelStart(), 3);  // the first empty required place
    EXPECT_EQ(edit->GetEditText(), "12:__:__");
    // Esc gives back the text the edit was entered with; then leaving is fine.
    PressKey(form, VK_ESCAPE);
    EXPECT_EQ(edit->GetEditText(), "__:__:__");
    EXPECT_FALSE(edit->GetModified());
    EXPECT_NO_THROW(other->SetFocus());
    EXPECT_EQ(form->GetActiveControl(), other);
}

TEST_F(MaskEditTest, AnUnchangedOrCompleteTextLeavesWithoutACheck) {
    EXPECT_NO_THROW(other->SetFocus());  // empty but not modified
    edit->SetFocus();
    edit->SelectAll();
    Keys("000130");
    EXPECT_NO_THROW(other->SetFocus());
    EXPECT_EQ(edit->GetText(), "00:01:30");
    EXPECT_EQ(beeps, 0);
}

TEST_F(MaskEditTest, TextFromCodeFillsTheMaskAndFiresOnChange) {
    edit->SetText("01:02:03");
    EXPECT_EQ(edit->GetEditText(), "01:02:03");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(edit->GetModified());
    edit->SetText("");
    EXPECT_EQ(edit->GetEditText(), "__:__:__");
}

TEST_F(MaskEditTest, PasteTypesPlaceByPlaceAndStopsAtAMisfit) {
    edit->SelectAll();
    Clipboard()->SetAsText("0130x5");
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->GetEditText(), "01:30:__");
    EXPECT_EQ(beeps, 1);
}

TEST_F(MaskEditTest, SelTextTypesThroughTheMask) {
    edit->SetText("01:02:03");
    edit->SetSelStart(3);
    edit->SetSelLength(2);
    edit->SetSelText("45");
    EXPECT_EQ(edit->GetEditText(), "01:45:03");
    edit->SetSelStart(0);
    edit->SetSelLength(2);
    edit->SetSelText("");
    EXPECT_EQ(edit->GetEditText(), "__:45:03");
}

TEST_F(MaskEditTest, WithoutAMaskItIsAPlainEdit) {
    edit->SetEditMask("");
    edit->SetText("");
    Keys("ab<c");
    EXPECT_EQ(edit->GetText(), "ac");
    EXPECT_EQ(beeps, 0);
}

}  // namespace
