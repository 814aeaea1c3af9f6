#pragma once

// Private to ui/win32/: a picture scaled with filtering, for the small drawn
// badges on scaled screens (photographs keep whole pixels).

#include "picture/TBitmap.h"

// Bilinear, sampled at pixel centres, edges repeated; a 24-bit result. A size
// of 0 or less gives an empty bitmap.
TBitmap ScaleSmooth(const TBitmap& source, int width, int height);
