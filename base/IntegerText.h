#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads a whole text as a 32-bit signed integer: leading blanks, an optional
// sign, then decimal digits, or hexadecimal digits after "$" or "0x".
// Anything else, an empty text, or a value out of range raises EConvertError.
int32_t StrToInt(std::string_view text);

// Decimal text, "-" in front of negatives.
std::string IntToStr(int64_t value);
