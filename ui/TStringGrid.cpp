#include "ui/TStringGrid.h"

#include "ui/Dispatch.h"

#include <algorithm>

// The sizes and the events are kept here for both backends; each applies the
// sizes to its own control in ApplySizes.

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
