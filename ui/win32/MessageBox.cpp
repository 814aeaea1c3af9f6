#include "ui/MessageBox.h"

#include "ui/win32/Win32Bridge.h"

namespace {

// The fatal box's button says "OK" in every language: the box is given the
// text as it opens.
thread_local HHOOK g_box_hook = nullptr;

LRESULT CALLBACK name_ok_button(int code, WPARAM wparam, LPARAM lparam) noexcept
{
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wparam);
        if (HWND ok = GetDlgItem(box, IDOK))
            SetWindowTextW(ok, L"OK");
        UnhookWindowsHookEx(g_box_hook);
        g_box_hook = nullptr;
        return 0;
    }
    return CallNextHookEx(g_box_hook, code, wparam, lparam);
}

} // namespace

void RunMessageBox(const std::string& text, const std::string& caption, MessageKind kind)
{
    const std::wstring wide_text = ToWide(text);
    const std::wstring wide_caption = ToWide(caption);
    if (kind == MessageKind::ErrorReport) {
        // Modal to the window that is active, over which it opens.
        MessageBoxW(GetActiveWindow(), wide_text.c_str(), wide_caption.c_str(), MB_OK | MB_ICONSTOP);
        return;
    }
    // No owner: the box opens centred on the screen, with no window behind
    // it waiting.
    g_box_hook = SetWindowsHookExW(WH_CBT, name_ok_button, nullptr, GetCurrentThreadId());
    MessageBoxW(nullptr, wide_text.c_str(), wide_caption.c_str(), MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
    if (g_box_hook != nullptr) {
        UnhookWindowsHookEx(g_box_hook);
        g_box_hook = nullptr;
    }
}
