#include "picture/TBitmap.h"

#include "picture/PictureErrors.h"

TBitmap::TBitmap(int width, int height, int bitsPerPixel)
{
    SetSize(width, height, bitsPerPixel);
}

void TBitmap::SetSize(int width, int height, int bitsPerPixel)
{
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    const int bits = bitsPerPixel == 8 ? 8 : 24;
    // Row first: width x height x 3 could pass even 64 bits.
    const int64_t row = int64_t{width} * (bits / 8);
    if (row > kMaxPixelBytes || (height > 0 && row > kMaxPixelBytes / height))
        throw EInvalidGraphic::TooLarge(width, height);
    pixels_.assign(static_cast<size_t>(row * height), 0);
    width_ = width;
    height_ = height;
    bits_ = bits;
    if (bits != 8)
        palette_.clear();
}

const uint8_t* TBitmap::ScanLine(int y) const
{
    return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(BytesPerLine());
}

uint8_t* TBitmap::ScanLine(int y)
{
    return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(BytesPerLine());
}
