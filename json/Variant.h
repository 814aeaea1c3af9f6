#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

// The kinds a Variant can hold, in the order of its alternatives.
enum class VariantKind : uint8_t { Empty, Null, Integer, Double, Boolean, WideText, AnsiText };

// The system's tagged value. Every JSON leaf is read through one.
class Variant {
public:
    Variant() = default; // Empty
    Variant(int32_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(bool value) : value_(value) {}
    Variant(std::u16string value) : value_(std::move(value)) {}
    // Text built in place, without a string to move in.
    explicit Variant(std::u16string_view value) : value_(std::in_place_type<std::u16string>, value) {}
    Variant(const char16_t* value) : value_(std::in_place_type<std::u16string>, value) {}
    // 8-bit text in the ANSI code page.
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char* value) : value_(std::in_place_type<std::string>, value) {}
    // Any other pointer would silently become a boolean.
    Variant(const void*) = delete;

    static Variant MakeNull();

    VariantKind Kind() const { return static_cast<VariantKind>(value_.index()); }
    bool IsNull() const { return Kind() == VariantKind::Null; }
    bool IsNumeric() const { return Kind() == VariantKind::Integer || Kind() == VariantKind::Double; }
    bool IsText() const { return Kind() == VariantKind::WideText || Kind() == VariantKind::AnsiText; }

    // The held value; valid only for the matching kind.
    int32_t IntegerValue() const { return std::get<int32_t>(value_); }
    double DoubleValue() const { return std::get<double>(value_); }
    bool BooleanValue() const { return std::get<bool>(value_); }
    const std::u16string& WideTextValue() const { return std::get<std::u16string>(value_); }
    const std::string& AnsiTextValue() const { return std::get<std::string>(value_); }

    // Conversions to another kind; a value that has no such reading raises
    // EVariantTypeCastError. True reads as -1 when a number is asked for.
    double ToDouble() const;
    bool ToBoolean() const;
    // Null gives empty text here.
    std::u16string ToWideText() const;

    // The kind's name as the conversion errors print it.
    static const char* KindName(VariantKind kind);

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) = default;
    };
    std::variant<std::monostate, NullTag, int32_t, double, bool, std::u16string, std::string> value_;
};

// A float read as a 32-bit integer: truncated toward zero, saturated at the
// range's ends; NaN reads as 0.
int32_t SaturateToInt32(double value);
