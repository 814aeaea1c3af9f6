#include "server/Acceptor.h"

#include "server/ServerErrors.h"

#include <cerrno>
#include <cstdint>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How long the backlog waits after the process ran out of descriptors or memory.
constexpr int kStarvedPauseMilliseconds = 100;

bool out_of_resources(int error)
{
    return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
}

} // namespace

Acceptor::Acceptor(unsigned limit) : limit_(limit)
{
    wake_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_fd_ < 0)
        throw EServerSetupError::CannotServe();
}

Acceptor::~Acceptor()
{
    Stop();
    ::close(wake_fd_);
}

void Acceptor::Start(int listen_fd, Handover handover)
{
    listen_fd_ = listen_fd;
    handover_ = std::move(handover);
    thread_ = std::thread([this] { Run(); });
}

void Acceptor::Released()
{
    // Only the step down from the limit has to wake the thread: below it, it waits on the
    // listening socket anyway.
    if (open_.fetch_sub(1) == limit_)
        Wake();
}

void Acceptor::Stop()
{
    stopped_ = true;
    Wake();
    if (thread_.joinable())
        thread_.join();
}

void Acceptor::Wake()
{
    const std::uint64_t one = 1;
    // Cannot fail short of a counter near 2^64; a full counter is awake anyway.
    [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
}

void Acceptor::Run()
{
    while (!stopped_) {
        // Without room the listening socket is left out (poll skips a negative descriptor).
        const bool room = open_ < limit_ && !starved_;
        pollfd waits[2] = {{wake_fd_, POLLIN, 0}, {room ? listen_fd_ : -1, POLLIN, 0}};
        const int ready = ::poll(waits, 2, starved_ ? kStarvedPauseMilliseconds : -1);
        starved_ = false;
        if (ready <= 0)
            continue;
        if (waits[0].revents != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t read = ::read(wake_fd_, &count, sizeof count);
        }
        if ((waits[1].revents & POLLIN) != 0)
            TakeWaiting();
    }
}

// Accepts until the backlog is empty, the limit is reached or a stop comes.
void Acceptor::TakeWaiting()
{
    while (open_ < limit_ && !stopped_) {
        sockaddr_storage peer{};
        socklen_t size = sizeof peer;
        const int fd = ::accept4(listen_fd_, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            // Empty backlog, or a connection reset while waiting: back to poll.
            starved_ = out_of_resources(errno);
            return;
        }
        // Counted before it is handed on: it may end on another thread at once.
        ++open_;
        if (!handover_(fd, reinterpret_cast<const sockaddr*>(&peer), size))
            --open_;
    }
}
