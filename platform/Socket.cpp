#include "platform/Socket.h"

#include "platform/SocketErrors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

Socket::~Socket()
{
    Close();
}

bool Socket::fail_with_errno()
{
    last_error_ = SocketErrorFromErrno(errno);
    return false;
}

bool Socket::Create()
{
    Close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return fail_with_errno();
    return true;
}

bool Socket::BindAny()
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return fail_with_errno();
    return true;
}

bool Socket::Connect(const std::string& dotted, int port, int timeout_ms)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    if (port < 0 || port > 65535 || ::inet_pton(AF_INET, dotted.c_str(), &peer.sin_addr) != 1) {
        last_error_ = SocketErrorFromErrno(EINVAL);
        return false;
    }
    peer.sin_port = htons(static_cast<uint16_t>(port));
    // A timed connect runs without blocking and waits for its outcome here.
    int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0)
        return fail_with_errno();
    if (timeout_ms >= 0 && ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail_with_errno();
    bool connected = connect_and_wait(peer, timeout_ms);
    if (timeout_ms >= 0 && ::fcntl(fd_, F_SETFL, flags) != 0 && connected)
        return fail_with_errno();
    return connected;
}

bool Socket::connect_and_wait(const sockaddr_in& peer, int timeout_ms)
{
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return true;
    if (errno != EINTR && errno != EINPROGRESS)
        return fail_with_errno();
    // The connect goes on in the background; wait for its outcome.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
    pollfd p{fd_, POLLOUT, 0};
    for (;;) {
        int wait = -1;
        if (timeout_ms >= 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            wait = static_cast<int>(std::max<int64_t>(0, left.count()));
        }
        int ready = ::poll(&p, 1, wait);
        if (ready > 0)
            break;
        if (ready == 0) {
            last_error_ = SocketErrorFromErrno(ETIMEDOUT);
            return false;
        }
        if (errno != EINTR)
            return fail_with_errno();
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return fail_with_errno();
    if (error == 0)
        return true;
    last_error_ = SocketErrorFromErrno(error);
    return false;
}

int64_t Socket::Send(const void* bytes, size_t count)
{
    for (;;) {
        ssize_t sent = ::send(fd_, bytes, count, MSG_NOSIGNAL);
        if (sent >= 0)
            return sent;
        if (errno != EINTR) {
            fail_with_errno();
            return -1;
        }
    }
}

Socket::WaitResult Socket::WaitReadable(int timeout_ms)
{
    pollfd p{fd_, POLLIN, 0};
    for (;;) {
        int ready = ::poll(&p, 1, timeout_ms < 0 ? -1 : timeout_ms);
        if (ready > 0)
            return WaitResult::Readable;
        if (ready == 0)
            return WaitResult::TimedOut;
        // A signal during a timed wait restarts the whole limit; acceptable for a rare event.
        if (errno != EINTR) {
            fail_with_errno();
            return WaitResult::Failed;
        }
    }
}

int64_t Socket::Receive(void* into, size_t count)
{
    count = std::min(count, kReceiveChunkBytes);
    for (;;) {
        ssize_t got = ::recv(fd_, into, count, 0);
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            fail_with_errno();
            return -1;
        }
    }
}

void Socket::Close()
{
    if (fd_ < 0)
        return;
    ::shutdown(fd_, SHUT_WR);
    ::close(fd_);
    fd_ = -1;
}

bool IsDottedQuad(std::string_view text)
{
    int parts = 0;
    size_t i = 0;
    while (parts < 4) {
        size_t start = i;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 3) {
            value = value * 10 + (text[i] - '0');
            ++i;
        }
        if (i == start || value > 255)
            return false;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.')
                return false;
            ++i;
        }
    }
    return i == text.size();
}

int ResolveHost(std::string_view host, std::string& dotted)
{
    auto is_localhost = [](std::string_view name) {
        static constexpr std::string_view kLocal = "localhost";
        if (name.size() != kLocal.size())
            return false;
        for (size_t i = 0; i < name.size(); ++i) {
            char c = name[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (c != kLocal[i])
                return false;
        }
        return true;
    };
    if (is_localhost(host)) {
        dotted = "127.0.0.1";
        return 0;
    }
    if (IsDottedQuad(host)) {
        dotted = std::string(host);
        return 0;
    }
    if (host.empty() || host.find('\0') != std::string_view::npos)
        return kSocketHostNotFound;

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    std::string name(host);
    int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (rc != 0) {
        if (rc == EAI_SYSTEM)
            return SocketErrorFromErrno(errno);
        return kSocketHostNotFound;
    }
    int result = kSocketHostNotFound;
    for (addrinfo* a = found; a != nullptr; a = a->ai_next) {
        if (a->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
            dotted = text;
            result = 0;
            break;
        }
    }
    ::freeaddrinfo(found);
    return result;
}
