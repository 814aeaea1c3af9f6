#include "ui/WindowPlacement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, OpensAtItsPlaceWhenItFitsAndMovesTheLeastOtherwise)
{
    const TRect screen{0, 0, 1024, 768};
    struct Case {
        const char* what;
        int left, top, width, height;
        TRect area;
        TRect placed;
    } cases[] = {
        {"fits", 349, 220, 654, 485, screen, {349, 220, 1003, 705}},
        {"scale 1.5 on 1024 x 768: 683 x 512 logical", 349, 220, 654, 485, {0, 0, 683, 512}, {29, 27, 683, 512}},
        {"off the right edge only", 500, 10, 654, 485, screen, {370, 10, 1024, 495}},
        {"above and left of the area", -40, -5, 100, 100, {0, 30, 1024, 768}, {0, 30, 100, 130}},
        {"larger than the area: title bar kept on it", 349, 220, 1308, 970, screen, {0, 0, 1308, 970}},
        {"second screen to the right", 1100, 100, 654, 485, {1024, 0, 2048, 768}, {1100, 100, 1754, 585}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceOnScreen(c.left, c.top, c.width, c.height, c.area), c.placed) << c.what;
}
