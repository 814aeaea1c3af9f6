// Loads arbitrary bytes as a JPEG picture, decodes it and fits it into the
// product picture box, as the window does with downloaded pictures.

#include "picture/picture.h"

#include <cstddef>
#include <cstdint>

namespace {

// Larger claimed pictures are valid work but slow the search down.
constexpr int64_t kFuzzMaxPixels = int64_t{1} << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Odd sizes take the palette path, even ones true colour.
    TJPEGImage image(size % 2 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit);
    try {
        image.LoadFromBytes({data, size});
    } catch (const Exception&) {
        // A refused picture is an answer, not a finding; its decode is tried below.
    }
    if (int64_t{image.Width()} * image.Height() > kFuzzMaxPixels)
        return 0;
    try {
        image.Bitmap();
    } catch (const Exception&) {
    }
    // The copy takes the bitmap, failed or not, and must not decode again.
    const auto copy = image.Clone();
    const TBitmap& bitmap = copy->Bitmap();
    const TRect rect = DestinationRect(bitmap.Width(), bitmap.Height(), 187, 199, false, true, true);
    ScaleNearest(bitmap, rect.Right - rect.Left, rect.Bottom - rect.Top);
    return 0;
}
