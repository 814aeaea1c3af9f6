#pragma once

// The system's socket calls under platform/Socket.cpp, for Windows Sockets;
// posix/SocketCalls.h has the same names. Private to platform/.

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

namespace socket_calls {

using Native = SOCKET;

inline Native native(intptr_t handle)
{
    return static_cast<SOCKET>(handle);
}

// The socket error number of the call that just failed.
inline int last_error()
{
    return ::WSAGetLastError();
}

// Calls are not cut short by signals here.
inline bool interrupted()
{
    return false;
}

// The connect that just failed goes on in the background.
inline bool connect_pending()
{
    return ::WSAGetLastError() == WSAEWOULDBLOCK;
}

// A fresh IPv4 stream socket, not inherited by programs the client starts
// (the browser); -1 when the system refuses one.
inline intptr_t open_stream()
{
    SOCKET s = ::WSASocketW(AF_INET, SOCK_STREAM, 0, nullptr, 0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET && ::WSAGetLastError() == WSAEINVAL) {
        // Windows 7 without KB2533623 refuses the flag: the handle is made
        // not inheritable after.
        s = ::WSASocketW(AF_INET, SOCK_STREAM, 0, nullptr, 0, WSA_FLAG_OVERLAPPED);
        if (s != INVALID_SOCKET)
            ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    }
    return s == INVALID_SOCKET ? -1 : static_cast<intptr_t>(s);
}

// 0 or the socket error number.
inline int set_blocking(Native s, bool blocking)
{
    u_long non_blocking = blocking ? 0 : 1;
    return ::ioctlsocket(s, FIONBIO, &non_blocking) == 0 ? 0 : ::WSAGetLastError();
}

// Above 0 when the socket is ready to write (a connect has its outcome) or
// to read, 0 when timeout_ms ran out, below 0 on failure. timeout_ms < 0
// waits without limit.
inline int wait_ready(Native s, bool for_writing, int timeout_ms)
{
    timeval limit{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    // A refused or failed connect shows in the except set, success in the write set.
    const int count = for_writing ? ::select(0, nullptr, &ready, &failed, timeout_ms < 0 ? nullptr : &limit)
                                  : ::select(0, &ready, nullptr, nullptr, timeout_ms < 0 ? nullptr : &limit);
    return count == SOCKET_ERROR ? -1 : count;
}

// The outcome of a connect awaited: 0 or the socket error number.
inline int connect_outcome(Native s)
{
    int outcome = 0;
    int length = sizeof outcome;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&outcome), &length) != 0)
        return ::WSAGetLastError();
    return outcome;
}

// Bytes sent or received, or -1.
inline int64_t send_some(Native s, const void* bytes, size_t count)
{
    const int chunk = static_cast<int>(std::min<size_t>(count, INT_MAX));
    const int sent = ::send(s, static_cast<const char*>(bytes), chunk, 0);
    return sent == SOCKET_ERROR ? -1 : sent;
}

inline int64_t receive_some(Native s, void* into, size_t count)
{
    const int got = ::recv(s, static_cast<char*>(into), static_cast<int>(std::min<size_t>(count, INT_MAX)), 0);
    return got == SOCKET_ERROR ? -1 : got;
}

// Receives give up after timeout_ms (< 0: never). 0 or the socket error number.
inline int set_receive_limit(Native s, int timeout_ms)
{
    const DWORD limit = timeout_ms > 0 ? static_cast<DWORD>(timeout_ms) : 0;
    return ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit) == 0
               ? 0
               : ::WSAGetLastError();
}

// The receive that just failed ran out its limit.
inline bool receive_timed_out()
{
    return ::WSAGetLastError() == WSAETIMEDOUT;
}

inline void shut_and_close(Native s)
{
    ::shutdown(s, SD_SEND);
    ::closesocket(s);
}

// getaddrinfo's failures are socket error numbers here (11001 for an unknown host).
inline int look_up_error(int code)
{
    return code;
}

} // namespace socket_calls
