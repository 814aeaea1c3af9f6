#include "platform/Socket.h"

#include "platform/HostLookUp.h"
#include "platform/SocketErrors.h"
#include "platform/posix/ErrnoSocketErrors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

int fd_of(intptr_t handle)
{
    return static_cast<int>(handle);
}

// Connects fd to peer; with timeout_ms >= 0 the socket is non-blocking and
// the outcome is awaited here. Returns 0 or the socket error number.
int connect_and_wait(int fd, const sockaddr_in& peer, int timeout_ms)
{
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return 0;
    if (errno != EINTR && errno != EINPROGRESS)
        return SocketErrorFromErrno(errno);
    // The connect goes on in the background; wait for its outcome.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
    pollfd p{fd, POLLOUT, 0};
    for (;;) {
        int wait = -1;
        if (timeout_ms >= 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            wait = static_cast<int>(std::max<int64_t>(0, left.count()));
        }
        int ready = ::poll(&p, 1, wait);
        if (ready > 0)
            break;
        if (ready == 0)
            return kSocketTimedOut;
        if (errno != EINTR)
            return SocketErrorFromErrno(errno);
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return SocketErrorFromErrno(errno);
    return error == 0 ? 0 : SocketErrorFromErrno(error);
}

} // namespace

Socket::~Socket()
{
    Close();
}

bool Socket::Create()
{
    Close();
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail(SocketErrorFromErrno(errno));
    handle_ = fd;
    return true;
}

bool Socket::BindAny()
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(fd_of(handle_), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return fail(SocketErrorFromErrno(errno));
    return true;
}

bool Socket::Connect(const std::string& dotted, int port, int timeout_ms)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    if (port < 0 || port > 65535 || ::inet_pton(AF_INET, dotted.c_str(), &peer.sin_addr) != 1)
        return fail(kSocketInvalidArgument);
    peer.sin_port = htons(static_cast<uint16_t>(port));
    const int fd = fd_of(handle_);
    // A timed connect runs without blocking and waits for its outcome.
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0)
        return fail(SocketErrorFromErrno(errno));
    if (timeout_ms >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail(SocketErrorFromErrno(errno));
    int error = connect_and_wait(fd, peer, timeout_ms);
    if (timeout_ms >= 0 && ::fcntl(fd, F_SETFL, flags) != 0 && error == 0)
        error = SocketErrorFromErrno(errno);
    return error == 0 ? true : fail(error);
}

int64_t Socket::Send(const void* bytes, size_t count)
{
    for (;;) {
        ssize_t sent = ::send(fd_of(handle_), bytes, count, MSG_NOSIGNAL);
        if (sent >= 0)
            return sent;
        if (errno != EINTR) {
            fail(SocketErrorFromErrno(errno));
            return -1;
        }
    }
}

Socket::WaitResult Socket::WaitReadable(int timeout_ms)
{
    pollfd p{fd_of(handle_), POLLIN, 0};
    for (;;) {
        int ready = ::poll(&p, 1, timeout_ms < 0 ? -1 : timeout_ms);
        if (ready > 0)
            return WaitResult::Readable;
        if (ready == 0)
            return WaitResult::TimedOut;
        // A signal during a timed wait restarts the whole limit; acceptable for a rare event.
        if (errno != EINTR) {
            fail(SocketErrorFromErrno(errno));
            return WaitResult::Failed;
        }
    }
}

int64_t Socket::Receive(void* into, size_t count)
{
    count = std::min(count, kReceiveChunkBytes);
    for (;;) {
        ssize_t got = ::recv(fd_of(handle_), into, count, 0);
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            fail(SocketErrorFromErrno(errno));
            return -1;
        }
    }
}

void Socket::Close()
{
    if (handle_ == kNoHandle)
        return;
    ::shutdown(fd_of(handle_), SHUT_WR);
    ::close(fd_of(handle_));
    handle_ = kNoHandle;
}

int LookUpHost(const std::string& name, std::string& dotted)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
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
