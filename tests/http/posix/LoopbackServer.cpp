#include "tests/http/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

int fd(intptr_t handle)
{
    return static_cast<int>(handle);
}

// A listening socket on a free loopback port; address receives where it listens.
int listen_on_loopback(int backlog, sockaddr_in& address, const char* what)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, backlog) != 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error(std::string(what) + " cannot listen");
    }
    return fd;
}

} // namespace

LoopbackServer::LoopbackServer()
{
    sockaddr_in address;
    listener_ = listen_on_loopback(16, address, "loopback server");
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0)
        throw std::runtime_error("loopback server cannot listen");
    wake_[0] = pipe_ends[0];
    wake_[1] = pipe_ends[1];
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

LoopbackServer::~LoopbackServer()
{
    char stop = 'x';
    (void)!::write(fd(wake_[1]), &stop, 1);
    thread_.join();
    ::close(fd(listener_));
    ::close(fd(wake_[0]));
    ::close(fd(wake_[1]));
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
            ssize_t n = ::send(fd(client), reply.bytes.data() + sent, reply.bytes.size() - sent, MSG_NOSIGNAL);
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
    if (reset) {
        linger abort{1, 0};  // close with RST instead of FIN
        ::setsockopt(fd(client), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    ::close(fd(client));
    client = -1;
}

void LoopbackServer::run()
{
    intptr_t client = -1;
    std::string pending;
    for (;;) {
        pollfd fds[3] = {{fd(wake_[0]), POLLIN, 0}, {fd(listener_), POLLIN, 0}, {fd(client), POLLIN, 0}};
        if (::poll(fds, client >= 0 ? 3 : 2, -1) < 0)
            continue;
        if (fds[0].revents != 0)
            break;
        if (fds[1].revents & POLLIN) {
            int accepted = ::accept(fd(listener_), nullptr, nullptr);
            if (accepted >= 0) {
                if (client >= 0)
                    ::close(fd(client));
                client = accepted;
                pending.clear();
                ++connections_;
            }
            continue;
        }
        if (client >= 0 && fds[2].revents != 0) {
            char buffer[4096];
            ssize_t n = ::recv(fd(client), buffer, sizeof buffer, 0);
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
    if (client >= 0)
        ::close(fd(client));
}

FullListener::FullListener()
{
    sockaddr_in address;
    // Backlog 0 holds one connection; the one made here fills it.
    listener_ = listen_on_loopback(0, address, "full listener");
    port_ = ntohs(address.sin_port);
    int queued = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    queued_ = queued;
    if (queued < 0 || ::connect(queued, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("full listener cannot fill its queue");
}

FullListener::~FullListener()
{
    ::close(fd(queued_));
    ::close(fd(listener_));
}
