#include "picture/TJPEGImage.h"

#include "picture/JpegDecoder.h"
#include "picture/ScreenDepth.h"

namespace {

TJPEGPixelFormat format_for_screen()
{
    return ScreenBitsPerPixel() <= 8 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit;
}

} // namespace

TJPEGImage::TJPEGImage() : TJPEGImage(format_for_screen()) {}

TJPEGImage::TJPEGImage(TJPEGPixelFormat format) : pixelFormat_(format) {}

// The owner's change handler is not copied: the copy has a new owner.
TJPEGImage::TJPEGImage(const TJPEGImage& other)
    : TGraphic(),
      pixelFormat_(other.pixelFormat_),
      data_(other.data_),
      width_(other.width_),
      height_(other.height_),
      grayscale_(other.grayscale_),
      progressive_(other.progressive_),
      bitmap_(other.bitmap_ ? std::make_unique<TBitmap>(*other.bitmap_) : nullptr),
      state_(other.state_)
{
}

TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const
{
    return bitmap_ ? bitmap_->Width() : width_;
}

int TJPEGImage::Height() const
{
    return bitmap_ ? bitmap_->Height() : height_;
}

void TJPEGImage::LoadFromStream(TMemoryStream& stream)
{
    const int64_t size = stream.Size();
    const int64_t position = stream.Position() < size ? stream.Position() : size;
    const auto bytes = stream.Bytes().subspan(static_cast<size_t>(position));
    stream.SetPosition(size);
    LoadFromBytes(bytes);
}

void TJPEGImage::LoadFromBytes(std::span<const uint8_t> bytes)
{
    bitmap_.reset();
    state_ = DecodeState::NotDecoded;
    width_ = 0;
    height_ = 0;
    grayscale_ = false;
    progressive_ = false;
    data_ = std::make_shared<const std::vector<uint8_t>>(bytes.begin(), bytes.end());
    if (!data_->empty())
        ReadHeader();
    Changed();
}

void TJPEGImage::ReadHeader()
{
    const JpegHeader header = read_jpeg_header(*data_);
    width_ = header.Width;
    height_ = header.Height;
    grayscale_ = header.Grayscale;
    progressive_ = header.Progressive;
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const
{
    return std::make_unique<TJPEGImage>(*this);
}

const TBitmap& TJPEGImage::Bitmap()
{
    if (!bitmap_) {
        // Attached before decoding: a failed decode is not tried again.
        bitmap_ = std::make_unique<TBitmap>();
        state_ = DecodeState::Failed;
        if (data_)
            Decode();
        state_ = DecodeState::Decoded;
    }
    return *bitmap_;
}

void TJPEGImage::Decode()
{
    const auto output = pixelFormat_ == TJPEGPixelFormat::jf8Bit ? JpegOutput::Palette8 : JpegOutput::Colour24;
    decode_jpeg(*data_, output, *bitmap_);
}
