#include "productionwindows/Compiler_Window.h"

#include "app/ResPictures.h"
#include "core/Language.h"

TCompilerWindow* CompilerWindow = nullptr;

TCompilerWindow::TCompilerWindow(TComponent* AOwner)
    : TProductionWindow(AOwner, TBurnerChoice::Own, TDeviceButton::With) {
    SetName("CompilerWindow");
    PlaceControls();
    // The form's own list, the first entry selected; the setting is neither read nor written.
    TStrings* items = suiComboBox_OutputQuality->GetItems();
    items->Clear();
    for (int n = Language::kMsgQualityImage; n <= Language::kMsgQualityMaxSpeed; ++n)
        items->Add(Language::GetMessageText(n));
    suiComboBox_OutputQuality->SetItemIndex(0);
    AfterConstruction();
}

void TCompilerWindow::PlaceControls() {
    // A skin of its own, drawn for the shorter layout.
    LoadResSkin(suiSkinForm1, "compiler_skin.bmp");
    SetClientHeight(402);
    suiGroupBox_Burner->SetBounds(17, 34, 515, 93);
    Label8->SetParent(this);
    Label8->SetLeft(40);
    Label8->SetTop(153);
    suiEdit_OutputFolder->SetParent(this);
    suiEdit_OutputFolder->SetLeft(144);
    suiEdit_OutputFolder->SetTop(150);
    suiImageButton_Browse->SetParent(this);
    suiImageButton_Browse->SetLeft(440);
    suiImageButton_Browse->SetTop(145);
    suiGroupBox_Output->SetTop(568);
    suiGroupBox_Output->SetVisible(false);
    // No clip is encoded here: the time and frame read-outs have nothing to show.
    for (TLabel* label : {Label12, Label_CurrentTime, Label13, Label_Duration, Label14, Label_FPS, Label15,
                          Label_CurrentFrame})
        label->SetVisible(false);
    Label2->SetCaption("Authoring Process :");
    Label2->SetTop(208);
    Image_Progress1->SetLeft(152);
    Image_Progress1->SetTop(209);
    Label_Progress1->SetLeft(263);
    Label_Progress1->SetTop(207);
    Label11->SetTop(248);
    Image_Progress2->SetLeft(152);
    Image_Progress2->SetTop(249);
    Label_Progress2->SetLeft(264);
    Label_Progress2->SetTop(247);
    suiImageButton_Start->SetTop(178);
    suiImageButton_Stop->SetTop(178);
    Memo_Msg->SetTop(289);
}

void TCompilerWindow::SetCompileMode() {
    SetMode(TProductionMode::Compile);
    suiGroupBox_Burner->SetVisible(true);
    suiGroupBox_Output->SetVisible(false);
    Label8->SetVisible(true);
    suiEdit_OutputFolder->SetVisible(true);
    suiImageButton_Browse->SetVisible(true);
}

bool TCompilerWindow::RunSteps() {
    if (!CreateTitleMenu()) return false;
    if (!CreateChapterMenus()) return false;
    if (!AuthorDVD()) return false;
    return FinishDisc();
}
