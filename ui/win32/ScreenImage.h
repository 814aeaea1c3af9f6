#pragma once

// Private to ui/win32/: pixels read back from the screen, and PNG files of
// them (through the Windows Imaging Component).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bgra; // rows top to bottom, 0x00RRGGBB
    bool Empty() const { return width <= 0 || height <= 0; }
};

// What the screen shows in a window's client area, or on the whole primary
// screen.
ScreenPixels CaptureClient(HWND hwnd);
ScreenPixels CaptureScreen();

// False when the file cannot be written.
bool SavePng(const std::string& path, const ScreenPixels& pixels);
