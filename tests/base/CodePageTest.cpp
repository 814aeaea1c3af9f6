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
}

TEST(CodePage, AnsiToWideRoundTrips)
{
    EXPECT_EQ(AnsiToWide("\xD6\xD0z"), u"中z");
    EXPECT_EQ(AnsiToWide("title"), u"title");
}
