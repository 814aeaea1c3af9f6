#include "json/NumberText.h"

#include "platform/CLocaleNumber.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Powers of ten that an extended float with a 64-bit mantissa holds exactly
// (5^27 < 2^64).
constexpr int max_exact_power = 27;

long double exact_power_of_ten(int power)
{
    static const auto table = [] {
        struct Table {
            long double values[max_exact_power + 1];
        } t{};
        long double p = 1;
        for (int i = 0; i <= max_exact_power; ++i, p *= 10)
            t.values[i] = p;
        return t;
    }();
    return table.values[power];
}

// Most numbers have few digits and a small exponent: then the mantissa and the
// power of ten are exact and one multiplication or division rounds correctly,
// which is what the full conversion would give. Returns false when the text
// needs the full conversion.
bool convert_short_number(std::string_view text, long double& value)
{
    if constexpr (std::numeric_limits<long double>::digits != 64) {
        return false;
    } else {
        size_t i = 0;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negative = text[i++] == '-';
        uint64_t mantissa = 0;
        int significant = 0;
        int exponent = 0;
        size_t digits = 0;
        for (; i < text.size() && is_digit(text[i]); ++i, ++digits) {
            if (mantissa != 0 || text[i] != '0')
                ++significant;
            mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
            if (significant > 19)
                return false;
        }
        if (i < text.size() && text[i] == '.') {
            for (++i; i < text.size() && is_digit(text[i]); ++i, ++digits) {
                if (mantissa != 0 || text[i] != '0')
                    ++significant;
                mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
                --exponent;
                if (significant > 19)
                    return false;
            }
        }
        if (digits == 0)
            return false;
        if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
            ++i;
            bool negative_exponent = false;
            if (i < text.size() && (text[i] == '+' || text[i] == '-'))
                negative_exponent = text[i++] == '-';
            if (i == text.size())
                return false;
            int written = 0;
            for (; i < text.size() && is_digit(text[i]); ++i) {
                written = written * 10 + (text[i] - '0');
                if (written > 1000)
                    return false;
            }
            exponent += negative_exponent ? -written : written;
        }
        if (i != text.size())
            return false;
        long double result;
        if (mantissa == 0)
            result = 0;
        else if (exponent >= 0 && exponent <= max_exact_power)
            result = static_cast<long double>(mantissa) * exact_power_of_ten(exponent);
        else if (exponent < 0 && -exponent <= max_exact_power)
            result = static_cast<long double>(mantissa) / exact_power_of_ten(-exponent);
        else
            return false;
        value = negative ? -result : result;
        return true;
    }
}

bool is_decimal_number(std::string_view text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    for (; i < text.size() && is_digit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && is_digit(text[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        size_t exponent_digits = 0;
        for (; i < text.size() && is_digit(text[i]); ++i)
            ++exponent_digits;
        if (exponent_digits == 0)
            return false;
    }
    return i == text.size();
}

} // namespace

NumberTextResult NumberTextToExtended(std::string_view text, long double& value)
{
    if (convert_short_number(text, value))
        return NumberTextResult::Ok;
    if (!is_decimal_number(text))
        return NumberTextResult::NotANumber;
    std::string terminated(text);
    char* end = nullptr;
    errno = 0;
    long double result = StrToLongDoubleC(terminated.c_str(), &end);
    if (end != terminated.c_str() + terminated.size())
        return NumberTextResult::NotANumber;
    if (errno == ERANGE && std::isinf(result))
        return NumberTextResult::OutOfRange;
    value = result;
    return NumberTextResult::Ok;
}

double ExtendedToDouble(long double value)
{
    if (value > static_cast<long double>(DBL_MAX))
        return std::numeric_limits<double>::infinity();
    if (value < -static_cast<long double>(DBL_MAX))
        return -std::numeric_limits<double>::infinity();
    return static_cast<double>(value);
}
