// The clip editor's trim slider and time edits as plain arithmetic: where the two handles and
// the range bar sit for a clip's trim, which seconds a drag or a confirmed entry stores, and
// which second the preview then seeks. The window only moves its controls to the results.
#pragma once

#include "platform/vcl/System.h"

namespace ClipTrim {

constexpr int HandleWidth = 10;          // both handles, 10 x 14
constexpr int TrackLength = 230 - HandleWidth;  // T: the pixels a ratio 0..1 spans
constexpr int TrackPictureWidth = 242;   // bounds the end handle
constexpr int EndMargin = 10;            // a start lies at least this many seconds before the end
extern const String EmptyTimeText;       // "  :  :  ", an edit without a clip

// The slider's controls. Without a clip (or for one of duration 0) the handles sit at the ends,
// disabled, and the bar is empty.
struct TTrimHandles {
    int StartLeft = 0;
    int EndLeft = HandleWidth + TrackLength;
    bool Enabled = false;
    int BarLeft = HandleWidth;
    int BarWidth = 0;
};

// UpdateRangeBar: the bar fills the room between the handles.
void UpdateRangeBar(TTrimHandles& Handles);
// PlaceTrimHandles (s, e): ratios 0..1; both negative or not numbers: as without a clip.
TTrimHandles PlaceTrimHandles(double StartRatio, double EndRatio);
// SyncTrimHandles: a clip's trim on the slider; a duration of 0 or less shows no clip.
TTrimHandles SyncTrimHandles(int TrimStart, int TrimEnd, int Duration);

struct TTrimRatios {
    double Start = 0;
    double End = 0;
};
// GetTrimRatios: the handles' places as ratios 0..1.
TTrimRatios GetTrimRatios(const TTrimHandles& Handles);
// The second a ratio stands for: trunc(Duration x Ratio), never below 0.
int RatioSecond(int Duration, double Ratio);

// Drags, from the control's Left at mouse-down and the cursor's horizontal movement.
void DragStartHandle(TTrimHandles& Handles, int LeftAtStart, int Movement);
void DragEndHandle(TTrimHandles& Handles, int LeftAtStart, int Movement);
// The bar keeps its width; LeftAtStart is the bar's Left at mouse-down.
void DragRangeBar(TTrimHandles& Handles, int LeftAtStart, int Movement);

// What a release or a confirmed entry does to the selected clip. The trim always stays in
// range: 0 <= start <= end <= Duration, the start at most Duration - 10 (0 for shorter clips).
struct TTrimChange {
    bool Changed = false;  // false: nothing to store and nothing to fetch
    int TrimStart = 0;
    int TrimEnd = 0;
    int SeekSecond = 1;    // at least 1
};

// Highest start the clip allows with its end at TrimEnd.
int HighestStart(int TrimEnd, int Duration);
// Releases seek the new start, or for the end handle the new end lowered to Duration - 10.
TTrimChange ReleaseStartHandle(const TTrimRatios& Ratios, int TrimStart, int TrimEnd, int Duration);
TTrimChange ReleaseEndHandle(const TTrimRatios& Ratios, int TrimStart, int TrimEnd, int Duration);
// Moves both ends; the disc size changes with it like after any other release.
TTrimChange ReleaseRangeBar(const TTrimRatios& Ratios, int TrimStart, int TrimEnd, int Duration);
// A confirmed time edit; no change when the entry equals the stored value. The start seeks the
// stored start, the stop the stored end (neither below 1).
TTrimChange ConfirmStart(int Entry, int TrimStart, int TrimEnd, int Duration);
TTrimChange ConfirmStop(int Entry, int TrimStart, int TrimEnd, int Duration);

// An edit's text "hh:mm:ss" (mask "!90:00:00;1;_"): each of the six digit places counts on its
// own, a blank or other character as 0; minutes and seconds are not limited to 59.
int ParseTimeEdit(const String& Text);
// Whether an entry may be confirmed as it stands (else the edit shows red).
bool StartEntryValid(int Entry, int TrimEnd);
bool StopEntryValid(int Entry, int TrimStart, int Duration);

}  // namespace ClipTrim
