#pragma once

#include "picture/FitRule.h"
#include "ui/TControl.h"
#include "ui/TMouse.h"

#include <functional>
#include <string>
#include <vector>

struct TGridDrawState {
    bool Selected = false;
    bool Focused = false;
};

using TMouseEvent = std::function<void(TControl* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TDrawCellEvent = std::function<void(TControl* sender, int col, int row, const TRect& rect, TGridDrawState state)>;
using TSelectCellEvent = std::function<void(TControl* sender, int col, int row, bool& can_select)>;

// A grid of text cells without fixed rows or columns, selecting whole rows
// (Shift extends the range), never editing. Cell texts are GBK bytes.
//
// Presses: a plain left press on a row makes it the current row; another
// button, a left press with Shift, the second press of a double click or a
// press outside the rows leaves the current row alone. OnMouseDown runs after
// that, for every press.
//
// Keys: OnRowMove runs after a key (arrows, Page Up/Down, Home/End) moved the
// current row; OnRowActivate runs for Return or keypad Enter. While the grid
// has the focus its current row is drawn with a focus frame.
class TStringGrid : public TControl {
public:
    static constexpr int MinRowCount = 1;

    explicit TStringGrid(TControl* parent);

    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const;
    // Never below one row. A count below one makes row 0 current and
    // scrolls back to the first row.
    void SetRowCount(int count);

    std::string Cells(int col, int row) const;
    // Cells outside the grid are ignored.
    void SetCells(int col, int row, const std::string& text);

    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int DefaultColWidth() const { return default_col_width_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return default_row_height_; }
    void SetDefaultRowHeight(int height);
    int GridLineWidth() const { return grid_line_width_; }
    void SetGridLineWidth(int width);

    // The current row.
    int Row() const;
    void SetRow(int row);
    // The first row scrolled into view.
    int TopRow() const;
    // Rows of the selected range, top and bottom.
    int SelectionTop() const;
    int SelectionBottom() const;

    bool TabStop() const override { return true; }

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TMouseEvent OnMouseDown;
    TNotifyEvent OnRowMove;
    TNotifyEvent OnRowActivate;

private:
    friend class GridWidget;
    friend class GridCellPainter;
    bool CanSelect(int col, int row);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void Fire(const TNotifyEvent& event);
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    void ApplySizes();

    int default_col_width_ = 64;
    int default_row_height_ = 20;
    int grid_line_width_ = 2;
    std::vector<int> col_widths_;
};
