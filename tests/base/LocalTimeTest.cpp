#include "platform/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Runs with TZ=Europe/Berlin (see CMakeLists.txt): the offset follows the
// zone's daylight rules at each instant, as the system gives them.
TEST(LocalOffsetSeconds, FollowsTheZonesDaylightRulesAtEachInstant)
{
    ASSERT_STREQ(std::getenv("TZ"), "Europe/Berlin");
    struct Case {
        int64_t utc;
        int32_t offset;
        const char* when;
    } cases[] = {
        {1705320000, 3600, "2024-01-15 12:00 UTC, winter"},
        {1721044800, 7200, "2024-07-15 12:00 UTC, summer"},
        {1711846799, 3600, "2024-03-31 00:59:59 UTC, the last second of winter time"},
        {1711846800, 7200, "2024-03-31 01:00:00 UTC, summer time begins"},
        {1729990799, 7200, "2024-10-27 00:59:59 UTC, the last second of summer time"},
        {1729990800, 3600, "2024-10-27 01:00:00 UTC, winter time again"},
        {1435708800, 7200, "2015-07-01, another year's summer"},
        {4102444800, 3600, "2100-01-01, far ahead"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LocalOffsetSeconds(c.utc), c.offset) << c.when;
}

TEST(UtcNowSeconds, IsTheCurrentUnixTime)
{
    // Later than this test was written, earlier than the year 2200.
    const int64_t now = UtcNowSeconds();
    EXPECT_GT(now, 1733700000);
    EXPECT_LT(now, 7258118400);
}
