#include "server/CatalogueDocuments.h"
#include "server/SampleCatalogue.h"
#include "server/ServiceLimits.h"
#include "tests/server/ServerTestSupport.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <regex>

namespace {

using Json = nlohmann::ordered_json;

class Service : public ::testing::Test {
protected:
    RunningService service;
    httplib::Client client{"127.0.0.1", service.Port()};

    httplib::Result Get(const std::string& relative) { return client.Get("/kestrid/" + relative); }

    Json Document(const std::string& relative)
    {
        const auto answer = Get(relative);
        EXPECT_TRUE(answer) << relative;
        if (!answer)
            return Json();
        EXPECT_EQ(answer->status, 200) << relative;
        return Json::parse(answer->body);
    }

    Json Batch(std::int64_t subcategory, std::int64_t cp)
    {
        return Document("idf.php?cq=" + std::to_string(subcategory) + "&cp=" + std::to_string(cp));
    }

    // The product list found the way the client finds it: fifth root member, first member of that.
    static const Json& Items(const Json& batch)
    {
        const Json& container = std::next(batch.begin(), 4).value();
        return container.begin().value();
    }
};

std::string text_of(const Json& value) { return value.is_string() ? value.get<std::string>() : value.dump(); }

TEST_F(Service, RootCategoryDocumentHasOneMemberListingTheTopCategories)
{
    const Json root = Document("ide.php?cq=50100982");
    ASSERT_TRUE(root.is_object());
    ASSERT_EQ(root.size(), 1u);
    const Json& list = root.begin().value();
    ASSERT_TRUE(list.is_array());
    ASSERT_EQ(list.size(), 6u);
    EXPECT_EQ(list[0]["sub_cat_name"], "女装");
    EXPECT_EQ(text_of(list[0]["sub_cat_id"]), std::to_string(sample_catalogue::kFirstTopCategoryId));

    const Json subs = Document("ide.php?cq=" + text_of(list[0]["sub_cat_id"]));
    ASSERT_EQ(subs.size(), 1u);
    const Json& sub_list = subs.begin().value();
    ASSERT_GE(sub_list.size(), 3u);
    EXPECT_EQ(text_of(sub_list[0]["sub_cat_id"]), std::to_string(sample_catalogue::kFirstSubcategoryId));
}

TEST_F(Service, CategoryIdsComeAsTextAndAsNumbersNamesRawAndEscaped)
{
    const auto answer = Get("ide.php?cq=50100982");
    ASSERT_TRUE(answer);
    EXPECT_NE(answer->body.find("\"sub_cat_id\":\""), std::string::npos);
    EXPECT_TRUE(std::regex_search(answer->body, std::regex("\"sub_cat_id\":[0-9]")));
    EXPECT_NE(answer->body.find("\\u"), std::string::npos);
    EXPECT_NE(answer->body.find("女装"), std::string::npos);
}

TEST_F(Service, UnknownOrLeafCategoryGivesAnEmptyListNotAnError)
{
    for (const char* id : {"1", "999999999999999999", "50200001"}) {
        const Json root = Document(std::string("ide.php?cq=") + id);
        ASSERT_EQ(root.size(), 1u) << id;
        EXPECT_TRUE(root.begin().value().empty()) << id;
    }
}

TEST_F(Service, BatchBoundariesAroundFullBatches)
{
    const struct {
        int size;
        std::int64_t cp;
        std::size_t items;
        std::int64_t pages;
        int first_position;
    } cases[] = {
        {47, 0, 47, 1, 0},   {48, 0, 48, 1, 0},    {49, 0, 48, 2, 0},   {49, 96, 1, 2, 48},
        {95, 96, 47, 2, 48}, {96, 96, 48, 2, 48},  {97, 192, 1, 3, 96}, {130, 0, 48, 3, 0},
        {130, 96, 48, 3, 48}, {130, 192, 34, 3, 96}, {130, 288, 0, 3, 0}, {0, 0, 0, 0, 0},
        {1, 0, 1, 1, 0},     {23, 96, 0, 1, 0},
    };
    const SampleCatalogue catalogue = make_sample_catalogue();
    for (const auto& c : cases) {
        const std::int64_t subcategory = subcategory_of_size(c.size);
        const Json batch = Batch(subcategory, c.cp);
        const std::string label = std::to_string(c.size) + " products, cp " + std::to_string(c.cp);
        EXPECT_EQ(batch["total_results"], c.size) << label;
        EXPECT_EQ(text_of(batch["total_page"]), std::to_string(c.pages)) << label;
        const Json& items = Items(batch);
        ASSERT_EQ(items.size(), c.items) << label;
        if (c.items == 0)
            continue;
        const auto first = std::find_if(catalogue.products.begin(), catalogue.products.end(), [&](const auto& p) {
            return p.category_id == subcategory && p.position == c.first_position;
        });
        ASSERT_NE(first, catalogue.products.end());
        EXPECT_EQ(items[0]["title"], first->title) << label;
    }
}

TEST_F(Service, BatchDocumentKeepsCountersFirstAndContainerFifth)
{
    const Json batch = Batch(subcategory_of_size(130), 0);
    ASSERT_GE(batch.size(), 5u);
    std::vector<std::string> first_four;
    for (auto it = batch.begin(); it != std::next(batch.begin(), 4); ++it)
        first_four.push_back(it.key());
    EXPECT_NE(std::find(first_four.begin(), first_four.end(), "total_results"), first_four.end());
    EXPECT_NE(std::find(first_four.begin(), first_four.end(), "total_page"), first_four.end());
    const Json& container = std::next(batch.begin(), 4).value();
    ASSERT_TRUE(container.is_object());
    ASSERT_TRUE(container.begin().value().is_array());
}

TEST_F(Service, EveryProductCarriesTheElevenMembersTheClientReads)
{
    const Json batch = Batch(subcategory_of_size(130), 0);
    const std::regex detail(R"(\?id=([0-9]+)(&|$))");
    for (const Json& product : Items(batch)) {
        for (std::string_view member : catalogue_documents::kProductMembers) {
            ASSERT_TRUE(product.contains(std::string(member))) << member;
            EXPECT_FALSE(product[std::string(member)].is_null()) << member;
        }
        std::smatch id;
        const std::string url = product["detail_url"];
        EXPECT_TRUE(std::regex_search(url, id, detail)) << url;
        const std::string picture = product["pic_url"];
        EXPECT_EQ(picture.rfind("http://" + service.Host() + "/kestrid/", 0), 0u) << picture;
        EXPECT_NE(picture.find(id[1].str()), std::string::npos) << picture;
    }
}

TEST_F(Service, ValuesComeInEveryFormTheClientMustRead)
{
    const auto answer = Get("idf.php?cq=" + std::to_string(subcategory_of_size(130)) + "&cp=0");
    ASSERT_TRUE(answer);
    const std::string& body = answer->body;
    EXPECT_TRUE(std::regex_search(body, std::regex(R"("price":"[0-9]+\.[0-9]{2}")")));
    EXPECT_TRUE(std::regex_search(body, std::regex(R"("price":[0-9])")));
    EXPECT_TRUE(std::regex_search(body, std::regex(R"("title":"\\u)")));
    EXPECT_TRUE(std::regex_search(body, std::regex("\"title\":\"[^\\\\\"]*[\x80-\xff]")));
    EXPECT_NE(body.find("万"), std::string::npos);
    // total_page as a number here and as text in a subcategory of even id.
    EXPECT_TRUE(Batch(sample_catalogue::kFirstSubcategoryId, 0)["total_page"].is_number());
    EXPECT_TRUE(Batch(sample_catalogue::kFirstSubcategoryId + 1, 0)["total_page"].is_string());
}

TEST_F(Service, TitlesNeedingEscapesSurviveTheRoundTrip)
{
    const SampleCatalogue catalogue = make_sample_catalogue();
    const std::int64_t subcategory = subcategory_of_size(310);
    int checked = 0;
    for (std::int64_t cp = 0; cp < 2 * 310; cp += 96) {
        const Json batch = Batch(subcategory, cp);
        for (const Json& item : Items(batch)) {
            const std::string title = item["title"];
            if (title.find_first_of("\"\\<&") == std::string::npos)
                continue;
            ++checked;
            EXPECT_TRUE(std::any_of(catalogue.products.begin(), catalogue.products.end(),
                                    [&](const auto& p) { return p.title == title; }))
                << title;
        }
    }
    EXPECT_GE(checked, 3);
}

TEST_F(Service, PicturesDecodeAndMissingOnesAnswer404)
{
    const Json batch = Batch(subcategory_of_size(130), 0);
    const std::string prefix = "http://" + service.Host();
    int decoded = 0, missing = 0;
    for (const Json& item : Items(batch)) {
        const std::string url = item["pic_url"];
        const auto answer = client.Get(url.substr(prefix.size()));
        ASSERT_TRUE(answer);
        if (answer->status == 404) {
            ++missing;
            continue;
        }
        EXPECT_EQ(answer->get_header_value("Content-Type"), "image/jpeg");
        EXPECT_TRUE(decode_jpeg(answer->body)) << url;
        ++decoded;
    }
    EXPECT_GT(decoded, 40);
    EXPECT_GE(missing, 1);
    const auto unknown = Get("pic/1.jpg");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
}

TEST_F(Service, MalformedRequestsGet400)
{
    for (const char* path : {"ide.php", "ide.php?cq=", "ide.php?cq=abc", "ide.php?cq=-5", "idf.php?cq=50200001",
                             "idf.php?cp=0", "idf.php?cq=50200001&cp=-96", "idf.php?cq=50200001&cp=1e3",
                             "idf.php?cq=x&cp=0", "idf.php?cq=50200001&cp=9999999999999",
                             "idf.php?cq=1234567890123456789&cp=0", "index.php?cid=", "index.php?cid=12x4",
                             "item.php?id=abc"}) {
        const auto answer = Get(path);
        ASSERT_TRUE(answer) << path;
        EXPECT_EQ(answer->status, 400) << path;
    }
}

TEST_F(Service, FarOffsetGivesAnEmptyBatchNotAnError)
{
    const Json batch = Batch(subcategory_of_size(48), 999999999998);
    EXPECT_EQ(batch["total_results"], 48);
    EXPECT_TRUE(Items(batch).empty());
}

TEST_F(Service, SessionCookieSetOnceAndNotAgainWhenCarriedBack)
{
    const auto first = Get("ide.php?cq=50100982");
    ASSERT_TRUE(first);
    const std::string cookie = first->get_header_value("Set-Cookie");
    ASSERT_FALSE(cookie.empty());
    EXPECT_NE(cookie.find("; Path=/"), std::string::npos);

    const auto second = client.Get("/kestrid/ide.php?cq=50100982", {{"Cookie", cookie.substr(0, cookie.find(';'))}});
    ASSERT_TRUE(second);
    EXPECT_EQ(second->status, 200);
    EXPECT_FALSE(second->has_header("Set-Cookie"));
}

TEST_F(Service, AnswersCarryContentLengthAndKeepTheConnection)
{
    client.set_keep_alive(true);
    for (const char* path : {"ide.php?cq=50100982", "idf.php?cq=50200001&cp=0", "index.php?cid=523000101",
                             "ide.php", "nothing-here", "pic/1.jpg"}) {
        const auto answer = Get(path);
        ASSERT_TRUE(answer) << path;
        ASSERT_TRUE(answer->has_header("Content-Length")) << path;
        EXPECT_EQ(answer->get_header_value("Content-Length"), std::to_string(answer->body.size())) << path;
        EXPECT_NE(answer->get_header_value("Connection"), "close") << path;
    }
}

TEST_F(Service, HeadAnswersWithoutBodyAndOtherMethodsAreRefused)
{
    const auto head = client.Head("/kestrid/ide.php?cq=50100982");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);
    EXPECT_TRUE(head->body.empty());
    EXPECT_NE(head->get_header_value("Content-Length"), "0");

    const auto post = client.Post("/kestrid/ide.php?cq=50100982", "x", "text/plain");
    ASSERT_TRUE(post);
    EXPECT_EQ(post->status, 405);
    EXPECT_EQ(post->get_header_value("Allow"), "GET, HEAD");
    const auto del = client.Delete("/kestrid/pic/523000101.jpg");
    ASSERT_TRUE(del);
    EXPECT_EQ(del->status, 405);
}

TEST_F(Service, ProductPageShowsTheProductAndEscapesItsText)
{
    const SampleCatalogue catalogue = make_sample_catalogue();
    const auto tricky = std::find_if(catalogue.products.begin(), catalogue.products.end(),
                                     [](const auto& p) { return p.title.find('<') != std::string::npos; });
    ASSERT_NE(tricky, catalogue.products.end());
    const auto page = Get("index.php?cid=" + std::to_string(tricky->id));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->body.find("<新>"), std::string::npos);
    EXPECT_NE(page->body.find("&lt;新&gt;&amp;"), std::string::npos);
    EXPECT_NE(page->body.find(tricky->brand), std::string::npos);

    const auto unknown = Get("index.php?cid=1");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);

    const auto detail = Get("item.php?id=" + std::to_string(tricky->id) + "&from=tavrin");
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->status, 302);
    EXPECT_EQ(detail->get_header_value("Location"), "/kestrid/index.php?cid=" + std::to_string(tricky->id));
}

TEST_F(Service, PictureAddressesFollowTheHostHeaderUnlessItIsUnsafe)
{
    const std::int64_t subcategory = subcategory_of_size(1);
    const std::string path = "/kestrid/idf.php?cq=" + std::to_string(subcategory) + "&cp=0";
    const struct {
        const char* host;
        std::string expected_prefix;
    } cases[] = {
        {"catalogue.test:8080", "http://catalogue.test:8080/kestrid/pic/"},
        {"bad\"host", "http://" + service.Host() + "/kestrid/pic/"},
    };
    for (const auto& c : cases) {
        const auto answer = client.Get(path.c_str(), {{"Host", c.host}});
        ASSERT_TRUE(answer) << c.host;
        const Json batch = Json::parse(answer->body);
        const std::string url = Items(batch).at(0)["pic_url"];
        EXPECT_EQ(url.rfind(c.expected_prefix, 0), 0u) << url;
    }
}

} // namespace
