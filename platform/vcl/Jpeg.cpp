#include "platform/vcl/Jpeg.h"

#include "platform/vcl/BmpCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstdint>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg's default error handler exits the process; ours jumps back to the caller instead.
// The functions that call setjmp keep only plain C data in their own frame, so the jump skips
// no destructor; what must survive a jump lives in the caller's frame.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings about damaged data (a truncated file, bad Huffman codes) count as errors: libjpeg
// would otherwise hand back a picture padded with grey.
void EmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    if (cinfo->err->msg_code == JWRN_EXTRANEOUS_DATA) return;
    ErrorExit(cinfo);
}

void InstallErrors(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = [](j_common_ptr) {};
    err.message[0] = 0;
}

struct DecodeResult {
    int width = 0;
    int height = 0;
    std::vector<Byte>* rgb = nullptr;  // top-down, 3 bytes per pixel, owned by the caller
    char message[JMSG_LENGTH_MAX] = {};
};

Byte CmykChannel(int c, int k, bool inverted) {
    if (inverted) return static_cast<Byte>((c * k + 127) / 255);
    return static_cast<Byte>(((255 - c) * (255 - k) + 127) / 255);
}

bool DecodeRgb(const Byte* data, size_t size, bool gray, TJPEGScale scale, DecodeResult* out) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = &err.pub;
    InstallErrors(err);
    if (setjmp(err.jump)) {
        std::memcpy(out->message, err.message, sizeof err.message);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : (gray ? JCS_GRAYSCALE : JCS_RGB);
    // Refuse absurd sizes before libjpeg allocates anything for them. A few hundred bytes can
    // declare gigapixels, and a progressive file needs buffers of its full size even when it
    // is decoded scaled down.
    if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > static_cast<JDIMENSION>(BmpMaxSide) ||
        cinfo.image_height > static_cast<JDIMENSION>(BmpMaxSide)) {
        std::snprintf(out->message, sizeof out->message, "image size %ux%u is not supported",
                      cinfo.image_width, cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (static_cast<std::uint64_t>(cinfo.image_width) * cinfo.image_height > JpegMaxPixels) {
        std::snprintf(out->message, sizeof out->message, "image size %ux%u is too large",
                      cinfo.image_width, cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = JpegScaleDenominator(scale);
    jpeg_start_decompress(&cinfo);
    out->width = static_cast<int>(cinfo.output_width);
    out->height = static_cast<int>(cinfo.output_height);
    out->rgb->resize(static_cast<size_t>(out->width) * static_cast<size_t>(out->height) * 3);
    int comps = cinfo.output_components;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * static_cast<JDIMENSION>(comps), 1);
    bool inverted = cinfo.saw_Adobe_marker != 0;
    while (cinfo.output_scanline < cinfo.output_height) {
        Byte* dst = out->rgb->data() + static_cast<size_t>(cinfo.output_scanline) * out->width * 3;
        jpeg_read_scanlines(&cinfo, row, 1);
        const JSAMPLE* src = row[0];
        for (int x = 0; x < out->width; ++x, dst += 3) {
            if (comps == 4) {
                int k = src[4 * x + 3];
                dst[0] = CmykChannel(src[4 * x], k, inverted);
                dst[1] = CmykChannel(src[4 * x + 1], k, inverted);
                dst[2] = CmykChannel(src[4 * x + 2], k, inverted);
            } else if (comps == 1) {
                dst[0] = dst[1] = dst[2] = src[x];
            } else {
                dst[0] = src[3 * x];
                dst[1] = src[3 * x + 1];
                dst[2] = src[3 * x + 2];
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct EncodeResult {
    unsigned char* buffer = nullptr;  // malloc'd by libjpeg
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
};

bool EncodeRgb(const Byte* rgb, int width, int height, int quality, EncodeResult* out) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = &err.pub;
    InstallErrors(err);
    if (setjmp(err.jump)) {
        std::memcpy(out->message, err.message, sizeof err.message);
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out->buffer, &out->size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<size_t>(cinfo.next_scanline) * width * 3);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

unsigned JpegScaleDenominator(TJPEGScale Scale) {
    switch (Scale) {
        case jsHalf: return 2;
        case jsQuarter: return 4;
        case jsEighth: return 8;
        default: return 1;
    }
}

TJPEGScale JpegScaleFor(int Width, int Height, int WantWidth, int WantHeight) {
    if (WantWidth <= 0 || WantHeight <= 0) return jsFullSize;
    for (TJPEGScale s : {jsEighth, jsQuarter, jsHalf}) {
        // libjpeg rounds the scaled size up.
        int d = static_cast<int>(JpegScaleDenominator(s));
        if ((Width + d - 1) / d >= WantWidth && (Height + d - 1) / d >= WantHeight) return s;
    }
    return jsFullSize;
}

void Jpeg_Decode(const Byte* Data, size_t Size, TBitmap& Out, bool Grayscale, TJPEGScale Scale) {
    if (Data == nullptr || Size < 4 || Data[0] != 0xFF || Data[1] != 0xD8)
        throw EJPEG("JPEG error #53: not a JPEG file");
    std::vector<Byte> rgb;
    DecodeResult r;
    r.rgb = &rgb;
    if (!DecodeRgb(Data, Size, Grayscale, Scale, &r)) throw EJPEG(String("JPEG error: ") + r.message);
    int stride = BytesPerScanline(r.width, 24, 32);
    std::vector<Byte> bits(static_cast<size_t>(stride) * static_cast<size_t>(r.height));
    for (int y = 0; y < r.height; ++y) {
        const Byte* src = rgb.data() + static_cast<size_t>(y) * r.width * 3;
        Byte* dst = bits.data() + static_cast<size_t>(r.height - 1 - y) * stride;
        for (int x = 0; x < r.width; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    Out.SetImage(r.width, r.height, pf24bit, std::move(bits));
}

std::vector<Byte> Jpeg_Encode(const TBitmap& Bitmap, int Quality) {
    if (Bitmap.GetEmpty()) throw EInvalidGraphic("Cannot encode an empty bitmap as JPEG");
    int w = Bitmap.GetWidth();
    int h = Bitmap.GetHeight();
    std::vector<Byte> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    for (int y = 0; y < h; ++y) {
        Byte* dst = rgb.data() + static_cast<size_t>(y) * w * 3;
        for (int x = 0; x < w; ++x) {
            COLORREF c = Bitmap.GetPixelColor(x, y);
            dst[3 * x] = GetRValue(c);
            dst[3 * x + 1] = GetGValue(c);
            dst[3 * x + 2] = GetBValue(c);
        }
    }
    EncodeResult r;
    bool ok = EncodeRgb(rgb.data(), w, h, std::clamp(Quality, 1, 100), &r);
    std::vector<Byte> out;
    if (ok) out.assign(r.buffer, r.buffer + r.size);
    std::free(r.buffer);
    if (!ok) throw EJPEG(String("JPEG error: ") + r.message);
    return out;
}

// ---- TJPEGImage --------------------------------------------------------------------------------

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent* Source) {
    if (Source == nullptr) {
        m_data.clear();
        m_bitmap.reset();
        m_width = m_height = 0;
        Changed();
        return;
    }
    if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
        if (j == this) return;
        m_data = j->m_data;
        m_bitmap.reset();
        if (j->m_bitmap) {
            m_bitmap = std::make_unique<TBitmap>();
            m_bitmap->Assign(j->m_bitmap.get());
        }
        m_quality = j->m_quality;
        m_grayscale = j->m_grayscale;
        m_width = j->m_width;
        m_height = j->m_height;
        Changed();
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(b);
        copy->SetPixelFormat(pf24bit);
        m_bitmap = std::move(copy);
        m_data.clear();  // encoded when needed
        m_width = b->GetWidth();
        m_height = b->GetHeight();
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
    if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
        if (GetEmpty()) {
            b->Assign(nullptr);
            return;
        }
        DIBNeeded();
        b->Assign(m_bitmap.get());
        return;
    }
    TPersistent::AssignTo(Dest);
}

int TJPEGImage::GetWidth() const { return m_width; }
int TJPEGImage::GetHeight() const { return m_height; }
bool TJPEGImage::GetEmpty() const { return m_width == 0 || m_height == 0; }

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::SetCompressionQuality(int v) {
    v = std::clamp(v, 1, 100);
    if (v == m_quality) return;
    m_quality = v;
    // An image made from a bitmap is re-encoded at the new quality; loaded data stays as it is.
    if (m_bitmap && !m_data.empty() && m_encodedFromBitmap) m_data.clear();
}

void TJPEGImage::SetGrayscale(bool v) {
    if (v == m_grayscale) return;
    m_grayscale = v;
    if (!m_data.empty()) {
        m_bitmap.reset();
        Changed();
    }
}

void TJPEGImage::SetScale(TJPEGScale v) {
    if (v == m_scale) return;
    m_scale = v;
    // Only loaded data decodes at a scale; the size follows at once, as the picture's size does.
    if (!m_data.empty() && !m_encodedFromBitmap) LoadFromBytes(std::vector<Byte>(m_data));
}

void TJPEGImage::LoadFromBytes(std::vector<Byte>&& Data) {
    auto bmp = std::make_unique<TBitmap>();
    Jpeg_Decode(Data.data(), Data.size(), *bmp, m_grayscale, m_scale);
    m_data = std::move(Data);
    m_width = bmp->GetWidth();
    m_height = bmp->GetHeight();
    m_bitmap = std::move(bmp);
    m_encodedFromBitmap = false;
    Changed();
}

void TJPEGImage::LoadFromBytes(const Byte* Data, size_t Size) {
    auto bmp = std::make_unique<TBitmap>();
    Jpeg_Decode(Data, Size, *bmp, m_grayscale, m_scale);
    m_data.assign(Data, Data + Size);
    m_width = bmp->GetWidth();
    m_height = bmp->GetHeight();
    m_bitmap = std::move(bmp);
    m_encodedFromBitmap = false;
    Changed();
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
    Int64 avail = Stream->GetSize() - Stream->GetPosition();
    if (avail <= 0) throw EJPEG("JPEG error #42: the data is empty");
    if (avail > static_cast<Int64>(BmpMaxBytes)) throw EJPEG("JPEG error: the data is too large");
    std::vector<Byte> data(static_cast<size_t>(avail));
    Stream->ReadBuffer(data.data(), avail);
    LoadFromBytes(data.data(), data.size());
}

void TJPEGImage::Compress() {
    if (!m_data.empty() || !m_bitmap || m_bitmap->GetEmpty()) return;
    m_data = Jpeg_Encode(*m_bitmap, m_quality);
    m_encodedFromBitmap = true;
}

void TJPEGImage::SaveToStream(TStream* Stream) {
    if (GetEmpty()) return;
    Compress();
    Stream->WriteBuffer(m_data.data(), static_cast<Int64>(m_data.size()));
}

void TJPEGImage::DIBNeeded() {
    if (m_bitmap || m_data.empty()) return;
    auto bmp = std::make_unique<TBitmap>();
    Jpeg_Decode(m_data.data(), m_data.size(), *bmp, m_grayscale, m_encodedFromBitmap ? jsFullSize : m_scale);
    m_bitmap = std::move(bmp);
}

TBitmap* TJPEGImage::GetBitmap() {
    DIBNeeded();
    if (!m_bitmap) m_bitmap = std::make_unique<TBitmap>();
    return m_bitmap.get();
}

const std::vector<Byte>& TJPEGImage::GetData() {
    Compress();
    return m_data;
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (GetEmpty() || ACanvas == nullptr) return;
    DIBNeeded();
    m_bitmap->Draw(ACanvas, Rect);
}
