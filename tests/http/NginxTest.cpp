#include "tests/http/HttpTestSupport.h"
#include "tests/http/NginxProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <gtest/gtest.h>

namespace {

std::string get(TNxHTTP& http, const std::string& url)
{
    TMemoryStream stream;
    http.Get(url, stream);
    return body_text(stream);
}

void write_file(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Makes a request of its own and waits until nginx closes that connection
// for idleness; a connection that went idle earlier is closed by then.
bool wait_for_idle_close(int port)
{
    int fd = ConnectToLoopback(port);
    const std::string request = "GET /none HTTP/1.1\r\nHost: x\r\n\r\n";
    bool closed = fd >= 0 &&
                  ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size());
    char buffer[4096];
    while (closed) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) {
            closed = false;
            break;
        }
        if (::recv(fd, buffer, sizeof buffer, 0) <= 0)
            break;
    }
    if (fd >= 0)
        ::close(fd);
    return closed;
}

// Debian's nginx as a picture host or catalogue server would run it.
TEST(AgainstNginx, KeptConnectionsIdleCloseChunkedAnswersLongCookiesAndOddTargets)
{
    const std::string big_a(700, 'a');
    const std::string big_b(700, 'b');
    NginxProcess nginx("    root @ROOT@;\n"
                       "    keepalive_timeout 1;\n"
                       // sub_filter drops the length: the answer goes out chunked.
                       "    location = /chunked.html { sub_filter 'x' 'y'; sub_filter_once off; }\n"
                       "    location = /cookie {\n"
                       "      add_header Set-Cookie \"a=" + big_a + "; Path=/\";\n"
                       "      add_header Set-Cookie \"b=" + big_b + "; Path=/\";\n"
                       "      return 200 \"set\";\n"
                       "    }\n");
    std::string data(70000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 31 + i / 977);
    write_file(nginx.Root() / "data.jpg", data);
    write_file(nginx.Root() / "a file\xB0\xA1.txt", "spaced");
    std::string html;
    for (int i = 0; i < 5000; ++i)
        html += "<p>x" + std::to_string(i) + "</p>\n";
    write_file(nginx.Root() / "chunked.html", html);
    std::string filtered = html;
    for (char& c : filtered)
        c = c == 'x' ? 'y' : c;

    TNxHTTP http;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(get(http, nginx.Url("/data.jpg")), data) << nginx.ErrorLog();
    EXPECT_EQ(http.ConnectionsOpened(), 1);

    EXPECT_EQ(get(http, nginx.Url("/chunked.html")), filtered);
    EXPECT_EQ(http.Response.RawHeaders.Values("Transfer-Encoding"), "chunked");

    EXPECT_EQ(get(http, nginx.Url("/a file\xB0\xA1.txt")), "spaced");

    // Two long cookies make a Cookie header of over 1400 bytes; nginx
    // answers 400 to a folded one.
    EXPECT_EQ(get(http, nginx.Url("/cookie")), "set");
    EXPECT_EQ(get(http, nginx.Url("/data.jpg")), data);
    EXPECT_EQ(http.Request.RawHeaders.Values("Cookie"), "b=" + big_b + "; a=" + big_a);
    EXPECT_EQ(http.ConnectionsOpened(), 1);

    ASSERT_TRUE(wait_for_idle_close(nginx.Port()));
    EXPECT_EQ(get(http, nginx.Url("/data.jpg")), data);
    EXPECT_EQ(http.ConnectionsOpened(), 2);
}

} // namespace
