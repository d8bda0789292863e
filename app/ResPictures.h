// The windows' artwork from the program's RES folder. A missing picture leaves what it would
// fill as it was: a window without its artwork still works.
#pragma once

#include "platform/vcl/Graphics.h"
#include "skin/core/SUIButton.h"

// Picture from RES/File.
void LoadResPicture(TPicture* Picture, const String& File);
// A skinned button's four pictures: Base.bmp, Base_on.bmp, Base_down.bmp and Base_dis.bmp.
void LoadResButton(TsuiImageButton* Button, const String& Base);
