// The clip record: one source clip of the project with its media information, used range,
// pictures, subtitle settings and the views that show it. `ClipInfo` (Pubfunction.h) owns them.
#pragma once

#include <vector>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Jpeg.h"

class TSetupImage;
class TSrtImage;
class TMenuImage;
class TButtonImage;
class TSubChapter;

class TClipInfo {
public:
    TClipInfo();
    ~TClipInfo();
    TClipInfo(const TClipInfo&) = delete;
    TClipInfo& operator=(const TClipInfo&) = delete;

    TBitmap* Picture = nullptr;        // at display size, at most 720 x 576
    TJPEGImage* Thumbnail = nullptr;   // the picture at thumbnail size
    int i_Duration = 0;                // seconds
    float f_FrameRate = 0;
    float f_VideoBitrate = 0;
    int i_Width = 0;
    int i_Height = 0;
    int i_AspectCode = 0;
    int i_AudioSampleRate = 0;
    int i_InfoWord7 = 0;
    float f_AudioBitrate = 0;
    int i_InfoFlag = 0;
    String s_FileName;
    String s_SubtitleFile;
    int i_TrimStart = 0;  // seconds
    int i_TrimEnd = 0;    // seconds; the clip's end time everywhere
    bool b_AddLetterBox = false;
    bool b_SubtitleEnabled = true;
    int i_ThumbWidth = 0;
    int i_ThumbHeight = 0;
    TSetupImage* ListRow = nullptr;
    TMenuImage* MenuTile = nullptr;
    TButtonImage* TitleButton = nullptr;
    TSrtImage* SrtIcon = nullptr;
    TSubChapter* ChapterMenu = nullptr;
    int i_DisplayWidth = 0;
    int i_DisplayHeight = 0;
    double d_AspectRatio = 1.0;
    bool b_StretchToDisplay = false;
    int i_SubtitleFontSize = 0;
    String s_SubtitleFontName;
    int i_SubtitleLanguageIndex = 0;
    String s_VobFile;
    int i_VobSizeKB = 0;
    int i_SourceHeight = 0;

    void SetFileName(const String& Name);
    // The ten words of the media information record, in record order.
    void SetMediaInfo(int Duration, float FrameRate, float VideoBitrate, int Width, int Height, int AspectCode,
                      int AudioSampleRate, int Word7, float AudioBitrate, int Flag);
    void SetSubtitleFile(const String& Path);
    void SetTrim(int Start, int End);
    // Makes the picture and thumbnail from Frame; Frame then holds the thumbnail-size picture.
    void SetPicture(TBitmap* Frame);
    void SetMenuThumbnail(TBitmap* Bitmap);
    void GetThumbSize(int* Width, int* Height) const;
    void RefreshListRow();
    void RefreshMenuImage();
    void RefreshTitleButton();

private:
    TSetupImage* EnsureListRow();
    void UpdateDisplaySize();
    void CapPicture(TBitmap* Frame);
    void UpdateThumbSize();
    // An 80 x 60 copy of the picture, ratio kept; the caller deletes it.
    TBitmap* SmallCopy() const;
};

// trunc(Value) as an int, or Fallback when it has none (infinite, not a number, out of range):
// media information is never checked, so a zero size must not lead to undefined behaviour.
int TruncOr(double Value, int Fallback);

// The width / height ratio of aspect code Code for a Width x Height frame; codes outside the
// table read as code 0.
double AspectRatioOfCode(int Code, int Width, int Height);

// The clip's index in List (first match), or -1 when it is not there (List unchanged). When found
// the entry is removed, and the clip deleted when DeleteClip is set.
int RemoveClipFromList(std::vector<TClipInfo*>& List, TClipInfo* Clip, bool DeleteClip);
