#include "tests/catalogue/CatalogueDocuments.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/http/LoopbackServer.h"

#include <chrono>
#include <functional>

namespace {

using ::testing::ExitedWithCode;
using After = LoopbackServer::After;

constexpr int kLimitMs = 300;

class SilentPeers : public CatalogueWindowTest {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        CatalogueWindowTest::SetUp();
    }

    // OpenWindow with the client's limits cut short.
    void OpenWindowWithShortLimits(const std::string& base_url)
    {
        CatalogueBaseUrl = base_url;
        form = std::make_unique<TForm1>();
        form->NxHTTP1->ReadTimeout = kLimitMs;
        form->DoCreate();
        form->Show();
        Application->ProcessMessages();
    }

    // Categories and one batch of 48 products whose pictures are all at pic_base.
    void ScriptCatalogue(const std::string& pic_base)
    {
        server.Script(HttpOk(CategoryDocument({{"top", "1"}})));
        server.Script(HttpOk(CategoryDocument({{"sub", "11"}})));
        nlohmann::ordered_json products = nlohmann::ordered_json::array();
        for (int i = 0; i < 48; ++i)
            products.push_back(ProductJson(i, pic_base + std::to_string(i) + ".jpg"));
        server.Script(HttpOk(BatchDocumentText(products, "48", "2")));
    }

    LoopbackServer server;
};

TEST_F(SilentPeers, SilentCatalogueServerEndsInTheFatalBox)
{
    EXPECT_EXIT(
        {
            server.Script(HttpOk(CategoryDocument({{"top", "1"}})));
            server.Script("", After::Stall);  // the subcategory request is never answered
            ReportFatalBoxOnStderr();
            OpenWindowWithShortLimits(server.Url("/kestrid/"));
        },
        ExitedWithCode(0), kFatalBoxMarker);
}

// A picture host that never answers, or never accepts, costs one limit per
// run of 24 pictures, not one per picture; the window carries on.
TEST_F(SilentPeers, DeadPictureHostCostsOneLimitPerRun)
{
    LoopbackServer silent;
    FullListener never_accepting;
    struct Case {
        const char* host;
        std::string pic_base;
        std::function<int()> picture_requests;  // -1: not countable
    } cases[] = {
        {"silent", silent.Url("/pic/"), [&] { return static_cast<int>(silent.Requests().size()); }},
        {"never accepting", "http://127.0.0.1:" + std::to_string(never_accepting.Port()) + "/pic/", [] { return -1; }},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.host);
        for (int i = 0; i < 2; ++i)
            silent.Script("", After::Stall);
        ScriptCatalogue(c.pic_base);
        auto start = std::chrono::steady_clock::now();
        OpenWindowWithShortLimits(server.Url("/kestrid/"));
        PressRow(0);  // the first press fetches the whole page
        auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        if (c.picture_requests() >= 0) {
            EXPECT_EQ(c.picture_requests(), 2);  // start-up run and press run, one try each
        }
        // Two runs of 24 pictures: two limits; one per picture would be 48.
        EXPECT_LT(took.count(), 20 * kLimitMs);
        EXPECT_EQ(GridTitles().size(), 24u);
        EXPECT_TRUE(boxes.empty());
        form.reset();
    }
}

} // namespace
