#pragma once

#include "base/Exception.h"

#include <string_view>

// A text that should hold a number does not.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EConvertError"; }

    // "'%s' is not a valid integer value"
    static EConvertError NotAnInteger(std::string_view text);
};

// A Variant that cannot become the kind asked for (Null read as text).
class EVariantTypeCastError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EVariantTypeCastError"; }

    // "Could not convert variant of type (%s) into type (%s)"
    static EVariantTypeCastError CannotConvert(std::string_view from, std::string_view to);
};

// A value read as a class it is not.
class EInvalidCast : public Exception {
public:
    EInvalidCast() : Exception("Invalid class typecast") {}
    const char* ClassName() const noexcept override { return "EInvalidCast"; }
};
