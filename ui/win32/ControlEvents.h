#pragma once

// Private to ui/win32/: what a control keeps of its window, and the message
// handling every window procedure of the backend shares.

#include "ui/TControl.h"
#include "ui/win32/Win32Bridge.h"

#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A control class's own answer to a message; nullopt leaves the message to
// the next handler.
using MessageHook = std::function<std::optional<LRESULT>(UINT message, WPARAM wparam, LPARAM lparam)>;

struct TControl::Impl {
    HWND hwnd = nullptr;
    // Bounds within the parent at 96 dots per inch, as the program sees them.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // Drop-down lists: the open list's height, below what the program sees.
    int drop_height = 0;
    // The rectangle last given to the window, in device pixels: moving a
    // window where it is already costs as much as moving it.
    RECT placed{};
    // The holes cut in the window where later siblings lie below it, in
    // its own device pixels; none: it has no window region.
    std::vector<RECT> holes;
    FontHandle font;
    // Labels: the text last measured, in which font, and its extent.
    std::wstring measured_text;
    FontHandle measured_font;
    SIZE measured_extent{};
    // The background brush handed out for WM_CTLCOLOR*, and its colour.
    BrushHandle brush;
    COLORREF brush_colour = 0;
    bool mouse_inside = false;
    bool pressed = false;
    // Labels, pictures and panels: a left press and release inside is a click.
    bool clicks_from_mouse = false;
    // Messages to the control's window, before its class procedure sees them.
    MessageHook own;
    // What the parent is told about the control (WM_COMMAND, WM_NOTIFY,
    // WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*), handed back to it.
    MessageHook reflected;
    // Runs after the program moved or sized the control, and after the
    // window's dots per inch changed and the font was made again for it.
    std::function<void()> relayout;
    // Runs once, just before the control's top-level window first shows.
    std::function<void()> first_shown;
    // An error met while painting; reported once the paint is over.
    std::exception_ptr paint_error;
    // What a control class keeps beside its window (the grid's cells).
    std::shared_ptr<void> state;
    // Forms: the dots per inch the window is laid out for; its controls
    // take it from there.
    UINT dpi = 0;
    // Forms: whether the window has been shown.
    bool shown = false;
    // Forms: the holes are to be cut again when the loop next turns.
    bool holes_due = false;
    // Forms: runs after one of its controls' windows moved, grew or was shown
    // or hidden, so the holes between siblings follow.
    std::function<void()> child_moved;
    // Forms: the control that had the keyboard focus when the window was
    // last deactivated, given it back on activation.
    HWND last_focus = nullptr;
};

enum class WindowKind {
    System, // a class of the system (STATIC, BUTTON, ...): subclassed
    Own,    // a class of ours, whose procedure calls ControlEvents itself
};

// Window messages of the backend, from WM_APP up.
inline constexpr UINT kReportPaintError = WM_APP + 1;
inline constexpr UINT kSyncRowCount = WM_APP + 2;
inline constexpr UINT kShowPosition = WM_APP + 3;
inline constexpr UINT kCutHoles = WM_APP + 4;

// The classes of our own windows.
inline constexpr const wchar_t* kFormClass = L"TavrinForm";
inline constexpr const wchar_t* kPanelClass = L"TavrinPanel";
inline constexpr const wchar_t* kImageClass = L"TavrinImage";

// Registers one of our window classes, once.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure);

class ControlEvents {
public:
    using Window = TControl::Impl;
    static Window& Of(const TControl& control) { return *control.impl_; }
    // The control whose window this is; nullptr for a window of no control.
    static TControl* FromWindow(HWND hwnd);

    // Creates the control's window as a child of its parent's window (or as
    // a top-level window when it has no parent), hidden, with no size or at
    // the device rectangle given.
    static HWND Create(TControl& control, const wchar_t* window_class, DWORD style, DWORD ex_style,
                       WindowKind kind, const RECT& at = {});
    // For an own class's procedure: the control from WM_NCCREATE on.
    static TControl* Attached(HWND hwnd, UINT message, LPARAM lparam);

    // The dots per inch of the control's top-level window.
    static UINT Dpi(const TControl& control);
    // Whether the control's top-level window has been shown.
    static bool TopShown(const TControl& control);
    // Moves and sizes the window to the control's bounds at its dpi; with
    // again, even when it was given those last.
    static void Place(TControl& control, bool again = false);
    // Moves and sizes the window to a rectangle in device pixels, unless it
    // was given that one last (or again is set).
    static void MoveTo(TControl& control, const RECT& device, bool again = false);
    // Tells the control's form that the control's window moved, grew, shows
    // or hides.
    static void ChildMoved(const TControl& control);
    // Makes the font again at the window's dpi and hands it to the window.
    static void ApplyFont(TControl& control);
    // The control's background brush, made again when its colour changed.
    static HBRUSH Background(TControl& control);

    static void Click(TControl& control) { control.Click(); }
    static void FontChanged(TControl& control) { control.FontChanged(); }

    // Runs a notification handler through Dispatch.
    static void Fire(TControl& control, const TNotifyEvent& handler);

    // What every control's window does: enter, leave, clicks, the pointer
    // shape, a paint error's report, forgetting the window as it goes.
    static std::optional<LRESULT> Common(TControl& control, HWND hwnd, UINT message, WPARAM wparam,
                                         LPARAM lparam);
    // For windows that hold controls: hands notifications back to the child
    // that sent them and gives a child without its own colours the default.
    static std::optional<LRESULT> Reflect(HWND parent, UINT message, WPARAM wparam, LPARAM lparam);

    // The procedure put in front of the class's on windows of the system's
    // classes; the control is in the window's user data.
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    // Hands a message to the class's own procedure of such a window.
    static LRESULT ClassProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
};

// What a control keeps of its window, by a name the control classes may use.
using ControlWindow = ControlEvents::Window;
