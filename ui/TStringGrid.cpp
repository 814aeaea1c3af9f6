#include "ui/TStringGrid.h"

#include <algorithm>

// The sizes are kept here for both backends; each applies them to its own
// control in ApplySizes.

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
