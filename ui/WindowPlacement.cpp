#include "ui/WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace {

int64_t fit_axis(int64_t start, int64_t size, int64_t low, int64_t high)
{
    start = std::min(start, high - size);
    return std::max(start, low);
}

} // namespace

TRect PlaceOnScreen(int left, int top, int width, int height, const TRect& area)
{
    const int64_t x = fit_axis(left, width, area.Left, area.Right);
    const int64_t y = fit_axis(top, height, area.Top, area.Bottom);
    return TRect{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + width), static_cast<int>(y + height)};
}
