#include "base/ConvertErrors.h"
#include "base/IntegerText.h"
#include "json/VariantText.h"
#include "tests/base/CommaLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

namespace {

const struct FloatCase {
    double value;
    const char* text;
} kFloatCases[] = {
    {69.5, "69.5"},
    {10, "10"},
    {1000, "1000"},
    {0.0001, "0.0001"},
    {0.00001, "1E-5"},
    {1e15, "1E15"},
    {2.5e20, "2.5E20"},
    {-2.5, "-2.5"},
    {0.1 + 0.2, "0.3"},
    {1.0 / 3, "0.333333333333333"},
    {123456789012345, "123456789012345"},
    {999999999999999, "999999999999999"},
    {1234567890123456, "1.23456789012346E15"},
    {999999999999999.9, "1E15"}, // rounding carries into a new digit
    {0.00012345, "0.00012345"},
    {-1.5e-7, "-1.5E-7"},
    {1e-300, "1E-300"},
    {1.7976931348623157e308, "1.79769313486232E308"},
    {0.0, "0"},
    {-0.0, "0"},
    {100, "100"},
    {1999.99, "1999.99"},
    {std::numeric_limits<double>::infinity(), "INF"},
    {-std::numeric_limits<double>::infinity(), "-INF"},
    {std::numeric_limits<double>::quiet_NaN(), "NAN"},
};

} // namespace

TEST(FloatToText, GeneralFormatWithFifteenDigitsAndAFullStop)
{
    for (const auto& c : kFloatCases)
        EXPECT_EQ(FloatToText(c.value), c.text) << c.text;
}

TEST(FloatToText, NumbersReadTheSameUnderADecimalCommaLocale)
{
    CommaLocaleScope comma;
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    for (const auto& c : kFloatCases)
        EXPECT_EQ(FloatToText(c.value), c.text) << c.text;
    EXPECT_EQ(VariantToText(Variant(2383.6)), "2383.6");
    EXPECT_EQ(VariantToTextOrEmpty(Variant(int32_t{-1234567})), "-1234567");
    EXPECT_EQ(StrToInt("  -1234567"), -1234567);
    EXPECT_THROW(StrToInt("1,5"), EConvertError);
    EXPECT_EQ(Variant("69.5").ToDouble(), 69.5);
    EXPECT_EQ(Variant(u"12345678901234567890.5").ToDouble(), 12345678901234567890.5);
    EXPECT_THROW(Variant("69,5").ToDouble(), Exception);
}

TEST(VariantToText, EachKindBecomesItsDisplayText)
{
    std::u16string with_zero = u"ab";
    with_zero += u'\0';
    with_zero += u"cd";
    const struct {
        Variant value;
        const char* text;
    } cases[] = {
        {Variant(), ""},
        {Variant(int32_t{-219}), "-219"},
        {Variant(69.5), "69.5"},
        {Variant(true), "True"},
        {Variant(false), "False"},
        {Variant("\xD6\xD0 as is"), "\xD6\xD0 as is"},
        {Variant(u"\u4E2D\u6587"), "\xD6\xD0\xCE\xC4"},
        {Variant(u"a\u0E01b"), "a?b"}, // outside code page 936
        {Variant(with_zero), "ab"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VariantToText(c.value), c.text);
        EXPECT_EQ(VariantToTextOrEmpty(c.value), c.text);
    }
}

TEST(VariantToText, NullIsAnErrorUnlessEmptyTextIsAskedFor)
{
    try {
        VariantToText(Variant::MakeNull());
        ADD_FAILURE() << "Null converted";
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), "Could not convert variant of type (Null) into type (String)");
    }
    EXPECT_EQ(VariantToTextOrEmpty(Variant::MakeNull()), "");
}
