#pragma once

#include "picture/FitRule.h"

// Where a window of width x height asked for at (left, top) opens: there when
// it fits wholly in the screen's available area, otherwise moved the least
// needed to fit; a window larger than the area keeps its top-left corner (the
// title bar) inside it. Returns the window's rectangle.
TRect PlaceOnScreen(int left, int top, int width, int height, const TRect& area);
