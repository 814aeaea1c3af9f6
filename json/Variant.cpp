#include "json/Variant.h"

#include "base/ConvertErrors.h"
#include "json/NumberText.h"
#include "json/VariantText.h"
#include "platform/CodePage.h"

#include <cmath>
#include <limits>

Variant Variant::MakeNull()
{
    Variant v;
    v.value_ = NullTag{};
    return v;
}

const char* Variant::KindName(VariantKind kind)
{
    switch (kind) {
    case VariantKind::Empty:
        return "Empty";
    case VariantKind::Null:
        return "Null";
    case VariantKind::Integer:
        return "Integer";
    case VariantKind::Double:
        return "Double";
    case VariantKind::Boolean:
        return "Boolean";
    case VariantKind::WideText:
        return "OleStr";
    case VariantKind::AnsiText:
        return "String";
    }
    return "Unknown";
}

namespace {

std::string_view trim_blanks(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

bool equals_ignoring_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

double Variant::ToDouble() const
{
    switch (Kind()) {
    case VariantKind::Empty:
        return 0.0;
    case VariantKind::Integer:
        return IntegerValue();
    case VariantKind::Double:
        return DoubleValue();
    case VariantKind::Boolean:
        return BooleanValue() ? -1.0 : 0.0;
    case VariantKind::WideText:
    case VariantKind::AnsiText: {
        std::string text = Kind() == VariantKind::WideText ? WideToAnsi(WideTextValue()) : AnsiTextValue();
        long double value = 0;
        if (NumberTextToExtended(trim_blanks(text), value) != NumberTextResult::Ok)
            break;
        return ExtendedToDouble(value);
    }
    case VariantKind::Null:
        break;
    }
    throw EVariantTypeCastError::CannotConvert(KindName(Kind()), "Double");
}

bool Variant::ToBoolean() const
{
    switch (Kind()) {
    case VariantKind::Empty:
        return false;
    case VariantKind::Integer:
        return IntegerValue() != 0;
    case VariantKind::Double:
        return DoubleValue() != 0.0;
    case VariantKind::Boolean:
        return BooleanValue();
    case VariantKind::WideText:
    case VariantKind::AnsiText: {
        std::string text = Kind() == VariantKind::WideText ? WideToAnsi(WideTextValue()) : AnsiTextValue();
        std::string_view trimmed = trim_blanks(text);
        if (equals_ignoring_case(trimmed, "true"))
            return true;
        if (equals_ignoring_case(trimmed, "false"))
            return false;
        long double value = 0;
        if (NumberTextToExtended(trimmed, value) != NumberTextResult::Ok)
            break;
        return value != 0;
    }
    case VariantKind::Null:
        break;
    }
    throw EVariantTypeCastError::CannotConvert(KindName(Kind()), "Boolean");
}

std::u16string Variant::ToWideText() const
{
    switch (Kind()) {
    case VariantKind::Null:
        return {};
    case VariantKind::WideText:
        return WideTextValue();
    default:
        return AnsiToWide(VariantToText(*this));
    }
}

int32_t SaturateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
