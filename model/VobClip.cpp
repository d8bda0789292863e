#include "model/VobClip.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>

#include "model/CustomClass.h"
#include "core/Language.h"
#include "core/MediaLibrary.h"
#include "platform/vcl/Dialogs.h"

namespace {

// The media library refuses larger pictures; the picture arithmetic divides by both sides.
constexpr int kLargestSide = 8192;
constexpr int kNtscLines = 480;

// A file cut short may still show a picture, but it has no running time to author or to
// split into chapters.
bool UsableRecord(const TMediaInfoRecord& Record) {
    return Record.Words[0] >= 1 && Record.Width() >= 1 && Record.Width() <= kLargestSide && Record.Height() >= 1 &&
           Record.Height() <= kLargestSide;
}

float WordAsFloat(std::int32_t Word) {
    float f = 0;
    static_assert(sizeof f == sizeof Word);
    std::memcpy(&f, &Word, sizeof f);
    return f;
}

// The file's first picture; a picture the library can't hand out is black at the clip's size.
TBitmap* FirstPicture(TMediaLibrary& Library, const TMediaInfoRecord& Record, const TClipInfo& Clip) {
    TBitmap* frame = Library.GetFrame(Record.Width(), Record.Height(), "");
    if (frame != nullptr) return frame;
    return new TBitmap(std::max(Clip.i_DisplayWidth, 1), std::max(Clip.i_DisplayHeight, 1), pf24bit);
}

}  // namespace

bool StartsAsProgramStream(const String& Path) {
    std::ifstream in(Path, std::ios::binary);
    unsigned char head[4] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return false;
    return head[0] == 0x00 && head[1] == 0x00 && head[2] == 0x01 && head[3] == 0xBA;
}

TClipInfo* MakeVobClip(TMediaLibrary& Library, const String& Path, TVobPicture Picture) {
    if (!StartsAsProgramStream(Path)) return nullptr;
    TMediaInfoRecord record;
    if (Library.GetFileInfo(Path, record) == -1 || !UsableRecord(record)) return nullptr;
    auto clip = std::make_unique<TClipInfo>();
    clip->SetFileName(Path);
    clip->s_VobFile = Path;
    const auto& w = record.Words;
    clip->SetMediaInfo(w[0], WordAsFloat(w[1]), WordAsFloat(w[2]), w[3], w[4], w[5], w[6], w[7], WordAsFloat(w[8]), w[9]);
    clip->SetSubtitleFile("");
    if (Picture == TVobPicture::FirstPicture) {
        std::unique_ptr<TBitmap> frame(FirstPicture(Library, record, *clip));
        clip->SetPicture(frame.get());
    }
    return clip.release();
}

TClipInfo* MakeVobClip(const String& Path, TVobPicture Picture) {
    if (!StartsAsProgramStream(Path)) return nullptr;
    std::unique_ptr<TMediaLibrary> library = TMediaLibrary::Load(TMediaEntries::Information);
    if (!library) return nullptr;
    try {
        return MakeVobClip(*library, Path, Picture);
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool IsNtscClip(const TClipInfo* Clip) { return Clip->i_SourceHeight == kNtscLines; }

String MixedStandardsText(const std::vector<TClipInfo*>& Clips) {
    String ntsc;
    String pal;
    bool anyNtsc = false;
    bool anyPal = false;
    for (const TClipInfo* clip : Clips) {
        const bool isNtsc = IsNtscClip(clip);
        (isNtsc ? anyNtsc : anyPal) = true;
        (isNtsc ? ntsc : pal) += clip->s_VobFile + "\n";
    }
    if (!anyNtsc || !anyPal) return "";
    return Language::GetMessageText(Language::kMsgMixedStandardsNtsc) + ntsc +
           Language::GetMessageText(Language::kMsgMixedStandardsPal) + pal;
}

bool CheckVideoStandards(const std::vector<TClipInfo*>& Clips) {
    const String text = MixedStandardsText(Clips);
    if (text.empty()) return true;
    MessageDlg(text, mtInformation, TMsgDlgButtons{mbOK});
    return false;
}
