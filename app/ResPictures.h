// The windows' artwork from the program's RES folder. A missing picture leaves what it would
// fill as it was: a window without its artwork still works.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Forms.h"
#include "skin/core/SUIButton.h"
#include "skin/core/SUISkinForm.h"

// A picture compiled into the program, by name; false when there is none.
bool LoadCompiledPicture(TPicture* Picture, const String& ResourceName);
// A skinned button's three pictures compiled in as Base, BaseON and BaseDOWN.
void LoadCompiledButton(TsuiImageButton* Button, const String& Base);
// Picture from RES/File.
void LoadResPicture(TPicture* Picture, const String& File);
// A skinned button's four pictures: Base.bmp, Base_on.bmp, Base_down.bmp and Base_dis.bmp.
void LoadResButton(TsuiImageButton* Button, const String& Base);
// A form's skin (suiSkinForm1), its fuchsia pixels see-through; the form gives it its picture.
TsuiSkinForm* NewSkinForm(TForm* Form);
// Skin's picture from RES/File, when there is one; without it the skin stays, empty.
void ShowResSkin(TsuiSkinForm* Skin, const String& File);
// A skin picture from RES/File for Skin's form: its shape and size follow the picture. Without
// the picture the skin is hidden and the form keeps its plain look; the result says which.
bool LoadResSkin(TsuiSkinForm* Skin, const String& File);
// Escape from any control of Form does what a click on Button (its Cancel or Close) does.
void CloseOnEscape(TForm* Form, TControl* Button);
