// The settings dialog's lists on a real display, shown modally and driven with the X server's
// input: Escape closes an open list and only the list; the next Escape cancels the dialog, and
// no list is left on the screen.
#include <gtest/gtest.h>

#include <fstream>

#include "app/Option_Window.h"
#include "core/Pubfunction.h"
#include "platform/vcl/Registry.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"
#include "tests/support/xdisplay/XInput.h"

namespace {

using namespace testing_x;

class OptionWindowLists : public ::testing::Test {
protected:
    testing_vcl::TTempFolder dir{"optionwin_x"};
    String savedExePath = ExePath;
    String savedStore = TRegistry::StoreFile();
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
    std::unique_ptr<TOptionWindow> window;

    void SetUp() override {
        if (!OnRealDisplay()) GTEST_SKIP() << "no X display";
        ExePath = dir.Path() + "/";
        TRegistry::SetStoreFile(dir["registry.ini"]);
        std::ofstream(dir["Language.ini"]) << "[RegionCount]\nRegion=3\n[RegionLanguage]\n"
                                              "Region0=English\nRegion1=French\nRegion2=German\n";
        std::ofstream(dir["Subtitle.ini"]) << "[RegionCount]\nRegion=3\n[RegionLanguage]\n"
                                              "Region0=Klingon\nRegion1=Elvish\nRegion2=Dothraki\n";
        ask.ModalTimeoutMs = 20000;
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
        window = std::make_unique<TOptionWindow>(nullptr);
        window->AfterConstruction();
        window->OnDestroy = nullptr;
    }
    void TearDown() override {
        window.reset();
        installed.reset();
        ExePath = savedExePath;
        TRegistry::SetStoreFile(savedStore);
    }
};

TEST_F(OptionWindowLists, EscapeClosesTheOpenListThenCancelsTheDialogLeavingNoListBehind) {
    TsuiComboBox* language = window->suiComboBox_MenuLanguage;
    int first = -1;
    bool closedByEscape = false;
    bool dialogStayed = false;
    int picked = -1;
    TRect listArea;
    std::vector<TColor> withList;
    DuringModal(ask, [&](TCustomForm* Form) {
        first = language->GetItemIndex();
        ClickOn(language);
        testing_vcl::RunUntil([&] { return language->GetDroppedDown(); }, 2000);
        Settle(200);
        listArea = DroppedListArea(language);
        withList = ScreenArea(listArea);
        Key("Down");
        Key("Escape");
        closedByEscape = !language->GetDroppedDown();
        dialogStayed = Form->GetVisible() && Form->GetModalResult() == mrNone;
        PickWithTheMouse(language, 2);
        picked = language->GetItemIndex();
        // The list open once more when Escape comes: the dialog still has the first Escape's
        // answer, closing only the list; the second cancels it.
        ClickOn(language);
        testing_vcl::RunUntil([&] { return language->GetDroppedDown(); }, 2000);
        Key("Escape");
        Key("Escape");
    });
    EXPECT_EQ(window->ShowModal(), mrCancel);
    Settle(300);
    EXPECT_TRUE(ask.Failures.empty());
    EXPECT_TRUE(closedByEscape);
    EXPECT_TRUE(dialogStayed) << "Escape with the list open is the list's";
    EXPECT_EQ(first, 0);
    EXPECT_EQ(picked, 2) << "the mouse took the third language";
    EXPECT_FALSE(language->GetDroppedDown());
    ASSERT_FALSE(listArea.IsEmpty());
    // Where the list was, the screen no longer shows it (the dialog is gone too).
    EXPECT_GT(DifferingPixels(withList, ScreenArea(listArea)), listArea.Width() * listArea.Height() / 2);
}

TEST_F(OptionWindowLists, TheEditableSubtitleLanguageListTakesTheMouseOnItsPage) {
    TsuiComboBox* subtitle = window->suiComboBox_SubtitleLanguage;
    int items = 0;
    bool opened = false;
    DuringModal(ask, [&](TCustomForm* Form) {
        ClickOn(window->suiImageButton_Language);
        Settle(200);
        items = subtitle->GetItems()->Count();
        opened = PickWithTheMouse(subtitle, 1);
        Form->SetModalResult(mrCancel);
    });
    window->ShowModal();
    ASSERT_GE(items, 2);
    EXPECT_TRUE(opened);
    EXPECT_EQ(subtitle->GetItemIndex(), 1);
    EXPECT_EQ(subtitle->GetText(), subtitle->GetItems()->Strings(1));
    EXPECT_FALSE(subtitle->GetDroppedDown());
}

}  // namespace
