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
}

TEST(CodePage, SystemUtf8TextBecomesTheCodePage)
{
    EXPECT_EQ(Utf8ToAnsi("/tmp/\xE4\xB8\xAD\xE6\x96\x87/res/xp.jpg"), "/tmp/\xD6\xD0\xCE\xC4/res/xp.jpg");
    EXPECT_EQ(Utf8ToAnsi("plain/ascii"), "plain/ascii");
    EXPECT_EQ(Utf8ToAnsi("a\xF0\x9F\x98\x80" "b"), "a?b");          // not in the code page: one "?"
    EXPECT_EQ(Utf8ToAnsi("a\xD6\xD0" "b"), "a??b");                 // bytes that are no UTF-8
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8"), "?");                      // cut short at the end
}

TEST(CodePage, AnsiToWideRoundTrips)
{
    EXPECT_EQ(AnsiToWide("\xD6\xD0z"), u"中z");
    EXPECT_EQ(AnsiToWide("title"), u"title");
}
