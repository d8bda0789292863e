#include "app/About_Window.h"

#include "core/Language.h"
#include "platform/vcl/Resources.h"

TAboutWindow* AboutWindow = nullptr;

namespace {

// Missing artwork leaves the picture empty: the window still works, only plainer.
void LoadArtwork(TPicture* Picture, const char* ResourceName) {
    TBitmap bitmap;
    try {
        bitmap.LoadFromResourceName(HInstance, ResourceName);
    } catch (const EResNotFound&) {
        return;
    }
    Picture->SetBitmap(&bitmap);
}

constexpr int kLinkLeft = 120;

}  // namespace

TAboutWindow::TAboutWindow(TComponent* AOwner) : TForm(AOwner) {
    SetName("AboutWindow");
    SetPosition(poScreenCenter);
    CreateSkin();
    CreateTitle();
    CreateLinks();
    CreateCloseButton();
    SetAutoSize(true);
    AfterConstruction();
}

void TAboutWindow::CreateSkin() {
    suiSkinForm1 = new TsuiSkinForm(this);
    suiSkinForm1->SetName("suiSkinForm1");
    suiSkinForm1->SetParent(this);
    suiSkinForm1->SetTransparentColor(clFuchsia);
    TPicture background;
    LoadArtwork(&background, "ABOUTBACKGROUND");
    if (background.GetGraphic() != nullptr) {
        suiSkinForm1->SetGlyph(background.GetBitmap());
        return;
    }
    SetClientWidth(434);
    SetClientHeight(245);
}

TLabel* TAboutWindow::NewLabel(const String& Name, const String& Caption, int Left, int Top) {
    auto* label = new TLabel(this);
    label->SetName(Name);
    label->SetParent(this);
    label->SetTransparent(true);
    label->SetCaption(Caption);
    label->SetLeft(Left);
    label->SetTop(Top);
    return label;
}

TsuiURLLabel* TAboutWindow::NewLink(const String& Name, const String& Caption, const String& URL,
                                    int Left, int Top) {
    auto* link = new TsuiURLLabel(this);
    link->SetName(Name);
    link->SetParent(this);
    link->SetTransparent(true);
    link->SetCaption(Caption);
    link->SetURL(URL);
    link->SetFontHoverColor(clRed);
    link->SetFontLinkColor(clBlue);
    link->SetLeft(Left);
    link->SetTop(Top);
    return link;
}

// The name twice: a white copy first and the black one over it, one pixel up and to the left,
// so the white shows as a light edge at the lower right.
void TAboutWindow::CreateTitle() {
    Label1 = NewLabel("Label1", AboutTexts::ProductName, 48, 48);
    Label5 = NewLabel("Label5", AboutTexts::ProductName, 46, 47);
    for (TLabel* label : {Label1, Label5}) {
        label->GetFont()->SetName("Tahoma");
        label->GetFont()->SetHeight(20);
        label->GetFont()->SetStyle({fsBold});
    }
    Label1->GetFont()->SetColor(clWhite);
    Label5->GetFont()->SetColor(clBlack);
    Label2 = NewLabel("Label2", AboutTexts::BuildDate, 320, 72);
}

void TAboutWindow::CreateLinks() {
    Label3 = NewLabel("Label3", AboutTexts::HomeCaption, 48, 128);
    suiURLLabel2 = NewLink("suiURLLabel2", AboutTexts::HomeURL, AboutTexts::HomeURL, kLinkLeft, 128);
    Label4 = NewLabel("Label4", AboutTexts::ContactCaption, 48, 156);
    suiURLLabel1 = NewLink("suiURLLabel1", AboutTexts::ContactAddress,
                           String("mailto:") + AboutTexts::ContactAddress, kLinkLeft, 156);
    suiURLLabel1->GetFont()->SetStyle({fsUnderline});
    Label8 = NewLabel("Label8", AboutTexts::Publisher, 16, 224);
}

void TAboutWindow::CreateCloseButton() {
    suiImageButton_Cancel = new TsuiImageButton(this);
    suiImageButton_Cancel->SetName("suiImageButton_Cancel");
    suiImageButton_Cancel->SetParent(this);
    LoadArtwork(suiImageButton_Cancel->GetPicNormal(), "ABOUTCLOSE");
    LoadArtwork(suiImageButton_Cancel->GetPicMouseOn(), "ABOUTCLOSEON");
    LoadArtwork(suiImageButton_Cancel->GetPicMouseDown(), "ABOUTCLOSEDOWN");
    suiImageButton_Cancel->SetBounds(406, 8, 18, 18);
    suiImageButton_Cancel->SetModalResult(mrCancel);
    suiImageButton_Cancel->SetCancel(true);
}

void TAboutWindow::ApplyLanguage() { Language::ApplyLanguageToForm(this); }
