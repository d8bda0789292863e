// TImageList: equally sized images with masks, drawn by index.
#pragma once

#include <vector>

#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"

class TImageList : public TComponent {
    VCL_CLASS(TImageList)
    explicit TImageList(TComponent* AOwner);
    ~TImageList() override;
    void Assign(TPersistent* Source) override;

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    // Changing the size clears the list, as the VCL does.
    void SetWidth(int v);
    void SetHeight(int v);
    int GetCount() const { return static_cast<int>(m_images.size()); }
    int Count() const { return GetCount(); }
    TColor GetBkColor() const { return m_bkColor; }
    // clNone: masked pixels are left alone; another colour fills them when drawn.
    void SetBkColor(TColor v) { m_bkColor = v; }

    // Adds Image, split into Width-wide pieces when it is wider (a narrower or shorter image
    // is placed at the top-left, the rest masked). Mask: non-black (set) pixels are
    // transparent; nullptr means fully opaque. Returns the index of the first piece added,
    // -1 when Image is empty.
    int Add(TBitmap* Image, TBitmap* Mask);
    // As Add, pixels of MaskColor being transparent (clDefault: the bottom-left pixel's colour).
    int AddMasked(TBitmap* Image, TColor MaskColor);
    // Replaces image Index (the first piece of Image); raises EInvalidOperation for a bad index.
    void Replace(int Index, TBitmap* Image, TBitmap* Mask);
    void Delete(int Index);
    void Clear();
    // Draws the unmasked pixels of image Index with its top-left at (X, Y); disabled draws an
    // embossed grey version (highlight one pixel down-right, shadow on top). A bad index draws
    // nothing.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    // Copies image Index into Image (Width x Height, pf24bit, masked pixels in BkColor or
    // white when BkColor is clNone). False for a bad index.
    bool GetBitmap(int Index, TBitmap* Image) const;
    // True when pixel (X, Y) of image Index is opaque.
    bool IsOpaque(int Index, int X, int Y) const;

    TNotifyEvent OnChange;

private:
    struct Entry {
        std::vector<COLORREF> pixels;  // Width*Height, top-down
        std::vector<bool> opaque;
    };
    int AddPieces(TBitmap* Image, const std::function<bool(int x, int y)>& transparentAt);
    Entry MakeEntry(const TBitmap& Image, int left, const std::function<bool(int x, int y)>& transparentAt) const;
    void Changed();
    int m_width = 16;
    int m_height = 16;
    TColor m_bkColor = clNone;
    std::vector<Entry> m_images;
};
