#pragma once

// Private to ui/win32/: a window's icons from the bytes of an .ico file.

#include <windows.h>

#include <cstdint>
#include <span>

// Gives the window the file's images for its small and large icon, each
// picked by the system's rules for the size and the screen's colours. A
// file that cannot be read leaves the icons as they were.
void SetWindowIcons(HWND hwnd, std::span<const uint8_t> ico_file);
// Frees the icons SetWindowIcons gave the window; for its last message.
void DestroyWindowIcons(HWND hwnd);
