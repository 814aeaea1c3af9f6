#pragma once

// What the control-class tests share across backends. The input is
// delivered as each window system delivers it, by tests/ui/qt/UiInput.cpp
// or tests/ui/win32/UiInput.cpp; tests of one backend alone have their own
// helpers beside it (win32/Win32TestSupport.h).

#include "ui/ui.h"

#include <string>
#include <vector>

// Starts the window system once; Qt on its offscreen platform unless the
// environment names another.
void StartWindowSystem();

// Message boxes the program asked for, instead of showing them.
struct BoxRecord {
    std::string text;
    std::string caption;
    MessageKind kind;
};

class InterceptedBoxes {
public:
    InterceptedBoxes()
    {
        Application->MessageBoxHook = [this](const std::string& text, const std::string& caption, MessageKind kind) {
            boxes.push_back({text, caption, kind});
        };
    }
    ~InterceptedBoxes() { Application->MessageBoxHook = nullptr; }

    std::vector<BoxRecord> boxes;
};

// A left click on a button with the mouse.
void ClickButton(TButton& button);
// The same click left waiting in the queue until the loop next runs.
void PostClick(TButton& button);

// A press and release of a mouse button on a grid row's title cell;
// second: the second press of a double click.
void PressGridRow(TStringGrid& grid, int row, TMouseButton button, bool shift = false, bool second = false);
// A left press and release below the grid's last row.
void PressBelowGridRows(TStringGrid& grid);
// The down arrow key on the focused grid.
void PressDownOnGrid(TStringGrid& grid);

// What the window system shows and reads to a screen reader: a cell's
// text (UTF-8), a column's width and a row's height with the grid lines,
// the number of rows.
std::string ShownCellText(TStringGrid& grid, int col, int row);
int ShownColumnWidth(TStringGrid& grid, int col);
int ShownRowHeight(TStringGrid& grid);
int ShownRowCount(TStringGrid& grid);
int ShownBarPosition(TProgressBar& bar);
