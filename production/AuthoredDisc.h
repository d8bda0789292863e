// Reading an authored DVD folder back, as a player's reader sees it, before the run calls it a
// disc: the authoring program can exit well and still leave titles or chapters out.
#pragma once

#include "platform/vcl/System.h"

#include <vector>

struct TAuthorProject;

struct TExpectedDisc {
    std::vector<int> TitleChapters;  // per title, in order
    int i_Aspect = 1;                // 1 4:3, 2 16:9
};

// What author.xml asks for: one title per clip with its chapters, all at the project's aspect.
TExpectedDisc ExpectedDisc(const TAuthorProject& Project);

// True when the folder (the one holding VIDEO_TS) reads back with the expected titles, each
// with its chapter count and the aspect. Otherwise false, with the first difference in Problem.
bool ReadBackDvdFolder(const String& Folder, const TExpectedDisc& Expected, String* Problem = nullptr);

// Removes what authoring made in Folder (its VIDEO_TS and AUDIO_TS folders), then Folder itself
// when nothing else is in it; a file of anyone else's stays.
void DiscardAuthoredFolder(const String& Folder);

// ReadBackDvdFolder; a folder that does not read back is discarded, so no half disc is left for
// the burning step or the person to find.
bool VerifyAuthoredFolder(const String& Folder, const TExpectedDisc& Expected, String* Problem = nullptr);

// KB of every file under Folder (bytes / 1024); 0 for a missing folder.
Int64 FolderSizeKB(const String& Folder);
