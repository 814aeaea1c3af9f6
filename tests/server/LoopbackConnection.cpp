#include "tests/server/LoopbackConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

LoopbackConnection::LoopbackConnection(int port)
{
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd_ < 0 || ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot connect to port " + std::to_string(port));
}

LoopbackConnection::~LoopbackConnection()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool LoopbackConnection::Send(const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string LoopbackConnection::ReadAnswer(std::chrono::milliseconds bound)
{
    const auto end = Clock::now() + bound;
    for (;;) {
        const std::size_t head_end = pending_.find("\r\n\r\n");
        if (head_end != std::string::npos) {
            std::size_t length = 0;
            const std::size_t field = pending_.find("Content-Length: ");
            if (field != std::string::npos && field < head_end)
                length = std::stoul(pending_.substr(field + 16));
            if (pending_.size() >= head_end + 4 + length) {
                std::string answer = pending_.substr(0, head_end + 4 + length);
                pending_.erase(0, answer.size());
                return answer;
            }
        }
        pollfd wait{fd_, POLLIN, 0};
        if (::poll(&wait, 1, remaining_ms(end)) <= 0)
            return "";
        char buffer[65536];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0)
            return "";
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

bool LoopbackConnection::ClosedWithin(std::chrono::milliseconds bound)
{
    const auto end = Clock::now() + bound;
    for (;;) {
        pollfd wait{fd_, POLLIN, 0};
        if (::poll(&wait, 1, remaining_ms(end)) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0)
            return true;
    }
}
