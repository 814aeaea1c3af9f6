#include "http/CookieDate.h"
#include "http/TNxCookieManager.h"
#include "http/TNxURI.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t kNow = 1700000000;  // 2023-11-14 22:13:20 UTC

struct Store {
    int64_t now = kNow;
    TNxCookieManager manager{[this] { return now; }};

    std::string For(const char* url) { return manager.GenerateCookieList(TNxURI::Split(url), false); }
};

TEST(CookieDomain, HostThatMerelyContainsTheDomainGetsNothing)
{
    struct Case {
        const char* set_by;
        const char* line;
        const char* request;
        const char* expected;
    } cases[] = {
        {"shop.example.com", "a=1; path=/", "http://shop.example.com/", "a=1"},
        {"shop.example.com", "a=1; path=/", "http://SHOP.Example.com/", "a=1"},
        {"shop.example.com", "a=1; path=/", "http://pic.shop.example.com.evil.net/", ""},
        {"shop.example.com", "a=1; path=/", "http://xshop.example.com/", ""},
        {"shop.example.com", "a=1; path=/; domain=.example.com", "http://img.example.com/", "a=1"},
        {"shop.example.com", "a=1; path=/; domain=.example.com", "http://example.com/", "a=1"},
        {"shop.example.com", "a=1; path=/; domain=.example.com", "http://badexample.com/", ""},
        {"shop.example.com", "a=1; path=/; domain=.example.com", "http://example.com.cn/", ""},
        // A parent domain without the dot must equal the host: discarded.
        {"shop.example.com", "a=1; path=/; domain=example.com", "http://example.com/", ""},
        // A dotted domain must be the setting host's own parent.
        {"a.b.example.com", "a=1; path=/; domain=.example.com", "http://x.example.com/", ""},
        {"10.0.0.1", "a=1; path=/; domain=.0.0.1", "http://10.0.0.1/", ""},
        {"10.0.0.1", "a=1; path=/", "http://10.0.0.1/", "a=1"},
        // A public suffix as the domain would reach every site under it.
        {"evil.com", "a=1; path=/; domain=.com", "http://victim.com/", ""},
        {"evil.com", "a=1; path=/; domain=.COM", "http://evil.com/", ""},
        {"shop.example.co.uk", "a=1; path=/; domain=.co.uk", "http://other.co.uk/", ""},
        {"x.com.cn", "a=1; path=/; domain=.com.cn", "http://y.com.cn/", ""},
        {"www.example.co.uk", "a=1; path=/; domain=.example.co.uk", "http://img.example.co.uk/", "a=1"},
        // Unless the suffix is the host itself: then the cookie is that host's alone.
        {"github.io", "a=1; path=/; domain=.github.io", "http://github.io/", "a=1"},
        {"github.io", "a=1; path=/; domain=.github.io", "http://x.github.io/", ""},
    };
    for (const auto& c : cases) {
        Store store;
        store.manager.AddCookie(c.line, c.set_by);
        EXPECT_EQ(store.For(c.request), c.expected) << c.set_by << " | " << c.line << " | " << c.request;
    }
}

TEST(CookiePath, OnlyCookiesWhosePathPrefixesTheDirectoryAreSent)
{
    Store store;
    store.manager.AddCookie("none=1", "h");
    store.manager.AddCookie("root=2; path=/", "h");
    store.manager.AddCookie("deep=3; Path=\"/kestrid/\"", "h");
    store.manager.AddCookie("other=4; path=/other/", "h");
    store.manager.AddCookie("CASE=5; path=/Kestrid/", "h");
    store.manager.AddCookie("empty=; path=/", "h");
    store.manager.AddCookie("sec=6; path=/; secure", "h");
    store.manager.AddCookie("noequals; path=/", "h");
    EXPECT_EQ(store.For("http://h/kestrid/ide.php?cq=1"), "deep=3; root=2");
    EXPECT_EQ(store.For("http://h/"), "root=2");
    EXPECT_EQ(store.manager.CookieCount(), 8u);
}

TEST(CookieOrder, LongerPathsFirstThenEarlierDomainThenLaterStored)
{
    Store store;
    store.manager.AddCookie("a=1; path=/", "www.h.com");
    store.manager.AddCookie("b=2; path=/x/", "www.h.com");
    store.manager.AddCookie("c=3; path=/", "www.h.com");
    store.manager.AddCookie("d=4; path=/; domain=.h.com", "www.h.com");
    EXPECT_EQ(store.For("http://www.h.com/x/y"), "b=2; c=3; a=1; d=4");
}

TEST(CookieOverwrite, KeepsItsPlaceAndTakesTheNewExpiry)
{
    Store store;
    store.manager.AddCookie("s=old; path=/", "h");
    store.manager.AddCookie("t=1; path=/", "h");
    store.manager.AddCookie("S=new; path=/", "h");
    EXPECT_EQ(store.For("http://h/"), "t=1; S=new");
    // Sent again with a past date, the cookie goes away.
    store.manager.AddCookie("s=gone; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT", "h");
    EXPECT_EQ(store.For("http://h/"), "t=1");
}

TEST(CookieExpiry, MaxAgeAndDatesDecideTheLifetime)
{
    struct Case {
        const char* line;
        int64_t later;  // seconds after setting when the next request goes
        bool sent;
    } cases[] = {
        {"a=1; path=/; max-age=0", 0, false},
        {"a=1; path=/; max-age=60", 59, true},
        {"a=1; path=/; max-age=60", 61, false},
        {"a=1; path=/; max-age=99999999999999999", 1000, true},
        {"a=1; path=/; max-age=-5", 1000, true},
        {"a=1; path=/; max-age=soon", 1000, true},
        {"a=1; path=/; expires=not a date", 0, false},
        {"a=1; path=/; expires=Tue, 14 Nov 2023 22:13:30 GMT", 9, true},
        {"a=1; path=/; expires=Tue, 14 Nov 2023 22:13:30 GMT", 11, false},
        {"a=1; path=/; expires=Tue, 14 Nov 2023 22:13:30 GMT; max-age=0", 9, true},
        {"a=1; path=/", 100000000, true},
    };
    for (const auto& c : cases) {
        Store store;
        store.manager.AddCookie(c.line, "h");
        store.now = kNow + c.later;
        EXPECT_EQ(store.For("http://h/"), c.sent ? "a=1" : "") << c.line << " +" << c.later;
    }
}

TEST(CookieDateText, ReadsTheFormsServersSend)
{
    const int64_t t = 1623233894;  // Wed, 09 Jun 2021 10:18:14 GMT
    struct Case {
        const char* text;
        std::optional<int64_t> expected;
    } cases[] = {
        {"Wed, 09 Jun 2021 10:18:14 GMT", t},
        {"  Wednesday, 09-Jun-21 10:18:14 GMT ", t},
        {"Wed Jun  9 10:18:14 2021", t},
        {"Wed, 9 Jun 2021 18:18:14 +0800", t},
        {"Wed, 09 Jun 2021 05:18:14 -0500", t},
        {"09 Jun 2021 10:18:14", t},
        {"Jun 09 2021 10:18:14 GMT", t},
        {"Thu, 01-Jan-85 00:00:00 GMT", 473385600},
        {"Wed, 31 Feb 2021 10:18:14 GMT", std::nullopt},
        {"Wed, 09 Foo 2021 10:18:14 GMT", std::nullopt},
        {"Wed, 09 Jun 2021 25:18:14 GMT", std::nullopt},
        {"Wed, 09 Jun 20x1 10:18:14 GMT", std::nullopt},
        {"", std::nullopt},
        {"Wed,", std::nullopt},
        {"-", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadCookieDate(c.text), c.expected) << "'" << c.text << "'";
}

TEST(CookieDateText, WrittenDatesReadBackToTheSameInstant)
{
    EXPECT_EQ(WriteCookieDate(1623233894, 8 * 3600), "Wed, 9 Jun 2021 18:18:14 +0800");
    EXPECT_EQ(WriteCookieDate(1623233894, -5 * 3600 - 1800), "Wed, 9 Jun 2021 04:48:14 -0530");
    for (int32_t offset : {0, 8 * 3600, -(5 * 3600 + 1800)}) {
        for (int64_t instant : {int64_t{86400}, int64_t{951782400}, int64_t{1623233894}, kLastCookieInstant - 86400})
            EXPECT_EQ(ReadCookieDate(WriteCookieDate(instant, offset)), instant) << instant << " " << offset;
    }
    EXPECT_EQ(ReadCookieDate(WriteCookieDate(INT64_MAX, 0)), kLastCookieInstant);
}

} // namespace
