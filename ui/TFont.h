#pragma once

#include "ui/TColor.h"

#include <string>

// A control's font. Height is the character height in pixels. Name is the
// font the window asks for; where it is not installed the nearest of the same
// style is drawn (each backend picks it).
struct TFont {
    std::string Name = "Tahoma";
    int Height = 11;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    TColor Color = Colors::WindowText;

    bool operator==(const TFont&) const = default;
};
