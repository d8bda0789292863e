#include "production/MenuEncode.h"

#include "platform/vcl/SysUtils.h"

TMenuVobArguments MenuVobArguments(const TMenuVobInput& Input) {
    TMenuVobArguments a;
    a.i_VideoStandard = Input.i_VideoStandard;
    a.s_MenuBmp = Input.s_MenuBmp;
    a.s_MenuFrameSize = Input.s_MenuFrameSize;
    a.s_FrameSize = Input.s_FrameSize;
    a.s_MenuAspect = Input.s_MenuAspect;
    a.s_MenuVob = Input.s_MenuVob;
    if (!Input.s_MenuMusic.empty() && FileExists(Input.s_MenuMusic)) {
        a.i_WithMusic = 1;
        a.s_MenuMusic = Input.s_MenuMusic;
        a.s_Length = std::to_string(Input.i_MenuDuration);
    } else {
        a.i_WithMusic = 0;
        a.s_MenuMusic = "NoFile";
        a.s_Length = "2";
    }
    return a;
}
