// The start-up benchmark's second Windows baseline: the bare window with what
// any program pays for the client's kind of window under the same system,
// and nothing of the client's own code: the version-6 common controls (by
// the client's manifest), COM and Winsock loaded and started, and 31
// controls of the client's classes, fonts and texts made at their places in
// one go (20 labels, 4 picture windows, 2 drop-down lists of 8 items, a
// panel, a list view of 24 rows, 2 buttons, a progress bar).
#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cwchar>
#include <initializer_list>

namespace {

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

HFONT font(int height, bool bold, bool underline, bool strike, const wchar_t* face)
{
    return CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, strike, DEFAULT_CHARSET,
                       OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, face);
}

class Maker {
public:
    Maker(HINSTANCE instance) : instance_(instance) {}
    HWND Child(const wchar_t* window_class, const wchar_t* text, DWORD style, RECT at, HWND parent, HFONT f)
    {
        HWND child = CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, at.left,
                                     at.top, at.right, at.bottom, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(next_id_++)), instance_, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
        return child;
    }

private:
    HINSTANCE instance_;
    int next_id_ = 100;
};

void make_controls(HINSTANCE instance, HWND window)
{
    WNDCLASSW own{};
    own.lpfnWndProc = DefWindowProcW;
    own.hInstance = instance;
    own.lpszClassName = L"BareChild";
    RegisterClassW(&own);
    const HFONT fonts[] = {font(11, false, false, false, L"Tahoma"),         font(16, true, false, false, L"Tahoma"),
                           font(12, false, false, false, L"Tahoma"),         font(14, true, true, false, L"Tahoma"),
                           font(16, true, false, true, L"Times New Roman"),  font(29, true, false, false, L"Times New Roman"),
                           font(14, true, false, false, L"Tahoma"),          font(11, true, false, false, L"Tahoma")};
    const wchar_t* texts[] = {L"0000000000000000000000000000000000000000000000000000000000000000000",
                              L"1000", L"\x4ef7\x683c:", L"69.5", L"\x6708\x9500\x91cf:", L"\x4fc3\x9500:", L"1000",
                              L"\x54c1\x724c:", L"1000", L"\x4eba\x6c14:", L"1000\x4ef6", L"\x5143", L"\x5143",
                              L"\x5143", L"\x4ef6", L"\x5546\x54c1\x5927\x5206\x7c7b:", L"\x5546\x54c1\x5c0f\x5206\x7c7b:",
                              L"\x641c\x7d22\x7ed3\x679c:", L"5628\x4ef6"};
    Maker maker(instance);
    // Labels sized to their texts, as the client's are.
    HDC dc = CreateCompatibleDC(nullptr);
    int i = 0;
    for (const wchar_t* text : texts) {
        const HFONT f = fonts[i % 8];
        SelectObject(dc, f);
        SIZE size{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
        maker.Child(L"STATIC", text, SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, {8 + i * 3, 248 + i * 5, size.cx, size.cy},
                    window, f);
        ++i;
    }
    DeleteDC(dc);
    for (int k = 0; k < 4; ++k)
        maker.Child(L"BareChild", L"", 0, {8 + 80 * k, 274, 75, 67}, window, fonts[0]);
    for (int k = 0; k < 2; ++k) {
        HWND list = maker.Child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP,
                                {77 + 208 * k, 15, 129, 21 + 106}, window, fonts[7]);
        for (int item = 0; item < 8; ++item)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"\x5546\x54c1"));
        SendMessageW(list, CB_SETCURSEL, 0, 0);
    }
    HWND panel = maker.Child(L"BareChild", L"Panel1", WS_CLIPCHILDREN, {8, 44, 638, 193}, window, fonts[0]);
    maker.Child(L"STATIC", L"1/24", SS_LEFTNOWORDWRAP, {47, 7, 22, 13}, panel, fonts[0]);
    HWND rows = maker.Child(WC_LISTVIEWW, L"", LVS_REPORT | LVS_OWNERDATA | LVS_NOCOLUMNHEADER | WS_TABSTOP | WS_BORDER,
                            {4, 24, 633, 169}, panel, fonts[0]);
    SendMessageW(rows, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNW c{};
        c.mask = LVCF_WIDTH;
        c.cx = column == 0 ? 37 : 577;
        SendMessageW(rows, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
    }
    SendMessageW(rows, LVM_SETITEMCOUNT, 24, 0);
    maker.Child(L"BUTTON", L">>", BS_PUSHBUTTON | WS_TABSTOP, {77, 0, 33, 22}, panel, fonts[0]);
    maker.Child(PROGRESS_CLASSW, L"", 0, {144, 96, 345, 17}, panel, fonts[0]);
    maker.Child(L"BUTTON", L"<<", BS_PUSHBUTTON | WS_TABSTOP, {15, 44, 33, 22}, window, fonts[0]);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WSADATA sockets;
    WSAStartup(MAKEWORD(2, 2), &sockets);

    WNDCLASSW window_class{};
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = L"BareWindow";
    RegisterClassW(&window_class);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, 654, 485};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, L"BareWindow", L"bare window", style, 349, 220, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    make_controls(instance, window);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    WSACleanup();
    CoUninitialize();
    return 0;
}
