#include "base/Exception.h"
#include "tests/ui/win32/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Pressed {
    TMouseButton button;
    TShiftState shift;
    int row; // the current row when the handler ran
};

class Win32Grid : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartWindowSystem();
        form = std::make_unique<TForm>();
        form->SetClientSize(300, 400);
        grid = form->Add<TStringGrid>();
        grid->SetBounds(0, 0, 300, 300);
        grid->SetColCount(2);
        grid->SetRowCount(30);
        grid->SetColWidths(0, 35);
        grid->SetColWidths(1, 200);
        for (int r = 0; r < 30; ++r)
            grid->SetCells(1, r, "row " + std::to_string(r));
        grid->OnMouseDown = [this](TControl*, TMouseButton button, TShiftState shift, int, int) {
            presses.push_back({button, shift, grid->Row()});
        };
        form->Show();
        Application->ProcessMessages();
    }

    HWND list() { return grid->Widget(); }
    // The middle of a visible row's title cell, in client pixels.
    POINT centre_of_row(int row)
    {
        RECT box{};
        box.left = LVIR_BOUNDS;
        SendMessageW(list(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&box));
        return {box.left + 37 + 50, (box.top + box.bottom) / 2};
    }
    void press_row(int row, UINT down, WPARAM keys = 0)
    {
        const POINT at = centre_of_row(row);
        Press(list(), down, at.x, at.y, keys);
    }

    std::unique_ptr<TForm> form;
    TStringGrid* grid = nullptr;
    std::vector<Pressed> presses;
};

} // namespace

TEST_F(Win32Grid, OnlyAPlainLeftPressMovesTheRowAndEveryPressReachesTheHandler)
{
    struct Case {
        const char* what;
        UINT down;
        WPARAM keys;
        TMouseButton button;
        int expected_row;
        bool shift, second;
    };
    const Case cases[] = {
        {"left", WM_LBUTTONDOWN, 0, TMouseButton::Left, 5, false, false},
        {"right", WM_RBUTTONDOWN, 0, TMouseButton::Right, 1, false, false},
        {"middle", WM_MBUTTONDOWN, 0, TMouseButton::Middle, 1, false, false},
        {"left with shift", WM_LBUTTONDOWN, MK_SHIFT, TMouseButton::Left, 1, true, false},
        {"second press of a double click", WM_LBUTTONDBLCLK, 0, TMouseButton::Left, 1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetRow(1);
        presses.clear();
        press_row(5, c.down, c.keys);
        EXPECT_EQ(grid->Row(), c.expected_row);
        ASSERT_EQ(presses.size(), 1u);
        EXPECT_EQ(presses[0].button, c.button);
        EXPECT_EQ(presses[0].row, c.expected_row); // moved before the handler runs
        EXPECT_EQ(presses[0].shift.Shift, c.shift);
        EXPECT_EQ(presses[0].shift.Double, c.second);
    }
}

TEST_F(Win32Grid, ShiftPressExtendsTheSelectionRefusedRowsAndPressesBelowTheRowsKeepIt)
{
    grid->SetRow(2);
    press_row(5, WM_LBUTTONDOWN, MK_SHIFT);
    EXPECT_EQ(grid->SelectionTop(), 2);
    EXPECT_EQ(grid->SelectionBottom(), 5);
    EXPECT_EQ(grid->Row(), 2);

    grid->OnSelectCell = [](TControl*, int, int row, bool& can_select) { can_select = row != 4; };
    press_row(4, WM_LBUTTONDOWN);
    EXPECT_EQ(grid->Row(), 2);
    press_row(6, WM_LBUTTONDOWN);
    EXPECT_EQ(grid->Row(), 6);

    grid->SetRowCount(3);
    grid->SetRow(1);
    presses.clear();
    RECT client;
    GetClientRect(list(), &client);
    Press(list(), WM_LBUTTONDOWN, 50, client.bottom - 5);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(presses.size(), 1u);
}

TEST_F(Win32Grid, ErrorInThePressHandlerIsReportedAndTheGridGoesOn)
{
    InterceptedBoxes boxes;
    grid->OnMouseDown = [](TControl*, TMouseButton, TShiftState, int, int) { throw Exception("bad row"); };
    press_row(3, WM_LBUTTONDOWN);
    press_row(4, WM_LBUTTONDOWN);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "bad row.");
    EXPECT_EQ(grid->Row(), 4);
}

TEST_F(Win32Grid, KeysMoveTheRowWithoutAPress)
{
    const int page = static_cast<int>(SendMessageW(list(), LVM_GETCOUNTPERPAGE, 0, 0));
    struct Case {
        int from;
        WPARAM key;
        int expected;
    };
    const Case cases[] = {{1, VK_DOWN, 2},  {1, VK_UP, 0},  {0, VK_UP, 0},           {3, VK_NEXT, 3 + page},
                          {29, VK_NEXT, 29}, {3, VK_HOME, 0}, {3, VK_END, 29},        {29, VK_PRIOR, 29 - page}};
    SetFocus(list());
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "from " << c.from << " key " << c.key);
        grid->SetRow(c.from);
        presses.clear();
        KeyToFocus(c.key);
        EXPECT_EQ(grid->Row(), c.expected);
        EXPECT_EQ(grid->SelectionTop(), c.expected);
        EXPECT_TRUE(presses.empty());
        // The row is scrolled into view.
        EXPECT_LE(grid->TopRow(), c.expected);
        EXPECT_LT(c.expected, grid->TopRow() + page + 1);
    }
}

TEST(Win32GridRows, RowCountNeverFallsBelowOneAndZeroReturnsToTheTop)
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
        EXPECT_EQ(SendMessageW(grid->Widget(), LVM_GETITEMCOUNT, 0, 0), c.expected_rows);
        EXPECT_EQ(grid->Row(), c.expected_row);
        if (c.set_to < 1) {
            EXPECT_EQ(grid->TopRow(), 0);
        }
    }
}

TEST(Win32GridCells, ScreenReadersReadTheRowsTextsAndTheSizesIncludeTheLines)
{
    StartWindowSystem();
    TForm form;
    TStringGrid* grid = form.Add<TStringGrid>();
    grid->SetBounds(0, 0, 633, 169);
    grid->SetColCount(2);
    grid->SetRowCount(2);
    grid->SetDefaultRowHeight(20);
    grid->SetGridLineWidth(2);
    grid->SetColWidths(0, 35);
    grid->SetColWidths(1, 575);
    const std::string gbk = "\xCC\xD8\xC2\xF4 1:Teapot";
    grid->SetCells(1, 1, gbk);
    grid->SetCells(5, 9, "lost");
    grid->SetCells(-1, 0, "lost");
    EXPECT_EQ(grid->Cells(1, 1), gbk);
    EXPECT_EQ(grid->Cells(5, 9), "");
    // What an accessibility client asks the list view for.
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(grid->Widget(), LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(text), L"\u7279\u5356 1:Teapot");
    EXPECT_EQ(SendMessageW(grid->Widget(), LVM_GETCOLUMNWIDTH, 0, 0), 37);
    EXPECT_EQ(SendMessageW(grid->Widget(), LVM_GETCOLUMNWIDTH, 1, 0), 577);
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(grid->Widget(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(row.bottom - row.top, 22);
}

TEST(Win32GridRows, RowsGivenBeforeTheWindowFirstShowsAreLaidOutAsItShowsAndLaterOnesOnTheLoopsNextTurn)
{
    StartWindowSystem();
    struct Case {
        const char* what;
        int rows;
        bool added_after_show, hidden, scroll_bar;
    };
    const Case cases[] = {{"many rows before", 30, false, false, true},
                          {"few rows before", 3, false, false, false},
                          {"hidden before", 30, false, true, true},
                          {"grid added after", 30, true, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TForm form;
        form.SetClientSize(300, 200);
        if (c.added_after_show)
            form.Show();
        TStringGrid* grid = form.Add<TStringGrid>();
        grid->SetBounds(0, 0, 200, 100);
        grid->SetColCount(2);
        grid->SetRowCount(c.rows);
        grid->SetCells(1, c.rows - 1, "last");
        grid->SetVisible(!c.hidden);
        if (!c.added_after_show)
            form.Show();
        else
            Application->ProcessMessages(); // a page filled row by row is drawn once
        HWND list = grid->Widget();
        EXPECT_EQ(IsWindowVisible(list) != FALSE, !c.hidden);
        EXPECT_EQ((GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) != 0, c.scroll_bar);
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), c.rows);
        RECT row{};
        row.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
        EXPECT_EQ(row.top, 22);
        EXPECT_EQ(row.bottom - row.top, 22);
    }
}
