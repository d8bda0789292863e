// The settings dialog and the owner of Option.ini beside the program.
#pragma once

#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/vcl/IniFiles.h"

// Until the skinned spin edits, combo boxes and check boxes come, the dialog keeps each control's
// value in one of these stand-ins. They behave as the skinned controls will where the settings
// depend on it: a spin edit keeps its value within its range, a list keeps a valid item index.
struct TOptionSpinValue {
    int MinValue;
    int MaxValue;
    int Value;
    void Set(int v) { Value = v < MinValue ? MinValue : (v > MaxValue ? MaxValue : v); }
};

struct TOptionListValue {
    std::vector<String> Items;
    int ItemIndex = -1;
    int Count() const { return static_cast<int>(Items.size()); }
    // An index outside the items selects the first item (none when the list is empty).
    void SelectOrFirst(int Index) {
        if (Index >= 0 && Index < Count())
            ItemIndex = Index;
        else
            ItemIndex = Items.empty() ? -1 : 0;
    }
};

class TOptionWindow : public TForm {
    VCL_CLASS(TOptionWindow)
    explicit TOptionWindow(TComponent* AOwner);
    ~TOptionWindow() override;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormDestroy(TObject* Sender);

    void LoadOptions();
    // False (after telling the person) when the file could not be written.
    bool SaveOptions();
    void ApplyLanguage();
    void suiComboBox_SubtitleLanguageChange(TObject* Sender);

    bool b_OkPressed = false;

    // Stand-ins for the dialog's controls (names follow the controls they stand for).
    TOptionSpinValue SpinEdit_DVDMenuSafeDistance{0, 50, 10};
    TOptionSpinValue SpinEdit_Duration{5, 999, 5};
    TOptionListValue ComboBox_MenuLanguage;
    TOptionListValue ComboBox_SubtitleLanguage;
    String Edit_OutputFolder;
    bool CheckBox_SPTI = true;
    bool CheckBox_ASPI = false;
    bool CheckBox_DeleteTemp = false;
    bool CheckBox_4_3 = true;
    bool CheckBox_16_9 = false;
    bool CheckBox_NTSC = true;
    bool CheckBox_PAL = false;
    bool CheckBox_D5 = true;
    bool CheckBox_D9 = false;
    int FontSizeBox_FontSize = 20;
    String FontFile;
    String CharSet;
    String LanguageCode;

private:
    void FillRegionList(TOptionListValue& List, const String& IniName, int DefaultCount);
    void ReadFixedValues(TIniFile& Ini);
    void ChooseUILanguage(TIniFile& Ini);
    void ApplyFirstRunDefaults();
    void ReadStoredChoices(TIniFile& Ini);
    void CopyControlsToGlobals();
    void WriteOptions(TIniFile& Ini);
};

extern TOptionWindow* OptionWindow;

// The path of the settings file: ExePath + "Option.ini".
String OptionFileName();
