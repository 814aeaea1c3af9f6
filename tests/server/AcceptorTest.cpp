// The acceptor: connections past its limit wait in the backlog until one ends, and a stop
// returns at once whatever waits.
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

// Takes what the acceptor hands on (or refuses it) and lets the test wait for it.
class Receiver {
public:
    explicit Receiver(bool refuse = false) : refuse_(refuse) {}
    ~Receiver()
    {
        for (int fd : fds_)
            ::close(fd);
    }
    Acceptor::Handover Handover()
    {
        return [this](int fd, const sockaddr*, unsigned) {
            std::lock_guard lock(mutex_);
            ++count_;
            if (refuse_)
                ::close(fd);
            else
                fds_.push_back(fd);
            wake_.notify_all();
            return !refuse_;
        };
    }
    // True once count connections have come; false when they have not after bound.
    bool Received(int count, std::chrono::milliseconds bound)
    {
        std::unique_lock lock(mutex_);
        return wake_.wait_for(lock, bound, [&] { return count_ >= count; });
    }

private:
    bool refuse_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<int> fds_;
    int count_ = 0;
};

std::vector<std::unique_ptr<LoopbackConnection>> connect(int port, int count)
{
    std::vector<std::unique_ptr<LoopbackConnection>> clients;
    for (int i = 0; i < count; ++i)
        clients.push_back(std::make_unique<LoopbackConnection>(port));
    return clients;
}

TEST(Acceptor, ConnectionsPastTheLimitWaitInTheBacklogUntilOneEnds)
{
    struct Case {
        unsigned limit;
        int clients;
        int at_first;
        int after_one_ends;
    };
    const Case cases[] = {{1, 3, 1, 2}, {2, 3, 2, 3}, {3, 2, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "limit " << c.limit << ", " << c.clients << " clients");
        ListenSocket listener = ListenSocket::Open("127.0.0.1", 0, 16);
        Receiver receiver;
        Acceptor acceptor(c.limit);
        acceptor.Start(listener.Fd(), receiver.Handover());
        const auto clients = connect(listener.Port(), c.clients);
        EXPECT_TRUE(receiver.Received(c.at_first, 5s));
        EXPECT_FALSE(receiver.Received(c.at_first + 1, 100ms));
        acceptor.Released();
        EXPECT_TRUE(receiver.Received(c.after_one_ends, 5s));
        EXPECT_FALSE(receiver.Received(c.after_one_ends + 1, 100ms));
    }
}

TEST(Acceptor, ARefusedConnectionLeavesItsPlaceFree)
{
    ListenSocket listener = ListenSocket::Open("127.0.0.1", 0, 16);
    Receiver receiver(true);
    Acceptor acceptor(1);
    acceptor.Start(listener.Fd(), receiver.Handover());
    const auto clients = connect(listener.Port(), 3);
    EXPECT_TRUE(receiver.Received(3, 5s));
    for (const auto& client : clients)
        EXPECT_TRUE(client->ClosedWithin(5s));
}

TEST(Acceptor, StopReturnsAtOnceAtTheLimitAndTakesNoMore)
{
    ListenSocket listener = ListenSocket::Open("127.0.0.1", 0, 16);
    Receiver receiver;
    Acceptor acceptor(1);
    acceptor.Start(listener.Fd(), receiver.Handover());
    auto clients = connect(listener.Port(), 2);
    ASSERT_TRUE(receiver.Received(1, 5s));
    const auto start = std::chrono::steady_clock::now();
    acceptor.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    // Room again, and another client: still nothing is taken.
    acceptor.Released();
    clients.push_back(std::make_unique<LoopbackConnection>(listener.Port()));
    EXPECT_FALSE(receiver.Received(2, 100ms));
}

} // namespace
