#include "server/CatalogueStore.h"
#include "server/SampleCatalogue.h"
#include "server/SamplePictures.h"
#include "server/ServerErrors.h"
#include "server/ServerOptions.h"
#include "server/ServiceLimits.h"
#include "tests/server/ServerTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

namespace {

TEST(SampleCatalogue, EveryPagingCaseHasASubcategory)
{
    for (int size : sample_catalogue::kPagingCaseSizes)
        EXPECT_NO_THROW(subcategory_of_size(size)) << size;
}

TEST(SampleCatalogue, StartPageCanPageBothWays)
{
    const SampleCatalogue catalogue = make_sample_catalogue();
    ASSERT_GE(catalogue.categories.size(), 2u);
    const CategoryRecord& top = catalogue.categories[0];
    const CategoryRecord& first_sub = catalogue.categories[1];
    EXPECT_EQ(top.parent_id, service_limits::kRootCategoryId);
    EXPECT_EQ(first_sub.parent_id, top.id);
    EXPECT_EQ(first_sub.position, 0);
    int products = 0;
    for (const ProductRecord& p : catalogue.products)
        products += p.category_id == first_sub.id;
    EXPECT_GT(products, 2 * service_limits::kBatchSize);
}

TEST(SampleCatalogue, TreeHasSixTopCategoriesOfThreeToSixSubcategories)
{
    const SampleCatalogue catalogue = make_sample_catalogue();
    std::map<std::int64_t, int> children;
    int tops = 0;
    for (const CategoryRecord& c : catalogue.categories) {
        if (c.parent_id == service_limits::kRootCategoryId)
            ++tops;
        else
            ++children[c.parent_id];
    }
    EXPECT_EQ(tops, 6);
    for (const auto& [parent, count] : children) {
        EXPECT_GE(count, 3) << parent;
        EXPECT_LE(count, 6) << parent;
    }
}

TEST(SampleCatalogue, ProductsCoverEveryTagCombinationAndMissingPicturesAvoidPageStarts)
{
    const SampleCatalogue catalogue = make_sample_catalogue();
    std::set<int> combinations;
    std::set<std::int64_t> ids;
    int missing = 0;
    for (const ProductRecord& p : catalogue.products) {
        combinations.insert(!p.tag_new.empty() + 2 * !p.tag_hot.empty() + 4 * !p.tag_lq.empty());
        EXPECT_TRUE(ids.insert(p.id).second) << "duplicate id " << p.id;
        EXPECT_LE(p.promotion_cents, p.price_cents) << p.id;
        if (p.picture_id == 0) {
            ++missing;
            EXPECT_NE(p.position % (service_limits::kBatchSize / 2), 0) << p.id;
        }
    }
    EXPECT_EQ(combinations.size(), 8u);
    EXPECT_GT(missing, 3);
}

TEST(SampleCatalogue, SameCatalogueOnEveryRun)
{
    const SampleCatalogue a = make_sample_catalogue();
    const SampleCatalogue b = make_sample_catalogue();
    ASSERT_EQ(a.products.size(), b.products.size());
    for (std::size_t i = 0; i < a.products.size(); ++i) {
        EXPECT_EQ(a.products[i].title, b.products[i].title);
        EXPECT_EQ(a.products[i].price_cents, b.products[i].price_cents);
    }
    ASSERT_EQ(a.pictures.size(), b.pictures.size());
    for (std::size_t i = 0; i < a.pictures.size(); ++i)
        EXPECT_EQ(encode_sample_picture(a.pictures[i]), encode_sample_picture(b.pictures[i]));
}

TEST(SamplePictures, EveryKindDecodesAtItsSize)
{
    const SampleCatalogue catalogue = make_sample_catalogue();
    bool saw_gray = false, saw_progressive = false;
    for (const PicturePlan& plan : catalogue.pictures) {
        const auto facts = decode_jpeg(encode_sample_picture(plan));
        ASSERT_TRUE(facts) << plan.id;
        EXPECT_EQ(facts->width, plan.width);
        EXPECT_EQ(facts->height, plan.height);
        EXPECT_EQ(facts->components, plan.colour == PictureColour::Grayscale ? 1 : 3);
        EXPECT_EQ(facts->progressive, plan.scan == PictureScan::Progressive);
        saw_gray |= plan.colour == PictureColour::Grayscale;
        saw_progressive |= plan.scan == PictureScan::Progressive;
    }
    EXPECT_TRUE(saw_gray);
    EXPECT_TRUE(saw_progressive);
}

TEST(SamplePictures, SizesOutsideTheEncoderRangeAreRefused)
{
    for (const auto& [w, h] : {std::pair{0, 10}, {10, 0}, {-5, 10}, {sample_pictures::kMaxSide + 1, 10}}) {
        PicturePlan plan;
        plan.width = w;
        plan.height = h;
        EXPECT_THROW(encode_sample_picture(plan), EPictureEncodeError) << w << "x" << h;
    }
}

TEST(CatalogueStore, ForeignOrDamagedFileIsRefusedNotServed)
{
    TempFolder folder;
    const auto text_file = folder.Path() / "notes.db";
    std::ofstream(text_file) << "this is not a catalogue";
    EXPECT_THROW(CatalogueStore::OpenOrCreate(text_file), ECatalogueStoreError);

    const auto empty_file = folder.Path() / "empty.db";
    std::ofstream{empty_file};
    EXPECT_THROW(CatalogueStore::OpenOrCreate(empty_file), ECatalogueStoreError);
}

TEST(CatalogueStore, FailedCreationLeavesNoFileBehind)
{
    TempFolder folder;
    const auto path = folder.Path() / "missing-folder" / "catalogue.db";
    EXPECT_THROW(CatalogueStore::OpenOrCreate(path), ECatalogueStoreError);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "missing-folder"));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(CatalogueStore, ExistingFileIsReusedNotRegenerated)
{
    TempFolder folder;
    const auto path = folder.Path() / "catalogue.db";
    CatalogueStore::OpenOrCreate(path);
    const auto written = std::filesystem::last_write_time(path);
    const auto store = CatalogueStore::OpenOrCreate(path);
    EXPECT_EQ(std::filesystem::last_write_time(path), written);
    EXPECT_EQ(store->ProductCount(subcategory_of_size(97)), 97);
    EXPECT_EQ(store->Products(subcategory_of_size(49), 48, 48).size(), 1u);
    EXPECT_FALSE(store->Product(1));
    EXPECT_FALSE(store->Picture(1));
}

TEST(ServerOptions, CommandLinesAndTheirFaults)
{
    const ServerOptions defaults = parse_server_options({});
    EXPECT_EQ(defaults.listen, "127.0.0.1");
    EXPECT_EQ(defaults.port, 80);
    EXPECT_TRUE(defaults.db.empty());

    const ServerOptions given = parse_server_options({"--port", "0", "--listen=0.0.0.0", "--db", "x.db"});
    EXPECT_EQ(given.port, 0);
    EXPECT_EQ(given.listen, "0.0.0.0");
    EXPECT_EQ(given.db, "x.db");

    const std::vector<std::vector<std::string>> refused = {
        {"--port"}, {"--port", "65536"}, {"--port", "-1"}, {"--port", "http"}, {"--verbose"},
        {"port", "80"}, {"--db="}, {"--listen", ""},
    };
    for (const auto& arguments : refused)
        EXPECT_THROW(parse_server_options(arguments), EServerSetupError) << arguments[0];
}

} // namespace
