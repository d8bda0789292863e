#include "productionwindows/Convert_Window.h"

#include "app/ResPictures.h"

TConvertWindow* ConvertWindow = nullptr;

TConvertWindow::TConvertWindow(TComponent* AOwner)
    : TProductionWindow(AOwner, TBurnerChoice::Own, TDeviceButton::Without) {
    SetName("ConvertWindow");
    PlaceControls();
    AfterConstruction();
}

void TConvertWindow::PlaceControls() {
    // A skin of its own, drawn for the shorter layout.
    LoadResSkin(suiSkinForm1, "convert_skin.bmp");
    SetClientHeight(402);
    suiGroupBox_Output->SetBounds(16, 37, 519, 118);
    suiGroupBox_Burner->SetTop(584);
    suiGroupBox_Burner->SetVisible(false);
    Image_Progress1->SetLeft(142);
    Image_Progress1->SetTop(261);
    Label2->SetTop(260);
    Label_Progress1->SetLeft(253);
    Label_Progress1->SetTop(259);
    Label11->SetVisible(false);
    Image_Progress2->SetVisible(false);
    Label_Progress2->SetVisible(false);
    Label12->SetTop(180); Label_CurrentTime->SetTop(180); Label13->SetTop(180); Label_Duration->SetTop(180);
    Label14->SetTop(210); Label_FPS->SetTop(210); Label15->SetTop(210); Label_CurrentFrame->SetTop(210);
    suiImageButton_Start->SetTop(170);
    suiImageButton_Stop->SetTop(170);
    Memo_Msg->SetTop(289);
}

void TConvertWindow::SetConvertMode() {
    SetMode(TProductionMode::Convert);
    suiGroupBox_Burner->SetVisible(false);
    suiGroupBox_Output->SetVisible(true);
    Label8->SetVisible(true);
    suiEdit_OutputFolder->SetVisible(true);
    suiImageButton_Browse->SetVisible(true);
}

bool TConvertWindow::RunSteps() {
    if (!ConvertClips()) return false;
    OpenOutputFolder();
    return true;
}
