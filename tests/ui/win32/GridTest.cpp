#include "tests/ui/GridFixture.h"
#include "tests/ui/win32/Win32TestSupport.h"

// The grid's tests of what only the list view has: its page size and its
// scroll bar. The rest run on both backends (../GridTest.cpp).

using Win32Grid = GridFixture;

TEST_F(Win32Grid, KeysMoveTheRowWithoutAPress)
{
    const int page = static_cast<int>(SendMessageW(grid->Widget(), LVM_GETCOUNTPERPAGE, 0, 0));
    struct Case {
        int from;
        WPARAM key;
        int expected;
    };
    const Case cases[] = {{1, VK_DOWN, 2},  {1, VK_UP, 0},  {0, VK_UP, 0},           {3, VK_NEXT, 3 + page},
                          {29, VK_NEXT, 29}, {3, VK_HOME, 0}, {3, VK_END, 29},        {29, VK_PRIOR, 29 - page}};
    SetFocus(grid->Widget());
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
