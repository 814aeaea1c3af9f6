#pragma once

#include "platform/SocketLayer.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A scripted HTTP server on 127.0.0.1 and an ephemeral port. For each request
// head it receives it sends the next scripted reply, then keeps the
// connection, closes it, resets it, or stalls (keeps it open and says
// nothing more).
class LoopbackServer {
public:
    enum class After { KeepOpen, Close, Reset, Stall };
    struct Reply {
        std::string bytes;
        After after = After::KeepOpen;
    };

    LoopbackServer();
    ~LoopbackServer();

    void Script(std::string bytes, After after = After::KeepOpen);
    int Port() const { return port_; }
    std::string Url(const std::string& path) const;
    int Connections() const { return connections_.load(); }
    std::vector<std::string> Requests() const;

private:
    void run();
    void close_client(intptr_t& client, bool reset);
    void serve_heads(intptr_t client, std::string& pending, bool& keep);

    SocketLayer layer_;
    // Sockets and the wake-up channel as the system's numbers or handles.
    intptr_t listener_ = -1;
    intptr_t wake_[2] = {-1, -1};
    int port_ = 0;
    bool reset_ = false;
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::deque<Reply> script_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A listener on 127.0.0.1 that never accepts: its queue is full, so the next
// connect waits for an answer that never comes (Linux's backlog rule, which
// Wine keeps too).
class FullListener {
public:
    FullListener();
    ~FullListener();
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;
    int Port() const { return port_; }

private:
    SocketLayer layer_;
    intptr_t listener_ = -1;
    intptr_t queued_ = -1;
    int port_ = 0;
};
