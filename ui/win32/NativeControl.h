#pragma once

// On Windows a control is a window: NativeControl is the HWND.
struct HWND__;
using NativeControl = HWND__*;
