#include "model/DiscSize.h"

#include <algorithm>
#include <cmath>

#include "model/CustomClass.h"

namespace DiscSize {

Int64 EstimateKB(int PerMinuteKB, Int64 Seconds) { return static_cast<Int64>(PerMinuteKB) * Seconds / 60; }

bool FitsOnDisc(Int64 KB, Int64 CapacityKB) { return KB < CapacityKB; }

Int64 LimitToCapacity(Int64 KB, Int64 CapacityKB) {
    if (CapacityKB <= 0) return 0;
    return std::clamp<Int64>(KB, 0, CapacityKB);
}

int BarWidth(Int64 KB, Int64 CapacityKB, int FullWidth) {
    if (CapacityKB <= 0) return 0;
    double share = static_cast<double>(LimitToCapacity(KB, CapacityKB)) * 100.0 / static_cast<double>(CapacityKB) * 0.01;
    return static_cast<int>(std::trunc(share * FullWidth));
}

Int64 TrimmedSeconds(const std::vector<TClipInfo*>& Clips) {
    Int64 seconds = 0;
    for (const TClipInfo* clip : Clips) {
        if (clip != nullptr) seconds += std::max(0, clip->i_TrimEnd - clip->i_TrimStart);
    }
    return seconds;
}

}  // namespace DiscSize
