#pragma once

#include "picture/TGraphic.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

enum class TJPEGPixelFormat { jf24Bit, jf8Bit };

// A JPEG picture held compressed. Loading reads only the header; the first
// Bitmap() decodes, once. Copies share the compressed bytes.
class TJPEGImage : public TGraphic {
public:
    enum class DecodeState { NotDecoded, Decoded, Failed };

    // Colours of the palette when decoding to 8 bits.
    static constexpr int kPaletteColours = 236;
    // Decoded pixels and the library's working memory are capped, so a
    // header that claims a huge picture cannot exhaust memory.
    static constexpr int64_t kMaxDecodedBytes = int64_t{1} << 27;
    static constexpr int64_t kMaxLibraryMemory = int64_t{1} << 28;

    // Pixel format from the screen's depth (8 bits or fewer: 8-bit palette).
    TJPEGImage();
    explicit TJPEGImage(TJPEGPixelFormat format);
    // Shares the compressed bytes; takes the bitmap if there is one.
    TJPEGImage(const TJPEGImage& other);
    ~TJPEGImage() override;

    // The bitmap's size once there is one, the header's before that.
    int Width() const override;
    int Height() const override;
    bool Empty() const override { return !data_; }
    bool Grayscale() const { return grayscale_; }
    bool ProgressiveEncoding() const { return progressive_; }
    TJPEGPixelFormat PixelFormat() const { return pixelFormat_; }
    DecodeState State() const { return state_; }
    bool HasBitmap() const { return bitmap_ != nullptr; }
    // The compressed bytes, shared between copies (null before the first load).
    std::shared_ptr<const std::vector<uint8_t>> Data() const { return data_; }

    void LoadFromStream(TMemoryStream& stream) override;
    void LoadFromBytes(std::span<const uint8_t> bytes);
    std::unique_ptr<TGraphic> Clone() const override;
    // Raises EJPEG when the library fails; the bitmap holds what was decoded
    // by then and later calls return it without decoding again.
    const TBitmap& Bitmap() override;

private:
    void ReadHeader();
    void Decode();

    TJPEGPixelFormat pixelFormat_;
    std::shared_ptr<const std::vector<uint8_t>> data_;
    int width_ = 0;
    int height_ = 0;
    bool grayscale_ = false;
    bool progressive_ = false;
    std::unique_ptr<TBitmap> bitmap_;
    DecodeState state_ = DecodeState::NotDecoded;
};
