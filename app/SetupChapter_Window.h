// The chapter dialog: the chapter times of one clip, proposed as an even split of its trim
// range and edited one time at a time. The menu designer uses it as
//   if (SetupChapterWindow->SetupClip(clip) && SetupChapterWindow->ShowModal() == mrOk)
//       ... read Count and the first Count entries of Times ...
// The list's rules live in TChapterList; this window shows them and carries the messages.
#pragma once

#include "core/ChapterList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIComboBox.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIListBox.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUISkinForm.h"

class TClipInfo;

class TSetupChapterWindow : public TForm {
    VCL_CLASS(TSetupChapterWindow)
    explicit TSetupChapterWindow(TComponent* AOwner);
    ~TSetupChapterWindow() override;

    // Loads the dialog for Clip: its chapter menu's button times, else a proposed split. False
    // only for a null clip. The caller shows the dialog.
    bool SetupClip(TClipInfo* AClip);
    void SetChapterList(const int* NewTimes, int N);
    void ApplyLanguage();

    void suiListBox_TimeClick(TObject* Sender);
    void suiComboBox_AutoChange(TObject* Sender);
    void suiButton_InsertClick(TObject* Sender);
    void suiButton_ModifyClick(TObject* Sender);
    void suiButton_DeleteClick(TObject* Sender);

    TLabel* Label1;
    TsuiListBox* suiListBox_Time;
    TLabel* Label6;
    TsuiComboBox* suiComboBox_Auto;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label5;
    TsuiSpinEdit* suiSpinEdit_Hour;
    TsuiSpinEdit* suiSpinEdit_Min;
    TsuiSpinEdit* suiSpinEdit_Sec;
    TsuiImageButton* suiButton_Insert;
    TsuiImageButton* suiButton_Modify;
    TsuiImageButton* suiButton_Delete;
    TsuiImageButton* suiImageButton2;
    TsuiImageButton* suiImageButton1;
    TsuiSkinForm* suiSkinForm1;

    TChapterList Chapters;
    TClipInfo* Clip = nullptr;
    // What the designer reads after OK.
    int& Count = Chapters.Count;
    int (&Times)[MaxChapters] = Chapters.Times;

private:
    void CreateControls();
    void InstallHandlers();
    void ShowButtonWords();
    // The list box and spin edits from Chapters.
    void ShowList();
    void ShowSelection();
    void ShowAutoItems();
    int EnteredTime() const;
    // Takes the list box's selection into Chapters.
    void TakeSelection();
    // The refusal's message, when there is one.
    void Report(int Refusal);
};

extern TSetupChapterWindow* SetupChapterWindow;
