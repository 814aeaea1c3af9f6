#include "tests/http/LoopbackServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <stdexcept>

namespace {

SOCKET sock(intptr_t handle)
{
    return static_cast<SOCKET>(handle);
}

intptr_t handle(SOCKET s)
{
    return static_cast<intptr_t>(s);
}

sockaddr_in loopback_address()
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A socket of type bound to a free loopback port; address receives where.
SOCKET bound_on_loopback(int type, sockaddr_in& address, const char* what)
{
    SOCKET s = ::socket(AF_INET, type, 0);
    address = loopback_address();
    int length = sizeof address;
    if (s == INVALID_SOCKET || ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (s != INVALID_SOCKET)
            ::closesocket(s);
        throw std::runtime_error(std::string(what) + " cannot listen");
    }
    return s;
}

SOCKET listen_on_loopback(int backlog, sockaddr_in& address, const char* what)
{
    SOCKET s = bound_on_loopback(SOCK_STREAM, address, what);
    if (::listen(s, backlog) != 0) {
        ::closesocket(s);
        throw std::runtime_error(std::string(what) + " cannot listen");
    }
    return s;
}

} // namespace

LoopbackServer::LoopbackServer()
{
    sockaddr_in address;
    listener_ = handle(listen_on_loopback(16, address, "loopback server"));
    port_ = ntohs(address.sin_port);
    // No pipe works with select here: one datagram between two loopback
    // sockets wakes the server instead.
    sockaddr_in wake_address;
    wake_[0] = handle(bound_on_loopback(SOCK_DGRAM, wake_address, "loopback server"));
    wake_[1] = handle(::socket(AF_INET, SOCK_DGRAM, 0));
    if (sock(wake_[1]) == INVALID_SOCKET ||
        ::connect(sock(wake_[1]), reinterpret_cast<sockaddr*>(&wake_address), sizeof wake_address) != 0)
        throw std::runtime_error("loopback server cannot listen");
    thread_ = std::thread([this] { run(); });
}

LoopbackServer::~LoopbackServer()
{
    char stop = 'x';
    ::send(sock(wake_[1]), &stop, 1, 0);
    thread_.join();
    ::closesocket(sock(listener_));
    ::closesocket(sock(wake_[0]));
    ::closesocket(sock(wake_[1]));
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
            int n = ::send(sock(client), reply.bytes.data() + sent, static_cast<int>(reply.bytes.size() - sent), 0);
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
        ::setsockopt(sock(client), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    }
    ::closesocket(sock(client));
    client = -1;
}

void LoopbackServer::run()
{
    intptr_t client = -1;
    std::string pending;
    for (;;) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(sock(wake_[0]), &readable);
        FD_SET(sock(listener_), &readable);
        if (client != -1)
            FD_SET(sock(client), &readable);
        if (::select(0, &readable, nullptr, nullptr, nullptr) == SOCKET_ERROR)
            continue;
        if (FD_ISSET(sock(wake_[0]), &readable))
            break;
        if (FD_ISSET(sock(listener_), &readable)) {
            SOCKET accepted = ::accept(sock(listener_), nullptr, nullptr);
            if (accepted != INVALID_SOCKET) {
                if (client != -1)
                    ::closesocket(sock(client));
                client = handle(accepted);
                pending.clear();
                ++connections_;
            }
            continue;
        }
        if (client != -1 && FD_ISSET(sock(client), &readable)) {
            char buffer[4096];
            int n = ::recv(sock(client), buffer, sizeof buffer, 0);
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
        ::closesocket(sock(client));
}

FullListener::FullListener()
{
    sockaddr_in address;
    // Backlog 0 holds one connection; the one made here fills it.
    listener_ = handle(listen_on_loopback(0, address, "full listener"));
    port_ = ntohs(address.sin_port);
    SOCKET queued = ::socket(AF_INET, SOCK_STREAM, 0);
    queued_ = handle(queued);
    if (queued == INVALID_SOCKET || ::connect(queued, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("full listener cannot fill its queue");
}

FullListener::~FullListener()
{
    ::closesocket(sock(queued_));
    ::closesocket(sock(listener_));
}
