#include "ui/win32/SmoothScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct Sample {
    int low;
    int high;
    int weight; // of high, in 256ths
};

// Where each destination pixel's centre falls between two source pixels.
std::vector<Sample> samples(int source, int destination)
{
    std::vector<Sample> out(static_cast<size_t>(destination));
    for (int d = 0; d < destination; ++d) {
        const int64_t at = ((2 * int64_t{d} + 1) * source * 256) / (2 * int64_t{destination}) - 128;
        const int64_t clamped = std::clamp<int64_t>(at, 0, (int64_t{source} - 1) * 256);
        const int low = static_cast<int>(clamped / 256);
        out[static_cast<size_t>(d)] = {low, std::min(low + 1, source - 1), static_cast<int>(clamped % 256)};
    }
    return out;
}

// The source as R, G, B bytes whatever its depth.
std::vector<uint8_t> rgb_of(const TBitmap& source)
{
    const int w = source.Width();
    const int h = source.Height();
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
    const std::vector<uint32_t>& palette = source.Palette();
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = source.ScanLine(y);
        uint8_t* out = rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        for (int x = 0; x < w; ++x) {
            if (source.BitsPerPixel() == 8) {
                const uint32_t c = row[x] < palette.size() ? palette[row[x]] : 0;
                out[3 * x] = static_cast<uint8_t>(c >> 16);
                out[3 * x + 1] = static_cast<uint8_t>(c >> 8);
                out[3 * x + 2] = static_cast<uint8_t>(c);
            } else {
                std::copy_n(row + 3 * x, 3, out + 3 * x);
            }
        }
    }
    return rgb;
}

} // namespace

TBitmap ScaleSmooth(const TBitmap& source, int width, int height)
{
    if (width <= 0 || height <= 0 || source.Empty())
        return TBitmap();
    TBitmap scaled(width, height, 24);
    const std::vector<uint8_t> rgb = rgb_of(source);
    const size_t stride = static_cast<size_t>(source.Width()) * 3;
    const std::vector<Sample> xs = samples(source.Width(), width);
    const std::vector<Sample> ys = samples(source.Height(), height);
    for (int y = 0; y < height; ++y) {
        const Sample& sy = ys[static_cast<size_t>(y)];
        const uint8_t* top = rgb.data() + static_cast<size_t>(sy.low) * stride;
        const uint8_t* bottom = rgb.data() + static_cast<size_t>(sy.high) * stride;
        uint8_t* out = scaled.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const Sample& sx = xs[static_cast<size_t>(x)];
            for (int c = 0; c < 3; ++c) {
                const int upper = top[3 * sx.low + c] * (256 - sx.weight) + top[3 * sx.high + c] * sx.weight;
                const int lower = bottom[3 * sx.low + c] * (256 - sx.weight) + bottom[3 * sx.high + c] * sx.weight;
                out[3 * x + c] = static_cast<uint8_t>((upper * (256 - sy.weight) + lower * sy.weight + 32768) >> 16);
            }
        }
    }
    return scaled;
}
