#include "picture/FitRule.h"

#include <vector>

TRect DestinationRect(int w, int h, int cw, int ch, bool stretch, bool proportional, bool center)
{
    if (stretch || (proportional && (w > cw || h > ch))) {
        if (proportional && w > 0 && h > 0) {
            const double a = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / a);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * a);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * a);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / a);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect rect{0, 0, w, h};
    if (center) {
        // 64 bits: a picture far larger than the box must not overflow.
        const auto dx = static_cast<int>((int64_t{cw} - w) / 2);
        const auto dy = static_cast<int>((int64_t{ch} - h) / 2);
        rect = {dx, dy, static_cast<int>(int64_t{w} + dx), static_cast<int>(int64_t{h} + dy)};
    }
    return rect;
}

TBitmap ScaleNearest(const TBitmap& source, int width, int height)
{
    if (width <= 0 || height <= 0 || source.Empty())
        return TBitmap(0, 0, source.BitsPerPixel());
    TBitmap target(width, height, source.BitsPerPixel());
    target.SetPalette(source.Palette());
    const int pixel = source.BitsPerPixel() / 8;
    // The source column of every target column, worked out once.
    std::vector<size_t> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<size_t>(x)] =
            static_cast<size_t>(int64_t{x} * source.Width() / width) * static_cast<size_t>(pixel);
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = source.ScanLine(static_cast<int>(int64_t{y} * source.Height() / height));
        uint8_t* to = target.ScanLine(y);
        for (size_t x = 0; x < columns.size(); ++x) {
            for (int b = 0; b < pixel; ++b)
                *to++ = from[columns[x] + static_cast<size_t>(b)];
        }
    }
    return target;
}
