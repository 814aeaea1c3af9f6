#include "ui/TStringGrid.h"

#include "ui/win32/GridWidget.h"

#include <algorithm>
#include <utility>

namespace {

LRESULT send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageW(hwnd, message, wparam, lparam);
}

} // namespace

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
    HWND list = ControlEvents::Create(*this, WC_LISTVIEWW, GridWidget::kStyle, 0, WindowKind::System);
    send(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT,
         LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT);
    send(list, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(kBase));
    Attach(list);
    // Not drawn yet, the list view lays nothing out: the rows and sizes given
    // before the window first shows are laid out once, as it shows.
    if (!ControlEvents::TopShown(*this)) {
        send(list, WM_SETREDRAW, FALSE);
        impl.first_shown = [this] {
            send(Widget(), WM_SETREDRAW, TRUE);
            // Redrawing on shows the window: not one the program hid.
            if (!Visible())
                ShowWindow(Widget(), SW_HIDE);
        };
    }
    GridWidget::SetColumns(*this, 5);
    col_widths_.assign(5, default_col_width_);
    SetRowCount(5);
    ApplySizes();
    GridWidget::MakeCurrent(*this, 0);
}

int TStringGrid::ColCount() const { return GridWidget::CellsOf(*this).cols; }
int TStringGrid::RowCount() const { return GridWidget::CellsOf(*this).rows; }

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
    GridCells& cells = GridWidget::CellsOf(*this);
    const bool below_one = count < MinRowCount;
    count = std::max(count, MinRowCount);
    cells.Resize(count, cells.cols);
    // What is sent meanwhile needs no more rows than the list view has:
    // row 0 is always there.
    const bool was_filling = std::exchange(cells.filling, true);
    GridWidget::CountChanged(*this);
    const int current = GridWidget::FocusedRow(list);
    if (below_one || current < 0 || current >= count) {
        GridWidget::MakeCurrent(*this, 0);
        send(list, LVM_ENSUREVISIBLE, 0, FALSE);
    } else {
        cells.anchor = std::min(cells.anchor, count - 1);
    }
    cells.filling = was_filling;
    // A pending count repaints every row anyway.
    if (!cells.count_pending)
        InvalidateRect(list, nullptr, TRUE);
}

std::string TStringGrid::Cells(int col, int row) const
{
    const GridCells& cells = GridWidget::CellsOf(*this);
    if (col < 0 || row < 0 || col >= cells.cols || row >= cells.rows)
        return {};
    return cells.bytes[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& text)
{
    GridCells& cells = GridWidget::CellsOf(*this);
    if (col < 0 || row < 0 || col >= cells.cols || row >= cells.rows)
        return;
    cells.bytes[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
    cells.shown[static_cast<size_t>(row)][static_cast<size_t>(col)] = ToWide(text);
    if (!cells.count_pending)
        send(Widget(), LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
}

void TStringGrid::ApplySizes()
{
    HWND list = Widget();
    if (list == nullptr)
        return;
    const UINT dpi = ControlEvents::Dpi(*this);
    // Only what changed is given again: each change lays the rows out anew.
    bool changed = false;
    // A line belongs to the cell on its left or above it.
    for (int c = 0; c < ColCount(); ++c) {
        const int width = Scale(ColWidths(c) + grid_line_width_, dpi);
        if (send(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(c)) != width) {
            send(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), width);
            changed = true;
        }
    }
    // The list view asks for its row height again when its position changes.
    GridCells& cells = GridWidget::CellsOf(*this);
    const int row_height = Scale(default_row_height_ + grid_line_width_, dpi);
    RECT box;
    GetWindowRect(list, &box);
    const SIZE size{box.right - box.left, box.bottom - box.top};
    if (row_height != cells.laid_row_height || size.cx != cells.laid_size.cx || size.cy != cells.laid_size.cy) {
        cells.laid_row_height = row_height;
        cells.laid_size = size;
        WINDOWPOS position{list, nullptr, 0, 0, size.cx, size.cy,
                           SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOOWNERZORDER | SWP_NOZORDER};
        send(list, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
        changed = true;
    }
    if (changed)
        InvalidateRect(list, nullptr, TRUE);
}

int TStringGrid::Row() const
{
    return std::max(GridWidget::FocusedRow(Widget()), 0);
}

void TStringGrid::SetRow(int row)
{
    GridWidget::SyncCount(*this);
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
