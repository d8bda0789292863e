// The About box: product name, version, build date, home page and contact links, publisher.
// Created once at start-up and shown modally from the main window's help popup.
#pragma once

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUISkinForm.h"
#include "skin/core/SUIURLLabel.h"

class TAboutWindow : public TForm {
    VCL_CLASS(TAboutWindow)
    explicit TAboutWindow(TComponent* AOwner);

    // Re-labels the window from the loaded language file.
    void ApplyLanguage();

    TsuiSkinForm* suiSkinForm1;
    TLabel* Label1;
    TLabel* Label5;
    TLabel* Label2;
    TLabel* Label3;
    TsuiURLLabel* suiURLLabel2;
    TLabel* Label4;
    TsuiURLLabel* suiURLLabel1;
    TLabel* Label8;
    TsuiImageButton* suiImageButton_Cancel;

private:
    void CreateSkin();
    void CreateControls();
    void StyleTitle();
    void StyleLinks();
};

extern TAboutWindow* AboutWindow;

// The texts the About box shows.
namespace AboutTexts {
inline constexpr const char* ProductName = "Quellox DOZ Ezedav 5.5";
inline constexpr const char* BuildDate = "Build on 20070710";
inline constexpr const char* HomeCaption = "Home :";
inline constexpr const char* HomeURL = "https://www.quellox.example/dozezedav/";
inline constexpr const char* ContactCaption = "Contact :";
inline constexpr const char* ContactAddress = "support@quellox.example";
inline constexpr const char* Publisher = "Quellox Media Works";
}  // namespace AboutTexts
