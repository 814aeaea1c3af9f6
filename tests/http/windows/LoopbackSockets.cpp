#include "tests/http/LoopbackSockets.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>

namespace loopback_sockets {

namespace {

SOCKET sock(intptr_t handle)
{
    return static_cast<SOCKET>(handle);
}

intptr_t handle(SOCKET s)
{
    return s == INVALID_SOCKET ? -1 : static_cast<intptr_t>(s);
}

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    return address;
}

// A socket of type bound to a free loopback port; address receives where.
SOCKET bound_on_loopback(int type, sockaddr_in& address, const char* what)
{
    SOCKET s = ::socket(AF_INET, type, 0);
    address = loopback(0);
    int length = sizeof address;
    if (s == INVALID_SOCKET || ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (s != INVALID_SOCKET)
            ::closesocket(s);
        throw std::runtime_error(std::string(what) + " cannot listen");
    }
    return s;
}

} // namespace

intptr_t Listen(int backlog, int& port, const char* what)
{
    sockaddr_in address;
    SOCKET s = bound_on_loopback(SOCK_STREAM, address, what);
    if (::listen(s, backlog) != 0) {
        ::closesocket(s);
        throw std::runtime_error(std::string(what) + " cannot listen");
    }
    port = ntohs(address.sin_port);
    return handle(s);
}

intptr_t Connect(int port)
{
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    if (s != INVALID_SOCKET && ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::closesocket(s);
        return -1;
    }
    return handle(s);
}

void OpenWake(intptr_t ends[2])
{
    // No pipe works with select here: one datagram between two loopback
    // sockets wakes the server instead.
    sockaddr_in wake_address;
    ends[0] = handle(bound_on_loopback(SOCK_DGRAM, wake_address, "loopback server"));
    ends[1] = handle(::socket(AF_INET, SOCK_DGRAM, 0));
    if (ends[1] == -1 ||
        ::connect(sock(ends[1]), reinterpret_cast<const sockaddr*>(&wake_address), sizeof wake_address) != 0)
        throw std::runtime_error("loopback server cannot listen");
}

void Wake(intptr_t writing_end)
{
    const char stop = 'x';
    ::send(sock(writing_end), &stop, 1, 0);
}

int WaitReadable(std::span<const intptr_t> sockets)
{
    fd_set readable;
    FD_ZERO(&readable);
    for (intptr_t s : sockets)
        FD_SET(sock(s), &readable);
    if (::select(0, &readable, nullptr, nullptr, nullptr) == SOCKET_ERROR)
        return -1;
    int ready = 0;
    for (size_t i = 0; i < sockets.size(); ++i)
        if (FD_ISSET(sock(sockets[i]), &readable))
            ready |= 1 << i;
    return ready;
}

intptr_t Accept(intptr_t listener)
{
    return handle(::accept(sock(listener), nullptr, nullptr));
}

int64_t Send(intptr_t s, const char* bytes, size_t count)
{
    const int sent = ::send(sock(s), bytes, static_cast<int>(std::min<size_t>(count, INT_MAX)), 0);
    return sent == SOCKET_ERROR ? -1 : sent;
}

int64_t Receive(intptr_t s, char* into, size_t count)
{
    const int got = ::recv(sock(s), into, static_cast<int>(std::min<size_t>(count, INT_MAX)), 0);
    return got == SOCKET_ERROR ? -1 : got;
}

void Close(intptr_t s)
{
    ::closesocket(sock(s));
}

void CloseWithReset(intptr_t s)
{
    linger abort{1, 0};
    ::setsockopt(sock(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    ::closesocket(sock(s));
}

} // namespace loopback_sockets
