// The clip conversion's arithmetic: the picture inside the frame, the seconds to convert, the
// output name, the progress bar's length and the work folder.
#pragma once

#include "platform/vcl/System.h"

#include <functional>

struct TPictureGeometry {
    int i_Width = 720;
    int i_Height = 576;
};

// The picture of a W x H clip with aspect A inside a frame FrameHeight lines high at the target
// aspect (SquareHeight: the height of a 720-wide square-pixel picture at that aspect). A size of
// 0 (not known) gives the full frame.
TPictureGeometry PictureGeometry(int W, int H, double A, double TargetAspect, int SquareHeight, int FrameHeight);

struct TClipSpan {
    int i_ClipDuration = 0;   // seconds to convert, the progress denominator
    String s_DurationText;    // "0": to the end of the file
};

// A trim end at the clip's duration converts to the end of the file; any other end is honoured.
TClipSpan ClipSpan(int TrimStart, int TrimEnd, int Duration);

// The "Current Time" read-out for EncodedSeconds into a clip of ClipDuration seconds: the time
// within the clip, as "Duration" is, never past it (the encoder's count may run a second over).
int ClipTimeShown(int EncodedSeconds, int ClipDuration);

// OutputVOB_N.vob in Folder (which ends with a separator), else the first free OutputVOB_N_K.vob.
String OutputVobName(const String& Folder, int ClipIndex, const std::function<bool(const String&)>& Exists);

// Pixels of the 258-pixel bar for a percentage held to 0..100 (100 % draws 257).
int ProgressPixels(int Percent);

// The work folder: ProgramFolder + "Temp/" when it can be made and written, else the user's
// cache ($XDG_CACHE_HOME, else ~/.cache) + "/QuelloxDOZEzedav/Temp/"; never the program folder
// itself. Empty when neither can be made.
String ChooseWorkFolder(const String& ProgramFolder);

// A folder that exists (made one level when missing) and takes a new file.
bool FolderIsWritable(const String& Folder);
