#include "base/Exception.h"
#include "tests/ui/GridFixture.h"

using GridPress = GridFixture;

TEST_F(GridPress, PlainLeftPressMakesTheRowCurrentBeforeTheHandlerRuns)
{
    grid->SetRow(1);
    PressGridRow(*grid, 3, TMouseButton::Left);
    EXPECT_EQ(grid->Row(), 3);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].row, 3);
    EXPECT_EQ(presses[0].button, TMouseButton::Left);
    EXPECT_FALSE(presses[0].shift.Shift);
    EXPECT_FALSE(presses[0].shift.Double);
}

TEST_F(GridPress, OtherPressesLeaveTheCurrentRowButStillReachTheHandler)
{
    struct Case {
        const char* what;
        TMouseButton button;
        bool shift;
    };
    const Case cases[] = {
        {"right button", TMouseButton::Right, false},
        {"middle button", TMouseButton::Middle, false},
        {"left with shift", TMouseButton::Left, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetRow(1);
        presses.clear();
        PressGridRow(*grid, 5, c.button, c.shift);
        EXPECT_EQ(grid->Row(), 1);
        ASSERT_EQ(presses.size(), 1u);
        EXPECT_EQ(presses[0].button, c.button);
        EXPECT_EQ(presses[0].shift.Shift, c.shift);
        EXPECT_EQ(presses[0].row, 1);
    }
}

TEST_F(GridPress, ShiftPressExtendsTheSelectedRangeFromTheCurrentRow)
{
    grid->SetRow(2);
    PressGridRow(*grid, 5, TMouseButton::Left, true);
    EXPECT_EQ(grid->SelectionTop(), 2);
    EXPECT_EQ(grid->SelectionBottom(), 5);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridPress, SecondPressOfADoubleClickReachesTheHandlerWithoutMovingTheRow)
{
    PressGridRow(*grid, 2, TMouseButton::Left);
    ASSERT_EQ(grid->Row(), 2);
    presses.clear();
    PressGridRow(*grid, 6, TMouseButton::Left, false, true);
    ASSERT_FALSE(presses.empty());
    EXPECT_TRUE(presses.back().shift.Double);
    EXPECT_EQ(presses.back().button, TMouseButton::Left);
    EXPECT_EQ(presses.back().row, grid->Row());
}

TEST_F(GridPress, PressBelowTheLastRowLeavesTheCurrentRow)
{
    grid->SetRowCount(3);
    grid->SetRow(1);
    presses.clear();
    PressBelowGridRows(*grid);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(presses.size(), 1u);
}

TEST_F(GridPress, RefusedSelectionKeepsTheCurrentRow)
{
    grid->OnSelectCell = [](TControl*, int, int row, bool& can_select) { can_select = row != 4; };
    grid->SetRow(2);
    PressGridRow(*grid, 4, TMouseButton::Left);
    EXPECT_EQ(grid->Row(), 2);
    PressGridRow(*grid, 5, TMouseButton::Left);
    EXPECT_EQ(grid->Row(), 5);
}

TEST_F(GridPress, ErrorInThePressHandlerIsReportedAndTheGridGoesOn)
{
    InterceptedBoxes boxes;
    grid->OnMouseDown = [](TControl*, TMouseButton, TShiftState, int, int) { throw Exception("bad row"); };
    PressGridRow(*grid, 3, TMouseButton::Left);
    PressGridRow(*grid, 4, TMouseButton::Left);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "bad row.");
    EXPECT_EQ(grid->Row(), 4);
}

TEST_F(GridPress, ArrowKeysMoveTheRowWithoutAPress)
{
    grid->SetRow(1);
    presses.clear();
    PressDownOnGrid(*grid);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(presses.empty());
}

TEST(GridRows, RowCountNeverFallsBelowOneAndZeroReturnsToTheTop)
{
    StartWindowSystem();
    struct Case {
        int rows_before, current_before, set_to, expected_rows, expected_row;
    };
    const Case cases[] = {{30, 25, 0, 1, 0}, {30, 25, -5, 1, 0}, {30, 25, 1, 1, 0}, {30, 4, 10, 10, 4}, {5, 4, 30, 30, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.rows_before << " rows, row " << c.current_before << ", set " << c.set_to);
        TForm form;
        TStringGrid* grid = form.Add<TStringGrid>();
        grid->SetBounds(0, 0, 200, 100);
        grid->SetColCount(2);
        grid->SetRowCount(c.rows_before);
        grid->SetRow(c.current_before);
        form.Show();
        Application->ProcessMessages();
        grid->SetRowCount(c.set_to);
        EXPECT_EQ(grid->RowCount(), c.expected_rows);
        EXPECT_EQ(ShownRowCount(*grid), c.expected_rows);
        EXPECT_EQ(grid->Row(), c.expected_row);
        if (c.set_to < 1) {
            EXPECT_EQ(grid->TopRow(), 0);
        }
    }
}

namespace {

// A grid of two rows and two columns, the window's size.
TStringGrid* two_by_two(TForm& form)
{
    TStringGrid* grid = form.Add<TStringGrid>();
    grid->SetBounds(0, 0, 633, 169);
    grid->SetColCount(2);
    grid->SetRowCount(2);
    return grid;
}

} // namespace

TEST(GridCells, TextsKeepTheirBytesAndOutsideCellsAreIgnored)
{
    StartWindowSystem();
    TForm form;
    TStringGrid* grid = two_by_two(form);
    const std::string gbk = "\xCC\xD8\xC2\xF4 1:Teapot";
    grid->SetCells(1, 1, gbk);
    grid->SetCells(5, 9, "lost");
    grid->SetCells(-1, 0, "lost");
    EXPECT_EQ(grid->Cells(1, 1), gbk);
    EXPECT_EQ(grid->Cells(5, 9), "");
    EXPECT_EQ(ShownCellText(*grid, 1, 1), "\xE7\x89\xB9\xE5\x8D\x96 1:Teapot");
}

TEST(GridCells, ColumnWidthsAndRowHeightsIncludeTheGridLine)
{
    StartWindowSystem();
    TForm form;
    TStringGrid* grid = two_by_two(form);
    grid->SetDefaultRowHeight(20);
    grid->SetGridLineWidth(2);
    grid->SetColWidths(0, 35);
    grid->SetColWidths(1, 575);
    EXPECT_EQ(grid->ColWidths(0), 35);
    EXPECT_EQ(ShownColumnWidth(*grid, 0), 37);
    EXPECT_EQ(ShownColumnWidth(*grid, 1), 577);
    EXPECT_EQ(ShownRowHeight(*grid), 22);
}
