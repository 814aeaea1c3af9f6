#include "tests/http/LoopbackServer.h"

#include "tests/http/LoopbackSockets.h"

#include <stdexcept>

// The server's script and framing are kept here for both platforms;
// posix/ and windows/LoopbackSockets.cpp make the socket calls.

using namespace loopback_sockets;

LoopbackServer::LoopbackServer()
{
    listener_ = Listen(16, port_, "loopback server");
    OpenWake(wake_);
    thread_ = std::thread([this] { run(); });
}

LoopbackServer::~LoopbackServer()
{
    Wake(wake_[1]);
    thread_.join();
    Close(listener_);
    Close(wake_[0]);
    Close(wake_[1]);
}

void LoopbackServer::Script(std::string bytes, After after)
{
    std::lock_guard guard(mutex_);
    script_.push_back({std::move(bytes), after});
}

std::string LoopbackServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LoopbackServer::Requests() const
{
    std::lock_guard guard(mutex_);
    return requests_;
}

void LoopbackServer::serve_heads(intptr_t client, std::string& pending, bool& keep)
{
    for (size_t end; keep && (end = pending.find("\r\n\r\n")) != std::string::npos;) {
        Reply reply;
        {
            std::lock_guard guard(mutex_);
            requests_.push_back(pending.substr(0, end + 4));
            if (!script_.empty()) {
                reply = std::move(script_.front());
                script_.pop_front();
            } else {
                reply = {"HTTP/1.1 500 No script\r\nContent-Length: 0\r\n\r\n", After::Close};
            }
        }
        pending.erase(0, end + 4);
        size_t sent = 0;
        while (sent < reply.bytes.size()) {
            const int64_t n = Send(client, reply.bytes.data() + sent, reply.bytes.size() - sent);
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
        if (reply.after == After::Close || reply.after == After::Reset) {
            keep = false;
            reset_ = reply.after == After::Reset;
        }
        else if (reply.after == After::Stall)
            return;
    }
}

void LoopbackServer::close_client(intptr_t& client, bool reset)
{
    if (reset)
        CloseWithReset(client);
    else
        Close(client);
    client = -1;
}

void LoopbackServer::run()
{
    intptr_t client = -1;
    std::string pending;
    for (;;) {
        const intptr_t watched[3] = {wake_[0], listener_, client};
        const int ready = WaitReadable(std::span(watched, client != -1 ? 3 : 2));
        if (ready < 0)
            continue;
        if (ready & 1)
            break;
        if (ready & 2) {
            const intptr_t accepted = Accept(listener_);
            if (accepted != -1) {
                if (client != -1)
                    Close(client);
                client = accepted;
                pending.clear();
                ++connections_;
            }
            continue;
        }
        if (client != -1 && (ready & 4)) {
            char buffer[4096];
            const int64_t n = Receive(client, buffer, sizeof buffer);
            bool keep = n > 0;
            if (keep) {
                pending.append(buffer, static_cast<size_t>(n));
                serve_heads(client, pending, keep);
            }
            if (!keep)
                close_client(client, reset_);
            reset_ = false;
        }
    }
    if (client != -1)
        Close(client);
}

FullListener::FullListener()
{
    // Backlog 0 holds one connection; the one made here fills it.
    listener_ = Listen(0, port_, "full listener");
    queued_ = Connect(port_);
    if (queued_ == -1)
        throw std::runtime_error("full listener cannot fill its queue");
}

FullListener::~FullListener()
{
    Close(queued_);
    Close(listener_);
}
