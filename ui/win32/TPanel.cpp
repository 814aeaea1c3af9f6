#include "ui/TPanel.h"

#include "ui/win32/ControlEvents.h"

namespace {

// The raised bevel's two colours, fixed like the rest of the look.
constexpr COLORREF kBevelLight = RGB(255, 255, 255);
constexpr COLORREF kBevelDark = RGB(159, 159, 159);

void fill(HDC dc, const RECT& area, COLORREF colour)
{
    SetDCBrushColor(dc, colour);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void paint(TPanel& panel, HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, ControlEvents::Background(panel));
    const std::wstring caption = ToWide(panel.Caption());
    if (!caption.empty()) {
        HGDIOBJ old = SelectObject(dc, ControlEvents::Of(panel).font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ToColorRef(panel.Font().Color));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    const LONG w = client.right;
    const LONG h = client.bottom;
    fill(dc, {0, 0, w, 1}, kBevelLight);
    fill(dc, {0, 0, 1, h}, kBevelLight);
    fill(dc, {0, h - 1, w, h}, kBevelDark);
    fill(dc, {w - 1, 0, w, h}, kBevelDark);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK panel_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    try {
        TControl* control = ControlEvents::Attached(hwnd, message, lparam);
        if (control == nullptr)
            return DefWindowProcW(hwnd, message, wparam, lparam);
        auto& panel = static_cast<TPanel&>(*control);
        if (std::optional<LRESULT> result = ControlEvents::Reflect(hwnd, message, wparam, lparam))
            return *result;
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(panel, hwnd);
            return 0;
        default:
            break;
        }
        if (std::optional<LRESULT> result = ControlEvents::Common(panel, hwnd, message, wparam, lparam))
            return *result;
    } catch (...) {
        // Nothing is thrown into the window system.
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

} // namespace

TPanel::TPanel(TControl* parent) : TControl(parent)
{
    RegisterWindowClass(kPanelClass, panel_procedure);
    ControlEvents::Of(*this).clicks_from_mouse = true;
    // A parent of controls the dialog manager looks into for the tab order.
    Attach(ControlEvents::Create(*this, kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, WindowKind::Own));
}

void TPanel::SetCaption(const std::string& caption)
{
    caption_ = caption;
    SetWindowTextW(Widget(), ToWide(caption).c_str());
    InvalidateRect(Widget(), nullptr, TRUE);
}
