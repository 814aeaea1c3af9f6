#include "server/ListenSocket.h"

#include "server/ServerErrors.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <utility>

namespace {

struct AddressList {
    addrinfo* first = nullptr;
    ~AddressList()
    {
        if (first)
            freeaddrinfo(first);
    }
};

int bound_port(int fd)
{
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return 0;
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
    return 0;
}

// A listening socket on one resolved address, or -1.
int listen_on(const addrinfo& candidate, int backlog)
{
    const int fd = ::socket(candidate.ai_family, candidate.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                            candidate.ai_protocol);
    if (fd < 0)
        return -1;
    const int on = 1;
    // A restart must not wait for the previous run's closed connections to time out.
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, candidate.ai_addr, candidate.ai_addrlen) != 0 || ::listen(fd, backlog) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

ListenSocket ListenSocket::Open(const std::string& address, int port, int backlog)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    AddressList found;
    const std::string service = std::to_string(port);
    if (getaddrinfo(address.c_str(), service.c_str(), &hints, &found.first) != 0)
        throw EServerSetupError::CannotListen(address, port);
    for (const addrinfo* candidate = found.first; candidate; candidate = candidate->ai_next) {
        const int fd = listen_on(*candidate, backlog);
        if (fd < 0)
            continue;
        ListenSocket socket;
        socket.fd_ = fd;
        socket.port_ = bound_port(fd);
        return socket;
    }
    throw EServerSetupError::CannotListen(address, port);
}

ListenSocket::~ListenSocket() { Close(); }

ListenSocket::ListenSocket(ListenSocket&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), port_(std::exchange(other.port_, 0))
{
}

ListenSocket& ListenSocket::operator=(ListenSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        port_ = std::exchange(other.port_, 0);
    }
    return *this;
}

void ListenSocket::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::string address_text(const sockaddr* address)
{
    if (!address)
        return "-";
    const socklen_t size = address->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    char host[NI_MAXHOST];
    if (getnameinfo(address, size, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0)
        return "-";
    return host;
}

void shut_connection(int fd) { ::shutdown(fd, SHUT_RDWR); }
