#include "tests/http/HttpTestSupport.h"
#include "tests/http/LoopbackServer.h"

#include <gtest/gtest.h>

namespace {

using After = LoopbackServer::After;

std::string ok(const std::string& body, const std::string& status = "HTTP/1.1 200 OK", const std::string& extra = "")
{
    return status + "\r\n" + extra + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(KeepAlive, Http10AnswerKeepsItsConnectionOnlyWhenItSaysKeepAlive)
{
    struct Case {
        const char* status;
        const char* extra;
        bool kept;
    } cases[] = {
        {"HTTP/1.0 200 OK", "", false},
        {"HTTP/1.0 200 OK", "Connection: keep-alive\r\n", true},
        {"HTTP/1.0 200 OK", "Connection:  Keep-Alive \r\n", true},
        {"HTTP/1.0 200 OK", "Connection: close\r\n", false},
        {"HTTP/1.1 200 OK", "", true},
        {"HTTP/1.1 200 OK", "Connection: close\r\n", false},
        {"HTTP/1.1 200 OK", "Connection: keep-alive\r\n", true},
    };
    for (const auto& c : cases) {
        MemoryClient client;
        client.Answer({ok("x", c.status, c.extra)}, MemoryChannel::AtEnd::StaySilent);
        TMemoryStream stream;
        client.http->Get("http://h/", stream);
        EXPECT_EQ(client.http->Connected(), c.kept) << c.status << " | " << c.extra;
    }
}

// The first call leaves a kept connection; then the server does what the
// case says with the second request. A GET lost to a close or reset before
// any byte of its answer goes out once more on a new connection, never more.
TEST(KeptConnection, RequestLostToTheServersCloseIsSentOnceMoreOnANewConnection)
{
    struct Case {
        const char* fault;
        std::vector<LoopbackServer::Reply> replies;  // after the first answer
        const char* body;                            // nullptr: the call fails
        int connections;
    } cases[] = {
        {"closed before answering", {{"", After::Close}, {ok("b"), After::KeepOpen}}, "b", 2},
        {"reset before answering", {{"", After::Reset}, {ok("b"), After::KeepOpen}}, "b", 2},
        {"closed again on the new connection", {{"", After::Close}, {"", After::Close}}, nullptr, 2},
        {"closed after part of the status line", {{"HTTP/1.1 2", After::Close}, {ok("b"), After::KeepOpen}}, nullptr, 1},
    };
    for (const auto& c : cases) {
        LoopbackServer server;
        server.Script(ok("a"));
        for (const auto& reply : c.replies)
            server.Script(reply.bytes, reply.after);
        TNxHTTP http;
        TMemoryStream first;
        http.Get(server.Url("/1"), first);
        TMemoryStream second;
        try {
            http.Get(server.Url("/2"), second);
            ASSERT_NE(c.body, nullptr) << c.fault;
            EXPECT_EQ(body_text(second), c.body) << c.fault;
        } catch (const ENxException& e) {
            EXPECT_EQ(c.body, nullptr) << c.fault << ": " << e.ClassName() << " " << e.Message();
        }
        EXPECT_EQ(server.Connections(), c.connections) << c.fault;
    }
}

TEST(KeptConnection, FreshConnectionClosedBeforeAnsweringIsNotRetried)
{
    LoopbackServer server;
    server.Script("", After::Close);
    server.Script(ok("never"));
    TNxHTTP http;
    TMemoryStream stream;
    EXPECT_THROW(http.Get(server.Url("/"), stream), ENxConnClosedGracefully);
    EXPECT_EQ(server.Connections(), 1);
    EXPECT_EQ(server.Requests().size(), 1u);
}

} // namespace
