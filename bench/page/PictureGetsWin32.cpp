// The page-flip benchmark's second Windows baseline: the network part of a
// flip and nothing else. On one kept connection it makes a page's 24 picture
// GETs the way the client makes them (a look at the idle connection without
// waiting, the request, the answer read until its Content-Length is in) with
// bare Winsock, N times, and prints one line a page, "gets MS".
//   picture_gets HOST PORT PAGES PATH...   (the paths are used in turn)
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class Connection {
public:
    Connection(const char* host, int port) : socket_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(port));
        connected_ = socket_ != INVALID_SOCKET && inet_pton(AF_INET, host, &address.sin_addr) == 1 &&
                     connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection()
    {
        if (socket_ != INVALID_SOCKET)
            closesocket(socket_);
    }

    bool Connected() const { return connected_; }

    // One exchange; false when the answer breaks off or has no length.
    bool Get(const std::string& host, const std::string& path)
    {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket_, &readable);
        timeval no_wait{0, 0};
        if (select(0, &readable, nullptr, nullptr, &no_wait) != 0)
            return false; // a kept connection has nothing to say
        const std::string head = "GET " + path + " HTTP/1.1\r\nHost: " + host +
                                 "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Tavrin Library)\r\n\r\n";
        if (send(socket_, head.data(), static_cast<int>(head.size()), 0) != static_cast<int>(head.size()))
            return false;
        std::string answer;
        size_t end = std::string::npos;
        for (;;) {
            const int got = recv(socket_, block_, sizeof block_, 0);
            if (got <= 0)
                return false;
            answer.append(block_, static_cast<size_t>(got));
            if (end == std::string::npos) {
                const size_t blank = answer.find("\r\n\r\n");
                if (blank == std::string::npos)
                    continue;
                const size_t length = answer.find("Content-Length:");
                if (length == std::string::npos || length > blank)
                    return false;
                end = blank + 4 + std::strtoull(answer.c_str() + length + 15, nullptr, 10);
            }
            if (answer.size() >= end)
                return answer.size() == end;
        }
    }

private:
    SOCKET socket_;
    bool connected_ = false;
    char block_[32768];
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: picture_gets HOST PORT PAGES PATH...\n");
        return 2;
    }
    WSADATA sockets;
    if (WSAStartup(MAKEWORD(2, 2), &sockets) != 0)
        return 1;
    const std::string host = std::string(argv[1]) + ":" + argv[2]; // the Host header's
    const int port = std::atoi(argv[2]);
    const int pages = std::atoi(argv[3]);
    const std::vector<std::string> paths(argv + 4, argv + argc);
    int status = 0;
    {
        Connection connection(argv[1], port);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        for (int page = 0; page < pages && connection.Connected(); ++page) {
            QueryPerformanceCounter(&start);
            for (size_t k = 0; k < 24; ++k) {
                if (!connection.Get(host, paths[(page * 24 + k) % paths.size()])) {
                    std::fprintf(stderr, "picture_gets: an exchange failed\n");
                    status = 1;
                    break;
                }
            }
            if (status != 0)
                break;
            QueryPerformanceCounter(&end);
            std::printf("gets %.2f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                           static_cast<double>(frequency.QuadPart));
        }
        if (!connection.Connected()) {
            std::fprintf(stderr, "picture_gets: no connection to %s:%d\n", argv[1], port);
            status = 1;
        }
    }
    WSACleanup();
    return status;
}
