#pragma once

// Makes JPEG files in memory with the library's compressor, for tests,
// benchmarks and the fuzz corpus.

#include <cstdint>
#include <functional>
#include <vector>

struct JpegRecipe {
    int Width = 16;
    int Height = 16;
    bool Grayscale = false;
    bool Progressive = false;
    int Quality = 90;
    // Four components as Adobe writes them (inverted CMYK, no black ink).
    bool Cmyk = false;
};

// Colour of the pixel at x, y as 0x00RRGGBB (grayscale files take the green byte).
using PixelColour = std::function<uint32_t(int x, int y)>;

std::vector<uint8_t> make_jpeg(const JpegRecipe& recipe, const PixelColour& colour);

// Four flat quarters: red top left, green top right, blue bottom left, white bottom right.
uint32_t quarters(int x, int y, int width, int height);
std::vector<uint8_t> make_quarters_jpeg(JpegRecipe recipe);
