#include "tests/catalogue/CatalogueDocuments.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/http/LoopbackServer.h"

#include "json/json.h"
#include "picture/picture.h"
#include "platform/FileSystem.h"

#include <fstream>
#include <iterator>

namespace {

using ::testing::ExitedWithCode;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A loopback port with nobody listening on it (any more).
int ClosedPort()
{
    return LoopbackServer().Port();
}

class Failures : public CatalogueWindowTest {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        CatalogueWindowTest::SetUp();
    }

    std::string Base() const { return server.Url("/kestrid/"); }
    std::string PictureUrl(int n) const { return server.Url("/pic/" + std::to_string(n) + ".jpg"); }

    // The two category answers of a start-up.
    void ScriptCategories()
    {
        server.Script(HttpOk(CategoryDocument({{"top", "1"}})));
        server.Script(HttpOk(CategoryDocument({{"sub", "11"}})));
    }

    LoopbackServer server;
};

TEST_F(Failures, UnreachableServiceAtStartUpShowsTheFatalBoxAndEndsWithZero)
{
    const std::string base = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/kestrid/";
    EXPECT_EXIT(
        {
            ReportFatalBoxOnStderr();
            OpenWindow(base);
        },
        ExitedWithCode(0), kFatalBoxMarker);
}

TEST_F(Failures, AnswersThatAreNoJsonObjectAreFatal)
{
    const char* answers[] = {"[{\"sub_cat_name\":\"a\",\"sub_cat_id\":\"1\"}]", "<html>oops</html>", "", "{\"a\":[1,2",
                             "\"text\""};
    for (const char* answer : answers) {
        SCOPED_TRACE(answer);
        EXPECT_EXIT(
            {
                server.Script(HttpOk(answer));
                ReportFatalBoxOnStderr();
                OpenWindow(Base());
            },
            ExitedWithCode(0), kFatalBoxMarker);
    }
}

TEST_F(Failures, StatusErrorOfABatchRequestIsFatal)
{
    EXPECT_EXIT(
        {
            ScriptCategories();
            server.Script("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\n\r\nboom");
            ReportFatalBoxOnStderr();
            OpenWindow(Base());
        },
        ExitedWithCode(0), kFatalBoxMarker);
}

TEST_F(Failures, ServiceGoneAfterStartUpIsFatalAtTheNextEvenPage)
{
    EXPECT_EXIT(
        {
            auto service = std::make_unique<LoopbackServer>();
            nlohmann::ordered_json products = nlohmann::ordered_json::array();
            for (int i = 0; i < 4; ++i)
                products.push_back(ProductJson(i, service->Url("/pic.jpg")));
            service->Script(HttpOk(CategoryDocument({{"top", "1"}})));
            service->Script(HttpOk(CategoryDocument({{"sub", "11"}})));
            service->Script(HttpOk(BatchDocumentText(products, "8", "2")));
            OpenWindow(service->Url("/kestrid/"));
            service.reset(); // connections closed, port closed
            Click(*form->btnnext); // odd page: from memory, nothing fails
            if (form->lblpagecount->Caption() != "2/4")
                std::_Exit(3);
            ReportFatalBoxOnStderr();
            Click(*form->btnnext);
        },
        ExitedWithCode(0), kFatalBoxMarker);
}

TEST_F(Failures, EmptyCategoryListLeavesTheListsEmptyAndRequestsNothingMore)
{
    server.Script(HttpOk(CategoryDocument({})));
    OpenWindow(Base());
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(form->productselect->Items().Count(), 0);
    EXPECT_EQ(form->subproductlist->Items().Count(), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, MessageKind::ErrorReport);
    EXPECT_NE(boxes[0].text.find("category id"), std::string::npos) << boxes[0].text;
}

TEST_F(Failures, PictureFailuresLeaveTheirSlotEmptyAndTheOthersIntact)
{
    const std::string folder = ExecutableFolder();
    const std::string first = ReadFile(folder + "res/xp.jpg");
    const std::string third = ReadFile(folder + "res/xl.jpg");
    const std::string fourth = ReadFile(folder + "res/rm.jpg");
    ASSERT_FALSE(first.empty());

    nlohmann::ordered_json products = nlohmann::ordered_json::array();
    for (int i = 0; i < 8; ++i)
        products.push_back(ProductJson(i, PictureUrl(i)));
    ScriptCategories();
    server.Script(HttpOk(BatchDocumentText(products, "8", "1")));
    server.Script(HttpOk(first, "image/jpeg")); // start-up: the first picture only
    OpenWindow(Base());
    ASSERT_EQ(PictureSizes, (std::vector<int32_t>{static_cast<int32_t>(first.size()), 0, 0, 0, 0}));

    // The first press fetches the page: one fine, one broken off after a
    // whole chunk, one missing, one fine.
    server.Script(HttpOk(first, "image/jpeg"));
    char chunk_size[24];
    std::snprintf(chunk_size, sizeof chunk_size, "%zx", third.size() / 2);
    server.Script("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + std::string(chunk_size) + "\r\n" +
                      third.substr(0, third.size() / 2) + "\r\n",
                  LoopbackServer::After::Close);
    server.Script("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found");
    server.Script(HttpOk(fourth, "image/jpeg"));
    PressRow(0);

    EXPECT_EQ(PictureSizes, (std::vector<int32_t>{static_cast<int32_t>(first.size()), 0, 0,
                                                  static_cast<int32_t>(fourth.size()), 0}));
    EXPECT_EQ(PictureStore->Size(), static_cast<int64_t>(first.size() + fourth.size()));

    // The fourth picture is its own, not the broken bytes in front of it.
    PressRow(3);
    TGraphic* shown = form->Image1->Picture().Graphic();
    ASSERT_NE(shown, nullptr);
    auto* jpeg = dynamic_cast<TJPEGImage*>(shown);
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(std::string(jpeg->Data()->begin(), jpeg->Data()->end()), fourth);

    // Slots with nothing recorded show no picture.
    PressRow(1);
    EXPECT_EQ(form->Image1->Picture().Graphic(), nullptr);
    PressRow(2);
    EXPECT_EQ(form->Image1->Picture().Graphic(), nullptr);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Failures, NullDetailUrlGoesToTheErrorReportAndOpensNothing)
{
    nlohmann::ordered_json products = nlohmann::ordered_json::array();
    products.push_back(ProductJson(1, PictureUrl(1)));
    products.push_back(ProductJson(2, PictureUrl(2)));
    products[0]["detail_url"] = nullptr;
    ScriptCategories();
    server.Script(HttpOk(BatchDocumentText(products, "2", "1")));
    server.Script("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    OpenWindow(Base());
    Click(*form->lbltitle);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not convert variant of type (Null) into type (String)");
}

TEST_F(Failures, LargeServiceNumbersDoNotOverflow)
{
    nlohmann::ordered_json products = nlohmann::ordered_json::array();
    products.push_back(ProductJson(1, PictureUrl(1)));
    products.push_back(ProductJson(2, PictureUrl(2)));
    // (2147483646 + 219) mod 9 = 0 when computed without wrapping.
    products[0]["comment_num"] = "2147483646";
    ScriptCategories();
    server.Script(HttpOk(BatchDocumentText(products, "2", "2000000000")));
    server.Script("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    OpenWindow(Base());
    EXPECT_EQ(form->lblpagecount->Caption(), "1/4000000000");
    EXPECT_EQ(form->Label8->Caption(), (2147483646LL + 219) % 9 == 0 ? "\xA1\xFA" : "\xA1\xFC");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Failures, AnEmojiInATitleBecomesOneDefaultCharacter)
{
    nlohmann::ordered_json products = nlohmann::ordered_json::array();
    products.push_back(ProductJson(1, PictureUrl(1)));
    products.push_back(ProductJson(2, PictureUrl(2)));
    products[0]["title"] = "\xE4\xB8\xAD\xF0\x9F\x98\x80" "cup"; // raw UTF-8: 中, an emoji, cup
    ScriptCategories();
    server.Script(HttpOk(BatchDocumentText(products, "2", "1")));
    server.Script("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    OpenWindow(Base());
    EXPECT_EQ(form->gridshowinfo->Cells(1, 0), "\xD6\xD0?cup");
    EXPECT_EQ(form->lbltitle->Caption(), "1:\xD6\xD0?cup");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Failures, PressAndClickOnAnEmptyBatchReportAnErrorInsteadOfCrashing)
{
    ScriptCategories();
    server.Script(HttpOk(BatchDocumentText(nlohmann::ordered_json::array(), "0", "0")));
    OpenWindow(Base());
    EXPECT_EQ(form->lblpagecount->Caption(), "1/0");
    PressRow(0);
    Click(*form->Image1);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(boxes.size(), 2u);
    for (const Box& box : boxes) {
        EXPECT_EQ(box.kind, MessageKind::ErrorReport);
        EXPECT_EQ(box.text, "The catalogue data has no product at index 0.");
    }
}

TEST_F(Failures, MissingProductMemberStopsThePageSilently)
{
    nlohmann::ordered_json products = nlohmann::ordered_json::array();
    for (int i = 0; i < 4; ++i)
        products.push_back(ProductJson(i, PictureUrl(i)));
    products[1].erase("title");
    ScriptCategories();
    server.Script(HttpOk(BatchDocumentText(products, "4", "1")));
    OpenWindow(Base());
    EXPECT_EQ(form->gridshowinfo->Cells(1, 0), "item 0");
    EXPECT_EQ(form->lblpagecount->Caption(), "1/2");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(form->Caption(), AppTitle);
    EXPECT_FALSE(form->ProgressBar1->Visible());
}

} // namespace
