#include "app/About_Window.h"

#include "app/FormBuilder.h"
#include "app/ResPictures.h"
#include "core/Language.h"

TAboutWindow* AboutWindow = nullptr;

namespace {

constexpr int kLinkLeft = 120;

}  // namespace

TAboutWindow::TAboutWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("AboutWindow");
    SetPosition(poScreenCenter);
    CreateSkin();
    CreateControls();
    SetAutoSize(true);
    AfterConstruction();
}

void TAboutWindow::CreateSkin() {
    suiSkinForm1 = NewSkinForm(this);
    TPicture background;
    if (LoadCompiledPicture(&background, "ABOUTBACKGROUND")) {
        suiSkinForm1->SetGlyph(background.GetBitmap());
        return;
    }
    SetClientWidth(434);
    SetClientHeight(245);
}

// The name twice: a white copy first and the black one over it, one pixel up and to the left,
// so the white shows as a light edge at the lower right.
void TAboutWindow::CreateControls() {
    using W = TAboutWindow;
    static constexpr TControlRow kRows[] = {
        Place<&W::Label1>("Label1", 48, 48, 0, 0, AboutTexts::ProductName),
        Place<&W::Label5>("Label5", 46, 47, 0, 0, AboutTexts::ProductName),
        Place<&W::Label2>("Label2", 320, 72, 0, 0, AboutTexts::BuildDate),
        Place<&W::Label3>("Label3", 48, 128, 0, 0, AboutTexts::HomeCaption),
        Place<&W::suiURLLabel2>("suiURLLabel2", kLinkLeft, 128, 0, 0, AboutTexts::HomeURL),
        Place<&W::Label4>("Label4", 48, 156, 0, 0, AboutTexts::ContactCaption),
        Place<&W::suiURLLabel1>("suiURLLabel1", kLinkLeft, 156, 0, 0, AboutTexts::ContactAddress),
        Place<&W::Label8>("Label8", 16, 224, 0, 0, AboutTexts::Publisher),
        Place<&W::suiImageButton_Cancel>("suiImageButton_Cancel", 406, 8, 18, 18, "ABOUTCLOSE"),
    };
    BuildControls(this, kRows);
    StyleTitle();
    StyleLinks();
    suiImageButton_Cancel->SetModalResult(mrCancel);
    suiImageButton_Cancel->SetCancel(true);
}

void TAboutWindow::StyleTitle() {
    for (TLabel* label : {Label1, Label5}) {
        label->GetFont()->SetName("Tahoma");
        label->GetFont()->SetHeight(20);
        label->GetFont()->SetStyle({fsBold});
    }
    Label1->GetFont()->SetColor(clWhite);
    Label5->GetFont()->SetColor(clBlack);
}

void TAboutWindow::StyleLinks() {
    suiURLLabel2->SetURL(AboutTexts::HomeURL);
    suiURLLabel1->SetURL(String("mailto:") + AboutTexts::ContactAddress);
    for (TsuiURLLabel* link : {suiURLLabel2, suiURLLabel1}) {
        link->SetFontHoverColor(clRed);
        link->SetFontLinkColor(clBlue);
    }
    suiURLLabel1->GetFont()->SetStyle({fsUnderline});
}

void TAboutWindow::ApplyLanguage() { Language::ApplyLanguageToForm(this); }
