#include "picture/TJPEGImage.h"
#include "tests/picture/JpegMaker.h"
#include "tests/ui/win32/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

TEST(Win32GridKeys, MovesByKeyRunOnRowMoveAndReturnRunsOnRowActivate)
{
    StartWindowSystem();
    TForm form;
    form.SetClientSize(300, 300);
    TStringGrid* grid = form.Add<TStringGrid>();
    grid->SetBounds(0, 0, 300, 200);
    grid->SetRowCount(24);
    std::vector<int> moved;
    int activated = 0;
    grid->OnRowMove = [&](TControl*) { moved.push_back(grid->Row()); };
    grid->OnRowActivate = [&](TControl*) { ++activated; };
    form.Show();
    SetFocus(grid->Widget());
    struct Case {
        WPARAM key;
        int from;
        std::vector<int> moved; // rows OnRowMove saw
        int activated;
    };
    const Case cases[] = {
        {VK_DOWN, 3, {4}, 0}, {VK_END, 3, {23}, 0}, {VK_HOME, 0, {}, 0}, // already there: nothing moved
        {VK_UP, 0, {}, 0},    {VK_RETURN, 5, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        grid->SetRow(c.from);
        moved.clear();
        activated = 0;
        KeyToFocus(c.key); // through the dialog manager, as the loop hands it on
        EXPECT_EQ(moved, c.moved);
        EXPECT_EQ(activated, c.activated);
    }
}

TEST(Win32Names, CaptionsLieRightAboveWhatTheyNameAndUnitsRightBelowTheirValues)
{
    StartWindowSystem();
    TForm form;
    form.SetClientSize(300, 200);
    TLabel* caption = form.Add<TLabel>();
    caption->SetCaption("\xBC\xDB\xB8\xF1:"); // 价格:
    TLabel* value = form.Add<TLabel>();
    value->SetCaption("69.5");
    TLabel* unit = form.Add<TLabel>();
    unit->SetCaption("\xD4\xAA"); // 元
    TLabel* list_caption = form.Add<TLabel>();
    list_caption->SetCaption("\xC9\xCC\xC6\xB7\xB4\xF3\xB7\xD6\xC0\xE0:"); // 商品大分类:
    TComboBox* list = form.Add<TComboBox>();
    list->SetTabOrder(0);
    // Bound in another order than made, as the window does.
    value->SetUnitLabel(unit);
    value->SetCaptionLabel(caption);
    list->SetCaptionLabel(list_caption);
    form.Show();
    EXPECT_EQ(GetWindow(list->Widget(), GW_HWNDPREV), list_caption->Widget());
    EXPECT_EQ(GetWindow(value->Widget(), GW_HWNDPREV), caption->Widget());
    EXPECT_EQ(GetWindow(value->Widget(), GW_HWNDNEXT), unit->Widget());
    // Taking a caption away leaves nothing pointing at a label that is gone.
    auto* gone = form.Add<TLabel>();
    list->SetCaptionLabel(gone);
    EXPECT_EQ(gone->NamedControls(), std::vector<TControl*>{list});
    EXPECT_TRUE(list_caption->NamedControls().empty());
}

TEST(Win32Names, APictureIsNamedOnlyWhileItShowsOne)
{
    StartWindowSystem();
    TForm form;
    TImage* image = form.Add<TImage>();
    image->SetBounds(0, 0, 75, 67);
    image->SetAccessibleName("\xD0\xC2\xC6\xB7"); // 新品
    EXPECT_EQ(WindowText(image->Widget()), L"");
    TJPEGImage jpeg;
    const std::vector<uint8_t> bytes = make_quarters_jpeg({});
    jpeg.LoadFromBytes(bytes);
    image->Picture().Assign(&jpeg);
    EXPECT_EQ(WindowText(image->Widget()), L"\u65B0\u54C1");
    image->Picture().Assign(nullptr);
    EXPECT_EQ(WindowText(image->Widget()), L"");
}

TEST(Win32ScaledScreen, BadgesAreFilteredWherePhotographsKeepWholePixels)
{
    StartWindowSystem();
    TForm form;
    form.SetClientSize(200, 100);
    // A hard edge: whole pixels keep two colours, filtering makes more.
    const std::vector<uint8_t> bytes = make_jpeg({20, 10, false, false, 100, false},
                                                 [](int x, int) { return x < 10 ? 0xFF0000u : 0x0000FFu; });
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(bytes);
    TImage* boxes[2];
    for (int i = 0; i < 2; ++i) {
        boxes[i] = form.Add<TImage>();
        boxes[i]->SetBounds(10 + 90 * i, 10, 75, 67);
        boxes[i]->SetCenter(true);
        boxes[i]->SetProportional(true);
        boxes[i]->Picture().Assign(&jpeg);
    }
    boxes[1]->SetScaling(TImageScaling::SmoothOnScaledScreens);
    form.Show();
    RECT frame{0, 0, 400, 200};
    SendMessageW(form.Widget(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&frame));
    const Shot shot = ShotOf(form.Widget());
    std::set<uint32_t> colours[2];
    for (int i = 0; i < 2; ++i) {
        const RECT place = PlaceOf(boxes[i]->Widget());
        const int y = (place.top + place.bottom) / 2;
        // The picture's 40 device pixels, centred in the box.
        const int left = (place.left + place.right) / 2 - 20;
        for (int x = left; x < left + 40; ++x)
            colours[i].insert(shot.At(x, y));
    }
    EXPECT_LE(colours[0].size(), 4u);
    EXPECT_GE(colours[1].size(), colours[0].size() + 2);
}
