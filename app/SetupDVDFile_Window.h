// The Burner mode's source page: a DVD folder to burn as it is, or VOB files to author first.
//
//   BurnWindow->SetBurnMode();           (the main window's Burner button)
//   SetupDVDFileWindow->ShowModal();     Folder or File fills the grid; Burn hands over:
//     a DVD folder  -> BurnWindow->SetBurnSource(true, folder, 0), BurnWindow->ShowModal()
//     VOB clips     -> CompilerWindow->SetCompileMode(), CompilerWindow->ShowModal()
//
// In VOB mode the grid mirrors ClipInfo; in folder mode ClipInfo is empty and the grid lists the
// folder's IFO, BUP and VOB files. Every show starts in VOB mode with an empty grid.
#pragma once

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StringList.h"
#include "skin/controls/SUIGrid.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUISkinForm.h"

class TClipInfo;

class TSetupDVDFileWindow : public TForm {
    VCL_CLASS(TSetupDVDFileWindow)
    explicit TSetupDVDFileWindow(TComponent* AOwner);
    ~TSetupDVDFileWindow() override;

    TsuiSkinForm* suiSkinForm1;
    TsuiStringGrid* suiStringGrid_DVDFiles;
    TsuiImageButton* suiImageButton_Folder;
    TsuiImageButton* suiImageButton_File;
    TsuiImageButton* suiImageButton_Burn;
    TsuiImageButton* suiImageButton_Close;
    TsuiImageButton* suiImageButton_DVD5;
    TsuiImageButton* suiImageButton_DVD9;
    TImage* Image8500;
    TImage* Image_DiscSizeProgress;
    TOpenDialog* OpenDialog;

    void ApplyLanguage();
    void ShowButtonWords();
    void ShowChosenRow(bool HasFiles);

    // ---- handlers ----
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void suiImageButton_FileClick(TObject* Sender);
    void suiImageButton_FolderClick(TObject* Sender);
    void suiImageButton_BurnClick(TObject* Sender);
    void suiImageButton_CloseClick(TObject* Sender);
    void suiImageButton_DVD5Click(TObject* Sender);
    void suiImageButton_DVD9Click(TObject* Sender);
    void suiStringGrid_DVDFilesMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    // ---- the page's operations ----
    void InitPage();
    // False when the folder is no complete DVD structure; nothing has changed then.
    bool LoadDVDFolder(const String& Folder);
    void AddVobsFromFolder(const String& Folder);
    void AddVobFile(const String& Path);
    // A clip for a program-stream VOB file the media library reads; null otherwise.
    TClipInfo* MakeVobClip(const String& Path);
    bool HasBup(const String& Path);
    void ListFiles(const String& Folder, const String& Extension, TStringList* List);
    void ClearGrid();
    void AddGridRow(const String& File, const String& Format, const String& Size, const String& Duration, int Index);
    void UpdateSizeBar(Int64 KB);
    void RefreshVobList();
    void SetDVD5();
    void SetDVD9();
    void CheckMixedStandards();
    bool BuildPopup();
    void PopupClick(TObject* Item);

    bool b_FolderMode = false;
    String s_DVDFolder;
    Int64 i_UsedKB = 0;
    Int64 i_DiscCapacityKB[2] = {0, 0};
    bool b_Busy = false;
    TPopupMenu* FilePopupMenu = nullptr;
    int i_ClickedRow = 0;

private:
    void CreateComponents();
    void CreateControls();
    void SetupGrid();
    void ShapeButtons();
    void InstallHandlers();
};

// The Compiler window's aspect for a clip's aspect code: 2 (16:9) for the wide codes 3 and 4,
// 1 (4:3) for every other code.
int CompilerAspectOfCode(int AspectCode);

extern TSetupDVDFileWindow* SetupDVDFileWindow;
