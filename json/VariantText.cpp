#include "json/VariantText.h"

#include "base/ConvertErrors.h"
#include "base/IntegerText.h"
#include "platform/CodePage.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// At most this many significant digits are shown.
constexpr int shown_digits = 15;

} // namespace

std::string FloatToText(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";

    // Round to 15 significant digits: d.dddddddddddddde[+-]x. to_chars writes
    // a full stop whatever the process's locale says.
    char buffer[40];
    const auto printed_end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, shown_digits - 1).ptr;
    std::string_view printed(buffer, static_cast<size_t>(printed_end - buffer));
    bool negative = printed.front() == '-';
    if (negative)
        printed.remove_prefix(1);
    std::string digits;
    size_t e = printed.find('e');
    for (size_t i = 0; i < e; ++i)
        if (printed[i] != '.')
            digits += printed[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    // The value is 0.d1d2... times ten to the power `exponent`.
    std::string_view exponent_text = printed.substr(e + 1);
    if (exponent_text.front() == '+')
        exponent_text.remove_prefix(1);
    int exponent = 0;
    std::from_chars(exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);
    ++exponent;
    int count = static_cast<int>(digits.size());

    std::string text = negative ? "-" : "";
    if (exponent >= -3 && exponent <= 15) {
        if (exponent <= 0) {
            text += "0.";
            text.append(static_cast<size_t>(-exponent), '0');
            text += digits;
        } else if (count <= exponent) {
            text += digits;
            text.append(static_cast<size_t>(exponent - count), '0');
        } else {
            text.append(digits, 0, static_cast<size_t>(exponent));
            text += '.';
            text.append(digits, static_cast<size_t>(exponent));
        }
    } else {
        text += digits[0];
        if (count > 1) {
            text += '.';
            text.append(digits, 1);
        }
        text += 'E';
        text += IntToStr(exponent - 1);
    }
    return text;
}

std::string VariantToText(const Variant& value)
{
    switch (value.Kind()) {
    case VariantKind::Empty:
        return {};
    case VariantKind::Null:
        break;
    case VariantKind::Integer:
        return IntToStr(value.IntegerValue());
    case VariantKind::Double:
        return FloatToText(value.DoubleValue());
    case VariantKind::Boolean:
        return value.BooleanValue() ? "True" : "False";
    case VariantKind::WideText:
        return WideToAnsi(value.WideTextValue());
    case VariantKind::AnsiText:
        return value.AnsiTextValue();
    }
    throw EVariantTypeCastError::CannotConvert(Variant::KindName(VariantKind::Null), "String");
}

std::string VariantToTextOrEmpty(const Variant& value)
{
    if (value.IsNull())
        return {};
    return VariantToText(value);
}
