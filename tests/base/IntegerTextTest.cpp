#include "base/ConvertErrors.h"
#include "base/IntegerText.h"

#include <gtest/gtest.h>

TEST(StrToInt, AcceptsTheIntegerForms)
{
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0", 0},           {"7", 7},
        {"  42", 42},       {"-219", -219},
        {"+5", 5},          {"007", 7},
        {"$1A", 26},        {"0x1a", 26},
        {"0XFF", 255},      {"$FFFFFFFF", -1},
        {"-$10", -16},      {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RejectsEverythingElseWithTheTextInTheMessage)
{
    const char* bad[] = {"", " ", "-", "1.5", "12件", "7 ", "2147483648", "-2147483649", "$", "0x", "$100000000", "1e3"};
    for (const char* text : bad) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(IntToStr, WritesPlainDecimal)
{
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-17), "-17");
    EXPECT_EQ(IntToStr(96LL * 100000000), "9600000000");
}
