// The ten arguments of the media library's menu encode (X_SetPar_BMP2VOB), after the window.
#pragma once

#include "platform/vcl/System.h"

struct TMenuVobArguments {
    int i_VideoStandard = 2;  // 1 NTSC, 2 PAL
    String s_MenuBmp;
    String s_Length;          // seconds, as text
    String s_MenuFrameSize;
    String s_FrameSize;
    String s_MenuAspect;
    String s_MenuVob;         // output
    int i_WithMusic = 0;
    String s_MenuMusic;       // the music file, or "NoFile"
};

struct TMenuVobInput {
    int i_VideoStandard = 2;
    String s_MenuBmp;
    String s_MenuVob;
    String s_MenuMusic;       // may name a file that does not exist
    int i_MenuDuration = 5;   // seconds, used only with music
    String s_MenuFrameSize;
    String s_FrameSize;
    String s_MenuAspect;
};

// With an existing music file the menu lasts i_MenuDuration seconds with that music; without,
// it lasts 2 seconds and the music argument reads "NoFile".
TMenuVobArguments MenuVobArguments(const TMenuVobInput& Input);
