// author.xml: the authoring library's project for the whole disc — the root menu (vmgm), the
// title and chapter menus, and one title per clip with its chapters and the jump after it.
//
//   TAuthorProject project = AuthorProjectFromClips(settings);   // or filled by hand
//   TAuthorXml xml(project);
//   xml.WriteAuthorXml(path);      // then b_VmgmWritten / b_TitlesetMenusWritten tell the parts
#pragma once

#include "platform/vcl/System.h"

#include <utility>
#include <vector>

class TClipInfo;

struct TAuthorClip {
    String s_VobFile;
    int i_TrimStart = 0;                  // seconds
    int i_LengthSec = 0;                  // the converted VOB's length (ClipVobSeconds)
    bool b_TitleButton = false;
    bool b_ChapterMenu = false;           // the clip has a chapter menu in the model
    bool b_ChapterMenuVob = false;        // its Chapter_N.vob was made in the work folder
    bool b_ChapterMusic = false;          // the chapter menu's music file exists
    String s_ChapterMenuVob;
    std::vector<int> ChapterTimes;        // the chapter buttons' times, seconds in the source
    bool b_Subtitle = false;              // the clip's VOB carries a subtitle stream
    String s_SubtitleLang;
};

struct TAuthorProject {
    String s_Dest;                        // the DVD folder (the one holding VIDEO_TS)
    String s_MenuLang;
    int i_VideoStandard = 2;              // 1 NTSC, 2 PAL
    int i_Aspect = 1;                     // 1 4:3, 2 16:9
    bool b_RootMenuVob = false;           // HasRootMenuVob()
    String s_RootMenuTemplate;
    bool b_TitleMenuVob = false;          // HasTitleMenuVob()
    String s_TitleMenuVob;
    bool b_TitleMusic = false;            // the title menu's music file exists
    bool b_BackButton = false;            // HasBackButton()
    std::vector<TAuthorClip> Clips;
};

// The chapters of one title. Times are the buttons' times less the trim start; those outside
// [0, length) are left out (the authoring program would drop a chapter past the end and leave a
// dead button). Each button jumps to the chapter that holds its time; a left-out one to 1.
struct TTitleChapters {
    std::vector<int> Times;               // seconds from the VOB's start, after the leading 0
    std::vector<int> ButtonChapters;      // per chapter button, from 1
    int i_ChapterCount = 1;               // as the authoring program makes them (equal starts merge)
};
TTitleChapters TitleChapters(const std::vector<int>& ButtonTimes, int TrimStart, int LengthSec);

class TAuthorXml {
public:
    explicit TAuthorXml(TAuthorProject Project) : m_project(std::move(Project)) {}

    bool b_VmgmWritten = false;
    bool b_TitlesetMenusWritten = false;

    void WriteVmgmXml(std::vector<String>& Lines);
    void WriteTitlesetMenusXml(std::vector<String>& Lines);
    void WriteTitlesXml(std::vector<String>& Lines);
    // The whole project, lines ended by CR LF.
    String Text();
    // False (and no file) when it could not be written completely.
    bool WriteAuthorXml(const String& Path);

private:
    void WriteVideoAudio(std::vector<String>& Lines) const;
    void WriteChapterMenuBlock(std::vector<String>& Lines, const TAuthorClip& Clip, int ClipIndex, int Block) const;
    void WriteTitleBlock(std::vector<String>& Lines, const TAuthorClip& Clip, int ClipIndex) const;
    TAuthorProject m_project;
};

// ---- choices around the project ----------------------------------------------------------------

// The folder the disc is authored into: the output folder + the sanitised volume name, with
// "_1", "_2", ... when that name is taken. No trailing delimiter.
String ChooseDvdFolder(const String& OutputFolder, const String& VolumeName);
// The root-menu template for the aspect (1, 2) and standard (1 NTSC, 2 PAL); "" for none.
String RootMenuTemplate(const String& ProgramFolder, int Aspect, int VideoStandard);
bool HasTitleMenuVob(bool TitleMenu, const String& TempFolder);
bool HasRootMenuVob(bool TitleMenu, bool RootMenu, const String& ProgramFolder, int Aspect, int VideoStandard);

// Seconds of source a clip's VOB holds (as ClipSpan converts them).
int ClipVobSeconds(const TClipInfo& Clip);
// The clip VOBs' megabytes, summed in 64 bits.
Int64 TotalVobMB(const std::vector<TClipInfo*>& Clips);
// Progress of the authoring run: Mb x 100 / Total in 64 bits, Total taken as at least 1 MB.
int AuthorPercent(Int64 Mb, Int64 TotalMb);

// The authoring progress of one run: the percent to show, and the fixing pass announced once,
// the first time the progress reaches 96 %.
struct TAuthorProgress {
    Int64 i_TotalVobMB = 0;
    bool b_FixLogged = false;
    // The percent for Mb; FixStarts is set only on the call that should log the fixing pass.
    int Show(Int64 Mb, bool& FixStarts);
};

struct TAuthorSettings {
    String s_Dest;
    String s_TempFolder;                  // with a trailing '/'
    String s_ProgramFolder;               // with a trailing '/'
    int i_VideoStandard = 2;
    int i_Aspect = 1;
    bool b_TitleMenu = false;
    bool b_RootMenu = false;
    bool b_BackButton = false;            // HasBackButton() of the menu pictures
    std::vector<String> SubtitledVobs;    // the clip VOBs the run gave a subtitle stream
};
// The project from ClipInfo, the title menu's music and the language settings.
TAuthorProject AuthorProjectFromClips(const TAuthorSettings& Settings);
