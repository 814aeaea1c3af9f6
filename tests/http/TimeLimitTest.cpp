#include "tests/http/HttpTestSupport.h"
#include "tests/http/LoopbackServer.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {

using After = LoopbackServer::After;
using Clock = std::chrono::steady_clock;

constexpr int kShortLimitMs = 300;

int64_t ms_since(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A peer that goes silent ends the call with "Read Timeout" once the limit
// passes, wherever in the answer it stops.
TEST(TimeLimits, SilentServerEndsTheCallAfterTheReadLimit)
{
    struct Case {
        const char* where;
        std::string answer;
    } cases[] = {
        {"before the status line", ""},
        {"inside the header block", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n"},
        {"inside a counted body", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"},
        {"inside a chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc"},
        {"inside a body without length", "HTTP/1.1 200 OK\r\n\r\nabc"},
    };
    for (const auto& c : cases) {
        LoopbackServer server;
        server.Script(c.answer, After::Stall);
        TNxHTTP http;
        http.ReadTimeout = kShortLimitMs;
        TMemoryStream stream;
        auto start = Clock::now();
        try {
            http.Get(server.Url("/"), stream);
            ADD_FAILURE() << "accepted, silent " << c.where;
        } catch (const ENxReadTimeout& e) {
            EXPECT_EQ(e.Message(), "Read Timeout");
        }
        int64_t took = ms_since(start);
        EXPECT_GE(took, kShortLimitMs - 50) << c.where;
        EXPECT_LT(took, kShortLimitMs + 1000) << c.where;
        EXPECT_FALSE(http.Connected()) << c.where;
    }
}

TEST(TimeLimits, ListenerThatNeverAcceptsEndsTheConnectAfterTheLimit)
{
    FullListener listener;
    TNxHTTP http;
    http.ReadTimeout = kShortLimitMs;
    TMemoryStream stream;
    auto start = Clock::now();
    try {
        http.Get("http://127.0.0.1:" + std::to_string(listener.Port()) + "/", stream);
        FAIL() << "accepted";
    } catch (const ENxSocketError& e) {
        EXPECT_EQ(e.LastError(), 10060);
        EXPECT_EQ(e.Message(), "Socket Error # 10060\r\nConnection timed out.");
    }
    EXPECT_LT(ms_since(start), kShortLimitMs + 1000);
    EXPECT_FALSE(http.Connected());
}

TEST(TimeLimits, DefaultsBoundEveryWaitAndAReadTimeoutSetsBoth)
{
    struct Case {
        int read_timeout;
        int connect_limit;
        int wait_limit;
    } cases[] = {
        {0, kConnectTimeoutMs, kReadTimeoutMs},
        {1234, 1234, 1234},
    };
    for (const auto& c : cases) {
        MemoryClient client;
        auto channel = std::make_unique<MemoryChannel>(
            std::vector<std::string>{"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n", "ok"});
        auto waits = channel->WaitLog();
        client.opener->Push(std::move(channel));
        client.http->ReadTimeout = c.read_timeout;
        TMemoryStream stream;
        client.http->Get("http://h/", stream);
        EXPECT_EQ(client.opener->LastConnectTimeout(), c.connect_limit);
        ASSERT_FALSE(waits->empty());
        for (int wait : *waits)
            EXPECT_EQ(wait, c.wait_limit);
    }
}

} // namespace
