#include "app/SetupChapter_Window.h"

#include <vector>

#include "app/CustomClass.h"
#include "app/Language.h"
#include "app/ResPictures.h"
#include "menu/MenuObjects.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Resources.h"

TSetupChapterWindow* SetupChapterWindow = nullptr;

namespace {

// Missing artwork leaves a button plain: the dialog still works.
void LoadArtwork(TPicture* Picture, const String& ResourceName) {
    TBitmap bitmap;
    try {
        bitmap.LoadFromResourceName(HInstance, ResourceName);
    } catch (const EResNotFound&) {
        return;
    }
    Picture->SetBitmap(&bitmap);
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
    suiSkinForm1 = new TsuiSkinForm(this);
    suiSkinForm1->SetName("suiSkinForm1");
    suiSkinForm1->SetParent(this);
    suiSkinForm1->SetTransparentColor(clFuchsia);
    // Without its artwork the dialog keeps the window system's frame.
    if (!LoadResSkin(suiSkinForm1, "chapter_skin.bmp")) SetBorderStyle(bsDialog);
    CreateControls();
    CreateButtons();
    ShowButtonWords();
    CloseOnEscape(this, suiImageButton1);
    AfterConstruction();
}

TSetupChapterWindow::~TSetupChapterWindow() {
    if (SetupChapterWindow == this) SetupChapterWindow = nullptr;
}

TLabel* TSetupChapterWindow::NewLabel(const String& Name, const String& Caption, int Left, int Top) {
    auto* label = new TLabel(this);
    label->SetName(Name);
    label->SetParent(this);
    label->SetTransparent(true);
    label->SetCaption(Caption);
    label->SetLeft(Left);
    label->SetTop(Top);
    return label;
}

TsuiSpinEdit* TSetupChapterWindow::NewSpin(const String& Name, int Left, int MaxValue) {
    auto* spin = new TsuiSpinEdit(this);
    spin->SetName(Name);
    spin->SetParent(this);
    spin->SetMinValue(0);
    spin->SetMaxValue(MaxValue);
    spin->SetBounds(Left, 186, 56, 21);
    spin->SetValue(0);
    return spin;
}

TsuiImageButton* TSetupChapterWindow::NewButton(const String& Name, const char* Art, int Left, int Top,
                                                int Width, int Height) {
    auto* button = new TsuiImageButton(this);
    button->SetName(Name);
    button->SetParent(this);
    LoadArtwork(button->GetPicNormal(), Art);
    LoadArtwork(button->GetPicMouseOn(), String(Art) + "ON");
    LoadArtwork(button->GetPicMouseDown(), String(Art) + "DOWN");
    button->SetBounds(Left, Top, Width, Height);
    return button;
}

void TSetupChapterWindow::CreateControls() {
    Label1 = NewLabel("Label1", "Current Chapter List :", 16, 30);
    suiListBox_Time = new TsuiListBox(this);
    suiListBox_Time->SetName("suiListBox_Time");
    suiListBox_Time->SetParent(this);
    suiListBox_Time->SetStyle(lbOwnerDrawFixed);
    suiListBox_Time->SetItemHeight(16);
    suiListBox_Time->SetBounds(16, 46, 160, 232);
    suiListBox_Time->OnClick = [this](TObject* s) { suiListBox_TimeClick(s); };
    Label6 = NewLabel("Label6", "Auto Split Chapter", 200, 36);
    suiComboBox_Auto = new TsuiComboBox(this);
    suiComboBox_Auto->SetName("suiComboBox_Auto");
    suiComboBox_Auto->SetParent(this);
    suiComboBox_Auto->SetStyle(csDropDownList);
    suiComboBox_Auto->SetBounds(200, 56, 80, 21);
    suiComboBox_Auto->OnChange = [this](TObject* s) { suiComboBox_AutoChange(s); };
    Label2 = NewLabel("Label2", "Input Split Chapter Time :", 200, 144);
    Label3 = NewLabel("Label3", "Hour :", 200, 168);
    Label4 = NewLabel("Label4", "Min. :", 264, 168);
    Label5 = NewLabel("Label5", "Sec. :", 328, 168);
    suiSpinEdit_Hour = NewSpin("suiSpinEdit_Hour", 200, 23);
    suiSpinEdit_Min = NewSpin("suiSpinEdit_Min", 264, 59);
    suiSpinEdit_Sec = NewSpin("suiSpinEdit_Sec", 328, 59);
}

void TSetupChapterWindow::CreateButtons() {
    suiButton_Insert = NewButton("suiButton_Insert", "CHAPTERINSERT", 200, 224, 72, 26);
    suiButton_Insert->OnClick = [this](TObject* s) { suiButton_InsertClick(s); };
    suiButton_Modify = NewButton("suiButton_Modify", "CHAPTERMODIFY", 280, 224, 72, 26);
    suiButton_Modify->OnClick = [this](TObject* s) { suiButton_ModifyClick(s); };
    suiButton_Delete = NewButton("suiButton_Delete", "CHAPTERDELETE", 360, 224, 72, 26);
    suiButton_Delete->OnClick = [this](TObject* s) { suiButton_DeleteClick(s); };
    suiImageButton2 = NewButton("suiImageButton2", "CHAPTEROK", 408, 284, 42, 42);
    suiImageButton2->SetModalResult(mrOk);
    suiImageButton1 = NewButton("suiImageButton1", "CHAPTERCANCEL", 360, 284, 42, 42);
    suiImageButton1->SetModalResult(mrCancel);
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
