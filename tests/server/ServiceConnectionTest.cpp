// How the service treats connections: late heads and idle clients are closed, slow ones
// do not hold up others, and a stop refuses new connections and ends every open one at once.
#include "tests/server/LoopbackConnection.h"
#include "tests/server/ServerTestSupport.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

const std::string kRequest = "GET /kestrid/ide.php?cq=50100982 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

ServiceSettings timeouts(int idle_seconds, int head_seconds)
{
    ServiceSettings settings;
    settings.idle_timeout_seconds = idle_seconds;
    settings.head_timeout_seconds = head_seconds;
    return settings;
}

TEST(ServiceConnections, AnIdleKeptConnectionIsClosedAfterTheIdleTimeout)
{
    RunningService service({}, timeouts(1, 60));
    LoopbackConnection client(service.Port());
    ASSERT_TRUE(client.Send(kRequest));
    EXPECT_EQ(client.ReadAnswer().rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_TRUE(client.ClosedWithin(5s));
}

TEST(ServiceConnections, AHeadTrickledInTooSlowlyIsCutOffAlthoughBytesKeepComing)
{
    RunningService service({}, timeouts(60, 1));
    LoopbackConnection slow(service.Port());
    // A byte every 50 ms keeps the connection busy but never finishes the head in time.
    bool closed = false;
    for (std::size_t i = 0; i < kRequest.size() - 1 && !closed; ++i)
        closed = !slow.Send(kRequest.substr(i, 1)) || slow.ClosedWithin(50ms);
    EXPECT_TRUE(closed || slow.ClosedWithin(5s));

    // The service still answers others as usual.
    LoopbackConnection normal(service.Port());
    ASSERT_TRUE(normal.Send(kRequest));
    EXPECT_EQ(normal.ReadAnswer().rfind("HTTP/1.1 200", 0), 0u);
}

TEST(ServiceConnections, AHeadCompletedInTimeIsAnsweredAndTheConnectionKept)
{
    RunningService service({}, timeouts(60, 2));
    LoopbackConnection client(service.Port());
    for (int round = 0; round < 3; ++round) {
        for (char c : kRequest) {
            ASSERT_TRUE(client.Send(std::string(1, c)));
            EXPECT_FALSE(client.ClosedWithin(1ms));
        }
        EXPECT_EQ(client.ReadAnswer().rfind("HTTP/1.1 200", 0), 0u) << round;
    }
}

TEST(ServiceConnections, StopEndsIdleAndHalfSentConnectionsAndReturns)
{
    auto service = std::make_unique<RunningService>(std::function<void(const std::string&, const std::string&)>{},
                                                    timeouts(60, 60));
    std::vector<std::unique_ptr<LoopbackConnection>> clients;
    for (int i = 0; i < 20; ++i) {
        clients.push_back(std::make_unique<LoopbackConnection>(service->Port()));
        ASSERT_TRUE(clients.back()->Send(i % 2 == 0 ? kRequest : kRequest.substr(0, 10)));
        if (i % 2 == 0) {
            ASSERT_FALSE(clients.back()->ReadAnswer().empty());
        }
    }
    // The destructor stops the service and waits for it; with 60 s timeouts this only
    // returns because the stop closes the connections itself.
    service.reset();
    for (const auto& client : clients)
        EXPECT_TRUE(client->ClosedWithin(0ms));
}

TEST(ServiceConnections, StopRefusesNewConnectionsAtOnceAndLetsAnAnswerInProgressFinish)
{
    // The request log runs before the answer is made: holding it keeps the answer in progress.
    std::promise<void> request_seen;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto service = std::make_unique<RunningService>(
        [&request_seen, released](const std::string&, const std::string&) {
            request_seen.set_value();
            released.wait();
        },
        timeouts(60, 60));
    const int port = service->Port();
    LoopbackConnection busy(port);
    ASSERT_TRUE(busy.Send(kRequest));
    request_seen.get_future().wait();

    std::thread stopper([&service] { service.reset(); });
    // Bounded in tries rather than time: connections left waiting in a backlog nobody takes
    // from would in the end make a connect itself wait for seconds.
    bool refused = false;
    for (int tries = 0; tries < 300 && !refused; ++tries) {
        try {
            LoopbackConnection probe(port);
            std::this_thread::sleep_for(10ms);
        } catch (const std::runtime_error&) {
            refused = true;
        }
    }
    release.set_value();
    EXPECT_TRUE(refused);
    const std::string answer = busy.ReadAnswer();
    EXPECT_EQ(answer.rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_NE(answer.find("Connection: close"), std::string::npos);
    stopper.join();
    EXPECT_TRUE(busy.ClosedWithin(0ms));
}

} // namespace
