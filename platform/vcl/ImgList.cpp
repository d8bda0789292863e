#include "platform/vcl/ImgList.h"

#include <unordered_set>

namespace {

int Luminance(COLORREF c) { return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100; }

// Pixels Width x Height top-down, written into a pf24bit bitmap.
void PixelsToBitmap(const std::vector<COLORREF>& pixels, int w, int h, TBitmap& out) {
    int stride = BytesPerScanline(w, 24, 32);
    std::vector<Byte> bits(static_cast<size_t>(stride) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        Byte* row = bits.data() + static_cast<size_t>(h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            COLORREF c = pixels[static_cast<size_t>(y) * w + x];
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    out.SetImage(w, h, pf24bit, std::move(bits));
}

// A colour that none of the given pixels has, to key the masked ones out.
COLORREF UnusedColour(const std::vector<COLORREF>& pixels) {
    std::unordered_set<COLORREF> used(pixels.begin(), pixels.end());
    COLORREF c = RGB(255, 0, 255);
    while (used.count(c)) c = (c + 0x010203) & 0xFFFFFF;
    return c;
}

// Draws pixels where `take` says so, in their own colour or in `paint` when it is not clNone.
void DrawKeyed(TCanvas* canvas, int x, int y, int w, int h, const std::vector<COLORREF>& pixels,
               const std::vector<bool>& take, TColor paint) {
    std::vector<COLORREF> shown(pixels.size());
    COLORREF solid = paint == clNone ? 0 : ColorToRGB(paint);
    for (size_t i = 0; i < pixels.size(); ++i) shown[i] = paint == clNone ? pixels[i] : solid;
    std::vector<COLORREF> visible;
    for (size_t i = 0; i < pixels.size(); ++i)
        if (take[i]) visible.push_back(shown[i]);
    COLORREF key = UnusedColour(visible);
    for (size_t i = 0; i < pixels.size(); ++i)
        if (!take[i]) shown[i] = key;
    TBitmap bmp;
    PixelsToBitmap(shown, w, h, bmp);
    bmp.SetTransparentColor(static_cast<TColor>(key));
    bmp.SetTransparent(true);
    canvas->Draw(x, y, &bmp);
}

}  // namespace

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}
TImageList::~TImageList() = default;

void TImageList::Assign(TPersistent* Source) {
    if (auto* l = dynamic_cast<TImageList*>(Source)) {
        m_width = l->m_width;
        m_height = l->m_height;
        m_bkColor = l->m_bkColor;
        m_images = l->m_images;
        Changed();
        return;
    }
    TComponent::Assign(Source);
}

void TImageList::Changed() {
    if (OnChange) OnChange(this);
}

void TImageList::SetWidth(int v) {
    if (v < 1 || v == m_width) return;
    m_width = v;
    Clear();
}

void TImageList::SetHeight(int v) {
    if (v < 1 || v == m_height) return;
    m_height = v;
    Clear();
}

TImageList::Entry TImageList::MakeEntry(const TBitmap& Image, int left,
                                        const std::function<bool(int x, int y)>& transparentAt) const {
    Entry e;
    size_t n = static_cast<size_t>(m_width) * static_cast<size_t>(m_height);
    e.pixels.assign(n, 0);
    e.opaque.assign(n, false);
    for (int y = 0; y < m_height && y < Image.GetHeight(); ++y) {
        for (int x = 0; x < m_width && left + x < Image.GetWidth(); ++x) {
            size_t i = static_cast<size_t>(y) * m_width + x;
            e.pixels[i] = Image.GetPixelColor(left + x, y);
            e.opaque[i] = !transparentAt(left + x, y);
        }
    }
    return e;
}

int TImageList::AddPieces(TBitmap* Image, const std::function<bool(int x, int y)>& transparentAt) {
    if (Image == nullptr || Image->GetEmpty()) return -1;
    // A strip wider than the list holds several images side by side.
    int pieces = std::max(1, Image->GetWidth() / m_width);
    int first = GetCount();
    for (int p = 0; p < pieces; ++p) m_images.push_back(MakeEntry(*Image, p * m_width, transparentAt));
    Changed();
    return first;
}

int TImageList::Add(TBitmap* Image, TBitmap* Mask) {
    return AddPieces(Image, [Mask](int x, int y) {
        if (Mask == nullptr) return false;
        COLORREF m = Mask->GetPixelColor(x, y);
        return m != CLR_INVALID && m != 0;
    });
}

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    if (Image == nullptr || Image->GetEmpty()) return -1;
    COLORREF key = MaskColor == clDefault ? Image->GetPixelColor(0, Image->GetHeight() - 1) : ColorToRGB(MaskColor);
    return AddPieces(Image, [Image, key](int x, int y) { return Image->GetPixelColor(x, y) == key; });
}

void TImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
    if (Index < 0 || Index >= GetCount()) throw EInvalidOperation("Invalid image list index " + IntToStr(Index));
    if (Image == nullptr || Image->GetEmpty()) return;
    m_images[static_cast<size_t>(Index)] = MakeEntry(*Image, 0, [Mask](int x, int y) {
        if (Mask == nullptr) return false;
        COLORREF m = Mask->GetPixelColor(x, y);
        return m != CLR_INVALID && m != 0;
    });
    Changed();
}

void TImageList::Delete(int Index) {
    if (Index < 0 || Index >= GetCount()) throw EInvalidOperation("Invalid image list index " + IntToStr(Index));
    m_images.erase(m_images.begin() + Index);
    Changed();
}

void TImageList::Clear() {
    if (m_images.empty()) return;
    m_images.clear();
    Changed();
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
    if (Canvas == nullptr || Index < 0 || Index >= GetCount()) return;
    const Entry& e = m_images[static_cast<size_t>(Index)];
    if (Enabled) {
        if (m_bkColor != clNone) {
            std::vector<bool> all(e.opaque.size(), true);
            std::vector<COLORREF> px = e.pixels;
            COLORREF bk = ColorToRGB(m_bkColor);
            for (size_t i = 0; i < px.size(); ++i)
                if (!e.opaque[i]) px[i] = bk;
            DrawKeyed(Canvas, X, Y, m_width, m_height, px, all, clNone);
            return;
        }
        DrawKeyed(Canvas, X, Y, m_width, m_height, e.pixels, e.opaque, clNone);
        return;
    }
    // Disabled: the darker pixels embossed, highlight offset by one, shadow on top.
    std::vector<bool> ink(e.opaque.size());
    for (size_t i = 0; i < ink.size(); ++i) ink[i] = e.opaque[i] && Luminance(e.pixels[i]) < 192;
    DrawKeyed(Canvas, X + 1, Y + 1, m_width, m_height, e.pixels, ink, clBtnHighlight);
    DrawKeyed(Canvas, X, Y, m_width, m_height, e.pixels, ink, clBtnShadow);
}

bool TImageList::GetBitmap(int Index, TBitmap* Image) const {
    if (Image == nullptr || Index < 0 || Index >= GetCount()) return false;
    const Entry& e = m_images[static_cast<size_t>(Index)];
    std::vector<COLORREF> px = e.pixels;
    COLORREF fill = m_bkColor == clNone ? 0xFFFFFF : ColorToRGB(m_bkColor);
    for (size_t i = 0; i < px.size(); ++i)
        if (!e.opaque[i]) px[i] = fill;
    PixelsToBitmap(px, m_width, m_height, *Image);
    return true;
}

bool TImageList::IsOpaque(int Index, int X, int Y) const {
    if (Index < 0 || Index >= GetCount() || X < 0 || Y < 0 || X >= m_width || Y >= m_height) return false;
    return m_images[static_cast<size_t>(Index)].opaque[static_cast<size_t>(Y) * m_width + X];
}
