#include "tests/http/HttpTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string k26 = "abcdefghijklmnopqrstuvwxyz";

struct FramingCase {
    const char* fault;
    std::string answer;
    std::string body;        // expected stream contents on success
    const char* error_class; // nullptr: the call succeeds
    std::string message;
};

std::vector<FramingCase> framing_cases()
{
    return {
        {"counted body is read exactly", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA", "hello", nullptr, ""},
        {"zero length writes nothing", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "", nullptr, ""},
        {"204 reads no body even when bytes follow", "HTTP/1.1 204 No Content\r\n\r\nleftover", "", nullptr, ""},
        {"chunked body is joined", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a\r\n" + k26 + "\r\n0\r\n\r\n",
         k26, nullptr, ""},
        {"chunk extension does not end the body",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a;x=y\r\n" + k26 + "\r\n3 ; q\r\nabc\r\n0\r\n\r\n",
         k26 + "abc", nullptr, ""},
        {"trailer lines are consumed", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n0\r\nX-T: 1\r\n\r\n",
         "ab", nullptr, ""},
        {"chunk size that is no number fails instead of ending the body",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nab\r\n0\r\n\r\n", "", "ENxException",
         "Invalid chunk size"},
        {"empty chunk size line fails", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n\r\n", "", "ENxException",
         "Invalid chunk size"},
        {"chunked body cut short fails", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc", "abc",
         "ENxConnClosedGracefully", "Connection Closed Gracefully."},
        {"chunk size beyond the body limit fails before allocating",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFFFFFF\r\n", "", "ENxException",
         ENxException::BodyTooLarge().Message()},
        {"body without length runs to the close", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nall of it\r\nand more", "all of it\r\nand more",
         nullptr, ""},
        {"chunk data longer than its size line fails",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabcdef\r\n0\r\n\r\n", "abc", "ENxException",
         "Chunk data not followed by CR LF"},
        {"bare LF after chunk data fails",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\n0\r\n\r\n", "ab", "ENxException",
         "Chunk data not followed by CR LF"},
        {"close right after chunk data fails",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r", "ab", "ENxConnClosedGracefully",
         "Connection Closed Gracefully."},
        {"103 is followed by the real answer",
         "HTTP/1.1 103 Early Hints\r\nLink: </a.css>\r\n\r\nHTTP/1.1 102 Processing\r\n\r\n"
         "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", "ok", nullptr, ""},
        {"101 ends the call", "HTTP/1.1 101 Switching Protocols\r\nUpgrade: x\r\n\r\nraw", "",
         "ENxHTTPProtocolException", "HTTP/1.1 101 Switching Protocols"},
        {"304 reads no body even when its headers announce one",
         "HTTP/1.1 304 Not Modified\r\nContent-Length: 5\r\n\r\n", "", "ENxHTTPProtocolException",
         "HTTP/1.1 304 Not Modified"},
        {"100 is followed by the real answer",
         "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", "ok", nullptr, ""},
        {"counted body cut short is no error", "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(600, 'b'),
         std::string(600, 'b'), nullptr, ""},
        {"content length above the limit fails before allocating",
         "HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\nx", "", "ENxException", ENxException::BodyTooLarge().Message()},
        {"close inside the status line", "HTTP/1.1 20", "", "ENxConnClosedGracefully", "Connection Closed Gracefully."},
        {"close before the first header line", "HTTP/1.1 200 OK\r\n", "", "ENxConnClosedGracefully",
         "Connection Closed Gracefully."},
        {"close after a header line of a 2xx answer", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", "", "ENxException",
         "Undefined situation"},
        {"status line of 16384 bytes is accepted",
         "HTTP/1.1 200 " + std::string(16384 - 13, 'k') + "\r\nContent-Length: 1\r\n\r\nz", "z", nullptr, ""},
        {"status line of 16385 bytes fails", "HTTP/1.1 200 " + std::string(16385 - 13, 'k') + "\r\n\r\n", "",
         "ENxReadLnMaxLineLengthExceeded", "Max line length exceeded."},
        {"endless line without LF fails", std::string(40000, 'k'), "", "ENxReadLnMaxLineLengthExceeded",
         "Max line length exceeded."},
        {"404 carries its status line and writes nothing",
         "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone", "", "ENxHTTPProtocolException", "HTTP/1.1 404 Not Found"},
        {"302 is not followed", "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nContent-Length: 0\r\n\r\n", "",
         "ENxHTTPProtocolException", "HTTP/1.1 302 Found"},
        {"200 with a Location is a redirect", "HTTP/1.1 200 OK\r\nLocation: /x\r\nContent-Length: 2\r\n\r\nok", "",
         "ENxHTTPProtocolException", "HTTP/1.1 200 OK"},
        {"status code that is no number is an error", "HTTP/1.1 abc\r\nContent-Length: 0\r\n\r\n", "",
         "ENxHTTPProtocolException", "HTTP/1.1 abc"},
    };
}

void expect_case(const FramingCase& c, Cut cut, unsigned seed)
{
    MemoryClient client;
    client.Answer(cut_answer(c.answer, cut, seed));
    TMemoryStream stream;
    SCOPED_TRACE(std::string(c.fault) + " cut " + std::to_string(static_cast<int>(cut)) + " seed " + std::to_string(seed));
    try {
        client.http->Get("http://h/x", stream);
        EXPECT_EQ(c.error_class, nullptr) << "succeeded";
    } catch (const Exception& e) {
        ASSERT_NE(c.error_class, nullptr) << e.ClassName() << ": " << e.Message();
        EXPECT_STREQ(e.ClassName(), c.error_class);
        EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(body_text(stream), c.body);
}

TEST(ResponseFraming, SameResultHoweverTheAnswerIsCut)
{
    unsigned seed = std::random_device{}();
    for (const auto& c : framing_cases()) {
        expect_case(c, Cut::Whole, 0);
        expect_case(c, Cut::RandomPieces, seed);
        if (c.answer.size() < 20000)
            expect_case(c, Cut::ByteByByte, 0);
    }
}

TEST(ResponseFraming, HeaderBlockBeyondTheLimitFailsInsteadOfGrowing)
{
    std::string answer = "HTTP/1.1 200 OK\r\n";
    std::string line = "X-Fill: " + std::string(1000, 'f') + "\r\n";
    while (static_cast<int64_t>(answer.size()) <= kMaxHeaderBlockBytes)
        answer += line;
    MemoryClient client;
    client.Answer({answer});
    TMemoryStream stream;
    try {
        client.http->Get("http://h/x", stream);
        FAIL() << "accepted";
    } catch (const ENxException& e) {
        EXPECT_EQ(e.Message(), ENxException::HeaderBlockTooLarge().Message());
        EXPECT_NE(e.Message().find("1048576"), std::string::npos);
    }
}

TEST(ResponseFraming, BodyIsWrittenAtTheStreamPositionAndCutBackAfter)
{
    MemoryClient client;
    client.Answer({"HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nnew"});
    TMemoryStream stream;
    stream.Write("old-tail", 8);
    stream.SetPosition(4);
    client.http->Get("http://h/x", stream);
    EXPECT_EQ(body_text(stream), "old-new");
    EXPECT_EQ(stream.Position(), 7);
}

TEST(ResponseFraming, ErrorBodyWithoutLengthOnASilentConnectionTimesOut)
{
    MemoryClient client;
    client.Answer({"HTTP/1.1 404 Not Found\r\n\r\npartial"}, MemoryChannel::AtEnd::StaySilent);
    TMemoryStream stream;
    try {
        client.http->Get("http://h/x", stream);
        FAIL() << "accepted";
    } catch (const ENxReadTimeout& e) {
        EXPECT_EQ(e.Message(), "Read Timeout");
    }
    // The rest of that answer would poison the next one: the connection goes.
    EXPECT_FALSE(client.http->Connected());
}

TEST(ResponseFraming, BodilessAnswersLeaveTheKeptConnectionReadyAtOnce)
{
    // Headers that promise a body must not make the client wait for one.
    const std::string next = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nnext";
    struct Case {
        std::string answer;
        const char* error_class;
    } cases[] = {
        {"HTTP/1.1 204 No Content\r\nContent-Length: 9\r\n\r\n", nullptr},
        {"HTTP/1.1 204 No Content\r\nTransfer-Encoding: chunked\r\n\r\n", nullptr},
        {"HTTP/1.1 304 Not Modified\r\nTransfer-Encoding: chunked\r\n\r\n", "ENxHTTPProtocolException"},
        {"HTTP/1.1 304 Not Modified\r\n\r\n", "ENxHTTPProtocolException"},
    };
    for (const auto& c : cases) {
        MemoryClient client;
        auto channel = std::make_unique<MemoryChannel>(std::vector<std::string>{c.answer, next},
                                                       MemoryChannel::AtEnd::StaySilent);
        client.opener->Push(std::move(channel));
        TMemoryStream first;
        try {
            client.http->Get("http://h/x", first);
            EXPECT_EQ(c.error_class, nullptr) << c.answer;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.ClassName(), c.error_class) << c.answer;
        }
        EXPECT_EQ(first.Size(), 0) << c.answer;
        TMemoryStream second;
        client.http->Get("http://h/y", second);
        EXPECT_EQ(body_text(second), "next") << c.answer;
        EXPECT_EQ(client.opener->Opened(), 1u) << c.answer;
    }
}

TEST(ResponseFraming, InterimAnswerFeedsTheCookieStore)
{
    MemoryClient client;
    auto sent = client.Answer({"HTTP/1.1 103 Early Hints\r\nSet-Cookie: early=1; path=/\r\n\r\n"
                               "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"
                               "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"},
                              MemoryChannel::AtEnd::StaySilent);
    TMemoryStream stream;
    client.http->Get("http://h/a", stream);
    client.http->Get("http://h/b", stream);
    EXPECT_NE(sent->find("\r\nCookie: early=1\r\n"), std::string::npos) << *sent;
}

TEST(ResponseFraming, ErrorBodyTravelsWithTheError)
{
    MemoryClient client;
    client.Answer({"HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=x\r\nContent-Length: 6\r\n\r\ndenied"});
    TMemoryStream stream;
    try {
        client.http->Get("http://h/x", stream);
        FAIL() << "accepted";
    } catch (const ENxHTTPProtocolException& e) {
        EXPECT_EQ(e.ErrorCode(), 401);
        EXPECT_EQ(e.ErrorMessage(), "denied");
    }
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(client.http->Response.WWWAuthenticate, std::vector<std::string>{"Basic realm=x"});
}

TEST(ResponseFraming, ConnectionLostWhileBytesWaitServesThemFirst)
{
    // 10053 while part of a counted body waits: those bytes are kept, the loss ends the body.
    MemoryClient client;
    auto channel = std::make_unique<MemoryChannel>(
        std::vector<std::string>{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nbody"});
    channel->FailReceiveAfter(1, 10053);
    client.opener->Push(std::move(channel));
    TMemoryStream stream;
    client.http->Get("http://h/x", stream);
    EXPECT_EQ(body_text(stream), "body");

    MemoryClient reset;
    auto broken = std::make_unique<MemoryChannel>(
        std::vector<std::string>{"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nbody"});
    broken->FailReceiveAfter(1, 10054);
    reset.opener->Push(std::move(broken));
    TMemoryStream lost;
    try {
        reset.http->Get("http://h/x", lost);
        FAIL() << "accepted";
    } catch (const ENxSocketError& e) {
        EXPECT_EQ(e.LastError(), 10054);
        EXPECT_EQ(e.Message(), "Socket Error # 10054\r\nConnection reset by peer.");
    }
}

} // namespace
