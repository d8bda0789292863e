#include "core/Language.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <set>

#include "core/LanguageMessages.h"
#include "core/Pubfunction.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/SysUtils.h"

namespace fs = std::filesystem;

namespace {

// Stand-ins with the skin library's class names: the loader matches names, not types.
class TsuiCheckBox : public TCustomControl {
    VCL_CLASS(TsuiCheckBox)
    using TCustomControl::TCustomControl;
};
class TsuiRadioButton : public TCustomControl {
    VCL_CLASS(TsuiRadioButton)
    using TCustomControl::TCustomControl;
};
class TsuiGroupBox : public TCustomControl {
    VCL_CLASS(TsuiGroupBox)
    using TCustomControl::TCustomControl;
    String OwnCaption;  // the group box's own caption field
};
class TsuiImageButton : public TCustomControl {
    VCL_CLASS(TsuiImageButton)
    using TCustomControl::TCustomControl;
};
class TsuiEdit : public TCustomControl {
    VCL_CLASS(TsuiEdit)
    using TCustomControl::TCustomControl;
};
class TMyLabel : public TLabel {
    VCL_CLASS(TMyLabel)
    using TLabel::TLabel;
};

void WriteFile(const fs::path& Path, const String& Text) {
    fs::create_directories(Path.parent_path());
    std::ofstream(Path, std::ios::binary) << Text;
}

// A program folder of its own, and the language state as it was before the test.
class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/language-XXXXXX";
        m_dir = mkdtemp(tmpl);
        m_savedExePath = ExePath;
        m_savedUILanguage = UILanguage;
        m_savedIni = LanguageIni;
        LanguageIni = nullptr;
        ExePath = m_dir.string() + "/";
    }
    void TearDown() override {
        delete LanguageIni;
        LanguageIni = m_savedIni;
        UILanguage = m_savedUILanguage;
        ExePath = m_savedExePath;
        Language::SetGroupBoxCaptionSetter(nullptr);
        fs::remove_all(m_dir);
    }
    void WriteLanguage(const String& Name, const String& Text) { WriteFile(m_dir / "Lang" / Name, Text); }

    fs::path m_dir;

private:
    String m_savedExePath;
    String m_savedUILanguage;
    TIniFile* m_savedIni = nullptr;
};

}  // namespace

TEST_F(LanguageTest, BuiltInTextsAreExact) {
    struct Case { int n; const char* text; };
    for (auto c : {Case{0, "Video : Size "}, Case{34, "-"}, Case{116, " File Name"},
                   Case{121, "Unmatched video format clips added.\nThe following clip(s) is(are) NTSC : \n"},
                   Case{125, "Some UNSUPPORTED file(s) format can not add in. \n\n"},
                   Case{61, "Unknown or Unsupported disc, please insert another blank disc and click \"OK\" to "
                            "continue!\nClick \"Cancel\" to cancel burning process!"},
                   Case{22, "Japaness"}, Case{157, "Burn DVD-Folder or Vob files to DVD disc, so that you can "
                                                   "play it on home DVD player."},
                   Case{126, ""}, Case{133, ""}, Case{142, ""}, Case{143, ""}})
        EXPECT_EQ(Language::GetMessageText(c.n), c.text) << c.n;
}

TEST_F(LanguageTest, NumbersOutsideTheTableAnswerEmpty) {
    WriteLanguage("Test.ini", "[Text]\n-1=minus\n300=beyond\n");
    for (bool loaded : {false, true}) {
        if (loaded) {
            ASSERT_TRUE(Language::LoadLanguageFile("Test.ini"));
        }
        for (int n : {-1, 300, 1000, INT_MAX, INT_MIN}) EXPECT_EQ(Language::GetMessageText(n), "") << n;
    }
}

TEST_F(LanguageTest, LanguageFileTextsAndSubstitutions) {
    WriteLanguage("Test.ini",
                  "[Text]\n121=a#1b#2c\n0=\"  blanks kept  \"\n1=#1#1\n2=#12\n3=##2\n4=#3 #10\n");
    ASSERT_TRUE(Language::LoadLanguageFile("Test.ini"));
    struct Case { int n; const char* text; };
    for (auto c : {Case{121, "a\nb c"}, Case{0, "  blanks kept  "}, Case{1, "\n\n"}, Case{2, "\n2"},
                   Case{3, "# "}, Case{4, "#3 \n0"},
                   Case{116, " File Name"},  // absent key: the built-in text
                   Case{126, ""}})
        EXPECT_EQ(Language::GetMessageText(c.n), c.text) << c.n;
}

TEST_F(LanguageTest, FileWithoutTextSectionKeepsEnglishMessages) {
    WriteLanguage("Captions.ini", "[SomeWindow]\nLabel1-Caption=x\n");
    ASSERT_TRUE(Language::LoadLanguageFile("Captions.ini"));
    EXPECT_EQ(Language::GetMessageText(121),
              "Unmatched video format clips added.\nThe following clip(s) is(are) NTSC : \n");
}

TEST_F(LanguageTest, LoadingReplacesTheFileAndNamesIt) {
    WriteLanguage("One.ini", "[Text]\n24=one\n");
    WriteLanguage("Two.ini", "[Text]\n24=two\n");
    ASSERT_TRUE(Language::LoadLanguageFile("One.ini"));
    EXPECT_EQ(UILanguage, "One.ini");
    EXPECT_EQ(Language::GetMessageText(24), "one");
    ASSERT_TRUE(Language::LoadLanguageFile("Two.ini"));
    EXPECT_EQ(UILanguage, "Two.ini");
    EXPECT_EQ(Language::GetMessageText(24), "two");
}

TEST_F(LanguageTest, UnusableNamesChangeNothing) {
    WriteLanguage("Good.ini", "[Text]\n24=good\n");
    WriteLanguage("Gone.ini", "[Text]\n24=gone\n");
    fs::create_directories(m_dir / "Lang" / "Folder.ini");
    WriteFile(m_dir / "Outside.ini", "[Text]\n24=outside\n");
    ASSERT_TRUE(Language::LoadLanguageFile("Good.ini"));
    TIniFile* before = LanguageIni;
    fs::remove(m_dir / "Lang" / "Gone.ini");  // listed in the popup, deleted before the choice
    for (const char* name : {"Gone.ini", "Missing.ini", "Folder.ini", "", "../Outside.ini", "."}) {
        EXPECT_FALSE(Language::LoadLanguageFile(name)) << name;
        EXPECT_EQ(LanguageIni, before) << name;
        EXPECT_EQ(UILanguage, "Good.ini") << name;
    }
    EXPECT_EQ(Language::GetMessageText(24), "good");
}

TEST_F(LanguageTest, BadLinesDoNotStopTheRest) {
    WriteLanguage("Broken.ini", String("[Text]\n24=before\nno key on this line\n\x01\x02\xff\xfe junk\n") +
                                    "=no name\n[\n[Text]\n40=after\n[Win]\nLabel1-FontSize=big\n" +
                                    "Label1-Caption=ok\n");
    ASSERT_TRUE(Language::LoadLanguageFile("Broken.ini"));
    EXPECT_EQ(Language::GetMessageText(24), "before");
    EXPECT_EQ(Language::GetMessageText(40), "Move to Bottom");  // a second [Text] never answers
    TForm form(nullptr);
    form.SetName("Win");
    auto* label = new TLabel(&form);
    label->SetName("Label1");
    label->GetFont()->SetSize(12);
    Language::ApplyLanguageToForm(&form);
    EXPECT_EQ(label->GetCaption(), "ok");
    EXPECT_EQ(label->GetFont()->GetSize(), 8);  // not a number: the default size
}

TEST_F(LanguageTest, ApplyMatchesExactClassNames) {
    WriteLanguage("Test.ini",
                  "[TestWindow]\n"
                  "Label1-Caption=Translated\nLabel1-FontName=Serif\nLabel1-FontSize=14\n"
                  "Derived-Caption=Translated\n"
                  "Skipped-Caption=nodef\nSkipped-FontName=Serif\nSkipped-FontSize=14\n"
                  "Upper-Caption=Nodef\n"
                  "FontOnly-FontName=Serif\nFontOnly-FontSize=14\n"
                  "Check-Caption=  Ticked  \nRadio-Caption=Radio\n"
                  "Group-Caption=\" Group \"\n"
                  "Button-Hint=Press me#1\n"
                  "Panel-Caption=Panel\nEdit-Caption=Edit\nEdit-Hint=Edit\n");
    ASSERT_TRUE(Language::LoadLanguageFile("Test.ini"));

    TForm form(nullptr);
    form.SetName("TestWindow");
    auto make = [&](auto* c, const char* name) {
        c->SetName(name);
        c->SetParent(&form);
        c->SetCaption(String("stored ") + name);
        c->GetFont()->SetName("Stored");
        c->GetFont()->SetSize(10);
        return c;
    };
    TLabel* label = make(new TLabel(&form), "Label1");
    TMyLabel* derived = make(new TMyLabel(&form), "Derived");
    TLabel* skipped = make(new TLabel(&form), "Skipped");
    TLabel* upper = make(new TLabel(&form), "Upper");
    TLabel* fontOnly = make(new TLabel(&form), "FontOnly");
    TsuiCheckBox* check = make(new TsuiCheckBox(&form), "Check");
    TsuiRadioButton* radio = make(new TsuiRadioButton(&form), "Radio");
    TsuiGroupBox* group = make(new TsuiGroupBox(&form), "Group");
    TsuiImageButton* button = make(new TsuiImageButton(&form), "Button");
    TsuiImageButton* noHint = make(new TsuiImageButton(&form), "NoHint");
    noHint->SetHint("stored hint");
    TPanel* panel = make(new TPanel(&form), "Panel");
    TsuiEdit* edit = make(new TsuiEdit(&form), "Edit");

    Language::SetGroupBoxCaptionSetter([](TControl* c, const String& caption) {
        static_cast<TsuiGroupBox*>(c)->OwnCaption = caption;
    });
    Language::ApplyLanguageToForm(&form);

    struct Expect { TControl* c; const char* caption; const char* font; int size; };
    for (auto e : {Expect{label, "Translated", "Serif", 14}, Expect{derived, "stored Derived", "Stored", 10},
                   Expect{skipped, "stored Skipped", "Stored", 10}, Expect{upper, "Nodef", "Tahoma", 8},
                   Expect{fontOnly, "stored FontOnly", "Stored", 10}, Expect{check, "Ticked", "Tahoma", 8},
                   Expect{radio, "Radio", "Tahoma", 8}, Expect{group, "stored Group", "Tahoma", 8},
                   Expect{button, "stored Button", "Stored", 10}, Expect{panel, "stored Panel", "Stored", 10},
                   Expect{edit, "stored Edit", "Stored", 10}}) {
        EXPECT_EQ(e.c->GetCaption(), e.caption) << e.c->GetName();
        EXPECT_EQ(e.c->GetFont()->GetName(), e.font) << e.c->GetName();
        EXPECT_EQ(e.c->GetFont()->GetSize(), e.size) << e.c->GetName();
    }
    EXPECT_EQ(group->OwnCaption, " Group ");
    EXPECT_EQ(button->GetHint(), "Press me#1");  // no substitutions in hints
    EXPECT_TRUE(button->GetShowHint());
    EXPECT_EQ(noHint->GetHint(), "");
    EXPECT_TRUE(noHint->GetShowHint());
    EXPECT_EQ(edit->GetHint(), "");
    EXPECT_FALSE(edit->GetShowHint());
}

TEST_F(LanguageTest, ApplyWithoutFileOrSectionLeavesFormsAlone) {
    TForm form(nullptr);
    form.SetName("TestWindow");
    auto* label = new TLabel(&form);
    label->SetName("Label1");
    label->SetCaption("stored");
    Language::ApplyLanguageToForm(&form);  // nothing loaded yet
    EXPECT_EQ(label->GetCaption(), "stored");

    WriteLanguage("Other.ini", "[OtherWindow]\nLabel1-Caption=other\n");
    ASSERT_TRUE(Language::LoadLanguageFile("Other.ini"));
    Language::ApplyLanguageToForm(&form);
    EXPECT_EQ(label->GetCaption(), "stored");
}

TEST_F(LanguageTest, ApplyToFormsGoesInOrderAndSkipsMissingWindows) {
    WriteLanguage("Test.ini", "[First]\nLabel1-Caption=one\n[Second]\nLabel1-Caption=two\n");
    ASSERT_TRUE(Language::LoadLanguageFile("Test.ini"));
    TForm first(nullptr), second(nullptr);
    first.SetName("First");
    second.SetName("Second");
    TLabel* labels[2] = {new TLabel(&first), new TLabel(&second)};
    for (TLabel* l : labels) l->SetName("Label1");
    Language::ApplyLanguageToForms({&first, nullptr, &second});
    EXPECT_EQ(labels[0]->GetCaption(), "one");
    EXPECT_EQ(labels[1]->GetCaption(), "two");
}

namespace {

// A translation longer than its box gets a smaller font until it fits; one that fits keeps its
// size, and no font goes below 6 points.
TEST(LanguageFit, ALongCaptionShrinksUntilItFits) {
    TForm form(nullptr);
    struct Case { const char* Caption; int Width; bool Shrinks; };
    const Case cases[] = {{"Add", 120, false},
                          {"Bandes noires automatiques et encore plus", 170, true},
                          {"Une phrase bien trop longue pour une case de quarante points", 40, true}};
    for (const Case& c : cases) {
        TLabel label(&form);
        label.SetParent(&form);
        label.SetAutoSize(false);
        label.SetCaption(c.Caption);
        label.SetWidth(c.Width);
        label.GetFont()->SetSize(8);
        Language::FitCaption(&label, 0);
        EXPECT_EQ(label.GetFont()->GetSize() < 8, c.Shrinks) << c.Caption;
        EXPECT_GE(label.GetFont()->GetSize(), 6) << c.Caption;
        TBitmap measure;
        measure.GetCanvas()->SetFont(label.GetFont());
        if (label.GetFont()->GetSize() > 6) {
            EXPECT_LE(measure.GetCanvas()->TextWidth(c.Caption), c.Width) << c.Caption;
        }
    }
}

// Picture-button words come from the message table in the loaded language.
TEST(LanguageFit, MessageCaptionsFollowTheMessageTable) {
    TForm form(nullptr);
    TLabel word(&form);
    word.SetParent(&form);
    Language::ApplyMessageCaptions({{&word, 187}, {nullptr, 188}});
    EXPECT_EQ(word.GetCaption(), Language::GetMessageText(187));
    EXPECT_FALSE(word.GetCaption().empty());
}

}  // namespace
