#include "app/SetupChapter_Window.h"

#include <vector>

#include "model/CustomClass.h"
#include "app/FormBuilder.h"
#include "core/Language.h"
#include "app/ResPictures.h"
#include "model/MenuObjects.h"
#include "platform/vcl/Dialogs.h"

TSetupChapterWindow* SetupChapterWindow = nullptr;

namespace {

void SetSpinRange(TsuiSpinEdit* Spin, int MaxValue) {
    Spin->SetMinValue(0);
    Spin->SetMaxValue(MaxValue);
    Spin->SetValue(0);
}

std::vector<int> ButtonTimes(const TClipInfo* Clip) {
    std::vector<int> times;
    if (Clip->ChapterMenu == nullptr) return times;
    for (const TSubButtonImage* button : Clip->ChapterMenu->Buttons) times.push_back(button->i_ChapterTime);
    return times;
}

}  // namespace

TSetupChapterWindow::TSetupChapterWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("SetupChapterWindow");
    SetPosition(poScreenCenter);
    SetClientWidth(465);
    SetClientHeight(339);
    suiSkinForm1 = NewSkinForm(this);
    // Without its artwork the dialog keeps the window system's frame.
    if (!LoadResSkin(suiSkinForm1, "chapter_skin.bmp")) SetBorderStyle(bsDialog);
    CreateControls();
    InstallHandlers();
    ShowButtonWords();
    CloseOnEscape(this, suiImageButton1);
    AfterConstruction();
}

TSetupChapterWindow::~TSetupChapterWindow() {
    if (SetupChapterWindow == this) SetupChapterWindow = nullptr;
}

void TSetupChapterWindow::CreateControls() {
    using W = TSetupChapterWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::Label1>("Label1", 16, 30, 0, 0, "Current Chapter List :"),
        Place<&W::suiListBox_Time>("suiListBox_Time", 16, 46, 160, 232),
        Place<&W::Label6>("Label6", 200, 36, 0, 0, "Auto Split Chapter"),
        Place<&W::suiComboBox_Auto>("suiComboBox_Auto", 200, 56, 80, 21),
        Place<&W::Label2>("Label2", 200, 144, 0, 0, "Input Split Chapter Time :"),
        Place<&W::Label3>("Label3", 200, 168, 0, 0, "Hour :"),
        Place<&W::Label4>("Label4", 264, 168, 0, 0, "Min. :"),
        Place<&W::Label5>("Label5", 328, 168, 0, 0, "Sec. :"),
        Place<&W::suiSpinEdit_Hour>("suiSpinEdit_Hour", 200, 186, 56, 21),
        Place<&W::suiSpinEdit_Min>("suiSpinEdit_Min", 264, 186, 56, 21),
        Place<&W::suiSpinEdit_Sec>("suiSpinEdit_Sec", 328, 186, 56, 21),
        Place<&W::suiButton_Insert>("suiButton_Insert", 200, 224, 72, 26, "CHAPTERINSERT"),
        Place<&W::suiButton_Modify>("suiButton_Modify", 280, 224, 72, 26, "CHAPTERMODIFY"),
        Place<&W::suiButton_Delete>("suiButton_Delete", 360, 224, 72, 26, "CHAPTERDELETE"),
        Place<&W::suiImageButton2>("suiImageButton2", 408, 284, 42, 42, "CHAPTEROK"),
        Place<&W::suiImageButton1>("suiImageButton1", 360, 284, 42, 42, "CHAPTERCANCEL"),
    };
    BuildControls(this, kRows);
    suiListBox_Time->SetStyle(lbOwnerDrawFixed);
    suiListBox_Time->SetItemHeight(16);
    suiComboBox_Auto->SetStyle(csDropDownList);
    SetSpinRange(suiSpinEdit_Hour, 23);
    SetSpinRange(suiSpinEdit_Min, 59);
    SetSpinRange(suiSpinEdit_Sec, 59);
    suiImageButton2->SetModalResult(mrOk);
    suiImageButton1->SetModalResult(mrCancel);
}

void TSetupChapterWindow::InstallHandlers() {
    suiListBox_Time->OnClick = [this](TObject* s) { suiListBox_TimeClick(s); };
    suiComboBox_Auto->OnChange = [this](TObject* s) { suiComboBox_AutoChange(s); };
    suiButton_Insert->OnClick = [this](TObject* s) { suiButton_InsertClick(s); };
    suiButton_Modify->OnClick = [this](TObject* s) { suiButton_ModifyClick(s); };
    suiButton_Delete->OnClick = [this](TObject* s) { suiButton_DeleteClick(s); };
}

void TSetupChapterWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    ShowButtonWords();
}

void TSetupChapterWindow::ShowButtonWords() {
    Language::ApplyMessageCaptions({{suiButton_Insert, Language::kMsgInsertWord},
                                    {suiButton_Modify, Language::kMsgModifyWord},
                                    {suiButton_Delete, Language::kMsgDeleteWord}});
}

bool TSetupChapterWindow::SetupClip(TClipInfo* AClip) {
    if (AClip == nullptr) return false;
    Clip = AClip;
    Chapters.SetupClip(Clip->i_TrimStart, Clip->i_TrimEnd, ButtonTimes(Clip));
    ShowList();
    ShowAutoItems();
    return true;
}

void TSetupChapterWindow::SetChapterList(const int* NewTimes, int N) {
    Chapters.SetChapterList(NewTimes, N);
    ShowList();
}

void TSetupChapterWindow::ShowList() {
    TStrings* items = suiListBox_Time->GetItems();
    items->Clear();
    for (const String& text : Chapters.ListTexts()) items->Add(text);
    ShowSelection();
}

void TSetupChapterWindow::ShowSelection() {
    suiListBox_Time->SetItemIndex(Chapters.Count > 0 ? Chapters.SelectedIndex : -1);
    suiSpinEdit_Hour->SetValue(Chapters.SpinHours());
    suiSpinEdit_Min->SetValue(Chapters.SpinMinutes());
    suiSpinEdit_Sec->SetValue(Chapters.SpinSeconds());
}

void TSetupChapterWindow::ShowAutoItems() {
    TStrings* items = suiComboBox_Auto->GetItems();
    items->Clear();
    for (const String& text : Chapters.AutoItems) items->Add(text);
    suiComboBox_Auto->SetItemIndex(Chapters.AutoItemIndex);
}

void TSetupChapterWindow::TakeSelection() {
    const int index = suiListBox_Time->GetItemIndex();
    if (index >= 0) Chapters.SelectItem(index);
}

int TSetupChapterWindow::EnteredTime() const {
    return TChapterList::EnteredTime(suiSpinEdit_Hour->GetValue(), suiSpinEdit_Min->GetValue(),
                                     suiSpinEdit_Sec->GetValue());
}

void TSetupChapterWindow::Report(int Refusal) {
    if (Refusal == ChapterEditDone) return;
    MessageDlg(Language::GetMessageText(Refusal), mtInformation, TMsgDlgButtons{mbOK});
}

void TSetupChapterWindow::suiListBox_TimeClick(TObject*) {
    TakeSelection();
    ShowSelection();
}

void TSetupChapterWindow::suiComboBox_AutoChange(TObject*) {
    const int index = suiComboBox_Auto->GetItemIndex();
    if (index < 0) return;
    Chapters.AutoSplit(index);
    ShowList();
}

void TSetupChapterWindow::suiButton_InsertClick(TObject*) {
    const int refusal = Chapters.Insert(EnteredTime());
    Report(refusal);
    if (refusal == ChapterEditDone) ShowList();
}

void TSetupChapterWindow::suiButton_ModifyClick(TObject*) {
    TakeSelection();
    const int refusal = Chapters.Modify(EnteredTime());
    Report(refusal);
    if (refusal == ChapterEditDone) ShowList();
}

void TSetupChapterWindow::suiButton_DeleteClick(TObject*) {
    TakeSelection();
    const int refusal = Chapters.Delete();
    Report(refusal);
    if (refusal == ChapterEditDone) ShowList();
}
