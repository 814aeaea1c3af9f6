#include "picture/picture.h"

#include <gtest/gtest.h>

#include <climits>

TEST(DestinationRect, BoxesPlacePicturesAsTheWindowShowsThem)
{
    struct Case {
        const char* name;
        int w, h, cw, ch;
        bool stretch, proportional, center;
        TRect expected;
    };
    const Case cases[] = {
        // The window's boxes: centred, proportional, not stretched.
        {"square product picture", 310, 310, 187, 199, false, true, true, {0, 6, 187, 193}},
        {"landscape picture", 400, 200, 187, 199, false, true, true, {0, 53, 187, 146}},
        {"small icon is not enlarged", 60, 20, 75, 67, false, true, true, {7, 23, 67, 43}},
        {"portrait truncates its width", 150, 250, 187, 199, false, true, true, {34, 0, 153, 199}},
        {"exact fit", 187, 199, 187, 199, false, true, true, {0, 0, 187, 199}},
        {"one pixel too wide", 188, 10, 187, 199, false, true, true, {0, 95, 187, 104}},
        {"landscape still too tall after the width", 300, 299, 187, 100, false, true, true, {43, 0, 143, 100}},
        {"empty picture sits in the middle", 0, 0, 187, 199, false, true, true, {93, 99, 93, 99}},
        {"zero width but too tall fills the box", 0, 300, 75, 67, false, true, true, {0, 0, 75, 67}},
        // Other flag combinations.
        {"stretch enlarges keeping proportions", 50, 25, 187, 199, true, true, true, {0, 53, 187, 146}},
        {"stretch without proportions fills", 10, 300, 75, 67, true, false, true, {0, 0, 75, 67}},
        {"no flags: own size at the corner", 400, 200, 187, 199, false, false, false, {0, 0, 400, 200}},
        {"centred only: a large picture hangs over", 400, 200, 187, 199, false, false, true, {-106, 0, 294, 200}},
        {"not centred", 60, 20, 75, 67, false, true, false, {0, 0, 60, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TRect r = DestinationRect(c.w, c.h, c.cw, c.ch, c.stretch, c.proportional, c.center);
        EXPECT_EQ(r.Left, c.expected.Left);
        EXPECT_EQ(r.Top, c.expected.Top);
        EXPECT_EQ(r.Right, c.expected.Right);
        EXPECT_EQ(r.Bottom, c.expected.Bottom);
    }
}

TEST(DestinationRect, HugePictureDoesNotOverflowWhileCentring)
{
    const TRect r = DestinationRect(INT_MAX, INT_MAX, -INT_MAX, 10, false, false, true);
    EXPECT_EQ(r.Left, -INT_MAX);
    EXPECT_EQ(r.Right - r.Left, INT_MAX);
    const TRect fitted = DestinationRect(INT_MAX, 1, 187, 199, false, true, true);
    EXPECT_EQ(fitted, (TRect{0, 99, 187, 99}));
}

namespace {

TBitmap row_of(std::initializer_list<uint8_t> indexes)
{
    TBitmap bitmap(static_cast<int>(indexes.size()), 1, 8);
    std::copy(indexes.begin(), indexes.end(), bitmap.ScanLine(0));
    bitmap.SetPalette({0x000000, 0x111111, 0x222222, 0x333333});
    return bitmap;
}

std::vector<uint8_t> row_values(const TBitmap& bitmap, int y)
{
    return {bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.BytesPerLine()};
}

} // namespace

TEST(ScaleNearest, DropsAndRepeatsWholePixelsWithoutBlending)
{
    struct Case {
        const char* name;
        int width;
        std::vector<uint8_t> expected;
    };
    const Case cases[] = {
        {"same size", 4, {0, 1, 2, 3}},
        {"half drops every other pixel", 2, {0, 2}},
        {"double repeats each pixel", 8, {0, 0, 1, 1, 2, 2, 3, 3}},
        {"uneven shrink", 3, {0, 1, 2}},
        {"uneven grow", 6, {0, 0, 1, 2, 2, 3}},
        {"one pixel", 1, {0}},
    };
    const TBitmap source = row_of({0, 1, 2, 3});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TBitmap scaled = ScaleNearest(source, c.width, 1);
        EXPECT_EQ(row_values(scaled, 0), c.expected);
        EXPECT_EQ(scaled.Palette(), source.Palette());
    }
}

TEST(ScaleNearest, ColourPixelsMoveAsWholeTriplesAndLinesRepeat)
{
    TBitmap source(2, 2, 24);
    const uint8_t top[] = {1, 2, 3, 4, 5, 6};
    const uint8_t bottom[] = {7, 8, 9, 10, 11, 12};
    std::copy(std::begin(top), std::end(top), source.ScanLine(0));
    std::copy(std::begin(bottom), std::end(bottom), source.ScanLine(1));
    const TBitmap scaled = ScaleNearest(source, 3, 4);
    ASSERT_EQ(scaled.BitsPerPixel(), 24);
    EXPECT_EQ(row_values(scaled, 0), (std::vector<uint8_t>{1, 2, 3, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(row_values(scaled, 1), row_values(scaled, 0));
    EXPECT_EQ(row_values(scaled, 2), (std::vector<uint8_t>{7, 8, 9, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(row_values(scaled, 3), row_values(scaled, 2));
}

TEST(ScaleNearest, NothingToDrawGivesAnEmptyBitmap)
{
    const TBitmap source = row_of({0, 1});
    EXPECT_TRUE(ScaleNearest(source, 0, 5).Empty());
    EXPECT_TRUE(ScaleNearest(source, 5, -1).Empty());
    EXPECT_TRUE(ScaleNearest(TBitmap(), 5, 5).Empty());
}

TEST(TBitmap, OversizedBitmapIsRefusedNotAllocated)
{
    EXPECT_THROW(TBitmap(INT_MAX, INT_MAX, 24), EInvalidGraphic);
    EXPECT_THROW(TBitmap(INT_MAX, 1, 24), EInvalidGraphic);
    EXPECT_TRUE(TBitmap(-5, 3, 8).Empty());
}
