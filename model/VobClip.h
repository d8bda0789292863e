// VOB files as clips, for the two places that take finished VOBs: the menu designer's Compiler
// flow and the Burner-mode source page. A VOB clip is not converted: its s_FileName and
// s_VobFile are the file itself.
//
//   TClipInfo* clip = MakeVobClip(path, TVobPicture::FirstPicture);   // null: not a usable VOB
//   ... the caller adds what its flow needs (b_AddLetterBox, i_VobSizeKB, a flag check) ...
//   ClipInfo.push_back(clip);
//   if (!CheckVideoStandards(ClipInfo)) ... NTSC and PAL are mixed; the user was told ...
#pragma once

#include <vector>

#include "platform/vcl/SysUtils.h"

class TClipInfo;
class TMediaLibrary;

enum class TVobPicture {
    None,          // no picture (the Burner-mode source page lists files only)
    FirstPicture,  // the file's first picture, black when it can't be decoded
};

// True when the file starts with an MPEG program stream's pack header: a VOB is one, and a
// picture or another container that the media library would open is not.
bool StartsAsProgramStream(const String& Path);

// A new clip for the VOB file (the caller owns it), or null when it is no usable VOB: not a
// program stream, unreadable by the media library, shorter than a second, or a picture size out
// of range. Loads the
// media library for this one file and frees it before returning.
TClipInfo* MakeVobClip(const String& Path, TVobPicture Picture);
// The same on a library the caller has loaded with TMediaEntries::Information.
TClipInfo* MakeVobClip(TMediaLibrary& Library, const String& Path, TVobPicture Picture);

// NTSC material has 480 lines; every other height counts as PAL.
bool IsNtscClip(const TClipInfo* Clip);

// The mixing message for Clips, or "" when they are not mixed: kMsgMixedStandardsNtsc, the NTSC
// clips' s_VobFile one per line, kMsgMixedStandardsPal, the PAL ones one per line, in list order.
String MixedStandardsText(const std::vector<TClipInfo*>& Clips);

// CheckVideoStandards / CheckMixedStandards: false when NTSC and PAL clips are mixed, after
// showing the mixing message in an information box with OK; true (and nothing shown) otherwise.
bool CheckVideoStandards(const std::vector<TClipInfo*>& Clips);
inline bool CheckMixedStandards(const std::vector<TClipInfo*>& Clips) { return CheckVideoStandards(Clips); }
