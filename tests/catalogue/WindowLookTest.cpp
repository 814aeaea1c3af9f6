#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/server/ServerTestSupport.h"

#include <QGuiApplication>
#include <QImage>
#include <QProgressBar>
#include <QTest>
#include <QScreen>
#include <QWidget>

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

extern char** environ;

namespace {

// Runs the render helper; true when it wrote its picture.
bool render_window(const std::string& out, const std::string& base_url, bool dark_desktop)
{
    std::vector<std::string> args = {RENDER_WINDOW_HELPER, out, base_url, "1"};
    if (dark_desktop)
        args.push_back("dark-desktop");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int differing_pixels(const QImage& a, const QImage& b, const QRect& except = QRect())
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!except.contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                ++count;
    return count;
}

class WindowLook : public ServiceWindowTest {};

// What the window's backing store holds, which is what the screen shows or
// is about to.
QImage on_screen(QWidget* window)
{
    return QGuiApplication::primaryScreen()->grabWindow(window->winId()).toImage();
}

class GrabOnPaint : public QObject {
public:
    explicit GrabOnPaint(QWidget* window) : window_(window) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            grabs.push_back(on_screen(window_));
        return false;
    }
    std::vector<QImage> grabs;

private:
    QWidget* window_;
};

} // namespace

TEST_F(WindowLook, DarkDesktopThemeRendersLikeTheDefault)
{
    const TempFolder folder;
    const std::string light = (folder.Path() / "light.png").string();
    const std::string dark = (folder.Path() / "dark.png").string();
    ASSERT_TRUE(render_window(light, service->BaseUrl(), false));
    ASSERT_TRUE(render_window(dark, service->BaseUrl(), true));
    const QImage a(QString::fromStdString(light));
    const QImage b(QString::fromStdString(dark));
    ASSERT_EQ(a.size(), QSize(654, 485));
    ASSERT_EQ(b.size(), a.size());
    EXPECT_EQ(differing_pixels(a, b), 0);
}

TEST_F(WindowLook, PictureRunPaintsOnlyTheProgressBarUntilTheHandlerEnds)
{
    OpenWindow(service->BaseUrl());
    PressRow(0); // from now on every page fetches all its pictures
    Application->ProcessMessages();
    QWidget* window = form->Widget();
    const QImage before = on_screen(window);
    ASSERT_FALSE(before.isNull());
    QWidget* bar = form->ProgressBar1->Widget();
    const QRect bar_area(bar->mapTo(window, QPoint(0, 0)), bar->size());
    GrabOnPaint grabber(window);
    bar->installEventFilter(&grabber);
    const std::string counter = form->lblpagecount->Caption();
    btnnextClick(*form);
    bar->removeEventFilter(&grabber);
    ASSERT_NE(form->lblpagecount->Caption(), counter);
    ASSERT_GE(grabber.grabs.size(), 2u);
    for (size_t i = 0; i < grabber.grabs.size(); ++i)
        EXPECT_EQ(differing_pixels(grabber.grabs[i], before, bar_area), 0) << "paint " << i;
    // The bar itself showed progress.
    EXPECT_GT(differing_pixels(grabber.grabs.back().copy(bar_area), before.copy(bar_area)), 0);
    // Everything else changes once the handler is over.
    Application->ProcessMessages();
    EXPECT_GT(differing_pixels(on_screen(window), before, bar_area), 0);
}

// The focus shows wherever it is: the first list from the start, the grid's
// current row when the grid has it; nothing else of the window changes.
TEST_F(WindowLook, FocusIsVisibleOnTheFirstListAndOnTheGridsCurrentRow)
{
    OpenWindow(service->BaseUrl());
    QWidget* grid = form->gridshowinfo->Widget();
    form->Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->productselect->Widget()->hasFocus(); }));
    const QImage list_focused = form->productselect->Widget()->grab().toImage();
    const QImage grid_unfocused = grid->grab().toImage();
    grid->setFocus(Qt::TabFocusReason);
    const QImage list_unfocused = form->productselect->Widget()->grab().toImage();
    const QImage grid_focused = grid->grab().toImage();
    EXPECT_NE(list_focused, list_unfocused);
    ASSERT_EQ(grid_focused.size(), grid_unfocused.size());
    // Only the current (first) row changes.
    const int row_bottom = 22 * grid->devicePixelRatio();
    for (int y = 0; y < grid_focused.height(); ++y) {
        for (int x = 0; x < grid_focused.width(); ++x) {
            if (grid_focused.pixel(x, y) != grid_unfocused.pixel(x, y)) {
                ASSERT_LT(y, row_bottom + 2) << "at " << x << "," << y;
            }
        }
    }
    EXPECT_NE(grid_focused, grid_unfocused);
}
