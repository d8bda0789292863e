// TJPEGImage: JPEG pictures through libjpeg.
//
// The image keeps the encoded bytes it was loaded with (saved back unchanged) and decodes them
// into a 24-bit bitmap when it is drawn or converted. An image made from a bitmap (Assign) is
// encoded at CompressionQuality when it is saved or asked for its data.
// Bad or truncated data raises EJPEG with libjpeg's message; nothing exits the process.
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/Graphics.h"

// Decoding at a fraction of the stored size (libjpeg's scaled decoding: far less memory and time
// for a big photograph that is shown small).
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

// Pictures declaring more pixels than this are refused before anything is allocated for them.
constexpr unsigned long long JpegMaxPixels = 100ull * 1000 * 1000;

class TJPEGImage : public TGraphic {
    VCL_CLASS(TJPEGImage)
    TJPEGImage();
    ~TJPEGImage() override;

    // TJPEGImage: copies; TBitmap: takes its pixels (to be encoded); nullptr: empties.
    void Assign(TPersistent* Source) override;

    int GetWidth() const override;
    int GetHeight() const override;
    // A JPEG has no settable size; raises EInvalidGraphicOperation.
    void SetWidth(int v) override;
    void SetHeight(int v) override;
    bool GetEmpty() const override;

    // 1..100 (clamped); default 90. Changing it re-encodes on the next save of a bitmap-made image.
    int GetCompressionQuality() const { return m_quality; }
    void SetCompressionQuality(int v);
    // Decoded as greyscale when true (the bitmap is still 24-bit).
    bool GetGrayscale() const { return m_grayscale; }
    void SetGrayscale(bool v);
    // Loaded data decodes at this scale (Width and Height are the scaled size); default full size.
    TJPEGScale GetScale() const { return m_scale; }
    void SetScale(TJPEGScale v);

    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    // Reads encoded bytes (raises EJPEG when they don't decode).
    void LoadFromBytes(const Byte* Data, size_t Size);

    // Encodes the bitmap now (no-op when the encoded data is current).
    void Compress();
    void JPEGNeeded() { Compress(); }
    // Decodes now (no-op when the bitmap is current).
    void DIBNeeded();
    // The decoded picture (decoding if needed); owned by the image.
    TBitmap* GetBitmap();
    // The encoded bytes (encoding if needed).
    const std::vector<Byte>& GetData();

    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

protected:
    // Lets TBitmap::Assign(TJPEGImage*) decode into the bitmap.
    void AssignTo(TPersistent* Dest) override;

private:
    void LoadFromBytes(std::vector<Byte>&& Data);

    std::vector<Byte> m_data;          // encoded; empty when only the bitmap is current
    std::unique_ptr<TBitmap> m_bitmap; // decoded; null until needed
    int m_quality = 90;
    bool m_grayscale = false;
    TJPEGScale m_scale = jsFullSize;
    bool m_encodedFromBitmap = false;
    int m_width = 0;
    int m_height = 0;
};

// Decodes JPEG bytes into a pf24bit bitmap (at Scale, sides rounded up); raises EJPEG, also for
// a picture of more than JpegMaxPixels.
void Jpeg_Decode(const Byte* Data, size_t Size, TBitmap& Out, bool Grayscale = false,
                 TJPEGScale Scale = jsFullSize);
unsigned JpegScaleDenominator(TJPEGScale Scale);
// The smallest scale at which a Width x Height picture still covers WantWidth x WantHeight (for
// a picture that will be shrunk to that size anyway); jsFullSize when no smaller one does.
TJPEGScale JpegScaleFor(int Width, int Height, int WantWidth, int WantHeight);
// Encodes a bitmap (any format) at Quality 1..100; raises EJPEG (or EInvalidGraphic when empty).
std::vector<Byte> Jpeg_Encode(const TBitmap& Bitmap, int Quality);
