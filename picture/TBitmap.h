#pragma once

#include <cstdint>
#include <span>
#include <vector>

// An owned pixel buffer: rows top to bottom without padding, 24 bits per
// pixel as R, G, B bytes, or 8 bits per pixel as indexes into Palette().
class TBitmap {
public:
    // Pixel bytes one bitmap may hold.
    static constexpr int64_t kMaxPixelBytes = int64_t{1} << 30;

    TBitmap() = default;
    // Sizes below 0 count as 0; bits other than 8 count as 24.
    // Raises EInvalidGraphic past kMaxPixelBytes.
    TBitmap(int width, int height, int bitsPerPixel);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bits_; } // 24 or 8
    int BytesPerLine() const { return width_ * (bits_ / 8); }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Drops the pixels and gives the bitmap a new size and depth (all zero
    // bytes), with the constructor's rules.
    void SetSize(int width, int height, int bitsPerPixel);

    const uint8_t* ScanLine(int y) const;
    uint8_t* ScanLine(int y);
    std::span<const uint8_t> Pixels() const { return pixels_; }

    // 0x00RRGGBB entries; used by 8-bit bitmaps only.
    const std::vector<uint32_t>& Palette() const { return palette_; }
    void SetPalette(std::vector<uint32_t> palette) { palette_ = std::move(palette); }

private:
    int width_ = 0;
    int height_ = 0;
    int bits_ = 24;
    std::vector<uint8_t> pixels_;
    std::vector<uint32_t> palette_;
};
