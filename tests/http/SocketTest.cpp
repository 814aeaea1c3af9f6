#include "platform/Socket.h"
#include "platform/SocketErrors.h"
#include "platform/SocketLayer.h"
#include "tests/http/LoopbackServer.h"

#include <gtest/gtest.h>

namespace {

TEST(ResolveHost, LocalNamesAndDottedQuadsNeedNoLookUp)
{
    SocketLayer layer;
    struct Case {
        const char* host;
        int error;
        const char* dotted;
    } cases[] = {
        {"localhost", 0, "127.0.0.1"},
        {"LocalHost", 0, "127.0.0.1"},
        {"LOCALHOST", 0, "127.0.0.1"},
        {"10.1.2.3", 0, "10.1.2.3"},
        {"0.0.0.0", 0, "0.0.0.0"},
        {"255.255.255.255", 0, "255.255.255.255"},
        // Not quads: must not be handed to connect as they are.
        {"256.1.1.1", kSocketHostNotFound, ""},
        {"1.2.3.4.5", kSocketHostNotFound, ""},
        {"", kSocketHostNotFound, ""},
        {"no-such-host.invalid", kSocketHostNotFound, ""},
    };
    for (const auto& c : cases) {
        std::string dotted;
        EXPECT_EQ(ResolveHost(c.host, dotted), c.error) << c.host;
        if (c.error == 0) {
            EXPECT_EQ(dotted, c.dotted) << c.host;
        }
    }
}

TEST(Socket, SendToAClosedPeerReportsInsteadOfRaisingSigpipe)
{
    LoopbackServer server;
    server.Script("bye", LoopbackServer::After::Close);
    SocketLayer layer;
    Socket socket;
    ASSERT_TRUE(socket.Create());
    ASSERT_TRUE(socket.BindAny());
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port()));
    std::string head = "GET / HTTP/1.1\r\n\r\n";
    ASSERT_EQ(socket.Send(head.data(), head.size()), static_cast<int64_t>(head.size()));
    char buffer[16];
    while (socket.Receive(buffer, sizeof buffer) > 0) {
    }
    int64_t sent = 0;
    for (int i = 0; i < 100 && sent >= 0; ++i)
        sent = socket.Send("x", 1);
    EXPECT_EQ(sent, -1);
    EXPECT_TRUE(socket.LastError() == 10058 || socket.LastError() == 10054) << socket.LastError();
}

TEST(Socket, ReceiveWithinTakesWhatArrivesAndTellsSilenceFromAClose)
{
    using After = LoopbackServer::After;
    using Wait = Socket::WaitResult;
    struct Case {
        const char* what;
        const char* reply;
        After after;
        int limit_ms;
        int64_t got;
        Wait wait;
    } cases[] = {
        {"an answer, no limit", "hello", After::KeepOpen, -1, 5, Wait::Readable},
        {"an answer within the limit", "hello", After::KeepOpen, 5000, 5, Wait::Readable},
        {"silence past the limit", "", After::Stall, 50, -1, Wait::TimedOut},
        {"silence, only a look", "", After::Stall, 0, -1, Wait::TimedOut},
        {"the peer's close", "", After::Close, 5000, 0, Wait::Readable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackServer server;
        server.Script(c.reply, c.after);
        SocketLayer layer;
        Socket socket;
        ASSERT_TRUE(socket.Create());
        ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port()));
        const std::string head = "GET / HTTP/1.1\r\n\r\n";
        ASSERT_EQ(socket.Send(head.data(), head.size()), static_cast<int64_t>(head.size()));
        char buffer[16];
        Wait wait = Wait::Failed;
        EXPECT_EQ(socket.ReceiveWithin(buffer, sizeof buffer, c.limit_ms, wait), c.got);
        EXPECT_EQ(wait, c.wait);
    }
}

TEST(Socket, RefusedAndImpossibleConnectsCarryTheirNumbers)
{
    int closed_port;
    {
        LoopbackServer gone;
        closed_port = gone.Port();
    }
    SocketLayer layer;
    Socket socket;
    ASSERT_TRUE(socket.Create());
    EXPECT_FALSE(socket.Connect("127.0.0.1", closed_port));
    EXPECT_EQ(socket.LastError(), 10061);
    Socket other;
    ASSERT_TRUE(other.Create());
    EXPECT_FALSE(other.Connect("127.0.0.1", 70000));
    EXPECT_EQ(other.LastError(), 10022);
}

} // namespace
