#include "tests/catalogue/CatalogueDocuments.h"
#include "tests/catalogue/CatalogueTestSupport.h"

#include "base/IntegerText.h"
#include "json/json.h"
#include "picture/picture.h"

namespace {

const std::string kFirstSubcategory = "50200001"; // 130 products: batches of 48, 48 and 34

class Browsing : public ServiceWindowTest {
protected:
    void SetUp() override
    {
        ServiceWindowTest::SetUp();
        service->ClearRequests();
    }

    void Open() { OpenWindow(service->BaseUrl()); }

    nlohmann::ordered_json Batch(const std::string& subcategory, int cp)
    {
        return FetchJson(service->BaseUrl(), "idf.php?cq=" + subcategory + "&cp=" + std::to_string(cp));
    }

    std::vector<std::string> TitlesOf(const nlohmann::ordered_json& products, int first, int last)
    {
        std::vector<std::string> titles;
        for (int e = first; e <= last; ++e)
            titles.push_back(ShownText(products[static_cast<size_t>(e)]["title"]));
        return titles;
    }

};


TEST_F(Browsing, StartUpFillsBothListsThePageAndOnePicture)
{
    Open();
    const auto requests = service->CatalogueRequests();
    const int pictures = service->PictureRequests();
    const auto top = FetchJson(service->BaseUrl(), "ide.php?cq=50100982");
    const auto& categories = top.begin().value();

    ASSERT_EQ(requests.size(), 3u) << ::testing::PrintToString(requests);
    EXPECT_EQ(requests[0], "ide.php?cq=50100982");
    EXPECT_EQ(requests[1], "ide.php?cq=" + ShownText(categories[0]["sub_cat_id"]));
    EXPECT_EQ(requests[2], "idf.php?cq=" + kFirstSubcategory + "&cp=0");
    EXPECT_EQ(pictures, 1);

    ASSERT_EQ(form->productselect->Items().Count(), static_cast<int>(categories.size()));
    for (size_t i = 0; i < categories.size(); ++i) {
        EXPECT_EQ(form->productselect->Items().Strings(static_cast<int>(i)), ShownText(categories[i]["sub_cat_name"]));
        EXPECT_EQ(CategoryIds[i + 1], ShownText(categories[i]["sub_cat_id"]));
    }
    EXPECT_EQ(CategoryIds.size(), categories.size() + 1);
    EXPECT_EQ(CategoryIds[0], "");
    EXPECT_EQ(form->productselect->ItemIndex(), 0);
    EXPECT_EQ(form->subproductlist->ItemIndex(), 0);
    EXPECT_EQ(SubcategoryIds[1], kFirstSubcategory);

    const auto products = ProductsOf(Batch(kFirstSubcategory, 0));
    EXPECT_EQ(form->lbltotalcount->Caption(), "130");
    EXPECT_EQ(form->lblpagecount->Caption(), "1/6");
    EXPECT_FALSE(form->btnpre->Enabled());
    EXPECT_TRUE(form->btnnext->Enabled());
    EXPECT_EQ(GridTitles(), TitlesOf(products, 0, 23));
    EXPECT_EQ(form->gridshowinfo->Cells(0, 23), "24");
    EXPECT_EQ(form->gridshowinfo->Row(), 0);
    EXPECT_EQ(form->lbltitle->Caption(), "1:" + ShownText(products[0]["title"]));

    EXPECT_EQ(form->Caption(), AppTitle);
    EXPECT_FALSE(form->ProgressBar1->Visible());
    EXPECT_EQ(form->ProgressBar1->Position(), 4);
    ASSERT_EQ(PictureSizes.size(), 25u);
    EXPECT_GT(PictureSizes[0], 0);
    EXPECT_EQ(PictureSizes[0], PictureStore->Size());
    for (size_t k = 1; k < PictureSizes.size(); ++k)
        EXPECT_EQ(PictureSizes[k], 0) << k;
    EXPECT_NE(form->Image1->Picture().Graphic(), nullptr);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Browsing, PagesMoveThroughBatchesAndRequestOnlyEvenPages)
{
    Open();
    const auto batch0 = ProductsOf(Batch(kFirstSubcategory, 0));
    const auto batch1 = ProductsOf(Batch(kFirstSubcategory, 96));
    const auto batch2 = ProductsOf(Batch(kFirstSubcategory, 192));
    service->ClearRequests();

    struct Step {
        TButton* TForm1Controls::*button;
        std::vector<std::string> requests;
        const char* counter;
        bool pre_enabled, next_enabled;
        const nlohmann::ordered_json* batch;
        int first, last;
    } steps[] = {
        {&TForm1Controls::btnnext, {}, "2/6", true, true, &batch0, 24, 47},
        {&TForm1Controls::btnnext, {"idf.php?cq=50200001&cp=96"}, "3/6", true, true, &batch1, 0, 23},
        // Back to an odd page: its own batch comes first, not the later page's.
        {&TForm1Controls::btnpre, {"idf.php?cq=50200001&cp=0"}, "2/6", true, true, &batch0, 24, 47},
        {&TForm1Controls::btnnext, {"idf.php?cq=50200001&cp=96"}, "3/6", true, true, &batch1, 0, 23},
        {&TForm1Controls::btnnext, {}, "4/6", true, true, &batch1, 24, 47},
        {&TForm1Controls::btnnext, {"idf.php?cq=50200001&cp=192"}, "5/6", true, true, &batch2, 0, 16},
        {&TForm1Controls::btnnext, {}, "6/6", true, false, &batch2, 17, 33},
        {&TForm1Controls::btnpre, {"idf.php?cq=50200001&cp=192"}, "5/6", true, true, &batch2, 0, 16},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        service->ClearRequests();
        Click(*(form.get()->*step.button));
        EXPECT_EQ(service->CatalogueRequests(), step.requests);
        EXPECT_EQ(form->lblpagecount->Caption(), step.counter);
        EXPECT_EQ(form->btnpre->Enabled(), step.pre_enabled);
        EXPECT_EQ(form->btnnext->Enabled(), step.next_enabled);
        EXPECT_EQ(GridTitles(), TitlesOf(*step.batch, step.first, step.last));
        EXPECT_EQ(form->gridshowinfo->Row(), 0);
        EXPECT_EQ(form->lbltitle->Caption(), "1:" + ShownText((*step.batch)[static_cast<size_t>(step.first)]["title"]));
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Browsing, ListChangesShowBatchesOf47And48And30)
{
    Open();
    struct Case {
        int category, subcategory;
        int even_rows, odd_rows;
    } cases[] = {
        {0, 1, 23, 24}, // 47 products
        {0, 2, 24, 24}, // 48 products
        {5, 0, 15, 15}, // 30 products
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("category " + std::to_string(c.category) + " subcategory " + std::to_string(c.subcategory));
        service->ClearRequests();
        const int before = form->productselect->ItemIndex();
        ChooseWithKeys(*form->productselect, c.category);
        if (c.category != before) {
            // One request for each arrow step's category, then its first page.
            ASSERT_FALSE(service->CatalogueRequests().empty());
            EXPECT_EQ(service->CatalogueRequests().back(), "idf.php?cq=" + SubcategoryIds[1] + "&cp=0");
        }
        ChooseWithKeys(*form->subproductlist, c.subcategory);
        const std::string id = SubcategoryIds[static_cast<size_t>(c.subcategory) + 1];
        EXPECT_EQ(service->CatalogueRequests().back(), "idf.php?cq=" + id + "&cp=0");
        EXPECT_EQ(form->gridshowinfo->RowCount(), c.even_rows);
        EXPECT_EQ(form->lblpagecount->Caption(), "1/2");
        Click(*form->btnnext);
        EXPECT_EQ(form->gridshowinfo->RowCount(), c.odd_rows);
        EXPECT_EQ(form->lblpagecount->Caption(), "2/2");
        EXPECT_FALSE(form->btnnext->Enabled());
        EXPECT_TRUE(form->btnpre->Enabled());
        Click(*form->btnpre);
        EXPECT_EQ(form->lblpagecount->Caption(), "1/2");
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Browsing, FirstGridPressDownloadsThePageOnceAndLaterPagesInFull)
{
    Open();
    service->ClearRequests();
    PressRow(3);
    EXPECT_EQ(service->PictureRequests(), 24);
    EXPECT_TRUE(PicturesFetched);
    EXPECT_FALSE(StopPictureDownload);
    int64_t total = 0;
    for (int32_t size : PictureSizes)
        total += size;
    EXPECT_EQ(total, PictureStore->Size());
    EXPECT_EQ(PictureSizes[24], 0);

    service->ClearRequests();
    PressRow(5);
    PressRow(5, TMouseButton::Right);
    EXPECT_EQ(service->PictureRequests(), 0);

    Click(*form->btnnext);
    EXPECT_EQ(service->PictureRequests(), 24);
    EXPECT_TRUE(service->CatalogueRequests().empty());
}

TEST_F(Browsing, PressedRowFillsTheDetailPanel)
{
    Open();
    const auto products = ProductsOf(Batch(kFirstSubcategory, 0));
    for (int row = 0; row < 24; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        PressRow(row);
        ASSERT_EQ(form->gridshowinfo->Row(), row);
        const auto& product = products[static_cast<size_t>(row)];
        EXPECT_EQ(form->lbltitle->Caption(), IntToStr(row + 1) + ":" + ShownText(product["title"]));
        EXPECT_EQ(form->price->Caption(), ShownText(product["price"]));
        EXPECT_EQ(form->promotion_price->Caption(), ShownText(product["promotion_price"]));
        EXPECT_EQ(form->monthvolume->Caption(), ShownText(product["volume"]));
        EXPECT_EQ(form->comment_num->Caption(), ShownText(product["comment_num"]));
        EXPECT_EQ(form->brand_name->Caption(), ShownText(product["brand_name"]));

        const std::pair<TLabel*, TLabel*> units[] = {{form->Label6, form->price},
                                                     {form->Label7, form->promotion_price},
                                                     {form->Label8, form->comment_num},
                                                     {form->Label9, form->monthvolume}};
        for (const auto& [unit, value] : units)
            EXPECT_EQ(unit->Left(), value->Left() + value->Width() + 5);

        const std::string popularity = form->comment_num->Caption();
        const bool rising = popularity.find("\xCD\xF2") != std::string::npos || popularity.find('.') != std::string::npos ||
                            (int64_t{StrToInt(popularity)} + 219) % 9 != 0;
        EXPECT_EQ(form->Label8->Caption(), rising ? "\xA1\xFC" : "\xA1\xFA");
        EXPECT_EQ(form->Label8->Font().Color, rising ? Colors::Red : Colors::Blue);

        int left = 207;
        const std::pair<const char*, TImage*> tags[] = {
            {"tag_new", form->Image2}, {"tag_hot", form->Image3}, {"tag_lq", form->Image4}};
        for (const auto& [tag, box] : tags) {
            if (ShownText(product[tag]).empty()) {
                EXPECT_EQ(box->Picture().Graphic(), nullptr) << tag;
                continue;
            }
            EXPECT_NE(box->Picture().Graphic(), nullptr) << tag;
            EXPECT_EQ(box->Left(), left) << tag;
            left += 67;
        }
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Browsing, EmptyPagesShowNothingStale)
{
    Open();
    const auto grid_is_one_empty_row = [this] {
        EXPECT_EQ(form->gridshowinfo->RowCount(), 1);
        EXPECT_EQ(form->gridshowinfo->Cells(0, 0), "");
        EXPECT_EQ(form->gridshowinfo->Cells(1, 0), "");
    };

    // 49 products: the second batch holds one, so page 3 of 4 shows no row
    // while the panel shows that batch's item 0, the product of page 4.
    ChooseWithKeys(*form->subproductlist, 3);
    ASSERT_EQ(form->lbltotalcount->Caption(), "49");
    Click(*form->btnnext);
    Click(*form->btnnext);
    const auto last_batch = ProductsOf(Batch(SubcategoryIds[4], 96));
    ASSERT_EQ(last_batch.size(), 1u);
    EXPECT_EQ(form->lblpagecount->Caption(), "3/4");
    grid_is_one_empty_row();
    EXPECT_EQ(form->lbltitle->Caption(), "1:" + ShownText(last_batch[0]["title"]));
    Click(*form->btnnext);
    EXPECT_EQ(form->lblpagecount->Caption(), "4/4");
    EXPECT_EQ(GridTitles(), TitlesOf(last_batch, 0, 0));

    // A subcategory without products after one with a picture and tag icons:
    // the panel is emptied.
    ChooseWithKeys(*form->productselect, 2);
    PressRow(0);
    ASSERT_NE(form->Image1->Picture().Graphic(), nullptr);
    ChooseWithKeys(*form->subproductlist, 1);
    EXPECT_EQ(form->lbltotalcount->Caption(), "0");
    EXPECT_EQ(form->lblpagecount->Caption(), "1/0");
    EXPECT_FALSE(form->btnpre->Enabled());
    EXPECT_TRUE(form->btnnext->Enabled());
    grid_is_one_empty_row();
    for (TLabel* label : {form->lbltitle, form->price, form->promotion_price, form->monthvolume, form->comment_num,
                          form->brand_name, form->Label8})
        EXPECT_EQ(label->Caption(), "");
    for (TImage* box : {form->Image1, form->Image2, form->Image3, form->Image4})
        EXPECT_EQ(box->Picture().Graphic(), nullptr);
    EXPECT_EQ(form->Label6->Left(), form->price->Left() + form->price->Width() + 5);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Browsing, EveryClickableControlOpensTheSameProductPage)
{
    Open();
    const auto products = ProductsOf(Batch(kFirstSubcategory, 0));
    Click(*form->btnnext);
    PressRow(2);
    const std::string detail = ShownText(products[26]["detail_url"]);
    const std::string expected = service->BaseUrl() + "index.php?cid=" + ExtractItemId(detail);
    ASSERT_FALSE(ExtractItemId(detail).empty());

    for (TControl* control : std::initializer_list<TControl*>{form->Image1, form->lbltitle, form->brand_name,
                                                              form->promotion_price})
        Click(*control);
    EXPECT_EQ(opened, std::vector<std::string>(4, expected));
}

TEST_F(Browsing, TitleHoverTogglesOnlyTheUnderline)
{
    Open();
    Hover(*form->lbltitle, true);
    EXPECT_TRUE(form->lbltitle->Font().Underline);
    EXPECT_TRUE(form->lbltitle->Font().Bold);
    Hover(*form->lbltitle, false);
    EXPECT_FALSE(form->lbltitle->Font().Underline);
    EXPECT_TRUE(form->lbltitle->Font().Bold);
}

} // namespace
