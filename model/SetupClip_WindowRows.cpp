#include "model/SetupClip_WindowRows.h"

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "model/MenuObjects.h"

namespace {

constexpr TColor SkinKeyColour = static_cast<TColor>(0x797571);
constexpr int LineTops[4] = {12, 26, 38, 50};

}  // namespace

TSetupImage::TSetupImage(TComponent* AOwner, TClipInfo* AClip) : TImage(AOwner), Clip(AClip) {
    OldWindowProc = WindowProc;
    WindowProc = [this](TMessage& m) { RowWndProc(m); };
    SetBounds(GetLeft(), GetTop(), 409, 77);
    TCanvas* c = GetCanvas();
    SetTransparent(true);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(SkinKeyColour);
    c->GetPen()->SetColor(SkinKeyColour);
    c->FillRect(Rect(0, 0, 409, 77));
    c->GetFont()->SetName("Tahoma");
    c->GetFont()->SetSize(8);
    c->GetFont()->SetColor(clBlack);
    DrawBack(false);
}

TSetupImage::~TSetupImage() {
    WindowProc = OldWindowProc;
    // A parent may free the row before its clip: the clip must not free it again.
    if (Clip != nullptr && Clip->ListRow == this) Clip->ListRow = nullptr;
}

void TSetupImage::RowWndProc(TMessage& Message) {
    if (Message.Msg == CM_MOUSEENTER) DrawBack(true);
    else if (Message.Msg == CM_MOUSELEAVE) DrawBack(false);
    if (OldWindowProc) OldWindowProc(Message);
}

void TSetupImage::DrawBack(bool Hover) {
    b_Hover = Hover;
    TBitmap* skin = b_Selected ? (Hover ? SetupClipSelectBmpOn : SetupClipSelectBmp)
                               : (Hover ? SetupClipUnSelectBmpOn : SetupClipUnSelectBmp);
    DrawSkinBitmap(GetCanvas(), 0, 0, skin);
}

void TSetupImage::SetSelected(bool Selected) {
    b_Selected = Selected;
    DrawBack(b_Hover);
}

void TSetupImage::DrawThumbnail(TBitmap* Bitmap) {
    if (Bitmap != nullptr) GetCanvas()->Draw(10, 7, Bitmap);
}

void TSetupImage::SetLine(int Index, const String& Text) {
    m_lines[static_cast<size_t>(Index)] = Text;
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(SkinKeyColour);
    int y = LineTops[Index];
    c->TextRect(Rect(112, y, 392, y + 14), 112, y, Text);
}

String TSetupImage::GetLine(int Index) const {
    if (Index < 0 || Index > 3) return "";
    return m_lines[static_cast<size_t>(Index)];
}

TSrtImage::TSrtImage(TComponent* AOwner, TClipInfo* AClip) : TImage(AOwner), Clip(AClip) {
    SetBounds(GetLeft(), GetTop(), 25, 73);
}

TSrtImage::~TSrtImage() {
    if (Clip != nullptr && Clip->SrtIcon == this) Clip->SrtIcon = nullptr;
}

void TSrtImage::SetEnabled() { GetPicture()->SetBitmap(SrtEnabledBmp); }

void TSrtImage::SetDisabled() { GetPicture()->SetBitmap(SrtDisabledBmp); }
