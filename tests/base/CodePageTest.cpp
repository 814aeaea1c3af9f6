#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, ChineseBecomesGbkBytes)
{
    EXPECT_EQ(WideToAnsi(u"中"), "\xD6\xD0");
    EXPECT_EQ(WideToAnsi(u"特卖商品Tavrin"), "\xCC\xD8\xC2\xF4\xC9\xCC\xC6\xB7Tavrin");
    EXPECT_EQ(WideToAnsi(u"万↑→"), "\xCD\xF2\xA1\xFC\xA1\xFA");
}

TEST(CodePage, WideTextEndsAtItsFirstZeroUnit)
{
    std::u16string text = u"ab";
    text += u'\0';
    text += u"cd";
    EXPECT_EQ(WideToAnsi(text), "ab");
}

TEST(CodePage, UnrepresentableUnitsBecomeTheDefaultCharacter)
{
    EXPECT_EQ(WideToAnsi(u"a\u0E01b"), "a?b");            // Thai is not in GBK
    EXPECT_EQ(WideToAnsi(std::u16string(1, char16_t(0xD800)) + u"x"), "?x"); // lone surrogate
    EXPECT_EQ(WideToAnsi(u"\u4E2D\U0001F600\u4E2D"), "\xD6\xD0?\xD6\xD0"); // a pair is one character
    EXPECT_EQ(WideToAnsi(u"\U0001F600\U0001F600"), "??");
    EXPECT_EQ(WideToAnsi(std::u16string{char16_t(0xDE00), char16_t(0xD83D)}), "??"); // reversed: two lone units
    EXPECT_EQ(WideToAnsi(std::u16string{u'a', char16_t(0xD83D)}), "a?"); // a high unit at the end
    EXPECT_EQ(WideToAnsi(u"a\U000E0030\U000E007Fb"), "ab");           // tag characters are dropped
    EXPECT_EQ(WideToAnsi(u"\uE000\uF8FF"), "??");  // the user-defined area has no codes
}

TEST(CodePage, SystemUtf8TextBecomesTheCodePage)
{
    EXPECT_EQ(Utf8ToAnsi("/tmp/\xE4\xB8\xAD\xE6\x96\x87/res/xp.jpg"), "/tmp/\xD6\xD0\xCE\xC4/res/xp.jpg");
    EXPECT_EQ(Utf8ToAnsi("plain/ascii"), "plain/ascii");
    EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80" "b"), "a?b");          // not in the code page: one "?"
    EXPECT_EQ(Utf8ToAnsi("a\xD6\xD0" "b"), "a??b");                 // bytes that are no UTF-8
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8"), "?");                      // cut short at the end
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xE4\xB8\xAD"), "?\xD6\xD0");     // cut short before a character
    EXPECT_EQ(Utf8ToAnsi("\xC0\x80|\xED\xA0\x80|\xF4\x90\x80\x80"), "?|?|?"); // overlong, surrogate, past U+10FFFF
    EXPECT_EQ(Utf8ToAnsi("\xF8\x88\x80\x80\x80"), "??");            // no five-byte forms: four bytes, then one
    EXPECT_EQ(Utf8ToAnsi("a\xF3\xA0\x80\xB0" "b"), "ab");          // a tag character is dropped
}

TEST(CodePage, AnsiToWideRoundTrips)
{
    EXPECT_EQ(AnsiToWide("\xD6\xD0z"), u"中z");
    EXPECT_EQ(AnsiToWide("title"), u"title");
}

TEST(CodePage, BytesThatAreNoCharacterBecomeOneQuestionMarkEach)
{
    struct Case {
        const char* ansi;
        std::u16string wide;
    } cases[] = {
        {"\x80", u"\u20AC"},              // the euro sign's single byte
        {"\x81", u"?"},                    // a lead byte at the end
        {"\x81\x20z", u"? z"},             // a lead byte before a byte that cannot follow it
        {"\xAA\xA1", u"??"},               // user-defined area: not a character here
        {"\xFE\x50", u"?P"},
        {"\xFF", u"?"},
        {"\xA1\xA1\xD6\xD0", u"\u3000\u4E2D"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnsiToWide(c.ansi), c.wide) << c.ansi;
}
