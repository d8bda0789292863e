#include "app/Option_Window.h"

#include "app/FormBuilder.h"
#include "app/ResPictures.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "core/UserLanguage.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Registry.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win32/Windows.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

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

constexpr TColor kLightText = static_cast<TColor>(0xFAF2EC);
constexpr int kPageLeft = 12;
constexpr int kPageTop = 92;
constexpr int kPageWidth = 456;
constexpr int kPageHeight = 262;

void SetSpinRange(TsuiSpinEdit* Spin, int Min, int Max) {
    Spin->SetMinValue(Min);
    Spin->SetMaxValue(Max);
    Spin->SetValue(Min);
}

}  // namespace

String OptionFileName() { return ExePath + "Option.ini"; }

void SelectItemOrFirst(TCustomComboBox* List, int Index) {
    const int count = List->GetItems()->Count();
    List->SetItemIndex(Index >= 0 && Index < count ? Index : (count > 0 ? 0 : -1));
}

TOptionWindow::TOptionWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("OptionWindow");
    SetBorderStyle(bsNone);
    SetPosition(poScreenCenter);
    SetClientWidth(480);
    SetClientHeight(400);
    GetFont()->SetName("Tahoma");
    CreateComponents();
    InstallHandlers();
    // The English names until a language file gives its own.
    const std::pair<TsuiImageButton*, const char*> names[] = {
        {suiImageButton_General, "General"}, {suiImageButton_Language, "Language"}, {suiImageButton_Burner, "Burner"},
        {suiImageButton_Ok, "OK"},           {suiImageButton_Cancel, "Cancel"},     {suiImageButton_Browse, "Browse"},
        {suiImageButton_Load, "Add"}};
    for (const auto& [button, name] : names) button->SetHint(name);
    ShowButtonWords();
}

// The destroy event runs while this window is still whole (the base would run it after).
TOptionWindow::~TOptionWindow() {
    if (OptionWindow == this) OptionWindow = nullptr;
    DoDestroy();
}

// ---- construction ------------------------------------------------------------------------------

// Each pair of boxes acts as a radio pair, a picture button beside each; the pages lie over one
// another and the page buttons show one at a time.
void TOptionWindow::CreateControls() {
    using W = TOptionWindow;
    static constexpr const char* G = "suiImagePanel_General";
    static constexpr const char* L = "suiImagePanel_Language";
    static constexpr const char* U = "suiGroupBox_UserDefine";
    static constexpr const char* B = "suiImagePanel_Burner";
    static constexpr TControlRow kRows[] = {
        Place<&W::suiImageButton_General>("suiImageButton_General", 16, 56, 110, 28, "opt_general"),
        Place<&W::suiImageButton_Language>("suiImageButton_Language", 130, 56, 110, 28, "opt_language"),
        Place<&W::suiImageButton_Burner>("suiImageButton_Burner", 244, 56, 110, 28, "opt_burner"),
        Place<&W::suiImageButton_Ok>("suiImageButton_Ok", 292, 362, 84, 28, "opt_ok"),
        Place<&W::suiImageButton_Cancel>("suiImageButton_Cancel", 384, 362, 84, 28, "opt_cancel"),
        // General
        Place<&W::suiImagePanel_General>(G, kPageLeft, kPageTop, kPageWidth, kPageHeight),
        PlaceUnnamed<TLabel>("Label_OutputFolder", 12, 8, 0, 0, "Output Folder :", G),
        Place<&W::suiEdit_OutputFolder>("suiEdit_OutputFolder", 12, 26, 340, 21, "", G),
        Place<&W::suiImageButton_Browse>("suiImageButton_Browse", 360, 24, 84, 25, "opt_browse", G),
        PlaceUnnamed<TLabel>("Label_FreeSpace", 12, 52, 0, 0,
                             "-- 5 GB free spaces for DVD-5 creation, at least, and 10 GB for DVD-9", G),
        Place<&W::suiCheckBox_DeleteTemp>("suiCheckBox_DeleteTemp", 12, 72, 200, 17, " Delete Temp Files", G),
        PlaceUnnamed<TLabel>("Label_suiCheckBox_4_3", 12, 98, 0, 0, "Image Ratio :", G),
        Place<&W::suiImageButton_4_3>("suiImageButton_4_3", 150, 94, 40, 24, "opt_ratio1", G),
        Place<&W::suiCheckBox_4_3>("suiCheckBox_4_3", 196, 98, 80, 17, "4:3", G),
        Place<&W::suiImageButton_16_9>("suiImageButton_16_9", 290, 94, 40, 24, "opt_ratio2", G),
        Place<&W::suiCheckBox_16_9>("suiCheckBox_16_9", 336, 98, 80, 17, "16:9", G),
        PlaceUnnamed<TLabel>("Label_suiCheckBox_NTSC", 12, 126, 0, 0, "Video Format :", G),
        Place<&W::suiImageButton_NTSC>("suiImageButton_NTSC", 150, 122, 40, 24, "opt_format1", G),
        Place<&W::suiCheckBox_NTSC>("suiCheckBox_NTSC", 196, 126, 80, 17, "NTSC", G),
        Place<&W::suiImageButton_PAL>("suiImageButton_PAL", 290, 122, 40, 24, "opt_format2", G),
        Place<&W::suiCheckBox_PAL>("suiCheckBox_PAL", 336, 126, 80, 17, "PAL", G),
        PlaceUnnamed<TLabel>("Label_suiCheckBox_D5", 12, 154, 0, 0, "DVD Type :", G),
        Place<&W::suiImageButton_D5>("suiImageButton_D5", 150, 150, 40, 24, "opt_disc1", G),
        Place<&W::suiCheckBox_D5>("suiCheckBox_D5", 196, 154, 80, 17, "DVD-5", G),
        Place<&W::suiImageButton_9>("suiImageButton_9", 290, 150, 40, 24, "opt_disc2", G),
        Place<&W::suiCheckBox_D9>("suiCheckBox_D9", 336, 154, 80, 17, "DVD-9", G),
        PlaceUnnamed<TLabel>("Label_SafeDistance", 12, 186, 0, 0, "DVD Menu Safe Distance :", G),
        Place<&W::suiSpinEdit_DVDMenuSafeDistance>("suiSpinEdit_DVDMenuSafeDistance", 196, 183, 64, 21, "", G),
        PlaceUnnamed<TLabel>("Label_Pixels", 268, 186, 0, 0, "Pixels", G),
        PlaceUnnamed<TLabel>("Label_Duration", 12, 212, 0, 0, "DVD Menu Duration :", G),
        Place<&W::suiSpinEdit_Duration>("suiSpinEdit_Duration", 196, 209, 64, 21, "", G),
        PlaceUnnamed<TLabel>("Label_Seconds", 268, 212, 0, 0, "Seconds", G),
        PlaceUnnamed<TLabel>("Label_MenuLanguage", 12, 238, 0, 0, "DVD Language :", G),
        Place<&W::suiComboBox_MenuLanguage>("suiComboBox_MenuLanguage", 196, 235, 180, 21, "", G),
        // Language
        Place<&W::suiImagePanel_Language>(L, kPageLeft, kPageTop, kPageWidth, kPageHeight),
        PlaceUnnamed<TLabel>("Label_FontSize", 12, 14, 0, 0, "Subtitle Default Font Size :", L),
        Place<&W::suiFontSizeComboBox>("suiFontSizeComboBox", 196, 11, 80, 21, "", L),
        Place<&W::suiGroupBox_UserDefine>(U, 12, 48, 432, 196, " User Define Subtitle Property ", L),
        PlaceUnnamed<TLabel>("Label_UserDefine0", 14, 33, 0, 0, "Nation Name :", U),
        PlaceUnnamed<TLabel>("Label_UserDefine1", 14, 65, 0, 0, "Font File :", U),
        PlaceUnnamed<TLabel>("Label_UserDefine2", 14, 97, 0, 0, "Character Set :", U),
        PlaceUnnamed<TLabel>("Label_UserDefine3", 14, 129, 0, 0, "Nation Language Code :", U),
        Place<&W::suiComboBox_SubtitleLanguage>("suiComboBox_SubtitleLanguage", 170, 30, 240, 21, "", U),
        Place<&W::suiComboBox_FontFile>("suiComboBox_FontFile", 170, 62, 240, 21, "", U),
        Place<&W::suiComboBox_CharSet>("suiComboBox_CharSet", 170, 94, 240, 21, "", U),
        Place<&W::suiComboBox_LanguageCode>("suiComboBox_LanguageCode", 170, 126, 240, 21, "", U),
        Place<&W::suiImageButton_Load>("suiImageButton_Load", 326, 160, 84, 26, "opt_load", U),
        // Burner
        Place<&W::suiImagePanel_Burner>(B, kPageLeft, kPageTop, kPageWidth, kPageHeight),
        PlaceUnnamed<TLabel>("Label_Access", 12, 14, 0, 0, "Device access :", B),
        Place<&W::suiCheckBox_SPTI>("suiCheckBox_SPTI", 24, 40, 400, 17, " SPTI - SCSI Pass Through Interface ", B),
        Place<&W::suiCheckBox_ASPI>("suiCheckBox_ASPI", 24, 68, 400, 17,
                                    " ASPI - Advanced SCSI Programming Interface", B),
        PlaceUnnamed<TLabel>("Label_Restart", 12, 108, 0, 0,
                             "* Restart software required for the change to take effect", B),
    };
    BuildControls(this, kRows, TArtSource::kResFolder, TButtonCursor::kHand);
    SetButtonLooks();
    SetTextColours();
    SetFieldLooks();
    for (TsuiImagePanel* page : {suiImagePanel_General, suiImagePanel_Language, suiImagePanel_Burner})
        page->SetTransparent(true);
}

void TOptionWindow::SetButtonLooks() {
    suiImageButton_Ok->SetDefault(true);
    suiImageButton_Cancel->SetModalResult(mrCancel);
    suiImageButton_Cancel->SetCancel(true);
}

// Light words on the dark pages; dark ones inside the light group box.
void TOptionWindow::SetTextColours() {
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* label = dynamic_cast<TLabel*>(Components(i));
        if (label == nullptr) continue;
        label->GetFont()->SetColor(label->GetParent() == suiGroupBox_UserDefine ? clBlack : kLightText);
    }
    for (TsuiCheckBox* box : {suiCheckBox_DeleteTemp, suiCheckBox_4_3, suiCheckBox_16_9, suiCheckBox_NTSC,
                              suiCheckBox_PAL, suiCheckBox_D5, suiCheckBox_D9, suiCheckBox_SPTI, suiCheckBox_ASPI}) {
        box->SetTransparent(true);
        box->GetFont()->SetColor(kLightText);
    }
}

void TOptionWindow::SetFieldLooks() {
    suiEdit_OutputFolder->SetReadOnly(true);
    SetSpinRange(suiSpinEdit_DVDMenuSafeDistance, 0, 50);
    SetSpinRange(suiSpinEdit_Duration, 5, 999);
    suiComboBox_MenuLanguage->SetStyle(csDropDownList);
    suiFontSizeComboBox->SetStyle(csDropDownList);
    suiFontSizeComboBox->SetFontName("Tahoma");
    suiComboBox_SubtitleLanguage->SetStyle(csDropDown);
}

void TOptionWindow::CreateComponents() {
    suiSkinForm1 = NewSkinForm(this);
    ShowResSkin(suiSkinForm1, "opt_skin.bmp");
    CreateControls();
}

void TOptionWindow::InstallHandlers() {
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    // Escape cancels from any control, whether or not the focus can reach the Cancel button.
    SetKeyPreview(true);
    OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
        if (Key != VK_ESCAPE) return;
        Key = 0;
        SetModalResult(mrCancel);
    };
    for (TsuiImageButton* page : {suiImageButton_General, suiImageButton_Language, suiImageButton_Burner})
        page->OnClick = [this](TObject* s) { suiImageButton_GeneralClick(s); };
    suiImageButton_Ok->OnClick = [this](TObject* s) { suiImageButton_OkClick(s); };
    suiImageButton_Browse->OnClick = [this](TObject* s) { suiImageButton_BrowseClick(s); };
    suiImageButton_Load->OnClick = [this](TObject* s) { suiImageButton_LoadClick(s); };
    suiComboBox_SubtitleLanguage->OnChange = [this](TObject* s) { suiComboBox_SubtitleLanguageChange(s); };
    suiCheckBox_SPTI->OnClick = [this](TObject* s) { suiCheckBox_SPTIClick(s); };
    suiCheckBox_ASPI->OnClick = [this](TObject* s) { suiCheckBox_ASPIClick(s); };
    suiCheckBox_4_3->OnClick = [this](TObject* s) { suiCheckBox_4_3Click(s); };
    suiCheckBox_16_9->OnClick = [this](TObject* s) { suiCheckBox_16_9Click(s); };
    suiImageButton_4_3->OnClick = [this](TObject* s) { suiImageButton_4_3Click(s); };
    suiImageButton_16_9->OnClick = [this](TObject* s) { suiImageButton_16_9Click(s); };
    suiCheckBox_NTSC->OnClick = [this](TObject* s) { suiCheckBox_NTSCClick(s); };
    suiCheckBox_PAL->OnClick = [this](TObject* s) { suiCheckBox_PALClick(s); };
    suiImageButton_NTSC->OnClick = [this](TObject* s) { suiImageButton_NTSCClick(s); };
    suiImageButton_PAL->OnClick = [this](TObject* s) { suiImageButton_PALClick(s); };
    suiCheckBox_D5->OnClick = [this](TObject* s) { suiCheckBox_D5Click(s); };
    suiCheckBox_D9->OnClick = [this](TObject* s) { suiCheckBox_D9Click(s); };
    suiImageButton_D5->OnClick = [this](TObject* s) { suiImageButton_D5Click(s); };
    suiImageButton_9->OnClick = [this](TObject* s) { suiImageButton_9Click(s); };
}

// ---- pairs and pages ----------------------------------------------------------------------------

namespace {

void Partner(TsuiCheckBox* Box, TsuiCheckBox* Other) { Other->SetChecked(!Box->GetChecked()); }

void Choose(TsuiCheckBox* Box, TsuiCheckBox* Other) {
    Box->SetChecked(true);
    Other->SetChecked(false);
}

}  // namespace

void TOptionWindow::suiCheckBox_SPTIClick(TObject*) { Partner(suiCheckBox_SPTI, suiCheckBox_ASPI); }
void TOptionWindow::suiCheckBox_ASPIClick(TObject*) { Partner(suiCheckBox_ASPI, suiCheckBox_SPTI); }
void TOptionWindow::suiCheckBox_4_3Click(TObject*) { Partner(suiCheckBox_4_3, suiCheckBox_16_9); }
void TOptionWindow::suiCheckBox_16_9Click(TObject*) { Partner(suiCheckBox_16_9, suiCheckBox_4_3); }
void TOptionWindow::suiImageButton_4_3Click(TObject*) { Choose(suiCheckBox_4_3, suiCheckBox_16_9); }
void TOptionWindow::suiImageButton_16_9Click(TObject*) { Choose(suiCheckBox_16_9, suiCheckBox_4_3); }
void TOptionWindow::suiCheckBox_NTSCClick(TObject*) { Partner(suiCheckBox_NTSC, suiCheckBox_PAL); }
void TOptionWindow::suiCheckBox_PALClick(TObject*) { Partner(suiCheckBox_PAL, suiCheckBox_NTSC); }
void TOptionWindow::suiImageButton_NTSCClick(TObject*) { Choose(suiCheckBox_NTSC, suiCheckBox_PAL); }
void TOptionWindow::suiImageButton_PALClick(TObject*) { Choose(suiCheckBox_PAL, suiCheckBox_NTSC); }
void TOptionWindow::suiCheckBox_D5Click(TObject*) { Partner(suiCheckBox_D5, suiCheckBox_D9); }
void TOptionWindow::suiCheckBox_D9Click(TObject*) { Partner(suiCheckBox_D9, suiCheckBox_D5); }
void TOptionWindow::suiImageButton_D5Click(TObject*) { Choose(suiCheckBox_D5, suiCheckBox_D9); }
void TOptionWindow::suiImageButton_9Click(TObject*) { Choose(suiCheckBox_D9, suiCheckBox_D5); }

void TOptionWindow::suiImageButton_GeneralClick(TObject* Sender) {
    const std::pair<TsuiImageButton*, TsuiImagePanel*> pages[] = {{suiImageButton_General, suiImagePanel_General},
                                                                  {suiImageButton_Language, suiImagePanel_Language},
                                                                  {suiImageButton_Burner, suiImagePanel_Burner}};
    for (const auto& [button, page] : pages) {
        page->SetVisible(button == Sender);
        button->SetEnabled(button != Sender);
    }
}

// ---- life ---------------------------------------------------------------------------------------

void TOptionWindow::FillRegionList(TsuiComboBox* List, const String& IniName, int DefaultCount) {
    TIniFile ini(ExePath + IniName);
    const int count = ini.ReadInteger("RegionCount", "Region", DefaultCount);
    for (int i = 0; i < count; ++i) List->GetItems()->Add(ini.ReadString("RegionLanguage", "Region" + IntToStr(i), "Others"));
}

void TOptionWindow::FormCreate(TObject*) {
    suiComboBox_MenuLanguage->GetItems()->Clear();
    suiComboBox_SubtitleLanguage->GetItems()->Clear();
    FillRegionList(suiComboBox_MenuLanguage, "Language.ini", 1);
    FillRegionList(suiComboBox_SubtitleLanguage, "Subtitle.ini", 0);
    m_languageIniCount = suiComboBox_MenuLanguage->GetItems()->Count();
    suiImageButton_GeneralClick(suiImageButton_General);
    LoadOptions();
}

// The file is read once, at creation: a show starts from what the program runs with now, so a
// folder or quality a production window chose is not undone behind its back.
void TOptionWindow::FormShow(TObject*) {
    b_OkPressed = false;
    suiImageButton_GeneralClick(suiImageButton_General);
    ShowGlobals();
}

void TOptionWindow::FormDestroy(TObject*) { SaveOptions(); }

void TOptionWindow::ApplyLanguage() {
    Language::ApplyLanguageToForm(this);
    ShowButtonWords();
}

// The words on the buttons are their hints, in the user's language.
void TOptionWindow::ShowButtonWords() {
    Language::ShowHintsAsCaptions({suiImageButton_General, suiImageButton_Language, suiImageButton_Burner,
                                   suiImageButton_Ok, suiImageButton_Cancel, suiImageButton_Browse,
                                   suiImageButton_Load});
}

void TOptionWindow::ReadFixedValues(TIniFile& Ini) {
    OpenDialogFilter = Ini.ReadString(kSection, "OpenDialogFilter", "");
    OpenDialogMusicFilter = Ini.ReadString(kSection, "OpenDialogMusicFilter", "");
    i_DiscSizePerMin = PositiveOr(Ini.ReadInteger(kSection, "DiscSizePerMin", kDefaultDiscSizePerMin), kDefaultDiscSizePerMin);
    i_DVD5Size = PositiveOr(Ini.ReadInteger(kSection, "DVD5Size", kDefaultDVD5Size), kDefaultDVD5Size);
    i_DVD9Size = PositiveOr(Ini.ReadInteger(kSection, "DVD9Size", kDefaultDVD9Size), kDefaultDVD9Size);
    suiSpinEdit_DVDMenuSafeDistance->SetValue(Pubfunction::ClampRange(Ini.ReadInteger(kSection, "DVDMenuSafeDistance", 10), 0, 50));
    suiSpinEdit_Duration->SetValue(Pubfunction::ClampRange(Ini.ReadInteger(kSection, "DVDMenuDuration", 5), 5, 999));
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
    suiCheckBox_SPTI->SetChecked(!win9x);
    suiCheckBox_ASPI->SetChecked(win9x);
    suiEdit_OutputFolder->SetText(Pubfunction::FindTempFolder(TempSubFolder));
    suiCheckBox_DeleteTemp->SetChecked(false);
    Choose(suiCheckBox_4_3, suiCheckBox_16_9);
    Choose(suiCheckBox_NTSC, suiCheckBox_PAL);
    Choose(suiCheckBox_D5, suiCheckBox_D9);
    // The user's language is a DVD language (a region of Language.ini); the subtitle list shows
    // the same region when it holds it.
    std::vector<String> menuLanguages;
    for (int i = 0; i < suiComboBox_MenuLanguage->GetItems()->Count(); ++i)
        menuLanguages.push_back(suiComboBox_MenuLanguage->GetItems()->Strings(i));
    const int region = UserLanguage::FirstRunRegion(menuLanguages, UserLanguageName());
    SelectItemOrFirst(suiComboBox_MenuLanguage, region);
    SelectItemOrFirst(suiComboBox_SubtitleLanguage,
                      UserLanguage::RegionToSubtitlePosition(region, m_languageIniCount,
                                                            suiComboBox_SubtitleLanguage->GetItems()->Count()));
}

void TOptionWindow::ReadStoredChoices(TIniFile& Ini) {
    const bool spti = Ini.ReadBool(kSection, "UseSPTI", false);
    suiCheckBox_SPTI->SetChecked(spti);
    suiCheckBox_ASPI->SetChecked(!spti);
    suiEdit_OutputFolder->SetText(Pubfunction::GetTempFolder(Ini.ReadString(kSection, "OutputFolder", "nodef")));
    suiCheckBox_DeleteTemp->SetChecked(Ini.ReadBool(kSection, "DeleteTempFiles", false));
    const bool ratio = Ini.ReadBool(kSection, "ImageRatio", true);
    suiCheckBox_4_3->SetChecked(ratio);
    suiCheckBox_16_9->SetChecked(!ratio);
    const bool ntsc = Ini.ReadBool(kSection, "VideoFormat", true);
    suiCheckBox_NTSC->SetChecked(ntsc);
    suiCheckBox_PAL->SetChecked(!ntsc);
    const bool dvd5 = Ini.ReadBool(kSection, "DVDType", true);
    suiCheckBox_D5->SetChecked(dvd5);
    suiCheckBox_D9->SetChecked(!dvd5);
    const int subtitleRegion = Ini.ReadInteger(kSection, "SubtitleLanguage", 0);
    SelectItemOrFirst(suiComboBox_SubtitleLanguage,
                      UserLanguage::RegionToSubtitlePosition(subtitleRegion, m_languageIniCount,
                                                            suiComboBox_SubtitleLanguage->GetItems()->Count()));
    SelectItemOrFirst(suiComboBox_MenuLanguage, Ini.ReadInteger(kSection, "MenuLanguage", 0));
}

void TOptionWindow::CopyControlsToGlobals() {
    b_UseSTPI = suiCheckBox_SPTI->GetChecked();
    g_s_OutputFolder = suiEdit_OutputFolder->GetText();
    b_DeleteTempFile = suiCheckBox_DeleteTemp->GetChecked();
    // A region index must be valid even when Language.ini lists no regions.
    const int region = std::max(suiComboBox_MenuLanguage->GetItemIndex(), 0);
    i_MenuLanguageCodeIndex = region;
    i_SubTitleLanguageCodeIndex = region;
    b_DVD5 = suiCheckBox_D5->GetChecked();
    b_4_3 = suiCheckBox_4_3->GetChecked();
    b_VideoForamt = suiCheckBox_NTSC->GetChecked();
    i_CreateMenuSafeDistance = suiSpinEdit_DVDMenuSafeDistance->GetValue();
    i_MenuDuration = suiSpinEdit_Duration->GetValue();
}

// The controls from what the program runs with now.
void TOptionWindow::ShowGlobals() {
    suiCheckBox_SPTI->SetChecked(b_UseSTPI);
    suiCheckBox_ASPI->SetChecked(!b_UseSTPI);
    suiEdit_OutputFolder->SetText(g_s_OutputFolder);
    suiCheckBox_DeleteTemp->SetChecked(b_DeleteTempFile);
    suiCheckBox_4_3->SetChecked(b_4_3);
    suiCheckBox_16_9->SetChecked(!b_4_3);
    suiCheckBox_NTSC->SetChecked(b_VideoForamt);
    suiCheckBox_PAL->SetChecked(!b_VideoForamt);
    suiCheckBox_D5->SetChecked(b_DVD5);
    suiCheckBox_D9->SetChecked(!b_DVD5);
    suiSpinEdit_DVDMenuSafeDistance->SetValue(i_CreateMenuSafeDistance);
    suiSpinEdit_Duration->SetValue(i_MenuDuration);
    SelectItemOrFirst(suiComboBox_MenuLanguage, i_MenuLanguageCodeIndex);
    SelectItemOrFirst(suiComboBox_SubtitleLanguage,
                      UserLanguage::RegionToSubtitlePosition(i_SubTitleLanguageCodeIndex, m_languageIniCount,
                                                            suiComboBox_SubtitleLanguage->GetItems()->Count()));
    suiComboBox_SubtitleLanguageChange(this);
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

int TOptionWindow::SubtitleRegion() const {
    return UserLanguage::SubtitlePositionToRegion(suiComboBox_SubtitleLanguage->GetItemIndex(), m_languageIniCount);
}

void TOptionWindow::suiComboBox_SubtitleLanguageChange(TObject*) {
    if (suiComboBox_SubtitleLanguage->GetItems()->Count() > 0) {
        const int region = SubtitleRegion();
        suiComboBox_FontFile->SetText(Language::GetRegionFontFileName(region));
        suiComboBox_CharSet->SetText(Language::GetRegionCharacterSet(region));
        suiComboBox_LanguageCode->SetText(Language::GetRegionLanguageCode(region));
    }
    suiFontSizeComboBox->SetFontSize(i_FontSize);
}

// ---- buttons ------------------------------------------------------------------------------------

void TOptionWindow::suiImageButton_OkClick(TObject*) {
    CopyControlsToGlobals();
    // No size chosen (the box lists none for this face): the size in use stays.
    const int size = suiFontSizeComboBox->GetFontSize();
    if (size > 0) i_FontSize = size;
    SaveOptions();
    b_OkPressed = true;
    SetModalResult(mrOk);
}

// The chosen folder shows in the box; the program takes it on OK.
void TOptionWindow::suiImageButton_BrowseClick(TObject*) {
    String folder = suiEdit_OutputFolder->GetText();
    const bool chosen =
        SelectDirectory(Language::GetMessageText(Language::kMsgSelectOutputFolder), "MyComputer", folder);
    SetCurrentDir(ExePath);
    if (!chosen) return;
    Repaint();
    if (int refusal = Pubfunction::OutputFolderRefusal(folder); refusal != 0) {
        MessageDlg(Language::GetMessageText(refusal) + folder, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    suiEdit_OutputFolder->SetText(Pubfunction::GetTempFolder(folder));
}

void TOptionWindow::suiImageButton_LoadClick(TObject*) {
    String name;
    const UserLanguage::TNameCheck check = UserLanguage::CheckLanguageName(suiComboBox_SubtitleLanguage->GetText(), name);
    if (check == UserLanguage::TNameCheck::Empty || suiComboBox_FontFile->GetText().empty() ||
        suiComboBox_CharSet->GetText().empty() || suiComboBox_LanguageCode->GetText().empty())
        return;
    if (check == UserLanguage::TNameCheck::Refused) {
        MessageDlg(Language::GetMessageText(Language::kMsgUnsupported) + " " + name, mtInformation,
                   TMsgDlgButtons{mbOK});
        return;
    }
    if (WriteUserLanguage(name))
        MessageDlg(Language::GetMessageText(Language::kMsgAddOk), mtInformation, TMsgDlgButtons{mbOK});
}

// All of the language's lines or none: the file is changed in a copy that replaces it whole.
bool TOptionWindow::WriteUserLanguage(const String& Name) {
    namespace fs = std::filesystem;
    const String path = ExePath + "Subtitle.ini";
    const String work = path + ".new";
    bool added = false;
    try {
        if (FileExists(path) && ::access(path.c_str(), W_OK) != 0) throw Exception("the file is read-only");
        std::error_code ec;
        fs::remove(work, ec);
        if (FileExists(path)) fs::copy_file(path, work);
        {
            TIniFile languages(ExePath + "Language.ini");
            TIniFile subtitles(work);
            if (languages.ReadString("RegionFontFileName", Name, kNoDefault) == kNoDefault) {
                const int count = subtitles.ReadInteger("RegionCount", "Region", 0);
                bool known = false;
                for (int i = 0; i < count && !known; ++i)
                    known = SameText(subtitles.ReadString("RegionLanguage", "Region" + IntToStr(i), "Others"), Name);
                if (!known) {
                    subtitles.WriteString("RegionLanguage", "Region" + IntToStr(count), Name);
                    subtitles.WriteInteger("RegionCount", "Region", count + 1);
                    added = true;
                }
            }
            // Each attribute is a section keyed by the region's name, as the region lookups read it.
            subtitles.WriteString("RegionFontFileName", Name, suiComboBox_FontFile->GetText());
            subtitles.WriteString("CharacterSet", Name, suiComboBox_CharSet->GetText());
            subtitles.WriteString("LanguageCode", Name, suiComboBox_LanguageCode->GetText());
        }
        fs::rename(work, path);
    } catch (const std::exception& e) {
        std::error_code ec;
        fs::remove(work, ec);
        MessageDlg(Language::GetMessageText(Language::kMsgLanguageNotAdded) + path + ": " + e.what(), mtError,
                   TMsgDlgButtons{mbOK});
        return false;
    }
    if (added) suiComboBox_SubtitleLanguage->GetItems()->Add(Name);
    return true;
}

// ---- the file -----------------------------------------------------------------------------------

// The globals, never the controls, are what the program runs with.
void TOptionWindow::WriteOptions(TCustomIniFile& Ini) {
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

// All the keys or none: the new text is made in memory and replaces the file in one step.
bool TOptionWindow::SaveOptions() {
    try {
        TMemIniFile ini(OptionFileName());
        WriteOptions(ini);
        ini.UpdateFile();
        return true;
    } catch (const std::exception& e) {
        // Runs while the program ends: tell the person, never let it escape a destructor.
        MessageDlg(Language::GetMessageText(Language::kMsgSettingsNotSaved) + OptionFileName() + ": " + e.what(),
                   mtError, TMsgDlgButtons{mbOK});
        return false;
    }
}
