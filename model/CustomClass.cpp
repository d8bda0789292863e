#include "model/CustomClass.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Language.h"
#include "core/Pubfunction.h"
#include "model/SetupClip_WindowRows.h"
#include "model/MenuObjects.h"
#include "platform/vcl/SysUtils.h"

namespace {

constexpr int MaxPictureWidth = 720;
constexpr int MaxPictureHeight = 576;
constexpr int MaxThumbWidth = 296;
constexpr int MaxThumbHeight = 220;

bool UsableRatio(double r) { return std::isfinite(r) && r > 0; }

int RaiseToMultipleOf4(int n) {
    int r = n % 4;
    return r == 0 ? n : n + 4 - r;
}

}  // namespace

int TruncOr(double Value, int Fallback) {
    if (!std::isfinite(Value)) return Fallback;
    double t = std::trunc(Value);
    if (t < std::numeric_limits<int>::min() || t > std::numeric_limits<int>::max()) return Fallback;
    return static_cast<int>(t);
}

double AspectRatioOfCode(int Code, int Width, int Height) {
    switch (Code) {
        case 1: return 1.0;
        case 2: return 4.0 / 3.0;
        case 3: return 16.0 / 9.0;
        case 4: return 2.21;
        default: return static_cast<double>(Width) / static_cast<double>(Height);
    }
}

TClipInfo::TClipInfo()
    : i_SubtitleFontSize(i_FontSize), s_SubtitleFontName("Tahoma"),
      i_SubtitleLanguageIndex(i_SubTitleLanguageCodeIndex) {
    SrtIcon = new TSrtImage(nullptr, this);
    SrtIcon->SetDisabled();
}

TClipInfo::~TClipInfo() {
    delete Picture;
    delete Thumbnail;
    delete ListRow;
    delete MenuTile;
    delete TitleButton;
    delete SrtIcon;
    delete ChapterMenu;
}

TSetupImage* TClipInfo::EnsureListRow() {
    if (ListRow == nullptr) ListRow = new TSetupImage(nullptr, this);
    return ListRow;
}

void TClipInfo::SetFileName(const String& Name) {
    s_FileName = Name;
    EnsureListRow()->SetLine1(Language::GetMessageText(Language::kMsgClipName) + ExtractFileName(Name));
}

void TClipInfo::SetMediaInfo(int Duration, float FrameRate, float VideoBitrate, int Width, int Height,
                             int AspectCode, int AudioSampleRate, int Word7, float AudioBitrate, int Flag) {
    i_Duration = Duration;
    f_FrameRate = FrameRate;
    f_VideoBitrate = VideoBitrate;
    i_Width = Width;
    i_Height = Height;
    i_AspectCode = AspectCode;
    i_AudioSampleRate = AudioSampleRate;
    i_InfoWord7 = Word7;
    f_AudioBitrate = AudioBitrate;
    i_InfoFlag = Flag;
    i_SourceHeight = Height;
    UpdateDisplaySize();

    i_TrimStart = 0;
    i_TrimEnd = i_Duration;
    b_AddLetterBox = true;
    s_SubtitleFile = "";

    TSetupImage* row = EnsureListRow();
    row->SetLine2(Language::GetMessageText(Language::kMsgVideoSize) + IntToStr(i_Width) + ":" + IntToStr(i_Height) +
                  Language::GetMessageText(Language::kMsgVideoBitrate) + FormatFloat("0.00", f_VideoBitrate) +
                  Language::GetMessageText(Language::kMsgFrameRate) + FormatFloat("0.00", f_FrameRate));
    row->SetLine3(Language::GetMessageText(Language::kMsgAudioBitrate) + FormatFloat("0.00", f_AudioBitrate) +
                  Language::GetMessageText(Language::kMsgSampleRate) + IntToStr(i_AudioSampleRate));
    SetTrim(i_TrimStart, i_TrimEnd);
}

// Display size and ratio from the stored media information. A zero or negative size keeps the
// frame's own height and a ratio of 1.0, so later divisions stay finite.
void TClipInfo::UpdateDisplaySize() {
    i_DisplayWidth = i_Width;
    i_DisplayHeight = i_Height;
    b_StretchToDisplay = (i_InfoFlag == 0);
    // Code 0 is the frame's own ratio: the height is the frame's, without a lossy round trip.
    bool ownRatio = i_AspectCode < 1 || i_AspectCode > 4;
    if (b_StretchToDisplay && !ownRatio) {
        double ratio = AspectRatioOfCode(i_AspectCode, i_Width, i_Height);
        if (UsableRatio(ratio)) i_DisplayHeight = TruncOr(i_Width / ratio, i_Height);
    }
    double r = static_cast<double>(i_DisplayWidth) / static_cast<double>(i_DisplayHeight);
    d_AspectRatio = UsableRatio(r) ? r : 1.0;
}

void TClipInfo::SetSubtitleFile(const String& Path) {
    s_SubtitleFile = Path;
    EnsureListRow();
    if (!Path.empty() && FileExists(Path)) {
        SrtIcon->SetEnabled();
    } else {
        SrtIcon->SetDisabled();
        b_SubtitleEnabled = true;
    }
}

void TClipInfo::SetTrim(int Start, int End) {
    i_TrimStart = Start;
    i_TrimEnd = End;
    EnsureListRow()->SetLine4(Language::GetMessageText(Language::kMsgStartTime) + Pubfunction::SecondsToHMS(Start) +
                              Language::GetMessageText(Language::kMsgEndTime) + Pubfunction::SecondsToHMS(End));
}

void TClipInfo::SetPicture(TBitmap* Frame) {
    if (Frame == nullptr) return;
    if (Picture == nullptr) Picture = new TBitmap();
    if (b_StretchToDisplay)
        Pubfunction::StretchBitmap(Picture, Frame, i_DisplayWidth, i_DisplayHeight, false);
    else
        Picture->Assign(Frame);
    CapPicture(Frame);
    UpdateThumbSize();
    Pubfunction::StretchBitmap(Frame, Picture, i_ThumbWidth, i_ThumbHeight, false);
    SetMenuThumbnail(Frame);
    if (ListRow != nullptr) RefreshListRow();
    if (MenuTile != nullptr) RefreshMenuImage();
    if (TitleButton != nullptr) RefreshTitleButton();
}

// Pictures larger than a DVD frame are scaled down, ratio kept, from the original frame.
void TClipInfo::CapPicture(TBitmap* Frame) {
    int w = Picture->GetWidth();
    int h = Picture->GetHeight();
    if (w <= MaxPictureWidth && h <= MaxPictureHeight) return;
    double rW = static_cast<double>(MaxPictureWidth) / w;
    double rH = static_cast<double>(MaxPictureHeight) / h;
    if (rW >= rH)
        Pubfunction::StretchBitmap(Picture, Frame, TruncOr(w * rH, MaxPictureWidth), MaxPictureHeight, false);
    else
        Pubfunction::StretchBitmap(Picture, Frame, MaxPictureWidth, TruncOr(h * rW, MaxPictureHeight), false);
}

void TClipInfo::UpdateThumbSize() {
    double r = UsableRatio(d_AspectRatio) ? d_AspectRatio : 1.0;
    i_ThumbWidth = MaxThumbWidth;
    i_ThumbHeight = MaxThumbHeight;
    // A size of at least 4 keeps a very narrow or very wide clip's thumbnail a real picture.
    if (static_cast<double>(MaxThumbWidth) / MaxThumbHeight > r)
        i_ThumbWidth = std::clamp(RaiseToMultipleOf4(TruncOr(MaxThumbHeight * r, MaxThumbWidth)), 4, MaxThumbWidth);
    else
        i_ThumbHeight = std::clamp(RaiseToMultipleOf4(TruncOr(MaxThumbWidth / r, MaxThumbHeight)), 4, MaxThumbHeight);
}

void TClipInfo::SetMenuThumbnail(TBitmap* Bitmap) {
    if (Bitmap == nullptr) return;
    if (Thumbnail == nullptr) Thumbnail = new TJPEGImage();
    Thumbnail->Assign(Bitmap);
}

void TClipInfo::GetThumbSize(int* Width, int* Height) const {
    if (Width != nullptr) *Width = i_ThumbWidth;
    if (Height != nullptr) *Height = i_ThumbHeight;
}

TBitmap* TClipInfo::SmallCopy() const {
    TBitmap* copy = nullptr;
    Pubfunction::StretchBitmap(copy, Picture, 80, 60, true);
    return copy;
}

void TClipInfo::RefreshListRow() {
    if (Picture == nullptr) return;
    TBitmap* copy = SmallCopy();
    EnsureListRow()->DrawThumbnail(copy);
    delete copy;
}

void TClipInfo::RefreshMenuImage() {
    if (Picture == nullptr) return;
    if (MenuTile == nullptr) MenuTile = new TMenuImage(nullptr, this);
    TBitmap* copy = SmallCopy();
    MenuTile->DrawThumbnail(copy);
    delete copy;
}

void TClipInfo::RefreshTitleButton() {
    if (Picture == nullptr) return;
    if (TitleButton == nullptr) TitleButton = new TButtonImage(nullptr, this);
    TitleButton->SetPicture(Picture, 0, 0);
    TitleButton->SetLockRatio(Picture, TitleButton->b_LockRatio);
}

int RemoveClipFromList(std::vector<TClipInfo*>& List, TClipInfo* Clip, bool DeleteClip) {
    for (size_t i = 0; i < List.size(); ++i) {
        if (List[i] != Clip) continue;
        List.erase(List.begin() + static_cast<std::ptrdiff_t>(i));
        if (DeleteClip) delete Clip;
        return static_cast<int>(i);
    }
    return -1;
}

namespace Pubfunction {

void ClearClipInfo() {
    // Emptied first, so that no view deleted with its clip finds a dangling entry.
    std::vector<TClipInfo*> clips;
    clips.swap(ClipInfo);
    for (TClipInfo* clip : clips) delete clip;
    s_BackgroundMusicFile = "";
}

}  // namespace Pubfunction
