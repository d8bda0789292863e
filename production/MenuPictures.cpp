#include "production/MenuPictures.h"

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"
#include "platform/vcl/Jpeg.h"
#include "platform/vcl/PngWriter.h"
#include "platform/vcl/SysUtils.h"

#include <memory>

namespace {

constexpr int kFrameWidth = 720;
constexpr int kButtonInset = 8;
constexpr int kFrameLineWidth = 2;
constexpr double kLabelScale = 1.4;

// A BMP of the program folder, or null when it is missing or unreadable.
TBitmap* LoadBmp(const String& FileName) {
    if (!FileExists(FileName)) return nullptr;
    auto bitmap = std::make_unique<TBitmap>();
    try {
        bitmap->LoadFromFile(FileName);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (bitmap->GetEmpty()) return nullptr;
    return bitmap.release();
}

// The background file as a bitmap; raises when it cannot be decoded.
std::unique_ptr<TBitmap> DecodeBackground(const String& FileName) {
    auto bitmap = std::make_unique<TBitmap>();
    if (UpperCase(ExtractFileExt(FileName)) == ".JPG") {
        TJPEGImage jpeg;
        jpeg.LoadFromFile(FileName);
        bitmap->Assign(&jpeg);
    } else {
        bitmap->LoadFromFile(FileName);
    }
    return bitmap;
}

// A thumbnail fitted at its button's square-pixel size, as the designer shows it, with its rows
// then scaled to the frame rectangle's: the player's display aspect gives the picture back the
// shape it has in the designer. Takes Fitted over; null stays null.
TBitmap* ToFrameRows(TBitmap* Fitted, const TRect& FrameRect) {
    if (Fitted == nullptr || Fitted->GetHeight() == FrameRect.Height()) return Fitted;
    std::unique_ptr<TBitmap> fitted(Fitted);
    TBitmap* rows = nullptr;
    Pubfunction::StretchBitmap(rows, fitted.get(), FrameRect.Width(), FrameRect.Height(), false);
    return rows;
}

}  // namespace

int ScaleToFrame(int Value) { return static_cast<int>(Value * MenuScale); }

int ScaleRow(int Value, const TMenuFrame& Frame) {
    if (Frame.i_SquareHeight == 0) return 0;
    return static_cast<int>(static_cast<long long>(Value) * Frame.i_FrameHeight / Frame.i_SquareHeight);
}

TRect GetButtonRect(const TControl* Control) {
    if (Control == nullptr) return TRect(0, 0, 0, 0);
    const TRect b = Control->GetBoundsRect();
    return TRect(ScaleToFrame(b.Left + kButtonInset), ScaleToFrame(b.Top + kButtonInset),
                 ScaleToFrame(b.Right - kButtonInset), ScaleToFrame(b.Bottom - kButtonInset));
}

TRect GetButtonFrameRect(const TControl* Control, const TMenuFrame& Frame) {
    TRect r = GetButtonRect(Control);
    r.Top = ScaleRow(r.Top, Frame);
    r.Bottom = ScaleRow(r.Bottom, Frame);
    return r;
}

TRect GetTextRect(const TControl* Label, const TMenuFrame& Frame) {
    if (Label == nullptr) return TRect(0, 0, 0, 0);
    const TRect b = Label->GetBoundsRect();
    return TRect(ScaleToFrame(b.Left), ScaleRow(ScaleToFrame(b.Top), Frame), ScaleToFrame(b.Right),
                 ScaleRow(ScaleToFrame(b.Bottom), Frame));
}

TPoint GetBackButtonPos(int BackX, int BackY, const TMenuFrame& Frame) {
    return TPoint(ScaleToFrame(BackX), ScaleRow(ScaleToFrame(BackY), Frame));
}

int MenuLabelSize(int EditorSize) { return static_cast<int>(EditorSize * kLabelScale); }

TMenuFrame MenuFrameFor(int Aspect, int VideoStandard) {
    return TMenuFrame{VideoStandard == 1 ? 480 : 576, Aspect == 2 ? 404 : 540};
}

void DrawMenuBackground(TBitmap* Picture, const String& FileName) {
    if (Picture == nullptr) return;
    const int w = Picture->GetWidth();
    const int h = Picture->GetHeight();
    if (FileName.empty() || !FileExists(FileName)) {
        TCanvas* canvas = Picture->GetCanvas();
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(clBlack);
        canvas->FillRect(TRect(0, 0, w, h));
        return;
    }
    try {
        std::unique_ptr<TBitmap> loaded = DecodeBackground(FileName);
        if (loaded->GetEmpty()) return;
        if (loaded->GetWidth() == w && loaded->GetHeight() == h) {
            Picture->Assign(loaded.get());
        } else {
            TBitmap* target = Picture;
            Pubfunction::ResizeBitmap(target, loaded.get(), w, h, false);
        }
        Picture->SetPixelFormat(pf24bit);
    } catch (const std::exception&) {
        // A file that is no picture leaves the menu as it was made.
    }
}

bool WriteMaskPng(TBitmap* Mask, const String& FileName) {
    if (Mask == nullptr) return false;
    const bool written = TrySaveBitmapToPng(*Mask, FileName);
    delete Mask;
    return written;
}

// ---- TMenuPictures -----------------------------------------------------------------------------

String TMenuPictures::CursorFile(TMenuMask Kind) const {
    return s_ProgramFolder + (Kind == TMenuMask::Highlight ? "RES/MouseOn.bmp" : "RES/MouseDown.bmp");
}

TBitmap* TMenuPictures::NewFrameBitmap() const { return new TBitmap(kFrameWidth, Frame.i_FrameHeight, pf24bit); }

void TMenuPictures::DrawLabel(TCanvas* Canvas, const TControl* Label) const {
    const TRect r = GetTextRect(Label, Frame);
    Canvas->GetBrush()->SetStyle(bsClear);
    TFont* font = Canvas->GetFont();
    font->SetName(Label->GetFont()->GetName());
    font->SetColor(Label->GetFont()->GetColor());
    font->SetSize(MenuLabelSize(Label->GetFont()->GetSize()));
    font->SetStyle(TFontStyles());
    Canvas->TextOut(r.Left, r.Top, Label->GetCaption());
}

void TMenuPictures::DrawThumbnail(TCanvas* Canvas, const TRect& Rect, TBitmap* Thumbnail) const {
    if (Thumbnail == nullptr) return;
    Canvas->Draw(Rect.Left, Rect.Top, Thumbnail);
    delete Thumbnail;
}

TBitmap* TMenuPictures::DrawTitleMenuImage() {
    TBitmap* picture = NewFrameBitmap();
    DrawMenuBackground(picture, s_BackgroundSrcFile);
    TCanvas* canvas = picture->GetCanvas();
    for (TLabel* label : TitleMenuLabel) DrawLabel(canvas, label);
    for (TClipInfo* clip : ClipInfo) {
        if (clip->TitleButton == nullptr) continue;
        const TRect r = GetButtonFrameRect(clip->TitleButton, Frame);
        const TRect square = GetButtonRect(clip->TitleButton);
        DrawThumbnail(canvas, r, ToFrameRows(clip->TitleButton->GetScaledPicture(square.Width(), square.Height()), r));
    }
    if (b_RootMenuVob) DrawBackButton(picture);
    return picture;
}

TBitmap* TMenuPictures::DrawChapterMenuImage(TSubChapter* Menu) {
    if (Menu == nullptr) return nullptr;
    TBitmap* picture = NewFrameBitmap();
    DrawMenuBackground(picture, Menu->s_BackgroundSrcFile);
    TCanvas* canvas = picture->GetCanvas();
    for (int i = 0; TLabel* label = Menu->GetLabel(i); ++i) DrawLabel(canvas, label);
    for (int i = 0; TSubButtonImage* button = Menu->GetButton(i); ++i) {
        const TRect r = GetButtonFrameRect(button, Frame);
        const TRect square = GetButtonRect(button);
        DrawThumbnail(canvas, r, ToFrameRows(button->GetScaledPicture(square.Width(), square.Height()), r));
    }
    DrawBackButton(picture);
    return picture;
}

TBitmap* TMenuPictures::NewMask(TMenuMask Kind, TBitmap*& Cursor) const {
    TBitmap* mask = NewFrameBitmap();
    TCanvas* canvas = mask->GetCanvas();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(MaskKeyColour);
    canvas->FillRect(TRect(0, 0, mask->GetWidth(), mask->GetHeight()));
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetWidth(kFrameLineWidth);
    canvas->GetPen()->SetColor(Kind == TMenuMask::Highlight ? HighlightFrameColour : SelectFrameColour);
    // Without its cursor picture a mask still shows every button's frame.
    Cursor = LoadBmp(CursorFile(Kind));
    return mask;
}

void TMenuPictures::DrawMaskButton(TBitmap* Mask, const TRect& Rect, TBitmap* Cursor) const {
    TCanvas* canvas = Mask->GetCanvas();
    canvas->Rectangle(Rect);
    if (Cursor == nullptr) return;
    const int cx = Rect.Left + (Rect.Right - Rect.Left) / 2;
    const int cy = Rect.Top + (Rect.Bottom - Rect.Top) / 2;
    canvas->Draw(cx - Cursor->GetWidth() / 2, cy - Cursor->GetHeight() / 2, Cursor);
}

TBitmap* TMenuPictures::DrawTitleMenuMask(TMenuMask Kind) {
    TBitmap* cursor = nullptr;
    TBitmap* mask = NewMask(Kind, cursor);
    for (TClipInfo* clip : ClipInfo) {
        if (clip->TitleButton != nullptr) DrawMaskButton(mask, GetButtonFrameRect(clip->TitleButton, Frame), cursor);
    }
    delete cursor;
    if (b_RootMenuVob) DrawBackButtonMask(mask, Kind);
    return mask;
}

TBitmap* TMenuPictures::DrawChapterMenuMask(TSubChapter* Menu, TMenuMask Kind) {
    if (Menu == nullptr) return nullptr;
    TBitmap* cursor = nullptr;
    TBitmap* mask = NewMask(Kind, cursor);
    for (int i = 0; TSubButtonImage* button = Menu->GetButton(i); ++i) {
        DrawMaskButton(mask, GetButtonFrameRect(button, Frame), cursor);
    }
    delete cursor;
    DrawBackButtonMask(mask, Kind);
    return mask;
}

bool TMenuPictures::HasBackButton() const {
    return b_BackButtonUsable && FileExists(BackPictureFile()) && FileExists(BackShapeFile());
}

void TMenuPictures::DrawBackButton(TBitmap* Picture) {
    if (Picture == nullptr || !HasBackButton()) return;
    std::unique_ptr<TBitmap> back(LoadBmp(BackPictureFile()));
    if (!back) {
        b_BackButtonUsable = false;
        return;
    }
    back->SetPixelFormat(pf24bit);
    const TPoint at = GetBackButtonPos(i_BackX, i_BackY, Frame);
    Picture->GetCanvas()->Draw(at.x, at.y, back.get());
}

void TMenuPictures::DrawBackButtonMask(TBitmap* Mask, TMenuMask Kind) {
    if (Mask == nullptr || !HasBackButton()) return;
    std::unique_ptr<TBitmap> shape(LoadBmp(BackShapeFile()));
    if (!shape) {
        b_BackButtonUsable = false;
        return;
    }
    const TPoint at = GetBackButtonPos(i_BackX, i_BackY, Frame);
    const TColor colour = Kind == TMenuMask::Highlight ? HighlightBackColour : SelectBackColour;
    const COLORREF key = shape->GetPixelColor(0, 0);
    TCanvas* canvas = Mask->GetCanvas();
    for (int py = 0; py < shape->GetHeight(); ++py) {
        for (int px = 0; px < shape->GetWidth(); ++px) {
            if (shape->GetPixelColor(px, py) != key) canvas->SetPixels(at.x + px, at.y + py, colour);
        }
    }
}
