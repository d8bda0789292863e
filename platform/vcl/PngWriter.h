// Writing PNG files through libpng and zlib (the program reads none).
#pragma once

#include "platform/vcl/Graphics.h"

// Writes Bitmap (any pixel format; its colours) as an 8-bit-per-channel RGB PNG at zlib
// compression level 7. Raises EInvalidGraphic for an empty bitmap, EFCreateError when the file
// can't be created and EWriteError when writing fails; no partial file is left behind.
void SaveBitmapToPng(const TBitmap& Bitmap, const String& FileName);
// The same, answering false instead of raising (Error, when given, receives the message).
bool TrySaveBitmapToPng(const TBitmap& Bitmap, const String& FileName, String* Error = nullptr);
