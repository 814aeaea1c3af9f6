#include "tests/catalogue/CatalogueDocuments.h"
#include "tests/catalogue/CatalogueTestSupport.h"

#include "json/json.h"

#include <QImage>
#include <QTest>
#include <QWidget>

namespace {

class Keyboard : public ServiceWindowTest {
protected:
    void SetUp() override
    {
        ServiceWindowTest::SetUp();
        OpenWindow(service->BaseUrl());
        products = ProductsOf(FetchJson(service->BaseUrl(), "idf.php?cq=50200001&cp=0"));
        service->ClearRequests();
    }

    QWidget* Grid() const { return form->gridshowinfo->Widget(); }
    std::string TitleOfRow(int row) const
    {
        return std::to_string(row + 1) + ":" + ShownText(products[static_cast<size_t>(row)]["title"]);
    }

    nlohmann::ordered_json products;
};

TEST_F(Keyboard, RowReachedByKeyShowsItsProductAndTheFirstOneFetchesThePage)
{
    Grid()->setFocus();
    struct Step {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int row; // -1: somewhere further on
    } steps[] = {
        {"Up", Qt::Key_Up, {}, 0}, // already on the first row: nothing runs
        {"Right", Qt::Key_Right, {}, 0},
        {"Down", Qt::Key_Down, {}, 1}, // the first move counts as the first press: the whole page
        {"Shift+Down", Qt::Key_Down, Qt::ShiftModifier, 2},
        {"Page Down", Qt::Key_PageDown, {}, -1},
        {"End", Qt::Key_End, {}, 23},
        {"Page Up", Qt::Key_PageUp, {}, -1},
        {"Home", Qt::Key_Home, {}, 0},
    };
    int pictures = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int before = form->gridshowinfo->Row();
        QTest::keyClick(Grid(), step.key, step.modifiers);
        const int row = form->gridshowinfo->Row();
        if (step.row >= 0)
            EXPECT_EQ(row, step.row);
        else
            EXPECT_NE(row, before);
        EXPECT_EQ(form->lbltitle->Caption(), TitleOfRow(row));
        EXPECT_EQ(form->brand_name->Caption(), ShownText(products[static_cast<size_t>(row)]["brand_name"]));
        EXPECT_NE(form->Image1->Picture().Graphic(), nullptr);
        pictures = service->PictureRequests();
        EXPECT_EQ(PicturesFetched, pictures > 0);
    }
    EXPECT_EQ(pictures, 24);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Keyboard, ReturnAndKeypadEnterOpenTheCurrentRowsPage)
{
    QTest::keyClick(Grid(), Qt::Key_Down);
    QTest::keyClick(Grid(), Qt::Key_Down);
    QTest::keyClick(Grid(), Qt::Key_Return);
    QTest::keyClick(Grid(), Qt::Key_Enter, Qt::KeypadModifier);
    const std::string expected =
        service->BaseUrl() + "index.php?cid=" + ExtractItemId(ShownText(products[2]["detail_url"]));
    EXPECT_EQ(opened, std::vector<std::string>(2, expected));
}

TEST_F(Keyboard, ReturnAndKeypadEnterPressAFocusedButton)
{
    QTest::keyClick(form->btnnext->Widget(), Qt::Key_Return);
    EXPECT_EQ(form->lblpagecount->Caption().substr(0, 2), "2/");
    QTest::keyClick(form->btnpre->Widget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(form->lblpagecount->Caption().substr(0, 2), "1/");
}

// The focus shows wherever it is: the first list from the start, the grid's
// current row when the grid has it; nothing else of the window changes.
TEST_F(Keyboard, FocusIsVisibleOnTheFirstListAndOnTheGridsCurrentRow)
{
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->productselect->Widget()->hasFocus(); }));
    const QImage list_focused = form->productselect->Widget()->grab().toImage();
    list_focused.save("/tmp/list_focused.png");
    form->Widget()->grab().save("/tmp/win_focused.png");
    const QImage grid_unfocused = Grid()->grab().toImage();
    Grid()->setFocus(Qt::TabFocusReason);
    const QImage list_unfocused = form->productselect->Widget()->grab().toImage();
    const QImage grid_focused = Grid()->grab().toImage();
    EXPECT_NE(list_focused, list_unfocused);
    ASSERT_EQ(grid_focused.size(), grid_unfocused.size());
    // Only the current (first) row changes.
    const int row_bottom = 22 * Grid()->devicePixelRatio();
    for (int y = 0; y < grid_focused.height(); ++y) {
        for (int x = 0; x < grid_focused.width(); ++x) {
            if (grid_focused.pixel(x, y) != grid_unfocused.pixel(x, y)) {
                ASSERT_LT(y, row_bottom + 2) << "at " << x << "," << y;
            }
        }
    }
    EXPECT_NE(grid_focused, grid_unfocused);
}

} // namespace
