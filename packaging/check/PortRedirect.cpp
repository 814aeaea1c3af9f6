// The packaged client talks to port 80 of its built-in host and reads no settings, so
// the check moves its loopback connections to port 80 over to the test service's free
// port (TAVRIN_CHECK_PORT) as they are made.
#include <arpa/inet.h>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

using ConnectFunction = int (*)(int, const sockaddr*, socklen_t);

constexpr in_port_t kCataloguePort = 80;

int check_port()
{
    static const int port = [] {
        const char* text = std::getenv("TAVRIN_CHECK_PORT");
        return text != nullptr ? std::atoi(text) : 0;
    }();
    return port;
}

} // namespace

extern "C" int connect(int fd, const sockaddr* address, socklen_t length)
{
    static const auto next = reinterpret_cast<ConnectFunction>(dlsym(RTLD_NEXT, "connect"));
    const int port = check_port();
    if (address != nullptr && address->sa_family == AF_INET && length >= sizeof(sockaddr_in) && port > 0
        && port <= 65535) {
        sockaddr_in peer;
        std::memcpy(&peer, address, sizeof peer);
        const bool loopback = (ntohl(peer.sin_addr.s_addr) >> 24) == 127;
        if (loopback && ntohs(peer.sin_port) == kCataloguePort) {
            peer.sin_port = htons(static_cast<in_port_t>(port));
            return next(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
        }
    }
    return next(fd, address, length);
}
