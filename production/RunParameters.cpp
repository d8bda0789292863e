#include "production/RunParameters.h"

#include "model/CustomClass.h"

TStandardParameters StandardParameters(int VideoStandard) {
    if (VideoStandard == NtscStandard) return {"720:480", "30000/1001", 480};
    return {"720:576", "25", 576};
}

TAspectParameters AspectParameters(int Aspect) {
    if (Aspect == Aspect16x9) return {16.0 / 9.0, 404, "16:9", "16/9"};
    return {4.0 / 3.0, 540, "4:3", "4/3"};
}

int VideoStandardOfClips(const std::vector<TClipInfo*>& Clips, int Fallback) {
    for (const TClipInfo* clip : Clips) {
        if (clip == nullptr || clip->i_SourceHeight <= 0) continue;
        return clip->i_SourceHeight == 480 ? NtscStandard : PalStandard;
    }
    return Fallback;
}

int ResolveAspect(int Aspect, const std::vector<TClipInfo*>& Clips) {
    if (Aspect == Aspect4x3 || Aspect == Aspect16x9) return Aspect;
    if (Clips.empty() || Clips.front() == nullptr) return Aspect4x3;
    const int code = Clips.front()->i_AspectCode;
    return code == 3 || code == 4 ? Aspect16x9 : Aspect4x3;
}
