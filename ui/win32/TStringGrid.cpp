#include "ui/TStringGrid.h"

#include "ui/Dispatch.h"
#include "ui/win32/ControlEvents.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace {

// A report list view whose rows we draw (grid lines, colours, focus) and
// whose texts it asks us for, so screen readers read the rows as a list.
// No column headers: the grid has no fixed rows.
constexpr DWORD kGridStyle = LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER |
                             LVS_SHOWSELALWAYS | WS_TABSTOP | WS_BORDER;
constexpr int kTextMargin = 2;
constexpr COLORREF kFrame = RGB(184, 184, 184);

struct GridCells {
    int rows = 0;
    int cols = 0;
    std::vector<std::vector<std::string>> bytes; // [row][col], as the program set them
    std::vector<std::vector<std::wstring>> shown;
    // Where a Shift press or key extends the selection from.
    int anchor = 0;

    void Resize(int new_rows, int new_cols)
    {
        rows = new_rows;
        cols = new_cols;
        bytes.resize(static_cast<size_t>(rows));
        shown.resize(static_cast<size_t>(rows));
        for (auto& row : bytes)
            row.resize(static_cast<size_t>(cols));
        for (auto& row : shown)
            row.resize(static_cast<size_t>(cols));
    }
};

GridCells& cells_of(const TControl& grid)
{
    return *static_cast<GridCells*>(ControlEvents::Of(grid).state.get());
}

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

int focused_row(HWND list)
{
    return static_cast<int>(send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
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

// The grid's rules on its list view: presses, keys, drawing, sizes.
class GridWidget {
public:
    static void MakeCurrent(TStringGrid& grid, int row)
    {
        HWND list = grid.Widget();
        GridCells& cells = cells_of(grid);
        if (row < 0 || row >= cells.rows)
            return;
        set_state(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        set_state(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        send(list, LVM_SETSELECTIONMARK, 0, row);
        cells.anchor = row;
    }

    // Selects the rows from one to the other; the current row stays.
    static void SelectRange(TStringGrid& grid, int from, int to)
    {
        HWND list = grid.Widget();
        set_state(list, -1, 0, LVIS_SELECTED);
        for (int r = std::min(from, to); r <= std::max(from, to); ++r)
            set_state(list, r, LVIS_SELECTED, LVIS_SELECTED);
    }

    struct Cell {
        int col = -1;
        int row = -1;
    };

    // The cell under a point of the client area; -1 outside the cells.
    static Cell CellAt(TStringGrid& grid, int x, int y)
    {
        HWND list = grid.Widget();
        const GridCells& cells = cells_of(grid);
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

    static std::optional<LRESULT> Press(TStringGrid& grid, TMouseButton button, WPARAM keys, LPARAM at,
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
                    SelectRange(grid, cells_of(grid).anchor, cell.row);
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
    static bool Key(TStringGrid& grid, WPARAM key)
    {
        HWND list = grid.Widget();
        GridCells& cells = cells_of(grid);
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

    static void Draw(TStringGrid& grid, const DRAWITEMSTRUCT& item)
    {
        HDC dc = item.hDC;
        HWND list = grid.Widget();
        const GridCells& cells = cells_of(grid);
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

    static void Text(const TStringGrid& grid, NMLVDISPINFOW& info)
    {
        const GridCells& cells = cells_of(grid);
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
    static void PaintFrame(HWND list)
    {
        HDC dc = GetWindowDC(list);
        RECT frame;
        GetWindowRect(list, &frame);
        OffsetRect(&frame, -frame.left, -frame.top);
        SetDCBrushColor(dc, kFrame);
        FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        ReleaseDC(list, dc);
    }

    static std::optional<LRESULT> Own(TStringGrid& grid, UINT message, WPARAM wparam, LPARAM lparam)
    {
        HWND list = grid.Widget();
        switch (message) {
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
            const LRESULT code = DefSubclassProc(list, message, wparam, lparam);
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
            const int row = focused_row(list);
            if (row >= 0)
                send(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
            return std::nullopt;
        }
        case WM_NCPAINT: {
            const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
            PaintFrame(list);
            return result;
        }
        default:
            return std::nullopt;
        }
    }

    static std::optional<LRESULT> Reflected(TStringGrid& grid, UINT message, LPARAM lparam)
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

    static void SetColumns(TStringGrid& grid, int count)
    {
        HWND list = grid.Widget();
        GridCells& cells = cells_of(grid);
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
};

TStringGrid::TStringGrid(TControl* parent) : TControl(parent)
{
    ControlWindow& impl = ControlEvents::Of(*this);
    impl.state = std::make_shared<GridCells>();
    impl.own = [this](UINT message, WPARAM wparam, LPARAM lparam) {
        return GridWidget::Own(*this, message, wparam, lparam);
    };
    impl.reflected = [this](UINT message, WPARAM, LPARAM lparam) {
        return GridWidget::Reflected(*this, message, lparam);
    };
    impl.relayout = [this] { ApplySizes(); };
    HWND list = ControlEvents::Create(*this, WC_LISTVIEWW, kGridStyle, 0, WindowKind::System);
    send(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT,
         LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT);
    send(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(kBase));
    Attach(list);
    GridWidget::SetColumns(*this, 5);
    col_widths_.assign(5, default_col_width_);
    SetRowCount(5);
    ApplySizes();
    GridWidget::MakeCurrent(*this, 0);
}

int TStringGrid::ColCount() const { return cells_of(*this).cols; }
int TStringGrid::RowCount() const { return cells_of(*this).rows; }

void TStringGrid::SetColCount(int count)
{
    count = std::max(count, 1);
    GridWidget::SetColumns(*this, count);
    col_widths_.resize(static_cast<size_t>(count), default_col_width_);
    ApplySizes();
}

void TStringGrid::SetRowCount(int count)
{
    HWND list = Widget();
    GridCells& cells = cells_of(*this);
    const bool below_one = count < MinRowCount;
    count = std::max(count, MinRowCount);
    cells.Resize(count, cells.cols);
    send(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
    const int current = focused_row(list);
    if (below_one || current < 0 || current >= count) {
        GridWidget::MakeCurrent(*this, 0);
        send(list, LVM_ENSUREVISIBLE, 0, FALSE);
    } else {
        cells.anchor = std::min(cells.anchor, count - 1);
    }
    InvalidateRect(list, nullptr, TRUE);
}

std::string TStringGrid::Cells(int col, int row) const
{
    const GridCells& cells = cells_of(*this);
    if (col < 0 || row < 0 || col >= cells.cols || row >= cells.rows)
        return {};
    return cells.bytes[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& text)
{
    GridCells& cells = cells_of(*this);
    if (col < 0 || row < 0 || col >= cells.cols || row >= cells.rows)
        return;
    cells.bytes[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
    cells.shown[static_cast<size_t>(row)][static_cast<size_t>(col)] = ToWide(text);
    send(Widget(), LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

int TStringGrid::ColWidths(int col) const
{
    return col >= 0 && col < static_cast<int>(col_widths_.size()) ? col_widths_[static_cast<size_t>(col)] : 0;
}

void TStringGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= static_cast<int>(col_widths_.size()))
        return;
    col_widths_[static_cast<size_t>(col)] = std::max(width, 0);
    ApplySizes();
}

void TStringGrid::SetDefaultColWidth(int width)
{
    default_col_width_ = std::max(width, 0);
    std::fill(col_widths_.begin(), col_widths_.end(), default_col_width_);
    ApplySizes();
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    default_row_height_ = std::max(height, 0);
    ApplySizes();
}

void TStringGrid::SetGridLineWidth(int width)
{
    grid_line_width_ = std::max(width, 0);
    ApplySizes();
}

void TStringGrid::ApplySizes()
{
    HWND list = Widget();
    if (list == nullptr)
        return;
    const UINT dpi = ControlEvents::Dpi(*this);
    // A line belongs to the cell on its left or above it.
    for (int c = 0; c < ColCount(); ++c)
        send(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), Scale(ColWidths(c) + grid_line_width_, dpi));
    // The list view asks for its row height again when its position changes.
    RECT box;
    GetWindowRect(list, &box);
    WINDOWPOS position{list, nullptr, 0, 0, box.right - box.left, box.bottom - box.top,
                       SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOOWNERZORDER | SWP_NOZORDER};
    send(list, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    InvalidateRect(list, nullptr, TRUE);
}

int TStringGrid::Row() const
{
    return std::max(focused_row(Widget()), 0);
}

void TStringGrid::SetRow(int row)
{
    GridWidget::MakeCurrent(*this, row);
    send(Widget(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(Row()), FALSE);
}

int TStringGrid::TopRow() const
{
    return std::max(static_cast<int>(send(Widget(), LVM_GETTOPINDEX)), 0);
}

int TStringGrid::SelectionTop() const
{
    const int first = static_cast<int>(send(Widget(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return first >= 0 ? first : Row();
}

int TStringGrid::SelectionBottom() const
{
    int bottom = -1;
    for (int r = -1; (r = static_cast<int>(send(Widget(), LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED))) >= 0;)
        bottom = r;
    return bottom >= 0 ? bottom : Row();
}

bool TStringGrid::CanSelect(int col, int row)
{
    bool can_select = true;
    if (TSelectCellEvent run = OnSelectCell)
        Dispatch([&] { run(this, col, row, can_select); });
    return can_select;
}

void TStringGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (TMouseEvent run = OnMouseDown)
        Dispatch([&] { run(this, button, shift, x, y); });
}

void TStringGrid::Fire(const TNotifyEvent& event)
{
    if (TNotifyEvent run = event)
        Dispatch([&] { run(this); });
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state)
{
    if (TDrawCellEvent run = OnDrawCell)
        Dispatch([&] { run(this, col, row, rect, state); });
}
