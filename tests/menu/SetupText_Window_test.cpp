#include "menu/SetupText_Window.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/Pubfunction.h"
#include "platform/vcl/PngWriter.h"
#include "tests/support/TestHelpers.h"

namespace {

TEST(SetupTextRules, TrimsBlanksAndControlCharacters) {
    const std::pair<String, String> cases[] = {
        {"  Hello  ", "Hello"}, {"\t\nA b\r", "A b"}, {"", ""}, {"   ", ""}, {"x", "x"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(TrimLabelText(in), out) << in;
}

TEST(SetupTextRules, SampleIsCutOnceInProportion) {
    EXPECT_EQ(FitSampleText("abcdefghij", 200, 100), "abcde");
    EXPECT_EQ(FitSampleText("abcdefghij", 100, 100), "abcdefghij");
    EXPECT_EQ(FitSampleText("abc", 0, 100), "abc");
}

// The proportion counts characters, and the cut never splits one (each "é" is two bytes).
TEST(SetupTextRules, SampleIsCutByCharactersNotBytes) {
    const struct {
        String text;
        int sampleWidth, boxWidth;
        String cut;
    } cases[] = {
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 200, 100, "\xC3\xA9\xC3\xA9"},
        {"a\xC3\xA9" "b\xE2\x82\xAC", 400, 300, "a\xC3\xA9" "b"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", 300, 100, ""},
        {"\xE6\x97\xA5\xE6\x9C\xAC", 200, 100, "\xE6\x97\xA5"},
    };
    for (const auto& c : cases) EXPECT_EQ(FitSampleText(c.text, c.sampleWidth, c.boxWidth), c.cut) << c.text;
}

TEST(SetupTextRules, StyleIndexAndBackAgain) {
    const std::pair<TFontStyles, int> cases[] = {{TFontStyles{}, 0}, {TFontStyles{fsItalic}, 1},
                                                 {TFontStyles{fsBold}, 2}, {TFontStyles{fsBold, fsItalic}, 3}};
    for (const auto& [style, index] : cases) {
        EXPECT_EQ(StyleIndexOf(style), index);
        EXPECT_EQ(FontStyleOf(index, false, false), style);
    }
    EXPECT_EQ(FontStyleOf(0, true, true), (TFontStyles{fsStrikeOut, fsUnderline}));
}

class SetupTextWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedExePath = ExePath;
        ExePath = (std::filesystem::path(TEST_PEER_DIR) / ".." / ".." / "dist").string() + "/";
        window = new TSetupTextWindow(nullptr);
        form = new TForm(nullptr);
        label = new TLabel(form);
        label->SetParent(form);
        label->SetAutoSize(true);
        label->SetCaption("Double Click to Edit");
        label->GetFont()->SetName("Tahoma");
        label->GetFont()->SetSize(16);
        label->GetFont()->SetColor(clWhite);
    }
    void TearDown() override {
        delete window;
        delete form;
        ExePath = m_savedExePath;
    }
    String m_savedExePath;
    TSetupTextWindow* window = nullptr;
    TForm* form = nullptr;
    TLabel* label = nullptr;
};

TEST_F(SetupTextWindowTest, ADoubleClickLabelOpensOnRegularWithItsFont) {
    window->LoadLabel(label);
    EXPECT_EQ(window->suiComboBox_Style->GetItemIndex(), 0);
    EXPECT_EQ(window->suiComboBox_Style->GetItems()->Strings(0), "Regular");
    EXPECT_FALSE(window->suiCheckBox_Strikeout->GetChecked());
    EXPECT_FALSE(window->suiCheckBox_Underline->GetChecked());
    EXPECT_EQ(window->Label_Sample->GetCaption(), "Double Click to Edit");
    EXPECT_EQ(window->Label_Sample->GetFont()->GetSize(), 16);
    EXPECT_EQ(window->Label_Sample->GetFont()->GetColor(), clWhite);
    EXPECT_EQ(window->Label_Sample->GetFont()->GetName(), "Tahoma");
    // Bottom-aligned and centred in the sample box.
    EXPECT_EQ(window->Label_Sample->GetTop() + window->Label_Sample->GetHeight(), window->suiGroupBox2->GetHeight());
}

TEST_F(SetupTextWindowTest, ALongTextIsCutInTheSampleAndWholeOnTheLabel) {
    window->LoadLabel(label);
    const String text(200, 'W');
    window->suiEdit_Sample->SetText("  " + text + "  ");
    window->UpdateSample();
    EXPECT_LT(window->Label_Sample->GetCaption().size(), text.size());
    window->ApplyToLabel();
    EXPECT_EQ(label->GetCaption(), text);
}

TEST_F(SetupTextWindowTest, ValuesOutsideTheListsAreKept) {
    label->GetFont()->SetName("No Such Face At All");
    label->GetFont()->SetSize(77);
    label->GetFont()->SetColor(static_cast<TColor>(0x123456));
    window->LoadLabel(label);
    window->ApplyToLabel();
    EXPECT_EQ(label->GetFont()->GetName(), "No Such Face At All");
    EXPECT_EQ(label->GetFont()->GetSize(), 77);
    EXPECT_EQ(label->GetFont()->GetColor(), static_cast<TColor>(0x123456));
}

TEST_F(SetupTextWindowTest, ControlsDoNothingBeforeALabelIsLoaded) {
    window->suiEdit_Sample->SetText("early");
    window->UpdateSample();
    EXPECT_EQ(window->Label_Sample->GetCaption(), "");
}

TEST_F(SetupTextWindowTest, RendersTheDialog) {
    window->LoadLabel(label);
    window->suiEdit_Sample->SetText("My Holiday");
    window->suiComboBox_Style->SetItemIndex(2);
    window->UpdateSample();
    window->Show();
    testing_vcl::RunFor(50);
    EXPECT_GT(std::filesystem::file_size(testing_vcl::SaveRender(window, "designer", "text_style_dialog.png")), 0u);
}

}  // namespace
