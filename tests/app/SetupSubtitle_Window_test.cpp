#include "app/SetupSubtitle_Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "model/SetupClip_WindowRows.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/PngWriter.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

using testing_vcl::ReadText;
using testing_vcl::WriteText;

namespace {

using testing_vcl::TQuestionKind;

class SetupSubtitleWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedExePath = ExePath;
        m_savedFontSize = i_FontSize;
        m_savedLanguage = i_SubTitleLanguageCodeIndex;
        ExePath = m_dir.Path() + "/";
        WriteText(m_dir["Language.ini"],
                  "[RegionCount]\nRegion=2\n[RegionLanguage]\nRegion0=English\nRegion1=Deutsch\n");
        WriteText(m_dir["Subtitle.ini"], "[RegionCount]\nRegion=1\n[RegionLanguage]\nRegion0=Klingon\n");
        WriteText(m_dir["Option.ini"], "[Option]\nOutputFolder=/tmp/out\nFontSize=20\nSubtitleLanguage=0\n"
                                       "MenuLanguage=0\nDVDMenuDuration=7\n");
        m_srt = m_dir["movie.srt"];
        WriteText(m_srt, "1\n00:00:01,000 --> 00:00:02,000\nHello\n");
        i_FontSize = 20;
        i_SubTitleLanguageCodeIndex = 0;
        m_window = std::make_unique<TSetupSubtitleWindow>(nullptr);
        m_clip = std::make_unique<TClipInfo>();
        std::unique_ptr<TBitmap> frame(testing_vcl::SolidBitmap(320, 240, clNavy));
        m_clip->SetPicture(frame.get());
        m_clip->s_SubtitleFile = m_srt;
        m_clip->s_SubtitleFontName = "DejaVu Sans";
        m_clip->i_SubtitleFontSize = 24;
        m_clip->i_SubtitleLanguageIndex = 2;
    }
    void TearDown() override {
        m_window.reset();
        m_clip.reset();
        ExePath = m_savedExePath;
        i_FontSize = m_savedFontSize;
        i_SubTitleLanguageCodeIndex = m_savedLanguage;
    }
    // Shows the dialog for the clip; Script runs inside the modal loop.
    void Edit(const std::function<void(TSetupSubtitleWindow*)>& Script) {
        m_ask.ModalActions.push_back([this, Script](TCustomForm*) { Script(m_window.get()); });
        m_window->SetupClip(m_clip.get());
    }
    static void Click(TsuiImageButton* Button) { Button->Click(); }

    testing_vcl::TTempFolder m_dir{"subtitledlg"};
    testing_vcl::TScriptedInteraction m_ask;
    testing_vcl::TInstallInteraction m_installed{m_ask};
    String m_savedExePath;
    int m_savedFontSize = 0;
    int m_savedLanguage = 0;
    String m_srt;
    std::unique_ptr<TSetupSubtitleWindow> m_window;
    std::unique_ptr<TClipInfo> m_clip;
};

TEST_F(SetupSubtitleWindowTest, LanguageBoxListsLanguageIniThenSubtitleIniRegions) {
    TStrings* items = m_window->suiComboBox_SubtitleLanguage->GetItems();
    ASSERT_EQ(items->Count(), 3);
    EXPECT_EQ(items->Strings(0), "English");
    EXPECT_EQ(items->Strings(2), "Klingon");
    EXPECT_FALSE(m_window->suiFontComboBox->GetVisible());
}

TEST_F(SetupSubtitleWindowTest, NoRegionFilesGiveTheSingleItemOthers) {
    std::filesystem::remove(m_dir["Language.ini"]);
    std::filesystem::remove(m_dir["Subtitle.ini"]);
    TSetupSubtitleWindow window(nullptr);
    TStrings* items = window.suiComboBox_SubtitleLanguage->GetItems();
    ASSERT_EQ(items->Count(), 1);
    EXPECT_EQ(items->Strings(0), "Others");
}

TEST_F(SetupSubtitleWindowTest, SetUpFromTheClip) {
    Edit([](TSetupSubtitleWindow* w) {
        EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItemIndex(), 2);
        EXPECT_EQ(w->Label_Subtitle->GetCaption(), "Subtitle File  : movie.srt");
        EXPECT_EQ(w->s_SubtitlePath, w->Clip->s_SubtitleFile);
        EXPECT_NE(w->Image_Preview->GetPicture()->GetGraphic(), nullptr);
        w->SetModalResult(mrCancel);
    });
    EXPECT_EQ(m_clip->i_SubtitleFontSize, 24);
}

// The fallback to the defaults stays even when the person cancels.
TEST_F(SetupSubtitleWindowTest, MissingPathResetsLanguageAndSizeAlsoOnCancel) {
    std::filesystem::remove(m_srt.c_str());
    i_FontSize = 28;
    i_SubTitleLanguageCodeIndex = 1;
    Edit([](TSetupSubtitleWindow* w) {
        EXPECT_EQ(w->Label_Subtitle->GetCaption(), "No specified subtitle file");
        EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItemIndex(), 1);
        Click(w->suiImageButton_Cancel);
    });
    EXPECT_EQ(m_clip->i_SubtitleLanguageIndex, 1);
    EXPECT_EQ(m_clip->i_SubtitleFontSize, 28);
}

TEST_F(SetupSubtitleWindowTest, LoadThenCancelLeavesTheClipAlone) {
    const String other = m_dir["other.srt"];
    WriteText(other, "");
    m_ask.AnswerFiles({other});
    Edit([](TSetupSubtitleWindow* w) {
        Click(w->suiImageButton_Load);
        EXPECT_EQ(w->Label_Subtitle->GetCaption(), "Subtitle File other.srt");
        Click(w->suiImageButton_Cancel);
    });
    EXPECT_EQ(m_clip->s_SubtitleFile, m_srt);
    const auto files = m_ask.Of(TQuestionKind::FileDialog);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].File.Filter, "Subtitle File (*.srt, *.SRT)|*.srt;*.SRT");
}

// A 3 x 3 marker on the clip's icon: it stays until the icon is drawn again.
void MarkIcon(TClipInfo* Clip) {
    ASSERT_NE(Clip->SrtIcon, nullptr);
    std::unique_ptr<TBitmap> marker(testing_vcl::SolidBitmap(3, 3, clLime));
    Clip->SrtIcon->GetPicture()->SetBitmap(marker.get());
}
bool IconMarked(TClipInfo* Clip) { return Clip->SrtIcon->GetPicture()->GetWidth() == 3; }

TEST_F(SetupSubtitleWindowTest, ClearThenOkRemovesTheFileAndDisablesTheIcon) {
    MarkIcon(m_clip.get());
    Edit([](TSetupSubtitleWindow* w) {
        Click(w->suiImageButton_Clear);
        Click(w->suiImageButton_Ok);
    });
    EXPECT_EQ(m_clip->s_SubtitleFile, "");
    EXPECT_FALSE(IconMarked(m_clip.get()));
}

TEST_F(SetupSubtitleWindowTest, OkWithTheSamePathLeavesTheIconUndrawn) {
    MarkIcon(m_clip.get());
    Edit([](TSetupSubtitleWindow* w) { Click(w->suiImageButton_Ok); });
    EXPECT_TRUE(IconMarked(m_clip.get()));
    EXPECT_EQ(m_clip->s_SubtitleFile, m_srt);
}

TEST_F(SetupSubtitleWindowTest, OkWritesTheThreeKeysAndNothingElse) {
    Edit([](TSetupSubtitleWindow* w) {
        w->suiComboBox_SubtitleLanguage->SetItemIndex(1);
        w->suiFontSizeComboBox->SetFontSize(w->suiFontSizeComboBox->GetItems()->Count() > 0
                                                ? StrToInt(w->suiFontSizeComboBox->GetItems()->Strings(0))
                                                : 0);
        Click(w->suiImageButton_Ok);
    });
    TIniFile ini(OptionFileName());
    EXPECT_EQ(ini.ReadInteger("Option", "SubtitleLanguage", -1), 1);
    EXPECT_EQ(ini.ReadInteger("Option", "MenuLanguage", -1), 1);
    EXPECT_EQ(ini.ReadInteger("Option", "FontSize", -1), m_clip->i_SubtitleFontSize);
    EXPECT_EQ(ini.ReadString("Option", "OutputFolder", ""), "/tmp/out");
    EXPECT_EQ(ini.ReadInteger("Option", "DVDMenuDuration", 0), 7);
    EXPECT_EQ(i_SubTitleLanguageCodeIndex, 1);
    EXPECT_EQ(m_clip->i_SubtitleLanguageIndex, 1);
    EXPECT_GT(m_clip->i_SubtitleFontSize, 0);
}

// A size or face the boxes do not list answers none there: the clip keeps its own values.
TEST_F(SetupSubtitleWindowTest, ValuesMissingFromTheBoxesAreKept) {
    m_clip->i_SubtitleFontSize = 997;
    m_clip->s_SubtitleFontName = "No Such Face";
    i_FontSize = 997;
    Edit([](TSetupSubtitleWindow* w) { Click(w->suiImageButton_Ok); });
    EXPECT_EQ(m_clip->i_SubtitleFontSize, 997);
    EXPECT_EQ(m_clip->s_SubtitleFontName, "No Such Face");
    EXPECT_EQ(i_FontSize, 997);
    EXPECT_EQ(TIniFile(OptionFileName()).ReadInteger("Option", "FontSize", 0), 997);
}

TEST_F(SetupSubtitleWindowTest, LanguageBeyondTheRegionsShowsNoneAndIsKept) {
    m_clip->i_SubtitleLanguageIndex = 9;
    Edit([](TSetupSubtitleWindow* w) {
        EXPECT_EQ(w->suiComboBox_SubtitleLanguage->GetItemIndex(), -1);
        Click(w->suiImageButton_Ok);
    });
    EXPECT_EQ(m_clip->i_SubtitleLanguageIndex, 9);
}

TEST_F(SetupSubtitleWindowTest, AFailedSettingsWriteIsReportedAndTheClipKeepsItsChoice) {
    std::filesystem::remove(m_dir["Option.ini"]);
    std::filesystem::create_directory(m_dir["Option.ini"]);
    Edit([](TSetupSubtitleWindow* w) {
        w->suiComboBox_SubtitleLanguage->SetItemIndex(1);
        Click(w->suiImageButton_Ok);
    });
    EXPECT_EQ(m_clip->i_SubtitleLanguageIndex, 1);
    EXPECT_EQ(m_ask.Of(TQuestionKind::MessageBox).size(), 1u);
}

// Rows of the sample line in the 720 x 540 picture: white somewhere, none at or below 510.
void SampleRows(TBitmap* Picture, int& Top, int& Bottom) {
    Top = -1;
    Bottom = -1;
    for (int y = 0; y < Picture->GetHeight(); ++y)
        for (int x = 0; x < Picture->GetWidth(); x += 1)
            if (Picture->GetCanvas()->GetPixels(x, y) == clWhite) {
                if (Top < 0) Top = y;
                Bottom = y;
                break;
            }
}

TEST_F(SetupSubtitleWindowTest, TheSampleBottomStaysAt510ForTwoSizes) {
    int tops[2] = {};
    int index = 0;
    for (int size : {16, 40}) {
        m_clip->i_SubtitleFontSize = size;
        m_clip->s_SubtitleFontName = "";
        Edit([&](TSetupSubtitleWindow* w) {
            ASSERT_NE(w->PreviewBitmap, nullptr);
            int top = 0, bottom = 0;
            SampleRows(w->PreviewBitmap, top, bottom);
            EXPECT_GE(top, 0);
            EXPECT_LT(bottom, SubtitlePreviewBaseline);
            EXPECT_GE(bottom, SubtitlePreviewBaseline - size);
            EXPECT_EQ(w->SampleBottom, SubtitlePreviewBaseline);
            tops[index] = top;
            if (size == 40) {
                testing_vcl::SaveRender(w, "app", "subtitle_dialog.png");
            }
            w->SetModalResult(mrCancel);
        });
        ++index;
    }
    EXPECT_LT(tops[1], tops[0]);
}

}  // namespace
