#include "model/MenuObjects.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/CustomClass.h"
#include "core/Pubfunction.h"
#include "platform/vcl/SysUtils.h"

namespace {

constexpr int ButtonMargin = 8;
constexpr TColor SelectedPen = static_cast<TColor>(0x0055FF);
constexpr TColor SelectedHoverPen = static_cast<TColor>(0xFF7500);
constexpr TColor HoverFramePen = static_cast<TColor>(0x00FF00);

void FillWithKeyColour(TCanvas* c, int Width, int Height) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(MenuKeyColour);
    c->FillRect(Rect(0, 0, Width, Height));
}

}  // namespace

void DrawSkinBitmap(TCanvas* Canvas, int X, int Y, TBitmap* Skin) {
    if (Skin == nullptr) return;
    if (Skin->GetTransparent()) {
        Canvas->Draw(X, Y, Skin);
        return;
    }
    TBitmap keyed;
    keyed.Assign(Skin);
    keyed.SetTransparentColor(MenuKeyColour);
    keyed.SetTransparent(true);
    Canvas->Draw(X, Y, &keyed);
}

// ---- TMenuImage --------------------------------------------------------------------------------

TMenuImage::TMenuImage(TComponent* AOwner, TClipInfo* AClip) : TImage(AOwner), Clip(AClip) {
    OldWindowProc = WindowProc;
    WindowProc = [this](TMessage& m) { TileWndProc(m); };
    SetBounds(GetLeft(), GetTop(), 92, 72);
    FillWithKeyColour(GetCanvas(), 92, 72);
    SetTransparent(true);
    SetShowHint(true);
    DrawBack(false);
}

TMenuImage::~TMenuImage() {
    WindowProc = OldWindowProc;
    // A parent may free the tile before its clip: the clip must not free it again.
    if (Clip != nullptr && Clip->MenuTile == this) Clip->MenuTile = nullptr;
}

void TMenuImage::TileWndProc(TMessage& Message) {
    if (Message.Msg == CM_MOUSEENTER) DrawBack(true);
    else if (Message.Msg == CM_MOUSELEAVE) DrawBack(false);
    if (OldWindowProc) OldWindowProc(Message);
}

void TMenuImage::DrawBack(bool Hover) {
    b_Hover = Hover;
    TBitmap* skin = Hover ? (b_Selected ? MenuClipSelectBmpOn : MenuClipUnSelectBmpOn)
                          : (b_Selected ? MenuClipSelectBmp : MenuClipUnSelectBmp);
    DrawSkinBitmap(GetCanvas(), 0, 0, skin);
}

void TMenuImage::DrawThumbnail(TBitmap* Bitmap) {
    if (Bitmap != nullptr) GetCanvas()->Draw(5, 6, Bitmap);
}

void TMenuImage::SetSelected(bool Selected) {
    b_Selected = Selected;
    DrawBack(b_Hover);
}

// ---- TButtonImage ------------------------------------------------------------------------------

TButtonImage::TButtonImage(TComponent* AOwner, TClipInfo* AClip) : TImage(AOwner), Clip(AClip) {
    OldWindowProc = WindowProc;
    WindowProc = [this](TMessage& m) { ButtonWndProc(m); };
    SetBounds(GetLeft(), GetTop(), 104, 78);
    FillWithKeyColour(GetCanvas(), 104, 78);
    SetTransparent(true);
    SetShowHint(true);
}

TButtonImage::~TButtonImage() {
    WindowProc = OldWindowProc;
    delete ScaledCache;
    if (Clip != nullptr && Clip->TitleButton == this) Clip->TitleButton = nullptr;
}

void TButtonImage::ButtonWndProc(TMessage& Message) {
    if (Message.Msg == CM_MOUSEENTER) SetHover(true);
    else if (Message.Msg == CM_MOUSELEAVE) SetHover(false);
    if (OldWindowProc) OldWindowProc(Message);
}

void TButtonImage::SetPicture(TBitmap* Picture, int Width, int Height) {
    bool resized = Width > 0 || Height > 0;
    if (resized) {
        SetBounds(GetLeft(), GetTop(), Width, Height);
        GetCanvas();  // makes sure the picture is a bitmap
        auto* bmp = static_cast<TBitmap*>(GetPicture()->GetGraphic());
        bmp->SetSize(std::max(Width, 0), std::max(Height, 0));
        FillWithKeyColour(bmp->GetCanvas(), bmp->GetWidth(), bmp->GetHeight());
        Invalidate();
    }
    int iw = GetWidth() - 2 * ButtonMargin;
    int ih = GetHeight() - 2 * ButtonMargin;
    if (Picture != nullptr && iw > 0 && ih > 0) {
        if (Picture->GetWidth() == iw && Picture->GetHeight() == ih) {
            GetCanvas()->Draw(ButtonMargin, ButtonMargin, Picture);
        } else {
            if (ScaledCache == nullptr) ScaledCache = new TBitmap();
            Pubfunction::StretchBitmap(ScaledCache, Picture, iw, ih, b_KeepRatio && !b_LockRatio);
            GetCanvas()->Draw(ButtonMargin, ButtonMargin, ScaledCache);
        }
    }
    if (resized) SetHover(b_Hover);
}

void TButtonImage::SetLockRatio(TBitmap* Picture, bool Flag) {
    b_LockRatio = Flag;
    if (!Flag) return;
    int iw = GetWidth() - 2 * ButtonMargin;
    int ih = GetHeight() - 2 * ButtonMargin;
    double r = Clip != nullptr ? Clip->d_AspectRatio : 0.0;
    // Without a usable ratio the box has no shape to lock to and stays as it is.
    if (std::isfinite(r) && r > 0) {
        int hByWidth = TruncOr(iw / r, ih);
        int wByHeight = TruncOr(ih * r, iw);
        if (ih >= hByWidth) ih = hByWidth;
        else iw = wByHeight;
    }
    SetPicture(Picture, iw + 2 * ButtonMargin, ih + 2 * ButtonMargin);
}

void TButtonImage::SetSelected(bool Selected) {
    b_Selected = Selected;
    SetHover(b_Hover);
}

void TButtonImage::SetHover(bool Hover) {
    b_Hover = Hover;
    TCanvas* c = GetCanvas();
    TPen* pen = c->GetPen();
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    if (b_Selected) {
        pen->SetColor(Hover ? SelectedHoverPen : SelectedPen);
        DrawFrameLine();
        DrawHandles();
        return;
    }
    if (!Hover) {
        // Frame and handles in the key colour: erased.
        pen->SetColor(MenuKeyColour);
        DrawHandles();
        DrawFrameLine();
        return;
    }
    pen->SetColor(MenuKeyColour);
    DrawHandles();
    pen->SetColor(HoverFramePen);
    DrawFrameLine();
}

void TButtonImage::DrawFrameLine() {
    int w = GetWidth();
    int h = GetHeight();
    GetCanvas()->Polyline({Point(4, 4), Point(4, h - 5), Point(w - 5, h - 5), Point(w - 5, 4), Point(4, 4)});
}

void TButtonImage::DrawHandles() {
    int w = GetWidth();
    int h = GetHeight();
    int cx = w / 2;
    int cy = h / 2;
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(MenuKeyColour);
    const TRect handles[8] = {
        Rect(1, 1, 8, 8),           Rect(w - 8, 1, w - 1, 8),       Rect(1, h - 8, 8, h - 1),
        Rect(w - 8, h - 8, w - 1, h - 1), Rect(cx - 3, 1, cx + 4, 8), Rect(cx - 3, h - 8, cx + 4, h - 1),
        Rect(1, cy - 3, 8, cy + 4), Rect(w - 8, cy - 3, w - 1, cy + 4)};
    for (const TRect& r : handles) c->Rectangle(r);
}

TBitmap* TButtonImage::ScaledFrom(TBitmap* Source, int Width, int Height) const {
    TBitmap* out = new TBitmap(std::max(Width, 0), std::max(Height, 0));
    // Without a picture the caller still gets the bitmap it owns, blank.
    Pubfunction::StretchBitmap(out, Source, Width, Height, b_KeepRatio && !b_LockRatio);
    return out;
}

TBitmap* TButtonImage::GetScaledPicture(int Width, int Height) {
    return ScaledFrom(Clip != nullptr ? Clip->Picture : nullptr, Width, Height);
}

// ---- TSubButtonImage ---------------------------------------------------------------------------

TSubButtonImage::TSubButtonImage(TComponent* AOwner, TSubChapter* ASubChapter, TClipInfo* AClip)
    : TButtonImage(AOwner, AClip), FrameBitmap(new TBitmap()), SubChapter(ASubChapter) {
    // The picture's bitmap follows the control, so the frame lands at the new size.
    TButtonImage::SetPicture(nullptr, 80, 60);
}

TSubButtonImage::~TSubButtonImage() {
    delete FrameBitmap;
    if (SubChapter != nullptr) std::erase(SubChapter->Buttons, this);
}

// ---- TSubChapter -------------------------------------------------------------------------------

// Told when a label of the menu is freed elsewhere (with the preview it sits on), so that the
// menu never frees it again.
class TSubChapter::TLabelWatch : public TComponent {
public:
    explicit TLabelWatch(TSubChapter* Menu) : TComponent(nullptr), m_menu(Menu) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        // Compared as components: the label is past its own destructor here.
        if (Operation == opRemove)
            std::erase_if(m_menu->Labels, [AComponent](TLabel* l) { return l == AComponent; });
    }

private:
    TSubChapter* m_menu;
};

TSubChapter::TSubChapter(TClipInfo* AClip) : Clip(AClip), m_labelWatch(std::make_unique<TLabelWatch>(this)) {}

TSubChapter::~TSubChapter() {
    // Each button takes itself off the list as it dies, so the list is emptied first.
    std::vector<TSubButtonImage*> buttons;
    buttons.swap(Buttons);
    for (TSubButtonImage* b : buttons) delete b;
    ClearLabels();
    if (Clip != nullptr && Clip->ChapterMenu == this) Clip->ChapterMenu = nullptr;
}

TSubButtonImage* TSubChapter::GetButton(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(Buttons.size())) return nullptr;
    return Buttons[static_cast<size_t>(Index)];
}

TLabel* TSubChapter::GetLabel(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(Labels.size())) return nullptr;
    return Labels[static_cast<size_t>(Index)];
}

void TSubChapter::AddButton(TBitmap* Picture, int Time) {
    if (Picture == nullptr) return;
    auto button = std::make_unique<TSubButtonImage>(nullptr, this, Clip);
    button->FrameBitmap->Assign(Picture);
    button->i_ChapterTime = Time;
    button->SetSize(0, 0);
    button->SetLockRatio(button->b_LockRatio);
    Buttons.push_back(button.release());
}

void TSubChapter::DeleteButton(TSubButtonImage* Button) { RemoveAndDelete(Buttons, Button); }

void TSubChapter::AddLabel(TLabel* Label) {
    if (Label == nullptr) return;
    Labels.push_back(Label);
    m_labelWatch->FreeNotification(Label);
}

void TSubChapter::DeleteLabel(TLabel* Label) { RemoveAndDelete(Labels, Label); }

void TSubChapter::ClearLabels() {
    std::vector<TLabel*> labels;
    labels.swap(Labels);
    for (TLabel* l : labels) delete l;
}

// ---- TBackgroundImage --------------------------------------------------------------------------

TBackgroundImage::TBackgroundImage(TComponent* AOwner) : TImage(AOwner) {
    SetStretch(true);
    SetTransparent(false);
    SetBounds(GetLeft(), GetTop(), 104, 78);
}

TBackgroundImage::~TBackgroundImage() = default;

bool TBackgroundImage::LoadFromFile(const String& Name) {
    if (!FileExists(Name)) return false;
    // Loaded aside first, so a file that is no picture leaves the thumbnail as it was.
    TPicture loaded;
    try {
        loaded.LoadFromFile(Name);
    } catch (const Exception&) {
        return false;
    }
    GetPicture()->Assign(&loaded);
    FileName = Name;
    return true;
}

// ---- TTitleMenuState ---------------------------------------------------------------------------

MenuLayout::TMenuAspect TTitleMenuState::Aspect() const {
    return i_Aspect == 2 ? MenuLayout::TMenuAspect::Wide16x9 : MenuLayout::TMenuAspect::Standard4x3;
}

bool TTitleMenuState::SetAspect(MenuLayout::TMenuAspect To, int SafeDistance) {
    const MenuLayout::TMenuAspect from = Aspect();
    i_TitleBackY = MenuLayout::ShiftBackY(i_TitleBackY, from, To, i_BackHeight, SafeDistance);
    i_TitleBackX = MenuLayout::ClampBackX(i_TitleBackX, i_BackWidth, SafeDistance);
    i_Aspect = To == MenuLayout::TMenuAspect::Wide16x9 ? 2 : 1;
    return from != To;
}

void TTitleMenuState::ClampBack(int SafeDistance) {
    i_TitleBackX = MenuLayout::ClampBackX(i_TitleBackX, i_BackWidth, SafeDistance);
    i_TitleBackY = MenuLayout::ClampIntoSafeFrame(i_TitleBackY, i_BackHeight, PreviewHeight(), SafeDistance);
}

void TTitleMenuState::ResetBackButton() {
    i_TitleBackX = 0;
    i_TitleBackY = 1000;
}

void TTitleMenuState::DecideHandOver(bool AnyTitleButton) {
    b_TitleMenu = AnyTitleButton ? 1 : 0;
    b_RootMenu = AnyTitleButton && b_RootMenuWanted ? 1 : 0;
}

void ShiftChapterBack(TSubChapter& Menu, MenuLayout::TMenuAspect From, MenuLayout::TMenuAspect To, int BackWidth,
                      int BackHeight, int SafeDistance) {
    Menu.i_BackY = MenuLayout::ShiftBackY(Menu.i_BackY, From, To, BackHeight, SafeDistance);
    Menu.i_BackX = MenuLayout::ClampBackX(Menu.i_BackX, BackWidth, SafeDistance);
}
