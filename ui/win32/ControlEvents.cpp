#include "ui/win32/ControlEvents.h"

#include "base/Exception.h"
#include "ui/Dispatch.h"
#include "ui/TControl.h"
#include "ui/win32/Dpi.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The procedures of our own window classes. A window with one of them, or
// with the procedure put in front of a system class's, is ours and has its
// control in its user data; any other window's user data is not ours to read.
std::vector<WNDPROC>& own_procedures()
{
    static std::vector<WNDPROC> procedures;
    return procedures;
}

// The control whose window CreateWindowExW is making: owner-drawn lists ask
// their parent for item heights before the call returns.
TControl* g_creating = nullptr;
int g_next_child_id = 100;

bool all_client_area(HWND hwnd)
{
    RECT window;
    RECT client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    return window.right - window.left == client.right && window.bottom - window.top == client.bottom;
}

void forget_window(TControl& control, HWND hwnd)
{
    ControlWindow& impl = ControlEvents::Of(control);
    if (impl.hwnd == hwnd)
        impl.hwnd = nullptr;
}

} // namespace

void RegisterWindowClass(const wchar_t* name, WNDPROC procedure)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing))
        return;
    own_procedures().push_back(procedure);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    // What every class draws depends on its size: a new size repaints all.
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = name;
    // No background brush: every class paints its own background.
    RegisterClassExW(&window_class);
}

TControl* ControlEvents::FromWindow(HWND hwnd)
{
    if (hwnd == nullptr)
        return nullptr;
    // Read from the window itself: a window property would be a round trip
    // to the window server under Wine, for every notification a parent gets.
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    const std::vector<WNDPROC>& own = own_procedures();
    if (procedure != SubclassProc && std::find(own.begin(), own.end(), procedure) == own.end())
        return nullptr;
    return reinterpret_cast<TControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

HWND ControlEvents::Create(TControl& control, const wchar_t* window_class, DWORD style, DWORD ex_style,
                           WindowKind kind, const RECT& at)
{
    const TControl* parent = control.Parent();
    HWND parent_window = parent != nullptr ? Of(*parent).hwnd : nullptr;
    HMENU id = nullptr;
    if (parent_window != nullptr) {
        // Siblings clip each other, so the stacking order decides what shows.
        style |= WS_CHILD | WS_CLIPSIBLINGS;
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(g_next_child_id++));
    }
    TControl* outer = std::exchange(g_creating, &control);
    HWND hwnd = CreateWindowExW(ex_style, window_class, L"", style & ~WS_VISIBLE, at.left, at.top, at.right - at.left,
                                at.bottom - at.top, parent_window, id, GetModuleHandleW(nullptr), &control);
    g_creating = outer;
    if (hwnd == nullptr)
        throw Exception("Error creating window");
    Of(control).placed = at;
    if (kind == WindowKind::System) {
        // Our procedure goes in front of the class's by the window's own
        // procedure: the common controls' subclass chain looks the chain up
        // in a window property on every message, which costs a round trip
        // to the window server under Wine (a move took five times as long).
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
    }
    Of(control).hwnd = hwnd;
    return hwnd;
}

TControl* ControlEvents::Attached(HWND hwnd, UINT message, LPARAM lparam)
{
    if (message == WM_NCCREATE) {
        auto* control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
        Of(*control).hwnd = hwnd;
        return control;
    }
    return reinterpret_cast<TControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

UINT ControlEvents::Dpi(const TControl& control)
{
    const TControl* top = &control;
    while (top->Parent() != nullptr)
        top = top->Parent();
    ControlWindow& window = Of(*top);
    // Read once; WM_DPICHANGED tells of every change after that.
    if (window.dpi == 0 && window.hwnd != nullptr)
        window.dpi = WindowDpi(window.hwnd);
    return window.dpi != 0 ? window.dpi : USER_DEFAULT_SCREEN_DPI;
}

bool ControlEvents::TopShown(const TControl& control)
{
    const TControl* top = &control;
    while (top->Parent() != nullptr)
        top = top->Parent();
    return Of(*top).shown;
}

void ControlEvents::Place(TControl& control, bool again)
{
    const ControlWindow& impl = Of(control);
    if (impl.hwnd == nullptr)
        return;
    const UINT dpi = Dpi(control);
    const int left = Scale(impl.left, dpi);
    const int top = Scale(impl.top, dpi);
    MoveTo(control, {left, top, left + Scale(impl.width, dpi), top + Scale(impl.height + impl.drop_height, dpi)},
           again);
}

void ControlEvents::MoveTo(TControl& control, const RECT& device, bool again)
{
    ControlWindow& impl = Of(control);
    if (impl.hwnd == nullptr || (!again && EqualRect(&device, &impl.placed)))
        return;
    impl.placed = device;
    // What the move uncovers is erased with the next paint: erased at once,
    // the parent and every window under it are erased for each label a
    // handler fits (under Wine a millisecond a label). No bits are copied: a
    // control moves when its text or the window's scale changed, so it is
    // painted whole anyway, and under Wine the copy costs five calls to the
    // server a move.
    SetWindowPos(impl.hwnd, nullptr, device.left, device.top, device.right - device.left, device.bottom - device.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE | SWP_NOCOPYBITS);
    ChildMoved(control);
}

void ControlEvents::ChildMoved(const TControl& control)
{
    const TControl* top = &control;
    while (top->Parent() != nullptr)
        top = top->Parent();
    if (top != &control)
        if (const std::function<void()> follow = Of(*top).child_moved)
            follow();
}

void ControlEvents::ApplyFont(TControl& control)
{
    ControlWindow& impl = Of(control);
    if (impl.hwnd == nullptr)
        return;
    FontHandle font = ControlFont(control.Font(), Dpi(control));
    if (font == impl.font)
        return;
    // The window lets go of the old font before it is deleted.
    SendMessageW(impl.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    impl.font = std::move(font);
}

HBRUSH ControlEvents::Background(TControl& control)
{
    ControlWindow& impl = Of(control);
    const COLORREF colour = ToColorRef(control.Color());
    if (!impl.brush || impl.brush_colour != colour) {
        impl.brush.reset(CreateSolidBrush(colour));
        impl.brush_colour = colour;
    }
    return impl.brush.get();
}

void ControlEvents::Fire(TControl& control, const TNotifyEvent& handler)
{
    // A copy, so a handler may rebind its own event while it runs.
    if (TNotifyEvent run = handler)
        Dispatch([&] { run(&control); });
}

std::optional<LRESULT> ControlEvents::Common(TControl& control, HWND hwnd, UINT message, WPARAM, LPARAM lparam)
{
    ControlWindow& impl = Of(control);
    switch (message) {
    case WM_MOUSEMOVE:
        if (!impl.mouse_inside) {
            impl.mouse_inside = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            Fire(control, control.OnMouseEnter);
        }
        break;
    case WM_MOUSELEAVE:
        impl.mouse_inside = false;
        Fire(control, control.OnMouseLeave);
        break;
    case WM_LBUTTONDOWN:
        if (impl.clicks_from_mouse) {
            impl.pressed = true;
            SetCapture(hwnd);
        }
        break;
    case WM_LBUTTONUP:
        if (impl.clicks_from_mouse) {
            const bool was_pressed = std::exchange(impl.pressed, false);
            if (GetCapture() == hwnd)
                ReleaseCapture();
            RECT client;
            GetClientRect(hwnd, &client);
            const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            if (was_pressed && PtInRect(&client, at))
                Click(control);
        }
        break;
    case WM_CAPTURECHANGED:
        impl.pressed = false;
        break;
    case WM_SETCURSOR:
        if (control.Cursor() == TCursor::HandPoint && LOWORD(lparam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case kReportPaintError:
        if (std::exception_ptr error = std::exchange(impl.paint_error, nullptr))
            Dispatch([error] { std::rethrow_exception(error); });
        return 0;
    case WM_NCPAINT:
        // A window that is all client area has no frame to paint. The default
        // procedure would take a window DC all the same, and under Wine that
        // DC costs a call to the server now and three when the window moves.
        if (all_client_area(hwnd))
            return 0;
        break;
    case WM_NCDESTROY:
        forget_window(control, hwnd);
        break;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<LRESULT> ControlEvents::Reflect(HWND parent, UINT message, WPARAM wparam, LPARAM lparam)
{
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lparam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lparam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        child = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        child = GetDlgItem(parent, static_cast<int>(reinterpret_cast<const MEASUREITEMSTRUCT*>(lparam)->CtlID));
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        child = reinterpret_cast<HWND>(lparam);
        break;
    default:
        return std::nullopt;
    }
    TControl* control = FromWindow(child);
    if (control == nullptr && message == WM_MEASUREITEM)
        control = g_creating;
    if (control == nullptr)
        return std::nullopt;
    if (const MessageHook hook = Of(*control).reflected)
        if (std::optional<LRESULT> result = hook(message, wparam, lparam))
            return result;
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        // Text in the control's font colour on its background.
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, control->Enabled() ? ToColorRef(control->Font().Color) : kDisabledText);
        SetBkColor(dc, ToColorRef(control->Color()));
        SetBkMode(dc, OPAQUE);
        return reinterpret_cast<LRESULT>(Background(*control));
    }
    return std::nullopt;
}

LRESULT ControlEvents::ClassProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    // Only the window was given our procedure; its class keeps its own.
    const auto procedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    return CallWindowProcW(procedure, hwnd, message, wparam, lparam);
}

LRESULT CALLBACK ControlEvents::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    try {
        if (auto* control = reinterpret_cast<TControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            if (message == WM_NCDESTROY) {
                SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
                forget_window(*control, hwnd);
                return ClassProcedure(hwnd, message, wparam, lparam);
            }
            if (const MessageHook own = Of(*control).own)
                if (std::optional<LRESULT> result = own(message, wparam, lparam))
                    return *result;
            if (std::optional<LRESULT> result = Common(*control, hwnd, message, wparam, lparam))
                return *result;
        }
    } catch (...) {
        // Nothing is thrown into the window system; the class gets the message.
    }
    return ClassProcedure(hwnd, message, wparam, lparam);
}
