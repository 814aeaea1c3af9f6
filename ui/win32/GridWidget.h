#pragma once

// Private to ui/win32/: the grid's rules on its list view (presses, keys,
// drawing, sizes) and the cells kept beside it.

#include "ui/TStringGrid.h"
#include "ui/win32/ControlEvents.h"

#include <optional>
#include <string>
#include <vector>

// The cells as the program set them and as they are shown; the list view
// asks for the shown texts (so screen readers read them too).
struct GridCells {
    int rows = 0;
    int cols = 0;
    std::vector<std::vector<std::string>> bytes; // [row][col], as the program set them
    std::vector<std::vector<std::wstring>> shown;
    // Where a Shift press or key extends the selection from.
    int anchor = 0;
    // The row height (lines included) and window size the list view last
    // laid its rows out for, in device pixels.
    int laid_row_height = -1;
    SIZE laid_size{-1, -1};
    // The list view hears of a new row count on the message loop's next
    // turn, or before anything else reaches it: a page fills the grid row by
    // row. While the grid itself gives rows or cells, it stays unheard.
    bool count_pending = false;
    bool filling = false;

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

class GridWidget {
public:
    // A report list view whose rows we draw (grid lines, colours, focus) and
    // whose texts it asks us for, so screen readers read the rows as a list.
    // No column headers: the grid has no fixed rows.
    static constexpr DWORD kStyle = LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER |
                                    LVS_SHOWSELALWAYS | WS_TABSTOP | WS_BORDER;

    static GridCells& CellsOf(const TControl& grid);
    // The current row of the list view; -1 when none.
    static int FocusedRow(HWND list);

    // Makes the row current and the only one selected; the anchor of Shift.
    static void MakeCurrent(TStringGrid& grid, int row);

    // Selects the rows from one to the other; the current row stays.
    static void SelectRange(TStringGrid& grid, int from, int to);

    // The list view's own messages (presses, keys, focus, frame) and what
    // its parent is told about it (row height, drawing, texts).
    static std::optional<LRESULT> Own(TStringGrid& grid, UINT message, WPARAM wparam, LPARAM lparam);
    static std::optional<LRESULT> Reflected(TStringGrid& grid, UINT message, LPARAM lparam);

    static void SetColumns(TStringGrid& grid, int count);

    // The row count changed. Each count given to a shown list view lays it
    // out and redraws its scroll bar at once, and a page gives 26 (under
    // Wine 200 ms a page); holding its drawing instead costs a whole layout
    // and frame when drawing resumes (12 ms). A page flip ends where it
    // began, at 24 rows, and then the list view needs only a repaint.
    static void CountChanged(TStringGrid& grid);
    // Tells the list view a changed row count now and repaints it.
    static void SyncCount(TStringGrid& grid);

private:
    struct Cell {
        int col = -1;
        int row = -1;
    };

    // The cell under a point of the client area; -1 outside the cells.
    static Cell CellAt(TStringGrid& grid, int x, int y);

    // A press moves the current row as the grid's rules say, then reaches
    // OnMouseDown.
    static std::optional<LRESULT> Press(TStringGrid& grid, TMouseButton button, WPARAM keys, LPARAM at,
                                        bool second_press);

    // Arrows, Page Up and Down, Home and End move the current row; with
    // Shift they extend the selection from the anchor instead.
    static bool Key(TStringGrid& grid, WPARAM key);

    static void Draw(TStringGrid& grid, const DRAWITEMSTRUCT& item);

    static void Text(const TStringGrid& grid, NMLVDISPINFOW& info);

    // The list view's frame in the grid's frame colour.
    static void PaintFrame(HWND list);
};
