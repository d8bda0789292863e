// The clip editor on a real display, in its real modal loop and driven with the X server's
// input: a clip row's popup menu takes a click.
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
#include "platform/vcl/ExtCtrls.h"
#include "platform/win32/Windows.h"
#include "tests/support/ScriptedInteraction.h"
#include "tests/support/StartUpFixture.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHelpers.h"
#include "tests/support/xdisplay/XInput.h"

namespace fs = std::filesystem;

namespace {

using namespace testing_x;


extern "C" int Unrelated() { return 0; }

// The editor in builder mode (no media library: rows without pictures), with the windows
// start-up creates before it.
class ClipEditorChain : public testing_vcl::TStartUpTest {
protected:
    ClipEditorChain() : TStartUpTest("setupclip_x") {}

    void SetUp() override {
        if (!OnRealDisplay()) GTEST_SKIP() << "no X display";
        OpenProgramFolder("[Option]\nUseDefault=0\nOutputQuality=0\n");
        Win32_RegisterModule(MediaLibraryName, {{"X_Unrelated", reinterpret_cast<FARPROC>(&Unrelated)}});
        ask.ModalTimeoutMs = 30000;
        ask.RealPopups = true;
        MakeStartUpWindows();
        SetupClipWindow->SetBuilderMode();
    }
    // Two clips in the shown editor (showing it starts a new list).
    void AddTwoClips() {
        for (const char* name : {"first.mpg", "second.mpg"}) {
            auto clip = std::make_unique<TClipInfo>();
            clip->SetFileName(dir.Path() + "/" + name);
            clip->SetMediaInfo(100, 25, 0, 160, 120, 2, 48000, 0, 0, 0);
            SetupClipWindow->AddClipRow(clip.release());
        }
        Settle(200);
    }
    void TearDown() override {
        FreeStartUpWindows();
        Win32_UnregisterModule(MediaLibraryName);
    }
};

TEST_F(ClipEditorChain, AClipRowsPopupMenuTakesAClickInTheModalEditor) {
    TClipInfo* second = nullptr;
    bool showed = false;
    bool moved = false;
    TTimer chooser(nullptr);
    chooser.SetEnabled(false);
    chooser.SetInterval(500);
    chooser.OnTimer = [&](TObject*) {
        chooser.SetEnabled(false);
        showed = SetupClipWindow->GetClipPopupMenu() != nullptr && SetupClipWindow->GetClipPopupMenu()->IsShowing();
        TPoint at = Mouse->GetCursorPos();
        ClickAtScreen(at.x + 30, at.y + 10);  // the first item: move the clip up
    };
    DuringModal(ask, [&](TCustomForm* Editor) {
        AddTwoClips();
        ASSERT_EQ(ClipInfo.size(), 2u);
        second = ClipInfo[1];
        TControl* row = second->ListRow;
        TPoint p = ScreenPointOf(row, row->GetWidth() / 2, row->GetHeight() / 2);
        MoveTo(p.x, p.y);
        chooser.SetEnabled(true);
        Press(3);
        Release(3);
        moved = testing_vcl::RunUntil([&] { return ClipInfo.size() == 2 && ClipInfo[0] == second; }, 3000);
        Editor->SetModalResult(mrCancel);
    });
    SetupClipWindow->ShowModal();
    EXPECT_TRUE(showed) << "the row's popup showed over the modal editor";
    EXPECT_TRUE(moved) << "Move up, clicked, moved the second clip to the top";
    EXPECT_FALSE(SetupClipWindow->GetClipPopupMenu()->IsShowing());
}

}  // namespace
