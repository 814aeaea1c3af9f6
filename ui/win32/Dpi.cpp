#include "ui/win32/Dpi.h"

namespace {

template <typename Function>
void look_up(HMODULE module, const char* name, Function& function)
{
    // The names are user32's exports; the types are the documented ones.
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

DpiFunctions& in_use()
{
    static DpiFunctions functions = SystemDpiFunctions();
    return functions;
}

UINT system_dpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

DpiFunctions SystemDpiFunctions()
{
    DpiFunctions functions;
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
        look_up(user32, "GetDpiForWindow", functions.get_dpi_for_window);
        look_up(user32, "AdjustWindowRectExForDpi", functions.adjust_window_rect_ex_for_dpi);
        look_up(user32, "GetSystemMetricsForDpi", functions.get_system_metrics_for_dpi);
    }
    return functions;
}

DpiFunctions UseDpiFunctions(const DpiFunctions& functions)
{
    DpiFunctions before = in_use();
    in_use() = functions;
    return before;
}

UINT WindowDpi(HWND hwnd)
{
    if (const auto get = in_use().get_dpi_for_window)
        if (const UINT dpi = get(hwnd); dpi != 0)
            return dpi;
    return system_dpi();
}

void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD ex_style, UINT dpi)
{
    if (const auto adjust = in_use().adjust_window_rect_ex_for_dpi) {
        adjust(&rect, style, FALSE, ex_style, dpi);
        return;
    }
    // The frame at the system dpi, the only one an older Windows gives this process.
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
}

int SystemMetricForDpi(int index, UINT dpi)
{
    if (const auto metric = in_use().get_system_metrics_for_dpi)
        return metric(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(system_dpi()));
}
