#pragma once

// Drives the Win32 controls the way the system does: messages to their
// windows, the form's keyboard through the message loop, pixels read back
// from the screen.

#include "tests/ui/UiTestSupport.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

// A press and release of a mouse button at x, y of the window's client
// area; down is a button-down or double-click message.
inline void Press(HWND hwnd, UINT down, int x, int y, WPARAM keys = 0)
{
    const bool left = down == WM_LBUTTONDOWN || down == WM_LBUTTONDBLCLK;
    const bool right = down == WM_RBUTTONDOWN || down == WM_RBUTTONDBLCLK;
    const WPARAM held = left ? MK_LBUTTON : right ? MK_RBUTTON : MK_MBUTTON;
    const UINT up = left ? WM_LBUTTONUP : right ? WM_RBUTTONUP : WM_MBUTTONUP;
    SendMessageW(hwnd, down, keys | held, MAKELPARAM(x, y));
    SendMessageW(hwnd, up, keys, MAKELPARAM(x, y));
}

// A key pressed where the focus is, through the message loop (and so the
// form's dialog keys).
inline void KeyToFocus(WPARAM key)
{
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 1 | 0xC0000000);
    Application->ProcessMessages();
}

inline std::wstring WindowText(HWND hwnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// The window's rectangle within its parent's client area.
inline RECT PlaceOf(HWND hwnd)
{
    RECT box;
    GetWindowRect(hwnd, &box);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&box), 2);
    return box;
}

// What the screen shows in the window's client area, 0x00RRGGBB per pixel.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// With children, read through a device context that does not leave them
// out, as the window's own (with its clip-children style) does.
inline Shot ShotOf(HWND hwnd, bool with_children = false)
{
    UpdateWindow(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    Shot shot{client.right, client.bottom, {}};
    HDC dc = with_children ? GetDCEx(hwnd, nullptr, DCX_CACHE) : GetDC(hwnd);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* words = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height); ++i)
        shot.pixels.push_back(words[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, dc);
    return shot;
}
