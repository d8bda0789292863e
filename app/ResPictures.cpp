#include "app/ResPictures.h"

#include "app/Pubfunction.h"
#include "platform/vcl/SysUtils.h"

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
