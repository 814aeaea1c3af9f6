#pragma once

// The system's socket calls under platform/Socket.cpp, for POSIX systems;
// windows/SocketCalls.h has the same names. Private to platform/.

#include "platform/SocketErrors.h"
#include "platform/posix/ErrnoSocketErrors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace socket_calls {

using Native = int;

inline Native native(intptr_t handle)
{
    return static_cast<int>(handle);
}

// The socket error number of the call that just failed.
inline int last_error()
{
    return SocketErrorFromErrno(errno);
}

// The call that just failed was cut short by a signal: it is made again.
inline bool interrupted()
{
    return errno == EINTR;
}

// The connect that just failed goes on in the background.
inline bool connect_pending()
{
    return errno == EINTR || errno == EINPROGRESS;
}

// A fresh IPv4 stream socket, not inherited by programs the client starts;
// -1 when the system refuses one.
inline intptr_t open_stream()
{
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

// 0 or the socket error number.
inline int set_blocking(Native s, bool blocking)
{
    const int flags = ::fcntl(s, F_GETFL);
    if (flags < 0)
        return last_error();
    const int wanted = blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK;
    return ::fcntl(s, F_SETFL, wanted) == 0 ? 0 : last_error();
}

// Above 0 when the socket is ready to write (a connect has its outcome) or
// to read, 0 when timeout_ms ran out, below 0 on failure. timeout_ms < 0
// waits without limit.
inline int wait_ready(Native s, bool for_writing, int timeout_ms)
{
    pollfd p{s, static_cast<short>(for_writing ? POLLOUT : POLLIN), 0};
    return ::poll(&p, 1, timeout_ms < 0 ? -1 : timeout_ms);
}

// The outcome of a connect awaited: 0 or the socket error number.
inline int connect_outcome(Native s)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return last_error();
    return error == 0 ? 0 : SocketErrorFromErrno(error);
}

// Bytes sent or received, or -1; sending never raises SIGPIPE.
inline int64_t send_some(Native s, const void* bytes, size_t count)
{
    return ::send(s, bytes, count, MSG_NOSIGNAL);
}

inline int64_t receive_some(Native s, void* into, size_t count)
{
    return ::recv(s, into, count, 0);
}

// Receives give up after timeout_ms (< 0: never). 0 or the socket error number.
inline int set_receive_limit(Native s, int timeout_ms)
{
    timeval limit{};
    if (timeout_ms > 0) {
        limit.tv_sec = timeout_ms / 1000;
        limit.tv_usec = (timeout_ms % 1000) * 1000;
    }
    return ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0 ? 0 : last_error();
}

// The receive that just failed ran out its limit.
inline bool receive_timed_out()
{
    return errno == EAGAIN || errno == EWOULDBLOCK;
}

inline void shut_and_close(Native s)
{
    ::shutdown(s, SHUT_WR);
    ::close(s);
}

// getaddrinfo's failure code as a socket error number.
inline int look_up_error(int code)
{
    return code == EAI_SYSTEM ? last_error() : kSocketHostNotFound;
}

} // namespace socket_calls
