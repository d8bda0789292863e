// The drop-down lists of the windows the other real-display tests do not open (the chapter
// dialog, the text dialog, the production window), each shown modally as the program shows it:
// the mouse picks the first, a middle and the last item of every list.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "app/SetupChapter_Window.h"
#include "menu/SetupText_Window.h"
#include "productionwindows/Builder_Window.h"
#include "tests/disc/FakeSdkFixture.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/xdisplay/XInput.h"

namespace {

using namespace testing_x;

struct TPicked {
    String List;
    int Wanted;
    int Shown;
    bool Opened;
    bool Closed;
};

// Picks the first, a middle and the last item of List with the mouse, noting what each pick
// left in the box.
void PickAcross(TCustomComboBox* List, std::vector<TPicked>& Picks) {
    const int count = List->GetItems()->Count();
    std::vector<int> indices{0};
    if (count > 2) indices.push_back(count / 2);
    if (count > 1) indices.push_back(count - 1);
    for (int index : indices) {
        const bool opened = PickWithTheMouse(List, index);
        Picks.push_back({List->GetName(), index, List->GetItemIndex(), opened, !List->GetDroppedDown()});
    }
}

void ExpectEveryPickTaken(const std::vector<TPicked>& Picks, size_t Lists) {
    size_t named = 0;
    String last;
    for (const TPicked& p : Picks) {
        if (p.List != last) ++named;
        last = p.List;
        EXPECT_TRUE(p.Opened) << p.List << " item " << p.Wanted;
        EXPECT_EQ(p.Shown, p.Wanted) << p.List;
        EXPECT_TRUE(p.Closed) << p.List << " item " << p.Wanted;
    }
    EXPECT_EQ(named, Lists) << "every list was tried";
}

class EveryDropDown : public FakeSdkTest {
protected:
    void SetUp() override {
        if (!OnRealDisplay()) GTEST_SKIP() << "no X display";
        FakeSdkTest::SetUp();
        ExePath = program.Path();
        ask.ModalTimeoutMs = 30000;
        installed = std::make_unique<testing_vcl::TInstallInteraction>(ask);
    }
    void TearDown() override {
        if (!installed) return;
        installed.reset();
        Pubfunction::ClearClipInfo();
        ExePath = savedExePath;
        g_i_BurnerIndex = savedBurner;
        g_i_OutputQuality = savedQuality;
        FakeSdkTest::TearDown();
    }
    // A burner with a blank DVD-R in it.
    void AddWriter(const std::string& Name) {
        fake_starburn::FakeDrive& drive = AddDrive(Name);
        drive.mediaType = 13;
        drive.discStatus = 0;
        drive.nwaValid = false;
        drive.nwa = 100;
    }

    String savedExePath = ExePath;
    int savedBurner = g_i_BurnerIndex;
    int savedQuality = g_i_OutputQuality;
    testing_vcl::TPrivateProgramFolder program;
    testing_vcl::TScriptedInteraction ask;
    std::unique_ptr<testing_vcl::TInstallInteraction> installed;
};

TEST_F(EveryDropDown, TheChapterDialogsCountList) {
    TSetupChapterWindow window(nullptr);
    TClipInfo clip;
    clip.i_TrimStart = 0;
    clip.i_TrimEnd = 3600;
    ASSERT_TRUE(window.SetupClip(&clip));
    std::vector<TPicked> picks;
    DuringModal(ask, [&](TCustomForm* Form) {
        PickAcross(window.suiComboBox_Auto, picks);
        Form->SetModalResult(mrCancel);
    });
    window.ShowModal();
    EXPECT_TRUE(ask.Failures.empty());
    ExpectEveryPickTaken(picks, 1);
    EXPECT_EQ(window.suiComboBox_Auto->GetText(), "12") << "the last count picked";
}

TEST_F(EveryDropDown, TheTextDialogsFontStyleAndSizeLists) {
    TSetupTextWindow window(nullptr);
    TForm owner(nullptr);
    TLabel* label = new TLabel(&owner);
    label->SetParent(&owner);
    label->SetCaption("Title");
    label->GetFont()->SetName("Liberation Sans");
    label->GetFont()->SetSize(16);
    std::vector<TPicked> picks;
    DuringModal(ask, [&](TCustomForm* Form) {
        PickAcross(window.suiFontComboBox, picks);
        PickAcross(window.suiComboBox_Style, picks);
        PickAcross(window.suiFontSizeComboBox, picks);
        Form->SetModalResult(mrCancel);
    });
    window.EditLabel(label);
    EXPECT_TRUE(ask.Failures.empty());
    ExpectEveryPickTaken(picks, 3);
}

TEST_F(EveryDropDown, TheProductionWindowsQualityDriveAndSpeedLists) {
    AddWriter("CdRom0");
    AddWriter("CdRom1");
    g_i_BurnerIndex = 0;
    g_i_OutputQuality = 1;
    TBuilderWindow window(nullptr);
    window.SetBuildMode();
    std::vector<TPicked> picks;
    DuringModal(ask, [&](TCustomForm* Form) {
        PickAcross(window.suiComboBox_OutputQuality, picks);
        PickAcross(window.suiComboBox_Drive, picks);
        PickAcross(window.suiComboBox_WriteSpeed, picks);
        Form->SetModalResult(mrCancel);
    });
    window.ShowModal();
    EXPECT_TRUE(ask.Failures.empty());
    ExpectEveryPickTaken(picks, 3);
    EXPECT_EQ(window.suiComboBox_Drive->GetItemIndex(), 1);
}

}  // namespace
