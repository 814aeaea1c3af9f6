#include "server/JsonWriter.h"
#include "server/RequestText.h"
#include "server/SessionCookie.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>

namespace {

std::string written_string(std::string_view text, NonAsciiText form)
{
    JsonWriter json;
    json.String(text, form);
    return json.Text();
}

struct EscapeCase {
    const char* fault;
    std::string input;
    NonAsciiText form;
    std::string expected;
};

TEST(JsonWriter, StringsThatWouldBreakTheDocumentAreEscaped)
{
    const EscapeCase cases[] = {
        {"quote ends the string", "a\"b", NonAsciiText::Raw, R"("a\"b")"},
        {"backslash starts an escape", "A\\B", NonAsciiText::Raw, R"("A\\B")"},
        {"line break inside a string", "1\n2\r\t", NonAsciiText::Raw, R"("1\n2\r\t")"},
        {"other control bytes", std::string("\x01\x1f", 2), NonAsciiText::Raw, R"("\u0001\u001f")"},
        {"NUL byte cuts the text", std::string("a\0b", 3), NonAsciiText::Raw, R"("a\u0000b")"},
        {"Chinese kept raw", "女装", NonAsciiText::Raw, "\"女装\""},
        {"Chinese as escapes", "女装", NonAsciiText::Escaped, R"("\u5973\u88c5")"},
        {"beyond U+FFFF needs a surrogate pair", "\xF0\x9F\x98\x80", NonAsciiText::Escaped, R"("\ud83d\ude00")"},
        {"stray continuation byte", "a\x80z", NonAsciiText::Escaped, R"("a\ufffdz")"},
        {"stray byte in raw form", "a\xFFz", NonAsciiText::Raw, "\"a\xEF\xBF\xBDz\""},
        {"sequence cut at the end", "\xE5\xA5", NonAsciiText::Escaped, R"("\ufffd\ufffd")"},
        {"overlong slash", "\xC0\xAF", NonAsciiText::Escaped, R"("\ufffd\ufffd")"},
        {"encoded surrogate", "\xED\xA0\x80", NonAsciiText::Escaped, R"("\ufffd\ufffd\ufffd")"},
    };
    for (const EscapeCase& c : cases) {
        const std::string text = written_string(c.input, c.form);
        EXPECT_EQ(text, c.expected) << c.fault;
        EXPECT_TRUE(nlohmann::json::accept(text)) << c.fault;
    }
}

TEST(JsonWriter, RawAndEscapedFormsDecodeToTheSameText)
{
    for (const std::string text : {"连衣裙 \"暖冬\" <新>&", "A\\B 1.5万", "\xF0\x9F\x98\x80"}) {
        const auto raw = nlohmann::json::parse(written_string(text, NonAsciiText::Raw));
        const auto escaped = nlohmann::json::parse(written_string(text, NonAsciiText::Escaped));
        EXPECT_EQ(raw.get<std::string>(), text);
        EXPECT_EQ(escaped.get<std::string>(), text);
    }
}

TEST(JsonWriter, MembersKeepCallOrderAndCommasInNestedContainers)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("b");
    json.Integer(1);
    json.Key("a");
    json.BeginArray();
    json.BeginObject();
    json.EndObject();
    json.BeginArray();
    json.EndArray();
    json.Null();
    json.Bool(false);
    json.EndArray();
    json.Key("c");
    json.Hundredths(8950);
    json.EndObject();
    EXPECT_EQ(json.Text(), R"({"b":1,"a":[{},[],null,false],"c":89.5})");
}

TEST(JsonWriter, HundredthsWithoutRoundingOrOverflow)
{
    const struct {
        std::int64_t value;
        const char* shortest;
        const char* fixed;
    } cases[] = {
        {8950, "89.5", "89.50"},
        {900, "9", "9.00"},
        {5, "0.05", "0.05"},
        {-5, "-0.05", "-0.05"},
        {129999, "1299.99", "1299.99"},
        {0, "0", "0.00"},
        {std::numeric_limits<std::int64_t>::min(), "-92233720368547758.08", "-92233720368547758.08"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hundredths_text(c.value), c.shortest) << c.value;
        EXPECT_EQ(hundredths_text_fixed(c.value), c.fixed) << c.value;
    }
}

TEST(RequestText, QueryNumbersRefuseEverythingButPlainDigits)
{
    const struct {
        const char* text;
        std::optional<std::int64_t> expected;
    } cases[] = {
        {"0", 0},
        {"96", 96},
        {"0096", 96},
        {"50100982", 50100982},
        {"999999999999999999", 999999999999999999},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"12x4", std::nullopt},
        {"0x10", std::nullopt},
        {"1.5", std::nullopt},
        {"9999999999999999999", std::nullopt}, // 19 digits would overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse_decimal(c.text, 18), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(parse_decimal("1234", 3), std::nullopt);
}

TEST(RequestText, HostHeaderThatCouldInjectIntoAddressesFallsBack)
{
    const struct {
        std::string header;
        const char* expected;
    } cases[] = {
        {"localhost", "localhost"},
        {"127.0.0.1:8080", "127.0.0.1:8080"},
        {"[::1]:80", "[::1]:80"},
        {"", "fallback:1"},
        {"evil.example/path", "fallback:1"},
        {"a\"b", "fallback:1"},
        {"a<b>", "fallback:1"},
        {"host name", "fallback:1"},
        {std::string(300, 'a'), "fallback:1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(usable_host(c.header, "fallback:1"), c.expected) << c.header;
}

TEST(RequestText, HtmlMarkupInCatalogueTextIsEscaped)
{
    EXPECT_EQ(html_escape("<新>&\"'x"), "&lt;新&gt;&amp;&quot;&#39;x");
}

TEST(SessionCookie, OnlyOurNonEmptyCookieCountsAsASession)
{
    const struct {
        const char* header;
        bool carries;
    } cases[] = {
        {"tavrin_session=0123456789abcdef", true},
        {"a=1; tavrin_session=ff; b=2", true},
        {"a=1;tavrin_session=ff", true},
        {"", false},
        {"tavrin_session=", false},
        {"xtavrin_session=ff", false},
        {"tavrin_sessionx=ff", false},
        {"other=tavrin_session=ff", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SessionIds::Carries(c.header), c.carries) << c.header;

    SessionIds ids;
    const std::string first = ids.NewCookie();
    EXPECT_NE(first, ids.NewCookie());
    EXPECT_NE(first.find("; Path=/"), std::string::npos);
    EXPECT_TRUE(SessionIds::Carries(first.substr(0, first.find(';'))));
}

} // namespace
