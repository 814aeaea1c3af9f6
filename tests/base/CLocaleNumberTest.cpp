#include "platform/CLocaleNumber.h"
#include "tests/base/CommaLocale.h"

#include <gtest/gtest.h>

#include <cstring>

// A decimal-comma locale must not change how numbers are read: the full stop
// is the separator and a comma ends the number, as in the "C" locale.
TEST(StrToLongDoubleC, ReadsTheFullStopUnderADecimalCommaLocale)
{
    CommaLocaleScope comma;
    struct Case {
        const char* text;
        long double value;
        size_t read;
    } cases[] = {
        {"1.5", 1.5L, 3},
        {"-2.25e3", -2250.0L, 7},
        {"1,5", 1.0L, 1},
        {"0.5,25", 0.5L, 3},
        {"12.", 12.0L, 3},
        {".25x", 0.25L, 3},
        {"7", 7.0L, 1},
    };
    for (const auto& c : cases) {
        char* end = nullptr;
        EXPECT_EQ(StrToLongDoubleC(c.text, &end), c.value) << c.text;
        EXPECT_EQ(static_cast<size_t>(end - c.text), c.read) << c.text;
    }
    // Every digit counts: the extended value of a long decimal is the same as
    // the C locale's.
    char* end = nullptr;
    EXPECT_EQ(StrToLongDoubleC("0.1000000000000000055511151231257827", &end), 0.1000000000000000055511151231257827L);
}
