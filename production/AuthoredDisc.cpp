#include "production/AuthoredDisc.h"

#include "production/AuthorXml.h"

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

#include <filesystem>
#include <memory>

namespace {

constexpr int kWideAspectCode = 3;  // the video attributes' display aspect for 16:9

struct DvdCloser {
    void operator()(dvd_reader_t* Dvd) const { DVDClose(Dvd); }
};
struct IfoCloser {
    void operator()(ifo_handle_t* Ifo) const { ifoClose(Ifo); }
};
using TDvd = std::unique_ptr<dvd_reader_t, DvdCloser>;
using TIfo = std::unique_ptr<ifo_handle_t, IfoCloser>;

bool Fail(String* Problem, const String& Text) {
    if (Problem != nullptr) *Problem = Text;
    return false;
}

}  // namespace

TExpectedDisc ExpectedDisc(const TAuthorProject& Project) {
    TExpectedDisc expected;
    expected.i_Aspect = Project.i_Aspect == 2 ? 2 : 1;
    for (const TAuthorClip& clip : Project.Clips) {
        expected.TitleChapters.push_back(
            clip.b_ChapterMenu ? TitleChapters(clip.ChapterTimes, clip.i_TrimStart, clip.i_LengthSec).i_ChapterCount : 1);
    }
    return expected;
}

bool ReadBackDvdFolder(const String& Folder, const TExpectedDisc& Expected, String* Problem) {
    TDvd dvd(DVDOpen(Folder.c_str()));
    if (!dvd) return Fail(Problem, "the folder does not open as a DVD");
    TIfo vmg(ifoOpen(dvd.get(), 0));
    if (!vmg || vmg->tt_srpt == nullptr) return Fail(Problem, "VIDEO_TS.IFO does not read");
    const tt_srpt_t* titles = vmg->tt_srpt;
    if (titles->nr_of_srpts != Expected.TitleChapters.size()) {
        return Fail(Problem, "titles: " + std::to_string(titles->nr_of_srpts) + ", expected " +
                                 std::to_string(Expected.TitleChapters.size()));
    }
    for (size_t i = 0; i < Expected.TitleChapters.size(); ++i) {
        const title_info_t& title = titles->title[i];
        if (title.nr_of_ptts != Expected.TitleChapters[i]) {
            return Fail(Problem, "title " + std::to_string(i + 1) + " chapters: " + std::to_string(title.nr_of_ptts) +
                                     ", expected " + std::to_string(Expected.TitleChapters[i]));
        }
        TIfo vts(ifoOpen(dvd.get(), title.title_set_nr));
        if (!vts || vts->vtsi_mat == nullptr) {
            return Fail(Problem, "title set " + std::to_string(title.title_set_nr) + " does not read");
        }
        const int aspect = vts->vtsi_mat->vts_video_attr.display_aspect_ratio == kWideAspectCode ? 2 : 1;
        if (aspect != Expected.i_Aspect) {
            return Fail(Problem, "title " + std::to_string(i + 1) + " aspect " + (aspect == 2 ? "16:9" : "4:3"));
        }
    }
    return true;
}

void DiscardAuthoredFolder(const String& Folder) {
    namespace fs = std::filesystem;
    if (Folder.empty()) return;
    std::error_code ec;
    for (const char* made : {"VIDEO_TS", "AUDIO_TS"}) {
        const fs::path part = fs::path(Folder) / made;
        if (fs::is_directory(fs::symlink_status(part, ec))) fs::remove_all(part, ec);
    }
    if (fs::is_directory(fs::symlink_status(Folder, ec)) && fs::is_empty(Folder, ec)) fs::remove(Folder, ec);
}

bool VerifyAuthoredFolder(const String& Folder, const TExpectedDisc& Expected, String* Problem) {
    if (ReadBackDvdFolder(Folder, Expected, Problem)) return true;
    DiscardAuthoredFolder(Folder);
    return false;
}

Int64 FolderSizeKB(const String& Folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::uintmax_t bytes = 0;
    for (auto it = fs::recursive_directory_iterator(Folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::error_code e2;
        if (it->is_regular_file(e2)) bytes += it->file_size(e2);
    }
    return static_cast<Int64>(bytes / 1024);
}
