// The subtitle dialog shown modally on a real display: its language and size lists take the
// mouse, and OK, clicked next, keeps what was picked.
#include <gtest/gtest.h>

#include <fstream>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "app/SetupSubtitle_Window.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"
#include "tests/support/xdisplay/XInput.h"

namespace {

using namespace testing_x;

class SubtitleDialogLists : public ::testing::Test {
protected:
    testing_vcl::TTempFolder dir{"subtitledlg_x"};
    String savedExePath = ExePath;
    int savedFontSize = i_FontSize;
    int savedLanguage = i_SubTitleLanguageCodeIndex;
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    std::unique_ptr<TSetupSubtitleWindow> window;
    std::unique_ptr<TClipInfo> clip;

    void SetUp() override {
        if (!OnRealDisplay()) GTEST_SKIP() << "no X display";
        ExePath = dir.Path() + "/";
        std::ofstream(dir["Language.ini"]) << "[RegionCount]\nRegion=2\n[RegionLanguage]\nRegion0=English\nRegion1=Deutsch\n";
        std::ofstream(dir["Subtitle.ini"]) << "[RegionCount]\nRegion=1\n[RegionLanguage]\nRegion0=Klingon\n";
        std::ofstream(dir["Option.ini"]) << "[Option]\nOutputFolder=/tmp/out\nFontSize=20\nSubtitleLanguage=0\n";
        i_FontSize = 20;
        i_SubTitleLanguageCodeIndex = 0;
        ask.ModalTimeoutMs = 20000;
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        window = std::make_unique<TSetupSubtitleWindow>(nullptr);
        clip = std::make_unique<TClipInfo>();
        std::unique_ptr<TBitmap> frame(testing_vcl::SolidBitmap(320, 240, clNavy));
        clip->SetPicture(frame.get());
    }
    void TearDown() override {
        window.reset();
        clip.reset();
        installed.reset();
        ExePath = savedExePath;
        i_FontSize = savedFontSize;
        i_SubTitleLanguageCodeIndex = savedLanguage;
    }
};

TEST_F(SubtitleDialogLists, TheLanguageListTakesTheClickedItemAndOkKeepsIt) {
    TsuiComboBox* language = window->suiComboBox_SubtitleLanguage;
    bool opened = false;
    int shownAfterPick = -1;
    bool gone = false;
    std::vector<TColor> before;
    std::vector<TColor> after;
    TRect area;
    DuringModal(ask, [&](TCustomForm*) {
        TPoint under = language->ClientToScreen({0, language->GetHeight()});
        area = Bounds(under.x, under.y, language->GetWidth(), 3 * language->GetItemHeight() + 2);
        before = ScreenArea(area);
        opened = PickWithTheMouse(language, 2);
        shownAfterPick = language->GetItemIndex();
        gone = !language->GetDroppedDown();
        after = ScreenArea(area);
        ClickOn(window->suiImageButton_Ok);
    });
    window->SetupClip(clip.get());
    EXPECT_TRUE(ask.Failures.empty());
    EXPECT_TRUE(opened);
    EXPECT_EQ(shownAfterPick, 2);
    EXPECT_EQ(language->GetText(), "Klingon");
    EXPECT_TRUE(gone);
    EXPECT_LT(DifferingPixels(before, after), 10) << "the list is gone from the dialog";
    EXPECT_EQ(clip->i_SubtitleLanguageIndex, 2) << "OK, clicked next, kept the pick";
}

TEST_F(SubtitleDialogLists, TheSizeListTakesTheMouseToo) {
    TsuiFontSizeComboBox* size = window->suiFontSizeComboBox;
    String chosen;
    DuringModal(ask, [&](TCustomForm* Form) {
        const int target = std::min(3, size->GetItems()->Count() - 1);
        ASSERT_TRUE(PickWithTheMouse(size, target));
        chosen = size->GetItems()->Strings(target);
        Form->SetModalResult(mrCancel);
    });
    window->SetupClip(clip.get());
    EXPECT_FALSE(chosen.empty());
    EXPECT_EQ(size->GetText(), chosen);
    EXPECT_FALSE(size->GetDroppedDown());
}

}  // namespace
