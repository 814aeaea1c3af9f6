#include "http/RequestTarget.h"
#include "http/TNxURI.h"
#include "tests/http/HttpTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(UrlSplitting, PartsOfTheUrlForms)
{
    struct Case {
        const char* url;
        TNxURI expected;
    } cases[] = {
        {"http://h/a/b.php?x=1#f", {"http", "h", "", "/a/", "b.php", "?x=1", "f", "", ""}},
        {"http://h:8080/x", {"http", "h", "8080", "/", "x", "", "", "", ""}},
        {"http://h", {"http", "h", "", "/", "", "", "", "", ""}},
        {"http://u:p@h/d/", {"http", "h", "", "/d/", "", "", "", "u", "p"}},
        {"http://:p@h/", {"http", "h", "", "/", "", "", "", "", ""}},
        {"http://h/a/b#frag", {"http", "h", "", "/a/", "b", "", "frag", "", ""}},
        {"http://h/q?u=/a/b", {"http", "h", "", "/", "q", "?u=/a/b", "", "", ""}},
        {"http://h/p=1/z", {"http", "h", "", "/", "p", "=1/z", "", "", ""}},
        {"http:\\\\h\\a\\b.jpg", {"http", "h", "", "/a/", "b.jpg", "", "", "", ""}},
        {"dir/doc.php?x", {"", "", "", "dir/", "doc.php", "?x", "", "", ""}},
        // The trail byte of a two-byte character is not a separator.
        {"http://h/\xD5\x5C/a", {"http", "h", "", "/\xD5\x5C/", "a", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        TNxURI got = TNxURI::Split(c.url);
        SCOPED_TRACE(c.url);
        EXPECT_EQ(got.Protocol, c.expected.Protocol);
        EXPECT_EQ(got.Host, c.expected.Host);
        EXPECT_EQ(got.Port, c.expected.Port);
        EXPECT_EQ(got.Path, c.expected.Path);
        EXPECT_EQ(got.Document, c.expected.Document);
        EXPECT_EQ(got.Params, c.expected.Params);
        EXPECT_EQ(got.Bookmark, c.expected.Bookmark);
        EXPECT_EQ(got.Username, c.expected.Username);
        EXPECT_EQ(got.Password, c.expected.Password);
    }
}

const char* kOk = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";

TEST(RequestHead, ExactBytesOnTheWire)
{
    struct Case {
        const char* url;
        const char* head;
    } cases[] = {
        {"http://h/a/b.php?x=1#f",
         "GET /a/b.php?x=1 HTTP/1.1\r\nContent-Type: text/html\r\nHost: h\r\nAccept: text/html, */*\r\n"
         "User-Agent: Mozilla/3.0 (compatible; Tavrin Library)\r\n\r\n"},
        {"http://h:8080/x",
         "GET /x HTTP/1.1\r\nContent-Type: text/html\r\nHost: h:8080\r\nAccept: text/html, */*\r\n"
         "User-Agent: Mozilla/3.0 (compatible; Tavrin Library)\r\n\r\n"},
        {"http://h\\p\\a b\xB0\xA1.jpg",
         "GET /p/a%20b%B0%A1.jpg HTTP/1.1\r\nContent-Type: text/html\r\nHost: h\r\nAccept: text/html, */*\r\n"
         "User-Agent: Mozilla/3.0 (compatible; Tavrin Library)\r\n\r\n"},
    };
    for (const auto& c : cases) {
        MemoryClient client;
        auto sent = client.Answer({kOk});
        TMemoryStream stream;
        client.http->Get(c.url, stream);
        EXPECT_EQ(*sent, c.head) << c.url;
    }
}

TEST(RequestHead, PortIsInheritedFromThePreviousRequest)
{
    struct Step {
        const char* url;
        const char* host_header;
    } steps[] = {
        {"http://a:8080/x", "a:8080"},
        {"http://b/x", "b:8080"},  // another host, no port: 8080 stays
        {"http://c:80/x", "c"},
        {"http://d/x", "d"},
        {"http://e:443/x", "e:443"},
        {"http://f/x", "f"},  // after 443 an http URL gets 80 again
    };
    MemoryClient client;
    for (const auto& step : steps) {
        auto sent = client.Answer({"HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 0\r\n\r\n"});
        TMemoryStream stream;
        client.http->Get(step.url, stream);
        EXPECT_NE(sent->find(std::string("\r\nHost: ") + step.host_header + "\r\n"), std::string::npos)
            << step.url << "\n" << *sent;
    }
}

TEST(RequestHead, RefusedUrlsSendNothing)
{
    struct Case {
        const char* url;
        const char* error_class;
        const char* message;
    } cases[] = {
        {"https://h/x", "ENxIOHandlerPropInvalid", "IOHandler value is not valid"},
        {"ftp://h/x", "ENxUnknownProtocol", ""},
        {"http://h:8o/x", "EConvertError", "'8o' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        MemoryClient client;
        auto sent = client.Answer({kOk});
        TMemoryStream stream;
        try {
            client.http->Get(c.url, stream);
            ADD_FAILURE() << "accepted " << c.url;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.ClassName(), c.error_class) << c.url;
            EXPECT_EQ(e.Message(), c.message) << c.url;
        }
        EXPECT_EQ(client.opener->Opened(), 0u) << c.url;
    }
}

TEST(RequestHead, LongCookieHeaderStaysOneLine)
{
    // Servers refuse folded header lines (nginx answers 400 to every later request).
    MemoryClient client;
    std::string v(700, 'v');
    auto sent = client.Answer({"HTTP/1.1 200 OK\r\nSet-Cookie: a=" + v + "; path=/\r\nSet-Cookie: b=" + v +
                               "; path=/\r\nContent-Length: 0\r\n\r\n" + kOk},
                              MemoryChannel::AtEnd::StaySilent);
    TMemoryStream stream;
    client.http->Get("http://h/", stream);
    client.http->Get("http://h/", stream);
    EXPECT_EQ(client.opener->Opened(), 1u);
    EXPECT_NE(sent->find("\r\nCookie: b=" + v + "; a=" + v + "\r\n\r\n"), std::string::npos) << *sent;
}

TEST(RequestTarget, BytesARequestTargetMayNotHoldArePercentEncoded)
{
    struct Case {
        std::string target;
        std::string sent;
    } cases[] = {
        {"/kestrid/idf.php?cq=50100982&cp=48", "/kestrid/idf.php?cq=50100982&cp=48"},
        {"/a b/c d", "/a%20b/c%20d"},
        {"/%41%zz%", "/%41%zz%"},  // escapes and a stray '%' are left as they are
        {"/\"<>\\^`{|}", "/%22%3C%3E%5C%5E%60%7B%7C%7D"},
        {std::string("/\x00\x01\t\x1F\x7F", 6), "/%00%01%09%1F%7F"},
        {"/\x80\xB0\xA1\xFF", "/%80%B0%A1%FF"},
        {"/-._~!$&'()*+,;=:@/?#[]", "/-._~!$&'()*+,;=:@/?#[]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeRequestTarget(c.target), c.sent) << c.target;
}

} // namespace
