// The disc-size estimate and its bar, shared by the clip editor, the menu designer and the
// Burner source page. Sizes are 64-bit: a long project's KB count passes 2^31.
#pragma once

#include <vector>

#include "platform/vcl/System.h"

class TClipInfo;

namespace DiscSize {

// Full widths of the three windows' bars.
constexpr int ClipEditorBarWidth = 648;
constexpr int DesignerBarWidth = 640;
constexpr int BurnSourceBarWidth = 483;

// KB for Seconds of video at PerMinuteKB per minute (multiplied first, the division truncating).
Int64 EstimateKB(int PerMinuteKB, Int64 Seconds);
// The estimate still fits: strictly below the capacity.
bool FitsOnDisc(Int64 KB, Int64 CapacityKB);
// Pixels of a FullWidth bar for KB on a disc of CapacityKB; KB is limited to 0..capacity, and
// a capacity of 0 or less draws an empty bar.
int BarWidth(Int64 KB, Int64 CapacityKB, int FullWidth);
// The KB the bar shows (and hands on to the other windows): KB limited to 0..capacity.
Int64 LimitToCapacity(Int64 KB, Int64 CapacityKB);

// The seconds a set of clips puts on the disc: the sum of their trimmed lengths.
Int64 TrimmedSeconds(const std::vector<TClipInfo*>& Clips);

}  // namespace DiscSize
