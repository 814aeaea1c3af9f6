#include "picture/FitRule.h"
#include "picture/TJPEGImage.h"
#include "tests/picture/JpegMaker.h"
#include "tests/ui/win32/Win32TestSupport.h"
#include "ui/win32/Dpi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

RECT work_area()
{
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// The window as a screen of another scale makes it: WM_DPICHANGED with the
// rectangle the system suggests.
void move_to_scale(TForm& form, UINT dpi)
{
    RECT frame{0, 0, MulDiv(form.ClientWidth(), static_cast<int>(dpi), 96),
               MulDiv(form.ClientHeight(), static_cast<int>(dpi), 96)};
    AdjustFrameForDpi(frame, static_cast<DWORD>(GetWindowLongW(form.Widget(), GWL_STYLE)),
                      static_cast<DWORD>(GetWindowLongW(form.Widget(), GWL_EXSTYLE)), dpi);
    OffsetRect(&frame, -frame.left, -frame.top);
    SendMessageW(form.Widget(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
}

} // namespace

TEST(Win32Form, FixedFrameWithSystemMenuAndMinimiseOnlyAroundTheClientSize)
{
    StartWindowSystem();
    // Windows before 10 (1607) have no per-monitor dpi functions: the system dpi serves.
    const std::pair<const char*, DpiFunctions> systems[] = {{"Windows 10 and 11", SystemDpiFunctions()},
                                                             {"Windows 7 to 8.1", DpiFunctions{}}};
    for (const auto& [system, functions] : systems) {
        SCOPED_TRACE(system);
        const DpiFunctions before = UseDpiFunctions(functions);
        TForm form;
        form.SetCaption("\xCC\xD8\xC2\xF4\xC9\xCC\xC6\xB7Tavrin");
        form.SetClientSize(654, 485);
        std::ifstream file(TAVRIN_SOURCE_DIR "/res/icon.ico", std::ios::binary);
        const std::vector<uint8_t> icon{std::istreambuf_iterator<char>(file), {}};
        form.SetIcon(icon);
        TButton* button = form.Add<TButton>();
        button->SetBounds(15, 44, 33, 22);
        form.Show();
        UseDpiFunctions(before);
        HWND hwnd = form.Widget();
        const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_TRUE(style & WS_MINIMIZEBOX);
        EXPECT_FALSE(style & WS_MAXIMIZEBOX);
        EXPECT_FALSE(style & WS_THICKFRAME);
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, 654);
        EXPECT_EQ(client.bottom, 485);
        RECT placed;
        GetWindowRect(button->Widget(), &placed);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, 15);
        EXPECT_EQ(placed.bottom, 66);
        EXPECT_EQ(WindowText(hwnd), L"\u7279\u5356\u5546\u54C1Tavrin");
        EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
        EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
    }
}

TEST(Win32Form, OpensAtItsDesignPositionMovedTheLeastNeededToLieOnTheWorkArea)
{
    StartWindowSystem();
    const RECT work = work_area();
    struct Case {
        int left, top, dpi;
    };
    const Case cases[] = {{349, 220, 96}, {349, 220, 144}, {work.right, work.bottom, 96}, {-500, 5, 96}, {349, 220, 192}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.left << ", " << c.top << " at " << c.dpi << " dpi");
        TForm form;
        form.SetClientSize(654, 485);
        if (c.dpi != 96)
            move_to_scale(form, static_cast<UINT>(c.dpi));
        form.SetBounds(c.left, c.top, 654, 485);
        form.Show();
        RECT box;
        GetWindowRect(form.Widget(), &box);
        const int w = box.right - box.left;
        const int h = box.bottom - box.top;
        const int want_x = std::max<int>(work.left, std::min<int>(MulDiv(c.left, c.dpi, 96), work.right - w));
        const int want_y = std::max<int>(work.top, std::min<int>(MulDiv(c.top, c.dpi, 96), work.bottom - h));
        EXPECT_EQ(box.left, want_x);
        EXPECT_EQ(box.top, want_y);
        if (w <= work.right - work.left && h <= work.bottom - work.top) {
            EXPECT_LE(box.right, work.right);
            EXPECT_LE(box.bottom, work.bottom);
        }
    }
}

TEST(Win32Form, TabOrderFollowsTheLayoutAndLaterControlsLieAboveEarlierOnes)
{
    StartWindowSystem();
    TForm form;
    form.SetClientSize(300, 200);
    TComboBox* first = form.Add<TComboBox>();
    first->SetBounds(5, 5, 80, 21);
    first->SetTabOrder(0);
    TComboBox* second = form.Add<TComboBox>();
    second->SetBounds(100, 5, 80, 21);
    second->SetTabOrder(1);
    TPanel* panel = form.Add<TPanel>();
    panel->SetBounds(8, 44, 280, 140);
    panel->SetTabOrder(2);
    TStringGrid* grid = form.Add<TStringGrid>(panel);
    grid->SetBounds(4, 24, 270, 110);
    TButton* inner = form.Add<TButton>(panel);
    inner->SetBounds(77, 0, 33, 22);
    inner->SetTabOrder(1);
    TProgressBar* bar = form.Add<TProgressBar>(panel);
    bar->SetBounds(50, 60, 150, 17);
    bar->SetEnabled(false);
    TButton* corner = form.Add<TButton>(); // over the panel's corner, last in the tab order
    corner->SetBounds(15, 44, 33, 22);
    corner->SetTabOrder(3);
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(GetFocus(), first->Widget());
    for (TControl* next : {static_cast<TControl*>(second), static_cast<TControl*>(grid), static_cast<TControl*>(inner),
                           static_cast<TControl*>(corner), static_cast<TControl*>(first)}) {
        KeyToFocus(VK_TAB);
        EXPECT_EQ(GetFocus(), next->Widget()) << WindowText(GetFocus()).size();
    }
    // What the pointer finds where windows overlap: the one created later.
    const auto at = [](HWND parent, int x, int y) {
        POINT point{x, y};
        ClientToScreen(parent, &point);
        return WindowFromPoint(point);
    };
    EXPECT_EQ(at(form.Widget(), 20, 50), corner->Widget());
    EXPECT_EQ(at(form.Widget(), 200, 60), panel->Widget());
}

TEST(Win32Form, ScaledScreensScaleFontsAndPlacesAndPicturesStaySharp)
{
    StartWindowSystem();
    TForm form;
    form.SetClientSize(220, 250);
    TLabel* label = form.Add<TLabel>();
    label->SetBounds(10, 215, 10, 10);
    label->SetCaption("1000\xBC\xFE");
    TImage* box = form.Add<TImage>();
    box->SetBounds(10, 10, 187, 199);
    box->SetCenter(true);
    box->SetProportional(true);
    // Detail down to single pixels: a blown-up half-size copy cannot match it.
    const std::vector<uint8_t> bytes = make_jpeg({400, 200, false, false, 100, false}, [](int x, int y) {
        return static_cast<uint32_t>((x * 37) % 256) << 16 | static_cast<uint32_t>((y * 53) % 256) << 8 |
               static_cast<uint32_t>(((x ^ y) * 29) % 256);
    });
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(bytes);
    box->Picture().Assign(&jpeg);
    form.Show();
    const int height_at_96 = PlaceOf(label->Widget()).bottom - PlaceOf(label->Widget()).top;
    const int logical_width = label->Width();
    for (UINT dpi : {144u, 192u}) {
        SCOPED_TRACE(dpi);
        move_to_scale(form, dpi);
        const RECT place = PlaceOf(box->Widget());
        EXPECT_EQ(place.left, MulDiv(10, static_cast<int>(dpi), 96));
        EXPECT_EQ(place.right - place.left, MulDiv(187, static_cast<int>(dpi), 96));
        const RECT text = PlaceOf(label->Widget());
        EXPECT_EQ(text.top, MulDiv(215, static_cast<int>(dpi), 96));
        EXPECT_GE(text.bottom - text.top, height_at_96 * static_cast<int>(dpi) / 96 - 1);
        EXPECT_NEAR(label->Width(), logical_width, 2); // the program still sees 96-dpi sizes
    }
    // At 192 dpi the 400 x 200 picture fills 374 x 187 device pixels with its own pixels.
    const Shot shot = ShotOf(form.Widget());
    const RECT place = PlaceOf(box->Widget());
    const TRect dest = DestinationRect(800, 400, 374, 398, false, true, true);
    const TBitmap expected = ScaleNearest(jpeg.Bitmap(), dest.Right - dest.Left, dest.Bottom - dest.Top);
    int wrong = 0;
    for (int y = 0; y < expected.Height(); ++y) {
        const uint8_t* row = expected.ScanLine(y);
        for (int x = 0; x < expected.Width(); ++x) {
            const uint32_t want = uint32_t{row[3 * x]} << 16 | uint32_t{row[3 * x + 1]} << 8 | row[3 * x + 2];
            wrong += shot.At(place.left + dest.Left + x, place.top + dest.Top + y) != want ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(shot.At(place.left + dest.Left + 10, place.top + dest.Top - 1), shot.At(2, 2)); // nothing above it
}

TEST(Win32Picture, DecodeErrorIsReportedOnceAndLaterPaintsDoNotRetry)
{
    StartWindowSystem();
    InterceptedBoxes boxes;
    TForm form;
    form.SetClientSize(200, 200);
    TImage* image = form.Add<TImage>();
    image->SetBounds(0, 0, 100, 100);
    form.Show();
    TJPEGImage empty;
    std::vector<uint8_t> none;
    empty.LoadFromBytes(none);
    image->Picture().Assign(&empty);
    for (int paint = 0; paint < 3; ++paint) {
        InvalidateRect(image->Widget(), nullptr, FALSE);
        UpdateWindow(image->Widget());
        Application->ProcessMessages();
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "JPEG error #42.");
}
