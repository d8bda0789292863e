// The clip list editor opening the subtitle dialog for a clip, as a person does it: the clip's
// subtitle icon and the row popup's "Subtitle" item, in builder mode only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "app/Main_Window.h"
#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "app/SetupClip_Window.h"
#include "model/SetupClip_WindowRows.h"
#include "app/SetupSubtitle_Window.h"
#include "platform/vcl/IniFiles.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/StartUpFixture.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"

namespace fs = std::filesystem;
using testing_vcl::TQuestionKind;

using testing_vcl::ReadText;
using testing_vcl::WriteText;

namespace {


struct ClipFixture : testing_vcl::TTempFolder {
    bool made = false;
    ClipFixture() : TTempFolder("clipsubtitle_clips") {
        if (Path().empty()) return;
        made = testing_vcl::Ffmpeg("-f lavfi -i testsrc=s=160x120:r=25:d=4 -c:v mpeg2video -aspect 4:3 -f vob",
                                   (*this)["film.mpg"]);
        // Not beside the clip, so adding it picks up no subtitle by itself.
        fs::create_directories((*this)["subs"]);
        WriteText((*this)["subs/film.srt"], "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n");
    }
};

const ClipFixture& Clip() {
    static ClipFixture f;
    return f;
}

TMenuItem* ItemNamed(TPopupMenu* Menu, const String& Name) {
    for (int i = 0; i < Menu->GetItems()->Count(); ++i)
        if (Menu->GetItems()->Items(i)->GetName() == Name) return Menu->GetItems()->Items(i);
    return nullptr;
}

class SetupClipSubtitleTest : public testing_vcl::TStartUpTest {
protected:
    SetupClipSubtitleTest() : TStartUpTest("clipsubtitle") {}
    int savedFontSize = i_FontSize;
    int savedLanguage = i_SubTitleLanguageCodeIndex;

    void SetUp() override {
        ASSERT_TRUE(Clip().made);
        OpenProgramFolder("[Option]\nDVD5Size=46080\nUseDefault=0\nFontSize=20\nSubtitleLanguage=0\n"
                          "MenuLanguage=0\nDVDMenuDuration=7\n");
        WriteText(dir["Language.ini"], "[RegionCount]\nRegion=2\n[RegionLanguage]\nRegion0=English\nRegion1=Deutsch\n");
        WriteText(dir["Subtitle.ini"], "[RegionCount]\nRegion=1\n[RegionLanguage]\nRegion0=Klingon\n");
        MakeStartUpWindows();
        SetupClipWindow->Grabber()->WaitPauseMs = 5;
        SetupClipWindow->Grabber()->TimeoutMs = 2000;
        SetupSubtitleWindow = new TSetupSubtitleWindow(nullptr);
        SetupSubtitleWindow->AfterConstruction();
    }
    void TearDown() override {
        delete SetupSubtitleWindow;
        SetupSubtitleWindow = nullptr;
        FreeStartUpWindows();
        i_FontSize = savedFontSize;
        i_SubTitleLanguageCodeIndex = savedLanguage;
    }

    TSetupClipWindow* W() const { return SetupClipWindow; }

    void OpenWithClip(bool Builder) {
        if (Builder) W()->SetBuilderMode(); else W()->SetConverterMode();
        W()->Show();
        ask.AnswerFiles({Clip()["film.mpg"]});
        testing_vcl::Click(W()->suiImageButton_AddFile);
        ASSERT_EQ(ClipInfo.size(), 1u);
    }
    size_t ModalCount() const { return ask.Of(TQuestionKind::ShowModal).size(); }
};

// The road of a Builder run: the icon opens the dialog, Load picks the SRT, a language and a
// size are chosen, OK: the clip carries them, its icon shows it, Option.ini holds the defaults.
TEST_F(SetupClipSubtitleTest, TheSubtitleIconOpensTheDialogAndOkSetsTheClip) {
    OpenWithClip(true);
    TClipInfo* clip = ClipInfo[0];
    ASSERT_NE(clip->SrtIcon, nullptr);
    EXPECT_TRUE(clip->SrtIcon->GetVisible());
    EXPECT_EQ(clip->s_SubtitleFile, "");
    TBitmap* before = clip->SrtIcon->GetPicture()->GetBitmap();
    const COLORREF iconBefore = before ? before->GetPixelColor(before->GetWidth() / 2, before->GetHeight() / 2) : 0;

    bool shown = false;
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        ASSERT_EQ(Form, SetupSubtitleWindow);
        shown = true;
        ask.AnswerFiles({Clip()["subs/film.srt"]});
        SetupSubtitleWindow->suiImageButton_Load->Click();
        SetupSubtitleWindow->suiComboBox_SubtitleLanguage->SetItemIndex(2);  // Klingon, region 2
        TStrings* sizes = SetupSubtitleWindow->suiFontSizeComboBox->GetItems();
        const int at = sizes->IndexOf("28");
        ASSERT_GE(at, 0);
        SetupSubtitleWindow->suiFontSizeComboBox->SetItemIndex(at);
        SetupSubtitleWindow->suiImageButton_Ok->Click();
    });
    testing_vcl::Click(clip->SrtIcon);
    ASSERT_TRUE(shown);

    EXPECT_EQ(clip->s_SubtitleFile, Clip()["subs/film.srt"]);
    EXPECT_EQ(clip->i_SubtitleLanguageIndex, 2);
    EXPECT_EQ(clip->i_SubtitleFontSize, 28);
    EXPECT_TRUE(clip->b_SubtitleEnabled);
    TBitmap* after = clip->SrtIcon->GetPicture()->GetBitmap();
    ASSERT_NE(after, nullptr);
    if (before != nullptr)
        EXPECT_NE(after->GetPixelColor(after->GetWidth() / 2, after->GetHeight() / 2), iconBefore)
            << "the icon is redrawn enabled";

    TIniFile ini(dir["Option.ini"]);
    EXPECT_EQ(ini.ReadInteger("Option", "SubtitleLanguage", -1), 2);
    EXPECT_EQ(ini.ReadInteger("Option", "MenuLanguage", -1), 2);
    EXPECT_EQ(ini.ReadInteger("Option", "FontSize", -1), 28);
    EXPECT_EQ(ini.ReadInteger("Option", "DVD5Size", -1), 46080) << "the other keys stay";
    EXPECT_TRUE(ask.Failures.empty());
}

TEST_F(SetupClipSubtitleTest, ThePopupsSubtitleItemOpensTheDialogInBuilderMode) {
    OpenWithClip(true);
    ask.PopupAnswers.push_back([](TPopupMenu* m) { return ItemNamed(m, "Subtitle"); });
    TCustomForm* opened = nullptr;
    ask.ModalActions.push_back([&](TCustomForm* Form) {
        opened = Form;
        SetupSubtitleWindow->suiImageButton_Cancel->Click();
    });
    testing_vcl::ClickAt(ClipInfo[0]->ListRow, 200, 30, mbRight);
    EXPECT_TRUE(testing_vcl::RunUntil([&] { return opened != nullptr; }));
    EXPECT_EQ(opened, SetupSubtitleWindow);
    EXPECT_EQ(ClipInfo[0]->s_SubtitleFile, "") << "Cancel leaves the clip alone";
}

TEST_F(SetupClipSubtitleTest, InConverterModeNeitherWayOpensTheDialog) {
    OpenWithClip(false);
    TClipInfo* clip = ClipInfo[0];
    ASSERT_NE(clip->SrtIcon, nullptr);
    EXPECT_FALSE(clip->SrtIcon->GetVisible());
    // Even a click that reaches the hidden icon does nothing.
    W()->SrtIconClick(clip->SrtIcon);
    ask.PopupAnswers.push_back([](TPopupMenu* m) { return ItemNamed(m, "Subtitle"); });
    testing_vcl::ClickAt(clip->ListRow, 200, 30, mbRight);
    testing_vcl::RunUntil([] { return false; }, 200);
    EXPECT_EQ(ModalCount(), 0u);
    EXPECT_EQ(clip->s_SubtitleFile, "");
}

}  // namespace
