// The parser's number rule.
#include "json/DocumentParser.h"

#include "json/DocumentArena.h"
#include "json/NumberText.h"
#include "json/ParseAbandoned.h"
#include "json/TQvJSONnumber.h"

#include <cstdint>
#include <string_view>

namespace {

bool is_digit(uint8_t c) { return c >= '0' && c <= '9'; }

// Digits alone, at most 18 of them after an optional sign: exact in the
// extended format, so reading them directly gives what the general
// conversion would.
bool small_integer(std::string_view number, long double& value)
{
    size_t i = number[0] == '-' || number[0] == '+' ? 1 : 0;
    if (number.size() - i > 18)
        return false;
    uint64_t digits = 0;
    for (size_t k = i; k < number.size(); ++k) {
        if (!is_digit(static_cast<uint8_t>(number[k])))
            return false;
        digits = digits * 10 + static_cast<uint64_t>(number[k] - '0');
    }
    value = static_cast<long double>(digits);
    if (number[0] == '-')
        value = -value;
    return true;
}

} // namespace

bool DocumentParser::ParseDigits(size_t& position) const
{
    size_t p = position;
    while (p < text_.size() && is_digit(text_[p]))
        ++p;
    if (p == position)
        return false;
    position = p;
    return true;
}

TQvJSONbase* DocumentParser::ParseNumber(size_t& position) const
{
    size_t p = position;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-'))
        ++p;
    if (!ParseDigits(p))
        return nullptr;
    if (p < text_.size() && text_[p] == '.') {
        ++p;
        if (!ParseDigits(p))
            return nullptr;
    }
    if (p < text_.size() && (text_[p] == 'e' || text_[p] == 'E')) {
        ++p;
        if (p < text_.size() && (text_[p] == '+' || text_[p] == '-'))
            ++p;
        if (!ParseDigits(p))
            return nullptr;
    }
    std::string_view number(reinterpret_cast<const char*>(text_.data() + position), p - position);
    long double value = 0;
    if (!small_integer(number, value) && NumberTextToExtended(number, value) != NumberTextResult::Ok)
        throw EParseAbandoned::NumberOutOfRange(number);
    position = p;
    return arena_.Make<TQvJSONnumber>(value);
}
