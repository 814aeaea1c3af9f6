#pragma once

#include <atomic>
#include <functional>
#include <thread>

struct sockaddr;

// Takes connections off a listening socket on a thread of its own and hands each on, never
// more than a limit open at once: past it they wait in the backlog. The listening socket
// stays its owner's; once Stop has returned it is no longer touched, so the owner may close it.
class Acceptor {
public:
    // Receives a new connection's descriptor and owns it from then on; false when it could
    // not take it (and has closed it).
    using Handover = std::function<bool(int fd, const sockaddr* peer, unsigned peer_size)>;

    explicit Acceptor(unsigned limit);
    ~Acceptor();
    Acceptor(const Acceptor&) = delete;
    Acceptor& operator=(const Acceptor&) = delete;

    void Start(int listen_fd, Handover handover);
    // A connection handed on has ended: room for another. Safe from any thread, at any time.
    void Released();
    // Takes no more connections; returns once the thread has ended.
    void Stop();

private:
    void Run();
    void TakeWaiting();
    void Wake();

    const unsigned limit_;
    int wake_fd_ = -1;
    int listen_fd_ = -1;
    Handover handover_;
    std::atomic<unsigned> open_{0};
    std::atomic<bool> stopped_{false};
    // Set when the process ran out of descriptors: the backlog waits a while.
    bool starved_ = false;
    std::thread thread_;
};
