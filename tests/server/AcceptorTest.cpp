// The acceptor: connections past its limit wait in the backlog until one ends, and a stop
// returns at once even at the limit.
#include "server/Acceptor.h"
#include "server/ListenSocket.h"
#include "tests/server/LoopbackConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Keeps what the acceptor hands on and lets the test wait for it.
class Receiver {
public:
    ~Receiver()
    {
        for (int fd : fds_)
            ::close(fd);
    }
    Acceptor::Handover Handover()
    {
        return [this](int fd, const sockaddr*, unsigned) {
            std::lock_guard lock(mutex_);
            fds_.push_back(fd);
            wake_.notify_all();
            return true;
        };
    }
    // True once count connections have come; false when they have not after bound.
    bool Received(std::size_t count, std::chrono::milliseconds bound)
    {
        std::unique_lock lock(mutex_);
        return wake_.wait_for(lock, bound, [&] { return fds_.size() >= count; });
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<int> fds_;
};

TEST(Acceptor, ConnectionsPastTheLimitWaitInTheBacklogUntilOneEnds)
{
    struct Case {
        unsigned limit;
        int clients;
        std::size_t at_first;
        std::size_t after_one_ends;
    };
    const Case cases[] = {{1, 3, 1, 2}, {2, 3, 2, 3}, {3, 2, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "limit " << c.limit << ", " << c.clients << " clients");
        ListenSocket listener = ListenSocket::Open("127.0.0.1", 0, 16);
        Receiver receiver;
        Acceptor acceptor(c.limit);
        acceptor.Start(listener.Fd(), receiver.Handover());
        std::vector<std::unique_ptr<LoopbackConnection>> clients;
        for (int i = 0; i < c.clients; ++i)
            clients.push_back(std::make_unique<LoopbackConnection>(listener.Port()));
        EXPECT_TRUE(receiver.Received(c.at_first, 5s));
        EXPECT_FALSE(receiver.Received(c.at_first + 1, 100ms));
        acceptor.Released();
        EXPECT_TRUE(receiver.Received(c.after_one_ends, 5s));
        EXPECT_FALSE(receiver.Received(c.after_one_ends + 1, 100ms));

        const auto start = std::chrono::steady_clock::now();
        acceptor.Stop();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
        // Room again after the stop: still nothing more is taken.
        acceptor.Released();
        EXPECT_FALSE(receiver.Received(c.after_one_ends + 1, 100ms));
    }
}

} // namespace
