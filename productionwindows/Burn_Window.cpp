#include "productionwindows/Burn_Window.h"

#include "core/Language.h"
#include "core/Pubfunction.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/SysUtils.h"

TBurnWindow* BurnWindow = nullptr;

// Its first drive choice stays its own: the shared burner index is the other windows' to set.
TBurnWindow::TBurnWindow(TComponent* AOwner)
    : TProductionWindow(AOwner, TBurnerChoice::Own, TDeviceButton::With) {
    SetName("BurnWindow");
    // The output group stays hidden here: its quality list is never filled.
    suiComboBox_OutputQuality->GetItems()->Clear();
    AfterConstruction();
}

void TBurnWindow::SetBurnMode() {
    SetMode(TProductionMode::BurnOnly);
    suiGroupBox_Burner->SetVisible(true);
    suiGroupBox_Output->SetVisible(false);
    Label8->SetVisible(false);
    suiEdit_OutputFolder->SetVisible(false);
    suiImageButton_Browse->SetVisible(false);
}

void TBurnWindow::SetBurnSource(bool FromFolder, const String& Folder, int VideoStandard) {
    b_FromFolder = FromFolder ? 1 : 0;
    s_DVDFolder = Folder;
    i_VideoStandard = VideoStandard;
    Label8->SetVisible(!FromFolder);
    suiEdit_OutputFolder->SetVisible(!FromFolder);
    suiImageButton_Browse->SetVisible(!FromFolder);
}

bool TBurnWindow::CheckBeforeStart() {
    b_TitleMenu = false;
    b_RootMenu = false;
    b_SkipBurn = 0;
    if (b_FromFolder && !DirectoryExists(s_DVDFolder)) {
        MessageDlg(Language::GetMessageText(Language::kMsgNoDvdFolderSelected), mtInformation, TMsgDlgButtons{mbOK});
        return false;
    }
    if (!b_FromFolder && ClipInfo.empty()) {
        MessageDlg(Language::GetMessageText(Language::kMsgNoVobToAuthor), mtInformation, TMsgDlgButtons{mbOK});
        return false;
    }
    return CheckBurnerAndDisc();
}

void TBurnWindow::SetConvertParameters() {
    TProductionWindow::SetConvertParameters();
    b_TitleMenu = false;
    b_RootMenu = false;
}

// The burning step alone, whatever b_SkipBurn says: going on without a burner or a usable disc
// leads into the step's own checks, which end the run with their result line.
bool TBurnWindow::RunSteps() { return BurnDisc(); }
