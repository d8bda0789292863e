#include "app/ResPictures.h"

#include "core/Pubfunction.h"
#include "platform/vcl/Resources.h"
#include "platform/vcl/SysUtils.h"

bool LoadCompiledPicture(TPicture* Picture, const String& ResourceName) {
    TBitmap bitmap;
    try {
        bitmap.LoadFromResourceName(HInstance, ResourceName);
    } catch (const EResNotFound&) {
        return false;
    }
    Picture->SetBitmap(&bitmap);
    return true;
}

void LoadCompiledButton(TsuiImageButton* Button, const String& Base) {
    LoadCompiledPicture(Button->GetPicNormal(), Base);
    LoadCompiledPicture(Button->GetPicMouseOn(), Base + "ON");
    LoadCompiledPicture(Button->GetPicMouseDown(), Base + "DOWN");
}

void LoadResPicture(TPicture* Picture, const String& File) {
    const String path = ExePath + "RES/" + File;
    if (FileExists(path)) Picture->LoadFromFile(path);
}

void LoadResButton(TsuiImageButton* Button, const String& Base) {
    LoadResPicture(Button->GetPicNormal(), Base + ".bmp");
    LoadResPicture(Button->GetPicMouseOn(), Base + "_on.bmp");
    LoadResPicture(Button->GetPicMouseDown(), Base + "_down.bmp");
    LoadResPicture(Button->GetPicDisabled(), Base + "_dis.bmp");
}

TsuiSkinForm* NewSkinForm(TForm* Form) {
    auto* skin = new TsuiSkinForm(Form);
    skin->SetName("suiSkinForm1");
    skin->SetParent(Form);
    skin->SetTransparentColor(clFuchsia);
    return skin;
}

void ShowResSkin(TsuiSkinForm* Skin, const String& File) {
    TPicture picture;
    LoadResPicture(&picture, File);
    if (picture.GetGraphic() != nullptr) Skin->SetGlyph(picture.GetBitmap());
}

bool LoadResSkin(TsuiSkinForm* Skin, const String& File) {
    TPicture picture;
    LoadResPicture(&picture, File);
    const bool found = picture.GetGraphic() != nullptr;
    if (found) Skin->SetGlyph(picture.GetBitmap());
    Skin->SetVisible(found);
    return found;
}

void CloseOnEscape(TForm* Form, TControl* Button) {
    Form->SetKeyPreview(true);
    TKeyEvent previous = Form->OnKeyDown;
    Form->OnKeyDown = [Button, previous](TObject* Sender, Word& Key, TShiftState Shift) {
        if (Key != VK_ESCAPE) {
            if (previous) previous(Sender, Key, Shift);
            return;
        }
        Key = 0;
        if (Button->GetVisible() && Button->GetEnabled()) Button->Click();
    };
}
