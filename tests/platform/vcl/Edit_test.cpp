#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/SyntheticInput.h"
#include "tests/support/TestHelpers.h"

namespace {

using testing_vcl::PressKey;
using testing_vcl::TypeText;

class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 100);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 24);
        edit->OnKeyDown = [this](TObject*, Word& key, TShiftState) {
            log += "down(" + std::to_string(key) + ")";
            if (key == dropKey) key = 0;
        };
        edit->OnKeyPress = [this](TObject*, char& key) {
            log += "press(" + String(1, key) + ")";
            if (key == 'x') key = 0;
            if (key == 'a') key = 'b';
        };
        edit->OnChange = [this](TObject*) {
            log += "change[" + edit->GetText() + "]";
            ++changes;
        };
        form->Show();
        edit->SetFocus();
        edit->SetText("");
        log.clear();
        changes = 0;
    }
    void TearDown() override { delete form; }

    TForm* form = nullptr;
    TEdit* edit = nullptr;
    String log;
    int changes = 0;
    Word dropKey = 0;
};

TEST_F(EditTest, KeysRunKeyDownKeyPressTheEditThenChange) {
    TypeText(form, "q");
    EXPECT_EQ(log, "down(81)press(q)change[q]");
}

TEST_F(EditTest, KeyPressChangesOrCancelsTheCharacter) {
    struct Case {
        const char* typed;
        const char* text;
        int changes;
    } cases[] = {{"a", "b", 1}, {"x", "", 0}, {"qaxq", "qbq", 3}};
    for (const Case& c : cases) {
        edit->SetText("");
        changes = 0;
        TypeText(form, c.typed);
        EXPECT_EQ(edit->GetText(), c.text) << c.typed;
        EXPECT_EQ(changes, c.changes) << c.typed;
    }
}

TEST_F(EditTest, AKeyClearedInOnKeyDownNeverReachesTheEdit) {
    edit->SetText("abc");
    edit->SetSelStart(3);
    dropKey = VK_BACK;
    log.clear();
    PressKey(form, VK_BACK, {}, "\b");
    EXPECT_EQ(edit->GetText(), "abc");
    EXPECT_EQ(log, "down(8)");
}

TEST_F(EditTest, TextSetFromCodeFiresOnChangeOnceAndClearsModified) {
    TypeText(form, "q");
    EXPECT_TRUE(edit->GetModified());
    changes = 0;
    edit->SetText("hello");
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(edit->GetModified());
    EXPECT_EQ(edit->GetSelStart(), 0);
    edit->SetText("hello");  // the same text is no change
    EXPECT_EQ(changes, 1);
}

TEST_F(EditTest, EditingKeysMoveSelectAndDelete) {
    struct Case {
        const char* start;
        int selStart, selLength;
        Word key;
        TShiftState shift;
        const char* text;
        int caretStart, caretLength;
    } cases[] = {
        {"abcd", 2, 0, VK_BACK, {}, "acd", 1, 0},
        {"abcd", 2, 0, VK_DELETE, {}, "abd", 2, 0},
        {"abcd", 1, 2, VK_BACK, {}, "ad", 1, 0},
        {"abcd", 1, 2, VK_DELETE, {}, "ad", 1, 0},
        {"abcd", 0, 0, VK_BACK, {}, "abcd", 0, 0},
        {"abcd", 4, 0, VK_DELETE, {}, "abcd", 4, 0},
        {"abcd", 2, 0, VK_LEFT, {}, "abcd", 1, 0},
        {"abcd", 2, 0, VK_RIGHT, TShiftState{ssShift}, "abcd", 2, 1},
        {"abcd", 2, 0, VK_HOME, TShiftState{ssShift}, "abcd", 0, 2},
        {"abcd", 1, 0, VK_END, {}, "abcd", 4, 0},
        {"abcd", 1, 2, VK_LEFT, {}, "abcd", 1, 0},
        {"abcd", 1, 0, 'A', TShiftState{ssCtrl}, "abcd", 0, 4},
    };
    for (const Case& c : cases) {
        edit->SetText(c.start);
        edit->SetSelStart(c.selStart);
        edit->SetSelLength(c.selLength);
        String text = c.key == VK_BACK ? "\b" : "";
        PressKey(form, c.key, c.shift, text);
        EXPECT_EQ(edit->GetText(), c.text) << c.start << " key " << c.key;
        EXPECT_EQ(edit->GetSelStart(), c.caretStart) << c.start << " key " << c.key;
        EXPECT_EQ(edit->GetSelLength(), c.caretLength) << c.start << " key " << c.key;
    }
}

TEST_F(EditTest, MaxLengthAndReadOnlyLimitTyping) {
    edit->SetMaxLength(3);
    TypeText(form, "qwer");
    EXPECT_EQ(edit->GetText(), "qwe");
    Clipboard()->SetAsText("zzzz");
    edit->SetSelStart(1);
    edit->SetSelLength(1);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->GetText(), "qze");
    edit->SetReadOnly(true);
    changes = 0;
    TypeText(form, "q");
    PressKey(form, VK_BACK, {}, "\b");
    edit->CutToClipboard();
    EXPECT_EQ(edit->GetText(), "qze");
    EXPECT_EQ(changes, 0);
}

TEST_F(EditTest, ClipboardGoesThroughMessagesASubclassCanCatch) {
    struct TNoPaste : TEdit {
        explicit TNoPaste(TComponent* o) : TEdit(o) {}
        int pastes = 0;
        void Dispatch(TMessage& m) override {
            if (m.Msg == WM_PASTE) {
                ++pastes;
                return;
            }
            TEdit::Dispatch(m);
        }
    };
    auto* e = new TNoPaste(form);
    e->SetParent(form);
    e->SetFocus();
    Clipboard()->SetAsText("pasted");
    PressKey(form, 'V', TShiftState{ssCtrl});
    PressKey(form, VK_INSERT, TShiftState{ssShift});
    EXPECT_EQ(e->pastes, 2);
    EXPECT_EQ(e->GetText(), "");
    e->SetText("copy me");
    e->SelectAll();
    PressKey(form, 'X', TShiftState{ssCtrl});
    EXPECT_EQ(e->GetText(), "");
    EXPECT_EQ(Clipboard()->GetAsText(), "copy me");
    PressKey(form, 'Z', TShiftState{ssCtrl});
    EXPECT_EQ(e->GetText(), "copy me");
}

TEST_F(EditTest, AutoSelectSelectsAllOnEntry) {
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetTop(50);
    edit->SetText("12345");
    other->SetFocus();
    edit->SetFocus();
    EXPECT_EQ(edit->GetSelStart(), 0);
    EXPECT_EQ(edit->GetSelLength(), 5);
    edit->SetAutoSelect(false);
    edit->SetSelStart(2);
    other->SetFocus();
    edit->SetFocus();
    EXPECT_EQ(edit->GetSelLength(), 0);
}

TEST_F(EditTest, PaintToShowsTheTextInTheFontColourOnTheEditColour) {
    edit->SetBorderStyle(bsNone);
    edit->SetColor(clYellow);
    edit->GetFont()->SetColor(clBlue);
    edit->SetText("WWWW");
    TBitmap shot;
    testing_vcl::Snapshot(form, &shot);
    int blue = 0, yellow = 0;
    for (int y = edit->GetTop(); y < edit->GetTop() + edit->GetHeight(); ++y)
        for (int x = edit->GetLeft(); x < edit->GetLeft() + edit->GetWidth(); ++x) {
            COLORREF c = shot.GetPixelColor(x, y);
            if (c == static_cast<COLORREF>(clBlue)) ++blue;
            if (c == static_cast<COLORREF>(clYellow)) ++yellow;
        }
    EXPECT_GT(blue, 20);
    EXPECT_GT(yellow, 1000);
}

TEST_F(EditTest, BorderWidthInsetsTheTextArea) {
    edit->SetBorderStyle(bsNone);
    edit->SetBorderWidth(2);
    TRect r = edit->GetEditRect();
    EXPECT_EQ(r.Right - r.Left, 150 - 4);
    EXPECT_EQ(r.Bottom - r.Top, 24 - 4);
    TRect margins = Rect(0, 0, 100, 19);
    edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&margins));
    EXPECT_EQ(edit->GetEditRect(), margins);
}

TEST_F(EditTest, RightAlignedStyleDrawsTextAtTheRightEdge) {
    struct TRightEdit : TEdit {
        explicit TRightEdit(TComponent* o) : TEdit(o) {}
        void CreateParams(TCreateParams& p) override {
            TEdit::CreateParams(p);
            p.Style |= ES_RIGHT;
        }
    };
    auto* e = new TRightEdit(form);
    e->SetBorderStyle(bsNone);
    e->SetColor(clWhite);
    e->GetFont()->SetColor(clBlack);
    e->SetParent(form);
    e->SetBounds(10, 50, 200, 24);
    e->SetText("1");
    TBitmap shot;
    testing_vcl::Snapshot(form, &shot);
    int minX = 10000;
    for (int y = 50; y < 74; ++y)
        for (int x = 10; x < 210; ++x)
            if (shot.GetPixelColor(x, y) == static_cast<COLORREF>(clBlack)) minX = std::min(minX, x);
    EXPECT_GT(minX, 150);
}

}  // namespace

TEST_F(EditTest, AccentedLettersReachTheEditAlsoUnderTheFormsKeyPreview) {
    // Such a key has text and no key code; a form that previews keys (Escape closes a dialog)
    // must not take it for a key it cleared.
    for (bool preview : {false, true}) {
        SCOPED_TRACE(preview);
        form->SetKeyPreview(preview);
        form->OnKeyDown = [](TObject*, Word&, TShiftState) {};
        edit->SetText("");
        PressKey(form, 0, {}, "\xC3\xBC");
        PressKey(form, 0, {}, "\xC3\xA9");
        EXPECT_EQ(edit->GetText(), "\xC3\xBC\xC3\xA9");
    }
}

TEST_F(EditTest, ComposedLettersGoThroughTheEditsOwnText) {
    // A dead accent and a letter come from the input method as one text, to the toolkit's line
    // edit that has the keyboard; the edit's text, its events and what it shows follow it.
    edit->SetText("a");
    edit->SetSelStart(1);
    log.clear();
    SendSyntheticComposedText(edit, "\xC3\xA9");
    EXPECT_EQ(edit->GetText(), "a\xC3\xA9");
    TypeText(form, "z");
    EXPECT_EQ(edit->GetText(), "a\xC3\xA9z");
}
