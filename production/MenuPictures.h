// The three pictures of a DVD menu: what the viewer sees, and the highlight and select masks
// from which spumux makes the button highlights. Sizes and places come from the designer's
// preview, which is 1.39 times smaller than a square-pixel 720-wide frame.
//
//   TMenuPictures pictures;            // fill the frame, back position and program folder
//   TBitmap* menu = pictures.DrawTitleMenuImage();
//   TBitmap* on = pictures.DrawTitleMenuMask(TMenuMask::Highlight);
//   WriteMaskPng(on, path);            // frees the mask
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

class TSubChapter;

// The preview-to-frame factor, a double as the designer uses it.
constexpr double MenuScale = 1.39;

constexpr TColor MaskKeyColour = static_cast<TColor>(0x010101);
constexpr TColor HighlightFrameColour = static_cast<TColor>(0xF0FBFF);
constexpr TColor SelectFrameColour = static_cast<TColor>(0xFF0000);
constexpr TColor HighlightBackColour = static_cast<TColor>(0x00C0FF);
constexpr TColor SelectBackColour = static_cast<TColor>(0xFF0000);

enum class TMenuMask { Highlight, Select };

// Frame rows per square-pixel rows: 576 or 480 over 540 (4:3) or 404 (16:9).
struct TMenuFrame {
    int i_FrameHeight = 576;
    int i_SquareHeight = 540;
};

// trunc(Value x 1.39).
int ScaleToFrame(int Value);
// trunc(Value x FrameHeight / SquareHeight).
int ScaleRow(int Value, const TMenuFrame& Frame);
// A button's editor bounds inset by 8 and scaled by 1.39; zeros for null.
TRect GetButtonRect(const TControl* Control);
// GetButtonRect with its rows scaled to the frame: the button in frame pixels.
TRect GetButtonFrameRect(const TControl* Control, const TMenuFrame& Frame);
// A label's bounds in frame pixels (no inset); zeros for null.
TRect GetTextRect(const TControl* Label, const TMenuFrame& Frame);
// The back button's top-left corner in frame pixels.
TPoint GetBackButtonPos(int BackX, int BackY, const TMenuFrame& Frame);
// The size a label's font is drawn at on the frame.
int MenuLabelSize(int EditorSize);
// The frame height and square height for the aspect (1 4:3, 2 16:9) and standard (1 NTSC, 2 PAL).
TMenuFrame MenuFrameFor(int Aspect, int VideoStandard);

// Loads a background into Picture: a missing file (or empty name) gives black; a picture that
// cannot be read leaves Picture as it was; another size is resampled to Picture's.
void DrawMenuBackground(TBitmap* Picture, const String& FileName);

// Writes the mask as an 8-bit RGB PNG without a transparency chunk and frees it. False when the
// file could not be written (no partial file) or the mask is null.
bool WriteMaskPng(TBitmap* Mask, const String& FileName);

class TMenuPictures {
public:
    String s_ProgramFolder;      // with a trailing '/'; holds RES/
    TMenuFrame Frame;
    int i_BackX = 0;             // editor coordinates of the back button of the menu being made
    int i_BackY = 0;
    bool b_BackButtonUsable = true;
    bool b_RootMenuVob = false;  // HasRootMenuVob() of the window: the title menu leads back to it

    // New pictures owned by the caller; the chapter ones give null for a null menu.
    TBitmap* DrawTitleMenuImage();
    TBitmap* DrawChapterMenuImage(TSubChapter* Menu);
    TBitmap* DrawTitleMenuMask(TMenuMask Mask);
    TBitmap* DrawChapterMenuMask(TSubChapter* Menu, TMenuMask Mask);

    // Back-button pictures present and not found unreadable during this run.
    bool HasBackButton() const;
    void DrawBackButton(TBitmap* Picture);
    void DrawBackButtonMask(TBitmap* Mask, TMenuMask Kind);

    String BackPictureFile() const { return s_ProgramFolder + "RES/BackBmp.bmp"; }
    String BackShapeFile() const { return s_ProgramFolder + "RES/BackPng.bmp"; }
    String CursorFile(TMenuMask Kind) const;

private:
    TBitmap* NewFrameBitmap() const;
    void DrawLabel(TCanvas* Canvas, const TControl* Label) const;
    void DrawThumbnail(TCanvas* Canvas, const TRect& Rect, TBitmap* Thumbnail) const;
    TBitmap* NewMask(TMenuMask Kind, TBitmap*& Cursor) const;
    void DrawMaskButton(TBitmap* Mask, const TRect& Rect, TBitmap* Cursor) const;
};
