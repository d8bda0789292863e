#include "core/ClipTrim.h"

#include <algorithm>
#include <cmath>

#include "core/Pubfunction.h"

namespace ClipTrim {

using Pubfunction::ClampFloat;
using Pubfunction::ClampRange;

const String EmptyTimeText = "  :  :  ";

void UpdateRangeBar(TTrimHandles& Handles) {
    Handles.BarLeft = Handles.StartLeft + HandleWidth;
    Handles.BarWidth = Handles.EndLeft - Handles.BarLeft;
}

TTrimHandles PlaceTrimHandles(double StartRatio, double EndRatio) {
    TTrimHandles handles;
    if (!(StartRatio >= 0) && !(EndRatio >= 0)) return handles;
    // Not-a-number on one side counts as 0 there, so no NaN is ever turned into a pixel.
    double s = ClampFloat(StartRatio, 0, 1);
    double e = ClampFloat(EndRatio, 0, 1);
    handles.Enabled = true;
    handles.StartLeft = ClampRange(static_cast<int>(std::trunc(TrackLength * s + 0.5)), 0, TrackLength);
    handles.EndLeft = ClampRange(static_cast<int>(std::trunc(TrackLength * e + HandleWidth + 0.5)), HandleWidth,
                                 TrackLength + HandleWidth);
    UpdateRangeBar(handles);
    return handles;
}

TTrimHandles SyncTrimHandles(int TrimStart, int TrimEnd, int Duration) {
    if (Duration <= 0) return PlaceTrimHandles(-1, -1);
    return PlaceTrimHandles(static_cast<double>(TrimStart) / Duration, static_cast<double>(TrimEnd) / Duration);
}

TTrimRatios GetTrimRatios(const TTrimHandles& Handles) {
    return {ClampFloat(static_cast<double>(Handles.StartLeft) / TrackLength, 0, 1),
            ClampFloat(static_cast<double>(Handles.EndLeft - HandleWidth) / TrackLength, 0, 1)};
}

int RatioSecond(int Duration, double Ratio) {
    if (Duration <= 0) return 0;
    return std::max(0, static_cast<int>(std::trunc(Duration * ClampFloat(Ratio, 0, 1))));
}

void DragStartHandle(TTrimHandles& Handles, int LeftAtStart, int Movement) {
    Handles.StartLeft = ClampRange(LeftAtStart + Movement, 0, Handles.EndLeft - HandleWidth);
    UpdateRangeBar(Handles);
}

void DragEndHandle(TTrimHandles& Handles, int LeftAtStart, int Movement) {
    Handles.EndLeft = ClampRange(LeftAtStart + Movement, Handles.StartLeft + HandleWidth, TrackPictureWidth - HandleWidth);
    UpdateRangeBar(Handles);
}

void DragRangeBar(TTrimHandles& Handles, int LeftAtStart, int Movement) {
    int width = Handles.BarWidth;
    int left = ClampRange(LeftAtStart + Movement, HandleWidth, TrackPictureWidth - HandleWidth - width);
    Handles.StartLeft = left - HandleWidth;
    Handles.EndLeft = left + width;
    UpdateRangeBar(Handles);
}

int HighestStart(int TrimEnd, int Duration) { return std::max(0, std::min(Duration - EndMargin, TrimEnd)); }

namespace {

int SeekAtLeastOne(int Second) { return std::max(Second, 1); }

// The end a seek may show: frames right at the end are not always there to decode.
int SeekBeforeEnd(int Second, int Duration) { return SeekAtLeastOne(std::min(Second, Duration - EndMargin)); }

TTrimChange Change(int Start, int End, int Seek) { return {true, Start, End, SeekAtLeastOne(Seek)}; }

}  // namespace

TTrimChange ReleaseStartHandle(const TTrimRatios& Ratios, int TrimStart, int TrimEnd, int Duration) {
    (void)TrimStart;
    int start = ClampRange(RatioSecond(Duration, Ratios.Start), 0, HighestStart(TrimEnd, Duration));
    return Change(start, TrimEnd, start);
}

TTrimChange ReleaseEndHandle(const TTrimRatios& Ratios, int TrimStart, int TrimEnd, int Duration) {
    (void)TrimEnd;
    int end = ClampRange(RatioSecond(Duration, Ratios.End), TrimStart, std::max(Duration, 0));
    return Change(TrimStart, end, SeekBeforeEnd(end, Duration));
}

TTrimChange ReleaseRangeBar(const TTrimRatios& Ratios, int TrimStart, int TrimEnd, int Duration) {
    (void)TrimStart;
    (void)TrimEnd;
    int end = ClampRange(RatioSecond(Duration, Ratios.End), 0, std::max(Duration, 0));
    int start = ClampRange(RatioSecond(Duration, Ratios.Start), 0, HighestStart(end, Duration));
    return Change(start, end, start);
}

TTrimChange ConfirmStart(int Entry, int TrimStart, int TrimEnd, int Duration) {
    if (Entry == TrimStart) return {false, TrimStart, TrimEnd, SeekAtLeastOne(TrimStart)};
    int start = ClampRange(Entry, 0, HighestStart(TrimEnd, Duration));
    return Change(start, TrimEnd, start);
}

TTrimChange ConfirmStop(int Entry, int TrimStart, int TrimEnd, int Duration) {
    if (Entry == TrimEnd) return {false, TrimStart, TrimEnd, SeekAtLeastOne(TrimEnd)};
    int end = ClampRange(Entry, TrimStart, std::max(Duration, 0));
    return Change(TrimStart, end, end);
}

int ParseTimeEdit(const String& Text) {
    static const int places[6] = {0, 1, 3, 4, 6, 7};
    static const int weights[6] = {36000, 3600, 600, 60, 10, 1};
    int seconds = 0;
    for (int i = 0; i < 6; ++i) {
        std::size_t at = static_cast<std::size_t>(places[i]);
        char c = at < Text.size() ? Text[at] : ' ';
        if (c >= '0' && c <= '9') seconds += (c - '0') * weights[i];
    }
    return seconds;
}

bool StartEntryValid(int Entry, int TrimEnd) { return Entry >= 0 && Entry <= TrimEnd; }

bool StopEntryValid(int Entry, int TrimStart, int Duration) { return Entry >= TrimStart && Entry <= Duration; }

}  // namespace ClipTrim
