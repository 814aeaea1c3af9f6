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
    const int64_t bytes = int64_t{width} * height * (bits / 8);
    if (bytes > kMaxPixelBytes || int64_t{width} * (bits / 8) > kMaxPixelBytes)
        throw EInvalidGraphic::TooLarge(width, height);
    pixels_.assign(static_cast<size_t>(bytes), 0);
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
