// The DVD menu model: clip-strip tiles, title and chapter buttons, chapter menus and background
// thumbnails. They are at once the controls on the designer's preview and what production reads.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Messages.h"
#include "platform/vcl/StdCtrls.h"

#include "core/MenuLayout.h"

class TClipInfo;
class TSubChapter;

// The skin bitmaps' see-through colour, also the fill behind menu objects.
constexpr TColor MenuKeyColour = static_cast<TColor>(0x797571);

// Draws a shared skin bitmap at (X, Y) with its key colour see-through, whether or not the
// bitmap itself is marked transparent; the bitmap is left as it is. Nothing for null.
void DrawSkinBitmap(TCanvas* Canvas, int X, int Y, TBitmap* Skin);

// A clip's 92 x 72 tile in the designer's clip strip.
class TMenuImage : public TImage {
    VCL_CLASS(TMenuImage)
    TMenuImage(TComponent* AOwner, TClipInfo* AClip);
    ~TMenuImage() override;

    TWndMethod OldWindowProc;
    bool b_Selected = false;
    bool b_Hover = false;
    TClipInfo* Clip = nullptr;  // not owned

    void TileWndProc(TMessage& Message);
    void DrawBack(bool Hover);
    void DrawThumbnail(TBitmap* Bitmap);
    void SetSelected(bool Selected);
};

// A button on a menu: the picture fills the control inset by 8 pixels; the margin holds the
// selection frame and its eight handles.
class TButtonImage : public TImage {
    VCL_CLASS(TButtonImage)
    TButtonImage(TComponent* AOwner, TClipInfo* AClip);
    ~TButtonImage() override;

    TWndMethod OldWindowProc;
    bool b_Selected = false;
    bool b_Hover = false;
    bool b_KeepRatio = true;
    bool b_LockRatio = false;
    TBitmap* ScaledCache = nullptr;  // owned
    TClipInfo* Clip = nullptr;       // not owned

    void ButtonWndProc(TMessage& Message);
    // Resizes to Width x Height when either is positive, then draws Picture into the inner box.
    void SetPicture(TBitmap* Picture, int Width, int Height);
    // When Flag is set, shrinks the inner box on one side to the clip's aspect ratio.
    void SetLockRatio(TBitmap* Picture, bool Flag);
    void SetSelected(bool Selected);
    void SetHover(bool Hover);
    // A new Width x Height bitmap of the clip's picture; the caller deletes it.
    TBitmap* GetScaledPicture(int Width, int Height);

protected:
    TBitmap* ScaledFrom(TBitmap* Source, int Width, int Height) const;

private:
    void DrawHandles();
    void DrawFrameLine();
};

// A chapter button: shows a grabbed frame and carries the chapter's start time.
class TSubButtonImage : public TButtonImage {
    VCL_CLASS(TSubButtonImage)
    TSubButtonImage(TComponent* AOwner, TSubChapter* ASubChapter, TClipInfo* AClip);
    ~TSubButtonImage() override;

    int i_ChapterTime = 0;              // seconds, absolute in the source file
    TBitmap* FrameBitmap = nullptr;     // owned
    TSubChapter* SubChapter = nullptr;  // not owned

    void SetSize(int Width, int Height) { SetPicture(FrameBitmap, Width, Height); }
    using TButtonImage::SetLockRatio;
    void SetLockRatio(bool Flag) { TButtonImage::SetLockRatio(FrameBitmap, Flag); }
    TBitmap* GetScaledPicture(int Width, int Height) { return ScaledFrom(FrameBitmap, Width, Height); }
};

// A clip's chapter menu; owns its buttons and labels.
class TSubChapter {
public:
    explicit TSubChapter(TClipInfo* AClip);
    ~TSubChapter();
    TSubChapter(const TSubChapter&) = delete;
    TSubChapter& operator=(const TSubChapter&) = delete;

    std::vector<TSubButtonImage*> Buttons;  // ascending i_ChapterTime
    std::vector<TLabel*> Labels;
    TClipInfo* Clip = nullptr;  // not owned
    String s_BackgroundSrcFile;
    String s_BackgroundMusicFile;
    int i_BackX = 0;
    int i_BackY = 1000;  // below every preview, until first clamped into the safe frame

    TSubButtonImage* GetButton(int Index) const;
    TLabel* GetLabel(int Index) const;
    // Appends a button showing a copy of Picture (kept by the caller); nothing for null.
    void AddButton(TBitmap* Picture, int Time);
    void DeleteButton(TSubButtonImage* Button);
    void AddLabel(TLabel* Label);
    void DeleteLabel(TLabel* Label);
    void ClearLabels();

private:
    class TLabelWatch;
    std::unique_ptr<TLabelWatch> m_labelWatch;
};

// What the title menu holds besides its controls: the back button's place and size, the aspect
// and the root-menu wish, and what Next hands the production windows. The designer owns one;
// the menu-picture step reads it with the clips and the title labels.
class TTitleMenuState {
public:
    int i_TitleBackX = 0;
    int i_TitleBackY = 1000;   // below every preview, until first clamped into the safe frame
    int i_BackWidth = 0;
    int i_BackHeight = 0;
    int i_Aspect = 1;          // 1 = 4:3, 2 = 16:9, as the production windows count
    bool b_RootMenuWanted = true;  // " Auto Add DVD Root Menu"
    int b_TitleMenu = 0;
    int b_RootMenu = 0;

    MenuLayout::TMenuAspect Aspect() const;
    int PreviewHeight() const { return MenuLayout::PreviewHeight(Aspect()); }
    // SetAspect4x3 / SetAspect16x9 for the title menu: the back button moves by the difference
    // of the heights only when the aspect really changes, and is clamped into the safe frame
    // either way. True when the aspect changed.
    bool SetAspect(MenuLayout::TMenuAspect To, int SafeDistance);
    // The back button clamped into the safe frame (placing the back image).
    void ClampBack(int SafeDistance);
    // With no clips the back button starts over below the preview.
    void ResetBackButton();
    // Next: a title menu when any clip has a title button, a root menu when also wished for.
    void DecideHandOver(bool AnyTitleButton);
};

// A chapter menu's back button after an aspect call, as the title menu's.
void ShiftChapterBack(TSubChapter& Menu, MenuLayout::TMenuAspect From, MenuLayout::TMenuAspect To, int BackWidth,
                      int BackHeight, int SafeDistance);

// One thumbnail in the designer's background list.
class TBackgroundImage : public TImage {
    VCL_CLASS(TBackgroundImage)
    explicit TBackgroundImage(TComponent* AOwner);
    ~TBackgroundImage() override;

    String FileName;

    // False, with nothing changed, when the file is missing or is no readable picture.
    bool LoadFromFile(const String& Name);
};

// Removes the first element equal to Item and deletes it; nothing when it is not there.
template <class T>
void RemoveAndDelete(std::vector<T*>& List, T* Item) {
    if (Item == nullptr) return;
    for (auto it = List.begin(); it != List.end(); ++it) {
        if (*it != Item) continue;
        List.erase(it);
        delete Item;
        return;
    }
}
