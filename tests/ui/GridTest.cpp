#include "base/Exception.h"
#include "tests/ui/UiTestSupport.h"

#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Press {
    TMouseButton button;
    TShiftState shift;
    int row; // row under the pointer at the press
};

class GridPress : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartWindowSystem();
        form = std::make_unique<TForm>();
        form->SetClientSize(300, 400);
        grid = form->Add<TStringGrid>();
        grid->SetBounds(0, 0, 300, 300);
        grid->SetColCount(2);
        grid->SetRowCount(8);
        for (int r = 0; r < 8; ++r)
            grid->SetCells(1, r, "row " + std::to_string(r));
        grid->OnMouseDown = [this](TControl*, TMouseButton button, TShiftState shift, int, int) {
            presses.push_back({button, shift, grid->Row()});
        };
        form->Show();
        Application->ProcessMessages();
    }

    QTableWidget& table() { return *static_cast<QTableWidget*>(grid->Widget()); }
    QWidget* viewport() { return table().viewport(); }
    QPoint centre_of_row(int row) { return table().visualRect(table().model()->index(row, 1)).center(); }

    std::unique_ptr<TForm> form;
    TStringGrid* grid = nullptr;
    std::vector<Press> presses;
};

} // namespace

TEST_F(GridPress, PlainLeftPressMakesTheRowCurrentBeforeTheHandlerRuns)
{
    QTest::mousePress(viewport(), Qt::LeftButton, {}, centre_of_row(3));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, centre_of_row(3));
    EXPECT_EQ(grid->Row(), 3);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].row, 3);
    EXPECT_EQ(presses[0].button, TMouseButton::Left);
}

TEST_F(GridPress, OtherPressesLeaveTheCurrentRowButStillReachTheHandler)
{
    struct Case {
        const char* what;
        Qt::MouseButton button;
        Qt::KeyboardModifiers keys;
        TMouseButton expected_button;
        bool expected_shift;
    };
    const Case cases[] = {
        {"right button", Qt::RightButton, {}, TMouseButton::Right, false},
        {"middle button", Qt::MiddleButton, {}, TMouseButton::Middle, false},
        {"left with shift", Qt::LeftButton, Qt::ShiftModifier, TMouseButton::Left, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetRow(1);
        presses.clear();
        QTest::mousePress(viewport(), c.button, c.keys, centre_of_row(5));
        QTest::mouseRelease(viewport(), c.button, c.keys, centre_of_row(5));
        EXPECT_EQ(grid->Row(), 1);
        ASSERT_EQ(presses.size(), 1u);
        EXPECT_EQ(presses[0].button, c.expected_button);
        EXPECT_EQ(presses[0].shift.Shift, c.expected_shift);
        EXPECT_EQ(presses[0].row, 1);
    }
}

TEST_F(GridPress, ShiftPressExtendsTheSelectedRangeFromTheCurrentRow)
{
    grid->SetRow(2);
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ShiftModifier, centre_of_row(5));
    EXPECT_EQ(grid->SelectionTop(), 2);
    EXPECT_EQ(grid->SelectionBottom(), 5);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridPress, SecondPressOfADoubleClickReachesTheHandlerWithoutMovingTheRow)
{
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, centre_of_row(2));
    ASSERT_EQ(grid->Row(), 2);
    presses.clear();
    // The second press of a double click arrives as its own event kind.
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, centre_of_row(6));
    ASSERT_FALSE(presses.empty());
    EXPECT_TRUE(presses.back().shift.Double);
    EXPECT_EQ(presses.back().row, grid->Row());
}

TEST_F(GridPress, PressBelowTheLastRowLeavesTheCurrentRow)
{
    grid->SetRowCount(3);
    grid->SetRow(1);
    presses.clear();
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, QPoint(50, viewport()->height() - 5));
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(presses.size(), 1u);
}

TEST_F(GridPress, RefusedSelectionKeepsTheCurrentRow)
{
    grid->OnSelectCell = [](TControl*, int, int row, bool& can_select) { can_select = row != 4; };
    grid->SetRow(2);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, centre_of_row(4));
    EXPECT_EQ(grid->Row(), 2);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, centre_of_row(5));
    EXPECT_EQ(grid->Row(), 5);
}

TEST_F(GridPress, ErrorInThePressHandlerIsReportedAndTheGridGoesOn)
{
    InterceptedBoxes boxes;
    grid->OnMouseDown = [](TControl*, TMouseButton, TShiftState, int, int) { throw Exception("bad row"); };
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, centre_of_row(3));
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, centre_of_row(4));
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "bad row.");
    EXPECT_EQ(grid->Row(), 4);
}

TEST_F(GridPress, ArrowKeysMoveTheRowWithoutAPress)
{
    grid->SetRow(1);
    presses.clear();
    table().setFocus();
    QTest::keyClick(&table(), Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(presses.empty());
}

TEST(GridRows, RowCountNeverFallsBelowOneAndZeroReturnsToTheTop)
{
    StartWindowSystem();
    struct Case {
        int rows_before;
        int current_before;
        int set_to;
        int expected_rows;
        int expected_row;
    };
    const Case cases[] = {
        {30, 25, 0, 1, 0},
        {30, 25, -5, 1, 0},
        {30, 25, 1, 1, 0},
        {30, 4, 10, 10, 4},
        {5, 4, 30, 30, 4},
    };
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
        EXPECT_EQ(grid->Row(), c.expected_row);
        if (c.set_to < 1) {
            EXPECT_EQ(grid->TopRow(), 0);
        }
    }
}

TEST(GridCells, TextsKeepTheirBytesAndOutsideCellsAreIgnored)
{
    StartWindowSystem();
    TForm form;
    TStringGrid* grid = form.Add<TStringGrid>();
    grid->SetColCount(2);
    grid->SetRowCount(2);
    const std::string gbk = "\xCC\xD8\xC2\xF4 1:Teapot";
    grid->SetCells(1, 1, gbk);
    grid->SetCells(5, 9, "lost");
    grid->SetCells(-1, 0, "lost");
    EXPECT_EQ(grid->Cells(1, 1), gbk);
    EXPECT_EQ(grid->Cells(5, 9), "");
    EXPECT_EQ(static_cast<QTableWidget*>(grid->Widget())->item(1, 1)->text(), QString::fromUtf8("特卖 1:Teapot"));
}

TEST(GridCells, ColumnWidthsExcludeTheGridLine)
{
    StartWindowSystem();
    TForm form;
    TStringGrid* grid = form.Add<TStringGrid>();
    grid->SetColCount(2);
    grid->SetGridLineWidth(2);
    grid->SetColWidths(0, 35);
    grid->SetColWidths(1, 575);
    auto* table = static_cast<QTableWidget*>(grid->Widget());
    EXPECT_EQ(grid->ColWidths(0), 35);
    EXPECT_EQ(table->columnWidth(0), 37);
    EXPECT_EQ(table->columnViewportPosition(1), 37);
    EXPECT_EQ(table->rowHeight(0), grid->DefaultRowHeight() + 2);
}
