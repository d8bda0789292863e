#include "app/Main_Window.h"

#include <memory>

#include "app/About_Window.h"
#include "app/FormBuilder.h"
#include "app/Option_Window.h"
#include "app/ResPictures.h"
#include "app/SetupChapter_Window.h"
#include "app/SetupClip_Window.h"
#include "app/SetupDVDFile_Window.h"
#include "app/SetupSubtitle_Window.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "discwindows/Device_Window.h"
#include "menu/SetupImage_Window.h"
#include "menu/SetupMenu_Window.h"
#include "menu/SetupText_Window.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win32/Windows.h"
#include "productionwindows/Builder_Window.h"
#include "productionwindows/Burn_Window.h"
#include "productionwindows/Compiler_Window.h"
#include "productionwindows/Convert_Window.h"

TMainWindow* MainWindow = nullptr;
const String HomePageAddress = AboutTexts::HomeURL;
const String HelpFileName = "Help/ZQHelp.html";

namespace {

constexpr TColor kSeeThrough = static_cast<TColor>(0x797571);

// The program cannot draw its clip rows and tiles without these: name the file, stop the start.
void RequireFile(const String& Path) {
    if (!FileExists(Path))
        throw EFOpenError(Language::GetMessageText(Language::kMsgProgramFileMissing) + Path +
                          Language::GetMessageText(Language::kMsgReinstallProgram));
}

TBitmap* LoadRequiredBitmap(const String& Path) {
    RequireFile(Path);
    auto bmp = std::make_unique<TBitmap>();
    bmp->LoadFromFile(Path);
    return bmp.release();
}

void MakeSeeThrough(std::initializer_list<TBitmap*> Bitmaps) {
    for (TBitmap* b : Bitmaps) b->SetTransparentColor(kSeeThrough);
    for (TBitmap* b : Bitmaps) b->SetTransparent(true);
}

}  // namespace

TMainWindow::TMainWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("MainWindow");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(581);
    SetClientHeight(394);
    GetFont()->SetName("Tahoma");
    CreateComponents();
    InstallHandlers();
}

void TMainWindow::CreateComponents() {
    suiSkinForm1 = NewSkinForm(this);
    CreateControls();
}

// The artwork comes when the form is created (LoadSkinPictures): without it the program stops.
void TMainWindow::CreateControls() {
    using W = TMainWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::suiImageButton_Builder>("suiImageButton_Builder", 18, 62, 130, 130),
        Place<&W::suiImageButton_Converter>("suiImageButton_Converter", 157, 62, 130, 130),
        Place<&W::suiImageButton_Compiler>("suiImageButton_Compiler", 296, 62, 130, 130),
        Place<&W::suiImageButton_Burner>("suiImageButton_Burner", 435, 62, 130, 130),
        Place<&W::suiImageButton_Min>("suiImageButton_Min", 518, 12, 22, 22),
        Place<&W::suiImageButton_Exit>("suiImageButton_Exit", 544, 12, 22, 22),
        Place<&W::suiImageButton_Home>("suiImageButton_Home", 380, 214, 56, 56),
        Place<&W::suiImageButton_Option>("suiImageButton_Option", 443, 214, 56, 56),
        Place<&W::suiImageButton_Help>("suiImageButton_Help", 506, 214, 56, 56),
        Place<&W::Image_Builder>("Image_Builder", 15, 210, 340, 65),
        Place<&W::Image_Vob>("Image_Vob", 15, 210, 340, 65),
        Place<&W::Image_Menu>("Image_Menu", 15, 210, 340, 65),
        Place<&W::Image_Burn>("Image_Burn", 15, 210, 340, 65),
        Place<&W::Label_Description>("Label_Description", 30, 221, 300, 76),
    };
    BuildControls(this, kRows, TArtSource::kCompiled, TButtonCursor::kHand);
    SetButtonLooks();
    SetDescriptionLooks();
}

void TMainWindow::SetButtonLooks() {
    suiImageButton_Min->SetHint("Minimiaze");
    suiImageButton_Exit->SetHint("Close");
    for (TsuiImageButton* button : {suiImageButton_Min, suiImageButton_Exit}) button->SetShowHint(true);
}

void TMainWindow::SetDescriptionLooks() {
    Label_Description->SetAutoSize(false);
    Label_Description->SetWordWrap(true);
    // Light on the description well's navy, whatever font the language file chooses.
    Label_Description->GetFont()->SetColor(static_cast<TColor>(0xFAF2EC));
}

void TMainWindow::InstallHandlers() {
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    suiSkinForm1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { suiSkinForm1MouseMove(s, sh, x, y); };
    suiImageButton_Builder->OnClick = [this](TObject* s) { suiImageButton_BuilderClick(s); };
    suiImageButton_Converter->OnClick = [this](TObject* s) { suiImageButton_ConverterClick(s); };
    suiImageButton_Compiler->OnClick = [this](TObject* s) { suiImageButton_CompilerClick(s); };
    suiImageButton_Burner->OnClick = [this](TObject* s) { suiImageButton_BurnerClick(s); };
    suiImageButton_Min->OnClick = [this](TObject* s) { suiImageButton_MinClick(s); };
    suiImageButton_Exit->OnClick = [this](TObject* s) { suiImageButton_ExitClick(s); };
    suiImageButton_Home->OnClick = [this](TObject* s) { suiImageButton_HomeClick(s); };
    suiImageButton_Option->OnClick = [this](TObject* s) { suiImageButton_OptionClick(s); };
    suiImageButton_Help->OnClick = [this](TObject* s) { suiImageButton_HelpClick(s); };
    suiImageButton_Builder->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { suiImageButton_BuilderMouseMove(s, sh, x, y); };
    suiImageButton_Converter->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { suiImageButton_ConverterMouseMove(s, sh, x, y); };
    suiImageButton_Compiler->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { suiImageButton_CompilerMouseMove(s, sh, x, y); };
    suiImageButton_Burner->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { suiImageButton_BurnerMouseMove(s, sh, x, y); };
}

// The state pictures beside the normal one are optional; the normal one is not.
void TMainWindow::LoadButtonPictures(TsuiImageButton* Button, const String& Base) {
    RequireFile(ResPath + Base + ".bmp");
    LoadResButton(Button, Base);
}

void TMainWindow::LoadSkinPictures() {
    std::unique_ptr<TBitmap> skin(LoadRequiredBitmap(ResPath + "main_skin.bmp"));
    suiSkinForm1->SetGlyph(skin.get());
    LoadButtonPictures(suiImageButton_Builder, "main_builder");
    LoadButtonPictures(suiImageButton_Converter, "main_converter");
    LoadButtonPictures(suiImageButton_Compiler, "main_compiler");
    LoadButtonPictures(suiImageButton_Burner, "main_burner");
    LoadButtonPictures(suiImageButton_Min, "main_min");
    LoadButtonPictures(suiImageButton_Exit, "main_exit");
    LoadButtonPictures(suiImageButton_Home, "main_home");
    LoadButtonPictures(suiImageButton_Option, "main_option");
    LoadButtonPictures(suiImageButton_Help, "main_help");
    const std::pair<TImage*, const char*> descriptions[] = {
        {Image_Builder, "desc_builder.bmp"}, {Image_Vob, "desc_converter.bmp"},
        {Image_Menu, "desc_compiler.bmp"}, {Image_Burn, "desc_burner.bmp"}};
    for (const auto& [image, file] : descriptions) {
        RequireFile(ResPath + file);
        LoadResPicture(image->GetPicture(), file);
    }
}

void TMainWindow::LoadSharedBitmaps() {
    SrtEnabledBmp = LoadRequiredBitmap(ResPath + "srt.bmp");
    SrtDisabledBmp = LoadRequiredBitmap(ResPath + "srt_dis.bmp");
    SetupClipSelectBmp = LoadRequiredBitmap(ResPath + "setup_select.bmp");
    SetupClipSelectBmpOn = LoadRequiredBitmap(ResPath + "setup_select_on.bmp");
    SetupClipUnSelectBmp = LoadRequiredBitmap(ResPath + "setup_unselect.bmp");
    SetupClipUnSelectBmpOn = LoadRequiredBitmap(ResPath + "setup_unselect_on.bmp");
    MenuClipSelectBmp = LoadRequiredBitmap(ResPath + "menu_select.bmp");
    MenuClipSelectBmpOn = LoadRequiredBitmap(ResPath + "menu_select_on.bmp");
    MenuClipUnSelectBmp = LoadRequiredBitmap(ResPath + "menu_unselect.bmp");
    MenuClipUnSelectBmpOn = LoadRequiredBitmap(ResPath + "menu_unselect_on.bmp");
    MakeSeeThrough({SetupClipSelectBmp, SetupClipSelectBmpOn, SetupClipUnSelectBmp, SetupClipUnSelectBmpOn});
    MakeSeeThrough({MenuClipSelectBmp, MenuClipSelectBmpOn, MenuClipUnSelectBmp, MenuClipUnSelectBmpOn});
}

void TMainWindow::FormCreate(TObject*) {
    ResPath = ExePath + "RES/";
    b_FirstShowDone = false;
    SetDoubleBuffered(true);
    ShownDescription = nullptr;
    for (TImage* image : {Image_Builder, Image_Vob, Image_Menu, Image_Burn}) image->SetVisible(false);
    Pubfunction::ClearClipInfo();
    // A start-up that stopped half-way must not leave some bitmaps behind.
    try {
        LoadSharedBitmaps();
        LoadSkinPictures();
    } catch (...) {
        Pubfunction::FreeSharedBitmaps();
        throw;
    }
    HelpPopupMenu = nullptr;
}

void TMainWindow::FormShow(TObject*) {
    if (b_FirstShowDone) return;
    if (Language::LoadLanguageFile(UILanguage)) ApplyLanguageToAllForms(this);
    b_FirstShowDone = true;
}

void TMainWindow::FreeProgramData() {
    delete HelpPopupMenu;
    HelpPopupMenu = nullptr;
    Pubfunction::ClearClipInfo();
    Pubfunction::ClearTitleMenuLabel();
    Pubfunction::FreeSharedBitmaps();
}

void TMainWindow::FormClose(TObject*, TCloseAction&) { FreeProgramData(); }

// Each mode prepares the first window of its chain and shows it while this window hides. Whatever
// the chain raises, this window comes back and the error is reported.
void TMainWindow::ShowModeWindow(TForm* Window) {
    Hide();
    try {
        Window->ShowModal();
    } catch (...) {
        Show();
        Application->HandleException(this);
        return;
    }
    Show();
}

void TMainWindow::suiImageButton_BuilderClick(TObject*) {
    if (SetupClipWindow == nullptr) return;
    SetupClipWindow->SetBuilderMode();
    ShowModeWindow(SetupClipWindow);
}

void TMainWindow::suiImageButton_ConverterClick(TObject*) {
    if (SetupClipWindow == nullptr) return;
    SetupClipWindow->SetConverterMode();
    ShowModeWindow(SetupClipWindow);
}

void TMainWindow::suiImageButton_CompilerClick(TObject*) {
    if (SetupMenuWindow == nullptr) return;
    SetupMenuWindow->SetupForCompiler();
    ShowModeWindow(SetupMenuWindow);
}

void TMainWindow::suiImageButton_BurnerClick(TObject*) {
    if (SetupDVDFileWindow == nullptr) return;
    if (BurnWindow != nullptr) BurnWindow->SetBurnMode();
    ShowModeWindow(SetupDVDFileWindow);
}

void TMainWindow::suiImageButton_MinClick(TObject*) { Application->Minimize(); }

// Quitting frees what closing frees; the settings are saved when their form goes.
void TMainWindow::suiImageButton_ExitClick(TObject*) {
    FreeProgramData();
    Application->Terminate();
}

void TMainWindow::suiImageButton_HomeClick(TObject*) {
    ShellExecuteA(nullptr, "open", HomePageAddress.c_str(), "", nullptr, SW_SHOWNORMAL);
}

void TMainWindow::suiImageButton_OptionClick(TObject*) {
    if (OptionWindow != nullptr) OptionWindow->ShowModal();
}

void TMainWindow::suiImageButton_HelpClick(TObject*) {
    if (!BuildHelpMenu()) return;
    const TPoint p = Mouse->GetCursorPos();
    HelpPopupMenu->Popup(p.x, p.y);
}

void TMainWindow::AddHelpItem(const String& Name, const String& Caption, TNotifyEvent OnClick) {
    auto* item = new TMenuItem(HelpPopupMenu);
    if (!Name.empty()) item->SetName(Name);
    item->SetCaption(Caption);
    item->OnClick = std::move(OnClick);
    HelpPopupMenu->GetItems()->Add(item);
}

bool TMainWindow::BuildHelpMenu() {
    if (HelpPopupMenu == nullptr) {
        HelpPopupMenu = new TPopupMenu(this);
        HelpPopupMenu->SetAutoHotkeys(maManual);
    }
    HelpPopupMenu->GetItems()->Clear();
    const TNotifyEvent onHelp = [this](TObject* s) { HelpMenuItemClick(s); };
    AddHelpItem("Help", Language::GetMessageText(Language::kMsgHelpItem), onHelp);
    AddHelpItem("", Language::GetMessageText(Language::kMsgMenuSeparator), onHelp);
    AddHelpItem("About", Language::GetMessageText(Language::kMsgAboutItem), onHelp);
    AddHelpItem("", Language::GetMessageText(Language::kMsgMenuSeparator), onHelp);
    AddHelpItem("", "-", nullptr);
    // The listing comes sorted without case; the item keeps the file's own spelling.
    LanguageFiles.clear();
    TSearchRec f;
    int i = 0;
    for (int rc = FindFirst(ExePath + "Lang/*.ini", faAnyFile & ~faDirectory, f); rc == 0; rc = FindNext(f)) {
        if ((f.Attr & faDirectory) != 0 || f.Name.size() <= 4) continue;
        LanguageFiles.push_back(f.Name);
        AddHelpItem("Lang" + IntToStr(i++), f.Name.substr(0, f.Name.size() - 4),
                    [this](TObject* s) { LanguageMenuItemClick(s); });
        TMenuItem* item = HelpPopupMenu->GetItems()->Items(HelpPopupMenu->GetItems()->Count() - 1);
        if (SameText(f.Name, UILanguage)) {
            item->SetChecked(true);
            item->SetDefault(true);
        }
        Application->ProcessMessages();
    }
    FindClose(f);
    return true;
}

void TMainWindow::HelpMenuItemClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (item == nullptr) return;
    if (item->GetName() == "Help")
        OpenHelp();
    else if (item->GetName() == "About" && AboutWindow != nullptr)
        AboutWindow->ShowModal();
}

// A web page, which the desktop's opener shows in the browser on every desktop.
void TMainWindow::OpenHelp() {
    const String help = ExePath + HelpFileName;
    if (!FileExists(help)) {
        MessageDlg(Language::GetMessageText(Language::kMsgHelpFileMissing) + help, mtInformation, TMsgDlgButtons{mbOK});
        return;
    }
    ShellExecuteA(GetHandle(), "open", help.c_str(), "", nullptr, SW_SHOWNORMAL);
}

void TMainWindow::LanguageMenuItemClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (item == nullptr) return;
    const String& name = item->GetName();
    const int index = name.rfind("Lang", 0) == 0 ? StrToIntDef(name.substr(4), -1) : -1;
    if (index < 0 || index >= static_cast<int>(LanguageFiles.size())) return;
    if (Language::LoadLanguageFile(LanguageFiles[static_cast<size_t>(index)])) ApplyLanguageToAllForms(this);
}

void TMainWindow::ShowModeDescription(TControl* control) {
    if (control == ShownDescription) return;
    auto* image = dynamic_cast<TImage*>(control);
    // The language may have changed since the last description: neither the English picture
    // nor another language's text may stay under the new one.
    if (ShownDescription != nullptr) ShownDescription->SetVisible(false);
    if (UILanguage == "English.ini") {
        Label_Description->SetCaption(String());
        if (image != nullptr) image->SetVisible(true);
    } else {
        int message = 0;
        if (image == Image_Builder) message = Language::kMsgBuilderDescription;
        if (image == Image_Vob) message = Language::kMsgConverterDescription;
        if (image == Image_Menu) message = Language::kMsgCompilerDescription;
        if (image == Image_Burn) message = Language::kMsgBurnerDescription;
        Label_Description->SetCaption(message == 0 ? String() : Language::GetMessageText(message));
    }
    ShownDescription = image;
}

void TMainWindow::suiImageButton_BuilderMouseMove(TObject*, TShiftState, int, int) { ShowModeDescription(Image_Builder); }
void TMainWindow::suiImageButton_ConverterMouseMove(TObject*, TShiftState, int, int) { ShowModeDescription(Image_Vob); }
void TMainWindow::suiImageButton_CompilerMouseMove(TObject*, TShiftState, int, int) { ShowModeDescription(Image_Menu); }
void TMainWindow::suiImageButton_BurnerMouseMove(TObject*, TShiftState, int, int) { ShowModeDescription(Image_Burn); }
void TMainWindow::suiSkinForm1MouseMove(TObject*, TShiftState, int, int) { ShowModeDescription(nullptr); }

void ApplyLanguageToAllForms(TMainWindow* Main) {
    Language::ApplyLanguageToForm(Main);
    // The other windows follow in their creation order as they join the program.
    if (OptionWindow != nullptr) OptionWindow->ApplyLanguage();
    if (SetupClipWindow != nullptr) SetupClipWindow->ApplyLanguage();
    if (SetupSubtitleWindow != nullptr) SetupSubtitleWindow->ApplyLanguage();
    if (SetupMenuWindow != nullptr) SetupMenuWindow->ApplyLanguage();
    if (SetupChapterWindow != nullptr) SetupChapterWindow->ApplyLanguage();
    if (SetupTextWindow != nullptr) SetupTextWindow->ApplyLanguage();
    if (SetupImageWindow != nullptr) SetupImageWindow->ApplyLanguage();
    if (AboutWindow != nullptr) AboutWindow->ApplyLanguage();
    if (SetupDVDFileWindow != nullptr) SetupDVDFileWindow->ApplyLanguage();
    if (CompilerWindow != nullptr) CompilerWindow->ApplyLanguage();
    if (ConvertWindow != nullptr) ConvertWindow->ApplyLanguage();
    if (BurnWindow != nullptr) BurnWindow->ApplyLanguage();
    if (BuilderWindow != nullptr) BuilderWindow->ApplyLanguage();
    if (DeviceWindow != nullptr) DeviceWindow->ApplyLanguage();
}
