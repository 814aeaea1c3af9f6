// The window under a decimal-comma locale, as Qt sets it from the environment.
#include "tests/base/CommaLocale.h"
#include "tests/catalogue/CatalogueDocuments.h"
#include "tests/catalogue/CatalogueTestSupport.h"

#include "base/IntegerText.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <regex>

namespace {

class CommaLocaleWindow : public ServiceWindowTest {
protected:
    void SetUp() override
    {
        // Before the application object exists, which sets the C library's
        // locale from the environment as every user's session has it.
        ASSERT_NO_THROW(ProvideCommaLocale());
        setenv("LC_ALL", kCommaLocale, 1);
        ServiceWindowTest::SetUp();
        std::setlocale(LC_ALL, ""); // the same, should the application have existed already
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
        service->ClearRequests();
    }

    // What a number of the service reads as with a full stop, written
    // without the client's formatting.
    static std::string Plain(const nlohmann::ordered_json& value)
    {
        if (!value.is_number())
            return ShownText(value);
        char text[40];
        const auto end = std::to_chars(text, text + sizeof text, value.get<double>(), std::chars_format::general, 15).ptr;
        return std::string(text, end);
    }

};


TEST_F(CommaLocaleWindow, CounterCountGridAndPricesReadAsUnderTheCLocale)
{
    OpenWindow(service->BaseUrl());
    const std::regex request("(ide\\.php\\?cq=[0-9]+|idf\\.php\\?cq=[0-9]+&cp=[0-9]+)");
    for (const std::string& target : service->CatalogueRequests())
        EXPECT_TRUE(std::regex_match(target, request)) << target;
    EXPECT_EQ(form->lbltotalcount->Caption(), "130");
    EXPECT_EQ(form->lblpagecount->Caption(), "1/6");

    const auto products = ProductsOf(FetchJson(service->BaseUrl(), "idf.php?cq=" + SubcategoryIds[1] + "&cp=0"));
    ASSERT_EQ(form->gridshowinfo->RowCount(), 24);
    int numeric = 0;
    for (int row = 0; row < 24; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const auto& product = products[static_cast<size_t>(row)];
        EXPECT_EQ(form->gridshowinfo->Cells(0, row), IntToStr(row + 1));
        EXPECT_EQ(form->gridshowinfo->Cells(1, row), ShownText(product["title"]));
        PressRow(row);
        const std::pair<TLabel*, const char*> fields[] = {{form->price, "price"},
                                                          {form->promotion_price, "promotion_price"},
                                                          {form->monthvolume, "volume"},
                                                          {form->comment_num, "comment_num"}};
        for (const auto& [label, name] : fields) {
            EXPECT_EQ(label->Caption(), Plain(product[name])) << name;
            numeric += product[name].is_number() ? 1 : 0;
        }
    }
    EXPECT_GT(numeric, 0) << "the sample sends some values as JSON numbers";

    Click(*form->btnnext);
    EXPECT_EQ(form->lblpagecount->Caption(), "2/6");
    EXPECT_EQ(form->gridshowinfo->Cells(1, 0), ShownText(products[24]["title"]));
    EXPECT_EQ(form->price->Caption(), Plain(products[24]["price"]));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CommaLocaleWindow, RenderedWindowEqualsTheOneUnderCUtf8)
{
    const std::filesystem::path folder = ::testing::TempDir();
    QImage pictures[2];
    const char* locales[] = {kCommaLocale, "C.UTF-8"};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(locales[i]);
        const std::string out = (folder / ("tavrin-window-" + std::to_string(getpid()) + "-" + std::to_string(i) +
                                           ".png")).string();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locales[i]);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess render;
        render.setProcessEnvironment(environment);
        render.start(TAVRIN_SCREENSHOT, {"render", QString::fromStdString(out),
                                         QString::fromStdString(service->BaseUrl()), "1"});
        ASSERT_TRUE(render.waitForFinished(120000)) << render.errorString().toStdString();
        ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
        ASSERT_TRUE(pictures[i].load(QString::fromStdString(out)));
        std::filesystem::remove(out);
    }
    ASSERT_FALSE(pictures[0].isNull());
    EXPECT_EQ(pictures[0].size(), pictures[1].size());
    EXPECT_TRUE(pictures[0] == pictures[1]) << "the window renders differently under " << kCommaLocale;
}

} // namespace
