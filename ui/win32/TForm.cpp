#include "ui/TForm.h"

#include "ui/Dispatch.h"
#include "ui/TApplication.h"
#include "ui/TProgressBar.h"
#include "ui/WindowPlacement.h"
#include "ui/win32/Accessibility.h"
#include "ui/win32/ControlEvents.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/FormLayers.h"
#include "ui/win32/ScreenImage.h"
#include "ui/win32/IconFile.h"

#include <algorithm>
#include <utility>

namespace {

// A single fixed border, a title bar with the system menu and the minimise
// button only.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

TForm& form_of(TControl& control)
{
    return static_cast<TForm&>(control);
}

// The window's frame around the client size, at the window's dpi.
SIZE frame_size(const TForm& form)
{
    const UINT dpi = ControlEvents::Dpi(form);
    RECT frame{0, 0, Scale(form.ClientWidth(), dpi), Scale(form.ClientHeight(), dpi)};
    AdjustFrameForDpi(frame, kFormStyle, kFormExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void resize_to_client(TForm& form)
{
    const SIZE size = frame_size(form);
    SetWindowPos(form.Widget(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void paint_background(TForm& form, HDC dc)
{
    RECT client;
    GetClientRect(form.Widget(), &client);
    FillRect(dc, &client, ControlEvents::Background(form));
}

// The window moved to a screen of another scale: everything is laid out and
// its fonts made again at the new dpi, in the rectangle Windows suggests.
void change_dpi(TForm& form, UINT dpi, const RECT& suggested)
{
    ControlEvents::Of(form).dpi = dpi;
    ControlEvents::ApplyFont(form);
    if (const std::function<void()> rescale = ControlEvents::Of(form).relayout)
        rescale();
    SetWindowPos(form.Widget(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Closing hides the window; closing the main form ends the message loop.
void close(TForm& form)
{
    ShowWindow(form.Widget(), SW_HIDE);
    if (Application != nullptr && Application->MainForm() == &form)
        PostQuitMessage(0);
}

// A window that is no dialog keeps its focused control over deactivation
// only when it does so itself.
void activate(TForm& form, WPARAM state)
{
    ControlWindow& impl = ControlEvents::Of(form);
    HWND hwnd = form.Widget();
    if (LOWORD(state) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd, focus))
            impl.last_focus = focus;
    } else if (impl.last_focus != nullptr && IsWindow(impl.last_focus) && IsChild(hwnd, impl.last_focus)) {
        SetFocus(impl.last_focus);
    }
}

LRESULT CALLBACK form_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept
{
    try {
        TControl* control = ControlEvents::Attached(hwnd, message, lparam);
        if (control == nullptr)
            return DefWindowProcW(hwnd, message, wparam, lparam);
        TForm& form = form_of(*control);
        if (std::optional<LRESULT> result = ControlEvents::Reflect(hwnd, message, wparam, lparam))
            return *result;
        if (const MessageHook own = ControlEvents::Of(form).own)
            if (std::optional<LRESULT> result = own(message, wparam, lparam))
                return *result;
        switch (message) {
        case WM_ERASEBKGND:
            paint_background(form, reinterpret_cast<HDC>(wparam));
            return 1;
        case WM_CLOSE:
            close(form);
            return 0;
        case WM_ACTIVATE:
            activate(form, wparam);
            return 0;
        case WM_DPICHANGED:
            change_dpi(form, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_NCDESTROY:
            DestroyWindowIcons(hwnd);
            break;
        default:
            break;
        }
        if (std::optional<LRESULT> result = ControlEvents::Common(form, hwnd, message, wparam, lparam))
            return *result;
    } catch (...) {
        // Nothing is thrown into the window system.
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

// Cuts the holes a posted turn of the loop was to cut, if still due.
void cut_due_holes(TForm& form, const std::vector<std::unique_ptr<TControl>>& controls)
{
    if (std::exchange(ControlEvents::Of(form).holes_due, false))
        CutHoles(form, controls);
}

} // namespace

TForm::TForm() : TControl(nullptr)
{
    RegisterWindowClass(kFormClass, form_procedure);
    Attach(ControlEvents::Create(*this, kFormClass, kFormStyle, kFormExStyle, WindowKind::Own));
    SetColor(Colors::WindowBackground);
    ControlEvents::Of(*this).relayout = [this] {
        for (const auto& control : controls_) {
            ControlEvents::ApplyFont(*control);
            ControlEvents::Place(*control);
            ControlEvents::FontChanged(*control);
            if (const std::function<void()> rescale = ControlEvents::Of(*control).relayout)
                rescale();
        }
        ApplyLayers(*this, controls_);
    };
    // Once the layers are set, a label that grows over a later control gets
    // its hole there when the loop next turns, before any input it holds: a
    // handler moves a label more than once (its text, then its unit) and
    // only where it ends counts, for a new region costs the window and the
    // windows it uncovers a paint each.
    ControlEvents::Of(*this).child_moved = [this] {
        ControlWindow& form = ControlEvents::Of(*this);
        if (form.shown && !form.holes_due && PostMessageW(form.hwnd, kCutHoles, 0, 0))
            form.holes_due = true;
    };
    ControlEvents::Of(*this).own = [this](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != kCutHoles)
            return std::nullopt;
        cut_due_holes(*this, controls_);
        return 0;
    };
}

TForm::~TForm()
{
    ControlEvents::Of(*this).child_moved = nullptr;
    // Children go before their parents: later controls were created later.
    while (!controls_.empty())
        controls_.pop_back();
}

void TForm::SetCaption(const std::string& caption)
{
    caption_ = caption;
    SetWindowTextW(Widget(), ToWide(caption).c_str());
    // A progress bar is named by what the caption says is going on.
    for (const auto& control : controls_)
        if (dynamic_cast<TProgressBar*>(control.get()) != nullptr)
            RefreshAccessibleName(*control);
}

int TForm::ClientWidth() const { return Width(); }
int TForm::ClientHeight() const { return Height(); }

void TForm::SetClientSize(int width, int height)
{
    ControlWindow& impl = ControlEvents::Of(*this);
    impl.width = std::max(width, 0);
    impl.height = std::max(height, 0);
    resize_to_client(*this);
}

void TForm::SetBounds(int left, int top, int, int)
{
    design_left_ = left;
    design_top_ = top;
    if (shown_before_)
        PlaceOnItsScreen();
}

void TForm::PlaceOnItsScreen()
{
    // The design position at the window's scale, moved the least needed for
    // the whole window to lie on the work area of the screen it is on.
    const UINT dpi = ControlEvents::Dpi(*this);
    const SIZE size = frame_size(*this);
    const POINT design{Scale(design_left_, dpi), Scale(design_top_, dpi)};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(design, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const TRect placed = PlaceOnScreen(design.x, design.y, size.cx, size.cy,
                                       TRect{work.left, work.top, work.right, work.bottom});
    SetWindowPos(Widget(), nullptr, placed.Left, placed.Top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetIcon(std::span<const uint8_t> ico_file)
{
    SetWindowIcons(Widget(), ico_file);
}

void TForm::Show()
{
    HWND hwnd = Widget();
    const bool first = !shown_before_;
    if (first) {
        shown_before_ = true;
        ControlEvents::Of(*this).shown = true;
        PlaceOnItsScreen();
        ApplyTabOrder();
        for (const auto& control : controls_)
            if (const std::function<void()> run = std::exchange(ControlEvents::Of(*control).first_shown, nullptr))
                run();
    }
    SetVisible(true);
    SetForegroundWindow(hwnd);
    if (first) {
        // Focus shows from the start, not only after the first key.
        SendMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        if (TControl* focus = FirstFocus())
            SetFocus(focus->Widget());
    }
    UpdateWindow(hwnd);
}

void TForm::Close()
{
    SendMessageW(Widget(), WM_CLOSE, 0, 0);
}

bool TForm::SaveImage(const std::string& path)
{
    // The picture shows the window as the next turn of the loop leaves it.
    cut_due_holes(*this, controls_);
    UpdateWindow(Widget());
    return SavePng(path, CaptureClient(Widget()));
}

void TForm::ApplyTabOrder()
{
    ApplyLayers(*this, controls_);
}
