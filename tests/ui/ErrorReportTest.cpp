#include "base/ConvertErrors.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

TEST(ErrorReport, FullStopIsAddedOnlyAfterTextThatSortsAfterIt)
{
    struct Case {
        std::string message;
        std::string shown;
    };
    const Case cases[] = {
        {"", ""},
        {"'x' is not a valid integer value", "'x' is not a valid integer value."},
        {"ends with a stop.", "ends with a stop."},
        {"ends with a dash-", "ends with a dash-"},   // '-' sorts before '.'
        {"ends with a slash/", "ends with a slash/."}, // '/' sorts after '.'
        {"JPEG error #42", "JPEG error #42."},
        {"closing )", "closing )"},
        {"\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xD2\xEC\xB3\xA3", "\xCD\xF8\xC2\xE7\xC1\xAC\xBD\xD3\xD2\xEC\xB3\xA3."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TApplication::ReportText(c.message), c.shown) << c.message;
}

TEST(ErrorReport, HandlerErrorIsReportedWithTitleAndTheProgramGoesOn)
{
    StartWindowSystem();
    InterceptedBoxes boxes;
    Application->SetTitle("\xCC\xD8\xC2\xF4\xC9\xCC\xC6\xB7Tavrin");
    TForm form;
    TButton* button = form.Add<TButton>();
    button->SetBounds(0, 0, 40, 20);
    int runs = 0;
    button->OnClick = [&](TControl*) {
        ++runs;
        if (runs == 1)
            throw Exception("first");
        if (runs == 2)
            throw std::runtime_error("second");
        throw 7;
    };
    form.Show();
    for (int i = 0; i < 4; ++i)
        ClickButton(*button);
    EXPECT_EQ(runs, 4);
    ASSERT_EQ(boxes.boxes.size(), 4u);
    EXPECT_EQ(boxes.boxes[0].text, "first.");
    EXPECT_EQ(boxes.boxes[0].caption, "\xCC\xD8\xC2\xF4\xC9\xCC\xC6\xB7Tavrin");
    EXPECT_EQ(boxes.boxes[0].kind, MessageKind::ErrorReport);
    EXPECT_EQ(boxes.boxes[1].text, "second.");
    EXPECT_FALSE(boxes.boxes[2].text.empty());
}

TEST(ErrorReport, ThrowingReportDoesNotEscapeIntoTheWindowSystem)
{
    StartWindowSystem();
    Application->MessageBoxHook = [](const std::string&, const std::string&, MessageKind) {
        throw std::runtime_error("box failed");
    };
    EXPECT_NO_THROW(Dispatch([] { throw Exception("x"); }));
    Application->MessageBoxHook = nullptr;
}

namespace {
class FailingCreateForm : public TForm {
public:
    FailingCreateForm()
    {
        label = Add<TLabel>();
        OnCreate = [this](TControl*) {
            label->SetCaption("half done");
            throw EConvertError::NotAnInteger("1000\xBC\xFE");
        };
    }
    TLabel* label;
};
} // namespace

TEST(ErrorReport, CreationHandlerErrorIsReportedAndTheWindowStillExists)
{
    StartWindowSystem();
    InterceptedBoxes boxes;
    TApplication app;
    FailingCreateForm* form = nullptr;
    app.MessageBoxHook = Application->MessageBoxHook;
    // Errors go to the global application object, whichever created the form.
    app.CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->label->Caption(), "half done");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.back(), '.');
}

TEST(FatalMessageDeathTest, ShowsTheBoxThenEndsWithExitCodeZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartWindowSystem();
            Application->SetTitle("T");
            Application->MessageBoxHook = [](const std::string& text, const std::string& caption, MessageKind kind) {
                std::fprintf(stderr, "box[%s|%s|%d]\n", text.c_str(), caption.c_str(),
                             kind == MessageKind::Fatal ? 1 : 0);
            };
            Application->FatalMessage("net down");
        },
        ::testing::ExitedWithCode(0), "box\\[net down\\|T\\|1\\]");
}
