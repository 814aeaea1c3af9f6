#include "ui/win32/GridWidget.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

constexpr int kTextMargin = 2;
constexpr COLORREF kFrame = RGB(184, 184, 184);

LRESULT send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageW(hwnd, message, wparam, lparam);
}

void set_state(HWND list, int row, UINT state, UINT mask)
{
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

TShiftState shift_of(WPARAM keys, bool second_press)
{
    TShiftState shift;
    shift.Shift = (keys & MK_SHIFT) != 0;
    shift.Ctrl = (keys & MK_CONTROL) != 0;
    shift.Alt = GetKeyState(VK_MENU) < 0;
    shift.Left = (keys & MK_LBUTTON) != 0;
    shift.Right = (keys & MK_RBUTTON) != 0;
    shift.Middle = (keys & MK_MBUTTON) != 0;
    shift.Double = second_press;
    return shift;
}

} // namespace

GridCells& GridWidget::CellsOf(const TControl& grid)
{
    return *static_cast<GridCells*>(ControlEvents::Of(grid).state.get());
}

int GridWidget::FocusedRow(HWND list)
{
    return static_cast<int>(send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void GridWidget::MakeCurrent(TStringGrid& grid, int row)
{
    HWND list = grid.Widget();
    GridCells& cells = CellsOf(grid);
    if (row < 0 || row >= cells.rows)
        return;
    set_state(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    set_state(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    send(list, LVM_SETSELECTIONMARK, 0, row);
    cells.anchor = row;
}

// Selects the rows from one to the other; the current row stays.
void GridWidget::SelectRange(TStringGrid& grid, int from, int to)
{
    HWND list = grid.Widget();
    set_state(list, -1, 0, LVIS_SELECTED);
    for (int r = std::min(from, to); r <= std::max(from, to); ++r)
        set_state(list, r, LVIS_SELECTED, LVIS_SELECTED);
}

// The cell under a point of the client area; -1 outside the cells.
GridWidget::Cell GridWidget::CellAt(TStringGrid& grid, int x, int y)
{
    HWND list = grid.Widget();
    const GridCells& cells = CellsOf(grid);
    Cell cell;
    const int top = static_cast<int>(send(list, LVM_GETTOPINDEX));
    RECT first{};
    first.left = LVIR_BOUNDS;
    if (cells.rows == 0 || !send(list, LVM_GETITEMRECT, static_cast<WPARAM>(top), reinterpret_cast<LPARAM>(&first)))
        return cell;
    const int row_height = first.bottom - first.top;
    if (row_height <= 0 || y < first.top)
        return cell;
    const int row = top + (y - first.top) / row_height;
    if (row >= cells.rows)
        return cell;
    int left = first.left;
    for (int c = 0; c < cells.cols; ++c) {
        const int width = static_cast<int>(send(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c)));
        if (x >= left && x < left + width) {
            cell.col = c;
            cell.row = row;
            return cell;
        }
        left += width;
    }
    return cell;
}

std::optional<LRESULT> GridWidget::Press(TStringGrid& grid, TMouseButton button, WPARAM keys, LPARAM at,
                                         bool second_press)
{
    HWND list = grid.Widget();
    SetFocus(list);
    const int x = GET_X_LPARAM(at);
    const int y = GET_Y_LPARAM(at);
    if (button == TMouseButton::Left && !second_press) {
        const Cell cell = CellAt(grid, x, y);
        if (cell.row >= 0) {
            if ((keys & MK_SHIFT) != 0)
                SelectRange(grid, CellsOf(grid).anchor, cell.row);
            else if (grid.CanSelect(cell.col, cell.row))
                MakeCurrent(grid, cell.row);
        }
    }
    const UINT dpi = ControlEvents::Dpi(grid);
    grid.MouseDown(button, shift_of(keys, second_press), Unscale(x, dpi), Unscale(y, dpi));
    return 0;
}

// Arrows, Page Up and Down, Home and End move the current row; with
// Shift they extend the selection from the anchor instead.
bool GridWidget::Key(TStringGrid& grid, WPARAM key)
{
    HWND list = grid.Widget();
    GridCells& cells = CellsOf(grid);
    const int current = grid.Row();
    const int page = std::max(1, static_cast<int>(send(list, LVM_GETCOUNTPERPAGE)));
    int target = current;
    switch (key) {
    case VK_UP: target = current - 1; break;
    case VK_DOWN: target = current + 1; break;
    case VK_PRIOR: target = current - page; break;
    case VK_NEXT: target = current + page; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = cells.rows - 1; break;
    default: return false;
    }
    target = std::clamp(target, 0, std::max(cells.rows - 1, 0));
    if (target == current || !grid.CanSelect(0, target))
        return true;
    if (GetKeyState(VK_SHIFT) < 0) {
        set_state(list, -1, 0, LVIS_FOCUSED);
        set_state(list, target, LVIS_FOCUSED, LVIS_FOCUSED);
        SelectRange(grid, cells.anchor, target);
    } else {
        MakeCurrent(grid, target);
    }
    send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(target), FALSE);
    grid.Fire(grid.OnRowMove);
    return true;
}

void GridWidget::Draw(TStringGrid& grid, const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    HWND list = grid.Widget();
    const GridCells& cells = CellsOf(grid);
    const int row = static_cast<int>(item.itemID);
    if (row < 0 || row >= cells.rows)
        return;
    const UINT dpi = ControlEvents::Dpi(grid);
    const int line = Scale(grid.GridLineWidth(), dpi);
    const int margin = Scale(kTextMargin, dpi);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HGDIOBJ old_font = SelectObject(dc, ControlEvents::Of(grid).font.get());
    SetBkMode(dc, TRANSPARENT);
    int left = item.rcItem.left;
    for (int c = 0; c < cells.cols; ++c) {
        const int width = static_cast<int>(send(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c)));
        // A line belongs to the cell on its left or above it.
        const RECT whole{left, item.rcItem.top, left + width, item.rcItem.bottom};
        const RECT cell{whole.left, whole.top, std::max(whole.left, whole.right - line),
                        std::max(whole.top, whole.bottom - line)};
        left += width;
        SetDCBrushColor(dc, kGridLine);
        FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SetDCBrushColor(dc, selected ? kHighlight : kBase);
        FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        SetTextColor(dc, selected ? kHighlightedText : ToColorRef(grid.Font().Color));
        const std::wstring& text = cells.shown[static_cast<size_t>(row)][static_cast<size_t>(c)];
        RECT text_box{cell.left + margin, cell.top + margin, cell.right, cell.bottom};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_box,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        TGridDrawState state;
        state.Selected = selected;
        state.Focused = (item.itemState & ODS_FOCUS) != 0;
        grid.DrawCell(c, row, TRect{cell.left, cell.top, cell.right, cell.bottom}, state);
    }
    SelectObject(dc, old_font);
    // The current row shows the focus while the grid has it.
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0 && GetFocus() == list) {
        RECT row_box{item.rcItem.left, item.rcItem.top, left - line, item.rcItem.bottom - line};
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &row_box);
    }
}

void GridWidget::Text(const TStringGrid& grid, NMLVDISPINFOW& info)
{
    const GridCells& cells = CellsOf(grid);
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0)
        return;
    item.pszText[0] = L'\0';
    if (item.iItem < 0 || item.iItem >= cells.rows || item.iSubItem < 0 || item.iSubItem >= cells.cols)
        return;
    const std::wstring& text = cells.shown[static_cast<size_t>(item.iItem)][static_cast<size_t>(item.iSubItem)];
    const size_t n = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, n);
    item.pszText[n] = L'\0';
}

// The list view's frame in the grid's frame colour.
void GridWidget::PaintFrame(HWND list)
{
    HDC dc = GetWindowDC(list);
    RECT frame;
    GetWindowRect(list, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    SetDCBrushColor(dc, kFrame);
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    ReleaseDC(list, dc);
}

void GridWidget::CountChanged(TStringGrid& grid)
{
    GridCells& cells = CellsOf(grid);
    HWND list = grid.Widget();
    if (cells.count_pending || list == nullptr)
        return;
    // Before the window first shows, the list view lays nothing out.
    if (!ControlEvents::TopShown(grid)) {
        send(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(cells.rows), 0);
        return;
    }
    cells.count_pending = true;
    PostMessageW(list, kSyncRowCount, 0, 0);
}

void GridWidget::SyncCount(TStringGrid& grid)
{
    GridCells& cells = CellsOf(grid);
    if (!std::exchange(cells.count_pending, false))
        return;
    HWND list = grid.Widget();
    if (send(list, LVM_GETITEMCOUNT) != cells.rows)
        send(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(cells.rows), 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::optional<LRESULT> GridWidget::Own(TStringGrid& grid, UINT message, WPARAM wparam, LPARAM lparam)
{
    HWND list = grid.Widget();
    if (!CellsOf(grid).filling)
        SyncCount(grid);
    switch (message) {
    case kSyncRowCount:
        SyncCount(grid);
        return 0;
    case WM_LBUTTONDOWN:
        return Press(grid, TMouseButton::Left, wparam, lparam, false);
    case WM_RBUTTONDOWN:
        return Press(grid, TMouseButton::Right, wparam, lparam, false);
    case WM_MBUTTONDOWN:
        return Press(grid, TMouseButton::Middle, wparam, lparam, false);
    case WM_LBUTTONDBLCLK:
        return Press(grid, TMouseButton::Left, wparam, lparam, true);
    case WM_RBUTTONDBLCLK:
        return Press(grid, TMouseButton::Right, wparam, lparam, true);
    case WM_MBUTTONDBLCLK:
        return Press(grid, TMouseButton::Middle, wparam, lparam, true);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_CONTEXTMENU:
        return 0;
    case WM_GETDLGCODE: {
        // Return is the grid's own (it opens the current row), not the
        // dialog manager's.
        const LRESULT code = ControlEvents::ClassProcedure(list, message, wparam, lparam);
        const auto* key = reinterpret_cast<const MSG*>(lparam);
        if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            return code | DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wparam == VK_RETURN) {
            // Keypad Enter too; once per press, not for the key's repeats.
            if ((lparam & (1 << 30)) == 0)
                grid.Fire(grid.OnRowActivate);
            return 0;
        }
        if (Key(grid, wparam))
            return 0;
        return std::nullopt;
    case WM_CHAR:
        // No search by typing.
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        // The current row's focus mark comes and goes with the focus.
        const int row = FocusedRow(list);
        if (row >= 0)
            send(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
        return std::nullopt;
    }
    case WM_NCPAINT: {
        const LRESULT result = ControlEvents::ClassProcedure(list, message, wparam, lparam);
        PaintFrame(list);
        return result;
    }
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> GridWidget::Reflected(TStringGrid& grid, UINT message, LPARAM lparam)
{
    switch (message) {
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemHeight = static_cast<UINT>(
            Scale(grid.DefaultRowHeight() + grid.GridLineWidth(), ControlEvents::Dpi(grid)));
        return TRUE;
    case WM_DRAWITEM:
        Draw(grid, *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lparam)->code == LVN_GETDISPINFOW) {
            Text(grid, *reinterpret_cast<NMLVDISPINFOW*>(lparam));
            return 0;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

void GridWidget::SetColumns(TStringGrid& grid, int count)
{
    HWND list = grid.Widget();
    GridCells& cells = CellsOf(grid);
    while (cells.cols > count)
        send(list, LVM_DELETECOLUMN, static_cast<WPARAM>(--cells.cols));
    while (cells.cols < count) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        column.cx = 0;
        send(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(cells.cols), reinterpret_cast<LPARAM>(&column));
        ++cells.cols;
    }
    cells.Resize(cells.rows, count);
}
