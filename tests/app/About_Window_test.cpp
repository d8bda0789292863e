#include "app/About_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "core/Language.h"
#include "core/Pubfunction.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace {

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override { m_window = std::make_unique<TAboutWindow>(nullptr); }
    std::unique_ptr<TAboutWindow> m_window;
};

TEST_F(AboutWindowTest, ShowsTheProductBuildAndPublisherTextsInPlace) {
    struct {
        TLabel* Label;
        const char* Caption;
        int Left, Top;
    } cases[] = {
        {m_window->Label1, "Quellox DOZ Ezedav 5.5", 48, 48},
        {m_window->Label5, "Quellox DOZ Ezedav 5.5", 46, 47},
        {m_window->Label2, "Build on 20070710", 320, 72},
        {m_window->Label8, AboutTexts::Publisher, 16, 224},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label->GetName());
        EXPECT_EQ(c.Label->GetCaption(), c.Caption);
        EXPECT_EQ(c.Label->GetLeft(), c.Left);
        EXPECT_EQ(c.Label->GetTop(), c.Top);
    }
    EXPECT_FALSE(m_window->Label8->GetCaption().empty());
    EXPECT_EQ(m_window->Label3->GetCaption(), "Home :");
    EXPECT_EQ(m_window->Label4->GetCaption(), "Contact :");
}

// The black name lies over the white one, so the white copy shows only as an edge.
TEST_F(AboutWindowTest, TheBlackNameIsDrawnOverTheWhiteOne) {
    for (TLabel* label : {m_window->Label1, m_window->Label5}) {
        EXPECT_EQ(label->GetFont()->GetName(), "Tahoma");
        EXPECT_EQ(label->GetFont()->GetHeight(), 20);
        EXPECT_TRUE(label->GetFont()->GetStyle().Contains(fsBold));
    }
    EXPECT_EQ(m_window->Label1->GetFont()->GetColor(), clWhite);
    EXPECT_EQ(m_window->Label5->GetFont()->GetColor(), clBlack);
    EXPECT_GT(m_window->Label5->GetComponentIndex(), m_window->Label1->GetComponentIndex());
}

TEST_F(AboutWindowTest, LinksLeadToTheHomePageAndTheContactMailbox) {
    EXPECT_EQ(m_window->suiURLLabel2->GetURL(), AboutTexts::HomeURL);
    EXPECT_EQ(m_window->suiURLLabel2->GetCaption(), AboutTexts::HomeURL);
    EXPECT_EQ(m_window->suiURLLabel1->GetURL(), String("mailto:") + AboutTexts::ContactAddress);
    EXPECT_EQ(m_window->suiURLLabel1->GetCaption(), AboutTexts::ContactAddress);
    for (TsuiURLLabel* link : {m_window->suiURLLabel1, m_window->suiURLLabel2}) {
        EXPECT_EQ(link->GetFontHoverColor(), clRed);
        EXPECT_EQ(link->GetFontLinkColor(), clBlue);
    }
    EXPECT_TRUE(m_window->suiURLLabel1->GetFont()->GetStyle().Contains(fsUnderline));
}

TEST_F(AboutWindowTest, IsSkinnedByItsBackgroundWithTheCloseButtonAtTheTopRight) {
    EXPECT_EQ(m_window->GetClientWidth(), 434);
    EXPECT_EQ(m_window->GetClientHeight(), 245);
    EXPECT_EQ(m_window->suiSkinForm1->GetTransparentColor(), clFuchsia);
    ASSERT_NE(m_window->suiSkinForm1->GetGlyph(), nullptr);
    // The corner lies outside the rounded window.
    EXPECT_EQ(m_window->suiSkinForm1->GetGlyph()->GetPixelColor(0, 0), static_cast<COLORREF>(clFuchsia));
    TsuiImageButton* close = m_window->suiImageButton_Cancel;
    EXPECT_EQ(close->GetModalResult(), mrCancel);
    EXPECT_GT(close->GetLeft(), 434 / 2);
    EXPECT_LE(close->GetLeft() + close->GetWidth(), 434);
    EXPECT_LT(close->GetTop(), 40);
    EXPECT_GT(close->GetPicNormal()->GetWidth(), 0);
}

TEST_F(AboutWindowTest, ItsCloseButtonEndsTheModalShowWithCancel) {
    testing_vcl::TScriptedInteraction ask;
    testing_vcl::TInstallInteraction installed(ask);
    TsuiImageButton* close = m_window->suiImageButton_Cancel;
    ask.ModalActions.push_back([close](TCustomForm*) { Application->QueueCall([close] { testing_vcl::Click(close); }); });
    EXPECT_EQ(m_window->ShowModal(), mrCancel);
    EXPECT_TRUE(ask.Failures.empty());
    EXPECT_FALSE(m_window->GetVisible());
}

// A program folder with one language file, and the language state put back afterwards.
class AboutLanguageTest : public AboutWindowTest {
protected:
    void SetUp() override {
        AboutWindowTest::SetUp();
        ASSERT_FALSE(m_dir.Path().empty());
        m_savedExePath = ExePath;
        m_savedIni = LanguageIni;
        m_savedLanguage = UILanguage;
        LanguageIni = nullptr;
        ExePath = m_dir.Path() + "/";
        std::filesystem::create_directories(m_dir["Lang"]);
    }
    void TearDown() override {
        delete LanguageIni;
        LanguageIni = m_savedIni;
        UILanguage = m_savedLanguage;
        ExePath = m_savedExePath;
    }
    void Load(const String& Text) {
        std::ofstream(m_dir["Lang/Test.ini"]) << Text;
        ASSERT_TRUE(Language::LoadLanguageFile("Test.ini"));
    }

    testing_vcl::TTempFolder m_dir{"about-language"};
    String m_savedExePath;
    TIniFile* m_savedIni = nullptr;
    String m_savedLanguage;
};

TEST_F(AboutLanguageTest, ApplyLanguageRelabelsLabelsAndHintsButLeavesTheLinksAlone) {
    Load("[AboutWindow]\nLabel3-Caption=Startseite :\nLabel4-Caption=Kontakt :\n"
         "suiURLLabel2-Caption=not a link\nsuiImageButton_Cancel-Hint=Schliessen\n");
    m_window->ApplyLanguage();
    EXPECT_EQ(m_window->Label3->GetCaption(), "Startseite :");
    EXPECT_EQ(m_window->Label4->GetCaption(), "Kontakt :");
    EXPECT_EQ(m_window->suiURLLabel2->GetCaption(), AboutTexts::HomeURL);
    EXPECT_EQ(m_window->suiImageButton_Cancel->GetHint(), "Schliessen");
    EXPECT_EQ(m_window->Label2->GetCaption(), "Build on 20070710");
}

TEST_F(AboutLanguageTest, WithoutALanguageFileTheTextsStay) {
    m_window->ApplyLanguage();
    EXPECT_EQ(m_window->Label3->GetCaption(), "Home :");
    EXPECT_EQ(m_window->suiImageButton_Cancel->GetHint(), "");
}

}  // namespace
