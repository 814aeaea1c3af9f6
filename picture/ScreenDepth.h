#pragma once

// Bits per pixel of the screen (bits times planes), read once at start.
// Decides whether JPEG pictures decode to 24-bit colour or an 8-bit palette.
int ScreenBitsPerPixel();
void SetScreenBitsPerPixel(int bits);
