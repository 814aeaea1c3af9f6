#include "picture/ScreenDepth.h"

namespace {
int screen_bits_per_pixel = 24;
}

int ScreenBitsPerPixel()
{
    return screen_bits_per_pixel;
}

void SetScreenBitsPerPixel(int bits)
{
    screen_bits_per_pixel = bits;
}
