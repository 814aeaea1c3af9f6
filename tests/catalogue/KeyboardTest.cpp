#include "tests/catalogue/CatalogueDocuments.h"
#include "tests/catalogue/CatalogueTestSupport.h"

#include "json/json.h"

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

    std::string TitleOfRow(int row) const
    {
        return std::to_string(row + 1) + ":" + ShownText(products[static_cast<size_t>(row)]["title"]);
    }

    nlohmann::ordered_json products;
};

TEST_F(Keyboard, RowReachedByKeyShowsItsProductAndTheFirstOneFetchesThePage)
{
    struct Step {
        const char* name;
        TestKey key;
        bool shift;
        int row; // -1: somewhere further on
    } steps[] = {
        {"Up", TestKey::Up, false, 0}, // already on the first row: nothing runs
        {"Right", TestKey::Right, false, 0},
        {"Down", TestKey::Down, false, 1}, // the first move counts as the first press: the whole page
        {"Shift+Down", TestKey::Down, true, 2},
        {"Page Down", TestKey::PageDown, false, -1},
        {"End", TestKey::End, false, 23},
        {"Page Up", TestKey::PageUp, false, -1},
        {"Home", TestKey::Home, false, 0},
    };
    int pictures = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int before = form->gridshowinfo->Row();
        PressKey(*form->gridshowinfo, step.key, step.shift);
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
    for (TestKey key : {TestKey::Down, TestKey::Down, TestKey::Return, TestKey::KeypadEnter})
        PressKey(*form->gridshowinfo, key);
    const std::string expected =
        service->BaseUrl() + "index.php?cid=" + ExtractItemId(ShownText(products[2]["detail_url"]));
    EXPECT_EQ(opened, std::vector<std::string>(2, expected));
}

TEST_F(Keyboard, ReturnAndKeypadEnterPressAFocusedButton)
{
    PressKey(*form->btnnext, TestKey::Return);
    EXPECT_EQ(form->lblpagecount->Caption().substr(0, 2), "2/");
    PressKey(*form->btnpre, TestKey::KeypadEnter);
    EXPECT_EQ(form->lblpagecount->Caption().substr(0, 2), "1/");
}

} // namespace
