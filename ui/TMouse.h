#pragma once

enum class TMouseButton { Left, Right, Middle };

// Modifier keys and buttons held at a mouse event; Double marks the second
// press of a double click.
struct TShiftState {
    bool Shift = false;
    bool Alt = false;
    bool Ctrl = false;
    bool Left = false;
    bool Right = false;
    bool Middle = false;
    bool Double = false;
};
