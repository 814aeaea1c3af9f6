#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A scripted HTTP server on 127.0.0.1 and an ephemeral port. For each request
// head it receives it sends the next scripted reply, then keeps the
// connection, closes it, or stalls (keeps it open and says nothing more).
class LoopbackServer {
public:
    enum class After { KeepOpen, Close, Stall };
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
    void serve_heads(int fd, std::string& pending, bool& keep);

    int listen_fd_ = -1;
    int wake_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::deque<Reply> script_;
    std::vector<std::string> requests_;
    std::thread thread_;
};
