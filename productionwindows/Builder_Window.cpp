#include "productionwindows/Builder_Window.h"

#include "core/Pubfunction.h"

TBuilderWindow* BuilderWindow = nullptr;

TBuilderWindow::TBuilderWindow(TComponent* AOwner)
    : TProductionWindow(AOwner, TBurnerChoice::Shared, TDeviceButton::With) {
    SetName("BuilderWindow");
    g_i_BurnerIndex = suiComboBox_Drive->GetItemIndex();
    AfterConstruction();
}

void TBuilderWindow::SetBuildMode() {
    SetMode(TProductionMode::Build);
    suiGroupBox_Burner->SetVisible(true);
    suiGroupBox_Output->SetVisible(true);
    Label8->SetVisible(true);
    suiEdit_OutputFolder->SetVisible(true);
    suiImageButton_Browse->SetVisible(true);
}

bool TBuilderWindow::RunSteps() {
    if (!ConvertClips()) return false;
    if (!MuxSubtitles()) return false;
    if (!CreateTitleMenu()) return false;
    if (!CreateChapterMenus()) return false;
    if (!AuthorDVD()) return false;
    return FinishDisc();
}
