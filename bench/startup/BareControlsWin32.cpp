// The start-up benchmark's second Windows baseline: the bare window with what
// any program pays for the client's kind of window under the same system,
// and nothing of the client's own code: the version-6 common controls (by
// the client's manifest), COM and Winsock loaded and started, and 31
// controls of the client's classes, fonts and texts made at their places in
// one go (20 labels, 4 picture windows, 2 drop-down lists of 8 items, a
// panel, a list view of 24 rows, 2 buttons, a progress bar).
//
// With --flips N FILE it is the page-flip benchmark's baseline: after it
// shows, it makes the screen update of a page flip N times (24 rows of
// Chinese titles into its list view, the panel's 12 value labels given
// texts of another length and sized to them, one picture drawn), each timed
// until its message queue is empty, and writes
// one line a flip, "bare MS", to FILE. With --same-widths after FILE the
// labels' new texts keep their widths and no label is resized: the least a
// flip's screen update can cost with a system control for each label.
#include <winsock2.h>
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// The flip's picture: a 187 x 199 photograph's worth of pixels.
constexpr int kPictureWidth = 187;
constexpr int kPictureHeight = 199;
std::vector<uint32_t> g_picture(kPictureWidth * kPictureHeight);

LRESULT CALLBACK picture_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_PAINT)
        return DefWindowProcW(window, message, wparam, lparam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, kPictureWidth, -kPictureHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, 0, 0, kPictureWidth, kPictureHeight, 0, 0, 0, kPictureHeight, g_picture.data(), &info,
                      DIB_RGB_COLORS);
    EndPaint(window, &paint);
    return 0;
}

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

struct Flipped {
    std::vector<HWND> labels;
    HWND rows = nullptr;
    HWND picture = nullptr;
};

Flipped make_controls(HINSTANCE instance, HWND window)
{
    Flipped flipped;
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
        flipped.labels.push_back(maker.Child(L"STATIC", text, SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY,
                                             {8 + i * 3, 248 + i * 5, size.cx, size.cy}, window, f));
        ++i;
    }
    DeleteDC(dc);
    WNDCLASSW picture{};
    picture.lpfnWndProc = picture_procedure;
    picture.hInstance = instance;
    picture.lpszClassName = L"BarePicture";
    RegisterClassW(&picture);
    flipped.picture = maker.Child(L"BarePicture", L"", 0, {8, 274, kPictureWidth, kPictureHeight}, window, fonts[0]);
    for (int k = 0; k < 3; ++k)
        maker.Child(L"BareChild", L"", 0, {207 + 72 * k, 405, 75, 67}, window, fonts[0]);
    for (int k = 0; k < 2; ++k) {
        HWND list = maker.Child(L"COMBOBOX", L"", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP,
                                {77 + 208 * k, 15, 129, 21 + 106}, window, fonts[7]);
        for (int item = 0; item < 8; ++item)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"\x5546\x54c1"));
        SendMessageW(list, CB_SETCURSEL, 0, 0);
    }
    HWND panel = maker.Child(L"BareChild", L"Panel1", WS_CLIPCHILDREN, {8, 44, 638, 193}, window, fonts[0]);
    maker.Child(L"STATIC", L"1/24", SS_LEFTNOWORDWRAP, {47, 7, 22, 13}, panel, fonts[0]);
    HWND rows = maker.Child(WC_LISTVIEWW, L"", LVS_REPORT | LVS_NOCOLUMNHEADER | WS_TABSTOP | WS_BORDER,
                            {4, 24, 633, 169}, panel, fonts[0]);
    flipped.rows = rows;
    SendMessageW(rows, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNW c{};
        c.mask = LVCF_WIDTH;
        c.cx = column == 0 ? 37 : 577;
        SendMessageW(rows, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c));
    }
    maker.Child(L"BUTTON", L">>", BS_PUSHBUTTON | WS_TABSTOP, {77, 0, 33, 22}, panel, fonts[0]);
    maker.Child(PROGRESS_CLASSW, L"", 0, {144, 96, 345, 17}, panel, fonts[0]);
    maker.Child(L"BUTTON", L"<<", BS_PUSHBUTTON | WS_TABSTOP, {15, 44, 33, 22}, window, fonts[0]);
    return flipped;
}

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// 24 rows of Chinese titles, the n-th page's.
void fill_rows(HWND rows, int n)
{
    SendMessageW(rows, LVM_DELETEALLITEMS, 0, 0);
    for (int row = 0; row < 24; ++row) {
        const std::wstring number = std::to_wstring(row + 1);
        const std::wstring title = L"\x3010\x5305\x90ae\x3011\x4e91\x6735\x5c0f\x94fa \x5347\x7ea7\x6b3e\x8fde\x8863\x88d9 " +
                                   std::to_wstring(n * 24 + row);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(number.c_str());
        SendMessageW(rows, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(title.c_str());
        SendMessageW(rows, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

// One page flip's screen update, as plain Win32 makes it.
void flip(const Flipped& flipped, int n, bool same_widths)
{
    // Drawn once when all rows are in, as a careful program fills a list.
    SendMessageW(flipped.rows, WM_SETREDRAW, FALSE, 0);
    fill_rows(flipped.rows, n);
    SendMessageW(flipped.rows, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(flipped.rows, nullptr, TRUE);
    // The panel's labels get texts of another length each flip and are sized
    // to them, as the client's are.
    HDC dc = CreateCompatibleDC(nullptr);
    for (size_t k = 0; k < 12 && k < flipped.labels.size(); ++k) {
        // With same widths: Tahoma's and Times New Roman's digits are all of one width.
        const std::wstring text =
            same_widths ? (k == 0 ? std::wstring(12, L'\x8fde') + std::to_wstring(n % 10)
                                  : std::to_wstring(100 + (n % 2) * 10 + static_cast<int>(k)))
                        : (k == 0 ? std::wstring(n % 2 == 0 ? 12 : 20, L'\x8fde') + std::to_wstring(n)
                                  : std::to_wstring((n % 2 == 0 ? 7 : 123457) + static_cast<int>(k)));
        HWND label = flipped.labels[k];
        SetWindowTextW(label, text.c_str());
        if (same_widths)
            continue;
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    DeleteDC(dc);
    for (size_t p = 0; p < g_picture.size(); ++p)
        g_picture[p] = static_cast<uint32_t>(p * 2654435761u + static_cast<unsigned>(n));
    InvalidateRect(flipped.picture, nullptr, FALSE);
    pump();
}

void time_flips(const Flipped& flipped, int flips, const wchar_t* path, bool same_widths)
{
    FILE* out = _wfopen(path, L"w");
    if (out == nullptr)
        return;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    for (int n = 0; n < flips; ++n) {
        QueryPerformanceCounter(&start);
        flip(flipped, n, same_widths);
        QueryPerformanceCounter(&end);
        std::fprintf(out, "bare %.2f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                              static_cast<double>(frequency.QuadPart));
    }
    std::fclose(out);
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
    const Flipped flipped = make_controls(instance, window);
    fill_rows(flipped.rows, 0);
    ShowWindow(window, show);
    UpdateWindow(window);
    if ((__argc == 4 || __argc == 5) && std::wcscmp(__wargv[1], L"--flips") == 0) {
        const bool same_widths = __argc == 5 && std::wcscmp(__wargv[4], L"--same-widths") == 0;
        pump();
        time_flips(flipped, std::wcstol(__wargv[2], nullptr, 10), __wargv[3], same_widths);
        DestroyWindow(window);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    WSACleanup();
    CoUninitialize();
    return 0;
}
