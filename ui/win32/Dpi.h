#pragma once

// Private to ui/win32/: the window's dots per inch on every Windows from 7 on.
// The per-monitor functions came with Windows 10 (1607); they are looked up
// at run time, and where they are missing the system dpi serves.

#include <windows.h>

struct DpiFunctions {
    UINT(WINAPI* get_dpi_for_window)(HWND) = nullptr;
    BOOL(WINAPI* adjust_window_rect_ex_for_dpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* get_system_metrics_for_dpi)(int, UINT) = nullptr;
};

// What user32 has of them, looked up once.
DpiFunctions SystemDpiFunctions();
// Uses these instead from now on (tests: an older Windows); returns those used so far.
DpiFunctions UseDpiFunctions(const DpiFunctions& functions);

// The window's dpi; the system dpi where the window cannot tell.
UINT WindowDpi(HWND hwnd);
// The window rectangle around a client rectangle at dpi.
void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD ex_style, UINT dpi);
// A system metric at dpi.
int SystemMetricForDpi(int index, UINT dpi);
