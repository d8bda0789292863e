#include "platform/vcl/PngWriter.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct PngJob {
    std::FILE* file = nullptr;
    const Byte* rgb = nullptr;  // top-down, 3 bytes per pixel
    int width = 0;
    int height = 0;
    char message[256] = {};
};

void PngError(png_structp png, png_const_charp msg) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::snprintf(job->message, sizeof job->message, "%s", msg ? msg : "libpng error");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// Keeps only plain C data in its frame: libpng's errors jump back into it.
bool WriteRows(PngJob* job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, PngError, PngWarning);
    if (png == nullptr) {
        std::snprintf(job->message, sizeof job->message, "cannot create the PNG writer");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(job->message, sizeof job->message, "cannot create the PNG header");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, job->file);
    png_set_compression_level(png, 7);
    png_set_IHDR(png, info, static_cast<png_uint_32>(job->width), static_cast<png_uint_32>(job->height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < job->height; ++y) {
        png_const_bytep row = job->rgb + static_cast<size_t>(y) * static_cast<size_t>(job->width) * 3;
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::vector<Byte> TopDownRgb(const TBitmap& b) {
    int w = b.GetWidth();
    int h = b.GetHeight();
    std::vector<Byte> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    for (int y = 0; y < h; ++y) {
        Byte* dst = rgb.data() + static_cast<size_t>(y) * w * 3;
        for (int x = 0; x < w; ++x) {
            COLORREF c = b.GetPixelColor(x, y);
            dst[3 * x] = GetRValue(c);
            dst[3 * x + 1] = GetGValue(c);
            dst[3 * x + 2] = GetBValue(c);
        }
    }
    return rgb;
}

}  // namespace

void SaveBitmapToPng(const TBitmap& Bitmap, const String& FileName) {
    if (Bitmap.GetEmpty()) throw EInvalidGraphic("Cannot save an empty bitmap as PNG");
    std::vector<Byte> rgb = TopDownRgb(Bitmap);
    // Written beside the target and renamed at the end, so a failure leaves no partial file.
    String temp = FileName + ".part";
    PngJob job;
    job.file = std::fopen(temp.c_str(), "wb");
    if (job.file == nullptr) throw EFCreateError("Cannot create file \"" + FileName + "\". " + SysErrorMessage(errno));
    job.rgb = rgb.data();
    job.width = Bitmap.GetWidth();
    job.height = Bitmap.GetHeight();
    bool ok = WriteRows(&job);
    bool closed = std::fclose(job.file) == 0;
    if (!ok || !closed || std::rename(temp.c_str(), FileName.c_str()) != 0) {
        std::remove(temp.c_str());
        throw EWriteError("Cannot write PNG file \"" + FileName + "\": " +
                          (job.message[0] ? String(job.message) : SysErrorMessage(errno)));
    }
}

bool TrySaveBitmapToPng(const TBitmap& Bitmap, const String& FileName, String* Error) {
    try {
        SaveBitmapToPng(Bitmap, FileName);
        return true;
    } catch (const Exception& e) {
        if (Error) *Error = e.Message();
        return false;
    }
}
