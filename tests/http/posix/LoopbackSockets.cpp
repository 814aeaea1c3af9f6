#include "tests/http/LoopbackSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

namespace loopback_sockets {

namespace {

int fd(intptr_t handle)
{
    return static_cast<int>(handle);
}

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

} // namespace

intptr_t Listen(int backlog, int& port, const char* what)
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (s < 0 || ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(s, backlog) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (s >= 0)
            ::close(s);
        throw std::runtime_error(std::string(what) + " cannot listen");
    }
    port = ntohs(address.sin_port);
    return s;
}

intptr_t Connect(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = loopback(port);
    if (s >= 0 && ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

void OpenWake(intptr_t ends[2])
{
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0)
        throw std::runtime_error("loopback server cannot listen");
    ends[0] = pipe_ends[0];
    ends[1] = pipe_ends[1];
}

void Wake(intptr_t writing_end)
{
    const char stop = 'x';
    (void)!::write(fd(writing_end), &stop, 1);
}

int WaitReadable(std::span<const intptr_t> sockets)
{
    pollfd fds[3];
    const size_t count = std::min(sockets.size(), std::size(fds));
    for (size_t i = 0; i < count; ++i)
        fds[i] = {fd(sockets[i]), POLLIN, 0};
    if (::poll(fds, count, -1) < 0)
        return -1;
    int ready = 0;
    for (size_t i = 0; i < count; ++i)
        if (fds[i].revents != 0)
            ready |= 1 << i;
    return ready;
}

intptr_t Accept(intptr_t listener)
{
    return ::accept(fd(listener), nullptr, nullptr);
}

int64_t Send(intptr_t s, const char* bytes, size_t count)
{
    return ::send(fd(s), bytes, count, MSG_NOSIGNAL);
}

int64_t Receive(intptr_t s, char* into, size_t count)
{
    return ::recv(fd(s), into, count, 0);
}

void Close(intptr_t s)
{
    ::close(fd(s));
}

void CloseWithReset(intptr_t s)
{
    linger abort{1, 0};
    ::setsockopt(fd(s), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    ::close(fd(s));
}

} // namespace loopback_sockets
