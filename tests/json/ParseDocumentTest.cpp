#include "base/ConvertErrors.h"
#include "json/CanonicalDump.h"
#include "json/NumberText.h"
#include "json/StringDecoding.h"
#include "json/json.h"
#include "tests/base/CommaLocale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace {

std::string dump_of(std::string_view text) { return CanonicalDump(TQvJSON::ParseDocument(text).get()); }

struct Case {
    std::string_view text;
    const char* dump;
};

} // namespace

TEST(ParseDocument, AcceptsTheLenientFormsWithTheirValues)
{
    const Case cases[] = {
        {"[1 2]", "[n:1,n:2]"},
        {"[1,2,]", "[n:1,n:2]"},
        {"{\"a\":1 \"b\":2,}", "{\"a\":n:1,\"b\":n:2}"},
        {"{ \t\r\n }", "{}"},
        {"\xEF\xBB\xBF{}", "{}"},
        {"{\"a\":1} trailing ] garbage", "{\"a\":n:1}"},
        {"nulls", "null"},
        {"truex", "true"},
        {"  false", "false"},
        {std::string_view("\x01\x1F\0 7", 5), "n:7"}, // every byte below 33 is a blank
        {"+5", "n:5"},
        {"007", "n:7"},
        {"1e5", "n:100000"},
        {"-0.5e-1", "n:-0.05"},
        {"{\"a\":1,\"a\":2}", "{\"a\":n:1,\"a\":n:2}"},
        {"[[], {}, [[]]]", "[[],{},[[]]]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dump_of(c.text), c.dump) << c.text;
}

TEST(ParseDocument, GivesNoneForAnythingThatIsNotAValue)
{
    const std::string_view cases[] = {
        "", "   ", "\xEF\xBB\xBF", "\xEF\xBB", "True", "NULL", "tru", "fals",
        "1.", ".5", "1e", "1e+", "-", "- 1", "+", "[1,,2]", "[,1]", "[1", "[1 2", "{\"a\" 1}",
        "{a:1}", "{\"a\":}", "{\"a\"}", "{,}", "\"open", "[1 \x80 2]", "{\"a\":1 \xC3 }", "\x80",
    };
    for (auto text : cases)
        EXPECT_EQ(dump_of(text), "NONE") << text;
}

TEST(ParseDocument, DecodesStringsThroughEscapesThenUtf8)
{
    const Case cases[] = {
        {R"("a\"b")", "\"a\\u0022b\""},
        {R"("a\\")", "\"a\\u005C\""},
        {R"("\/\'\b\f\n\r\t")", "\"/'\\u0008\\u000C\\u000A\\u000D\\u0009\""},
        {R"("\x41")", "\"41\""},                        // unknown letters drop out with the backslash
        {R"("\u4e2d")", "\"\\u4E2D\""},
        {"\"\xE4\xB8\xAD\"", "\"\\u4E2D\""},                 // raw UTF-8 gives the same unit
        {R"("\u12")", "\"\\u0012\""},                   // fewer than four digits at the end
        {R"("\ud83d\ude00")", "\"\\uD83D\\uDE00\""},    // a surrogate pair stays two units
        {"\"\xD6\xD0\"", "\"\""},                           // raw GBK is malformed UTF-8: empty
        {"\"ok \xE4\xB8\"", "\"\""},                        // a cut sequence empties the whole string
        {"\"\xC0\x80\"", "\"\\u0000\""},                    // over-long forms are taken
        {"\"a\nb\"", "\"a\\u000Ab\""},                      // raw control bytes stay
        {"\"\\u00e9\xE4\xB8\xAD\"", "\"\\u00E9\\u4E2D\""},  // escapes next to raw UTF-8
        {"\"\xE4\\u00B8\xAD\"", "\"\""},                    // an escape cannot finish a raw sequence
        {"{\"\\u0061b\":1}", "{\"ab\":n:1}"},               // names decode like values
        // Four-byte sequences: a lead F0 to F4 and three continuation bytes.
        {"\"a\xF0\x9F\x98\x80" "b\"", "\"a\\uD83D\\uDE00b\""},       // an emoji is a surrogate pair
        {"\"\xF4\x8F\xBF\xBF\"", "\"\\uDBFF\\uDFFF\""},         // the last character there is
        {"\"\xF0\x90\x80\x80\xE4\xB8\xAD\"", "\"\\uD800\\uDC00\\u4E2D\""},
        {"\"\xF0\x80\x80\x80\"", "\"\\u0000\""},                  // over-long: one unit, as before
        {"\"\xF4\x90\x80\x80\"", "\"\""},                         // beyond U+10FFFF: malformed
        {"\"\xF0\x9F\x98\"", "\"\\u07D8\""},                     // two continuations: a three-byte lead
        {"\"\xF0\x9F\x98\x41\"", "\"\\u07D8A\""},
        {"\"\xF5\x80\x80\x80\"", "\"\""},                         // F5 stays a three-byte lead
        {"\"\xF0\x9F\"", "\"\""},                                 // cut short: empty
    };
    for (const auto& c : cases)
        EXPECT_EQ(dump_of(c.text), c.dump) << c.text;
}

TEST(ParseDocument, BadHexInAnEscapeFailsTheWholeDocument)
{
    for (std::string_view text : {R"(["ok", "\u00G1"])", R"({"a":"\u"})", R"(["\u 123"])", R"(["\u-123"])"})
        EXPECT_EQ(dump_of(text), "NONE") << text;
}

TEST(ParseDocument, NestingPastTheLimitGivesNoneInsteadOfExhaustingTheStack)
{
    const int limit = TQvJSON::MaxNestingDepth;
    auto nested = [](int depth, char open, char close, std::string_view inner) {
        std::string text;
        for (int i = 0; i < depth - 1; ++i)
            text += open == '[' ? "[" : "{\"k\":";
        text += open;
        text += inner;
        text += close;
        for (int i = 0; i < depth - 1; ++i)
            text += close;
        return text;
    };
    EXPECT_NE(TQvJSON::ParseDocument(nested(limit, '[', ']', "")), nullptr);
    EXPECT_EQ(TQvJSON::ParseDocument(nested(limit + 1, '[', ']', "")), nullptr);
    EXPECT_NE(TQvJSON::ParseDocument(nested(limit, '{', '}', "")), nullptr);
    EXPECT_EQ(TQvJSON::ParseDocument(nested(limit + 1, '{', '}', "")), nullptr);
    EXPECT_EQ(TQvJSON::ParseDocument(std::string(100000, '[')), nullptr);
}

TEST(ParseDocument, NumbersBeyondTheExtendedRangeFailButTinyOnesDoNot)
{
    EXPECT_EQ(dump_of("[1, 1e99999]"), "NONE");
    EXPECT_EQ(dump_of("-1e5000"), "NONE");
    EXPECT_EQ(dump_of("1e-99999"), "n:0");
    // Beyond double but within the extended format: stored, read as infinity.
    auto root = TQvJSON::ParseDocument("1e400");
    ASSERT_NE(root, nullptr);
    EXPECT_GT(JsonAs<TQvJSONnumber>(root.get())->Value(), 1e300L);
    EXPECT_EQ(VariantToText(root->AsVariant()), "INF");
}

TEST(ParseDocument, ShortNumberShortcutRoundsLikeTheFullConversion)
{
    const char* texts[] = {"0.1", "69.5", "-0.05", "123456789012345678", "9999999999999999999", "1.7976931348623157e308",
                           "4.9e-324", "0.3", "2.5E20", "1e27", "1e-27", "12345678901234567890", "3.14159265358979323846",
                           "0.000001", "-0", "1e28", "8.589973e9", "0.1e-26"};
    for (const char* text : texts) {
        long double fast = 0;
        ASSERT_EQ(NumberTextToExtended(text, fast), NumberTextResult::Ok) << text;
        long double full = std::strtold(text, nullptr);
        EXPECT_EQ(fast, full) << text;
        EXPECT_EQ(std::signbit(fast), std::signbit(full)) << text;
    }
}

TEST(ParseDocument, UserLocaleDoesNotChangeTheDecimalSeparator)
{
    std::string dump;
    {
        CommaLocaleScope comma;
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
        dump = dump_of("[69.5, 1.25e40, -0.5e-1, 12345678901234567890.5, 7]");
    }
    EXPECT_EQ(dump, "[n:69.5,n:1.25E40,n:-0.05,n:1.23456789012346E19,n:7]");
}

TEST(ParseDocument, EveryCutOfADocumentStaysInsideItsBytes)
{
    // Each prefix lives in a buffer of exactly its size, so a read past the
    // end is caught by the address sanitizer.
    const std::string text = "\xEF\xBB\xBF{\"t\\u00e9\":[\"a\\\"\\\\\xE4\xB8\xAD\", 1.5e-3, true, false, null, "
                             "{\"x\":\"\\u4e2\"}], \"long string with no escape at all\":\"\\\\\"}";
    ASSERT_NE(TQvJSON::ParseDocument(text), nullptr);
    for (size_t size = 0; size < text.size(); ++size) {
        auto bytes = std::make_unique<uint8_t[]>(size);
        std::copy(text.begin(), text.begin() + static_cast<ptrdiff_t>(size), bytes.get());
        EXPECT_EQ(TQvJSON::ParseDocument(std::span<const uint8_t>(bytes.get(), size)), nullptr) << size;
    }
}

TEST(ParseDocument, BackslashAsTheLastByteIsAnOpenString)
{
    for (std::string_view text : {"\"\\", "\"abcdefghijklmnop\\", "[\"\\\"]"}) {
        std::vector<uint8_t> bytes(text.begin(), text.end());
        EXPECT_EQ(TQvJSON::ParseDocument(std::span<const uint8_t>(bytes)), nullptr) << text;
    }
}

TEST(ParseDocument, DecodingWhileScanningAgreesWithEscapesThenUtf8)
{
    // Random contents of plain bytes, raw UTF-8 and escapes of every kind,
    // the short and bad \u forms included; seed printed on failure.
    const std::string_view pieces[] = {"a", "Z", " ", "\\u4e2d", "\\u00E9", "\\u0041", "\\u12", "\\n", "\\\"",
                                       "\\\\", "\\/", "\\x", "\\u00G1", "\xE4\xB8\xAD", "\\uD83D", "\\'", "\\u"};
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        std::string content;
        for (int i = 0; i < 6; ++i)
            content += pieces[random() % std::size(pieces)];
        std::u16string expected;
        bool raises = false;
        try {
            std::string expanded;
            ExpandEscapes(std::span(reinterpret_cast<const uint8_t*>(content.data()), content.size()), expanded);
            Utf8ToWide(std::span(reinterpret_cast<const uint8_t*>(expanded.data()), expanded.size()), expected);
        } catch (const EConvertError&) {
            raises = true;
        }
        auto root = TQvJSON::ParseDocument("[\"" + content + "\"]");
        if (raises) {
            EXPECT_EQ(root, nullptr) << "seed " << seed << ": " << content;
            continue;
        }
        ASSERT_NE(root, nullptr) << "seed " << seed << ": " << content;
        EXPECT_EQ(root->ChildAt(0)->AsVariant().WideTextValue(), expected) << "seed " << seed << ": " << content;
    }
}
