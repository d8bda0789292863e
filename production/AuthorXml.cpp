#include "production/AuthorXml.h"

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"
#include "production/ClipConversion.h"
#include "production/SubtitleMux.h"
#include "production/VolumeName.h"
#include "production/XmlText.h"
#include "platform/vcl/SysUtils.h"

#include <algorithm>
#include <set>

namespace {

const char* const kEnd = "\r\n";

String Blanks(int Count, const String& Text) { return String(static_cast<size_t>(Count), ' ') + Text; }

String Attr(const String& Value) { return XmlEscape(Value); }

String ChapterTimeText(int Seconds) { return Pubfunction::SecondsToHMS(Seconds) + ".00"; }

}  // namespace

TTitleChapters TitleChapters(const std::vector<int>& ButtonTimes, int TrimStart, int LengthSec) {
    TTitleChapters chapters;
    std::set<int> starts{0};
    for (int time : ButtonTimes) {
        const int t = time - TrimStart;
        if (t < 0 || t >= LengthSec) continue;
        chapters.Times.push_back(t);
        starts.insert(t);
    }
    for (int time : ButtonTimes) {
        const int t = time - TrimStart;
        if (t < 0 || t >= LengthSec) {
            chapters.ButtonChapters.push_back(1);
            continue;
        }
        chapters.ButtonChapters.push_back(static_cast<int>(std::distance(starts.begin(), starts.upper_bound(t))));
    }
    chapters.i_ChapterCount = static_cast<int>(starts.size());
    return chapters;
}

// ---- TAuthorXml --------------------------------------------------------------------------------

void TAuthorXml::WriteVideoAudio(std::vector<String>& Lines) const {
    const bool pal = m_project.i_VideoStandard != 1;
    const bool wide = m_project.i_Aspect == 2;
    const String lang = Attr(m_project.s_MenuLang);
    Lines.push_back(Blanks(9, String("<video format=\"") + (pal ? "pal" : "ntsc") + "\" aspect=" +
                                  (wide ? "\"16:9\"" : "\"4:3\"")));
    Lines.push_back(Blanks(16, String("resolution=") + (pal ? "\"720x576\"" : "\"720x480\"")));
    Lines.push_back(Blanks(16, wide ? "widescreen=\"nopanscan\" />" : "/>"));
    Lines.push_back(Blanks(9, "<audio format=\"ac3\""));
    Lines.push_back(Blanks(16, "quant=\"16bps\" dolby=\"surround\""));
    Lines.push_back(Blanks(16, "samplerate=\"48khz\" lang=\"" + lang + "\"/>"));
}

void TAuthorXml::WriteVmgmXml(std::vector<String>& Lines) {
    b_VmgmWritten = false;
    if (!m_project.b_RootMenuVob) {
        Lines.push_back(Blanks(2, "<vmgm>"));
        Lines.push_back(Blanks(2, "</vmgm>"));
        return;
    }
    const String lang = Attr(m_project.s_MenuLang);
    Lines.push_back(Blanks(2, "<vmgm>"));
    Lines.push_back(Blanks(6, "<menus lang=\"" + lang + "\">"));
    WriteVideoAudio(Lines);
    Lines.push_back(Blanks(9, "<subpicture lang=\"" + lang + "\"/>"));
    Lines.push_back(Blanks(9, "<pgc entry=\"title\">"));
    Lines.push_back(Blanks(9, "<pre> button = 1024; </pre>"));
    Lines.push_back(Blanks(8, "<vob file=\"" + Attr(m_project.s_RootMenuTemplate) + "\" pause=\"10\"/>"));
    if (m_project.b_TitleMenuVob) {
        Lines.push_back(Blanks(10, "<post> jump titleset 1 menu ; </post>"));
        Lines.push_back(Blanks(8, "<button> jump title 1 ;</button>"));
        Lines.push_back(Blanks(8, "<button> jump titleset 1 menu ;</button>"));
    } else {
        Lines.push_back(Blanks(10, "<post> jump title 1 ; </post>"));
        Lines.push_back(Blanks(8, "<button> jump title 1 ;</button>"));
        Lines.push_back(Blanks(8, "<button> jump title 1 ;</button>"));
    }
    Lines.push_back(Blanks(9, "</pgc>"));
    Lines.push_back(Blanks(6, "</menus>"));
    Lines.push_back(Blanks(2, "</vmgm>"));
    b_VmgmWritten = true;
}

void TAuthorXml::WriteChapterMenuBlock(std::vector<String>& Lines, const TAuthorClip& Clip, int ClipIndex,
                                       int Block) const {
    const TTitleChapters chapters = TitleChapters(Clip.ChapterTimes, Clip.i_TrimStart, Clip.i_LengthSec);
    const String vob = Attr(Clip.s_ChapterMenuVob);
    Lines.push_back(Blanks(9, "<pgc>"));
    Lines.push_back(Blanks(9, m_project.b_BackButton ? "<pre> button = 2048; </pre>" : "<pre> button = 1024; </pre>"));
    if (Clip.b_ChapterMusic) {
        Lines.push_back(Blanks(8, "<vob file=\"" + vob + "\" pause=\"2\"/>"));
        Lines.push_back(Blanks(8, "<post> jump menu " + std::to_string(Block + 2) + "; </post>"));
    } else {
        Lines.push_back(Blanks(8, "<vob file=\"" + vob + "\" pause=\"inf\"/>"));
    }
    if (m_project.b_BackButton) Lines.push_back(Blanks(10, "<button> jump menu 1 ; </button>"));
    for (int chapter : chapters.ButtonChapters) {
        Lines.push_back(Blanks(8, "<button> jump title " + std::to_string(ClipIndex + 1) + " chapter " +
                                      std::to_string(chapter) + " ; </button>"));
    }
    Lines.push_back(Blanks(9, "</pgc>"));
}

void TAuthorXml::WriteTitlesetMenusXml(std::vector<String>& Lines) {
    b_TitlesetMenusWritten = false;
    if (!m_project.b_TitleMenuVob) return;
    const String lang = Attr(m_project.s_MenuLang);
    const String vob = Attr(m_project.s_TitleMenuVob);
    const bool back = b_VmgmWritten && m_project.b_BackButton;
    Lines.push_back(Blanks(6, "<menus lang=\"" + lang + "\">"));
    Lines.push_back(Blanks(9, "<subpicture lang=\"" + lang + "\"/>"));
    Lines.push_back(Blanks(9, "<pgc entry=\"root\">"));
    Lines.push_back(Blanks(9, back ? "<pre> button = 2048; </pre>" : "<pre> button = 1024; </pre>"));
    if (m_project.b_TitleMusic) {
        Lines.push_back(Blanks(8, "<vob file=\"" + vob + "\" pause=\"2\"/>"));
        Lines.push_back(Blanks(10, "<post> jump menu 1; </post>"));
    } else {
        Lines.push_back(Blanks(8, "<vob file=\"" + vob + "\" pause=\"inf\"/>"));
    }
    if (back) Lines.push_back(Blanks(10, "<button> jump vmgm menu ; </button>"));
    int menu = 0;
    for (size_t i = 0; i < m_project.Clips.size(); ++i) {
        const TAuthorClip& clip = m_project.Clips[i];
        if (!clip.b_TitleButton) continue;
        if (clip.b_ChapterMenu) {
            Lines.push_back(Blanks(8, "<button> jump menu " + std::to_string(menu + 2) + "; </button>"));
            ++menu;
        } else {
            Lines.push_back(Blanks(8, "<button> jump title " + std::to_string(i + 1) + "; </button>"));
        }
    }
    Lines.push_back(Blanks(9, "</pgc>"));
    int block = 0;
    for (size_t i = 0; i < m_project.Clips.size(); ++i) {
        const TAuthorClip& clip = m_project.Clips[i];
        if (!clip.b_ChapterMenu || !clip.b_ChapterMenuVob) continue;
        WriteChapterMenuBlock(Lines, clip, static_cast<int>(i), block++);
    }
    Lines.push_back(Blanks(6, "</menus>"));
    b_TitlesetMenusWritten = true;
}

void TAuthorXml::WriteTitleBlock(std::vector<String>& Lines, const TAuthorClip& Clip, int ClipIndex) const {
    const String vob = Attr(Clip.s_VobFile);
    Lines.push_back(Blanks(8, "<pgc>"));
    if (Clip.b_Subtitle) Lines.push_back(Blanks(10, "<pre> subtitle=64; </pre>"));
    if (Clip.b_ChapterMenu) {
        String list = "0";
        for (int t : TitleChapters(Clip.ChapterTimes, Clip.i_TrimStart, Clip.i_LengthSec).Times) {
            list += ", " + ChapterTimeText(t);
        }
        Lines.push_back(Blanks(10, "<vob file=\"" + vob + "\" chapters=\"" + list + "\" />"));
    } else {
        Lines.push_back(Blanks(10, "<vob file=\"" + vob + "\" chapters=\"00:00:00.00\" />"));
    }
    const bool last = static_cast<size_t>(ClipIndex) + 1 == m_project.Clips.size();
    if (!last) {
        Lines.push_back(Blanks(10, "<post>jump title " + std::to_string(ClipIndex + 2) + " ;</post>"));
    } else if (b_VmgmWritten) {
        Lines.push_back(Blanks(10, "<post>call vmgm menu;</post>"));
    } else if (b_TitlesetMenusWritten) {
        Lines.push_back(Blanks(8, "<post>call menu;</post>"));
    } else {
        Lines.push_back(Blanks(10, "<post>jump title 1;</post>"));
    }
    Lines.push_back(Blanks(8, "</pgc>"));
}

void TAuthorXml::WriteTitlesXml(std::vector<String>& Lines) {
    WriteVideoAudio(Lines);
    // A sub-picture stream is declared only when a title's VOB carries one: the stream's
    // language is then the first such clip's.
    for (const TAuthorClip& clip : m_project.Clips) {
        if (!clip.b_Subtitle) continue;
        Lines.push_back(Blanks(10, "<subpicture lang=\"" + Attr(clip.s_SubtitleLang) + "\"/>"));
        break;
    }
    for (size_t i = 0; i < m_project.Clips.size(); ++i) WriteTitleBlock(Lines, m_project.Clips[i], static_cast<int>(i));
}

String TAuthorXml::Text() {
    std::vector<String> lines;
    lines.push_back("<dozezedav dest=\"" + Attr(m_project.s_Dest) + "\">");
    WriteVmgmXml(lines);
    lines.push_back(Blanks(2, "<titleset>"));
    WriteTitlesetMenusXml(lines);
    lines.push_back(Blanks(6, "<titles>"));
    WriteTitlesXml(lines);
    lines.push_back(Blanks(6, "</titles>"));
    lines.push_back(Blanks(2, "</titleset>"));
    lines.push_back("</dozezedav>");
    String text;
    for (const String& line : lines) text += line + kEnd;
    return text;
}

bool TAuthorXml::WriteAuthorXml(const String& Path) { return WriteTextFile(Path, Text()); }

// ---- choices around the project ----------------------------------------------------------------

String ChooseDvdFolder(const String& OutputFolder, const String& VolumeName) {
    const String base = IncludeTrailingPathDelimiter(OutputFolder) + SanitizeVolumeName(VolumeName);
    auto taken = [](const String& Path) { return DirectoryExists(Path) || FileExists(Path); };
    if (!taken(base)) return base;
    for (int k = 1;; ++k) {
        const String candidate = base + "_" + std::to_string(k);
        if (!taken(candidate)) return candidate;
    }
}

String RootMenuTemplate(const String& ProgramFolder, int Aspect, int VideoStandard) {
    if ((Aspect != 1 && Aspect != 2) || (VideoStandard != 1 && VideoStandard != 2)) return "";
    const String name = String("MainSub") + (VideoStandard == 1 ? "N" : "P") + (Aspect == 2 ? "W" : "") + ".vob";
    return ProgramFolder + "RES/" + name;
}

bool HasTitleMenuVob(bool TitleMenu, const String& TempFolder) {
    return TitleMenu && FileExists(TempFolder + "Title.vob");
}

bool HasRootMenuVob(bool TitleMenu, bool RootMenu, const String& ProgramFolder, int Aspect, int VideoStandard) {
    if (!TitleMenu || !RootMenu) return false;
    const String file = RootMenuTemplate(ProgramFolder, Aspect, VideoStandard);
    return !file.empty() && FileExists(file);
}

int ClipVobSeconds(const TClipInfo& Clip) {
    return ClipSpan(Clip.i_TrimStart, Clip.i_TrimEnd, Clip.i_Duration).i_ClipDuration;
}

Int64 TotalVobMB(const std::vector<TClipInfo*>& Clips) {
    Int64 total = 0;
    for (const TClipInfo* clip : Clips) {
        if (clip != nullptr) total += std::max<Int64>(Pubfunction::GetFileSizeMB(clip->s_VobFile), 0);
    }
    return total;
}

int AuthorPercent(Int64 Mb, Int64 TotalMb) {
    if (TotalMb < 1) TotalMb = 1;
    return static_cast<int>(std::clamp<Int64>(Mb * 100 / TotalMb, 0, 1000));
}

int TAuthorProgress::Show(Int64 Mb, bool& FixStarts) {
    if (i_TotalVobMB < 1) i_TotalVobMB = 1;
    const int percent = AuthorPercent(Mb, i_TotalVobMB);
    FixStarts = percent >= 96 && !b_FixLogged;
    if (FixStarts) b_FixLogged = true;
    return percent;
}

TAuthorProject AuthorProjectFromClips(const TAuthorSettings& Settings) {
    TAuthorProject p;
    p.s_Dest = Settings.s_Dest;
    p.s_MenuLang = Language::GetRegionLanguageCode(i_MenuLanguageCodeIndex);
    p.i_VideoStandard = Settings.i_VideoStandard;
    p.i_Aspect = Settings.i_Aspect;
    p.b_RootMenuVob = HasRootMenuVob(Settings.b_TitleMenu, Settings.b_RootMenu, Settings.s_ProgramFolder,
                                     Settings.i_Aspect, Settings.i_VideoStandard);
    p.s_RootMenuTemplate = RootMenuTemplate(Settings.s_ProgramFolder, Settings.i_Aspect, Settings.i_VideoStandard);
    p.b_TitleMenuVob = HasTitleMenuVob(Settings.b_TitleMenu, Settings.s_TempFolder);
    p.s_TitleMenuVob = Settings.s_TempFolder + "Title.vob";
    p.b_TitleMusic = !s_BackgroundMusicFile.empty() && FileExists(s_BackgroundMusicFile);
    p.b_BackButton = Settings.b_BackButton;
    for (size_t i = 0; i < ClipInfo.size(); ++i) {
        const TClipInfo& clip = *ClipInfo[i];
        TAuthorClip c;
        c.s_VobFile = clip.s_VobFile;
        c.i_TrimStart = clip.i_TrimStart;
        c.i_LengthSec = ClipVobSeconds(clip);
        c.b_TitleButton = clip.TitleButton != nullptr;
        c.b_ChapterMenu = clip.ChapterMenu != nullptr;
        c.s_ChapterMenuVob = Settings.s_TempFolder + "Chapter_" + std::to_string(i) + ".vob";
        c.b_ChapterMenuVob = c.b_ChapterMenu && FileExists(c.s_ChapterMenuVob);
        if (clip.ChapterMenu != nullptr) {
            const String& music = clip.ChapterMenu->s_BackgroundMusicFile;
            c.b_ChapterMusic = !music.empty() && FileExists(music);
            for (int j = 0; const TSubButtonImage* button = clip.ChapterMenu->GetButton(j); ++j) {
                c.ChapterTimes.push_back(button->i_ChapterTime);
            }
        }
        c.b_Subtitle = std::find(Settings.SubtitledVobs.begin(), Settings.SubtitledVobs.end(), clip.s_VobFile) !=
                       Settings.SubtitledVobs.end();
        c.s_SubtitleLang = Language::GetRegionLanguageCode(clip.i_SubtitleLanguageIndex);
        p.Clips.push_back(c);
    }
    return p;
}
