#pragma once

#include "picture/TBitmap.h"

struct TRect {
    int Left, Top, Right, Bottom;
    bool operator==(const TRect&) const = default;
};

// Where a picture box draws a w x h picture in its cw x ch client area.
// Pictures are scaled down only (unless stretch), keeping proportions when asked.
TRect DestinationRect(int w, int h, int cw, int ch, bool stretch, bool proportional, bool center);

// Scales by dropping or repeating whole pixels and lines, no filtering.
// An 8-bit bitmap keeps its palette. A size of 0 or less gives an empty bitmap.
TBitmap ScaleNearest(const TBitmap& source, int width, int height);
