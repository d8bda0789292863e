// The settings dialog and the owner of Option.ini beside the program.
//
//   Created once at start-up: reads Option.ini into the global settings (the only read).
//   ShowModal(): the controls show the globals; OK copies them back and saves the file,
//   Cancel (or Escape) changes nothing. Destroyed at the end: saves the file again.
#pragma once

#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/IniFiles.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/controls/SUIComboBox.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIFontComboBox.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUICheckBox.h"
#include "skin/core/SUIImagePanel.h"
#include "skin/core/SUISkinForm.h"

class TOptionWindow : public TForm {
    VCL_CLASS(TOptionWindow)
    explicit TOptionWindow(TComponent* AOwner);
    ~TOptionWindow() override;

    TsuiSkinForm* suiSkinForm1;
    TsuiImageButton* suiImageButton_General;
    TsuiImageButton* suiImageButton_Language;
    TsuiImageButton* suiImageButton_Burner;
    TsuiImagePanel* suiImagePanel_General;
    TsuiImagePanel* suiImagePanel_Language;
    TsuiImagePanel* suiImagePanel_Burner;
    TsuiImageButton* suiImageButton_Ok;
    TsuiImageButton* suiImageButton_Cancel;
    // General
    TsuiEdit* suiEdit_OutputFolder;
    TsuiImageButton* suiImageButton_Browse;
    TsuiCheckBox* suiCheckBox_DeleteTemp;
    TsuiCheckBox* suiCheckBox_4_3;
    TsuiCheckBox* suiCheckBox_16_9;
    TsuiImageButton* suiImageButton_4_3;
    TsuiImageButton* suiImageButton_16_9;
    TsuiCheckBox* suiCheckBox_NTSC;
    TsuiCheckBox* suiCheckBox_PAL;
    TsuiImageButton* suiImageButton_NTSC;
    TsuiImageButton* suiImageButton_PAL;
    TsuiCheckBox* suiCheckBox_D5;
    TsuiCheckBox* suiCheckBox_D9;
    TsuiImageButton* suiImageButton_D5;
    TsuiImageButton* suiImageButton_9;
    TsuiSpinEdit* suiSpinEdit_DVDMenuSafeDistance;
    TsuiSpinEdit* suiSpinEdit_Duration;
    TsuiComboBox* suiComboBox_MenuLanguage;
    // Language
    TsuiFontSizeComboBox* suiFontSizeComboBox;
    TsuiGroupBox* suiGroupBox_UserDefine;
    TsuiComboBox* suiComboBox_SubtitleLanguage;
    TsuiEdit* suiComboBox_FontFile;
    TsuiEdit* suiComboBox_CharSet;
    TsuiEdit* suiComboBox_LanguageCode;
    TsuiImageButton* suiImageButton_Load;
    // Burner
    TsuiCheckBox* suiCheckBox_SPTI;
    TsuiCheckBox* suiCheckBox_ASPI;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);

    void LoadOptions();
    // False (after telling the person) when the file could not be written.
    bool SaveOptions();
    void ApplyLanguage();
    void ShowButtonWords();

    void suiImageButton_GeneralClick(TObject* Sender);
    void suiImageButton_OkClick(TObject* Sender);
    void suiImageButton_BrowseClick(TObject* Sender);
    void suiImageButton_LoadClick(TObject* Sender);
    void suiComboBox_SubtitleLanguageChange(TObject* Sender);
    void suiCheckBox_SPTIClick(TObject* Sender);
    void suiCheckBox_ASPIClick(TObject* Sender);
    void suiCheckBox_4_3Click(TObject* Sender);
    void suiCheckBox_16_9Click(TObject* Sender);
    void suiImageButton_4_3Click(TObject* Sender);
    void suiImageButton_16_9Click(TObject* Sender);
    void suiCheckBox_NTSCClick(TObject* Sender);
    void suiCheckBox_PALClick(TObject* Sender);
    void suiImageButton_NTSCClick(TObject* Sender);
    void suiImageButton_PALClick(TObject* Sender);
    void suiCheckBox_D5Click(TObject* Sender);
    void suiCheckBox_D9Click(TObject* Sender);
    void suiImageButton_D5Click(TObject* Sender);
    void suiImageButton_9Click(TObject* Sender);

    bool b_OkPressed = false;

    // The number of Language.ini's regions: the subtitle-language list's position p is region
    // LanguageIniCount + p.
    int GetLanguageIniCount() const { return m_languageIniCount; }

private:
    void CreateComponents();
    void CreateControls();
    void SetButtonLooks();
    void SetTextColours();
    void SetFieldLooks();
    void InstallHandlers();

    void FillRegionList(TsuiComboBox* List, const String& IniName, int DefaultCount);
    void ReadFixedValues(TIniFile& Ini);
    void ChooseUILanguage(TIniFile& Ini);
    void ApplyFirstRunDefaults();
    void ReadStoredChoices(TIniFile& Ini);
    void ShowGlobals();
    void CopyControlsToGlobals();
    void WriteOptions(TCustomIniFile& Ini);
    int SubtitleRegion() const;
    bool WriteUserLanguage(const String& Name);

    int m_languageIniCount = 0;
};

extern TOptionWindow* OptionWindow;

// The path of the settings file: ExePath + "Option.ini".
String OptionFileName();

// Selects Index, or the first item when Index is outside the list (none when it is empty).
void SelectItemOrFirst(TCustomComboBox* List, int Index);
