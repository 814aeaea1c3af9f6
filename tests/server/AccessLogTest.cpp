#include "server/AccessLog.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(AccessLog, LinesFollowTheCommonLogFormatAndKeepClientTextOnOneLine)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::time_t when = 1796786400; // 09/Dec/2026:03:20:00 UTC
    const struct {
        AccessEntry entry;
        const char* line;
    } cases[] = {
        {{"127.0.0.1", "GET", "/kestrid/ide.php?cq=1", "HTTP/1.1", 200, 19},
         "127.0.0.1 - - [09/Dec/2026:03:20:00 +0000] \"GET /kestrid/ide.php?cq=1 HTTP/1.1\" 200 19"},
        {{"::1", "HEAD", "/", "HTTP/1.0", 404, 0}, "::1 - - [09/Dec/2026:03:20:00 +0000] \"HEAD / HTTP/1.0\" 404 -"},
        {{"", "GET", "/a\"b\nc", "HTTP/1.1", 400, 7},
         "- - - [09/Dec/2026:03:20:00 +0000] \"GET /a\\x22b\\x0ac HTTP/1.1\" 400 7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(common_log_line(c.entry, when), c.line);
}

} // namespace
