#include "app/Option_Window.h"

#include "app/Language.h"
#include "app/Pubfunction.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Registry.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win32/Windows.h"

TOptionWindow* OptionWindow = nullptr;

namespace {

const String kSection = "Option";
const String kNoDefault = "Nodef";
const String kEnglish = "English.ini";

constexpr int kDefaultDiscSizePerMin = 30720;
constexpr int kDefaultDVD5Size = 4403200;
constexpr int kDefaultDVD9Size = 8704000;
constexpr int kDefaultFontSize = 20;
constexpr int kDefaultOutputQuality = 1;

// A capacity of zero or less would divide by zero in the disc-size arithmetic.
int PositiveOr(int Value, int Default) { return Value > 0 ? Value : Default; }

String RegistryUILanguage() {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly("\\SOFTWARE\\ZQDVD")) return kNoDefault;
    return reg.ValueExists("UILanguage") ? reg.ReadString("UILanguage") : kNoDefault;
}

String UserLanguageName() {
    char buffer[30] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, buffer, sizeof buffer) <= 0) return "";
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

}  // namespace

String OptionFileName() { return ExePath + "Option.ini"; }

TOptionWindow::TOptionWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("OptionWindow");
    SetPosition(poScreenCenter);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

// The destroy event runs while this window is still whole (the base would run it after).
TOptionWindow::~TOptionWindow() {
    if (OptionWindow == this) OptionWindow = nullptr;
    if (!OnDestroy) return;
    TNotifyEvent handler = std::move(OnDestroy);
    OnDestroy = nullptr;
    if (Application != nullptr) Application->Guard(this, [&] { handler(this); });
}

void TOptionWindow::FillRegionList(TOptionListValue& List, const String& IniName, int DefaultCount) {
    TIniFile ini(ExePath + IniName);
    const int count = ini.ReadInteger("RegionCount", "Region", DefaultCount);
    for (int i = 0; i < count; ++i) List.Items.push_back(ini.ReadString("RegionLanguage", "Region" + IntToStr(i), "Others"));
}

void TOptionWindow::FormCreate(TObject*) {
    ComboBox_MenuLanguage = {};
    ComboBox_SubtitleLanguage = {};
    FillRegionList(ComboBox_MenuLanguage, "Language.ini", 1);
    FillRegionList(ComboBox_SubtitleLanguage, "Subtitle.ini", 0);
    LoadOptions();
}

void TOptionWindow::FormShow(TObject*) {
    b_OkPressed = false;
    LoadOptions();
}

void TOptionWindow::FormDestroy(TObject*) { SaveOptions(); }

void TOptionWindow::ApplyLanguage() { Language::ApplyLanguageToForm(this); }

void TOptionWindow::ReadFixedValues(TIniFile& Ini) {
    OpenDialogFilter = Ini.ReadString(kSection, "OpenDialogFilter", "");
    OpenDialogMusicFilter = Ini.ReadString(kSection, "OpenDialogMusicFilter", "");
    i_DiscSizePerMin = PositiveOr(Ini.ReadInteger(kSection, "DiscSizePerMin", kDefaultDiscSizePerMin), kDefaultDiscSizePerMin);
    i_DVD5Size = PositiveOr(Ini.ReadInteger(kSection, "DVD5Size", kDefaultDVD5Size), kDefaultDVD5Size);
    i_DVD9Size = PositiveOr(Ini.ReadInteger(kSection, "DVD9Size", kDefaultDVD9Size), kDefaultDVD9Size);
    SpinEdit_DVDMenuSafeDistance.Set(Ini.ReadInteger(kSection, "DVDMenuSafeDistance", 10));
    SpinEdit_Duration.Set(Ini.ReadInteger(kSection, "DVDMenuDuration", 5));
    i_FontSize = PositiveOr(Ini.ReadInteger(kSection, "FontSize", kDefaultFontSize), kDefaultFontSize);
    const int quality = Ini.ReadInteger(kSection, "OutputQuality", kDefaultOutputQuality);
    g_i_OutputQuality = (quality >= 0 && quality <= 2) ? quality : kDefaultOutputQuality;
}

// File, then registry, then English; only once, while no language is chosen yet.
void TOptionWindow::ChooseUILanguage(TIniFile& Ini) {
    if (!UILanguage.empty()) return;
    UILanguage = Ini.ReadString(kSection, "UILanguage", kNoDefault);
    if (UILanguage == kNoDefault) UILanguage = RegistryUILanguage();
    if (UILanguage == kNoDefault || UILanguage.size() < 4) UILanguage = kEnglish;
}

void TOptionWindow::ApplyFirstRunDefaults() {
    const int version = Pubfunction::GetWindowsVersion();
    const bool win9x = version == 1 || version == 3 || version == 4 || version == 6;
    CheckBox_SPTI = !win9x;
    CheckBox_ASPI = win9x;
    Edit_OutputFolder = Pubfunction::FindTempFolder(TempSubFolder);
    CheckBox_DeleteTemp = false;
    CheckBox_4_3 = true;
    CheckBox_16_9 = false;
    CheckBox_NTSC = true;
    CheckBox_PAL = false;
    CheckBox_D5 = true;
    CheckBox_D9 = false;
    const String userLanguage = UserLanguageName();
    int index = 0;
    for (int i = 0; i < ComboBox_SubtitleLanguage.Count(); ++i) {
        if (ComboBox_SubtitleLanguage.Items[static_cast<size_t>(i)] == userLanguage) {
            index = i;
            break;
        }
    }
    ComboBox_SubtitleLanguage.SelectOrFirst(index);
    ComboBox_MenuLanguage.SelectOrFirst(index);
}

void TOptionWindow::ReadStoredChoices(TIniFile& Ini) {
    CheckBox_SPTI = Ini.ReadBool(kSection, "UseSPTI", false);
    CheckBox_ASPI = !CheckBox_SPTI;
    Edit_OutputFolder = Pubfunction::GetTempFolder(Ini.ReadString(kSection, "OutputFolder", "nodef"));
    CheckBox_DeleteTemp = Ini.ReadBool(kSection, "DeleteTempFiles", false);
    CheckBox_4_3 = Ini.ReadBool(kSection, "ImageRatio", true);
    CheckBox_16_9 = !CheckBox_4_3;
    CheckBox_NTSC = Ini.ReadBool(kSection, "VideoFormat", true);
    CheckBox_PAL = !CheckBox_NTSC;
    CheckBox_D5 = Ini.ReadBool(kSection, "DVDType", true);
    CheckBox_D9 = !CheckBox_D5;
    ComboBox_SubtitleLanguage.SelectOrFirst(Ini.ReadInteger(kSection, "SubtitleLanguage", 0));
    ComboBox_MenuLanguage.SelectOrFirst(Ini.ReadInteger(kSection, "MenuLanguage", 0));
}

void TOptionWindow::CopyControlsToGlobals() {
    b_UseSTPI = CheckBox_SPTI;
    g_s_OutputFolder = Edit_OutputFolder;
    b_DeleteTempFile = CheckBox_DeleteTemp;
    // A region index must be valid even when Language.ini lists no regions.
    const int region = ComboBox_MenuLanguage.ItemIndex < 0 ? 0 : ComboBox_MenuLanguage.ItemIndex;
    i_MenuLanguageCodeIndex = region;
    i_SubTitleLanguageCodeIndex = region;
    b_DVD5 = CheckBox_D5;
    b_4_3 = CheckBox_4_3;
    b_VideoForamt = CheckBox_NTSC;
    i_CreateMenuSafeDistance = SpinEdit_DVDMenuSafeDistance.Value;
    i_MenuDuration = SpinEdit_Duration.Value;
}

void TOptionWindow::LoadOptions() {
    TIniFile ini(OptionFileName());
    ReadFixedValues(ini);
    ChooseUILanguage(ini);
    if (ini.ReadBool(kSection, "UseDefault", true))
        ApplyFirstRunDefaults();
    else
        ReadStoredChoices(ini);
    CopyControlsToGlobals();
    suiComboBox_SubtitleLanguageChange(this);
}

void TOptionWindow::suiComboBox_SubtitleLanguageChange(TObject*) {
    if (ComboBox_SubtitleLanguage.Count() > 0) {
        const int position = ComboBox_SubtitleLanguage.ItemIndex;
        FontFile = Language::GetRegionFontFileName(position);
        CharSet = Language::GetRegionCharacterSet(position);
        LanguageCode = Language::GetRegionLanguageCode(position);
    }
    FontSizeBox_FontSize = i_FontSize;
}

// The globals, never the controls, are what the program runs with.
void TOptionWindow::WriteOptions(TIniFile& Ini) {
    Ini.WriteBool(kSection, "UseSPTI", b_UseSTPI);
    Ini.WriteString(kSection, "OutputFolder", g_s_OutputFolder);
    Ini.WriteBool(kSection, "DeleteTempFiles", b_DeleteTempFile);
    Ini.WriteBool(kSection, "ImageRatio", b_4_3);
    Ini.WriteBool(kSection, "VideoFormat", b_VideoForamt);
    Ini.WriteBool(kSection, "DVDType", b_DVD5);
    Ini.WriteInteger(kSection, "SubtitleLanguage", i_SubTitleLanguageCodeIndex);
    Ini.WriteInteger(kSection, "MenuLanguage", i_SubTitleLanguageCodeIndex);
    Ini.WriteBool(kSection, "UseDefault", false);
    Ini.WriteInteger(kSection, "DVDMenuSafeDistance", i_CreateMenuSafeDistance);
    Ini.WriteInteger(kSection, "DVDMenuDuration", i_MenuDuration);
    Ini.WriteInteger(kSection, "FontSize", i_FontSize);
    Ini.WriteInteger(kSection, "OutputQuality", g_i_OutputQuality);
    Ini.WriteString(kSection, "UILanguage", UILanguage);
}

bool TOptionWindow::SaveOptions() {
    try {
        TIniFile ini(OptionFileName());
        WriteOptions(ini);
        ini.UpdateFile();
        return true;
    } catch (const std::exception& e) {
        // Runs while the program ends: tell the person, never let it escape a destructor.
        MessageDlg("The settings could not be saved to " + OptionFileName() + ": " + e.what(), mtError, TMsgDlgButtons{mbOK});
        return false;
    }
}
