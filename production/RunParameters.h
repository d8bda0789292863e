// The values a run takes from its video standard (1 NTSC, 2 PAL) and aspect (1 4:3, 2 16:9).
#pragma once

#include "platform/vcl/System.h"

#include <vector>

class TClipInfo;

constexpr int NtscStandard = 1;
constexpr int PalStandard = 2;
constexpr int Aspect4x3 = 1;
constexpr int Aspect16x9 = 2;

struct TStandardParameters {
    String s_FrameSize;       // "720:576" / "720:480", for clips and menus alike
    String s_FrameRate;       // "25" / "30000/1001"
    int i_FrameHeight = 576;
};

struct TAspectParameters {
    double d_TargetAspect = 4.0 / 3.0;
    int i_SquareHeight = 540;
    String s_AspectRatio;     // the clip encoder's "4:3" / "16:9"
    String s_MenuAspect;      // the menu encoder's "4/3" / "16/9"
};

TStandardParameters StandardParameters(int VideoStandard);
TAspectParameters AspectParameters(int Aspect);

// The standard of the clips themselves: the first clip whose source height is known decides,
// 480 lines NTSC and anything else PAL; Fallback when none is known. Declaring NTSC over PAL
// video authors a disc that plays wrong.
int VideoStandardOfClips(const std::vector<TClipInfo*>& Clips, int Fallback);

// Aspect 1 or 2 as it stands; any other value follows the first clip's aspect code (3 and 4
// are wide), 4:3 without clips.
int ResolveAspect(int Aspect, const std::vector<TClipInfo*>& Clips);
