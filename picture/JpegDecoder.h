#pragma once

// Inside the picture library only: the calls into the JPEG library, kept
// apart so that its headers and its setjmp stay in one source file.

#include "picture/TBitmap.h"

#include <cstdint>
#include <span>

struct JpegHeader {
    int Width = 0;
    int Height = 0;
    bool Grayscale = false;
    bool Progressive = false;
};

enum class JpegOutput { Colour24, Palette8 };

// Reads the markers up to the first scan. Raises EJPEG.
JpegHeader read_jpeg_header(std::span<const uint8_t> data);

// Decodes the whole picture into bitmap, which the caller has already
// attached: on EJPEG it keeps whatever rows were decoded.
void decode_jpeg(std::span<const uint8_t> data, JpegOutput output, TBitmap& bitmap);
