#include "tests/ui/win32/Win32TestSupport.h"

namespace {

// The middle of a visible row's title cell, in the list's client pixels.
POINT centre_of_row(TStringGrid& grid, int row)
{
    RECT box{};
    box.left = LVIR_BOUNDS;
    SendMessageW(grid.Widget(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&box));
    const int title_left = static_cast<int>(SendMessageW(grid.Widget(), LVM_GETCOLUMNWIDTH, 0, 0));
    return {box.left + title_left + 50, (box.top + box.bottom) / 2};
}

std::string utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

} // namespace

void StartWindowSystem()
{
    Application->Initialize();
}

void ClickButton(TButton& button)
{
    SendMessageW(button.Widget(), BM_CLICK, 0, 0);
}

void PostClick(TButton& button)
{
    PostMessageW(button.Widget(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button.Widget(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void PressGridRow(TStringGrid& grid, int row, TMouseButton button, bool shift, bool second)
{
    const UINT down = button == TMouseButton::Left    ? (second ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)
                      : button == TMouseButton::Right ? (second ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
                                                      : (second ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN);
    const POINT at = centre_of_row(grid, row);
    Press(grid.Widget(), down, at.x, at.y, shift ? MK_SHIFT : 0);
}

void PressBelowGridRows(TStringGrid& grid)
{
    RECT client;
    GetClientRect(grid.Widget(), &client);
    Press(grid.Widget(), WM_LBUTTONDOWN, 50, client.bottom - 5);
}

void PressDownOnGrid(TStringGrid& grid)
{
    SetFocus(grid.Widget());
    KeyToFocus(VK_DOWN);
}

// What an accessibility client asks the list view for.
std::string ShownCellText(TStringGrid& grid, int col, int row)
{
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = col;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(grid.Widget(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return utf8(text);
}

int ShownColumnWidth(TStringGrid& grid, int col)
{
    return static_cast<int>(SendMessageW(grid.Widget(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(col), 0));
}

int ShownRowHeight(TStringGrid& grid)
{
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(grid.Widget(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    return row.bottom - row.top;
}

int ShownRowCount(TStringGrid& grid)
{
    return static_cast<int>(SendMessageW(grid.Widget(), LVM_GETITEMCOUNT, 0, 0));
}

int ShownBarPosition(TProgressBar& bar)
{
    return static_cast<int>(SendMessageW(bar.Widget(), PBM_GETPOS, 0, 0));
}
