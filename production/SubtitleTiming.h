// subtitle.srt: the clip's subtitles on the converted VOB's clock. The VOB starts at the
// clip's trim start, so every entry moves back by it; entries wholly outside the VOB go, and
// the rest are cut to it (spumux would keep an entry past the video's end).
#pragma once

#include "platform/vcl/System.h"
#include "production/SubtitleEncoding.h"

#include <vector>

struct TSubtitleEntry {
    long long i_StartMs = 0;
    long long i_EndMs = 0;
    std::vector<String> Lines;   // the text, one string per line, without line ends
};

enum class TSubtitleShift {
    Shifted,      // at least one entry is left: mux it
    NoneLeft,     // readable, but nothing falls inside the VOB: no mux for the clip
    Unreadable,   // not one entry could be read (or the result could not be written)
};

// The entries of SRT text, in file order; blocks without a readable time line ("00:00:01,000
// --> 00:00:02,500", hours of any length, "," or "." before the milliseconds) or whose end
// is not after their start are left out.
std::vector<TSubtitleEntry> ParseSrt(const String& Text);

// Each entry moved by -TrimStartSec; those ending at or before 0 or starting at or after
// LengthMs dropped; the rest clipped to [0, LengthMs).
std::vector<TSubtitleEntry> ShiftSubtitles(const std::vector<TSubtitleEntry>& Entries, int TrimStartSec,
                                           long long LengthMs);

// The entries in time order, none shorter than FrameMs and none overlapping another: an entry
// that starts before the previous one ends joins it (its new lines added, up to a few), and
// one shorter than a frame goes. However dense the file, the mux then holds at most one entry
// per frame of the clip.
std::vector<TSubtitleEntry> TidySubtitles(std::vector<TSubtitleEntry> Entries, long long FrameMs);

// SRT text numbered from 1, lines ended by CR LF, times as HH:MM:SS,mmm.
String SrtText(const std::vector<TSubtitleEntry>& Entries);

// "00:01:02,003" for 62003 ms.
String SrtTime(long long Ms);

struct TSubtitleCopy {
    TSubtitleShift Result = TSubtitleShift::Unreadable;
    TSubtitleEncoding Encoding = TSubtitleEncoding::RegionCharset;
    String Text;   // what Target holds: UTF-8 for the Unicode encodings, else the file's own bytes
};

// Reads Source in the encoding its bytes call for, shifts it for a VOB that starts at
// TrimStartSec and lasts LengthMs, tidies it for frames of FrameMs, and writes Target when
// entries are left: UTF-8 without a mark for a Unicode file, the file's own bytes otherwise.
// Target is written only for Shifted; Unreadable also when Source can't be read or decoded, or
// Target not written.
TSubtitleCopy WriteShiftedSubtitles(const String& Source, const String& Target, int TrimStartSec, long long LengthMs,
                                    long long FrameMs);
