// The launcher window: four mode buttons, settings, help popup, home page, minimise and quit.
#pragma once

#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUISkinForm.h"

class TMainWindow : public TForm {
    VCL_CLASS(TMainWindow)
    explicit TMainWindow(TComponent* AOwner);

    TsuiSkinForm* suiSkinForm1;
    TsuiImageButton* suiImageButton_Builder;
    TsuiImageButton* suiImageButton_Converter;
    TsuiImageButton* suiImageButton_Compiler;
    TsuiImageButton* suiImageButton_Burner;
    TsuiImageButton* suiImageButton_Min;
    TsuiImageButton* suiImageButton_Exit;
    TsuiImageButton* suiImageButton_Home;
    TsuiImageButton* suiImageButton_Option;
    TsuiImageButton* suiImageButton_Help;
    TImage* Image_Builder;
    TImage* Image_Vob;
    TImage* Image_Menu;
    TImage* Image_Burn;
    TLabel* Label_Description;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);

    void suiImageButton_BuilderClick(TObject* Sender);
    void suiImageButton_ConverterClick(TObject* Sender);
    void suiImageButton_CompilerClick(TObject* Sender);
    void suiImageButton_BurnerClick(TObject* Sender);
    void suiImageButton_MinClick(TObject* Sender);
    void suiImageButton_ExitClick(TObject* Sender);
    void suiImageButton_HomeClick(TObject* Sender);
    void suiImageButton_OptionClick(TObject* Sender);
    void suiImageButton_HelpClick(TObject* Sender);
    void suiImageButton_BuilderMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void suiImageButton_ConverterMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void suiImageButton_CompilerMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void suiImageButton_BurnerMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void suiSkinForm1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

    bool BuildHelpMenu();
    void HelpMenuItemClick(TObject* Sender);
    // Opens the help document beside the program; says so when it is missing.
    void OpenHelp();
    void LanguageMenuItemClick(TObject* Sender);
    void ShowModeDescription(TControl* control);

    // For the program's own checks and tests.
    TPopupMenu* GetHelpPopupMenu() const { return HelpPopupMenu; }
    TImage* GetShownDescription() const { return ShownDescription; }
    const String& GetResPath() const { return ResPath; }

private:
    void CreateComponents();
    void CreateControls();
    void SetButtonLooks();
    void SetDescriptionLooks();
    void InstallHandlers();
    void ShowModeWindow(TForm* Window);
    void LoadSkinPictures();
    void LoadButtonPictures(TsuiImageButton* Button, const String& Base);
    void LoadSharedBitmaps();
    void AddHelpItem(const String& Name, const String& Caption, TNotifyEvent OnClick);
    void FreeProgramData();

    String ResPath;
    bool b_FirstShowDone = false;
    TPopupMenu* HelpPopupMenu = nullptr;
    TImage* ShownDescription = nullptr;
    // The file behind each language item ("Lang" + i), spelt as on disk: the caption alone
    // loses the case of its ".ini".
    std::vector<String> LanguageFiles;
};

extern TMainWindow* MainWindow;

// The loaded language onto every window, main window first.
void ApplyLanguageToAllForms(TMainWindow* Main);

// The product's web page the Home button opens.
extern const String HomePageAddress;
// The help document, relative to the program folder.
extern const String HelpFileName;
