// The clip list editor's row and subtitle-icon controls (unit SetupClip_Window): the views of a
// clip in that window, made and owned by the clip record.
#pragma once

#include <array>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Messages.h"

class TClipInfo;

// A clip's row: skin background, 80 x 60 thumbnail and four text lines.
class TSetupImage : public TImage {
    VCL_CLASS(TSetupImage)
    TSetupImage(TComponent* AOwner, TClipInfo* AClip);
    ~TSetupImage() override;

    TWndMethod OldWindowProc;
    bool b_Selected = false;
    bool b_Hover = false;
    TClipInfo* Clip = nullptr;  // not owned

    void RowWndProc(TMessage& Message);
    void DrawBack(bool Hover);
    void SetSelected(bool Selected);
    void Select(bool Selected) { SetSelected(Selected); }
    void DrawThumbnail(TBitmap* Bitmap);
    void SetLine1(const String& Text) { SetLine(0, Text); }
    void SetLine2(const String& Text) { SetLine(1, Text); }
    void SetLine3(const String& Text) { SetLine(2, Text); }
    void SetLine4(const String& Text) { SetLine(3, Text); }
    // What line Index (0..3) last showed; empty for another index.
    String GetLine(int Index) const;

private:
    void SetLine(int Index, const String& Text);
    std::array<String, 4> m_lines;
};

// A clip's subtitle icon beside its row.
class TSrtImage : public TImage {
    VCL_CLASS(TSrtImage)
    TSrtImage(TComponent* AOwner, TClipInfo* AClip);
    ~TSrtImage() override;

    TClipInfo* Clip = nullptr;  // not owned

    using TImage::SetEnabled;
    void SetEnabled();
    void SetDisabled();
};
