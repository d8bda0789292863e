// A Builder run through the window: clips with subtitles, a title menu and a chapter menu per
// clip. Every log line is stamped as it appears; the time spent in spumux_main and author_main
// (from their step's line to the next) is printed as a share of the time spent in the clip and
// menu encodes.
//   author_share_bench OUTPUT_FOLDER SUBTITLES.srt CLIP...
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/MediaLibrary.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Widgets.h"
#include "productionwindows/Builder_Window.h"

namespace {

using TClock = std::chrono::steady_clock;

struct TStamped {
    String Line;
    double At;
};

void AddClip(const char* Path, const char* Subtitles) {
    TMediaInfoRecord record;
    auto library = TMediaLibrary::Load(TMediaEntries::Information);
    auto* clip = new TClipInfo();
    clip->s_FileName = Path;
    if (library && library->GetFileInfo(Path, record) == 0) {
        clip->i_Duration = record.Words[0];
        clip->i_DisplayWidth = record.Width();
        clip->i_DisplayHeight = record.Height();
        clip->d_AspectRatio = record.Height() > 0 ? static_cast<double>(record.Width()) / record.Height() : 1.0;
    }
    clip->i_TrimEnd = clip->i_Duration;
    clip->i_SourceHeight = 1080;
    clip->s_SubtitleFile = Subtitles;
    clip->i_SubtitleFontSize = 24;
    clip->Picture = new TBitmap(160, 90, pf24bit);
    const int n = static_cast<int>(ClipInfo.size());
    clip->TitleButton = new TButtonImage(nullptr, clip);
    clip->TitleButton->SetBounds(100 + 180 * n, 60, 120, 68);
    clip->ChapterMenu = new TSubChapter(clip);
    std::unique_ptr<TBitmap> frame(new TBitmap(80, 45, pf24bit));
    for (int j = 0; j < 3; ++j) {
        clip->ChapterMenu->AddButton(frame.get(), j * clip->i_Duration / 3);
        clip->ChapterMenu->GetButton(j)->SetBounds(40 + 150 * j, 100, 100, 56);
    }
    clip->ChapterMenu->i_BackX = 20;
    clip->ChapterMenu->i_BackY = 320;
    ClipInfo.push_back(clip);
}

bool StartsWith(const String& Text, const String& Head) { return Text.rfind(Head, 0) == 0; }
bool Contains(const String& Text, const String& Part) { return Text.find(Part) != String::npos; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: author_share_bench OUTPUT_FOLDER SUBTITLES.srt CLIP...\n");
        return 2;
    }
    Vcl_InitWidgets(argc, argv);
    Application->Initialize();
    g_s_OutputFolder = std::string(argv[1]) + "/";
    std::filesystem::create_directories(argv[1]);
    for (int i = 3; i < argc; ++i) AddClip(argv[i], argv[2]);
    auto* window = new TBuilderWindow(nullptr);
    window->i_Aspect = 1;
    window->b_TitleMenu = true;
    window->b_RootMenu = true;
    window->i_BackX = 20;
    window->i_BackY = 330;
    window->SetBuildMode();

    // The encodes and the workers keep the messages flowing: a fast timer stamps each new line.
    std::vector<TStamped> log;
    const auto start = TClock::now();
    auto stamp = [&] {
        TStrings* lines = window->Memo_Msg->GetLines();
        const double now = std::chrono::duration<double>(TClock::now() - start).count();
        while (static_cast<int>(log.size()) < lines->Count()) log.push_back({lines->Strings(static_cast<int>(log.size())), now});
    };
    TTimer watch(nullptr);
    watch.SetInterval(20);
    watch.OnTimer = [&](TObject*) { stamp(); };
    watch.SetEnabled(true);

    window->SetConvertParameters();
    window->EnterBusyState();
    const bool ok = window->ConvertClips() && window->MuxSubtitles() && window->CreateTitleMenu() &&
                    window->CreateChapterMenus() && window->AuthorDVD();
    if (ok) window->EnterIdleState(1);
    stamp();
    watch.SetEnabled(false);

    // Each line starts a phase that lasts until the next line.
    double encodes = 0, muxAndAuthor = 0;
    const String clipStart = Language::GetMessageText(78), subtitleMux = " <<<< ";
    for (std::size_t i = 0; i + 1 < log.size(); ++i) {
        const String& line = log[i].Line;
        const double span = log[i + 1].At - log[i].At;
        if (Contains(line, ">>>> OutputVOB_")) encodes += span;                              // a clip encode
        else if (line == Language::GetMessageText(80) || line == Language::GetMessageText(82)) encodes += span;
        else if (line == Language::GetMessageText(152)) encodes += span;                      // the encode with music
        else if (Contains(line, subtitleMux)) muxAndAuthor += span;                             // a subtitle mux
        else if (line == Language::GetMessageText(81) || line == Language::GetMessageText(83)) muxAndAuthor += span;
        else if (line == Language::GetMessageText(85) || line == Language::GetMessageText(115)) muxAndAuthor += span;
    }
    for (const TStamped& s : log) std::printf("%8.2f  %s\n", s.At, s.Line.c_str());
    std::printf("encodes: %.2f s\nspumux_main + author_main: %.2f s\nshare: %.2f %%%s\n", encodes, muxAndAuthor,
                encodes > 0 ? 100.0 * muxAndAuthor / encodes : 0.0, ok ? "" : " (the run failed)");
    delete window;
    Pubfunction::ClearClipInfo();
    return ok ? 0 : 1;
}
