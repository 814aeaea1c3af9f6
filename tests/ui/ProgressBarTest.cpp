#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A shown window with a button above a progress bar; the window system
// is started first.
struct BarWindow {
    BarWindow()
    {
        button = form.Add<TButton>();
        button->SetBounds(0, 0, 40, 20);
        bar = form.Add<TProgressBar>();
        bar->SetBounds(0, 40, 200, 17);
        form.Show();
        Application->ProcessMessages();
    }

    TForm form;
    TButton* button = nullptr;
    TProgressBar* bar = nullptr;
};

} // namespace

TEST(ProgressBar, PositionStaysInRangeAndStepsAdd)
{
    StartWindowSystem();
    BarWindow window;
    TProgressBar* bar = window.bar;
    bar->SetStep(1);
    struct Case {
        int set;
        int step_by;
        int expected;
    };
    const Case cases[] = {{0, 4, 4}, {96, 4, 100}, {98, 4, 100}, {-3, 0, 0}, {250, 0, 100}, {50, -60, 0},
                          {0, 2147483647, 100}};
    for (const Case& c : cases) {
        bar->SetPosition(c.set);
        bar->StepBy(c.step_by);
        EXPECT_EQ(bar->Position(), c.expected) << c.set << " + " << c.step_by;
        Application->ProcessMessages();
        EXPECT_EQ(ShownBarPosition(*bar), c.expected) << c.set << " + " << c.step_by;
    }
}

TEST(ProgressBar, ShowingProgressTakesNoWaitingInput)
{
    StartWindowSystem();
    BarWindow window;
    int clicks = 0;
    window.button->OnClick = [&](TControl*) { ++clicks; };
    // A click waiting in the queue, as during a blocking download.
    PostClick(*window.button);
    window.bar->SetVisible(false);
    window.bar->SetVisible(true);
    window.bar->SetPosition(4);
    window.bar->StepBy(4);
    EXPECT_EQ(clicks, 0);
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 1);
    // The toolkit's bar has the last position once the loop ran.
    EXPECT_EQ(ShownBarPosition(*window.bar), 8);
}
