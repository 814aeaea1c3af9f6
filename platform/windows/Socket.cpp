#include "platform/Socket.h"

#include "platform/HostLookUp.h"
#include "platform/SocketErrors.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace {

SOCKET socket_of(intptr_t handle)
{
    return static_cast<SOCKET>(handle);
}

// select's time limit; null waits without limit.
timeval* limit_of(int timeout_ms, timeval& storage)
{
    if (timeout_ms < 0)
        return nullptr;
    storage.tv_sec = timeout_ms / 1000;
    storage.tv_usec = (timeout_ms % 1000) * 1000;
    return &storage;
}

// Connects a non-blocking socket and waits at most timeout_ms for the
// outcome. Returns 0 or the socket error number.
int connect_and_wait(SOCKET s, const sockaddr_in& peer, int timeout_ms)
{
    if (::connect(s, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0)
        return 0;
    int error = ::WSAGetLastError();
    if (error != WSAEWOULDBLOCK)
        return error;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        timeval storage;
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        // A refused or failed connect shows in the except set, success in the write set.
        int ready = ::select(0, nullptr, &writable, &failed,
                             limit_of(static_cast<int>(std::max<int64_t>(0, left.count())), storage));
        if (ready == SOCKET_ERROR)
            return ::WSAGetLastError();
        if (ready > 0)
            break;
        if (std::chrono::steady_clock::now() >= deadline)
            return WSAETIMEDOUT;
    }
    int outcome = 0;
    int length = sizeof outcome;
    if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&outcome), &length) != 0)
        return ::WSAGetLastError();
    return outcome;
}

int set_blocking(SOCKET s, bool blocking)
{
    u_long non_blocking = blocking ? 0 : 1;
    return ::ioctlsocket(s, FIONBIO, &non_blocking) == 0 ? 0 : ::WSAGetLastError();
}

} // namespace

Socket::~Socket()
{
    Close();
}

bool Socket::Create()
{
    Close();
    // Not inherited by programs the client starts (the browser).
    SOCKET s = ::WSASocketW(AF_INET, SOCK_STREAM, 0, nullptr, 0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET && ::WSAGetLastError() == WSAEINVAL) {
        // Windows 7 without KB2533623 refuses the flag: the handle is made
        // not inheritable after.
        s = ::WSASocketW(AF_INET, SOCK_STREAM, 0, nullptr, 0, WSA_FLAG_OVERLAPPED);
        if (s != INVALID_SOCKET)
            ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    }
    if (s == INVALID_SOCKET)
        return fail(::WSAGetLastError());
    handle_ = static_cast<intptr_t>(s);
    return true;
}

bool Socket::BindAny()
{
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(socket_of(handle_), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return fail(::WSAGetLastError());
    return true;
}

bool Socket::Connect(const std::string& dotted, int port, int timeout_ms)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    if (port < 0 || port > 65535 || ::inet_pton(AF_INET, dotted.c_str(), &peer.sin_addr) != 1)
        return fail(kSocketInvalidArgument);
    peer.sin_port = htons(static_cast<uint16_t>(port));
    const SOCKET s = socket_of(handle_);
    if (timeout_ms < 0) {
        if (::connect(s, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0)
            return fail(::WSAGetLastError());
        return true;
    }
    // A timed connect runs without blocking and waits for its outcome.
    if (int error = set_blocking(s, false); error != 0)
        return fail(error);
    int error = connect_and_wait(s, peer, timeout_ms);
    if (int restored = set_blocking(s, true); restored != 0 && error == 0)
        error = restored;
    return error == 0 ? true : fail(error);
}

int64_t Socket::Send(const void* bytes, size_t count)
{
    const int chunk = static_cast<int>(std::min<size_t>(count, INT_MAX));
    int sent = ::send(socket_of(handle_), static_cast<const char*>(bytes), chunk, 0);
    if (sent == SOCKET_ERROR) {
        fail(::WSAGetLastError());
        return -1;
    }
    return sent;
}

Socket::WaitResult Socket::WaitReadable(int timeout_ms)
{
    const SOCKET s = socket_of(handle_);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval storage;
    int ready = ::select(0, &readable, nullptr, nullptr, limit_of(timeout_ms, storage));
    if (ready == SOCKET_ERROR) {
        fail(::WSAGetLastError());
        return WaitResult::Failed;
    }
    return ready > 0 ? WaitResult::Readable : WaitResult::TimedOut;
}

int64_t Socket::Receive(void* into, size_t count)
{
    const int chunk = static_cast<int>(std::min(count, kReceiveChunkBytes));
    int got = ::recv(socket_of(handle_), static_cast<char*>(into), chunk, 0);
    if (got == SOCKET_ERROR) {
        fail(::WSAGetLastError());
        return -1;
    }
    return got;
}

void Socket::Close()
{
    if (handle_ == kNoHandle)
        return;
    ::shutdown(socket_of(handle_), SD_SEND);
    ::closesocket(socket_of(handle_));
    handle_ = kNoHandle;
}

int LookUpHost(const std::string& name, std::string& dotted)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    // getaddrinfo's failures are socket error numbers here (11001 for an unknown host).
    if (int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &found); rc != 0)
        return rc;
    int result = kSocketHostNotFound;
    for (addrinfo* a = found; a != nullptr; a = a->ai_next) {
        if (a->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        auto* address = reinterpret_cast<sockaddr_in*>(a->ai_addr);
        if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
            dotted = text;
            result = 0;
            break;
        }
    }
    ::freeaddrinfo(found);
    return result;
}
